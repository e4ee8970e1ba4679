// Validate Calibration from the main window: the thresholds of the marks,
// and the validation end to end on the simulated monitor and sensor (right
// after a calibration, after the panel's white has drifted, for targets
// with a native white, a native tone curve and a DICOM curve), with what it
// leaves in the window, the information window and the tracker.

#include "CSensor.h"
#include "CTargetSensor.h"
#include "PZ_Information_Dialog.h"
#include "ProgramRig.h"
#include "ReportPanel.h"
#include "Resources.h"
#include "SimOrvaneMonitor.h"
#include "ValidationReport.h"

#include <QRegularExpression>
#include <QtTest>

using namespace pz;
using namespace pz::test;

namespace {

const QString kSerial = QStringLiteral("SIM0001");
const QString kYellow = QStringLiteral("alerts_yellow_icon_20.png");
const QString kRedAlert = QStringLiteral("alerts_red_icon_20.png");
const QString kGreen = QStringLiteral("green circle icon.png");

// One validation through the menu; the box's text, and whether it counted
// down.
struct Validation {
    QString text;
    bool countdown = true;
    int windows = 0;
};
Validation validate(PZ_Main_Dialog &window, bool cancel = false)
{
    FlowUser user;
    user.cancelCalibration = cancel;
    window.actionValidate_Calibration->trigger();
    Validation v;
    v.windows = user.calibrationWindows;
    if (!user.boxTexts.isEmpty()) {
        v.text = user.boxTexts.last();
        v.countdown = user.countdowns.last();
    }
    return v;
}

// The figure of a line such as "White Point Delta E: 1.23<br>"; -1 when the
// text has no such line.
double figure(const QString &text, const QString &label)
{
    const QRegularExpression re(QRegularExpression::escape(label) + QStringLiteral(": (\\d+\\.\\d\\d)<br>"));
    const QRegularExpressionMatch m = re.match(text);
    return m.hasMatch() ? m.captured(1).toDouble() : -1.0;
}


_MonitorTrackerRecord tracked(MasterControl &controller)
{
    _MonitorTrackerRecord r;
    r.m_Key = kSerial;
    controller.GetMonitorTracker()->GetMonitorTrackerRecord(r);
    return r;
}

double finalWhiteY(const CAdjustValue &result)
{
    return result.m_ColorValue.m_FinalPatches[CColorValue::kWhitePatch].Y;
}

} // namespace

static void initSensorPictures() { Q_INIT_RESOURCE(sensors); }

