// The stored-settings thread on the simulated HX monitor: verify and restore
// a stored calibration built by hand, with the graphics card ramp loaded
// around the monitor work.

#include "CheckRestoreMonitorSettingsThread.h"
#include "CalibrationRig.h"

#include <QtTest>
#include <cmath>

using namespace pz;
using namespace pz::test;

namespace {

// The card of the simulated desktop, counting the ramps loaded into it.
class CountingRamps : public IGammaRamps {
public:
    explicit CountingRamps(IGammaRamps &inner) : m_inner(inner) {}
    bool setRamp(quint32 displayId, const GammaRampTables &tables) override
    {
        loads.fetchAndAddOrdered(1);
        return m_inner.setRamp(displayId, tables);
    }
    bool getRamp(quint32 displayId, GammaRampTables &tables) override
    {
        return m_inner.getRamp(displayId, tables);
    }
    QAtomicInt loads = 0;

private:
    IGammaRamps &m_inner;
};

struct StoredCalibration {
    StoredCalibration()
    {
        target.CreateDefault();
        target.m_GammaCurveType = CTargetValue::kCurveGamma;
        target.m_Gamma = 2.2;
        const qint16 values[] = {640, 330, 300, 600, 150, 60, 313, 329, 5};
        std::copy(std::begin(values), std::end(values), result.m_MonitorSpecificValues);
        result.m_Brightness = 120;
        result.m_CalibrationDateTime = QDateTime(QDate(2026, 12, 1), QTime(9, 30));
        // The card ramp of the calibration: gamma 1.8, 1.0 and 0.8.
        const double gammas[3] = {1.8, 1.0, 0.8};
        for (int c = 0; c < 3; ++c) {
            CSpline &curve = result.m_ColorValue.m_Splines[CColorValue::kCardRampRed + c];
            curve.InitSpline(SPLINE_CATMULL_ROM, 256, 0.0, 1.0);
            curve.SetSplineGamma(gammas[c]);
            curve.SetValid(true);
        }
    }
    CTargetValue target;
    CAdjustValue result;
};

struct Bench {
    explicit Bench(bool withMonitorObject = true) : rig(withMonitorObject) {}
    // Runs one mode to its end: the results of Finished.
    QList<int> run(unsigned mode, bool setObjects = true)
    {
        CheckRestoreMonitorSettingsThread thread;
        if (setObjects)
            thread.SetObjects(&rig.display, &stored.target, &stored.result);
        QSignalSpy finished(&thread, &CheckRestoreMonitorSettingsThread::Finished);
        thread.begin(mode);
        thread.wait();
        QCoreApplication::processEvents();
        QList<int> out;
        for (const QList<QVariant> &args : finished)
            out.append(args.at(0).toInt());
        return out;
    }
    // The card's red ramp at entry i.
    float cardRed(int i)
    {
        GammaRampTables now;
        rig.rig.desk.ramps().getRamp(CalibrationRig::kDisplay, now);
        return now.red.value(i);
    }

    CalibrationRig rig;
    CountingRamps ramps{rig.rig.desk.ramps()};
    ScopedGammaRamps rampScope{&ramps};
    StoredCalibration stored;
};

bool writesTo(SimOrvaneMonitor &sim, int code)
{
    for (const QByteArray &r : sim.requests())
        if (r.size() >= 3 && quint8(r[0]) == 0xC8 && (int(quint8(r[1])) << 8 | quint8(r[2])) == code)
            return true;
    return false;
}

} // namespace

class TestCheckRestoreThread : public QObject {
    Q_OBJECT
private slots:
    void restoreVerifyAndRestoreAgain();
    void silentMonitor();
    void otherModeTouchesNothing();
    void verifyWithoutAMonitorObject();
    void missingObjects();
};

