#include "CPreferences.h"
#include "HostSystem.h"
#include "ModalBox.h"
#include "PreferencesRegistry.h"
#include "ProfilePermissions.h"
#include "SystemFolders.h"

#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

class TestProfilePermissions : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath("config")));
    }

    void check_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("result");
        QTest::newRow("writable: no question") << true << int(QMessageBox::No) << 0;
        QTest::newRow("not writable, yes") << false << int(QMessageBox::Yes) << 0;
        QTest::newRow("not writable, no") << false << int(QMessageBox::No) << -1;
    }
    void check()
    {
        QFETCH(bool, writable);
        QFETCH(int, answer);
        QFETCH(int, result);
        QString data = m_home.filePath("data");
        if (!writable) {
            // The profile folder cannot exist: its parent is a regular file.
            QFile blocker(m_home.filePath("blocker"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            data = blocker.fileName() + "/data";
        }
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        pz::ScopedHostSystem host(pz::platformHostSystem());
        CPreferences preferences;
        pz::ScopedPreferences registered(&preferences);

        pz::test::ModalBoxAnswer box{QMessageBox::StandardButton(answer)};
        QCOMPARE(CheckProfilePermissions(nullptr), result);
        QCOMPARE(box.shown(), !writable);
        if (!writable)
            QVERIFY(box.text().startsWith("The current user does not have file write permissions"));
    }
};

QTEST_MAIN(TestProfilePermissions)
#include "tst_profilepermissions.moc"
