#pragma once
// The user of the main window's flows, answering every modal window while a
// flow runs: Continue (or Cancel) in the calibration window, and in the
// boxes "Proceed anyway" (or Cancel, the "Don't show this again" box ticked)
// and OK. Keeps each box's text and whether it counted down.

#include "MyCustomMessageBox.h"
#include "PZ_Calibrate_Dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

namespace pz::test {

class FlowUser : public QObject {
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

    FlowUser()
    {
        connect(&m_timer, &QTimer::timeout, this, &FlowUser::poll);
        m_timer.start(20);
    }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *window = qobject_cast<PZ_Calibrate_Dialog *>(modal)) {
            if (window != m_window) {
                m_window = window;
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
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
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

    QTimer m_timer;
    QPointer<PZ_Calibrate_Dialog> m_window;
};

} // namespace pz::test
