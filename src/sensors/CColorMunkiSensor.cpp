#include "CColorMunkiSensor.h"

#include <QPainter>
#include <QVector>

using pz::colorMunkiLibrary;

namespace {

struct Option {
    const char *key;
    const char *value;
};

const char *const kMeasurementModeKey = "MeasurementMode";
const char *const kObserverKey = "Colorimetric.Observer";

// The library options of each measurement mode, in the order they are sent.
const QVector<Option> &modeOptions(int mode)
{
    static const QVector<Option> display{{"Colorimetric.Illumination", "Emission"},
                                         {kObserverKey, "TwoDegree"},
                                         {"ColorSpaceDescription.Type", "CIEXYZ"},
                                         {kMeasurementModeKey, "SingleEmission"}};
    static const QVector<Option> ambient{{kMeasurementModeKey, "SingleAmbientLight"},
                                         {"Colorimetric.Illumination", "Emission"},
                                         {"ColorSpaceDescription.Type", "CIEXYZ"}};
    static const QVector<Option> none;
    return mode == CSensor::kSensorModeDisplay ? display
         : mode == CSensor::kSensorModeAmbient ? ambient
                                               : none;
}

const char *modeValue(int mode)
{
    for (const Option &o : modeOptions(mode))
        if (qstrcmp(o.key, kMeasurementModeKey) == 0)
            return o.value;
    return nullptr;
}

QString picture(const char *name)
{
    return QStringLiteral(":/images/Resources/") + QLatin1String(name);
}

} // namespace

void ColorMunkiSensorDeviceMessageFunction(pz::MunkiDeviceMessage message, const char *,
                                           void *context)
{
    if (message == pz::kMunkiMessageDialMoved)
        static_cast<CColorMunkiSensor *>(context)->SensorPositionHasChanged();
}

CColorMunkiSensor::CColorMunkiSensor()
{
    m_AmbientSupported = false;
    m_MeasurementMode = 0;
    m_Connected = Init() == kSensorOK;
    if (m_Connected)
        colorMunkiLibrary().AddDeviceMessageHandler(ColorMunkiSensorDeviceMessageFunction, this);
    m_NewReadingAvailable = false;
}

CColorMunkiSensor::~CColorMunkiSensor()
{
    if (m_Connected) {
        // No callback runs once this returns.
        colorMunkiLibrary().RemoveDeviceMessageHandler(ColorMunkiSensorDeviceMessageFunction);
        colorMunkiLibrary().SetOption("Reset", "All");
    }
}

int CColorMunkiSensor::Init()
{
    if (!IsDeviceConnected())
        return kSensorNotConnected;
    if (SetSensorMeasurementMode(kSensorModeDisplay) != kSensorOK)
        return kSensorNotConnected;
    m_AmbientSupported = true;
    return kSensorOK;
}

bool CColorMunkiSensor::IsDeviceConnected() { return colorMunkiLibrary().IsConnected() == 0; }

void CColorMunkiSensor::SensorPositionHasChanged()
{
    const int dial = colorMunkiLibrary().GetSensorPosition();
    // Listeners connected through CSensor bind to its signal, which this
    // class's hides.
    emit SensorMeasurementSelectorPositionChanged(dial);
    emit CSensor::SensorMeasurementSelectorPositionChanged(dial);
}

bool CColorMunkiSensor::DoesSensorSupportMeasurementSelector() { return true; }

int CColorMunkiSensor::GetSensorMeasurementSelectorPosition()
{
    if (!m_Connected)
        return kSensorNotConnected;
    switch (colorMunkiLibrary().GetSensorPosition()) {
    case pz::kMunkiDialDisplay:
        return kSelectorDisplay;
    case pz::kMunkiDialCalibrate:
        return kSelectorCalibrate;
    case pz::kMunkiDialProjector:
        return kSelectorProjector;
    case pz::kMunkiDialAmbient:
        return kSelectorAmbient;
    default:
        return -1;
    }
}

bool CColorMunkiSensor::DoesSensorSupportMeasurementButtonStatus() { return true; }

int CColorMunkiSensor::GetSensorMeasurementButtonStatus()
{
    if (!m_Connected)
        return kSensorNotConnected;
    switch (colorMunkiLibrary().ButtonPressed()) {
    case pz::kMunkiButtonPressed:
        return kButtonPressed;
    case pz::kMunkiButtonReleased:
        return kButtonReleased;
    default:
        return kButtonUndetermined;
    }
}

