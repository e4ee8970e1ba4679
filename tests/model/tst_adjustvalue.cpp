// The calibration result record and the calibration-settings (.mcs) file.

#include "CAdjustValue.h"
#include "CTargetValue.h"
#include "CalibrationSettingsFile.h"
#include "RecordFixtures.h"
#include "TestSupport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using pz::test::hex;
using pz::test::readRecordBytes;
using pz::test::recordBytes;

namespace {

QByteArray zeros(int n) { return QByteArray(n, '\0'); }

// A curve as a fresh CSpline writes it: kind 5, range 0..1, tension 1,
// bias 0, not valid, no points.
QByteArray emptySplineRecord()
{
    return hex("0000fade 00000065 00000005") + zeros(8) + hex("3ff0000000000000 3ff0000000000000")
           + zeros(8) + hex("00 00000000");
}

QByteArray defaultColorValueRecord()
{
    QByteArray bytes = hex("0000beef 00000068");
    bytes += zeros(5 * 24);          // final patches
    bytes += hex("00000000 00000000"); // no final, no uncorrected grey steps
    bytes += zeros(10 * 24);         // adjusted and native patches
    for (int i = 0; i < 15; ++i)
        bytes += emptySplineRecord();
    bytes += zeros(3 * 24);          // EDID primaries
    bytes += emptySplineRecord();    // target curve
    const QByteArray one = hex("3ff0000000000000");
    bytes += one + zeros(24) + one + zeros(24) + one; // identity matrix
    bytes += hex("00");
    return bytes;
}

// CTargetValue::CreateDefault: D65 as x,y, maximum luminance, gamma 2.2.
QByteArray defaultTargetRecord()
{
    return hex("20746774 00000066"
               "0000fadf 00000065 00 3fd40346dc5d6388 3fd50e5604189375 00" // white point
               "4069000000000000 3fd3333333333333 400199999999999a"        // 200, 0.3, 2.2
               "00000001 00000002 00000002"                                // types
               "3ff0000000000000 00 00"                                    // DICOM factor, flags
               "0000000e 0044 0065 0066 0061 0075 006c 0074"                // "Default"
               "00000000 00000000")                                        // contrast, gamut
           + zeros(3 * 24 + 8 + 16);
}

// CAdjustValue defaults, with the date and time field given.
QByteArray defaultResultRecord(const QByteArray &dateTime)
{
    return hex("deadfade 00000072"
               "0000007f 0000007f 0000007f 0000007f 0000007f 0000007f 0000007f 0000007f 00000000"
               "00 0000000000000000 00000000"     // calibration on, hours, preset
               "00000000 00000000"                // monitor name, serial (empty)
               "00 00 0000 0000 0000 0000"        // sources, duration, aux shorts
               "00000000 00000000 00000000"       // sensor model, serial, vendor-product id
               "00000000 00000000 00")            // profile name, description, auto luminance
           + dateTime + hex("00000000") + zeros(14 * 2) + defaultColorValueRecord();
}

const char *kNullDateTime = "00000000 ffffffff ff";
// 2026-12-10 14:30:15.250 local time: Julian day, milliseconds, and the
// spec byte Qt writes for a local time at this stream version.
const char *kLocalDateTime = "00258ec9 031cbdd2 ff";
const QDateTime kLocalWhen(QDate(2026, 12, 10), QTime(14, 30, 15, 250));

CAdjustValue filledResult()
{
    CAdjustValue r;
    r.m_Brightness = 300; // 16-bit members, 32-bit stream fields
    r.m_Contrast = 12;
    r.m_RedGain = 250;
    r.m_GreenGain = 251;
    r.m_BlueGain = 252;
    r.m_AuxControl4 = 9;
    r.m_ColorPreset = 5;
    r.SetMonitorName("Orvane HX241");
    r.SetMonitorSerial("SN-0042");
    r.SetProfileName("HX241 D65 2.20.icc");
    r.SetProfileDescription("Office");
    r.SetSensorModelName("i1 Display Pro");
    r.SetSensorSerial("777");
    r.m_MonitorVendorProductID = 0x3E8A1234;
    r.SetAutoLuminanceState(CAdjustValue::AUTO_LUMINANCE_MODE_3);
    r.SetCalibrationDateTime(kLocalWhen);
    r.SetIsCalibrationOn(true);
    r.SetIsHoursOnWhenCalibrated(1234.5);
    r.m_ByteList = {1, 0xff, 7};
    r.SetAutomaticSensorColorPrimariesSource(1);
    r.SetRGBGainOperationMode(-2);
    r.m_CalibrationDuration = -25536; // 40000 s in 16 bits
    r.m_AuxShort1 = 1;
    r.m_AuxShort2 = -2;
    r.m_AuxShort3 = 3;
    for (int i = 0; i < CAdjustValue::kMonitorSpecificValueCount; ++i)
        r.m_MonitorSpecificValues[i] = static_cast<qint16>(100 * i - 700);
    r.m_ColorValue.m_FinalGreySteps.push_back(CCIEXYZ(1, 2, 3));
    return r;
}

// A record read back against the one written: every member, but for the
// validity that only the reader sets.
void compareReadBack(const CAdjustValue &read, const CAdjustValue &written)
{
    CAdjustValue expected(written);
    expected.m_IsValid = read.m_IsValid;
    pz::test::compareResults(read, expected);
}

// The record of a filled result at an older version: the version field
// replaced and, below 114, the fourteen colour-engine values left out.
QByteArray recordAtVersion(const CAdjustValue &r, quint32 version)
{
    QByteArray bytes = recordBytes([&](QDataStream &s) { s << r; });
    const QByteArray colorValue = recordBytes([&](QDataStream &s) { s << r.m_ColorValue; });
    if (version < 114)
        bytes.remove(bytes.size() - colorValue.size() - 28, 28);
    QDataStream patch(&bytes, QIODevice::ReadWrite);
    patch.device()->seek(4);
    patch << version;
    return bytes;
}

QDataStream::Status readInto(const QByteArray &bytes, CAdjustValue &r)
{
    return readRecordBytes(bytes, [&](QDataStream &s) { s >> r; });
}

} // namespace

