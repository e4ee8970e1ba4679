#include "SensorMatrixCorrection.h"

#include <algorithm>

SensorMatrixCorrection::SensorMatrixCorrection()
{
    for (int i = 0; i < 9; ++i)
        m_Matrix[i] = (i % 4 == 0) ? 1.0 : 0.0;
}

void SensorMatrixCorrection::SetCorrectionMatrixValues(const double *values)
{
    std::copy(values, values + 9, m_Matrix);
}

void SensorMatrixCorrection::GetCorrectionMatrixValues(double *values) const
{
    std::copy(m_Matrix, m_Matrix + 9, values);
}

void SensorMatrixCorrection::vect_mult(const double *matrix, const double *in, double *out)
{
    double result[3];
    for (int row = 0; row < 3; ++row)
        result[row] = matrix[3 * row] * in[0] + matrix[3 * row + 1] * in[1]
                    + matrix[3 * row + 2] * in[2];
    std::copy(result, result + 3, out);
}

CCIEXYZ SensorMatrixCorrection::CorrectSensorMeasurment(CCIEXYZ reading) const
{
    const double in[3] = {reading.X, reading.Y, reading.Z};
    double out[3];
    vect_mult(m_Matrix, in, out);
    return CCIEXYZ(out[0], out[1], out[2]);
}

CCIEYxy SensorMatrixCorrection::CorrectSensorMeasurment(CCIEYxy reading) const
{
    return CorrectSensorMeasurment(CCIEXYZ(reading)).GetCIEYxy();
}
