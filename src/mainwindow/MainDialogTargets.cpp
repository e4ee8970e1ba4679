// The Target Settings group of the main window: the list of target files,
// the current target's captions, the preset targets, saving and opening
// target files, and the search of the stored calibrations that marks each
// list entry.

#include "PZ_Main_Dialog.h"

#include "AppGlobals.h"
#include "CDDCMonitor.h"
#include "CalibrationDue.h"
#include "CalibrationSettingsFile.h"
#include "MasterControl.h"
#include "Messages.h"
#include "PZ_edit_target_dialog.h"
#include "RecordStream.h"
#include "StandardTargets.h"
#include "StringResources.h"
#include "SystemFolders.h"
#include "TargetFiles.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QSignalBlocker>

namespace {

const unsigned kTargetExtensionText = 3;   // ".tgt"
const unsigned kSettingsExtensionText = 7; // ".mcs"
const int kFileCannotOpen = -1500;
const int kFileInvalid = -1503;
const int kTargetNotSaved = -1505;

enum : unsigned {
    kOpenTargetCaption = 4,
    kSaveTargetCaption = 5,
    kTargetFileFilter = 2,
    kReservedFileName = 176,
};

enum TargetStatus { kNoCalibration = 0, kCalibrationDue = 1, kCalibrationCurrent = 2 };

QIcon statusIcon(int status)
{
    static const char *const kIcons[] = {
        ":/images/Resources/blank circle icon.png",
        ":/images/Resources/yellow circle icon.png",
        ":/images/Resources/green circle icon.png",
    };
    return QIcon(QString::fromLatin1(kIcons[status]));
}

// The files of a folder that match pattern: plain files, hidden ones
// included, no links. An empty folder path (the folder could not be found)
// lists nothing rather than the working directory.
QFileInfoList listFiles(const QString &folder, const QString &pattern, QDir::SortFlags sort)
{
    if (folder.isEmpty())
        return {};
    return QDir(folder).entryInfoList({pattern}, QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                                      sort);
}

// A target name that names a file inside the targets folder: no folder
// separators, no parent reference, no control characters.
bool isPlainFileName(const QString &name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
        || name.contains(QLatin1String("..")))
        return false;
    for (const QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    return true;
}

} // namespace

void PZ_Main_Dialog::onCreateTargetList()
{
    const QSignalBlocker blocker(main_Target_comboBox);
    main_Target_comboBox->clear();

    const QString folder = GetTargetsFolder(true);
    const QFileInfoList entries =
        listFiles(folder, QLatin1Char('*') + GetStringResource(kTargetExtensionText),
                  QDir::Name | QDir::Reversed);
    QString selected;
    for (const QFileInfo &entry : entries) {
        CTargetValue target;
        if (target.ReadFile(entry.filePath()) != 0)
            continue;
        const int status = targetListStatus(target);
        if (status >= kNoCalibration && status <= kCalibrationCurrent)
            main_Target_comboBox->insertItem(0, statusIcon(status), entry.completeBaseName(),
                                             entry.fileName());
        // Entries come in descending order: the last match has the smallest name.
        if (m_CurrentTarget == target)
            selected = entry.fileName();
    }
    // The selected entry is always the target in use: none when no file
    // holds it, rather than whichever entry came first.
    if (!selected.isEmpty()) {
        main_Target_comboBox->setCurrentIndex(main_Target_comboBox->findData(selected));
        UpdateTargetUI();
    } else {
        main_Target_comboBox->setCurrentIndex(-1);
    }
}

int PZ_Main_Dialog::targetListStatus(const CTargetValue &target)
{
    if (target.m_ColorGamutType == CTargetValue::kGamutSRGB && pMasterControl
        && !pMasterControl->GetTargetDisplay()->GetWideGamutMonitorSupportssRGBPresetSelection())
        return -1;
    int status = kNoCalibration;
    FindBestMCSForCurrentTarget(target, false, &status);
    return status;
}

void PZ_Main_Dialog::onTargetSelectionChanged(int index)
{
    const QString folder = GetTargetsFolder(true);
    const QString fileName = main_Target_comboBox->itemData(index).toString();
    if (folder.isEmpty() || fileName.isEmpty())
        return;
    CTargetValue target;
    const int result = target.ReadFile(folder + fileName);
    if (result == kFileCannotOpen)
        return;
    if (result != 0) {
        DisplayErrorMessage(this, kFileInvalid, false, 0);
    } else {
        m_CurrentTarget = target;
        if (pMasterControl && pMasterControl->GetPreferences()->m_AutoLoadMCSOnTargetChange) {
            int status = kNoCalibration;
            FindBestMCSForCurrentTarget(m_CurrentTarget, true, &status);
        }
    }
    UpdateTargetUI();
    UpdateCalibrationStatus();
}

