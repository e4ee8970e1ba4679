#pragma once
// The information window: a non-modal window that reports the current
// display's calibration (summary, gamut, curves, colour tracking, DICOM).
// The main window creates it once, closes it before a measurement and shows
// it again afterwards. For now it keeps what it is given; the report tabs
// fill it later.

#include "CAdjustValue.h"
#include "CTargetValue.h"

#include <QDialog>
#include <QString>

class CDDCMonitor;

class PZ_Information_Dialog : public QDialog {
    Q_OBJECT

public:
    explicit PZ_Information_Dialog(QWidget *parent = nullptr);

    // Refills the window from the display name, target, calibration result
    // and monitor object (monitor may be null; target and result are copied,
    // null keeps an empty record).
    void UpdateData(QString displayName, CTargetValue *target, CAdjustValue *result,
                    CDDCMonitor *monitor);

    int updateCount() const { return m_updateCount; }
    QString displayName() const { return m_displayName; }
    const CTargetValue &target() const { return m_target; }
    const CAdjustValue &result() const { return m_result; }
    bool hadMonitor() const { return m_hadMonitor; }

private:
    int m_updateCount = 0;
    QString m_displayName;
    CTargetValue m_target;
    CAdjustValue m_result;
    bool m_hadMonitor = false;
};
