// Profile and validation measurement, and the monitor restore, end to end on
// the simulated HX monitor with a simulated colorimeter and the headless
// patch responder.

#include "CalibrateThread.h"
#include "CalibrationRig.h"
#include "TestSupport.h"

#include <QtTest>
#include <cmath>

using namespace pz;
using namespace pz::test;

namespace {

constexpr int kNativeTableAddress = 0x8800;

CTargetValue gammaTarget()
{
    CTargetValue target;
    target.CreateDefault();
    target.m_GammaCurveType = CTargetValue::kCurveGamma;
    return target;
}

bool isWrite(const QByteArray &request)
{
    const quint8 opcode = quint8(request.at(0));
    const quint8 sub = request.size() > 1 ? quint8(request.at(1)) : 0;
    return opcode == 0x03                        // Set VCP
           || opcode == 0xC8                     // paged Set VCP
           || opcode == 0x0C                     // save current settings
           || (opcode == 0xC2 && (sub == 0x05 || sub == 0x0B))   // table writes
           || (opcode == 0xC0 && sub == 0x02);   // EEPROM write
}

} // namespace

class TestMeasureDisplay : public QObject {
    Q_OBJECT
private slots:
    void firstReadingThreshold_data();
    void firstReadingThreshold();
    void signalSequence();
    void recordsWhatTheDisplayShows();
    void measuresWithoutAMonitorObject();
    void sensorLostInTheGreyRamp();
    void restoreSendsTheKnownState();
    void restoreOfASilentMonitorStillCompletes();
    void restoreWithoutAMonitorObject();
};

void TestMeasureDisplay::firstReadingThreshold_data()
{
    QTest::addColumn<double>("deviceReads");   // 0: what the monitor gives
    QTest::addColumn<int>("luminanceRegister");
    QTest::addColumn<QString>("end");
    QTest::newRow("device reads 20.0") << 20.0 << 160 << QStringLiteral("CalibrationComplete()");
    QTest::newRow("device reads 19.9") << 19.9 << 160 << QStringLiteral("calibrationError(-1004)");
    QTest::newRow("device reads no number") << std::nan("") << 160
                                            << QStringLiteral("calibrationError(-1004)");
    // 0.96 cd/m² per step: 21 gives 20.16, 20 gives 19.2.
    QTest::newRow("monitor at 20.16") << 0.0 << 21 << QStringLiteral("CalibrationComplete()");
    QTest::newRow("monitor at 19.2") << 0.0 << 20 << QStringLiteral("calibrationError(-1004)");
}

void TestMeasureDisplay::firstReadingThreshold()
{
    QFETCH(double, deviceReads);
    QFETCH(int, luminanceRegister);
    QFETCH(QString, end);
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.registerValues[0x2B3] = quint16(luminanceRegister);
    CalibrationRig rig(true, config);
    if (!(deviceReads <= 0.0))
        rig.device().scriptReadings({SimXYZ{0.95 * deviceReads, deviceReads, 1.08 * deviceReads}});
    else
        QCOMPARE(rig.whiteLuminance() >= 20.0, end == QLatin1String("CalibrationComplete()"));
    CalibrateThread thread;
    rig.attach(thread);
    thread.SetTargetValue(gammaTarget());
    ThreadSignalLog log(thread);

    QVERIFY(CalibrationRig::runToEnd(thread, log, CalibrateThread::OPERATION_VALIDATE));
    QCOMPARE(log.entries.last(), end);
    const bool passed = !end.startsWith(QLatin1String("calibrationError"));
    QCOMPARE(thread.m_AdjustValue.m_IsValid, passed);
    if (!passed) {
        // Nothing but the first reading, before any patch.
        QCOMPARE(log.names(), (QStringList{"SetNumberOfTasks", "ShowMainInformationWidget",
                                           "calibrationError"}));
        QVERIFY(rig.responder.shown().isEmpty());
        QCOMPARE(rig.sensor.measureCounts().size(), 1);
        QCOMPARE(rig.device().calls().count(QStringLiteral("MeasureXYZ")), 1);
    }
}

