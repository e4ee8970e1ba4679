#pragma once
// The operating system's version.

#include <QString>

// The system's version as three numbers (the distribution's release, or the
// kernel's when the distribution names none); all 0 and false when neither
// can be read.
bool GetMacOSVersion(unsigned &major, unsigned &minor, unsigned &bugfix);
// "<system> <major>.<minor>.<bugfix>"; an empty text and false when the
// version cannot be read.
bool GetOSVersionName(QString &out);

namespace pz {
// Up to three leading numbers of a version text such as "12", "22.04" or
// "6.1.0-18-amd64"; false when it does not begin with a number.
bool parseVersionNumbers(const QString &text, unsigned &major, unsigned &minor, unsigned &bugfix);
} // namespace pz
