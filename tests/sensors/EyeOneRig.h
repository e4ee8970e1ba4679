#pragma once
// A rig for the i1 Display and i1 Pro adapters: the virtual clock, the
// simulated i1 library behind the seam with nothing attached, preferences
// with low-light averaging off, and a light the test sets, fixed or as a
// script of display readings.

#include "CPreferences.h"
#include "Clock.h"
#include "PreferencesRegistry.h"
#include "SimEyeOneLibrary.h"

#include <QStringList>
#include <algorithm>
#include <QVector>
#include <memory>

namespace pz::test {

struct EyeOneRig {
    VirtualClock clock;
    ScopedClock clockScope{&clock};
    SimEyeOneLibrary library;
    ScopedEyeOneLibrary seam{&library};
    CPreferences preferences;
    ScopedPreferences preferencesScope{&preferences};

    EyeOneRig()
    {
        preferences.SetAverageLowLightMeasurements(0);
        library.setFixedLight(SimXYZ{95.0, 100.0, 108.0}, 250.0);
    }

    void attachDisplay(const QByteArray &serial, bool firstGeneration = false)
    {
        SimEyeOneDisplayConfig config;
        config.serial = serial;
        config.firstGeneration = firstGeneration;
        library.setDisplayConfig(config);
        library.setAttached(SimEyeOneLibrary::Display, true);
    }

    // Display readings in this order (the last one repeats), 300 lux.
    void script(const QVector<SimXYZ> &readings)
    {
        auto next = std::make_shared<int>(0);
        library.setLight([readings, next] {
            const int i = std::min(*next, int(readings.size()) - 1);
            ++*next;
            return SimLightAtSensor{readings[i], 300.0};
        });
    }

    // How often the library was asked for a reading since clearCalls.
    int readingsTaken() const
    {
        return int(library.calls().count(QStringLiteral("TriggerMeasurement")));
    }
    // The options set since clearCalls, as "key=value".
    QStringList optionsSet() const
    {
        QStringList set;
        for (const QString &call : library.calls())
            if (call.startsWith(QLatin1String("SetOption ")))
                set << call.mid(10);
        return set;
    }
};

} // namespace pz::test
