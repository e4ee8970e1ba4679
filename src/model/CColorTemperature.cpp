#include "CColorTemperature.h"

#include "RecordStream.h"

#include <QCoreApplication>
#include <QDataStream>
#include <cmath>

const DaylightIlluminant gDaylightIlluminant_tbl[kDaylightIlluminantCount] = {
    {0.3457, 0.3585, "D50"},
    {0.3324, 0.3474, "D55"},
    {0.3127, 0.3290, "D65"},
    {0.2990, 0.3149, "D75"},
};

namespace {

// Isotemperature lines at 10·row mired: the Planckian locus point (u, v) in
// CIE 1960 UCS and the slope t = du/dv of the line through it.
struct IsotemperatureLine {
    double u;
    double v;
    double t;
};

constexpr int kLastRow = 64;

const IsotemperatureLine blackbody[kLastRow + 1] = {
    {0.180046, 0.263577, -4.09562},  {0.180638, 0.265948, -3.9133},
    {0.181309, 0.268506, -3.71055},  {0.182067, 0.271236, -3.49513},
    {0.182919, 0.274118, -3.2742},   {0.183872, 0.277131, -3.05386},
    {0.184932, 0.280251, -2.8389},   {0.186103, 0.283452, -2.63279},
    {0.187389, 0.286709, -2.43778},  {0.188792, 0.289997, -2.25517},
    {0.190312, 0.293293, -2.08544},  {0.191949, 0.296575, -1.92856},
    {0.193701, 0.299825, -1.78409},  {0.195566, 0.303025, -1.65136},
    {0.19754, 0.306162, -1.52956},   {0.199619, 0.309223, -1.41784},
    {0.201799, 0.312199, -1.31534},  {0.204074, 0.315083, -1.22121},
    {0.20644, 0.317868, -1.13468},   {0.208891, 0.32055, -1.05503},
    {0.211423, 0.323126, -0.981592}, {0.21403, 0.325595, -0.913771},
    {0.216706, 0.327956, -0.851035}, {0.219449, 0.330208, -0.792904},
    {0.222251, 0.332354, -0.738952}, {0.22511, 0.334393, -0.688801},
    {0.22802, 0.336329, -0.642113},  {0.230978, 0.338163, -0.598586},
    {0.233979, 0.339897, -0.557953}, {0.23702, 0.341536, -0.519975},
    {0.240097, 0.34308, -0.484439},  {0.243206, 0.344534, -0.451151},
    {0.246345, 0.345901, -0.419941}, {0.249511, 0.347183, -0.390652},
    {0.252699, 0.348384, -0.363145}, {0.255909, 0.349508, -0.337292},
    {0.259136, 0.350557, -0.312978}, {0.262379, 0.351534, -0.290097},
    {0.265635, 0.352443, -0.268554}, {0.268902, 0.353287, -0.248261},
    {0.272179, 0.354069, -0.229137}, {0.275462, 0.354791, -0.211108},
    {0.27875, 0.355457, -0.194104},  {0.282042, 0.35607, -0.178063},
    {0.285335, 0.356631, -0.162926}, {0.288629, 0.357144, -0.148638},
    {0.291922, 0.357611, -0.135149}, {0.295211, 0.358034, -0.122412},
    {0.298497, 0.358417, -0.110382}, {0.301778, 0.35876, -0.099019},
    {0.305053, 0.359066, -0.088284}, {0.30832, 0.359338, -0.078141},
    {0.311579, 0.359577, -0.068557}, {0.314829, 0.359785, -0.059499},
    {0.318068, 0.359964, -0.050939}, {0.321297, 0.360115, -0.042848},
    {0.324514, 0.36024, -0.0352},    {0.327718, 0.360342, -0.02797},
    {0.330909, 0.36042, -0.021135},  {0.334087, 0.360477, -0.014673},
    {0.33725, 0.360513, -0.008564},  {0.340397, 0.360531, -0.002787},
    {0.34353, 0.360531, 0.002674},   {0.346646, 0.360515, 0.007839},
    {0.349746, 0.360483, 0.012722},
};

const IsotemperatureLine &line(int row)
{
    return blackbody[row < 0 ? 0 : (row > kLastRow ? kLastRow : row)];
}

constexpr double kMaxKelvin = 65535.0;

// Record results of the nested white point record.
constexpr int kWrongMagic = -1502;
constexpr int kWrongVersion = -1501;

// CIE 1960 UCS coordinates of a chromaticity.
void toUV(const _CIExy &xy, double &u, double &v)
{
    const double denominator = 6.0 * xy.y - xy.x + 1.5;
    u = 2.0 * xy.x / denominator;
    v = 3.0 * xy.y / denominator;
}

// Kelvin as a whole number when it fits the 16-bit field.
bool kelvinFromMired(double mired, unsigned short &kelvin)
{
    if (!(mired > 0.0))
        return false;
    const double k = std::trunc(1000000.0 / mired);
    if (!(k <= kMaxKelvin))
        return false;
    kelvin = static_cast<unsigned short>(k);
    return true;
}

// Rounding to thousandths as the integer part of v·1000 + 0.5, kept in
// double so that no value can overflow an integer conversion.
double thousandths(double v)
{
    return std::trunc(v * 1000.0 + 0.5);
}

} // namespace