class TestAdjustValue : public QObject {
    Q_OBJECT

private slots:
    void defaultMcsMatchesFixture_data();
    void defaultMcsMatchesFixture();
    void readerAcceptsEveryLocalTimeSpecByte_data();
    void readerAcceptsEveryLocalTimeSpecByte();
    void roundTripKeepsEveryField();
    void distinctFieldsAtTheirOffsets();
    void olderRecordsResetColourEngineValues();
    void olderReadDoesNotLockOutNewerRecords();
    void refusedRecordsChangeNothing_data();
    void refusedRecordsChangeNothing();
    void byteListCountKeepsLow16Bits();
    void corruptRecordsAreRefusedSafely();
    void mcsFileRoundTripAndFailures();
    void mcsKeepsAStoredCurveKind();
    void mcsGammaTargetKeepsTheReadersCurve();
};

void TestAdjustValue::defaultMcsMatchesFixture_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QByteArray>("dateTimeBytes");
    QTest::newRow("null date and time") << QDateTime() << hex(kNullDateTime);
    QTest::newRow("local date and time") << kLocalWhen << hex(kLocalDateTime);
}

void TestAdjustValue::defaultMcsMatchesFixture()
{
    QFETCH(QDateTime, when);
    QFETCH(QByteArray, dateTimeBytes);
    CTargetValue target;
    target.CreateDefault();
    CAdjustValue result;
    result.SetCalibrationDateTime(when);

    const QByteArray expected = defaultTargetRecord() + defaultResultRecord(dateTimeBytes);
    const QByteArray written =
        recordBytes([&](QDataStream &s) { pz::writeCalibrationSettings(s, target, result); });
    QCOMPARE(written.toHex(), expected.toHex());

    CTargetValue readTarget;
    CAdjustValue readResult;
    QCOMPARE(readRecordBytes(expected,
                             [&](QDataStream &s) {
                                 pz::readCalibrationSettings(s, readTarget, readResult);
                             }),
             QDataStream::Ok);
    QVERIFY(readTarget == target);
    QCOMPARE(readTarget.m_Name, QString("Default"));
    QVERIFY(readResult.m_IsValid);
    QCOMPARE(readResult.m_Version, 114u);
    QCOMPARE(readResult.m_CalibrationDateTime, when);
    QVERIFY(!readResult.GetMonitorName().isNull()); // empty strings stay empty, not null
    compareReadBack(readResult, result);
}

