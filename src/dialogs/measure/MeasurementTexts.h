#pragma once
// The reading texts of the colorimeter tool and the ambient light window,
// kept apart from the dialogs so that every threshold can be checked alone.

#include <QString>

namespace pz {

// The colorimeter's two colour temperature lines: "<T> K" and
// "<|Δuv|> Δuv" (4 decimals) for 2500 <= T <= 20000, else "- K" and "-".
struct TemperatureLines {
    QString kelvin;
    QString deltaUV;
};
TemperatureLines colorimeterTemperatureLines(unsigned short kelvin, double deltaUV);

// The ambient light window's illuminance, rounded to whole lux, with the
// "High" warning above 32 lux and "Very high" above 64 (of the unrounded
// value).
QString ambientLuxText(double lux);
// Its colour temperature rounded to 100 K, for 1 <= T <= 19999 and a
// reading with X above 0; else "-".
QString ambientTemperatureText(unsigned short kelvin, double X);

} // namespace pz