CColorTemperature::CColorTemperature(unsigned short kelvin)
    : m_Kelvin(kelvin), m_KelvinForm(true), m_Native(kelvin == 0)
{
    CalcCIExy(kelvin, m_CIExy);
}

CColorTemperature::CColorTemperature(const _CIExy &xy) : m_CIExy(xy)
{
    CalcColorTemperature(xy, m_Kelvin, m_DeltaUV);
}

CColorTemperature::CColorTemperature(const CCIEYxy &Yxy)
    : CColorTemperature(_CIExy{Yxy.x, Yxy.y})
{
}

bool CColorTemperature::CalcCIExy(unsigned short kelvin, _CIExy &xy)
{
    xy = {0.0, 0.0};
    if (kelvin < 1667 || kelvin > 25000)
        return false;
    const double T = kelvin;
    const double T2 = T * T;
    const double T3 = T2 * T;
    double x;
    if (kelvin <= 3999)
        x = -266123900.0 / T3 - 234358.0 / T2 + 877.6956 / T + 0.17991;
    else if (kelvin <= 7000)
        x = -4607000000.0 / T3 + 2967800.0 / T2 + 99.11 / T + 0.244063;
    else
        x = -2006400000.0 / T3 + 1901800.0 / T2 + 247.48 / T + 0.23704;

    const double x2 = x * x;
    const double x3 = x2 * x;
    double y;
    if (kelvin <= 2221)
        y = -1.1063814 * x3 - 1.3481102 * x2 + 2.18555832 * x - 0.20219683;
    else if (kelvin <= 3999)
        y = -0.9549476 * x3 - 1.37418593 * x2 + 2.09137015 * x - 0.16748867;
    else
        y = -3.0 * x2 + 2.87 * x - 0.275;

    xy = {x, y};
    return true;
}

double CColorTemperature::DLTU(double u, double v, int row)
{
    const IsotemperatureLine &l = line(row);
    return (u - l.u) - (v - l.v) * l.t;
}

double CColorTemperature::DIST(double u, double v, int row)
{
    const IsotemperatureLine &l = line(row);
    return DLTU(u, v, row) / std::sqrt(l.t * l.t + 1.0);
}

bool CColorTemperature::CalcColorTemperatureOnLine(double u, double v, int row,
                                                   unsigned short &kelvin, double &deltaUV)
{
    if (row <= 0 || row > kLastRow)
        return false;
    unsigned short k = 0;
    // Row 1 (100000 K) lies beyond what the 16-bit field holds.
    if (!kelvinFromMired(10.0 * row, k))
        return false;
    const IsotemperatureLine &l = line(row);
    kelvin = k;
    deltaUV = std::sqrt((u - l.u) * (u - l.u) + (v - l.v) * (v - l.v));
    if (v < l.v)
        deltaUV = -deltaUV;
    return true;
}

bool CColorTemperature::CalcColorTemperature(const _CIExy &xy, unsigned short &kelvin,
                                             double &deltaUV)
{
    kelvin = 0;
    deltaUV = 0.0;
    if (!(xy.x >= 0.2 && xy.x <= 0.6 && xy.y >= 0.2 && xy.y <= 0.5))
        return false;

    double u, v;
    toUV(xy, u, v);

    double d = DLTU(u, v, 0);
    if (d < 0.0)
        return false;
    if (d == 0.0)
        return CalcColorTemperatureOnLine(u, v, 0, kelvin, deltaUV);
    d = DLTU(u, v, kLastRow);
    if (d > 0.0)
        return false;
    if (d == 0.0)
        return CalcColorTemperatureOnLine(u, v, kLastRow, kelvin, deltaUV);

    // Bisection over the rows: i ends between 2 and 64.
    int i = 33;
    for (int step = 16; step >= 1; step /= 2) {
        d = DLTU(u, v, i);
        if (d > 0.0)
            i += step;
        else if (d < 0.0)
            i -= step;
        else
            return CalcColorTemperatureOnLine(u, v, i, kelvin, deltaUV);
    }
    d = DLTU(u, v, i);
    if (d == 0.0)
        return CalcColorTemperatureOnLine(u, v, i, kelvin, deltaUV);
    if (d < 0.0)
        i -= 1;
    // The point lies between the lines of rows i and i + 1 (for points
    // between rows 0 and 1 the bracket stays at rows 1 and 2 and extrapolates).
    const double di = DIST(u, v, i);
    const double o = di / (di - DIST(u, v, i + 1));

    unsigned short k = 0;
    if (!kelvinFromMired((i + o) * 10.0, k))
        return false;

    // Locus point by quadratic interpolation around the nearer row. Around
    // the last row the parabola through rows 62 to 64 is used, so nothing is
    // read past the table.
    int c = i;
    double r = o;
    if (o > 0.5 || i == 0) {
        c = i + 1;
        r = o - 1.0;
    }
    if (c >= kLastRow) {
        r += c - (kLastRow - 1);
        c = kLastRow - 1;
    }
    const IsotemperatureLine &prev = line(c - 1);
    const IsotemperatureLine &centre = line(c);
    const IsotemperatureLine &next = line(c + 1);
    const double uq = centre.u
                      + ((((next.u + prev.u) * 0.5 - centre.u) * r + (next.u - prev.u) * 0.5) * r);
    const double vq = centre.v
                      + ((((next.v + prev.v) * 0.5 - centre.v) * r + (next.v - prev.v) * 0.5) * r);
    double duv = std::sqrt((u - uq) * (u - uq) + (v - vq) * (v - vq));
    if (v < vq)
        duv = -duv;

    // Where a kelvin target of the same value exists, measure the distance
    // from the point that target would use.
    _CIExy target;
    if (CalcCIExy(k, target)) {
        double ut, vt;
        toUV(target, ut, vt);
        duv = std::sqrt((u - ut) * (u - ut) + (v - vt) * (v - vt));
    }
    kelvin = k;
    deltaUV = duv;
    return true;
}

