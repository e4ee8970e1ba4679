#include "CVideoCardGamma.h"

#include "GammaRamp.h"

#include <cmath>

namespace {

// An entry read from the card as an integer step. Rounded rather than
// truncated, so a table loaded from integers reads back unchanged; entries
// outside 0..1 (or not a number) are clamped.
unsigned int toStep(float entry, int maximum)
{
    const double v = double(entry) * maximum;
    if (!(v > 0.0))
        return 0;
    if (v >= maximum)
        return static_cast<unsigned int>(maximum);
    return static_cast<unsigned int>(std::lround(v));
}

} // namespace

CVideoCardGamma::CVideoCardGamma(_MonitorData display) : m_Display(std::move(display))
{
    FindLUTSize();
}

void CVideoCardGamma::FindLUTSize()
{
    m_LUTMaximum = 65535;
    m_LUTSize = pz::IGammaRamps::kEntries;
}

void CVideoCardGamma::GetLUTSize(int &maximum, int &size)
{
    FindLUTSize();
    maximum = m_LUTMaximum;
    size = m_LUTSize;
}

int CVideoCardGamma::load(const QVector<float> &red, const QVector<float> &green,
                          const QVector<float> &blue)
{
    pz::GammaRampTables tables{red, green, blue};
    return pz::gammaRamps().setRamp(m_Display.m_DisplayID, tables) ? 0 : -1;
}

int CVideoCardGamma::SetVideoCardGamma(CSpline red, CSpline green, CSpline blue)
{
    if (m_LUTMaximum == 0 || m_LUTSize == 0)
        return -4;
    if (!red.IsValid() || !green.IsValid() || !blue.IsValid())
        return -3;
    QVector<float> r, g, b;
    for (int i = 0; i < pz::IGammaRamps::kEntries; ++i) {
        const double x = i / 255.0;
        r.append(static_cast<float>(red.GetYValX(x)));
        g.append(static_cast<float>(green.GetYValX(x)));
        b.append(static_cast<float>(blue.GetYValX(x)));
    }
    return load(r, g, b);
}

int CVideoCardGamma::SetVideoCardGamma(QVector<unsigned int> red, QVector<unsigned int> green,
                                       QVector<unsigned int> blue)
{
    if (m_LUTMaximum == 0 || m_LUTSize == 0)
        return -4;
    const int n = pz::IGammaRamps::kEntries;
    if (red.isEmpty()) {
        const pz::GammaRampTables identity = pz::identityGammaRamp();
        return load(identity.red, identity.green, identity.blue);
    }
    if (red.size() != n || green.size() != n || blue.size() != n)
        return -3;
    QVector<float> r, g, b;
    for (int i = 0; i < n; ++i) {
        r.append(static_cast<float>(red[i] / 65535.0));
        g.append(static_cast<float>(green[i] / 65535.0));
        b.append(static_cast<float>(blue[i] / 65535.0));
    }
    return load(r, g, b);
}

int CVideoCardGamma::SetLinearVideoCardGamma()
{
    return SetVideoCardGamma(QVector<unsigned int>(), QVector<unsigned int>(),
                             QVector<unsigned int>());
}

int CVideoCardGamma::GetVideoCardGamma(QVector<unsigned int> &red, QVector<unsigned int> &green,
                                       QVector<unsigned int> &blue)
{
    if (m_LUTMaximum == 0 || m_LUTSize == 0)
        return -4;
    red.clear();
    green.clear();
    blue.clear();
    const int n = pz::IGammaRamps::kEntries;
    pz::GammaRampTables tables;
    // A ramp shorter than the tables would leave entries undefined.
    if (!pz::gammaRamps().getRamp(m_Display.m_DisplayID, tables) || tables.red.size() < n ||
        tables.green.size() < n || tables.blue.size() < n)
        return -1;
    for (int i = 0; i < n; ++i) {
        red.append(toStep(tables.red[i], m_LUTMaximum));
        green.append(toStep(tables.green[i], m_LUTMaximum));
        blue.append(toStep(tables.blue[i], m_LUTMaximum));
    }
    return 0;
}

int CVideoCardGamma::GetVideoCardGamma(CSpline &red, CSpline &green, CSpline &blue)
{
    QVector<unsigned int> r, g, b;
    const int result = GetVideoCardGamma(r, g, b);
    if (result != 0)
        return result;
    const int n = r.size();
    CSpline *curves[3] = {&red, &green, &blue};
    const QVector<unsigned int> *tables[3] = {&r, &g, &b};
    for (int c = 0; c < 3; ++c) {
        curves[c]->InitSpline(SPLINE_CATMULL_ROM, n, 0.0, 1.0);
        for (int i = 0; i < n; ++i)
            curves[c]->SetY(i, double((*tables[c])[i]) / m_LUTMaximum);
        curves[c]->SetValid(true);
    }
    return 0;
}
