// The monitor object's calibration state and stored settings against the
// simulated HX monitor: the batch VCP operation with its per-code waits, a
// configure / save / compare / restore round, the neutral hooks of the plain
// monitor object and the picture-mode names.

#include "MonitorRig.h"

#include <QtTest>
#include <cstring>

using namespace pz;
using namespace pz::test;

namespace {

using Batch = QList<set_get_vcp_list>;

// The colour-engine set-up a calibration sends, as one batch of writes that
// go out only where the monitor differs.
Batch calibrationSetUp()
{
    Batch batch;
    const QPair<int, uint> writes[] = {{0x105F, 1}, {0x105B, 1}, {0x1050, 5}, {0x1051, 10},
                                       {0x106B, 3}, {0x1069, 1}, {0x233, 1},  {0x254, 0}};
    for (const auto &w : writes)
        batch.append(set_get_vcp_list::write(w.first, w.second, true));
    return batch;
}

Batch readsOf(const Batch &batch)
{
    Batch reads;
    for (const set_get_vcp_list &element : batch)
        reads.append(set_get_vcp_list::read(element.code));
    return reads;
}

// The stored values turned back into writes.
Batch restoreOf(const Batch &stored)
{
    Batch writes;
    for (const set_get_vcp_list &element : stored)
        writes.append(set_get_vcp_list::write(element.code, element.value, true));
    return writes;
}

bool sameValues(const Batch &a, const Batch &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (a[i].code != b[i].code || a[i].value != b[i].value || a[i].result != 0
            || b[i].result != 0)
            return false;
    return true;
}

} // namespace

class TestCDDCMonitorSettings : public QObject {
    Q_OBJECT

private slots:
    void emptyBatch();
    void batchWaits_data();
    void batchWaits();
    void batchStopsAtFailure();
    void lateReplies_data();
    void lateReplies();
    void storedSettingsRound_data();
    void storedSettingsRound();
    void neutralHooks();
    void pictureModeName_data();
    void pictureModeName();
};

void TestCDDCMonitorSettings::emptyBatch()
{
    CDDCMonitor monitor;
    ProgressLog progress(&monitor);
    Batch batch;
    QCOMPARE(monitor.SetGetVCPList(&batch, true), 0);
    QCOMPARE(progress.messages(), (QVector<QPair<uint, uint>>{{2u, 0u}}));
    QCOMPARE(monitor.SetGetVCPList(nullptr, false), -1);
}

void TestCDDCMonitorSettings::batchWaits_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<uint>("value");
    QTest::addColumn<bool>("onlyIfDifferent");
    QTest::addColumn<int>("monitorHolds"); // -1: the default
    QTest::addColumn<bool>("sent");
    QTest::addColumn<int>("lastWaitMs"); // the settle wait, or 50: the exchange's own
    QTest::addColumn<bool>("waitsBeforeCompare");

    QTest::newRow("colour preset") << 0x14 << 11u << false << -1 << true << 2000 << false;
    QTest::newRow("colour preset unchanged") << 0x14 << 11u << true << 11 << false << 50 << false;
    QTest::newRow("gamma mode") << 0x268 << 6u << false << -1 << true << 1000 << false;
    QTest::newRow("gamma value") << 0x2E8 << 130u << true << -1 << true << 1000 << false;
    QTest::newRow("luminance target unchanged is sent")
        << 0x2B3 << 160u << true << 160 << true << 1000 << false;
    QTest::newRow("engine mode") << 0x1050 << 5u << true << -1 << true << 3500 << false;
    QTest::newRow("black level") << 0x1054 << 10u << false << -1 << true << 2000 << false;
    QTest::newRow("processing start, differs")
        << 0x1067 << 1u << true << 3 << true << 5000 << true;
    QTest::newRow("processing start, unchanged")
        << 0x1067 << 1u << true << 1 << false << 500 << true;
    QTest::newRow("processing start, plain") << 0x1067 << 1u << false << 3 << true << 4000
                                             << false;
    QTest::newRow("processing hold") << 0x1067 << 3u << false << -1 << true << 50 << false;
    QTest::newRow("brightness") << 0x10 << 20u << true << -1 << true << 50 << false;
}

