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
