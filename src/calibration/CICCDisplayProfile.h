#pragma once
// Turns one calibration result into an ICC display profile (version 2.1,
// RGB to XYZ, with the private 'vcgt' and 'mmod' tags), names it, writes it
// into the user's profile folder and assigns it to the display.
//
// The main window builds one object per profile from the target, the
// result and the monitor's description record, and calls, after a
// calibration: GenerateDefaultFileNameandDescription,
// DisAssociateCurrentColorProfile, CreateProfileFile(true), then once the
// file is written AssociateColorProfile, GetAdjustValue and GetProfileDate;
// after a profiling run the same with CreateProfileFile(false).
//
// The profile is built whole in memory and saved atomically: on any failure
// an earlier file of the same name stays as it was and nothing else is left
// in the folder.

#include "CAdjustValue.h"
#include "CTargetValue.h"
#include "MonitorData.h"

#include <QDateTime>
#include <QString>

class QWidget;

namespace pz {
struct DisplayProfileContent;
}

class CICCDisplayProfile {
public:
    enum Result {
        kProfileOk = 0,
        // The path is a directory, or a file the user may not replace.
        kProfileNotReplaceable = -1020,
        // No profile folder, or the folder is not writable.
        kProfileCannotOpen = -1,
        // The profile could not be built from the result, or not written.
        kProfileNotWritten = -2,
    };

    CICCDisplayProfile(CTargetValue target, CAdjustValue result, _MonitorData monitor,
                       QWidget *parent);

    // Proposes the file name (model and serial) and the description (name,
    // date, white point, tone curve); unless profiles are named
    // automatically, the registered prompt may change both (a cancelled
    // prompt keeps them). The name is made safe for the profile folder and
    // gets ".icc"; both go into the result. Returns 0.
    int GenerateDefaultFileNameandDescription();
    // The display keeps its current profile until AssociateColorProfile
    // replaces it. Returns 0.
    int DisAssociateCurrentColorProfile();
    // Builds and writes the profile. The tone curves are one gamma value
    // when allowGammaTRC is set and the target is a gamma value (for the HX
    // series the gamma its register holds), else 256 entries of the
    // measured corrected response (the target curve when the calibration
    // measured none). Returns a Result.
    int CreateProfileFile(bool allowGammaTRC);
    // Makes the written file the display's profile: 0, -1 (the file cannot
    // be read or is no profile) or -2 (nothing took it).
    int AssociateColorProfile();

    CAdjustValue GetAdjustValue() const { return m_AdjustValue; }
    // The header's date and time as a local time (milliseconds 0).
    QDateTime GetProfileDate() const;
    // The profile folder + "/" + the profile name; empty when no folder is known.
    QString GetProfileNameAndPath() const;
    // The header's profile ID: 16 zero bytes (never computed for version 2).
    void GetProfileID(unsigned char *id) const;

private:
    // The file name the monitor's identity proposes, without extension.
    QString proposedFileName() const;
    // Fills content from the records; false when they give no usable profile.
    bool describeProfile(bool allowGammaTRC, pz::DisplayProfileContent &content) const;

    QWidget *m_Parent;
    CTargetValue m_Target;
    _MonitorData m_MonitorData;
    CAdjustValue m_AdjustValue;
};
