// The simulated i1 Display Pro and the set of simulated sensors: what the
// device measures with the diffuser either way, its integration time on the
// program clock, over-range, unplug and replug, the automatic hand, and what
// PELZORA_SIM_SENSOR attaches of every family.

#include "SimLightChecks.h"
#include "SimScreenSampler.h"
#include "SimSensorRig.h"

#include <QtTest>
#include <memory>
#include <random>

using namespace pz;
using test::near;

class TestSimI1d3 : public QObject {
    Q_OBJECT

    std::unique_ptr<test::SimSensorRig> m_rig;

    SimI1d3Library &device() { return m_rig->sensors.i1d3(); }

    // Initialises and opens the device: its handle.
    I1d3Handle open()
    {
        I1d3Handle handle = 0;
        if (device().Initialize() != 0 || device().GetNumberOfDevices() != 1
            || device().GetDeviceHandle(0, handle) != 0 || device().DeviceOpen(handle) != 0)
            return 0;
        return handle;
    }

private slots:
    void init()
    {
        m_rig = std::make_unique<test::SimSensorRig>();
        m_rig->show(255, 255, 255);
    }
    void cleanup() { m_rig.reset(); }

    void installedWhileItLives()
    {
        QCOMPARE(&i1d3Library(), static_cast<II1d3Library *>(&device()));
        m_rig.reset();
        QCOMPARE(i1d3Library().Initialize(), kI1d3LibraryMissing);
        QCOMPARE(i1d3Library().GetNumberOfDevices(), 0);
    }

    void foundOnlyWhenAttached()
    {
        QCOMPARE(open(), 0u);
        m_rig->sensors.attach(SimSensors::I1d3);
        QVERIFY(open() != 0);
    }

    void readingsFollowTheDiffuser()
    {
        m_rig->sensors.attach(SimSensors::I1d3);
        const I1d3Handle h = open();
        const SimXYZ light = m_rig->sensors.light().emissive();
        const SimAmbientLight room{90, 0.33, 0.34};
        m_rig->sensors.light().setAmbient(room);

        I1d3XYZ xyz;
        I1d3Ambient ambient;
        QCOMPARE(device().MeasureXYZ(h, xyz), 0);
        QCOMPARE(xyz.Y, light.Y);
        QCOMPARE(device().MeasureAmbient(h, ambient), 0);
        QVERIFY(near(ambient.lux, room.lux / 3, 1e-12));
        bool covered = true;
        QCOMPARE(device().ReadDiffuserPosition(h, covered), 0);
        QVERIFY(!covered);

        device().setDiffuser(true);
        QCOMPARE(device().MeasureXYZ(h, xyz), 0);
        QVERIFY(near(xyz.X, light.X / 10, 1e-12) && near(xyz.Y, light.Y / 10, 1e-12)
                && near(xyz.Z, light.Z / 10, 1e-12));
        QCOMPARE(device().MeasureAmbient(h, ambient), 0);
        QCOMPARE(ambient.lux, room.lux);
        QCOMPARE(ambient.x, room.x);
        QCOMPARE(ambient.y, room.y);
        QCOMPARE(device().ReadDiffuserPosition(h, covered), 0);
        QVERIFY(covered);
    }

    void readingsTakeTheIntegrationTime()
    {
        m_rig->sensors.attach(SimSensors::I1d3);
        const I1d3Handle h = open();
        I1d3XYZ xyz;
        I1d3Ambient ambient;
        QCOMPARE(device().MeasureXYZ(h, xyz), 0);
        QCOMPARE(device().SetIntegrationTime(h, 3.0), 0);
        QCOMPARE(device().MeasureXYZ(h, xyz), 0);
        QCOMPARE(device().SetIntegrationTime(h, 5.0), 0);
        QCOMPARE(device().MeasureAmbient(h, ambient), 0);
        QCOMPARE(m_rig->clock.waitsUs(), QVector<qint64>({1'000'000, 3'000'000, 5'000'000}));
    }

