#include "SimLightModel.h"

#include <algorithm>
#include <cmath>

namespace pz {

namespace {

using Matrix = double[3][3];

// A gain-and-table panel's light at brightness 0, relative to its maximum.
constexpr double kDimmestBacklight = 0.2;

double clamp01(double v)
{
    if (!(v > 0.0))   // also catches NaN
        return 0.0;
    return v < 1.0 ? v : 1.0;
}

bool invert(const Matrix m, Matrix out)
{
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1])
                     - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0])
                     + m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    if (std::fabs(det) < 1e-12)
        return false;
    out[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) / det;
    out[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det;
    out[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det;
    out[1][0] = (m[1][2] * m[2][0] - m[1][0] * m[2][2]) / det;
    out[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det;
    out[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det;
    out[2][0] = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) / det;
    out[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det;
    out[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
    return true;
}

SimXYZ xyToXYZ(SimChromaticity c, double Y)
{
    const double y = c.y > 1e-6 ? c.y : 1e-6;
    return SimXYZ{c.x * Y / y, Y, (1.0 - c.x - c.y) * Y / y};
}

void primariesOf(const SimLightParams &panel, const SimEngineState &engine, SimChromaticity p[3])
{
    if (engine.customGamut) {
        for (int c = 0; c < 3; ++c)
            p[c] = SimChromaticity{engine.gamut[2 * c] / 1000.0, engine.gamut[2 * c + 1] / 1000.0};
    } else {
        p[0] = panel.red;
        p[1] = panel.green;
        p[2] = panel.blue;
    }
}

// Columns are the XYZ of each primary at full drive, scaled so that the
// three add up to the white of luminance Y. False for degenerate primaries.
bool rgbToXyz(const SimChromaticity p[3], SimChromaticity white, double Y, Matrix m)
{
    Matrix prim;
    for (int c = 0; c < 3; ++c) {
        const SimXYZ v = xyToXYZ(p[c], 1.0);
        prim[0][c] = v.X;
        prim[1][c] = v.Y;
        prim[2][c] = v.Z;
    }
    Matrix inv;
    if (!invert(prim, inv))
        return false;
    const SimXYZ w = xyToXYZ(white, Y);
    for (int c = 0; c < 3; ++c) {
        const double s = inv[c][0] * w.X + inv[c][1] * w.Y + inv[c][2] * w.Z;
        for (int r = 0; r < 3; ++r)
            m[r][c] = prim[r][c] * s;
    }
    return true;
}

double interpolateCurve(const QVector<quint16> &curve, int channel, double v, double fullScale)
{
    if (curve.size() < 3 * 256 || fullScale <= 0)
        return v;
    const double pos = clamp01(v) * 255.0;
    const int i = std::min(254, static_cast<int>(pos));
    const double f = pos - i;
    const double a = curve[channel * 256 + i] / fullScale;
    const double b = curve[channel * 256 + i + 1] / fullScale;
    return a + (b - a) * f;
}

} // namespace

double SimLightModel::dicomLuminance(double j)
{
    j = std::clamp(j, 1.0, 1023.0);
    const double x = std::log(j);
    const double num = -1.3011877 + 8.0242636e-2 * x + 1.3646699e-1 * x * x
                     - 2.5468404e-2 * x * x * x + 1.3635334e-3 * x * x * x * x;
    const double den = 1.0 - 2.5840191e-2 * x - 1.0320229e-1 * x * x + 2.8745620e-2 * x * x * x
                     - 3.1978977e-3 * x * x * x * x + 1.2992634e-4 * x * x * x * x * x;
    return std::pow(10.0, num / den);
}

double SimLightModel::dicomJnd(double luminance)
{
    const double x = std::log10(std::clamp(luminance, 0.05, 4000.0));
    const double c[9] = {71.498068, 94.593053, 41.912053, 9.8247004, 0.28175407,
                         -1.1878455, -0.18014349, 0.14710899, -0.017046845};
    double sum = 0.0, p = 1.0;
    for (double k : c) {
        sum += k * p;
        p *= x;
    }
    return sum;
}

SimChromaticity SimLightModel::whitePoint(const SimLightParams &panel, const SimEngineState &engine)
{
    if (engine.preset != 11)
        return panel.nativeWhite;
    const SimChromaticity asked =
        panel.flaws.enabled ? SimPanelResponse::userWhite(panel.flaws, engine.whiteX, engine.whiteY)
                            : SimChromaticity{engine.whiteX / 1000.0, engine.whiteY / 1000.0};
    return SimChromaticity{asked.x + panel.whiteBias.x, asked.y + panel.whiteBias.y};
}

double SimLightModel::whiteLuminance(const SimLightParams &panel, const SimEngineState &engine)
{
    double luminance = panel.luminancePerStep * std::max(0, engine.luminance);
    if (panel.flaws.enabled)
        luminance *= SimPanelResponse::luminanceFactor(panel.flaws, engine.luminance,
                                                       whitePoint(panel, engine), panel.nativeWhite);
    return std::min(luminance, panel.maxLuminance);
}

double SimLightModel::blackLuminance(const SimLightParams &panel, const SimEngineState &engine)
{
    const double black = engine.blackTenths > 0 ? engine.blackTenths / 10.0
                                                : panel.maxLuminance / 1000.0;
    // A black level the panel cannot hold below its white is capped there.
    return std::min(black, 0.5 * whiteLuminance(panel, engine));
}

double SimLightModel::tone(const SimLightParams &panel, const SimEngineState &engine,
                           int channel, double v)
{
    const double t = idealTone(panel, engine, channel, v);
    return panel.flaws.enabled ? SimPanelResponse::tone(panel.flaws, channel, v, t) : t;
}

double SimLightModel::idealTone(const SimLightParams &panel, const SimEngineState &engine,
                                int channel, double v)
{
    v = clamp01(v);
    channel = std::clamp(channel, 0, 2);
    switch (engine.gammaMode) {
    case kToneGamma:
        return std::pow(v, engine.gammaValue / 100.0 + 0.5);
    case kToneDicom: {
        const double lw = whiteLuminance(panel, engine);
        const double lb = blackLuminance(panel, engine);
        if (lw <= lb)
            return v;
        // Equal JND steps between the panel's black and white; normalised on
        // the function's own end points so black and white stay exact.
        const double jb = dicomJnd(lb), jw = dicomJnd(lw);
        const double l0 = dicomLuminance(jb), l1 = dicomLuminance(jw);
        if (l1 <= l0)
            return v;
        return clamp01((dicomLuminance(jb + v * (jw - jb)) - l0) / (l1 - l0));
    }
    case kToneSrgb:
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    case kToneLStar: {
        const double l = 100.0 * v;
        return l > 8.0 ? std::pow((l + 16.0) / 116.0, 3.0) : l / 903.2962962962963;
    }
    case kToneCurveMemory:
        // The gamma table maps the signal to a drive, the curve memory the
        // drive to light.
        v = clamp01(interpolateCurve(engine.lut, channel, v, engine.lutMaximum));
        return clamp01(interpolateCurve(engine.curve, channel, v, 65535.0));
    default:
        return std::pow(v, panel.nativeGamma[channel]);
    }
}

void SimLightModel::whiteDrive(const SimLightParams &panel, const SimEngineState &engine,
                               double drive[3])
{
    // Native drive needed for the target white, relative to native white.
    SimChromaticity native[3] = {panel.red, panel.green, panel.blue};
    Matrix m, inv;
    drive[0] = drive[1] = drive[2] = 1.0;
    if (!rgbToXyz(native, panel.nativeWhite, 1.0, m) || !invert(m, inv))
        return;
    const SimXYZ w = xyToXYZ(whitePoint(panel, engine), 1.0);
    double top = 0.0;
    for (int c = 0; c < 3; ++c) {
        drive[c] = std::max(0.0, inv[c][0] * w.X + inv[c][1] * w.Y + inv[c][2] * w.Z);
        top = std::max(top, drive[c]);
    }
    for (int c = 0; c < 3; ++c)
        drive[c] = top > 0 ? drive[c] / top : 1.0;
}

SimXYZ SimLightModel::emitted(const SimLightParams &panel, const SimEngineState &engine,
                              double r, double g, double b)
{
    const double yw = whiteLuminance(panel, engine);
    const double yb = blackLuminance(panel, engine);
    const SimChromaticity white = whitePoint(panel, engine);
    SimChromaticity prim[3];
    primariesOf(panel, engine, prim);
    Matrix m;
    if (yw <= 0.0 || !rgbToXyz(prim, white, yw - yb, m))
        return xyToXYZ(white, yb);

    const double in[3] = {r, g, b};
    const bool gainDrive = panel.gainLutPanel && engine.gammaMode == kToneCurveMemory;
    double t[3];
    for (int c = 0; c < 3; ++c) {
        const double gain = std::clamp(engine.gains[c], 0, 255) / 255.0;
        if (gainDrive) {
            // The gain scales the drive the table gives, before the panel.
            const double drive = clamp01(interpolateCurve(engine.lut, c, in[c], engine.lutMaximum));
            const double v = clamp01(drive * gain);
            t[c] = std::pow(v, panel.nativeGamma[c]);
            if (panel.flaws.enabled)
                t[c] = SimPanelResponse::tone(panel.flaws, c, v, t[c]);
        } else {
            t[c] = tone(panel, engine, c, in[c]) * gain;
        }
    }

    SimXYZ out = xyToXYZ(white, yb);
    out.X += m[0][0] * t[0] + m[0][1] * t[1] + m[0][2] * t[2];
    out.Y += m[1][0] * t[0] + m[1][1] * t[1] + m[1][2] * t[2];
    out.Z += m[2][0] * t[0] + m[2][1] * t[1] + m[2][2] * t[2];
    if (panel.gainLutPanel && engine.brightnessMaximum > 0) {
        const double level =
            std::clamp(double(engine.brightness) / engine.brightnessMaximum, 0.0, 1.0);
        double scale = kDimmestBacklight + (1.0 - kDimmestBacklight) * level;
        if (panel.flaws.enabled) {
            // The backlight answers to how hard white drives each channel,
            // by its gain or by the top of its table.
            double whiteDrive[3];
            for (int c = 0; c < 3; ++c) {
                const double gain = std::clamp(engine.gains[c], 0, 255) / 255.0;
                whiteDrive[c] = gainDrive
                    ? clamp01(interpolateCurve(engine.lut, c, 1.0, engine.lutMaximum) * gain)
                    : gain;
            }
            scale *= SimPanelResponse::gainBacklight(panel.flaws, whiteDrive);
        }
        out.X *= scale;
        out.Y *= scale;
        out.Z *= scale;
    }
    return out;
}

} // namespace pz
