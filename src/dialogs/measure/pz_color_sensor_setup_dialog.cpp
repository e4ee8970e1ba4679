#include "pz_color_sensor_setup_dialog.h"

#include "AppGlobals.h"
#include "CSensor.h"
#include "CTargetSensor.h"
#include "Messages.h"
#include "StringResources.h"
#include "WindowPlacement.h"
#include "ui_pz_color_sensor_setup_dialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QResizeEvent>
#include <QLayout>
#include <QPushButton>
#include <QTimer>

pz_color_sensor_setup_dialog::pz_color_sensor_setup_dialog(bool ambient, bool forceZeroCal,
                                                           QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::pz_color_sensor_setup_dialogClass>()),
      m_Ambient(ambient)
{
    ui->setupUi(this);

    // OK never accepts directly: the pages decide when the sensor is ready.
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this,
            &pz_color_sensor_setup_dialog::my_accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    m_UpdateTimer = new QTimer(this);
    m_UpdateTimer->setSingleShot(true);
    connect(m_UpdateTimer, &QTimer::timeout, this,
            &pz_color_sensor_setup_dialog::update_sensor_selector_timer);
    m_PollTimer = new QTimer(this);
    connect(m_PollTimer, &QTimer::timeout, this,
            &pz_color_sensor_setup_dialog::poll_sensor_selector_timer);

    SetPicture(QPixmap());
    m_Sensor = pTargetSensor ? pTargetSensor->m_pCurrentSensor : nullptr;
    if (m_Sensor) {
        m_Sensor->GetSensorPhyscalData(m_PhysicalData);
        m_ZeroCalNeeded = m_Sensor->SupportsZeroCal()
                          && (forceZeroCal || !m_Sensor->m_ZeroCalibrationDone);
        m_RequiredPosition = m_ZeroCalNeeded ? CSensor::kSelectorCalibrate : MeasurementPosition();
        m_SelectorSupported = m_Sensor->DoesSensorSupportMeasurementSelector();

        const QString zeroCalText = GetStringResource(803) + m_PhysicalData.m_ZeroCalibrationText
                                    + GetStringResource(805);
        if (m_SelectorSupported) {
            const bool positionRight =
                m_Sensor->GetSensorMeasurementSelectorPosition() == m_RequiredPosition;
            if (m_ZeroCalNeeded) {
                SetPicture(m_Sensor->GetPixmapForCurrentPosition(m_RequiredPosition));
                SetOkEnabled(positionRight);
                ui->sensor_zero_calibration_message_label->setText(zeroCalText);
            } else if (!positionRight) {
                SetOkEnabled(false);
                SetPicture(m_Sensor->GetPixmapForCurrentPosition(m_RequiredPosition));
                // A selector that cannot signal is watched by polling.
                if (m_Sensor->DoesSensorSupportMeasurementSelectorNeedPolling())
                    m_PollTimer->start(kPollIntervalMs);
                ui->sensor_zero_calibration_message_label->setText(
                    (m_Ambient ? m_PhysicalData.m_CoverText : m_PhysicalData.m_SelectorMessage)
                    + GetStringResource(805));
            }
        } else if (m_ZeroCalNeeded) {
            SetPicture(QPixmap(m_PhysicalData.m_ZeroCalibrationPicture));
            ui->sensor_zero_calibration_message_label->setText(zeroCalText);
        }

        connect(m_Sensor, &CSensor::SensorMeasurementSelectorPositionChanged, this,
                &pz_color_sensor_setup_dialog::SensorMeasurementSelectorPositionChanged);
    }

    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    keepTitleWhole();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ui->buttonBox->button(QDialogButtonBox::Ok)->setFocus();
}

pz_color_sensor_setup_dialog::~pz_color_sensor_setup_dialog()
{
    // The light may still be blinking from the poll.
    if (m_Sensor)
        m_Sensor->FlashLED(0);
}

// The window manager shortens a title that does not fit the title bar: the
// text never makes the dialog narrower than its title and the title bar's
// buttons need.
void pz_color_sensor_setup_dialog::keepTitleWhole()
{
    const QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(windowTitle()) * kTitleFontSlack / 100
                           + kTitleBarButtonsWidth;
    const QMargins margins = layout()->contentsMargins();
    ui->sensor_zero_calibration_message_label->setMinimumWidth(
        titleWidth - margins.left() - margins.right());
}

