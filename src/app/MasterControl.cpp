#include "MasterControl.h"

#include "AppGlobals.h"
#include "ApplicationHooks.h"
#include "CMonAPIDummy.h"
#include "CTargetSensor.h"
#include "DetectThreads.h"
#include "MasterControlDataFile.h"
#include "Messages.h"
#include "PreferencesRegistry.h"
#include "StartupWindows.h"
#include "StringResources.h"
#include "SystemFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPixmap>
#include <QSplashScreen>

namespace {

const unsigned kConfigurationFileNameText = 13;
const unsigned kSplashLogoText = 14;
const char kSplashGround[] = ":/images/Resources/splash blank.png";
const QString kNoSensor = QStringLiteral("-");
const int kFileCannotOpen = -1500;

} // namespace

MasterControl::MasterControl(QObject *parent) : QObject(parent)
{
    pz::setApplicationPreferences(&m_Preferences);
    information_window = nullptr;
    test_pattern_window = nullptr;

    pCMonAPIDummy = new CMonAPIDummy;
    pTargetSensor = new CTargetSensor;

    connect(&m_MultiMonitor, &CMultiMonitor::detectedMonitor, this,
            &MasterControl::detectedMonitorIn);
    connect(pTargetSensor, &CTargetSensor::detectedSensor, this,
            &MasterControl::detectedSensorIn);
    connect(pTargetSensor, &CTargetSensor::sensorDetectionComplete, this,
            &MasterControl::sensorDetectionCompleteIn);

    m_preferencesKeptAs = m_Preferences.DamagedFileKeptAs();
    ReadMasterControlData();
}

MasterControl::~MasterControl()
{
    // The threads go first: a detection still running is given up, and the
    // list it was rebuilding is never the one stored.
    delete m_monitorThread;
    m_monitorThread = nullptr;
    delete m_sensorThread;
    m_sensorThread = nullptr;

    // Before the windows opened nothing can have changed the records, and a
    // detection that did not finish leaves no list worth storing: a stored
    // file keeps the one from before. Without one, every run leaves one.
    const bool replaceable = m_opened || !QFileInfo::exists(GetMasterControlFileNameAndPath());
    if (m_writeDataAtExit && replaceable) {
        const int written = WriteMasterControlData();
        // The windows are gone (or the program is ending on a signal): the
        // failure can only be told on the terminal.
        if (written != 0)
            qWarning("pelzora: %s (%d): %s", qPrintable(pz::errorMessageText(written)), written,
                     qPrintable(QDir::toNativeSeparators(GetMasterControlFileNameAndPath())));
    }

    delete pCMonAPIDummy;
    pCMonAPIDummy = nullptr;
    delete pTargetSensor;
    pTargetSensor = nullptr;
    if (pz::StartupWindows *windows = pz::startupWindows())
        windows->deleteWindows(m_mainWindow);
    m_mainWindow = nullptr;
    information_window = nullptr;
    test_pattern_window = nullptr;
    delete m_splash;
    m_splash = nullptr;

    pz::setApplicationPreferences(nullptr);
}

CTargetSensor *MasterControl::GetTargetSensor() const
{
    return pTargetSensor;
}

void MasterControl::Startup(bool autoMode)
{
    m_autoMode = autoMode;

    m_splash = new QSplashScreen(QPixmap());
    m_splash->setPixmap(QPixmap(QString::fromLatin1(kSplashGround)));
    // The logo is shown inside the message; the splash leaves room for it
    // and three lines of text.
    const QPixmap logo(GetStringResource(kSplashLogoText));
    const QFontMetrics metrics(m_splash->font());
    m_splash->resize(logo.width() + 10, logo.height() + 3 * metrics.height() + 10);
    m_splash->show();
    displayDetectionMessage();

    if (m_autoMode) {
        m_sensorDetectionComplete = true;
        m_monitorThread = new MonitorDetectThread;
        connect(m_monitorThread, &QThread::finished, this,
                &MasterControl::monitorDetectionCompleteIn);
        m_monitorThread->begin(false);
        return;
    }

    if (pz::StartupWindows *windows = pz::startupWindows()) {
        m_mainWindow = windows->createMainWindow();
        information_window = windows->createInformationWindow(m_mainWindow);
        test_pattern_window = windows->createTestPatternWindow(m_mainWindow);
    }
    m_monitorThread = new MonitorDetectThread;
    connect(m_monitorThread, &QThread::finished, this,
            &MasterControl::monitorDetectionCompleteIn);
    m_monitorThread->begin(false);
    m_sensorThread = new SensorDetectThread;
    m_sensorThread->begin();
}

void MasterControl::readyToOpen()
{
    // Both completions can arrive more than once; the windows open once.
    if (m_opened)
        return;
    m_opened = true;

    m_TargetDisplay.SetMonitorData(m_MultiMonitor.GetMonitorData(0));
    emit startup_complete();
    if (!m_autoMode && m_mainWindow)
        m_mainWindow->setVisible(true);
    // This can run inside the splash's own showMessage(), which lets events
    // through while it paints: the splash goes away now and is deleted once
    // control is back in the event loop.
    m_splash->hide();
    m_splash->deleteLater();
    m_splash = nullptr;

    tellFilesKeptAside();

    if (m_autoMode) {
        if (pz::StartupWindows *windows = pz::startupWindows())
            windows->checkAllSupportedDisplaySettings(nullptr);
        // Auto mode opens no window of its own: once the check is done the
        // program ends.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::quit(); },
            Qt::QueuedConnection);
        return;
    }
    emit start_check_display_settings();
    emit start_check_calibration_sensor();
}