void TestAdjustValue::readerAcceptsEveryLocalTimeSpecByte_data()
{
    QTest::addColumn<QByteArray>("specByte");
    QTest::newRow("00 standard time") << hex("00");
    QTest::newRow("01 daylight time") << hex("01");
    QTest::newRow("ff local") << hex("ff");
}

void TestAdjustValue::readerAcceptsEveryLocalTimeSpecByte()
{
    QFETCH(QByteArray, specByte);
    QByteArray dateTime = hex(kLocalDateTime);
    dateTime[8] = specByte[0];
    CAdjustValue r;
    QCOMPARE(readInto(defaultResultRecord(dateTime), r), QDataStream::Ok);
    QVERIFY(r.m_IsValid);
    QCOMPARE(r.m_CalibrationDateTime.timeSpec(), Qt::LocalTime);
    QCOMPARE(r.m_CalibrationDateTime, kLocalWhen);
}

void TestAdjustValue::roundTripKeepsEveryField()
{
    const CAdjustValue original = filledResult();
    const CAdjustValue copy(original);
    CAdjustValue read;
    QCOMPARE(readInto(recordBytes([&](QDataStream &s) { s << copy; }), read), QDataStream::Ok);
    QVERIFY(read.m_IsValid);
    compareReadBack(read, original);
    QCOMPARE(read.m_Brightness, quint16(300));
    QCOMPARE(read.m_CalibrationDuration, qint16(-25536));
}

// Every field with a value of its own at its offset: a writer or reader
// that puts a field in another's place fails here.
void TestAdjustValue::distinctFieldsAtTheirOffsets()
{
    pz::test::Distinct d;
    CAdjustValue written = pz::test::distinctResult(d);
    written.SetCalibrationDateTime(kLocalWhen);
    pz::test::RecordLayout layout;
    const qint64 end = pz::test::layResult(layout, 0, written, hex(kLocalDateTime));
    QCOMPARE(layout.end(), end);
    QVERIFY(layout.misplaced().isEmpty());
    QCOMPARE(recordBytes([&](QDataStream &s) { s << written; }).toHex(), layout.bytes().toHex());

    CAdjustValue read;
    QCOMPARE(readInto(layout.bytes(), read), QDataStream::Ok);
    CAdjustValue expected(written);
    expected.m_IsValid = true;
    pz::test::compareResults(read, expected);
}

void TestAdjustValue::olderRecordsResetColourEngineValues()
{
    // A reused object that last held a newer record's values must not carry
    // them into an older record, which has none.
    CAdjustValue r = filledResult();
    CAdjustValue older = filledResult();
    older.SetMonitorName("older");
    QCOMPARE(readInto(recordAtVersion(older, 113), r), QDataStream::Ok);
    QVERIFY(r.m_IsValid);
    QCOMPARE(r.m_Version, 113u);
    QCOMPARE(r.GetMonitorName(), QString("older"));
    for (qint16 value : r.m_MonitorSpecificValues)
        QCOMPARE(value, qint16(0));
    QCOMPARE(r.m_ColorValue.m_FinalGreySteps.size(), older.m_ColorValue.m_FinalGreySteps.size());

    // Every older version reads with the same layout.
    CAdjustValue ancient;
    QCOMPARE(readInto(recordAtVersion(older, 0), ancient), QDataStream::Ok);
    QCOMPARE(ancient.m_Version, 0u);
}

