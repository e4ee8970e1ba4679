#pragma once
// The gamma-ramp backend over XRandR: a display's ramp is the gamma ramp of
// the CRTC that scans out its output. The program's ramps have 256 entries
// per channel; a CRTC has its own size (256, 1024, 4096...), so ramps are
// resampled on the way in and out, linearly between neighbouring entries.
// Without an X server with RandR every display is unknown and the calls fail,
// so the program runs on without gamma ramps.

#include "GammaRamp.h"
#include "XRandRConnection.h"

#include <memory>

namespace pz {

// Entries in [0, 1] (any count of at least 1) resampled to `size` 16-bit
// hardware entries; values outside [0, 1] are clamped, a value that is not
// a number counts as 0. Each entry is rounded to the nearest step.
QVector<quint16> rampToHardware(const QVector<float> &entries, int size);
// Hardware entries (at least 1) resampled to `count` entries in [0, 1].
QVector<float> rampFromHardware(const QVector<quint16> &hardware, int count);

class XRandRGammaRamps : public IGammaRamps {
public:
    explicit XRandRGammaRamps(std::shared_ptr<XRandRConnection> connection);

    bool isAvailable() const { return m_x->isAvailable(); }
    QString unavailableReason() const { return m_x->unavailableReason(); }

    bool setRamp(quint32 displayId, const GammaRampTables &tables) override;
    bool getRamp(quint32 displayId, GammaRampTables &tables) override;

private:
    // The CRTC of an active output; 0 when the output is not shown.
    quint32 crtcOf(quint32 displayId);

    std::shared_ptr<XRandRConnection> m_x;
};

} // namespace pz
