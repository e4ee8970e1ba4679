#include "CPreferences.h"
#include "HostSystem.h"
#include "PreferencesRegistry.h"
#include "RecordLayout.h"
#include "StringResources.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace pz;

namespace {

// Folders under a temporary directory; the profile folders are empty unless
// a test names them, so the default record carries a null path.
class TestHost : public IHostSystem {
public:
    QString prefs;
    QString userProfiles;
    QString computerProfiles;
    bool perUser = false;

    QString preferencesFolder() override { return prefs; }
    QString profileFolder(bool allUsers) override { return allUsers ? computerProfiles : userProfiles; }
    bool profilesAlwaysPerUser() override { return perUser; }
};

// The default record with a null profile path, laid out field by field.
const char *const kDefaultRecord =
    "0000feab 00000078"                          // magic, version 120
    "0e 02 01 01 02 20 01 00 01 00 01 01 00 01 01" // fields 3-17
    "0001869f 0001869f 0001869f 0001869f"        // two window positions (99999)
    "ffffffff"                                   // null profile folder
    "00 00 01 00 01 00 00 00 00 00 01 00 01 01"  // one-byte settings 1-14
    "01 01 01 01 01 00 00 00 00 00 00 00 00 01"  // one-byte settings 15-28
    "00000000";                                  // empty don't-show-again list

constexpr int kVersionOffset = 4;
constexpr int kRecalibrationPeriodOffset = 8;
constexpr int kCalibrationStepsOffset = 13;
constexpr int kStorageLocationOffset = 18;

// The 28 one-byte settings, in file order (fields 21 to 48).
using ByteSetting = quint8 CPreferences::*;
const ByteSetting kByteSettingsInFileOrder[28] = {
    &CPreferences::m_Information_Show_Gamut_Colorspace_Type,
    &CPreferences::m_Information_Show_Gamut_ShowBlackbodyCurve,
    &CPreferences::m_Information_Show_Gamut_ShowDisplayGamut,
    &CPreferences::m_Information_Show_Gamut_ShowAdobeRGBGamut,
    &CPreferences::m_Information_Show_Gamut_ShowsRGBGamut,
    &CPreferences::m_Information_Show_Gamut_ShowNTSCGamut,
    &CPreferences::m_Information_Show_Gamut_ShowSMPTECGamut,
    &CPreferences::m_Information_Show_Gamut_ShowHDTVGamut,
    &CPreferences::m_Information_Show_Gamut_ShowDigitalCinemaGamut,
    &CPreferences::m_Information_Show_ColorTracking_IncludeDarkValues,
    &CPreferences::m_Information_Show_ColorTracking_ShowAverage,
    &CPreferences::m_Information_Show_DICOM_GraphType,
    &CPreferences::m_Information_Show_DICOM_JNDperDDL_ShowAverage,
    &CPreferences::m_Information_Show_DICOM_JNDperDDL_ShowLinearFit,
    &CPreferences::m_Information_Show_DICOM_ContrastResponse_ShowBartenModel,
    &CPreferences::m_Information_Show_DICOM_ContrastResponse_ShowTenPercentLimits,
    &CPreferences::m_Information_Show_DICOM_ContrastResponse_ShowTwentyPercentLimits,
    &CPreferences::m_Information_Show_Curves_ShowTarget,
    &CPreferences::m_Information_Show_Curves_ShowCalibrated,
    &CPreferences::m_Information_Show_Curves_ShowUnCalibrated,
    &CPreferences::m_Information_Show_Curves_ShowCorrection,
    &CPreferences::m_Information_Show_Curves_ShowCurveColor,
    &CPreferences::m_ProfileSetDescriptionToFileName,
    &CPreferences::m_Information_Show_Gamut_Target_White_Point,
    &CPreferences::m_UseExtendedLuminanceStabilizationTime,
    &CPreferences::m_DelayGammaLoader,
    &CPreferences::m_Information_Show_Gamut_ShowTargetGamut,
    &CPreferences::m_UseColorSensorCorrection,
};

// Every setting a value of its own; the flags alternate, so that no two
// neighbouring flags agree.
void setDistinct(CPreferences &p, test::Distinct &d, const QString &profileFolder)
{
    p.m_RecalibrationPeriod = quint8(d.integer());
    p.m_PrimaryColorSource = quint8(d.integer());
    p.m_ICCAfterCalibration = true;
    p.m_AutoSaveICC = false;
    p.m_SensorType = 0x4200 + d.integer(); // only the low byte is stored
    p.m_CalibrationSteps = quint8(d.integer());
    p.m_CheckCalibrationStatusOnLaunch = quint8(d.integer());
    p.m_OSDLockLevel = quint8(d.integer());
    p.m_AverageLowLightMeasurements = quint8(d.integer());
    p.m_CalibrationPriority = quint8(d.integer());
    p.m_ProfileStorageLocation = quint8(d.integer());
    p.m_AutoLoadMCSOnTargetChange = true;
    p.m_LuminanceUnits = quint8(d.integer());
    p.m_SetProfileAsDefault = false;
    p.m_UseAutoLuminanceIfAvailable = true;
    p.m_MainWindowPosition = QPoint(d.integer(), -d.integer());
    p.m_InformationWindowPosition = QPoint(-d.integer(), d.integer());
    p.m_ICCProfileLocation = profileFolder;
    for (ByteSetting setting : kByteSettingsInFileOrder)
        p.*setting = quint8(d.integer());
    p.m_DontShowAgainMessages = {unsigned(d.integer()), unsigned(d.integer()) + 70000u,
                                 unsigned(d.integer())};
}

// The record at the offsets of its table.
QByteArray layoutOf(const CPreferences &p)
{
    test::RecordLayout l;
    l.i32(0, 0xFEAB)
        .i32(4, 120)
        .i8(8, qint8(p.m_RecalibrationPeriod))
        .i8(9, qint8(p.m_PrimaryColorSource))
        .boolean(10, p.m_ICCAfterCalibration)
        .boolean(11, p.m_AutoSaveICC)
        .i8(12, qint8(p.m_SensorType & 0xFF))
        .i8(13, qint8(p.m_CalibrationSteps))
        .i8(14, qint8(p.m_CheckCalibrationStatusOnLaunch))
        .i8(15, qint8(p.m_OSDLockLevel))
        .i8(16, qint8(p.m_AverageLowLightMeasurements))
        .i8(17, qint8(p.m_CalibrationPriority))
        .i8(18, qint8(p.m_ProfileStorageLocation))
        .boolean(19, p.m_AutoLoadMCSOnTargetChange)
        .i8(20, qint8(p.m_LuminanceUnits))
        .boolean(21, p.m_SetProfileAsDefault)
        .boolean(22, p.m_UseAutoLuminanceIfAvailable)
        .i32(23, p.m_MainWindowPosition.x())
        .i32(27, p.m_MainWindowPosition.y())
        .i32(31, p.m_InformationWindowPosition.x())
        .i32(35, p.m_InformationWindowPosition.y())
        .string(39, p.m_ICCProfileLocation);
    const qint64 bytes = 43 + 2 * p.m_ICCProfileLocation.size();
    for (int i = 0; i < 28; ++i)
        l.i8(bytes + i, qint8(p.*kByteSettingsInFileOrder[i]));
    l.i32(bytes + 28, p.m_DontShowAgainMessages.size());
    for (int i = 0; i < p.m_DontShowAgainMessages.size(); ++i)
        l.i32(bytes + 32 + 4 * i, qint32(p.m_DontShowAgainMessages[i]));
    return l.misplaced().isEmpty() ? l.bytes() : QByteArray();
}

void compareSettings(const CPreferences &actual, const CPreferences &expected)
{
    QCOMPARE(actual.m_Version, expected.m_Version);
    QCOMPARE(actual.m_RecalibrationPeriod, expected.m_RecalibrationPeriod);
    QCOMPARE(actual.m_PrimaryColorSource, expected.m_PrimaryColorSource);
    QCOMPARE(actual.m_ICCAfterCalibration, expected.m_ICCAfterCalibration);
    QCOMPARE(actual.m_AutoSaveICC, expected.m_AutoSaveICC);
    QCOMPARE(actual.m_SensorType, expected.m_SensorType);
    QCOMPARE(actual.m_CalibrationSteps, expected.m_CalibrationSteps);
    QCOMPARE(actual.m_CheckCalibrationStatusOnLaunch, expected.m_CheckCalibrationStatusOnLaunch);
    QCOMPARE(actual.m_OSDLockLevel, expected.m_OSDLockLevel);
    QCOMPARE(actual.m_AverageLowLightMeasurements, expected.m_AverageLowLightMeasurements);
    QCOMPARE(actual.m_CalibrationPriority, expected.m_CalibrationPriority);
    QCOMPARE(actual.m_ProfileStorageLocation, expected.m_ProfileStorageLocation);
    QCOMPARE(actual.m_AutoLoadMCSOnTargetChange, expected.m_AutoLoadMCSOnTargetChange);
    QCOMPARE(actual.m_LuminanceUnits, expected.m_LuminanceUnits);
    QCOMPARE(actual.m_SetProfileAsDefault, expected.m_SetProfileAsDefault);
    QCOMPARE(actual.m_UseAutoLuminanceIfAvailable, expected.m_UseAutoLuminanceIfAvailable);
    QCOMPARE(actual.m_MainWindowPosition, expected.m_MainWindowPosition);
    QCOMPARE(actual.m_InformationWindowPosition, expected.m_InformationWindowPosition);
    QCOMPARE(actual.m_ICCProfileLocation, expected.m_ICCProfileLocation);
    QCOMPARE(actual.m_ICCProfileLocation.isNull(), expected.m_ICCProfileLocation.isNull());
    for (int i = 0; i < 28; ++i)
        QCOMPARE(actual.*kByteSettingsInFileOrder[i], expected.*kByteSettingsInFileOrder[i]);
    QCOMPARE(actual.m_DontShowAgainMessages, expected.m_DontShowAgainMessages);
}

QByteArray recordOf(const CPreferences &p)
{
    return test::recordBytes([&](QDataStream &s) { QCOMPARE(p.WriteFile(s), 0); });
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray withVersion(QByteArray bytes, qint32 version)
{
    const QByteArray v = test::recordBytes([&](QDataStream &s) { s << version; });
    bytes.replace(kVersionOffset, 4, v);
    return bytes;
}

} // namespace

class TestPreferences : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    TestHost m_host;
    std::unique_ptr<ScopedHostSystem> m_scope;