QString CColorMunkiSensor::GetModelName()
{
    return QObject::tr("X-Rite ColorMunki", "XRite Colormunki name");
}

QString CColorMunkiSensor::GetSerialNumber()
{
    return QString::fromLatin1(colorMunkiLibrary().GetOption("SerialNumber"));
}

void CColorMunkiSensor::Settings() {}

int CColorMunkiSensor::IsValidSettings() { return 0; }

void CColorMunkiSensor::SetSync(double) {}

int CColorMunkiSensor::DetectVerticalScanningFrequency() { return 0; }

bool CColorMunkiSensor::DoesSupportAmbientLightMeasurement() { return m_AmbientSupported; }

int CColorMunkiSensor::SetSensorMeasurementMode(typeSensorMeasurementMode mode)
{
    if (mode == m_MeasurementMode)
        return kSensorOK;
    if (mode != kSensorModeDisplay && mode != kSensorModeAmbient)
        return kSensorRefused;
    if (SupportsZeroCal())
        m_ZeroCalibrationDone = false;

    bool modeSent = false;
    for (const Option &option : modeOptions(mode)) {
        if (colorMunkiLibrary().SetOption(option.key, option.value) != pz::kMunkiSuccess) {
            // The library must not stay in a mode the adapter does not
            // know it is in: a display reading would come back in lux.
            if (const char *old = modeValue(m_MeasurementMode); modeSent && old)
                colorMunkiLibrary().SetOption(kMeasurementModeKey, old);
            return qstrcmp(option.key, kObserverKey) == 0 ? kSensorNotConnected : kSensorRefused;
        }
        modeSent = modeSent || qstrcmp(option.key, kMeasurementModeKey) == 0;
    }
    m_MeasurementMode = mode;
    return kSensorOK;
}

int CColorMunkiSensor::ZeroCal()
{
    if (!m_Connected)
        return kSensorNotConnected;
    if (colorMunkiLibrary().GetSensorPosition() != pz::kMunkiDialCalibrate)
        return kSensorWrongPosition;
    if (colorMunkiLibrary().Calibrate() != pz::kMunkiSuccess)
        return kSensorZeroCalFailed;
    m_ZeroCalibrationDone = true;
    return kSensorOK;
}

int CColorMunkiSensor::Measure(unsigned)
{
    // An earlier reading must not be handed out as this call's.
    m_NewReadingAvailable = false;
    if (!m_Connected)
        return kSensorNotConnected;
    m_LastReading = CCIEXYZ(0.0, 0.0, 0.0);
    if (colorMunkiLibrary().GetSensorPosition() != pz::kMunkiDialDisplay)
        return kSensorWrongPosition;
    if (m_MeasurementMode != kSensorModeDisplay)
        return kSensorRefused;

    const int status = MeasureAveraged(1, [](CCIEXYZ &reading) {
        float values[3] = {0, 0, 0};
        pz::IColorMunkiLibrary &library = colorMunkiLibrary();
        if (library.TriggerMeasurement() != pz::kMunkiSuccess
            || library.GetTriStimulus(values, 0) != pz::kMunkiSuccess)
            return kSensorDeviceFailed;
        reading = CCIEXYZ(values[0], values[1], values[2]);
        return kSensorOK;
    });
    if (status != kSensorOK)
        return status;
    // Noise near black can average below zero.
    m_LastReading = CCIEXYZ(qMax(m_LastReading.X, 0.0), qMax(m_LastReading.Y, 0.0),
                            qMax(m_LastReading.Z, 0.0));
    return kSensorOK;
}

int CColorMunkiSensor::MeasureAmbientLight()
{
    m_NewReadingAvailable = false;
    if (!m_Connected)
        return kSensorNotConnected;
    if (colorMunkiLibrary().GetSensorPosition() != pz::kMunkiDialAmbient)
        return kSensorWrongPosition;
    m_LastReading = CCIEXYZ(0.0, 0.0, 0.0);
    if (m_MeasurementMode != kSensorModeAmbient)
        return kSensorRefused;
    float values[3] = {0, 0, 0};
    if (colorMunkiLibrary().TriggerMeasurement() != pz::kMunkiSuccess
        || colorMunkiLibrary().GetTriStimulus(values, 0) != pz::kMunkiSuccess)
        return kSensorDeviceFailed;
    m_LastReading = CCIEXYZ(values[0], values[1], values[2]);
    m_NewReadingAvailable = true;
    return kSensorOK;
}

