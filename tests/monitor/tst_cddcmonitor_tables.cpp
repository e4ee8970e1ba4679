// The monitor object's look-up tables against the simulated HX monitor over
// both transports: a LUT loaded, verified and read back; native and linear
// modes; a target tone curve uploaded in the chunk size the monitor's input
// asks for; clamping, length checks and verification failures.

#include "CSpline.h"
#include "MonitorRig.h"
#include "ORV_factory_ddc_control.h"

#include <QtTest>
#include <cmath>

using namespace pz;
using namespace pz::test;

namespace {

// A 768-entry LUT whose channels differ: red 4i, green 4i + 1, blue 4i + 2.
std::vector<uint> distinctLUT()
{
    std::vector<uint> table(768);
    for (uint channel = 0; channel < 3; ++channel)
        for (uint i = 0; i < 256; ++i)
            table[channel * 256 + i] = 4 * i + channel;
    return table;
}

CSpline gammaCurve(double gamma)
{
    CSpline curve;
    curve.InitSpline(SPLINE_CATMULL_ROM, 256, 0.0, 1.0);
    curve.SetSplineGamma(gamma);
    return curve;
}

// Reads n entries of the monitor's gamma table from offset on.
std::vector<uint> readGammaTable(CDDCMonitor &monitor, uint offset, uint n)
{
    std::vector<uint> out(n);
    for (uint at = 0; at < n; at += 16) {
        const uint count = qMin(16u, n - at);
        if (monitor.GetDDCCIControlObject()->GammaTableReadChunk(&out[at], offset + at, count)
            != 0)
            return {};
    }
    return out;
}

std::vector<uint> curveChannel(SimOrvaneMonitor &sim, int channel)
{
    const QVector<quint16> memory = sim.curveMemory();
    std::vector<uint> out;
    for (int i = 0; i < 256; ++i)
        out.push_back(memory[channel * 0x400 + i]);
    return out;
}

std::vector<uint> third(const std::vector<uint> &table, int channel)
{
    const size_t n = table.size() / 3;
    return std::vector<uint>(table.begin() + channel * n, table.begin() + (channel + 1) * n);
}

int countOf(const QVector<QByteArray> &requests, const QByteArray &prefix)
{
    int n = 0;
    for (const QByteArray &r : requests)
        n += r.startsWith(prefix) ? 1 : 0;
    return n;
}

int indexOf(const QVector<QByteArray> &requests, const QByteArray &prefix, int from = 0)
{
    for (int i = from; i < requests.size(); ++i)
        if (requests[i].startsWith(prefix))
            return i;
    return -1;
}

} // namespace

class TestCDDCMonitorTables : public QObject {
    Q_OBJECT

private slots:
    void lutLoadedAndReadBack_data();
    void lutLoadedAndReadBack();
    void lutVerified();
    void lutVerifyMismatchKeepsStoredTable();
    void nativeAndLinear_data();
    void nativeAndLinear();
    void targetTable();
    void targetGammaUpload_data();
    void targetGammaUpload();
    void targetTableAlreadyProgrammable();
    void targetValuesClamped();
    void tableLengthsChecked();
    void targetVerifyMismatchKeepsStoredCurve();
    void targetUploadReportsSilentInputRead();
    void noCurveMemory();
};

void TestCDDCMonitorTables::lutLoadedAndReadBack_data()
{
    addTransportColumn();
    addTransportRows();
}

void TestCDDCMonitorTables::lutLoadedAndReadBack()
{
    QFETCH(int, transport);
    MonitorRig rig{MonitorTransport(transport)};
    QCOMPARE(rig.connect(), 0);
    ProgressLog progress(&rig.monitor);
    std::vector<uint> table = distinctLUT();

    QCOMPARE(rig.monitor.SetGammaTable(table), 0);
    // Mode step, 48 chunks, refresh and save.
    QCOMPARE(progress.steps(), 51);
    QCOMPARE(progress.count(2), 0);
    QCOMPARE(rig.sim().registerValue(0x268), quint16(6));

    const QVector<QByteArray> requests = rig.sim().requests();
    QCOMPARE(countOf(requests, hex("C2 05")), 48);
    // A LUT is refreshed before it is saved.
    const int refresh = indexOf(requests, hex("C2 06"));
    const int save = indexOf(requests, hex("C2 07"));
    QVERIFY(refresh > indexOf(requests, hex("C2 05")) && save > refresh);

    // Written at consecutive offsets and read back equal.
    QCOMPARE(readGammaTable(rig.monitor, 0, 768), table);
    // Saved: the monitor keeps it over a power cycle.
    rig.sim().powerCycle();
    const QVector<quint16> kept = rig.sim().gammaTable();
    for (int i = 0; i < 768; ++i)
        QCOMPARE(uint(kept[i]), table[size_t(i)]);
}