void TestMeasureDisplay::signalSequence()
{
    CalibrationRig rig;
    CalibrateThread thread;
    rig.attach(thread);
    thread.SetTargetValue(gammaTarget());
    ThreadSignalLog log(thread);
    QVERIFY(CalibrationRig::runToEnd(thread, log, CalibrateThread::OPERATION_VALIDATE));

    QStringList expected{"SetNumberOfTasks(2)", "ShowMainInformationWidget(true)",
                         "StepTaskCounter()", "SetNumberOfSubtasks(11)",
                         "ShowMeasurementAreaPatch(true)", "StartingTask(5)"};
    const char *primaries[] = {"255,0,0", "0,255,0", "0,0,255"};
    for (int k = 0; k < 3; ++k)
        expected << QStringLiteral("StartingSubTask(%1)").arg(k + 1)
                 << QStringLiteral("SetMeasurementAreaPatchColor(%1)").arg(primaries[k])
                 << "StepSubTaskCounter()";
    expected << "StartingSubTask(6)";
    const auto &steps = thread.m_AdjustValue.m_ColorValue.m_FinalGreySteps;
    QCOMPARE(steps.size(), 8);
    for (int i = 0; i < 8; ++i) {
        const int c = CalibrateThread::GreyLevel(i, 8);
        expected << QStringLiteral("SetMeasurementAreaPatchColor(%1,%1,%1)").arg(c);
        const CCIEYxy reading = steps[i].GetCIEYxy();
        if (i == 0)
            expected << QStringLiteral("SetBlackLevelMeasuredValue(%1)").arg(reading.Y, 0, 'g', 6);
        if (i == 7)
            expected << QStringLiteral("SetWhitePointMeasuredValue(%1,%2,%3)")
                            .arg(reading.x, 0, 'g', 6)
                            .arg(reading.y, 0, 'g', 6)
                            .arg(reading.Y, 0, 'g', 6)
                     << QStringLiteral("SetWhiteLevelMeasuredValue(%1)").arg(reading.Y, 0, 'g', 6);
        expected << "StepSubTaskCounter()";
    }
    expected << "StepTaskCounter()" << "CalibrationComplete()";
    QCOMPARE(log.entries, expected);
    // The last level is read with two measurements, the others with one.
    QCOMPARE(rig.sensor.measureCounts(), (QVector<unsigned>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2}));
}

void TestMeasureDisplay::recordsWhatTheDisplayShows()
{
    CalibrationRig rig;
    // Native primaries in the monitor's EEPROM, unlike its EDID's.
    // Three 16-byte records, X Y Z little-endian at offset 4: red 640 330 30,
    // green 300 600 100, blue 150 60 790.
    rig.sim->setEeprom(kNativeTableAddress, hex("00 00 00 00 80 02 00 00 4A 01 00 00 1E 00 00 00"
                                                "00 00 00 00 2C 01 00 00 58 02 00 00 64 00 00 00"
                                                "00 00 00 00 96 00 00 00 3C 00 00 00 16 03 00 00"));
    // A ramp another program loaded: gamma 1.8 on red, 0.9 of full scale on blue.
    GammaRampTables loaded = identityGammaRamp();
    for (int i = 0; i < IGammaRamps::kEntries; ++i) {
        loaded.red[i] = float(std::pow(i / 255.0, 1.8));
        loaded.blue[i] = float(0.9 * i / 255.0);
    }
    QVERIFY(rig.rig.desk.ramps().setRamp(CalibrationRig::kDisplay, loaded));
    rig.sim->clearLog();

    CalibrateThread thread;
    rig.attach(thread);
    thread.SetTargetValue(gammaTarget());
    ThreadSignalLog log(thread);
    QVERIFY(CalibrationRig::runToEnd(thread, log, CalibrateThread::OPERATION_PROFILE));
    QCOMPARE(log.entries.last(), QStringLiteral("CalibrationComplete()"));

    const CAdjustValue &result = thread.m_AdjustValue;
    const CColorValue &record = result.m_ColorValue;
    QVERIFY(result.m_IsValid);
    QCOMPARE(result.GetSensorModelName(), QStringLiteral("X-Rite i1 Display Pro"));
    QCOMPARE(result.GetSensorSerial(), QStringLiteral("I1D3-0000123"));
    QVERIFY(result.m_CalibrationDateTime.isValid());

    const CCIEXYZ red(CCIEYxy(1.0, 0.640, 0.330));
    const CCIEXYZ green(CCIEYxy(1.0, 0.300, 0.600));
    const CCIEXYZ blue(CCIEYxy(1.0, 0.150, 0.060));
    const CCIEXYZ *got[3] = {&record.m_EDIDRed, &record.m_EDIDGreen, &record.m_EDIDBlue};
    const CCIEXYZ *want[3] = {&red, &green, &blue};
    for (int p = 0; p < 3; ++p) {
        QCOMPARE(got[p]->X, want[p]->X);
        QCOMPARE(got[p]->Y, want[p]->Y);
        QCOMPARE(got[p]->Z, want[p]->Z);
    }

    const QVector<float> *tables[3] = {&loaded.red, &loaded.green, &loaded.blue};
    for (int c = 0; c < 3; ++c) {
        const CSpline &curve = record.m_Splines[CColorValue::kCardRampRed + c];
        QVERIFY(curve.IsValid());
        QCOMPARE(curve.GetNumberOfPoints(), 256);
        for (int i : {0, 1, 64, 128, 200, 255})
            QVERIFY2(std::abs(curve.GetY(i) - (*tables[c])[i]) < 1.0 / 65535.0,
                     qPrintable(QStringLiteral("channel %1 entry %2").arg(c).arg(i)));
    }

    // Patches of the final task, black and white from the ramp's ends.
    QVERIFY(record.m_FinalPatches[CColorValue::kRedPatch].X > record.m_FinalPatches[CColorValue::kRedPatch].Z);
    QCOMPARE(record.m_FinalPatches[CColorValue::kBlackPatch].Y, record.m_FinalGreySteps.first().Y);
    QCOMPARE(record.m_FinalPatches[CColorValue::kWhitePatch].Y, record.m_FinalGreySteps.last().Y);
    for (int c = CColorValue::kCorrectedRed; c <= CColorValue::kCorrectedBlue; ++c)
        QVERIFY(record.m_Splines[c].IsValid());

    // Nothing written to the monitor: reads only.
    const QVector<QByteArray> requests = rig.sim->requests();
    QVERIFY(!requests.isEmpty());
    for (const QByteArray &r : requests)
        QVERIFY2(!isWrite(r), r.toHex(' ').constData());
    // Nor to the card.
    GammaRampTables now;
    QVERIFY(rig.rig.desk.ramps().getRamp(CalibrationRig::kDisplay, now));
    QCOMPARE(now.red, loaded.red);
    QCOMPARE(now.blue, loaded.blue);
}

