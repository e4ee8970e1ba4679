#include "CColorValue.h"

#include "CTargetValue.h"
#include "CXYZ2RGBTransform.h"
#include "RecordStream.h"

#include <QDataStream>
#include <algorithm>
#include <cmath>

namespace {

// A channel whose white is not clearly above its black has no response.
constexpr double kMinChannelSpan = 1e-6;

struct ChannelResponses {
    QVector<double> channel[3];
};

double component(const rgbColor &c, int channel)
{
    return channel == 0 ? c.R : (channel == 1 ? c.G : c.B);
}

// Normalised per-channel responses of a grey ramp; kNoGreySteps or
// kNoTransform when there are none.
int responsesOf(const QVector<CCIEXYZ> &steps, const CCIEXYZ *patches, bool commonBlack,
                ChannelResponses &out)
{
    const int n = steps.size();
    if (n < 2)
        return CColorValue::kNoGreySteps;
    CXYZ2RGBTransform transform;
    if (transform.InitializeRGBXYZTransforms(patches[CColorValue::kRedPatch],
                                             patches[CColorValue::kGreenPatch],
                                             patches[CColorValue::kBluePatch])
        != 0)
        return CColorValue::kNoTransform;

    const rgbColor white = transform.XYZ2RGB(steps[n - 1]);
    const rgbColor black = transform.XYZ2RGB(steps[0]);
    double blacks[3];
    for (int c = 0; c < 3; ++c)
        blacks[c] = component(black, c);
    if (commonBlack) {
        const double common = std::max({0.0, blacks[0], blacks[1], blacks[2]});
        std::fill(blacks, blacks + 3, common);
    }
    double spans[3];
    for (int c = 0; c < 3; ++c) {
        spans[c] = component(white, c) - blacks[c];
        if (!(spans[c] > kMinChannelSpan) || !std::isfinite(spans[c]))
            return CColorValue::kNoTransform;
    }
    for (int i = 0; i < n; ++i) {
        const rgbColor rgb = transform.XYZ2RGB(steps[i]);
        for (int c = 0; c < 3; ++c) {
            const double response = (component(rgb, c) - blacks[c]) / spans[c];
            if (!std::isfinite(response))
                return CColorValue::kNoTransform;
            out.channel[c].append(response);
        }
    }
    return 0;
}

// Fills curves with (level, response), and inverses with (response, level).
void fillResponseCurves(const ChannelResponses &responses, CSpline *curves, CSpline *inverses)
{
    const int n = responses.channel[0].size();
    for (int c = 0; c < 3; ++c) {
        curves[c].InitSpline(SPLINE_CATMULL_ROM, n, 0.0, 1.0);
        if (inverses)
            inverses[c].InitSpline(SPLINE_CATMULL_ROM, n, 0.0, 1.0);
        for (int i = 0; i < n; ++i) {
            const double level = double(i) / (n - 1);
            const double response = responses.channel[c][i];
            curves[c].SetXY(i, level, response);
            if (inverses)
                inverses[c].SetXY(i, response, level);
        }
        curves[c].SetValid(true);
        if (inverses)
            inverses[c].SetValid(true);
    }
}

} // namespace

CColorValue::CColorValue() = default;

CColorValue::CColorValue(const CColorValue &other)
{
    copyFrom(other);
}

CColorValue &CColorValue::operator=(const CColorValue &other)
{
    if (this != &other)
        copyFrom(other);
    return *this;
}

void CColorValue::copyFrom(const CColorValue &other)
{
    std::copy(other.m_NativePatches, other.m_NativePatches + kPatchCount, m_NativePatches);
    std::copy(other.m_AdjustedPatches, other.m_AdjustedPatches + kPatchCount, m_AdjustedPatches);
    std::copy(other.m_FinalPatches, other.m_FinalPatches + kPatchCount, m_FinalPatches);
    m_FinalGreySteps = other.m_FinalGreySteps;
    m_UncorrectedGreySteps = other.m_UncorrectedGreySteps;
    for (int i = 0; i < kCurveCount; ++i)
        m_Splines[i].CopyFrom(other.m_Splines[i]);
    m_TargetCurve.CopyFrom(other.m_TargetCurve);
    m_EDIDRed = other.m_EDIDRed;
    m_EDIDGreen = other.m_EDIDGreen;
    m_EDIDBlue = other.m_EDIDBlue;
    std::copy(other.m_SensorCorrectionMatrix, other.m_SensorCorrectionMatrix + 9,
              m_SensorCorrectionMatrix);
    m_UseSensorCorrectionMatrix = other.m_UseSensorCorrectionMatrix;
    m_ReadFailed = other.m_ReadFailed;
}

int CColorValue::CalculateRGBMeasuredUnCorrectedSplines(bool commonBlack)
{
    ChannelResponses responses;
    const int result = responsesOf(m_UncorrectedGreySteps, m_AdjustedPatches, commonBlack, responses);
    if (result != 0)
        return result;
    fillResponseCurves(responses, &m_Splines[kUncorrectedRed], &m_Splines[kInverseRed]);
    return 0;
}

int CColorValue::CalculateRGBMeasuredCorrectedSplines()
{
    ChannelResponses responses;
    const int result = responsesOf(m_FinalGreySteps, m_FinalPatches, false, responses);
    if (result != 0)
        return result;
    fillResponseCurves(responses, &m_Splines[kCorrectedRed], nullptr);
    return 0;
}

