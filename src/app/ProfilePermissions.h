#pragma once
// Before a calibration or profiling writes an ICC profile: may the user write
// to the profile folder, and if not, does the user want to go on anyway?

class QWidget;

// 0 when the folder is writable or the user chose to go on; -1 when the user
// declined.
int CheckProfilePermissions(QWidget *parent);
