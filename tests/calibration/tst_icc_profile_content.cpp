// What the profile writer puts into a profile: the header, the thirteen
// tags in order with their sizes, the colorant, adaptation and white point
// values of two fixtures, what Little CMS computes from them, the text
// tags, the tone curves and the graphics card table.

#include "CBradford.h"
#include "CICCDisplayProfile.h"
#include "CIccTagvcgt.h"
#include "CVideoCardGamma.h"
#include "DisplayProfileBuilder.h"
#include "ProfileFixture.h"
#include "SimDesktop.h"
#include "TestSupport.h"

#include <QtTest>
#include <cmath>
#include <limits>

using namespace pz::test;

namespace {

struct Fixture {
    CCIEXYZ red, green, blue, white;
};

Fixture srgbFixture(double scale)
{
    return Fixture{scale * CCIEXYZ(0.4124, 0.2126, 0.0193), scale * CCIEXYZ(0.3576, 0.7152, 0.1192),
                   scale * CCIEXYZ(0.1805, 0.0722, 0.9505), scale * CCIEXYZ(0.9505, 1.0, 1.089)};
}

Fixture wideFixture()
{
    Fixture f{fromxyY(0.64, 0.33, 30), fromxyY(0.21, 0.71, 85), fromxyY(0.15, 0.06, 5), {}};
    f.white = CCIEXYZ(f.red.X + f.green.X + f.blue.X, f.red.Y + f.green.Y + f.blue.Y,
                      f.red.Z + f.green.Z + f.blue.Z);
    return f;
}

// Writes the records' profile into the home's folder and returns its bytes
// (empty when the writer failed, with the result in *result).
QByteArray writeProfile(ProfileRecords &records, bool allowGamma, int *result = nullptr)
{
    CICCDisplayProfile profile(records.target, records.result, records.monitor, nullptr);
    profile.GenerateDefaultFileNameandDescription();
    const int r = profile.CreateProfileFile(allowGamma);
    if (result)
        *result = r;
    return r == 0 ? fileBytes(profile.GetProfileNameAndPath()) : QByteArray();
}

QByteArray writeFixture(const Fixture &f)
{
    ProfileRecords records;
    records.setPrimaries(f.red, f.green, f.blue, f.white);
    return writeProfile(records, true);
}

qint32 s15(double v) { return qint32(std::floor(v * 65536.0 + 0.5)); }

void compareFixed(const QVector<qint32> &actual, const QVector<qint32> &expected)
{
    QCOMPARE(actual.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(std::abs(actual[i] - expected[i]) <= 1,
                 qPrintable(QStringLiteral("value %1: %2, expected %3")
                                .arg(i)
                                .arg(actual[i])
                                .arg(expected[i])));
}

cmsCIEXYZ transformed(cmsHTRANSFORM transform, double r, double g, double b)
{
    const double rgb[3] = {r, g, b};
    cmsCIEXYZ out;
    cmsDoTransform(transform, rgb, &out, 1);
    return out;
}

} // namespace

class TestIccProfileContent : public QObject {
    Q_OBJECT

    std::unique_ptr<ProfileHome> m_home;

private slots:
    void init() { m_home = std::make_unique<ProfileHome>(); }
    void cleanup() { m_home.reset(); }

