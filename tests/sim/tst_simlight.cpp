// The simulated monitor's colour engine and light model, on the virtual clock.

#include "Clock.h"
#include "SimHost.h"
#include "SimLightModel.h"
#include "SimOrvaneMonitor.h"
#include "TestSupport.h"

#include <QtTest>
#include <cmath>

using namespace pz;
using test::exchange;
using test::pagedSet;

namespace {

SimChromaticity xyOf(const SimXYZ &v)
{
    const double sum = v.X + v.Y + v.Z;
    return SimChromaticity{v.X / sum, v.Y / sum};
}

SimXYZ minus(const SimXYZ &a, const SimXYZ &b) { return SimXYZ{a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }

bool near(double a, double b, double tol = 1e-9) { return std::fabs(a - b) <= tol; }

} // namespace

class TestSimLight : public QObject {
    Q_OBJECT
private slots:
    void init() { m_scope.reset(new ScopedClock(&m_clock)); }
    void cleanup() { m_scope.reset(); }

    void whiteWritesTakeEffectOnlyAfterProcessing()
    {
        SimOrvaneMonitor monitor;
        const SimXYZ before = monitor.emittedXYZ(1, 1, 1);
        QVERIFY(near(xyOf(before).x, 0.3125) && near(xyOf(before).y, 0.3291));

        // Head of a batch: hold, then the targets. Stored at once, light unchanged.
        exchange(monitor, pagedSet(0x1067, 3));
        exchange(monitor, pagedSet(0x0014, 11));
        QCOMPARE((quint8(exchange(monitor, pagedSet(0x1052, 300))[8])), quint8(300 & 0xFF));
        exchange(monitor, pagedSet(0x1053, 310));
        QCOMPARE(monitor.registerValue(0x1097), quint16(0));
        QVERIFY(near(monitor.emittedXYZ(1, 1, 1).Y, before.Y));

        // Start processing: busy for eight seconds of simulated time.
        exchange(monitor, pagedSet(0x1067, 1));
        QCOMPARE(monitor.registerValue(0x1097), quint16(1));
        m_clock.advanceUs(7999000);
        QCOMPARE(monitor.registerValue(0x1097), quint16(1));
        QVERIFY(near(xyOf(monitor.emittedXYZ(1, 1, 1)).x, 0.3125));
        m_clock.advanceUs(1000);
        QCOMPARE(monitor.registerValue(0x1097), quint16(0));
        const SimChromaticity white = xyOf(monitor.emittedXYZ(1, 1, 1));
        QVERIFY(near(white.x, 0.303) && near(white.y, 0.308));

        // While 0x1067 = 1, a white or luminance write restarts processing.
        exchange(monitor, pagedSet(0x2B3, 200));
        QCOMPARE(monitor.registerValue(0x1097), quint16(1));
        m_clock.advanceUs(8000000);
        QVERIFY(near(monitor.emittedXYZ(1, 1, 1).Y, 192.0));

        // A stuck engine never finishes.
        monitor.setColourProcessingStuck(true);
        m_clock.advanceUs(60000000);
        QCOMPARE(monitor.registerValue(0x1097), quint16(1));
    }

    void processingTriggers_data()
    {
        QTest::addColumn<int>("engineControl");   // 0x1067: 1 runs, 3 holds
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("starts");
        QTest::newRow("white x") << 1 << 0x1052 << 300 << true;
        QTest::newRow("white y") << 1 << 0x1053 << 310 << true;
        QTest::newRow("luminance") << 1 << 0x2B3 << 200 << true;
        QTest::newRow("black level") << 1 << 0x1054 << 5 << true;
        QTest::newRow("gamma mode") << 1 << 0x268 << 5 << false;
        QTest::newRow("primary") << 1 << 0x1055 << 640 << false;
        QTest::newRow("black level held") << 3 << 0x1054 << 5 << false;
    }
    void processingTriggers()
    {
        QFETCH(int, engineControl);
        QFETCH(int, code);
        QFETCH(int, value);
        QFETCH(bool, starts);
        SimMonitorConfig c;
        c.registerValues = {{0x1067, quint16(engineControl)}};
        SimOrvaneMonitor monitor(c);
        QCOMPARE(monitor.registerValue(0x1097), quint16(0));
        exchange(monitor, pagedSet(quint16(code), value));
        QCOMPARE(monitor.registerValue(quint16(code)), quint16(value));
        QCOMPARE(monitor.registerValue(0x1097), quint16(starts ? 1 : 0));
    }

