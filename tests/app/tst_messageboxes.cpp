#include "Clock.h"
#include "Messages.h"
#include "ModalBox.h"
#include "MyCustomMessageBox.h"
#include "StringResources.h"

#include <QCheckBox>
#include <QPushButton>
#include <QElapsedTimer>
#include <QtTest>

namespace {

MyCustomMessageBox &custom(QMessageBox &box)
{
    return static_cast<MyCustomMessageBox &>(box);
}

} // namespace

class TestMessageBoxes : public QObject {
    Q_OBJECT

private slots:
    void errorCodes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<unsigned>("stringId");
        QTest::addColumn<int>("icon");
        const int C = QMessageBox::Critical, W = QMessageBox::Warning;
        const struct { int code; unsigned id; int icon; } rows[] = {
            {-1000, 105, C}, {-1001, 107, C}, {-1003, 111, C}, {-1004, 113, C},
            {-1005, 115, W}, {-1008, 117, C}, {-1011, 119, C}, {-1012, 121, C},
            {-1013, 123, W}, {-1014, 125, C}, {-1015, 127, W}, {-1017, 131, W},
            {-1023, 143, C}, {-32, 143, C},   {-27, 143, C},   {-26, 143, C},
            {-25, 143, C},   {-24, 143, C},   {-23, 143, C},   {-20, 143, C},
            {-12, 143, C},   {-11, 143, C},   {-10, 143, C},   {-1025, 144, C},
            {-1026, 151, C}, {-1029, 178, C}, {-1030, 148, C}, {-1031, 146, C},
            {-1032, 147, C}, {-1033, 149, C}, {-1035, 179, C}, {-1500, 101, C},
            {-1501, 103, C}, {-1502, 102, C}, {-1503, 102, C}, {-1504, 104, C},
            {-1505, 104, C},
            // Codes without a text of their own, among them monitor codes
            // outside the communication list.
            {-7, 100, C},    {-21, 100, C},   {-22, 100, C},   {-28, 100, C},
            {-31, 100, C},   {-40, 100, C},   {-1002, 100, C}, {-1506, 100, C},
            {0, 100, C},     {5, 100, C},
        };
        for (const auto &r : rows)
            QTest::addRow("%d", r.code) << r.code << r.id << r.icon;
    }
    void errorCodes()
    {
        QFETCH(int, code);
        QFETCH(unsigned, stringId);
        QFETCH(int, icon);
        QCOMPARE(pz::errorMessageFor(code).stringId, stringId);

        pz::test::ModalBoxAnswer box;
        DisplayErrorMessage(nullptr, code, false, 0);
        QVERIFY(box.shown());
        QString expected = GetStringResource(stringId);
        if (expected.contains("%1"))
            expected = expected.arg(code);
        QCOMPARE(box.text(), expected);
        QVERIFY(!box.text().contains("%1"));
        QCOMPARE(int(box.icon()), icon);
        QCOMPARE(box.windowTitle(), GetStringResource(1));
        QCOMPARE(box.informativeText(), QString());
    }

    void codeInText()
    {
        QVERIFY(pz::errorMessageText(-1023).startsWith("Error -1023: An error occurred while "
                                                       "communicating with the display monitor."));
        QCOMPARE(pz::errorMessageText(-7), QString("Unknown Error #-7"));
        QVERIFY(pz::errorMessageText(-1026).startsWith("The instrument dial is not set"));
    }

    // Blank for the first second, then the seconds left from 59 down to 1;
    // the 60th step accepts the box.
    void countdownOfSixty()
    {
        MyCustomMessageBox box(nullptr, 60, 0, false);
        QCOMPARE(box.counter(), 59);
        QCOMPARE(box.informativeText(), QString(" "));
        QStringList seen;
        bool stillOpenBeforeLast = true;
        pz::test::ModalBoxAnswer answer([&](QMessageBox &shown) {
            seen << shown.informativeText();
            for (int step = 1; step < 60; ++step) {
                custom(shown).on_timeout();
                seen << shown.informativeText();
            }
            stillOpenBeforeLast = shown.isVisible();
            custom(shown).on_timeout();
        });
        QCOMPARE(box.exec(), 1);
        QVERIFY(stillOpenBeforeLast);
        QCOMPARE(seen.size(), 60);
        QCOMPARE(seen.first(), QString(" "));
        for (int left = 59; left >= 2; --left)
            QCOMPARE(seen.at(60 - left), GetStringResource(605).arg(left));
        QCOMPARE(seen.last(), GetStringResource(604).arg(1));
        QCOMPARE(box.counter(), 0);
    }

    // The countdown runs on its own once exec() starts: two seconds.
    void countdownCloses()
    {
        MyCustomMessageBox box(nullptr, 2, 0, false);
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(box.exec(), 1);
        QVERIFY2(elapsed.elapsed() >= 1900, qPrintable(QString::number(elapsed.elapsed())));
        QCOMPARE(box.informativeText(), GetStringResource(604).arg(1));
    }

    // The countdown's seconds are the wall clock's, also while the program's
    // clock runs a thousand times faster (a demonstration run): a person
    // reads the box at their own speed.
    void countdownInWallClockSeconds()
    {
        pz::RealClock fast(1000);
        pz::ScopedClock clock(&fast);
        MyCustomMessageBox box(nullptr, 2, 0, false);
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(box.exec(), 1);
        QVERIFY2(elapsed.elapsed() >= 1900, qPrintable(QString::number(elapsed.elapsed())));
        QCOMPARE(box.informativeText(), GetStringResource(604).arg(1));
    }

    // The constructor already counts the single second: no timer, the box
    // waits for the user.
    void counterOfOneStaysOpen()
    {
        MyCustomMessageBox box(nullptr, 1, 0, false);
        QCOMPARE(box.counter(), 0);
        bool open = false;
        pz::test::ModalBoxAnswer answer([&](QMessageBox &shown) {
            QTest::qWait(1300);
            open = shown.isVisible();
            shown.button(QMessageBox::Ok)->click();
        });
        box.setStandardButtons(QMessageBox::Ok);
        QCOMPARE(box.exec(), int(QMessageBox::Ok));
        QVERIFY(open);
        QCOMPARE(box.informativeText(), GetStringResource(604).arg(1));
    }

    void noCounterNoLine()
    {
        MyCustomMessageBox box(nullptr, 0, 0, false);
        QCOMPARE(box.counter(), 0);
        QCOMPARE(box.informativeText(), QString());
        QVERIFY(!box.checkBox());
        QVERIFY(!box.GetDontShowAgainValue());
    }

    // The self-closing notices and error messages count 60 seconds; without
    // autoClose there is no countdown.
    void autoCloseCountsSixtySeconds_data()
    {
        QTest::addColumn<bool>("error");
        QTest::addColumn<bool>("autoClose");
        QTest::addColumn<int>("counterShown");
        QTest::newRow("notice") << false << true << 59;
        QTest::newRow("error") << true << true << 59;
        QTest::newRow("notice, no countdown") << false << false << 0;
        QTest::newRow("error, no countdown") << true << false << 0;
    }
    void autoCloseCountsSixtySeconds()
    {
        QFETCH(bool, error);
        QFETCH(bool, autoClose);
        QFETCH(int, counterShown);
        int counter = -1;
        pz::test::ModalBoxAnswer answer([&](QMessageBox &box) {
            counter = custom(box).counter();
            box.button(QMessageBox::Ok)->click();
        });
        if (error)
            DisplayErrorMessage(nullptr, -1500, autoClose, 0);
        else
            DisplayMessage(nullptr, "Notice", QMessageBox::Information, autoClose, 0, false);
        QVERIFY(answer.shown());
        QCOMPARE(counter, counterShown);
    }

    void displayMessage_data()
    {
        QTest::addColumn<bool>("autoClose");
        QTest::addColumn<bool>("dontShowAgain");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<bool>("byCountdown");
        QTest::addColumn<bool>("result");
        QTest::newRow("ticked, closed by countdown") << true << true << true << true << true;
        QTest::newRow("ticked, OK") << false << true << true << false << true;
        QTest::newRow("not ticked") << true << true << false << false << false;
        QTest::newRow("no check box") << false << false << false << false << false;
    }
    void displayMessage()
    {
        QFETCH(bool, autoClose);
        QFETCH(bool, dontShowAgain);
        QFETCH(bool, tick);
        QFETCH(bool, byCountdown);
        QFETCH(bool, result);
        bool hadCheckBox = false;
        QString firstLine;
        QString checkText;
        pz::test::ModalBoxAnswer answer([&](QMessageBox &box) {
            hadCheckBox = box.checkBox() != nullptr;
            firstLine = box.informativeText();
            if (tick) {
                checkText = box.checkBox()->text();
                box.checkBox()->setChecked(true);
            }
            if (byCountdown) {
                custom(box).setCounter(0);
                custom(box).on_timeout();
            } else {
                QCOMPARE(static_cast<QAbstractButton *>(box.defaultButton()), box.button(QMessageBox::Ok));
                box.button(QMessageBox::Ok)->click();
            }
        });
        QCOMPARE(DisplayMessage(nullptr, "Notice", QMessageBox::Information, autoClose, 0,
                                dontShowAgain),
                 result);
        QCOMPARE(answer.text(), QString("Notice"));
        QCOMPARE(int(answer.icon()), int(QMessageBox::Information));
        QCOMPARE(answer.windowTitle(), GetStringResource(1));
        QCOMPARE(hadCheckBox, dontShowAgain);
        QCOMPARE(firstLine, autoClose ? QString(" ") : QString());
        if (tick)
            QCOMPARE(checkText, QString("Don't show this again"));
    }
};

QTEST_MAIN(TestMessageBoxes)
#include "tst_messageboxes.moc"
