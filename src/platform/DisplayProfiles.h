#pragma once
// The display-profile seam: makes a written ICC profile the profile of one
// display, so colour-managed programs use it. On Linux the backend publishes it on the X
// server and hands it to the system colour manager (LinuxDisplayProfiles);
// the simulated desktop records it (SimDisplayProfiles).

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace pz {

class IDisplayProfiles {
public:
    enum Result {
        kAssigned = 0,
        // The file cannot be read or is not an ICC profile.
        kProfileUnreadable = -1,
        // Nothing took the profile for the display.
        kNotAssigned = -2,
    };

    virtual ~IDisplayProfiles() = default;
    // Assigns the profile file at path to a display (the desktop's display id).
    virtual int assign(quint32 displayId, const QString &path) = 0;
};

// What the program has until a backend is installed: nothing takes a profile.
class NoDisplayProfiles : public IDisplayProfiles {
public:
    int assign(quint32 displayId, const QString &path) override;
};

IDisplayProfiles &displayProfiles();
// Installs another backend (not owned); nullptr restores the default.
void setDisplayProfiles(IDisplayProfiles *profiles);

class ScopedDisplayProfiles {
public:
    explicit ScopedDisplayProfiles(IDisplayProfiles *profiles);
    ~ScopedDisplayProfiles();
    ScopedDisplayProfiles(const ScopedDisplayProfiles &) = delete;
    ScopedDisplayProfiles &operator=(const ScopedDisplayProfiles &) = delete;

private:
    IDisplayProfiles *m_previous;
};

// Reads an ICC profile file whole into bytes and checks that Little CMS
// opens it. False when the file cannot be read, is not a regular file or
// is not a profile.
bool readIccProfileFile(const QString &path, QByteArray &bytes);

} // namespace pz
