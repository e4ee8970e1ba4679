// Random EEPROM images (with valid checksums, mostly) through startup,
// every calibration and readings, and random measurement replies through
// the decoder and the whole read-back. Nothing may trip the sanitizers
// (address, undefined, float-cast-overflow), hang, or give a code outside
// the driver's list. Then a corpus of damaged replies and of sealed but
// unusable images: each fails with its code and hands out no reading.

#include "SpyderRig.h"
#include "spyder_calibration.h"
#include "spyder_requests.h"
#include "spyder_usb_layer.h"

#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

#include <cmath>
#include <cstring>

using namespace pz;
using namespace pz::test;
using namespace spyder;

namespace {

// Every code a failing DC_ call may leave (USB statuses carry the system flag).
bool isKnownFailure(qint32 code, quint8 system)
{
    static const QSet<qint32> own = {
        kDcNotStarted,       kDcBadArgument,         kDcBadVersion,
        kDcAlreadyStarted,   kDcCalibration1Missing, kDcCalibration2Missing,
        kDcCalibration3Missing, kDcCalibration4Missing, kDcChecksumMismatch,
        kDcCountOverflow,    kDcNoUsableResult,      kDcNotOpened,
        kErrShortWrite,      kErrShortReply,         kErrShortRead,
        kErrNoStatusPacket,  kErrBadStatusPacket,    kErrBadDataPacket};
    if (system == 1)
        return code < 0 && code >= kUsbErrorOther;
    return own.contains(code);
}

float randomFloat(QRandomGenerator &rng)
{
    switch (rng.bounded(6)) {
    case 0: {   // any bit pattern: NaN, infinities, denormals
        const quint32 bits = rng.generate();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    case 1:
        return float(std::ldexp(rng.generateDouble() - 0.5, int(rng.bounded(256)) - 128));
    case 2:
        return 0.0f;
    default:
        return float((rng.generateDouble() - 0.5) * 0.01);
    }
}

QByteArray randomImage(QRandomGenerator &rng, quint16 &product)
{
    QByteArray image;
    switch (rng.bounded(4)) {
    case 0: image = SimSpyderEeprom::spyder3(quint8(rng.bounded(256))); product = 0x0300; break;
    case 1: image = SimSpyderEeprom::spyder3Europa(); product = 0x0300; break;
    case 2: image = SimSpyderEeprom::spyder4(quint8(rng.bounded(256))); product = 0x0400; break;
    default:
        image = QByteArray(SimSpyderEeprom::kSize, 0);
        for (char &c : image)
            c = char(rng.bounded(256));
        product = rng.bounded(2) ? 0x0300 : 0x0400;
        break;
    }
    // Floats anywhere, raw bytes anywhere, sometimes another version.
    for (int n = int(rng.bounded(40)); n > 0; --n)
        SimSpyderEeprom::putFloat(image, int(rng.bounded(1020 / 4)) * 4, randomFloat(rng));
    for (int n = int(rng.bounded(40)); n > 0; --n)
        image[int(rng.bounded(1020))] = char(rng.bounded(256));
    if (rng.bounded(3) == 0)
        image[5] = char(3 + rng.bounded(6));
    if (rng.bounded(3) == 0)
        image[381] = char(rng.bounded(256));
    if (rng.bounded(20) != 0)
        SimSpyderEeprom::seal(image);
    return image;
}

SimXYZ randomLight(QRandomGenerator &rng)
{
    const double scale = std::pow(10.0, rng.bounded(8) - 2);
    return SimXYZ{rng.generateDouble() * scale, rng.generateDouble() * scale,
                  rng.generateDouble() * scale};
}

// A Spyder whose measurement replies are noisy: time-outs and stalls,
// packets of random bytes, and its true packets cut short or with a byte
// changed.
class ChaoticSpyder : public SimSpyder {
public:
    ChaoticSpyder(const SimSpyderConfig &config, quint32 seed) : SimSpyder(config), m_rng(seed) {}

    int bulkRead(quint8 endpoint, quint8 *buffer, int length, int &transferred,
                 unsigned timeoutMs) override
    {
        transferred = 0;
        switch (m_rng.bounded(12)) {
        case 0:
            programClock().sleepMs(timeoutMs);
            return kUsbErrorTimeout;
        case 1:
            return kUsbErrorPipe;
        case 2:
            transferred = m_rng.bounded(10) == 0 ? int(m_rng.bounded(length + 1)) : length;
            for (int i = 0; i < transferred; ++i)
                buffer[i] = quint8(m_rng.bounded(256));
            return kUsbSuccess;
        default:
            break;
        }
        const int status = SimSpyder::bulkRead(endpoint, buffer, length, transferred, timeoutMs);
        if (status != kUsbSuccess || transferred == 0)
            return status;
        if (m_rng.bounded(4) == 0)
            buffer[m_rng.bounded(transferred)] = quint8(m_rng.bounded(256));
        if (m_rng.bounded(10) == 0)
            transferred = int(m_rng.bounded(transferred + 1));
        return kUsbSuccess;
    }

private:
    QRandomGenerator m_rng;
};

void put24(QByteArray &bytes, int at, quint32 value)
{
    for (int b = 0; b < 3; ++b)
        bytes[at + b] = char(value >> (8 * b));
}

// A steady light over the 1.5 s window of time 90: raw channel r counts
// 20000 + 1000 r pulses between the stamps 8 and 184008 (65 µs and
// 1 495 065 µs).
constexpr quint32 kFirstStamp = 8;
constexpr quint32 kLastStamp = 184008;

QByteArray steadyReply()
{
    QByteArray reply(kReplyBytes, 0);
    for (int r = 0; r < 8; ++r) {
        put24(reply, 3 * r, kLastStamp);
        put24(reply, 24 + 3 * r, kFirstStamp);
        put24(reply, 48 + 3 * r, 20000 + 1000 * quint32(r));
    }
    return reply;
}

// The steady reply with one raw channel's last stamp and count replaced.
QByteArray damagedReply(int raw, quint32 lastStamp, quint32 count)
{
    QByteArray reply = steadyReply();
    put24(reply, 3 * raw, lastStamp);
    put24(reply, 48 + 3 * raw, count);
    return reply;
}

QByteArray sealed(QByteArray image)
{
    SimSpyderEeprom::seal(image);
    return image;
}

constexpr qint32 kUntouched = 0x5EED;

} // namespace

class TestSpyderFuzz : public QObject {
    Q_OBJECT

private slots:
    void randomImagesThroughStartupCalibrationsAndReadings()
    {
        QRandomGenerator rng(20240518);
        int started = 0, read = 0;
        for (int round = 0; round < 1000; ++round) {
            quint16 product = 0;
            const QByteArray image = randomImage(rng, product);
            SpyderRig rig(product, image);
            rig.device->setFixedLight(randomLight(rng), rng.generateDouble() * 1e5);
            if (!rig.start(product)) {
                quint8 system = 0;
                const qint32 code = DC_GetDetailedError(&system);
                QVERIFY2(isKnownFailure(code, system), qPrintable(QString::number(code, 16)));
                QVERIFY(!initialized);
                continue;
            }
            ++started;
            if (rng.bounded(3) == 0)
                DC_SetGain(quint8(rng.bounded(256)));
            for (int calibration = -1; calibration <= 9; ++calibration) {
                if (!DC_UseCalibration(calibration)) {
                    quint8 system = 0;
                    const qint32 code = DC_GetDetailedError(&system);
                    QVERIFY2(isKnownFailure(code, system), qPrintable(QString::number(code, 16)));
                }
                qint32 X = 0, Y = 0, Z = 0;
                const quint16 time = quint16(1 + rng.bounded(120));
                if (DC_GetXYZEx(time, &X, &Y, &Z, int(rng.bounded(2)))) {
                    ++read;
                } else {
                    quint8 system = 0;
                    const qint32 code = DC_GetDetailedError(&system);
                    QVERIFY2(isKnownFailure(code, system), qPrintable(QString::number(code, 16)));
                }
            }
            quint16 lux = 0;
            DC_WriteAmbientLightControlRegVal(3);
            DC_WriteAmbientLightTimingConfig(quint8(rng.bounded(256)));
            QCOMPARE(DC_ReadAmbientLightLevel(&lux), 1);
        }
        // The rounds reached the maths, not just the refusals.
        QVERIFY(started > 300);
        QVERIFY(read > 2000);
    }

