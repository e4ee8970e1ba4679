#pragma once
// Tone curve builders. Every curve maps a normalised drive signal x in
// [0, 1] to a relative luminance y in [0, 1] (0 black, 1 white) and is a
// 256-point Catmull-Rom CSpline. Each builder replaces the whole content of
// the curve it is given and returns 0.

class CSpline;
class CColorValue;
class CTargetValue;

// The standard encodings, with the control points evenly spaced in
// luminance (y = i/255) and x the signal that encodes that luminance.
int CreatesRGBCurveSpline(CSpline *curve);
int CreateNTSC_SMPTE170M_CurveSpline(CSpline *curve);
int CreateHDTV_SMPTE240M_CurveSpline(CSpline *curve);
int CreateLStarCurveSpline(CSpline *curve);

// The tone curve a calibration aims at for a target: DICOM grayscale
// between the measured black and white, the target's custom curve, a gamma
// value, or the identity for a native curve. The measurements are read only
// for the DICOM curve and may be null (nothing measured). Marks the curve
// valid.
int CreateTargetSpline(const CColorValue *measurements, CTargetValue *target, CSpline *curve);

namespace pz {

// The black and white luminance (cd/m²) that the DICOM target curve of a
// target spans, from the measurements as CreateTargetSpline chooses them.
// Always a usable pair: black at least the grayscale function's floor and
// below white.
struct DICOMRange {
    double black;
    double white;
};
DICOMRange dicomTargetRange(const CColorValue *measurements, const CTargetValue &target);

// Lowest black the DICOM target curve accepts: the grayscale function has
// no JND index at or below about 0.0455 cd/m².
constexpr double kDICOMMinimumBlack = 0.05;

} // namespace pz
