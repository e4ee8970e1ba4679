// Profiles written from real runs on the simulated desktop: an HX
// calibration and a profiling run of the simulated HX monitor with the
// simulated i1 Display Pro, each written as the main window writes it,
// reopened with Little CMS and assigned to the display.

#include "CBradford.h"
#include "CICCDisplayProfile.h"
#include "CIccIO.h"
#include "CIccTagvcgt.h"
#include "CalibrateThread_HXSeries.h"
#include "CalibrationRig.h"
#include "DisplayProfiles.h"
#include "ProfileFixture.h"
#include "TestSupport.h"

#include <QtEndian>
#include <QtTest>
#include <cmath>
#include <iterator>

using namespace pz;
using namespace pz::test;

namespace {

// One run on the rig, in a temporary home whose preferences ask for a
// 32-step profile measurement after calibrating.
struct RunBench {
    explicit RunBench(std::unique_ptr<CalibrateThread> t) : thread(std::move(t))
    {
        home.preferences().SetCalibrationSteps(32);
        home.preferences().SetICCAfterCalibration(true);
    }
    void start()
    {
        rig.attach(*thread);
        thread->SetTargetValue(target);
        log = std::make_unique<ThreadSignalLog>(*thread);
    }
    bool run(unsigned operation)
    {
        return CalibrationRig::runToEnd(*thread, *log, operation)
               && log->entries.last() == QLatin1String("CalibrationComplete()");
    }
    // Writes the run's profile as the main window does; its bytes, or
    // nothing when the writer failed.
    QByteArray writeProfile(bool allowGammaTRC, QString *path = nullptr)
    {
        profile = std::make_unique<CICCDisplayProfile>(target, thread->m_AdjustValue,
                                                        rig.display.GetMonitorData(), nullptr);
        profile->GenerateDefaultFileNameandDescription();
        profile->DisAssociateCurrentColorProfile();
        if (profile->CreateProfileFile(allowGammaTRC) != 0)
            return QByteArray();
        if (path)
            *path = profile->GetProfileNameAndPath();
        return fileBytes(profile->GetProfileNameAndPath());
    }

    ProfileHome home;   // before the thread: it reads the preferences
    CTargetValue target = standardTarget();
    CalibrationRig rig;
    ScopedDisplayProfiles profilesScope{&rig.rig.desk.profiles()};
    std::unique_ptr<CalibrateThread> thread;
    std::unique_ptr<ThreadSignalLog> log;
    std::unique_ptr<CICCDisplayProfile> profile;
};

// The tags of every profile the writer produces, in their order.
const char *const kTagOrder[] = {"desc", "cprt", "rXYZ", "gXYZ", "bXYZ", "chad", "wtpt",
                                 "lumi", "rTRC", "gTRC", "bTRC", "vcgt", "mmod"};

void verifyTagOrder(const QByteArray &bytes)
{
    const QVector<TagEntry> tags = tagTable(bytes);
    QCOMPARE(tags.size(), int(std::size(kTagOrder)));
    for (int i = 0; i < tags.size(); ++i)
        QCOMPARE(tags[i].signature, qFromBigEndian<quint32>(kTagOrder[i]));
}

// How far, relatively, the luminance the profile predicts for each grey
// level of the run's final ramp from 64 to 192 lies from the measured one,
// black removed from both: the largest miss, with the level it occurs at.
QPair<double, int> worstGreyMiss(const QByteArray &bytes, const CColorValue &record)
{
    ProfileHandle profile = openProfile(bytes);
    if (!profile)
        return {1e9, -1};
    const cmsTagSignature trcTags[3] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
    const cmsTagSignature colorantTags[3] = {cmsSigRedColorantTag, cmsSigGreenColorantTag,
                                             cmsSigBlueColorantTag};
    const cmsToneCurve *trc[3];
    double weight[3];
    double weights = 0.0;
    for (int c = 0; c < 3; ++c) {
        trc[c] = static_cast<const cmsToneCurve *>(cmsReadTag(profile.get(), trcTags[c]));
        if (!trc[c])
            return {1e9, -1};
        weight[c] = readXYZ(profile.get(), colorantTags[c]).Y;
        weights += weight[c];
    }
    const QVector<CCIEXYZ> &steps = record.m_FinalGreySteps;
    const int n = int(steps.size());
    if (n < 2)
        return {1e9, -1};
    const double black = steps.first().Y;
    const double white = steps.last().Y;
    QPair<double, int> worst{0.0, -1};
    for (int i = 0; i < n; ++i) {
        const int level = int(i / double(n - 1) * 255.0 + 0.5);
        if (level < 64 || level > 192)
            continue;
        const double measured = (steps[i].Y - black) / (white - black);
        double predicted = 0.0;
        for (int c = 0; c < 3; ++c)
            predicted += weight[c] * cmsEvalToneCurveFloat(trc[c], cmsFloat32Number(level / 255.0));
        predicted /= weights;
        const double miss = std::abs(predicted - measured) / measured;
        if (miss > worst.first)
            worst = {miss, level};
    }
    return worst;
}

} // namespace

class TestIccProfileEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void afterAnHXCalibration();
    void hxProfilesDescribeTheDisplayAsLeft_data();
    void hxProfilesDescribeTheDisplayAsLeft();
    void afterAProfilingRun();
};

void TestIccProfileEndToEnd::afterAnHXCalibration()
{
    RunBench bench(std::make_unique<CalibrateThread_HXSeries>());
    bench.start();
    QVERIFY(bench.run(CalibrateThread::OPERATION_CALIBRATE));
    QString path;
    const QByteArray bytes = bench.writeProfile(true, &path);
    QVERIFY(!bytes.isEmpty());
    QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("HXSIM24 SIM0001.icc"));
    ProfileHandle profile = openProfile(bytes);
    QVERIFY(profile);

    // Little CMS maps the device primaries and white to the colorant and
    // white point tags.
    ProfileHandle xyz(cmsCreateXYZProfile());
    cmsHTRANSFORM transform = cmsCreateTransform(profile.get(), TYPE_RGB_DBL, xyz.get(),
                                                 TYPE_XYZ_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
    QVERIFY(transform);
    const cmsCIEXYZ colorants[3] = {readXYZ(profile.get(), cmsSigRedColorantTag),
                                    readXYZ(profile.get(), cmsSigGreenColorantTag),
                                    readXYZ(profile.get(), cmsSigBlueColorantTag)};
    const cmsCIEXYZ wtpt = readXYZ(profile.get(), cmsSigMediaWhitePointTag);
    const double unit[4][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}};
    for (int i = 0; i < 4; ++i) {
        cmsCIEXYZ out;
        cmsDoTransform(transform, unit[i], &out, 1);
        QVERIFY2(near(out, i < 3 ? colorants[i] : wtpt, 0.0005), qPrintable(QString::number(i)));
    }
    cmsDeleteTransform(transform);

    // Undoing the adaptation gives the measured primaries' chromaticities
    // and the measured white.
    const CColorValue &record = bench.thread->m_AdjustValue.m_ColorValue;
    const auto *chad = static_cast<const double *>(cmsReadTag(profile.get(), cmsSigChromaticAdaptationTag));
    QVERIFY(chad);
    double inverse[9];
    QCOMPARE(CBradford::inverse(chad, inverse), 1);
    const int patches[3] = {CColorValue::kRedPatch, CColorValue::kGreenPatch, CColorValue::kBluePatch};
    for (int c = 0; c < 3; ++c) {
        const double v[3] = {colorants[c].X, colorants[c].Y, colorants[c].Z};
        double back[3];
        CBradford::vect_mult(inverse, v, back);
        const _CIExy xy = CCIEXYZ(back[0], back[1], back[2]).GetCIExy();
        const _CIExy measured = record.m_FinalPatches[patches[c]].GetCIExy();
        QVERIFY(std::abs(xy.x - measured.x) <= 0.0005);
        QVERIFY(std::abs(xy.y - measured.y) <= 0.0005);
    }
    const CCIEXYZ &white = record.m_FinalPatches[CColorValue::kWhitePatch];
    const double w[3] = {wtpt.X, wtpt.Y, wtpt.Z};
    double displayWhite[3];
    CBradford::vect_mult(inverse, w, displayWhite);
    QVERIFY(std::abs(displayWhite[0] - white.X / white.Y) <= 0.001);
    QVERIFY(std::abs(displayWhite[1] - 1.0) <= 0.001);
    QVERIFY(std::abs(displayWhite[2] - white.Z / white.Y) <= 0.001);
    // The calibrated white sits on the target.
    const _CIExy reached = white.GetCIExy();
    QVERIFY(std::abs(reached.x - 0.3127) <= 0.0005 && std::abs(reached.y - 0.3290) <= 0.0005);
    const auto *lumi = static_cast<const cmsCIEXYZ *>(cmsReadTag(profile.get(), cmsSigLuminanceTag));
    QVERIFY(lumi && std::abs(lumi->Y - white.Y) < 0.01);

    verifyTagOrder(bytes);
    // A gamma target: one gamma value per curve; the card was reset to the
    // identity, and the table says so.
    QCOMPARE(tagElement(bytes, "rTRC"), hex("63757276 00000000 00000001 0233"));
    const QByteArray table = cookedVcgt(bytes);
    QCOMPARE(table.size(), 768);
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 256; ++i)
            QCOMPARE(int(uchar(table[c * 256 + i])), i);

    // Assigned to the display it was made for.
    QCOMPARE(bench.profile->AssociateColorProfile(), 0);
    QCOMPARE(bench.rig.rig.desk.profiles().assignedPath(CalibrationRig::kDisplay), path);
    QCOMPARE(bench.rig.rig.desk.profiles().assignedProfile(CalibrationRig::kDisplay), bytes);
}

