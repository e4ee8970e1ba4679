#include "ApplicationHooks.h"

#include <QCoreApplication>

namespace {
const char kVersion[] = "1.0.10.0";
const char kBuild[] = "140106";
} // namespace

QString GetVersionString()
{
    return QCoreApplication::translate("QObject", "Version %1 (Build %2)",
                                       "software version and build number")
        .arg(QLatin1String(kVersion), QLatin1String(kBuild));
}

int GetMatrixForCurrentDisplayAndSensor(double *m, int &flag)
{
    for (int i = 0; i < 9; ++i)
        m[i] = (i % 4 == 0) ? 1.0 : 0.0;
    flag = 0;
    return -1;
}

bool IsScreenSaverEnabled() { return false; }

int EnableScreenSaver(bool) { return 0; }
