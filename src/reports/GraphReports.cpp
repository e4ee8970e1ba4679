#include "GraphReports.h"

#include "CColorCalcUtils.h"
#include "CColorValue.h"
#include "CTargetValue.h"
#include "StringResources.h"
#include "ToneCurves.h"

#include <cmath>

namespace {

const unsigned kNotAvailable = 500;

// The graph keeps at most this many steps (PZ_tracking_graph::kMaxSteps).
const int kMaxTrackingSteps = 257;
// Below this luminance (cd/m²) a grey step is "dark".
const double kDarkLimit = 5.0;
// Deviations above this many percent get the error sign.
const double kDeviationLimit = 10.0;

enum Channel { kAll = 0, kRed = 1, kGreen = 2, kBlue = 3 };

QPen curvePen(const QColor &colour, double width)
{
    return QPen(QBrush(colour), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

const QColor kChannelColours[3] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255)};

QString notAvailable()
{
    return GetStringResource(kNotAvailable);
}

// Fixed notation, or "N/A" for a value that is not finite.
QString figure(double value, int decimals)
{
    return std::isfinite(value) ? QString::number(value, 'f', decimals) : notAvailable();
}

} // namespace

CurveList buildCurveList(const CTargetValue &target, const CColorValue &measurements,
                         const CurveOptions &options)
{
    CurveList list;
    bool channels[3] = {false, false, false};
    if (options.channel >= kAll && options.channel <= kBlue) {
        list.gradientSet = true;
        list.gradientLow = QColor(0, 0, 0);
        list.gradientHigh = options.channel == kAll ? QColor(255, 255, 255)
                                                    : kChannelColours[options.channel - 1];
        for (int c = 0; c < 3; ++c)
            channels[c] = options.channel == kAll || options.channel == c + 1;
    }

    if (options.target && target.m_GammaCurveType != CTargetValue::kCurveNative) {
        CSpline curve;
        CTargetValue working = target;
        CreateTargetSpline(&measurements, &working, &curve);
        list.splines.append(curve);
        list.pens.append(curvePen(QColor(255, 255, 255), 2.0));
    }

    const struct {
        bool shown;
        int firstSlot;
    } types[] = {{options.calibrated, CColorValue::kCorrectedRed},
                 {options.uncalibrated, CColorValue::kUncorrectedRed},
                 {options.correction, CColorValue::kCorrectionRed}};
    for (const auto &type : types) {
        if (!type.shown)
            continue;
        for (int c = 0; c < 3; ++c) {
            if (!channels[c])
                continue;
            list.splines.append(measurements.m_Splines[type.firstSlot + c]);
            list.pens.append(curvePen(kChannelColours[c], 1.0));
        }
    }
    return list;
}

TrackingView buildTracking(const CTargetValue &target, const CColorValue &measurements,
                           bool includeDark, bool showAverage)
{
    TrackingView view;
    CColorCalcUtils calc;
    CTargetValue working = target;
    QList<delta_e_point> points;
    calc.CalculateAllDeltaEResults(&measurements, &working, points, includeDark ? 0.0 : kDarkLimit);
    delta_e_max_avg_results results{};
    calc.CalculateAvgMaxValues(points, results);

    if (points.isEmpty()) {
        view.averageText = notAvailable();
        view.maximumText = notAvailable();
        view.showAverage = false;
    } else {
        view.averageText = figure(results.avgDeltaE94, 2);
        view.maximumText = figure(results.maxDeltaE94, 2);
        view.hasAverage = true;
        view.average = results.avgDeltaE94;
        view.showAverage = showAverage;
    }
    const int count = qMin(int(points.size()), kMaxTrackingSteps);
    for (int i = 0; i < count; ++i) {
        view.deltaE.append(points[i].deltaE94);
        view.luminance.append(points[i].Y);
    }
    return view;
}

QString maxDeviationText(double percent, const QString &format, bool &icon)
{
    icon = percent > kDeviationLimit;
    return format.arg(percent, 0, 'f', 2);
}

DicomView buildDicom(const CTargetValue &target, const CColorValue &measurements,
                     const QString &percentFormat, const QString &jndIndexFormat)
{
    DicomView view;
    const int room = CColorCalcUtils::kMaxDICOMIntervals + 1;
    view.jndPerDdl.fill(0.0, room);
    for (QVector<double> *v : {&view.midpoints, &view.measured, &view.deviation,
                               &view.refMidpoints, &view.reference})
        v->fill(0.0, room);

    bool jndAvailable = false;
    bool contrastAvailable = false;
    double maxDeviation = 0.0;
    double maxJndIndex = 0.0;
    if (target.m_GammaCurveType == CTargetValue::kCurveDICOM) {
        CColorCalcUtils calc;
        int count = 0;
        jndAvailable = calc.CalculateDICOMResults(&measurements, view.jndPerDdl.data(), &count,
                                                  &view.average, &view.stdDev, &view.intercept,
                                                  &view.slope) == 0;
        view.jndCount = jndAvailable ? count : 0;
        int contrastCount = 0;
        contrastAvailable = calc.CalculateDICOMContrastResponse(
                                &measurements, view.midpoints.data(), view.measured.data(),
                                view.deviation.data(), view.refMidpoints.data(),
                                view.reference.data(), &contrastCount, &maxDeviation,
                                &maxJndIndex) == 0;
        // One grey step gives no interval: nothing to show.
        contrastAvailable = contrastAvailable && contrastCount > 0;
        view.contrastCount = contrastAvailable ? contrastCount : 0;
    }

    if (jndAvailable && view.jndCount > 0) {
        view.averageText = figure(view.average, 3);
        view.stdDevText = figure(view.stdDev, 3);
    } else {
        view.jndCount = 0;
        view.average = view.stdDev = view.intercept = view.slope = 0.0;
        view.averageText = notAvailable();
        view.stdDevText = notAvailable();
    }

    if (contrastAvailable && std::isfinite(maxDeviation)) {
        view.maxErrorText = maxDeviationText(maxDeviation, percentFormat, view.errorIcon);
        if (std::isfinite(maxJndIndex))
            view.jndIndexText = jndIndexFormat.arg(maxJndIndex, 0, 'f', 1);
    } else {
        view.maxErrorText = notAvailable();
    }
    return view;
}