    QString prefsFile() const { return m_host.prefs + "/" + GetStringResource(12); }
    void writePrefsFile(const QByteArray &bytes)
    {
        QFile f(prefsFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), qint64(bytes.size()));
    }
    // A record with every plain setting changed from its default.
    QByteArray changedRecord()
    {
        CPreferences p;
        p.SetRecalibrationPeriod(7);
        p.SetCalibrationSteps(16);
        p.SetLuminanceUnits(1);
        p.SetMainWindowPosition(QPoint(10, -20));
        p.SetICCProfileLocation("/some/where");
        p.SetInformation_Show_Gamut_ShowTargetGamut(1);
        p.SetDontShowAgainMessageSet(2);
        p.SetDontShowAgainMessageSet(3);
        return recordOf(p);
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_host = TestHost();
        m_host.prefs = m_dir.path();
        QFile::remove(prefsFile());
        m_scope = std::make_unique<ScopedHostSystem>(&m_host);
    }
    void cleanup() { m_scope.reset(); }

    void missingFileGivesDefaultsAndIsWrittenAtExit()
    {
        {
            CPreferences p;
            QCOMPARE(recordOf(p), test::hex(kDefaultRecord));
            QCOMPARE(p.ReadPreferencesData(), -1500);
            QVERIFY(!QFile::exists(prefsFile()));
            QVERIFY(p.DamagedFileKeptAs().isEmpty());
        }
        QFile f(prefsFile());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), test::hex(kDefaultRecord));
    }

    // Every setting with a value of its own at its offset: a writer or
    // reader that puts a field in another's place fails here.
    void distinctFieldsAtTheirOffsets_data()
    {
        QTest::addColumn<QString>("profileFolder");
        QTest::newRow("profile folder") << QString::fromUtf8("/Profiles/Ürlaub");
        QTest::newRow("empty profile folder") << QString(""); // written as 00000000
    }
    void distinctFieldsAtTheirOffsets()
    {
        QFETCH(QString, profileFolder);
        test::Distinct d;
        CPreferences written;
        setDistinct(written, d, profileFolder);
        const QByteArray layout = layoutOf(written);
        QVERIFY(!layout.isEmpty());
        QCOMPARE(recordOf(written).toHex(), layout.toHex());

        CPreferences read;
        setDistinct(read, d, QStringLiteral("/previous"));
        QCOMPARE(test::readRecordBytes(layout, [&](QDataStream &s) { QCOMPARE(read.ReadFile(s), 0); }),
                 QDataStream::Ok);
        written.m_SensorType &= 0xFF; // stored as its low byte
        compareSettings(read, written);
    }

    // A destroyed preferences object is no longer reachable as the
    // application's; destroying another leaves the registered one alone.
    void destroyedPreferencesAreUnregistered()
    {
        CPreferences kept;
        {
            CPreferences temporary;
            setApplicationPreferences(&temporary);
            QCOMPARE(applicationPreferences(), &temporary);
        }
        QCOMPARE(applicationPreferences(), static_cast<CPreferences *>(nullptr));

        ScopedPreferences scope(&kept);
        {
            CPreferences other;
        }
        QCOMPARE(applicationPreferences(), &kept);
    }

    void settingsSurviveARun()
    {
        {
            CPreferences p;
            p.SetSensorType(0x1234); // only the low byte is stored
            p.SetUseColorSensorCorrection(false);
            p.SetInformationWindowPosition(QPoint(-5, 7));
            p.SetICCProfileLocation(QString::fromUtf8("/Profiles/Ürlaub"));
            p.SetDontShowAgainMessageSet(5);
            p.SetDontShowAgainMessageSet(1);
            p.SetDontShowAgainMessageSet(5);
            QCOMPARE(p.m_DontShowAgainMessages, (QList<unsigned int>{5, 1}));
        }
        CPreferences p;
        QCOMPARE(p.ReadPreferencesData(), 0);
        QCOMPARE(p.m_SensorType, 0x34);
        QCOMPARE(p.m_UseColorSensorCorrection, quint8(0));
        QCOMPARE(p.m_InformationWindowPosition, QPoint(-5, 7));
        QCOMPARE(p.m_ICCProfileLocation, QString::fromUtf8("/Profiles/Ürlaub"));
        QVERIFY(p.IsDontShowAgainMessageSet(1));
        QVERIFY(!p.IsDontShowAgainMessageSet(2));
        QCOMPARE(p.m_DontShowAgainMessages, (QList<unsigned int>{5, 1}));
    }

    void readFallsBackToDefaults_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("result");
        const QByteArray changed = changedRecord();
        QByteArray magic = changed;
        magic[3] = char(0xAC);
        QTest::newRow("version 118") << withVersion(changed, 118) << -1501;
        QTest::newRow("negative version is not old") << withVersion(changed, -1) << 0;
        QTest::newRow("wrong magic") << magic << -1502;
        QTest::newRow("wrong magic, cut in the version") << magic.left(6) << -1502;
        QTest::newRow("cut in the list") << changed.left(changed.size() - 3) << -1503;
        QTest::newRow("cut in the path") << changed.left(40) << -1503;
        QTest::newRow("three bytes") << changed.left(3) << -1503;
        QByteArray hugeList = changed.left(changed.size() - 12);
        hugeList += test::hex("7fffffff 00000001");
        QTest::newRow("list count beyond the bound") << hugeList << -1503;
        QTest::newRow("version 121 read as 120") << withVersion(changed, 121) << 0;
    }
    void readFallsBackToDefaults()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, result);
        const QString keptAs = prefsFile() + ".bad";
        QFile::remove(keptAs);
        QFile::remove(keptAs + ".1");
        writePrefsFile(file);
        {
            CPreferences p;
            // A file that does not read is kept aside before anything can
            // write the defaults over it.
            QCOMPARE(QFile::exists(prefsFile()), result == 0);
            QCOMPARE(fileBytes(keptAs), result == 0 ? QByteArray() : file);
            // Where it went, for the notice the user gets.
            QCOMPARE(p.DamagedFileKeptAs(), result == 0 ? QString() : keptAs);
            writePrefsFile(file);
            QCOMPARE(p.ReadPreferencesData(), result);
            QCOMPARE(p.DamagedFileKeptAs(), result == 0 ? QString() : keptAs + ".1");
            if (result == 0) {
                QCOMPARE(p.m_CalibrationSteps, quint8(16));
                QCOMPARE(p.m_MainWindowPosition, QPoint(10, -20));
                QCOMPARE(p.m_DontShowAgainMessages, (QList<unsigned int>{2, 3}));
            } else {
                // Settings read before the failure are dropped as well.
                QCOMPARE(recordOf(p), test::hex(kDefaultRecord));
                QCOMPARE(fileBytes(keptAs + ".1"), file);
            }
        }
        // The exit writes the defaults; what was kept aside stays.
        if (result != 0) {
            QCOMPARE(fileBytes(prefsFile()), test::hex(kDefaultRecord));
            QCOMPARE(fileBytes(keptAs), file);
        }
    }

    void version119KeepsTheList()
    {
        // A version-119 record ends before the list.
        QByteArray old = withVersion(changedRecord(), 119);
        old.chop(4 + 2 * 4);
        QFile::remove(prefsFile());
        CPreferences p;
        p.SetDontShowAgainMessageSet(9);
        QCOMPARE(test::readRecordBytes(old, [&](QDataStream &s) { QCOMPARE(p.ReadFile(s), 0); }),
                 QDataStream::Ok);
        QCOMPARE(p.m_RecalibrationPeriod, quint8(7));
        QCOMPARE(p.m_Information_Show_Gamut_ShowTargetGamut, quint8(1));
        QCOMPARE(p.m_DontShowAgainMessages, QList<unsigned int>{9});

        writePrefsFile(old);
        CPreferences fromFile;
        QCOMPARE(fromFile.m_LuminanceUnits, quint8(1));
        QVERIFY(fromFile.m_DontShowAgainMessages.isEmpty());
    }

    // Every grey-ramp computation divides by steps - 1.
    void tooFewCalibrationStepsAreReplaced_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("read");
        QTest::newRow("0") << 0 << 32;
        QTest::newRow("1") << 1 << 32;
        QTest::newRow("2") << 2 << 2;
        QTest::newRow("52") << 52 << 52;
        QTest::newRow("255") << 255 << 255;
    }
    void tooFewCalibrationStepsAreReplaced()
    {
        QFETCH(int, stored);
        QFETCH(int, read);
        QByteArray bytes = test::hex(kDefaultRecord);
        bytes[kCalibrationStepsOffset] = char(stored);
        writePrefsFile(bytes);
        CPreferences p;
        QCOMPARE(int(p.m_CalibrationSteps), read);
    }

    void profileStorageLocation_data()
    {
        QTest::addColumn<bool>("perUser");
        QTest::addColumn<int>("location");
        QTest::addColumn<QString>("folder");
        QTest::newRow("stored choice") << false << 1 << "/computer/icc";
        QTest::newRow("always per user") << true << 0 << "/user/icc";
    }
    void profileStorageLocation()
    {
        QFETCH(bool, perUser);
        QFETCH(int, location);
        QFETCH(QString, folder);
        m_host.perUser = perUser;
        m_host.userProfiles = "/user/icc";
        m_host.computerProfiles = "/computer/icc";
        CPreferences p;
        QCOMPARE(int(p.GetProfileStorageLocation()), location);
        QCOMPARE(p.GetICCProfileLocation(), folder);
        QCOMPARE(p.m_ICCProfileLocation, folder);
        // The file keeps the stored choice.
        p.SetICCProfileLocation("/elsewhere");
        QCOMPARE(p.GetICCProfileLocation(), folder);
        QCOMPARE(int(recordOf(p).at(kStorageLocationOffset)), 1);
    }

    void unknownFolderWritesNothing()
    {
        m_host.prefs.clear();
        const QString bare = QDir::current().filePath(GetStringResource(12));
        {
            CPreferences p;
            QVERIFY(p.GetPreferencesFileNameAndPath().isEmpty());
            QCOMPARE(p.ReadPreferencesData(), -1500);
            QCOMPARE(p.WritePreferencesData(), -1500);
        }
        QVERIFY(!QFile::exists(bare));
        QVERIFY(!QFile::exists("/" + GetStringResource(12)));
    }

    void unwritableFolderKeepsOldFile()
    {
        writePrefsFile(changedRecord());
        {
            CPreferences p;
            QCOMPARE(p.m_RecalibrationPeriod, quint8(7));
            p.SetRecalibrationPeriod(28);
            // A folder that cannot exist: its parent is a regular file. The
            // destructor's write fails the same way.
            m_host.prefs = prefsFile() + "/sub";
            QCOMPARE(p.WritePreferencesData(), -1500);
        }
        m_host.prefs = m_dir.path();
        CPreferences p;
        QCOMPARE(p.m_RecalibrationPeriod, quint8(7));
    }

    // Mutated and cut records never crash the reader, and whatever it
    // accepts is usable.
    void fuzzReadFile()
    {
        const QByteArray base = changedRecord();
        m_host.prefs.clear(); // no file traffic for the thousands of objects
        QRandomGenerator rng(20261210);
        for (int round = 0; round < 3000; ++round) {
            QByteArray bytes = base;
            const int flips = 1 + int(rng.bounded(6));
            for (int i = 0; i < flips; ++i)
                bytes[int(rng.bounded(bytes.size()))] = char(rng.bounded(256));
            if (rng.bounded(3) == 0)
                bytes.truncate(int(rng.bounded(bytes.size() + 1)));
            CPreferences p;
            int result = 1;
            test::readRecordBytes(bytes, [&](QDataStream &s) { result = p.ReadFile(s); });
            QVERIFY(result == 0 || result == -1501 || result == -1502 || result == -1503);
            if (result == 0) {
                QVERIFY(p.m_CalibrationSteps >= 2);
                QVERIFY(p.m_DontShowAgainMessages.size() <= CPreferences::kMaxDontShowAgainMessages);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
