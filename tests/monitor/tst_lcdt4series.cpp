// What the LCDT4 series gives the HX series and its own calibration path,
// against the simulated monitor on the virtual clock: the LUT size, the
// linear and correction LUTs in the per-channel table layout with their
// waits, refusing tables that do not fit, the known state, the OSD lock
// pair, the set-up controls, and the stored settings put back and compared.

#include "CAdjustValue.h"
#include "CDDCMonitor_LCDHXSeries.h"
#include "CTargetValue.h"
#include "SeriesRig.h"

#include <QtTest>

Q_DECLARE_METATYPE(pz::SimMonitorConfig)

using namespace pz;
using namespace pz::test;

namespace {

using HXRig = SeriesRig<CDDCMonitor_LCDHXSeries>;
using T4Rig = SeriesRig<CDDCMonitor_LCDT4Series>;
using Writes = QVector<QPair<int, uint>>;

const QByteArray kGammaTable = "gamma_table(size(300) r_ofs(0) g_ofs(400) b_ofs(800))";

SimMonitorConfig withGammaTable(const QByteArray &entry, bool largeTableCode = true)
{
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.capabilities = simDefaultCapabilities(config.modelName).replace(kGammaTable, entry);
    if (!largeTableCode)
        config.unsupportedCodes = {0x2F9};
    return config;
}

// Correction curves that pass every level through.
void setIdentityCorrection(CColorValue &record)
{
    for (int c = CColorValue::kCorrectionRed; c <= CColorValue::kCorrectionBlue; ++c) {
        record.m_Splines[c].InitSpline(SPLINE_CATMULL_ROM, 256, 0.0, 1.0);
        record.m_Splines[c].SetValid(true);
    }
}

void setIdentityInverseResponses(CColorValue &record)
{
    for (int c = CColorValue::kInverseRed; c <= CColorValue::kInverseBlue; ++c) {
        record.m_Splines[c].InitSpline(SPLINE_CATMULL_ROM, 256, 0.0, 1.0);
        record.m_Splines[c].SetValid(true);
    }
}

CTargetValue target(int curveType)
{
    CTargetValue t;
    t.CreateDefault();
    t.m_GammaCurveType = curveType;
    return t;
}

// Reports gain maxima of 0, as a monitor with a broken gain control would.
class ZeroGainMonitor : public CDDCMonitor_LCDT4Series {
public:
    int SetMaximumRGBGain(uint *redMax, uint *greenMax, uint *blueMax) override
    {
        *redMax = 255;
        *greenMax = 0;
        *blueMax = 255;
        return 0;
    }
};

} // namespace

class TestLCDT4Series : public QObject {
    Q_OBJECT

private slots:
    void lutSize_data();
    void lutSize();
    void linearLUT();
    void linearLUTByReset();
    void gammaTableLoadedAndSaved();
    void unusableLUTSize_data();
    void unusableLUTSize();
    void correctionLUT();
    void correctionLUTRefusesZeroGainMaximum();
    void knownState();
    void osdLock_data();
    void osdLock();
    void osdLockTransportError();
    void configureForCalibration_data();
    void configureForCalibration();
    void storedSettingsRound();
    void restoreWithoutResponseCurves();
    void stabilisationTime();
};

void TestLCDT4Series::lutSize_data()
{
    QTest::addColumn<SimMonitorConfig>("config");
    QTest::addColumn<uint>("size");
    QTest::newRow("large-table code answers") << withGammaTable("gamma_table(size(100))") << 768u;
    QTest::newRow("capability size") << withGammaTable("gamma_table(size(100))", false) << 256u;
    QTest::newRow("no gamma table") << withGammaTable("", false) << 0u;
}

void TestLCDT4Series::lutSize()
{
    QFETCH(SimMonitorConfig, config);
    QFETCH(uint, size);
    HXRig rig(MonitorTransport::I2C, config);
    QCOMPARE(rig.connect(), 0);
    uint got = 99;
    QCOMPARE(rig.monitor.GetLUTSize(&got), 0);
    QCOMPARE(got, size);
}

