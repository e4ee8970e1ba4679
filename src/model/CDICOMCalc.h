#pragma once
// The DICOM PS 3.14 Grayscale Standard Display Function for one display:
// luminance <-> JND index, and the JND range between a black and a white
// luminance divided into equal steps. Works in single precision throughout,
// so results match a double-precision GSDF to about six significant digits.

class CDICOMCalc {
public:
    CDICOMCalc(float black, float white, int steps);
    virtual ~CDICOMCalc() = default;

    // True when the steps are defined: both luminances have a JND index
    // above 0 (about 0.0455 cd/m² and up), white lies above black and the
    // step count is positive. Otherwise the look-ups fall back to a linear ramp.
    bool IsValid() const { return m_Valid; }

    float GetTotalJNDs() const { return m_TotalJNDs; }
    float GetAverageJNDperDDL() const { return m_JNDsPerStep; }

    // j(L); 0 for L <= 0.
    float LumToIndex(float L) const;
    // L(j); 0 for j <= 0.
    float IndexToLum(float j) const;

    // Luminance of step i.
    float GetLumAtLutOffset(int i) const;
    // Relative luminance of step i between the function's own black and
    // white: 0 at step 0, 1 at the last step, 0 past it.
    float GetLutIndexFloatRatio(int i) const;
    // scale · GetLutIndexFloatRatio(i), rounded; 65535 gives the 16-bit
    // table value of step i.
    int GetLutIndex(int i, int scale) const;

private:
    float ratio(int i) const;

    float m_BlackLum;
    float m_WhiteLum;
    float m_TotalJNDs = 0.0f;
    float m_JNDsPerStep = 0.0f;
    float m_BlackIndex = 0.0f;
    float m_WhiteIndex = 0.0f;
    int m_Steps;
    bool m_Valid = false;
};
