// The HX series monitor object against the simulated HX monitor on the
// virtual clock: the known state, the calibration set-up batch, putting a
// stored calibration back and comparing with it, the wait for the colour engine, the native
// primaries, the profile-id table, the sensor-correction table and backup,
// and the power-on hours the series reads from EEPROM.

#include "CAdjustValue.h"
#include "CDDCMonitor_LCDHXSeries.h"
#include "CTargetValue.h"
#include "SeriesRig.h"

#include <QtTest>
#include <cstring>

Q_DECLARE_METATYPE(pz::SimMonitorConfig)

using namespace pz;
using namespace pz::test;

namespace {

using HXRig = SeriesRig<CDDCMonitor_LCDHXSeries>;
using Writes = QVector<QPair<int, uint>>;

// The stored colour-engine values of a calibration to sRGB primaries, D65
// as x 0.313 y 0.329, black level 0.5 cd/m², luminance target 120.
CAdjustValue storedCalibration()
{
    CAdjustValue result;
    const qint16 values[] = {640, 330, 300, 600, 150, 60, 313, 329, 5};
    std::copy(std::begin(values), std::end(values), result.m_MonitorSpecificValues);
    result.m_Brightness = 120;
    result.m_CalibrationDateTime = QDateTime(QDate(2026, 12, 1), QTime(9, 30));
    return result;
}

CTargetValue gammaTarget(double gamma = 2.2)
{
    CTargetValue target;
    target.CreateDefault();
    target.m_Gamma = gamma;
    return target;
}

QByteArray xyzRecord(quint32 X, quint32 Y, quint32 Z)
{
    QByteArray r(16, 0);
    const quint32 v[3] = {X, Y, Z};
    for (int i = 0; i < 3; ++i)
        for (int b = 0; b < 4; ++b)
            r[4 + 4 * i + b] = char((v[i] >> (8 * b)) & 0xFF);
    return r;
}

color_sensor_eeprom_data_table_entry sensorEntry(quint16 type, quint16 model, const char *serial,
                                                 qint16 diagonal)
{
    color_sensor_eeprom_data_table_entry e;
    e.sensorType = type;
    e.sensorModel = model;
    std::strncpy(e.serial, serial, 12);
    std::strncpy(e.text, "SENSOR MATRIX", 14);
    for (int i = 0; i < 9; ++i)
        e.matrix[i] = i % 4 == 0 ? diagonal : qint16(-25 * i);
    return e;
}

} // namespace

class TestLCDHXSeries : public QObject {
    Q_OBJECT

private slots:
    void knownState_data();
    void knownState();
    void calibrationSetUp_data();
    void calibrationSetUp();
    void gamutWithoutUsablePrimariesIsRefused();
    void nativePrimaries();
    void nativePrimariesFallBackToEdid();
    void restoreThenCompare();
    void comparisonNoticesEachRegister_data();
    void comparisonNoticesEachRegister();
    void comparisonOfSilentMonitor();
    void toneCurveRegisters_data();
    void toneCurveRegisters();
    void colourProcessing_data();
    void colourProcessing();
    void profileIdTable();
    void profileIdTableWithDamagedCount();
    void sensorCorrectionTable();
    void sensorCorrectionBackup();
    void backupOfUnsupportedCode();
    void initialBackup();
    void powerOnHours_data();
    void powerOnHours();
    void powerOnHoursWithUnreadableCounter();
    void colourProcessingProbeOfSilentMonitor();
    void nativeGammaGamutTable();
    void fixedAnswers();
};

void TestLCDHXSeries::knownState_data()
{
    addTransportColumn();
    addTransportRows();
}

void TestLCDHXSeries::knownState()
{
    QFETCH(int, transport);
    HXRig rig{MonitorTransport(transport)};
    QCOMPARE(rig.connect(), 0);
    // Every register away from the known state, so that each is written.
    const Writes away{{0x2B3, 200},  {0x268, 5},    {0x2E8, 130},
                      {0x1052, 300}, {0x1053, 310}, {0x1067, 3}};
    for (const auto &w : away)
        rig.sim().setRegister(quint16(w.first), quint16(w.second));
    const Writes known{{0x2B3, 160},  {0x268, 9},    {0x2E8, 170},
                       {0x1052, 313}, {0x1053, 329}, {0x1067, 1}};
    ProgressLog progress(&rig.monitor);
    rig.clearLogs();

    QCOMPARE(rig.monitor.ResetMonitorToKnownState(), 0);
    QCOMPARE(rig.pagedWrites(), known);
    for (const auto &w : known)
        QCOMPARE(uint(rig.sim().registerValue(quint16(w.first))), w.second);
    // Luminance 1 s, gamma mode and gamma value their settle time, white
    // none, and 0.5 s before the engine start is compared, 5 s after it.
    QCOMPARE(rig.settleWaitTicks(), ticksOf({1000, 2000, 2000, 500, 5000}));
    QCOMPARE(progress.messages().first(), qMakePair(2u, 6u));
    QCOMPARE(progress.steps(), 6);

    // Only where the monitor differs: the luminance target is always sent.
    rig.clearLogs();
    QCOMPARE(rig.monitor.ResetMonitorToKnownState(), 0);
    QCOMPARE(rig.pagedWrites(), (Writes{{0x2B3, 160}}));
    QCOMPARE(rig.settleWaitTicks(), ticksOf({1000, 500}));
}

