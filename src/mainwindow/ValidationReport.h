#pragma once
// How far a display has drifted from its target, as the validation shows
// it: the white point ΔE94, the maximum and average grey-scale ΔE94 (grey
// steps of at least 5 cd/m²), and for a DICOM target the largest DICOM
// contrast-response error. Each figure gets a mark by its severity; the
// report ends with the recalibration verdict of the worst figure.

#include <QString>

class CColorValue;
class CTargetValue;

namespace pz {

enum class ValidationFigure {
    DeltaE,         // ΔE94: good below 3, warning below 5, else bad
    DICOMPercent,   // contrast-response error in %: good below 10, warning below 20
};

// 0 good, 1 warning, 2 bad. "Below" is strictly less: a ΔE of exactly 3.00
// is a warning.
int validationSeverity(ValidationFigure figure, double value);

struct ValidationReport {
    QString text;       // the figure lines and the verdict, rich text
    int severity = 0;   // the worst severity of the figures shown
};

// The report of measurements against target. Figures that cannot be
// computed are left out and count as good. A native white point gives no
// white and grey-scale lines; only a DICOM tone curve gives the DICOM line.
ValidationReport validationReport(const CColorValue &measurements, const CTargetValue &target);

} // namespace pz