void TestLCDT4Series::linearLUT()
{
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    QCOMPARE(rig.monitor.GetSetMonitorToLinearLUTSteps(true), 53);
    ProgressLog progress(&rig.monitor);
    rig.clearLogs();

    QCOMPARE(rig.monitor.SetMonitorToLinearLUT(true), 0);
    QCOMPARE(progress.steps(), 53);
    // Gamma mode, again inside SetGammaTable, the large-table switch, then
    // the HX refresh, table save and settings save.
    QCOMPARE(rig.settleWaitTicks(), ticksOf({2000, 2000, 500, 3000, 3000, 2000}));
    QCOMPARE(rig.sim().registerValue(0x268), quint16(6));
    QCOMPARE(rig.rig.requestsStartingWith(hex("C8 02 F9 00 01")).size(), 1);
    QCOMPARE(rig.rig.requestsStartingWith(hex("C2 05")).size(), 48);
    std::vector<uint> linear(768);
    const QVector<quint16> memory = rig.sim().gammaTable();
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < 256; ++i) {
            const uint expected = uint(i * 1023.0 / 255.0 + 0.5);
            QCOMPARE(uint(memory[c * 0x400 + i]), expected);
            linear[size_t(c * 256 + i)] = expected;
        }
    }
    QCOMPARE(memory[4], quint16(16));
    QCOMPARE(memory[0x800 + 255], quint16(1023));
    QCOMPARE(rig.monitor.VerifyGammaTableData(linear), 1);
    linear[256 + 165] += 1;
    QCOMPARE(rig.monitor.VerifyGammaTableData(linear), 0);
}

void TestLCDT4Series::linearLUTByReset()
{
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    QCOMPARE(rig.monitor.GetSetMonitorToLinearLUTSteps(false), 2);
    ProgressLog progress(&rig.monitor);
    rig.clearLogs();
    QCOMPARE(rig.monitor.SetMonitorToLinearLUT(false), 0);
    QCOMPARE(progress.steps(), 2);
    QCOMPARE(rig.settleWaitTicks(), ticksOf({2000, 3000}));   // gamma mode, refresh
    QCOMPARE(rig.rig.requestsStartingWith(hex("C8 02 F8 00 01")).size(), 1);
    QCOMPARE(rig.rig.requestsStartingWith(hex("C2 05")).size(), 0);
}

void TestLCDT4Series::gammaTableLoadedAndSaved()
{
    T4Rig rig;
    QCOMPARE(rig.connect(), 0);
    std::vector<uint> table(768);
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = uint(i % 256) * 4;
    // An entry beyond 16 bits is sent as the largest one, as the base class
    // sends it, instead of failing every verification.
    table[256 + 5] = 70000;
    ProgressLog progress(&rig.monitor);
    rig.clearLogs();

    QCOMPARE(rig.monitor.SetGammaTable(table), 0);
    QCOMPARE(rig.sim().gammaTable()[0x400 + 5], quint16(65535));
    QCOMPARE(rig.sim().gammaTable()[0x800 + 255], quint16(1020));
    QCOMPARE(rig.rig.requestsStartingWith(hex("C2 05")).size(), 48);
    QCOMPARE(progress.steps(), 52);
    // Gamma mode, the large-table switch, refresh, table save, settings save.
    QCOMPARE(rig.settleWaitTicks(), ticksOf({2000, 500, 1500, 3000, 2000}));
    QCOMPARE(rig.rig.requestsStartingWith(hex("0C")).size(), 1);
    table[256 + 5] = 65535;
    QCOMPARE(rig.monitor.VerifyGammaTableData(table), 1);
}

void TestLCDT4Series::unusableLUTSize_data()
{
    QTest::addColumn<SimMonitorConfig>("config");
    QTest::newRow("no gamma table") << withGammaTable("", false);
    QTest::newRow("not three channels") << withGammaTable("gamma_table(size(20))", false);
    QTest::newRow("below one chunk per channel") << withGammaTable("gamma_table(size(1E))", false);
}