void TestLCDHXSeries::calibrationSetUp_data()
{
    QTest::addColumn<int>("transport");
    QTest::addColumn<int>("gamut");
    QTest::addColumn<bool>("clearedPrimaries");
    QTest::addColumn<Writes>("primaryWrites");

    // sRGB: blue equals the panel's native blue, so it is not sent again.
    const Writes srgb{{0x1055, 640}, {0x1056, 330}, {0x1057, 300}, {0x1058, 600}};
    // Native: the primaries come from the factory records in EEPROM.
    const Writes native{{0x1055, 680}, {0x1056, 310}, {0x1057, 210},
                        {0x1058, 710}, {0x1059, 150}, {0x105A, 60}};
    QTest::newRow("sRGB i2c") << int(MonitorTransport::I2C) << 1 << false << srgb;
    QTest::newRow("sRGB usb") << int(MonitorTransport::USB) << 1 << false << srgb;
    QTest::newRow("native from EEPROM") << int(MonitorTransport::I2C) << 0 << true << native;
}

void TestLCDHXSeries::calibrationSetUp()
{
    QFETCH(int, transport);
    QFETCH(int, gamut);
    QFETCH(bool, clearedPrimaries);
    QFETCH(Writes, primaryWrites);

    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    if (clearedPrimaries)
        for (quint16 code = 0x1055; code <= 0x105A; ++code)
            config.registerValues[code] = 0;
    HXRig rig(MonitorTransport(transport), config);
    QCOMPARE(rig.connect(), 0);
    CTargetValue target = gammaTarget();
    target.m_ColorGamutType = CTargetValue::typeColorGamutType(gamut);
    ProgressLog progress(&rig.monitor);
    rig.clearLogs();

    QCOMPARE(rig.monitor.ConfigureMonitorControlsForCalibration(&target), 0);

    Writes expected{{0x105F, 1}, {0x105B, 1}, {0x1050, 5}, {0x1051, 10}, {0x106B, 3},
                    {0x1069, 1}, {0x66, 1},   {0x105C, 1}, {0x233, 1},   {0x254, 0}};
    expected += primaryWrites;
    expected.append({0x1062, 1});
    QCOMPARE(rig.pagedWrites(), expected);
    for (const auto &w : expected)
        QCOMPARE(uint(rig.sim().registerValue(quint16(w.first))), w.second);
    // 0x105F, 0x105B, 0x1050, 0x1051, 0x1069, 0x105C wait; the rest do not.
    QCOMPARE(rig.settleWaitTicks(), ticksOf({2000, 2000, 3500, 2000, 2000, 2000}));
    QCOMPARE(progress.messages().first(), qMakePair(2u, 17u));
    QCOMPARE(progress.steps(), 17);
    const color_primaries p = rig.monitor.Primaries();
    QVERIFY(p.valid);
    QCOMPARE(uint(p.redX), primaryWrites[0].second);
}

void TestLCDHXSeries::gamutWithoutUsablePrimariesIsRefused()
{
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    CTargetValue target = gammaTarget();
    target.m_ColorGamutType = CTargetValue::kGamutCustom;
    target.SetCustomColorGamutValues(CCIEYxy(1, 0.64, 0.33), CCIEYxy(1, 0.30, 0.60),
                                     CCIEYxy(1, 0.15, -0.06));
    rig.clearLogs();
    QCOMPARE(rig.monitor.ConfigureMonitorControlsForCalibration(&target), -1);
    QVERIFY(rig.pagedWrites().isEmpty());

    target.SetCustomColorGamutValues(CCIEYxy(1, 0.70, 0.29), CCIEYxy(1, 0.17, 0.797),
                                     CCIEYxy(1, 0.131, 0.046));
    QCOMPARE(rig.monitor.ConfigureMonitorControlsForCalibration(&target), 0);
    QCOMPARE(rig.sim().registerValue(0x1058), quint16(797));
    QCOMPARE(rig.sim().registerValue(0x105A), quint16(46));

    // A gamut type the class does not know keeps the primaries last sent,
    // and with none sent yet it sends nothing.
    target.m_ColorGamutType = CTargetValue::typeColorGamutType(42);
    QCOMPARE(rig.monitor.ConfigureMonitorControlsForCalibration(&target), 0);
    QCOMPARE(rig.sim().registerValue(0x1058), quint16(797));
    HXRig fresh;
    QCOMPARE(fresh.connect(), 0);
    fresh.clearLogs();
    QCOMPARE(fresh.monitor.ConfigureMonitorControlsForCalibration(&target), -1);
    QVERIFY(fresh.pagedWrites().isEmpty());
}

