#include "pz_test_pattern_dialog.h"

#include "ui_PZ_test_pattern_dialogClass.h"

#include "DisplayPlacement.h"

#include <QKeyEvent>
#include <QLabel>

pz_test_pattern_dialog::pz_test_pattern_dialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::PZ_test_pattern_dialogClass>())
{
    ui->setupUi(this);
    // A top-level window without frame or title, even with a parent.
    setWindowFlags(Qt::SplashScreen);
    connect(ui->draw_widget, &PZ_test_pattern_widget::show_controls, this,
            &pz_test_pattern_dialog::show_controls);
    ui->test_pattern_label->setText(ui->draw_widget->getPatternName());
    // The labels would take the pattern's own background role (Base).
    for (QLabel *caption : {ui->test_pattern_label, ui->resolution_label}) {
        caption->setBackgroundRole(QPalette::Window);
        caption->setAutoFillBackground(true);
    }
    // The arrow keys step through the patterns wherever the focus is, before
    // the buttons would take them to move the focus.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
    enable_controls(true);
}

pz_test_pattern_dialog::~pz_test_pattern_dialog() = default;

void pz_test_pattern_dialog::SetTestPattern(int n)
{
    ui->draw_widget->SetTestPattern(n);
    ui->test_pattern_label->setText(ui->draw_widget->getPatternName());
    update_resolution_text();
}

void pz_test_pattern_dialog::enable_controls(bool enable)
{
    controlsEnabled = enable;
    show_controls(true);
}

void pz_test_pattern_dialog::show_controls(bool show)
{
    const bool visible = show && controlsEnabled;
    ui->test_pattern_next_toolButton->setVisible(visible);
    ui->test_pattern_previous_toolButton->setVisible(visible);
    ui->test_pattern_close_toolButton->setVisible(visible);
    ui->test_pattern_label->setVisible(visible);
    ui->resolution_label->setVisible(visible);
    update_resolution_text();
}

void pz_test_pattern_dialog::update_resolution_text()
{
    // The window covers its display exactly, so its size is the display's
    // resolution.
    ui->resolution_label->setText(ui->draw_widget->getTextFormatting().arg(
        QStringLiteral("%1x%2").arg(width()).arg(height())));
    const QColor backdrop = ui->draw_widget->captionBackdrop();
    for (QLabel *caption : {ui->test_pattern_label, ui->resolution_label}) {
        QPalette palette = caption->palette();
        palette.setColor(QPalette::Window, backdrop);
        caption->setPalette(palette);
    }
}

bool pz_test_pattern_dialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !controlsEnabled)
        return QDialog::eventFilter(watched, event);
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        on_test_pattern_next_toolButton_clicked();
        return true;
    case Qt::Key_Left:
    case Qt::Key_Up:
        on_test_pattern_previous_toolButton_clicked();
        return true;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void pz_test_pattern_dialog::show_stepped_pattern_name()
{
    ui->test_pattern_label->setText(ui->draw_widget->getPatternName());
    ui->test_pattern_label->setVisible(controlsEnabled);
    update_resolution_text();
}

void pz_test_pattern_dialog::on_test_pattern_next_toolButton_clicked()
{
    ui->test_pattern_label->hide();
    ui->draw_widget->next_test_pattern();
    show_stepped_pattern_name();
}

void pz_test_pattern_dialog::on_test_pattern_previous_toolButton_clicked()
{
    ui->test_pattern_label->hide();
    ui->draw_widget->previous_test_pattern();
    show_stepped_pattern_name();
}

void pz_test_pattern_dialog::on_test_pattern_close_toolButton_clicked()
{
    if (isVisible())
        hide();
}

void pz_test_pattern_dialog::show_white_background(bool show, const QRect &displayBounds,
                                                   QWidget *owner)
{
    const int kWhitePattern = 5;
    if (!show) {
        hide();
        enable_controls(true);
        return;
    }
    pz::placeOnDisplay(*this, displayBounds);
    enable_controls(false);
    SetTestPattern(kWhitePattern);
    this->show();
    if (owner) {
        owner->raise();
        owner->activateWindow();
    }
}
