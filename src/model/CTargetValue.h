#pragma once
// The calibration target: white point, luminance, contrast ratio, tone curve
// and colour gamut, with the target's name. Stored alone as a target file
// (.tgt) and as the first record of a calibration-settings file.

#include "CCIEXYZ.h"
#include "CColorTemperature.h"
#include "CSpline.h"

#include <QString>

class QDataStream;
class QDebug;

class CTargetValue {
public:
    static constexpr qint32 kMagic = 0x20746774; // " tgt"
    static constexpr qint32 kVersion = 102;

    enum typeColorGamutType : qint32 {
        kGamutNative = 0,
        kGamutSRGB = 1,
        kGamutAdobeRGB = 2,
        kGamutEBU = 3,
        kGamutSMPTEC = 4,
        kGamutDCI = 5,
        kGamutNTSC1953 = 6,
        kGamutColorMatch = 7,
        kGamutCRT = 8,
        kGamutCustom = 9,
    };

    // m_IntensityType
    enum { kIntensityMaximum = 1, kIntensityLevel = 3 };
    // m_GammaCurveType
    enum { kCurveNative = 1, kCurveGamma = 2, kCurveDICOM = 3, kCurveCustom = 4 };
    // m_CustomCurveType
    enum {
        kCustomNone = 0,
        kCustomSRGB = 1,
        kCustomNTSC = 2,
        kCustomSMPTE240M = 3,
        kCustomLStar = 4,
        kCustomCurve = 5,
    };

    CTargetValue();
    CTargetValue(const CTargetValue &) = default;
    // Assigns the custom curve through CSpline's assignment, which maps its
    // kind as InitSpline does (a kind-5 curve becomes kind 4).
    CTargetValue &operator=(const CTargetValue &) = default;
    virtual ~CTargetValue() = default;

    // Copies every member unchanged, as copy construction does, the custom
    // curve's kind included: for targets read from a record, which must
    // write the same bytes again.
    void CopyFrom(const CTargetValue &other);

    // The usable default: D65, maximum luminance, gamma 2.2, native gamut.
    // Version, contrast ratio, the DICOM factor and its flag, the custom
    // curve and its subtype, m_AuxValue and m_AuxFlag stay. Returns 0.
    int CreateDefault();

    // Compares what a calibration aims at; the name and the stored
    // auxiliary values never take part.
    bool operator==(const CTargetValue &other) const;
    bool operator!=(const CTargetValue &other) const { return !(*this == other); }

    // False for a luminance level below 0, a gamma outside 0.99999-3.00001,
    // a custom curve that is not a usable curve, and for any value the
    // target uses that is not finite.
    bool IsValidValue() const;
    // Whether every figure the target uses is a number: the intensity,
    // gamma, DICOM factor, white point, custom primaries and (for a custom
    // tone curve) the curve's points. A stored target failing this is
    // damaged.
    bool HasFiniteValues() const;

    void GetCustomColorGamutValues(CCIEYxy &red, CCIEYxy &green, CCIEYxy &blue) const;
    void SetCustomColorGamutValues(CCIEYxy red, CCIEYxy green, CCIEYxy blue);

    QString GetWhitePointString() const;
    QString GetColorGamutString() const;
    QString GetContrastRatioString() const;
    QString GetTargetIntensityString(bool withUnits) const;
    QString GetTargetBlackLevelString() const;
    // forFileName selects the forms used in file and profile names.
    QString GetGammaCurveString(bool forFileName) const;

    // 0; -1500 cannot open; -1504 write failed (the old file stays intact).
    int WriteFile(const QString &path) const;
    // 0; -1500 cannot open; -1503 wrong magic or version, short or damaged
    // record, or figures that are not numbers. The target changes only when
    // the whole record was read and accepted.
    int ReadFile(const QString &path);
    // Whether the file begins with the target magic.
    static bool IsValidFile(const QString &path);

    qint32 m_Version = kVersion;
    qint32 m_ContrastRatio = 0;
    CColorTemperature m_WhitePoint;
    double m_Intensity = 0.0;
    double m_AuxValue = 0.3;
    double m_Gamma = 0.0;
    double m_DICOMScaleFactor = 1.0;
    bool m_UseDICOMScaleFactor = false;
    bool m_AuxFlag = false;
    qint32 m_IntensityType = kIntensityLevel;
    qint32 m_AuxType = 2;
    qint32 m_GammaCurveType = kCurveGamma;
    QString m_Name;
    CSpline m_CustomCurve;
    qint32 m_CustomCurveType = kCustomNone;
    typeColorGamutType m_ColorGamutType = kGamutNative;
    CCIEYxy m_CustomRed;
    CCIEYxy m_CustomGreen;
    CCIEYxy m_CustomBlue;
    qint32 m_AuxInt1 = 0;
    qint32 m_AuxInt2 = 0;
    double m_AuxDouble1 = 0.0;
    double m_AuxDouble2 = 0.0;
};

QDataStream &operator<<(QDataStream &stream, const CTargetValue &target);
// A wrong magic or version marks the stream ReadCorruptData. Reading stops
// at the first failure, and the target changes only when the whole record
// was read; a record whose curve type is not 4 keeps the target's own
// custom curve and subtype.
QDataStream &operator>>(QDataStream &stream, CTargetValue &target);
// One line for diagnostics.
QDebug operator<<(QDebug debug, const CTargetValue &target);
