// Corpus replay with seeded mutations for the two parsers of data that comes
// from the monitor: the EDID decoder and the capability-string parser. Every
// input is handed over in a heap buffer of exactly its own size, so the
// sanitizers catch any read past it.

#include "CDecompile_EDID.h"
#include "CParseCapabilityString.h"
#include "TestSupport.h"

#include <QtTest>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

QByteArray hexFixture(const char *name)
{
    const QByteArray text = pz::test::readData(QString::fromLatin1(name));
    return pz::test::hex(text.constData());
}

void fixChecksums(std::vector<unsigned char> &edid)
{
    for (std::size_t block = 0; block + 128 <= edid.size() && block < 256; block += 128) {
        unsigned sum = 0;
        for (std::size_t i = block; i < block + 127; ++i)
            sum += edid[i];
        edid[block + 127] = (unsigned char)((256 - (sum & 0xFF)) & 0xFF);
    }
}

std::unique_ptr<unsigned char[]> exactCopy(const std::vector<unsigned char> &bytes)
{
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[bytes.empty() ? 1 : bytes.size()]);
    if (!bytes.empty())
        std::memcpy(buffer.get(), bytes.data(), bytes.size());
    return buffer;
}

void checkEdidInvariants(const CDecompile_EDID &e, int result)
{
    QVERIFY(result == 0 || result == -1);
    QVERIFY(e.m_DescriptorCount >= 0 && e.m_DescriptorCount <= CDecompile_EDID::kMaxDescriptors);
    QVERIFY(std::strlen(e.m_SerialText) < std::size_t(CDecompile_EDID::kTextSize));
    QVERIFY(std::strlen(e.m_MonitorName) < std::size_t(CDecompile_EDID::kTextSize));
    for (int i = 0; i < CDecompile_EDID::kMaxDescriptors; ++i)
        QVERIFY(e.m_Descriptors[i].m_Text[13] == '\0');
    if (result != 0) {
        QCOMPARE(e.m_VendorProductID, 0u);
        QCOMPARE(e.m_DescriptorCount, 0);
        QCOMPARE(e.m_SerialText[0], '\0');
        return;
    }
    QVERIFY(e.m_DescriptorCount >= 4 && e.m_DescriptorCount <= 10);
    QCOMPARE(std::strlen(e.m_IdentityText), std::size_t(7));
    QVERIFY(uint32_t(e.m_PreferredHorizontal) <= e.m_MaxHorizontalResolution);
    QVERIFY(uint32_t(e.m_PreferredVertical) <= e.m_MaxVerticalResolution);
}

void checkCapabilityInvariants(const CParseCapabilityString &p, int result)
{
    QVERIFY(result == 0 || result == -1);
    QCOMPARE(p.ParsedOK(), result == 0 ? 1 : 0);
    for (const char *text : {p.m_TypeText, p.m_MCCSVersionText, p.m_MPUVersionText})
        QVERIFY(std::strlen(text) < std::size_t(CParseCapabilityString::kTextSize));
    const int *codes = nullptr;
    const int n = p.GetArrayOfVCPsFound(&codes);
    QCOMPARE(n, p.GetNumberOfVCPsFound());
    for (int i = 0; i < n; ++i) {
        QVERIFY(codes[i] >= 0 && codes[i] <= 0x1FFFF);
        QCOMPARE(p.IsVCPSupported(codes[i]), 1);
    }
    const int m = p.GetArrayOfEnumeratedVCPsFound(&codes);
    for (int i = 0; i < m; ++i) {
        const int *values = nullptr;
        const int count = p.GetArrrayOfEnumeratedVCPValues(codes[i], &values);
        QVERIFY(count >= 0 && count <= CParseCapabilityString::kMaxRowValues);
        for (int k = 0; k < count; ++k) {
            QVERIFY(values[k] >= 0 && values[k] <= 0xFF);
            QCOMPARE(p.ContainsEnumeratedVCPofValue(codes[i], values[k]), 1);
        }
    }
    const int c = p.GetArrayOfEnumeratedCommandsFound(&codes);
    QCOMPARE(c, p.m_EnumeratedCommandCountSecondPass);
    for (int i = 0; i < c; ++i)
        QVERIFY(p.GetNumberOfEnumeratedVCPsForCommandFound(codes[i])
                <= CParseCapabilityString::kMaxRowValues);
}

const char *const kCapabilityCorpus[] = {
    "prot(monitor)type(LCD)vcp(02 10 14(05 08 0B) 60(01 03 11))vcp_p10(50 51 5B(01 02))"
    "mccs_ver(2.1)mpu_ver(1.03)asset_eep(40)gamma_table(size(400) r_ofs(0) g_ofs(400) b_ofs(800))",
    "vcp(10 page16(50 51(01 02)) 12 page2(33(01)) page0x10(5B))cmds_c2(01 02(10 20) 03(30))",
    "type(CRT_AG)vcp((01 02) 14(5 8 B) 60)c_tmp_ofst(1A)asset_eep(64)vcp_pFF(FE(01))",
};

// Pieces the random strings are built from.
const char *const kFragments[] = {
    "vcp(", "vcp_p10(", "vcp_p02(", "vcp_pFF(", "page", "page1", "page10(", "page0x", "(",
    ")", "((", "))", " ", "0", "1", "A", "F", "0B", "FF", "5B", "x", "-", "mpu_ver(",
    "mccs_ver(", "type(", "LCD", "cmds_c2(", "asset_eep(", "c_tmp_ofst(", "gamma_table(",
    "size(", " r_ofs(", " g_ofs(", " b_ofs(", "\t", "\xff", "%s", "%n",
};

} // namespace

