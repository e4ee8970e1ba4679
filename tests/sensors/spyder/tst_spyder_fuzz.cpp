// Random EEPROM images (with valid checksums, mostly) through startup,
// every calibration and readings, and random measurement replies through
// the decoder and the whole read-back. Nothing may trip the sanitizers
// (address, undefined, float-cast-overflow), hang, or give a code outside
// the driver's list. Then a corpus of damaged replies and of sealed but
// unusable images: each fails with its code and hands out no reading; every
// reading that succeeds is compared with the light the device saw, and
// every true reply of the simulated devices is a reading.

#include "SpyderRig.h"
#include "spyder_calibration.h"
#include "spyder_requests.h"
#include "spyder_usb_layer.h"

#include "CieObserver.h"

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

SimXYZ scaled(const SimXYZ &light, double factor)
{
    return SimXYZ{light.X * factor, light.Y * factor, light.Z * factor};
}

// How a successful reading compares with the light the sensor saw, judged
// without the driver's own checks.
enum class Judged { Close, Off, Black, Impossible };

// Close: every component within 10 % of the light's. Black: all three
// within the sensor's noise (0.01 cd/m² and 1 % of the light's Y) of 0, the
// darkness of a sensor whose counts saw (nearly) nothing. Impossible: what
// no light can give: a component below zero beyond that noise, Y of 0 with
// X or Z lit, or a chromaticity outside the spectral locus's range
// (x 0.0036-0.7347, y 0.0048-0.8338, x + y <= 1), each with 0.01 for the
// sensor's noise. Off: any other light, e.g. a green ten times too bright.
// luminanceOnly: X and Z are not measured, Y alone is judged.
Judged judge(qint32 X, qint32 Y, qint32 Z, const SimXYZ &light, bool luminanceOnly = false)
{
    const double x = X / 1000.0, y = Y / 1000.0, z = Z / 1000.0;
    const double noise = 0.01 + 0.01 * light.Y;
    const double floor = -noise;
    const double sum = x + y + z;
    if (std::fabs(x) <= noise && std::fabs(y) <= noise && std::fabs(z) <= noise)
        return Judged::Black;
    if (y < floor || (luminanceOnly && y <= 0))
        return Judged::Impossible;
    if (luminanceOnly)
        return std::fabs(y - light.Y) <= 0.1 * light.Y ? Judged::Close : Judged::Off;
    if (x < floor || z < floor || !(sum > 0) || y <= 0)
        return Judged::Impossible;
    const double cx = x / sum, cy = y / sum;
    if (cx < 0.0036 - 0.01 || cx > 0.7347 + 0.01 || cy < 0.0048 - 0.01 || cy > 0.8338 + 0.01 ||
        cx + cy > 1.0 + 0.01)
        return Judged::Impossible;
    const bool close = std::fabs(x - light.X) <= 0.1 * light.X &&
                       std::fabs(y - light.Y) <= 0.1 * light.Y &&
                       std::fabs(z - light.Z) <= 0.1 * light.Z;
    return close ? Judged::Close : Judged::Off;
}

QString describe(qint32 X, qint32 Y, qint32 Z)
{
    return QStringLiteral("X %1 Y %2 Z %3").arg(X / 1000.0).arg(Y / 1000.0).arg(Z / 1000.0);
}

