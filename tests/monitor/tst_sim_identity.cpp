// The simulated monitors present an EDID and a capability string; the
// decoders must read from them exactly the identity and the capabilities
// the rest of the monitor stack relies on.

#include "CDecompile_EDID.h"
#include "CParseCapabilityString.h"
#include "SimMonitorConfig.h"
#include "TestSupport.h"

#include <QtTest>

using pz::SimMonitorConfig;

Q_DECLARE_METATYPE(pz::SimMonitorConfig)

class TestSimIdentity : public QObject {
    Q_OBJECT
private slots:
    void presetsDecode_data()
    {
        QTest::addColumn<SimMonitorConfig>("config");
        QTest::newRow("HXSIM24") << SimMonitorConfig::hxsim24();
        QTest::newRow("HX520R") << SimMonitorConfig::hx520r();
        QTest::newRow("not in HX list") << SimMonitorConfig::notInHxList();
        QTest::newRow("HXSIM27") << SimMonitorConfig::hxsim27();
    }
    void presetsDecode()
    {
        QFETCH(SimMonitorConfig, config);
        CDecompile_EDID e;
        QCOMPARE(e.Decompile_EDID(pz::buildSimEdid(config)), 0);
        QCOMPARE(e.m_VendorProductID, config.modelId());
        QCOMPARE(QString::fromLatin1(e.m_MonitorName), config.modelName);
        QCOMPARE(QString::fromLatin1(e.m_SerialText), config.serial);
        QCOMPARE(int(e.m_HorizontalSize), config.widthCm);
        QCOMPARE(int(e.m_VerticalSize), config.heightCm);
        QCOMPARE(e.m_PreferredHorizontal, 1920);
        QCOMPARE(e.m_PreferredVertical, 1200);

        const QByteArray caps = config.capabilities.isEmpty()
                                    ? pz::simDefaultCapabilities(config.modelName)
                                    : config.capabilities;
        CParseCapabilityString p;
        QCOMPARE(p.ParseString(caps.constData()), 0);
        QCOMPARE(QByteArray(p.m_MPUVersionText), QByteArray("1.2.3"));
        QCOMPARE(p.m_GammaTableSize, 0x300);
        QCOMPARE(p.m_GammaTableGreenOffset, 0x400);
        QCOMPARE(p.IsVCPSupported(0x2A8), 1);
        QCOMPARE(p.IsVCPSupported(0x1097), 1);
    }

    // The fixtures the decoder tests use are what the simulator sends.
    void fixturesMatchTheSimulator()
    {
        const QByteArray edidText = pz::test::readData("edid_hxsim24.hex");
        QCOMPARE(pz::buildSimEdid(SimMonitorConfig::hxsim24()), pz::test::hex(edidText.constData()));
        QCOMPARE(pz::simDefaultCapabilities(), pz::test::readData("caps_hxsim24.txt"));
    }
};

QTEST_GUILESS_MAIN(TestSimIdentity)
#include "tst_sim_identity.moc"
