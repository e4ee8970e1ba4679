#pragma once
// The program's one curve type: an ordered list of control points on a
// common range, evaluated between the points as a piecewise cubic through
// four neighbouring points. Tone curves, measured responses, correction
// curves, gamma ramps and monitor tables are all CSpline objects; the
// program builds them as 256-point Catmull-Rom curves.
//
// The curve operations are virtual and call one another through their
// virtual slots, so a derived curve that overrides an accessor changes them all.

#include "Point2D.h"

#include <QtGlobal>
#include <vector>

class QDataStream;

enum SplineType : qint32 {
    SPLINE_BEZIER = 0,
    SPLINE_BSPLINE = 1,
    SPLINE_BETA = 2,
    SPLINE_HERMITE = 3,
    SPLINE_CATMULL_ROM = 4,
    SPLINE_NONE = 5, // a fresh curve: evaluates to 0 between its points
};

class CSpline {
public:
    static constexpr qint32 kMagic = 0xFADE;
    static constexpr qint32 kVersion = 101;
    // A stored curve with more points than this is refused as corrupt.
    static constexpr qint32 kMaxStoredPoints = 65536;

    CSpline() = default;
    CSpline(const CSpline &) = default;
    // Re-initialises through InitSpline, so the copy's kind is mapped as
    // InitSpline maps it (a kind-5 source yields kind 4).
    CSpline &operator=(const CSpline &other);
    // Copies every field unchanged, as copy construction does: for records
    // that must keep their curves exactly, kind included.
    void CopyFrom(const CSpline &other);
    virtual ~CSpline() = default;

    // Same kind, exact range and exactly equal points; bias, tension, valid
    // flag and version are not compared.
    bool operator==(const CSpline &other) const;
    bool operator!=(const CSpline &other) const { return !(*this == other); }

    // Mean absolute difference of the two curves at x = 0, 0.1, ..., 1.0
    // (eleven positions, divided by 10).
    static double Difference(const CSpline *a, const CSpline *b);

    // Kinds 0-3 are kept, every other kind becomes 4; kind 2 sets bias 1 and
    // tension 0. For n > 1 places n points on the identity at
    // i·(max − min)/(n − 1), so they run from 0 to max − min. Returns 0.
    virtual int InitSpline(SplineType kind, int n, double min, double max);
    virtual void SetBiasAndTension(double bias, double tension);
    virtual void SplineRange(double &min, double &max);
    virtual int GetNumberOfPoints() const;
    // Puts every point that lies on the even grid back on the identity.
    virtual void Reset();
    // y_i = (i/(n − 1))^gamma; x stays.
    virtual void SetSplineGamma(const double &gamma);
    // Resamples the current curve at x = i/(n − 1); one point is (0, y(0)),
    // n <= 0 leaves no points. Returns 0.
    virtual int SetNumberOfPoints(int n);
    virtual void AddPoint(const Point2D &point);
    // (0, 0) for an index outside the curve.
    virtual Point2D GetPoint(int i) const;
    // Inserts before index i; an index past the end appends.
    virtual void InsertPoint(const Point2D &point, int i);
    // 0 for an index outside the curve.
    virtual double GetX(int i) const;
    virtual double GetY(int i) const;
    // The curve's y at x, clamped into the range.
    virtual double GetYValX(const double &x) const;
    // The inverse: the curve's x at y, for a monotonic curve.
    virtual double GetXValY(const double &y) const;
    // Sets the first point whose x equals x exactly; nothing when none does.
    virtual void SetY(const double &x, const double &y);
    // Index forms ignore an index outside the curve.
    virtual void SetY(int i, const double &y);
    virtual void SetXY(int i, const double &x, const double &y);
    // Clamps y, then x, into the range.
    virtual void ClampPoint(Point2D &point);

    SplineType GetSplineType() const { return m_Type; }
    double GetRangeMin() const { return m_Min; }
    double GetRangeMax() const { return m_Max; }
    double GetBias() const { return m_Bias; }
    double GetTension() const { return m_Tension; }
    qint32 GetVersion() const { return m_Version; }
    // Set by the builders of a curve; a curve that is not valid has no usable points.
    bool IsValid() const { return m_Valid; }
    void SetValid(bool valid) { m_Valid = valid; }

private:
    friend QDataStream &operator<<(QDataStream &stream, const CSpline &curve);
    friend QDataStream &operator>>(QDataStream &stream, CSpline &curve);

    // GetYValX (forward) or GetXValY (inverse): search on one axis,
    // interpolate the other.
    double evaluate(double at, bool inverse) const;
    double segmentValue(double p0, double p1, double p2, double p3, double t) const;
    bool validIndex(int i) const { return i >= 0 && i < static_cast<int>(m_Points.size()); }

    qint32 m_Version = kVersion;
    bool m_Valid = false;
    SplineType m_Type = SPLINE_NONE;
    double m_Min = 0.0;
    double m_Max = 1.0;
    double m_Tension = 1.0;
    double m_Bias = 0.0;
    std::vector<Point2D> m_Points;
};

// Record: magic 0xFADE, version 101, kind, range, tension, bias, valid flag,
// point count and the points. The reader refuses a wrong magic or version, a
// negative count or one above kMaxStoredPoints with ReadCorruptData; the
// curve changes only when the whole record was read.
QDataStream &operator<<(QDataStream &stream, const CSpline &curve);
QDataStream &operator>>(QDataStream &stream, CSpline &curve);