class TestValidationFlow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initResources();
        initSensorPictures();
    }

    void thresholds_data()
    {
        QTest::addColumn<int>("figure");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("severity");
        const int dE = int(ValidationFigure::DeltaE);
        const int dicom = int(ValidationFigure::DICOMPercent);
        QTest::newRow("dE 0.00") << dE << 0.0 << 0;
        QTest::newRow("dE 2.99") << dE << 2.99 << 0;
        QTest::newRow("dE 3.00") << dE << 3.00 << 1;
        QTest::newRow("dE 4.99") << dE << 4.99 << 1;
        QTest::newRow("dE 5.00") << dE << 5.00 << 2;
        QTest::newRow("DICOM 9.99 %") << dicom << 9.99 << 0;
        QTest::newRow("DICOM 10.00 %") << dicom << 10.00 << 1;
        QTest::newRow("DICOM 19.99 %") << dicom << 19.99 << 1;
        QTest::newRow("DICOM 20.00 %") << dicom << 20.00 << 2;
    }
    void thresholds()
    {
        QFETCH(int, figure);
        QFETCH(double, value);
        QFETCH(int, severity);
        QCOMPARE(validationSeverity(ValidationFigure(figure), value), severity);
    }

    // Right after a calibration the display is where the target wants it;
    // after the panel's white drifts it is not, and the tracker keeps the
    // calibration's measurements while the window shows the validation's.
    void afterCalibrationAndAfterDrift()
    {
        ProgramRig rig;
        QVERIFY(rig.start());
        PZ_Main_Dialog &window = rig.window();
        QVERIFY(rig.calibrateOnce());
        const CAdjustValue calibrated = window.calibrationResult();

        const Validation fresh = validate(window);
        QCOMPARE(fresh.windows, 1);
        const double white = figure(fresh.text, QStringLiteral("White Point Delta E"));
        const double maxGrey = figure(fresh.text, QStringLiteral("Maximum Grayscale Delta E"));
        const double avgGrey = figure(fresh.text, QStringLiteral("Average Grayscale Delta E"));
        qInfo("Right after calibration: white point dE94 %.2f, grey max %.2f, grey average %.2f",
              white, maxGrey, avgGrey);
        QVERIFY2(white >= 0 && maxGrey >= 0 && avgGrey >= 0, qPrintable(fresh.text));
        QVERIFY(fresh.text.indexOf(QStringLiteral("White Point")) < fresh.text.indexOf(QStringLiteral("Maximum Grayscale")));
        QVERIFY(fresh.text.indexOf(QStringLiteral("Maximum Grayscale")) < fresh.text.indexOf(QStringLiteral("Average Grayscale")));
        QVERIFY(!fresh.text.contains(QStringLiteral("DICOM")));
        QVERIFY(!fresh.countdown);
        QVERIFY2(fresh.text.endsWith(GetStringResource(165)), qPrintable(fresh.text));
        QCOMPARE(fresh.text.count(kGreen), 3);
        QVERIFY(!fresh.text.contains(GetStringResource(169)));

        // The panel drifts: its white lands well off the target.
        rig.desktop->monitor(1)->setWhiteBias({0.0200, -0.0150});
        const Validation drifted = validate(window);
        const double whiteAfter = figure(drifted.text, QStringLiteral("White Point Delta E"));
        qInfo("After the white drifted: white point dE94 %.2f, grey max %.2f, grey average %.2f",
              whiteAfter, figure(drifted.text, QStringLiteral("Maximum Grayscale Delta E")),
              figure(drifted.text, QStringLiteral("Average Grayscale Delta E")));
        QVERIFY2(whiteAfter >= 3.0, qPrintable(drifted.text));
        QVERIFY(drifted.text.contains(kYellow) || drifted.text.contains(kRedAlert));
        QVERIFY(drifted.text.endsWith(GetStringResource(169)));
        QVERIFY(drifted.text.contains(GetStringResource(166)) || drifted.text.contains(GetStringResource(167)));
        QVERIFY(!drifted.countdown);

        // The window and the information window hold the validation's
        // final measurements; everything else, and the tracker, the
        // calibration's.
        const CAdjustValue shown = window.calibrationResult();
        QVERIFY(qAbs(finalWhiteY(shown) - finalWhiteY(calibrated)) > 1e-9
                || shown.m_ColorValue.m_FinalPatches[CColorValue::kWhitePatch].X
                       != calibrated.m_ColorValue.m_FinalPatches[CColorValue::kWhitePatch].X);
        QCOMPARE(shown.m_CalibrationDateTime, calibrated.m_CalibrationDateTime);
        QCOMPARE(shown.GetProfileName(), calibrated.GetProfileName());
        QCOMPARE(shown.m_ColorValue.m_UncorrectedGreySteps, calibrated.m_ColorValue.m_UncorrectedGreySteps);
        QVERIFY(information_window && information_window->isVisible());
        auto *info = qobject_cast<PZ_Information_Dialog *>(information_window);
        const CAdjustValue reported = info->panel()->shownResult();
        QCOMPARE(reported.m_ColorValue.m_FinalPatches[CColorValue::kWhitePatch].X,
                 shown.m_ColorValue.m_FinalPatches[CColorValue::kWhitePatch].X);
        QCOMPARE(reported.m_ColorValue.m_FinalGreySteps.size(), shown.m_ColorValue.m_FinalGreySteps.size());
        const _MonitorTrackerRecord record = tracked(*rig.controller);
        QCOMPARE(record.m_Adjust.m_ColorValue.m_FinalPatches[CColorValue::kWhitePatch].X,
                 calibrated.m_ColorValue.m_FinalPatches[CColorValue::kWhitePatch].X);
        QCOMPARE(record.m_Adjust.m_ColorValue.m_FinalGreySteps, calibrated.m_ColorValue.m_FinalGreySteps);
        // Choosing the display again brings the calibration's back.
        window.onDisplaySelectionChanged(window.main_Display_comboBox->currentIndex());
        QCOMPARE(window.calibrationResult().m_ColorValue.m_FinalGreySteps,
                 calibrated.m_ColorValue.m_FinalGreySteps);
    }

    // Which lines a target gets.
    void linesByTarget_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("native white") << QStringLiteral("native white");
        QTest::newRow("native tone curve") << QStringLiteral("native tone");
        QTest::newRow("DICOM") << QStringLiteral("DICOM");
    }
    void linesByTarget()
    {
        QFETCH(QString, kind);
        ProgramRig rig;
        QVERIFY(rig.start());
        PZ_Main_Dialog &window = rig.window();
        if (kind == QStringLiteral("DICOM")) {
            QVERIFY(rig.selectTarget(GetStringResource(201)));
            QCOMPARE(window.currentTarget().m_GammaCurveType, int(CTargetValue::kCurveDICOM));
        } else {
            CTargetValue target = window.currentTarget();
            target.m_Name = kind;
            if (kind == QStringLiteral("native white"))
                target.m_WhitePoint.m_Native = true;
            else
                target.m_GammaCurveType = CTargetValue::kCurveNative;
            QVERIFY(rig.useTarget(target));
        }
        const Validation v = validate(window);
        QCOMPARE(v.windows, 1);
        const bool grey = v.text.contains(QStringLiteral("Grayscale"));
        const bool white = v.text.contains(QStringLiteral("White Point Delta E"));
        if (kind == QStringLiteral("native white")) {
            QCOMPARE(v.text, GetStringResource(165));
        } else if (kind == QStringLiteral("native tone")) {
            QVERIFY2(white, qPrintable(v.text));
            QVERIFY(!grey);
            QVERIFY(!v.text.contains(QStringLiteral("DICOM")));
        } else {
            QVERIFY(white);
            const QRegularExpression dicom(QStringLiteral(
                "Maximum DICOM Contrast Response error: \\d+\\.\\d\\d% at JND index \\d+\\.\\d<br>"));
            QVERIFY2(dicom.match(v.text).hasMatch(), qPrintable(v.text));
            qInfo("DICOM target: %s", qPrintable(v.text));
        }
    }

    void cancelledAndFailed()
    {
        ProgramRig rig;
        QVERIFY(rig.start());
        PZ_Main_Dialog &window = rig.window();
        const CAdjustValue before = window.calibrationResult();
        const Validation cancelled = validate(window, true);
        QCOMPARE(cancelled.text, GetStringResource(115));
        QVERIFY(!cancelled.countdown);
        {
            InvalidRuns invalid;
            const Validation failed = validate(window);
            QCOMPARE(failed.text, QStringLiteral("<br><img src=\":/images/Resources/red circle icon.png\">&nbsp;")
                                      + GetStringResource(168));
            QVERIFY(!failed.countdown);
        }
        QCOMPARE(window.calibrationResult().m_ColorValue.m_FinalGreySteps,
                 before.m_ColorValue.m_FinalGreySteps);
    }
};

QTEST_MAIN(TestValidationFlow)
#include "tst_validation_flow.moc"
