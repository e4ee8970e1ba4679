#pragma once
// Getting the current calibration sensor ready before it measures: what
// kind of screen it reads, its zero calibration and selector position, and
// its one-time preparation notice. The sensor is the controller's current
// one.

class QWidget;

// Tells the sensor the target display's screen and gamut type, asking the
// user for the display technology when the monitor does not reveal its
// gamut and the sensor's accuracy depends on it. 0 done; -1 no sensor or no
// target display; -2 the question was cancelled.
int SetupSensorToCurrentDisplayTypeAndColorGamut(QWidget *parent);

// Runs the sensor set-up dialog when a zero calibration (forced, or not yet
// done) or a turn of the measurement selector is needed. 0 nothing needed or
// the dialog was accepted; -1 no sensor, or the dialog was cancelled.
int DoSensorSetupDialog(bool ambient, bool force, QWidget *parent);

// Shows the sensor's preparation notice once per run of the program, unless
// the user asked never to see it again.
void DoSensorNeedsUserPreparationWarning(QWidget *parent);
