#include "XRandRGammaRamps.h"

#include <algorithm>
#include <cmath>

namespace pz {

namespace {

// The value at position pos (0 .. n-1) of a table, linear between entries.
template <typename T>
double sampleAt(const QVector<T> &table, double pos)
{
    const int last = table.size() - 1;
    if (last <= 0)
        return table.isEmpty() ? 0.0 : double(table[0]);
    pos = std::clamp(pos, 0.0, double(last));
    const int i = std::min(last - 1, static_cast<int>(pos));
    const double f = pos - i;
    return double(table[i]) + (double(table[i + 1]) - double(table[i])) * f;
}

// Position in a table of `from` entries that corresponds to entry j of a
// table of `to` entries: both span the same 0..1 input range.
double positionFor(int j, int to, int from)
{
    return to > 1 ? double(j) * double(from - 1) / double(to - 1) : 0.0;
}

quint16 toStep(double v)
{
    if (!(v > 0.0)) // also catches NaN
        return 0;
    if (v >= 1.0)
        return 65535;
    return static_cast<quint16>(std::lround(v * 65535.0));
}

} // namespace

QVector<quint16> rampToHardware(const QVector<float> &entries, int size)
{
    QVector<quint16> out;
    if (entries.isEmpty() || size <= 0)
        return out;
    // Clamp first, so one wild entry cannot pull its neighbours' samples.
    QVector<double> clean;
    clean.reserve(entries.size());
    for (float e : entries)
        clean.append(std::isnan(e) ? 0.0 : std::clamp(double(e), 0.0, 1.0));
    out.reserve(size);
    for (int j = 0; j < size; ++j)
        out.append(toStep(sampleAt(clean, positionFor(j, size, clean.size()))));
    return out;
}

QVector<float> rampFromHardware(const QVector<quint16> &hardware, int count)
{
    QVector<float> out;
    if (hardware.isEmpty() || count <= 0)
        return out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out.append(static_cast<float>(sampleAt(hardware, positionFor(i, count, hardware.size())) /
                                      65535.0));
    return out;
}

XRandRGammaRamps::XRandRGammaRamps(std::shared_ptr<XRandRConnection> connection)
    : m_x(std::move(connection))
{
}

quint32 XRandRGammaRamps::crtcOf(quint32 displayId)
{
    QVector<XRandROutput> outputs;
    if (!m_x->activeOutputs(outputs))
        return 0;
    for (const XRandROutput &o : outputs)
        if (o.id == displayId)
            return o.crtc;
    return 0;
}

bool XRandRGammaRamps::setRamp(quint32 displayId, const GammaRampTables &tables)
{
    if (tables.red.size() != kEntries || tables.green.size() != kEntries ||
        tables.blue.size() != kEntries)
        return false;
    const quint32 crtc = crtcOf(displayId);
    const int size = crtc ? m_x->gammaSize(crtc) : 0;
    if (size <= 0)
        return false;
    return m_x->setGamma(crtc, rampToHardware(tables.red, size), rampToHardware(tables.green, size),
                         rampToHardware(tables.blue, size));
}

bool XRandRGammaRamps::getRamp(quint32 displayId, GammaRampTables &tables)
{
    tables = GammaRampTables();
    const quint32 crtc = crtcOf(displayId);
    QVector<quint16> r, g, b;
    if (!crtc || !m_x->getGamma(crtc, r, g, b))
        return false;
    tables.red = rampFromHardware(r, kEntries);
    tables.green = rampFromHardware(g, kEntries);
    tables.blue = rampFromHardware(b, kEntries);
    return true;
}

} // namespace pz
