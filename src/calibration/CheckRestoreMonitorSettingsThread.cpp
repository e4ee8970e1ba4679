#include "CheckRestoreMonitorSettingsThread.h"

#include "CAdjustValue.h"
#include "CDDCMonitor.h"
#include "CTargetDisplay.h"
#include "CTargetValue.h"
#include "CVideoCardGamma.h"
#include "WorkerThreadControl.h"


CheckRestoreMonitorSettingsThread::CheckRestoreMonitorSettingsThread(QObject *parent)
    : QThread(parent)
{
}

CheckRestoreMonitorSettingsThread::~CheckRestoreMonitorSettingsThread()
{
    pz::abortAndWakeAll(m_Mutex, m_Condition, m_Abort);
    wait();
}

void CheckRestoreMonitorSettingsThread::SetObjects(CTargetDisplay *display, CTargetValue *target,
                                                   CAdjustValue *adjust)
{
    m_TargetDisplay = display;
    m_Monitor = display ? display->m_pDDCMonitor : nullptr;
    m_StoredTarget = target;
    m_StoredAdjustValue = adjust;
}

void CheckRestoreMonitorSettingsThread::begin(unsigned int mode)
{
    pz::startOrRequestRestart(*this, m_Mutex, m_Condition, m_Restart, m_Mode, mode);
}

void CheckRestoreMonitorSettingsThread::stop() { m_Abort = true; }

void CheckRestoreMonitorSettingsThread::run()
{
    int result = 0;
    const quint32 mode = pz::operationOf(m_Mutex, m_Mode);
    if (!m_TargetDisplay || !m_StoredTarget || !m_StoredAdjustValue)
        result = kMissingObjects;
    else if (mode == MODE_VERIFY)
        result = verify();
    else if (mode == MODE_RESTORE)
        result = restore();
    emit Finished(result);
}

int CheckRestoreMonitorSettingsThread::verify()
{
    loadStoredRamp();
    return m_Monitor ? m_Monitor->IsAdjustedToSettings(m_StoredAdjustValue, m_StoredTarget) : 0;
}

int CheckRestoreMonitorSettingsThread::restore()
{
    loadStoredRamp();
    int result = 0;
    if (m_Monitor) {
        result = m_Monitor->ConfigureMonitorControlsForCalibration(m_StoredTarget);
        if (result == 0)
            result = m_Monitor->SetToAdjustValue(m_StoredAdjustValue, m_StoredTarget);
    }
    loadStoredRamp();
    return result;
}

void CheckRestoreMonitorSettingsThread::loadStoredRamp()
{
    // Curves that are not valid leave the card's ramp as it is.
    const CColorValue &record = m_StoredAdjustValue->m_ColorValue;
    CVideoCardGamma card(m_TargetDisplay->GetMonitorData());
    card.SetVideoCardGamma(record.m_Splines[CColorValue::kCardRampRed],
                           record.m_Splines[CColorValue::kCardRampGreen],
                           record.m_Splines[CColorValue::kCardRampBlue]);
}