int CColorValue::CreateCorrectionSplines(const CTargetValue *target)
{
    for (int c = 0; c < 3; ++c)
        m_Splines[kCorrectionRed + c].SetValid(false);
    const int n = m_Splines[kInverseRed].GetNumberOfPoints();
    for (int c = 0; c < 3; ++c) {
        if (!m_Splines[kInverseRed + c].IsValid())
            return kResponseCurvesInvalid;
    }
    if (n < 2)
        return kResponseCurvesInvalid;

    // Lift the target curve so that its black lands at W/CR rather than at
    // the display's own black K.
    double offset = 0.0;
    const double white = m_AdjustedPatches[kWhitePatch].Y;
    const double black = m_AdjustedPatches[kBlackPatch].Y;
    if (target && target->m_GammaCurveType != CTargetValue::kCurveNative
        && target->m_ContrastRatio != 0) {
        const double wantedBlack = (1.0 / double(quint32(target->m_ContrastRatio))) * white;
        if (wantedBlack > black && white > black) {
            offset = (wantedBlack - black) / (white - black);
            if (!std::isfinite(offset))
                offset = 0.0;
        }
    }

    for (int i = 0; i < n; ++i) {
        const double x = double(i) / (n - 1);
        const double t = m_TargetCurve.GetYValX(x) * (1.0 - offset) + offset;
        for (int c = 0; c < 3; ++c)
            m_Splines[kCorrectionRed + c].SetXY(i, x, m_Splines[kInverseRed + c].GetYValX(t));
    }
    for (int c = 0; c < 3; ++c)
        m_Splines[kCorrectionRed + c].SetValid(true);
    return 0;
}

namespace {

void writePatches(QDataStream &stream, const CCIEXYZ *patches)
{
    for (int i = 0; i < CColorValue::kPatchCount; ++i)
        stream << patches[i];
}

void writeSteps(QDataStream &stream, const QVector<CCIEXYZ> &steps)
{
    stream << qint32(steps.size());
    for (const CCIEXYZ &c : steps)
        stream << c;
}

bool readPatches(QDataStream &stream, CCIEXYZ *patches)
{
    for (int i = 0; i < CColorValue::kPatchCount; ++i)
        stream >> patches[i];
    return stream.status() == QDataStream::Ok;
}

bool readSteps(QDataStream &stream, QVector<CCIEXYZ> &steps)
{
    quint32 count = 0;
    stream >> count;
    if (!pz::acceptCount(stream, qint64(count), CColorValue::kMaxGreySteps))
        return false;
    steps.clear();
    for (quint32 i = 0; i < count && stream.status() == QDataStream::Ok; ++i) {
        CCIEXYZ c;
        stream >> c;
        steps.append(c);
    }
    return stream.status() == QDataStream::Ok;
}

} // namespace

QDataStream &operator<<(QDataStream &stream, const CColorValue &v)
{
    pz::writeRecordHeader(stream, CColorValue::kMagic, v.m_Version);
    writePatches(stream, v.m_FinalPatches);
    writeSteps(stream, v.m_FinalGreySteps);
    writeSteps(stream, v.m_UncorrectedGreySteps);
    writePatches(stream, v.m_AdjustedPatches);
    writePatches(stream, v.m_NativePatches);
    for (const CSpline &curve : v.m_Splines)
        stream << curve;
    stream << v.m_EDIDRed << v.m_EDIDGreen << v.m_EDIDBlue << v.m_TargetCurve;
    for (double d : v.m_SensorCorrectionMatrix)
        stream << d;
    stream << v.m_UseSensorCorrectionMatrix;
    return stream;
}

QDataStream &operator>>(QDataStream &stream, CColorValue &value)
{
    qint32 version = 0;
    const auto accept = [](qint32 v) { return quint32(v) <= quint32(CColorValue::kVersion); };
    if (pz::readRecordHeader(stream, CColorValue::kMagic, accept, &version) != pz::HeaderCheck::Ok)
        return stream;

    CColorValue read(value);
    const auto ok = [&stream] { return stream.status() == QDataStream::Ok; };
    bool complete = readPatches(stream, read.m_FinalPatches)
                    && readSteps(stream, read.m_FinalGreySteps)
                    && readSteps(stream, read.m_UncorrectedGreySteps)
                    && readPatches(stream, read.m_AdjustedPatches)
                    && readPatches(stream, read.m_NativePatches);
    for (int i = 0; complete && i < CColorValue::kCurveCount; ++i) {
        stream >> read.m_Splines[i];
        complete = ok();
    }
    if (complete) {
        stream >> read.m_EDIDRed >> read.m_EDIDGreen >> read.m_EDIDBlue;
        complete = ok();
    }
    if (complete) {
        stream >> read.m_TargetCurve;
        complete = ok();
    }
    if (complete) {
        if (version == CColorValue::kVersion) {
            for (double &d : read.m_SensorCorrectionMatrix)
                stream >> d;
            stream >> read.m_UseSensorCorrectionMatrix;
        } else {
            // Older records predate the correction matrix.
            const double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
            std::copy(identity, identity + 9, read.m_SensorCorrectionMatrix);
            read.m_UseSensorCorrectionMatrix = false;
        }
        complete = ok();
    }
    if (complete)
        value = read;
    else
        value.m_ReadFailed = true;
    return stream;
}
