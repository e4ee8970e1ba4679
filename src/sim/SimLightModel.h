#pragma once
// The light a simulated Orvane monitor emits for a drive signal: an additive
// three-primary display whose white point, luminance, black level, tone
// response and gamut follow the colour-engine registers the monitor last
// applied. Pure functions, so the maths can be checked on its own.

#include "SimPanelResponse.h"

#include <QVector>
#include <QtGlobal>

namespace pz {

struct SimXYZ {
    double X = 0, Y = 0, Z = 0;
};

struct SimChromaticity {
    double x = 0, y = 0;
};

// The panel itself: what the factory measured and how the engine misses.
struct SimLightParams {
    SimChromaticity red{0.680, 0.310};
    SimChromaticity green{0.210, 0.710};
    SimChromaticity blue{0.150, 0.060};
    SimChromaticity nativeWhite{0.3125, 0.3291};
    double maxLuminance = 350.0;       // Lmax, cd/m²
    double luminancePerStep = 0.96;    // k: cd/m² per unit of the luminance target
    double nativeGamma[3] = {2.28, 2.30, 2.32};
    // How far the engine's user white lands from the target it was given,
    // so the host's white-point loop has something to correct.
    SimChromaticity whiteBias{0.0030, -0.0020};
    double noise = 0.0;                // relative standard deviation of every reading
    double driftPerHour = 0.0;         // relative change of the light per hour switched on
    quint32 seed = 1;                  // of the noise
    // A panel without a colour engine, driven through its gains and gamma
    // table: brightness scales the light (20 % at 0 to 100 % at its
    // maximum), and in tone mode 6 the gamma table, scaled by the gains,
    // drives the native response.
    bool gainLutPanel = false;
    // How the panel departs from this ideal (none unless switched on).
    SimPanelFlaws flaws;
};

// Tone response selected by the gamma-mode register.
enum SimToneMode {
    kToneNative = 1,
    kToneDicom = 5,
    kToneCurveMemory = 6,
    kToneGamma = 9,
    kToneSrgb = 11,
    kToneLStar = 12,
};

// The engine registers the light depends on, as last applied.
struct SimEngineState {
    int preset = 2;           // 2 native white, 11 user white
    int whiteX = 313;         // thousandths
    int whiteY = 329;
    int luminance = 160;      // target, cd/m² before k
    int blackTenths = 0;      // 0: the panel's own black
    int gammaMode = kToneGamma;
    int gammaValue = 170;     // 10·int((γ−0.5)·10+0.5)
    bool customGamut = false;
    int gamut[6] = {680, 310, 210, 710, 150, 60};   // Rx Ry Gx Gy Bx By, thousandths
    int gains[3] = {255, 255, 255};
    int brightness = 100;
    int brightnessMaximum = 100;
    // Curve memory used by tone mode 6: three channels of 256 entries,
    // 0..65535 relative luminance.
    QVector<quint16> curve;
    // The programmable gamma table in front of it in mode 6: three channels
    // of 256 entries, 0..lutMaximum (empty: straight through).
    QVector<quint16> lut;
    int lutMaximum = 1023;
};

class SimLightModel {
public:
    // XYZ (Y in cd/m²) for a drive signal r, g, b in [0, 1] as it reaches
    // the panel (after the graphics card ramp). Values outside are clamped.
    static SimXYZ emitted(const SimLightParams &panel, const SimEngineState &engine,
                          double r, double g, double b);

    static SimChromaticity whitePoint(const SimLightParams &panel, const SimEngineState &engine);
    static double whiteLuminance(const SimLightParams &panel, const SimEngineState &engine);
    static double blackLuminance(const SimLightParams &panel, const SimEngineState &engine);
    // Relative response of one channel (0 black .. 1 full) to a drive v.
    static double tone(const SimLightParams &panel, const SimEngineState &engine,
                       int channel, double v);
    // How hard each channel is driven for white, relative to the strongest
    // (1.0); the channel at 1.0 limits the luminance.
    static void whiteDrive(const SimLightParams &panel, const SimEngineState &engine,
                           double drive[3]);

    // DICOM grayscale standard display function and its inverse.
    static double dicomLuminance(double jnd);
    static double dicomJnd(double luminance);

private:
    // The response the selected tone mode asks for, before the panel's flaws.
    static double idealTone(const SimLightParams &panel, const SimEngineState &engine,
                            int channel, double v);
};

} // namespace pz
