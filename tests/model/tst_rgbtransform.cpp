#include "CBradford.h"
#include "CXYZ2RGBTransform.h"

#include <QtTest>
#include <cmath>

namespace {

const CCIEXYZ kRed(0.4124, 0.2126, 0.0193);
const CCIEXYZ kGreen(0.3576, 0.7152, 0.1192);
const CCIEXYZ kBlue(0.1805, 0.0722, 0.9505);

bool near(double a, double b, double tolerance)
{
    return std::fabs(a - b) <= tolerance;
}

} // namespace

Q_DECLARE_METATYPE(CCIEXYZ)

class TestRGBTransform : public QObject {
    Q_OBJECT
private slots:
    void srgbTransform()
    {
        CXYZ2RGBTransform t;
        QCOMPARE(t.InitializeRGBXYZTransforms(kRed, kGreen, kBlue), 0);
        QVERIFY(t.IsValid());
        const rgbColor white = t.XYZ2RGB(xyzColor{0.9505, 1.0, 1.089});
        QVERIFY(near(white.R, 1, 1e-4) && near(white.G, 1, 1e-4) && near(white.B, 1, 1e-4));
        const xyzColor red = t.RGB2XYZ(rgbColor{1, 0, 0});
        QVERIFY(near(red.X, 0.4124, 1e-15) && near(red.Y, 0.2126, 1e-15)
                && near(red.Z, 0.0193, 1e-15));
        // The xyY route gives the same matrix.
        CXYZ2RGBTransform viaXyY;
        auto toXyY = [](const CCIEXYZ &c) {
            const double s = c.X + c.Y + c.Z;
            return xyYColor{c.X / s, c.Y / s, c.Y};
        };
        QCOMPARE(viaXyY.InitializeRGBXYZTransforms(toXyY(kRed), toXyY(kGreen), toXyY(kBlue)), 0);
        const rgbColor g = viaXyY.xyY2RGB(xyYColor{0.3, 0.6, 0.7152});
        QVERIFY(near(g.G, 1.0, 1e-3) && near(g.R, 0, 2e-3) && near(g.B, 0, 2e-3));
    }

    void unusablePrimaries_data()
    {
        QTest::addColumn<CCIEXYZ>("green");
        QTest::newRow("equal primaries") << kRed;
        QTest::newRow("black primary") << CCIEXYZ(0, 0, 0);
        QTest::newRow("nan primary") << CCIEXYZ(qQNaN(), 0.7, 0.1);
        QTest::newRow("infinite primary") << CCIEXYZ(qInf(), 0.7, 0.1);
    }
    void unusablePrimaries()
    {
        QFETCH(CCIEXYZ, green);
        CXYZ2RGBTransform t;
        QCOMPARE(t.InitializeRGBXYZTransforms(kRed, green, kBlue), -1);
        QVERIFY(!t.IsValid());
        const rgbColor rgb = t.XYZ2RGB(kRed);
        QCOMPARE(rgb.R, 0.0);
        QCOMPARE(rgb.G, 0.0);
        QCOMPARE(rgb.B, 0.0);
    }

    // A failed re-initialisation must not leave a stale "valid" transform.
    void failedReinitialisationInvalidates()
    {
        CXYZ2RGBTransform t;
        QCOMPARE(t.InitializeRGBXYZTransforms(kRed, kGreen, kBlue), 0);
        QCOMPARE(t.InitializeRGBXYZTransforms(kRed, kRed, kBlue), -1);
        QVERIFY(!t.IsValid());
        const xyzColor xyz = t.RGB2XYZ(rgbColor{1, 1, 1});
        QCOMPARE(xyz.X, 0.0);
        QCOMPARE(xyz.Y, 0.0);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                QCOMPARE(t.XYZToRGBMatrix().m[i][j], 0.0);
    }

    void freshTransformAndXyY()
    {
        const CXYZ2RGBTransform t;
        QVERIFY(!t.IsValid());
        const rgbColor rgb = t.XYZ2RGB(xyzColor{1, 1, 1});
        QCOMPARE(rgb.R + rgb.G + rgb.B, 0.0);
        const xyzColor z = CXYZ2RGBTransform::xyY2XYZ(xyYColor{0.3127, 0, 100});
        QCOMPARE(z.X, 0.0);
        QCOMPARE(z.Y, 0.0);
        QCOMPARE(z.Z, 0.0);
        const xyzColor w = CXYZ2RGBTransform::xyY2XYZ(xyYColor{0.25, 0.5, 10});
        QCOMPARE(w.X, 5.0);
        QCOMPARE(w.Y, 10.0);
        QCOMPARE(w.Z, 5.0);
    }

