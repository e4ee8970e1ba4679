#pragma once
// The figures by which a calibration is judged: CIE L*a*b*, the colour
// differences ΔE*ab (1976), ΔE94 and ΔE2000, the difference of the measured
// white from the target white point, the grey-scale tracking report, and
// the DICOM conformance figures (JNDs per driving level, contrast response).
// The calculator keeps nothing between calls.

#include "CCIEXYZ.h"

#include <QList>

class CColorValue;
class CTargetValue;

struct LabColor {
    double L;
    double a;
    double b;
};

// One grey step of the tracking report: measured luminance (cd/m²), then
// ΔE*ab, ΔE94 and ΔE2000 of the step against its target colour.
struct delta_e_point {
    double Y;
    double deltaEab;
    double deltaE94;
    double deltaE2000;
};

// Maxima, then means, of the three colour differences of a report.
struct delta_e_max_avg_results {
    double maxDeltaEab;
    double maxDeltaE94;
    double maxDeltaE2000;
    double avgDeltaEab;
    double avgDeltaE94;
    double avgDeltaE2000;
};

// Primaries of the preset target gamuts 1 to 8 (row = gamut type - 1):
// red x, red y, green x, green y, blue x, blue y.
constexpr int kPresetGamutCount = 8;
extern const double presets_gamuts[kPresetGamutCount][6];

class CColorCalcUtils {
public:
    // Arrays passed to the DICOM operations need room for this many values.
    static constexpr int kMaxDICOMIntervals = 255;

    CColorCalcUtils() = default;
    virtual ~CColorCalcUtils() = default;

    // Angles are converted with pi taken as 3.141592 both ways; the stored
    // reports were computed so and the ΔE2000 figures depend on it.
    static double degrees2radians(double degrees);
    static double radians2degrees(double radians);
    // The CIE companding function: t^(1/3) above 0.008856, else 7.787 t + 16/116.
    static double f(double t);

    // L*a*b* of a sample relative to a white (the older CIE constants:
    // 0.008856 and 903.3). The white must have positive X, Y and Z.
    static LabColor XYZ2LabReference(const CCIEXYZ &sample, const CCIEXYZ &white);

    static double CalculateLabDeltaEab(const LabColor &lab1, const LabColor &lab2);
    // CIE 1994, graphic-arts weights; the first argument is the reference,
    // so the result is not symmetric.
    static double CalculateLabDeltaE94(const LabColor &reference, const LabColor &sample);
    // CIEDE2000 with kL = kC = kH = 1.
    static double CalculateLabDeltaE2000(const LabColor &lab1, const LabColor &lab2);

    // ΔE94 of the final measured white against the target white point.
    // 0 and the value through deltaE; -1 (nothing written) when the measured
    // or target luminance is not positive or the target white has no usable
    // chromaticity.
    int CalculateWhitePointDeltaE(const CColorValue *measurements, CTargetValue *target,
                                  double *deltaE);

    // Grey-scale tracking: one point per final grey step whose luminance is
    // at least minimumY. 0; -1 with fewer than two steps, no white
    // luminance or no usable white chromaticity; -3 for a native tone curve
    // (no target levels). The list is cleared first in every case.
    int CalculateAllDeltaEResults(const CColorValue *measurements, CTargetValue *target,
                                  QList<delta_e_point> &points, double minimumY);

    // Maxima and means over a report; six zeros for an empty one. Returns 0.
    int CalculateAvgMaxValues(QList<delta_e_point> points, delta_e_max_avg_results &results);

    // JNDs per driving level of every interval of the final grey ramp, with
    // mean, standard deviation and least-squares line over the driving
    // level. Every output is zeroed first. 0, or -1 for a ramp of no step,
    // of more than 256 steps, or with a luminance that is not finite or out
    // of single-precision range. One step gives no interval and no figures;
    // two steps give a standard deviation and slope of 0.
    int CalculateDICOMResults(const CColorValue *measurements, double *jndPerDDL, int *count,
                              double *mean, double *stdDev, double *intercept, double *slope);

    // Measured against expected (equal JND steps between the same black and
    // white) contrast response of every interval, the deviation in percent of
    // the measured response, and the largest deviation with its position
    // (the expected JND-index midpoint of its interval, also in positions).
    // 0; -1 for a ramp refused as above, for adjacent steps
    // of equal JND index or zero summed luminance, or for a ramp whose last
    // step is not brighter than its first (intervals of zero expected size
    // are then skipped, the others written).
    int CalculateDICOMContrastResponse(const CColorValue *measurements, double *positions,
                                       double *measuredResponse, double *deviationPercent,
                                       double *expectedMidpoints, double *expectedResponse,
                                       int *count, double *maxDeviation,
                                       double *maxDeviationPosition);
};