void TestCDDCMonitorSettings::batchWaits()
{
    QFETCH(int, code);
    QFETCH(uint, value);
    QFETCH(bool, onlyIfDifferent);
    QFETCH(int, monitorHolds);
    QFETCH(bool, sent);
    QFETCH(int, lastWaitMs);
    QFETCH(bool, waitsBeforeCompare);

    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    if (monitorHolds >= 0)
        rig.sim().setRegister(quint16(code), quint16(monitorHolds));
    rig.sim().clearLog();
    rig.clock.clearWaits();

    Batch batch{set_get_vcp_list::write(code, value, onlyIfDifferent)};
    QCOMPARE(rig.monitor.SetGetVCPList(&batch, false), 0);
    QCOMPARE(batch[0].result, 0);
    const QByteArray set = QByteArray(1, char(0xC8)).append(char(code >> 8)).append(char(code));
    QCOMPARE(rig.requestsStartingWith(set).size(), sent ? 1 : 0);
    QCOMPARE(uint(rig.sim().registerValue(quint16(code))), value);
    QCOMPARE(rig.clock.waitsTicks().last(), waitTicks(lastWaitMs));
    QCOMPARE(rig.clock.waitsTicks().contains(waitTicks(500)), waitsBeforeCompare);
}

void TestCDDCMonitorSettings::batchStopsAtFailure()
{
    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    rig.sim().addFault({SimFaultKind::NakRead, 0xC6, 0x16, 1000});
    ProgressLog progress(&rig.monitor);

    Batch batch{set_get_vcp_list::read(0x10), set_get_vcp_list::read(0x1099),
                set_get_vcp_list::write(0x12, 60), set_get_vcp_list::write(0x16, 100, true),
                set_get_vcp_list::write(0x18, 100)};
    QCOMPARE(rig.monitor.SetGetVCPList(&batch, true), -11);

    QCOMPARE(batch[0].result, 0);
    QCOMPARE(batch[0].value, 50u);
    QCOMPARE(batch[0].maximum, 100u);
    // An unsupported code is recorded and the batch goes on.
    QCOMPARE(batch[1].result, -1027);
    QCOMPARE(batch[2].result, 0);
    QCOMPARE(rig.sim().registerValue(0x12), quint16(60));
    // The comparison read failed: nothing written, the batch ends there.
    QCOMPARE(batch[3].result, -11);
    QCOMPARE(rig.sim().registerValue(0x16), quint16(255));
    QCOMPARE(batch[4].result, 0);
    QCOMPARE(batch[4].value, 100u);
    QCOMPARE(rig.sim().registerValue(0x18), quint16(255));
    QCOMPARE(progress.messages().first(), qMakePair(2u, 5u));
    QCOMPARE(progress.steps(), 4);
}

void TestCDDCMonitorSettings::lateReplies_data()
{
    addTransportColumn();
    addTransportRows();
}

void TestCDDCMonitorSettings::lateReplies()
{
    // Colour-engine codes answer a write late; the reply is polled for, not
    // the write repeated, over either transport.
    QFETCH(int, transport);
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.slowCodes = {0x1050, 0x1067};
    MonitorRig rig(MonitorTransport(transport), config);
    QCOMPARE(rig.connect(), 0);
    rig.sim().setRegister(0x1067, 3);
    Batch batch{set_get_vcp_list::write(0x1050, 5, true), set_get_vcp_list::write(0x1067, 1)};
    QCOMPARE(rig.monitor.SetGetVCPList(&batch, false), 0);
    QCOMPARE(batch[0].value, 5u);
    QCOMPARE(batch[1].value, 1u);
    QCOMPARE(rig.requestsStartingWith(hex("C8 10 50")).size(), 1);
    QCOMPARE(rig.requestsStartingWith(hex("C8 10 67")).size(), 1);
    QCOMPARE(rig.sim().registerValue(0x1050), quint16(5));
}