void PZ_Main_Dialog::UpdateTargetUI()
{
    main_Target_White_Point_Text->setText(m_CurrentTarget.GetWhitePointString());
    main_Target_Contrast_Ratio_Text->setText(m_CurrentTarget.GetContrastRatioString());
    main_Target_Gamma_Text->setText(m_CurrentTarget.GetGammaCurveString(false));
    main_Target_Intensity_Text->setText(m_CurrentTarget.GetTargetIntensityString(true));
    main_Target_Color_Gamut_Text->setText(m_CurrentTarget.GetColorGamutString());

    const int gamut = m_CurrentTarget.m_ColorGamutType;
    const bool reachable = gamut == CTargetValue::kGamutNative
                           || m_GamutAdjustability == CDDCMonitor::kColorGamutFree
                           || ((m_GamutAdjustability == CDDCMonitor::kColorGamutLimitedsRGB
                                || m_GamutAdjustability == CDDCMonitor::kColorGamutLimited)
                               && gamut == CTargetValue::kGamutSRGB);
    main_Target_Color_Gamut_Text->setEnabled(reachable);
    main_Target_Color_Gamut_label->setEnabled(reachable);
    main_Target_Color_Gamut_icon->setEnabled(reachable);

    updateInformationWindow();
}

int PZ_Main_Dialog::SetectTargetInListByName(QString fileName)
{
    const QSignalBlocker blocker(main_Target_comboBox);
    const int index = main_Target_comboBox->findData(fileName);
    if (index >= 0)
        main_Target_comboBox->setCurrentIndex(index);
    return index;
}

void PZ_Main_Dialog::CreateStandardTargets()
{
    m_ReservedTargetNames.clear();
    const QString extension = GetStringResource(kTargetExtensionText);
    const QVector<CTargetValue> presets = pz::standardTargets();
    for (int i = 0; i < presets.size(); ++i) {
        m_ReservedTargetNames.append(presets.at(i).m_Name + extension);
        SaveTargetToDefaultLocation(presets.at(i), false);
        if (i == pz::kPhotoEditingPreset)
            m_CurrentTarget = presets.at(i);
    }
}

int PZ_Main_Dialog::SaveTargetToDefaultLocation(CTargetValue target, bool overwrite)
{
    if (!isPlainFileName(target.m_Name))
        return kTargetNotSaved;
    const QString folder = GetTargetsFolder(true);
    if (folder.isEmpty())
        return kFileCannotOpen;
    const QString path = folder + target.m_Name + GetStringResource(kTargetExtensionText);
    if (!overwrite && QFileInfo::exists(path)) {
        // A damaged file is kept aside and written again from target; one
        // that reads stays as it is.
        CTargetValue stored;
        if (stored.ReadFile(path) != kFileInvalid || pz::keepDamagedFileAside(path).isEmpty())
            return 0;
    }
    return target.WriteFile(path);
}

int PZ_Main_Dialog::FindBestMCSForCurrentTarget(CTargetValue target, bool load, int *status)
{
    *status = kNoCalibration;
    if (!pMasterControl || !pMasterControl->GetTargetDisplay()->m_pDDCMonitor)
        return -1;
    const QString serial = pMasterControl->GetTargetDisplay()->GetMonitorData().m_SerialNumber;

    QDateTime bestDate;
    QString bestPath;
    // QDir's size order is largest first: reversed, the smallest file comes first.
    const QFileInfoList entries =
        listFiles(GetMCSFolder(false), QLatin1Char('*') + GetStringResource(kSettingsExtensionText),
                  QDir::Size | QDir::Reversed);
    for (const QFileInfo &entry : entries) {
        CTargetValue stored;
        CAdjustValue result;
        if (pz::ReadCalibrationSettingsFile(entry.filePath(), stored, result) != 0)
            continue;
        if (!(stored == target) || result.GetMonitorSerial().compare(serial, Qt::CaseInsensitive) != 0)
            continue;
        const QDateTime date = result.m_CalibrationDateTime;
        if (date.isValid() && (!bestDate.isValid() || bestDate < date)) {
            bestDate = date;
            bestPath = entry.absoluteFilePath();
        }
    }
    if (!bestPath.isEmpty())
        *status = GetDaysUntilNextCalibration(bestDate) >= 0 ? kCalibrationCurrent : kCalibrationDue;
    if (load && !bestPath.isEmpty() && bestDate != m_CalibrationResult.m_CalibrationDateTime)
        LoadMCSFile(bestPath);
    return 0;
}

