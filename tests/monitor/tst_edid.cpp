#include "CDecompile_EDID.h"
#include "TestSupport.h"

#include <QtTest>

#include <cstring>
#include <limits>
#include <memory>

namespace {

QByteArray fixture(const char *name)
{
    const QByteArray text = pz::test::readData(QString::fromLatin1(name));
    return pz::test::hex(text.constData());
}

// Recomputes the checksum byte of every full 128-byte block.
QByteArray withChecksums(QByteArray edid)
{
    for (int block = 0; block + 128 <= edid.size() && block < 256; block += 128) {
        unsigned sum = 0;
        for (int i = block; i < block + 127; ++i)
            sum += uchar(edid[i]);
        edid[block + 127] = char((256 - (sum & 0xFF)) & 0xFF);
    }
    return edid;
}

// A display descriptor holding a text of up to 13 characters.
QByteArray textDescriptor(uchar tag, const QByteArray &text)
{
    QByteArray d(5, '\0');
    d[3] = char(tag);
    QByteArray body = text.left(13);
    if (body.size() < 13)
        body += '\n' + QByteArray(12 - body.size(), ' ');
    return d + body;
}

// The simulated monitor's EDID with an empty CEA extension appended.
QByteArray withCeaBlock(uchar offset)
{
    QByteArray edid = fixture("edid_hxsim24.hex");
    edid[126] = 1;
    QByteArray ext(128, '\0');
    ext[0] = 0x02;
    ext[1] = 0x03;
    ext[2] = char(offset);
    return edid + ext;
}

bool textIs(const char *field, const char *expected) { return std::strcmp(field, expected) == 0; }

} // namespace