void TestCDDCMonitorTables::lutVerified()
{
    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    std::vector<uint> table = distinctLUT();
    // The series monitors keep one channel table at 0, 0x400 and 0x800.
    QCOMPARE(rig.monitor.GetDDCCIControlObject()->WriteChannelTableVerified(
                 ORV_ddc_control::Table::Gamma, table, {0, 0x400, 0x800}, 16),
             0);

    ProgressLog progress(&rig.monitor);
    rig.sim().clearLog();
    QCOMPARE(rig.monitor.VerifyGammaTableData(table), 1);
    QCOMPARE(progress.steps(), 3);
    // One 16-entry chunk in the middle of the first third, in each channel.
    QCOMPARE(rig.sim().requests(),
             QVector<QByteArray>({hex("C2 04 00 80 10"), hex("C2 04 04 80 10"),
                                  hex("C2 04 08 80 10")}));

    std::vector<uint> greenDiffers = table;
    greenDiffers[256 + 130] += 1;
    QCOMPARE(rig.monitor.VerifyGammaTableData(greenDiffers), 0);
    // Outside the sampled chunk a difference goes unseen.
    std::vector<uint> unsampled = table;
    unsampled[256 + 10] += 1;
    QCOMPARE(rig.monitor.VerifyGammaTableData(unsampled), 1);
}

void TestCDDCMonitorTables::lutVerifyMismatchKeepsStoredTable()
{
    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    const QVector<quint16> before = rig.sim().gammaTable();
    rig.sim().addFault({SimFaultKind::ReadBackMismatch, 0xC2, -1, 1000});
    std::vector<uint> table = distinctLUT();

    QCOMPARE(rig.monitor.SetGammaTable(table), -32);
    // Five tries of the first chunk, then nothing is applied or saved.
    QCOMPARE(countOf(rig.sim().requests(), hex("C2 05")), 5);
    QCOMPARE(countOf(rig.sim().requests(), hex("C2 06")), 0);
    QCOMPARE(countOf(rig.sim().requests(), hex("C2 07")), 0);
    rig.sim().clearFaults();
    rig.sim().powerCycle();
    QCOMPARE(rig.sim().gammaTable(), before);
    QCOMPARE(rig.sim().registerValue(0x268), quint16(9));
}

void TestCDDCMonitorTables::nativeAndLinear_data()
{
    addTransportColumn();
    addTransportRows();
}

void TestCDDCMonitorTables::nativeAndLinear()
{
    QFETCH(int, transport);
    MonitorRig rig{MonitorTransport(transport)};
    QCOMPARE(rig.connect(), 0);
    ProgressLog progress(&rig.monitor);

    rig.sim().setRegister(0x268, 6);
    QCOMPARE(rig.monitor.SetMonitorToLinearLUT(true), 0);
    QCOMPARE(rig.sim().registerValue(0x268), quint16(1));
    QCOMPARE(progress.steps(), rig.monitor.GetSetMonitorToLinearLUTSteps(true));
    QCOMPARE(progress.steps(), 1);

    rig.sim().setRegister(0x268, 6);
    progress.clear();
    rig.clock.clearWaits();
    QCOMPARE(rig.monitor.SetGammaToNative(), 0);
    QCOMPARE(rig.sim().registerValue(0x268), quint16(1));
    QCOMPARE(progress.steps(), rig.monitor.GetSetGammaToNativeSteps());
    QCOMPARE(rig.clock.waitsTicks().last(), waitTicks(1000));
    QCOMPARE(rig.monitor.NeedUpdateLinearLUTonGainChange(), 0);

    // The monitor can put its programmable table back to linear by itself.
    uint gain = 0;
    QCOMPARE(rig.monitor.GetCSCGain(&gain), 0);
    QCOMPARE(gain, 1023u);
    QVERIFY(rig.monitor.IsResetProgrammableGammaSupported());
    rig.sim().clearLog();
    QCOMPARE(rig.monitor.ResetProgrammableGamma(), 0);
    QCOMPARE(rig.sim().requests(),
             QVector<QByteArray>({hex("C8 02 F8 00 01"), hex("C2 06")}));
}