QByteArray hexBytes(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// The three groups of a reply: last stamps, first stamps, counts; eight
// 24-bit fields each.
quint32 field(const QByteArray &reply, int index)
{
    const int at = 3 * index;
    return quint32(quint8(reply[at])) | quint32(quint8(reply[at + 1])) << 8 |
           quint32(quint8(reply[at + 2])) << 16;
}

void setField(QByteArray &reply, int index, quint32 value)
{
    put24(reply, 3 * index, std::min(value, 0xFFFFFFu));
}

// Values a damaged field takes: extremes, neighbours and scalings.
QVector<quint32> damagedValues(quint32 value)
{
    return {0u, 1u, 2u, 0x7FFFFFu, 0x800000u, 0xFFFFFFu, value + 1, value - 1, value * 2,
            value / 2, value * 10, value / 10, value * 3 / 2, value * 2 / 3};
}

// Every reply of the damage corpus made from one true reply: every bit
// flipped, every byte 00 and FF, each of the 24 fields at each damaged
// value, each group and all of them zeroed, and random multi-edits.
QVector<QByteArray> damageCorpus(const QByteArray &truth, quint32 seed, int randomEdits)
{
    QVector<QByteArray> corpus;
    for (int bit = 0; bit < truth.size() * 8; ++bit) {
        QByteArray r = truth;
        r[bit / 8] = char(quint8(r[bit / 8]) ^ (1u << (bit % 8)));
        corpus.append(r);
    }
    for (int at = 0; at < truth.size(); ++at) {
        for (char value : {char(0), char(0xFF)}) {
            QByteArray r = truth;
            r[at] = value;
            corpus.append(r);
        }
    }
    for (int f = 0; f < 24; ++f) {
        for (quint32 value : damagedValues(field(truth, f))) {
            QByteArray r = truth;
            setField(r, f, value);
            corpus.append(r);
        }
    }
    for (int group = 0; group <= 3; ++group) {
        QByteArray r = truth;
        for (int f = 0; f < 24; ++f) {
            if (group == 3 || f / 8 == group)
                setField(r, f, 0);
        }
        corpus.append(r);
    }
    QRandomGenerator rng(seed);
    for (int n = 0; n < randomEdits; ++n) {
        QByteArray r = truth;
        for (int edits = 2 + int(rng.bounded(5)); edits > 0; --edits) {
            const int f = int(rng.bounded(24));
            switch (rng.bounded(4)) {
            case 0: r[int(rng.bounded(r.size()))] ^= char(1u << rng.bounded(8)); break;
            case 1: r[int(rng.bounded(r.size()))] = char(rng.bounded(256)); break;
            case 2: setField(r, f, rng.bounded(0x1000000u)); break;
            default: {
                const QVector<quint32> values = damagedValues(field(r, f));
                setField(r, f, values[int(rng.bounded(values.size()))]);
                break;
            }
            }
        }
        corpus.append(r);
    }
    return corpus;
}

struct ReplayFigures {
    int replies = 0, refused = 0, close = 0, off = 0, black = 0, impossible = 0;
    int tenfold = 0;   // of the successes, Y more than ten times off the light

    // Counts a successful reading; the first impossible one is described.
    void count(Judged judged, const QString &what, QString &firstImpossible)
    {
        switch (judged) {
        case Judged::Close: ++close; break;
        case Judged::Off: ++off; break;
        case Judged::Black: ++black; break;
        case Judged::Impossible:
            if (impossible++ == 0)
                firstImpossible = what;
            break;
        }
    }

    void add(const ReplayFigures &o)
    {
        replies += o.replies;
        refused += o.refused;
        close += o.close;
        off += o.off;
        black += o.black;
        tenfold += o.tenfold;
        impossible += o.impossible;
    }

    QString text() const
    {
        return QStringLiteral("%1 replies: %2 refused, %3 read within 10 %, %4 read more than "
                              "10 % off (%5 % of all; %6 of them black), "
                              "%7 read as no light can give; %8 with Y more than ten times off")
            .arg(replies).arg(refused).arg(close).arg(off + black)
            .arg(replies ? 100.0 * (off + black) / replies : 0.0, 0, 'f', 1).arg(black)
            .arg(impossible).arg(tenfold);
    }
};

// A chromaticity 99 % of the way from D65 to the spectral locus at nm
// (0: the middle of the purple line), as XYZ of luminance Y.
SimXYZ nearTheLocus(int nm, double Y)
{
    auto locus = [](int wavelength, double &x, double &y) {
        const int i = (wavelength - kCieObserverFirstNm) / kCieObserverStepNm;
        const double X = kCie1931Observer2Deg[0][i], Yb = kCie1931Observer2Deg[1][i],
                     Z = kCie1931Observer2Deg[2][i];
        x = X / (X + Yb + Z);
        y = Yb / (X + Yb + Z);
    };
    double x, y;
    if (nm == 0) {
        double x1, y1, x2, y2;
        locus(400, x1, y1);
        locus(700, x2, y2);
        x = (x1 + x2) / 2;
        y = (y1 + y2) / 2;
    } else {
        locus(nm, x, y);
    }
    const double wx = 0.3127, wy = 0.3290;
    x = wx + 0.99 * (x - wx);
    y = wy + 0.99 * (y - wy);
    return SimXYZ{x / y * Y, Y, (1 - x - y) / y * Y};
}

ReplayFigures sealedImageFigures;   // summed over the rows, printed at the end
ReplayFigures replayFigures;

} // namespace