bool CColorTemperature::operator==(const CColorTemperature &other) const
{
    if (m_Native)
        return other.m_Native;
    if (m_KelvinForm != other.m_KelvinForm)
        return false;
    if (m_KelvinForm)
        return m_Kelvin == other.m_Kelvin;
    return thousandths(m_CIExy.x) == thousandths(other.m_CIExy.x)
           && thousandths(m_CIExy.y) == thousandths(other.m_CIExy.y);
}

QString CColorTemperature::GetCaptionStr() const
{
    if (m_Native)
        return QCoreApplication::translate("QObject", "Native");
    if (m_KelvinForm)
        return QStringLiteral("%1K").arg(m_Kelvin);
    if (m_CIExy.x == 0.0)
        return QString();
    for (const DaylightIlluminant &row : gDaylightIlluminant_tbl) {
        if (m_CIExy.x == row.x && m_CIExy.y == row.y)
            return QString::fromLatin1(row.name);
    }
    return QCoreApplication::translate("QObject", "x=%1 y=%2")
        .arg(m_CIExy.x, 0, 'f', 3)
        .arg(m_CIExy.y, 0, 'f', 3);
}

int CColorTemperature::WriteToFile(QDataStream &stream) const
{
    stream << *this;
    return stream.status() == QDataStream::Ok ? 0 : pz::kFileWriteFailed;
}

namespace {

enum class ReadResult { Ok, BadMagic, BadVersion, Failed };

ReadResult readWhitePoint(QDataStream &stream, CColorTemperature &white)
{
    switch (pz::readRecordHeader(stream, CColorTemperature::kMagic, CColorTemperature::kVersion,
                                 CColorTemperature::kVersion)) {
    case pz::HeaderCheck::Ok:
        break;
    case pz::HeaderCheck::BadMagic:
        return ReadResult::BadMagic;
    case pz::HeaderCheck::BadVersion:
        return ReadResult::BadVersion;
    case pz::HeaderCheck::ReadFailed:
        return ReadResult::Failed;
    }
    bool kelvinForm = false;
    bool native = false;
    quint16 kelvin = 0;
    _CIExy xy{0.0, 0.0};
    stream >> kelvinForm;
    if (kelvinForm)
        stream >> kelvin;
    else
        stream >> xy.x >> xy.y;
    stream >> native;
    if (stream.status() != QDataStream::Ok)
        return ReadResult::Failed;

    // Only the stored form is kept; the rest is derived anew.
    white = kelvinForm ? CColorTemperature(kelvin) : CColorTemperature(xy);
    white.m_Native = native;
    return ReadResult::Ok;
}

} // namespace

int CColorTemperature::ReadFromFile(QDataStream &stream)
{
    switch (readWhitePoint(stream, *this)) {
    case ReadResult::Ok:
        return 0;
    case ReadResult::BadMagic:
        return kWrongMagic;
    case ReadResult::BadVersion:
        return kWrongVersion;
    case ReadResult::Failed:
        break;
    }
    return pz::kFileReadFailed;
}

QDataStream &operator<<(QDataStream &stream, const CColorTemperature &white)
{
    pz::writeRecordHeader(stream, CColorTemperature::kMagic, CColorTemperature::kVersion);
    stream << white.m_KelvinForm;
    if (white.m_KelvinForm)
        stream << quint16(white.m_Kelvin);
    else
        stream << white.m_CIExy.x << white.m_CIExy.y;
    stream << white.m_Native;
    return stream;
}

QDataStream &operator>>(QDataStream &stream, CColorTemperature &white)
{
    readWhitePoint(stream, white);
    return stream;
}