void TestLCDHXSeries::nativePrimaries()
{
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    const SimLightParams &light = rig.sim().config().light;
    const auto thousandths = [](double v) { return quint16(v * 1000.0 + 0.5); };

    color_primaries p;
    QCOMPARE(rig.monitor.GetNativePrimaries(&p), 0);
    QVERIFY(p.valid);
    QCOMPARE(p.redX, thousandths(light.red.x));
    QCOMPARE(p.redY, thousandths(light.red.y));
    QCOMPARE(p.greenX, thousandths(light.green.x));
    QCOMPARE(p.greenY, thousandths(light.green.y));
    QCOMPARE(p.blueX, thousandths(light.blue.x));
    QCOMPARE(p.blueY, thousandths(light.blue.y));

    CCIEYxy xy[3];
    QCOMPARE(rig.monitor.GetMonitorEDIDColorCoordinates(xy), 0);
    QCOMPARE(xy[1].Y, 1.0);
    QCOMPARE(xy[1].x, 0.210);
    QCOMPARE(xy[1].y, 0.710);

    // A green record without counts leaves green as it was; counts near
    // the 32-bit limit must not overflow their sum.
    rig.sim().setEeprom(0x8810, xyzRecord(0, 0, 0));
    rig.sim().setEeprom(0x8820, xyzRecord(0xFFFFFFF0u, 0x7FFFFFF8u, 0x7FFFFFF8u));
    color_primaries q;
    q.greenX = 111;
    q.greenY = 222;
    QCOMPARE(rig.monitor.GetNativePrimaries(&q), 0);
    QVERIFY(q.valid);
    QCOMPARE(q.greenX, quint16(111));
    QCOMPARE(q.greenY, quint16(222));
    QCOMPARE(q.blueX, quint16(500));
    QCOMPARE(q.blueY, quint16(250));
}

void TestLCDHXSeries::nativePrimariesFallBackToEdid()
{
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    rig.sim().addFault({SimFaultKind::NakRead, 0xC0, 0x09, 1000});
    color_primaries p;
    QVERIFY(rig.monitor.GetNativePrimaries(&p) != 0);
    QVERIFY(!p.valid);

    CCIEYxy xy[3];
    QCOMPARE(rig.monitor.GetMonitorEDIDColorCoordinates(xy), 0);
    // The EDID holds the chromaticities in 10-bit fractions.
    QVERIFY(qAbs(xy[0].x - 0.680) < 0.001);
    QVERIFY(qAbs(xy[2].y - 0.060) < 0.001);
}

void TestLCDHXSeries::restoreThenCompare()
{
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    CAdjustValue result = storedCalibration();
    CTargetValue target = gammaTarget();
    ProgressLog progress(&rig.monitor);
    rig.clearLogs();

    QCOMPARE(rig.monitor.SetToAdjustValue(&result, &target), 0);
    const Writes expected{{0x1050, 5},  {0x1051, 10}, {0x1067, 3},   {0x106B, 3},
                          {0x1069, 1},  {0x233, 1},   {0x105D, 31},  {0x254, 0},
                          {0x1055, 640}, {0x1056, 330}, {0x1057, 300}, {0x1058, 600},
                          {0x14, 11},   {0x2B3, 120}, {0x1054, 5},   {0x1067, 1}};
    QCOMPARE(rig.pagedWrites(), expected);
    // Batch waits, then 2 s, the refresh, 2 s, processing start, 4 s, save.
    QCOMPARE(rig.settleWaitTicks(),
             ticksOf({3500, 2000, 2000, 2000, 1000, 2000, 2000, 3000, 2000, 4000, 2000}));
    QCOMPARE(rig.rig.requestsStartingWith(hex("C2 06")).size(), 1);
    QCOMPARE(rig.rig.requestsStartingWith(hex("0C")).size(), 1);
    QCOMPARE(progress.messages().first(), qMakePair(2u, 21u));
    QCOMPARE(progress.steps(), 22);

    QCOMPARE(rig.monitor.IsAdjustedToSettings(&result, &target), 1);
    rig.sim().setRegister(0x1052, 320);
    QCOMPARE(rig.monitor.IsAdjustedToSettings(&result, &target), 0);
    // For a native white point the white registers do not count, the preset does.
    target.m_WhitePoint = CColorTemperature(static_cast<unsigned short>(0));
    QCOMPARE(rig.monitor.IsAdjustedToSettings(&result, &target), 0);
    rig.sim().setRegister(0x14, 2);
    QCOMPARE(rig.monitor.IsAdjustedToSettings(&result, &target), 1);
    rig.sim().setRegister(0x254, 1);
    QCOMPARE(rig.monitor.IsAdjustedToSettings(&result, &target), 0);
}

