#include "PZ_Information_Dialog.h"

#include "StringResources.h"

#include <QIcon>

namespace {
const unsigned kApplicationNameText = 1;
}

PZ_Information_Dialog::PZ_Information_Dialog(QWidget *parent) : QDialog(parent)
{
    setModal(false);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setWindowTitle(GetStringResource(kApplicationNameText));
    setWindowIcon(QIcon(QStringLiteral(":/images/Resources/orvane icon.png")));
}

void PZ_Information_Dialog::UpdateData(QString displayName, CTargetValue *target,
                                       CAdjustValue *result, CDDCMonitor *monitor)
{
    ++m_updateCount;
    m_displayName = displayName;
    m_target = target ? *target : CTargetValue();
    m_result = result ? *result : CAdjustValue();
    m_hadMonitor = monitor != nullptr;
}
