// The information window through its widgets: its frame, the view options
// and the position it keeps in a real preferences file, the Copy command by
// shortcut and context menu, and a report of the simulated display.

#include "PZ_Information_Dialog.h"
#include "TestSupport.h"
#include "ReportFixture.h"
#include "ReportPanel.h"

#include "CDDCMonitor_LCDHXSeries.h"
#include "CPreferences.h"
#include "HostSystem.h"
#include "MonitorRig.h"
#include "PZ_dicom_graph.h"
#include "PZ_gamut_graph.h"
#include "PreferencesRegistry.h"
#include "Resources.h"
#include "SimulatedScreens.h"
#include "StandardTargets.h"
#include "StringResources.h"
#include "TickLabels.h"
#include "SystemFolders.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace pz::test;

namespace {

template <typename T = QWidget>
T *child(const QWidget &window, const char *name)
{
    T *w = window.findChild<T *>(QLatin1String(name));
    if (!w)
        qWarning("no %s", name);
    return w;
}

// The check boxes and radio buttons that are on, by object name.
QStringList checkedOptions(const QWidget &window)
{
    QStringList on;
    for (QAbstractButton *b : window.findChildren<QAbstractButton *>())
        if (b->isCheckable() && b->isChecked())
            on << b->objectName();
    on.sort();
    return on;
}

// Preferences read from and written to the temporary home's file, and
// registered as the application's while they live.
struct Preferences {
    Preferences() : scope(&object) {}
    CPreferences object;
    pz::ScopedPreferences scope;
};

const unsigned kPreferencesFileName = 12;

} // namespace

class TestInformationDialog : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<pz::ScopedHostSystem> m_host;

    static QString preferencesFile()
    {
        return GetPreferencesFolder() + QLatin1Char('/') + GetStringResource(kPreferencesFileName);
    }

