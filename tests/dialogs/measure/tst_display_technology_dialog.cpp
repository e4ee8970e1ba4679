// The display technology prompt: its list, and the screen and gamut types
// the caller reads after OK.

#include "Resources.h"
#include "TestSupport.h"
#include "pz_select_display_technology_type_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

class TestDisplayTechnologyDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pz::initResources(); }

    void listAndForm()
    {
        pz_select_display_technology_type_dialog dialog(nullptr);
        QCOMPARE(dialog.objectName(), QStringLiteral("pz_select_display_technology_type_dialogClass"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Select Display Technology Type"));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        QVERIFY(dialog.findChild<QLabel *>("label")->wordWrap());
        auto *list = dialog.findChild<QComboBox *>("technology_type_comboBox");
        const QStringList texts{"Standard Color Gamut CCFL backlight LCD",
                                "Wide Color Gamut CCFL backlight LCD",
                                "Wide Color Gamut RGB LED backlight LCD",
                                "Standard Color Gamut White LED backlight LCD", "CRT"};
        const QList<int> data{0, 1, 2, 3, -1};
        QCOMPARE(list->count(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(list->itemText(i), texts[i]);
            QCOMPARE(list->itemData(i), QVariant(data[i]));
        }
        QCOMPARE(list->currentIndex(), 0);
    }

    // Chosen with the keyboard, accepted with OK.
    void choice_data()
    {
        QTest::addColumn<int>("downPresses");
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("gamut");
        QTest::newRow("untouched") << 0 << int(CTargetDisplay::kScreenLCD) << 0;
        QTest::newRow("wide RGB LED") << 2 << int(CTargetDisplay::kScreenLCD) << 2;
        QTest::newRow("white LED") << 3 << int(CTargetDisplay::kScreenLCD) << 3;
        QTest::newRow("CRT") << 4 << int(CTargetDisplay::kScreenCRT) << 0;
    }
    void choice()
    {
        QFETCH(int, downPresses);
        QFETCH(int, screen);
        QFETCH(int, gamut);
        pz_select_display_technology_type_dialog dialog(nullptr);
        QTimer::singleShot(0, &dialog, [&] {
            auto *list = dialog.findChild<QComboBox *>("technology_type_comboBox");
            for (int i = 0; i < downPresses; ++i)
                QTest::keyClick(list, Qt::Key_Down);
            QTest::mouseClick(
                dialog.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok),
                Qt::LeftButton);
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        CTargetDisplay::typeMonitorScreenType s = CTargetDisplay::kScreenUndetermined;
        CTargetDisplay::typeMonitorColorGamutType g = CTargetDisplay::kGamutUndetermined;
        QCOMPARE(dialog.GetSelectedTargetDisplayType(&s, &g), 0);
        QCOMPARE(int(s), screen);
        QCOMPARE(int(g), gamut);
    }

    void cancelRejects()
    {
        pz_select_display_technology_type_dialog dialog(nullptr);
        QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    }

    void picture()
    {
        pz_select_display_technology_type_dialog dialog(nullptr);
        dialog.show();
        QVERIFY(dialog.grab().save(pz::test::picturePath("display_technology_dialog.png")));
    }
};

QTEST_MAIN(TestDisplayTechnologyDialog)
#include "tst_display_technology_dialog.moc"
