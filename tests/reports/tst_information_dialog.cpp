#include "PZ_Information_Dialog.h"

#include <QtTest>

class TestInformationDialog : public QObject {
    Q_OBJECT

private slots:
    void nonModalChild()
    {
        QWidget main;
        auto *window = new PZ_Information_Dialog(&main);
        QCOMPARE(window->parentWidget(), &main);
        QVERIFY(!window->isModal());
        QVERIFY(!(window->windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(window->updateCount(), 0);
    }

    void keepsCopies()
    {
        PZ_Information_Dialog window;
        CTargetValue target;
        target.m_Name = QStringLiteral("Photo.tgt");
        CAdjustValue result;
        result.SetMonitorSerial(QStringLiteral("SIM0001"));
        window.UpdateData(QStringLiteral("Display 1 - HXSIM24"), &target, &result, nullptr);
        target.m_Name = QStringLiteral("changed");
        result.SetMonitorSerial(QStringLiteral("changed"));
        QCOMPARE(window.updateCount(), 1);
        QCOMPARE(window.displayName(), QStringLiteral("Display 1 - HXSIM24"));
        QCOMPARE(window.target().m_Name, QStringLiteral("Photo.tgt"));
        QCOMPARE(window.result().GetMonitorSerial(), QStringLiteral("SIM0001"));
        QVERIFY(!window.hadMonitor());

        window.UpdateData(QStringLiteral("Display 2"), nullptr, nullptr, nullptr);
        QCOMPARE(window.updateCount(), 2);
        QCOMPARE(window.target().m_Name, CTargetValue().m_Name);
        QCOMPARE(window.result().GetMonitorSerial(), QString());
    }
};

QTEST_MAIN(TestInformationDialog)
#include "tst_information_dialog.moc"
