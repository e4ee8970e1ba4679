#pragma once

// One control point of a curve.
struct Point2D {
    double x;
    double y;
};