private slots:
    void initTestCase()
    {
        pz::initResources();
        PZ_REQUIRE_SIMULATED_SCREENS();
        QVERIFY(m_home.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath("config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath("data")));
        m_host = std::make_unique<pz::ScopedHostSystem>(pz::platformHostSystem());
    }
    void cleanupTestCase() { m_host.reset(); }
    // Every case starts from fresh preferences.
    void init() { QFile::remove(preferencesFile()); }

    // At the size the window opens with, no graph's tick numbers overlap,
    // and the whole tab row shows.
    void tickNumbersStandApartAtTheOpeningSize()
    {
        Preferences preferences;
        PZ_Information_Dialog window(nullptr);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTabWidget *tabs = window.panel()->tabWidget();
        int graphs = 0;
        QString overlaps = ticklabels::overlappingOnEveryPage(window, tabs, &graphs);
        QVERIFY2(overlaps.isEmpty(), qPrintable(overlaps));
        QVERIFY(graphs >= 4);
        // The DICOM graph in its other mode too.
        auto *jnd = child<QRadioButton>(window, "dicom_Graph_JND_PER_DDL_radioButton");
        auto *contrast = child<QRadioButton>(window, "dicom_Graph_Contrast_Response_radioButton");
        (jnd->isChecked() ? contrast : jnd)->click();
        overlaps = ticklabels::overlappingOnEveryPage(window, tabs, &graphs);
        QVERIFY2(overlaps.isEmpty(), qPrintable(overlaps));
        const QString cut = pz::test::tabsCutOff(*tabs);
        QVERIFY2(cut.isEmpty(), qPrintable(cut));
    }

    void frame()
    {
        Preferences preferences;
        QWidget main;
        auto *window = new PZ_Information_Dialog(&main);
        QCOMPARE(window->parentWidget(), &main);
        QVERIFY(!window->isModal());
        QCOMPARE(window->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        QCOMPARE(window->windowTitle(), QStringLiteral("Information"));
        QCOMPARE(window->size(), QSize(690, 635));
        QVERIFY(window->isSizeGripEnabled());
        QVERIFY(!window->windowIcon().isNull());
        QVERIFY(window->panel());
        QCOMPARE(window->panel()->flavor(), ReportFlavor::InformationWindow);
        QCOMPARE(child<QLabel>(*window, "summary_Display_Model_Name")->text(), QStringLiteral("N/A"));
        auto *gamut = child<Plotter>(*window, "widget_Color_Gamut_Graph");
        QVERIFY(gamut->GetShowGraphLabel());
        QCOMPARE(gamut->GetGraphLabelString(), QStringLiteral("CIE 1931 xy"));
    }

    void freshPreferencesGiveTheDefaults()
    {
        Preferences preferences;
        PZ_Information_Dialog window;
        QStringList expected{"color_gamut_Display_gamut_checkBox", "color_gamut_sRGB_gamut_checkBox",
                             "color_gamut_Colorspace_CIExy_radioButton",
                             "color_tracking_DeltaE_Show_Average_checkBox",
                             "dicom_Graph_JND_PER_DDL_radioButton",
                             "dicom_Graph_JND_PER_DDL_Show_Average_checkBox",
                             "dicom_Graph_JND_PER_DDL_Show_Linear_Fit_checkBox",
                             "dicom_Graph_Contrast_Response_Show_Barten_model_checkbox",
                             "dicom_Graph_Contrast_Response_Show_10Percent_Limits_checkbox",
                             "dicom_Graph_Contrast_Response_Show_20Percent_Limits_checkbox",
                             "curves_Show_type_Target_checkBox", "curves_Show_type_Calibrated_checkBox",
                             "curves_Show_color_All_radioButton"};
        expected.sort();
        QCOMPARE(checkedOptions(window), expected);
    }

    void viewOptionsComeBackThroughTheFile()
    {
        QStringList chosen;
        {
            Preferences preferences;
            PZ_Information_Dialog window;
            window.show();
            child<QRadioButton>(window, "color_gamut_Colorspace_CIEuv_radioButton")->click();
            child<QRadioButton>(window, "dicom_Graph_Contrast_Response_radioButton")->click();
            child<QRadioButton>(window, "curves_Show_color_Red_radioButton")->click();
            for (const char *name : {"color_gamut_sRGB_gamut_checkBox", "color_gamut_HDTV_gamut_checkBox",
                                     "color_tracking_DeltaE_Show_Dark_Values_checkBox",
                                     "curves_Show_type_Correction_checkBox"})
                child<QCheckBox>(window, name)->toggle();
            chosen = checkedOptions(window);
            QVERIFY(window.close());
            QVERIFY(window.isHidden());
            QCOMPARE(int(preferences.object.m_Information_Show_Curves_ShowCurveColor), 1);
        } // the preferences reach their file here
        QVERIFY(QFile::exists(preferencesFile()));

        Preferences again;
        PZ_Information_Dialog window;
        QCOMPARE(checkedOptions(window), chosen);
        QVERIFY(child<QRadioButton>(window, "curves_Show_color_Red_radioButton")->isChecked());
        QVERIFY(!child<QCheckBox>(window, "color_gamut_sRGB_gamut_checkBox")->isChecked());
        // The graphs follow the stored choices.
        QVERIFY(child<PZ_gamut_graph>(window, "widget_Color_Gamut_Graph")->IsUVDiagram());
        QVERIFY(!child<PZ_dicom_graph>(window, "widget_DICOM_Graph")->IsJndPerDdlMode());
    }

    // Where a shown window goes for a stored position; the window sits at
    // (345, 234) before it is shown. A stored position too near the edge
    // of its display for the whole window is moved in until the window
    // lies whole on that display.
    void storedPosition_data()
    {
        QTest::addColumn<QPoint>("stored");
        QTest::addColumn<QPoint>("shownAt");
        QTest::addColumn<bool>("inTheCorner");
        const QPoint before(345, 234);
        QTest::newRow("never placed") << QPoint(99999, 99999) << before << false;
        QTest::newRow("first display") << QPoint(200, 150) << QPoint(200, 150) << false;
        QTest::newRow("top-left corner") << QPoint(0, 0) << QPoint(0, 0) << false;
        QTest::newRow("last pixel of the second display") << QPoint(3839, 1079) << QPoint() << true;
        QTest::newRow("below the second display") << QPoint(3000, 1080) << before << false;
        QTest::newRow("display no longer there") << QPoint(5000, 300) << before << false;
    }
    void storedPosition()
    {
        QFETCH(QPoint, stored);
        QFETCH(QPoint, shownAt);
        QFETCH(bool, inTheCorner);
        Preferences preferences;
        preferences.object.SetInformationWindowPosition(stored);
        PZ_Information_Dialog window;
        window.move(345, 234);
        window.show();
        if (inTheCorner)
            QTRY_COMPARE(window.frameGeometry().bottomRight(), stored);
        else
            QCOMPARE(window.pos(), shownAt);
    }

    void positionStoredAtClose()
    {
        Preferences preferences;
        QCOMPARE(preferences.object.m_InformationWindowPosition, QPoint(99999, 99999));
        PZ_Information_Dialog window;
        window.show();
        window.move(200, 150);
        window.close();
        QCOMPARE(preferences.object.m_InformationWindowPosition, QPoint(200, 150));

        // Shown elsewhere by the system, it comes back where it was left.
        window.move(600, 500);
        window.show();
        QCOMPARE(window.pos(), QPoint(200, 150));

        // Closed at the left or top edge: the earlier position stays.
        for (const QPoint edge : {QPoint(0, 300), QPoint(300, 0)}) {
            window.move(edge);
            window.close();
            QCOMPARE(preferences.object.m_InformationWindowPosition, QPoint(200, 150));
            window.show();
        }
    }

    void copyByShortcutAndContextMenu()
    {
        Preferences preferences;
        PZ_Information_Dialog window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::keyClick(QApplication::activeWindow(), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QApplication::clipboard()->text().startsWith(QLatin1String("---- Information ----\r\n")));

        QApplication::clipboard()->setText(QStringLiteral("before"));
        QStringList menuTexts;
        QTimer::singleShot(0, this, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            for (QAction *a : menu->actions())
                menuTexts << a->text();
            menu->setActiveAction(menu->actions().value(0));
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20), window.mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(&window, &event);
        QCOMPARE(menuTexts, QStringList{QStringLiteral("&Copy")});
        QVERIFY(QApplication::clipboard()->text().startsWith(QLatin1String("---- Information ----\r\n")));
    }

    void reportOfTheSimulatedDisplay()
    {
        Preferences preferences;
        MonitorRig rig(MonitorTransport::I2C);
        CDDCMonitor_LCDHXSeries hx;
        QCOMPARE(rig.connect(hx), 0);
        CTargetValue photo = pz::standardTargets().at(pz::kPhotoEditingPreset);
        QCOMPARE(photo.m_Name, QStringLiteral("Photo Editing"));
        CAdjustValue result = simulatedCalibration(photo);
        // What the detection reads of the monitor; the window asks it nothing.
        hx.ReadEDID();
        hx.GetMonitorMPUVersion();
        rig.sim().clearLog();

        PZ_Information_Dialog window;
        window.UpdateData(QStringLiteral("Display 1 - HXSIM24"), &photo, &result, &hx);
        QVERIFY(rig.sim().frames().isEmpty());
        QCOMPARE(window.windowTitle(), QStringLiteral("Information: Display 1 - HXSIM24 / Photo Editing"));
        // The window keeps copies.
        photo.m_Name = QStringLiteral("changed");
        result.SetProfileName(QStringLiteral("changed"));
        QCOMPARE(window.panel()->shownTarget().m_Name, QStringLiteral("Photo Editing"));
        QVERIFY(window.panel()->shownResult().GetProfileName() != QStringLiteral("changed"));
        QCOMPARE(child<QLabel>(window, "summary_Display_Firmware_Version")->text(), QStringLiteral("1.2.3"));
        QVERIFY(child<QLabel>(window, "summary_Display_Contrast_Ratio_Calibrated")->text() != QStringLiteral("N/A"));

        window.show();
        for (int page = 0; page < ReportPanel::kPageCount; page += 2) {
            window.panel()->tabWidget()->setCurrentIndex(page);
            for (int round = 0; round < 10; ++round)
                QApplication::processEvents();
            const QString path = pz::test::picturesFolder()
                + QStringLiteral("/information_window_%1.png").arg(page);
            QVERIFY(window.grab().save(path));
        }

        // Null records give an empty report; no monitor, no monitor facts.
        window.UpdateData(QStringLiteral("Display 2"), nullptr, nullptr, nullptr);
        QCOMPARE(window.panel()->shownTarget().m_Name, CTargetValue().m_Name);
        QCOMPARE(window.panel()->shownResult().GetMonitorSerial(), QString());
        QCOMPARE(child<QLabel>(window, "summary_Display_Firmware_Version")->text(), QStringLiteral("N/A"));
    }
};

QTEST_MAIN(TestInformationDialog)
#include "tst_information_dialog.moc"
