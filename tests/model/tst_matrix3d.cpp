#include "CBradford.h"
#include "CXYZ2RGBTransform.h"
#include "Matrix3d.h"

#include <QtTest>
#include <cmath>
#include <sstream>

class TestMatrix3d : public QObject {
    Q_OBJECT
private slots:
    void identity()
    {
        const Matrix3d identity;
        const Vector3d v{0.25, -3.5, 7.0};
        const Vector3d r = identity * v;
        QCOMPARE(r.x, v.x);
        QCOMPARE(r.y, v.y);
        QCOMPARE(r.z, v.z);
        const Matrix3d inv = identity.Inverse();
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                QCOMPARE(inv(i, j), i == j ? 1.0 : 0.0);
        QCOMPARE(identity.Determinant(), 1.0);
    }

    void inverseOfColourMatrix()
    {
        // sRGB primaries as columns.
        const Matrix3d rgbToXyz(0.4124, 0.3576, 0.1805, 0.2126, 0.7152, 0.0722, 0.0193, 0.1192,
                                0.9505);
        const Matrix3d xyzToRgb = rgbToXyz.Inverse();
        const Vector3d white = rgbToXyz * Vector3d{1, 1, 1};
        const Vector3d back = xyzToRgb * white;
        QVERIFY(std::fabs(back.x - 1) < 1e-12);
        QVERIFY(std::fabs(back.y - 1) < 1e-12);
        QVERIFY(std::fabs(back.z - 1) < 1e-12);
        QVERIFY(std::fabs(xyzToRgb(0, 0) - 3.2406) < 1e-3);

        const Matrix3d scaled = rgbToXyz * 2.0;
        QCOMPARE(scaled(2, 2), 1.901);
        QVERIFY(std::fabs(scaled.Determinant() - 8 * rgbToXyz.Determinant()) < 1e-12);
    }

    void singularIsNotFinite()
    {
        const Matrix3d singular(1, 2, 3, 2, 4, 6, 0, 1, 1);
        QCOMPARE(singular.Determinant(), 0.0);
        const Matrix3d inv = singular.Inverse();
        bool anyNonFinite = false;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                anyNonFinite |= !std::isfinite(inv(i, j));
        QVERIFY(anyNonFinite);
    }

    // The three 3x3 inverses of the program judge a matrix alike: by the
    // size of its determinant against the products it is made of, not by
    // its size alone.
    void inversesAgreeOnSingularity_data()
    {
        QTest::addColumn<QVector<double>>("matrix"); // row by row
        QTest::addColumn<bool>("invertible");
        // sRGB red, green and blue as columns.
        const double r[3] = {0.4124, 0.2126, 0.0193}, g[3] = {0.3576, 0.7152, 0.1192},
                     b[3] = {0.1805, 0.0722, 0.9505};
        QTest::newRow("sRGB primaries")
            << QVector<double>{r[0], g[0], b[0], r[1], g[1], b[1], r[2], g[2], b[2]} << true;
        const double e = 1.0 + 1e-13;
        QTest::newRow("green = red (1 + 1e-13)")
            << QVector<double>{r[0], r[0] * e, b[0], r[1], r[1] * e, b[1], r[2], r[2] * e, b[2]}
            << false;
        QTest::newRow("green = red, normalised to Y = 1")
            << QVector<double>{r[0] / r[1], r[0] * e / (r[1] * e), b[0] / b[1], 1, 1, 1,
                               r[2] / r[1], r[2] * e / (r[1] * e), b[2] / b[1]}
            << false;
        QTest::newRow("exactly singular") << QVector<double>{1, 2, 3, 2, 4, 6, 0, 1, 1} << false;
        QTest::newRow("tiny but well conditioned")
            << QVector<double>{1e-7, 0, 0, 0, 2e-7, 0, 0, 0, 3e-7} << true;
        QTest::newRow("not finite") << QVector<double>{qInf(), 0, 0, 0, 1, 0, 0, 0, 1} << false;
    }
    void inversesAgreeOnSingularity()
    {
        QFETCH(QVector<double>, matrix);
        QFETCH(bool, invertible);
        const double *m = matrix.constData();

        double core[9] = {7, 7, 7, 7, 7, 7, 7, 7, 7};
        QCOMPARE(pz::invertMatrix3(m, core), invertible);
        if (!invertible)
            QCOMPARE(core[0], 7.0);

        double bradford[9] = {7, 7, 7, 7, 7, 7, 7, 7, 7};
        QCOMPARE(CBradford::inverse(m, bradford), invertible ? 1 : 0);
        QCOMPARE(bradford[4], invertible ? core[4] : 7.0);

        Matrix4Struct wide{};
        for (int i = 0; i < 9; ++i)
            wide.m[i / 3][i % 3] = m[i];
        wide.m[3][3] = 1.0;
        Matrix4Struct affine{};
        QCOMPARE(CXYZ2RGBTransform::affine_matrix4_inverse(&wide, &affine), invertible ? 0 : -1);
        if (invertible)
            QCOMPARE(affine.m[1][1], core[4]);

        const Matrix3d inverse =
            Matrix3d(m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8]).Inverse();
        for (int i = 0; i < 9; ++i) {
            if (invertible)
                QCOMPARE(inverse(i / 3, i % 3), core[i]);
            else
                QVERIFY(std::isnan(inverse(i / 3, i % 3)));
        }
    }

    void printing()
    {
        std::ostringstream xyz;
        xyz << CIEXYZ{0.5, 1, 0.25};
        QCOMPARE(QString::fromStdString(xyz.str()), QStringLiteral("0.5 1 0.25"));
        std::ostringstream dpx;
        dpx << DPX{42, {0.964188, 1.0, 0.82489}};
        QCOMPARE(QString::fromStdString(dpx.str()), QStringLiteral("0.964188 1 0.82489"));
    }
};

QTEST_GUILESS_MAIN(TestMatrix3d)
#include "tst_matrix3d.moc"
