#pragma once
// Finding (and ending) another program by its process name, for the sensor
// utilities that would hold the sensor.

#include <QString>

// True when a process of the current user other than this one is named name
// (compared without regard to letter case, against the kernel's process name
// and the file name of its first argument); with kill set, that first match
// is sent SIGTERM. Zombie processes are not running.
bool IsApplicationRunning(QString name, bool kill);
