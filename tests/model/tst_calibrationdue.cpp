// When the next calibration of a display is due.

#include "CPreferences.h"
#include "CalibrationDue.h"
#include "PreferencesRegistry.h"

#include <QtTest>
#include <limits>

class TestCalibrationDue : public QObject {
    Q_OBJECT
private slots:
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
};

QTEST_GUILESS_MAIN(TestCalibrationDue)
#include "tst_calibrationdue.moc"