class TestParserFuzz : public QObject {
    Q_OBJECT
private slots:
    void edidCorpusWithMutations()
    {
        std::vector<std::vector<unsigned char>> corpus;
        for (const char *name : {"edid_hxsim24.hex", "edid_cea.hex", "edid_no_serial_descriptor.hex",
                                 "edid_zero_chroma.hex", "edid_truncated.hex"}) {
            const QByteArray bytes = hexFixture(name);
            QVERIFY2(!bytes.isEmpty(), name);
            corpus.emplace_back(bytes.begin(), bytes.end());
        }

        std::mt19937 rng(0x5eed0104u);
        auto below = [&](int n) { return int(rng() % unsigned(n)); };
        CDecompile_EDID e;
        for (int round = 0; round < 4000; ++round) {
            std::vector<unsigned char> edid;
            if (round % 5 == 4) {
                // Random content behind a valid header.
                edid.resize(256);
                for (auto &b : edid)
                    b = (unsigned char)rng();
                const unsigned char header[8] = {0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0};
                std::memcpy(edid.data(), header, 8);
            } else {
                edid = corpus[std::size_t(below(int(corpus.size())))];
                const int changes = 1 + below(12);
                for (int k = 0; k < changes && !edid.empty(); ++k)
                    edid[std::size_t(below(int(edid.size())))] = (unsigned char)rng();
                // Steer into the extension paths.
                if (edid.size() >= 128 && below(3) == 0)
                    edid[126] = (unsigned char)below(3);
                if (edid.size() >= 256 && below(2) == 0) {
                    edid[128] = 0x02;
                    edid[130] = (unsigned char)rng();
                }
            }
            if (below(10) != 0)
                fixChecksums(edid);

            // The raw-pointer form gets exactly what its contract promises:
            // 128 bytes, 256 when an extension is announced.
            if (edid.size() >= 128) {
                std::vector<unsigned char> contract(edid.begin(), edid.begin() + 128);
                if (edid[126] != 0) {
                    contract.resize(256, 0);
                    for (std::size_t i = 128; i < 256 && i < edid.size(); ++i)
                        contract[i] = edid[i];
                }
                auto buffer = exactCopy(contract);
                const int result = e.Decompile_EDID(buffer.get());
                checkEdidInvariants(e, result);
            }

            // The length-checked form with any length.
            std::vector<unsigned char> cut(edid.begin(),
                                           edid.begin() + std::min<std::size_t>(edid.size(),
                                                                                std::size_t(below(300))));
            if (below(4) == 0)
                cut = edid;
            auto buffer = exactCopy(cut);
            const int result = e.Decompile_EDID(buffer.get(), cut.size());
            checkEdidInvariants(e, result);
            if (cut.size() < 128)
                QCOMPARE(result, -1);
        }
    }

    void capabilityCorpusWithMutations()
    {
        std::vector<std::string> corpus(std::begin(kCapabilityCorpus), std::end(kCapabilityCorpus));
        const QByteArray simulated = pz::test::readData("caps_hxsim24.txt");
        QVERIFY(!simulated.isEmpty());
        corpus.emplace_back(simulated.constData(), std::size_t(simulated.size()));

        std::mt19937 rng(0x5eed0105u);
        auto below = [&](int n) { return int(rng() % unsigned(n)); };
        const std::string alphabet = "()0123456789ABCDEFabcdefpagevcp_x \t";
        CParseCapabilityString p;
        for (int round = 0; round < 3000; ++round) {
            std::string text;
            if (round % 4 == 3) {
                const int pieces = 1 + below(60);
                for (int k = 0; k < pieces; ++k)
                    text += kFragments[below(int(std::size(kFragments)))];
            } else {
                text = corpus[std::size_t(below(int(corpus.size())))];
                const int changes = 1 + below(10);
                for (int k = 0; k < changes; ++k) {
                    const std::size_t at = text.empty() ? 0 : std::size_t(below(int(text.size())));
                    switch (below(5)) {
                    case 0: // replace with a grammar character
                        if (!text.empty())
                            text[at] = alphabet[std::size_t(below(int(alphabet.size())))];
                        break;
                    case 1: // replace with any byte (a NUL ends the string)
                        if (!text.empty())
                            text[at] = char(rng());
                        break;
                    case 2: // insert a bracket
                        text.insert(at, 1, below(2) ? '(' : ')');
                        break;
                    case 3: // delete a run
                        if (!text.empty())
                            text.erase(at, std::size_t(1 + below(8)));
                        break;
                    default: // duplicate a run
                        text.insert(at, text.substr(at, std::size_t(below(40))));
                        break;
                    }
                }
                if (below(6) == 0)
                    text.resize(std::size_t(below(int(text.size()) + 1)));
            }

            std::unique_ptr<char[]> buffer(new char[text.empty() ? 1 : text.size()]);
            std::memcpy(buffer.get(), text.data(), text.size());
            const int result = p.ParseString(buffer.get(), text.size());
            checkCapabilityInvariants(p, result);
        }
    }
};

QTEST_GUILESS_MAIN(TestParserFuzz)
#include "tst_parser_fuzz.moc"
