#include "CEnumDDCCI_Monitors.h"
#include "DisplayRig.h"

#include <QMap>
#include <QSignalSpy>
#include <QtTest>

using namespace pz;
using namespace pz::test;

namespace {

// The simulated desktop, with what some systems keep beside the EDID
// (product names per locale, vendor and product numbers) for chosen displays.
class NamedDesktop : public IDesktop {
public:
    explicit NamedDesktop(SimDesktop &sim) : m_sim(sim) {}
    void name(quint32 id, QVector<QPair<QString, QString>> names, quint32 vendor, quint32 product)
    {
        DesktopDisplay extra;
        extra.productNames = std::move(names);
        extra.vendorId = vendor;
        extra.productId = product;
        m_extras.insert(id, extra);
    }
    bool onlineDisplays(QVector<DesktopDisplay> &displays) override
    {
        const bool ok = m_sim.onlineDisplays(displays);
        for (DesktopDisplay &d : displays) {
            const auto it = m_extras.constFind(d.id);
            if (it != m_extras.constEnd()) {
                d.productNames = it->productNames;
                d.vendorId = it->vendorId;
                d.productId = it->productId;
            }
        }
        return ok;
    }
    std::unique_ptr<II2CBus> openI2CBus(quint32 displayId, int bus) override
    {
        return m_sim.openI2CBus(displayId, bus);
    }

private:
    SimDesktop &m_sim;
    QMap<quint32, DesktopDisplay> m_extras;
};

QStringList names(const QSignalSpy &spy)
{
    QStringList out;
    for (const QList<QVariant> &args : spy)
        out << args.at(0).toString();
    return out;
}

const QVector<QPair<QString, QString>> kThreeLanguages = {
    {QStringLiteral("de_DE"), QStringLiteral("Bildschirm")},
    {QStringLiteral("en_US"), QStringLiteral("Display")},
    {QStringLiteral("ja_JP"), QStringLiteral("ディスプレイ")},
};

} // namespace