void TestMeasureDisplay::measuresWithoutAMonitorObject()
{
    CalibrationRig rig(false);
    QVERIFY(!rig.display.m_pDDCMonitor);
    CalibrateThread thread;
    rig.attach(thread);
    thread.SetTargetValue(gammaTarget());
    ThreadSignalLog log(thread);
    rig.rig.clock.clearWaits();
    QVERIFY(CalibrationRig::runToEnd(thread, log, CalibrateThread::OPERATION_VALIDATE));
    QCOMPARE(log.entries.last(), QStringLiteral("CalibrationComplete()"));
    // The only waits: the device integrates 1 s per reading, and each of the
    // 11 patches settles 200 ms before it is read: once, three times for the
    // two darkest grey levels (low-light averaging), twice for white.
    QVector<qint64> expected{1000};   // the first reading
    for (int readings : {1, 1, 1, 3, 3, 1, 1, 1, 1, 1, 2}) {
        expected << 200;
        expected << QVector<qint64>(readings, 1000);
    }
    QCOMPARE(rig.rig.clock.waitsMs(), expected);
    const CColorValue &record = thread.m_AdjustValue.m_ColorValue;
    QVERIFY(thread.m_AdjustValue.m_IsValid);
    QCOMPARE(record.m_FinalGreySteps.size(), 8);
    QCOMPARE(record.m_EDIDRed.X + record.m_EDIDRed.Y + record.m_EDIDRed.Z, 0.0);
    QVERIFY(rig.sim->requests().isEmpty());
}

