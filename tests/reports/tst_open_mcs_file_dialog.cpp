// The stored-calibration browser through its widgets, over calibration
// files written into a temporary home: which files are listed, the filter,
// when Open is enabled, what the caller gets back, sorting by date, files
// that go away, the view options it only reads, and where it never looks.

#include "PZ_Open_MCS_File_Dialog.h"
#include "ReportFixture.h"
#include "ReportPanel.h"
#include "SummaryReport.h"
#include "TickLabels.h"

#include "CAdjustValue.h"
#include "CPreferences.h"
#include "CTargetValue.h"
#include "CalibrationSettingsFile.h"
#include "HostSystem.h"
#include "PZ_gamut_graph.h"
#include "PreferencesRegistry.h"
#include "Resources.h"
#include "SystemFolders.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtEndian>
#include <QtTest>

#include <limits>

#include <memory>

using namespace pz::test;

namespace {

// The monitor in use.
const quint32 kVendorProductId = 0x3E5A2401;
const QString kModel = QStringLiteral("HXSIM24");
const QString kSerial = QStringLiteral("SIM0001");

enum class Damage { None, Truncated, Magic, ResultVersion, TargetVersion };

struct StoredCalibration {
    const char *file;
    const char *targetName;
    const char *model;
    const char *serial;
    quint32 vendorProductId;
    QDateTime date;
    Damage damage;
    bool opens; // for the monitor in use
};

QDateTime at(int month, int day, int hour, int minute)
{
    return QDateTime(QDate(2026, month, day), QTime(hour, minute));
}

const StoredCalibration kStored[] = {
    {"good.mcs", "Office D65", "HXSIM24", "SIM0001", kVendorProductId, at(1, 10, 8, 30), Damage::None, true},
    {"twin.mcs", "Office D65", "HXSIM24", "SIM0001", kVendorProductId, at(1, 9, 17, 45), Damage::None, true},
    {"other_id.mcs", "Reading room", "HXSIM24", "SIM0001", kVendorProductId + 1, at(2, 3, 11, 5), Damage::None, false},
    {"lower_serial.mcs", "Video", "HXSIM24", "sim0001", kVendorProductId, at(3, 4, 14, 20), Damage::None, true},
    {"other_model.mcs", "Print", "HXSIM27", "SIM0009", 0x3E5A2701, at(4, 5, 9, 50), Damage::None, false},
    {"truncated.mcs", "Cut", "HXSIM24", "SIM0001", kVendorProductId, at(5, 6, 10, 0), Damage::Truncated, false},
    {"bad_magic.mcs", "Foreign", "HXSIM24", "SIM0001", kVendorProductId, at(6, 7, 10, 0), Damage::Magic, false},
    {"result_v115.mcs", "Newer result", "HXSIM24", "SIM0001", kVendorProductId, at(7, 8, 10, 0), Damage::ResultVersion, false},
    {"target_v101.mcs", "Older target", "HXSIM24", "SIM0001", kVendorProductId, at(8, 9, 10, 0), Damage::TargetVersion, false},
};

const StoredCalibration *stored(const QString &file)
{
    for (const StoredCalibration &s : kStored)
        if (file == QLatin1String(s.file))
            return &s;
    return nullptr;
}

void putInt32(QByteArray &bytes, int offset, qint32 value)
{
    qToBigEndian(value, bytes.data() + offset);
}

// Writes one calibration file with the program's writer, then damages it.
bool writeStored(const QString &folder, const StoredCalibration &s)
{
    CTargetValue target = gammaTarget();
    target.m_Name = QLatin1String(s.targetName);
    CAdjustValue result = simulatedCalibration(target);
    result.SetMonitorName(QLatin1String(s.model));
    result.SetMonitorSerial(QLatin1String(s.serial));
    result.m_MonitorVendorProductID = s.vendorProductId;
    result.SetCalibrationDateTime(s.date);
    const QString path = folder + QLatin1String(s.file);
    if (pz::WriteCalibrationSettingsFile(path, target, result) != 0)
        return false;
    if (s.damage == Damage::None)
        return true;

    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = file.readAll();
    const int resultStart = int(recordBytes([&](QDataStream &out) { out << target; }).size());
    if (qFromBigEndian<quint32>(bytes.constData() + resultStart) != CAdjustValue::kMagic)
        return false;
    switch (s.damage) {
    case Damage::Truncated: bytes.truncate(resultStart + 40); break;
    case Damage::Magic: bytes[0] = char(bytes[0] ^ 0x5A); break;
    case Damage::ResultVersion: putInt32(bytes, resultStart + 4, 115); break;
    case Damage::TargetVersion: putInt32(bytes, 4, 101); break;
    case Damage::None: break;
    }
    file.resize(0);
    file.seek(0);
    return file.write(bytes) == bytes.size();
}

template <typename T = QWidget>
T *child(const QWidget &window, const char *name)
{
    T *w = window.findChild<T *>(QLatin1String(name));
    if (!w)
        qWarning("no %s", name);
    return w;
}

QTreeView *list(const QWidget &dialog)
{
    return child<QTreeView>(dialog, "treeView");
}

QString rowPath(const QAbstractItemModel *model, int row)
{
    return model->index(row, 3).data().toString();
}

// The file names of the listed rows, in the view's order.
QStringList listedFiles(const QWidget &dialog)
{
    const QAbstractItemModel *model = list(dialog)->model();
    QStringList files;
    for (int row = 0; row < model->rowCount(); ++row)
        files << QFileInfo(rowPath(model, row)).fileName();
    return files;
}

QStringList sorted(QStringList l)
{
    l.sort();
    return l;
}

QPushButton *openButton(const QWidget &dialog)
{
    return child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Open);
}