void TestAdjustValue::olderReadDoesNotLockOutNewerRecords()
{
    CAdjustValue r;
    QCOMPARE(readInto(recordAtVersion(filledResult(), 113), r), QDataStream::Ok);
    QCOMPARE(r.m_Version, 113u);
    QCOMPARE(readInto(recordBytes([&](QDataStream &s) { s << filledResult(); }), r), QDataStream::Ok);
    QVERIFY(r.m_IsValid);
    QCOMPARE(r.m_Version, 114u);
    QCOMPARE(r.m_MonitorSpecificValues[13], qint16(600));
}

void TestAdjustValue::refusedRecordsChangeNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = recordBytes([&](QDataStream &s) { s << filledResult(); });
    QTest::newRow("version 115") << recordAtVersion(filledResult(), 115);
    QByteArray wrongMagic = good;
    wrongMagic[3] = char(0xdf);
    QTest::newRow("wrong magic") << wrongMagic;
    QTest::newRow("truncated in the strings") << good.left(60);
    QTest::newRow("truncated in the measurements") << good.left(good.size() - 10);
    QTest::newRow("empty") << QByteArray();
}

void TestAdjustValue::refusedRecordsChangeNothing()
{
    QFETCH(QByteArray, bytes);
    CAdjustValue r;
    r.SetMonitorName("kept");
    r.m_Brightness = 42;
    r.m_IsValid = true;
    QVERIFY(readInto(bytes, r) != QDataStream::Ok);
    QVERIFY(!r.m_IsValid);
    QCOMPARE(r.GetMonitorName(), QString("kept"));
    QCOMPARE(r.m_Brightness, quint16(42));
    QCOMPARE(r.m_Version, 114u);
}

void TestAdjustValue::byteListCountKeepsLow16Bits()
{
    // A count of 65537 is read as 1: one byte follows.
    CAdjustValue source;
    source.m_ByteList = {0x5a};
    QByteArray bytes = recordBytes([&](QDataStream &s) { s << source; });
    const int countAt = bytes.indexOf(hex("00000001 5a"));
    QVERIFY(countAt > 0);
    bytes[countAt + 1] = 1;
    CAdjustValue r;
    QCOMPARE(readInto(bytes, r), QDataStream::Ok);
    QCOMPARE(r.m_ByteList, std::vector<unsigned char>{0x5a});

    // A list longer than the 16-bit count is written as its first 65535
    // bytes, so the record stays readable.
    CAdjustValue huge;
    huge.m_ByteList.assign(70000, 3);
    CAdjustValue back;
    QCOMPARE(readInto(recordBytes([&](QDataStream &s) { s << huge; }), back), QDataStream::Ok);
    QCOMPARE(back.m_ByteList.size(), std::size_t(65535));
}

void TestAdjustValue::corruptRecordsAreRefusedSafely()
{
    // Seeded mutations of a filled record: flipped bytes, cuts and inserted
    // junk. Each read either succeeds or reports a non-Ok status and leaves
    // the object as it was; the sanitizers watch the rest.
    const QByteArray good = recordBytes([&](QDataStream &s) { s << filledResult(); });
    QRandomGenerator random(20261210);
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes = good;
        const int edits = 1 + random.bounded(4);
        for (int e = 0; e < edits; ++e) {
            const int at = random.bounded(bytes.size());
            switch (random.bounded(3)) {
            case 0: bytes[at] = char(random.bounded(256)); break;
            case 1: bytes.truncate(at); break;
            default: bytes.insert(at, QByteArray(1 + random.bounded(8), char(0xff))); break;
            }
            if (bytes.isEmpty())
                break;
        }
        CAdjustValue r;
        r.SetMonitorName("before");
        if (readInto(bytes, r) != QDataStream::Ok) {
            QVERIFY(!r.m_IsValid);
            QCOMPARE(r.GetMonitorName(), QString("before"));
        }
    }
}

