#pragma once
// One zoom level of a graph: the shown X and Y ranges with their tick
// counts, and the limits that bound panning (the home range). A plain value
// record, copied freely; Plotter keeps a stack of them.
//
// In a graph with a logarithmic Y axis, minY/maxY and yMin/yMax are decade
// exponents.

class PlotSettings {
public:
    // Rounds min and max outwards to a "nice" step (1, 2 or 5 times a power
    // of ten, about a quarter of the span) and sets numTicks to the number of
    // steps between them, at least 4.
    static void adjustAxis(double &min, double &max, int &numTicks);

    // adjustAxis on the X range, then on the Y range.
    void adjust();

    // Shifts the shown range by dx X ticks and dy Y ticks. Each axis moves
    // only when its new range stays within the limits give or take half a
    // step, so a level whose range equals its limits cannot be panned.
    void scroll(int dx, int dy);

    // Whether the level can be drawn: at least one tick interval per axis,
    // distinct finite ends on each axis, finite limits. Data-driven ranges
    // can break this; such a level shows an empty plot rather than dividing
    // by zero.
    bool isDrawable() const;

    double minX = 0.0;
    double maxX = 1.0;
    int numXTicks = 5;
    double minY = 0.0;
    double maxY = 1.0;
    double xMin = 0.0;
    double xMax = 1.0;
    double yMin = 0.0;
    double yMax = 1.0;
    int numYTicks = 5;
};
