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

#include <QtTest>
#include <cmath>

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

} // namespace

class TestIccProfileEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void afterAnHXCalibration();
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
