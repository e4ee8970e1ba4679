#include "CDDCMonitor.h"
#include "CDDCMonitor_LCDHXSeries.h"
#include "CMultiMonitor.h"
#include "CTargetDisplay.h"
#include "DisplayRig.h"
#include "MonitorModelLists.h"

#include <QtTest>
#include <cstring>

using namespace pz;
using namespace pz::test;

namespace {

// A record as the monitor list builds it for one display of the rig.
_MonitorData recordOf(DisplayRig &rig, int index)
{
    CMultiMonitor list;
    list.EnumerateDesktop();
    return list.GetMonitorData(static_cast<unsigned int>(index));
}

QString serialOverDdc(CDDCMonitor *monitor)
{
    return monitor && monitor->ReadEDID() == 0 ? monitor->GetMonitorSerialNumber() : QString();
}

} // namespace

class TestTargetDisplay : public QObject {
    Q_OBJECT
private slots:
    void classifiers()
    {
        QCOMPARE(CTargetDisplay::GetDisplayType(0xFFFFFFFFul), 9);
        QCOMPARE(CTargetDisplay::GetDisplayType(0x563E2441ul), 9);
        QCOMPARE(CTargetDisplay::GetDisplayType(0x563E1901ul), 0);
        QCOMPARE(CTargetDisplay::GetDisplayType(0ul), 0);
        QVERIFY(CTargetDisplay::DoesDisplaySupportLUTCalibrationPriority(0));
        QVERIFY(CTargetDisplay::DoesDisplaySupportLUTCalibrationPriority(0x563E1901));
        QVERIFY(!CTargetDisplay::DoesDisplaySupportLUTCalibrationPriority(0x563E2441));
        QVERIFY(CTargetDisplay::DoesDisplaySupportAutoLuminance(
            modelListId(ModelList::AutoLuminance, 0)));
        QVERIFY(!CTargetDisplay::DoesDisplaySupportAutoLuminance(0x563E2441));

        CTargetDisplay target;
        QCOMPARE(target.GetMonitorScreenType(), CTargetDisplay::kScreenUndetermined);
        QCOMPARE(target.GetDisplayType(), 0);
        QCOMPARE(target.GetMonitorColorGamutType(), CTargetDisplay::kGamutUndetermined);
        QVERIFY(!target.GetWideGamutMonitorSupportssRGBPresetSelection());
        QVERIFY(target.GetMonitorData().m_Bounds.isNull());
        QVERIFY(!target.m_pDDCMonitor);

        // The "any HX model" id, without an interface list.
        _MonitorData any;
        any.m_EDIDValid = true;
        any.m_ModelID = 0xFFFFFFFF;
        QVERIFY(!pCMonAPIDummy);
        QCOMPARE(target.SetMonitorData(any), -2);
        QCOMPARE(target.GetDisplayType(), 9);
        QCOMPARE(target.GetMonitorColorGamutType(), CTargetDisplay::kGamutWideRGBLED);
        QVERIFY(target.GetWideGamutMonitorSupportssRGBPresetSelection());
        QVERIFY(target.m_pDDCMonitor); // kept, not connected
        QCOMPARE(target.GetMonitorScreenType(), CTargetDisplay::kScreenLCD);
    }

    void displaysWithoutMonitorObject()
    {
        CTargetDisplay target;
        QCOMPARE(target.SetMonitorData(_MonitorData()), 0);
        QVERIFY(!target.m_pDDCMonitor);
        QCOMPARE(target.GetMonitorScreenType(), CTargetDisplay::kScreenLCD);

        _MonitorData other;
        other.m_EDIDValid = true;
        other.m_ModelID = 0x563E1901;
        other.m_USB = true;
        QCOMPARE(target.SetMonitorData(other), -1);
        QVERIFY(!target.m_pDDCMonitor);
        QCOMPARE(target.GetMonitorScreenType(), CTargetDisplay::kScreenUndetermined);
        QCOMPARE(target.GetMonitorData().m_ModelID, 0x563E1901u);

        _MonitorData negative;
        negative.m_ListIndex = -1;
        negative.m_EDIDValid = true;
        negative.m_ModelID = 0x563E2441;
        QCOMPARE(target.SetMonitorData(negative), 0);
        QVERIFY(!target.m_pDDCMonitor);
    }

    void firstSupportedMonitorOfTheStandardScene()
    {
        DisplayRig rig;
        rig.standardScene();
        rig.interfaces();
        CMultiMonitor list;
        list.EnumerateDesktop();
        CTargetDisplay target;
        QCOMPARE(target.SetMonitorData(list.GetMonitorData(0)), 0);
        QVERIFY(target.m_pDDCMonitor);
        QVERIFY(dynamic_cast<CDDCMonitor_LCDHXSeries *>(target.m_pDDCMonitor));
        QVERIFY(!target.m_pDDCMonitor->GetIsUSBConnection());
        uint current = 0, maximum = 0;
        QCOMPARE(target.m_pDDCMonitor->GetBrightness(&current, &maximum), 0);
        QVERIFY(maximum > 0);
        QCOMPARE(serialOverDdc(target.m_pDDCMonitor), QStringLiteral("SIM0001"));

        // The third display is of another maker: no monitor object.
        QCOMPARE(target.SetMonitorData(list.GetMonitorData(2)), -1);
        QVERIFY(!target.m_pDDCMonitor);
    }

