#include "CAdjustValue.h"
#include "CTargetValue.h"
#include "CalibrationSettingsFile.h"
#include "RecordFixtures.h"
#include "StringResources.h"
#include "TestSupport.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <limits>
#include <csignal>
#include <sys/resource.h>

using pz::test::hex;

namespace {

// The default target, field by field.
const char *const kDefaultRecord =
    "20746774 00000066"
    "0000fadf 00000065 00 0000000000000000 0000000000000000 00" // white point
    "0000000000000000"                                          // intensity
    "3fd3333333333333"                                          // aux value 0.3
    "0000000000000000"                                          // gamma
    "00000003 00000002 00000002"                                // intensity, aux, curve type
    "3ff0000000000000 00 00"                                    // DICOM factor, flags
    "0000000a 0062006c0061006e006b"                             // "blank"
    "00000000 00000000"                                         // contrast, gamut
    "000000000000000000000000000000000000000000000000"          // red
    "000000000000000000000000000000000000000000000000"          // green
    "000000000000000000000000000000000000000000000000"          // blue
    "00000000 00000000 0000000000000000 0000000000000000";

// CreateDefault on a default target.
const char *const kCreateDefaultRecord =
    "20746774 00000066"
    "0000fadf 00000065 00 3fd40346dc5d6388 3fd50e5604189375 00" // D65 as x, y
    "4069000000000000"                                          // 200 cd/m²
    "3fd3333333333333"
    "400199999999999a"                                          // gamma 2.2
    "00000001 00000002 00000002"
    "3ff0000000000000 00 00"
    "0000000e 00440065006600610075006c0074"                     // "Default"
    "00000000 00000000"
    "000000000000000000000000000000000000000000000000"
    "000000000000000000000000000000000000000000000000"
    "000000000000000000000000000000000000000000000000"
    "00000000 00000000 0000000000000000 0000000000000000";

QByteArray bytesOf(const CTargetValue &t)
{
    return pz::test::recordBytes([&](QDataStream &s) { s << t; });
}

CTargetValue customCurveTarget()
{
    CTargetValue t;
    t.CreateDefault();
    t.m_GammaCurveType = CTargetValue::kCurveCustom;
    t.m_CustomCurveType = CTargetValue::kCustomLStar;
    t.m_CustomCurve.InitSpline(SPLINE_CATMULL_ROM, 17, 0.0, 1.0);
    t.m_CustomCurve.SetSplineGamma(2.4);
    t.m_CustomCurve.SetValid(true);
    t.m_Name = QStringLiteral("L* target");
    return t;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestTargetValue : public QObject {
    Q_OBJECT
private slots:
    void defaultRecord()
    {
        const CTargetValue t;
        QCOMPARE(bytesOf(t), hex(kDefaultRecord));
        QCOMPARE(t.m_CustomCurve.GetNumberOfPoints(), 256);
        QVERIFY(t.m_CustomCurve.IsValid());
        QVERIFY(!t.IsValidValue()); // gamma 0
    }

    void createDefaultRecord()
    {
        CTargetValue t;
        t.m_ContrastRatio = 0;
        QCOMPARE(t.CreateDefault(), 0);
        QCOMPARE(bytesOf(t), hex(kCreateDefaultRecord));
        QVERIFY(t.IsValidValue());
        QCOMPARE(t.GetWhitePointString(), QStringLiteral("D65"));

        // What CreateDefault leaves alone.
        CTargetValue kept;
        kept.m_ContrastRatio = 800;
        kept.m_AuxValue = 0.7;
        kept.m_AuxFlag = true;
        kept.m_DICOMScaleFactor = 2.0;
        kept.m_UseDICOMScaleFactor = true;
        kept.m_CustomCurveType = CTargetValue::kCustomSRGB;
        kept.m_AuxInt1 = 9;
        kept.CreateDefault();
        QCOMPARE(kept.m_ContrastRatio, 800);
        QCOMPARE(kept.m_AuxValue, 0.7);
        QVERIFY(kept.m_AuxFlag);
        QCOMPARE(kept.m_DICOMScaleFactor, 2.0);
        QVERIFY(kept.m_UseDICOMScaleFactor);
        QCOMPARE(kept.m_CustomCurveType, 1);
        QCOMPARE(kept.m_AuxInt1, 0);
    }

    void customCurveRoundTrip()
    {
        const CTargetValue t = customCurveTarget();
        const QByteArray bytes = bytesOf(t);
        // The subtype and the curve follow the curve type.
        QCOMPARE(bytes.mid(66, 4), hex("00000004"));
        QCOMPARE(bytes.mid(70, 4), hex("00000004"));
        QCOMPARE(bytes.mid(74, 4), hex("0000fade"));
        CTargetValue back;
        QCOMPARE(pz::test::readRecordBytes(bytes, [&](QDataStream &s) { s >> back; }),
                 QDataStream::Ok);
        QCOMPARE(back.m_CustomCurveType, int(CTargetValue::kCustomLStar));
        QVERIFY(back.m_CustomCurve == t.m_CustomCurve);
        QCOMPARE(back.m_CustomCurve.GetY(8), std::pow(0.5, 2.4));
        QVERIFY(back == t);
        QCOMPARE(back.m_Name, t.m_Name);
        QCOMPARE(bytesOf(back), bytes);

        // A stored curve keeps the kind it was stored with (5 here, which
        // assignment maps to 4), so the record reads back byte for byte.
        QByteArray kind5 = bytes;
        kind5[74 + 11] = 5;
        CTargetValue back5;
        QCOMPARE(pz::test::readRecordBytes(kind5, [&](QDataStream &s) { s >> back5; }),
                 QDataStream::Ok);
        QCOMPARE(back5.m_CustomCurve.GetSplineType(), SPLINE_NONE);
        QCOMPARE(bytesOf(back5), kind5);
    }

    // Every field with a value of its own at its offset: a writer or reader
    // that puts a field in another's place fails here.
    void distinctFieldsAtTheirOffsets_data()
    {
        QTest::addColumn<bool>("customCurve");
        QTest::newRow("custom curve, free-form white point") << true;
        QTest::newRow("gamma, kelvin white point") << false;
    }
    void distinctFieldsAtTheirOffsets()
    {
        QFETCH(bool, customCurve);
        pz::test::Distinct d;
        const CTargetValue written = pz::test::distinctTarget(d, customCurve);
        pz::test::RecordLayout layout;
        const qint64 end = pz::test::layTarget(layout, 0, written);
        QCOMPARE(layout.end(), end);
        QVERIFY(layout.misplaced().isEmpty());
        QCOMPARE(bytesOf(written).toHex(), layout.bytes().toHex());

        // The reader's own custom curve and subtype differ from the record's;
        // a record without a curve leaves them.
        CTargetValue read = pz::test::distinctTarget(d, true);
        CTargetValue expected(written);
        if (!customCurve) {
            expected.m_CustomCurve.CopyFrom(read.m_CustomCurve);
            expected.m_CustomCurveType = read.m_CustomCurveType;
        }
        QCOMPARE(pz::test::readRecordBytes(layout.bytes(), [&](QDataStream &s) { s >> read; }),
                 QDataStream::Ok);
        pz::test::compareTargets(read, expected);
    }

    void gammaRecordKeepsReadersCurve()
    {
        CTargetValue written;
        written.CreateDefault();
        CTargetValue reader = customCurveTarget();
        const CSpline before = reader.m_CustomCurve;
        QCOMPARE(pz::test::readRecordBytes(bytesOf(written), [&](QDataStream &s) { s >> reader; }),
                 QDataStream::Ok);
        QCOMPARE(reader.m_GammaCurveType, int(CTargetValue::kCurveGamma));
        QCOMPARE(reader.m_CustomCurveType, int(CTargetValue::kCustomLStar));
        QVERIFY(reader.m_CustomCurve == before);
        QCOMPARE(reader.m_Name, QStringLiteral("Default"));
    }

    void files()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.tgt"));
        const CTargetValue t = customCurveTarget();
        QCOMPARE(t.WriteFile(path), 0);
        QCOMPARE(fileBytes(path), bytesOf(t));
        QVERIFY(CTargetValue::IsValidFile(path));
        CTargetValue back;
        QCOMPARE(back.ReadFile(path), 0);
        QVERIFY(back == t);

        QCOMPARE(back.ReadFile(dir.filePath(QStringLiteral("missing.tgt"))), -1500);
        QVERIFY(!CTargetValue::IsValidFile(dir.filePath(QStringLiteral("missing.tgt"))));
        QCOMPARE(t.WriteFile(dir.filePath(QStringLiteral("no/such/dir/t.tgt"))), -1500);

        const QString empty = dir.filePath(QStringLiteral("empty.tgt"));
        writeFile(empty, QByteArray());
        QCOMPARE(back.ReadFile(empty), -1503);
        QVERIFY(!CTargetValue::IsValidFile(empty));
    }

    // A write that fails on the way (here: the file size limit) reports
    // -1504 and leaves the previous file as it was, without leftovers.
    void failedWriteKeepsOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.tgt"));
        CTargetValue old;
        old.CreateDefault();
        QCOMPARE(old.WriteFile(path), 0);
        const QByteArray oldBytes = fileBytes(path);
        QVERIFY(oldBytes.size() < 1024);

        CTargetValue larger = customCurveTarget();
        larger.m_CustomCurve.InitSpline(SPLINE_CATMULL_ROM, 256, 0.0, 1.0); // over 4 KiB
        QVERIFY(bytesOf(larger).size() > 1024);
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const int result = larger.WriteFile(path);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QCOMPARE(result, -1504);
        QCOMPARE(fileBytes(path), oldBytes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("t.tgt")});
    }

    // Damaged files give -1503, change neither the target nor the file.
    void corruptFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("validFile");
        const QByteArray good = bytesOf(customCurveTarget());
        QByteArray v101 = good;
        v101[7] = 0x65;
        QTest::newRow("version 101") << v101 << true;
        QByteArray v103 = good;
        v103[7] = 0x67;
        QTest::newRow("version 103") << v103 << true;
        QByteArray magic = good;
        magic[0] = 'X';
        QTest::newRow("wrong magic") << magic << false;
        QTest::newRow("truncated in the curve") << good.left(400) << true;
        QTest::newRow("truncated at the end") << good.left(good.size() - 1) << true;
        QTest::newRow("only the magic") << good.left(4) << true;
        QByteArray points = good;
        points.replace(74 + 45, 4, hex("7fffffff"));
        QTest::newRow("absurd point count") << points << true;
        QByteArray name = good;
        const int nameAt = good.indexOf(hex("00000012 004c002a"));
        QVERIFY(nameAt > 0);
        name.replace(nameAt, 4, hex("7ffffff0"));
        QTest::newRow("absurd name length") << name << true;
        QByteArray whiteMagic = good;
        whiteMagic[11] = 0x00;
        QTest::newRow("white point magic") << whiteMagic << true;
    }
    void corruptFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, validFile);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.tgt"));
        writeFile(path, bytes);

        CTargetValue target;
        target.CreateDefault();
        target.m_Name = QStringLiteral("current");
        const QByteArray before = bytesOf(target);
        QCOMPARE(target.ReadFile(path), -1503);
        QCOMPARE(bytesOf(target), before);
        QCOMPARE(CTargetValue::IsValidFile(path), validFile);
        QCOMPARE(fileBytes(path), bytes);
    }

    // A record whose figures are not all numbers is damaged for both
    // readers that load a target into the program: the target file and the
    // calibration-settings file.
    void figuresThatAreNotNumbers_data()
    {
        QTest::addColumn<int>("field");
        QTest::newRow("intensity nan") << 0;
        QTest::newRow("gamma inf") << 1;
        QTest::newRow("DICOM factor -inf") << 2;
        QTest::newRow("white point y nan") << 3;
        QTest::newRow("custom blue x inf") << 4;
        QTest::newRow("custom curve point nan") << 5;
    }
    void figuresThatAreNotNumbers()
    {
        QFETCH(int, field);
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        CTargetValue bad = customCurveTarget();
        switch (field) {
        case 0: bad.m_Intensity = nan; break;
        case 1: bad.m_Gamma = inf; break;
        case 2: bad.m_DICOMScaleFactor = -inf; break;
        case 3: bad.m_WhitePoint = CColorTemperature(_CIExy{0.31, nan}); break;
        case 4: bad.m_CustomBlue.x = inf; break;
        default: bad.m_CustomCurve.SetXY(1, 0.5, nan); break;
        }
        QVERIFY(!bad.HasFiniteValues());
        QVERIFY(customCurveTarget().HasFiniteValues());
        QTemporaryDir dir;
        const QString tgt = dir.filePath(QStringLiteral("bad.tgt"));
        QCOMPARE(bad.WriteFile(tgt), 0);
        CTargetValue target;
        target.CreateDefault();
        const QByteArray before = bytesOf(target);
        QCOMPARE(target.ReadFile(tgt), -1503);
        QCOMPARE(bytesOf(target), before);

        const QString mcs = dir.filePath(QStringLiteral("bad.mcs"));
        CAdjustValue result;
        result.SetMonitorSerial(QStringLiteral("kept"));
        QCOMPARE(pz::WriteCalibrationSettingsFile(mcs, bad, CAdjustValue()), 0);
        QCOMPARE(pz::ReadCalibrationSettingsFile(mcs, target, result), -1503);
        QCOMPARE(bytesOf(target), before);
        QCOMPARE(result.GetMonitorSerial(), QStringLiteral("kept"));
    }

    void mutatedRecordsFuzz()
    {
        const QByteArray good = bytesOf(customCurveTarget());
        QRandomGenerator rng(1082);
        CTargetValue reference;
        reference.CreateDefault();
        const QByteArray referenceBytes = bytesOf(reference);
        for (int round = 0; round < 1500; ++round) {
            QByteArray bytes = good;
            const int edits = 1 + int(rng.bounded(4));
            for (int e = 0; e < edits && !bytes.isEmpty(); ++e) {
                const int at = int(rng.bounded(qint64(bytes.size())));
                if (rng.bounded(4) == 0)
                    bytes.truncate(at);
                else
                    bytes[at] = char(rng.bounded(256));
            }
            CTargetValue t = reference;
            const QDataStream::Status st =
                pz::test::readRecordBytes(bytes, [&](QDataStream &s) { s >> t; });
            if (st != QDataStream::Ok)
                QCOMPARE(bytesOf(t), referenceBytes);
            t.IsValidValue();
            t.GetGammaCurveString(true);
            t.GetColorGamutString();
            t.GetTargetBlackLevelString();
        }
    }

    void validity_data()
    {
        QTest::addColumn<int>("curveType");
        QTest::addColumn<double>("gamma");
        QTest::addColumn<int>("intensityType");
        QTest::addColumn<double>("intensity");
        QTest::addColumn<bool>("valid");
        QTest::newRow("gamma 1.0") << 2 << 1.0 << 3 << 120.0 << true;
        QTest::newRow("gamma 3.0") << 2 << 3.0 << 3 << 120.0 << true;
        QTest::newRow("gamma 0.99") << 2 << 0.99 << 3 << 120.0 << false;
        QTest::newRow("gamma 3.01") << 2 << 3.01 << 3 << 120.0 << false;
        QTest::newRow("gamma nan") << 2 << qQNaN() << 3 << 120.0 << false;
        QTest::newRow("gamma inf") << 2 << qInf() << 3 << 120.0 << false;
        QTest::newRow("gamma ignored for DICOM") << 3 << 0.0 << 3 << 120.0 << true;
        QTest::newRow("negative level") << 2 << 2.2 << 3 << -1.0 << false;
        QTest::newRow("negative with maximum") << 2 << 2.2 << 1 << -1.0 << true;
        QTest::newRow("level nan") << 2 << 2.2 << 3 << qQNaN() << false;
        QTest::newRow("level inf") << 2 << 2.2 << 3 << qInf() << false;
        QTest::newRow("level zero") << 2 << 2.2 << 3 << 0.0 << true;
    }
    void validity()
    {
        QFETCH(int, curveType);
        QFETCH(double, gamma);
        QFETCH(int, intensityType);
        QFETCH(double, intensity);
        QFETCH(bool, valid);
        CTargetValue t;
        t.CreateDefault();
        t.m_GammaCurveType = curveType;
        t.m_Gamma = gamma;
        t.m_IntensityType = intensityType;
        t.m_Intensity = intensity;
        QCOMPARE(t.IsValidValue(), valid);
    }

    void customCurveValidity()
    {
        CTargetValue t = customCurveTarget();
        QVERIFY(t.IsValidValue());
        t.m_CustomCurve.InitSpline(SPLINE_CATMULL_ROM, 0, 0, 1);
        t.m_CustomCurve.AddPoint(Point2D{0, 0});
        QVERIFY(!t.IsValidValue());
        t.m_CustomCurve.AddPoint(Point2D{1, qQNaN()});
        QVERIFY(!t.IsValidValue());
        t.m_CustomCurve.SetXY(1, 1.0, 1.0);
        QVERIFY(t.IsValidValue());

        CTargetValue custom;
        custom.CreateDefault();
        custom.m_ColorGamutType = CTargetValue::kGamutCustom;
        custom.SetCustomColorGamutValues(CCIEYxy(1, 0.64, 0.33), CCIEYxy(1, 0.3, 0.6),
                                         CCIEYxy(1, 0.15, qQNaN()));
        QVERIFY(!custom.IsValidValue());

        CTargetValue white;
        white.CreateDefault();
        white.m_WhitePoint = CColorTemperature(_CIExy{qQNaN(), 0.33});
        QVERIFY(!white.IsValidValue());
        white.m_WhitePoint.m_Native = true; // a native white point has no chromaticity
        QVERIFY(white.IsValidValue());

        CTargetValue dicom;
        dicom.CreateDefault();
        dicom.m_GammaCurveType = CTargetValue::kCurveDICOM;
        dicom.m_DICOMScaleFactor = qInf();
        QVERIFY(dicom.IsValidValue()); // factor not in use
        dicom.m_UseDICOMScaleFactor = true;
        QVERIFY(!dicom.IsValidValue());
    }

    void texts()
    {
        CTargetValue t;
        t.CreateDefault();
        t.m_GammaCurveType = CTargetValue::kCurveNative;
        t.m_ContrastRatio = 500;
        QCOMPARE(t.GetContrastRatioString(), QStringLiteral("Monitor Default"));
        t.m_GammaCurveType = CTargetValue::kCurveGamma;
        QCOMPARE(t.GetContrastRatioString(), QStringLiteral("500:1"));
        t.m_ContrastRatio = 0;
        QCOMPARE(t.GetContrastRatioString(), QStringLiteral("Monitor Default"));

        t.m_ContrastRatio = 500;
        QCOMPARE(t.GetTargetIntensityString(true), QStringLiteral("Maximum"));
        QCOMPARE(t.GetTargetBlackLevelString(), QString());
        t.m_IntensityType = CTargetValue::kIntensityLevel;
        t.m_Intensity = 120.0;
        QCOMPARE(t.GetTargetIntensityString(false), QStringLiteral("120.0"));
        QCOMPARE(t.GetTargetIntensityString(true), QStringLiteral("120.0 cd/m") + QChar(0xB2));
        QCOMPARE(t.GetTargetBlackLevelString(), QStringLiteral("0.24 cd/m") + QChar(0xB2));
        t.m_IntensityType = 2;
        QCOMPARE(t.GetTargetIntensityString(true), QString());

        QCOMPARE(t.GetGammaCurveString(false), QStringLiteral("2.20"));
        t.m_GammaCurveType = CTargetValue::kCurveDICOM;
        QCOMPARE(t.GetGammaCurveString(false), QStringLiteral("DICOM"));
        t.m_GammaCurveType = 7;
        QCOMPARE(t.GetGammaCurveString(false), QString());

        t.m_ColorGamutType = CTargetValue::kGamutSRGB;
        QCOMPARE(t.GetColorGamutString(), GetStringResource(1002));
        t.m_ColorGamutType = CTargetValue::kGamutCRT;
        QCOMPARE(t.GetColorGamutString(), GetStringResource(1009));
        t.m_ColorGamutType = CTargetValue::kGamutCustom;
        QCOMPARE(t.GetColorGamutString(), GetStringResource(1001));
        t.m_ColorGamutType = static_cast<CTargetValue::typeColorGamutType>(42);
        QCOMPARE(t.GetColorGamutString(), GetStringResource(1000));
    }

    void customCurveTexts_data()
    {
        QTest::addColumn<int>("subtype");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("none") << 0 << "None" << "None";
        QTest::newRow("sRGB") << 1 << "sRGB" << "sRGB";
        QTest::newRow("NTSC") << 2 << "NTSC/SMPTE-170M" << "NTSC SMPTE-170M";
        QTest::newRow("240M") << 3 << "SMPTE-240M" << "SMPTE-240M";
        QTest::newRow("L*") << 4 << "L*" << "Lstar";
        QTest::newRow("custom") << 5 << "Custom Curve" << "Custom Curve";
        QTest::newRow("unknown") << 6 << "" << "";
    }
    void customCurveTexts()
    {
        QFETCH(int, subtype);
        QFETCH(QString, display);
        QFETCH(QString, fileName);
        CTargetValue t = customCurveTarget();
        t.m_CustomCurveType = subtype;
        QCOMPARE(t.GetGammaCurveString(false), display);
        QCOMPARE(t.GetGammaCurveString(true), fileName);
    }

    void equality()
    {
        CTargetValue a;
        a.CreateDefault();
        CTargetValue b = a;
        b.m_Name = QStringLiteral("other");
        b.m_AuxValue = 0.9;
        b.m_AuxInt2 = 5;
        b.m_Intensity = 50; // intensity type 1: not compared
        QVERIFY(a == b);

        CTargetValue native1 = a, native2 = a;
        native1.m_GammaCurveType = native2.m_GammaCurveType = CTargetValue::kCurveNative;
        native1.m_ContrastRatio = 100;
        native2.m_ContrastRatio = 900;
        QVERIFY(native1 == native2);
        a.m_ContrastRatio = 100;
        QVERIFY(a != native1);

        CTargetValue custom = a, preset = a;
        custom.m_ColorGamutType = CTargetValue::kGamutCustom;
        preset.m_ColorGamutType = CTargetValue::kGamutSRGB;
        QVERIFY(custom != preset);
        QVERIFY(preset != custom);
        CTargetValue custom2 = custom;
        custom2.m_CustomGreen = CCIEYxy(0.05, 0.00005, -0.00005);
        QVERIFY(custom == custom2);
        custom2.m_CustomGreen = CCIEYxy(0, 0.0002, 0);
        QVERIFY(custom != custom2);

        CTargetValue level1 = a, level2 = a;
        level1.m_IntensityType = level2.m_IntensityType = CTargetValue::kIntensityLevel;
        level1.m_Intensity = level2.m_Intensity = qQNaN();
        QVERIFY(level1 != level2);

        CTargetValue dicom1 = a, dicom2 = a;
        dicom1.m_GammaCurveType = dicom2.m_GammaCurveType = CTargetValue::kCurveDICOM;
        dicom1.m_DICOMScaleFactor = 2;
        QVERIFY(dicom1 == dicom2);
        dicom1.m_UseDICOMScaleFactor = dicom2.m_UseDICOMScaleFactor = true;
        QVERIFY(dicom1 != dicom2);

        CTargetValue curve1 = customCurveTarget(), curve2 = customCurveTarget();
        QVERIFY(curve1 == curve2);
        curve2.m_CustomCurve.SetY(3, 0.5);
        QVERIFY(curve1 != curve2);
        curve2 = curve1;
        curve2.m_CustomCurveType = CTargetValue::kCustomCurve;
        QVERIFY(curve1 != curve2);

        CTargetValue k = a;
        k.m_WhitePoint = CColorTemperature(static_cast<unsigned short>(6500));
        QVERIFY(k != a);
    }

    void copyKeepsEverything()
    {
        CTargetValue t = customCurveTarget();
        t.m_AuxInt1 = 7;
        t.m_AuxInt2 = 8;
        t.m_AuxDouble1 = 1.5;
        t.m_AuxDouble2 = 2.5;
        const CTargetValue copy(t);
        CTargetValue assigned;
        assigned = t;
        QCOMPARE(copy.m_AuxInt1, 7);
        QCOMPARE(assigned.m_AuxInt2, 8);
        QCOMPARE(assigned.m_AuxDouble1, 1.5);
        QCOMPARE(copy.m_AuxDouble2, 2.5);
        QCOMPARE(bytesOf(copy), bytesOf(t));
        QCOMPARE(bytesOf(assigned), bytesOf(t));
    }

    void debugLine()
    {
        CTargetValue t;
        t.CreateDefault();
        QString text;
        QDebug(&text) << t << "next";
        QCOMPARE(text, QStringLiteral("CTargetValue( name=\"Default\" m_Gamma=2.2 WhitePoint=\"D65\" "
                                      "GammaCurve=\"2.20\" ContrastRatio=\"Monitor Default\" "
                                      "TargetIntensity=\"Maximum\" ColorGamutType=0) next "));
    }
};

QTEST_GUILESS_MAIN(TestTargetValue)
#include "tst_targetvalue.moc"
