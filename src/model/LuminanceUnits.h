#pragma once
// Luminance is held in cd/m² everywhere and converted only for display, to
// the units the user chose in the preferences (cd/m² or foot-lamberts).

#include <QString>

// Candelas per square metre in one foot-lambert.
constexpr double kCandelasPerFootLambert = 3.426;

// True when preferences are registered and ask for foot-lamberts.
bool IsFootLambertsUnits();
double UIUnitsToCandelas(double value);
double CandelasToUIUnits(double candelas);
// "cd/m²", or the translated "fL".
QString UILuminanceUnitsText();
// The luminance in the user's units, in fixed notation with enough decimals
// for two significant digits below 10 (at least minDecimals when that is not
// negative), followed by a space and the unit text when withUnits is set.
QString CandelasToDisplayText(double candelas, int minDecimals, bool withUnits);
