#pragma once
// The prompt in which the user confirms or changes the file name and the
// description of an ICC profile before it is written, or sets the
// description to the file name. It validates nothing and decides nothing:
// the profile is written whether the user saves or cancels. The state of
// "Set Description to File Name" is a preference, stored on Save only.
//
// The profile writer cannot include this dialog; the application registers
// RunProfileNameDescriptionPrompt with pz::setProfileNamePrompt.

#include <QDialog>
#include <QRect>
#include <QString>
#include <memory>

namespace Ui {
class PZ_Profile_Name_Description_DialogClass;
}

class PZ_Profile_Name_Description_Dialog : public QDialog {
    Q_OBJECT
public:
    // The fields show the proposals (each cut to 64 characters); the dialog
    // places itself on its parent's screen (the primary screen without one).
    PZ_Profile_Name_Description_Dialog(QString fileName, QString description, QWidget *parent);
    ~PZ_Profile_Name_Description_Dialog() override;

    // The file name as typed (no extension is added).
    QString GetFileName() const;
    // The file name when "Set Description to File Name" is checked, else the
    // description as typed.
    QString GetDescription() const;

    // Moves the frame's top-left corner to (left + width / 4 - frame width
    // / 2, top + height / 2) of the screen rectangle; a rectangle of width 0
    // leaves the position as it is.
    void PlaceOnScreen(const QRect &screen);

public slots:
    // Save: stores the check box in the preferences, then accepts.
    void my_accept();

private:
    std::unique_ptr<Ui::PZ_Profile_Name_Description_DialogClass> ui;
};

// Runs the prompt on the stack, without parent. When the user saves, reads
// the description first and the file name second into the arguments and
// returns true; otherwise leaves them and returns false.
bool RunProfileNameDescriptionPrompt(QString &fileName, QString &description);
