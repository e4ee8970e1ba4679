#include "ValidationReport.h"

#include "CColorCalcUtils.h"
#include "CColorValue.h"
#include "CTargetValue.h"
#include "ResultMarks.h"
#include "StringResources.h"

#include <QList>

#include <algorithm>
#include <vector>

namespace pz {

namespace {

enum : unsigned {
    kWhitePointLine = 162,
    kAverageGreyLine = 163,
    kMaximumGreyLine = 164,
    kNotNecessary = 165,
    kMayBeNecessary = 166,
    kHighlyRecommended = 167,
    kToleranceNote = 169,
    kDICOMLine = 170,
};

// Grey steps darker than this say little about colour tracking.
const double kMinimumGreyLuminance = 5.0;

struct Thresholds {
    double warning;
    double bad;
};

Thresholds thresholdsOf(ValidationFigure figure)
{
    return figure == ValidationFigure::DeltaE ? Thresholds{3.0, 5.0} : Thresholds{10.0, 20.0};
}

ResultMark markOf(int severity)
{
    return severity == 0 ? ResultMark::Done : severity == 1 ? ResultMark::Warning : ResultMark::Bad;
}

// One figure line: its mark and the string resource with the value in two
// decimals; raises the report's severity.
void addFigure(ValidationReport &report, ValidationFigure figure, double value, unsigned id)
{
    const int severity = validationSeverity(figure, value);
    report.severity = std::max(report.severity, severity);
    report.text += resultMark(markOf(severity))
                   + GetStringResource(id).arg(QString::number(value, 'f', 2));
}

} // namespace

int validationSeverity(ValidationFigure figure, double value)
{
    const Thresholds t = thresholdsOf(figure);
    if (value < t.warning)
        return 0;
    return value < t.bad ? 1 : 2;
}

ValidationReport validationReport(const CColorValue &measurements, const CTargetValue &target)
{
    ValidationReport report;
    CTargetValue aim = target;   // the calculator takes the target by pointer
    CColorCalcUtils calc;

    if (!aim.m_WhitePoint.m_Native) {
        double whiteDeltaE = 0.0;
        if (calc.CalculateWhitePointDeltaE(&measurements, &aim, &whiteDeltaE) == 0)
            addFigure(report, ValidationFigure::DeltaE, whiteDeltaE, kWhitePointLine);

        QList<delta_e_point> points;
        calc.CalculateAllDeltaEResults(&measurements, &aim, points, kMinimumGreyLuminance);
        if (!points.isEmpty()) {
            delta_e_max_avg_results grey{};
            calc.CalculateAvgMaxValues(points, grey);
            addFigure(report, ValidationFigure::DeltaE, grey.maxDeltaE94, kMaximumGreyLine);
            addFigure(report, ValidationFigure::DeltaE, grey.avgDeltaE94, kAverageGreyLine);
        }
    }

    if (aim.m_GammaCurveType == CTargetValue::kCurveDICOM) {
        const int n = CColorCalcUtils::kMaxDICOMIntervals;
        std::vector<double> positions(n), measured(n), deviation(n), midpoints(n), expected(n);
        int count = 0;
        double worst = 0.0;
        double worstAt = 0.0;
        if (calc.CalculateDICOMContrastResponse(&measurements, positions.data(), measured.data(),
                                                deviation.data(), midpoints.data(),
                                                expected.data(), &count, &worst, &worstAt)
            == 0) {
            const int severity = validationSeverity(ValidationFigure::DICOMPercent, worst);
            report.severity = std::max(report.severity, severity);
            report.text += resultMark(markOf(severity))
                           + GetStringResource(kDICOMLine)
                                 .arg(worst, 0, 'f', 2)
                                 .arg(worstAt, 0, 'f', 1);
        }
    }

    switch (report.severity) {
    case 0:
        report.text += GetStringResource(kNotNecessary);
        break;
    case 1:
        report.text += GetStringResource(kMayBeNecessary) + GetStringResource(kToleranceNote);
        break;
    default:
        report.text += GetStringResource(kHighlyRecommended) + GetStringResource(kToleranceNote);
        break;
    }
    return report;
}

} // namespace pz