    void affineInverseCarriesTranslation()
    {
        Matrix4Struct m{};
        const double block[3][3] = {{2, 0, 0}, {0, 4, 0}, {1, 0, 1}};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                m.m[i][j] = block[i][j];
        m.m[3][0] = 3;
        m.m[3][1] = 8;
        m.m[3][2] = 1;
        m.m[3][3] = 1;
        Matrix4Struct inv;
        QCOMPARE(CXYZ2RGBTransform::affine_matrix4_inverse(&m, &inv), 0);
        // Row vector (p, 1) · m · inv == (p, 1).
        const double p[4] = {0.5, -2, 7, 1};
        double q[4] = {0, 0, 0, 0};
        double r[4] = {0, 0, 0, 0};
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k)
                q[j] += p[k] * m.m[k][j];
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k)
                r[j] += q[k] * inv.m[k][j];
        for (int j = 0; j < 4; ++j)
            QVERIFY(near(r[j], p[j], 1e-12));

        Matrix4Struct untouched{};
        untouched.m[0][0] = 42;
        Matrix4Struct singular{};
        singular.m[3][3] = 1;
        QCOMPARE(CXYZ2RGBTransform::affine_matrix4_inverse(&singular, &untouched), -1);
        QCOMPARE(untouched.m[0][0], 42.0);
    }

    // sRGB adapted from D65 to D50: the well-known colorants of the sRGB
    // ICC profiles computed for the PCS white (0.9642, 1, 0.8249).
    void bradfordSrgbToD50()
    {
        CCIEXYZ r = kRed, g = kGreen, b = kBlue, w(0.9505, 1.0, 1.089);
        CBradford bradford;
        QCOMPARE(bradford.fill_in_c_matrix(&r, &g, &b, &w), 0);
        QCOMPARE(r.Y, 1.0);
        QCOMPARE(w.Y, 1.0);
        QVERIFY(near(w.Z, 1.089, 1e-15));
        CCIEXYZ ar, ag, ab;
        bradford.get_result_matrix(&ar, &ag, &ab);
        const double expected[3][3] = {{0.4361, 0.3851, 0.1431},
                                       {0.2225, 0.7169, 0.0606},
                                       {0.0139, 0.0971, 0.7139}};
        const CCIEXYZ *columns[3] = {&ar, &ag, &ab};
        for (int c = 0; c < 3; ++c) {
            QVERIFY2(near(columns[c]->X, expected[0][c], 1e-4), qPrintable(QString::number(columns[c]->X)));
            QVERIFY2(near(columns[c]->Y, expected[1][c], 1e-4), qPrintable(QString::number(columns[c]->Y)));
            QVERIFY2(near(columns[c]->Z, expected[2][c], 1e-4), qPrintable(QString::number(columns[c]->Z)));
        }
        QVERIFY(near(ar.X + ag.X + ab.X, 0.964188, 1e-5));
        QVERIFY(near(ar.Y + ag.Y + ab.Y, 1.0, 1e-5));
        QVERIFY(near(ar.Z + ag.Z + ab.Z, 0.82489, 1e-5));

        // The chromatic adaptation matrix maps the source white to D50.
        double m[9];
        bradford.get_bradford_matrix(m);
        const double wv[3] = {0.9505, 1.0, 1.089};
        double d50[3];
        CBradford::vect_mult(m, wv, d50);
        QVERIFY(near(d50[0], 0.964188, 1e-5) && near(d50[1], 1.0, 1e-5)
                && near(d50[2], 0.82489, 1e-5));
    }

    void bradfordFromD50IsIdentity()
    {
        CCIEXYZ r = kRed, g = kGreen, b = kBlue, w(0.964188, 1.0, 0.82489);
        CBradford bradford;
        QCOMPARE(bradford.fill_in_c_matrix(&r, &g, &b, &w), 0);
        double m[9];
        bradford.get_bradford_matrix(m);
        for (int i = 0; i < 9; ++i)
            QVERIFY(near(m[i], i % 4 == 0 ? 1.0 : 0.0, 1e-5));
    }

    // Garbage primaries are refused, so no garbage colorants are written.
    void bradfordRefusesUnusableInput_data()
    {
        QTest::addColumn<CCIEXYZ>("green");
        QTest::addColumn<CCIEXYZ>("white");
        const CCIEXYZ d65(0.9505, 1.0, 1.089);
        QTest::newRow("zero Y primary") << CCIEXYZ(0.3, 0, 0.1) << d65;
        QTest::newRow("zero Y white") << kGreen << CCIEXYZ(0.95, 0, 1.0);
        QTest::newRow("singular") << CCIEXYZ(0.4124 * 2, 0.2126 * 2, 0.0193 * 2) << d65;
        // Colorants near 1e13 if it were inverted.
        const double e = 1.0 + 1e-13;
        QTest::newRow("nearly singular") << CCIEXYZ(0.4124 * e, 0.2126 * e, 0.0193 * e) << d65;
        QTest::newRow("nan") << CCIEXYZ(qQNaN(), 1, 1) << d65;
    }
    void bradfordRefusesUnusableInput()
    {
        QFETCH(CCIEXYZ, green);
        QFETCH(CCIEXYZ, white);
        CCIEXYZ r = kRed, g = green, b = kBlue, w = white;
        CBradford bradford;
        QCOMPARE(bradford.fill_in_c_matrix(&r, &g, &b, &w), -1);
        CCIEXYZ ar(9, 9, 9), ag, ab;
        bradford.get_result_matrix(&ar, &ag, &ab);
        QCOMPARE(ar.X, 0.0);
        double m[9];
        bradford.get_bradford_matrix(m);
        QCOMPARE(m[0], 0.0);
    }

    void helpers()
    {
        const double a[9] = {1, 2, 3, 4, 5, 6, 7, 8, 10};
        double t[9];
        CBradford::adjoint(a, t);
        QCOMPARE(t[1], 4.0);
        QCOMPARE(t[3], 2.0);
        QCOMPARE(CBradford::det(a), -3.0);
        double inv[9];
        QCOMPARE(CBradford::inverse(a, inv), 1);
        double id[9];
        CBradford::matrix_multiply(a, inv, id);
        for (int i = 0; i < 9; ++i)
            QVERIFY(near(id[i], i % 4 == 0 ? 1.0 : 0.0, 1e-12));
        const double singular[9] = {1, 2, 3, 2, 4, 6, 0, 0, 1};
        double keep[9] = {5, 5, 5, 5, 5, 5, 5, 5, 5};
        QCOMPARE(CBradford::inverse(singular, keep), 0);
        QCOMPARE(keep[0], 5.0);
    }
};

QTEST_GUILESS_MAIN(TestRGBTransform)
#include "tst_rgbtransform.moc"