class TestSpyderFuzz : public QObject {
    Q_OBJECT

private slots:
    void randomImagesThroughStartupCalibrationsAndReadings()
    {
        QRandomGenerator rng(20240518);
        int started = 0, read = 0;
        for (int round = 0; round < 2000; ++round) {
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
        qInfo("%d of 2000 images started, %d readings", started, read);
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
        // Raw channel 5 weighs next to nothing: only the stamps tell.
        QTest::newRow("no pulses, stamps 1.5 s apart") << damagedReply(5, kLastStamp, 0)
                                                       << kDcNoUsableResult;
        QTest::newRow("one pulse, stamps apart") << damagedReply(5, kFirstStamp + 1, 1)
                                                 << kDcNoUsableResult;
        // 21000 pulses over 1.2 of the 1.5 s: a fast pulse cannot leave
        // 0.3 s empty.
        QTest::newRow("pulses over 80 % of the window") << damagedReply(5, 147700, 25000)
                                                        << kDcNoUsableResult;
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
                QVERIFY2(judge(X, Y, Z, kD65White) != Judged::Impossible,
                         qPrintable(describe(X, Y, Z)));
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

    // The damage corpus of each true reply through the read-back: a reading
    // that succeeds lies within 10 % of the light or is at least a light a
    // display can show; a failure hands out nothing, and the next reply
    // reads right again.
    void damagedRepliesReadAsTheLightOrFail_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::addColumn<double>("level");
        QTest::addColumn<int>("time");
        QTest::newRow("Spyder3, D65 at 100 cd/m²") << quint16(0x0300) << 100.0 << 90;
        QTest::newRow("Spyder3, D65 at 2 cd/m²") << quint16(0x0300) << 2.0 << 30;
        QTest::newRow("Spyder4, D65 at 100 cd/m²") << quint16(0x0400) << 100.0 << 90;
        QTest::newRow("Spyder4, D65 at 2 cd/m²") << quint16(0x0400) << 2.0 << 30;
    }

    void damagedRepliesReadAsTheLightOrFail()
    {
        QFETCH(quint16, product);
        QFETCH(double, level);
        QFETCH(int, time);
        const SimXYZ light = scaled(kD65White, level / 100.0);
        SpyderRig rig(product);
        rig.device->setFixedLight(light);
        QCOMPARE(rig.start(product), 1);
        QCOMPARE(DC_UseCalibration(2), 1);
        const QByteArray truth =
            rig.device->measurementReply(light, clockForTime(quint32(time)), rig.clock.nowUs());
        ReplayFigures figures;
        QString firstImpossible;
        const QVector<QByteArray> corpus = damageCorpus(truth, product + quint32(level), 500);
        for (const QByteArray &reply : corpus) {
            rig.device->replaceNextReply(reply);
            qint32 X = kUntouched, Y = kUntouched, Z = kUntouched;
            ++figures.replies;
            if (!DC_GetXYZ(quint16(time), &X, &Y, &Z)) {
                ++figures.refused;
                quint8 system = 0;
                const qint32 code = DC_GetDetailedError(&system);
                QVERIFY2(isKnownFailure(code, system), qPrintable(QString::number(code, 16)));
                QVERIFY(X == kUntouched && Y == kUntouched && Z == kUntouched);
                if (figures.refused % 50 == 1) {
                    QVERIFY(DC_GetXYZ(quint16(time), &X, &Y, &Z));
                    QVERIFY2(judge(X, Y, Z, light) == Judged::Close, qPrintable(describe(X, Y, Z)));
                }
                continue;
            }
            figures.count(judge(X, Y, Z, light), describe(X, Y, Z) + " from " + reply.toHex(' '),
                          firstImpossible);
            figures.tenfold += Y / 1000.0 > light.Y * 10 || Y / 1000.0 < light.Y / 10;
        }
        replayFigures.add(figures);
        qInfo("%s: %s", QTest::currentDataTag(), qPrintable(figures.text()));
        QVERIFY2(figures.impossible == 0, qPrintable(firstImpossible));
        QVERIFY(figures.close > 0 && figures.refused > 0);
    }

    // Replies as a device sent them (status packet first), each damaged so
    // that it reads as no light can.
    void repliesNoLightGives_data()
    {
        QTest::addColumn<double>("level");
        QTest::addColumn<int>("time");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("raw channel 1 counting 524,434 instead of 146 at 2 cd/m²")
            << 2.0 << 30
            << hexBytes("00 00 00 00 00 00 00 00 3e ef 00 e3 ee 00 00 ef 00 00 00 00 11 ee 00 11 "
                        "ee 00 11 ee 00 11 ee 00 dd 00 00 d2 00 00 c1 00 00 00 00 00 a4 01 00 a4 "
                        "01 00 a4 01 00 a4 01 00 8b 00 00 92 00 08 9f 00 00 00 00 00 49 00 00 49 "
                        "00 00 49 00 00 49 00 00");
        QTest::newRow("raw channel 1 counting 0 with stamps 1.5 s apart at 100 cd/m²")
            << 100.0 << 90
            << hexBytes("00 00 00 00 00 00 00 00 22 d1 02 24 d1 02 25 d1 02 00 00 00 20 d1 02 20 "
                        "d1 02 20 d1 02 20 d1 02 04 00 00 04 00 00 04 00 00 00 00 00 08 00 00 08 "
                        "00 00 08 00 00 08 00 00 8a 51 00 00 00 00 69 5d 00 00 00 00 e5 2a 00 e5 "
                        "2a 00 e5 2a 00 e5 2a 00");
    }

    void repliesNoLightGives()
    {
        QFETCH(double, level);
        QFETCH(int, time);
        QFETCH(QByteArray, reply);
        QCOMPARE(reply.size(), 80);
        const SimXYZ light = scaled(kD65White, level / 100.0);
        SpyderRig rig;
        rig.device->setFixedLight(light);
        QCOMPARE(rig.start(), 1);
        QCOMPARE(DC_UseCalibration(2), 1);
        rig.device->replaceNextReply(reply.mid(8));
        qint32 X = kUntouched, Y = kUntouched, Z = kUntouched;
        QVERIFY2(!DC_GetXYZ(quint16(time), &X, &Y, &Z), qPrintable(describe(X, Y, Z)));
        QCOMPARE(DC_GetDetailedError(nullptr), kDcNoUsableResult);
        QVERIFY(X == kUntouched && Y == kUntouched && Z == kUntouched);
        QVERIFY(DC_GetXYZ(quint16(time), &X, &Y, &Z));
        QVERIFY2(judge(X, Y, Z, light) == Judged::Close, qPrintable(describe(X, Y, Z)));
    }

    // Every true reply is a reading: any level from 0.05 to 1,000 cd/m²,
    // colours up to the spectral locus, steady or flickering light from
    // 24 to 240 Hz up to nearly full depth, windows starting anywhere, for
    // every calibration the device offers and the adapter's times.
    void trueRepliesAreReadings_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::addColumn<QVector<int>>("calibrations");
        QTest::newRow("Spyder3") << quint16(0x0300) << QVector<int>{2, 1};
        QTest::newRow("Spyder3 version 5") << quint16(0x0305) << QVector<int>{2, 1};
        QTest::newRow("Spyder4") << quint16(0x0400) << QVector<int>{1, 2, 3, 4, 5, 6, 7};
    }

