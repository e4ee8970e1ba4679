#pragma once
// The folders the application uses by name. System folders are returned
// without a trailing separator, the two data folders with one. Every
// function computes its path anew; an empty string means the folder could
// not be found or created.

#include <QString>

namespace pz {
class IHostSystem;
}

// The user's configuration folder (XDG config home), created when missing.
QString GetPreferencesFolder();
// The user's data folder (XDG data home), created when missing; the base of
// the application's data folders.
QString GetMyDocumentsFolder();
// The ICC profile folder of the computer (allUsers not 0:
// /usr/local/share/color/icc) or of the user (<user data folder>/icc, where
// colour managers look), created when missing.
QString GetDefaultProfileLocationPath(unsigned char allUsers);
// The user's desktop folder (not created), else the program's own path.
QString GetDesktopFolderPath();

// <data folder>/Orvane/Pelzora/Calibration Settings/ and .../Targets/. Empty
// when the folder does not exist and create is false, or cannot be created.
QString GetMCSFolder(bool create);
QString GetTargetsFolder(bool create);

namespace pz {
// The folders above as the lower layers reach them (pz::setHostSystem).
// Profiles always go to the user's folder here: the computer-wide one is
// not writable by a normal user.
IHostSystem *platformHostSystem();
} // namespace pz
