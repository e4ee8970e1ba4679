#pragma once
// The application's globals, set once at start-up. Each is null before its
// object exists and set back to null once the object is deleted.

class MasterControl;
class CTargetSensor;
class QWidget;
class pz_test_pattern_dialog;

// The one controller, a local object of main.
extern MasterControl *pMasterControl;
// The sensor selector, owned by the controller.
extern CTargetSensor *pTargetSensor;
// The information window and the test pattern window; null in auto mode.
extern QWidget *information_window;
extern pz_test_pattern_dialog *test_pattern_window;
// Diagnostic level of the display enumeration; main sets 3.
extern int verbosity;