    void header()
    {
        ProfileRecords records;
        const QByteArray profile = writeProfile(records, true);
        QVERIFY(openProfile(profile));
        QCOMPARE(be32(profile, 0), quint32(profile.size()));
        QCOMPARE(profile.mid(4, 32), hex("4150504C 02100000 6D6E7472 52474220 58595A20"
                                         "07E8 0003 0005 000E 0007 0009"));
        QCOMPARE(profile.mid(36, 48), hex("61637370 4150504C 00000000 00000000 00000000"
                                          "00000000 00000001 00000000"
                                          "0000F6D6 00010000 0000D32D 4F727664"));
        QCOMPARE(profile.mid(84, 44), QByteArray(44, '\0'));

        CICCDisplayProfile writer(records.target, records.result, records.monitor, nullptr);
        QCOMPARE(writer.GetProfileDate(), fixtureDate());
        QCOMPARE(writer.GetProfileDate().timeSpec(), Qt::LocalTime);
        unsigned char id[16];
        memset(id, 0xAB, sizeof(id));
        writer.GetProfileID(id);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(id), 16), QByteArray(16, '\0'));
    }

    void headerDateInItsOwnTimeSpec()
    {
        ProfileRecords records;
        records.result.m_CalibrationDateTime =
            QDateTime(QDate(2030, 12, 31), QTime(23, 59, 58, 999), Qt::UTC);
        const QByteArray profile = writeProfile(records, true);
        QCOMPARE(profile.mid(24, 12), hex("07EE 000C 001F 0017 003B 003A"));
    }

    void tagsInOrderWithTheirSizes()
    {
        ProfileRecords records;
        const QByteArray profile = writeProfile(records, true);
        const QVector<TagEntry> tags = tagTable(profile);
        const char *order[] = {"desc", "cprt", "rXYZ", "gXYZ", "bXYZ", "chad", "wtpt",
                               "lumi", "rTRC", "gTRC", "bTRC", "vcgt", "mmod"};
        QCOMPARE(tags.size(), 13);
        const QString description = QStringLiteral("HXSIM24 SIM0001 2024-03-05 14-07 D65 2.20");
        const QByteArray copyright("Copyright (c) Orvane. All rights reserved.");
        const quint32 sizes[] = {quint32(93 + 3 * description.size()),
                                 quint32(9 + copyright.size()),
                                 20, 20, 20, 44, 20, 20, 14, 14, 14, 786, 40};
        for (int i = 0; i < 13; ++i) {
            QCOMPARE(tags[i].signature, qFromBigEndian<quint32>(order[i]));
            QCOMPARE(tags[i].size, sizes[i]);
            QCOMPARE(tags[i].offset % 4, 0u);
        }
        QCOMPARE(tags[1].element, hex("74657874 00000000") + copyright + QByteArray(1, '\0'));
        QCOMPARE(tags[8].element, hex("63757276 00000000 00000001 0233"));
        QCOMPARE(tags[12].element, hex("6D6D6F64 00000000 00003E56 00001234") + QByteArray(24, '\0'));
        QCOMPARE(fixedValues(tags[7].element), (QVector<qint32>{0, 65536, 0}));
    }

    void fixtureTags_data()
    {
        QTest::addColumn<int>("fixture");
        QTest::addColumn<QVector<qint32>>("colorants");
        QTest::addColumn<QVector<qint32>>("chad");
        QTest::addColumn<double>("lumi");
        const QVector<qint32> srgbColorants{28575, 14578, 911, 25238, 46986, 6362,
                                            9376, 3973, 46787};
        const QVector<qint32> srgbChad{68671, 1501, -3290, 1936, 64914, -1119, -606, 988, 49264};
        QTest::newRow("sRGB") << 1 << srgbColorants << srgbChad << 1.0;
        QTest::newRow("sRGB x120") << 120 << srgbColorants << srgbChad << 120.0;
        QTest::newRow("wide") << 0
                              << QVector<qint32>{36329, 18110, 1901, 18142, 44146, 5692,
                                                 8718, 3280, 46468}
                              << QVector<qint32>{72853, 3866, 1764, 6157, 60478, 217,
                                                 858, -1759, 84672}
                              << 120.0;
    }
    void fixtureTags()
    {
        QFETCH(int, fixture);
        QFETCH(QVector<qint32>, colorants);
        QFETCH(QVector<qint32>, chad);
        QFETCH(double, lumi);
        const Fixture f = fixture ? srgbFixture(fixture) : wideFixture();
        const QByteArray profile = writeFixture(f);
        QVERIFY(openProfile(profile));

        QVector<qint32> written;
        for (const char *sig : {"rXYZ", "gXYZ", "bXYZ"})
            written += fixedValues(tagElement(profile, sig));
        compareFixed(written, colorants);
        compareFixed(fixedValues(tagElement(profile, "chad")), chad);
        compareFixed(fixedValues(tagElement(profile, "wtpt")), {63190, 65536, 54061});
        compareFixed(fixedValues(tagElement(profile, "lumi")), {0, s15(lumi), 0});

        // The same values as the program's own Bradford adaptation.
        CCIEXYZ r = f.red, g = f.green, b = f.blue, w = f.white;
        CBradford bradford;
        QCOMPARE(bradford.fill_in_c_matrix(&r, &g, &b, &w), 0);
        bradford.get_result_matrix(&r, &g, &b);
        double m[9];
        bradford.get_bradford_matrix(m);
        QVector<qint32> ours;
        for (const CCIEXYZ &c : {r, g, b})
            ours << s15(c.X) << s15(c.Y) << s15(c.Z);
        compareFixed(written, ours);
        QVector<qint32> oursChad;
        for (double v : m)
            oursChad << s15(v);
        compareFixed(fixedValues(tagElement(profile, "chad")), oursChad);
    }

    void littleCmsTransform_data()
    {
        QTest::addColumn<int>("fixture");
        QTest::newRow("sRGB") << 1;
        QTest::newRow("wide") << 0;
    }
    void littleCmsTransform()
    {
        QFETCH(int, fixture);
        const Fixture f = fixture ? srgbFixture(1) : wideFixture();
        const QByteArray bytes = writeFixture(f);
        ProfileHandle profile = openProfile(bytes);
        QVERIFY(profile);
        ProfileHandle xyz(cmsCreateXYZProfile());
        cmsHTRANSFORM transform = cmsCreateTransform(profile.get(), TYPE_RGB_DBL, xyz.get(),
                                                     TYPE_XYZ_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
        QVERIFY(transform);
        const cmsCIEXYZ rXYZ = readXYZ(profile.get(), cmsSigRedColorantTag);
        const cmsCIEXYZ gXYZ = readXYZ(profile.get(), cmsSigGreenColorantTag);
        const cmsCIEXYZ bXYZ = readXYZ(profile.get(), cmsSigBlueColorantTag);
        const cmsCIEXYZ wtpt = readXYZ(profile.get(), cmsSigMediaWhitePointTag);
        QVERIFY(near(transformed(transform, 1, 0, 0), rXYZ, 0.0005));
        QVERIFY(near(transformed(transform, 0, 1, 0), gXYZ, 0.0005));
        QVERIFY(near(transformed(transform, 0, 0, 1), bXYZ, 0.0005));
        QVERIFY(near(transformed(transform, 1, 1, 1), wtpt, 0.0005));
        cmsDeleteTransform(transform);

        // Undoing the adaptation gives back the primaries' chromaticities and
        // the display white at Y = 1.
        const auto *chad = static_cast<const double *>(cmsReadTag(profile.get(), cmsSigChromaticAdaptationTag));
        QVERIFY(chad);
        double inverse[9];
        QCOMPARE(CBradford::inverse(chad, inverse), 1);
        const cmsCIEXYZ adapted[3] = {rXYZ, gXYZ, bXYZ};
        const CCIEXYZ measured[3] = {f.red, f.green, f.blue};
        for (int c = 0; c < 3; ++c) {
            const double v[3] = {adapted[c].X, adapted[c].Y, adapted[c].Z};
            double back[3];
            CBradford::vect_mult(inverse, v, back);
            const _CIExy xy = CCIEXYZ(back[0], back[1], back[2]).GetCIExy();
            const _CIExy expected = measured[c].GetCIExy();
            QVERIFY(std::abs(xy.x - expected.x) <= 0.0005);
            QVERIFY(std::abs(xy.y - expected.y) <= 0.0005);
        }
        const double white[3] = {wtpt.X, wtpt.Y, wtpt.Z};
        double displayWhite[3];
        CBradford::vect_mult(inverse, white, displayWhite);
        QVERIFY(std::abs(displayWhite[0] - f.white.X / f.white.Y) <= 0.001);
        QVERIFY(std::abs(displayWhite[1] - 1.0) <= 0.001);
        QVERIFY(std::abs(displayWhite[2] - f.white.Z / f.white.Y) <= 0.001);
    }

    void descriptionText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("ascii");
        QTest::newRow("accents and Japanese") << QString::fromUtf8("Café 日本") << QByteArray("Caf? ??");
        QTest::newRow("outside the BMP") << QString::fromUtf8("a\U0001F600b") << QByteArray("a?b");
        QTest::newRow("empty") << QString() << QByteArray();
    }
    void descriptionText()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, ascii);
        ProfileRecords records;
        records.result.SetProfileDescription(text);
        CICCDisplayProfile writer(records.target, records.result, records.monitor, nullptr);
        QCOMPARE(writer.CreateProfileFile(true), 0);
        const QByteArray profile = fileBytes(writer.GetProfileNameAndPath());

        const int n = int(ascii.size());
        const int m = int(text.size());
        QByteArray expected = hex("64657363 00000000");
        expected += QByteArray::fromHex(QByteArray::number(n + 1, 16).rightJustified(8, '0'));
        expected += ascii + QByteArray(1, '\0') + hex("00000000");
        expected += QByteArray::fromHex(QByteArray::number(m + 1, 16).rightJustified(8, '0'));
        for (QChar unit : text)
            expected += QByteArray::fromHex(QByteArray::number(unit.unicode(), 16).rightJustified(4, '0'));
        expected += hex("0000 0000 00") + QByteArray(67, '\0');
        QCOMPARE(tagElement(profile, "desc"), expected);
        QCOMPARE(expected.size(), 93 + n + 2 * m);

        // Little CMS gives the ASCII part only.
        ProfileHandle h = openProfile(profile);
        QVERIFY(h);
        const auto *mlu = static_cast<const cmsMLU *>(cmsReadTag(h.get(), cmsSigProfileDescriptionTag));
        QVERIFY(mlu);
        char read[64] = {};
        cmsMLUgetASCII(mlu, cmsNoLanguage, cmsNoCountry, read, sizeof(read));
        QCOMPARE(QByteArray(read), ascii);
        wchar_t wide[64] = {};
        cmsMLUgetWide(mlu, cmsNoLanguage, cmsNoCountry, wide, sizeof(wide));
        QCOMPARE(QString::fromWCharArray(wide), QString::fromLatin1(ascii));
    }

    void toneCurveForms_data()
    {
        QTest::addColumn<int>("curveType");
        QTest::addColumn<bool>("allowGamma");
        QTest::addColumn<int>("entries");
        QTest::newRow("gamma target, calibration") << int(CTargetValue::kCurveGamma) << true << 1;
        QTest::newRow("gamma target, profiling") << int(CTargetValue::kCurveGamma) << false << 256;
        QTest::newRow("DICOM target, calibration") << int(CTargetValue::kCurveDICOM) << true << 256;
        QTest::newRow("native target, profiling") << int(CTargetValue::kCurveNative) << false << 256;
    }
    void toneCurveForms()
    {
        QFETCH(int, curveType);
        QFETCH(bool, allowGamma);
        QFETCH(int, entries);
        ProfileRecords records;
        records.target.m_GammaCurveType = curveType;
        // The measured response differs from the target's gamma 2.2.
        for (int c = 0; c < 3; ++c)
            records.result.m_ColorValue.m_Splines[CColorValue::kCorrectedRed + c] = gammaCurve(1.8 + 0.1 * c);
        const QByteArray profile = writeProfile(records, allowGamma);
        QVERIFY(openProfile(profile));
        const char *tags[] = {"rTRC", "gTRC", "bTRC"};
        for (int c = 0; c < 3; ++c) {
            const QByteArray trc = tagElement(profile, tags[c]);
            QCOMPARE(be32(trc, 8), quint32(entries));
            QCOMPARE(trc.size(), 12 + 2 * entries);
            if (entries == 1) {
                QCOMPARE(be16(trc, 12), quint16(0x0233));
                continue;
            }
            for (int i = 0; i < 256; ++i) {
                const double expected = std::pow(i / 255.0, 1.8 + 0.1 * c) * 65535.0;
                QVERIFY2(std::abs(be16(trc, 12 + 2 * i) - expected) <= 1.0,
                         qPrintable(QStringLiteral("channel %1 entry %2").arg(c).arg(i)));
            }
        }
    }

    // An HX monitor's engine holds the gamma in steps of 0.1; the profile
    // of its calibration gives the step, other monitors the target's gamma.
    void gammaOfAnHXCalibrationIsTheRegisterStep_data()
    {
        QTest::addColumn<quint32>("modelId");
        QTest::addColumn<double>("gamma");
        QTest::addColumn<int>("u8Fixed8");
        // The nearest u8Fixed8: 2.3 is 588.8 / 256, stored as 589 (0x024D).
        QTest::newRow("HX, 2.25: 2.3") << 0x563E2441u << 2.25 << 0x024D;
        QTest::newRow("HX, 2.35: 2.4") << 0x563E2442u << 2.35 << 0x0266;
        QTest::newRow("HX, 2.2: 2.2") << 0x563E2441u << 2.2 << 0x0233;
        QTest::newRow("other monitor, 2.25") << 0x563E1234u << 2.25 << 0x0240;
        QTest::newRow("other monitor, 2.3") << 0x563E1234u << 2.3 << 0x024D;
        QTest::newRow("other monitor, 1.8") << 0x563E1234u << 1.8 << 0x01CD;
    }
    void gammaOfAnHXCalibrationIsTheRegisterStep()
    {
        QFETCH(quint32, modelId);
        QFETCH(double, gamma);
        QFETCH(int, u8Fixed8);
        ProfileRecords records;
        records.monitor.m_ModelID = modelId;
        records.target.m_Gamma = gamma;
        const QByteArray profile = writeProfile(records, true);
        QVERIFY(openProfile(profile));
        for (const char *tag : {"rTRC", "gTRC", "bTRC"}) {
            const QByteArray trc = tagElement(profile, tag);
            QCOMPARE(be32(trc, 8), 1u);
            QCOMPARE(int(be16(trc, 12)), u8Fixed8);
        }
    }

    void withoutMeasuredResponseTheTargetCurveServes()
    {
        ProfileRecords records;
        records.result.m_ColorValue.m_Splines[CColorValue::kCorrectedGreen] = CSpline();
        records.result.m_ColorValue.m_TargetCurve = gammaCurve(2.4);
        const QByteArray profile = writeProfile(records, false);
        QVERIFY(openProfile(profile));
        for (const char *sig : {"rTRC", "gTRC", "bTRC"}) {
            const QByteArray trc = tagElement(profile, sig);
            QCOMPARE(be32(trc, 8), 256u);
            QVERIFY(std::abs(be16(trc, 12 + 2 * 128) - std::pow(128 / 255.0, 2.4) * 65535.0) <= 1.0);
        }
    }

    void unusableRecordsWriteNothing_data()
    {
        QTest::addColumn<int>("damage");
        QTest::newRow("no response, no target curve") << 0;
        QTest::newRow("white Y 0") << 1;
        QTest::newRow("white Y negative") << 2;
        QTest::newRow("white NaN") << 3;
        QTest::newRow("white infinite") << 4;
        QTest::newRow("singular primaries") << 5;
        QTest::newRow("gamma 0") << 6;
    }
    void unusableRecordsWriteNothing()
    {
        QFETCH(int, damage);
        ProfileRecords records;
        CColorValue &measured = records.result.m_ColorValue;
        CCIEXYZ &white = measured.m_FinalPatches[CColorValue::kWhitePatch];
        const double nan = std::numeric_limits<double>::quiet_NaN();
        switch (damage) {
        case 0:
            measured.m_Splines[CColorValue::kCorrectedBlue].SetValid(false);
            break;
        case 1:
            white.Y = 0.0;
            break;
        case 2:
            white.Y = -5.0;
            break;
        case 3:
            white.X = nan;
            break;
        case 4:
            white.Y = std::numeric_limits<double>::infinity();
            break;
        case 5:
            measured.m_FinalPatches[CColorValue::kGreenPatch] =
                measured.m_FinalPatches[CColorValue::kRedPatch];
            break;
        default:
            records.target.m_Gamma = 0.0;
            break;
        }
        int result = 0;
        writeProfile(records, damage == 6, &result);
        QCOMPARE(result, -2);
        QVERIFY(QDir(m_home->profileFolder()).isEmpty());
    }

    void curveEntriesAreClamped_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("entry");
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << 0;
        QTest::newRow("below 0") << -0.25 << 0;
        QTest::newRow("above 1") << 1.5 << 65535;
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 65535;
        QTest::newRow("half") << 0.5 << 32768;
        QTest::newRow("one step") << 1.0 / 65535 << 1;
    }
    void curveEntriesAreClamped()
    {
        QFETCH(double, value);
        QFETCH(int, entry);
        QCOMPARE(int(pz::curveEntry16(value)), entry);
    }

    void vcgtAfterACalibrationIsTheIdentity_data()
    {
        QTest::addColumn<bool>("recorded");
        QTest::newRow("identity ramp recorded") << true;
        // A ramp that could not be read: the identity, never a black table.
        QTest::newRow("no ramp recorded") << false;
    }
    void vcgtAfterACalibrationIsTheIdentity()
    {
        QFETCH(bool, recorded);
        ProfileRecords records;
        if (!recorded)
            for (int c = 0; c < 3; ++c)
                records.result.m_ColorValue.m_Splines[CColorValue::kCardRampRed + c] = CSpline();
        const QByteArray profile = writeProfile(records, true);
        QCOMPARE(tagElement(profile, "vcgt").left(18), hex("76636774 00000000 00000000 0003 0100 0001"));
        const QByteArray table = cookedVcgt(profile);
        QCOMPARE(table.size(), 768);
        for (int c = 0; c < 3; ++c)
            for (int i = 0; i < 256; ++i)
                QCOMPARE(uchar(table[c * 256 + i]) * 257, i * 257);
    }

    void vcgtAfterAProfilingRunHoldsTheCardRamp()
    {
        // A profiling run records the ramp it finds on the card in curves
        // 12-14; here another program left a ramp of its own in each
        // channel: gamma 1.2 in red, 0.8 in green, 90 % linear in blue.
        pz::SimDesktop desktop;
        desktop.addPlainDisplay(1, QRectF(0, 0, 1920, 1200), QByteArray());
        desktop.install();
        pz::GammaRampTables ramp;
        for (int i = 0; i < 256; ++i) {
            ramp.red.append(float(std::pow(i / 255.0, 1.2)));
            ramp.green.append(float(std::pow(i / 255.0, 0.8)));
            ramp.blue.append(float(0.9 * i / 255.0));
        }
        const QVector<float> *channels[3] = {&ramp.red, &ramp.green, &ramp.blue};
        QVERIFY(desktop.ramps().setRamp(1, ramp));
        ProfileRecords records;
        CSpline *card = &records.result.m_ColorValue.m_Splines[CColorValue::kCardRampRed];
        QCOMPARE(CVideoCardGamma(records.monitor).GetVideoCardGamma(card[0], card[1], card[2]), 0);

        const QByteArray table = cookedVcgt(writeProfile(records, false));
        QCOMPARE(table.size(), 768);
        for (int c = 0; c < 3; ++c) {
            for (int i = 0; i < 256; ++i) {
                const double loaded = std::lround(double((*channels[c])[i]) * 65535.0) / 65535.0;
                const int byte = uchar(table[c * 256 + i]);
                QCOMPARE(byte, int(loaded * 255.0 + 0.5));
                QVERIFY(std::abs(byte * 257 - loaded * 65535.0) <= 128.5);
            }
        }
    }

    void primarySource_data()
    {
        QTest::addColumn<int>("preference");
        QTest::addColumn<int>("automaticChoice");
        QTest::addColumn<bool>("edidRecorded");
        QTest::addColumn<bool>("factory");
        QTest::newRow("sensor") << 0 << 1 << true << false;
        QTest::newRow("factory") << 1 << 0 << true << true;
        QTest::newRow("factory without EDID primaries") << 1 << 0 << false << false;
        QTest::newRow("automatic: factory") << 2 << 1 << true << true;
        QTest::newRow("automatic: sensor") << 2 << 0 << true << false;
    }
    void primarySource()
    {
        QFETCH(int, preference);
        QFETCH(int, automaticChoice);
        QFETCH(bool, edidRecorded);
        QFETCH(bool, factory);
        m_home->preferences().SetPrimaryColorSource(quint8(preference));
        ProfileRecords records;
        records.result.SetAutomaticSensorColorPrimariesSource(char(automaticChoice));
        const Fixture edid = wideFixture();
        CColorValue &measured = records.result.m_ColorValue;
        if (edidRecorded) {
            measured.m_EDIDRed = CCIEXYZ(edid.red.GetCIExy());
            measured.m_EDIDGreen = CCIEXYZ(edid.green.GetCIExy());
            measured.m_EDIDBlue = CCIEXYZ(edid.blue.GetCIExy());
        }
        const QByteArray profile = writeProfile(records, true);

        Fixture used = srgbFixture(1);
        if (factory) {
            used.red = measured.m_EDIDRed;
            used.green = measured.m_EDIDGreen;
            used.blue = measured.m_EDIDBlue;
        }
        CBradford bradford;
        QCOMPARE(bradford.fill_in_c_matrix(&used.red, &used.green, &used.blue, &used.white), 0);
        CCIEXYZ r, g, b;
        bradford.get_result_matrix(&r, &g, &b);
        compareFixed(fixedValues(tagElement(profile, "rXYZ")), {s15(r.X), s15(r.Y), s15(r.Z)});
        compareFixed(fixedValues(tagElement(profile, "bXYZ")), {s15(b.X), s15(b.Y), s15(b.Z)});
    }
};

QTEST_GUILESS_MAIN(TestIccProfileContent)
#include "tst_icc_profile_content.moc"