void makeCurrent(QWidget &dialog, int row)
{
    QTreeView *view = list(dialog);
    view->setCurrentIndex(view->model()->index(row, 0));
}

// With nothing selected every Summary value is not available, none
// invented; also after the report is shown again (a change of view options).
void nothingInvented(PZ_Open_MCS_File_Dialog &dialog)
{
    for (int f = 0; f < kSummaryFieldCount; ++f)
        QCOMPARE(child<QLabel>(dialog, summaryFieldName(SummaryField(f)))->text(),
                 QStringLiteral("N/A"));
    dialog.UpdateData();
    QCOMPARE(child<QLabel>(dialog, "summary_Display_Luminance_Intensity_Target")->text(),
             QStringLiteral("N/A"));
    QCOMPARE(child<QLabel>(dialog, "summary_White_Point_Target_xy")->text(),
             QStringLiteral("N/A"));
}

// A temporary home: XDG folders pointed at it while it lives.
struct Home {
    Home()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
    }
    QTemporaryDir dir;
};

const QStringList kAll{"good.mcs", "twin.mcs", "other_id.mcs", "lower_serial.mcs", "other_model.mcs"};
const QStringList kThisMonitor{"good.mcs", "twin.mcs", "other_id.mcs", "lower_serial.mcs"};

} // namespace

class TestOpenMcsFileDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<Home> m_home;
    QString m_folder;
    std::unique_ptr<pz::ScopedHostSystem> m_host;

