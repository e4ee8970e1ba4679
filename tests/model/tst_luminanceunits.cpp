#include "ApplicationHooks.h"
#include "CPreferences.h"
#include "LuminanceUnits.h"
#include "PreferencesRegistry.h"

#include <QtTest>
#include <limits>

namespace {
const QString kCdm2 = QStringLiteral("cd/m") + QChar(0x00B2);
}

class TestLuminanceUnits : public QObject {
    Q_OBJECT
private slots:
    void displayText_data()
    {
        QTest::addColumn<int>("units");
        QTest::addColumn<double>("candelas");
        QTest::addColumn<int>("minDecimals");
        QTest::addColumn<bool>("withUnits");
        QTest::addColumn<QString>("text");
        QTest::newRow("120") << 0 << 120.0 << 0 << true << "120 " + kCdm2;
        QTest::newRow("5.26") << 0 << 5.26 << 0 << false << "5.3";
        QTest::newRow("10") << 0 << 10.0 << 0 << false << "10";
        QTest::newRow("0.5") << 0 << 0.5 << 0 << false << "0.50";
        QTest::newRow("0.05") << 0 << 0.05 << 0 << false << "0.050";
        QTest::newRow("zero, two decimals") << 0 << 0.0 << 2 << false << "0.00";
        QTest::newRow("negative") << 0 << -3.0 << 1 << false << "-3.0";
        QTest::newRow("negative, minimum below 0") << 0 << -3.0 << -1 << false << "-3";
        QTest::newRow("minimum above computed") << 0 << 250.0 << 2 << false << "250.00";
        QTest::newRow("fL 102.78") << 1 << 102.78 << 0 << true << "30 fL";
        QTest::newRow("fL 34.26 just below 10") << 1 << 34.26 << 0 << false << "10.0";
        QTest::newRow("units other than 1 are cd/m2") << 2 << 34.26 << 0 << true << "34 " + kCdm2;
        QTest::newRow("infinite") << 0 << std::numeric_limits<double>::infinity() << 0 << false
                                  << "inf";
    }
    void displayText()
    {
        QFETCH(int, units);
        QFETCH(double, candelas);
        QFETCH(int, minDecimals);
        QFETCH(bool, withUnits);
        QFETCH(QString, text);
        CPreferences preferences; // no host system installed: no file traffic
        preferences.SetLuminanceUnits(quint8(units));
        pz::ScopedPreferences scope(&preferences);
        QCOMPARE(CandelasToDisplayText(candelas, minDecimals, withUnits), text);
    }

    void conversions()
    {
        QVERIFY(!IsFootLambertsUnits()); // nothing registered
        QCOMPARE(UILuminanceUnitsText(), kCdm2);
        CPreferences preferences;
        pz::ScopedPreferences scope(&preferences);
        QCOMPARE(CandelasToUIUnits(100.0), 100.0);
        preferences.SetLuminanceUnits(1);
        QVERIFY(IsFootLambertsUnits());
        QCOMPARE(UIUnitsToCandelas(30.0), 30.0 * 3.426);
        QCOMPARE(CandelasToUIUnits(3.426), 1.0);
        QCOMPARE(UILuminanceUnitsText(), QString("fL"));
    }

    void fixedHooks()
    {
        QCOMPARE(GetVersionString(), QString("Version 1.0.10.0 (Build 140106)"));
        double m[9];
        std::fill(std::begin(m), std::end(m), 7.0);
        int flag = 5;
        QCOMPARE(GetMatrixForCurrentDisplayAndSensor(m, flag), -1);
        QCOMPARE(flag, 0);
        const double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        for (int i = 0; i < 9; ++i)
            QCOMPARE(m[i], identity[i]);
        QVERIFY(!IsScreenSaverEnabled());
        QCOMPARE(EnableScreenSaver(true), 0);
    }
};

QTEST_GUILESS_MAIN(TestLuminanceUnits)
#include "tst_luminanceunits.moc"