    void overRangeAndNoise()
    {
        m_rig->sensors.attach(SimSensors::I1d3);
        const I1d3Handle h = open();
        I1d3XYZ xyz;
        device().scriptReadings({SimXYZ{1900, 2000.5, 1800}, SimXYZ{1900, 2000, 1800}});
        QCOMPARE(device().MeasureXYZ(h, xyz), SimI1d3Library::kOverRange);
        QCOMPARE(device().MeasureXYZ(h, xyz), 0);

        qputenv("PELZORA_SIMULATE", "1");
        m_rig->sensors.configureFromEnvironment();
        qunsetenv("PELZORA_SIMULATE");
        QVERIFY(device().noise().enabled());
        QVERIFY(device().automaticHand());
        const SimSensorFigures f = device().noise().figures();
        QCOMPARE(f.relativeNoise, 0.001);
        QCOMPARE(f.noiseFloor, 0.01);
        QCOMPARE(f.saturationLuminance, 2000.0);
    }

    void unplugAndReplug()
    {
        m_rig->sensors.attach(SimSensors::I1d3);
        const I1d3Handle h = open();
        m_rig->sensors.i1d3().faults().loseNow();
        I1d3XYZ xyz;
        bool covered = false;
        QByteArray serial;
        QCOMPARE(device().MeasureXYZ(h, xyz), kI1d3DeviceLost);
        QCOMPARE(device().ReadDiffuserPosition(h, covered), kI1d3DeviceLost);
        QCOMPARE(device().GetSerialNumber(h, serial), kI1d3DeviceLost);
        QCOMPARE(open(), 0u);   // nothing to find

        // Plugged back in: the old handle stays dead, a fresh one works.
        device().faults().replug();
        QCOMPARE(device().MeasureXYZ(h, xyz), kI1d3DeviceLost);
        QCOMPARE(device().Destroy(), 0);
        const I1d3Handle fresh = open();
        QVERIFY(fresh != 0);
        QCOMPARE(device().GetSerialNumber(fresh, serial), 0);
        QCOMPARE(serial, QByteArray("I1D3-0000123"));

        // Detaching is an unplug as well.
        m_rig->sensors.detach(SimSensors::I1d3);
        QCOMPARE(device().ReadDiffuserPosition(fresh, covered), kI1d3DeviceLost);
    }

    void automaticHandTurnsOnBlinking()
    {
        m_rig->sensors.attach(SimSensors::I1d3);
        const I1d3Handle h = open();
        QCOMPARE(device().SetLEDControl(h, 1, 0.25, 0.25, 255), 0);
        QVERIFY(!device().diffuserCoversLens());   // by hand only, so far
        device().setAutomaticHand(true);
        QCOMPARE(device().SetLEDControl(h, 1, 0.2, 0.2, 255), 0);
        QCOMPARE(device().SetLEDControl(h, 1, 0, 0, 0), 0);
        QVERIFY(!device().diffuserCoversLens());
        QCOMPARE(device().SetLEDControl(h, 1, 0.25, 0.25, 255), 0);
        QVERIFY(device().diffuserCoversLens());
        QCOMPARE(device().SetLEDControl(h, 1, 0.25, 0.25, 255), 0);
        QVERIFY(!device().diffuserCoversLens());
    }