    void restoreColourDefaultsAppliesAtOnce()
    {
        SimOrvaneMonitor monitor;
        exchange(monitor, pagedSet(0x1052, 300));
        exchange(monitor, pagedSet(0x0016, 100));
        exchange(monitor, pagedSet(0x0010, 80));
        m_clock.advanceUs(8000000);
        QCOMPARE(monitor.appliedEngineState().whiteX, 300);

        // Writing 0 does nothing; 1 puts the colour registers and the gains
        // back and applies them without processing. It reads back as 0.
        exchange(monitor, pagedSet(0x0008, 0));
        QCOMPARE(monitor.registerValue(0x1052), quint16(300));
        exchange(monitor, pagedSet(0x0008, 1));
        QCOMPARE(monitor.registerValue(0x0008), quint16(0));
        QCOMPARE(monitor.registerValue(0x1052), quint16(313));
        QCOMPARE(monitor.registerValue(0x0016), quint16(255));
        QCOMPARE(monitor.registerValue(0x1097), quint16(0));
        const SimEngineState applied = monitor.appliedEngineState();
        QCOMPARE(applied.whiteX, 313);
        QCOMPARE(applied.gains[0], 255);
        // Brightness is no colour setting.
        QCOMPARE(monitor.registerValue(0x0010), quint16(80));
    }

    void nativeWhiteBlackAndPrimaries()
    {
        SimMonitorConfig c;
        c.registerValues = {{0x268, 1}};   // native tone response
        SimOrvaneMonitor monitor(c);
        const SimXYZ white = monitor.emittedXYZ(1, 1, 1);
        const SimXYZ black = monitor.emittedXYZ(0, 0, 0);
        QVERIFY(near(white.Y, 0.96 * 160));
        QVERIFY(near(black.Y, 0.35));
        QVERIFY(near(xyOf(black).x, 0.3125) && near(xyOf(black).y, 0.3291));

        const double primaries[3][2] = {{0.680, 0.310}, {0.210, 0.710}, {0.150, 0.060}};
        double sumY = 0;
        for (int ch = 0; ch < 3; ++ch) {
            const SimXYZ p = minus(monitor.emittedXYZ(ch == 0, ch == 1, ch == 2), black);
            QVERIFY(near(xyOf(p).x, primaries[ch][0]) && near(xyOf(p).y, primaries[ch][1]));
            sumY += p.Y;
        }
        QVERIFY(near(sumY + black.Y, white.Y));

        // The native response: about γ 2.3 per channel.
        const SimXYZ greenHalf = minus(monitor.emittedXYZ(0, 0.5, 0), black);
        const SimXYZ greenFull = minus(monitor.emittedXYZ(0, 1, 0), black);
        QVERIFY(near(greenHalf.Y / greenFull.Y, std::pow(0.5, 2.30)));
    }

    void greyRampFollowsTheToneMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("v");
        QTest::addColumn<double>("relative");
        QTest::newRow("gamma 2.2 at 0.5") << 9 << 0.5 << std::pow(0.5, 2.2);
        QTest::newRow("gamma 2.2 at 0.25") << 9 << 0.25 << std::pow(0.25, 2.2);
        QTest::newRow("sRGB at 0.5") << 11 << 0.5 << std::pow((0.5 + 0.055) / 1.055, 2.4);
        QTest::newRow("sRGB at 0.02") << 11 << 0.02 << 0.02 / 12.92;
        QTest::newRow("L* at 0.5") << 12 << 0.5 << std::pow(66.0 / 116.0, 3.0);
        QTest::newRow("L* at 0.05") << 12 << 0.05 << 5.0 / 903.2962962962963;
    }
    void greyRampFollowsTheToneMode()
    {
        QFETCH(int, mode);
        QFETCH(double, v);
        QFETCH(double, relative);
        SimMonitorConfig c;
        c.registerValues = {{0x268, quint16(mode)}};
        SimOrvaneMonitor monitor(c);
        const double yb = monitor.emittedXYZ(0, 0, 0).Y;
        const double yw = monitor.emittedXYZ(1, 1, 1).Y;
        const SimXYZ grey = monitor.emittedXYZ(v, v, v);
        QVERIFY(near((grey.Y - yb) / (yw - yb), relative, 1e-12));
        QVERIFY(near(xyOf(grey).x, 0.3125) && near(xyOf(grey).y, 0.3291));
    }