void TestAdjustValue::mcsFileRoundTripAndFailures()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("HX241 SN-0042.mcs");
    CTargetValue target;
    target.CreateDefault();
    target.m_ContrastRatio = 500;
    const CAdjustValue result = filledResult();
    QCOMPARE(pz::WriteCalibrationSettingsFile(path, target, result), 0);

    CTargetValue readTarget;
    CAdjustValue readResult;
    QCOMPARE(pz::ReadCalibrationSettingsFile(path, readTarget, readResult), 0);
    QVERIFY(readTarget == target);
    QVERIFY(readResult.m_IsValid);
    compareReadBack(readResult, result);

    // A cut file is refused and changes neither object.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    file.close();
    const QString cutPath = dir.filePath("cut.mcs");
    QFile cut(cutPath);
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(whole.left(whole.size() - 1));
    cut.close();
    CTargetValue keptTarget;
    CAdjustValue keptResult;
    keptResult.SetMonitorName("kept");
    QCOMPARE(pz::ReadCalibrationSettingsFile(cutPath, keptTarget, keptResult), -1503);
    QCOMPARE(keptTarget.m_Name, QString("blank"));
    QCOMPARE(keptResult.GetMonitorName(), QString("kept"));

    QCOMPARE(pz::ReadCalibrationSettingsFile(dir.filePath("missing.mcs"), keptTarget, keptResult),
             -1500);
    // A folder that cannot exist (its parent is a file): nothing written.
    QCOMPARE(pz::WriteCalibrationSettingsFile(path + "/inner.mcs", target, result), -1500);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), whole);
}

// A custom curve stored with kind 5 (a curve never given a kind) reads back
// with that kind, so rewriting the file gives the same bytes.
void TestAdjustValue::mcsKeepsAStoredCurveKind()
{
    pz::test::Distinct d;
    CTargetValue target = pz::test::distinctTarget(d, true);
    CSpline kindless; // kind 5
    kindless.AddPoint(Point2D{0.0, 0.0});
    kindless.AddPoint(Point2D{1.0, 1.0});
    target.m_CustomCurve.CopyFrom(kindless);
    QCOMPARE(target.m_CustomCurve.GetSplineType(), SPLINE_NONE);
    const QByteArray bytes = recordBytes(
        [&](QDataStream &s) { pz::writeCalibrationSettings(s, target, pz::test::distinctResult(d)); });

    CTargetValue readTarget;
    CAdjustValue readResult;
    QCOMPARE(readRecordBytes(bytes,
                             [&](QDataStream &s) {
                                 pz::readCalibrationSettings(s, readTarget, readResult);
                             }),
             QDataStream::Ok);
    QCOMPARE(readTarget.m_CustomCurve.GetSplineType(), SPLINE_NONE);
    const QByteArray again = recordBytes(
        [&](QDataStream &s) { pz::writeCalibrationSettings(s, readTarget, readResult); });
    QCOMPARE(again.toHex(), bytes.toHex());
}

// A stored target without a custom curve leaves the caller's custom curve
// and subtype as they were, as the target reader does.
void TestAdjustValue::mcsGammaTargetKeepsTheReadersCurve()
{
    pz::test::Distinct d;
    const CTargetValue stored = pz::test::distinctTarget(d, false);
    const QByteArray bytes = recordBytes(
        [&](QDataStream &s) { pz::writeCalibrationSettings(s, stored, pz::test::distinctResult(d)); });

    CTargetValue target = pz::test::distinctTarget(d, true);
    const CTargetValue before(target);
    CAdjustValue result;
    QCOMPARE(readRecordBytes(bytes,
                             [&](QDataStream &s) { pz::readCalibrationSettings(s, target, result); }),
             QDataStream::Ok);
    CTargetValue expected(stored);
    expected.m_CustomCurve.CopyFrom(before.m_CustomCurve);
    expected.m_CustomCurveType = before.m_CustomCurveType;
    pz::test::compareTargets(target, expected);
}

QTEST_GUILESS_MAIN(TestAdjustValue)
#include "tst_adjustvalue.moc"
