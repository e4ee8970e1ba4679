// The simulated i1 Display Pro and the set of simulated sensors: what the
// device measures with the diffuser either way, its integration time on the
// program clock, over-range, unplug and replug, and the automatic hand.

#include "SimLightChecks.h"
#include "SimSensorRig.h"

#include <QtTest>
#include <memory>

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
};

QTEST_MAIN(TestSimI1d3)
#include "tst_simi1d3.moc"