void TestLCDHXSeries::comparisonNoticesEachRegister_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("value");   // one off what the stored calibration set
    const int changed[][2] = {{0x1055, 641}, {0x1056, 331}, {0x1057, 301}, {0x1058, 601},
                              {0x1059, 151}, {0x105A, 61},  {0x1052, 314}, {0x1053, 330},
                              {0x2B3, 121},  {0x1054, 6},   {0x14, 2},     {0x268, 5},
                              {0x2E8, 171},  {0x106B, 2},   {0x1069, 0},   {0x233, 0},
                              {0x254, 1}};
    for (const auto &c : changed)
        QTest::newRow(QByteArray::number(c[0], 16).prepend("0x").constData()) << c[0] << c[1];
}

void TestLCDHXSeries::comparisonNoticesEachRegister()
{
    QFETCH(int, code);
    QFETCH(int, value);
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    CAdjustValue result = storedCalibration();
    CTargetValue target = gammaTarget();
    QCOMPARE(rig.monitor.SetToAdjustValue(&result, &target), 0);
    QCOMPARE(rig.monitor.IsAdjustedToSettings(&result, &target), 1);

    rig.sim().setRegister(quint16(code), quint16(value));
    QCOMPARE(int(rig.sim().registerValue(quint16(code))), value);
    QCOMPARE(rig.monitor.IsAdjustedToSettings(&result, &target), 0);
}

void TestLCDHXSeries::comparisonOfSilentMonitor()
{
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    CAdjustValue result = storedCalibration();
    CTargetValue target = gammaTarget();
    QCOMPARE(rig.monitor.SetToAdjustValue(&result, &target), 0);

    // Silent: not known to differ, so no restore is offered.
    rig.sim().addFault({SimFaultKind::NakWrite, -1, -1, 100000});
    QCOMPARE(rig.monitor.IsAdjustedToSettings(&result, &target), -1);
    rig.sim().clearFaults();
    QCOMPARE(rig.monitor.IsAdjustedToSettings(&result, &target), 1);

    // A compared code the monitor does not implement cannot be read either.
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.unsupportedCodes = {0x1069};
    HXRig partial(MonitorTransport::I2C, config);
    QCOMPARE(partial.connect(), 0);
    QCOMPARE(partial.monitor.SetToAdjustValue(&result, &target), 0);
    QCOMPARE(partial.monitor.IsAdjustedToSettings(&result, &target), -1);
}

void TestLCDHXSeries::toneCurveRegisters_data()
{
    QTest::addColumn<int>("curveType");
    QTest::addColumn<double>("gamma");
    QTest::addColumn<int>("customType");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("value");   // -1: no gamma-value element

    QTest::newRow("native") << 1 << 2.2 << 0 << 9 << 170;
    QTest::newRow("gamma 2.2") << 2 << 2.2 << 0 << 9 << 170;
    QTest::newRow("gamma 1.8") << 2 << 1.8 << 0 << 9 << 130;
    QTest::newRow("gamma 2.4") << 2 << 2.4 << 0 << 9 << 190;
    QTest::newRow("DICOM") << 3 << 2.2 << 0 << 5 << -1;
    QTest::newRow("sRGB curve") << 4 << 2.2 << 1 << 11 << -1;
    QTest::newRow("L* curve") << 4 << 2.2 << 4 << 12 << -1;
    QTest::newRow("own curve") << 4 << 2.2 << 5 << 6 << -1;
}

