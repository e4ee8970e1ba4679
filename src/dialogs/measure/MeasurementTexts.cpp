#include "MeasurementTexts.h"

#include <QChar>
#include <QCoreApplication>
#include <cmath>

namespace pz {

namespace {

QString ambientTr(const char *text, const char *comment = nullptr)
{
    return QCoreApplication::translate("PZ_Ambient_Light_Measurement_Dialog", text, comment);
}

} // namespace

TemperatureLines colorimeterTemperatureLines(unsigned short kelvin, double deltaUV)
{
    if (kelvin < 2500 || kelvin > 20000)
        return {QStringLiteral("- K"), QStringLiteral("-")};
    return {QStringLiteral("%1 K").arg(int(kelvin)),
            QStringLiteral("%2 %1uv").arg(QChar(0x0394)).arg(std::fabs(deltaUV), 0, 'f', 4)};
}

QString ambientLuxText(double lux)
{
    QString text = QStringLiteral("%1 Lux<font COLOR=\"#ff0000\"></font>").arg(lux, 0, 'f', 0);
    if (lux > 64)
        text += ambientTr(" (&nbsp;<img src=\":/images/Resources/alerts_yellow_icon_12.png\">&nbsp;Very high )");
    else if (lux > 32)
        text += ambientTr(" (&nbsp;<img src=\":/images/Resources/alerts_yellow_icon_12.png\">&nbsp;High )");
    return text;
}

QString ambientTemperatureText(unsigned short kelvin, double X)
{
    if (kelvin < 1 || kelvin > 19999 || !(X > 0))
        return QStringLiteral("-");
    return QStringLiteral("%1 K").arg(int(kelvin / 100.0 + 0.5) * 100);
}

} // namespace pz