void TestCDDCMonitorSettings::storedSettingsRound_data()
{
    addTransportColumn();
    addTransportRows();
}

void TestCDDCMonitorSettings::storedSettingsRound()
{
    QFETCH(int, transport);
    MonitorRig rig{MonitorTransport(transport)};
    QCOMPARE(rig.connect(), 0);

    // Configure for calibration and save.
    QCOMPARE(rig.monitor.BeginColorAdjustment(), 0);
    Batch setUp = calibrationSetUp();
    QCOMPARE(rig.monitor.SetGetVCPList(&setUp, true), 0);
    QCOMPARE(rig.monitor.EndColorAdjustment(), 0);
    QCOMPARE(rig.monitor.SaveCurrentSettings(), 0);
    Batch stored = readsOf(setUp);
    QCOMPARE(rig.monitor.SetGetVCPList(&stored, false), 0);
    QCOMPARE(stored[2].value, 5u);

    // Unchanged: adjusted.
    Batch now = readsOf(setUp);
    QCOMPARE(rig.monitor.SetGetVCPList(&now, false), 0);
    QVERIFY(sameValues(now, stored));

    // Changed behind the object's back: not adjusted.
    rig.sim().setRegister(0x1050, 2);
    now = readsOf(setUp);
    QCOMPARE(rig.monitor.SetGetVCPList(&now, false), 0);
    QVERIFY(!sameValues(now, stored));

    // Restore sends only what differs and puts the stored value back.
    rig.sim().clearLog();
    Batch restore = restoreOf(stored);
    QCOMPARE(rig.monitor.SetGetVCPList(&restore, true), 0);
    QCOMPARE(rig.requestsStartingWith(hex("C8")), QVector<QByteArray>({hex("C8 10 50 00 05")}));
    QCOMPARE(rig.sim().registerValue(0x1050), quint16(5));
    now = readsOf(setUp);
    QCOMPARE(rig.monitor.SetGetVCPList(&now, false), 0);
    QVERIFY(sameValues(now, stored));

    // The saved settings survive a power cycle; later changes do not.
    rig.sim().setRegister(0x1051, 3);
    rig.sim().powerCycle();
    QCOMPARE(rig.sim().registerValue(0x1050), quint16(5));
    QCOMPARE(rig.sim().registerValue(0x1051), quint16(10));
}