class TestEdid : public QObject {
    Q_OBJECT
private slots:
    void simulatedMonitorDecodesFieldByField()
    {
        CDecompile_EDID e;
        QCOMPARE(e.Decompile_EDID(fixture("edid_hxsim24.hex")), 0);

        QCOMPARE(QByteArray(e.m_Manufacturer, 3), QByteArray("ORV"));
        QCOMPARE(e.m_ProductCodeLow, uint8_t(0x41));
        QCOMPARE(e.m_ProductCodeHigh, uint8_t(0x24));
        QCOMPARE(e.m_VendorProductID, uint32_t(0x563E2441));
        QVERIFY(textIs(e.m_IdentityText, "ORV2441"));
        QCOMPARE(e.m_SerialNumber, uint32_t(1));
        QVERIFY(textIs(e.m_SerialText, "SIM0001"));
        QVERIFY(textIs(e.m_MonitorName, "HXSIM24"));
        QCOMPARE(e.m_Week, uint8_t(10));
        QCOMPARE(e.m_Year, 2024);
        QCOMPARE(e.m_Version, uint8_t(1));
        QCOMPARE(e.m_Revision, uint8_t(4));

        QVERIFY(e.m_DigitalInput);
        QVERIFY(e.m_DFPCompatible);
        QCOMPARE(e.m_SignalLevel, uint8_t(0));
        QVERIFY(!e.m_BlankToBlackSetup && !e.m_SeparateSync && !e.m_CompositeSync
                && !e.m_SyncOnGreen && !e.m_Serration);
        QCOMPARE(e.m_HorizontalSize, uint8_t(52));
        QCOMPARE(e.m_VerticalSize, uint8_t(32));
        QVERIFY(e.m_Gamma == 2.2f);
        QVERIFY(!e.m_Standby && !e.m_Suspend && !e.m_ActiveOff);
        QCOMPARE(e.m_DisplayType, uint8_t(1));
        QVERIFY(!e.m_sRGBDefault);
        QVERIFY(e.m_PreferredTimingMode);
        QVERIFY(!e.m_ContinuousFrequency);

        // Ten-bit chromaticities, exact.
        QVERIFY(e.m_RedX == 696 / 1024.0f);
        QVERIFY(e.m_RedY == 317 / 1024.0f);
        QVERIFY(e.m_GreenX == 215 / 1024.0f);
        QVERIFY(e.m_GreenY == 727 / 1024.0f);
        QVERIFY(e.m_BlueX == 154 / 1024.0f);
        QVERIFY(e.m_BlueY == 61 / 1024.0f);
        QVERIFY(e.m_WhiteX == 0.3125f);
        QVERIFY(e.m_WhiteY == 337 / 1024.0f);

        // 640x480@60 (byte 35 bit 5), 800x600@60 (bit 0), 1024x768@60 (byte 36 bit 3).
        for (int i = 0; i < CDecompile_EDID::kEstablishedTimings; ++i)
            QCOMPARE(e.m_EstablishedTimings[i], i == 2 || i == 7 || i == 12);
        QVERIFY(e.m_StandardTimings[0].m_Valid);
        QCOMPARE(e.m_StandardTimings[0].m_Horizontal, 1920);
        QCOMPARE(e.m_StandardTimings[0].m_Aspect, uint8_t(3));
        QCOMPARE(e.m_StandardTimings[0].m_Refresh, uint8_t(60));
        QCOMPARE(e.StandardTimingLines(e.m_StandardTimings[0]), 1080);
        for (int i = 1; i < 8; ++i)
            QVERIFY(!e.m_StandardTimings[i].m_Valid);
        QCOMPARE(e.m_ExtensionCount, uint8_t(0));

        QCOMPARE(e.m_DescriptorCount, 4);
        const detailed_block &t = e.m_Descriptors[0];
        QCOMPARE(t.m_Type, uint8_t(detailed_block::DetailedTiming));
        QVERIFY(t.m_PixelClock == 154.0f);
        QCOMPARE(t.m_HorizontalActive, 1920);
        QCOMPARE(t.m_HorizontalBlanking, 160);
        QCOMPARE(t.m_VerticalActive, 1200);
        QCOMPARE(t.m_VerticalBlanking, 35);
        QCOMPARE(t.m_HorizontalSyncOffset, 48);
        QCOMPARE(t.m_HorizontalSyncWidth, 32);
        QCOMPARE(t.m_VerticalSyncOffset, 3);
        QCOMPARE(t.m_VerticalSyncWidth, 6);
        QCOMPARE(t.m_HorizontalImageSize, 518);
        QCOMPARE(t.m_VerticalImageSize, 324);
        QCOMPARE(t.m_HorizontalBorder, uint8_t(0));
        QCOMPARE(t.m_VerticalBorder, uint8_t(0));
        QVERIFY(!t.m_Interlaced);
        QCOMPARE(t.m_StereoMode, uint8_t(0));
        QCOMPARE(t.m_SyncType, uint8_t(3));
        QVERIFY(t.m_SyncBit1);
        QVERIFY(!t.m_SyncBit2);
        QCOMPARE(CDecompile_EDID::calc_hfreq(1920, 160, t.m_PixelClock), 74038);
        QCOMPARE(CDecompile_EDID::calc_vfreq(1200, 35, 74038.0f), 599);

        QCOMPARE(e.m_Descriptors[1].m_Type, uint8_t(detailed_block::SerialNumber));
        QVERIFY(textIs(e.m_Descriptors[1].m_Text, "SIM0001"));
        QCOMPARE(e.m_Descriptors[2].m_Type, uint8_t(detailed_block::MonitorName));
        QCOMPARE(e.m_Descriptors[3].m_Type, uint8_t(detailed_block::RangeLimits));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(e.m_RangeLimits), 4),
                 pz::test::hex("38 4C 1E 53"));
        QCOMPARE(e.m_MaxPixelClock, 170);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(e.m_RangeLimitExtra), 8),
                 pz::test::hex("00 0A 20 20 20 20 20 20"));

        QCOMPARE(e.m_MaxHorizontalResolution, 1920u);
        QCOMPARE(e.m_MaxVerticalResolution, 1200u);
        QCOMPARE(e.m_PreferredHorizontal, 1920);
        QCOMPARE(e.m_PreferredVertical, 1200);
    }

    void analogMonitorWithoutSerialDescriptor()
    {
        CDecompile_EDID e;
        QCOMPARE(e.Decompile_EDID(fixture("edid_no_serial_descriptor.hex")), 0);
        QCOMPARE(QByteArray(e.m_Manufacturer, 3), QByteArray("ABC"));
        QVERIFY(textIs(e.m_IdentityText, "ABC1234"));
        QCOMPARE(e.m_VendorProductID, uint32_t(0x43041234));
        // No 0xFF descriptor: the numeric serial, in decimal.
        QVERIFY(textIs(e.m_SerialText, "12345"));
        // "ABC123" followed by a line feed and spaces.
        QVERIFY(textIs(e.m_MonitorName, "ABC123"));
        QCOMPARE(e.m_Descriptors[1].m_Type, uint8_t(detailed_block::AlphanumericData));
        QVERIFY(textIs(e.m_Descriptors[1].m_Text, "LOT 7"));
        QCOMPARE(e.m_Descriptors[3].m_Type, uint8_t(detailed_block::Other));
        QCOMPARE(e.m_Year, 2005);
        QVERIFY(e.m_Gamma == 2.2f);

        QVERIFY(!e.m_DigitalInput);
        QVERIFY(!e.m_DFPCompatible);
        QCOMPARE(e.m_SignalLevel, uint8_t(1));
        QVERIFY(e.m_BlankToBlackSetup);
        QVERIFY(e.m_SeparateSync);
        QVERIFY(!e.m_CompositeSync);
        QVERIFY(e.m_SyncOnGreen);
        QVERIFY(!e.m_Serration);
        QVERIFY(e.m_Standby && e.m_Suspend && e.m_ActiveOff);
        QCOMPARE(e.m_DisplayType, uint8_t(0));
        QCOMPARE(e.m_HorizontalSize, uint8_t(0));
        QCOMPARE(e.m_VerticalSize, uint8_t(255));

        // 0x81 0x40: 1280 pixels, 4:3, 60 Hz.
        QCOMPARE(e.m_StandardTimings[0].m_Horizontal, 1280);
        QCOMPARE(e.m_StandardTimings[0].m_Aspect, uint8_t(1));
        QCOMPARE(e.m_StandardTimings[0].m_Refresh, uint8_t(60));
        QCOMPARE(e.m_MaxHorizontalResolution, 1280u);
        QCOMPARE(e.m_MaxVerticalResolution, 960u);

        // Range limits with a pixel clock byte of 0xFF: no maximum.
        QCOMPARE(e.m_RangeLimits[0], uint8_t(50));
        QCOMPARE(e.m_RangeLimits[3], uint8_t(82));
        QCOMPARE(e.m_MaxPixelClock, 0);

        // Flagged preferred, but no detailed timing: no preferred mode, and
        // the decode still succeeds.
        QVERIFY(e.m_PreferredTimingMode);
        QCOMPARE(e.find_preferred_timing_from_EDID(), -1);
        QCOMPARE(e.m_PreferredHorizontal, 0);
        QCOMPARE(e.m_PreferredVertical, 0);

        // A product code with letters among its hex digits: upper case,
        // high byte first.
        QByteArray lettered = fixture("edid_no_serial_descriptor.hex");
        lettered[10] = char(0xEF);
        lettered[11] = char(0x12);
        CDecompile_EDID h;
        QCOMPARE(h.Decompile_EDID(withChecksums(lettered)), 0);
        QVERIFY(textIs(h.m_IdentityText, "ABC12EF"));
        QCOMPARE(h.m_VendorProductID, uint32_t(0x430412EF));
    }

    void ceaExtensionDescriptorsAreDecodedAndJoined()
    {
        CDecompile_EDID e;
        QCOMPARE(e.Decompile_EDID(fixture("edid_cea.hex")), 0);
        QCOMPARE(e.m_VendorProductID, uint32_t(0x563E2442));
        QCOMPARE(e.m_ExtensionCount, uint8_t(1));
        QVERIFY(e.m_sRGBDefault);
        // Offset 4: descriptors at 132, 150, 168, 186, 204 and 222.
        QCOMPARE(e.m_DescriptorCount, 10);
        QCOMPARE(e.m_Descriptors[4].m_HorizontalActive, 3840);
        QCOMPARE(e.m_Descriptors[4].m_VerticalActive, 2160);
        QVERIFY(e.m_Descriptors[4].m_PixelClock == 594.0f);
        QCOMPARE(e.m_Descriptors[5].m_HorizontalActive, 1280);
        QVERIFY(e.m_Descriptors[5].m_Interlaced);
        QCOMPARE(e.m_Descriptors[6].m_Type, uint8_t(detailed_block::MonitorName));
        QCOMPARE(e.m_Descriptors[7].m_Type, uint8_t(detailed_block::SerialNumber));
        QCOMPARE(e.m_Descriptors[8].m_Type, uint8_t(detailed_block::Other));
        QCOMPARE(e.m_Descriptors[9].m_Type, uint8_t(detailed_block::Other));
        // Texts of one kind are joined in record order without a separator.
        QVERIFY(textIs(e.m_MonitorName, "HX520R SIM"));
        QVERIFY(textIs(e.m_SerialText, "SIM0002-B"));
        // The extension's 4K timing is the largest; the first detailed
        // timing (base block) is the preferred one.
        QCOMPARE(e.m_MaxHorizontalResolution, 3840u);
        QCOMPARE(e.m_MaxVerticalResolution, 2160u);
        QCOMPARE(e.m_PreferredHorizontal, 1920);
        QCOMPARE(e.m_PreferredVertical, 1080);
        // Aspect code 0 in an EDID 1.3: 16:10.
        QCOMPARE(e.m_StandardTimings[0].m_Horizontal, 1680);
        QCOMPARE(e.StandardTimingLines(e.m_StandardTimings[0]), 1050);
    }

    void zeroedChromaticitiesDecode()
    {
        CDecompile_EDID e;
        QCOMPARE(e.Decompile_EDID(fixture("edid_zero_chroma.hex")), 0);
        for (float v : {e.m_RedX, e.m_RedY, e.m_GreenX, e.m_GreenY, e.m_BlueX, e.m_BlueY,
                        e.m_WhiteX, e.m_WhiteY})
            QVERIFY(v == 0.0f);
        QVERIFY(textIs(e.m_MonitorName, "HXSIM24"));
    }

    void rejectedDataLeavesFieldsCleared_data()
    {
        QTest::addColumn<QByteArray>("edid");
        const QByteArray good = fixture("edid_hxsim24.hex");
        QTest::newRow("truncated") << fixture("edid_truncated.hex");
        QTest::newRow("empty") << QByteArray();
        QByteArray badSum = good;
        badSum[20] = char(badSum[20] ^ 0x01);
        QTest::newRow("base checksum, header right") << badSum;
        QByteArray badHeader = good;
        badHeader[7] = 0x01;
        QTest::newRow("header, checksum right") << withChecksums(badHeader);
        QByteArray badExtension = withChecksums(fixture("edid_cea.hex"));
        badExtension[200] = char(badExtension[200] ^ 0x40);
        QTest::newRow("extension checksum") << badExtension;
    }
    void rejectedDataLeavesFieldsCleared()
    {
        QFETCH(QByteArray, edid);
        CDecompile_EDID e;
        QCOMPARE(e.Decompile_EDID(fixture("edid_cea.hex")), 0);
        QCOMPARE(e.Decompile_EDID(edid), -1);
        QCOMPARE(e.m_VendorProductID, 0u);
        QCOMPARE(e.m_DescriptorCount, 0);
        QCOMPARE(e.m_SerialText[0], '\0');
        QCOMPARE(e.m_MonitorName[0], '\0');
        QCOMPARE(e.m_IdentityText[0], '\0');
        QCOMPARE(e.m_MaxHorizontalResolution, 0u);
        QVERIFY(e.m_RedX == 0.0f);
    }

    void extensionAnnouncedButMissingIsIgnored()
    {
        // Only the base block was kept (as the system hands it over): the
        // extension is treated as absent rather than read past the data.
        QByteArray base = fixture("edid_cea.hex").left(128);
        CDecompile_EDID e;
        QCOMPARE(e.Decompile_EDID(base), 0);
        QCOMPARE(e.m_ExtensionCount, uint8_t(1));
        QCOMPARE(e.m_DescriptorCount, 4);
        QVERIFY(textIs(e.m_MonitorName, "HX520R"));
    }

    // The descriptor walk of a CEA block with its offset byte d; every
    // descriptor must lie wholly before the checksum byte.
    void ceaDescriptorOffsets_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("firstStart");
        QTest::addColumn<int>("count");
        QTest::newRow("d=4") << 4 << 132 << 6;
        QTest::newRow("d=0, no descriptors") << 0 << 0 << 0;
        QTest::newRow("d=3, inside the header") << 3 << 0 << 0;
        QTest::newRow("d=76") << 76 << 204 << 2;
        QTest::newRow("d=90, next beyond 235") << 90 << 218 << 1;
        QTest::newRow("d=109, last that fits") << 109 << 237 << 1;
        QTest::newRow("d=110, no room") << 110 << 0 << 0;
        QTest::newRow("d=127, no room") << 127 << 0 << 0;
        QTest::newRow("d=255") << 255 << 0 << 0;
    }
    void ceaDescriptorOffsets()
    {
        QFETCH(int, offset);
        QFETCH(int, firstStart);
        QFETCH(int, count);
        QByteArray edid = withCeaBlock(uchar(offset));
        // Non-zero bytes: every descriptor is a detailed timing whose pixel
        // clock tells where it started.
        for (int i = 132; i < 255; ++i)
            edid[i] = char(i);
        edid = withChecksums(edid);
        // Exactly 256 bytes on the heap, so a read past them is caught.
        std::unique_ptr<unsigned char[]> buffer(new unsigned char[256]);
        std::memcpy(buffer.get(), edid.constData(), 256);

        CDecompile_EDID e;
        QCOMPARE(e.Decompile_EDID(buffer.get()), 0);
        QCOMPARE(e.m_DescriptorCount, 4 + count);
        for (int k = 0; k < count; ++k) {
            const int start = firstStart + 18 * k;
            const detailed_block &d = e.m_Descriptors[4 + k];
            QCOMPARE(d.m_Type, uint8_t(detailed_block::DetailedTiming));
            QVERIFY(d.m_PixelClock == float((start + 1) * 256 + start) / 100.0f);
        }
    }

    void nonCeaExtensionIsNotWalked()
    {
        QByteArray edid = withCeaBlock(4);
        edid[128] = char(0x10);
        for (int i = 132; i < 255; ++i)
            edid[i] = char(i);
        CDecompile_EDID e;
        QCOMPARE(e.Decompile_EDID(withChecksums(edid)), 0);
        QCOMPARE(e.m_DescriptorCount, 4);
    }

    // Texts longer than the 127 characters a field keeps are cut there.
    void joinedTextsAreTruncated_data()
    {
        QTest::addColumn<int>("tag");
        QTest::newRow("serial") << 0xFF;
        QTest::newRow("name") << 0xFC;
    }
    void joinedTextsAreTruncated()
    {
        QFETCH(int, tag);
        QByteArray edid = withCeaBlock(4);
        QByteArray expected;
        const int starts[] = {54, 72, 90, 108, 132, 150, 168, 186, 204, 222};
        for (int k = 0; k < 10; ++k) {
            // 13 characters each, no line feed: 130 characters in all.
            const QByteArray text = QByteArray(13, char('A' + k));
            edid.replace(starts[k], 18, textDescriptor(uchar(tag), text));
            expected += text;
        }
        CDecompile_EDID e;
        QCOMPARE(e.Decompile_EDID(withChecksums(edid)), 0);
        QCOMPARE(e.m_DescriptorCount, 10);
        const char *field = tag == 0xFF ? e.m_SerialText : e.m_MonitorName;
        QCOMPARE(QByteArray(field), expected.left(127));
    }

    // Standard timings: aspect code 0 is 16:10 from EDID 1.3 on.
    void standardTimingLines_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QByteArray>("pair");
        QTest::addColumn<int>("horizontal");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("refresh");
        const QByteArray b300 = pz::test::hex("B3 00");
        QTest::newRow("code 0, 1.2: 1:1") << 1 << 2 << b300 << 1680 << 1680 << 60;
        QTest::newRow("code 0, 1.3: 16:10") << 1 << 3 << b300 << 1680 << 1050 << 60;
        QTest::newRow("code 0, 1.4: 16:10") << 1 << 4 << b300 << 1680 << 1050 << 60;
        QTest::newRow("code 0, 2.0: 16:10") << 2 << 0 << b300 << 1680 << 1050 << 60;
        QTest::newRow("code 1: 4:3") << 1 << 4 << pz::test::hex("81 40") << 1280 << 960 << 60;
        QTest::newRow("code 2: 5:4") << 1 << 4 << pz::test::hex("81 8F") << 1280 << 1024 << 75;
        QTest::newRow("code 3: 16:9") << 1 << 4 << pz::test::hex("D1 C0") << 1920 << 1080 << 60;
    }
    void standardTimingLines()
    {
        QFETCH(int, version);
        QFETCH(int, revision);
        QFETCH(QByteArray, pair);
        QFETCH(int, horizontal);
        QFETCH(int, lines);
        QFETCH(int, refresh);
        QByteArray edid = fixture("edid_no_serial_descriptor.hex");
        edid[18] = char(version);
        edid[19] = char(revision);
        edid[35] = edid[36] = edid[37] = 0;
        edid.replace(38, 2, pair);
        CDecompile_EDID e;
        QCOMPARE(e.Decompile_EDID(withChecksums(edid)), 0);
        QCOMPARE(e.m_StandardTimings[0].m_Horizontal, horizontal);
        QCOMPARE(int(e.m_StandardTimings[0].m_Refresh), refresh);
        QCOMPARE(e.StandardTimingLines(e.m_StandardTimings[0]), lines);
        QCOMPARE(e.m_MaxHorizontalResolution, uint32_t(horizontal));
        QCOMPARE(e.m_MaxVerticalResolution, uint32_t(lines));
    }

    // The established timing bits, each alone, and two that combine.
    void establishedTimingsGiveMaximum_data()
    {
        QTest::addColumn<QByteArray>("bytes35to37");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        const auto row = [](const char *name, const char *bytes, int w, int h) {
            QTest::newRow(name) << pz::test::hex(bytes) << w << h;
        };
        row("640x480@60 only", "20 00 00", 640, 480);
        row("720x400", "80 00 00", 720, 400);
        row("800x600 (byte 36 bit 6)", "00 40 00", 800, 600);
        row("832x624", "00 20 00", 832, 624);
        row("1024x768", "00 02 00", 1024, 768);
        row("1280x1024", "00 01 00", 1280, 1024);
        row("1152x870", "00 00 80", 1152, 870);
        row("manufacturer bits count for nothing", "00 00 7F", 0, 0);
        row("720x400 and 640x480: each axis on its own", "84 00 00", 720, 480);
    }
    void establishedTimingsGiveMaximum()
    {
        QFETCH(QByteArray, bytes35to37);
        QFETCH(int, width);
        QFETCH(int, height);
        QByteArray edid = fixture("edid_no_serial_descriptor.hex");
        edid.replace(35, 3, bytes35to37);
        edid.replace(38, 16, QByteArray(16, char(0x01)));
        CDecompile_EDID e;
        QCOMPARE(e.Decompile_EDID(withChecksums(edid)), 0);
        QCOMPARE(e.m_MaxHorizontalResolution, uint32_t(width));
        QCOMPARE(e.m_MaxVerticalResolution, uint32_t(height));
    }

    void helpers()
    {
        QVERIFY(CDecompile_EDID::decompile_chroma(0) == 0.0f);
        QVERIFY(CDecompile_EDID::decompile_chroma(512) == 0.5f);
        QVERIFY(CDecompile_EDID::decompile_chroma(1023) == 1023 / 1024.0f);
        QVERIFY(CDecompile_EDID::decompile_chroma(1) == 1 / 1024.0f);
        QCOMPARE(CDecompile_EDID::calc_hfreq(0, 0, 154.0f), 0);
        QCOMPARE(CDecompile_EDID::calc_vfreq(0, 0, 74038.0f), 0);
        // Out-of-range quotients saturate instead of overflowing.
        QCOMPARE(CDecompile_EDID::calc_hfreq(1, 0, 655.0f), 655000000);
        QCOMPARE(CDecompile_EDID::calc_hfreq(1, 0, 1e30f), std::numeric_limits<int>::max());
        QCOMPARE(CDecompile_EDID::calc_hfreq(-2, 1, 1e30f), std::numeric_limits<int>::min());
    }
};

QTEST_GUILESS_MAIN(TestEdid)
#include "tst_edid.moc"
