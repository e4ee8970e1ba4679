#pragma once
// The display-profile backend for Linux. The profile file already lies in
// the user's profile folder, where colour managers look. Assigning it:
//   1. on the X server, after the "ICC Profiles in X" convention (version
//      0.4): the whole file as the root window property _ICC_PROFILE (the
//      first monitor) or _ICC_PROFILE_n (monitor n of the RandR monitor
//      list, matched by the output's area), and as the property
//      _ICC_PROFILE of the RandR output that is the display; the root
//      property _ICC_PROFILE_IN_X_VERSION says 4;
//   2. with the system colour manager, when one runs on the bus
//      (ColorManagerClient).
// 0 when the colour manager took it, or, where none runs or it knows no
// device for the display, when the X server took it; -1 when the file
// cannot be read or is no profile; -2 otherwise: the colour manager refused
// or did not answer (whatever the X server took), or neither took it.

#include "ColorManagerClient.h"
#include "DisplayProfiles.h"
#include "XRandRConnection.h"

#include <QDBusConnection>
#include <memory>

namespace pz {

class LinuxDisplayProfiles : public IDisplayProfiles {
public:
    // bus: where the colour manager is looked for (the system bus).
    LinuxDisplayProfiles(std::shared_ptr<XRandRConnection> connection,
                         const QDBusConnection &bus);

    int assign(quint32 displayId, const QString &path) override;

private:
    // True when the output's and the matching root window's properties hold
    // the profile.
    bool publishOnXServer(const XRandROutput &output, const QByteArray &profile);

    std::shared_ptr<XRandRConnection> m_x;
    ColorManagerClient m_colorManager;
};

} // namespace pz
