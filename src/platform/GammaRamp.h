#pragma once
// The gamma-ramp seam: the graphics card's transfer table of one display,
// 256 single-precision entries per channel (1.0 is full scale). The window
// system backend loads it into the card; the simulated desktop keeps it in
// memory and passes every patch through it.

#include <QVector>
#include <QtGlobal>

namespace pz {

struct GammaRampTables {
    QVector<float> red, green, blue;
};

class IGammaRamps {
public:
    static constexpr int kEntries = 256;

    virtual ~IGammaRamps() = default;
    // Loads a display's ramp; each table holds kEntries values. False when
    // the display is unknown or refused the tables.
    virtual bool setRamp(quint32 displayId, const GammaRampTables &tables) = 0;
    // Reads a display's ramp (kEntries per table). False when unknown.
    virtual bool getRamp(quint32 displayId, GammaRampTables &tables) = 0;
};

// A ramp set that knows no display: what the program sees until a backend is
// installed.
class NoGammaRamps : public IGammaRamps {
public:
    bool setRamp(quint32, const GammaRampTables &) override { return false; }
    bool getRamp(quint32, GammaRampTables &) override { return false; }
};

IGammaRamps &gammaRamps();
// Installs another ramp set (not owned); nullptr restores the default.
void setGammaRamps(IGammaRamps *ramps);

class ScopedGammaRamps {
public:
    explicit ScopedGammaRamps(IGammaRamps *ramps);
    ~ScopedGammaRamps();
    ScopedGammaRamps(const ScopedGammaRamps &) = delete;
    ScopedGammaRamps &operator=(const ScopedGammaRamps &) = delete;

private:
    IGammaRamps *m_previous;
};

// The identity ramp: entry i is i / 255.
GammaRampTables identityGammaRamp();

} // namespace pz
