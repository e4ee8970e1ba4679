#pragma once
// The user of the main window's flows, answering every modal window while a
// flow runs: Continue (or Cancel) in the calibration window, and in the
// boxes "Proceed anyway" (or Cancel, the "Don't show this again" box ticked)
// and OK. Keeps each box's text and whether it counted down.

#include "ModalBox.h"
#include "MyCustomMessageBox.h"
#include "PZ_Calibrate_Dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QTest>

#include <functional>

namespace pz::test {

class FlowUser : public ModalAnswerer {
public:
    // Called once for each calibration window as it comes.
    std::function<void(PZ_Calibrate_Dialog &)> onCalibrationWindow;
    bool cancelCalibration = false;
    // The warm-up warning: Cancel with the box ticked instead of going on.
    bool declineWarmUp = false;

    QStringList boxTexts;
    QList<bool> countdowns;
    int calibrationWindows = 0;
    int calibrationResult = -1;

protected:
    bool takes(QWidget &modal) override
    {
        return qobject_cast<PZ_Calibrate_Dialog *>(&modal) || qobject_cast<QMessageBox *>(&modal);
    }
    // The calibration window is answered on every poll (each step brings
    // its button back); a box once.
    void answer(QWidget &modal, bool first) override
    {
        if (auto *window = qobject_cast<PZ_Calibrate_Dialog *>(&modal)) {
            if (first) {
                ++calibrationWindows;
                connect(window, &QDialog::finished, this, [this](int r) { calibrationResult = r; });
                if (onCalibrationWindow)
                    onCalibrationWindow(*window);
            }
            QAbstractButton *next =
                cancelCalibration ? window->cancel_pushButton : window->continue_pushButton;
            if (next->isVisible() && next->isEnabled())
                QTest::mouseClick(next, Qt::LeftButton);
            return;
        }
        auto *box = qobject_cast<QMessageBox *>(&modal);
        if (!box || !first)
            return;
        boxTexts << box->text();
        auto *own = qobject_cast<MyCustomMessageBox *>(box);
        countdowns << (own && own->counter() > 0);
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == QStringLiteral("Proceed anyway")) {
                if (!declineWarmUp) {
                    button->click();
                } else {
                    box->findChild<QCheckBox *>()->setChecked(true);
                    box->button(QMessageBox::Cancel)->click();
                }
                return;
            }
        }
        if (QAbstractButton *ok = box->button(QMessageBox::Ok))
            ok->click();
        else if (box->defaultButton())
            box->defaultButton()->click();
    }
};

} // namespace pz::test
