#pragma once
// The colour-tracking graph: how far each measured grey step lies from its
// target colour. One horizontal bar per step at the step's luminance (Y, in
// the user's luminance unit), from ΔE 0 to the step's ΔE (X), coloured along
// its length by a fixed green-to-red ΔE scale; optionally a one-pixel line
// at the average ΔE in the scale's colour there.
//
// SetAverage and SetShowAverage only store; SetColorTrackingGraphData stores
// the steps, sets the axes from them and redraws.

#include "Plotter.h"

class PZ_tracking_graph : public Plotter {
    Q_OBJECT

public:
    // Most steps kept: one per grey step of at most 256, and one to spare.
    // Larger counts keep their first entries.
    static constexpr unsigned int kMaxSteps = 257;

    explicit PZ_tracking_graph(QWidget *parent = nullptr);
    ~PZ_tracking_graph() override;

    unsigned int GetPointCount() const { return pointCount; }
    // The top of the luminance axis, as the data set it.
    double GetLuminanceAxisTop() const;

public slots:
    void SetAverage(double averageDeltaE);
    void SetShowAverage(bool show);
    // count ΔE values and luminances in cd/m² (stored in the user's unit).
    // The luminance axis reaches the next hundred above the last step's
    // luminance (not the largest one); 100 without data. Replaces the zoom
    // levels and redraws.
    void SetColorTrackingGraphData(double *deltaE, double *luminance, unsigned int count);

protected:
    void drawCurves(QPainter *painter) override;

private:
    double deltaEValues[kMaxSteps] = {};
    double luminanceValues[kMaxSteps] = {};
    double averageDeltaE = 0.0;
    unsigned int pointCount = 0;
    bool showAverage = false;
};