void TestLCDHXSeries::toneCurveRegisters()
{
    QFETCH(int, curveType);
    QFETCH(double, gamma);
    QFETCH(int, customType);
    QFETCH(int, mode);
    QFETCH(int, value);

    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    rig.sim().setRegister(0x268, 1);
    rig.sim().setRegister(0x2E8, 100);
    CAdjustValue result = storedCalibration();
    CTargetValue target = gammaTarget(gamma);
    target.m_GammaCurveType = curveType;
    target.m_CustomCurveType = customType;
    rig.clearLogs();

    QCOMPARE(rig.monitor.SetToAdjustValue(&result, &target), 0);
    QCOMPARE(int(rig.sim().registerValue(0x268)), mode);
    if (value < 0) {
        QCOMPARE(rig.requestsFor(0x2E8), 0);
        QCOMPARE(rig.sim().registerValue(0x2E8), quint16(100));
    } else {
        QCOMPARE(int(rig.sim().registerValue(0x2E8)), value);
    }
    QCOMPARE(rig.monitor.IsAdjustedToSettings(&result, &target), 1);
    rig.sim().setRegister(0x268, mode == 9 ? 5 : 9);
    QCOMPARE(rig.monitor.IsAdjustedToSettings(&result, &target), 0);
}

void TestLCDHXSeries::colourProcessing_data()
{
    QTest::addColumn<int>("engine");   // 0 finishes after 8 s, 1 stuck, 2 no 0x1097
    QTest::addColumn<QVector<qint64>>("firstWaits");
    QTest::addColumn<int>("firstReads");
    QTest::addColumn<QVector<qint64>>("secondWaits");
    QTest::addColumn<int>("secondReads");

    const QVector<qint64> stuck = ticksOf({6000, 4000, 4000, 4000, 4000, 4000, 4000, 4000, 4000,
                                           4000, 4000});
    // The first call probes 0x1097 once; later calls only poll.
    QTest::newRow("finishes") << 0 << ticksOf({6000, 4000}) << 3 << ticksOf({6000}) << 1;
    QTest::newRow("stuck") << 1 << stuck << 12 << stuck << 11;
    QTest::newRow("no state register") << 2 << ticksOf({7000}) << 1 << ticksOf({7000}) << 0;
}

void TestLCDHXSeries::colourProcessing()
{
    QFETCH(int, engine);
    QFETCH(QVector<qint64>, firstWaits);
    QFETCH(int, firstReads);
    QFETCH(QVector<qint64>, secondWaits);
    QFETCH(int, secondReads);

    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    if (engine == 2)
        config.unsupportedCodes = {0x1097};
    HXRig rig(MonitorTransport::I2C, config);
    QCOMPARE(rig.connect(), 0);
    rig.sim().setColourProcessingStuck(engine == 1);
    rig.sim().setRegister(0x1067, 1);   // starts the engine
    rig.clearLogs();

    QCOMPARE(rig.monitor.WaitForColorProcessingFinished(), 0);
    QCOMPARE(rig.settleWaitTicks(), firstWaits);
    QCOMPARE(rig.requestsFor(0x1097), firstReads);

    rig.clearLogs();
    QCOMPARE(rig.monitor.WaitForColorProcessingFinished(), 0);
    QCOMPARE(rig.settleWaitTicks(), secondWaits);
    QCOMPARE(rig.requestsFor(0x1097), secondReads);
}

void TestLCDHXSeries::profileIdTable()
{
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    const auto setKeys = [&](int k1, int k2) {
        rig.sim().setRegister(0x1050, quint16(k1));
        rig.sim().setRegister(0x1051, quint16(k2));
    };

    // A table never written: flag 0xFF.
    QCOMPARE(rig.sim().eeprom(0xFF10, 1), hex("FF"));
    setKeys(1, 1);
    QCOMPARE(rig.monitor.UpdateEEPROMProfileID(0x12345678), 0);
    QCOMPARE(rig.sim().eeprom(0xFF10, 9), hex("01 01 01 | 01 01 12 34 56 78"));

    // Ten key pairs, ten records.
    for (int k = 2; k <= 10; ++k) {
        setKeys(k, 11 - k);
        QCOMPARE(rig.monitor.UpdateEEPROMProfileID(quint32(k)), 0);
    }
    QCOMPARE(rig.sim().eeprom(0xFF11, 2), hex("01 0A"));
    const QByteArray full = rig.sim().eeprom(0xFF13, 60);
    QCOMPARE(full.left(6), hex("01 01 12 34 56 78"));
    for (int k = 2; k <= 10; ++k) {
        const QByteArray record = full.mid(6 * (k - 1), 6);
        QCOMPARE(record, QByteArray(1, char(k)).append(char(11 - k)).append(hex("00 00 00")).append(char(k)));
    }

    // A known key pair is replaced in place.
    setKeys(1, 1);
    QCOMPARE(rig.monitor.UpdateEEPROMProfileID(0xCAFEF00Du), 0);
    QCOMPARE(rig.sim().eeprom(0xFF11, 2), hex("01 0A"));
    QCOMPARE(rig.sim().eeprom(0xFF13, 6), hex("01 01 CA FE F0 0D"));
    QCOMPARE(rig.sim().eeprom(0xFF19, 54), full.mid(6));

    // With ten kept, a new key pair takes the last record; the others stay.
    setKeys(7, 7);
    QCOMPARE(rig.monitor.UpdateEEPROMProfileID(0x01020304), 0);
    QCOMPARE(rig.sim().eeprom(0xFF11, 2), hex("01 0A"));
    QCOMPARE(rig.sim().eeprom(0xFF13 + 54, 6), hex("07 07 01 02 03 04"));
    QCOMPARE(rig.sim().eeprom(0xFF19, 48), full.mid(6, 48));
}

