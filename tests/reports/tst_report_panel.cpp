// The report panel driven through its widgets: the form as built, the
// reports it shows, its options, its view options and the Copy command.

#include "ReportPanel.h"
#include "ReportFixture.h"
#include "ui_Information_Dialog.h"

#include "CDDCMonitor_LCDHXSeries.h"
#include "GraphReports.h"
#include "CPreferences.h"
#include "HostSystem.h"
#include "MonitorRig.h"
#include "PZ_curves_graph.h"
#include "PZ_dicom_graph.h"
#include "PZ_gamut_graph.h"
#include "PZ_tracking_graph.h"
#include "Resources.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <limits>

using namespace pz::test;

namespace {

const QString kNA = QStringLiteral("N/A");

class TestHost : public pz::IHostSystem {
public:
    QString prefs;
    QString preferencesFolder() override { return prefs; }
    QString profileFolder(bool) override { return prefs; }
    bool profilesAlwaysPerUser() override { return true; }
};

template <typename T = QWidget>
T *child(const QWidget &panel, const char *name)
{
    T *w = panel.findChild<T *>(QLatin1String(name));
    if (!w)
        qWarning("no %s", name);
    return w;
}

QString labelText(const QWidget &panel, const char *name)
{
    return child<QLabel>(panel, name)->text();
}

int countPixels(const QImage &image, const std::function<bool(QRgb)> &match)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += match(image.pixel(x, y)) ? 1 : 0;
    return n;
}

bool isWhite(QRgb c)
{
    return c == qRgb(255, 255, 255);
}

bool isBlack(QRgb c)
{
    return c == qRgb(0, 0, 0);
}

// The Summary's 22 values that a report rewrites.
const char *const kResetLabels[] = {
    "summary_Display_Model_Name", "summary_Display_Serial_Number",
    "summary_Display_Firmware_Version", "summary_Display_Current_Usage",
    "summary_Display_Last_Calibration", "summary_Display_Calibration_Date",
    "summary_IC_Profile_File_Name", "summary_IC_Profile_Description",
    "summary_Display_Contrast_Ratio_Target", "summary_Display_Contrast_Ratio_Calibrated",
    "summary_Display_Luminance_Black_Level_Target", "summary_Display_Luminance_Intensity_Target",
    "summary_Display_Luminance_Black_Level_Calibrated",
    "summary_Display_Luminance_Intensity_Calibrated", "summary_Display_Gamma_Curve_Target",
    "summary_White_Point_Calibrated_K", "summary_White_Point_Calibrated_xy",
    "summary_White_Point_DeltaE", "summary_Sensor_Model_Name", "summary_Sensor_Serial_Number",
    "summary_Display_Gamma_Curve_CalibrationSteps", "summary_Primary_Color_source"};

// Layouts pass their requests up one level per round of posted events.
void settleLayouts()
{
    for (int round = 0; round < 10; ++round)
        QApplication::processEvents();
}

// A panel in a window of the report's size, shown offscreen.
struct ShownPanel {
    explicit ShownPanel(ReportFlavor flavor, const QString &title = QStringLiteral("Information"))
    {
        window.setWindowTitle(title);
        auto *layout = new QGridLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        panel = new ReportPanel(flavor, &window);
        layout->addWidget(panel);
        window.resize(690, 635);
        window.show();
        exposed = QTest::qWaitForWindowExposed(&window);
    }
    QWidget window;
    ReportPanel *panel = nullptr;
    bool exposed = false;
};

} // namespace

class TestReportPanel : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    TestHost m_host;
    std::unique_ptr<pz::ScopedHostSystem> m_scope;

