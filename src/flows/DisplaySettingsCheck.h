#pragma once
// The start-up display check: every connected monitor is compared with the
// tracker's record of its last calibration, and one message tells the user
// what needs attention (never calibrated, calibration off, settings
// changed, recalibration due). Changed settings can be put back.

class QWidget;

// True when the check switched the calibration of at least one monitor off
// (so the caller refreshes what it shows). parent is null in auto mode;
// every box of the check uses it.
bool CheckAllSupportedDisplaySettings(QWidget *parent);
