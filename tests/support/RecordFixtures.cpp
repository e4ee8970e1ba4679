#include "RecordFixtures.h"

#include "CAdjustValue.h"
#include "CColorTemperature.h"
#include "CColorValue.h"
#include "CSpline.h"
#include "CTargetValue.h"

#include <QtTest>

namespace pz::test {

namespace {

CCIEXYZ distinctXYZ(Distinct &d)
{
    const double X = d.real(), Y = d.real(), Z = d.real();
    return CCIEXYZ(X, Y, Z);
}

CCIEYxy distinctYxy(Distinct &d)
{
    const double Y = d.real(), x = d.real(), y = d.real();
    return CCIEYxy(Y, x, y);
}

void compareColours(const CCIEXYZ &actual, const CCIEXYZ &expected)
{
    QCOMPARE(actual.X, expected.X);
    QCOMPARE(actual.Y, expected.Y);
    QCOMPARE(actual.Z, expected.Z);
}

void compareColours(const CCIEYxy &actual, const CCIEYxy &expected)
{
    QCOMPARE(actual.Y, expected.Y);
    QCOMPARE(actual.x, expected.x);
    QCOMPARE(actual.y, expected.y);
}

} // namespace

CSpline distinctCurve(Distinct &d, int kind, int points, bool valid)
{
    CSpline c;
    c.InitSpline(static_cast<SplineType>(kind), 0, 0.0, 1.0);
    double min = d.real(), max = d.real();
    c.SplineRange(min, max);
    const double bias = d.real(), tension = d.real();
    c.SetBiasAndTension(bias, tension);
    for (int i = 0; i < points; ++i) {
        const double x = d.real(), y = d.real();
        c.AddPoint(Point2D{x, y});
    }
    c.SetValid(valid);
    return c;
}

CColorValue distinctMeasurements(Distinct &d)
{
    CColorValue v;
    for (CCIEXYZ *patches : {v.m_NativePatches, v.m_AdjustedPatches, v.m_FinalPatches})
        for (int p = 0; p < CColorValue::kPatchCount; ++p)
            patches[p] = distinctXYZ(d);
    for (int i = 0; i < 2; ++i)
        v.m_FinalGreySteps.append(distinctXYZ(d));
    for (int i = 0; i < 3; ++i)
        v.m_UncorrectedGreySteps.append(distinctXYZ(d));
    for (int i = 0; i < CColorValue::kCurveCount; ++i)
        v.m_Splines[i] = distinctCurve(d, i % 5, 1 + i % 3, i % 2 == 0);
    v.m_TargetCurve = distinctCurve(d, SPLINE_CATMULL_ROM, 2, true);
    v.m_EDIDRed = distinctXYZ(d);
    v.m_EDIDGreen = distinctXYZ(d);
    v.m_EDIDBlue = distinctXYZ(d);
    for (double &m : v.m_SensorCorrectionMatrix)
        m = d.real();
    v.m_UseSensorCorrectionMatrix = true;
    return v;
}

CTargetValue distinctTarget(Distinct &d, bool customCurve)
{
    CTargetValue t;
    t.m_ContrastRatio = d.integer();
    if (customCurve) {
        t.m_WhitePoint = CColorTemperature(_CIExy{0.3125, 0.3281});
        t.m_WhitePoint.m_Native = true;
    } else {
        t.m_WhitePoint = CColorTemperature(static_cast<unsigned short>(5000));
    }
    t.m_Intensity = d.real();
    t.m_AuxValue = d.real();
    t.m_Gamma = d.real();
    t.m_DICOMScaleFactor = d.real();
    t.m_UseDICOMScaleFactor = true;
    t.m_AuxFlag = false;
    t.m_IntensityType = d.integer();
    t.m_AuxType = d.integer();
    t.m_GammaCurveType = customCurve ? CTargetValue::kCurveCustom : CTargetValue::kCurveGamma;
    t.m_Name = QStringLiteral("Target %1").arg(d.integer());
    t.m_CustomCurve = distinctCurve(d, SPLINE_HERMITE, 3, true);
    t.m_CustomCurveType = d.integer();
    t.m_ColorGamutType = static_cast<CTargetValue::typeColorGamutType>(d.integer());
    t.m_CustomRed = distinctYxy(d);
    t.m_CustomGreen = distinctYxy(d);
    t.m_CustomBlue = distinctYxy(d);
    t.m_AuxInt1 = d.integer();
    t.m_AuxInt2 = d.integer();
    t.m_AuxDouble1 = d.real();
    t.m_AuxDouble2 = d.real();
    return t;
}

CAdjustValue distinctResult(Distinct &d)
{
    CAdjustValue r;
    for (quint16 *control : {&r.m_Brightness, &r.m_Contrast, &r.m_RedGain, &r.m_GreenGain,
                             &r.m_BlueGain, &r.m_AuxControl1, &r.m_AuxControl2, &r.m_AuxControl3})
        *control = static_cast<quint16>(d.integer());
    r.m_AuxControl4 = static_cast<quint16>(40000 + d.integer()); // above the int16 range
    r.m_ColorPreset = static_cast<quint16>(d.integer());
    r.SetMonitorName(QStringLiteral("Monitor %1").arg(d.integer()));
    r.SetMonitorSerial(QStringLiteral("Serial %1").arg(d.integer()));
    r.SetProfileName(QStringLiteral("Profile %1").arg(d.integer()));
    r.SetProfileDescription(QStringLiteral("Description %1").arg(d.integer()));
    r.m_MonitorVendorProductID = 0x3E8A0000u + quint32(d.integer());
    r.SetAutoLuminanceState(CAdjustValue::AUTO_LUMINANCE_MODE_3);
    r.SetIsCalibrationOn(true);
    r.SetIsHoursOnWhenCalibrated(d.real());
    r.m_ByteList = {static_cast<unsigned char>(d.integer()), 0xFE,
                    static_cast<unsigned char>(d.integer())};
    r.SetSensorModelName(QStringLiteral("Sensor %1").arg(d.integer()));
    r.SetSensorSerial(QStringLiteral("Sensor serial %1").arg(d.integer()));
    r.SetAutomaticSensorColorPrimariesSource(static_cast<signed char>(d.integer()));
    r.SetRGBGainOperationMode(static_cast<signed char>(-d.integer()));
    r.m_CalibrationDuration = static_cast<qint16>(-d.integer());
    r.m_AuxShort1 = static_cast<qint16>(d.integer());
    r.m_AuxShort2 = static_cast<qint16>(-d.integer());
    r.m_AuxShort3 = static_cast<qint16>(d.integer());
    for (qint16 &value : r.m_MonitorSpecificValues) {
        const int n = d.integer();
        value = static_cast<qint16>(n % 2 ? -n : n);
    }
    r.SetColorValue(distinctMeasurements(d));
    return r;
}

qint64 layColour(RecordLayout &l, qint64 at, const CCIEXYZ &c)
{
    l.f64(at, c.X).f64(at + 8, c.Y).f64(at + 16, c.Z);
    return at + 24;
}

qint64 layColour(RecordLayout &l, qint64 at, const CCIEYxy &c)
{
    l.f64(at, c.Y).f64(at + 8, c.x).f64(at + 16, c.y);
    return at + 24;
}

qint64 layWhitePoint(RecordLayout &l, qint64 at, const CColorTemperature &w)
{
    l.i32(at, 0xFADF).i32(at + 4, 101).boolean(at + 8, w.m_KelvinForm);
    if (w.m_KelvinForm) {
        l.i16(at + 9, static_cast<qint16>(w.m_Kelvin)).boolean(at + 11, w.m_Native);
        return at + 12;
    }
    l.f64(at + 9, w.m_CIExy.x).f64(at + 17, w.m_CIExy.y).boolean(at + 25, w.m_Native);
    return at + 26;
}

qint64 layCurve(RecordLayout &l, qint64 at, const CSpline &c)
{
    l.i32(at, 0xFADE)
        .i32(at + 4, 101)
        .i32(at + 8, c.GetSplineType())
        .f64(at + 12, c.GetRangeMin())
        .f64(at + 20, c.GetRangeMax())
        .f64(at + 28, c.GetTension())
        .f64(at + 36, c.GetBias())
        .boolean(at + 44, c.IsValid())
        .i32(at + 45, c.GetNumberOfPoints());
    for (int i = 0; i < c.GetNumberOfPoints(); ++i)
        l.f64(at + 49 + 16 * i, c.GetX(i)).f64(at + 57 + 16 * i, c.GetY(i));
    return at + 49 + 16 * c.GetNumberOfPoints();
}

qint64 layTarget(RecordLayout &l, qint64 at, const CTargetValue &t)
{
    l.i32(at, 0x20746774).i32(at + 4, 102);
    const qint64 w = layWhitePoint(l, at + 8, t.m_WhitePoint);
    l.f64(w, t.m_Intensity)
        .f64(w + 8, t.m_AuxValue)
        .f64(w + 16, t.m_Gamma)
        .i32(w + 24, t.m_IntensityType)
        .i32(w + 28, t.m_AuxType)
        .i32(w + 32, t.m_GammaCurveType);
    qint64 c = w + 36;
    if (t.m_GammaCurveType == CTargetValue::kCurveCustom) {
        l.i32(c, t.m_CustomCurveType);
        c = layCurve(l, c + 4, t.m_CustomCurve);
    }
    l.f64(c, t.m_DICOMScaleFactor)
        .boolean(c + 8, t.m_UseDICOMScaleFactor)
        .boolean(c + 9, t.m_AuxFlag)
        .string(c + 10, t.m_Name);
    const qint64 n = c + 14 + 2 * t.m_Name.size();
    l.i32(n, t.m_ContrastRatio).i32(n + 4, t.m_ColorGamutType);
    layColour(l, n + 8, t.m_CustomRed);
    layColour(l, n + 32, t.m_CustomGreen);
    layColour(l, n + 56, t.m_CustomBlue);
    l.i32(n + 80, t.m_AuxInt1)
        .i32(n + 84, t.m_AuxInt2)
        .f64(n + 88, t.m_AuxDouble1)
        .f64(n + 96, t.m_AuxDouble2);
    return n + 104;
}

qint64 layMeasurements(RecordLayout &l, qint64 at, const CColorValue &v)
{
    constexpr int kPatches = CColorValue::kPatchCount;
    l.i32(at, 0xBEEF).i32(at + 4, 104);
    qint64 o = at + 8;
    for (int p = 0; p < kPatches; ++p)
        o = layColour(l, o, v.m_FinalPatches[p]);
    for (const QVector<CCIEXYZ> *steps : {&v.m_FinalGreySteps, &v.m_UncorrectedGreySteps}) {
        l.i32(o, steps->size());
        o += 4;
        for (const CCIEXYZ &step : *steps)
            o = layColour(l, o, step);
    }
    for (int p = 0; p < kPatches; ++p)
        o = layColour(l, o, v.m_AdjustedPatches[p]);
    for (int p = 0; p < kPatches; ++p)
        o = layColour(l, o, v.m_NativePatches[p]);
    for (const CSpline &curve : v.m_Splines)
        o = layCurve(l, o, curve);
    o = layColour(l, o, v.m_EDIDRed);
    o = layColour(l, o, v.m_EDIDGreen);
    o = layColour(l, o, v.m_EDIDBlue);
    o = layCurve(l, o, v.m_TargetCurve);
    for (int i = 0; i < 9; ++i)
        l.f64(o + 8 * i, v.m_SensorCorrectionMatrix[i]);
    l.boolean(o + 72, v.m_UseSensorCorrectionMatrix);
    return o + 73;
}

qint64 layResult(RecordLayout &l, qint64 at, const CAdjustValue &r, const QByteArray &dateTimeBytes)
{
    l.i32(at, qint32(0xDEADFADE)).i32(at + 4, 114);
    const quint16 controls[] = {r.m_Brightness,  r.m_Contrast,    r.m_RedGain,
                                r.m_GreenGain,   r.m_BlueGain,    r.m_AuxControl1,
                                r.m_AuxControl2, r.m_AuxControl3, r.m_AuxControl4};
    for (int i = 0; i < 9; ++i)
        l.i32(at + 8 + 4 * i, controls[i]); // zero-extended
    l.boolean(at + 44, r.m_IsCalibrationOn)
        .f64(at + 45, r.m_HoursOnWhenCalibrated)
        .i32(at + 53, r.m_ColorPreset)
        .string(at + 57, r.m_MonitorName);
    qint64 o = l.end();
    l.string(o, r.m_MonitorSerial);
    o = l.end();
    l.i8(o, r.m_AutomaticSensorColorPrimariesSource)
        .i8(o + 1, r.m_RGBGainOperationMode)
        .i16(o + 2, r.m_CalibrationDuration)
        .i16(o + 4, r.m_AuxShort1)
        .i16(o + 6, r.m_AuxShort2)
        .i16(o + 8, r.m_AuxShort3)
        .string(o + 10, r.m_SensorModelName);
    l.string(l.end(), r.m_SensorSerial);
    o = l.end();
    l.i32(o, qint32(r.m_MonitorVendorProductID)).string(o + 4, r.m_ProfileName);
    l.string(l.end(), r.m_ProfileDescription);
    o = l.end();
    l.i8(o, r.m_AutoLuminanceState).raw(o + 1, dateTimeBytes);
    o += 1 + dateTimeBytes.size();
    l.i32(o, qint32(r.m_ByteList.size()));
    for (std::size_t i = 0; i < r.m_ByteList.size(); ++i)
        l.i8(o + 4 + qint64(i), static_cast<qint8>(r.m_ByteList[i]));
    o += 4 + qint64(r.m_ByteList.size());
    for (int i = 0; i < CAdjustValue::kMonitorSpecificValueCount; ++i)
        l.i16(o + 2 * i, r.m_MonitorSpecificValues[i]);
    return layMeasurements(l, o + 2 * CAdjustValue::kMonitorSpecificValueCount, r.m_ColorValue);
}

void compareCurves(const CSpline &actual, const CSpline &expected)
{
    QCOMPARE(actual.GetVersion(), expected.GetVersion());
    QCOMPARE(actual.GetSplineType(), expected.GetSplineType());
    QCOMPARE(actual.GetRangeMin(), expected.GetRangeMin());
    QCOMPARE(actual.GetRangeMax(), expected.GetRangeMax());
    QCOMPARE(actual.GetTension(), expected.GetTension());
    QCOMPARE(actual.GetBias(), expected.GetBias());
    QCOMPARE(actual.IsValid(), expected.IsValid());
    QCOMPARE(actual.GetNumberOfPoints(), expected.GetNumberOfPoints());
    for (int i = 0; i < expected.GetNumberOfPoints(); ++i) {
        QCOMPARE(actual.GetX(i), expected.GetX(i));
        QCOMPARE(actual.GetY(i), expected.GetY(i));
    }
}

void compareWhitePoints(const CColorTemperature &actual, const CColorTemperature &expected)
{
    QCOMPARE(actual.m_CIExy.x, expected.m_CIExy.x);
    QCOMPARE(actual.m_CIExy.y, expected.m_CIExy.y);
    QCOMPARE(actual.m_Kelvin, expected.m_Kelvin);
    QCOMPARE(actual.m_KelvinForm, expected.m_KelvinForm);
    QCOMPARE(actual.m_DeltaUV, expected.m_DeltaUV);
    QCOMPARE(actual.m_Native, expected.m_Native);
}

void compareMeasurements(const CColorValue &actual, const CColorValue &expected)
{
    QCOMPARE(actual.m_Version, expected.m_Version);
    for (int p = 0; p < CColorValue::kPatchCount; ++p) {
        compareColours(actual.m_NativePatches[p], expected.m_NativePatches[p]);
        compareColours(actual.m_AdjustedPatches[p], expected.m_AdjustedPatches[p]);
        compareColours(actual.m_FinalPatches[p], expected.m_FinalPatches[p]);
    }
    QCOMPARE(actual.m_FinalGreySteps.size(), expected.m_FinalGreySteps.size());
    for (int i = 0; i < expected.m_FinalGreySteps.size(); ++i)
        compareColours(actual.m_FinalGreySteps[i], expected.m_FinalGreySteps[i]);
    QCOMPARE(actual.m_UncorrectedGreySteps.size(), expected.m_UncorrectedGreySteps.size());
    for (int i = 0; i < expected.m_UncorrectedGreySteps.size(); ++i)
        compareColours(actual.m_UncorrectedGreySteps[i], expected.m_UncorrectedGreySteps[i]);
    for (int i = 0; i < CColorValue::kCurveCount; ++i)
        compareCurves(actual.m_Splines[i], expected.m_Splines[i]);
    compareCurves(actual.m_TargetCurve, expected.m_TargetCurve);
    compareColours(actual.m_EDIDRed, expected.m_EDIDRed);
    compareColours(actual.m_EDIDGreen, expected.m_EDIDGreen);
    compareColours(actual.m_EDIDBlue, expected.m_EDIDBlue);
    for (int i = 0; i < 9; ++i)
        QCOMPARE(actual.m_SensorCorrectionMatrix[i], expected.m_SensorCorrectionMatrix[i]);
    QCOMPARE(actual.m_UseSensorCorrectionMatrix, expected.m_UseSensorCorrectionMatrix);
    QCOMPARE(actual.m_ReadFailed, expected.m_ReadFailed);
}

void compareTargets(const CTargetValue &actual, const CTargetValue &expected)
{
    QCOMPARE(actual.m_Version, expected.m_Version);
    QCOMPARE(actual.m_ContrastRatio, expected.m_ContrastRatio);
    compareWhitePoints(actual.m_WhitePoint, expected.m_WhitePoint);
    QCOMPARE(actual.m_Intensity, expected.m_Intensity);
    QCOMPARE(actual.m_AuxValue, expected.m_AuxValue);
    QCOMPARE(actual.m_Gamma, expected.m_Gamma);
    QCOMPARE(actual.m_DICOMScaleFactor, expected.m_DICOMScaleFactor);
    QCOMPARE(actual.m_UseDICOMScaleFactor, expected.m_UseDICOMScaleFactor);
    QCOMPARE(actual.m_AuxFlag, expected.m_AuxFlag);
    QCOMPARE(actual.m_IntensityType, expected.m_IntensityType);
    QCOMPARE(actual.m_AuxType, expected.m_AuxType);
    QCOMPARE(actual.m_GammaCurveType, expected.m_GammaCurveType);
    QCOMPARE(actual.m_Name, expected.m_Name);
    compareCurves(actual.m_CustomCurve, expected.m_CustomCurve);
    QCOMPARE(actual.m_CustomCurveType, expected.m_CustomCurveType);
    QCOMPARE(actual.m_ColorGamutType, expected.m_ColorGamutType);
    compareColours(actual.m_CustomRed, expected.m_CustomRed);
    compareColours(actual.m_CustomGreen, expected.m_CustomGreen);
    compareColours(actual.m_CustomBlue, expected.m_CustomBlue);
    QCOMPARE(actual.m_AuxInt1, expected.m_AuxInt1);
    QCOMPARE(actual.m_AuxInt2, expected.m_AuxInt2);
    QCOMPARE(actual.m_AuxDouble1, expected.m_AuxDouble1);
    QCOMPARE(actual.m_AuxDouble2, expected.m_AuxDouble2);
}

void compareResults(const CAdjustValue &actual, const CAdjustValue &expected)
{
    QCOMPARE(actual.m_IsValid, expected.m_IsValid);
    QCOMPARE(actual.m_Version, expected.m_Version);
    QCOMPARE(actual.m_Brightness, expected.m_Brightness);
    QCOMPARE(actual.m_Contrast, expected.m_Contrast);
    QCOMPARE(actual.m_RedGain, expected.m_RedGain);
    QCOMPARE(actual.m_GreenGain, expected.m_GreenGain);
    QCOMPARE(actual.m_BlueGain, expected.m_BlueGain);
    QCOMPARE(actual.m_AuxControl1, expected.m_AuxControl1);
    QCOMPARE(actual.m_AuxControl2, expected.m_AuxControl2);
    QCOMPARE(actual.m_AuxControl3, expected.m_AuxControl3);
    QCOMPARE(actual.m_AuxControl4, expected.m_AuxControl4);
    QCOMPARE(actual.m_ColorPreset, expected.m_ColorPreset);
    QCOMPARE(actual.m_MonitorName, expected.m_MonitorName);
    QCOMPARE(actual.m_MonitorSerial, expected.m_MonitorSerial);
    QCOMPARE(actual.m_ProfileName, expected.m_ProfileName);
    QCOMPARE(actual.m_ProfileDescription, expected.m_ProfileDescription);
    QCOMPARE(actual.m_MonitorVendorProductID, expected.m_MonitorVendorProductID);
    QCOMPARE(actual.m_AutoLuminanceState, expected.m_AutoLuminanceState);
    QCOMPARE(actual.m_CalibrationDateTime, expected.m_CalibrationDateTime);
    compareMeasurements(actual.m_ColorValue, expected.m_ColorValue);
    QCOMPARE(actual.m_IsCalibrationOn, expected.m_IsCalibrationOn);
    QCOMPARE(actual.m_HoursOnWhenCalibrated, expected.m_HoursOnWhenCalibrated);
    QCOMPARE(actual.m_ByteList, expected.m_ByteList);
    QCOMPARE(actual.m_SensorModelName, expected.m_SensorModelName);
    QCOMPARE(actual.m_SensorSerial, expected.m_SensorSerial);
    QCOMPARE(actual.m_AutomaticSensorColorPrimariesSource,
             expected.m_AutomaticSensorColorPrimariesSource);
    QCOMPARE(actual.m_RGBGainOperationMode, expected.m_RGBGainOperationMode);
    QCOMPARE(actual.m_CalibrationDuration, expected.m_CalibrationDuration);
    QCOMPARE(actual.m_AuxShort1, expected.m_AuxShort1);
    QCOMPARE(actual.m_AuxShort2, expected.m_AuxShort2);
    QCOMPARE(actual.m_AuxShort3, expected.m_AuxShort3);
    for (int i = 0; i < CAdjustValue::kMonitorSpecificValueCount; ++i)
        QCOMPARE(actual.m_MonitorSpecificValues[i], expected.m_MonitorSpecificValues[i]);
}

} // namespace pz::test
