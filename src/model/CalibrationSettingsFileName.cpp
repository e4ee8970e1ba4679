#include "CalibrationSettingsFileName.h"

#include "CAdjustValue.h"
#include "CTargetValue.h"
#include "StringResources.h"

namespace {
constexpr unsigned int kMcsExtensionId = 7;
} // namespace

QString SafeFileNamePart(QString part)
{
    for (QChar &c : part) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    return part;
}

QString CreateMCSFileName(CTargetValue *target, CAdjustValue *result)
{
    if (!target || !result)
        return QString();
    QString name = SafeFileNamePart(result->GetMonitorName()) + QLatin1Char(' ')
        + SafeFileNamePart(result->GetMonitorSerial()) + QLatin1Char(' ')
        + result->m_CalibrationDateTime.toString(QStringLiteral("yyyy-MM-dd hh-mm "));
    if (result->m_IsCalibrationOn) {
        const CColorTemperature white = target->m_WhitePoint;
        name += SafeFileNamePart(white.GetCaptionStr()) + QLatin1Char(' ')
            + SafeFileNamePart(target->GetGammaCurveString(true));
    }
    return name + GetStringResource(kMcsExtensionId);
}