    void usbRecordHandsOverIdentity()
    {
        DisplayRig rig;
        rig.standardScene();
        rig.interfaces();
        _MonitorData usb = recordOf(rig, 1);
        QVERIFY(usb.m_USB);
        usb.m_CapabilityString = QStringLiteral("(prot(monitor)type(LCD)vcp(10 12))");
        CTargetDisplay target;
        QCOMPARE(target.SetMonitorData(usb), 0);
        CDDCMonitor *m = target.m_pDDCMonitor;
        QVERIFY(m);
        QVERIFY(m->GetIsUSBConnection());
        uchar edid[256] = {};
        QCOMPARE(m->GetEDID(edid, 256), 0);
        INTERFACE_INFO info;
        QCOMPARE(pCMonAPIDummy->GetDisplayInterfaceInfo(1, &info), 0);
        QCOMPARE(std::memcmp(edid, info.m_EDID, 256), 0);
        QCOMPARE(m->GetMonitorSerialNumber(), QStringLiteral("SIM0520"));
        QCOMPARE(m->GetMonitorModelName(), QStringLiteral("HX520R"));
        char caps[128] = {};
        QCOMPARE(m->GetCapabilityString(caps, sizeof caps), 0);
        QCOMPARE(QString::fromLatin1(caps), usb.m_CapabilityString);
        uint current = 0, maximum = 0;
        QCOMPARE(m->GetBrightness(&current, &maximum), 0);
    }

    void failedConnectionKeepsTheObject()
    {
        // The system knows an HX monitor's EDID, but no bus reaches it.
        DisplayRig rig;
        const QByteArray edid = buildSimEdid(SimMonitorConfig::hxsim24());
        rig.desk.addPlainDisplay(1, QRectF(0, 0, 1920, 1200), edid);
        rig.interfaces();
        QCOMPARE(pCMonAPIDummy->EnumerateInterfaces(), 0);
        _MonitorData d;
        d.m_EDIDValid = true;
        d.m_ModelID = 0x563E2441;
        d.m_DisplayID = 1;
        d.m_SerialNumber = QStringLiteral("SIM0001");
        d.m_USB = true; // would hand over identity, but only after a connection
        d.m_ModelName = QStringLiteral("HXSIM24");
        CTargetDisplay target;
        QCOMPARE(target.SetMonitorData(d), -1);
        QVERIFY(target.m_pDDCMonitor);
        QVERIFY(!target.m_pDDCMonitor->GetIsUSBConnection());
        uint current = 0, maximum = 0;
        QCOMPARE(target.m_pDDCMonitor->GetBrightness(&current, &maximum), -6);
    }

    void indexBeyondTheInterfaceList()
    {
        DisplayRig rig;
        rig.standardScene();
        rig.interfaces();
        _MonitorData d = recordOf(rig, 0);
        d.m_ListIndex = 7;
        d.m_DisplayID = 77; // no such display either
        CTargetDisplay target;
        QCOMPARE(target.SetMonitorData(d), -3);
        QVERIFY(target.m_pDDCMonitor);
    }

    void staleIndexNeverReachesAnotherMonitor()
    {
        DisplayRig rig;
        rig.desk.addMonitor(1, QRectF(0, 0, 1920, 1200), SimMonitorConfig::hxsim24());
        rig.desk.addMonitor(2, QRectF(1920, 0, 1920, 1200), SimMonitorConfig::hxsim27());
        rig.interfaces();
        const _MonitorData first = recordOf(rig, 0);
        QCOMPARE(first.m_ListIndex, 0);
        QCOMPARE(first.m_SerialNumber, QStringLiteral("SIM0001"));

        // The desktop changes: the first display leaves and comes back last,
        // so index 0 now names the HXSIM27.
        rig.desk.removeDisplay(1);
        rig.desk.addMonitor(1, QRectF(3840, 0, 1920, 1200), SimMonitorConfig::hxsim24());
        QCOMPARE(pCMonAPIDummy->EnumerateInterfaces(), 0);
        CTargetDisplay target;
        QCOMPARE(target.SetMonitorData(first), 0);
        QCOMPARE(serialOverDdc(target.m_pDDCMonitor), QStringLiteral("SIM0001"));

        // Another monitor on the same display: the old record finds nothing.
        rig.desk.removeDisplay(1);
        SimMonitorConfig swapped = SimMonitorConfig::hxsim24();
        swapped.serial = QStringLiteral("SIM0999");
        rig.desk.addMonitor(1, QRectF(0, 0, 1920, 1200), swapped);
        QCOMPARE(pCMonAPIDummy->EnumerateInterfaces(), 0);
        QCOMPARE(target.SetMonitorData(first), -3);
    }
};

QTEST_GUILESS_MAIN(TestTargetDisplay)
#include "tst_targetdisplay.moc"
