#pragma once
// What the Curves, Color Tracking and DICOM Conformance tabs show of one
// calibration, worked out without widgets: the panel hands the results to
// its graphs and labels.

#include "CSpline.h"

#include <QColor>
#include <QPen>
#include <QString>
#include <QVector>

class CColorValue;
class CTargetValue;

// --- Curves

struct CurveOptions {
    bool target = false;
    bool calibrated = false;
    bool uncalibrated = false;
    bool correction = false;
    // The checked curve colour: 0 all, 1 red, 2 green, 3 blue; any other
    // value (none checked) chooses no channel.
    int channel = 0;
};

struct CurveList {
    QVector<CSpline> splines;
    QVector<QPen> pens;      // pen i draws spline i
    bool gradientSet = false; // false: the graph keeps its gradient
    QColor gradientLow;
    QColor gradientHigh;
};

// Target, then Calibrated, Uncalibrated and Correction, each red, green,
// blue as the channel allows; invalid curves are listed too (the graph
// skips them). The target curve needs a tone curve other than native.
CurveList buildCurveList(const CTargetValue &target, const CColorValue &measurements,
                         const CurveOptions &options);

// --- Colour tracking

struct TrackingView {
    QString averageText;
    QString maximumText;
    bool hasAverage = false; // SetAverage is called only with a report
    double average = 0.0;
    bool showAverage = false;
    // ΔE94 and luminance (cd/m²) of each step, at most the graph's 257.
    QVector<double> deltaE;
    QVector<double> luminance;
};

// Grey steps below 5 cd/m² count only with includeDark (then the limit is 0).
TrackingView buildTracking(const CTargetValue &target, const CColorValue &measurements,
                           bool includeDark, bool showAverage);

// --- DICOM conformance

struct DicomView {
    // JND per driving level; count 0 hands the graph no data.
    QVector<double> jndPerDdl;
    int jndCount = 0;
    double average = 0.0;
    double stdDev = 0.0;
    double intercept = 0.0;
    double slope = 0.0;
    QString averageText;
    QString stdDevText;

    // Contrast response; count 0 when it is not available.
    QVector<double> midpoints;
    QVector<double> measured;
    QVector<double> deviation;
    QVector<double> refMidpoints;
    QVector<double> reference;
    int contrastCount = 0;
    QString maxErrorText;
    bool errorIcon = false;
    QString jndIndexText; // empty when not available
};

// Only a DICOM tone curve is judged; other targets read "N/A".
// percentFormat is "%1%" as the window translates it.
// The largest deviation through format ("%1%") with two decimals; icon is
// set above 10 %.
QString maxDeviationText(double percent, const QString &format, bool &icon);

DicomView buildDicom(const CTargetValue &target, const CColorValue &measurements,
                     const QString &percentFormat, const QString &jndIndexFormat);
