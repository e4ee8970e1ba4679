#pragma once
// A 3x3 correction matrix for a colorimeter's readings on one display, and
// its application to XYZ and Yxy readings. A new object holds the identity,
// so readings pass unchanged until a matrix is loaded. Matrices are nine
// doubles row by row. The matrix comes from GetMatrixForCurrentDisplayAndSensor
// and is used only when the preferences ask for sensor correction.

#include "CCIEXYZ.h"

class SensorMatrixCorrection {
public:
    SensorMatrixCorrection();

    // Copies nine doubles into the matrix, or the matrix out.
    void SetCorrectionMatrixValues(const double *values);
    void GetCorrectionMatrixValues(double *values) const;

    // out = matrix × in; out may be in.
    static void vect_mult(const double *matrix, const double *in, double *out);

    // The matrix applied to (X, Y, Z).
    CCIEXYZ CorrectSensorMeasurment(CCIEXYZ reading) const;
    // The reading as XYZ ((0, Y, 0) when its y is 0), corrected, and back as
    // Yxy (x = y = 0 when X + Y + Z is 0).
    CCIEYxy CorrectSensorMeasurment(CCIEYxy reading) const;

private:
    double m_Matrix[9];
};
