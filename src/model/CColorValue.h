#pragma once
// Every measurement of one calibration and the curves derived from them:
// the primaries, white and black at three stages, the grey ramps, the
// response and correction curves per channel, the target tone curve, the
// EDID primaries and the sensor correction matrix in force.

#include "CCIEXYZ.h"
#include "CSpline.h"

#include <QVector>

class CTargetValue;
class QDataStream;

class CColorValue {
public:
    static constexpr qint32 kMagic = 0xBEEF;
    static constexpr qint32 kVersion = 104;
    // A stored grey ramp longer than this is refused as corrupt.
    static constexpr qint64 kMaxGreySteps = 65536;

    // Slots of the five-patch arrays.
    enum Patch { kRedPatch = 0, kGreenPatch, kBluePatch, kWhitePatch, kBlackPatch, kPatchCount };

    // Slots of m_Splines.
    enum Curve {
        kUncorrectedRed = 0, // response: level -> normalised response
        kUncorrectedGreen,
        kUncorrectedBlue,
        kInverseRed = 3, // response -> level
        kInverseGreen,
        kInverseBlue,
        kCorrectedRed = 6, // final response
        kCorrectedGreen,
        kCorrectedBlue,
        kCorrectionRed = 9, // wanted level -> level sent to the monitor
        kCorrectionGreen,
        kCorrectionBlue,
        kCardRampRed = 12, // the graphics card ramp that belongs to the calibration
        kCardRampGreen,
        kCardRampBlue,
        kCurveCount = 15,
    };

    // Builder results.
    enum { kNoGreySteps = -1, kNoTransform = -2, kResponseCurvesInvalid = -1014 };

    CColorValue();
    // Curves are copied exactly (kind included), so a copy writes the same
    // bytes as its source.
    CColorValue(const CColorValue &other);
    CColorValue &operator=(const CColorValue &other);
    virtual ~CColorValue() = default;

    // Splines 0-5 from the uncorrected grey ramp and the adjusted primaries;
    // commonBlack gives every channel the largest black (at least 0).
    // 0; -1 for fewer than two grey steps; -2 when the primaries give no
    // transform, a channel's white is not above its black, or a response is
    // not finite. On failure no curve changes.
    int CalculateRGBMeasuredUnCorrectedSplines(bool commonBlack);
    // Splines 6-8 from the final grey ramp and the final primaries, each
    // channel with its own black. Results as above.
    int CalculateRGBMeasuredCorrectedSplines();
    // Splines 9-11 from the inverse responses 3-5 and m_TargetCurve, the
    // target lifted to the black its contrast ratio asks for. 0, or -1014
    // (9-11 left not valid) when splines 3-5 are not usable. Only points the
    // correction curves already have are set.
    int CreateCorrectionSplines(const CTargetValue *target);

    qint32 m_Version = kVersion;
    CCIEXYZ m_NativePatches[kPatchCount];
    CCIEXYZ m_AdjustedPatches[kPatchCount];
    CCIEXYZ m_FinalPatches[kPatchCount];
    QVector<CCIEXYZ> m_FinalGreySteps;
    QVector<CCIEXYZ> m_UncorrectedGreySteps;
    CSpline m_Splines[kCurveCount];
    CSpline m_TargetCurve;
    CCIEXYZ m_EDIDRed;
    CCIEXYZ m_EDIDGreen;
    CCIEXYZ m_EDIDBlue;
    double m_SensorCorrectionMatrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    bool m_UseSensorCorrectionMatrix = false;
    // Set when a read of the record failed; cleared only by construction.
    bool m_ReadFailed = false;

private:
    void copyFrom(const CColorValue &other);
};

QDataStream &operator<<(QDataStream &stream, const CColorValue &value);
// Versions 0 to 104 are read (older ones without the correction matrix);
// a wrong magic or a newer version marks the stream ReadCorruptData.
// Reading stops at the first failure, sets m_ReadFailed and leaves the
// measurements as they were; they change only when the whole record was read.
QDataStream &operator>>(QDataStream &stream, CColorValue &value);