// A page that makes the dialog smaller or larger keeps it where it was,
// around its centre.
void pz_color_sensor_setup_dialog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const QSize old = event->oldSize();
    if (!isVisible() || !old.isValid())
        return;
    const QPoint centred = pos() + QPoint((old.width() - width()) / 2, (old.height() - height()) / 2);
    move(pz::keptInside(QRect(centred, frameGeometry().size()), pz::availableAreaOf(this)).topLeft());
}

void pz_color_sensor_setup_dialog::SetPicture(const QPixmap &picture)
{
    // A page without a picture leaves no empty area: the dialog takes the
    // size of what it shows.
    ui->sensor_zero_calibration_image_label->setPixmap(picture);
    ui->sensor_zero_calibration_image_label->setVisible(!picture.isNull());
}

void pz_color_sensor_setup_dialog::SetOkEnabled(bool enabled)
{
    QPushButton *ok = ui->buttonBox->button(QDialogButtonBox::Ok);
    ok->setEnabled(enabled);
    if (enabled)
        ok->setFocus();
}

void pz_color_sensor_setup_dialog::ShowSelectorPage()
{
    SetPicture(m_Sensor->GetPixmapForCurrentPosition(m_RequiredPosition));
    ui->sensor_zero_calibration_message_label->setText(
        (m_Ambient ? m_PhysicalData.m_CoverText : m_PhysicalData.m_SelectorMessage)
        + GetStringResource(805));
    SetOkEnabled(m_Sensor->GetSensorMeasurementSelectorPosition() == m_RequiredPosition);
}

void pz_color_sensor_setup_dialog::my_accept()
{
    if (m_Sensor && m_ZeroCalNeeded && !m_ZeroCalDoneHere) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const int result = m_Sensor->ZeroCal();
        QApplication::restoreOverrideCursor();
        if (result != 0) {
            // The page stays, so the user can try again.
            DisplayErrorMessage(this, result, false, 0);
            return;
        }
        m_ZeroCalDoneHere = true;
        m_RequiredPosition = MeasurementPosition();
        if (m_SelectorSupported) {
            ShowSelectorPage();
            return;
        }
    } else if (m_Sensor && m_SelectorSupported && !m_SelectorConfirmed) {
        if (m_Sensor->GetSensorMeasurementSelectorPosition() != m_RequiredPosition)
            return;
        m_SelectorConfirmed = true;
    }

    if (m_ReadyPageShown) {
        accept();
        return;
    }
    SetPicture(QPixmap(m_PhysicalData.m_ReadyPicture));
    ui->sensor_zero_calibration_message_label->setText(
        m_PhysicalData.m_ReadyText
        + QStringLiteral("The calibration sensor is now ready to take measurements."));
    m_ReadyPageShown = true;
}

void pz_color_sensor_setup_dialog::SensorMeasurementSelectorPositionChanged(int)
{
    // A turn of the dial sends a burst of changes: read once they settle.
    if (!m_Sensor)
        return;
    m_UpdateTimer->stop();
    m_UpdateTimer->start(kUpdateDelayMs);
}

bool pz_color_sensor_setup_dialog::ReadPosition(QTimer *timer, int &position)
{
    position = m_Sensor->GetSensorMeasurementSelectorPosition();
    if (position >= 0)
        return true;
    timer->stop();
    DisplayErrorMessage(this, position, false, 0);
    return false;
}

void pz_color_sensor_setup_dialog::update_sensor_selector_timer()
{
    if (!m_Sensor)
        return;
    SetPicture(m_Sensor->GetPixmapForCurrentPosition(m_RequiredPosition));
    int position = 0;
    if (ReadPosition(m_UpdateTimer, position))
        SetOkEnabled(position == m_RequiredPosition);
}

void pz_color_sensor_setup_dialog::poll_sensor_selector_timer()
{
    if (!m_Sensor)
        return;
    int position = 0;
    if (!ReadPosition(m_PollTimer, position))
        return;
    if (position == m_RequiredPosition) {
        m_Sensor->FlashLED(0);
        SetOkEnabled(true);
    } else {
        // The blinking light draws the eye to the sensor.
        m_Sensor->FlashLED(1);
        SetOkEnabled(false);
    }
}