void TestCDDCMonitorTables::targetTable()
{
    CDDCMonitor monitor;
    ProgressLog progress(&monitor);
    std::vector<uint> table(5, 7);
    QCOMPARE(monitor.CalculateTargetGammaTable(gammaCurve(2.2), gammaCurve(1.0), gammaCurve(1.8),
                                               table),
             0);
    QCOMPARE(progress.messages(), (QVector<QPair<uint, uint>>{{2u, 99u}}));
    QCOMPARE(table.size(), size_t(768));
    CSpline red = gammaCurve(2.2);
    for (uint i = 0; i < 256; ++i) {
        const double x = i / 255.0;
        QCOMPARE(table[i], uint(red.GetYValX(x) * 65535.0 + 0.5));
        // The identity gives 0, 257, 514, ... 65535.
        QCOMPARE(table[256 + i], 257 * i);
    }
    QCOMPARE(table[0], 0u);
    QCOMPARE(table[255], 65535u);
    QCOMPARE(table[512 + 255], 65535u);
    QVERIFY(qAbs(int(table[128]) - int(std::lround(65535 * std::pow(128 / 255.0, 2.2)))) <= 1);
}

void TestCDDCMonitorTables::targetGammaUpload_data()
{
    QTest::addColumn<int>("transport");
    QTest::addColumn<int>("input");
    QTest::addColumn<int>("chunk");
    QTest::newRow("i2c DVI") << int(MonitorTransport::I2C) << 0x11 << 8;
    QTest::newRow("i2c DisplayPort 1") << int(MonitorTransport::I2C) << 15 << 2;
    QTest::newRow("usb DVI") << int(MonitorTransport::USB) << 0x11 << 8;
    QTest::newRow("usb DisplayPort 1") << int(MonitorTransport::USB) << 15 << 2;
}

void TestCDDCMonitorTables::targetGammaUpload()
{
    QFETCH(int, transport);
    QFETCH(int, input);
    QFETCH(int, chunk);
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.registerValues[0x60] = quint16(input);
    MonitorRig rig(MonitorTransport(transport), config);
    QCOMPARE(rig.connect(), 0);

    std::vector<uint> table;
    QCOMPARE(rig.monitor.CalculateTargetGammaTable(gammaCurve(2.2), gammaCurve(1.8),
                                                   gammaCurve(2.4), table),
             0);
    ProgressLog progress(&rig.monitor);
    rig.sim().clearLog();
    rig.clock.clearWaits();
    QCOMPARE(rig.monitor.SetTargetGammaTable(table), 0);

    // The curves sit at the capability string's channel offsets.
    for (int channel = 0; channel < 3; ++channel)
        QCOMPARE(curveChannel(rig.sim(), channel), third(table, channel));

    const QVector<QByteArray> requests = rig.sim().requests();
    const int chunks = 768 / chunk;
    QCOMPARE(countOf(requests, hex("C2 0B")), chunks);
    const QByteArray first = requests[indexOf(requests, hex("C2 0B"))];
    QCOMPARE(first.size(), 4 + 2 * chunk);
    QCOMPARE(progress.steps(), 1 + chunks + 2);
    QVERIFY(indexOf(requests, hex("C8 02 68 00 06")) >= 0);
    QVERIFY(indexOf(requests, hex("C8 02 F9 00 01")) >= 0);
    // A target curve is saved before it is refreshed.
    const int save = indexOf(requests, hex("C2 07"));
    const int refresh = indexOf(requests, hex("C2 06"));
    QVERIFY(save > indexOf(requests, hex("C2 0B")) && refresh > save);
    // The monitor gets two seconds before the upload.
    QVERIFY(rig.clock.waitsTicks().contains(waitTicks(2000)));
    QCOMPARE(rig.sim().registerValue(0x268), quint16(6));
}

void TestCDDCMonitorTables::targetTableAlreadyProgrammable()
{
    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    rig.sim().setRegister(0x268, 6);
    std::vector<uint> table(768, 1000);
    rig.sim().clearLog();
    QCOMPARE(rig.monitor.SetTargetGammaTable(table), 0);
    QCOMPARE(countOf(rig.sim().requests(), hex("C8 02 68")), 0);
}

void TestCDDCMonitorTables::targetValuesClamped()
{
    // A Catmull-Rom curve through points above 1 (and below 0) overshoots;
    // the table stays inside 16 bits instead of wrapping.
    CSpline high;
    high.InitSpline(SPLINE_CATMULL_ROM, 0, -0.5, 1.5);
    for (int i = 0; i < 256; ++i) {
        Point2D p{i / 255.0, i < 128 ? -0.2 : 1.3};
        high.AddPoint(p);
    }
    CDDCMonitor calculator;
    std::vector<uint> table;
    QCOMPARE(calculator.CalculateTargetGammaTable(high, high, high, table), 0);
    QCOMPARE(table[10], 0u);
    QCOMPARE(table[200], 65535u);
    for (uint value : table)
        QVERIFY(value <= 65535u);

    // A table handed over with values out of range is sent clamped.
    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    std::vector<uint> wide(768, 70000);
    wide[1] = 65535;
    QCOMPARE(rig.monitor.SetTargetGammaTable(wide), 0);
    QCOMPARE(rig.requestsStartingWith(hex("C2 0B 00 00")).first(),
             hex("C2 0B 00 00 FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF"));
    QCOMPARE(curveChannel(rig.sim(), 2), std::vector<uint>(256, 65535));
}

