#pragma once
// How a sensor presents itself to the user: the pictures and instruction
// texts the set-up, ambient light and calibration windows show, and the
// sizes that place the sensor picture on the screen. Filled by the sensor's
// adapter (CSensor::GetSensorPhyscalData); a field the adapter has nothing
// for stays empty and the windows show nothing for it.

#include <QString>

struct sensor_physical_data {
    // Pictures: Qt resource paths under ":/images/Resources/".
    QString m_ZeroCalibrationPicture;     // zero calibration step of a device without selector
    QString m_OnDisplayPicture;           // the sensor on the screen (calibration window)
    QString m_TurnToAmbientPicture;       // selector turned to ambient (position 3)
    QString m_TurnToDisplayPicture;       // selector turned to display (other positions)
    QString m_AmbientMeasurementPicture;  // ambient light window
    QString m_ReadyPicture;               // set-up window once the sensor is ready

    // Translated instruction texts, some of them rich text.
    QString m_AmbientPositioningText;     // placing the sensor for ambient readings
    QString m_SelectorMessage;            // setting the selector for display readings
    QString m_ZeroCalibrationText;        // the zero calibration step
    QString m_PreparationWarningText;     // notice before the first display readings
    QString m_CoverText;                  // selector or lens cover for ambient readings
    QString m_ReadyText;                  // put before the "ready" sentence

    // Placement of the on-display picture. The first two are read either as
    // the picture's width and the lens centre's fraction of the width, or as
    // its height and the lens centre's fraction of the height from the top;
    // the numbers are the same.
    double m_PictureSizeCm = 0.0;
    double m_LensCentreFraction = 0.0;
    // Side of the square measurement target drawn under the sensor.
    double m_TargetSizeCm = 0.0;
};
