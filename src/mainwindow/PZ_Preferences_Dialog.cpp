#include "PZ_Preferences_Dialog.h"

#include "AppGlobals.h"
#include "CPreferences.h"
#include "CTargetSensor.h"
#include "HostSystem.h"
#include "MasterControl.h"
#include "StringResources.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QSignalBlocker>

namespace {

// What InitPreferences sets; shown when a damaged file holds a value that
// no item or button stands for.
constexpr int kDefaultSteps = 32;
constexpr int kDefaultReminderDays = 14;
constexpr int kDefaultOSDLock = 0;
constexpr int kDefaultProfileStorage = 1;
constexpr int kDefaultPrimaryColorSource = 2;
constexpr int kDefaultLuminanceUnits = 0;

void selectItem(QComboBox *list, int value, int fallback)
{
    int index = list->findData(value);
    if (index < 0)
        index = list->findData(fallback);
    list->setCurrentIndex(index);
}

void checkButton(QButtonGroup &group, int id, int fallback)
{
    QAbstractButton *button = group.button(id);
    if (!button)
        button = group.button(fallback);
    button->setChecked(true);
}

quint8 byteOf(const QComboBox *list) { return quint8(list->currentData().toInt()); }
quint8 byteOf(const QCheckBox *box) { return box->isChecked() ? 1 : 0; }
quint8 byteOf(const QButtonGroup &group) { return quint8(group.checkedId()); }

} // namespace

PZ_Preferences_Dialog::PZ_Preferences_Dialog(QWidget *parent) : QDialog(parent)
{
    setupUi(this);

    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &PZ_Preferences_Dialog::onAccept);
    connect(preferences_SensorAutoDetect_pushButton, &QPushButton::clicked, this,
            &PZ_Preferences_Dialog::onSensorAutoDetect);
    connect(preferences_SensorType_comboBox, &QComboBox::currentIndexChanged, this,
            &PZ_Preferences_Dialog::onSensorSelectionChanged);
    connect(preferences_ProfileSaveToLocationEdit_pushButton, &QPushButton::clicked, this,
            &PZ_Preferences_Dialog::onEditProfileSaveToLocation);

    FillLists();

    preferences_targets_location_frame->hide();
    preferences_ProfileSetAsDefault_checkBox->hide();
    preferences_ProfileSetAsDefault_label->hide();
    preferences_ProfileSaveToLocation_frame->hide();

    FillButtonGroups();
    InitValues();

    // The whole tab row counts into the minimum size, in every language.
    tabWidget->setUsesScrollButtons(false);
    tabWidget->setElideMode(Qt::ElideNone);
    resize(layout()->minimumSize());
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    UpdateSensorInfo();

    // Where profiles always go to the user's folder the stored choice means
    // nothing: "Per user" shows checked and cannot be changed.
    pz::IHostSystem *host = pz::hostSystem();
    if (host && host->profilesAlwaysPerUser()) {
        preferences_ProfileStorageLocation_label->setEnabled(false);
        preferences_ProfileStorageLocation_PerUser_radioButton->setEnabled(false);
        preferences_ProfileStorageLocation_AllUsers_radioButton->setEnabled(false);
    }
}

PZ_Preferences_Dialog::~PZ_Preferences_Dialog() = default;

CPreferences *PZ_Preferences_Dialog::Preferences()
{
    return pMasterControl ? pMasterControl->GetPreferences() : nullptr;
}

CTargetSensor *PZ_Preferences_Dialog::TargetSensor()
{
    return pMasterControl ? pMasterControl->GetTargetSensor() : nullptr;
}

