// The sensor correction matrix: applying it to readings, the 3x3 operations,
// and deriving matrices from primaries and whites, including the inputs that
// give no matrix.

#include "CalculateSensorCorrectionMatrix.h"
#include "SensorMatrixCorrection.h"

#include <QtTest>
#include <cmath>
#include <limits>

namespace {

using Calc = CalculateSensorCorrectionMatrix;

const CCIEYxy kSrgb[3] = {CCIEYxy(1, 0.64, 0.33), CCIEYxy(1, 0.30, 0.60), CCIEYxy(1, 0.15, 0.06)};
const _CIExy kD65{0.3127, 0.3290};
const double kIdentity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

// Every element within tolerance of the expected matrix.
bool matrixNear(const double *actual, const double *expected, double tolerance)
{
    for (int i = 0; i < 9; ++i)
        if (!(std::fabs(actual[i] - expected[i]) <= tolerance)) {
            qWarning("element %d: %.9f, expected %.9f", i, actual[i], expected[i]);
            return false;
        }
    return true;
}

void fill(double *m, double value)
{
    for (int i = 0; i < 9; ++i)
        m[i] = value;
}

bool allEqual(const double *m, double value)
{
    for (int i = 0; i < 9; ++i)
        if (m[i] != value)
            return false;
    return true;
}

CCIEXYZ whiteAt(_CIExy xy, double Y) { return CCIEXYZ(CCIEYxy(Y, xy.x, xy.y)); }

// The measured side of a correction: the reference primaries at the
// luminances that add up to the reference white, each scaled by `scale`.
void measuredPrimariesOf(const CCIEYxy *primaries, CCIEXYZ white, double scale, CCIEXYZ *out)
{
    double P[9];
    for (int j = 0; j < 3; ++j) {
        const CCIEXYZ unit(CCIEYxy(1.0, primaries[j].x, primaries[j].y));
        P[j] = unit.X;
        P[3 + j] = unit.Y;
        P[6 + j] = unit.Z;
    }
    double inv[9];
    QVERIFY(Calc::inverse(P, inv));
    const double W[3] = {white.X, white.Y, white.Z};
    double S[3];
    Calc::vect_mult(inv, W, S);
    for (int j = 0; j < 3; ++j)
        out[j] = CCIEXYZ(scale * S[j] * P[j], scale * S[j] * P[3 + j], scale * S[j] * P[6 + j]);
}

} // namespace

class TestCorrectionMatrix : public QObject {
    Q_OBJECT
private slots:
    void newCorrectionIsIdentity()
    {
        SensorMatrixCorrection c;
        double m[9];
        c.GetCorrectionMatrixValues(m);
        QVERIFY(matrixNear(m, kIdentity, 0.0));
        const CCIEXYZ out = c.CorrectSensorMeasurment(CCIEXYZ(12.5, 33.0, 7.25));
        QCOMPARE(out.X, 12.5);
        QCOMPARE(out.Y, 33.0);
        QCOMPARE(out.Z, 7.25);
    }

