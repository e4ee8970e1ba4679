// The Spyder3/4 measurement interface end to end on the simulated devices
// and the virtual clock: startups and the device record, the EEPROM check,
// calibration choices, readings, the device's faults and the pass-through
// requests.

#include "SpyderRig.h"
#include "TestSupport.h"
#include "spyder_requests.h"
#include "spyder_usb_layer.h"

#include <QtTest>

#include <cmath>
#include <functional>

using namespace pz;
using namespace pz::test;
using namespace spyder;

namespace {

struct Reading {
    int ok = 0;
    qint32 X = 0, Y = 0, Z = 0;
};

Reading read(quint16 time = 90)
{
    Reading r;
    r.ok = DC_GetXYZ(time, &r.X, &r.Y, &r.Z);
    return r;
}

bool near(const Reading &r, const SimXYZ &light, double tolerance = 1.0)
{
    return std::fabs(r.X - light.X * 1000) <= tolerance &&
           std::fabs(r.Y - light.Y * 1000) <= tolerance &&
           std::fabs(r.Z - light.Z * 1000) <= tolerance;
}

QString show(const Reading &r)
{
    return QStringLiteral("ok %1 (%2, %3, %4) error %5")
        .arg(r.ok).arg(r.X).arg(r.Y).arg(r.Z).arg(DC_GetDetailedError(nullptr), 0, 16);
}

QByteArray sealed(QByteArray image)
{
    SimSpyderEeprom::seal(image);
    return image;
}

QByteArray withByte(QByteArray image, int address, quint8 value)
{
    image[address] = char(value);
    return image;
}

QByteArray withFloat(QByteArray image, int address, float value)
{
    SimSpyderEeprom::putFloat(image, address, value);
    return image;
}

} // namespace

