#pragma once
// What one run of bench_hx_calibration gave, and why a target was missed,
// computed from it. Included by that program alone.

#include "CCIEXYZ.h"
#include "DisplayProfileBuilder.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <algorithm>
#include <cmath>

namespace calibration_bench {

using namespace pz;

inline constexpr quint32 kDisplayId = 1;
inline constexpr double kWhiteTolerance = 0.0005;
inline constexpr double kHxLuminanceTolerance = 0.75;
inline constexpr double kGainLuminanceTolerance = 0.8;
inline constexpr double kMeanDeltaE = 0.5;
inline constexpr double kMaxDeltaE = 1.5;
// The target white (D65) and the on-time after which a panel has settled.
inline constexpr double kTargetWhiteX = 0.3127;
inline constexpr double kTargetWhiteY = 0.3290;
inline constexpr int kWarmUpMinutes = 30;
// The greys the profile's TRC is held to, and how closely.
inline constexpr int kTrcFirstGrey = 32;
inline constexpr int kTrcLastGrey = 192;
inline constexpr double kTrcTolerance = 0.01;
inline constexpr int kCalibrationSteps = 32;
// How far around the controls' end points the panel model is searched.
inline constexpr int kSearchCounts = 4;

// How the loop that left the white where it is ended.
struct ControllerStops {
    // Gain method: passes of the gain controller, and at the end of the
    // last: whether it ended on a confirmed white, each channel's reversals
    // and the channel that limited (0 none).
    int gainPasses = 0;
    bool confirmed = false;
    int reversals[3] = {0, 0, 0};
    int limiting = 0;
    // HX method: the white registers' reversals at the loop's end; the
    // luminance loop's last result, reversals and limit hits.
    int luminanceResult = 1;
    int luminanceReversals = 0;
    int luminanceLimitHits = 0;
};

struct Options {
    bool gainMonitor = false;
    bool realPanel = false;
    quint32 seed = 1;
    double onMinutes = 0.0;
    bool noise = false;
    double biasX = 0.003;
    double biasY = -0.002;
    double perStep = 0.96;
    double luminance = 120.0;
    double gamma = 2.2;
    double readingSeconds = 0.0;   // 0: what the adapter chooses
};

// Grey ΔE2000 of a validation.
struct GreyFigures {
    bool valid = false;
    double mean = 0.0, max = 0.0;
    double atWhite = 0.0;   // the level of the largest luminance
    int levels = 0;
};

// What one calibration and its validation gave.
struct Outcome {
    int calibrated = 0;
    int validated = 0;
    QMap<int, qint64> perTaskUs;
    qint64 calibrationUs = 0;
    qint64 validationUs = 0;
    int measureCalls = 0, readings = 0, requests = 0;
    int whiteSteps = 0, luminanceSteps = 0;
    CCIEYxy white;
    double dx = 0, dy = 0, dY = 0;
    GreyFigures before;   // gain monitor: the display as found
    GreyFigures after;
    CCIEYxy whiteLoopEnd;       // the white-point loop's last reading
    CCIEYxy luminanceLoopEnd;   // the controllers' last reading
    double minutesOnAtEnd = 0.0;   // the panel's on-time at the final measurement
    // The largest move of the white chromaticity for one count of each
    // white control (x and y register, or red, green and blue gain), and
    // cd/m² per count of the luminance control.
    QVector<double> countMoves;
    double luminancePerCount = 0.0;
    // How the loops ended, and what the settings within kSearchCounts of
    // where they left the controls would have given on the panel as it was
    // at the end: how many were tried, put the white inside its window, the
    // luminance inside its tolerance, and both; the nearest white.
    ControllerStops stops;
    QString endSetting, endLuminanceSetting;
    CCIEYxy modelEnd;   // the model's white there: the loops' last reading, if it is right
    int whiteTried = 0, whiteReachable = 0;
    int luminanceTried = 0, luminanceReachable = 0;
    int bothTried = 0, bothReachable = 0;
    double nearestWhite = 0.0;   // max(|dx|, |dy|)
    CCIEYxy nearest;
    QString nearestSetting;
    int nearestGains[3] = {0, 0, 0};
    // Gain method: the white the sensor reads after the run with the gains
    // set to the nearest setting through a straight table (a check of the
    // search on the monitor itself); valid when measured.
    bool nearestMeasured = false;
    CCIEYxy nearestReading;
    // The panel model's grey through the table the calibration left, at the
    // level of the TRC's largest miss, against the same TRC.
    double modelTrcMiss = 0.0;
    // HX: how far the model's greys lie from its white in chromaticity at
    // the end, and the same with the channels' tone deviations taken out.
    double greyDeparture = 0.0, greyDepartureWithout = 0.0;
    int greyDepartureLevel = -1;
    // How far the profile's TRC (the target gamma as its 'curv' stores it)
    // lies from the calibration's final grey ramp at grey 32 to 192, black
    // removed from both: the largest relative miss and its level.
    double trcMiss = 0.0;
    int trcMissLevel = -1;
    // Targets missed, by name.
    bool whiteMissed = false, luminanceMissed = false, greyMissed = false;
    bool missed() const
    {
        return calibrated != 0 || validated != 0 || !after.valid || whiteMissed || luminanceMissed
               || greyMissed;
    }
};

inline QString fixed(double v, int decimals, bool sign = false)
{
    QString s = QString::number(v, 'f', decimals);
    if (sign && v >= 0)
        s.prepend(QLatin1Char('+'));
    return s;
}

// The rule that ended the loop which left the white where it is, as the
// loop's own counters show it.
inline QString stoppingRule(const Options &o, const ControllerStops &stops)
{
    if (!o.gainMonitor) {
        QStringList held;
        if (stops.reversals[0] > 5)
            held << QStringLiteral("x held after %1 reversals").arg(stops.reversals[0]);
        if (stops.reversals[1] > 5)
            held << QStringLiteral("y held after %1 reversals").arg(stops.reversals[1]);
        return QStringLiteral("the white-point loop's stopping rule: both white registers unchanged "
                              "on three consecutive steps (a register is left as it is while its "
                              "axis is inside ±0.0005, or once it has reversed more than five "
                              "times%1)")
            .arg(held.isEmpty() ? QString() : QStringLiteral("; here ") + held.join(QStringLiteral(", ")));
    }
    QStringList held;
    const char *names[3] = {"red", "green", "blue"};
    const int limits[3] = {5, 6, 7};
    for (int c = 0; c < 3; ++c) {
        if (stops.limiting == c + 1)
            held << QStringLiteral("%1 limiting at its maximum").arg(QLatin1String(names[c]));
        else if (stops.reversals[c] > limits[c])
            held << QStringLiteral("%1 held after %2 reversals")
                        .arg(QLatin1String(names[c]))
                        .arg(stops.reversals[c]);
    }
    const QString heldText =
        held.isEmpty() ? QString() : QStringLiteral(" (") + held.join(QStringLiteral(", ")) + QLatin1Char(')');
    if (stops.confirmed)
        return QStringLiteral("the confirmed white: the gain pass ended on two readings inside "
                              "±0.0005, five seconds apart");
    if (stops.gainPasses >= 2)
        return QStringLiteral("the ±0.004 channel-ratio tolerance: the second gain pass ended when "
                              "every channel's ratio had been within ±0.004 of its aim, or the "
                              "channel held, on three consecutive steps%1; that rule tests the "
                              "ratios, not the white's ±0.0005 window")
            .arg(heldText);
    return QStringLiteral("the best-trial pick by ratio error: the gain pass, ended by the ±0.004 "
                          "channel-ratio tolerance%1, went back to the trial of least channel-ratio "
                          "error, not to the one nearest the target white")
        .arg(heldText);
}

// Why a target was missed, computed from the run: the panel warming up
// between the loops' last reading and the final measurement; for a loop
// that ended outside its target, whether any setting within kSearchCounts
// of its end would have reached the target on the panel as it was at the
// end (then the loop's stopping rule ended it), or none (then the controls
// cannot reach it from there); the grey tracking from its own figures.
// Empty when every target was met.
inline QStringList explain(const Options &o, const Outcome &r)
{
    QStringList why;
    const double driftX = r.white.x - r.whiteLoopEnd.x;
    const double driftY = r.white.y - r.whiteLoopEnd.y;
    const double driftLuminance = r.white.Y - r.luminanceLoopEnd.Y;
    const bool warming = r.minutesOnAtEnd < kWarmUpMinutes;
    const bool whiteDrifted = std::max(std::abs(driftX), std::abs(driftY)) > kWhiteTolerance / 2;
    const bool loopInWindow = std::abs(r.whiteLoopEnd.x - kTargetWhiteX) <= kWhiteTolerance
                              && std::abs(r.whiteLoopEnd.y - kTargetWhiteY) <= kWhiteTolerance;
    const double luminanceTolerance = o.gainMonitor ? kGainLuminanceTolerance : kHxLuminanceTolerance;
    const double target = o.luminance;
    const bool loopLuminanceIn = std::abs(r.luminanceLoopEnd.Y - target) <= luminanceTolerance;
    const QString warmUp =
        QStringLiteral("A limit of the method: the calibration does not wait for the panel to warm "
                       "up; warm it up for %1 min first (--on-minutes %1).")
            .arg(kWarmUpMinutes);
    // What the searches varied, each within kSearchCounts of the loops' end.
    const QString whiteScope = QStringLiteral("%1 within ±%2 counts of %3 (%4 as left)")
                                   .arg(o.gainMonitor ? QStringLiteral("gain settings")
                                                      : QStringLiteral("register pairs"))
                                   .arg(kSearchCounts)
                                   .arg(r.endSetting, r.endLuminanceSetting);
    const QString bothScope = QStringLiteral("settings within ±%1 counts of %2, %3")
                                  .arg(kSearchCounts)
                                  .arg(r.endSetting, r.endLuminanceSetting);
    const QString luminanceScope =
        o.gainMonitor ? bothScope
                      : QStringLiteral("values within ±%1 counts of %2 (%3 as left)")
                            .arg(kSearchCounts)
                            .arg(r.endLuminanceSetting, r.endSetting);
    if (r.whiteMissed && warming && whiteDrifted)
        why << QStringLiteral("white: the still warming panel moved it by %1, %2 between the "
                              "white-point loop's last reading and the final measurement (%3 min "
                              "after switch-on). ")
                       .arg(fixed(driftX, 4, true), fixed(driftY, 4, true),
                            fixed(r.minutesOnAtEnd, 1))
                   + warmUp;
    else if (r.whiteMissed && !loopInWindow && r.whiteReachable > 0)
        why << QStringLiteral("white: the loop ended outside the window (%1, %2). On the panel as "
                              "it was at the end, %3 of the %4 %5 put the white inside "
                              "±0.0005 (nearest %6, %7 at %8%13; %9 of the %10 %11 put both the "
                              "white and the luminance inside their targets): the controls could reach "
                              "the window. What ended the loop is %12.")
                   .arg(fixed(r.whiteLoopEnd.x - kTargetWhiteX, 5, true),
                        fixed(r.whiteLoopEnd.y - kTargetWhiteY, 5, true))
                   .arg(r.whiteReachable)
                   .arg(r.whiteTried)
                   .arg(whiteScope, fixed(r.nearest.x - kTargetWhiteX, 5, true),
                        fixed(r.nearest.y - kTargetWhiteY, 5, true), r.nearestSetting)
                   .arg(r.bothReachable)
                   .arg(r.bothTried)
                   .arg(bothScope, stoppingRule(o, r.stops),
                        r.nearestMeasured
                            ? QStringLiteral(", where the sensor reads %1, %2 with those gains set")
                                  .arg(fixed(r.nearestReading.x - kTargetWhiteX, 5, true),
                                       fixed(r.nearestReading.y - kTargetWhiteY, 5, true))
                            : QString());
    else if (r.whiteMissed && !loopInWindow)
        why << QStringLiteral("white: the loop ended outside the window (%1, %2), and on the panel "
                              "as it was at the end none of the %3 %4 puts the white inside "
                              "±0.0005 (nearest %5, %6 at %7): the controls cannot reach the window "
                              "from there. The loop ended by %8.")
                   .arg(fixed(r.whiteLoopEnd.x - kTargetWhiteX, 5, true),
                        fixed(r.whiteLoopEnd.y - kTargetWhiteY, 5, true))
                   .arg(r.whiteTried)
                   .arg(whiteScope, fixed(r.nearest.x - kTargetWhiteX, 5, true),
                        fixed(r.nearest.y - kTargetWhiteY, 5, true), r.nearestSetting,
                        stoppingRule(o, r.stops));
    else if (r.whiteMissed)
        why << QStringLiteral("white: on the window's edge: inside it at the loop's last reading, "
                              "%1, %2 away at the final measurement%3.")
                   .arg(fixed(r.dx, 5, true), fixed(r.dy, 5, true),
                        o.gainMonitor ? QStringLiteral(" (through the new table)") : QString());

    if (r.luminanceMissed && warming && std::abs(driftLuminance) > 0.5 * std::abs(r.dY))
        why << QStringLiteral("luminance: the still warming panel moved it by %1 cd/m2 after the "
                              "loops' last reading. ")
                       .arg(fixed(driftLuminance, 2, true))
                   + warmUp;
    else if (r.luminanceMissed && loopLuminanceIn)
        why << QStringLiteral("luminance: inside ±%1 cd/m2 at the loops' last reading (%2), %3 "
                              "cd/m2 off at the final measurement%4.")
                   .arg(fixed(luminanceTolerance, 2), fixed(r.luminanceLoopEnd.Y, 2),
                        fixed(r.dY, 2, true),
                        o.gainMonitor ? QStringLiteral(" (through the new table)") : QString());
    else if (r.luminanceMissed) {
        const QString rule =
            o.gainMonitor
                ? QStringLiteral("the second gain pass, which sets the final luminance through "
                                 "the gains: %1")
                      .arg(stoppingRule(o, r.stops))
                : QStringLiteral("the luminance loop's stopping rule: two readings in a row within "
                                 "±0.75 cd/m2, or held after more than six reversals, or given up "
                                 "after more than four limit hits (here %1 reversals, %2 limit "
                                 "hits, last result %3)")
                      .arg(r.stops.luminanceReversals)
                      .arg(r.stops.luminanceLimitHits)
                      .arg(r.stops.luminanceResult);
        why << (r.luminanceReachable > 0
                    ? QStringLiteral("luminance: the loops ended %1 cd/m2 off; on the panel as it "
                                     "was at the end %2 of the %3 %4 give it within ±%5 "
                                     "cd/m2 (%6 of the %7 %8 with the white inside its window too): "
                                     "the controls could reach it. What ended the loop is %9.")
                    : QStringLiteral("luminance: the loops ended %1 cd/m2 off, and on the panel as "
                                     "it was at the end %2 of the %3 %4 give it within "
                                     "±%5 cd/m2 (%6 of the %7 %8 with the white in its window): "
                                     "the controls cannot reach it from there. The loop ended by "
                                     "%9."))
                      .arg(fixed(r.luminanceLoopEnd.Y - target, 2, true))
                      .arg(r.luminanceReachable)
                      .arg(r.luminanceTried)
                      .arg(luminanceScope, fixed(luminanceTolerance, 2))
                      .arg(r.bothReachable)
                      .arg(r.bothTried)
                      .arg(bothScope, rule);
    }

    if (r.greyMissed && !o.gainMonitor)
        why << QStringLiteral(
                   "grey: on the panel model at the end the greys depart from the white's "
                   "chromaticity by up to %1 (grey %2), and by %3 with the channels' own tone "
                   "deviations taken out. The HX method sets one tone curve for all three "
                   "channels in the monitor's engine and applies no per-channel correction, so "
                   "those deviations stay in the grey. A limit of the method.")
                   .arg(fixed(r.greyDeparture, 4))
                   .arg(r.greyDepartureLevel)
                   .arg(fixed(r.greyDepartureWithout, 4));
    else if (r.greyMissed)
        why << QStringLiteral("grey: the greys are judged against the target white, so the white's "
                              "own offset (%1; dE2000 %2 at white%3, mean %4) is in every level; "
                              "the table corrects the channels' tone, not the white the gains "
                              "left.")
                   .arg(r.whiteMissed ? QStringLiteral("above")
                                      : QStringLiteral("inside the window, %1, %2")
                                            .arg(fixed(r.dx, 4, true), fixed(r.dy, 4, true)),
                        fixed(r.after.atWhite, 3),
                        r.after.atWhite >= r.after.max ? QStringLiteral(", the largest of all levels")
                                                       : QString(),
                        fixed(r.after.mean, 3));
    return why;
}

// The gain method's profile TRC where it misses the calibrated grey by more
// than kTrcTolerance, and why; empty otherwise.
inline QString trcNote(const Options &o, const Outcome &r)
{
    if (!o.gainMonitor || r.trcMissLevel < 0 || std::abs(r.trcMiss) <= kTrcTolerance)
        return QString();
    // The model's own miss has the measured one's sign and most of its size.
    const bool tableDeparts = r.modelTrcMiss * r.trcMiss > 0.0
                              && std::abs(r.modelTrcMiss) > 0.5 * std::abs(r.trcMiss);
    return QStringLiteral(
                   "the profile's TRC misses the measured grey %1 by %2 % (black removed; the profile "
                   "stores gamma %3), and the panel model through the table this "
                   "calibration loaded gives %4 % there, so %5. A limit of the method: the table inverts the measured response "
                   "through a Catmull-Rom curve over the %6 measured greys, each placed at level "
                   "i/(N-1) while the patch shown is rounded to whole counts (up to half a "
                   "count off), and the interpolation's error grows toward black.")
                   .arg(r.trcMissLevel)
                   .arg(fixed(100.0 * r.trcMiss, 2, true))
                   .arg(fixed(storedCurveGamma(o.gamma), 4))
                   .arg(fixed(100.0 * r.modelTrcMiss, 2, true),
                        tableDeparts ? QStringLiteral("the table itself departs, not the reading")
                                     : QStringLiteral("the table does not account for all of it"))
                   .arg(kCalibrationSteps);
}

} // namespace calibration_bench