    void correctsReadings()
    {
        SensorMatrixCorrection c;
        const double diag[9] = {2, 0, 0, 0, 1, 0, 0, 0, 0.5};
        c.SetCorrectionMatrixValues(diag);
        const CCIEXYZ reading(10, 20, 30);
        const CCIEXYZ out = c.CorrectSensorMeasurment(reading);
        QCOMPARE(out.X, 20.0);
        QCOMPARE(out.Y, 20.0);
        QCOMPARE(out.Z, 15.0);
        QCOMPARE(reading.X, 10.0);

        // Every element in its place: row r of the result is row r of the
        // matrix against (X, Y, Z).
        const double full[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
        c.SetCorrectionMatrixValues(full);
        double back[9];
        c.GetCorrectionMatrixValues(back);
        QVERIFY(matrixNear(back, full, 0.0));
        const CCIEXYZ v = c.CorrectSensorMeasurment(CCIEXYZ(1, 10, 100));
        QCOMPARE(v.X, 321.0);
        QCOMPARE(v.Y, 654.0);
        QCOMPARE(v.Z, 987.0);

        // A Yxy reading with y = 0 is taken as (0, Y, 0): the result is the
        // matrix's middle column times Y, returned as Yxy.
        const CCIEYxy r = c.CorrectSensorMeasurment(CCIEYxy(50, 0.3, 0));
        QCOMPARE(r.Y, 250.0);
        QCOMPARE(r.x, 100.0 / 750.0);
        QCOMPARE(r.y, 250.0 / 750.0);
        c.SetCorrectionMatrixValues(kIdentity);
        const CCIEYxy same = c.CorrectSensorMeasurment(CCIEYxy(80, 0.3127, 0.3290));
        QVERIFY(std::fabs(same.Y - 80) < 1e-12 && std::fabs(same.x - 0.3127) < 1e-12
                && std::fabs(same.y - 0.3290) < 1e-12);
    }

    void matrixOperations()
    {
        const double m[9] = {1, 2, 3, 0, 1, 4, 5, 6, 0};
        QCOMPARE(Calc::det(m), 1.0);

        double inv[9];
        QCOMPARE(Calc::inverse(m, inv), 1);
        const double expected[9] = {-24, 18, 5, 20, -15, -4, -5, 4, 1};
        QVERIFY(matrixNear(inv, expected, 1e-12));

        // Not symmetric in any way, so a transposed result shows.
        const double a[9] = {2, 0, 1, 1, 3, 0, 0, 1, 4};
        const double aDet = Calc::det(a);
        QCOMPARE(aDet, 25.0);
        QCOMPARE(Calc::inverse(a, inv), 1);
        double product[9];
        Calc::matrix_multiply(a, inv, product);
        QVERIFY(matrixNear(product, kIdentity, 1e-12));
        Calc::matrix_multiply(inv, a, product);
        QVERIFY(matrixNear(product, kIdentity, 1e-12));

        double t[9];
        Calc::adjoint(m, t);
        const double transposed[9] = {1, 0, 5, 2, 1, 6, 3, 4, 0};
        QVERIFY(matrixNear(t, transposed, 0.0));

        const double b[9] = {1, 1, 0, 0, 1, 1, 1, 0, 1};
        Calc::matrix_multiply(m, b, product);
        const double mb[9] = {4, 3, 5, 4, 1, 5, 5, 11, 6};
        QVERIFY(matrixNear(product, mb, 0.0));

        const double in[3] = {1, 10, 100};
        double out[3];
        Calc::vect_mult(m, in, out);
        QCOMPARE(out[0], 321.0);
        QCOMPARE(out[1], 410.0);
        QCOMPARE(out[2], 65.0);
    }

    void singularMatrixLeavesOutputUntouched()
    {
        const double zeroRow[9] = {1, 2, 3, 0, 0, 0, 4, 5, 6};
        double out[9];
        fill(out, 7.0);
        QCOMPARE(Calc::inverse(zeroRow, out), 0);
        QVERIFY(allEqual(out, 7.0));
    }

    void srgbPrimariesNormalisedToD65()
    {
        // Measured primaries along X, Y and Z with a white of (1, 1, 1) make
        // the measured side the identity, so the correction is the reference
        // primaries normalised to the reference white.
        const CCIEXYZ axes[3] = {CCIEXYZ(1, 0, 0), CCIEXYZ(0, 1, 0), CCIEXYZ(0, 0, 1)};
        double out[9];
        QCOMPARE(Calc::calculate_correction_matrix(CCIEXYZ(100, 100, 100), axes, whiteAt(kD65, 100),
                                                   kSrgb, out),
                 1);
        const double expected[9] = {0.412391, 0.357584, 0.180481, 0.212639, 0.715169,
                                    0.072192, 0.019331, 0.119195, 0.950532};
        QVERIFY(matrixNear(out, expected, 5e-7));
    }

    void conversionMatrix()
    {
        const CCIEYxy wideGreen[3] = {kSrgb[0], CCIEYxy(1, 0.21, 0.71), kSrgb[2]};
        double out[9];
        QCOMPARE(Calc::calculate_conversion_matrix(kD65, kSrgb, wideGreen, kIdentity, out), 1);
        const double expected[9] = {1.699587, -0.576854, -0.080870, 0.359806, 0.704423,
                                    -0.042608, 0.074241, -0.111158, 1.037275};
        QVERIFY(matrixNear(out, expected, 5e-7));

        // The matrix given is multiplied in on the right.
        const double scale[9] = {2, 0, 0, 0, 2, 0, 0, 0, 2};
        double scaled[9];
        QCOMPARE(Calc::calculate_conversion_matrix(kD65, kSrgb, wideGreen, scale, scaled), 1);
        for (int i = 0; i < 9; ++i)
            QVERIFY(std::fabs(scaled[i] - 2 * out[i]) < 1e-12);
    }

    void correctionMatrix()
    {
        const CCIEXYZ white = whiteAt(kD65, 120);
        CCIEXYZ measured[3];
        measuredPrimariesOf(kSrgb, white, 1.0, measured);
        double out[9];
        QCOMPARE(Calc::calculate_correction_matrix(white, measured, white, kSrgb, out), 1);
        QVERIFY(matrixNear(out, kIdentity, 1e-10));

        // The primaries at other positive luminances change nothing.
        CCIEXYZ dimmer[3];
        measuredPrimariesOf(kSrgb, white, 0.25, dimmer);
        QCOMPARE(Calc::calculate_correction_matrix(white, dimmer, white, kSrgb, out), 1);
        QVERIFY(matrixNear(out, kIdentity, 1e-10));

        // Every measured value 5 % high.
        CCIEXYZ high[3];
        measuredPrimariesOf(kSrgb, white, 1.05, high);
        QCOMPARE(Calc::calculate_correction_matrix(1.05 * white, high, white, kSrgb, out), 1);
        const double d = 1.0 / 1.05;
        const double expected[9] = {d, 0, 0, 0, d, 0, 0, 0, d};
        QVERIFY(matrixNear(out, expected, 1e-10));

        // A real correction takes the measured white onto the reference.
        CCIEXYZ skewed[3] = {CCIEXYZ(50, 26, 3), CCIEXYZ(33, 70, 12), CCIEXYZ(17, 8, 90)};
        const CCIEXYZ measuredWhite(101, 102, 103);
        QCOMPARE(Calc::calculate_correction_matrix(measuredWhite, skewed, white, kSrgb, out), 1);
        const double w[3] = {measuredWhite.X, measuredWhite.Y, measuredWhite.Z};
        double corrected[3];
        Calc::vect_mult(out, w, corrected);
        QVERIFY(std::fabs(corrected[0] - white.X) < 1e-9);
        QVERIFY(std::fabs(corrected[1] - white.Y) < 1e-9);
        QVERIFY(std::fabs(corrected[2] - white.Z) < 1e-9);
    }

    void derivationsWithoutAResult_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("conversion: white y 0") << 0;
        QTest::newRow("conversion: primaries A two alike") << 1;
        QTest::newRow("conversion: primaries B two alike") << 2;
        QTest::newRow("conversion: NaN in the matrix given") << 3;
        QTest::newRow("correction: reference Y 0") << 4;
        QTest::newRow("correction: reference Y negative") << 5;
        QTest::newRow("correction: measured primaries dependent") << 6;
        QTest::newRow("correction: reference primaries two alike") << 7;
        QTest::newRow("correction: measured white black") << 8;
        QTest::newRow("correction: NaN reading") << 9;
    }
    void derivationsWithoutAResult()
    {
        QFETCH(int, which);
        // Two primaries alike: the determinant is exactly 0.
        const CCIEYxy twoAlike[3] = {kSrgb[0], kSrgb[0], kSrgb[2]};
        const double nanMatrix[9] = {1, 0, 0, 0, std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, 1};
        const CCIEXYZ white = whiteAt(kD65, 100);
        CCIEXYZ measured[3];
        measuredPrimariesOf(kSrgb, white, 1.0, measured);
        const CCIEXYZ dependent[3] = {CCIEXYZ(1, 2, 3), CCIEXYZ(2, 4, 6), CCIEXYZ(0, 1, 0)};
        CCIEXYZ withNaN[3] = {measured[0], measured[1], measured[2]};
        withNaN[1].Y = std::numeric_limits<double>::quiet_NaN();

        double out[9];
        fill(out, 7.0);
        int result = -1;
        switch (which) {
        case 0: result = Calc::calculate_conversion_matrix({0.3, 0.0}, kSrgb, kSrgb, kIdentity, out); break;
        case 1: result = Calc::calculate_conversion_matrix(kD65, twoAlike, kSrgb, kIdentity, out); break;
        case 2: result = Calc::calculate_conversion_matrix(kD65, kSrgb, twoAlike, kIdentity, out); break;
        case 3: result = Calc::calculate_conversion_matrix(kD65, kSrgb, kSrgb, nanMatrix, out); break;
        case 4: result = Calc::calculate_correction_matrix(white, measured, whiteAt(kD65, 0), kSrgb, out); break;
        case 5: result = Calc::calculate_correction_matrix(white, measured, CCIEXYZ(-95, -100, -108), kSrgb, out); break;
        case 6: result = Calc::calculate_correction_matrix(white, dependent, white, kSrgb, out); break;
        case 7: result = Calc::calculate_correction_matrix(white, measured, white, twoAlike, out); break;
        case 8: result = Calc::calculate_correction_matrix(CCIEXYZ(0, 0, 0), measured, white, kSrgb, out); break;
        case 9: result = Calc::calculate_correction_matrix(white, withNaN, white, kSrgb, out); break;
        }
        QCOMPARE(result, 0);
        QVERIFY(allEqual(out, 7.0));
    }
};

QTEST_GUILESS_MAIN(TestCorrectionMatrix)
#include "tst_correctionmatrix.moc"