void TestIccProfileEndToEnd::hxProfilesDescribeTheDisplayAsLeft_data()
{
    QTest::addColumn<double>("gamma");
    QTest::addColumn<int>("u8Fixed8");
    QTest::newRow("2.2") << 2.2 << 0x0233;
    // Between two steps of the monitor's gamma register: the display
    // follows 2.3, and so must the profile, with the u8Fixed8 nearest to
    // it (588.8 / 256 stored as 589).
    QTest::newRow("2.25") << 2.25 << 0x024D;
}

void TestIccProfileEndToEnd::hxProfilesDescribeTheDisplayAsLeft()
{
    QFETCH(double, gamma);
    QFETCH(int, u8Fixed8);
    RunBench bench(std::make_unique<CalibrateThread_HXSeries>());
    bench.target.m_Gamma = gamma;
    bench.start();
    QVERIFY(bench.run(CalibrateThread::OPERATION_CALIBRATE));
    const QByteArray bytes = bench.writeProfile(true);
    QVERIFY(openProfile(bytes));
    verifyTagOrder(bytes);
    const CColorValue &record = bench.thread->m_AdjustValue.m_ColorValue;
    QCOMPARE(record.m_FinalGreySteps.size(), 32);
    const QPair<double, int> miss = worstGreyMiss(bytes, record);
    QVERIFY2(miss.first <= 0.015, qPrintable(QStringLiteral("%1 % at grey %2")
                                                 .arg(100.0 * miss.first)
                                                 .arg(miss.second)));
    for (const char *tag : {"rTRC", "gTRC", "bTRC"}) {
        const QByteArray trc = tagElement(bytes, tag);
        QCOMPARE(trc.left(12), hex("63757276 00000000 00000001"));
        QCOMPARE(int(be16(trc, 12)), u8Fixed8);
    }
}

void TestIccProfileEndToEnd::afterAProfilingRun()
{
    RunBench bench(std::make_unique<CalibrateThread>());
    // Another program left a gamma 1.2 ramp on the card.
    GammaRampTables ramp;
    for (int i = 0; i < 256; ++i) {
        const float v = float(std::pow(i / 255.0, 1.2));
        ramp.red.append(v);
        ramp.green.append(v);
        ramp.blue.append(v);
    }
    QVERIFY(bench.rig.rig.desk.ramps().setRamp(CalibrationRig::kDisplay, ramp));
    bench.start();
    QVERIFY(bench.run(CalibrateThread::OPERATION_PROFILE));
    const QByteArray bytes = bench.writeProfile(false);
    QVERIFY(!bytes.isEmpty());
    QVERIFY(openProfile(bytes));
    verifyTagOrder(bytes);
    // The measured responses predict the ramp the run measured through the
    // card's ramp.
    const QPair<double, int> miss = worstGreyMiss(bytes, bench.thread->m_AdjustValue.m_ColorValue);
    QVERIFY2(miss.first <= 0.015, qPrintable(QStringLiteral("%1 % at grey %2")
                                                 .arg(100.0 * miss.first)
                                                 .arg(miss.second)));

    // The measured responses, 256 entries each.
    for (const char *trc : {"rTRC", "gTRC", "bTRC"}) {
        const QByteArray element = tagElement(bytes, trc);
        QCOMPARE(element.size(), 524);
        QCOMPARE(be32(element, 8), 256u);
        QCOMPARE(be16(element, 12), quint16(0));
        QCOMPARE(be16(element, 12 + 2 * 255), quint16(65535));
    }
    // The table holds the ramp the run found.
    const QByteArray table = cookedVcgt(bytes);
    QCOMPARE(table.size(), 768);
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < 256; ++i) {
            const double loaded = std::lround(double(ramp.red[i]) * 65535.0) / 65535.0;
            QCOMPARE(int(uchar(table[c * 256 + i])), int(loaded * 255.0 + 0.5));
        }
    }
}

QTEST_MAIN(TestIccProfileEndToEnd)
#include "tst_icc_profile_end_to_end.moc"
