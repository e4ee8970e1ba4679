#pragma once
// The DICOM conformance graph, in one of two modes:
// - JND per DDL: for each interval between measured grey steps, how many
//   just-noticeable differences of the DICOM grayscale standard display
//   function one digital driving level spans, with the average and a
//   least-squares line;
// - contrast response: the measured dL/L per JND against the JND index on a
//   logarithmic axis, beside the standard's reference curve and the +-10 %
//   and +-20 % bands around it.
// The report windows compute the numbers; the graph only draws them.
//
// Calling order: the two data setters only store (the contrast setter also
// works out its axes); SetGraphTypeJND_PER_DDL applies the axes of the chosen
// mode and redraws. The two setters are virtual and follow Plotter's own
// virtual operations in this order; the windows call them through the
// virtual table.

#include "Plotter.h"

class PZ_dicom_graph : public Plotter {
    Q_OBJECT

public:
    // Most entries of each array: one per interval between at most 256 grey
    // steps, and one to spare. Larger counts keep their first entries.
    static constexpr int kMaxEntries = 257;

    explicit PZ_dicom_graph(QWidget *parent = nullptr);
    ~PZ_dicom_graph() override;

    // JND per DDL of count intervals with their statistics; no redraw.
    virtual void SetDICOMGraphData(double *values, long count, double average, double deviation,
                                   double intercept, double slope);
    // Reference and measured contrast responses at their JND indices, and
    // each interval's deviation from the reference in percent. Sets the X
    // end and the decades of the contrast mode; no redraw.
    virtual void SetDICOMContrastGraphData(double *refJndIndex, double *refResponse,
                                           double *measJndIndex, double *measResponse,
                                           double *deviation, long count);

    bool IsJndPerDdlMode() const { return jndPerDdlMode; }
    int GetJndCount() const { return jndCount; }
    int GetContrastCount() const { return contrastCount; }
    int GetContrastXMax() const { return contrastXMax; }
    int GetLowestDecade() const { return lowestDecade; }
    int GetDecadeCount() const { return decadeCount; }

public slots:
    void SetShow_Average_JND_PER_DDL(bool show);
    void SetShow_Linear_Fit_JND_PER_DDL(bool show);
    void SetShow_10Percent_Limits(bool show);
    void SetShow_20Percent_Limits(bool show);
    void SetShow_Barten_model(bool show);
    // true: JND per DDL on a linear axis; false: the contrast response on
    // the logarithmic one. Sets the captions and the mode's single zoom
    // level, and redraws.
    void SetGraphTypeJND_PER_DDL(bool jndMode);

protected:
    void drawCurves(QPainter *painter) override;

private:
    void drawJndPerDdl(QPainter *painter, const QRect &area);
    void drawContrastResponse(QPainter *painter, const QRect &area);
    // The polyline through the reference points with their response scaled.
    void drawReferenceLine(QPainter *painter, const QRect &area, double scale);
    // The mapped point, or a point that is not drawable when the value
    // cannot lie on the axis (not finite, or not positive on a log axis).
    QPointF mapValue(double x, double y, const QRect &area);

    double jndPerDdl[kMaxEntries] = {};
    int jndCount = 0;
    int contrastCount = 0;
    double jndAverage = 0.0;
    double jndDeviation = 0.0;
    double jndFitIntercept = 0.0;
    double jndFitSlope = 0.0;
    int contrastXMax = 0;
    double referenceResponse[kMaxEntries] = {};
    double referenceJndIndex[kMaxEntries] = {};
    double measuredResponse[kMaxEntries] = {};
    double measuredJndIndex[kMaxEntries] = {};
    double responseDeviation[kMaxEntries] = {};
    bool showAverage = false;
    bool showLinearFit = false;
    bool showBartenModel = false;
    bool show10PercentLimits = false;
    bool show20PercentLimits = false;
    bool jndPerDdlMode = false;
    int decadeCount = 0;
    int lowestDecade = 0;
    int jndYMax = 4;
};