    void dicomSteps()
    {
        // The standard display function and its inverse agree.
        for (double l : {0.1, 1.0, 10.0, 100.0, 350.0})
            QVERIFY(near(SimLightModel::dicomLuminance(SimLightModel::dicomJnd(l)), l, l * 2e-3));
        SimMonitorConfig c;
        c.registerValues = {{0x268, 5}};
        SimOrvaneMonitor monitor(c);
        const double lb = monitor.emittedXYZ(0, 0, 0).Y, lw = monitor.emittedXYZ(1, 1, 1).Y;
        QVERIFY(near(lb, 0.35) && near(lw, 153.6));
        const double jb = SimLightModel::dicomJnd(lb), jw = SimLightModel::dicomJnd(lw);
        const double l0 = SimLightModel::dicomLuminance(jb), l1 = SimLightModel::dicomLuminance(jw);
        for (double v : {0.25, 0.5, 0.75}) {
            const double l = SimLightModel::dicomLuminance(jb + v * (jw - jb));
            QVERIFY(near(monitor.emittedXYZ(v, v, v).Y, lb + (l - l0) / (l1 - l0) * (lw - lb), 1e-9));
        }
    }

    void curveMemoryTakesEffectOnRefresh()
    {
        SimMonitorConfig c;
        c.registerValues = {{0x268, 6}};
        SimOrvaneMonitor monitor(c);
        const double yb = monitor.emittedXYZ(0, 0, 0).Y, yw = monitor.emittedXYZ(1, 1, 1).Y;
        // Default curve memory is γ 2.2; load a linear curve in 8-entry chunks.
        for (int ch = 0; ch < 3; ++ch) {
            for (int first = 0; first < 256; first += 8) {
                QByteArray p("\xC2\x0B", 2);
                const int offset = ch * 0x400 + first;
                p.append(char(offset >> 8));
                p.append(char(offset & 0xFF));
                for (int i = first; i < first + 8; ++i) {
                    const int v = i * 257;
                    p.append(char(v >> 8));
                    p.append(char(v & 0xFF));
                }
                QVERIFY(test::sendRequest(monitor, p));
            }
        }
        const double before = (monitor.emittedXYZ(0.5, 0.5, 0.5).Y - yb) / (yw - yb);
        QVERIFY(near(before, (std::lround(65535 * std::pow(127 / 255.0, 2.2)) * 0.5
                              + std::lround(65535 * std::pow(128 / 255.0, 2.2)) * 0.5) / 65535, 1e-12));
        QVERIFY(test::sendRequest(monitor, QByteArray("\xC2\x06", 2)));
        QVERIFY(near((monitor.emittedXYZ(0.5, 0.5, 0.5).Y - yb) / (yw - yb), 0.5, 1e-12));

        // The gamma table sits in front of the curve: halving its top half
        // entries for the green channel halves green's drive there.
        QByteArray p("\xC2\x05\x04\x80", 4);   // green, entry 128
        for (int i = 0; i < 16; ++i) {
            const int v = (128 + i) * 1023 / 255 / 2;
            p.append(char(v >> 8));
            p.append(char(v & 0xFF));
        }
        QVERIFY(test::sendRequest(monitor, p));
        const SimXYZ black = monitor.emittedXYZ(0, 0, 0);
        const double before128 = monitor.emittedXYZ(0, 128 / 255.0, 0).Y - black.Y;
        QVERIFY(test::sendRequest(monitor, QByteArray("\xC2\x06", 2)));
        const double after128 = monitor.emittedXYZ(0, 128 / 255.0, 0).Y - black.Y;
        QVERIFY(near(after128 / before128, double(128 * 1023 / 255 / 2) / double((128 * 1023 + 127) / 255), 1e-9));
    }

