#pragma once
// The About box: the product logo, the maker's notice line, the version and
// a link to the maker's web site, with one OK button.

#include "ui_PZ_About_Dialog.h"

#include <QDialog>

class PZ_About_Dialog : public QDialog, public Ui::PZ_About_DialogClass {
    Q_OBJECT
public:
    explicit PZ_About_Dialog(QWidget *parent);
    ~PZ_About_Dialog() override;
};
