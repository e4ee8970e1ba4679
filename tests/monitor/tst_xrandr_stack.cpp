// The display interface list, the monitor list and the graphics card gamma
// ramp on the Linux backends: a real X server (the program's own virtual
// one, TestXServer.h; skipped without one), and the same objects without
// any X server, where they must go on without displays or ramps.

#include "CMonAPIDummy.h"
#include "TestXServer.h"
#include "CMultiMonitor.h"
#include "CVideoCardGamma.h"
#include "Clock.h"
#include "Desktop.h"
#include "GammaRamp.h"
#include "HidDevice.h"
#include "LinuxDesktop.h"
#include "SimHidBackend.h"
#include "SimMonitorConfig.h"
#include "XRandRGammaRamps.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace pz;

namespace {

QByteArray testServer() { return pz::test::testXDisplay(); }

// The Linux backends on one connection, behind the program's seams; no USB
// bridges (an empty simulated HID bus) and an empty DRM tree, so nothing
// real outside the X server is touched.
struct LinuxStack {
    explicit LinuxStack(const QByteArray &server)
        : x(std::make_shared<XRandRConnection>(server)), desk(x, sysfs.path()), ramps(x),
          clockScope(&clock), desktopScope(&desk), rampScope(&ramps), hidScope(&hid)
    {
    }
    ~LinuxStack()
    {
        if (pCMonAPIDummy == api.get())
            pCMonAPIDummy = nullptr;
    }
    CMonAPIDummy &interfaces()
    {
        api = std::make_unique<CMonAPIDummy>();
        pCMonAPIDummy = api.get();
        return *api;
    }

    QTemporaryDir sysfs;
    std::shared_ptr<XRandRConnection> x;
    LinuxDesktop desk;
    XRandRGammaRamps ramps;
    SimHidBackend hid;
    VirtualClock clock;
    ScopedClock clockScope;
    ScopedDesktop desktopScope;
    ScopedGammaRamps rampScope;
    ScopedHidBackend hidScope;
    std::unique_ptr<CMonAPIDummy> api;
};

} // namespace

class TestXRandRStack : public QObject {
    Q_OBJECT
private slots:
    void withoutXServerTheProgramGoesOn()
    {
        LinuxStack stack(":4093");
        CMonAPIDummy &api = stack.interfaces();
        QCOMPARE(api.EnumerateInterfaces(1, 0), -1001);
        QCOMPARE(api.GetNumDisplayInterfaces(), 0);
        CMultiMonitor list;
        QSignalSpy done(&list, &CMultiMonitor::monitorDetectionComplete);
        QCOMPARE(list.EnumerateDesktop(), 0);
        QCOMPARE(list.GetDisplayCount(), 0);
        QCOMPARE(done.count(), 1);
        CVideoCardGamma card(list.GetMonitorData(0));
        QVector<unsigned int> r, g, b;
        QCOMPARE(card.GetVideoCardGamma(r, g, b), -1);
        QCOMPARE(card.SetLinearVideoCardGamma(), -1);
    }

    void interfacesAndRampOnTheServer()
    {
        if (testServer().isEmpty())
            QSKIP("no X server for tests (no Xvfb, PZ_TEST_X_DISPLAY not set)");
        LinuxStack stack(testServer());
        QVERIFY2(stack.x->isAvailable(), qPrintable(stack.x->unavailableReason()));
        QVector<XRandROutput> outputs;
        QVERIFY(stack.x->activeOutputs(outputs) && !outputs.isEmpty());
        const XRandROutput out = outputs.first();

        // The output publishes an HX monitor's EDID, as its driver would.
        const QByteArray edid = buildSimEdid(SimMonitorConfig::hxsim24());
        QVERIFY(stack.x->setOutputEdid(out.id, edid));
        CMonAPIDummy &api = stack.interfaces();
        QCOMPARE(api.EnumerateInterfaces(1, 0), 0);
        QCOMPARE(api.GetNumDisplayInterfaces(), outputs.size());
        INTERFACE_INFO info;
        QCOMPARE(api.GetDisplayInterfaceInfo(0, &info), 0);
        QCOMPARE(info.m_DisplayID, out.id);
        QVERIFY(info.m_EDIDValid);
        QCOMPARE(info.m_Name, QStringLiteral("HXSIM24"));
        QCOMPARE(info.m_ModelID, 0x563E2441u);
        QCOMPARE(info.m_Left, out.bounds.x());
        QCOMPARE(info.m_Right, out.bounds.x() + out.bounds.width());
        QCOMPARE(info.m_Bottom, out.bounds.y() + out.bounds.height());

        // No I2C bus can be opened for that output here (a virtual server
        // has none): the display is listed by the server's EDID, without
        // DDC/CI, as it is where the user has no access to /dev/i2c-N.
        CMultiMonitor list;
        QSignalSpy names(&list, &CMultiMonitor::detectedMonitor);
        list.EnumerateDesktop();
        QCOMPARE(names.count(), outputs.size());
        QCOMPARE(names.at(0).at(0).toString(), QStringLiteral("HXSIM24"));
        const _MonitorData listed = list.GetMonitorData(0);
        QCOMPARE(listed.m_DisplayID, out.id);
        QCOMPARE(listed.m_ModelID, 0x563E2441u);
        QVERIFY(listed.m_EDIDValid);
        QVERIFY(!listed.m_DDCCIWorks);
        QVERIFY(stack.x->setOutputEdid(out.id, QByteArray()));

        // The card's ramp through the gamma ramp object.
        _MonitorData display;
        display.m_DisplayID = out.id;
        CVideoCardGamma card(display);
        QVector<unsigned int> savedR, savedG, savedB;
        QCOMPARE(card.GetVideoCardGamma(savedR, savedG, savedB), 0);
        QCOMPARE(savedR.size(), 256);
        QCOMPARE(card.SetLinearVideoCardGamma(), 0);
        QVector<unsigned int> r, g, b;
        QCOMPARE(card.GetVideoCardGamma(r, g, b), 0);
        for (int i = 0; i < 256; ++i)
            QCOMPARE(r[i], 257u * i);
        QVector<unsigned int> ramp;
        for (unsigned int i = 0; i < 256; ++i)
            ramp.append((i * 251u + 7u) % 65536u);
        QCOMPARE(card.SetVideoCardGamma(ramp, ramp, ramp), 0);
        QCOMPARE(card.GetVideoCardGamma(r, g, b), 0);
        if (stack.x->gammaSize(out.crtc) == 256) {
            QCOMPARE(r, ramp);
            QCOMPARE(b, ramp);
        }
        _MonitorData gone;
        gone.m_DisplayID = 0x7FFFFFF;
        CVideoCardGamma unknown(gone);
        QCOMPARE(unknown.SetLinearVideoCardGamma(), -1);
        QCOMPARE(card.SetVideoCardGamma(savedR, savedG, savedB), 0);
    }
};

QTEST_GUILESS_MAIN(TestXRandRStack)
#include "tst_xrandr_stack.moc"
