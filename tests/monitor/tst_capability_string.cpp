#include "CParseCapabilityString.h"
#include "TestSupport.h"

#include <QtTest>

#include <cstring>

namespace {

using Codes = QVector<int>;

Codes allCodes(const CParseCapabilityString &p)
{
    const int *codes = nullptr;
    const int n = p.GetArrayOfVCPsFound(&codes);
    return n > 0 ? Codes(codes, codes + n) : Codes();
}

Codes enumeratedCodes(const CParseCapabilityString &p)
{
    const int *codes = nullptr;
    const int n = p.GetArrayOfEnumeratedVCPsFound(&codes);
    return n > 0 ? Codes(codes, codes + n) : Codes();
}

Codes valuesOf(const CParseCapabilityString &p, int code)
{
    const int *values = nullptr;
    const int n = p.GetArrrayOfEnumeratedVCPValues(code, &values);
    return n > 0 ? Codes(values, values + n) : Codes();
}

const char kFullExample[] =
    "prot(monitor)type(LCD)vcp(02 10 14(05 08 0B) 60(01 03 11))vcp_p10(50 51 5B(01 02))"
    "mccs_ver(2.1)mpu_ver(1.03)asset_eep(40)"
    "gamma_table(size(400) r_ofs(0) g_ofs(400) b_ofs(800))";

} // namespace

class TestCapabilityString : public QObject {
    Q_OBJECT
private slots:
    void exampleStringParsesCompletely()
    {
        CParseCapabilityString p;
        QCOMPARE(p.ParseString(kFullExample), 0);
        QCOMPARE(p.ParsedOK(), 1);
        QCOMPARE(p.m_DisplayType, 2);
        QCOMPARE(QByteArray(p.m_TypeText), QByteArray("LCD"));
        QCOMPARE(allCodes(p), (Codes{0x02, 0x10, 0x14, 0x60, 0x1050, 0x1051, 0x105B}));
        QCOMPARE(p.GetNumberOfVCPsFound(), 7);
        QCOMPARE(enumeratedCodes(p), (Codes{0x14, 0x60, 0x105B}));
        QCOMPARE(p.GetNumberOfEnumeratedVCPsFound(), 3);
        QCOMPARE(valuesOf(p, 0x14), (Codes{0x05, 0x08, 0x0B}));
        QCOMPARE(valuesOf(p, 0x60), (Codes{0x01, 0x03, 0x11}));
        QCOMPARE(valuesOf(p, 0x105B), (Codes{0x01, 0x02}));
        QCOMPARE(p.GetNumberOfEnumeratedValuesFound(0x60), 3);
        QCOMPARE(p.GetNumberOfEnumeratedValuesFound(0x10), 0);
        QCOMPARE(p.IsVCPSupported(0x1051), 1);
        QCOMPARE(p.IsVCPSupported(0x51), 0);
        QCOMPARE(p.IsVCPEnumerated(0x105B), 1);
        QCOMPARE(p.IsVCPEnumerated(0x5B), 0);
        QCOMPARE(p.ContainsEnumeratedVCPofValue(0x60, 0x11), 1);
        QCOMPARE(p.ContainsEnumeratedVCPofValue(0x60, 0x12), 0);
        QCOMPARE(p.ContainsEnumeratedVCPofValue(0x02, 0x00), 0);
        const int sentinel = 7;
        const int *untouched = &sentinel;
        QCOMPARE(p.GetArrrayOfEnumeratedVCPValues(0x10, &untouched), 0);
        QCOMPARE(untouched, &sentinel);
        QCOMPARE(QByteArray(p.m_MCCSVersionText), QByteArray("2.1"));
        QCOMPARE(QByteArray(p.m_MPUVersionText), QByteArray("1.03"));
        QCOMPARE(p.m_AssetStorageSize, 0x40);
        QCOMPARE(p.m_GammaTablePresent, 1);
        QCOMPARE(p.m_GammaTableSize, 0x400);
        QCOMPARE(p.m_GammaTableRedOffset, 0);
        QCOMPARE(p.m_GammaTableGreenOffset, 0x400);
        QCOMPARE(p.m_GammaTableBlueOffset, 0x800);
        QCOMPARE(p.GetNumberOfCommandsFound(), 0);
    }

