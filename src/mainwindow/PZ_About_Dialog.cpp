#include "PZ_About_Dialog.h"

#include "ApplicationHooks.h"
#include "WindowPlacement.h"

#include <QLayout>
#include <QPixmap>

PZ_About_Dialog::PZ_About_Dialog(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    // The path goes through the translation, so a translation can show a
    // logo of its own.
    logo_label->setPixmap(QPixmap(tr(":/images/Resources/pelzora2logogreyback.png")));
    version_label->setText(GetVersionString());
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    pz::placeOverParent(*this, parent);
}

PZ_About_Dialog::~PZ_About_Dialog() = default;
