#include "CalibrationSettingsFileName.h"

#include "CAdjustValue.h"
#include "CTargetValue.h"
#include "StringResources.h"

namespace {

constexpr unsigned int kMcsExtensionId = 7;

QString safePart(QString part)
{
    for (QChar &c : part) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    return part;
}

} // namespace

QString CreateMCSFileName(CTargetValue *target, CAdjustValue *result)
{
    if (!target || !result)
        return QString();
    QString name = safePart(result->GetMonitorName()) + QLatin1Char(' ')
        + safePart(result->GetMonitorSerial()) + QLatin1Char(' ')
        + result->m_CalibrationDateTime.toString(QStringLiteral("yyyy-MM-dd hh-mm "));
    if (result->m_IsCalibrationOn) {
        const CColorTemperature white = target->m_WhitePoint;
        name += safePart(white.GetCaptionStr()) + QLatin1Char(' ')
            + safePart(target->GetGammaCurveString(true));
    }
    return name + GetStringResource(kMcsExtensionId);
}