private slots:
    void initTestCase()
    {
        pz::initResources();
        m_host = std::make_unique<pz::ScopedHostSystem>(pz::platformHostSystem());
    }
    void cleanupTestCase() { m_host.reset(); }

    // Every case gets its own home with the stored calibrations.
    void init()
    {
        m_home = std::make_unique<Home>();
        m_folder = GetMCSFolder(true);
        QVERIFY(!m_folder.isEmpty());
        for (const StoredCalibration &s : kStored)
            QVERIFY2(writeStored(m_folder, s), s.file);
    }
    void cleanup() { m_home.reset(); }

    void frame()
    {
        QWidget main;
        PZ_Open_MCS_File_Dialog dialog(kVendorProductId, kSerial, kModel, &main);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Open Previous Monitor Calibration"));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        QVERIFY(dialog.isSizeGripEnabled());
        QCOMPARE(child<QLabel>(dialog, "label_1")->text(),
                 QStringLiteral("Select the previous calibration to open and restore:"));
        QTreeView *view = list(dialog);
        QVERIFY(!view->rootIsDecorated());
        QVERIFY(view->alternatingRowColors());
        QVERIFY(view->isSortingEnabled());
        QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(view->isColumnHidden(2) && view->isColumnHidden(3));
        QVERIFY(!view->isColumnHidden(0) && !view->isColumnHidden(1));
        QCOMPARE(view->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Target Name"));
        QCOMPARE(view->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Calibration Date"));
        QVERIFY(child<QCheckBox>(dialog, "show_only_current_monitor_checkBox")->isChecked());
        QCOMPARE(dialog.panel()->flavor(), ReportFlavor::Browser);
        QCOMPARE(child<QSplitter>(dialog, "splitter")->widget(1), dialog.panel());
        QCOMPARE(dialog.panel()->tabWidget()->currentIndex(), int(ReportPanel::kSummaryPage));
        // The chromaticity graph carries no title here.
        QVERIFY(!child<PZ_gamut_graph>(dialog, "widget_Color_Gamut_Graph")->GetShowGraphLabel());
        // Dates are kept as times, not texts.
        QCOMPARE(view->model()->index(0, 1).data(Qt::EditRole).typeId(), QMetaType::QDateTime);
    }

    // The first row in the view's order is current and shown, whichever it is.
    void firstRowShown()
    {
        PZ_Open_MCS_File_Dialog dialog(kVendorProductId, kSerial, kModel);
        QTreeView *view = list(dialog);
        QCOMPARE(view->currentIndex().row(), 0);
        const QString path = rowPath(view->model(), 0);
        QCOMPARE(dialog.GetSelectedMCSFileName(), path);
        const StoredCalibration *s = stored(QFileInfo(path).fileName());
        QVERIFY(s);
        QCOMPARE(dialog.panel()->shownTarget().m_Name, QLatin1String(s->targetName));
        QCOMPARE(dialog.panel()->shownResult().m_CalibrationDateTime, s->date);
        QCOMPARE(openButton(dialog)->isEnabled(), s->opens);
    }

    void filter_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("the monitor in use") << kModel << kSerial << kThisMonitor;
        QTest::newRow("letter case ignored") << "hxsim24" << "Sim0001" << kThisMonitor;
        QTest::newRow("part of model and serial") << "SIM24" << "SIM000" << kThisMonitor;
        QTest::newRow("another model") << "HXSIM27" << "SIM0009" << QStringList{"other_model.mcs"};
        QTest::newRow("no calibration of it") << "HXSIM24" << "SIM0002" << QStringList();
        QTest::newRow("no model and no serial") << "" << "" << kAll;
    }
    void filter()
    {
        QFETCH(QString, model);
        QFETCH(QString, serial);
        QFETCH(QStringList, listed);
        PZ_Open_MCS_File_Dialog dialog(kVendorProductId, serial, model);
        QCOMPARE(sorted(listedFiles(dialog)), sorted(listed));
        auto *box = child<QCheckBox>(dialog, "show_only_current_monitor_checkBox");
        box->click();
        QCOMPARE(sorted(listedFiles(dialog)), sorted(kAll));
        box->click();
        QCOMPARE(sorted(listedFiles(dialog)), sorted(listed));
    }

    void openOnlyForTheMonitorInUse()
    {
        PZ_Open_MCS_File_Dialog dialog(kVendorProductId, kSerial, kModel);
        child<QCheckBox>(dialog, "show_only_current_monitor_checkBox")->click();
        const QAbstractItemModel *model = list(dialog)->model();
        QCOMPARE(model->rowCount(), kAll.size());
        // Every row twice, so each is decided after a row of the other kind.
        for (int pass = 0; pass < 2; ++pass) {
            for (int row = model->rowCount() - 1; row >= 0; --row) {
                makeCurrent(dialog, row);
                const QString path = dialog.GetSelectedMCSFileName();
                const StoredCalibration *s = stored(QFileInfo(path).fileName());
                QVERIFY(s);
                QCOMPARE(path, QDir(m_folder).absoluteFilePath(QLatin1String(s->file)));
                QVERIFY(QFileInfo(path).isAbsolute());
                QCOMPARE(openButton(dialog)->isEnabled(), s->opens);
                // Each row's name, date and path come from one file.
                QCOMPARE(model->index(row, 0).data().toString(), QLatin1String(s->targetName));
                QCOMPARE(model->index(row, 1).data().toDateTime(), s->date);
                QCOMPARE(model->index(row, 2).data().toString(),
                         QLatin1String(s->model) + QLatin1String(s->serial));
                QCOMPARE(dialog.panel()->shownResult().GetMonitorSerial(), QLatin1String(s->serial));
                QCOMPARE(child<QLabel>(dialog, "summary_Display_Serial_Number")->text(),
                         QLatin1String(s->serial));
            }
        }
    }

    void twoFilesWithOneTargetName()
    {
        PZ_Open_MCS_File_Dialog dialog(kVendorProductId, kSerial, kModel);
        const QAbstractItemModel *model = list(dialog)->model();
        QList<QDateTime> dates;
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->index(row, 0).data().toString() == QLatin1String("Office D65"))
                dates << model->index(row, 1).data().toDateTime();
        std::sort(dates.begin(), dates.end());
        QCOMPARE(dates, (QList<QDateTime>{at(1, 9, 17, 45), at(1, 10, 8, 30)}));
    }

    void sortsByTime()
    {
        // The short texts of 9 and 10 January sort the other way.
        const QLocale locale;
        QVERIFY(locale.toString(at(1, 10, 8, 30), QLocale::ShortFormat)
                < locale.toString(at(1, 9, 17, 45), QLocale::ShortFormat));
        PZ_Open_MCS_File_Dialog dialog(kVendorProductId, QString(), QString());
        QTreeView *view = list(dialog);
        for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            view->sortByColumn(1, order);
            QStringList expected{"twin.mcs", "good.mcs", "other_id.mcs", "lower_serial.mcs", "other_model.mcs"};
            if (order == Qt::DescendingOrder)
                std::reverse(expected.begin(), expected.end());
            QCOMPARE(listedFiles(dialog), expected);
        }
    }

    void exitButtons()
    {
        PZ_Open_MCS_File_Dialog dialog(kVendorProductId, kSerial, kModel);
        makeCurrent(dialog, listedFiles(dialog).indexOf(QStringLiteral("good.mcs")));
        QTimer::singleShot(0, &dialog, [&] {
            QTest::mouseClick(child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Cancel),
                              Qt::LeftButton);
        });
        QCOMPARE(dialog.exec(), 0);

        QTimer::singleShot(0, &dialog, [&] { QTest::mouseClick(openButton(dialog), Qt::LeftButton); });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(dialog.GetSelectedMCSFileName(), m_folder + QStringLiteral("good.mcs"));
    }

    void fileGoneBeforeItsRowIsShown()
    {
        PZ_Open_MCS_File_Dialog dialog(kVendorProductId, kSerial, kModel);
        const QStringList files = listedFiles(dialog);
        makeCurrent(dialog, files.indexOf(QStringLiteral("good.mcs")));
        QVERIFY(openButton(dialog)->isEnabled());
        QVERIFY(QFile::remove(m_folder + QStringLiteral("twin.mcs")));
        makeCurrent(dialog, files.indexOf(QStringLiteral("twin.mcs")));
        QVERIFY(!openButton(dialog)->isEnabled());
        QCOMPARE(dialog.panel()->shownTarget().m_Name, CTargetValue().m_Name);
        QCOMPARE(dialog.panel()->shownResult().GetMonitorSerial(), QString());
        nothingInvented(dialog);
    }

    void viewOptionsOnlyRead()
    {
        CPreferences preferences;
        pz::ScopedPreferences scope(&preferences);
        preferences.SetInformation_Show_Gamut_ShowHDTVGamut(1);
        preferences.SetInformation_Show_Gamut_Colorspace_Type(1);
        preferences.SetInformation_Show_Curves_ShowCurveColor(3);
        for (int run = 0; run < 2; ++run) {
            PZ_Open_MCS_File_Dialog dialog(kVendorProductId, kSerial, kModel);
            QVERIFY(child<QCheckBox>(dialog, "color_gamut_HDTV_gamut_checkBox")->isChecked());
            QVERIFY(child<QRadioButton>(dialog, "color_gamut_Colorspace_CIEuv_radioButton")->isChecked());
            QVERIFY(child<QRadioButton>(dialog, "curves_Show_color_Blue_radioButton")->isChecked());
            QVERIFY(child<PZ_gamut_graph>(dialog, "widget_Color_Gamut_Graph")->IsUVDiagram());
            child<QCheckBox>(dialog, "color_gamut_HDTV_gamut_checkBox")->toggle();
            child<QRadioButton>(dialog, "color_gamut_Colorspace_CIExy_radioButton")->click();
            child<QRadioButton>(dialog, "curves_Show_color_Red_radioButton")->click();
            dialog.close();
            QCOMPARE(int(preferences.m_Information_Show_Gamut_ShowHDTVGamut), 1);
            QCOMPARE(int(preferences.m_Information_Show_Gamut_Colorspace_Type), 1);
            QCOMPARE(int(preferences.m_Information_Show_Curves_ShowCurveColor), 3);
        }
    }

    void emptyFolder()
    {
        for (const QString &file : QDir(m_folder).entryList(QDir::Files))
            QVERIFY(QFile::remove(m_folder + file));
        PZ_Open_MCS_File_Dialog dialog(kVendorProductId, QString(), QString());
        QCOMPARE(list(dialog)->model()->rowCount(), 0);
        QCOMPARE(dialog.GetSelectedMCSFileName(), QString());
        QVERIFY(!openButton(dialog)->isEnabled());
        nothingInvented(dialog);
    }

    // A stored calibration whose target holds values that are not numbers
    // is damaged: not listed, so it can be neither shown nor opened.
    void targetWithoutNumbersIsNotListed_data()
    {
        QTest::addColumn<int>("field");
        QTest::newRow("intensity") << 0;
        QTest::newRow("gamma") << 1;
        QTest::newRow("white x") << 2;
        QTest::newRow("custom green y") << 3;
    }
    void targetWithoutNumbersIsNotListed()
    {
        QFETCH(int, field);
        CTargetValue target = gammaTarget();
        target.m_Name = QStringLiteral("Damaged");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        switch (field) {
        case 0: target.m_Intensity = nan; break;
        case 1: target.m_Gamma = inf; break;
        case 2: target.m_WhitePoint = CColorTemperature(_CIExy{nan, 0.33}); break;
        default: target.m_CustomGreen.y = -inf; break;
        }
        CAdjustValue result = simulatedCalibration(gammaTarget());
        result.SetMonitorName(kModel);
        result.SetMonitorSerial(kSerial);
        result.m_MonitorVendorProductID = kVendorProductId;
        QCOMPARE(pz::WriteCalibrationSettingsFile(m_folder + "damaged.mcs", target, result), 0);
        PZ_Open_MCS_File_Dialog dialog(kVendorProductId, kSerial, kModel);
        QCOMPARE(sorted(listedFiles(dialog)), sorted(kThisMonitor));
    }

    // At the size the browser opens with, its whole tab row shows (no
    // scroll arrows, no cut text), and no graph's tick numbers overlap.
    void opensWithRoomForTabsAndNumbers()
    {
        CPreferences preferences;
        pz::ScopedPreferences scope(&preferences);
        PZ_Open_MCS_File_Dialog dialog(kVendorProductId, kSerial, kModel);
        makeCurrent(dialog, listedFiles(dialog).indexOf(QStringLiteral("good.mcs")));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTabWidget *tabs = dialog.panel()->tabWidget();
        for (int round = 0; round < 10; ++round)
            QApplication::processEvents();
        const QString cut = pz::test::tabsCutOff(*tabs);
        QVERIFY2(cut.isEmpty(), qPrintable(cut));
        int graphs = 0;
        const QString overlaps = ticklabels::overlappingOnEveryPage(dialog, tabs, &graphs);
        QVERIFY2(overlaps.isEmpty(), qPrintable(overlaps));
        QVERIFY(graphs >= 4);
    }

    // Without a data folder nothing is listed, least of all the files of
    // the folder the program was started from.
    void noDataFolder()
    {
        QTemporaryDir other;
        QVERIFY(other.isValid());
        const QString data = other.filePath(QStringLiteral("data"));
        QFile blocker(data);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        QCOMPARE(GetMCSFolder(true), QString());

        QVERIFY(writeStored(other.path() + QLatin1Char('/'), kStored[0]));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(other.path()));
        PZ_Open_MCS_File_Dialog dialog(kVendorProductId, QString(), QString());
        QDir::setCurrent(before);
        QCOMPARE(list(dialog)->model()->rowCount(), 0);
        QVERIFY(!openButton(dialog)->isEnabled());
    }

    // A picture of the browser showing a calibration, to look at.
    void picture()
    {
        CPreferences preferences;
        pz::ScopedPreferences scope(&preferences);
        PZ_Open_MCS_File_Dialog dialog(kVendorProductId, kSerial, kModel);
        makeCurrent(dialog, listedFiles(dialog).indexOf(QStringLiteral("good.mcs")));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (int page : {int(ReportPanel::kSummaryPage), int(ReportPanel::kCurvesPage)}) {
            dialog.panel()->tabWidget()->setCurrentIndex(page);
            for (int round = 0; round < 10; ++round)
                QApplication::processEvents();
            QVERIFY(dialog.grab().save(pz::test::picturesFolder()
                                       + QStringLiteral("/open_mcs_file_dialog_%1.png").arg(page)));
        }
    }
};

QTEST_MAIN(TestOpenMcsFileDialog)
#include "tst_open_mcs_file_dialog.moc"
