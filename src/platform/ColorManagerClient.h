#pragma once
// Hands a display profile to the system colour manager
// (org.freedesktop.ColorManager, as colord serves it) over D-Bus: the
// profile is found by its file name or created from the open file handed
// over as a descriptor (by file name only where the service has no such
// method), with the id "icc-" and the MD5 of the file's bytes, the id a
// session daemon registering the same file gives it. A profile found by
// the file name whose id is another MD5 describes what the file held
// before: it is deleted and created anew. The profile is created with the
// scope "normal": colord drops a "temp" profile, and the device's default
// with it, as soon as the connection that made it closes, so the
// assignment would end with the program. The display's device is found by
// its XRandR output name or else by the MD5 of its EDID, and the profile is
// added to the device ("hard") and made its default. colord then tells
// colour-managed programs; it parses the profile's 'vcgt' but does not load
// it into the graphics card.
//
// All calls of one assignment share one bound of a few seconds, so a hung
// service holds the caller that long at most. Talks to the bus it is given
// (the system bus in the application; tests run a private one).

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QString>
#include <QVariant>

namespace pz {

class ColorManagerClient {
public:
    enum Result {
        kAssigned,
        kNoService,     // no bus, or nobody owns the colour manager's name
        kNoDevice,      // the service knows no device for the display
        kFailed,        // the service refused a step or did not answer in time
    };

    static constexpr int kAssignmentTimeoutMs = 3000;

    explicit ColorManagerClient(const QDBusConnection &bus,
                                int assignmentTimeoutMs = kAssignmentTimeoutMs);

    // Assigns the profile file at path (its bytes are profileBytes) to the
    // display on XRandR output outputName, whose EDID is edid (may be empty).
    Result assign(const QString &path, const QByteArray &profileBytes, const QString &outputName,
                  const QByteArray &edid);

    // The lowercase hex MD5 of bytes: the service's EDID key and the base
    // of the profile id.
    static QString md5Hex(const QByteArray &bytes);

private:
    // One blocking call within what is left of the assignment's bound; an
    // error reply without sending once the bound is spent.
    QDBusMessage call(const QString &path, const char *interface, const char *method,
                      const QList<QVariant> &arguments);
    QString callForPath(const QString &path, const char *interface, const char *method,
                        const QList<QVariant> &arguments);
    bool serviceRunning();
    QString profileId(const QString &profilePath);
    bool findOrCreateProfile(const QString &path, const QByteArray &profileBytes,
                             QString &profilePath);
    bool createProfile(const QString &path, const QString &id, QString &profilePath);
    bool findDevice(const QString &outputName, const QByteArray &edid, QString &devicePath);

    QDBusConnection m_bus;
    int m_timeoutMs;
    // The bus's own timeouts run on wall-clock time, so the bound does too.
    QDeadlineTimer m_deadline;
};

} // namespace pz