    void randomRepliesThroughTheDecoder()
    {
        QRandomGenerator rng(77);
        const quint32 maxPeriod = 0xFFFFFFu * 65u / 8u;
        for (int round = 0; round < 20000; ++round) {
            quint8 reply[kReplyBytes];
            for (quint8 &b : reply)
                b = quint8(rng.bounded(256));
            const quint32 clock = rng.bounded(0x1000000u);
            quint32 counts[8], periods[8];
            if (!DecodeCounts(reply, clock, counts, periods))
                continue;
            float f[8];
            channelFrequencies(counts, periods, quint16(1 + rng.bounded(1100)), rng.bounded(2), f);
            for (int k = 0; k < 8; ++k) {
                QVERIFY(counts[k] <= 0xFFFFFFu);
                QVERIFY(counts[k] == 0 ? periods[k] == clock : periods[k] <= maxPeriod);
                QVERIFY(std::isfinite(f[k]) && f[k] >= 0.0f);
            }
        }
    }

    void damagedRepliesFail_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<qint32>("code");   // 0: a reading
        QTest::newRow("steady") << steadyReply() << 0;
        QTest::newRow("one pulse, no period") << damagedReply(5, kFirstStamp, 1) << 0;
        QTest::newRow("pulses, no period") << damagedReply(1, kFirstStamp, 21000)
                                           << kDcNoUsableResult;
        QTest::newRow("two pulses, no period") << damagedReply(5, kFirstStamp, 2)
                                               << kDcNoUsableResult;
        QTest::newRow("period beyond the window") << damagedReply(5, 200000, 25000)
                                                  << kDcNoUsableResult;
        QTest::newRow("faster than the converter") << damagedReply(5, kLastStamp, 3000000)
                                                   << kDcNoUsableResult;
        QTest::newRow("24-bit count") << damagedReply(6, kLastStamp, 0xFFFFFF)
                                      << kDcNoUsableResult;
        QTest::newRow("last stamp before the first") << damagedReply(2, 4, 22000)
                                                     << kErrBadDataPacket;
    }