void PZ_Preferences_Dialog::FillLists()
{
    // Items go in at the front, so each list shows its largest value first.
    {
        const QSignalBlocker quiet(preferences_SensorType_comboBox);
        if (CTargetSensor *selector = TargetSensor()) {
            QString name;
            for (int type = 0;
                 selector->GetSensorListNames(CTargetSensor::typeTargetSensor(type), name); ++type)
                preferences_SensorType_comboBox->insertItem(0, name, type);
            preferences_SensorType_comboBox->setCurrentIndex(
                preferences_SensorType_comboBox->findData(int(selector->m_CurrentType)));
        }
    }

    const struct {
        int value;
        const char *text;
    } steps[] = {{8, QT_TR_NOOP("8")},
                 {16, QT_TR_NOOP("16")},
                 {32, QT_TR_NOOP("32 (Default)")},
                 {52, QT_TR_NOOP("52 (Highest Quality)")}},
      reminders[] = {{0, QT_TR_NOOP("Never")},   {2, QT_TR_NOOP("2 Days")},
                     {3, QT_TR_NOOP("3 Days")},  {7, QT_TR_NOOP("1 Week")},
                     {14, QT_TR_NOOP("2 Weeks")}, {28, QT_TR_NOOP("4 Weeks")}};
    for (const auto &item : steps)
        preferences_CalibrationSteps_comboBox->insertItem(0, tr(item.text), item.value);
    for (const auto &item : reminders)
        preferences_RecalibrationPeriod_comboBox->insertItem(0, tr(item.text), item.value);
}

void PZ_Preferences_Dialog::FillButtonGroups()
{
    m_OSDLockGroup.addButton(preferences_OSDLock_DontLock_radioButton, 0);
    m_OSDLockGroup.addButton(preferences_OSDLock_DontLockBRTCNT_radioButton, 1);
    m_OSDLockGroup.addButton(preferences_OSDLock_LockAll_radioButton, 2);
    m_ProfileStorageGroup.addButton(preferences_ProfileStorageLocation_PerUser_radioButton, 0);
    m_ProfileStorageGroup.addButton(preferences_ProfileStorageLocation_AllUsers_radioButton, 1);
    m_PrimaryColorSourceGroup.addButton(preferences_ProfilePrimaryColorsSource_Sensor_radioButton, 0);
    m_PrimaryColorSourceGroup.addButton(preferences_ProfilePrimaryColorsSource_EDID_radioButton, 1);
    m_PrimaryColorSourceGroup.addButton(preferences_ProfilePrimaryColorsSource_Automatic_radioButton,
                                        2);
    m_LuminanceUnitsGroup.addButton(preferences_LuminanceUnits_Candelas_radioButton, 0);
    m_LuminanceUnitsGroup.addButton(preferences_LuminanceUnits_FootLamberts_radioButton, 1);
    m_ProfileNamingGroup.addButton(preferences_ProfileName_Automatic_radioButton, 1);
    m_ProfileNamingGroup.addButton(preferences_ProfileName_Manual_radioButton, 0);
}

void PZ_Preferences_Dialog::InitValues()
{
    const CPreferences *p = Preferences();
    if (!p)
        return;
    selectItem(preferences_RecalibrationPeriod_comboBox, p->m_RecalibrationPeriod,
               kDefaultReminderDays);
    selectItem(preferences_CalibrationSteps_comboBox, p->m_CalibrationSteps, kDefaultSteps);
    checkButton(m_OSDLockGroup, p->m_OSDLockLevel, kDefaultOSDLock);
    checkButton(m_ProfileStorageGroup, p->GetProfileStorageLocation(), kDefaultProfileStorage);
    checkButton(m_PrimaryColorSourceGroup, p->m_PrimaryColorSource, kDefaultPrimaryColorSource);
    checkButton(m_LuminanceUnitsGroup, p->m_LuminanceUnits, kDefaultLuminanceUnits);
    checkButton(m_ProfileNamingGroup, p->m_AutoSaveICC ? 1 : 0, 1);
    preferences_SensorAverageMeasurements_checkBox->setChecked(p->m_AverageLowLightMeasurements != 0);
    preferences_CheckCalibrationStatusOnLaunch_checkBox->setChecked(
        p->m_CheckCalibrationStatusOnLaunch != 0);
    preferences_AutoLoadOnTargetChange_checkBox->setChecked(p->m_AutoLoadMCSOnTargetChange);
    preferences_ProfileGenerateAfterCalibration_checkBox->setChecked(p->m_ICCAfterCalibration);
    preferences_ProfileSetAsDefault_checkBox->setChecked(p->m_SetProfileAsDefault);
    preferences_ProfileSaveToLocation_lineEdit->setText(p->GetICCProfileLocation());
    preferences_ExtendedLuminanceStabilizationTime_checkBox->setChecked(
        p->m_UseExtendedLuminanceStabilizationTime != 0);
}