void TestLCDHXSeries::profileIdTableWithDamagedCount()
{
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    rig.sim().setRegister(0x1050, 5);
    rig.sim().setRegister(0x1051, 10);
    // A count beyond the table starts it afresh with one record.
    rig.sim().setEeprom(0xFF10, hex("01 01 2A"));
    QCOMPARE(rig.monitor.UpdateEEPROMProfileID(0x0A0B0C0D), 0);
    QCOMPARE(rig.sim().eeprom(0xFF10, 9), hex("01 01 01 05 0A 0A 0B 0C 0D"));

    // A table that cannot be read is not written.
    rig.sim().setEeprom(0xFF10, hex("01 01 03"));
    const QByteArray before = rig.sim().eeprom(0xFF10, 64);
    rig.sim().addFault({SimFaultKind::NakRead, 0xC0, 0x09, 1000});
    QVERIFY(rig.monitor.UpdateEEPROMProfileID(1) < 0);
    QCOMPARE(rig.sim().eeprom(0xFF10, 64), before);
}

void TestLCDHXSeries::sensorCorrectionTable()
{
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    double matrix[9] = {9, 9, 9, 9, 9, 9, 9, 9, 9};
    QCOMPARE(rig.monitor.GetColorSensorCorrectionMatrix(3, 7, "SERIAL", matrix), -1);
    QCOMPARE(matrix[0], 1.0);
    QCOMPARE(matrix[1], 0.0);

    QCOMPARE(rig.monitor.WriteColorSensorEEPROMTableItem(2, sensorEntry(3, 7, "ABCD12345678", 10250)), 0);
    QCOMPARE(rig.sim().eeprom(0xFA10 + 96 + 32, 16), hex("03 00 07 00") + QByteArray("ABCD12345678"));
    // Only the last twelve characters of a serial count, in any case.
    QCOMPARE(rig.monitor.GetColorSensorCorrectionMatrix(3, 7, "xxabcd12345678", matrix), 2);
    QCOMPARE(matrix[0], 1.025);
    QCOMPARE(matrix[1], -0.0025);
    QCOMPARE(matrix[8], 1.025);
    QCOMPARE(rig.monitor.GetColorSensorCorrectionMatrix(3, 8, "ABCD12345678", matrix), -1);

    rig.clearLogs();
    QCOMPARE(rig.monitor.WriteColorSensorEEPROMTableItem(5, sensorEntry(1, 1, "X", 1)), -1);
    QCOMPARE(rig.monitor.WriteColorSensorEEPROMTableItem(-1, sensorEntry(1, 1, "X", 1)), -1);
    QCOMPARE(rig.eepromWrites(), 0);

    QList<color_sensor_eeprom_data_table_entry> table;
    QCOMPARE(rig.monitor.ReadColorSensorEEPROMTable(table), 0);
    QCOMPARE(table.size(), 5);
    QCOMPARE(rig.monitor.find_color_sensor_eeprom_location(table, 3, 7, "ABCD12345678"), 2);
    QCOMPARE(rig.monitor.find_color_sensor_eeprom_location(table, 4, 4, "NEW"), 0);
    for (int slot = 0; slot < 5; ++slot)
        table[slot] = sensorEntry(quint16(10 + slot), 1, "FULL", 1);
    QCOMPARE(rig.monitor.find_color_sensor_eeprom_location(table, 4, 4, "NEW"), 4);

    QCOMPARE(rig.monitor.DeleteColorSensorCorrectionMatrix(3, 7, "ABCD12345678"), 0);
    QCOMPARE(rig.sim().eeprom(0xFA10 + 96, 48), QByteArray(48, char(0xFF)));
    QCOMPARE(rig.monitor.DeleteColorSensorCorrectionMatrix(3, 7, "ABCD12345678"), -1);
}