void MasterControl::displayDetectionMessage()
{
    if (!m_splash)
        return;
    QString text = QStringLiteral("<img src=\"") + GetStringResource(kSplashLogoText)
                   + QStringLiteral("\"><br>") + GetVersionString();
    if (!m_monitorName.isEmpty())
        text += tr("<br>Detected ", "splashscreen message when monitor detected") + m_monitorName;
    else
        text += tr("<br>Detecting displays...", "splashscreen message when looking for display");
    text += QStringLiteral("\n");
    if (!m_autoMode) {
        if (m_sensorName.isEmpty())
            text += tr("<br>Detecting calibration sensor...",
                       "splashscreen message when looking for sensor");
        else if (m_sensorName == kNoSensor)
            text += tr("<br><img src=\":/images/Resources/alerts_yellow_icon_12.png\">&nbsp;No "
                       "calibration sensor detected",
                       "splashscreen message when no sensor detected");
        else
            text += tr("<br>Detected ", "splashscreen message when sensor detected")
                    + m_sensorName;
    }
    m_splash->showMessage(text, Qt::AlignHCenter | Qt::AlignBottom, Qt::black);
}

void MasterControl::detectedMonitorIn(const QString &name)
{
    m_monitorName = name;
    displayDetectionMessage();
}

void MasterControl::monitorDetectionCompleteIn()
{
    m_monitorDetectionComplete = true;
    if (m_sensorDetectionComplete)
        readyToOpen();
}

void MasterControl::detectedSensorIn(const QString &name)
{
    m_sensorName = name;
    displayDetectionMessage();
}

void MasterControl::sensorDetectionCompleteIn()
{
    m_sensorDetectionComplete = true;
    if (m_monitorDetectionComplete)
        readyToOpen();
}

void MasterControl::tellFilesKeptAside()
{
    tellFileKeptAside(m_preferencesKeptAs,
                      tr("The preferences could not be read. The file has been kept as %1, and "
                         "every preference is back to its default.<br><br>Units, storage locations "
                         "and recalibration reminders may differ from what you chose: Edit > "
                         "Preferences shows them."));
    tellFileKeptAside(m_dataFileKeptAs,
                      tr("The record of the displays' calibrations could not be read. It has "
                         "been kept as %1, and a new record is started.<br><br>Displays may be "
                         "shown as not calibrated until they are calibrated again. Their stored "
                         "calibrations are still there: File > Open Previous Calibration loads "
                         "them."));
}

void MasterControl::tellFileKeptAside(QString &keptAs, const QString &text)
{
    if (keptAs.isEmpty())
        return;
    const QString shown = QDir::toNativeSeparators(keptAs);
    keptAs.clear();
    DisplayMessage(m_autoMode ? nullptr : m_mainWindow, text.arg(shown), QMessageBox::Warning,
                   false, 0, false);
}

QString MasterControl::GetMasterControlFileNameAndPath() const
{
    return GetPreferencesFolder() + QLatin1Char('/') + GetStringResource(kConfigurationFileNameText);
}

int MasterControl::WriteMasterControlData()
{
    // Without a preferences folder the path would name a file in the root
    // folder.
    if (GetPreferencesFolder().isEmpty())
        return kFileCannotOpen;
    return pz::writeMasterControlData(GetMasterControlFileNameAndPath(), m_MultiMonitor,
                                      m_MonitorTracker);
}

int MasterControl::StoreChangedRecords(QWidget *parent)
{
    if (!m_writeDataAtExit)
        return 0;
    const int result = WriteMasterControlData();
    if (result != 0)
        DisplayErrorMessage(parent, result, false, 0);
    return result;
}

int MasterControl::ReadMasterControlData()
{
    if (GetPreferencesFolder().isEmpty())
        return kFileCannotOpen;
    const QString path = GetMasterControlFileNameAndPath();
    QString keptAs;
    const int result = pz::readMasterControlData(path, m_MultiMonitor, m_MonitorTracker, &keptAs);
    m_dataFileKeptAs = keptAs;
    // A file that is there but could not be read, and is not safe elsewhere,
    // must not be overwritten at exit: it may hold every monitor's record.
    const bool unreadableInPlace = result != 0 && QFileInfo::exists(path) && keptAs.isEmpty();
    m_writeDataAtExit = !unreadableInPlace;
    return result;
}

namespace {

bool anyMonitorAccepted(bool (*accepts)(unsigned long modelId))
{
    if (!pMasterControl)
        return false;
    const CMultiMonitor &list = *pMasterControl->GetMultiMonitor();
    for (int i = 0; i < list.GetDisplayCount(); ++i)
        if (accepts(list.GetMonitorData(unsigned(i)).m_ModelID))
            return true;
    return false;
}

} // namespace

bool isDisplaySupportingAutoLuminancePresent()
{
    return anyMonitorAccepted(&CTargetDisplay::DoesDisplaySupportAutoLuminance);
}

bool isDisplaySupportingLUTCalibrationPriorityPresent()
{
    return anyMonitorAccepted(&CTargetDisplay::DoesDisplaySupportLUTCalibrationPriority);
}