void TestCDDCMonitorSettings::neutralHooks()
{
    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    ProgressLog progress(&rig.monitor);
    rig.sim().clearLog();
    rig.clock.clearWaits();
    CDDCMonitor &m = rig.monitor;

    QCOMPARE(m.ResetMonitorToKnownState(), 0);
    QCOMPARE(m.BeginColorAdjustment(), 0);
    QCOMPARE(progress.steps(), 0);
    QCOMPARE(m.ConfigureMonitorControlsForCalibration(nullptr), 0);
    QCOMPARE(progress.steps(), 3);
    QCOMPARE(m.ConfigureMonitorControlsForsRGBMode(), 0);
    QCOMPARE(m.EndColorAdjustment(), 0);
    QCOMPARE(progress.steps(), 9);
    QCOMPARE(m.IsAdjustedToSettings(nullptr, nullptr), 0);
    QCOMPARE(m.CanCreateCalibration(nullptr, nullptr), false);
    QCOMPARE(m.SetToAdjustValue(nullptr, nullptr), 0);
    QCOMPARE(m.CollectMonitorSpecificData(nullptr), 0);
    QCOMPARE(m.CanRestoreMonitorSpecificData(nullptr), 0);
    QCOMPARE(m.RestoreMonitorSpecificData(nullptr), 0);
    QCOMPARE(m.SetInternalColorFeedback(true), 0);
    QCOMPARE(m.MonitorUsesRGBGainsForIntensity(), 0);
    QCOMPARE(m.GetDisplayStablizationTime(100.0), 0);
    QCOMPARE(m.WaitForColorProcessingFinished(), 0);
    QCOMPARE(m.UpdateEEPROMProfileID(1234567), 0);
    QCOMPARE(m.NoInternalLuminanceSensor(), 0);
    QCOMPARE(m.GetSupportedColorGamutMode(), CDDCMonitor::kColorGamutNotAdjustable);
    QCOMPARE(m.ReadSensorCorrectionBackupData(), 0);
    QCOMPARE(m.IsUpdateFactoryCalibrationSupported(), 0);
    QCOMPARE(m.IsCreateSensorCorrectionMatrixSupported(), 0);
    QCOMPARE(m.IsSixAxisColorSupported(), 0);
    double matrix[9] = {7, 7, 7, 7, 7, 7, 7, 7, 7};
    QCOMPARE(m.GetColorSensorCorrectionMatrix(1, 2, QStringLiteral("X"), matrix), -1);
    QCOMPARE(matrix[4], 7.0);

    // The fixed answers about the control model.
    uint mode = 42;
    QCOMPARE(m.SetAutoLumianceMode(1), -1);
    QCOMPARE(m.GetAutoLumianceMode(&mode), -1);
    QCOMPARE(mode, 42u);
    QCOMPARE(m.IsAutoLumianceModeSupported(), 0);
    QCOMPARE(m.SetMonitorToLinearLUTUsingRGBGains(), 0);
    QCOMPARE(m.SetRGBGainOperationMode(2), 0);
    QCOMPARE(m.GetRGBGainOperationMode(), 2u);
    QCOMPARE(m.InitLUTUsingRGBGainValues(), 0);
    QCOMPARE(m.MonitorNeedsLinearLUTsSendingInAutoLuminanceMode(), 0);
    QCOMPARE(m.MonitorHasRGBGainControlsInNativeGammaMode(), 1);
    QCOMPARE(m.MonitorSupportsAutoLuminanceInNativeGammaMode(), 0);
    QCOMPARE(m.MonitorAlwaysUsesLUTs(), 0);
    QCOMPARE(m.MonitorSupportsColorAdjustmentInNativeGammaMode(), 1);
    QCOMPARE(m.MonitorSupportsColorAdjustmentInsRGBGamutMode(), 0);
    std::vector<uint> table(3, 9);
    QCOMPARE(m.CalculateCorrectionLUT(nullptr, nullptr, table), -1);
    QCOMPARE(table, std::vector<uint>(3, 9));

    // None of it talks to the monitor or waits.
    QVERIFY(rig.sim().requests().isEmpty());
    QVERIFY(rig.clock.waitsUs().isEmpty());
}

void TestCDDCMonitorSettings::pictureModeName_data()
{
    addTransportColumn();
    addTransportRows();
}

void TestCDDCMonitorSettings::pictureModeName()
{
    QFETCH(int, transport);
    MonitorRig rig{MonitorTransport(transport)};
    QCOMPARE(rig.connect(), 0);
    // A short name is padded to the 13 characters the command carries.
    char name[] = "PZR";
    QCOMPARE(rig.monitor.set_picture_mode_programmable_name(3, name), 0);
    QCOMPARE(rig.sim().pictureModeName(3), QByteArray("PZR          "));
    char back[14];
    std::memset(back, 'x', sizeof back);
    QCOMPARE(rig.monitor.get_picture_mode_programmable_name(3, back), 0);
    QCOMPARE(QByteArray(back), QByteArray("PZR          "));

    CDDCMonitor unconnected;
    QCOMPARE(unconnected.set_picture_mode_programmable_name(3, name), -6);
    QCOMPARE(unconnected.get_picture_mode_programmable_name(3, back), -6);
}

QTEST_GUILESS_MAIN(TestCDDCMonitorSettings)
#include "tst_cddcmonitor_settings.moc"
