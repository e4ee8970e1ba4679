#include "PZ_Ambient_Light_Measurement_Dialog.h"

#include "AppGlobals.h"
#include "CSensor.h"
#include "CTargetSensor.h"
#include "DisplayPlacement.h"
#include "MasterControl.h"
#include "MeasurementTexts.h"
#include "Messages.h"
#include "StringResources.h"
#include "pz_test_pattern_dialog.h"
#include "ui_PZ_Ambient_Light_Measurement_Dialog.h"

#include <QPixmap>
#include <QTimer>

namespace {

// "<br><br>Click <b>Next</b> when complete."
constexpr unsigned kClickNextText = 804;
constexpr int kMeasuringPage = 0;
constexpr int kPlacementPage = 1;
constexpr int kBlackPattern = 1;

} // namespace

PZ_Ambient_Light_Measurement_Dialog::PZ_Ambient_Light_Measurement_Dialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::PZ_Ambient_Light_Measurement_DialogClass>())
{
    ui->setupUi(this);
    m_Timer = new QTimer(this);
    m_Timer->setObjectName(QStringLiteral("readingTimer"));
    connect(m_Timer, &QTimer::timeout, this, &PZ_Ambient_Light_Measurement_Dialog::onTimer);
    ui->stackedWidget->setCurrentIndex(kPlacementPage);

    CTargetSensor *selector = pMasterControl ? pMasterControl->GetTargetSensor() : nullptr;
    m_Sensor = selector ? selector->m_pCurrentSensor : nullptr;
    if (m_Sensor) {
        m_Sensor->GetSensorPhyscalData(m_SensorData);
        ui->sensor_zero_calibration_image_label->setPixmap(QPixmap(m_SensorData.m_AmbientMeasurementPicture));
        ui->sensor_zero_calibration_message_label->setText(m_SensorData.m_AmbientPositioningText
                                                           + GetStringResource(kClickNextText));
    }

    if (CTargetDisplay *display = pMasterControl ? pMasterControl->GetTargetDisplay() : nullptr)
        m_MonitorData = display->GetMonitorData();
    if (test_pattern_window) {
        pz::placeOnDisplay(*test_pattern_window, m_MonitorData.m_Bounds);
        test_pattern_window->enable_controls(false);
        test_pattern_window->SetTestPattern(kBlackPattern);
        test_pattern_window->show();
    }

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    placeBesideDisplay();
}

PZ_Ambient_Light_Measurement_Dialog::~PZ_Ambient_Light_Measurement_Dialog()
{
    if (test_pattern_window && test_pattern_window->isVisible()) {
        test_pattern_window->enable_controls(true);
        test_pattern_window->hide();
    }
}

void PZ_Ambient_Light_Measurement_Dialog::placeBesideDisplay()
{
    const QRect screen = pz::displayGeometry(m_MonitorData.m_Bounds);
    if (screen.width() <= 0)
        return;
    // The size follows the current page.
    adjustSize();
    // Over the window it was opened from when that is on this display (the
    // black background hides it meanwhile); else at the display's left
    // edge, half-way down.
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (owner && owner->isVisible() && screen.contains(owner->frameGeometry().center())) {
        const QPoint centre = owner->frameGeometry().center();
        move(qBound(screen.left(), centre.x() - width() / 2, screen.right() + 1 - width()),
             qBound(screen.top(), centre.y() - height() / 2, screen.bottom() + 1 - height()));
        return;
    }
    move(screen.left() + kLeftMargin, screen.top() + screen.height() / 2 - height() / 2);
}

void PZ_Ambient_Light_Measurement_Dialog::on_ambient_light_start_pushButton_clicked()
{
    if (!m_Measuring) {
        ui->stackedWidget->setCurrentIndex(kMeasuringPage);
        m_Measuring = true;
        ui->ambient_light_done_pushButton->setText(tr("Done", "measurement DONE button"));
        placeBesideDisplay();
        StartTimer(true);
        return;
    }
    StartTimer(!m_Timer->isActive());
}

void PZ_Ambient_Light_Measurement_Dialog::on_ambient_light_done_pushButton_clicked()
{
    accept();
}

void PZ_Ambient_Light_Measurement_Dialog::StartTimer(bool start)
{
    if (!start) {
        m_Timer->stop();
        ui->ambient_light_start_pushButton->setText(tr("Start", "measurement START button"));
        return;
    }
    m_Timer->start(kReadingPeriodMs);
    ui->ambient_light_start_pushButton->setText(tr("Stop", "measurement STOP button"));
    ui->ambient_light_luminance_label->setText(QStringLiteral("-"));
    ui->ambient_light_color_temperature_label->setText(QStringLiteral("-"));
    takeReading();
}

void PZ_Ambient_Light_Measurement_Dialog::onTimer()
{
    takeReading();
}

void PZ_Ambient_Light_Measurement_Dialog::takeReading()
{
    // The event pass below can deliver a tick or a Start click: they must
    // not begin a second reading inside this one.
    if (!m_Sensor || m_ReadingInProgress)
        return;
    m_ReadingInProgress = true;
    ui->ambient_light_measuring_status_label->setText(tr("Taking Measurement..."));
    QCoreApplication::processEvents();

    const int code = m_Sensor->MeasureAmbientLight();
    if (code != CSensor::kSensorOK) {
        StartTimer(false);
        DisplayErrorMessage(this, code, false, 1);
        showNoReading();
        m_ReadingInProgress = false;
        return;
    }
    CCIEXYZ reading;
    if (m_Sensor->GetXYZData(reading) != CSensor::kSensorOK || !(reading.Y > 0)) {
        showNoReading();
        m_ReadingInProgress = false;
        return;
    }
    ui->ambient_light_luminance_label->setText(pz::ambientLuxText(reading.Y));
    ui->ambient_light_color_temperature_label->setText(
        pz::ambientTemperatureText(reading.GetTemperature(), reading.X));
    ui->ambient_light_measuring_status_label->setText(QString());
    m_ReadingInProgress = false;
}

void PZ_Ambient_Light_Measurement_Dialog::showNoReading()
{
    ui->ambient_light_luminance_label->setText(QStringLiteral("<font COLOR=\"#ff0000\"></font>-"));
    ui->ambient_light_color_temperature_label->setText(QStringLiteral("-"));
    ui->ambient_light_measuring_status_label->setText(QString());
}
