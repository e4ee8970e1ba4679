// The profile name and description prompt, offscreen: its fields and
// initial state, the check box that sets the description to the file name,
// the 64-character fields, what Save and Cancel leave in the preferences,
// and where it places itself.

#include "CPreferences.h"
#include "HostSystem.h"
#include "PZ_Profile_Name_Description_Dialog.h"
#include "PreferencesRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include "ModalBox.h"
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

class TestHost : public pz::IHostSystem {
public:
    QString folder;
    QString preferencesFolder() override { return folder; }
    QString profileFolder(bool) override { return QString(); }
    bool profilesAlwaysPerUser() override { return true; }
};

QLineEdit *fileNameField(QDialog &d) { return d.findChild<QLineEdit *>("profile_file_name_lineEdit"); }
QLineEdit *descriptionField(QDialog &d)
{
    return d.findChild<QLineEdit *>("profile_description_lineEdit");
}
QCheckBox *checkBox(QDialog &d)
{
    return d.findChild<QCheckBox *>("profile_set_description_to_file_name_checkBox");
}
QLabel *descriptionLabel(QDialog &d) { return d.findChild<QLabel *>("label_2"); }
QPushButton *button(QDialog &d, QDialogButtonBox::StandardButton which)
{
    return d.findChild<QDialogButtonBox *>("buttonBox")->button(which);
}

// Acts on the prompt once it is up, for the runner that owns it, while
// the answer returned lives.
[[nodiscard]] std::unique_ptr<pz::test::ModalWindowAnswer<QDialog>>
whenShown(const std::function<void(QDialog &)> &act)
{
    return std::make_unique<pz::test::ModalWindowAnswer<QDialog>>(act);
}

} // namespace

class TestProfileNameDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    TestHost m_host;
    std::unique_ptr<pz::ScopedHostSystem> m_hostScope;
    std::unique_ptr<CPreferences> m_preferences;
    std::unique_ptr<pz::ScopedPreferences> m_registered;

