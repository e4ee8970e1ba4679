#pragma once
// The nine preset calibration targets that are written into the targets
// folder when missing, in the order they are written. Their names are
// string resources, so they follow the installed translation.

#include "CTargetValue.h"

#include <QVector>

namespace pz {

// Position of "Photo Editing" in the list: the target a new main window starts with.
constexpr int kPhotoEditingPreset = 2;

QVector<CTargetValue> standardTargets();

} // namespace pz