    void gainMonitorPanel()
    {
        SimOrvaneMonitor monitor(SimMonitorConfig::gainMonitor());
        monitor.setRegister(0x10, 100);
        const double full = monitor.emittedXYZ(1, 1, 1).Y;
        QVERIFY(near(full, 240.0, 1e-6));
        // Brightness: 20 % at 0, linear up to its maximum.
        monitor.setRegister(0x10, 0);
        QVERIFY(near(monitor.emittedXYZ(1, 1, 1).Y, 0.2 * full, 1e-6));
        monitor.setRegister(0x10, 50);
        QVERIFY(near(monitor.emittedXYZ(1, 1, 1).Y, 0.6 * full, 1e-6));
        monitor.setRegister(0x10, 100);

        // Settings take effect without a colour engine: the user preset
        // moves the white at once.
        const SimXYZ nativeWhite = monitor.emittedXYZ(1, 1, 1);
        monitor.setRegister(0x14, 11);
        QVERIFY(!monitor.colourProcessing());
        QVERIFY(std::fabs(xyOf(monitor.emittedXYZ(1, 1, 1)).x - xyOf(nativeWhite).x) > 0.001);

        // Mode 6: the (linear) gamma table drives the native response, and a
        // gain scales the drive before it.
        monitor.setRegister(0x268, 6);
        const SimXYZ black = monitor.emittedXYZ(0, 0, 0);
        const double red = monitor.emittedXYZ(1, 0, 0).Y - black.Y;
        const double half = monitor.emittedXYZ(0.5, 0, 0).Y - black.Y;
        const double gamma = SimMonitorConfig::gainMonitor().light.nativeGamma[0];
        QVERIFY(near(half / red, std::pow(0.5, gamma), 1e-9));
        monitor.setRegister(0x16, 128);
        const double dimmed = monitor.emittedXYZ(1, 0, 0).Y - black.Y;
        QVERIFY(near(dimmed / red, std::pow(128 / 255.0, gamma), 1e-9));
    }

    void luminanceLimitAndDriveRegisters()
    {
        SimMonitorConfig c;
        c.registerValues = {{0x2B3, 400}};
        SimOrvaneMonitor monitor(c);
        QVERIFY(near(monitor.emittedXYZ(1, 1, 1).Y, 350.0));
        const quint16 drives[3] = {monitor.registerValue(0x27E), monitor.registerValue(0x27F),
                                   monitor.registerValue(0x280)};
        QCOMPARE(*std::max_element(drives, drives + 3), quint16(1023));

        SimOrvaneMonitor dim;   // 160 target: 153.6 of 350
        for (quint16 code : {0x27E, 0x27F, 0x280})
            QVERIFY(dim.registerValue(code) < 1023);
    }

    void customGamutAndUserWhite()
    {
        SimMonitorConfig c;
        c.registerValues = {{0x1062, 1}, {0x1055, 640}, {0x1056, 330}, {0x1057, 300},
                            {0x1058, 600}, {0x1059, 150}, {0x105A, 60}, {0x14, 11},
                            {0x1052, 313}, {0x1053, 329}};
        SimOrvaneMonitor monitor(c);
        const SimXYZ black = monitor.emittedXYZ(0, 0, 0);
        const SimChromaticity red = xyOf(minus(monitor.emittedXYZ(1, 0, 0), black));
        QVERIFY(near(red.x, 0.640) && near(red.y, 0.330));
        const SimChromaticity white = xyOf(monitor.emittedXYZ(1, 1, 1));
        QVERIFY(near(white.x, 0.316) && near(white.y, 0.327));   // target plus the bias
    }

    void noiseIsDeterministic()
    {
        SimMonitorConfig c;
        c.light.noise = 0.01;
        c.light.seed = 42;
        SimOrvaneMonitor a(c), b(c);
        const double first = a.emittedXYZ(1, 1, 1).Y;
        QCOMPARE(first, b.emittedXYZ(1, 1, 1).Y);
        QVERIFY(!near(first, 153.6));
        QVERIFY(std::fabs(first / 153.6 - 1) < 0.06);

        SimMonitorConfig drifting;
        drifting.light.driftPerHour = -0.02;
        SimOrvaneMonitor warm(drifting);
        QVERIFY(near(warm.emittedXYZ(1, 1, 1).Y, 153.6));
        m_clock.advanceUs(qint64(3600) * 1000000 / 2);
        QVERIFY(near(warm.emittedXYZ(1, 1, 1).Y, 153.6 * 0.99));
    }

private:
    VirtualClock m_clock;
    std::unique_ptr<ScopedClock> m_scope;
};

QTEST_GUILESS_MAIN(TestSimLight)
#include "tst_simlight.moc"
