// Message boxes placed over their window on its screen, or without a window
// on the main screen, on a desktop of two screens one above the other (the
// offscreen platform reads them from a file).

#include "MyCustomMessageBox.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

class TestMessageBoxScreens : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::screens().size(), 2); }

    void insideParentScreen_data()
    {
        QTest::addColumn<int>("screen");
        QTest::newRow("A at the origin") << 0;
        QTest::newRow("B below A") << 1;
    }
    void insideParentScreen()
    {
        QFETCH(int, screen);
        QScreen *target = QGuiApplication::screens().at(screen);
        const QRect r = target->geometry();
        QWidget parent;
        parent.setScreen(target);
        parent.setGeometry(r.adjusted(100, 100, -700, -300));
        parent.show();
        QCOMPARE(parent.screen(), target);

        // Over its window, not at a fixed spot of the screen.
        MyCustomMessageBox box(&parent, 0, 1, false);
        box.setText(QStringLiteral("Calibration complete"));
        box.show();
        const QPoint middle = box.frameGeometry().center();
        QVERIFY2(parent.frameGeometry().contains(middle),
                 qPrintable(QString("%1,%2").arg(middle.x()).arg(middle.y())));
        QVERIFY(qAbs(middle.x() - parent.geometry().center().x()) <= 40);
        QVERIFY(qAbs(middle.y() - parent.geometry().center().y()) <= 40);
        QCOMPARE(box.screen(), target);
    }

    // Without a parent the primary screen holds the box: 1920 x 1200 at the
    // origin puts its top at row 599.
    void primaryWithoutParent()
    {
        MyCustomMessageBox box(nullptr, 0, 1, false);
        QCOMPARE(box.frameGeometry().top(), 599);
    }

    void noCentring()
    {
        QMessageBox plain;
        MyCustomMessageBox box(nullptr, 0, 0, false);
        QCOMPARE(box.pos(), plain.pos());
    }
};

int main(int argc, char **argv)
{
    QTemporaryDir dir;
    const QString config = dir.filePath("screens.json");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(R"({"screens": [
        {"name": "A", "x": 0, "y": 0, "width": 1920, "height": 1200,
         "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
        {"name": "B", "x": 0, "y": 1200, "width": 1920, "height": 1080,
         "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    QApplication app(argc, argv);
    TestMessageBoxScreens test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_messagebox_screens.moc"
