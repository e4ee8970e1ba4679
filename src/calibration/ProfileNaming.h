#pragma once
// How a display profile is named: the proposals built from the monitor and
// the calibration, the prompt in which the user may change them, and the
// rules that keep a name (from the EDID or typed) a plain file name inside
// the profile folder.
//
// The prompt is a dialog of the user interface, which this library may not
// include: the application registers it here as a hook. Without one the
// proposals stay, as when profiles are named automatically.

#include <QDateTime>
#include <QString>
#include <functional>

class CTargetValue;
struct _MonitorData;

namespace pz {

// Shows fileName and description to the user. True when the user accepted;
// both then hold the user's answers. False leaves them as they were.
using ProfileNamePrompt = std::function<bool(QString &fileName, QString &description)>;

// Registers the prompt; an empty function removes it.
void setProfileNamePrompt(ProfileNamePrompt prompt);
ProfileNamePrompt profileNamePrompt();

// Model name + " " + serial number, a missing part left out with its
// separator. Without a serial number the name still tells the display
// apart, the same from run to run: by its connector (e.g. "DP-1"), else
// by a digest of its EDID ("EDID 1a2b3c4d"), else by its display id.
QString proposedProfileFileName(const _MonitorData &monitor, const QString &connector);
// fileName + " " + when as "yyyy-MM-dd hh-mm " + the target white point's
// caption + " " + the target tone curve's file-name form.
QString proposedProfileDescription(const QString &fileName, const QDateTime &when,
                                   const CTargetValue &target);

// The longest file name most file systems take, in UTF-8 bytes.
constexpr int kMaxFileNameBytes = 255;

// A name that stays in its folder: '/', '\' and control characters become
// '_', a leading '.' becomes '_', ".icc" is appended unless the name ends
// with it (in any case), and the part before the extension is shortened so
// the whole takes at most kMaxFileNameBytes UTF-8 bytes. A blank name is
// replaced by fallback first.
QString safeProfileFileName(const QString &name, const QString &fallback);

} // namespace pz