void PZ_Preferences_Dialog::onAccept()
{
    if (CPreferences *p = Preferences()) {
        p->SetRecalibrationPeriod(byteOf(preferences_RecalibrationPeriod_comboBox));
        p->SetCalibrationSteps(byteOf(preferences_CalibrationSteps_comboBox));
        p->SetLuminanceUnits(byteOf(m_LuminanceUnitsGroup));
        p->SetPrimaryColorSource(byteOf(m_PrimaryColorSourceGroup));
        p->SetOSDLockLevel(byteOf(m_OSDLockGroup));
        p->SetProfileStorageLocation(byteOf(m_ProfileStorageGroup));
        p->SetAutoSaveICC(m_ProfileNamingGroup.checkedId() != 0);
        p->SetAverageLowLightMeasurements(byteOf(preferences_SensorAverageMeasurements_checkBox));
        p->SetCheckCalibrationStatusOnLaunch(
            byteOf(preferences_CheckCalibrationStatusOnLaunch_checkBox));
        p->SetAutoLoadMCSOnTargetChange(preferences_AutoLoadOnTargetChange_checkBox->isChecked());
        p->SetICCAfterCalibration(preferences_ProfileGenerateAfterCalibration_checkBox->isChecked());
        // Hidden, but kept as it was loaded.
        p->SetSetProfileAsDefault(preferences_ProfileSetAsDefault_checkBox->isChecked());
        p->SetUseExtendedLuminanceStabilizationTime(
            byteOf(preferences_ExtendedLuminanceStabilizationTime_checkBox));
        // Confirmed settings are kept at once, not only at exit: a program
        // that is killed or crashes later must not lose them.
        p->WritePreferencesData();
    }
    accept();
}

void PZ_Preferences_Dialog::on_preferences_Defaults_pushButton_clicked()
{
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, GetStringResource(1), GetStringResource(160),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::No)
        return;
    if (CPreferences *p = Preferences())
        p->InitPreferences();
    InitValues();
}

void PZ_Preferences_Dialog::UpdateSensorInfo()
{
    QString model = tr("N/A");
    QString serial = model;
    CTargetSensor *selector = TargetSensor();
    if (selector && selector->m_pCurrentSensor && selector->m_pCurrentSensor->m_Connected) {
        model = selector->m_pCurrentSensor->GetModelName();
        serial = selector->m_pCurrentSensor->GetSerialNumber();
    }
    preferences_SensorModelName_label->setText(model);
    preferences_SensorSerialNumber_label->setText(serial);
}

void PZ_Preferences_Dialog::onSensorSelectionChanged(int)
{
    // Opening a sensor blocks until the device answers.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (CTargetSensor *selector = TargetSensor())
        selector->SelectType(CTargetSensor::typeTargetSensor(
            preferences_SensorType_comboBox->currentData().toInt()));
    UpdateSensorInfo();
    QApplication::restoreOverrideCursor();
}

void PZ_Preferences_Dialog::onSensorAutoDetect()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    {
        // The list follows what was found without opening it a second time.
        const QSignalBlocker quiet(preferences_SensorType_comboBox);
        if (CTargetSensor *selector = TargetSensor()) {
            const auto shown = CTargetSensor::typeTargetSensor(
                preferences_SensorType_comboBox->currentData().toInt());
            if (selector->SelectType(shown) != 0) {
                selector->AutoSelect();
                preferences_SensorType_comboBox->setCurrentIndex(
                    preferences_SensorType_comboBox->findData(int(selector->m_CurrentType)));
            }
            UpdateSensorInfo();
        }
    }
    QApplication::restoreOverrideCursor();
}

void PZ_Preferences_Dialog::onEditProfileSaveToLocation()
{
    CPreferences *p = Preferences();
    if (!p)
        return;
    const QString folder = QFileDialog::getExistingDirectory(
        this, tr("Select location to store ICC Profile"), p->GetICCProfileLocation(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (folder.isEmpty())
        return;
    p->SetICCProfileLocation(folder);
    // The folder shown is the one profiles really go to.
    preferences_ProfileSaveToLocation_lineEdit->setText(p->GetICCProfileLocation());
}
