#include "CAdjustValue.h"
#include "CTargetValue.h"
#include "CalibrationSettingsFileName.h"

#include <QtTest>

class TestMcsFileName : public QObject {
    Q_OBJECT
private slots:
    void names_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("serial");
        QTest::addColumn<bool>("calibrated");
        QTest::addColumn<int>("whiteKelvin"); // 0: D65 chromaticity
        QTest::addColumn<QString>("name");
        QTest::newRow("calibrated")
            << "PZ-272" << "12345678" << true << 0 << "PZ-272 12345678 2026-03-02 09-05 D65 2.20.mcs";
        QTest::newRow("kelvin white")
            << "PZ-272" << "12345678" << true << 6500
            << "PZ-272 12345678 2026-03-02 09-05 6500K 2.20.mcs";
        QTest::newRow("calibration off")
            << "PZ-272" << "12345678" << false << 0 << "PZ-272 12345678 2026-03-02 09-05 .mcs";
        // Names read from the monitor cannot climb out of the folder.
        QTest::newRow("separators from the monitor")
            << "../PZ/272" << QString("ab\\c") + QChar(0) + "d" << false << 0
            << ".._PZ_272 ab_c_d 2026-03-02 09-05 .mcs";
    }
    void names()
    {
        QFETCH(QString, model);
        QFETCH(QString, serial);
        QFETCH(bool, calibrated);
        QFETCH(int, whiteKelvin);
        QFETCH(QString, name);
        CTargetValue target;
        target.CreateDefault();
        if (whiteKelvin)
            target.m_WhitePoint = CColorTemperature(static_cast<unsigned short>(whiteKelvin));
        CAdjustValue result;
        result.SetMonitorName(model);
        result.SetMonitorSerial(serial);
        result.SetIsCalibrationOn(calibrated);
        result.SetCalibrationDateTime(QDateTime(QDate(2026, 3, 2), QTime(9, 5, 41)));
        QCOMPARE(CreateMCSFileName(&target, &result), name);
        QVERIFY(CreateMCSFileName(nullptr, &result).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMcsFileName)
#include "tst_mcsfilename.moc"
