#include "TestXServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QtGlobal>

#include <csignal>
#include <sys/prctl.h>

namespace pz::test {

namespace {

// Start-up takes well under a second on a quiet machine; the bound is for
// one busy with several sanitized builds.
const int kStartBoundMs = 60000;

QProcess *g_server = nullptr;

void stopServer()
{
    if (!g_server)
        return;
    g_server->terminate();
    if (!g_server->waitForFinished(10000))
        g_server->kill();
    g_server->waitForFinished(10000);
    delete g_server;
    g_server = nullptr;
}

QByteArray startServer(const QString &xvfb)
{
    g_server = new QProcess;
    // A test program that crashes or is killed takes its server along.
    g_server->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    g_server->setProgram(xvfb);
    g_server->setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                            QStringLiteral("-screen"), QStringLiteral("0"),
                            QStringLiteral("1920x1200x24"), QStringLiteral("+extension"),
                            QStringLiteral("RANDR"), QStringLiteral("-nolisten"),
                            QStringLiteral("tcp"), QStringLiteral("-noreset")});
    g_server->setProcessChannelMode(QProcess::SeparateChannels);
    g_server->setStandardErrorFile(QProcess::nullDevice());
    g_server->start();
    qAddPostRoutine(stopServer);
    if (!g_server->waitForStarted(kStartBoundMs))
        return QByteArray();
    // The server writes its display number once it accepts connections.
    QByteArray number;
    const QDeadlineTimer deadline(kStartBoundMs);
    while (!number.contains('\n') && !deadline.hasExpired()
           && g_server->state() == QProcess::Running) {
        if (g_server->waitForReadyRead(int(deadline.remainingTime())))
            number += g_server->readAllStandardOutput();
    }
    if (!number.contains('\n')) {
        qWarning("the test X server did not start");
        return QByteArray();
    }
    return ':' + number.trimmed();
}

} // namespace

QByteArray testXDisplay()
{
    static const QByteArray display = [] {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (!xvfb.isEmpty())
            return startServer(xvfb);
        return qgetenv("PZ_TEST_X_DISPLAY");
    }();
    return display;
}

} // namespace pz::test
