#include "PZ_Profile_Name_Description_Dialog.h"

#include "CPreferences.h"
#include "PreferencesRegistry.h"
#include "ui_pz_profile_name_description_dialog.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLayout>
#include <QPushButton>
#include <QScreen>

PZ_Profile_Name_Description_Dialog::PZ_Profile_Name_Description_Dialog(QString fileName,
                                                                       QString description,
                                                                       QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::PZ_Profile_Name_Description_DialogClass>())
{
    ui->setupUi(this);
    ui->profile_description_lineEdit->setText(description);
    ui->profile_file_name_lineEdit->setText(fileName);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this,
            &PZ_Profile_Name_Description_Dialog::my_accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Over the window it belongs to (Qt centres a dialog over its parent);
    // without one, on the main screen.
    if (!parent) {
        if (QScreen *screen = QGuiApplication::primaryScreen())
            PlaceOnScreen(screen->geometry());
    }

    const CPreferences *preferences = pz::applicationPreferences();
    ui->profile_set_description_to_file_name_checkBox->setChecked(
        preferences && preferences->m_ProfileSetDescriptionToFileName != 0);

    // Qt 6 gives dialogs no context-help button; make sure there is none.
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ui->buttonBox->button(QDialogButtonBox::Save)->setFocus();
}

PZ_Profile_Name_Description_Dialog::~PZ_Profile_Name_Description_Dialog() = default;

QString PZ_Profile_Name_Description_Dialog::GetFileName() const
{
    return ui->profile_file_name_lineEdit->text();
}

QString PZ_Profile_Name_Description_Dialog::GetDescription() const
{
    return ui->profile_set_description_to_file_name_checkBox->isChecked()
        ? ui->profile_file_name_lineEdit->text()
        : ui->profile_description_lineEdit->text();
}

void PZ_Profile_Name_Description_Dialog::PlaceOnScreen(const QRect &screen)
{
    if (screen.width() == 0)
        return;
    move(screen.left() + screen.width() / 4 - frameGeometry().width() / 2,
         screen.top() + screen.height() / 2);
}

void PZ_Profile_Name_Description_Dialog::my_accept()
{
    if (CPreferences *preferences = pz::applicationPreferences())
        preferences->SetProfileSetDescriptionToFileName(
            ui->profile_set_description_to_file_name_checkBox->isChecked() ? 1 : 0);
    accept();
}

bool RunProfileNameDescriptionPrompt(QString &fileName, QString &description)
{
    // The prompt belongs to the window whose flow writes the profile.
    PZ_Profile_Name_Description_Dialog prompt(fileName, description, QApplication::activeWindow());
    if (prompt.exec() != QDialog::Accepted)
        return false;
    description = prompt.GetDescription();
    fileName = prompt.GetFileName();
    return true;
}