    void damagedRepliesFail()
    {
        QFETCH(QByteArray, reply);
        QFETCH(qint32, code);
        SpyderRig rig;
        QCOMPARE(rig.start(), 1);
        QCOMPARE(DC_UseCalibration(2), 1);
        rig.device->replaceNextReply(reply);
        qint32 X = kUntouched, Y = kUntouched, Z = kUntouched;
        QCOMPARE(DC_GetXYZ(90, &X, &Y, &Z), code == 0 ? 1 : 0);
        QCOMPARE(DC_GetDetailedError(nullptr), code);
        if (code != 0)
            QVERIFY(X == kUntouched && Y == kUntouched && Z == kUntouched);
        else
            QVERIFY(Y > 90000 && Y < 100000);   // raw channel 1 at 14 kHz
        // The next reply is the light's again.
        QVERIFY(DC_GetXYZ(90, &X, &Y, &Z));
        QVERIFY(std::abs(Y - 100000) <= 1);
    }

    void unusableImagesFail_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<qint32>("startCode");   // 0: the startup succeeds
        QTest::addColumn<qint32>("fitCode");     // of every Spyder4 fit

        QByteArray europa = SimSpyderEeprom::spyder3Europa();
        europa[381] = 0;
        QTest::newRow("gain reference 0") << quint16(0x0300) << sealed(europa)
                                          << kDcEepromUnusable << 0;
        QByteArray unscaled = SimSpyderEeprom::spyder4();
        SimSpyderEeprom::putUInt16(unscaled, 21, 0);
        QTest::newRow("scale 0") << quint16(0x0400) << sealed(unscaled) << 0 << kDcEepromUnusable;
        QTest::newRow("two channels alike within a count")
            << quint16(0x0400) << SimSpyderEeprom::spyder4AlikeChannels() << 0
            << kDcNoUsableResult;
    }

    void unusableImagesFail()
    {
        QFETCH(quint16, product);
        QFETCH(QByteArray, image);
        QFETCH(qint32, startCode);
        QFETCH(qint32, fitCode);
        SpyderRig rig(product, image);
        qint32 X = kUntouched, Y = kUntouched, Z = kUntouched;
        auto noReading = [&](qint32 code) {
            return DC_GetXYZ(90, &X, &Y, &Z) == 0 && DC_GetDetailedError(nullptr) == code &&
                   X == kUntouched && Y == kUntouched && Z == kUntouched;
        };
        if (startCode != 0) {
            QCOMPARE(rig.start(product), 0);
            QCOMPARE(DC_GetDetailedError(nullptr), startCode);
            QCOMPARE(rig.device->resets(), 1);   // released
            QVERIFY(noReading(kDcNotStarted));
            return;
        }
        QCOMPARE(rig.start(product), 1);
        QVERIFY(noReading(fitCode));   // fitting calibration 2 by itself
        for (int c = 2; c <= 7; ++c) {
            QCOMPARE(DC_UseCalibration(c), 0);
            QCOMPARE(DC_GetDetailedError(nullptr), fitCode);
            QVERIFY(noReading(fitCode));
        }
    }

    void randomRepliesThroughTheReadBack_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::newRow("Spyder3") << quint16(0x0300);
        QTest::newRow("Spyder4") << quint16(0x0400);
    }

    void randomRepliesThroughTheReadBack()
    {
        QFETCH(quint16, product);
        SpyderRig rig(product);
        rig.device.reset();
        SimSpyderConfig config;
        config.productId = product;
        ChaoticSpyder chaotic(config, 99 + product);
        chaotic.setFixedLight(kD65White);
        rig.usb.plug(&chaotic);
        QCOMPARE(rig.start(product), 1);
        QRandomGenerator rng(5);
        int ok = 0, implausible = 0;
        for (int round = 0; round < 3000; ++round) {
            qint32 X, Y, Z;
            if (DC_GetXYZ(quint16(1 + rng.bounded(600)), &X, &Y, &Z)) {
                ++ok;
            } else {
                quint8 system = 0;
                const qint32 code = DC_GetDetailedError(&system);
                QVERIFY2(isKnownFailure(code, system), qPrintable(QString::number(code, 16)));
                implausible += code == kDcNoUsableResult;
            }
        }
        QVERIFY(ok > 0);
        QVERIFY(implausible > 0);
        DC_Shutdown();
    }
};

QTEST_GUILESS_MAIN(TestSpyderFuzz)
#include "tst_spyder_fuzz.moc"
