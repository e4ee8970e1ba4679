#pragma once
// The small modal box shown while a monitor's stored calibration is
// verified or put back. It starts its worker thread at construction, shows
// the monitor's progress messages, cannot be dismissed by the user and
// closes itself with the thread's result, which exec() returns:
//   restore: 0, or a negative error code;
//   verify: 1 the settings are unchanged, 0 changed, negative a read error.
// Target, result and the display's monitor object must stay alive until
// exec() has returned; the caller must not touch them meanwhile.

#include <QDialog>
#include <QString>
#include <memory>

class CAdjustValue;
class CDDCMonitor;
class CTargetDisplay;
class CTargetValue;
class CheckRestoreMonitorSettingsThread;

namespace Ui {
class PZ_restore_monitor_settings_dialogClass;
}

class PZ_restore_monitor_settings_dialog : public QDialog {
    Q_OBJECT
public:
    enum typeRestoreFunction { kRestoreSettings = 0, kVerifySettings = 1 };

    // name: the monitor's name in the text; empty takes the monitor's model name.
    PZ_restore_monitor_settings_dialog(QWidget *parent, CTargetDisplay *display,
                                       CTargetValue *target, CAdjustValue *result,
                                       typeRestoreFunction function, QString name);
    // Waits for the thread's end.
    ~PZ_restore_monitor_settings_dialog() override;

public slots:
    // The monitor's progress: 1 one step done, 2 a task of `value` steps
    // begins, 3 the string resource `value` names the step.
    void Broadcast_MessageIn(uint type, uint value);
    // Does nothing: only the thread ends the box.
    void reject() override;

protected:
    // The border of a box without a window frame.
    void paintEvent(QPaintEvent *event) override;

private:
    std::unique_ptr<Ui::PZ_restore_monitor_settings_dialogClass> ui;
    CDDCMonitor *m_Monitor = nullptr;
    CTargetValue *m_Target = nullptr;
    CAdjustValue *m_Result = nullptr;
    CheckRestoreMonitorSettingsThread *m_Thread = nullptr;
};
