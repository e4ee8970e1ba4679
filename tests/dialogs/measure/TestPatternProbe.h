#pragma once
// What the shared test pattern window shows, for the dialogs that use it as
// a background: where it is, the colour in its middle, and whether its
// overlay controls are back.

#include "pz_test_pattern_dialog.h"

#include <QColor>
#include <QImage>

namespace pz::test {

// The colour at the window's centre.
inline QColor testPatternCentre(pz_test_pattern_dialog &window)
{
    const QImage image = window.grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

// The overlay controls are enabled again: enabling shows the close button.
inline bool testPatternControlsBack(pz_test_pattern_dialog &window)
{
    QWidget *close = window.findChild<QWidget *>("test_pattern_close_toolButton");
    return close && !close->isHidden();
}

} // namespace pz::test