void TestMeasureDisplay::sensorLostInTheGreyRamp()
{
    CalibrationRig rig;
    CalibrateThread thread;
    rig.attach(thread);
    thread.SetTargetValue(gammaTarget());
    ThreadSignalLog log(thread);
    // First reading, red, green, blue and the first grey level succeed; the
    // device is pulled out while the second grey level is painted.
    rig.unplugAtPatch = 5;
    QVERIFY(CalibrationRig::runToEnd(thread, log, CalibrateThread::OPERATION_VALIDATE));

    QCOMPARE(log.entries.last(), QStringLiteral("calibrationError(-1003)"));
    QCOMPARE(rig.responder.shown().size(), 5);
    // The sixth Measure found the device gone: the first reading, red, green,
    // blue and black (three low-light readings) were all it took.
    QCOMPARE(rig.sensor.measureCounts().size(), 6);
    QCOMPARE(rig.device().calls().count(QStringLiteral("MeasureXYZ")), 7);
    const CAdjustValue &result = thread.m_AdjustValue;
    QVERIFY(!result.m_IsValid);
    const CColorValue &record = result.m_ColorValue;
    for (int p : {CColorValue::kRedPatch, CColorValue::kGreenPatch, CColorValue::kBluePatch})
        QVERIFY(record.m_FinalPatches[p].Y > 0.0);
    QVERIFY(record.m_FinalGreySteps.isEmpty());
    QVERIFY(!result.m_CalibrationDateTime.isValid());
    QVERIFY(result.GetSensorModelName().isEmpty());
}

void TestMeasureDisplay::restoreSendsTheKnownState()
{
    CalibrationRig rig;
    // A monitor left in another state (the batch writes only what differs).
    const QVector<QPair<int, uint>> before{{0x2B3, 90},   {0x268, 2},    {0x2E8, 220},
                                           {0x1052, 300}, {0x1053, 310}, {0x1067, 3}};
    for (const auto &r : before)
        rig.sim->setRegister(quint16(r.first), quint16(r.second));
    rig.sim->clearLog();
    CalibrateThread thread;
    rig.attach(thread);
    ThreadSignalLog log(thread);
    QVERIFY(CalibrationRig::runToEnd(thread, log, CalibrateThread::OPERATION_RESTORE_MONITOR));
    QCoreApplication::processEvents();

    QCOMPARE(thread.m_RestoreResult, 0);
    QCOMPARE(log.entries.mid(0, 3),
             (QStringList{"SetNumberOfTasks(0)", "SetNumberOfSubtasks(0)", "StartingTask(10)"}));
    QVERIFY(log.entries.contains(QStringLiteral("CalibrationComplete()")));
    QCOMPARE(log.entries.count(QStringLiteral("CalibrationComplete()")), 1);

    QVector<QPair<int, uint>> writes;
    for (const QByteArray &r : rig.sim->requests())
        if (r.size() == 5 && quint8(r[0]) == 0xC8)
            writes.append({int(quint8(r[1])) << 8 | quint8(r[2]),
                           uint(quint8(r[3])) << 8 | quint8(r[4])});
    const QVector<QPair<int, uint>> expected{{0x2B3, 160},  {0x268, 9},    {0x2E8, 170},
                                             {0x1052, 313}, {0x1053, 329}, {0x1067, 1}};
    QCOMPARE(writes, expected);
    // The settings stay; 0x1067 only starts the colour engine.
    for (const auto &w : expected.mid(0, 5))
        QCOMPARE(uint(rig.sim->registerValue(quint16(w.first))), w.second);
    // The monitor's progress reaches the window through the thread.
    QVERIFY(log.argsOf("StepSubTaskCounter").size() > 0);
}

void TestMeasureDisplay::restoreOfASilentMonitorStillCompletes()
{
    CalibrationRig rig;
    rig.sim->addFault({SimFaultKind::NakWrite, -1, -1, 100000});
    CalibrateThread thread;
    rig.attach(thread);
    ThreadSignalLog log(thread);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Restoring the monitor.*-12"));
    QVERIFY(CalibrationRig::runToEnd(thread, log, CalibrateThread::OPERATION_RESTORE_MONITOR));
    QCOMPARE(log.entries.last(), QStringLiteral("CalibrationComplete()"));
    QVERIFY(!log.names().contains(QStringLiteral("calibrationError")));
    QCOMPARE(thread.m_RestoreResult, -12);
}

void TestMeasureDisplay::restoreWithoutAMonitorObject()
{
    CalibrationRig rig(false);
    CalibrateThread thread;
    rig.attach(thread);
    ThreadSignalLog log(thread);
    QVERIFY(CalibrationRig::runToEnd(thread, log, CalibrateThread::OPERATION_RESTORE_MONITOR));
    QCOMPARE(log.entries, (QStringList{"SetNumberOfTasks(0)", "SetNumberOfSubtasks(0)",
                                       "StartingTask(10)", "CalibrationComplete()"}));
    QCOMPARE(thread.m_RestoreResult, 0);
    QVERIFY(rig.sim->requests().isEmpty());
}

QTEST_MAIN(TestMeasureDisplay)
#include "tst_measuredisplay.moc"