bool PZ_Main_Dialog::saveTarget(CTargetValue *target, bool ask)
{
    const QString extension = GetStringResource(kTargetExtensionText);
    // Without a targets folder the file would land in the working directory.
    const QString folder = GetTargetsFolder(true);
    if (folder.isEmpty()) {
        DisplayErrorMessage(this, kTargetNotSaved, false, 0);
        return false;
    }
    QString stem = target->m_Name;
    if (stem.endsWith(extension))
        stem.chop(extension.size());
    stem = pz::safeTargetFileStem(stem);

    QString path;
    bool alreadyThere = false;
    if (ask) {
        path = folder + stem + extension;
        for (;;) {
            path = QFileDialog::getSaveFileName(this, GetStringResource(kSaveTargetCaption), path,
                                                GetStringResource(kTargetFileFilter));
            if (path.isEmpty())
                return false;
            if (!path.endsWith(extension))
                path += extension;
            const QString fileName = QFileInfo(path).fileName();
            if (!m_ReservedTargetNames.contains(fileName, Qt::CaseInsensitive))
                break;
            DisplayMessage(this, GetStringResource(kReservedFileName).arg(fileName),
                           QMessageBox::Critical, false, 0, false);
        }
    } else {
        // A name that came from a file: never over another target, never
        // outside the folder.
        const pz::TargetPlace place =
            pz::placeTarget(folder, stem, *target, m_ReservedTargetNames);
        if (!pz::liesDirectlyIn(place.path, folder)) {
            DisplayErrorMessage(this, kTargetNotSaved, false, 0);
            return false;
        }
        path = place.path;
        alreadyThere = place.alreadyThere;
    }

    // The file takes the new name; the target takes it only once written.
    CTargetValue named = *target;
    named.m_Name = QFileInfo(path).completeBaseName();
    if (!alreadyThere && named.WriteFile(path) != 0) {
        DisplayErrorMessage(this, kTargetNotSaved, false, 0);
        return false;
    }
    target->m_Name = named.m_Name;
    onCreateTargetList();
    return true;
}

bool PZ_Main_Dialog::onSaveTarget()
{
    return saveTarget(&m_CurrentTarget, true);
}

void PZ_Main_Dialog::on_main_Target_Open_pushButton_clicked()
{
    const QString folder = GetTargetsFolder(true);
    const QString chosen =
        QFileDialog::getOpenFileName(this, GetStringResource(kOpenTargetCaption), folder,
                                     GetStringResource(kTargetFileFilter));
    if (chosen.isEmpty())
        return;
    CTargetValue target;
    const int read = target.ReadFile(chosen);
    if (read != 0) {
        DisplayErrorMessage(this, read == kFileCannotOpen ? kFileCannotOpen : kFileInvalid, false,
                            0);
        return;
    }
    m_CurrentTarget = target;

    if (!folder.isEmpty() && pz::findEqualTargetFile(folder, target).isEmpty()) {
        QString stem = QFileInfo(chosen).completeBaseName();
        const QString extension = GetStringResource(kTargetExtensionText);
        if (stem.endsWith(extension))
            stem.chop(extension.size());
        // The copy keeps the target's own name, and never replaces another
        // target (a preset included) that happens to have the file's name.
        const pz::TargetPlace place =
            pz::placeTarget(folder, pz::safeTargetFileStem(stem), target, m_ReservedTargetNames);
        if (!place.alreadyThere)
            target.WriteFile(place.path);
    }
    onCreateTargetList();
    onTargetSelectionChanged(main_Target_comboBox->currentIndex());
}

void PZ_Main_Dialog::on_main_Target_Edit_pushButton_clicked()
{
    CCIEYxy primaries[3];
    CDDCMonitor *monitor =
        pMasterControl ? pMasterControl->GetTargetDisplay()->m_pDDCMonitor : nullptr;
    if (monitor) {
        // The EDID comes over DDC/CI: a noticeable wait on some monitors.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        monitor->GetMonitorEDIDColorCoordinates(primaries);
        QApplication::restoreOverrideCursor();
    }

    CTargetValue edited;
    {
        PZ_edit_target_dialog editor(
            m_CurrentTarget,
            CDDCMonitor::typeColorGamutAdjustability(m_GamutAdjustability), primaries, this);
        pz::placeOverParent(editor, this);
        if (editor.exec() != QDialog::Accepted)
            return;
        edited = editor.working_target;
    }

    const QString folder = GetTargetsFolder(true);
    if (!folder.isEmpty() && !pz::findEqualTargetFile(folder, edited).isEmpty()) {
        m_CurrentTarget = edited;
    } else {
        const CTargetValue previous = m_CurrentTarget;
        m_CurrentTarget = edited;
        if (!onSaveTarget())
            m_CurrentTarget = previous;
    }
    onCreateTargetList();
    UpdateTargetUI();
    UpdateCalibrationStatus();
    updateControlsStatus();
}