void TestLCDHXSeries::sensorCorrectionBackup()
{
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    const QByteArray factory = rig.sim().eeprom(0x8800, 576) + rig.sim().eeprom(0x8E40, 288);

    // No backup: the factory data are never overwritten.
    QCOMPARE(rig.monitor.RestoreSensorCorrectionBackupData(), -1);
    QCOMPARE(rig.eepromWrites(), 0);

    // A backup whose EEPROM read fails is no backup.
    rig.sim().addFault({SimFaultKind::NakRead, 0xC0, 0x09, 1000});
    QVERIFY(rig.monitor.ReadSensorCorrectionBackupData() < 0);
    QVERIFY(!rig.monitor.HasSensorCorrectionBackup());
    rig.sim().clearFaults();
    QCOMPARE(rig.monitor.RestoreSensorCorrectionBackupData(), -1);
    QCOMPARE(rig.eepromWrites(), 0);

    // Two backups in a row: the second replaces the first.
    QCOMPARE(rig.monitor.ReadSensorCorrectionBackupData(), 0);
    QCOMPARE(rig.sim().registerValue(0x1051), quint16(6));
    QCOMPARE(rig.monitor.ReadSensorCorrectionBackupData(), 0);
    QVERIFY(rig.monitor.HasSensorCorrectionBackup());
    QCOMPARE(rig.rig.requestsStartingWith(hex("C2 09")).size(), 2);

    // Building the matrix changes the tables; the restore puts them back.
    rig.sim().setEeprom(0x8800, QByteArray(576, 0));
    rig.sim().setEeprom(0x8E40, QByteArray(288, 0x55));
    rig.clearLogs();
    QCOMPARE(rig.monitor.RestoreSensorCorrectionBackupData(), 0);
    QCOMPARE(rig.sim().eeprom(0x8800, 576) + rig.sim().eeprom(0x8E40, 288), factory);
    QCOMPARE(rig.rig.requestsStartingWith(hex("C2 08")).size(), 1);
    QCOMPARE(rig.settleWaitTicks(), ticksOf({4000, 2000}));   // before the batch, after 0x1051
    // 0x1051 as the last backup found it (6: the first had already set it),
    // written once: each backup starts a fresh list.
    QCOMPARE(rig.pagedWrites(), (Writes{{0x1051, 6}}));
}

void TestLCDHXSeries::backupOfUnsupportedCode()
{
    // A code the monitor does not implement has no value to put back.
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.unsupportedCodes = {0x1051};
    HXRig rig(MonitorTransport::I2C, config);
    QCOMPARE(rig.connect(), 0);
    QCOMPARE(rig.monitor.ReadSensorCorrectionBackupData(), 0);
    rig.clearLogs();
    QCOMPARE(rig.monitor.RestoreSensorCorrectionBackupData(), 0);
    QCOMPARE(rig.requestsFor(0x1051), 0);
}

void TestLCDHXSeries::initialBackup()
{
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    QCOMPARE(rig.monitor.RestoreInitalSensorCorrectionBackupData(), -1);

    // A monitor that cannot be read is left as it is.
    rig.sim().addFault({SimFaultKind::NakRead, 0xC6, 0x105F, 1000});
    QVERIFY(rig.monitor.ReadInitalSensorCorrectionBackupData() < 0);
    QCOMPARE(rig.sim().registerValue(0x233), quint16(0));
    rig.sim().clearFaults();

    QCOMPARE(rig.monitor.ReadInitalSensorCorrectionBackupData(), 0);
    QCOMPARE(rig.sim().registerValue(0x105F), quint16(1));
    QCOMPARE(rig.sim().registerValue(0x233), quint16(1));
    QCOMPARE(rig.monitor.RestoreInitalSensorCorrectionBackupData(), 0);
    QCOMPARE(rig.sim().registerValue(0x105F), quint16(0));
    QCOMPARE(rig.sim().registerValue(0x233), quint16(0));
}

void TestLCDHXSeries::powerOnHours_data()
{
    QTest::addColumn<SimMonitorConfig>("config");
    QTest::addColumn<double>("hours");

    SimMonitorConfig oneCounter = SimMonitorConfig::hx520r();
    oneCounter.powerOnMinutes = 60000;
    SimMonitorConfig noCounter = SimMonitorConfig::hxsim24();
    noCounter.registerValues[0xFF] = 3001;
    QTest::newRow("VCP half hours") << noCounter << 1500.5;
    QTest::newRow("one EEPROM counter") << oneCounter << 1000.0;
    QTest::newRow("two EEPROM counters") << SimMonitorConfig::hxsim27() << 1600.0;
}