class TestSpyderDc : public QObject {
    Q_OBJECT

private slots:
    void startupFillsTheDeviceRecord_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("Spyder4") << quint16(0x0400) << QByteArray("\x09\x01\x0A\x07S4000001", 12);
        QTest::newRow("Spyder3") << quint16(0x0300) << QByteArray("\x09\x01\x23\x04S3000001", 12);
    }

    void startupFillsTheDeviceRecord()
    {
        QFETCH(quint16, product);
        QFETCH(QByteArray, record);
        SpyderRig rig(product);
        QCOMPARE(rig.start(product), 1);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(rig.record), 12), record);
        QVERIFY(initialized);
    }

    // The reading of a D65 white of (95.047, 100, 108.883) cd/m² comes back
    // in thousandths, and charges exactly its window on the clock.
    void readingEqualsTheLight_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::addColumn<QByteArray>("image");
        QTest::newRow("Spyder3") << quint16(0x0300) << QByteArray();
        QTest::newRow("Spyder4") << quint16(0x0400) << QByteArray();
        QTest::newRow("Spyder3 version 5") << quint16(0x0300) << SimSpyderEeprom::spyder3Europa();
    }

    void readingEqualsTheLight()
    {
        QFETCH(quint16, product);
        QFETCH(QByteArray, image);
        SpyderRig rig(product, image);
        QCOMPARE(rig.start(product), 1);
        QCOMPARE(DC_UseCalibration(2), 1);
        rig.clock.clearWaits();
        const Reading r = read(90);
        QVERIFY2(r.ok, qPrintable(show(r)));
        QVERIFY2(near(r, kD65White), qPrintable(show(r)));
        QCOMPARE(rig.clock.waitsUs(), QVector<qint64>{1500000});
    }

    void secondStartupIsRefused()
    {
        SpyderRig rig;
        QCOMPARE(rig.start(), 1);
        quint8 other[12] = {};
        QCOMPARE(DC_Startup(other, 0x0400), 0);
        QCOMPARE(rig.error(), kDcAlreadyStarted);
        QCOMPARE(DC_Startup(nullptr, 0x0400), 0);
        QCOMPARE(rig.error(), kDcBadArgument);
        QVERIFY(read().ok);   // the first device stays in use
    }

    void startupWithoutADevice()
    {
        SpyderRig rig(0x0300);
        QCOMPARE(rig.start(0x0400), 0);
        QCOMPARE(rig.error(), kDcNotOpened);
        QCOMPARE(rig.systemFlag(), quint8(0));
        QVERIFY(!initialized);
    }

    void busyThenFreeAndBusyForEver()
    {
        SpyderRig rig;
        rig.device->setBusyOpens(3);
        rig.clock.clearWaits();
        QCOMPARE(rig.start(), 1);
        QCOMPARE(rig.clock.waitsTicks(), (QVector<qint64>{61, 61}));
        DC_Shutdown();

        rig.device->setBusyOpens(-1);
        rig.clock.clearWaits();
        QCOMPARE(rig.start(), 0);
        QCOMPARE(rig.error(), kDcNotOpened);
        QCOMPARE(rig.clock.waitsTicks(), QVector<qint64>(5, 61));
    }

    void startupOverridesTheVersion()
    {
        // A Spyder3 image read as version 6 (ARACHNE) measures as version 4.
        SpyderRig rig(0x0300);
        QCOMPARE(DC_StartupXXX2(rig.record, 6), 1);
        QCOMPARE(gHW_Version, 6);
        QVERIFY(_ARACHNE_ && !_EUROPA_);
        QCOMPARE(rig.record[3], quint8(4));   // the record keeps the EEPROM's word
        QVERIFY(near(read(), kD65White));
        DC_Shutdown();
        QCOMPARE(DC_StartupXXX1(rig.record), 1);
        QCOMPARE(gHW_Version, 4);
        DC_Shutdown();
        QCOMPARE(DC_StartupEx(rig.record, 0x0300, 9), 0);
        QCOMPARE(rig.error(), kDcBadVersion);
    }

    void eepromVariants_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<qint32>("code");   // 0: the startup succeeds
        QTest::addColumn<bool>("crcRead");  // bytes 0..1019 were read

        const QByteArray s4 = SimSpyderEeprom::spyder4();
        const QByteArray s3 = SimSpyderEeprom::spyder3();
        QTest::newRow("Spyder4") << quint16(0x0400) << s4 << 0 << true;
        QTest::newRow("byte changed, CRC kept")
            << quint16(0x0400) << withByte(s4, 600, quint8(s4[600]) ^ 0x01)
            << kDcChecksumMismatch << true;
        QTest::newRow("Spyder3 byte changed, CRC kept")
            << quint16(0x0300) << withByte(s3, 300, 0x12) << kDcChecksumMismatch << true;
        QTest::newRow("version 3") << quint16(0x0400) << sealed(withByte(s4, 5, 3)) << kDcBadVersion
                                   << false;
        QTest::newRow("version 8") << quint16(0x0300) << sealed(withByte(s3, 5, 8)) << kDcBadVersion
                                   << false;
        QByteArray unchecked = withByte(s4, 6, 0x02);
        for (int i = 1020; i < 1024; ++i)
            unchecked[i] = char(0xFF);
        QTest::newRow("no checksum") << quint16(0x0400) << unchecked << 0 << false;
        QByteArray stale = sealed(withByte(s4, 6, 0x02));   // flag clear, but a stored value
        QTest::newRow("checksum without its flag") << quint16(0x0400) << stale << 0 << true;
        QTest::newRow("flag clear, value wrong")
            << quint16(0x0400) << withByte(stale, 1021, 0) << kDcChecksumMismatch << true;
    }

    void eepromVariants()
    {
        QFETCH(quint16, product);
        QFETCH(QByteArray, image);
        QFETCH(qint32, code);
        QFETCH(bool, crcRead);
        SpyderRig rig(product, image);
        QCOMPARE(rig.start(product), code == 0 ? 1 : 0);
        QCOMPARE(rig.error(), code);
        QCOMPARE(initialized, code == 0);
        bool readWhole = false;
        for (const SimSpyder::Setup &s : rig.setups(kReqEepromRead))
            readWhole |= s.value == 0 && s.length == 128;
        QCOMPARE(readWhole, crcRead);
        if (code != 0) {
            // Released: reset and closed, so a sound sensor starts afresh.
            QCOMPARE(rig.device->resets(), 1);
            QVERIFY(!myExercisePB.device);
            rig.device.reset();
            rig.device = rig.plug(product);
            QCOMPARE(rig.start(product), 1);
            QVERIFY(near(read(), kD65White));
        }
    }

    void spyder3CalibrationChoices_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("calibration");
        QTest::addColumn<qint32>("code");
        QTest::addColumn<int>("table");   // coeffTab afterwards, from 2
        QTest::newRow("CRT") << 0x23 << 1 << 0 << 1;
        QTest::newRow("LCD") << 0x23 << 2 << 0 << 2;
        QTest::newRow("no CRT calibration") << 0x22 << 1 << kDcCalibration1Missing << 2;
        QTest::newRow("Tokyo refused") << 0x23 << 3 << kDcCalibration3Missing << 2;
        QTest::newRow("Tokyo refused though flagged") << 0x27 << 3 << kDcCalibration3Missing << 2;
        QTest::newRow("no calibration 4") << 0x23 << 4 << kDcCalibration4Missing << 2;
        QTest::newRow("calibration 4") << 0x2B << 4 << 0 << 1;
        QTest::newRow("no LCD sets") << 0x21 << 2 << kDcCalibration2Missing << 2;
        QTest::newRow("9") << 0x23 << 9 << kDcBadArgument << 2;
        QTest::newRow("0") << 0x23 << 0 << kDcBadArgument << 2;
    }

    void spyder3CalibrationChoices()
    {
        QFETCH(int, flags);
        QFETCH(int, calibration);
        QFETCH(qint32, code);
        QFETCH(int, table);
        SpyderRig rig(0x0300, SimSpyderEeprom::spyder3(quint8(flags)));
        QCOMPARE(rig.start(0x0300), 1);
        QCOMPARE(DC_UseCalibration(calibration), code == 0 ? 1 : 0);
        QCOMPARE(rig.error(), code);
        QCOMPARE(int(coeffTab), table);
    }

    void tokyoValuesAreReadWhenFlagged()
    {
        QByteArray image = SimSpyderEeprom::spyder3(0x27);
        for (int e = 2; e <= 8; ++e)
            SimSpyderEeprom::putFloat(image, offsetTokyo[e], float(e) + 0.5f);
        SpyderRig rig(0x0300, sealed(image));
        QCOMPARE(rig.start(0x0300), 1);
        for (int e = 2; e <= 8; ++e)
            QCOMPARE(coeffTokyo[e - 2], float(e) + 0.5f);
    }

    void crtSetsReadTwoPercentHigh()
    {
        SpyderRig rig(0x0300);
        QCOMPARE(rig.start(0x0300), 1);
        QCOMPARE(DC_UseCalibration(1), 1);
        const Reading r = read();
        QVERIFY2(r.ok, qPrintable(show(r)));
        const SimXYZ high{kD65White.X * 1.02, kD65White.Y * 1.02, kD65White.Z * 1.02};
        QVERIFY2(near(r, high, 3.0), qPrintable(show(r)));
        // The choice outlives the device.
        DC_Shutdown();
        QCOMPARE(rig.start(0x0300), 1);
        QCOMPARE(int(coeffTab), 1);
    }

    void lcdSetsNeverLoadedAreNotUsed()
    {
        SpyderRig rig(0x0300, SimSpyderEeprom::spyder3(0x21));
        QCOMPARE(rig.start(0x0300), 1);
        const Reading r = read();
        QCOMPARE(r.ok, 0);
        QCOMPARE(rig.error(), kDcCalibration2Missing);
        QCOMPARE(DC_UseCalibration(1), 1);
        QVERIFY(read().ok);
    }

    void spyder4Calibrations()
    {
        SpyderRig rig;
        QCOMPARE(rig.start(), 1);
        QVERIFY(!S4_CoeffValid);
        // Before any choice: the flat weighting.
        QVERIFY(near(read(), kD65White));
        QVERIFY(S4_CoeffValid);
        for (int c : {2, 4, 5, 6, 7}) {
            QCOMPARE(DC_UseCalibration(c), 1);
            QVERIFY2(near(read(), kD65White), qPrintable(QString::number(c)));
        }
        QCOMPARE(DC_UseCalibration(1), 1);
        const Reading lum = read();
        QVERIFY(lum.ok);
        QCOMPARE(lum.X, 0);
        QCOMPARE(lum.Z, 0);
        QVERIFY(std::abs(lum.Y - 100000) <= 1);
        for (int c : {0, 8, -1}) {
            QCOMPARE(DC_UseCalibration(c), 0);
            QCOMPARE(rig.error(), kDcBadArgument);
        }
        // A new startup forgets the coefficients.
        DC_Shutdown();
        QCOMPARE(rig.start(), 1);
        QVERIFY(!S4_CoeffValid);
    }

    // Each calibration fits with its own weighting row; sensitivities that
    // are not the observer's make the rows tell apart.
    void spyder4CalibrationsUseTheirRows()
    {
        QByteArray image = SimSpyderEeprom::spyder4();
        double s[kS4Channels][kSpectralSamples];
        for (int k = 0; k < kS4Channels; ++k) {
            for (int i = 0; i < kSpectralSamples; ++i) {
                const int at = 170 + 2 * (k * kSpectralSamples + i);
                const quint16 v = quint16((quint8(image[at]) << 8 | quint8(image[at + 1])) / 2 +
                                          37 * ((i * 7 + k * 3) % 11));
                SimSpyderEeprom::putUInt16(image, at, v);
                s[k][i] = v / 100.0;
            }
        }
        SpyderRig rig(0x0400, sealed(image));
        QCOMPARE(rig.start(), 1);
        float previous[21] = {};
        for (int c : {2, 3, 4, 5, 6, 7}) {
            QCOMPARE(DC_UseCalibration(c), 1);
            float expected[21];
            QCOMPARE(S4_FitCoefficients(s, 0.003, c - 2, expected), 1);
            for (int i = 0; i < 21; ++i)
                QCOMPARE(S4_Coeff[i], expected[i]);
            QVERIFY(!std::equal(previous, previous + 21, S4_Coeff));
            std::copy(S4_Coeff, S4_Coeff + 21, previous);
        }
    }

    // Sensitivities shaped nothing like the observer, so every weighting
    // counts: the driver's coefficients are those of an exact rational
    // solution (tests/data/spyder4_unshaped_fit.py) to float precision.
    void spyder4FitMatchesTheIndependentSolution()
    {
        const QByteArray image = test::hex(test::readData("spyder4_unshaped.hex").constData());
        QCOMPARE(image.size(), SimSpyderEeprom::kSize);
        QMap<int, QVector<double>> expected;
        const QList<QByteArray> lines = test::readData("spyder4_unshaped_fit.txt").split('\n');
        for (const QByteArray &line : lines) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (line.startsWith('#') || fields.size() != 22)
                continue;
            QVector<double> c;
            for (int i = 1; i < 22; ++i)
                c.append(fields[i].toDouble());
            expected.insert(fields[0].toInt(), c);
        }
        QCOMPARE(expected.keys(), QList<int>({2, 3, 4, 5, 6, 7}));

        SpyderRig rig(0x0400, image);
        QCOMPARE(rig.start(), 1);
        for (int c = 2; c <= 7; ++c) {
            QCOMPARE(DC_UseCalibration(c), 1);
            for (int i = 0; i < 21; ++i) {
                const double want = expected[c][i];
                // Half a float step of rounding, and as much again for the
                // double solution of the normal equations.
                const double step = std::ldexp(1.0, std::ilogb(float(want)) - 23);
                QVERIFY2(std::fabs(S4_Coeff[i] - want) <= step,
                         qPrintable(QStringLiteral("calibration %1 coefficient %2: %3, not %4")
                                        .arg(c).arg(i).arg(double(S4_Coeff[i]), 0, 'g', 10)
                                        .arg(want, 0, 'g', 10)));
            }
        }
    }

    void spyder4LuminanceNeedsItsFlag()
    {
        SpyderRig rig(0x0400, SimSpyderEeprom::spyder4(0x08));
        QCOMPARE(rig.start(), 1);
        QCOMPARE(DC_UseCalibration(1), 0);
        QCOMPARE(rig.error(), kDcCalibration1Missing);
    }

    void fitWithoutResultKeepsTheCoefficients()
    {
        SpyderRig rig(0x0400, SimSpyderEeprom::spyder4AlikeChannels());
        QCOMPARE(rig.start(), 1);
        QCOMPARE(DC_UseCalibration(1), 1);
        float before[21];
        std::copy(S4_Coeff, S4_Coeff + 21, before);
        QCOMPARE(DC_UseCalibration(4), 0);
        QCOMPARE(rig.error(), kDcNoUsableResult);
        QVERIFY(std::equal(before, before + 21, S4_Coeff));
        QVERIFY(read().ok);   // still with the luminance set
    }

    void failedDeviceReadKeepsTheCoefficients()
    {
        SpyderRig rig;
        QCOMPARE(rig.start(), 1);
        QCOMPARE(DC_UseCalibration(1), 1);
        float before[21];
        std::copy(S4_Coeff, S4_Coeff + 21, before);
        rig.device->failNextControls(1, kUsbErrorIo);
        QCOMPARE(DC_UseCalibration(2), 0);
        QCOMPARE(rig.error(), qint32(kUsbErrorIo));
        QCOMPARE(rig.systemFlag(), quint8(1));
        QVERIFY(std::equal(before, before + 21, S4_Coeff));
    }

    void unusableResultsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<qint32>("startCode");   // 0: the startup succeeds
        QTest::addColumn<qint32>("Y");           // thousandths; 0: refused
        const QByteArray s3 = SimSpyderEeprom::spyder3();
        // Sets that turn a white into no light are refused at startup.
        QByteArray huge = s3;
        SimSpyderEeprom::putFloat(huge, 384 + 4 * 6, 1e30f);   // X' = 1e30 X²
        QTest::newRow("beyond 32 bits") << sealed(huge) << kDcEepromUnusable << 0;
        QByteArray nan = s3;
        for (int i = 0; i < 4; ++i)
            nan[256 + i] = char(i == 0 ? 0x7F : i == 1 ? 0xC0 : 0);
        QTest::newRow("constant not a number") << sealed(nan) << kDcEepromUnusable << 0;
        QByteArray inf = s3;
        SimSpyderEeprom::putFloat(inf, 256 + 4 * 2, std::numeric_limits<float>::infinity());
        QTest::newRow("weight infinite") << sealed(inf) << kDcEepromUnusable << 0;
        QByteArray xGain = s3;
        SimSpyderEeprom::putFloat(xGain, 384, 106.0f);   // X' = 106 X: x = 0.97
        QTest::newRow("X beyond the locus") << sealed(xGain) << kDcEepromUnusable << 0;
        // The level-1 LCD set scaled: the white of 1,000 cd/m² the device
        // sees (Y and Z at the converters' 1 MHz) reads that much brighter.
        auto whiteGain = [&](float gain) {
            QByteArray image = s3;
            for (int i = 0; i < 27; ++i)
                SimSpyderEeprom::putFloat(image, 256 + 4 * i,
                                          gain * SimSpyderEeprom::floatAt(s3, 256 + 4 * i));
            return sealed(image);
        };
        QTest::newRow("Y beyond any display") << whiteGain(10.05f) << 0 << 0;
        QTest::newRow("Y of a bright display") << whiteGain(9.95f) << 0 << 9950000;
        QTest::newRow("Y below zero") << whiteGain(-1.0f) << kDcEepromUnusable << 0;
    }

    void unusableResultsAreRefused()
    {
        QFETCH(QByteArray, image);
        QFETCH(qint32, startCode);
        QFETCH(qint32, Y);
        SpyderRig rig(0x0300, image);
        rig.device->setFixedLight({950.47, 1000.0, 1088.83});
        QCOMPARE(rig.start(0x0300), startCode == 0 ? 1 : 0);
        QCOMPARE(rig.error(), startCode);
        if (startCode != 0) {
            QCOMPARE(rig.device->resets(), 1);   // released
            return;
        }
        const Reading r = read();
        QCOMPARE(r.ok, Y != 0 ? 1 : 0);
        QCOMPARE(rig.error(), Y != 0 ? 0 : kDcNoUsableResult);
        if (Y != 0)
            QVERIFY2(std::abs(r.Y - Y) <= 200, qPrintable(show(r)));
    }

    // Calibrations that cannot turn the reference white into a light are
    // refused when loaded: at startup (calibration 0) or when chosen.
    void calibrationsWithoutALightAreRefused_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<int>("calibration");

        const QByteArray s3 = SimSpyderEeprom::spyder3();
        QByteArray blank(SimSpyderEeprom::kSize, 0);
        blank[5] = 4;
        blank[6] = 0x23;
        QTest::newRow("Spyder3 zero but version and flags") << quint16(0x0300) << sealed(blank) << 0;
        auto level2Gain = [&](float gain) {
            QByteArray image = s3;
            for (int row = 0; row < 3; ++row)
                SimSpyderEeprom::putFloat(image, 384 + 4 * (10 * row), gain);
            return sealed(image);
        };
        QTest::newRow("Spyder3 LCD level 2 X = −X")
            << quint16(0x0300) << sealed(withFloat(s3, 384, -1.0f)) << 0;
        QTest::newRow("Spyder3 CRT level 1 Y weights 0")
            << quint16(0x0300)
            << sealed(withFloat(withFloat(withFloat(s3, 16 + 4 * 12, 0.0f), 16 + 4 * 15, 0.0f),
                                16 + 4 * 17, 0.0f))
            << 0;
        QTest::newRow("Spyder3 white read 11 times too bright")
            << quint16(0x0300) << level2Gain(11.0f) << 0;
        QTest::newRow("Spyder3 white read 11 times too dark")
            << quint16(0x0300) << level2Gain(1.0f / 11) << 0;

        const QByteArray s4 = SimSpyderEeprom::spyder4();
        QTest::newRow("Spyder4 level 2 X = −X")
            << quint16(0x0400) << sealed(withFloat(s4, 60, -1.0f)) << 0;
        QTest::newRow("Spyder4 luminance float at 28 zero")
            << quint16(0x0400) << sealed(withFloat(s4, 28, 0.0f)) << 1;
        QTest::newRow("Spyder4 luminance negative")
            << quint16(0x0400) << sealed(withFloat(s4, 29, -0.00683f)) << 1;
        QTest::newRow("Spyder4 luminance 11 times too dark")
            << quint16(0x0400) << sealed(withFloat(s4, 29, 0.00683f / 11)) << 1;
        // Seven narrow channels from 400 to 460 nm: a fit to the observer
        // from them reads a white as a faint violet.
        QByteArray blue = s4;
        for (int k = 0; k < 7; ++k) {
            for (int i = 0; i < 41; ++i) {
                const double z = (380 + 10 * i - (400 + 10 * k)) / 10.0;
                SimSpyderEeprom::putUInt16(blue, 170 + 2 * (41 * k + i),
                                           quint16(std::lround(30000 * std::exp(-0.5 * z * z))));
            }
        }
        QTest::newRow("Spyder4 fit from blue channels") << quint16(0x0400) << sealed(blue) << 2;
    }

    void calibrationsWithoutALightAreRefused()
    {
        QFETCH(quint16, product);
        QFETCH(QByteArray, image);
        QFETCH(int, calibration);
        SpyderRig rig(product, image);
        if (calibration == 0) {
            QCOMPARE(rig.start(product), 0);
            QCOMPARE(rig.error(), kDcEepromUnusable);
            QCOMPARE(rig.device->resets(), 1);   // released
            return;
        }
        QCOMPARE(rig.start(product), 1);
        // Another calibration first, where the image has a sound one.
        const bool sound = DC_UseCalibration(calibration == 1 ? 2 : 1) == 1;
        float before[21];
        std::copy(S4_Coeff, S4_Coeff + 21, before);
        QCOMPARE(DC_UseCalibration(calibration), 0);
        QCOMPARE(rig.error(), kDcEepromUnusable);
        QVERIFY(std::equal(before, before + 21, S4_Coeff));   // kept
        QCOMPARE(S4_CoeffValid, sound);
        if (sound)
            QVERIFY(read().ok);
    }

    void readingArguments()
    {
        SpyderRig rig;
        qint32 X, Y, Z;
        QCOMPARE(DC_GetXYZ(90, &X, &Y, &Z), 0);
        QCOMPARE(rig.error(), kDcNotStarted);
        QCOMPARE(rig.start(), 1);
        QCOMPARE(DC_GetXYZ(0, &X, &Y, &Z), 0);
        QCOMPARE(rig.error(), kDcBadArgument);
        QCOMPARE(DC_GetXYZ(90, &X, nullptr, &Z), 0);
        QCOMPARE(rig.error(), kDcBadArgument);
        rig.device->clearSetupLog();
        QCOMPARE(DC_GetXYZ(1100, &X, &Y, &Z), 1);
        QCOMPARE(rig.setups(kReqMeasure).last().value, quint16(0xFFFF));
        QCOMPARE(rig.setups(kReqMeasure).last().index, quint16(0x00FF));
    }

    void readingsAndRawCounts()
    {
        SpyderRig rig(0x0300);
        QCOMPARE(rig.start(0x0300), 1);
        quint32 counts[8], periods[8];
        QCOMPARE(DC_GetReadings(300, counts, periods, 0), 1);
        QCOMPARE(rig.setups(kReqMeasure).last().value, swap16(quint16(5000000 >> 8)));
        // Channels 1-7 carry 1000·(X, Y, Z, X, Y, Z, Y) Hz over 5 s.
        const double hz[8] = {95047, 95047, 100000, 108883, 95047, 100000, 108883, 100000};
        for (int k = 0; k < 8; ++k) {
            QVERIFY(std::fabs(counts[k] - hz[k] * 5) <= 1);
            QVERIFY(std::fabs((counts[k] - 1) / (periods[k] / 1e6) - hz[k]) < hz[k] * 1e-5);
        }
        QCOMPARE(DC_GetReadings(0x123456, counts, periods, 1), 1);
        QCOMPARE(rig.setups(kReqMeasure).last().value, quint16(0x3412));
        quint32 count = 0;
        QCOMPARE(DC_GetRawUnfiltered(90, &count), 1);
        QVERIFY(count == 142570u || count == 142571u);   // 95047 Hz over 1.5 s
        QCOMPARE(DC_GetRawUnfiltered(90, nullptr), 0);
        QCOMPARE(rig.error(), kDcBadArgument);
    }

    void channelsSaturateAtOneMegahertz()
    {
        SpyderRig rig(0x0300);
        rig.device->setFixedLight({2000, 2000, 2000});
        QCOMPARE(rig.start(0x0300), 1);
        const Reading r = read();
        QVERIFY(r.ok);   // reported as success, as the device would
        QVERIFY2(std::abs(r.Y - 1000000) <= 10, qPrintable(show(r)));
    }

    // The display's light flickers with its refresh: a window of whole
    // refresh periods averages it out, another does not quite.
    void refreshModulation()
    {
        auto worstError = [](double refreshHz) {
            double worst = 0;
            for (quint32 seed = 1; seed <= 8; ++seed) {
                SpyderRig rig(0x0300);
                rig.device.reset();
                SimSpyderConfig config;
                config.productId = 0x0300;
                config.refreshHz = refreshHz;
                config.modulationDepth = 0.02;
                config.seed = seed;
                SimSpyder flickering(config);
                flickering.setFixedLight(kD65White);
                rig.usb.plug(&flickering);
                if (rig.start(0x0300) != 1)
                    return -1.0;
                rig.clock.advanceUs(seed * 3700);   // windows start anywhere in a period
                const Reading r = read(90);
                if (!r.ok)
                    return -1.0;
                worst = std::max(worst, std::fabs(r.Y - 100000.0));
                DC_Shutdown();
            }
            return worst;
        };
        const double at60 = worstError(60.0);
        QVERIFY2(at60 >= 0 && at60 <= 1.0, qPrintable(QString::number(at60)));
        // 85 Hz over 1.5 s leaves half a period: at most 2·0.02/(2π·85·1.5).
        const double at85 = worstError(85.0);
        QVERIFY2(at85 > 1.0 && at85 <= 100000.0 * 2 * 0.02 / (2 * M_PI * 85 * 1.5) + 1.0,
                 qPrintable(QString::number(at85)));
    }

    // Each fault of the device gives its code, without hanging.
    void faultsGiveTheirCodes_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<qint32>("code");
        QTest::addColumn<int>("system");
        QTest::addColumn<qint64>("chargedUs");
        QTest::newRow("no status packet") << int(SimSpyderReplyFault::NoStatusPacket)
                                          << kErrNoStatusPacket << 0 << qint64(5 * 6500000);
        QTest::newRow("short status packet") << int(SimSpyderReplyFault::ShortStatusPacket)
                                             << kErrBadStatusPacket << 0 << qint64(1500000);
        QTest::newRow("missing data packet")
            << int(SimSpyderReplyFault::MissingDataPacket) << kErrBadDataPacket << 0
            << qint64(1500000 + 5 * 6500000);
        QTest::newRow("short data packet") << int(SimSpyderReplyFault::ShortDataPacket)
                                           << kErrBadDataPacket << 0 << qint64(1500000);
        QTest::newRow("reversed stamps") << int(SimSpyderReplyFault::ReversedStamps)
                                         << kErrBadDataPacket << 0 << qint64(1500000);
        QTest::newRow("stall") << int(SimSpyderReplyFault::StallFirstRead)
                               << qint32(kUsbErrorPipe) << 1 << qint64(0);
    }

    void faultsGiveTheirCodes()
    {
        QFETCH(int, fault);
        QFETCH(qint32, code);
        QFETCH(int, system);
        QFETCH(qint64, chargedUs);
        SpyderRig rig(0x0300);
        QCOMPARE(rig.start(0x0300), 1);
        rig.device->setReplyFault(SimSpyderReplyFault(fault));
        const qint64 before = rig.clock.nowUs();
        const Reading r = read();
        QCOMPARE(r.ok, 0);
        QCOMPARE(rig.error(), code);
        QCOMPARE(int(rig.systemFlag()), system);
        QCOMPARE(rig.clock.nowUs() - before, chargedUs);
        // The next reading is sound again (a stalled pipe was cleared).
        QVERIFY2(near(read(), kD65White), qPrintable(show(read())));
        QCOMPARE(rig.device->clearedHalts(), int(fault == int(SimSpyderReplyFault::StallFirstRead)));
    }

    void timeOutOfTheMeasurementRequest()
    {
        SpyderRig rig(0x0300);
        QCOMPARE(rig.start(0x0300), 1);
        rig.device->failNextControls(1, kUsbErrorTimeout);
        rig.clock.clearWaits();
        QCOMPARE(read().ok, 0);
        QCOMPARE(rig.error(), qint32(kUsbErrorTimeout));
        QCOMPARE(rig.systemFlag(), quint8(1));
        QCOMPARE(rig.clock.waitsUs(), QVector<qint64>{5000000});
    }

    void unplugMidWindowFailsAtOnce()
    {
        SpyderRig rig;
        QCOMPARE(rig.start(), 1);
        QCOMPARE(DC_UseCalibration(2), 1);
        rig.device->unplugAfterUs(700000);
        rig.clock.clearWaits();
        QCOMPARE(read().ok, 0);
        QCOMPARE(rig.error(), qint32(kUsbErrorNoDevice));
        QCOMPARE(rig.systemFlag(), quint8(1));
        QCOMPARE(rig.clock.waitsUs(), QVector<qint64>{700000});
        // Gone for good: the next reading fails without waiting.
        rig.clock.clearWaits();
        QCOMPARE(read().ok, 0);
        QCOMPARE(rig.error(), qint32(kUsbErrorNoDevice));
        QVERIFY(rig.clock.waitsUs().isEmpty());
    }

    void europaGainAndOverflow()
    {
        SpyderRig rig(0x0300, SimSpyderEeprom::spyder3Europa());
        QCOMPARE(rig.start(0x0300), 1);
        QVERIFY(_EUROPA_);
        QCOMPARE(europaGainReference, quint8(4));
        QCOMPARE(rig.device->registerValue(7), quint8(0x10));   // gain 4 sent at startup
        QCOMPARE(DC_SetGain(16), 1);
        QCOMPARE(EUROPA_GAIN, quint8(16));
        QCOMPARE(rig.device->registerValue(7), quint8(0x20));
        QVERIFY(near(read(), kD65White, 2.0));
        QCOMPARE(DC_SetGain(0), 0);
        QCOMPARE(rig.error(), kDcBadArgument);
        QCOMPARE(EUROPA_GAIN, quint8(16));
        // 80 Hz per cd/m² over 10 s: counts above 0xFFFE.
        rig.device->setFixedLight({100, 100, 100});
        qint32 X, Y, Z;
        QCOMPARE(DC_GetXYZ(600, &X, &Y, &Z), 0);
        QCOMPARE(rig.error(), kDcCountOverflow);
    }

    // A version-5 count may reach 0xFFFE in channels 0 to 3.
    void europaCountLimit_data()
    {
        QTest::addColumn<int>("raw");
        QTest::addColumn<quint32>("count");
        QTest::addColumn<qint32>("code");
        for (int raw : {0, 1, 2}) {
            const QByteArray r = QByteArray::number(raw);
            QTest::newRow("raw " + r + " at 0xFFFE") << raw << 0xFFFEu << 0;
            QTest::newRow("raw " + r + " at 0xFFFF") << raw << 0xFFFFu << kDcCountOverflow;
        }
        QTest::newRow("raw 5 (channel 4) at 0x10000") << 5 << 0x10000u << 0;
    }

    void europaCountLimit()
    {
        QFETCH(int, raw);
        QFETCH(quint32, count);
        QFETCH(qint32, code);
        SpyderRig rig(0x0300, SimSpyderEeprom::spyder3Europa());
        QCOMPARE(rig.start(0x0300), 1);
        // Every raw channel 0xFFFE pulses over the 1.5 s window, one of them
        // as the row says.
        QByteArray reply(72, 0);
        auto put24 = [&reply](int at, quint32 v) {
            for (int b = 0; b < 3; ++b)
                reply[at + b] = char(v >> (8 * b));
        };
        for (int r = 0; r < 8; ++r) {
            put24(3 * r, 184000);        // last stamp: 1 495 000 µs
            put24(24 + 3 * r, 8);        // first stamp: 65 µs
            put24(48 + 3 * r, r == raw ? count : 0xFFFE);
        }
        rig.device->replaceNextReply(reply);
        const Reading r = read();
        QCOMPARE(r.ok, code == 0 ? 1 : 0);
        QCOMPARE(rig.error(), code);
    }

    void ambientLight()
    {
        SpyderRig rig;
        quint16 lux = 0;
        QCOMPARE(DC_ReadAmbientLightLevel(&lux), 0);
        QCOMPARE(rig.error(), kDcNotStarted);
        QCOMPARE(rig.start(), 1);
        QCOMPARE(DC_WriteAmbientLightControlRegVal(3), 1);
        QCOMPARE(DC_ReadAmbientLightLevel(&lux), 1);
        QCOMPARE(lux, quint16(500));
        QCOMPARE(DC_WriteAmbientLightControlRegVal(0), 1);
        QCOMPARE(DC_ReadAmbientLightLevel(&lux), 1);
        QCOMPARE(lux, quint16(0));
    }

    void ambientTimingsAndSaturation_data()
    {
        QTest::addColumn<int>("timing");
        QTest::addColumn<double>("lux");
        QTest::addColumn<int>("channel0");
        QTest::addColumn<int>("reported");
        QTest::newRow("402 ms") << 0x02 << 500.0 << 1456 << 500;
        QTest::newRow("402 ms high gain") << 0x12 << 500.0 << 23290 << 500;
        QTest::newRow("101 ms") << 0x01 << 2000.0 << 1463 << 1997;
        QTest::newRow("13.7 ms") << 0x00 << 20000.0 << 1984 << 19950;
        // A saturated channel 0 beside an unsaturated channel 1 reads low.
        QTest::newRow("402 ms saturated") << 0x02 << 30000.0 << 65535 << 17801;
        QTest::newRow("13.7 ms saturated") << 0x00 << 80000.0 << 5047 << 32065;
    }

    void ambientTimingsAndSaturation()
    {
        QFETCH(int, timing);
        QFETCH(double, lux);
        QFETCH(int, channel0);
        QFETCH(int, reported);
        SpyderRig rig;
        rig.device->setFixedLight(kD65White, lux);
        QCOMPARE(rig.start(), 1);
        QCOMPARE(DC_WriteAmbientLightControlRegVal(3), 1);
        QCOMPARE(DC_WriteAmbientLightTimingConfig(quint8(timing)), 1);
        quint16 c0 = 0, level = 0;
        QCOMPARE(DC_ReadAmbientLightChannel_0(&c0), 1);
        QCOMPARE(int(c0), channel0);
        QCOMPARE(DC_ReadAmbientLightLevel(&level), 1);
        QCOMPARE(int(level), reported);
    }

    void passThroughsNeedAStartedLibrary_data()
    {
        QTest::addColumn<int>("which");
        for (int i = 0; i < 18; ++i)
            QTest::newRow(qPrintable(QString::number(i))) << i;
    }

    void passThroughsNeedAStartedLibrary()
    {
        QFETCH(int, which);
        quint8 b = 0;
        quint16 w = 0;
        qint32 t = 0;
        quint8 buffer[4] = {};
        const std::function<int()> calls[18] = {
            [&] { return DC_ReadEEPROM(5, &b); },
            [&] { return DC_ReadEEPROMEx(5, 4, buffer); },
            [&] { return DC_WriteEEPROM(900, 1); },
            [&] { return DC_WriteEEPROMEx(900, 4, buffer); },
            [&] { return DC_ReadRegister(7, &b); },
            [&] { return DC_WriteRegister(7, 0x10); },
            [&] { return DC_SetGain(4); },
            [&] { return DC_SetLED(1, 2); },
            [&] { return DC_ReadTemperature(&t); },
            [&] { return DC_ReadTemperatureSensorConfig(&b); },
            [&] { return DC_WriteTemperatureSensorConfig(1); },
            [&] { return DC_ReadAmbientLightLevel(&w); },
            [&] { return DC_ReadAmbientLightChannel_0(&w); },
            [&] { return DC_ReadAmbientLightChannel_1(&w); },
            [&] { return DC_ReadAmbientLightControlRegVal(&b); },
            [&] { return DC_WriteAmbientLightControlRegVal(3); },
            [&] { return DC_ReadAmbientLightTimingConfig(&b); },
            [&] { return DC_WriteAmbientLightTimingConfig(2); },
        };
        SpyderRig rig;
        QCOMPARE(calls[which](), 0);
        QCOMPARE(rig.error(), kDcNotStarted);
        QCOMPARE(rig.start(), 1);
        QCOMPARE(calls[which](), 1);
        rig.device->failNextControls(1, kUsbErrorIo);
        QCOMPARE(calls[which](), 0);
        QCOMPARE(rig.error(), qint32(kUsbErrorIo));
        QCOMPARE(rig.systemFlag(), quint8(1));
    }

    void passThroughsRefuseNullOutputs()
    {
        SpyderRig rig;
        QCOMPARE(rig.start(), 1);
        const std::function<int()> calls[] = {
            [] { return DC_ReadEEPROM(5, nullptr); },
            [] { return DC_ReadEEPROMEx(5, 4, nullptr); },
            [] { return DC_ReadEEPROMEx(5, 0, reinterpret_cast<quint8 *>(&initialized)); },
            [] { return DC_WriteEEPROMEx(5, 4, nullptr); },
            [] { return DC_ReadRegister(7, nullptr); },
            [] { return DC_ReadTemperature(nullptr); },
            [] { return DC_ReadTemperatureSensorConfig(nullptr); },
            [] { return DC_ReadAmbientLightLevel(nullptr); },
            [] { return DC_ReadAmbientLightChannel_0(nullptr); },
            [] { return DC_ReadAmbientLightChannel_1(nullptr); },
            [] { return DC_ReadAmbientLightControlRegVal(nullptr); },
            [] { return DC_ReadAmbientLightTimingConfig(nullptr); },
        };
        for (const auto &call : calls) {
            QCOMPARE(call(), 0);
            QCOMPARE(rig.error(), kDcBadArgument);
            QCOMPARE(rig.systemFlag(), quint8(0));
        }
    }

    void passThroughsReachTheDevice()
    {
        SpyderRig rig;
        QCOMPARE(rig.start(), 1);
        qint32 hundredths = 0;
        QCOMPARE(DC_ReadTemperature(&hundredths), 1);
        QCOMPARE(hundredths, 2500);
        const quint8 bytes[3] = {0xA1, 0xB2, 0xC3};
        QCOMPARE(DC_WriteEEPROMEx(900, 3, bytes), 1);
        QCOMPARE(DC_WriteEEPROM(903, 0xD4), 1);
        QCOMPARE(rig.device->eeprom().mid(900, 4), QByteArray::fromHex("a1b2c3d4"));
        quint8 b = 0;
        QCOMPARE(DC_ReadEEPROM(902, &b), 1);
        QCOMPARE(b, quint8(0xC3));
        QCOMPARE(DC_SetLED(1, 300), 1);
        QCOMPARE(rig.device->ledIndex(), quint16(300));
        rig.device->setEepromWriteProtected(true);
        QCOMPARE(DC_WriteEEPROM(904, 1), 0);
        QCOMPARE(rig.error(), qint32(kUsbErrorPipe));
        QCOMPARE(rig.systemFlag(), quint8(1));
        QCOMPARE(quint8(rig.device->eeprom()[904]), quint8(0xFF));
    }

    void shutdownForgetsTheError()
    {
        SpyderRig rig;
        QCOMPARE(DC_UseCalibration(2), 0);
        QCOMPARE(rig.error(), kDcNotStarted);
        quint8 system = 0xEE;
        QCOMPARE(DC_GetDetailedError(&system), kDcNotStarted);
        QCOMPARE(system, quint8(0));
        DC_Shutdown();
        QCOMPARE(rig.error(), 0);
        DC_Shutdown();   // in any state
    }
};

QTEST_GUILESS_MAIN(TestSpyderDc)
#include "tst_spyder_dc.moc"