int CColorMunkiSensor::GetXYZData(CCIEXYZ &out) { return HandOutReading(out); }

int CColorMunkiSensor::SetScreenType(typeSensorScreen screen,
                                     CTargetDisplay::typeMonitorColorGamutType)
{
    m_ScreenType = screen;
    return kSensorOK;
}

QString CColorMunkiSensor::DialPicture(int dial)
{
    switch (dial) {
    case pz::kMunkiDialDisplay:
        return picture("color munki dial display.png");
    case pz::kMunkiDialCalibrate:
        return picture("color munki dial calibrate.png");
    case pz::kMunkiDialAmbient:
        return picture("color munki dial ambient.png");
    default:
        return picture("color munki dial projector.png");
    }
}

int CColorMunkiSensor::GetSensorPhyscalData(sensor_physical_data &data)
{
    data.m_ZeroCalibrationPicture = DialPicture(pz::kMunkiDialCalibrate);
    data.m_OnDisplayPicture = picture("color munki outline.png");
    data.m_TurnToAmbientPicture = DialPicture(pz::kMunkiDialAmbient);
    data.m_TurnToDisplayPicture = DialPicture(pz::kMunkiDialDisplay);
    data.m_AmbientMeasurementPicture = picture("color munki ambient measure.png");
    data.m_AmbientPositioningText =
        QObject::tr("Take the device out of the holder bag to uncover the the ambient light "
                    "sensor and direct it away from the display.",
                    "XRite Colormunki message");
    data.m_SelectorMessage = QObject::tr("<br><br>Turn the instrument dial to the position indicated.",
                                         "XRite Colormunki message");
    data.m_ZeroCalibrationText =
        QObject::tr("Turn the instrument dial to the calibrate position.", "XRite Colormunki message");
    data.m_CoverText = data.m_SelectorMessage;
    data.m_PictureSizeCm = 17.5;
    data.m_LensCentreFraction = 0.56;
    data.m_TargetSizeCm = 10.0;
    return 0;
}

QImage CColorMunkiSensor::ComposeDialPicture(int targetPosition, int dial)
{
    QString overlay;
    switch (targetPosition) {
    case kSelectorDisplay:
        overlay = picture("TargetEmissive.png");
        break;
    case kSelectorCalibrate:
        overlay = picture("TargetCalibrate.png");
        break;
    case kSelectorAmbient:
        overlay = picture("TargetAmbient.png");
        break;
    }

    int current = kSelectorDisplay;   // an unknown value shows the projector, counts as display
    switch (dial) {
    case pz::kMunkiDialCalibrate:
        current = kSelectorCalibrate;
        break;
    case pz::kMunkiDialProjector:
        current = kSelectorProjector;
        break;
    case pz::kMunkiDialAmbient:
        current = kSelectorAmbient;
        break;
    }

    const QPixmap dialPicture(DialPicture(dial));
    QImage image(dialPicture.size(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(image.rect(), Qt::transparent);
    painter.drawPixmap(image.rect(), dialPicture);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!overlay.isEmpty())
        painter.drawPixmap(0, 0, QPixmap(overlay));

    if (targetPosition != current) {
        QString arrow;
        if (targetPosition == kSelectorCalibrate)
            arrow = picture(current == kSelectorDisplay ? "ArrowCalibrateFromBelow.png"
                                                        : "ArrowCalibrateFromAbove.png");
        else if (targetPosition == kSelectorAmbient)
            arrow = picture("ArrowAmbientFromBelow.png");
        else if (targetPosition == kSelectorDisplay)
            arrow = picture("ArrowEmissiveFromAbove.png");
        if (!arrow.isEmpty())
            painter.drawPixmap(0, 0, QPixmap(arrow));
    }
    painter.end();
    return image;
}

QPixmap CColorMunkiSensor::GetPixmapForCurrentPosition(int targetPosition)
{
    return QPixmap::fromImage(
        ComposeDialPicture(targetPosition, colorMunkiLibrary().GetSensorPosition()));
}

bool CColorMunkiSensor::GetSensorPnPIDs(unsigned short &vendor, unsigned short &product)
{
    vendor = kVendorId;
    product = kProductId;
    return true;
}