void TestLCDT4Series::unusableLUTSize()
{
    QFETCH(SimMonitorConfig, config);
    HXRig rig(MonitorTransport::I2C, config);
    QCOMPARE(rig.connect(), 0);
    rig.clearLogs();

    // Never programmable mode without a table to go with it.
    QCOMPARE(rig.monitor.SetMonitorToLinearLUT(true), -1);
    QCOMPARE(rig.rig.requestsStartingWith(hex("C8 02 68")).size(), 0);
    QCOMPARE(rig.sim().registerValue(0x268), quint16(9));

    CDDCMonitor_LCDT4Series t4;
    QCOMPARE(t4.InitInterface(MonitorRig::kDisplayId, MonitorRig::kI2CBus), 0);
    CAdjustValue result;
    setIdentityCorrection(result.m_ColorValue);
    CTargetValue t = target(CTargetValue::kCurveGamma);
    std::vector<uint> table{7};
    QCOMPARE(t4.CalculateCorrectionLUT(&result, &t, table), -1);
    QCOMPARE(table, std::vector<uint>{7});

    std::vector<uint> small(30, 5);
    QCOMPARE(rig.monitor.SetGammaTable(small), -1);
    QCOMPARE(rig.rig.requestsStartingWith(hex("C2 05")).size(), 0);
    QCOMPARE(rig.rig.requestsStartingWith(hex("C8 02 68")).size(), 0);
}

void TestLCDT4Series::correctionLUT()
{
    T4Rig rig;
    QCOMPARE(rig.connect(), 0);
    rig.sim().setRegister(0x16, 180);
    CAdjustValue result;
    result.m_RedGain = 200;
    result.m_GreenGain = 255;
    result.m_BlueGain = 100;
    setIdentityCorrection(result.m_ColorValue);
    CTargetValue t = target(CTargetValue::kCurveGamma);

    std::vector<uint> table;
    rig.clearLogs();
    QCOMPARE(rig.monitor.CalculateCorrectionLUT(&result, &t, table), 0);
    QCOMPARE(table.size(), size_t(768));
    // Each gain set to its maximum settles for 500 ms.
    QCOMPARE(rig.settleWaitTicks(), ticksOf({500, 500, 500}));
    // The gains go to their maxima; the LUT scales instead.
    QCOMPARE(rig.sim().registerValue(0x16), quint16(255));
    QCOMPARE(table[0], 0u);
    QCOMPARE(table[255], 802u);    // 200/255 of 1023
    QCOMPARE(table[511], 1023u);
    QCOMPARE(table[767], 401u);    // 100/255 of 1023
    QCOMPARE(table[128], uint(128 / 255.0 * 802 + 0.5));

    // Without correction curves there is nothing to build.
    result.m_ColorValue.m_Splines[CColorValue::kCorrectionGreen].SetValid(false);
    rig.clearLogs();
    QCOMPARE(rig.monitor.CalculateCorrectionLUT(&result, &t, table), -1);
    QCOMPARE(rig.rig.requestsStartingWith(hex("C8 00 16")).size(), 0);
}

void TestLCDT4Series::correctionLUTRefusesZeroGainMaximum()
{
    SeriesRig<ZeroGainMonitor> rig;
    QCOMPARE(rig.connect(), 0);
    CAdjustValue result;
    setIdentityCorrection(result.m_ColorValue);
    CTargetValue t = target(CTargetValue::kCurveGamma);
    std::vector<uint> table{1, 2, 3};
    QCOMPARE(rig.monitor.CalculateCorrectionLUT(&result, &t, table), -1);
    QCOMPARE(table, (std::vector<uint>{1, 2, 3}));
}