class TestDDCCIEnumeration : public QObject {
    Q_OBJECT
private slots:
    void standardScene()
    {
        DisplayRig rig;
        rig.standardScene();
        rig.interfaces();
        CEnumDDCCI_Monitors en;
        QSignalSpy spy(&en, &CEnumDDCCI_Monitors::detectedMonitor2);
        QCOMPARE(en.Enumerate(false, true), 3);
        QCOMPARE(en.GetNumEnumerated(), 3);
        QCOMPARE(names(spy), (QStringList{"HXSIM24", "HX520R (USB)", "ACME 22"}));

        ddcci_monitor_info hx;
        QCOMPARE(en.GetDisplayInfoByEnum(0, &hx), 0);
        QCOMPARE(hx.m_ListIndex, 0);
        QCOMPARE(hx.m_ModelName, QStringLiteral("HXSIM24"));
        QCOMPARE(hx.m_Serial, QStringLiteral("SIM0001"));
        QCOMPARE(hx.m_ModelID, 0x563E2441u);
        QVERIFY(!hx.m_USB);
        QVERIFY(!hx.m_DDCCIWorks);
        QVERIFY(hx.m_CapabilityString.isEmpty());
        // The EDID read over DDC/CI.
        const QByteArray ddcEdid = rig.desk.monitor(1)->edid();
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(hx.m_EDID), ddcEdid.size()), ddcEdid);
        QCOMPARE(hx.m_Right, 1920);

        ddcci_monitor_info usb;
        QCOMPARE(en.GetDisplayInfoByEnum(1, &usb), 0);
        QVERIFY(usb.m_USB);
        QVERIFY(usb.m_DDCCIWorks);
        QCOMPARE(usb.m_ListIndex, 1);
        QCOMPARE(usb.m_ModelName, QStringLiteral("HX520R"));
        QCOMPARE(usb.m_ModelID, 0x563E2442u);
        QCOMPARE(usb.m_DisplayID, 2u);
        QCOMPARE(usb.m_Left, 1920);

        ddcci_monitor_info other;
        QCOMPARE(en.GetDisplayInfoByEnum(2, &other), 0);
        QCOMPARE(other.m_ModelID, 0x6D041234u);
        QCOMPARE(other.m_ListIndex, 2);

        QCOMPARE(en.GetDisplayInfoByEnum(3, &other), -1);
        QCOMPARE(en.GetDisplayInfoByEnum(-1, &other), -1);
        QCOMPARE(other.m_ListIndex, 2);
    }

    void bridgeProbe_data()
    {
        QTest::addColumn<bool>("probe");
        QTest::addColumn<bool>("brightnessUnsupported");
        QTest::addColumn<bool>("garbled");
        QTest::addColumn<bool>("works");
        QTest::newRow("answers") << true << false << false << true;
        QTest::newRow("not supported still answers") << true << true << false << true;
        QTest::newRow("garbled replies") << true << false << true << false;
        QTest::newRow("no probe") << false << false << false << false;
    }
    void bridgeProbe()
    {
        QFETCH(bool, probe);
        QFETCH(bool, brightnessUnsupported);
        QFETCH(bool, garbled);
        QFETCH(bool, works);
        DisplayRig rig;
        SimMonitorConfig config = SimMonitorConfig::hxsim24();
        if (brightnessUnsupported)
            config.unsupportedCodes.insert(0x0010);
        SimOrvaneMonitor &monitor = rig.desk.addMonitor(1, QRectF(0, 0, 1920, 1200), config);
        rig.desk.plugBridge(1);
        if (garbled)
            monitor.addFault(SimFault{SimFaultKind::BadChecksum, -1, -1, 1000, 0});
        rig.interfaces();
        CEnumDDCCI_Monitors en;
        QSignalSpy spy(&en, &CEnumDDCCI_Monitors::detectedMonitor2);
        QCOMPARE(en.Enumerate(false, probe), 1);
        ddcci_monitor_info info;
        QCOMPARE(en.GetDisplayInfoByEnum(0, &info), 0);
        QVERIFY(info.m_USB);
        QCOMPARE(info.m_DDCCIWorks, works);
        QCOMPARE(names(spy), QStringList{"HXSIM24 (USB)"});
    }

    void systemEdidButNoDdcAnswerIsLeftOut()
    {
        // The bus opens, but the monitor stays silent.
        DisplayRig rig;
        SimMonitorConfig silent = SimMonitorConfig::hxsim24();
        silent.ddcEdidFails = true;
        rig.desk.addMonitor(1, QRectF(0, 0, 1920, 1200), silent);
        rig.desk.addMonitor(3, QRectF(1920, 0, 1920, 1200), SimMonitorConfig::hx520r());
        rig.interfaces();
        CEnumDDCCI_Monitors en;
        QSignalSpy spy(&en, &CEnumDDCCI_Monitors::detectedMonitor2);
        QCOMPARE(en.Enumerate(false, true), 1);
        QCOMPARE(names(spy), (QStringList{"Unknown Display", "HX520R"}));
        ddcci_monitor_info info;
        QCOMPARE(en.GetDisplayInfoByEnum(0, &info), 0);
        QCOMPARE(info.m_ListIndex, 1); // indexes stay those of the interface list
    }

    void busThatCannotBeOpenedListsTheSystemEdid_data()
    {
        QTest::addColumn<bool>("monitorBehind");
        // No access to /dev/i2c-N, or no i2c-dev: a DDC/CI monitor is there.
        QTest::newRow("bus not accessible") << true;
        // The driver exposes no bus for the connector (laptop panels).
        QTest::newRow("no bus at all") << false;
    }
    void busThatCannotBeOpenedListsTheSystemEdid()
    {
        QFETCH(bool, monitorBehind);
        DisplayRig rig;
        rig.desk.addMonitor(1, QRectF(0, 0, 1920, 1200), SimMonitorConfig::hx520r());
        const QByteArray edid = buildSimEdid(test::otherMakerConfig());
        if (monitorBehind) {
            rig.desk.addMonitor(2, QRectF(1920, 0, 1280, 1024), test::otherMakerConfig());
            rig.desk.setI2CBusOpens(2, false);
        } else {
            rig.desk.addPlainDisplay(2, QRectF(1920, 0, 1280, 1024), edid);
        }
        rig.interfaces();
        CEnumDDCCI_Monitors en;
        QSignalSpy spy(&en, &CEnumDDCCI_Monitors::detectedMonitor2);
        QCOMPARE(en.Enumerate(false, true), 2);
        QCOMPARE(names(spy), (QStringList{"HX520R", "ACME 22"}));
        ddcci_monitor_info info;
        QCOMPARE(en.GetDisplayInfoByEnum(1, &info), 0);
        QCOMPARE(info.m_ModelName, QStringLiteral("ACME 22"));
        QCOMPARE(info.m_Serial, QStringLiteral("ACM0001"));
        QCOMPARE(info.m_ModelID, 0x6D041234u);
        // The system's block, the rest zero.
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(info.m_EDID), 256),
                 edid.left(128) + QByteArray(128, 0));
        QVERIFY(!info.m_DDCCIWorks);
        QVERIFY(!info.m_USB);
        QCOMPARE(info.m_DisplayID, 2u);
        QCOMPARE(info.m_ListIndex, 1);
        QCOMPARE(info.m_Right, 1920 + 1280);
        // Named by the system's EDID: the monitor itself was never asked.
        if (monitorBehind)
            QCOMPARE(rig.desk.monitor(2)->readCount(), 0);
    }

    void localisedNameRule_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("languages");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reported");
        QTest::newRow("japanese") << "ja_JP" << 3 << "ディスプレイ" << "ディスプレイ";
        QTest::newRow("english fallback") << "ja_JP" << 2 << "Display" << "Display";
        QTest::newRow("german only") << "ja_JP" << 1 << "" << "Unknown Display";
        QTest::newRow("german locale") << "de_AT" << 3 << "Bildschirm" << "Bildschirm";
    }
    void localisedNameRule()
    {
        QFETCH(QString, locale);
        QFETCH(int, languages);
        QFETCH(QString, name);
        QFETCH(QString, reported);
        DisplayRig rig;
        rig.desk.addMonitor(1, QRectF(0, 0, 1920, 1200), SimMonitorConfig::hxsim24());
        rig.desk.addPlainDisplay(2, QRectF(1920, 0, 1280, 1024), QByteArray());
        NamedDesktop named(rig.desk);
        named.name(2, kThreeLanguages.mid(0, languages), 0x6D04, 0x1234);
        ScopedDesktop scope(&named);
        rig.interfaces();
        CEnumDDCCI_Monitors en;
        en.SetLocaleName(locale);
        QSignalSpy spy(&en, &CEnumDDCCI_Monitors::detectedMonitor2);
        QCOMPARE(en.Enumerate(false, true), 2);
        QCOMPARE(names(spy).last(), reported);
        ddcci_monitor_info info;
        QCOMPARE(en.GetDisplayInfoByEnum(1, &info), 0);
        QCOMPARE(info.m_ModelName, name);
        // The vendor number's bytes swapped on top, as an EDID gives them.
        QCOMPARE(info.m_ModelID, 0x046D1234u);
        // No EDID after a display with one: all zero.
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(info.m_EDID), 256), QByteArray(256, 0));
        QCOMPARE(info.m_ListIndex, 1);
        QVERIFY(!info.m_USB);
    }

    void displayWithoutEdidOrNames()
    {
        DisplayRig rig;
        rig.desk.addPlainDisplay(4, QRectF(0, 0, 800, 600), QByteArray());
        rig.interfaces();
        CEnumDDCCI_Monitors en;
        QSignalSpy spy(&en, &CEnumDDCCI_Monitors::detectedMonitor2);
        QCOMPARE(en.Enumerate(false, true), 1);
        QCOMPARE(names(spy), QStringList{"Unknown Display"});
        ddcci_monitor_info info;
        QCOMPARE(en.GetDisplayInfoByEnum(0, &info), 0);
        QVERIFY(info.m_ModelName.isEmpty());
        QCOMPARE(info.m_ModelID, 0u);
        QCOMPARE(info.m_DisplayID, 4u);
        QCOMPARE(info.m_Right, 800);
    }

    void nothingToEnumerate()
    {
        CEnumDDCCI_Monitors en;
        {
            QVERIFY(!pCMonAPIDummy);
            QCOMPARE(en.Enumerate(false, true), 0);
        }
        DisplayRig rig;
        rig.interfaces();
        QCOMPARE(en.Enumerate(false, true), 0);
        QCOMPARE(en.GetNumEnumerated(), 0);
        ddcci_monitor_info info;
        QCOMPARE(en.GetDisplayInfoByEnum(0, &info), -1);
    }
};

QTEST_GUILESS_MAIN(TestDDCCIEnumeration)
#include "tst_ddcci_enumeration.moc"
