// Keeping the display awake on Linux: through the session's screen saver
// service (a fake on a private bus), with nothing to ask (no service, no
// bus, no X server), and the process-wide backend a window inhibits through.

#include "DisplayAwake.h"
#include "LinuxDisplayAwake.h"
#include "ScreenSaverBus.h"

#include <QtTest>

using namespace pz;
using namespace pz::test;

namespace {

// Records what the windows ask of the backend.
class RecordingAwake : public IDisplayAwake {
public:
    QStringList calls;
    bool inhibit(const QString &application, const QString &reason) override
    {
        calls.append(QStringLiteral("inhibit(%1,%2)").arg(application, reason));
        return true;
    }
    void release() override { calls.append(QStringLiteral("release")); }
    void keepAwake() override { calls.append(QStringLiteral("keepAwake")); }
};

} // namespace

class TestDisplayAwake : public QObject {
    Q_OBJECT

    ScreenSaverBus m_bus;
    bool m_haveBus = false;
    QString m_why;

private slots:
    void initTestCase()
    {
        // No X server for these cases: only the bus may be asked.
        qunsetenv("DISPLAY");
        m_haveBus = m_bus.start(&m_why);
    }

    void inhibitThroughTheService()
    {
        if (!m_haveBus)
            QSKIP(qPrintable(m_why));
        QVERIFY(m_bus.serve(true));
        {
            LinuxDisplayAwake awake(m_bus.client());
            QVERIFY(awake.inhibit("Pelzora", "Calibrating"));
            QCOMPARE(awake.means(), LinuxDisplayAwake::kScreenSaverService);
            // A second request while inhibited asks nothing more.
            QVERIFY(awake.inhibit("Pelzora", "Calibrating"));
            awake.keepAwake();
            QCOMPARE(m_bus.takeCalls(), QStringList({"Inhibit(Pelzora,Calibrating)=4711"}));
            awake.release();
            QCOMPARE(m_bus.takeCalls(), QStringList({"UnInhibit(4711)"}));
            awake.release();
            QVERIFY(m_bus.takeCalls().isEmpty());

            // The destructor releases what is still inhibited.
            QVERIFY(awake.inhibit("Pelzora", "Again"));
            QCOMPARE(m_bus.takeCalls(), QStringList({"Inhibit(Pelzora,Again)=4712"}));
        }
        QCOMPARE(m_bus.takeCalls(), QStringList({"UnInhibit(4712)"}));
        QVERIFY(m_bus.serve(false));
    }

    void nothingToAsk_data()
    {
        QTest::addColumn<bool>("busRunning");
        QTest::newRow("bus without the service") << true;
        QTest::newRow("no bus") << false;
    }
    void nothingToAsk()
    {
        QFETCH(bool, busRunning);
        if (busRunning && !m_haveBus)
            QSKIP(qPrintable(m_why));
        const QDBusConnection bus = busRunning
            ? m_bus.client()
            : QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/pz-bus"),
                                            QStringLiteral("pz-no-bus"));
        LinuxDisplayAwake awake(bus);
        QVERIFY(!awake.inhibit("Pelzora", "Calibrating"));
        QCOMPARE(awake.means(), LinuxDisplayAwake::kNothing);
        awake.keepAwake();
        awake.release();
        if (m_haveBus)
            QVERIFY(m_bus.takeCalls().isEmpty());
    }

    void scopeUsesTheInstalledBackend()
    {
        // The default does nothing and fails nothing.
        QVERIFY(!displayAwake().inhibit("Pelzora", "x"));
        displayAwake().keepAwake();
        displayAwake().release();

        RecordingAwake recording;
        {
            ScopedDisplayAwake installed(&recording);
            DisplayAwakeScope scope(QStringLiteral("Calibrating"));
            displayAwake().keepAwake();
        }
        QCOMPARE(recording.calls, QStringList({"inhibit(Pelzora,Calibrating)", "keepAwake", "release"}));
        QVERIFY(&displayAwake() != &recording);
    }
};

QTEST_GUILESS_MAIN(TestDisplayAwake)
#include "tst_displayawake.moc"