void TestLCDT4Series::knownState()
{
    T4Rig rig;
    QCOMPARE(rig.connect(), 0);
    rig.sim().setRegister(0x10, 30);
    rig.sim().setRegister(0x12, 20);
    ProgressLog progress(&rig.monitor);
    rig.clearLogs();

    QCOMPARE(rig.monitor.ResetMonitorToKnownState(), 0);
    // Preset 8, brightness at its maximum, contrast at half of its own,
    // gamma mode 10; the preset and the gamma mode settle.
    QCOMPARE(rig.pagedWrites(), (Writes{{0x14, 8}, {0x10, 100}, {0x12, 50}, {0x268, 10}}));
    QCOMPARE(rig.settleWaitTicks(), ticksOf({2000, 2000}));
    QVERIFY(progress.messages().isEmpty());
    QCOMPARE(rig.sim().registerValue(0x268), quint16(10));

    // The first failure ends it.
    rig.sim().addFault({SimFaultKind::NakWrite, 0xC8, 0x10, 100});
    rig.clearLogs();
    QCOMPARE(rig.monitor.ResetMonitorToKnownState(), -12);
    QCOMPARE(rig.rig.requestsStartingWith(hex("C8 00 12")).size(), 0);
}

void TestLCDT4Series::osdLock_data()
{
    QTest::addColumn<uint>("mode");
    QTest::addColumn<Writes>("writes");
    QTest::newRow("1") << 1u << Writes{{0xE3, 1}, {0xFB, 0}};
    QTest::newRow("2") << 2u << Writes{{0xE3, 0}, {0xFB, 1}};
    QTest::newRow("other") << 7u << Writes{{0xFB, 0}, {0xE3, 0}};
}

void TestLCDT4Series::osdLock()
{
    QFETCH(uint, mode);
    QFETCH(Writes, writes);
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    rig.clearLogs();
    QCOMPARE(rig.monitor.SetOSDLock(mode), 0);
    QCOMPARE(rig.pagedWrites(), writes);
}

void TestLCDT4Series::osdLockTransportError()
{
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    rig.sim().addFault({SimFaultKind::NakWrite, 0xC8, 0xE3, 100});
    QCOMPARE(rig.monitor.SetOSDLock(1), -12);
    QCOMPARE(rig.rig.requestsStartingWith(hex("C8 00 FB")).size(), 0);

    // A monitor without the first code still gets the second.
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.unsupportedCodes = {0xE3};
    HXRig partial(MonitorTransport::I2C, config);
    QCOMPARE(partial.connect(), 0);
    QCOMPARE(partial.monitor.SetOSDLock(2), 0);
    QCOMPARE(partial.sim().registerValue(0xFB), quint16(1));
}

void TestLCDT4Series::configureForCalibration_data()
{
    QTest::addColumn<int>("failingCode");      // answers nothing
    QTest::addColumn<int>("unsupportedCode");  // not implemented
    QTest::addColumn<int>("status");
    QTest::addColumn<Writes>("writes");
    QTest::newRow("all set") << 0 << 0 << 0 << Writes{{0x254, 0}, {0x233, 1}, {0x257, 50}};
    QTest::newRow("unsupported code skipped") << 0 << 0x254 << 0 << Writes{{0x233, 1}, {0x257, 50}};
    QTest::newRow("transport error returned")
        << 0x233 << 0 << -12 << Writes{{0x254, 0}, {0x233, 1}};
}

void TestLCDT4Series::configureForCalibration()
{
    QFETCH(int, failingCode);
    QFETCH(int, unsupportedCode);
    QFETCH(int, status);
    QFETCH(Writes, writes);
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    if (unsupportedCode)
        config.unsupportedCodes = {quint16(unsupportedCode)};
    T4Rig rig(MonitorTransport::I2C, config);
    QCOMPARE(rig.connect(), 0);
    if (failingCode)
        rig.sim().addFault({SimFaultKind::NakWrite, 0xC8, failingCode, 100});
    rig.clearLogs();
    CTargetValue t = target(CTargetValue::kCurveGamma);
    QCOMPARE(rig.monitor.ConfigureMonitorControlsForCalibration(&t), status);
    Writes sent;
    for (const auto &w : rig.pagedWrites())
        if (!sent.contains(w))
            sent.append(w);   // the command layer repeats a refused write
    if (unsupportedCode)
        sent.removeAll({unsupportedCode, 0});
    QCOMPARE(sent, writes);
}

