#include "LuminanceUnits.h"

#include "CPreferences.h"
#include "PreferencesRegistry.h"

#include <QCoreApplication>
#include <cmath>

bool IsFootLambertsUnits()
{
    const CPreferences *preferences = pz::applicationPreferences();
    return preferences && preferences->m_LuminanceUnits == 1;
}

double UIUnitsToCandelas(double value)
{
    return IsFootLambertsUnits() ? value * kCandelasPerFootLambert : value;
}

double CandelasToUIUnits(double candelas)
{
    return IsFootLambertsUnits() ? candelas / kCandelasPerFootLambert : candelas;
}

QString UILuminanceUnitsText()
{
    if (IsFootLambertsUnits())
        return QCoreApplication::translate("QObject", "fL", "foot Lamberts units");
    return QStringLiteral("cd/m") + QChar(0x00B2);
}

QString CandelasToDisplayText(double candelas, int minDecimals, bool withUnits)
{
    const double value = CandelasToUIUnits(candelas);
    int decimals = 0;
    // An infinite value has no decimal count (and would overflow the cast).
    if (value > 0 && std::isfinite(value)) {
        const double d = std::trunc(1.0 - std::floor(std::log10(value)));
        decimals = d > 0 ? static_cast<int>(d) : 0;
    }
    if (decimals < minDecimals && minDecimals >= 0)
        decimals = minDecimals;
    const QString number = QString::number(value, 'f', decimals);
    if (!withUnits)
        return number;
    return QStringLiteral("%1 %2").arg(number, UILuminanceUnitsText());
}
