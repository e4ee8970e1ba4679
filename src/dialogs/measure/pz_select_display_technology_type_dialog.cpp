#include "pz_select_display_technology_type_dialog.h"

#include "ui_pz_select_display_technology_type_dialog.h"

#include <QIcon>

namespace {

// The CRT item's data; the LCD items carry their gamut type.
constexpr int kCrtItem = -1;

} // namespace

pz_select_display_technology_type_dialog::pz_select_display_technology_type_dialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::pz_select_display_technology_type_dialogClass>())
{
    ui->setupUi(this);
    // Technology names are shown as the makers write them, untranslated.
    QComboBox *list = ui->technology_type_comboBox;
    list->addItem(QIcon(), QStringLiteral("Standard Color Gamut CCFL backlight LCD"),
                  int(CTargetDisplay::kGamutStandardCCFL));
    list->addItem(QIcon(), QStringLiteral("Wide Color Gamut CCFL backlight LCD"),
                  int(CTargetDisplay::kGamutWideCCFL));
    list->addItem(QIcon(), QStringLiteral("Wide Color Gamut RGB LED backlight LCD"),
                  int(CTargetDisplay::kGamutWideRGBLED));
    list->addItem(QIcon(), QStringLiteral("Standard Color Gamut White LED backlight LCD"),
                  int(CTargetDisplay::kGamutStandardWhiteLED));
    list->addItem(QIcon(), QStringLiteral("CRT"), kCrtItem);
    list->setCurrentIndex(0);

    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
}

pz_select_display_technology_type_dialog::~pz_select_display_technology_type_dialog() = default;

int pz_select_display_technology_type_dialog::GetSelectedTargetDisplayType(
    CTargetDisplay::typeMonitorScreenType *screen,
    CTargetDisplay::typeMonitorColorGamutType *gamut) const
{
    const int item = ui->technology_type_comboBox->currentData().toInt();
    if (item == kCrtItem) {
        *screen = CTargetDisplay::kScreenCRT;
        *gamut = CTargetDisplay::kGamutStandardCCFL;
    } else {
        *screen = CTargetDisplay::kScreenLCD;
        *gamut = CTargetDisplay::typeMonitorColorGamutType(item);
    }
    return 0;
}