private slots:
    void initTestCase()
    {
        pz::initResources();
        QVERIFY(m_dir.isValid());
        m_host.prefs = m_dir.path();
        m_scope = std::make_unique<pz::ScopedHostSystem>(&m_host);
    }
    void cleanupTestCase() { m_scope.reset(); }

    // --- the form

    void formAsBuilt_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *name, const char *cls, const QString &text) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(cls) << text;
        };
        row("tabWidget", "QTabWidget", QString());
        row("widget_Color_Gamut_Graph", "PZ_gamut_graph", QString());
        row("widget_Curves_Graph", "PZ_curves_graph", QString());
        row("widget_Color_Tracking_Graph", "PZ_tracking_graph", QString());
        row("widget_DICOM_Graph", "PZ_dicom_graph", QString());
        row("summary_white_point_groupBox", "QGroupBox", "White Point");
        row("summary_calibration_sensor_groupBox", "QGroupBox", "Calibration Sensor");
        row("summary_White_Point_Black_Body_label", "QLabel", "<u>Black Body</u>");
        row("summary_White_Point_Target_K", "QLabel", "K");
        row("summary_White_Point_Target_xy", "QLabel", "x,y");
        row("summary_White_Point_Calibrated_K", "QLabel", "K");
        row("summary_White_Point_DeltaE", "QLabel", "de");
        row("summary_Display_Luminance_Intensity_Target", "QLabel", "0.0");
        row("summary_Display_Luminance_Black_Level_Calibrated", "QLabel", "0.0");
        row("summary_Display_Gamma_Curve_Target", "QLabel", "0.0");
        row("summary_Display_Contrast_Ratio_Calibrated", "QLabel", "0.0");
        row("summary_Display_Gamma_Curve_CalibrationSteps", "QLabel", QString());
        row("summary_Primary_Color_source", "QLabel", QString());
        row("summary_Primary_Color_Blue_xy", "QLabel", "x,y");
        row("label_31", "QLabel", "<u>CIE x,y</u>");
        row("summary_IC_Profile_File_Name", "QLabel", "TextLabel");
        row("summary_Display_Serial_Number", "QLabel", "TextLabel");
        row("summary_Sensor_Serial_Number_label", "QLabel", "Serial #:");
        row("summary_Sensor_Model_Name", "QLabel", "TextLabel");
        row("color_tracking_DeltaE_Value_label", "QLabel", "TextLabel");
        row("dicom_Graph_Contrast_Response_label_2", "QLabel", "TextLabel");
        row("color_gamut_Colorspace_CIEuv_radioButton", "QRadioButton", "CIE u'v'");
        row("color_gamut_NTSC_gamut_checkBox", "QCheckBox", "NTSC (1953)");
        row("curves_Show_type_Correction_checkBox", "QCheckBox", "Correction");
        row("dicom_Graph_Contrast_Response_Show_10Percent_Limits_checkbox", "QCheckBox", "Show 10% Limits");
        row("dicom_Graph_Contrast_Response_groupBox", "QGroupBox", "Contrast Response");
    }
    void formAsBuilt()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QFETCH(QString, text);
        QWidget w;
        Ui::Information_Dialog ui;
        ui.setupUi(&w);
        QWidget *widget = w.findChild<QWidget *>(name);
        QVERIFY(widget);
        QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
        if (auto *label = qobject_cast<QLabel *>(widget))
            QCOMPARE(label->text(), text);
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            QCOMPARE(button->text(), text);
        else if (auto *group = qobject_cast<QGroupBox *>(widget))
            QCOMPARE(group->title(), text);
    }

    void formInitialState()
    {
        QWidget w;
        Ui::Information_Dialog ui;
        ui.setupUi(&w);
        QCOMPARE(w.objectName(), QStringLiteral("Information_Dialog"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Information"));
        QCOMPARE(ui.tabWidget->currentIndex(), 0);
        const QStringList tabs{"Summary", "Color Gamut", "Curves", "Color Tracking", "DICOM Conformance"};
        QCOMPARE(ui.tabWidget->count(), tabs.size());
        for (int i = 0; i < tabs.size(); ++i) {
            QCOMPARE(ui.tabWidget->tabText(i), tabs[i]);
            QCOMPARE(ui.tabWidget->tabIcon(i).isNull(), i >= 3);
        }
        QVERIFY(ui.dicom_Graph_JND_PER_DDL_radioButton->isChecked());
        QVERIFY(ui.dicom_Graph_JND_PER_DDL_groupBox->isEnabled());
        QVERIFY(!ui.dicom_Graph_Contrast_Response_groupBox->isEnabled());
        QVERIFY(ui.color_gamut_Colorspace_CIExy_radioButton->isChecked());
        QVERIFY(ui.curves_Show_color_All_radioButton->isChecked());
        for (QCheckBox *box : w.findChildren<QCheckBox *>())
            QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
        QCOMPARE(w.findChildren<QCheckBox *>().size(), 21);
        QCOMPARE(w.findChildren<QRadioButton *>().size(), 8);
        // Every picture label has its picture.
        for (const char *name : {"label", "label_2", "label_3", "label_4", "label_5", "label_6",
                                 "label_7", "label_33", "summary_White_Point_DeltaE_Warning_Icon",
                                 "dicom_Graph_Contrast_Response_Error_Icon_label"})
            QVERIFY2(!child<QLabel>(w, name)->pixmap().isNull(), name);
        QCOMPARE(ui.summary_Display_Current_Usage->toolTip(),
                 QStringLiteral("<html>Total number of hours the monitor has been in use.</html>"));
        QCOMPARE(ui.summary_Display_Current_Usage_label->toolTip(), ui.summary_Display_Current_Usage->toolTip());
    }

    void radioGroupsAndTheirConnections()
    {
        QWidget w;
        Ui::Information_Dialog ui;
        ui.setupUi(&w);
        const QList<QList<QRadioButton *>> groups{
            {ui.color_gamut_Colorspace_CIExy_radioButton, ui.color_gamut_Colorspace_CIEuv_radioButton},
            {ui.curves_Show_color_All_radioButton, ui.curves_Show_color_Red_radioButton,
             ui.curves_Show_color_Green_radioButton, ui.curves_Show_color_Blue_radioButton},
            {ui.dicom_Graph_JND_PER_DDL_radioButton, ui.dicom_Graph_Contrast_Response_radioButton}};
        for (int g = 0; g < groups.size(); ++g) {
            for (QRadioButton *clicked : groups[g]) {
                clicked->click();
                for (int h = 0; h < groups.size(); ++h) {
                    int checked = 0;
                    for (QRadioButton *b : groups[h])
                        checked += b->isChecked() ? 1 : 0;
                    QCOMPARE(checked, 1);
                }
                QVERIFY(clicked->isChecked());
            }
        }
        // The DICOM group that belongs to the chosen graph type is enabled.
        ui.dicom_Graph_Contrast_Response_radioButton->click();
        QVERIFY(!ui.dicom_Graph_JND_PER_DDL_groupBox->isEnabled());
        QVERIFY(ui.dicom_Graph_Contrast_Response_groupBox->isEnabled());
        ui.dicom_Graph_JND_PER_DDL_radioButton->click();
        QVERIFY(ui.dicom_Graph_JND_PER_DDL_groupBox->isEnabled());
        QVERIFY(!ui.dicom_Graph_Contrast_Response_groupBox->isEnabled());
    }

    // --- the panel before a report

    // The information window's gamut graph is titled for the diagram it
    // draws, as the user switches and as stored; the browser's has none.
    void gamutTitleFollowsColourSpace()
    {
        const QString xy = QStringLiteral("CIE 1931 xy");
        const QString uv = QStringLiteral("CIE 1976 u'v'");
        ReportPanel panel(ReportFlavor::InformationWindow);
        auto *gamut = child<PZ_gamut_graph>(panel, "widget_Color_Gamut_Graph");
        child<QRadioButton>(panel, "color_gamut_Colorspace_CIEuv_radioButton")->click();
        QVERIFY(gamut->IsUVDiagram());
        QCOMPARE(gamut->GetGraphLabelString(), uv);
        child<QRadioButton>(panel, "color_gamut_Colorspace_CIExy_radioButton")->click();
        QCOMPARE(gamut->GetGraphLabelString(), xy);

        CPreferences stored;
        stored.m_Information_Show_Gamut_Colorspace_Type = 1;
        ReportPanel reopened(ReportFlavor::InformationWindow);
        reopened.loadViewOptions(stored);
        QCOMPARE(child<PZ_gamut_graph>(reopened, "widget_Color_Gamut_Graph")->GetGraphLabelString(), uv);
        ReportPanel browser(ReportFlavor::Browser);
        browser.loadViewOptions(stored);
        QCOMPARE(child<PZ_gamut_graph>(browser, "widget_Color_Gamut_Graph")->GetGraphLabelString(), QString());
        // The preferences are saved when they go: the next test starts from the default.
        stored.m_Information_Show_Gamut_Colorspace_Type = 0;
    }

    void freshPanel_data()
    {
        QTest::addColumn<int>("flavor");
        QTest::newRow("information window") << int(ReportFlavor::InformationWindow);
        QTest::newRow("browser") << int(ReportFlavor::Browser);
    }
    void freshPanel()
    {
        QFETCH(int, flavor);
        const bool info = ReportFlavor(flavor) == ReportFlavor::InformationWindow;
        ReportPanel panel{ReportFlavor(flavor)};
        for (const char *name : kResetLabels)
            QCOMPARE(labelText(panel, name), kNA);
        QCOMPARE(labelText(panel, "summary_White_Point_Target_K"), QStringLiteral("K"));
        QCOMPARE(labelText(panel, "summary_Primary_Color_Red_xy"), QStringLiteral("x,y"));
        QVERIFY(child(panel, "summary_White_Point_DeltaE_Warning_Icon")->isHidden());
        // The DICOM tab starts with its not-available state.
        QCOMPARE(labelText(panel, "dicom_Graph_JND_PER_DDL_Average_label"), kNA);
        QCOMPARE(labelText(panel, "dicom_Graph_JND_PER_DDL_STDDEV_label"), kNA);
        QCOMPARE(labelText(panel, "dicom_Graph_Contrast_Response_label_1"), kNA);
        QCOMPARE(labelText(panel, "dicom_Graph_Contrast_Response_label_2"), QString());
        QCOMPARE(child(panel, "dicom_Graph_Contrast_Response_label_2")->isHidden(), info);
        QVERIFY(child(panel, "dicom_Graph_Contrast_Response_Error_Icon_label")->isHidden());

        auto *gamut = child<PZ_gamut_graph>(panel, "widget_Color_Gamut_Graph");
        QCOMPARE(gamut->GetShowGraphLabel(), info);
        QCOMPARE(gamut->GetGraphLabelString(), info ? QStringLiteral("CIE 1931 xy") : QString());
        QVERIFY(!child<PZ_curves_graph>(panel, "widget_Curves_Graph")->GetShowGraphLabel());

        QAction *copy = panel.copyAction();
        QCOMPARE(copy->text(), QStringLiteral("&Copy"));
        QCOMPARE(copy->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
        QVERIFY(panel.tabWidget()->actions().contains(copy));
    }

    // --- reports

    // The live monitor's facts as the monitor object knows them (read by
    // the detection, off the GUI thread): the report asks the monitor
    // nothing, and shows "N/A" for what was never read.
    void liveMonitor()
    {
        MonitorRig rig(MonitorTransport::I2C);
        CDDCMonitor_LCDHXSeries hx;
        QCOMPARE(rig.connect(hx), 0);
        ReportPanel panel(ReportFlavor::InformationWindow);
        const CTargetValue target = gammaTarget();
        CAdjustValue result = simulatedCalibration(target);
        result.SetIsHoursOnWhenCalibrated(200.0);
        panel.showReport(target, result, MonitorFacts{&hx, {}});
        QCOMPARE(labelText(panel, "summary_Display_Firmware_Version"), QString());
        QCOMPARE(labelText(panel, "summary_Display_Current_Usage"), kNA);

        QCOMPARE(hx.GetMonitorMPUVersion(), QStringLiteral("1.2.3"));
        double hours = -1;
        QCOMPARE(hx.GetPowerOnHours(&hours), 0);
        QVERIFY(hours > 200.0);
        rig.sim().clearLog();
        panel.showReport(target, result, MonitorFacts{&hx, {}});
        QVERIFY(rig.sim().frames().isEmpty());
        QCOMPARE(labelText(panel, "summary_Display_Model_Name"), QStringLiteral("HXSIM24"));
        QCOMPARE(labelText(panel, "summary_Display_Serial_Number"), QStringLiteral("SIM0001"));
        QCOMPARE(labelText(panel, "summary_Display_Firmware_Version"), QStringLiteral("1.2.3"));
        QCOMPARE(labelText(panel, "summary_Display_Current_Usage"),
                 QStringLiteral("%1 hours usage").arg(hours, 0, 'f', 1));
        QCOMPARE(labelText(panel, "summary_Display_Last_Calibration"),
                 QStringLiteral("%1 hours usage ago").arg(hours - 200.0, 0, 'f', 1));
        QCOMPARE(panel.shownTarget().m_Name, target.m_Name);
        QCOMPARE(panel.shownResult().GetProfileName(), result.GetProfileName());
    }

    void showsEveryTab()
    {
        ReportPanel panel(ReportFlavor::InformationWindow);
        CPreferences defaults;
        panel.loadViewOptions(defaults);
        const CTargetValue target = gammaTarget();
        const CAdjustValue result = simulatedCalibration(target);
        panel.showReport(target, result, MonitorFacts());

        QCOMPARE(labelText(panel, "summary_Display_Gamma_Curve_Target"), QStringLiteral("2.20"));
        QCOMPARE(labelText(panel, "summary_Display_Luminance_Intensity_Calibrated"),
                 QString::fromUtf8("160.0 cd/m²"));
        QCOMPARE(labelText(panel, "summary_Display_Contrast_Ratio_Calibrated").right(2), QStringLiteral(":1"));
        QCOMPARE(labelText(panel, "summary_Primary_Color_Red_xy"), QStringLiteral("0.640 , 0.330"));
        QVERIFY(labelText(panel, "summary_White_Point_DeltaE") != kNA);
        for (const char *box : {"curves_Show_type_Target_checkBox", "curves_Show_type_Calibrated_checkBox",
                                "curves_Show_type_Uncalibrated_checkBox", "curves_Show_type_Correction_checkBox",
                                "color_gamut_Target_gamut_checkBox", "color_gamut_Display_gamut_checkBox",
                                "color_gamut_Target_White_Point_checkBox"})
            QVERIFY2(child(panel, box)->isEnabled(), box);
        auto *gamut = child<PZ_gamut_graph>(panel, "widget_Color_Gamut_Graph");
        QVERIFY(gamut->HasDisplayGamut());
        QVERIFY(gamut->HasTargetGamut());
        QVERIFY(gamut->HasTargetWhite());

        // Defaults: target and calibrated for all channels.
        QCOMPARE(child<PZ_curves_graph>(panel, "widget_Curves_Graph")->GetCurveCount(), 4);
        const TrackingView tracking = buildTracking(target, result.m_ColorValue, false, true);
        QCOMPARE(child<PZ_tracking_graph>(panel, "widget_Color_Tracking_Graph")->GetPointCount(),
                 unsigned(tracking.deltaE.size()));
        QCOMPARE(labelText(panel, "color_tracking_DeltaE_Value_label"), tracking.averageText);
        QCOMPARE(labelText(panel, "color_tracking_DeltaE_Maximum_Value_label"), tracking.maximumText);
        // A gamma target has no DICOM report.
        QCOMPARE(labelText(panel, "dicom_Graph_JND_PER_DDL_Average_label"), kNA);

        // A white far from the target shows the warning sign; the next
        // report hides it again.
        QWidget *sign = child(panel, "summary_White_Point_DeltaE_Warning_Icon");
        QVERIFY(sign->isHidden());
        CAdjustValue bluish = result;
        bluish.m_ColorValue.m_FinalPatches[CColorValue::kWhitePatch] = CCIEXYZ(140, 160, 260);
        panel.showReport(target, bluish, MonitorFacts());
        QVERIFY(!sign->isHidden());
        QVERIFY(labelText(panel, "summary_White_Point_DeltaE").toDouble() > 3.0);
        panel.showReport(target, result, MonitorFacts());
        QVERIFY(sign->isHidden());

        // A blank report resets the Summary and disables what has no data.
        panel.showReport(CTargetValue(), CAdjustValue(), MonitorFacts());
        QCOMPARE(labelText(panel, "summary_White_Point_DeltaE"), kNA);
        QVERIFY(!child(panel, "curves_Show_type_Calibrated_checkBox")->isEnabled());
        QVERIFY(!child(panel, "color_gamut_Display_gamut_checkBox")->isEnabled());
        QVERIFY(!child(panel, "color_gamut_Target_gamut_checkBox")->isEnabled());
        QVERIFY(!gamut->HasDisplayGamut());
        QVERIFY(!gamut->HasTargetGamut());
        QCOMPARE(labelText(panel, "color_tracking_DeltaE_Value_label"), kNA);
    }

    void curveColourChoice()
    {
        ShownPanel shown(ReportFlavor::InformationWindow);
        ReportPanel &panel = *shown.panel;
        panel.tabWidget()->setCurrentIndex(ReportPanel::kCurvesPage);
        const CTargetValue target = gammaTarget();
        panel.showReport(target, simulatedCalibration(target), MonitorFacts());
        child<QCheckBox>(panel, "curves_Show_type_Target_checkBox")->setChecked(true);
        child<QCheckBox>(panel, "curves_Show_type_Calibrated_checkBox")->setChecked(true);
        child<QCheckBox>(panel, "curves_Show_type_Correction_checkBox")->setChecked(true);
        auto *graph = child<PZ_curves_graph>(panel, "widget_Curves_Graph");
        QCOMPARE(graph->GetCurveCount(), 7);

        const auto red = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 40 && qBlue(c) < 40; };
        const auto blue = [](QRgb c) { return qBlue(c) > 200 && qRed(c) < 40 && qGreen(c) < 40; };
        child<QRadioButton>(panel, "curves_Show_color_Red_radioButton")->click();
        QCOMPARE(graph->GetCurveCount(), 3);
        QImage picture = graph->grab().toImage();
        QVERIFY(countPixels(picture, red) > 50);
        QCOMPARE(countPixels(picture, blue), 0);

        child<QRadioButton>(panel, "curves_Show_color_Blue_radioButton")->click();
        QCOMPARE(graph->GetCurveCount(), 3);
        picture = graph->grab().toImage();
        QCOMPARE(countPixels(picture, red), 0);
        QVERIFY(countPixels(picture, blue) > 50);
        QVERIFY(countPixels(picture, isBlack) > 0);
    }

    void trackingOptions()
    {
        ReportPanel panel(ReportFlavor::InformationWindow);
        const CTargetValue target = gammaTarget();
        panel.showReport(target, simulatedCalibration(target), MonitorFacts());
        auto *graph = child<PZ_tracking_graph>(panel, "widget_Color_Tracking_Graph");
        const unsigned bright = graph->GetPointCount();
        const QString average = labelText(panel, "color_tracking_DeltaE_Value_label");
        QVERIFY(average != kNA);

        child<QCheckBox>(panel, "color_tracking_DeltaE_Show_Average_checkBox")->toggle();
        QCOMPARE(labelText(panel, "color_tracking_DeltaE_Value_label"), average);
        QCOMPARE(graph->GetPointCount(), bright);

        child<QCheckBox>(panel, "color_tracking_DeltaE_Show_Dark_Values_checkBox")->setChecked(true);
        QCOMPARE(graph->GetPointCount(), 17u);
        QVERIFY(bright < 17u);
    }

    void dicomTab_data()
    {
        QTest::addColumn<int>("flavor");
        QTest::newRow("information window") << int(ReportFlavor::InformationWindow);
        QTest::newRow("browser") << int(ReportFlavor::Browser);
    }
    void dicomTab()
    {
        QFETCH(int, flavor);
        ReportPanel panel{ReportFlavor(flavor)};
        const CTargetValue target = dicomTarget();
        panel.showReport(target, simulatedCalibration(target), MonitorFacts());
        QLabel *jndIndex = child<QLabel>(panel, "dicom_Graph_Contrast_Response_label_2");
        const QStringList labels{labelText(panel, "dicom_Graph_JND_PER_DDL_Average_label"),
                                 labelText(panel, "dicom_Graph_JND_PER_DDL_STDDEV_label"),
                                 labelText(panel, "dicom_Graph_Contrast_Response_label_1"),
                                 jndIndex->text()};
        QVERIFY(!labels.contains(kNA));
        QVERIFY(labels[2].endsWith(QLatin1Char('%')));
        QVERIFY(labels[3].startsWith(QLatin1String("at JND Index ")));
        QVERIFY(!jndIndex->isHidden());
        const bool icon = !child(panel, "dicom_Graph_Contrast_Response_Error_Icon_label")->isHidden();
        QCOMPARE(icon, labels[2].chopped(1).toDouble() > 10.0);

        // The mode buttons change only the graph.
        auto *graph = child<PZ_dicom_graph>(panel, "widget_DICOM_Graph");
        QVERIFY(graph->IsJndPerDdlMode());
        QVERIFY(graph->GetJndCount() > 0);
        child<QRadioButton>(panel, "dicom_Graph_Contrast_Response_radioButton")->click();
        QVERIFY(!graph->IsJndPerDdlMode());
        QCOMPARE(graph->GetContrastCount(), 16);
        QCOMPARE((QStringList{labelText(panel, "dicom_Graph_JND_PER_DDL_Average_label"),
                              labelText(panel, "dicom_Graph_JND_PER_DDL_STDDEV_label"),
                              labelText(panel, "dicom_Graph_Contrast_Response_label_1"), jndIndex->text()}),
                 labels);
        QCOMPARE(!child(panel, "dicom_Graph_Contrast_Response_Error_Icon_label")->isHidden(), icon);

        // A gamma target: "N/A" three times and an empty index line, in the
        // chosen mode without data.
        panel.showReport(gammaTarget(), simulatedCalibration(gammaTarget()), MonitorFacts());
        QCOMPARE(labelText(panel, "dicom_Graph_JND_PER_DDL_Average_label"), kNA);
        QCOMPARE(labelText(panel, "dicom_Graph_JND_PER_DDL_STDDEV_label"), kNA);
        QCOMPARE(labelText(panel, "dicom_Graph_Contrast_Response_label_1"), kNA);
        QCOMPARE(jndIndex->text(), QString());
        QCOMPARE(jndIndex->isHidden(), ReportFlavor(flavor) == ReportFlavor::InformationWindow);
        QVERIFY(!graph->IsJndPerDdlMode());
        QCOMPARE(graph->GetContrastCount(), 0);
        QCOMPARE(graph->GetJndCount(), 0);
    }

    // --- view options

    void viewOptions()
    {
        CPreferences defaults;
        ReportPanel panel(ReportFlavor::InformationWindow);
        panel.loadViewOptions(defaults);
        const QStringList checked{"color_gamut_Display_gamut_checkBox", "color_gamut_sRGB_gamut_checkBox",
                                  "color_tracking_DeltaE_Show_Average_checkBox",
                                  "dicom_Graph_JND_PER_DDL_Show_Average_checkBox",
                                  "dicom_Graph_JND_PER_DDL_Show_Linear_Fit_checkBox",
                                  "dicom_Graph_Contrast_Response_Show_Barten_model_checkbox",
                                  "dicom_Graph_Contrast_Response_Show_10Percent_Limits_checkbox",
                                  "dicom_Graph_Contrast_Response_Show_20Percent_Limits_checkbox",
                                  "curves_Show_type_Target_checkBox", "curves_Show_type_Calibrated_checkBox"};
        for (QCheckBox *box : panel.findChildren<QCheckBox *>())
            QCOMPARE(box->isChecked(), checked.contains(box->objectName()));
        QVERIFY(child<QRadioButton>(panel, "color_gamut_Colorspace_CIExy_radioButton")->isChecked());
        QVERIFY(child<QRadioButton>(panel, "dicom_Graph_JND_PER_DDL_radioButton")->isChecked());
        QVERIFY(child<QRadioButton>(panel, "curves_Show_color_All_radioButton")->isChecked());

        // The user's choices are stored and read back.
        child<QRadioButton>(panel, "color_gamut_Colorspace_CIEuv_radioButton")->click();
        child<QRadioButton>(panel, "dicom_Graph_Contrast_Response_radioButton")->click();
        child<QRadioButton>(panel, "curves_Show_color_Green_radioButton")->click();
        child<QCheckBox>(panel, "color_gamut_HDTV_gamut_checkBox")->setChecked(true);
        child<QCheckBox>(panel, "curves_Show_type_Target_checkBox")->setChecked(false);
        CPreferences stored;
        panel.storeViewOptions(stored);
        QCOMPARE(int(stored.m_Information_Show_Gamut_Colorspace_Type), 1);
        QCOMPARE(int(stored.m_Information_Show_DICOM_GraphType), 1);
        QCOMPARE(int(stored.m_Information_Show_Curves_ShowCurveColor), 2);
        QCOMPARE(int(stored.m_Information_Show_Gamut_ShowHDTVGamut), 1);
        QCOMPARE(int(stored.m_Information_Show_Curves_ShowTarget), 0);
        QCOMPARE(int(stored.m_Information_Show_Gamut_ShowsRGBGamut), 1);

        ReportPanel other(ReportFlavor::Browser);
        other.loadViewOptions(stored);
        QVERIFY(child<QRadioButton>(other, "color_gamut_Colorspace_CIEuv_radioButton")->isChecked());
        QVERIFY(child<QRadioButton>(other, "curves_Show_color_Green_radioButton")->isChecked());
        QVERIFY(!child<PZ_dicom_graph>(other, "widget_DICOM_Graph")->IsJndPerDdlMode());
        QVERIFY(child<PZ_gamut_graph>(other, "widget_Color_Gamut_Graph")->IsUVDiagram());
        QVERIFY(child<QCheckBox>(other, "color_gamut_HDTV_gamut_checkBox")->isChecked());

        // A damaged file: choices without a button leave the form's.
        stored.m_Information_Show_Gamut_Colorspace_Type = 7;
        stored.m_Information_Show_DICOM_GraphType = 2;
        stored.m_Information_Show_Curves_ShowCurveColor = 255;
        ReportPanel damaged(ReportFlavor::InformationWindow);
        damaged.loadViewOptions(stored);
        QVERIFY(child<QRadioButton>(damaged, "color_gamut_Colorspace_CIExy_radioButton")->isChecked());
        QVERIFY(child<QRadioButton>(damaged, "dicom_Graph_JND_PER_DDL_radioButton")->isChecked());
        QVERIFY(child<QRadioButton>(damaged, "curves_Show_color_All_radioButton")->isChecked());
        QVERIFY(child<QCheckBox>(damaged, "color_gamut_HDTV_gamut_checkBox")->isChecked());
    }

    // --- the Copy command

    void copySummaryBeforeAnyReport_data()
    {
        QTest::addColumn<int>("flavor");
        QTest::addColumn<int>("lines");
        QTest::newRow("information window") << int(ReportFlavor::InformationWindow) << 37;
        QTest::newRow("browser") << int(ReportFlavor::Browser) << 36;
    }
    void copySummaryBeforeAnyReport()
    {
        QFETCH(int, flavor);
        QFETCH(int, lines);
        ReportPanel panel{ReportFlavor(flavor)};
        QCOMPARE(panel.windowTitle(), QStringLiteral("Information"));
        panel.copyToClipboard();
        const QString copied = QApplication::clipboard()->text();
        QByteArray expected = readData(QStringLiteral("report_summary_empty.txt"));
        QCOMPARE(expected.count('\n'), 37);
        if (lines == 36)
            expected.replace("</u> N/A\r\n\r\n---", "</u> N/A\r\n---");
        QCOMPARE(copied.toUtf8(), expected);
        QCOMPARE(copied.count(QStringLiteral("\r\n")), lines);
    }

    void copySummaryOfAReport()
    {
        ShownPanel shown(ReportFlavor::InformationWindow,
                         QStringLiteral("Information: Display 1 - HXSIM24 / Office D65"));
        const CTargetValue target = gammaTarget();
        shown.panel->showReport(target, simulatedCalibration(target), MonitorFacts());
        shown.panel->copyToClipboard();
        const QStringList l = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
        QCOMPARE(l.size(), 38);
        QCOMPARE(l[0], QStringLiteral("---- Information: Display 1 - HXSIM24 / Office D65 ----"));
        QCOMPARE(l[2], QStringLiteral("Target:       6500 K <u>Black Body</u>"));
        QCOMPARE(l[3], QStringLiteral("Target: ( 0.313 , 0.329 ) <u>(CIE x,y)</u>"));
        QCOMPARE(l[8], QString::fromUtf8("Target: <u>Intensity</u> 160.0 cd/m²"));
        QCOMPARE(l[10], QString::fromUtf8("Target: <u>Black Level</u> 0.20 cd/m²"));
        QCOMPARE(l[12], QString());
        QCOMPARE(l[14], QStringLiteral("Target: 2.20"));
        QCOMPARE(l[15], QStringLiteral("Calibration Steps: 21"));
        QCOMPARE(l[17], QStringLiteral("File Name: HXSIM24 Office D65.icc"));
        QCOMPARE(l[20], QStringLiteral("Red: 0.640 , 0.330"));
        QCOMPARE(l[23], QStringLiteral("Calibration Sensor"));
        QCOMPARE(l[25], QStringLiteral("Target: 800:1"));
        QCOMPARE(l[35], QStringLiteral("Model: i1 Display Pro"));
        QCOMPARE(l[36], QStringLiteral("Serial #: I1D3-0042"));
        QCOMPARE(l[37], QString());
    }

    // A target whose values are not numbers (a damaged record) shows the
    // not-available text for each of them, on screen and in the copy.
    void damagedTargetShowsNoNanOrInf_data()
    {
        QTest::addColumn<double>("bad");
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("inf") << std::numeric_limits<double>::infinity();
        QTest::newRow("-inf") << -std::numeric_limits<double>::infinity();
    }
    void damagedTargetShowsNoNanOrInf()
    {
        QFETCH(double, bad);
        ShownPanel shown(ReportFlavor::Browser, QStringLiteral("Stored"));
        CTargetValue target = gammaTarget();
        CAdjustValue result = simulatedCalibration(target);
        target.m_Intensity = bad;
        target.m_Gamma = bad;
        target.m_WhitePoint.m_CIExy = _CIExy{bad, bad};
        target.m_ColorGamutType = CTargetValue::kGamutCustom;
        target.SetCustomColorGamutValues(CCIEYxy(bad, bad, bad), CCIEYxy(1, 0.3, 0.6),
                                         CCIEYxy(1, 0.15, 0.06));
        result.m_ColorValue.m_FinalPatches[CColorValue::kWhitePatch] = CCIEXYZ(95, 100, bad);
        shown.panel->showReport(target, result, MonitorFacts());
        const QRegularExpression word(QStringLiteral("\\b(nan|inf)\\b"),
                                      QRegularExpression::CaseInsensitiveOption);
        for (const QLabel *label : shown.panel->findChildren<QLabel *>())
            QVERIFY2(!word.match(label->text()).hasMatch(),
                     qPrintable(label->objectName() + ": " + label->text()));
        for (const char *name : {"summary_Display_Luminance_Intensity_Target",
                                 "summary_Display_Gamma_Curve_Target",
                                 "summary_Display_Luminance_Black_Level_Target",
                                 "summary_White_Point_Target_xy"})
            QCOMPARE(labelText(*shown.panel, name), kNA);
        shown.panel->tabWidget()->setCurrentIndex(ReportPanel::kSummaryPage);
        shown.panel->copyToClipboard();
        const QString copied = QApplication::clipboard()->text();
        QVERIFY(copied.contains(QStringLiteral("Target: N/A")));
        QVERIFY2(!word.match(copied).hasMatch(), qPrintable(copied));
        // Every tab is drawn without trouble.
        for (int i = 0; i < ReportPanel::kPageCount; ++i) {
            shown.panel->tabWidget()->setCurrentIndex(i);
            settleLayouts();
        }
    }

    void pictureLabels_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("option"); // radio button to click first, or none
        QTest::addColumn<QString>("label");
        QTest::newRow("gamut xy") << 1 << QString() << "Color Gamut - CIE xy";
        QTest::newRow("gamut u'v'") << 1 << "color_gamut_Colorspace_CIEuv_radioButton" << "Color Gamut - CIE u'v'";
        QTest::newRow("curves") << 2 << QString() << "Curves";
        QTest::newRow("tracking") << 3 << QString() << "Color Tracking";
        QTest::newRow("JND per DDL") << 4 << QString() << "DICOM Conformance - JND per DDL";
        QTest::newRow("contrast response") << 4 << "dicom_Graph_Contrast_Response_radioButton"
                                           << "DICOM Conformance - Contrast Response";
    }
    void pictureLabels()
    {
        QFETCH(int, page);
        QFETCH(QString, option);
        ReportPanel panel(ReportFlavor::Browser);
        if (!option.isEmpty())
            panel.findChild<QRadioButton *>(option)->click();
        QTEST(panel.pictureLabel(page), "label");
    }

    void copyGraphPicture_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("graphName");
        QTest::newRow("gamut") << 1 << "widget_Color_Gamut_Graph";
        QTest::newRow("curves") << 2 << "widget_Curves_Graph";
        QTest::newRow("tracking") << 3 << "widget_Color_Tracking_Graph";
        QTest::newRow("dicom") << 4 << "widget_DICOM_Graph";
    }
    void copyGraphPicture()
    {
        QFETCH(int, page);
        QFETCH(QString, graphName);
        ShownPanel shown(ReportFlavor::InformationWindow);
        ReportPanel &panel = *shown.panel;
        CPreferences defaults;
        panel.loadViewOptions(defaults);
        const CTargetValue target = dicomTarget();
        panel.showReport(target, simulatedCalibration(target), MonitorFacts());
        panel.tabWidget()->setCurrentIndex(page);
        QApplication::processEvents();
        auto *graph = panel.findChild<Plotter *>(graphName);
        QVERIFY(graph);
        const bool labelShown = graph->GetShowGraphLabel();
        const QString label = graph->GetGraphLabelString();
        const QImage before = graph->grab().toImage();
        const QList<QToolButton *> zoom = graph->findChildren<QToolButton *>();
        QCOMPARE(zoom.size(), 2);

        panel.copyToClipboard();
        const QImage picture = QApplication::clipboard()->image();
        QCOMPARE(picture.size(), graph->size());
        // A white plot area where the graph shows a black one.
        const int pixels = picture.width() * picture.height();
        QVERIFY(countPixels(picture, isWhite) - countPixels(before, isWhite) > pixels / 4);
        QVERIFY(countPixels(before, isBlack) > pixels / 4);
        QVERIFY(countPixels(picture, isBlack) < pixels / 20);
        // No zoom buttons: their place shows the window's ground.
        const QRgb ground = picture.pixel(picture.width() - 1, 0);
        for (QToolButton *button : zoom) {
            const QRect r = button->geometry();
            QCOMPARE(countPixels(picture.copy(r), [&](QRgb c) { return c != ground; }), 0);
        }

        // Found as it was; a second copy is the same picture.
        QCOMPARE(graph->GetShowGraphLabel(), labelShown);
        QCOMPARE(graph->GetGraphLabelString(), label);
        for (QToolButton *button : zoom)
            QVERIFY(button->isVisibleTo(graph));
        QCOMPARE(graph->grab().toImage(), before);
        panel.copyToClipboard();
        QCOMPARE(QApplication::clipboard()->image(), picture);
    }

    void copyWithoutPage()
    {
        ReportPanel panel(ReportFlavor::InformationWindow);
        QApplication::clipboard()->setText(QStringLiteral("kept"));
        while (panel.tabWidget()->count() > 0)
            panel.tabWidget()->removeTab(0);
        QCOMPARE(panel.tabWidget()->currentIndex(), -1);
        panel.copyToClipboard();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept"));
    }

    void copyShortcut()
    {
        ShownPanel shown(ReportFlavor::InformationWindow);
        QApplication::clipboard()->setText(QStringLiteral("before"));
        shown.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&shown.window));
        QTest::keyClick(shown.panel->tabWidget(), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QApplication::clipboard()->text().startsWith(QLatin1String("---- Information ----\r\n")));
    }

    // A picture of every tab, to look at.
    void tabPictures()
    {
        ShownPanel shown(ReportFlavor::InformationWindow,
                         QStringLiteral("Information: Display 1 - HXSIM24 / Reading room"));
        ReportPanel &panel = *shown.panel;
        CPreferences defaults;
        panel.loadViewOptions(defaults);
        MonitorRig rig(MonitorTransport::I2C);
        CDDCMonitor_LCDHXSeries hx;
        QCOMPARE(rig.connect(hx), 0);
        const CTargetValue target = dicomTarget();
        panel.showReport(target, simulatedCalibration(target), MonitorFacts{&hx, {}});
        const QString folder = pz::test::picturesFolder();
        const char *const names[] = {"summary", "gamut", "curves", "tracking", "dicom"};
        for (int i = 0; i < ReportPanel::kPageCount; ++i) {
            panel.tabWidget()->setCurrentIndex(i);
            settleLayouts();
            const QString path = folder + QStringLiteral("/report_panel_%1.png").arg(QLatin1String(names[i]));
            QVERIFY(shown.window.grab().save(path));
            QVERIFY(child(panel, "summary_white_point_groupBox")->width()
                    >= child(panel, "summary_white_point_groupBox")->minimumSizeHint().width());
        }
    }
};

QTEST_MAIN(TestReportPanel)
#include "tst_report_panel.moc"