void TestLCDHXSeries::powerOnHours()
{
    QFETCH(SimMonitorConfig, config);
    QFETCH(double, hours);
    HXRig rig(MonitorTransport::I2C, config);
    QCOMPARE(rig.connect(), 0);
    double got = -1;
    QCOMPARE(rig.monitor.GetPowerOnHours(&got), 0);
    QCOMPARE(got, hours);
}

void TestLCDHXSeries::powerOnHoursWithUnreadableCounter()
{
    HXRig rig(MonitorTransport::I2C, SimMonitorConfig::hxsim27());
    QCOMPARE(rig.connect(), 0);
    // Every attempt at the first counter fails; the second reads.
    rig.sim().addFault({SimFaultKind::NakRead, 0xC0, 0x09, 5});
    double hours = -1;
    QVERIFY(rig.monitor.GetPowerOnHours(&hours) < 0);
    QCOMPARE(hours, 100.0);
}

void TestLCDHXSeries::colourProcessingProbeOfSilentMonitor()
{
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    // A monitor silent at the first call waits the fixed time, and is
    // probed again once it answers.
    rig.sim().addFault({SimFaultKind::NakWrite, -1, -1, 100000});
    rig.clearLogs();
    QCOMPARE(rig.monitor.WaitForColorProcessingFinished(), 0);
    QCOMPARE(rig.settleWaitTicks(), ticksOf({7000}));
    rig.sim().clearFaults();
    rig.sim().setRegister(0x1067, 1);
    rig.clearLogs();
    QCOMPARE(rig.monitor.WaitForColorProcessingFinished(), 0);
    QCOMPARE(rig.settleWaitTicks(), ticksOf({6000, 4000}));
    QCOMPARE(rig.requestsFor(0x1097), 3);
}

void TestLCDHXSeries::nativeGammaGamutTable()
{
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    QList<native_gamma_gamut_table_entry> table, master;
    QCOMPARE(rig.monitor.ReadNativeGammaGamutTable(table), 0);
    QCOMPARE(table.size(), 36);
    QCOMPARE(rig.monitor.ReadFactoryMasterNativeGammaGamutTable(master), 0);
    QCOMPARE(master.size(), 3);
    QVERIFY(master[2].valid);
    QCOMPARE(master[2].values[2], table[2].values[2]);

    table[1].values[0] = 0x01020304;
    rig.clearLogs();
    QCOMPARE(rig.monitor.WriteNativeGammaGamutTable(table), 0);
    QCOMPARE(rig.sim().eeprom(0x8810, 8), rig.sim().eeprom(0x8810, 4) + hex("04 03 02 01"));
    QCOMPARE(rig.rig.requestsStartingWith(hex("C2 08")).size(), 1);

    // One record more would run into the factory master copy.
    const QByteArray before = rig.sim().eeprom(0x8800, 0x300);
    table.append(table.first());
    rig.clearLogs();
    QCOMPARE(rig.monitor.WriteNativeGammaGamutTable(table), -1);
    QCOMPARE(rig.eepromWrites(), 0);
    QCOMPARE(rig.sim().eeprom(0x8800, 0x300), before);
}

void TestLCDHXSeries::fixedAnswers()
{
    HXRig rig(MonitorTransport::I2C, SimMonitorConfig::hx520r());
    QCOMPARE(rig.connect(), 0);
    QVERIFY(rig.monitor.IsHX520R());
    QCOMPARE(rig.monitor.NoInternalLuminanceSensor(), 1);
    QCOMPARE(rig.monitor.GetSupportedColorGamutMode(), CDDCMonitor::kColorGamutFree);

    HXRig plain;
    QCOMPARE(plain.connect(), 0);
    QVERIFY(!plain.monitor.IsHX520R());
    QCOMPARE(plain.monitor.NoInternalLuminanceSensor(), 0);

    CAdjustValue result = storedCalibration();
    CTargetValue target = gammaTarget();
    std::vector<uint> table{1, 2, 3};
    QCOMPARE(plain.monitor.CalculateCorrectionLUT(&result, &target, table), 0);
    QCOMPARE(table, (std::vector<uint>{1, 2, 3}));
    QVERIFY(plain.monitor.CanCreateCalibration(&result, &target));
    result.m_CalibrationDateTime = QDateTime();
    QVERIFY(!plain.monitor.CanCreateCalibration(&result, &target));

    double luminance = 0;
    QCOMPARE(plain.monitor.ReadLuminanceKrstValue(luminance), 0);
    QCOMPARE(luminance, plain.sim().config().light.maxLuminance);
    plain.sim().setEeprom(0x8F32, hex("00 00"));
    QCOMPARE(plain.monitor.ReadLuminanceKrstValue(luminance), -1);
}

QTEST_GUILESS_MAIN(TestLCDHXSeries)
#include "tst_lcdhxseries.moc"
