#include "ApplicationHooks.h"
#include "CPreferences.h"
#include "CalibrationDue.h"
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

    void daysUntilNextCalibration_data()
    {
        QTest::addColumn<uint>("period");
        QTest::addColumn<int>("daysAgo");
        QTest::addColumn<int>("due");
        QTest::newRow("15 days ago, period 14") << 14u << 15 << -1;
        QTest::newRow("today") << 14u << 0 << 14;
        QTest::newRow("period 0") << 0u << 400 << 0;
        QTest::newRow("period 28") << 28u << 27 << 1;
    }
    void daysUntilNextCalibration()
    {
        QFETCH(uint, period);
        QFETCH(int, daysAgo);
        QFETCH(int, due);
        // Calendar days count, not 24-hour spans.
        const QDateTime now(QDate(2026, 3, 2), QTime(0, 30));
        const QDateTime calibrated(now.date().addDays(-daysAgo), QTime(23, 50));
        QCOMPARE(pz::daysUntilNextCalibration(period, calibrated, now), due);
    }

    // A calibration date from a damaged record, 2^31 days away either way:
    // the answer saturates instead of overflowing an int.
    void daysUntilNextCalibrationOfFarDates()
    {
        const QDateTime now(QDate(2026, 3, 2), QTime(12, 0));
        const qint64 far = qint64(1) << 31;
        const QDateTime future(QDate::fromJulianDay(now.date().toJulianDay() + far), QTime(12, 0));
        const QDateTime past(QDate::fromJulianDay(now.date().toJulianDay() - far), QTime(12, 0));
        QVERIFY(future.isValid() && past.isValid());
        QCOMPARE(pz::daysUntilNextCalibration(14, future, now), std::numeric_limits<int>::max());
        QCOMPARE(pz::daysUntilNextCalibration(14, past, now), int(14 - far));
        const QDateTime further(past.date().addDays(-100), QTime(12, 0));
        QCOMPARE(pz::daysUntilNextCalibration(14, further, now), std::numeric_limits<int>::min());
    }

    void daysUntilNextCalibrationReadsThePreferences()
    {
        const QDateTime longAgo = QDateTime::currentDateTime().addDays(-400);
        QCOMPARE(GetDaysUntilNextCalibration(longAgo), 0); // nothing registered
        CPreferences preferences;
        pz::ScopedPreferences scope(&preferences);
        preferences.SetRecalibrationPeriod(0);
        QCOMPARE(GetDaysUntilNextCalibration(longAgo), 0);
        preferences.SetRecalibrationPeriod(2);
        QCOMPARE(GetDaysUntilNextCalibration(longAgo), -398);
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