    void trueRepliesAreReadings()
    {
        QFETCH(quint16, product);
        QFETCH(QVector<int>, calibrations);
        const bool europa = product == 0x0305;
        const quint16 usbProduct = europa ? quint16(0x0300) : product;
        struct Flicker {
            double hz, depth;
        };
        const Flicker flickers[] = {{60, 0}, {60, 0.02}, {24, 0.95}, {50, 0.3}, {85, 0.5}, {240, 0.99}};
        const double levels[] = {0.05, 0.3, 2, 20, 100, 1000};
        const int colours[] = {-1, 400, 450, 470, 490, 505, 520, 550, 580, 620, 700, 0};
        const quint16 times[] = {6, 90, 600};
        QRandomGenerator rng(17);
        int readings = 0, overflows = 0, saturated = 0;
        for (const Flicker &flicker : flickers) {
            SpyderRig rig(usbProduct);
            rig.device.reset();
            SimSpyderConfig config;
            config.productId = usbProduct;
            config.eeprom = europa ? SimSpyderEeprom::spyder3Europa() : QByteArray();
            config.refreshHz = flicker.hz;
            config.modulationDepth = flicker.depth;
            config.seed = rng.generate();
            SimSpyder sim(config);
            rig.usb.plug(&sim);
            QCOMPARE(rig.start(usbProduct), 1);
            for (int calibration : calibrations) {
                QCOMPARE(DC_UseCalibration(calibration), 1);
                for (double level : levels) {
                    for (int colour : colours) {
                        const SimXYZ light = colour < 0 ? scaled(kD65White, level / 100.0)
                                                        : nearTheLocus(colour, level);
                        double hz[8];
                        sim.channelFrequencies(light, hz);
                        if (*std::max_element(hz, hz + 8) >= SimSpyder::kMaxChannelHz ||
                            std::max({light.X, light.Y, light.Z}) > kMaxReadingCdm2) {
                            ++saturated;   // beyond the sensor's converters or any display
                            continue;
                        }
                        sim.setFixedLight(light);
                        for (quint16 time : times) {
                            rig.clock.advanceUs(rng.bounded(100000));
                            qint32 X, Y, Z;
                            ++readings;
                            const bool read = DC_GetXYZ(time, &X, &Y, &Z);
                            // A version-5 device counts no more than 0xFFFE.
                            if (!read && europa &&
                                DC_GetDetailedError(nullptr) == kDcCountOverflow) {
                                ++overflows;
                                continue;
                            }
                            QVERIFY2(read,
                                     qPrintable(QStringLiteral("%1 Hz depth %2, calibration %3, "
                                                               "%4 cd/m² at %5 nm, time %6: %7")
                                                    .arg(flicker.hz).arg(flicker.depth)
                                                    .arg(calibration).arg(level).arg(colour)
                                                    .arg(time)
                                                    .arg(QString::number(
                                                        DC_GetDetailedError(nullptr), 16))));
                        }
                    }
                }
            }
            DC_Shutdown();
        }
        qInfo("%s: %d true replies, all readings but %d beyond the count limit; %d lights "
              "beyond the converters or 10,000 cd/m² left out",
              QTest::currentDataTag(), readings, overflows, saturated);
    }