private slots:
    void init()
    {
        // A fresh preferences file for every test.
        m_dir = std::make_unique<QTemporaryDir>();
        m_host.folder = m_dir->path();
        m_hostScope = std::make_unique<pz::ScopedHostSystem>(&m_host);
        m_preferences = std::make_unique<CPreferences>();
        m_registered = std::make_unique<pz::ScopedPreferences>(m_preferences.get());
    }
    void cleanup()
    {
        m_registered.reset();
        m_preferences.reset();
        m_hostScope.reset();
        m_dir.reset();
    }

    void opensWithTheProposals()
    {
        PZ_Profile_Name_Description_Dialog dialog("Name", "Description", nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("ICC Color Profile Name and Description"));
        QCOMPARE(fileNameField(dialog)->text(), QStringLiteral("Name"));
        QCOMPARE(descriptionField(dialog)->text(), QStringLiteral("Description"));
        QCOMPARE(fileNameField(dialog)->maxLength(), 64);
        QCOMPARE(descriptionField(dialog)->maxLength(), 64);
        QVERIFY(!checkBox(dialog)->isChecked());
        QVERIFY(!descriptionField(dialog)->isHidden());
        QVERIFY(!descriptionLabel(dialog)->isHidden());
        QCOMPARE(dialog.focusWidget(), button(dialog, QDialogButtonBox::Save));
        QVERIFY(button(dialog, QDialogButtonBox::Cancel));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(dialog.layout()->sizeConstraint(), QLayout::SetFixedSize);
        QCOMPARE(dialog.GetFileName(), QStringLiteral("Name"));
        QCOMPARE(dialog.GetDescription(), QStringLiteral("Description"));
    }

    void withThePreferenceSetOnlyTheFileNameShows()
    {
        m_preferences->SetProfileSetDescriptionToFileName(1);
        QString name = "Name", description = "Description";
        const auto prompt = whenShown([](QDialog &d) {
            QVERIFY(checkBox(d)->isChecked());
            QVERIFY(!descriptionField(d)->isVisible());
            QVERIFY(!descriptionLabel(d)->isVisible());
            QVERIFY(fileNameField(d)->isVisible());
            button(d, QDialogButtonBox::Save)->click();
        });
        QVERIFY(RunProfileNameDescriptionPrompt(name, description));
        QCOMPARE(name, QStringLiteral("Name"));
        QCOMPARE(description, QStringLiteral("Name"));
        QCOMPARE(m_preferences->m_ProfileSetDescriptionToFileName, quint8(1));
    }

    // Asked while a window is active, the prompt belongs to it and opens
    // over it.
    void opensOverTheActiveWindow()
    {
        QWidget owner;
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        owner.setGeometry(QRect(area.topLeft() + QPoint(area.width() / 3, area.height() / 4),
                                QSize(area.width() / 2, area.height() * 2 / 3)));
        owner.show();
        owner.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&owner));
        QString name = "Name", description = "Description";
        QWidget *parent = nullptr;
        QPoint middle;
        const auto prompt = whenShown([&](QDialog &d) {
            parent = d.parentWidget();
            middle = d.frameGeometry().center();
            button(d, QDialogButtonBox::Cancel)->click();
        });
        QVERIFY(!RunProfileNameDescriptionPrompt(name, description));
        QCOMPARE(parent, &owner);
        QVERIFY2(owner.frameGeometry().contains(middle),
                 qPrintable(QString("%1,%2").arg(middle.x()).arg(middle.y())));
    }

    void theCheckBoxHidesAndShowsTheDescription()
    {
        PZ_Profile_Name_Description_Dialog dialog("Name", "Description", nullptr);
        descriptionField(dialog)->setText("Typed");
        checkBox(dialog)->setChecked(true);
        QVERIFY(descriptionField(dialog)->isHidden());
        QVERIFY(descriptionLabel(dialog)->isHidden());
        QCOMPARE(dialog.GetDescription(), QStringLiteral("Name"));
        checkBox(dialog)->setChecked(false);
        QVERIFY(!descriptionField(dialog)->isHidden());
        QVERIFY(!descriptionLabel(dialog)->isHidden());
        QCOMPARE(dialog.GetDescription(), QStringLiteral("Typed"));
    }

    void longProposals_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("save") << true;
        QTest::newRow("cancel") << false;
    }
    void longProposals()
    {
        QFETCH(bool, save);
        const QString longName = QString(60, 'n') + "ABCDEFGHIJ";
        const QString longDescription = QString(60, 'd') + "0123456789";
        QString name = longName, description = longDescription;
        const auto prompt = whenShown([save](QDialog &d) {
            QCOMPARE(fileNameField(d)->text().size(), 64);
            button(d, save ? QDialogButtonBox::Save : QDialogButtonBox::Cancel)->click();
        });
        QCOMPARE(RunProfileNameDescriptionPrompt(name, description), save);
        QCOMPARE(name, save ? longName.left(64) : longName);
        QCOMPARE(description, save ? longDescription.left(64) : longDescription);
    }

    void onlySaveStoresTheCheckBox_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<int>("stored");
        QTest::newRow("save") << true << 1;
        QTest::newRow("cancel") << false << 0;
    }
    void onlySaveStoresTheCheckBox()
    {
        QFETCH(bool, save);
        QFETCH(int, stored);
        QString name = "Name", description = "Description";
        const auto prompt = whenShown([save](QDialog &d) {
            checkBox(d)->setChecked(true);
            button(d, save ? QDialogButtonBox::Save : QDialogButtonBox::Cancel)->click();
        });
        RunProfileNameDescriptionPrompt(name, description);
        QCOMPARE(int(m_preferences->m_ProfileSetDescriptionToFileName), stored);
        QCOMPARE(description, save ? QStringLiteral("Name") : QStringLiteral("Description"));
    }

    void placement_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<bool>("moves");
        QTest::newRow("primary") << QRect(0, 0, 1920, 1200) << true;
        QTest::newRow("odd sizes, offset") << QRect(101, -51, 1603, 901) << true;
        QTest::newRow("left of the primary") << QRect(-1921, 0, 1921, 1081) << true;
        QTest::newRow("width 0") << QRect(300, 200, 0, 900) << false;
    }
    void placement()
    {
        QFETCH(QRect, screen);
        QFETCH(bool, moves);
        PZ_Profile_Name_Description_Dialog dialog("Name", "Description", nullptr);
        dialog.move(7, 9);
        const int frameWidth = dialog.frameGeometry().width();
        dialog.PlaceOnScreen(screen);
        // Each division truncates toward zero.
        const QPoint expected = moves ? QPoint(screen.left() + screen.width() / 4 - frameWidth / 2,
                                               screen.top() + screen.height() / 2)
                                      : QPoint(7, 9);
        QCOMPARE(dialog.frameGeometry().topLeft(), expected);
    }
};

QTEST_MAIN(TestProfileNameDialog)
#include "tst_profile_name_dialog.moc"
