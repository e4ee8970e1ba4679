#include "CSpline.h"

#include "RecordStream.h"

#include <QDataStream>
#include <cmath>

CSpline &CSpline::operator=(const CSpline &other)
{
    if (this == &other)
        return *this;
    InitSpline(other.m_Type, static_cast<int>(other.m_Points.size()), other.m_Min, other.m_Max);
    SetBiasAndTension(other.m_Bias, other.m_Tension);
    m_Points = other.m_Points;
    m_Valid = other.m_Valid;
    return *this;
}

void CSpline::CopyFrom(const CSpline &other)
{
    if (this == &other)
        return;
    m_Version = other.m_Version;
    m_Valid = other.m_Valid;
    m_Type = other.m_Type;
    m_Min = other.m_Min;
    m_Max = other.m_Max;
    m_Tension = other.m_Tension;
    m_Bias = other.m_Bias;
    m_Points = other.m_Points;
}

bool CSpline::operator==(const CSpline &other) const
{
    if (m_Type != other.m_Type || m_Min != other.m_Min || m_Max != other.m_Max
        || m_Points.size() != other.m_Points.size())
        return false;
    for (size_t i = 0; i < m_Points.size(); ++i) {
        if (m_Points[i].x != other.m_Points[i].x || m_Points[i].y != other.m_Points[i].y)
            return false;
    }
    return true;
}

double CSpline::Difference(const CSpline *a, const CSpline *b)
{
    double sum = 0.0;
    for (double x = 0.0; x <= 1.0; x += 0.1)
        sum += std::fabs(a->GetYValX(x) - b->GetYValX(x));
    return sum / 10.0;
}

int CSpline::InitSpline(SplineType kind, int n, double min, double max)
{
    m_Min = min;
    m_Max = max;
    m_Points.clear();
    switch (kind) {
    case SPLINE_BEZIER:
    case SPLINE_BSPLINE:
    case SPLINE_HERMITE:
        m_Type = kind;
        break;
    case SPLINE_BETA:
        m_Type = kind;
        m_Bias = 1.0;
        m_Tension = 0.0;
        break;
    default:
        m_Type = SPLINE_CATMULL_ROM;
        break;
    }
    for (int i = 0; n > 1 && i < n; ++i) {
        const double v = i * (max - min) / (n - 1);
        InsertPoint(Point2D{v, v}, i);
    }
    return 0;
}

void CSpline::SetBiasAndTension(double bias, double tension)
{
    m_Bias = bias;
    m_Tension = tension;
}

void CSpline::SplineRange(double &min, double &max)
{
    m_Min = min;
    m_Max = max;
}

int CSpline::GetNumberOfPoints() const
{
    return static_cast<int>(m_Points.size());
}

void CSpline::Reset()
{
    const int n = GetNumberOfPoints();
    if (n < 2)
        return;
    for (int i = 0; i < n; ++i) {
        const double v = i * (m_Max - m_Min) / (n - 1);
        SetY(v, v);
    }
}

void CSpline::SetSplineGamma(const double &gamma)
{
    const int n = GetNumberOfPoints();
    if (n < 2)
        return;
    for (int i = 0; i < n; ++i)
        SetY(i, std::pow(double(i) / (n - 1), gamma));
}

int CSpline::SetNumberOfPoints(int n)
{
    std::vector<Point2D> samples;
    if (n == 1) {
        // A single sample has no spacing: take the curve's start.
        samples.push_back(Point2D{0.0, GetYValX(0.0)});
    } else {
        for (int i = 0; i < n; ++i) {
            const double x = double(i) / (n - 1);
            samples.push_back(Point2D{x, GetYValX(x)});
        }
    }
    m_Points.clear();
    for (const Point2D &p : samples)
        AddPoint(p);
    return 0;
}

void CSpline::AddPoint(const Point2D &point)
{
    m_Points.push_back(point);
}

Point2D CSpline::GetPoint(int i) const
{
    return validIndex(i) ? m_Points[size_t(i)] : Point2D{0.0, 0.0};
}

void CSpline::InsertPoint(const Point2D &point, int i)
{
    const int n = GetNumberOfPoints();
    const int at = i < 0 ? 0 : (i > n ? n : i);
    m_Points.insert(m_Points.begin() + at, point);
}

double CSpline::GetX(int i) const
{
    return validIndex(i) ? m_Points[size_t(i)].x : 0.0;
}

double CSpline::GetY(int i) const
{
    return validIndex(i) ? m_Points[size_t(i)].y : 0.0;
}

double CSpline::GetYValX(const double &x) const
{
    return evaluate(x, false);
}

double CSpline::GetXValY(const double &y) const
{
    return evaluate(y, true);
}

void CSpline::SetY(const double &x, const double &y)
{
    for (Point2D &p : m_Points) {
        if (p.x == x) {
            p = Point2D{x, y};
            return;
        }
    }
}

void CSpline::SetY(int i, const double &y)
{
    if (validIndex(i))
        m_Points[size_t(i)].y = y;
}

void CSpline::SetXY(int i, const double &x, const double &y)
{
    if (validIndex(i))
        m_Points[size_t(i)] = Point2D{x, y};
}

void CSpline::ClampPoint(Point2D &point)
{
    if (point.y < m_Min)
        point.y = m_Min;
    else if (point.y > m_Max)
        point.y = m_Max;
    if (point.x < m_Min)
        point.x = m_Min;
    else if (point.x > m_Max)
        point.x = m_Max;
}

