// The About box: logo, version line, link, fixed size, and the ways it closes.

#include "ApplicationHooks.h"
#include "TestSupport.h"
#include "PZ_About_Dialog.h"
#include "Resources.h"

#include <QDesktopServices>
#include <QUrl>
#include <QtTest>

namespace {

// Takes the links the box opens instead of the system browser.
class LinkCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

} // namespace

class TestAboutDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pz::initResources(); }

    void contents()
    {
        PZ_About_Dialog box(nullptr);
        QCOMPARE(box.objectName(), QStringLiteral("PZ_About_DialogClass"));
        QCOMPARE(box.windowTitle(), QStringLiteral("Pelzora"));
        QCOMPARE(box.version_label->text(), GetVersionString());
        QVERIFY(!box.logo_label->pixmap().isNull());
        QVERIFY(!box.copyright_label->text().isEmpty());
        QVERIFY(box.URL_label->openExternalLinks());
        QVERIFY(!(box.windowFlags() & Qt::WindowContextHelpButtonHint));
        box.show();
        QCOMPARE(box.minimumSize(), box.maximumSize());
        QVERIFY(box.width() >= box.logo_label->pixmap().width());
        QVERIFY(box.grab().save(pz::test::picturePath("about_box.png")));
    }

    void linkOpensTheMakersSite()
    {
        LinkCatcher catcher;
        QDesktopServices::setUrlHandler("https", &catcher, "open");
        PZ_About_Dialog box(nullptr);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::mouseClick(box.URL_label, Qt::LeftButton, {}, box.URL_label->rect().center());
        QDesktopServices::unsetUrlHandler("https");
        QCOMPARE(catcher.opened, QList<QUrl>{QUrl("https://www.orvane.example/")});
        QVERIFY(box.isVisible());
    }

    void closes_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("OK button") << 0 << int(QDialog::Accepted);
        QTest::newRow("Return") << int(Qt::Key_Return) << int(QDialog::Accepted);
        QTest::newRow("Escape") << int(Qt::Key_Escape) << int(QDialog::Rejected);
    }
    void closes()
    {
        QFETCH(int, key);
        QFETCH(int, result);
        PZ_About_Dialog box(nullptr);
        QTimer::singleShot(0, &box, [&] {
            if (key)
                QTest::keyClick(&box, Qt::Key(key));
            else
                QTest::mouseClick(box.pushButton, Qt::LeftButton);
        });
        QCOMPARE(box.exec(), result);
    }
};

QTEST_MAIN(TestAboutDialog)
#include "tst_about_dialog.moc"