void TestCheckRestoreThread::restoreVerifyAndRestoreAgain()
{
    Bench bench;
    SimOrvaneMonitor &sim = *bench.rig.sim;
    QCOMPARE(bench.run(CheckRestoreMonitorSettingsThread::MODE_RESTORE), QList<int>{0});
    QCOMPARE(bench.ramps.loads.loadAcquire(), 2);
    QCOMPARE(bench.run(CheckRestoreMonitorSettingsThread::MODE_VERIFY), QList<int>{1});
    QCOMPARE(bench.ramps.loads.loadAcquire(), 3);

    sim.setRegister(0x1052, 320);
    QCOMPARE(bench.run(CheckRestoreMonitorSettingsThread::MODE_VERIFY), QList<int>{0});

    // Restore again: the stored values are back, and the card holds the
    // stored curves.
    GammaRampTables identity = identityGammaRamp();
    bench.rig.rig.desk.ramps().setRamp(CalibrationRig::kDisplay, identity);
    QCOMPARE(bench.run(CheckRestoreMonitorSettingsThread::MODE_RESTORE), QList<int>{0});
    const int codes[] = {0x1055, 0x1056, 0x1057, 0x1058, 0x1059, 0x105A, 0x1052, 0x1053, 0x1054};
    for (int i = 0; i < 9; ++i)
        QCOMPARE(int(sim.registerValue(quint16(codes[i]))),
                 int(bench.stored.result.m_MonitorSpecificValues[i]));
    QCOMPARE(int(sim.registerValue(0x2B3)), 120);
    QCOMPARE(bench.run(CheckRestoreMonitorSettingsThread::MODE_VERIFY), QList<int>{1});
    GammaRampTables now;
    QVERIFY(bench.rig.rig.desk.ramps().getRamp(CalibrationRig::kDisplay, now));
    for (int i : {0, 64, 128, 255}) {
        QVERIFY(std::abs(now.red[i] - std::pow(i / 255.0, 1.8)) < 1e-3);
        QVERIFY(std::abs(now.green[i] - i / 255.0) < 1e-3);
        QVERIFY(std::abs(now.blue[i] - std::pow(i / 255.0, 0.8)) < 1e-3);
    }
}

void TestCheckRestoreThread::silentMonitor()
{
    Bench bench;
    SimOrvaneMonitor &sim = *bench.rig.sim;
    sim.clearLog();
    sim.addFault({SimFaultKind::NakWrite, -1, -1, 100000});
    const QList<int> finished = bench.run(CheckRestoreMonitorSettingsThread::MODE_RESTORE);
    QCOMPARE(finished, QList<int>{-12});
    // The configuration failed, so the stored values were never sent.
    QVERIFY(!writesTo(sim, 0x105D));
    QCOMPARE(bench.ramps.loads.loadAcquire(), 2);
    QVERIFY(std::abs(bench.cardRed(128) - std::pow(128 / 255.0, 1.8)) < 1e-3);
}

void TestCheckRestoreThread::otherModeTouchesNothing()
{
    Bench bench;
    bench.rig.sim->clearLog();
    QCOMPARE(bench.run(2), QList<int>{0});
    QVERIFY(bench.rig.sim->requests().isEmpty());
    QCOMPARE(bench.ramps.loads.loadAcquire(), 0);
    QCOMPARE(bench.cardRed(128), float(128 / 255.0));
}

void TestCheckRestoreThread::verifyWithoutAMonitorObject()
{
    Bench bench(false);
    QVERIFY(!bench.rig.display.m_pDDCMonitor);
    QCOMPARE(bench.run(CheckRestoreMonitorSettingsThread::MODE_VERIFY), QList<int>{0});
    QCOMPARE(bench.ramps.loads.loadAcquire(), 1);
    QVERIFY(std::abs(bench.cardRed(128) - std::pow(128 / 255.0, 1.8)) < 1e-3);
    QVERIFY(bench.rig.sim->requests().isEmpty());
}

void TestCheckRestoreThread::missingObjects()
{
    Bench bench;
    bench.rig.sim->clearLog();
    QCOMPARE(bench.run(CheckRestoreMonitorSettingsThread::MODE_RESTORE, false), QList<int>{-1});

    CheckRestoreMonitorSettingsThread thread;
    thread.SetObjects(&bench.rig.display, nullptr, &bench.stored.result);
    QSignalSpy finished(&thread, &CheckRestoreMonitorSettingsThread::Finished);
    thread.begin(CheckRestoreMonitorSettingsThread::MODE_VERIFY);
    thread.wait();
    QCoreApplication::processEvents();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), -1);
    QVERIFY(bench.rig.sim->requests().isEmpty());
    QCOMPARE(bench.ramps.loads.loadAcquire(), 0);
}

QTEST_MAIN(TestCheckRestoreThread)
#include "tst_checkrestorethread.moc"