void TestLCDT4Series::storedSettingsRound()
{
    T4Rig rig;
    QCOMPARE(rig.connect(), 0);
    CAdjustValue result;
    result.m_ColorPreset = 11;
    result.m_Brightness = 70;
    result.m_Contrast = 40;
    result.m_RedGain = 240;
    result.m_GreenGain = 230;
    result.m_BlueGain = 220;
    setIdentityInverseResponses(result.m_ColorValue);
    setIdentityCorrection(result.m_ColorValue);

    // Native: the gains hold the calibration and no LUT is used.
    CTargetValue native = target(CTargetValue::kCurveNative);
    QCOMPARE(rig.monitor.SetToAdjustValue(&result, &native), 0);
    QCOMPARE(rig.sim().registerValue(0x268), quint16(1));
    QCOMPARE(rig.sim().registerValue(0x18), quint16(230));
    QVERIFY(!result.m_ColorValue.m_Splines[CColorValue::kCorrectionRed].IsValid());
    QCOMPARE(rig.monitor.IsAdjustedToSettings(&result, &native), 1);
    rig.sim().setRegister(0x1A, 221);
    QCOMPARE(rig.monitor.IsAdjustedToSettings(&result, &native), 0);

    // Gamma 2.2: the gains at their maxima and the LUT in programmable mode.
    setIdentityCorrection(result.m_ColorValue);
    CTargetValue gamma = target(CTargetValue::kCurveGamma);
    QVERIFY(rig.monitor.CanCreateCalibration(&result, &gamma) == false);   // no date yet
    result.m_CalibrationDateTime = QDateTime(QDate(2026, 12, 1), QTime(8, 0));
    QVERIFY(rig.monitor.CanCreateCalibration(&result, &gamma) == false);   // no target curve
    ProgressLog progress(&rig.monitor);
    QCOMPARE(rig.monitor.SetToAdjustValue(&result, &gamma), 0);
    QCOMPARE(progress.messages().first(), qMakePair(2u, 59u));
    QVERIFY(result.m_ColorValue.m_TargetCurve.IsValid());
    QVERIFY(rig.monitor.CanCreateCalibration(&result, &gamma));
    QCOMPARE(rig.sim().registerValue(0x268), quint16(6));
    QCOMPARE(rig.sim().registerValue(0x16), quint16(255));
    QCOMPARE(rig.sim().gammaTable()[255], quint16(uint(240 / 255.0f * 1023 + 0.5f)));
    QCOMPARE(rig.monitor.IsAdjustedToSettings(&result, &gamma), 1);
    // A gain equal to the stored one is still wrong: it belongs at its maximum.
    rig.sim().setRegister(0x16, 240);
    QCOMPARE(rig.monitor.IsAdjustedToSettings(&result, &gamma), 0);

    rig.sim().addFault({SimFaultKind::NakWrite, -1, -1, 100000});
    QCOMPARE(rig.monitor.IsAdjustedToSettings(&result, &gamma), -1);
}

void TestLCDT4Series::restoreWithoutResponseCurves()
{
    T4Rig rig;
    QCOMPARE(rig.connect(), 0);
    CAdjustValue result;
    result.m_Contrast = 33;
    setIdentityCorrection(result.m_ColorValue);
    CTargetValue gamma = target(CTargetValue::kCurveGamma);
    rig.clearLogs();
    QCOMPARE(rig.monitor.SetToAdjustValue(&result, &gamma), -1019);
    QCOMPARE(rig.sim().registerValue(0x12), quint16(33));
    QCOMPARE(rig.rig.requestsStartingWith(hex("C8 00 16")).size(), 0);
    QCOMPARE(rig.rig.requestsStartingWith(hex("C2 05")).size(), 0);
}

void TestLCDT4Series::stabilisationTime()
{
    CDDCMonitor_LCDT4Series monitor;
    QCOMPARE(monitor.GetDisplayStablizationTime(100.5), 4000);
    QCOMPARE(monitor.GetDisplayStablizationTime(100.0), 8000);
    QCOMPARE(monitor.GetDisplayStablizationTime(80.0), 16000);
    QCOMPARE(monitor.GetDisplayStablizationTime(60.0), 20000);
}

QTEST_GUILESS_MAIN(TestLCDT4Series)
#include "tst_lcdt4series.moc"
