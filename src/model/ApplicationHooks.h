#pragma once
// The application's version text and a few hooks that answer with fixed
// values, so the flows that call them need not know.

#include <QString>

// "Version 1.0.10.0 (Build 140106)", translated.
QString GetVersionString();

// No correction matrix is known for any display and sensor: fills m (nine
// doubles, row by row) with the identity, sets flag to 0, returns -1.
int GetMatrixForCurrentDisplayAndSensor(double *m, int &flag);

// The screen saver is never reported as on, and switching it does nothing.
bool IsScreenSaverEnabled();
int EnableScreenSaver(bool enable);