double CSpline::evaluate(double at, bool inverse) const
{
    const int n = GetNumberOfPoints();
    auto key = [&](int i) { return inverse ? GetY(i) : GetX(i); };
    auto value = [&](int i) { return inverse ? GetX(i) : GetY(i); };

    if (n == 0)
        return 0.0;
    if (at <= key(0))
        return value(0);
    if (at >= key(n - 1) || at == 1.0)
        return value(n - 1);
    if (n == 1) // only a NaN argument gets here
        return value(0);

    int f = n - 2;
    for (int i = 1; i < n; ++i) {
        if (key(i) > at) {
            f = i - 1;
            break;
        }
    }
    const double p1 = value(f);
    const double p2 = value(f + 1);
    // The ends are extended by reflection, so a two-point Catmull-Rom curve
    // is exactly linear.
    const double p0 = f == 0 ? p1 - (p2 - p1) : value(f - 1);
    const double p3 = f + 1 == n - 1 ? p2 + (p2 - p1) : value(f + 2);
    const double t = (at - key(f)) / (key(f + 1) - key(f));

    const double result = segmentValue(p0, p1, p2, p3, t);
    if (result < m_Min)
        return m_Min;
    if (result > m_Max)
        return m_Max;
    return result;
}

double CSpline::segmentValue(double p0, double p1, double p2, double p3, double t) const
{
    const double t2 = t * t;
    const double t3 = t2 * t;
    switch (m_Type) {
    case SPLINE_CATMULL_ROM:
        return p0 * (-0.5 * t3 + t2 - 0.5 * t) + p1 * (1.5 * t3 - 2.5 * t2 + 1.0)
               + p2 * (-1.5 * t3 + 2.0 * t2 + 0.5 * t) + p3 * (0.5 * t3 - 0.5 * t2);
    case SPLINE_BSPLINE:
        return p0 * (-0.1666 * t3 + 0.5 * t2 - 0.5 * t + 0.1666)
               + p1 * (0.5 * t3 - t2 + 0.6666) + p2 * (-0.5 * t3 + 0.5 * t2 + 0.5 * t + 0.1666)
               + p3 * (0.1666 * t3);
    case SPLINE_BEZIER: {
        const double s = 1.0 - t;
        return p0 * s * s * s + p1 * 3.0 * t * s * s + p2 * 3.0 * t2 * s + p3 * t3;
    }
    case SPLINE_BETA: {
        const double b1 = m_Bias;
        const double b2 = m_Tension;
        const double b1_2 = b1 * b1;
        const double b1_3 = b1_2 * b1;
        const double delta = 2.0 * b1_3 + 4.0 * b1_2 + 4.0 * b1 + b2 + 2.0;
        const double s = 1.0 - t;
        return p0 * 2.0 * b1_3 * s * s * s / delta
               + p1
                     * (2.0 * (b1_3 + b1_2 + b1 + b2) * t3 - 3.0 * (2.0 * b1_3 + 2.0 * b1_2 + b2) * t2
                        + 6.0 * (b1_3 - b1) * t + (4.0 * b1_2 + 4.0 * b1 + b2))
                     / delta
               + p2
                     * (-2.0 * (b1_2 + b1 + b2 + 1.0) * t3 + 3.0 * (2.0 * b1_2 + b2) * t2
                        + 6.0 * b1 * t + 2.0)
                     / delta
               + p3 * 2.0 * t3 / delta;
    }
    case SPLINE_HERMITE: {
        // Hermite segment from p1 to p2 with centred-difference tangents
        // (the Catmull-Rom tangents written in the Hermite basis).
        const double h00 = 2.0 * t3 - 3.0 * t2 + 1.0;
        const double h01 = -2.0 * t3 + 3.0 * t2;
        const double h10 = t3 - 2.0 * t2 + t;
        const double h11 = t3 - t2;
        const double m1 = (p2 - p0) * 0.5;
        const double m2 = (p3 - p1) * 0.5;
        return h00 * p1 + h10 * m1 + h01 * p2 + h11 * m2;
    }
    default:
        return 0.0;
    }
}

QDataStream &operator<<(QDataStream &stream, const CSpline &curve)
{
    pz::writeRecordHeader(stream, CSpline::kMagic, curve.m_Version);
    stream << qint32(curve.m_Type) << curve.m_Min << curve.m_Max << curve.m_Tension << curve.m_Bias
           << curve.m_Valid << qint32(curve.m_Points.size());
    for (const Point2D &p : curve.m_Points)
        stream << p.x << p.y;
    return stream;
}

QDataStream &operator>>(QDataStream &stream, CSpline &curve)
{
    if (pz::readRecordHeader(stream, CSpline::kMagic, curve.m_Version, curve.m_Version)
        != pz::HeaderCheck::Ok)
        return stream;
    qint32 kind = 0;
    double min = 0.0, max = 0.0, tension = 0.0, bias = 0.0;
    bool valid = false;
    qint32 count = 0;
    stream >> kind >> min >> max >> tension >> bias >> valid >> count;
    if (!pz::acceptCount(stream, count, CSpline::kMaxStoredPoints))
        return stream;
    std::vector<Point2D> points;
    for (qint32 i = 0; i < count && stream.status() == QDataStream::Ok; ++i) {
        Point2D p{0.0, 0.0};
        stream >> p.x >> p.y;
        points.push_back(p);
    }
    if (stream.status() != QDataStream::Ok)
        return stream;
    curve.m_Type = static_cast<SplineType>(kind);
    curve.m_Min = min;
    curve.m_Max = max;
    curve.m_Tension = tension;
    curve.m_Bias = bias;
    curve.m_Valid = valid;
    curve.m_Points = std::move(points);
    return stream;
}