    void attachFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("i1d3");
        QTest::addColumn<bool>("munki");
        QTest::addColumn<bool>("maker");
        QTest::addColumn<QByteArray>("firmware");
        const QByteArray v25("v2.5");
        QTest::newRow("i1d3") << "i1d3" << true << true << false << false << v25;
        QTest::newRow("settings") << "i1d3:maker=1,firmware=v3.0" << true << true << false << true
                                  << QByteArray("v3.0");
        QTest::newRow("munki") << "munki" << true << false << true << false << v25;
        QTest::newRow("both") << "munki+I1D3" << true << true << true << false << v25;
        QTest::newRow("none") << "none" << true << false << false << false << v25;
        QTest::newRow("unknown family") << "i1d3+spyder9" << false << false << false << false << v25;
        QTest::newRow("unknown setting") << "i1d3:colour=2" << false << false << false << false << v25;
        QTest::newRow("munki setting") << "munki:firmware=2" << false << false << false << false << v25;
        QTest::newRow("no value") << "i1d3:maker" << false << false << false << false << v25;
        QTest::newRow("empty") << "" << false << false << false << false << v25;
    }
    void attachFromText()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(bool, i1d3);
        QFETCH(bool, munki);
        QFETCH(bool, maker);
        QFETCH(QByteArray, firmware);
        m_rig->sensors.attach(SimSensors::I1d3);
        m_rig->sensors.attach(SimSensors::ColorMunki);
        QCOMPARE(m_rig->sensors.attachFromText(text), ok);
        QCOMPARE(m_rig->sensors.isAttached(SimSensors::I1d3), i1d3);
        QCOMPARE(m_rig->sensors.isAttached(SimSensors::ColorMunki), munki);
        QCOMPARE(device().config().makersVariant, maker);
        QCOMPARE(device().config().firmware, firmware);
    }

    // PELZORA_SIM_SENSOR comes from outside: any text is read without harm,
    // and text that is refused attaches nothing.
    void attachFromTextFuzz()
    {
        std::mt19937 random(23);
        const QString alphabet = QStringLiteral("i1d3munkone:=,+ makerfirmwareserialv2.5\x00\u00e9");
        std::uniform_int_distribution<int> length(0, 40), pick(0, int(alphabet.size()) - 1);
        for (int i = 0; i < 5000; ++i) {
            QString text;
            const int n = length(random);
            for (int k = 0; k < n; ++k)
                text.append(alphabet.at(pick(random)));
            if (!m_rig->sensors.attachFromText(text)) {
                QVERIFY(!m_rig->sensors.isAttached(SimSensors::I1d3));
                QVERIFY(!m_rig->sensors.isAttached(SimSensors::ColorMunki));
            }
        }
    }

    void installedFromTheEnvironment()
    {
        m_rig.reset();
        qputenv("PELZORA_SIMULATE", "1");
        qunsetenv("PELZORA_SIM_SENSOR");
        {
            auto sim = SimDesktop::installFromEnvironment();
            QVERIFY(sim && sim->sensors() && sim->screenSampler());
            QVERIFY(sim->sensors()->isAttached(SimSensors::I1d3));
            QVERIFY(sim->sensors()->i1d3().automaticHand());
            QCOMPARE(&i1d3Library(), static_cast<II1d3Library *>(&sim->sensors()->i1d3()));
        }
        QCOMPARE(i1d3Library().Initialize(), kI1d3LibraryMissing);
        qputenv("PELZORA_SIM_SENSOR", "i1d3:maker=1,firmware=v2.5");
        {
            auto sim = SimDesktop::installFromEnvironment();
            QVERIFY(sim->sensors()->i1d3().config().makersVariant);
        }
        qputenv("PELZORA_SIM_SENSOR", "none");
        {
            auto sim = SimDesktop::installFromEnvironment();
            QVERIFY(!sim->sensors()->isAttached(SimSensors::I1d3));
        }
        qputenv("PELZORA_SIM_SENSOR", "munki");
        {
            auto sim = SimDesktop::installFromEnvironment();
            QVERIFY(!sim->sensors()->isAttached(SimSensors::I1d3));
            QVERIFY(sim->sensors()->isAttached(SimSensors::ColorMunki));
            QVERIFY(sim->sensors()->munki().automaticHand());
            QVERIFY(sim->sensors()->munki().noise().enabled());
        }
        qunsetenv("PELZORA_SIM_SENSOR");
        qunsetenv("PELZORA_SIMULATE");
    }
};

QTEST_MAIN(TestSimI1d3)
#include "tst_simi1d3.moc"
