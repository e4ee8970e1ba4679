#include "CMonAPIDummy.h"
#include "DisplayRig.h"
#include "low_level_ddc_mac_usb.h"

#include <QSignalSpy>
#include <QtTest>
#include <cstring>

using namespace pz;
using namespace pz::test;

class TestMonAPIDummy : public QObject {
    Q_OBJECT
private slots:
    void standardSceneInterfaces()
    {
        DisplayRig rig;
        rig.standardScene();
        CMonAPIDummy &api = rig.interfaces();
        QCOMPARE(api.GetNumDisplayInterfaces(), 0);
        QCOMPARE(api.EnumerateInterfaces(1, 0), 0);
        QCOMPARE(api.GetNumDisplayInterfaces(), 3);

        INTERFACE_INFO hx;
        QCOMPARE(api.GetDisplayInterfaceInfo(0, &hx), 0);
        QCOMPARE(hx.m_InterfaceType, 0u);
        QCOMPARE(hx.m_Connection, QStringLiteral("Native"));
        QVERIFY(hx.m_EDIDValid);
        QCOMPARE(hx.m_Name, QStringLiteral("HXSIM24"));
        QCOMPARE(hx.m_Serial, QStringLiteral("SIM0001"));
        QCOMPARE(hx.m_ModelID, 0x563E2441u);
        QCOMPARE(hx.m_InterfaceNumber, 0u);
        QCOMPARE(hx.m_DisplayID, 1u);
        QVERIFY(!hx.m_USB);
        const QByteArray systemEdid = rig.desk.monitor(1)->edid().left(128);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(hx.m_EDID), 128), systemEdid);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(hx.m_EDID) + 128, 128), QByteArray(128, 0));

        // The bridge whose serial is the second display's EDID serial takes it over.
        INTERFACE_INFO usb;
        QCOMPARE(api.GetDisplayInterfaceInfo(1, &usb), 0);
        QCOMPARE(usb.m_InterfaceType, 9u);
        QCOMPARE(usb.m_Connection, QStringLiteral("USB"));
        QVERIFY(usb.m_USB);
        QCOMPARE(usb.m_InterfaceNumber, 0xFF00u);
        QCOMPARE(usb.m_Serial, QStringLiteral("SIM0520"));
        QCOMPARE(usb.m_Name, QStringLiteral("HX520R"));
        QVERIFY(usb.m_EDIDValid);
        QCOMPARE(usb.m_ModelID, 0x563E2442u);
        QCOMPARE(usb.m_DisplayID, 2u);
        QCOMPARE(usb.m_Left, 1920);
        QCOMPARE(usb.m_Top, 0);
        QCOMPARE(usb.m_Right, 3840);
        QCOMPARE(usb.m_Bottom, 1200);

        INTERFACE_INFO other;
        QCOMPARE(api.GetDisplayInterfaceInfo(2, &other), 0);
        QCOMPARE(other.m_Name, QStringLiteral("ACME 22"));
        QCOMPARE(other.m_ModelID, 0x6D041234u);
        QCOMPARE(other.m_Connection, QStringLiteral("Native"));
        QCOMPARE(other.m_Right, 5120);
        QCOMPARE(other.m_Bottom, 1024);

        INTERFACE_INFO untouched;
        untouched.m_Name = QStringLiteral("keep");
        QCOMPARE(api.GetDisplayInterfaceInfo(3, &untouched), -1);
        QCOMPARE(untouched.m_Name, QStringLiteral("keep"));
        QCOMPARE(api.GetDisplayInterfaceInfo(0, nullptr), -1);
    }

    // A bridge takes over the display whose EDID serial is exactly its own,
    // case included.
    void bridgeMatchingOnlyBySerial_data()
    {
        QTest::addColumn<QString>("bridgeSerial");
        QTest::addColumn<bool>("takesOver");
        QTest::newRow("same") << QStringLiteral("SIM0001") << true;
        QTest::newRow("another") << QStringLiteral("NOT-A-DISPLAY") << false;
        QTest::newRow("lower case") << QStringLiteral("sim0001") << false;
        QTest::newRow("one letter's case") << QStringLiteral("SiM0001") << false;
    }
    void bridgeMatchingOnlyBySerial()
    {
        QFETCH(QString, bridgeSerial);
        QFETCH(bool, takesOver);
        DisplayRig rig;
        rig.desk.addMonitor(1, QRectF(0, 0, 1920, 1200), SimMonitorConfig::hxsim24());
        SimBridgeConfig bridge;
        bridge.serial = bridgeSerial;
        rig.desk.bridge(1, bridge);
        rig.desk.plugBridge(1);
        CMonAPIDummy &api = rig.interfaces();
        QCOMPARE(api.EnumerateInterfaces(), 0);
        INTERFACE_INFO info;
        QCOMPARE(api.GetDisplayInterfaceInfo(0, &info), 0);
        QCOMPARE(info.m_Connection, takesOver ? QStringLiteral("USB") : QStringLiteral("Native"));
        QCOMPARE(info.m_InterfaceNumber, takesOver ? 0xFF00u : 0u);
        QCOMPARE(info.m_Serial, QStringLiteral("SIM0001"));
        QCOMPARE(api.GetNumDisplayInterfaces(), 1);
        // The transport finds its bridge by the same exact serial.
        QCOMPARE(api.m_USBBridges.FindBridge(QStringLiteral("SIM0001"), QByteArray()),
                 takesOver ? 0 : -1);
    }

    // Fewer than 128 bytes are no EDID, even where zero padding would make
    // them decode: here the byte cut off is a checksum of 0.
    void shortEdidIsNoEdid()
    {
        QByteArray edid = buildSimEdid(SimMonitorConfig::hxsim24());
        edid[15] = char(quint8(edid[15]) + quint8(edid[127]));
        edid = withChecksum(edid);
        QCOMPARE(edid[127], char(0));
        DisplayRig rig;
        rig.desk.addPlainDisplay(1, QRectF(0, 0, 800, 600), edid);
        rig.desk.addPlainDisplay(2, QRectF(800, 0, 800, 600), edid.left(127));
        CMonAPIDummy &api = rig.interfaces();
        QCOMPARE(api.EnumerateInterfaces(), 0);
        INTERFACE_INFO whole, cut;
        QCOMPARE(api.GetDisplayInterfaceInfo(0, &whole), 0);
        QCOMPARE(api.GetDisplayInterfaceInfo(1, &cut), 0);
        QVERIFY(whole.m_EDIDValid);
        QVERIFY(!cut.m_EDIDValid);
        QVERIFY(cut.m_Name.isEmpty());
        QVERIFY(cut.m_Serial.isEmpty());
        QCOMPARE(cut.m_ModelID, 0u);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(cut.m_EDID), 256), QByteArray(256, 0));
    }

    void bridgeLendsItsNameToAnUnnamedMonitor()
    {
        DisplayRig rig;
        SimMonitorConfig config = SimMonitorConfig::hxsim24();
        QByteArray edid = buildSimEdid(config);
        edid[90 + 3] = char(0x10); // the name descriptor becomes an empty one
        config.edid = withChecksum(edid);
        rig.desk.addMonitor(1, QRectF(0, 0, 1920, 1200), config);
        rig.desk.plugBridge(1);
        CMonAPIDummy &api = rig.interfaces();
        QCOMPARE(api.EnumerateInterfaces(), 0);
        INTERFACE_INFO info;
        QCOMPARE(api.GetDisplayInterfaceInfo(0, &info), 0);
        QVERIFY(info.m_EDIDValid);
        QCOMPARE(info.m_Name, QStringLiteral("Orvane HX USB Bridge"));
        QVERIFY(info.m_USB);
    }

    void displaysWithoutUsableEdid()
    {
        DisplayRig rig;
        rig.desk.addPlainDisplay(5, QRectF(0, 0, 800, 600), QByteArray());
        QByteArray broken = buildSimEdid(SimMonitorConfig::hxsim24());
        broken[127] = char(broken[127] + 1);
        rig.desk.addPlainDisplay(6, QRectF(800, 0, 800, 600), broken);
        CMonAPIDummy &api = rig.interfaces();
        QCOMPARE(api.EnumerateInterfaces(), 0);
        QCOMPARE(api.GetNumDisplayInterfaces(), 2);
        for (unsigned int i = 0; i < 2; ++i) {
            INTERFACE_INFO info;
            QCOMPARE(api.GetDisplayInterfaceInfo(i, &info), 0);
            QVERIFY(!info.m_EDIDValid);
            QVERIFY(info.m_Name.isEmpty());
            QVERIFY(info.m_Serial.isEmpty());
            QCOMPARE(info.m_ModelID, 0u);
        }
        // Bounds are truncated toward zero from single precision.
        rig.desk.removeDisplay(5);
        rig.desk.removeDisplay(6);
        rig.desk.addPlainDisplay(7, QRectF(-1280.7, 10.9, 1280.2, 1024.5), QByteArray());
        rig.desk.addPlainDisplay(8, QRectF(1e12, 0, 10, 10), QByteArray());
        QCOMPARE(api.EnumerateInterfaces(), 0);
        INTERFACE_INFO info;
        QCOMPARE(api.GetDisplayInterfaceInfo(0, &info), 0);
        QCOMPARE(info.m_Left, -1280);
        QCOMPARE(info.m_Top, 10);
        QCOMPARE(info.m_Right, 0);
        QCOMPARE(info.m_Bottom, 1035);
        QCOMPARE(api.GetDisplayInterfaceInfo(1, &info), 0);
        QCOMPARE(info.m_Left, 0); // no int holds it
    }

    void emptyOrUnlistableDesktop()
    {
        DisplayRig rig;
        CMonAPIDummy &api = rig.interfaces();
        QCOMPARE(api.EnumerateInterfaces(), 0);
        QCOMPARE(api.GetNumDisplayInterfaces(), 0);

        rig.standardScene();
        QCOMPARE(api.EnumerateInterfaces(), 0);
        QCOMPARE(api.GetNumDisplayInterfaces(), 3);
        rig.desk.setListFails(true);
        QCOMPARE(api.EnumerateInterfaces(), -1001);
        QCOMPARE(api.GetNumDisplayInterfaces(), 0);
    }

    void bridgesComingAndGoing()
    {
        DisplayRig rig;
        rig.desk.addMonitor(1, QRectF(0, 0, 1920, 1200), SimMonitorConfig::hxsim24());
        CMonAPIDummy &api = rig.interfaces();
        QSignalSpy spy(&api.m_USBBridges, &mac_usb_ddcci::usb_device_changed);
        INTERFACE_INFO info;
        QCOMPARE(api.EnumerateInterfaces(), 0);
        QCOMPARE(api.GetDisplayInterfaceInfo(0, &info), 0);
        QCOMPARE(info.m_Connection, QStringLiteral("Native"));

        rig.desk.plugBridge(1);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), true);
        QCOMPARE(api.EnumerateInterfaces(), 0);
        QCOMPARE(api.GetDisplayInterfaceInfo(0, &info), 0);
        QCOMPARE(info.m_Connection, QStringLiteral("USB"));
        QCOMPARE(info.m_InterfaceNumber, 0xFF00u);

        rig.desk.unplugBridge(1);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toBool(), false);
        QCOMPARE(api.EnumerateInterfaces(), 0);
        QCOMPARE(api.GetDisplayInterfaceInfo(0, &info), 0);
        QCOMPARE(info.m_Connection, QStringLiteral("Native"));
        QVERIFY(!info.m_USB);
    }

    void globalIsClearedWithTheList()
    {
        auto api = std::make_unique<CMonAPIDummy>();
        pCMonAPIDummy = api.get();
        QCOMPARE(low_level_ddc_mac_usb::bridgeManager(), &api->m_USBBridges);
        api.reset();
        QCOMPARE(pCMonAPIDummy, static_cast<CMonAPIDummy *>(nullptr));
    }
};

QTEST_GUILESS_MAIN(TestMonAPIDummy)
#include "tst_monapidummy.moc"
