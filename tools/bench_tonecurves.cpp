// Benchmark: target tone curves resampled to 1024 points, and the
// grey-scale tracking report over a 256-step ramp. Prints the time per call
// so later changes can be compared. Usage: bench_tonecurves [repetitions]

#include "CColorCalcUtils.h"
#include "CColorValue.h"
#include "CSpline.h"
#include "CTargetValue.h"
#include "ToneCurves.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

constexpr int kLutPoints = 1024;
constexpr int kGreySteps = 256;

// Keeps results alive so the optimiser cannot drop the work.
volatile double gSink = 0.0;

void report(const char *what, int repetitions, const std::function<void()> &call)
{
    call(); // warm-up
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repetitions; ++i)
        call();
    const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%-46s %10.2f us/call  (%d calls)\n", what, elapsed.count() / repetitions, repetitions);
}

void targetCurve(const CColorValue &measurements, CTargetValue target)
{
    CSpline curve;
    CreateTargetSpline(&measurements, &target, &curve);
    curve.SetNumberOfPoints(kLutPoints);
    gSink = gSink + curve.GetY(kLutPoints / 2);
}

} // namespace

int main(int argc, char **argv)
{
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;

    CTargetValue target;
    target.CreateDefault();

    // A measured 256-step ramp near the target, with a small colour drift.
    CColorValue measurements;
    measurements.m_FinalPatches[CColorValue::kWhitePatch] = CCIEXYZ(CCIEYxy(120.0, 0.3127, 0.3290));
    measurements.m_FinalPatches[CColorValue::kBlackPatch] = CCIEXYZ(CCIEYxy(0.15, 0.3127, 0.3290));
    {
        CSpline curve;
        CreateTargetSpline(&measurements, &target, &curve);
        for (int i = 0; i < kGreySteps; ++i) {
            const double Y = 0.15 + (120.0 - 0.15) * curve.GetYValX(i / double(kGreySteps - 1));
            measurements.m_FinalGreySteps.push_back(
                CCIEXYZ(CCIEYxy(Y, 0.3127 + 0.00001 * i, 0.3290 - 0.00001 * i)));
        }
    }

    report("gamma 2.2 target curve, resampled to 1024", repetitions,
           [&] { targetCurve(measurements, target); });
    CTargetValue dicom = target;
    dicom.m_GammaCurveType = CTargetValue::kCurveDICOM;
    report("DICOM target curve, resampled to 1024", repetitions,
           [&] { targetCurve(measurements, dicom); });
    CTargetValue lstar = target;
    lstar.m_GammaCurveType = CTargetValue::kCurveCustom;
    CreateLStarCurveSpline(&lstar.m_CustomCurve);
    report("L* custom target curve, resampled to 1024", repetitions,
           [&] { targetCurve(measurements, lstar); });

    report("grey tracking report, 256 steps", repetitions, [&] {
        QList<delta_e_point> points;
        CColorCalcUtils().CalculateAllDeltaEResults(&measurements, &target, points, 0.0);
        delta_e_max_avg_results results;
        CColorCalcUtils().CalculateAvgMaxValues(points, results);
        gSink = gSink + results.avgDeltaE2000;
    });
    return 0;
}
