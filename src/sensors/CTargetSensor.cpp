#include "CTargetSensor.h"

#include "CColorMunkiSensor.h"
#include "CColorvisionSpyder2.h"
#include "CEyeOneDisplay3Sensor.h"
#include "CEyeOneDisplaySensor.h"
#include "CEyeOneSensor.h"

namespace {

const QString kNoSensorName = QStringLiteral("-");

} // namespace

CTargetSensor::CTargetSensor() : QObject(nullptr) {}

CTargetSensor::~CTargetSensor() { ReleaseSensor(); }

void CTargetSensor::ReleaseSensor()
{
    delete m_pCurrentSensor;
    m_pCurrentSensor = nullptr;
    m_CurrentType = kSensorNone;
}

std::unique_ptr<CSensor> CTargetSensor::CreateSensor(typeTargetSensor type)
{
    switch (type) {
    case kSensorEyeOneDisplay:
        return std::make_unique<CEyeOneDisplaySensor>();
    case kSensorEyeOnePro:
        return std::make_unique<CEyeOneSensor>();
    case kSensorEyeOneDisplay3:
        return std::make_unique<CEyeOneDisplay3Sensor>();
    case kSensorColorMunki:
        return std::make_unique<CColorMunkiSensor>();
    case kSensorSpyder:
        return std::make_unique<CColorvisionSpyder2>();
    default:
        return nullptr;
    }
}

int CTargetSensor::SelectType(typeTargetSensor type)
{
    ReleaseSensor();
    if (type < kSensorEyeOneDisplay || type > kSensorSpyder) {
        emit detectedSensor(kNoSensorName);
        emit sensorDetectionComplete();
        return CSensor::kSensorNotConnected;
    }

    std::unique_ptr<CSensor> sensor = CreateSensor(type);
    if (!sensor || !sensor->m_Connected)
        return CSensor::kSensorNotConnected;
    // Created on the calling thread (at start-up the detection thread, which
    // ends): the sensor follows the selector.
    if (sensor->thread() != thread())
        sensor->moveToThread(thread());
    m_pCurrentSensor = sensor.release();
    m_CurrentType = type;
    QString name;
    GetSensorName(name);
    emit detectedSensor(name);
    emit sensorDetectionComplete();
    return CSensor::kSensorOK;
}

bool CTargetSensor::AutoSelect()
{
    static const typeTargetSensor typeSensorTbl[] = {
        kSensorEyeOnePro, kSensorEyeOneDisplay, kSensorColorMunki,
        kSensorSpyder,    kSensorEyeOneDisplay3, kSensorNone,
    };
    for (const typeTargetSensor type : typeSensorTbl)
        if (SelectType(type) == CSensor::kSensorOK)
            return true;
    return false;
}

bool CTargetSensor::GetSensorName(QString &name)
{
    name = m_pCurrentSensor ? m_pCurrentSensor->GetModelName() : QString();
    return true;
}

bool CTargetSensor::GetSensorListNames(typeTargetSensor type, QString &name)
{
    switch (type) {
    case kSensorNone:
        name = tr("None");
        return true;
    case kSensorEyeOneDisplay:
        name = tr("XRite iOne Display (i1D/i1D2)");
        return true;
    case kSensorEyeOnePro:
        name = tr("XRite iOne Pro");
        return true;
    case kSensorEyeOneDisplay3:
        name = tr("XRite iOne Display Pro (i1D3)");
        return true;
    case kSensorColorMunki:
        name = tr("XRite ColorMunki");
        return true;
    case kSensorSpyder:
        name = tr("Datacolor Spyder2/3/4");
        return true;
    }
    return false;
}
