#pragma once
// Where hue and saturation lie on the colour picker circle. Shared by the
// picker widget and the image generator that draws its circle picture, so
// that the picture and the picker agree: hue 0 straight below the centre,
// 0.25 to the right, 0.5 at the top, 0.75 to the left; saturation 0 at the
// centre and 1 on the rim.
//
// The two constants are the rounded ones the picker has always used; a hue
// computed here therefore lies within a hair of 0..1.

#include <algorithm>
#include <cmath>

namespace pz::colorcircle {

constexpr double kHalfTurn = 3.1415927;
constexpr double kTurn = 6.2831854;
// Margin around the active circle, room for half the ball.
constexpr int kMargin = 9;

// Diameter of the active circle for a widget (or picture) of w x h pixels.
inline int diameter(int w, int h)
{
    return std::min(w - 1, h - 1) - 2 * kMargin;
}

// Centre of the active circle, in both x and y.
inline int centre(int d)
{
    return d / 2 + kMargin;
}

// atan2(y, x), 0 at the origin.
inline double angleFromPoint(double x, double y)
{
    if (x == 0.0 && y == 0.0)
        return 0.0;
    return std::atan2(y, x);
}

// Whether an offset (dx, dy) from the centre lies inside a circle of
// diameter d; integer arithmetic, as the press test has it.
inline bool inside(int dx, int dy, int d)
{
    return dx * dx + dy * dy <= (d * d) / 4;
}

// Hue and saturation of an offset (dx, dy) from the centre, r the radius.
inline void hueSaturation(double dx, double dy, double r, double &hue, double &saturation)
{
    const double X = dx / -r;
    const double Y = dy / -r;
    saturation = std::min(1.0, std::sqrt(X * X + Y * Y));
    hue = (angleFromPoint(Y, X) + kHalfTurn) / kTurn;
}

// Offset from the centre at which a hue and saturation lie, R the radius.
inline void offsetOf(double hue, double saturation, double R, double &ox, double &oy)
{
    ox = R * saturation * std::sin(kTurn * hue);
    oy = R * saturation * std::cos(kTurn * hue);
}

} // namespace pz::colorcircle