void TestCDDCMonitorTables::tableLengthsChecked()
{
    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    rig.sim().clearLog();

    // Not three channels: refused before anything is sent.
    std::vector<uint> ragged(767, 100);
    QCOMPARE(rig.monitor.WriteTargetGammaLUTData(ragged), -1);
    std::vector<uint> shortTable(30, 100);
    QCOMPARE(rig.monitor.VerifyGammaTableData(shortTable), -1);
    QCOMPARE(countOf(rig.sim().requests(), hex("C2")), 0);

    // A LUT that is not a whole number of chunks ends with a short chunk.
    std::vector<uint> odd(20, 77);
    QCOMPARE(rig.monitor.WriteGammaTableData(odd), 0);
    QCOMPARE(rig.requestsStartingWith(hex("C2 05")),
             QVector<QByteArray>({hex("C2 05 00 00 00 4D 00 4D 00 4D 00 4D 00 4D 00 4D 00 4D 00 4D "
                                      "00 4D 00 4D 00 4D 00 4D 00 4D 00 4D 00 4D 00 4D"),
                                  hex("C2 05 00 10 00 4D 00 4D 00 4D 00 4D")}));
    std::vector<uint> empty;
    QCOMPARE(rig.monitor.WriteGammaTableData(empty), 0);
    // An empty LUT still switches to the programmable table, refreshes and saves.
    ProgressLog progress(&rig.monitor);
    rig.sim().clearLog();
    QCOMPARE(rig.monitor.SetGammaTable(empty), 0);
    QCOMPARE(progress.steps(), 3);
    QCOMPARE(rig.sim().requests(),
             QVector<QByteArray>({hex("C8 02 68 00 06"), hex("C2 06"), hex("C2 07")}));
}

void TestCDDCMonitorTables::targetVerifyMismatchKeepsStoredCurve()
{
    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    const QVector<quint16> before = rig.sim().curveMemory();
    rig.sim().addFault({SimFaultKind::ReadBackMismatch, 0xC2, -1, 1000});
    std::vector<uint> table(768, 4000);
    rig.clock.clearWaits();

    QCOMPARE(rig.monitor.SetTargetGammaTable(table), -32);
    // Seven tries with two seconds between them, then nothing is saved.
    QCOMPARE(countOf(rig.sim().requests(), hex("C2 0B")), 7);
    QCOMPARE(rig.clock.waitsTicks().count(waitTicks(2000)), 1 + 6);
    QCOMPARE(countOf(rig.sim().requests(), hex("C2 07")), 0);
    rig.sim().clearFaults();
    rig.sim().powerCycle();
    QCOMPARE(rig.sim().curveMemory(), before);
}

void TestCDDCMonitorTables::targetUploadReportsSilentInputRead()
{
    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    QCOMPARE(rig.monitor.ReadCapabilityString(), 0);
    rig.sim().addFault({SimFaultKind::NakRead, 0xC6, 0x60, 1000});
    std::vector<uint> table(768, 4000);
    QCOMPARE(rig.monitor.WriteTargetGammaLUTData(table), -11);
    QCOMPARE(countOf(rig.sim().requests(), hex("C2 0B")), 0);

    // An input source the monitor does not report is no error: chunks of 8.
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.unsupportedCodes.insert(0x60);
    MonitorRig other(MonitorTransport::I2C, config);
    QCOMPARE(other.connect(), 0);
    QCOMPARE(other.monitor.WriteTargetGammaLUTData(table), 0);
    QCOMPARE(countOf(other.sim().requests(), hex("C2 0B")), 96);
}

void TestCDDCMonitorTables::noCurveMemory()
{
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.capabilities = "(prot(monitor)type(LCD)vcp(10 12 60)mpu_ver(1.0)"
                          "gamma_table(size(300) r_ofs(0) g_ofs(0) b_ofs(0)))";
    MonitorRig rig(MonitorTransport::I2C, config);
    QCOMPARE(rig.connect(), 0);
    std::vector<uint> table(768, 4000);
    QCOMPARE(rig.monitor.WriteTargetGammaLUTData(table), -1);
    QCOMPARE(countOf(rig.sim().requests(), hex("C2 0B")), 0);
}

QTEST_GUILESS_MAIN(TestCDDCMonitorTables)
#include "tst_cddcmonitor_tables.moc"