    // Sealed images whose coefficient sets are zero or negative, whole or
    // one value at a time: refused at startup or at the calibration, or
    // read as a light.
    void sealedImagesWithoutALight_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::addColumn<QVector<QByteArray>>("images");
        auto variants = [](const QByteArray &base, const QVector<int> &sets, int floats) {
            QVector<QByteArray> images;
            for (int at : sets) {
                QByteArray zero = base, negated = base;
                for (int i = 0; i < floats; ++i) {
                    SimSpyderEeprom::putFloat(zero, at + 4 * i, 0.0f);
                    SimSpyderEeprom::putFloat(negated, at + 4 * i,
                                              -SimSpyderEeprom::floatAt(base, at + 4 * i));
                }
                images << sealed(zero) << sealed(negated);
                for (int i = 0; i < floats; ++i) {
                    const float value = SimSpyderEeprom::floatAt(base, at + 4 * i);
                    for (float changed : {0.0f, -1.0f, -value}) {
                        QByteArray image = base;
                        SimSpyderEeprom::putFloat(image, at + 4 * i, changed);
                        images << sealed(image);
                    }
                }
            }
            return images;
        };
        QByteArray blank(SimSpyderEeprom::kSize, 0);
        blank[5] = 4;
        blank[6] = 0x23;
        QVector<QByteArray> spyder3 = variants(SimSpyderEeprom::spyder3(), {16, 128, 256, 384}, 27);
        spyder3 << variants(SimSpyderEeprom::spyder3Europa(), {16, 128, 256, 384}, 27)
                << sealed(blank);
        QTest::newRow("Spyder3") << quint16(0x0300) << spyder3;
        QVector<QByteArray> spyder4 = variants(SimSpyderEeprom::spyder4(), {25}, 7);
        spyder4 << variants(SimSpyderEeprom::spyder4(), {60}, 27);
        QByteArray at28 = SimSpyderEeprom::spyder4();
        SimSpyderEeprom::putFloat(at28, 28, 0.0f);
        spyder4 << sealed(at28);
        for (int k = 0; k < 7; ++k) {
            QByteArray dark = SimSpyderEeprom::spyder4();
            for (int i = 0; i < 41; ++i)
                SimSpyderEeprom::putUInt16(dark, 170 + 2 * (41 * k + i), 0);
            spyder4 << sealed(dark);
        }
        QTest::newRow("Spyder4") << quint16(0x0400) << spyder4;
    }

    void sealedImagesWithoutALight()
    {
        QFETCH(quint16, product);
        QFETCH(QVector<QByteArray>, images);
        const QVector<int> calibrations =
            product == 0x0300 ? QVector<int>{0, 1, 2, 4} : QVector<int>{0, 1, 2, 3, 4, 5, 6, 7};
        int atStartup = 0, atCalibration = 0;
        ReplayFigures figures;
        QString firstImpossible;
        for (const QByteArray &image : images) {
            SpyderRig rig(product, image);
            if (!rig.start(product)) {
                QCOMPARE(DC_GetDetailedError(nullptr), kDcEepromUnusable);
                ++atStartup;
                continue;
            }
            for (int calibration : calibrations) {   // 0: the driver's own choice
                if (calibration != 0 && !DC_UseCalibration(calibration)) {
                    const qint32 code = DC_GetDetailedError(nullptr);
                    if (code >= kDcCalibration1Missing && code <= kDcCalibration4Missing)
                        continue;   // not offered by the device
                    QVERIFY2(code == kDcEepromUnusable || code == kDcNoUsableResult,
                             qPrintable(QString::number(code, 16)));
                    ++atCalibration;
                    continue;
                }
                qint32 X = kUntouched, Y = kUntouched, Z = kUntouched;
                ++figures.replies;
                if (!DC_GetXYZ(90, &X, &Y, &Z)) {
                    // Only the Spyder4's own first fit may refuse here: every
                    // calibration taken reads the light.
                    QVERIFY(product == 0x0400 && calibration == 0 && !S4_CoeffValid);
                    ++atCalibration;
                    ++figures.refused;
                    QVERIFY(X == kUntouched && Y == kUntouched && Z == kUntouched);
                    continue;
                }
                const bool luminanceOnly = product == 0x0400 && S4_LuminanceOnly;
                figures.count(judge(X, Y, Z, kD65White, luminanceOnly),
                              describe(X, Y, Z) + QStringLiteral(", calibration %1").arg(calibration),
                              firstImpossible);
            }
        }
        sealedImageFigures.add(figures);
        qInfo("%s: %d sealed images, %d refused at startup, %d calibrations refused; readings: %s",
              QTest::currentDataTag(), int(images.size()), atStartup, atCalibration,
              qPrintable(figures.text()));
        QVERIFY2(figures.impossible == 0, qPrintable(firstImpossible));
        QVERIFY(atStartup > 0);
    }

    void cleanupTestCase()
    {
        qInfo("Damaged replies, all bases: %s", qPrintable(replayFigures.text()));
        qInfo("Readings of sealed images, all: %s", qPrintable(sealedImageFigures.text()));
    }
};

QTEST_GUILESS_MAIN(TestSpyderFuzz)
#include "tst_spyder_fuzz.moc"
