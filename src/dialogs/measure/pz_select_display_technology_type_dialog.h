#pragma once
// Asks what kind of display is being measured, for a monitor that does not
// reveal its gamut type when the sensor's calibration depends on it. The
// caller runs it and reads the choice once it was accepted.

#include "CTargetDisplay.h"

#include <QDialog>
#include <memory>

namespace Ui {
class pz_select_display_technology_type_dialogClass;
}

class pz_select_display_technology_type_dialog : public QDialog {
    Q_OBJECT
public:
    explicit pz_select_display_technology_type_dialog(QWidget *parent);
    ~pz_select_display_technology_type_dialog() override;

    // The chosen technology: "CRT" gives a CRT with gamut 0, every other
    // item an LCD with the item's gamut type. Returns 0.
    int GetSelectedTargetDisplayType(CTargetDisplay::typeMonitorScreenType *screen,
                                     CTargetDisplay::typeMonitorColorGamutType *gamut) const;

private:
    std::unique_ptr<Ui::pz_select_display_technology_type_dialogClass> ui;
};