    void simulatedMonitorString()
    {
        const QByteArray caps = pz::test::readData("caps_hxsim24.txt");
        QCOMPARE(caps.size(), 459);
        CParseCapabilityString p;
        QCOMPARE(p.ParseString(caps.constData()), 0);
        QCOMPARE(p.ParsedOK(), 1);
        QCOMPARE(p.m_DisplayType, 2);
        // 28 standard codes, 31 of page 0x02 and 22 of page 0x10.
        QCOMPARE(p.GetNumberOfVCPsFound(), 81);
        const Codes codes = allCodes(p);
        QCOMPARE(codes.mid(0, 3), (Codes{0x02, 0x04, 0x05}));
        QCOMPARE(codes.at(27), 0xFF);
        QCOMPARE(codes.at(28), 0x212);
        QCOMPARE(codes.at(58), 0x2F9);
        QCOMPARE(codes.at(59), 0x1050);
        QCOMPARE(codes.last(), 0x1097);
        QCOMPARE(enumeratedCodes(p), (Codes{0x14, 0x60, 0x268}));
        QCOMPARE(valuesOf(p, 0x14), (Codes{2, 8, 11}));
        QCOMPARE(valuesOf(p, 0x60), (Codes{15, 17, 18}));
        QCOMPARE(valuesOf(p, 0x268), (Codes{1, 5, 6, 9, 10, 11, 12}));
        // What the monitor object asks of it.
        QCOMPARE(p.IsVCPSupported(0x2A8), 1);
        for (int hue = 0x9B; hue <= 0xA0; ++hue)
            QCOMPARE(p.IsVCPSupported(hue), 1);
        for (int offset = 0x2F1; offset <= 0x2F6; ++offset)
            QCOMPARE(p.IsVCPSupported(offset), 1);
        QCOMPARE(p.IsVCPSupported(0x213), 1);
        QCOMPARE(p.IsVCPSupported(0x218), 0);
        QCOMPARE(p.IsVCPSupported(0x1097), 1);
        QCOMPARE(QByteArray(p.m_MPUVersionText), QByteArray("1.2.3"));
        QCOMPARE(QByteArray(p.m_MCCSVersionText), QByteArray("2.2"));
        QCOMPARE(p.m_AssetStorageSize, 64);
        QCOMPARE(p.m_GammaTablePresent, 1);
        QCOMPARE(p.m_GammaTableSize, 0x300);
        QCOMPARE(p.m_GammaTableRedOffset, 0);
        QCOMPARE(p.m_GammaTableGreenOffset, 0x400);
        QCOMPARE(p.m_GammaTableBlueOffset, 0x800);
        // "cmds(" is not the command token the parser reads.
        QCOMPARE(p.GetNumberOfCommandsFound(), 0);
    }

    void pagedCodesWithoutVcpToken()
    {
        CParseCapabilityString p;
        QCOMPARE(p.ParseString("type(LCD)vcp_p10(50 51 5B(01 02))"), -1);
        QCOMPARE(p.ParsedOK(), 0);
        QCOMPARE(allCodes(p), (Codes{0x1050, 0x1051, 0x105B}));
        QCOMPARE(valuesOf(p, 0x105B), (Codes{1, 2}));
        QCOMPARE(p.m_DisplayType, 2);
    }

