#include "StandardTargets.h"

#include "StringResources.h"

namespace pz {
namespace {

struct Preset {
    unsigned nameId;
    double whiteX;
    double whiteY;
    qint32 intensityType;
    double intensity;
    qint32 curveType;
    double gamma;
    CTargetValue::typeColorGamutType gamut;
    double auxValue;
};

const Preset kPresets[] = {
    {200, 0.314, 0.351, CTargetValue::kIntensityLevel, 48.0, CTargetValue::kCurveGamma, 2.6,
     CTargetValue::kGamutDCI, 0.0},
    {203, 0.3127, 0.329, CTargetValue::kIntensityMaximum, 100.0, CTargetValue::kCurveGamma, 2.2,
     CTargetValue::kGamutSMPTEC, 0.0},
    {206, 0.3127, 0.329, CTargetValue::kIntensityLevel, 140.0, CTargetValue::kCurveGamma, 2.2,
     CTargetValue::kGamutNative, 0.0},
    {205, 0.3457, 0.3585, CTargetValue::kIntensityLevel, 80.0, CTargetValue::kCurveGamma, 1.8,
     CTargetValue::kGamutNative, 0.3},
    {201, 0.292, 0.321, CTargetValue::kIntensityMaximum, 80.0, CTargetValue::kCurveDICOM, 1.8,
     CTargetValue::kGamutNative, 0.3},
    {202, 0.265, 0.32, CTargetValue::kIntensityMaximum, 80.0, CTargetValue::kCurveDICOM, 1.8,
     CTargetValue::kGamutNative, 0.3},
    {208, 0.299, 0.315, CTargetValue::kIntensityMaximum, 80.0, CTargetValue::kCurveDICOM, 1.8,
     CTargetValue::kGamutNative, 0.3},
    {209, 0.28, 0.304, CTargetValue::kIntensityMaximum, 80.0, CTargetValue::kCurveDICOM, 1.8,
     CTargetValue::kGamutNative, 0.3},
    {207, 0.3127, 0.329, CTargetValue::kIntensityMaximum, 140.0, CTargetValue::kCurveGamma, 2.2,
     CTargetValue::kGamutSRGB, 0.0},
};

} // namespace

QVector<CTargetValue> standardTargets()
{
    QVector<CTargetValue> targets;
    for (const Preset &p : kPresets) {
        CTargetValue t;
        t.m_Name = GetStringResource(p.nameId);
        t.m_WhitePoint = CColorTemperature(_CIExy{p.whiteX, p.whiteY});
        t.m_IntensityType = p.intensityType;
        t.m_Intensity = p.intensity;
        t.m_GammaCurveType = p.curveType;
        t.m_Gamma = p.gamma;
        t.m_ColorGamutType = p.gamut;
        t.m_AuxValue = p.auxValue;
        t.m_ContrastRatio = 0;
        t.m_DICOMScaleFactor = 1.0;
        t.m_UseDICOMScaleFactor = false;
        targets.append(t);
    }
    return targets;
}

} // namespace pz
