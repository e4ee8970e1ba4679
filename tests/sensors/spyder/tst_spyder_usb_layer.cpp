// The Spyder3/4 USB device layer at the seam: the setup packets each request
// puts on the wire, how the measurement reply is decoded, the lux formula,
// how failed transfers are retried, and how the device is found and opened.

#include "SpyderRig.h"
#include "spyder_calibration.h"
#include "spyder_requests.h"
#include "spyder_usb_layer.h"

#include <QtTest>

#include <functional>

using namespace pz;
using namespace pz::test;
using namespace spyder;

namespace {

// Opens the rig's device with the layer alone.
bool launch(SpyderRig &rig, quint16 product = 0x0400)
{
    quint32 classic = 0xEEEE;
    const bool ok = LaunchSpyder(&classic, product) == 1;
    rig.device->clearSetupLog();
    return ok;
}

void put24(quint8 *reply, int offset, quint32 value)
{
    reply[offset] = quint8(value);
    reply[offset + 1] = quint8(value >> 8);
    reply[offset + 2] = quint8(value >> 16);
}

QVector<qint64> repeated(qint64 value, int count)
{
    return QVector<qint64>(count, value);
}

} // namespace

class TestSpyderUsbLayer : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SpyderShutDown(); }

    void eepromReadsGoInChunksOf128_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("length");
        QTest::addColumn<QVector<int>>("chunks");   // address, length pairs
        QTest::newRow("300 at 170") << 170 << 300 << QVector<int>{170, 128, 298, 128, 426, 44};
        QTest::newRow("128") << 0 << 128 << QVector<int>{0, 128};
        QTest::newRow("129") << 10 << 129 << QVector<int>{10, 128, 138, 1};
        QTest::newRow("past the end") << 1020 << 8 << QVector<int>{1020, 8};
    }

    void eepromReadsGoInChunksOf128()
    {
        QFETCH(int, address);
        QFETCH(int, length);
        QFETCH(QVector<int>, chunks);
        SpyderRig rig;
        QVERIFY(launch(rig));
        QByteArray buffer(length, 0);
        QCOMPARE(DC__ReadEEPROMEx(quint16(address), quint32(length),
                                  reinterpret_cast<quint8 *>(buffer.data())), 1);
        const auto setups = rig.setups(kReqEepromRead);
        QCOMPARE(setups.size(), chunks.size() / 2);
        for (int i = 0; i < setups.size(); ++i) {
            QCOMPARE(setups[i].requestType, quint8(0xC0));
            QCOMPARE(int(setups[i].value), chunks[2 * i]);
            QCOMPARE(int(setups[i].index), chunks[2 * i + 1]);
            QCOMPARE(int(setups[i].length), chunks[2 * i + 1]);
        }
        QByteArray expected = rig.device->eeprom().mid(address, length);
        expected.append(QByteArray(length - expected.size(), char(0xFF)));
        QCOMPARE(buffer, expected);
    }

    void eepromRefusesLengthZeroAndWritesInChunks()
    {
        SpyderRig rig;
        QVERIFY(launch(rig));
        quint8 byte = 0;
        QCOMPARE(DC__ReadEEPROMEx(0, 0, &byte), 0);
        QCOMPARE(_lastError_, kErrBadArgument);
        QCOMPARE(_sysErr_, 0);

        QByteArray data(130, 0);
        for (int i = 0; i < data.size(); ++i)
            data[i] = char(i * 7);
        QCOMPARE(DC__WriteEEPROMEx(600, 130, reinterpret_cast<const quint8 *>(data.constData())), 1);
        const auto setups = rig.setups(kReqEepromWrite);
        QCOMPARE(setups.size(), 2);
        QCOMPARE(setups[0].requestType, quint8(0x40));
        QCOMPARE(int(setups[1].value), 728);
        QCOMPARE(int(setups[1].index), 2);
        QCOMPARE(setups[0].out + setups[1].out, data);
        QCOMPARE(rig.device->eeprom().mid(600, 130), data);

        QCOMPARE(DC__ReadEEPROM(605, &byte), 1);
        QCOMPARE(byte, quint8(data[5]));
        QCOMPARE(rig.setups(kReqEepromRead).last().length, quint16(4));
    }

    void measurementSetupCarriesTheClock()
    {
        SpyderRig rig;
        QVERIFY(launch(rig));
        quint32 counts[8], periods[8];
        quint8 status = 0xEE;
        QCOMPARE(GetDetectorCounts2(0x0102, 3000, 0x0506, 0x123456, counts, periods, &status), 1);
        QCOMPARE(status, quint8(0));
        const auto setups = rig.setups(kReqMeasure);
        QCOMPARE(setups.size(), 1);
        const SimSpyder::Setup &s = setups[0];
        QCOMPARE(s.requestType, quint8(0x40));
        QCOMPARE(s.value, quint16(0x3412));
        QCOMPARE(s.index, quint16(0x0056));
        // Setup bytes 2-5 on the wire (little-endian fields).
        const quint8 wire[4] = {quint8(s.value), quint8(s.value >> 8), quint8(s.index),
                                quint8(s.index >> 8)};
        QCOMPARE(wire[0], quint8(0x12));
        QCOMPARE(wire[1], quint8(0x34));
        QCOMPARE(wire[2], quint8(0x56));
        QCOMPARE(wire[3], quint8(0x00));
        QCOMPARE(s.length, quint16(8));
        QCOMPARE(s.out, QByteArray::fromHex("0001020005060bb8"));
        QCOMPARE(measurementTimeout(3000, 0x123456), 5000 + 3 + 0x123456 / 1000);
    }

    // Time (1/60 s) to clock, the setup fields and the read-back time-out,
    // seen through five empty status reads.
    void timeToClockAndReadBackTimeout_data()
    {
        QTest::addColumn<int>("time");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("timeoutMs");
        QTest::newRow("6") << 6 << 0x8601 << 0x00A0 << 5100;
        QTest::newRow("90") << 90 << 0xE316 << 0x0060 << 6500;
        QTest::newRow("1007 limited") << 1007 << 0xFFFF << 0x00FF << 21777;
    }

    void timeToClockAndReadBackTimeout()
    {
        QFETCH(int, time);
        QFETCH(int, value);
        QFETCH(int, index);
        QFETCH(int, timeoutMs);
        SpyderRig rig;
        QCOMPARE(rig.start(), 1);
        rig.device->setReplyFault(SimSpyderReplyFault::NoStatusPacket);
        rig.device->clearSetupLog();
        rig.clock.clearWaits();
        qint32 X, Y, Z;
        QCOMPARE(DC_GetXYZ(quint16(time), &X, &Y, &Z), 0);
        QCOMPARE(rig.error(), kErrNoStatusPacket);
        QCOMPARE(rig.systemFlag(), quint8(0));
        const auto setups = rig.setups(kReqMeasure);
        QCOMPARE(setups.size(), 1);
        QCOMPARE(int(setups[0].value), value);
        QCOMPARE(int(setups[0].index), index);
        QCOMPARE(rig.clock.waitsUs(), repeated(qint64(timeoutMs) * 1000, 5));
    }

    void setGainWritesRegister7_data()
    {
        QTest::addColumn<int>("gain");
        QTest::addColumn<int>("code");
        QTest::newRow("4") << 4 << 0x10;
        QTest::newRow("16") << 16 << 0x20;
        QTest::newRow("64") << 64 << 0x30;
        QTest::newRow("5") << 5 << 0x00;
    }

    void setGainWritesRegister7()
    {
        QFETCH(int, gain);
        QFETCH(int, code);
        SpyderRig rig;
        QVERIFY(launch(rig));
        QCOMPARE(WriteRegister(7, 0x77), 1);
        QCOMPARE(SetGain(quint8(gain)), 1);
        QCOMPARE(int(rig.device->registerValue(7)), code);
        const auto setups = rig.setups(kReqRegisterWrite);
        QCOMPARE(setups.last().requestType, quint8(0x40));
        QCOMPARE(int(setups.last().value), 0x0700 | code);
        QCOMPARE(setups.last().length, quint16(0));
        quint8 back = 0xEE;
        QCOMPARE(ReadRegister(7, &back), 1);
        QCOMPARE(int(back), code);
        QCOMPARE(rig.setups(kReqTemperatureOrRegisterRead).last().length, quint16(1));
    }

    void temperatureAndSmallRequests()
    {
        SpyderRig rig;
        QVERIFY(launch(rig));
        qint32 hundredths = 0;
        QCOMPARE(ReadTemperature(&hundredths), 1);
        QCOMPARE(hundredths, 2500);
        QCOMPARE(rig.setups(kReqTemperatureOrRegisterRead).last().length, quint16(2));

        quint8 byte = 0;
        QCOMPARE(WriteTemperatureSensorConfig(0x61), 1);
        QCOMPARE(ReadTemperatureSensorConfig(&byte), 1);
        QCOMPARE(byte, quint8(0x61));
        QCOMPARE(SetLED(2, 0x1234), 1);
        QCOMPARE(rig.device->ledValue(), quint8(2));
        QCOMPARE(rig.device->ledIndex(), quint16(0x1234));
        QCOMPARE(rig.setups(kReqLed).last().value, quint16(2));
        QCOMPARE(WriteAmbientLightTimingConfig(0x12), 1);
        QCOMPARE(ReadAmbientLightTimingConfig(&byte), 1);
        QCOMPARE(byte, quint8(0x12));
        QCOMPARE(WriteAmbientLightControlRegVal(3), 1);
        QCOMPARE(ReadAmbientLightControlRegVal(&byte), 1);
        QCOMPARE(byte, quint8(3));
        QCOMPARE(rig.setups(kReqAmbientControlWrite).last().value, quint16(3));
    }

    // The sensor's raw value is an 11-bit two's complement count of 0.125 °C
    // in the top bits; hundredths are truncated towards 0.
    void temperatureIsSigned_data()
    {
        QTest::addColumn<quint16>("raw");
        QTest::addColumn<qint32>("hundredths");
        QTest::newRow("25.0") << quint16(0x1900) << 2500;
        QTest::newRow("0.125") << quint16(0x0020) << 12;
        QTest::newRow("-0.125") << quint16(0xFFE0) << -12;
        QTest::newRow("-25.0") << quint16(0xE700) << -2500;
        QTest::newRow("most") << quint16(0x7FE0) << 12787;
        QTest::newRow("least") << quint16(0x8000) << -12800;
    }

    void temperatureIsSigned()
    {
        QFETCH(quint16, raw);
        QFETCH(qint32, hundredths);
        SpyderRig rig;
        QVERIFY(launch(rig));
        rig.device->setRawTemperature(raw);
        qint32 value = 0;
        QCOMPARE(ReadTemperature(&value), 1);
        QCOMPARE(value, hundredths);
    }

    void ambientChannelsAndLux()
    {
        SpyderRig rig;
        QVERIFY(launch(rig));
        quint16 c0 = 1, c1 = 1, lux = 1;
        QCOMPARE(ReadAmbientLightSensorChannel_0(&c0), 1);
        QCOMPARE(c0, quint16(0));   // powered down
        QCOMPARE(WriteAmbientLightControlRegVal(3), 1);
        QCOMPARE(ReadAmbientLightSensorChannel_0(&c0), 1);
        QCOMPARE(ReadAmbientLightSensorChannel_1(&c1), 1);
        QCOMPARE(c0, quint16(1456));
        QCOMPARE(c1, quint16(364));
        QCOMPARE(ReadAmbientLightLevel(&lux), 1);
        QCOMPARE(lux, quint16(500));
    }

    void decodeCountsTakesChannelsAndStamps()
    {
        quint8 reply[kReplyBytes] = {};
        // Raw channel r: last stamp 8000 + r, first stamp r, count 66 + r;
        // raw channel 3 (not passed on) carries a count that must not show.
        for (int r = 0; r < 8; ++r) {
            put24(reply, 3 * r, 8000 + 8 * r);
            put24(reply, 24 + 3 * r, 8 * r);
            put24(reply, 48 + 3 * r, 66 + r);
        }
        put24(reply, 48 + 3 * 4, 0);   // raw 4 has no pulses
        quint32 counts[8], periods[8];
        QVERIFY(DecodeCounts(reply, 1500000, counts, periods));
        const quint32 expectedCounts[8] = {66, 66, 67, 68, 71, 72, 73, 0};
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(counts[k], expectedCounts[k]);
            const quint32 raw = quint32(kRawChannelOf[k]);
            const quint32 expectedPeriod =
                k == 7 ? 1500000u : (8000 + 8 * raw) * 65 / 8 - (8 * raw) * 65 / 8;
            QCOMPARE(periods[k], expectedPeriod);
        }
        QCOMPARE(periods[0], 65000u);
        float f[8];
        channelFrequencies(counts, periods, 90, false, f);
        QCOMPARE(f[0], 1000.0f);

        // Last stamp before the first: no wrapped period.
        put24(reply, 3 * 2, 5);
        QVERIFY(!DecodeCounts(reply, 1500000, counts, periods));
    }

    void frequencyRules_data()
    {
        QTest::addColumn<quint32>("count");
        QTest::addColumn<quint32>("period");
        QTest::addColumn<bool>("crt");
        QTest::addColumn<float>("hz");
        QTest::newRow("66 over 65 ms") << 66u << 65000u << false << 1000.0f;
        QTest::newRow("count 1") << 1u << 65000u << false << 0.0f;
        QTest::newRow("count 0") << 0u << 65000u << false << 0.0f;
        QTest::newRow("period 0") << 5u << 0u << false << 0.0f;
        // 100 Hz on the CRT sets: count / (time / 60) over time 90.
        QTest::newRow("CRT override") << 151u << 1500000u << true << 151.0f / 1.5f;
        QTest::newRow("CRT below 90 Hz") << 81u << 1000000u << true << 80.0f;
        // The limit is 1.5 refreshes, exclusive.
        QTest::newRow("CRT at 90 Hz") << 91u << 1000000u << true << 90.0f;
        QTest::newRow("CRT at 91 Hz") << 92u << 1000000u << true << 92.0f / 1.5f;
    }

    void frequencyRules()
    {
        QFETCH(quint32, count);
        QFETCH(quint32, period);
        QFETCH(bool, crt);
        QFETCH(float, hz);
        quint32 counts[8] = {count}, periods[8] = {period};
        float f[8];
        channelFrequencies(counts, periods, 90, crt, f);
        QCOMPARE(f[0], hz);
    }

    void calculateLux_data()
    {
        QTest::addColumn<quint32>("gain");
        QTest::addColumn<quint32>("integration");
        QTest::addColumn<quint32>("ch0");
        QTest::addColumn<quint32>("ch1");
        QTest::addColumn<int>("lux");
        QTest::newRow("low gain") << 0u << 2u << 1000u << 250u << 344;
        QTest::newRow("high gain") << 1u << 2u << 1000u << 250u << 21;
        QTest::newRow("no infrared") << 0u << 2u << 1000u << 0u << 486;
        QTest::newRow("ratio 0x40") << 0u << 2u << 1024u << 128u << 442;
        QTest::newRow("ratio 0x41") << 0u << 2u << 1024u << 129u << 441;
        QTest::newRow("equal channels") << 0u << 2u << 1000u << 1000u << 6;
        QTest::newRow("ratio beyond 0x29A") << 0u << 2u << 100u << 200u << 0;
        QTest::newRow("dark") << 0u << 2u << 0u << 0u << 0;
        QTest::newRow("simulated 500 lux") << 0u << 2u << 1456u << 364u << 500;
        QTest::newRow("13.7 ms high gain") << 1u << 0u << 1000u << 100u << 810;
        QTest::newRow("101 ms") << 0u << 1u << 2000u << 600u << 2389;
        QTest::newRow("saturates, not wraps") << 0u << 0u << 5047u << 0u << 65535;
    }

    void calculateLux()
    {
        QFETCH(quint32, gain);
        QFETCH(quint32, integration);
        QFETCH(quint32, ch0);
        QFETCH(quint32, ch1);
        QFETCH(int, lux);
        QCOMPARE(int(CalculateLux(gain, integration, ch0, ch1, 0)), lux);
    }

    void calculateLuxPackageCS()
    {
        // Ratio 0x42 is in the first CS segment, the second of package 0.
        QCOMPARE(int(CalculateLux(0, 2, 1024, 132, 1)), (16384 * 0x204 - 2112 * 0x1AD + 8192) >> 14);
        QCOMPARE(int(CalculateLux(0, 2, 1024, 132, 0)), (16384 * 0x214 - 2112 * 0x2D1 + 8192) >> 14);
    }

    void swapHelpers()
    {
        QCOMPARE(swap16(0x1234), quint16(0x3412));
        QCOMPARE(swap32(0x12345678u), 0x78563412u);
        QCOMPARE(swap16II(0x1234), quint16(0x3412));
        QCOMPARE(swap32II(0x12345678u), 0x78563412u);
        QCOMPARE(swap16IM(0x1234), quint16(0x1234));
        QCOMPARE(swap32IM(0x12345678u), 0x12345678u);
    }

    // A failing transfer is tried 3 times before the device first answered
    // and once afterwards.
    void retriesAreBounded()
    {
        SpyderRig rig;
        QVERIFY(launch(rig));
        quint8 byte = 0;
        rig.device->failNextControls(2, kUsbErrorPipe);
        QCOMPARE(DC__ReadEEPROM(5, &byte), 1);
        QCOMPARE(rig.setups(kReqEepromRead).size(), 3);
        QCOMPARE(byte, quint8(7));

        rig.device->clearSetupLog();
        rig.device->failNextControls(1, kUsbErrorPipe);
        QCOMPARE(DC__ReadEEPROM(5, &byte), 0);
        QCOMPARE(_lastError_, qint32(kUsbErrorPipe));
        QCOMPARE(_sysErr_, 1);
        QCOMPARE(rig.setups(kReqEepromRead).size(), 1);

        // A time-out charges its own bound, once.
        rig.clock.clearWaits();
        rig.device->failNextControls(1, kUsbErrorTimeout);
        QCOMPARE(WriteRegister(7, 0x10), 0);
        QCOMPARE(_lastError_, qint32(kUsbErrorTimeout));
        QCOMPARE(rig.clock.waitsUs(), QVector<qint64>{5000000});
    }

    void firstTransferGivesUpAfterThreeTries()
    {
        SpyderRig rig;
        QVERIFY(launch(rig));
        rig.device->failNextControls(5, kUsbErrorIo);
        quint8 byte = 0;
        QCOMPARE(DC__ReadEEPROM(5, &byte), 0);
        QCOMPARE(_lastError_, qint32(kUsbErrorIo));
        QCOMPARE(_sysErr_, 1);
        QCOMPARE(rig.setups(kReqEepromRead).size(), 3);
    }

    void removedDeviceIsNeverRetried()
    {
        SpyderRig rig;
        QVERIFY(launch(rig));
        rig.device->unplugAfterUs(0);
        quint8 byte = 0;
        QCOMPARE(DC__ReadEEPROM(5, &byte), 0);
        QCOMPARE(_lastError_, qint32(kUsbErrorNoDevice));
        QCOMPARE(_sysErr_, 1);
        QVERIFY(myExercisePB.deviceRemoved);
        QCOMPARE(rig.setups(kReqEepromRead).size(), 1);
        // Later requests fail at once, without reaching the bus.
        QCOMPARE(ReadRegister(7, &byte), 0);
        QCOMPARE(_lastError_, qint32(kUsbErrorNoDevice));
        QCOMPARE(rig.device->setupLog().size(), 1);
    }

    void transfersNeedAHandleAndADevice()
    {
        SpyderRig rig;
        quint8 buffer[8];
        quint32 done = 99;
        QCOMPARE(ReadBulkPipe(1, buffer, 8, 100, &done), 0);
        QCOMPARE(_lastError_, kErrNoInterface);
        QCOMPARE(_sysErr_, 1);
        QVERIFY(launch(rig));
        QCOMPARE(ReadBulkPipe(0, buffer, 8, 100, &done), 0);
        QCOMPARE(_lastError_, kErrNoDevice);
        VendorRequest r;
        r.direction = 1;
        r.request = kReqTemperatureConfigRead;
        QCOMPARE(SendVendorRequest(0, &r, int(sizeof r), buffer, 1, 100, &done), 0);
        QCOMPARE(rig.device->setupLog().size(), 0);
        qint32 error = 0, system = 0;
        QCOMPARE(SendVendorRequest(devHandle, &r, int(sizeof r), buffer, 1, 100, &done), 1);
        QCOMPARE(done, 1u);
        GetLastDriverError(&error, &system);
        QCOMPARE(error, 0);
        QCOMPARE(system, 0);
        QCOMPARE(rig.device->setupLog().last().requestType, quint8(0xC0));
    }

    void shortRepliesHaveTheirCodes()
    {
        SpyderRig rig;
        QVERIFY(launch(rig));
        // Asked with the wrong length, the device answers what it has.
        VendorRequest r;
        r.direction = 1;
        r.request = kReqAmbientControlRead;
        quint8 buffer[2];
        quint32 done = 0;
        QCOMPARE(SendVendorRequest(devHandle, &r, int(sizeof r), buffer, 2, 100, &done), 1);
        QCOMPARE(done, 1u);
        // The layer's own requests check the length they got.
        rig.device->setEepromWriteProtected(true);
        QCOMPARE(DC__WriteEEPROM(3, 1), 0);
        QCOMPARE(_lastError_, qint32(kUsbErrorPipe));
        QCOMPARE(_sysErr_, 1);
    }

    // A transfer that moves fewer bytes than its request asks for fails with
    // the request's code, and a chunked EEPROM transfer stops there.
    void shortTransfersHaveTheirCodes_data()
    {
        QTest::addColumn<int>("request");
        QTest::addColumn<int>("which");
        QTest::addColumn<qint32>("code");
        QTest::newRow("EEPROM read") << int(kReqEepromRead) << 0 << kErrShortRead;
        QTest::newRow("EEPROM read, first chunk") << int(kReqEepromRead) << 1 << kErrShortRead;
        QTest::newRow("EEPROM write") << int(kReqEepromWrite) << 2 << kErrShortWrite;
        QTest::newRow("EEPROM write, first chunk") << int(kReqEepromWrite) << 3 << kErrShortWrite;
        QTest::newRow("register") << int(kReqTemperatureOrRegisterRead) << 4 << kErrShortRead;
        QTest::newRow("temperature") << int(kReqTemperatureOrRegisterRead) << 5 << kErrShortReply;
        QTest::newRow("temperature configuration") << int(kReqTemperatureConfigRead) << 6
                                                   << kErrShortReply;
        QTest::newRow("ambient channel 0") << int(kReqAmbientChannel0) << 7 << kErrShortReply;
        QTest::newRow("ambient channel 1") << int(kReqAmbientChannel1) << 8 << kErrShortReply;
        QTest::newRow("ambient control") << int(kReqAmbientControlRead) << 9 << kErrShortReply;
        QTest::newRow("ambient timing") << int(kReqAmbientTimingRead) << 10 << kErrShortReply;
        QTest::newRow("lux") << int(kReqAmbientChannel1) << 11 << kErrShortReply;
    }

    void shortTransfersHaveTheirCodes()
    {
        QFETCH(int, request);
        QFETCH(int, which);
        QFETCH(qint32, code);
        quint8 buffer[300] = {};
        quint8 byte = 0;
        quint16 word = 0;
        qint32 hundredths = 0;
        const std::function<int()> calls[] = {
            [&] { return DC__ReadEEPROM(8, &byte); },
            [&] { return DC__ReadEEPROMEx(170, 300, buffer); },
            [&] { return DC__WriteEEPROM(900, 1); },
            [&] { return DC__WriteEEPROMEx(700, 300, buffer); },
            [&] { return ReadRegister(7, &byte); },
            [&] { return ReadTemperature(&hundredths); },
            [&] { return ReadTemperatureSensorConfig(&byte); },
            [&] { return ReadAmbientLightSensorChannel_0(&word); },
            [&] { return ReadAmbientLightSensorChannel_1(&word); },
            [&] { return ReadAmbientLightControlRegVal(&byte); },
            [&] { return ReadAmbientLightTimingConfig(&byte); },
            [&] { return ReadAmbientLightLevel(&word); },
        };
        SpyderRig rig;
        QVERIFY(launch(rig));
        QCOMPARE(calls[which](), 1);
        rig.device->clearSetupLog();
        rig.device->shortenTransfers(quint8(request), 1);
        QCOMPARE(calls[which](), 0);
        QCOMPARE(_lastError_, code);
        QCOMPARE(_sysErr_, 0);
        QCOMPARE(rig.setups(quint8(request)).size(), 1);   // no further chunk
    }

    void busyDeviceIsTriedFiveMoreTimes_data()
    {
        QTest::addColumn<int>("busy");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<int>("waits");
        QTest::addColumn<quint32>("classic");
        QTest::newRow("free") << 0 << true << 0 << 0u;
        QTest::newRow("busy once") << 1 << true << 0 << 0u;
        QTest::newRow("busy 3 times") << 3 << true << 2 << 1u;
        QTest::newRow("busy 6 times") << 6 << false << 5 << 1u;
        QTest::newRow("busy for ever") << -1 << false << 5 << 1u;
    }

    void busyDeviceIsTriedFiveMoreTimes()
    {
        QFETCH(int, busy);
        QFETCH(bool, opens);
        QFETCH(int, waits);
        QFETCH(quint32, classic);
        SpyderRig rig;
        rig.device->setBusyOpens(busy);
        rig.clock.clearWaits();
        quint32 flag = 0xEEEE;
        QCOMPARE(LaunchSpyder(&flag, 0x0400), opens ? 1 : 0);
        QCOMPARE(_gClassicMayBeRunning, classic);
        if (opens) {
            QCOMPARE(flag, classic);
        } else {
            QCOMPARE(_lastError_, kErrNoDevice);
            QCOMPARE(_sysErr_, qint32(kUsbErrorBusy));
        }
        QCOMPARE(rig.clock.waitsTicks(), QVector<qint64>(waits, 61));
    }

    void deviceSearch_data()
    {
        QTest::addColumn<quint16>("plugged");
        QTest::addColumn<quint16>("asked");
        QTest::addColumn<bool>("denied");
        QTest::addColumn<int>("status");
        QTest::newRow("Spyder3") << quint16(0x0300) << quint16(0x0300) << false << 0;
        QTest::newRow("other product") << quint16(0x0300) << quint16(0x0400) << false
                                       << int(kUsbErrorNotFound);
        QTest::newRow("access denied") << quint16(0x0400) << quint16(0x0400) << true
                                       << int(kUsbErrorAccess);
    }

    void deviceSearch()
    {
        QFETCH(quint16, plugged);
        QFETCH(quint16, asked);
        QFETCH(bool, denied);
        QFETCH(int, status);
        SpyderRig rig(plugged);
        rig.device->setAccessDenied(denied);
        quint32 flag = 0;
        QCOMPARE(LaunchSpyder(&flag, asked), status == 0 ? 1 : 0);
        if (status != 0) {
            QCOMPARE(_lastError_, kErrNoDevice);
            QCOMPARE(_sysErr_, status);
            QVERIFY(!myExercisePB.device);
        } else {
            QCOMPARE(myExercisePB.bulkPipe, quint8(0x81));
            QCOMPARE(myExercisePB.interfaceNumber, 0);
            QCOMPARE(myExercisePB.configurationValue, quint8(1));
        }
    }

    void shutdownResetsAndClosesTheDevice()
    {
        SpyderRig rig;
        QVERIFY(launch(rig));
        QCOMPARE(SpyderShutDown(), 1);
        QCOMPARE(rig.device->resets(), 1);
        QVERIFY(!myExercisePB.device);
        quint8 byte = 0;
        QCOMPARE(DC__ReadEEPROM(5, &byte), 0);
        QCOMPARE(_lastError_, kErrNoDeviceInterface);
    }
};

QTEST_GUILESS_MAIN(TestSpyderUsbLayer)
#include "tst_spyder_usb_layer.moc"