    void displayType_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("type");
        QTest::newRow("LCD") << QByteArray("type(LCD)vcp()") << 2;
        QTest::newRow("lcd") << QByteArray("type(lcd)vcp()") << 2;
        QTest::newRow("CRT") << QByteArray("type(CRT)vcp()") << 1;
        QTest::newRow("CRT_AG") << QByteArray("type(CRT_AG)vcp()") << 1;
        QTest::newRow("crt") << QByteArray("type(crt)vcp()") << 1;
        QTest::newRow("crt_ag") << QByteArray("type(crt_ag)vcp()") << 1;
        QTest::newRow("LCD2") << QByteArray("type(LCD2)vcp()") << 0;
        QTest::newRow("Lcd") << QByteArray("type(Lcd)vcp()") << 0;
        QTest::newRow("none") << QByteArray("vcp()") << 0;
    }
    void displayType()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, type);
        CParseCapabilityString p;
        QCOMPARE(p.ParseString(text.constData()), 0);
        QCOMPARE(p.m_DisplayType, type);
    }

    void hexadecimalValues_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("asset");
        QTest::addColumn<int>("colorOffset");
        QTest::newRow("asset 64 means 64") << QByteArray("asset_eep(64)") << 64 << 0;
        QTest::newRow("asset 32 means 32") << QByteArray("asset_eep(32)") << 32 << 0;
        QTest::newRow("asset 100 is hex") << QByteArray("asset_eep(100)") << 256 << 0;
        QTest::newRow("asset 40 is hex") << QByteArray("asset_eep(40)") << 0x40 << 0;
        QTest::newRow("asset unreadable") << QByteArray("asset_eep(zz)") << 0 << 0;
        QTest::newRow("colour offset") << QByteArray("c_tmp_ofst(1A)") << 0 << 0x1A;
    }
    void hexadecimalValues()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, asset);
        QFETCH(int, colorOffset);
        CParseCapabilityString p;
        QCOMPARE(p.ParseString(text.constData()), -1);
        QCOMPARE(p.m_AssetStorageSize, asset);
        QCOMPARE(p.m_ColorTemperatureOffset, colorOffset);
    }

    void gammaTableNumbersThatFailStayZero()
    {
        CParseCapabilityString p;
        p.ParseString("vcp(10)gamma_table(size(300) r_ofs(zz) g_ofs(400) b_ofs(800))");
        QCOMPARE(p.m_GammaTablePresent, 1);
        QCOMPARE(p.m_GammaTableSize, 0x300);
        QCOMPARE(p.m_GammaTableRedOffset, 0);
        QCOMPARE(p.m_GammaTableGreenOffset, 0);
        QCOMPARE(p.m_GammaTableBlueOffset, 0);
        p.ParseString("vcp(10)gamma_table()");
        QCOMPARE(p.m_GammaTablePresent, 1);
        QCOMPARE(p.m_GammaTableSize, 0);
    }

    // Code lists: groups, pages and brackets that do not balance.
    void codeLists_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("result");
        QTest::addColumn<Codes>("codes");
        QTest::addColumn<Codes>("enumerated");
        QTest::addColumn<Codes>("firstRow");
        QTest::newRow("group before any code belongs to code 0")
            << QByteArray("vcp((01 02) 10)") << 0 << Codes{0x10} << Codes{0x00} << Codes{1, 2};
        QTest::newRow("empty list") << QByteArray("vcp()") << 0 << Codes{} << Codes{} << Codes{};
        QTest::newRow("groups do not nest")
            << QByteArray("vcp(14(01 (02) 03) 20)") << 0 << Codes{0x14, 0x03, 0x20}
            << Codes{0x14} << Codes{1, 2};
        QTest::newRow("one-digit page group")
            << QByteArray("vcp(10 page2(50 51(01 02)) 12)") << 0
            << Codes{0x10, 0x250, 0x251, 0x212} << Codes{0x251} << Codes{1, 2};
        // Two digits: the number and its bracket are consumed whole, so the
        // bracket is not read as a value group of code 0x10.
        QTest::newRow("two-digit page group")
            << QByteArray("vcp(10 page16(50 51(01 02)) 12)") << 0
            << Codes{0x10, 0x1050, 0x1051, 0x1012} << Codes{0x1051} << Codes{1, 2};
        QTest::newRow("hexadecimal page group")
            << QByteArray("vcp(page0x10(5B(03)))") << 0 << Codes{0x105B} << Codes{0x105B}
            << Codes{3};
        // A one-digit value right before ")" must not swallow the bracket.
        QTest::newRow("one-digit values")
            << QByteArray("vcp(14(5 8 B) 60)") << 0 << Codes{0x14, 0x60} << Codes{0x14}
            << Codes{5, 8, 0xB};
        QTest::newRow("three digits read as two codes")
            << QByteArray("vcp(123)") << 0 << Codes{0x12, 0x03} << Codes{} << Codes{};
        QTest::newRow("unclosed vcp token is absent")
            << QByteArray("vcp(14(05 08 60)") << -1 << Codes{} << Codes{} << Codes{};
        QTest::newRow("early close ends the token")
            << QByteArray("vcp(14)05 60)") << 0 << Codes{0x14} << Codes{} << Codes{};
        QTest::newRow("stray close outside a group")
            << QByteArray("vcp(10 (01)) 20)") << 0 << Codes{0x10} << Codes{0x10} << Codes{1};
        QTest::newRow("garbage is skipped")
            << QByteArray("vcp(xx 1G -3 zz)") << 0 << Codes{0x01, 0x03} << Codes{} << Codes{};
        QTest::newRow("page at the very end") << QByteArray("vcp(10 page)") << 0 << Codes{0x10}
                                              << Codes{} << Codes{};
        QTest::newRow("page out of range keeps the page")
            << QByteArray("vcp(page999(10))") << 0 << Codes{0x10} << Codes{} << Codes{};
    }
    void codeLists()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, result);
        QFETCH(Codes, codes);
        QFETCH(Codes, enumerated);
        QFETCH(Codes, firstRow);
        CParseCapabilityString p;
        QCOMPARE(p.ParseString(text.constData()), result);
        QCOMPARE(allCodes(p), codes);
        QCOMPARE(enumeratedCodes(p), enumerated);
        if (!enumerated.isEmpty())
            QCOMPARE(valuesOf(p, enumerated.first()), firstRow);
    }

    void overlongTokensAreBounded()
    {
        // Texts keep their first 255 characters.
        const QByteArray version(300, '7');
        CParseCapabilityString p;
        QCOMPARE(p.ParseString(("vcp(10)mpu_ver(" + version + ")type(" + version + ")").constData()),
                 0);
        QCOMPARE(QByteArray(p.m_MPUVersionText), version.left(255));
        QCOMPARE(QByteArray(p.m_TypeText), version.left(255));
        QCOMPARE(p.m_DisplayType, 0);

        // A row keeps 255 values; a long code list keeps every code.
        QByteArray values;
        for (int i = 0; i < 300; ++i)
            values += QByteArray::number(i & 0xFF, 16).rightJustified(2, '0') + ' ';
        QByteArray list;
        for (int i = 0; i < 300; ++i)
            list += QByteArray::number(i & 0xFF, 16).rightJustified(2, '0') + ' ';
        QCOMPARE(p.ParseString(("vcp(14(" + values + ") " + list + ")").constData()), 0);
        QCOMPARE(p.GetNumberOfEnumeratedValuesFound(0x14), 255);
        const Codes row = valuesOf(p, 0x14);
        QCOMPARE(row.first(), 0);
        QCOMPARE(row.last(), 254);
        QCOMPARE(p.GetNumberOfVCPsFound(), 301);
        QCOMPARE(allCodes(p).last(), 299 & 0xFF);
    }

    void commands()
    {
        CParseCapabilityString p;
        QCOMPARE(p.ParseString("vcp(10)cmds_c2(01 02(10 20) 03(30))"), 0);
        QCOMPARE(p.GetNumberOfCommandsFound(), 3);
        const int *codes = nullptr;
        QCOMPARE(p.GetArrayOfCommandsFound(&codes), 3);
        QCOMPARE(Codes(codes, codes + 3), (Codes{1, 2, 3}));
        QCOMPARE(p.GetArrayOfEnumeratedCommandsFound(&codes), 2);
        QCOMPARE(Codes(codes, codes + 2), (Codes{2, 3}));
        QCOMPARE(p.m_EnumeratedCommandCount, 2);
        QCOMPARE(p.m_EnumeratedCommandCountSecondPass, 2);
        // Only commands with a value group count as supported.
        QCOMPARE(p.IsCommandSupported(2), 1);
        QCOMPARE(p.IsCommandSupported(1), 0);
        QCOMPARE(p.GetNumberOfEnumeratedVCPsForCommandFound(2), 2);
        const int *values = nullptr;
        QCOMPARE(p.GetArrrayOfEnumeratedVCPsForCommandFound(3, &values), 1);
        QCOMPARE(values[0], 0x30);
        QCOMPARE(p.IsCommandAndVCPSupported(2, 0x20), 1);
        QCOMPARE(p.IsCommandAndVCPSupported(3, 0x20), 0);
        // Commands never count as VCP codes.
        QCOMPARE(p.IsVCPSupported(0x02), 0);

        // Clear resets everything but the second-pass command count.
        p.Clear();
        QCOMPARE(p.GetNumberOfCommandsFound(), 0);
        QCOMPARE(p.IsCommandSupported(2), 0);
        QCOMPARE(p.m_EnumeratedCommandCount, 0);
        QCOMPARE(p.m_EnumeratedCommandCountSecondPass, 2);
        QCOMPARE(p.ParsedOK(), 0);
    }

    void reparseReplacesEverything()
    {
        CParseCapabilityString p;
        QCOMPARE(p.ParseString(kFullExample), 0);
        QCOMPARE(p.ParseString("type(CRT)"), -1);
        QCOMPARE(p.GetNumberOfVCPsFound(), 0);
        QCOMPARE(p.GetNumberOfEnumeratedVCPsFound(), 0);
        QCOMPARE(p.IsVCPEnumerated(0x14), 0);
        QCOMPARE(p.m_MPUVersionText[0], '\0');
        QCOMPARE(p.m_GammaTablePresent, 0);
        QCOMPARE(p.m_AssetStorageSize, 0);
        QCOMPARE(p.m_DisplayType, 1);
        QCOMPARE(p.ParseString(nullptr), -1);
        QCOMPARE(p.m_DisplayType, 0);
    }

    void unterminatedBufferEndsAtItsLength()
    {
        // A capability buffer filled to its size carries no terminator.
        const QByteArray text("vcp(10 20)mpu_ver(1.0)");
        std::unique_ptr<char[]> buffer(new char[text.size()]);
        std::memcpy(buffer.get(), text.constData(), text.size());
        CParseCapabilityString p;
        QCOMPARE(p.ParseString(buffer.get(), std::size_t(text.size())), 0);
        QCOMPARE(allCodes(p), (Codes{0x10, 0x20}));
        QCOMPARE(QByteArray(p.m_MPUVersionText), QByteArray("1.0"));
        // Cut inside the version token: that token is absent.
        QCOMPARE(p.ParseString(buffer.get(), std::size_t(text.size() - 1)), 0);
        QCOMPARE(p.m_MPUVersionText[0], '\0');
        // An embedded NUL ends the string.
        QCOMPARE(p.ParseString("vcp(10)\0mpu_ver(1.0)", 21), 0);
        QCOMPARE(p.m_MPUVersionText[0], '\0');
    }
};

QTEST_GUILESS_MAIN(TestCapabilityString)
#include "tst_capability_string.moc"
