// The test pattern window: its form, the pattern names and stepping, the
// overlay controls and their timer, and its placement over the simulated
// desktop's displays. A few patterns with their controls are written as PNGs
// into the pictures folder for a look.

#include "DisplayPlacement.h"
#include "TestSupport.h"
#include "PZ_test_pattern_widget.h"
#include "Resources.h"
#include "SimulatedScreens.h"
#include "TestPatternPainter.h"
#include "pz_test_pattern_dialog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

using pz::test::kDisplay1;
using pz::test::kDisplay2;
using pz::test::recordBounds;

namespace {

const char *const kControls[] = {"test_pattern_previous_toolButton", "test_pattern_next_toolButton",
                                 "test_pattern_close_toolButton", "test_pattern_label",
                                 "resolution_label"};

QString whiteBold(const QString &text)
{
    return QString("<html><b><font COLOR=white>%1</font></b></html>").arg(text);
}

QString blackBold(const QString &text)
{
    return QString("<html><b><font COLOR=black>%1</font></b></html>").arg(text);
}

// The window as its users reach it, by object name.
struct Window {
    pz_test_pattern_dialog dialog;
    PZ_test_pattern_widget *pattern = dialog.findChild<PZ_test_pattern_widget *>("draw_widget");
    QLabel *name = dialog.findChild<QLabel *>("test_pattern_label");
    QLabel *resolution = dialog.findChild<QLabel *>("resolution_label");
    QTimer *hideTimer = pattern ? pattern->findChild<QTimer *>() : nullptr;

    QToolButton *button(const char *objectName)
    {
        return dialog.findChild<QToolButton *>(objectName);
    }
    // The controls shown, or hidden, all five alike.
    bool controlsShown(bool shown)
    {
        for (const char *control : kControls) {
            QWidget *w = dialog.findChild<QWidget *>(control);
            if (!w || w->isHidden() == shown)
                return false;
        }
        return true;
    }
    void showOn(const QRect &display)
    {
        pz::placeOnDisplay(dialog, recordBounds(display));
        dialog.enable_controls(true);
        dialog.show();
        dialog.activateWindow();
    }
};

// Translates the pattern names and templates of the widget's context only.
class PatternTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (qstrcmp(context, "PZ_test_pattern_widget") != 0)
            return QString();
        if (qstrcmp(source, "Black") == 0)
            return QStringLiteral("Schwarz");
        if (qstrcmp(source, "Pattern #%1: %2") == 0)
            return QStringLiteral("Muster %1 (%2)");
        if (qstrcmp(source, "<html><b><font COLOR=white>%1</font></b></html>") == 0)
            return QStringLiteral("<b>%1</b>");
        return QString();
    }
};

void sendMouse(QWidget *widget, QEvent::Type type, Qt::MouseButton button)
{
    const QPointF local(40, 40);
    QMouseEvent event(type, local, widget->mapToGlobal(local), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

class TestTestPatternWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        pz::initResources();
        PZ_REQUIRE_SIMULATED_SCREENS();
    }

    void theForm()
    {
        Window w;
        QVERIFY(w.pattern && w.name && w.resolution && w.hideTimer);
        QCOMPARE(w.dialog.objectName(), QString("PZ_test_pattern_dialogClass"));
        QCOMPARE(w.dialog.windowType(), Qt::SplashScreen);
        QCOMPARE(w.dialog.contextMenuPolicy(), Qt::NoContextMenu);
        QVERIFY(!w.dialog.isVisible());

        auto *outer = qobject_cast<QGridLayout *>(w.dialog.layout());
        QVERIFY(outer);
        QCOMPARE(outer->objectName(), QString("gridLayout"));
        QCOMPARE(outer->spacing(), 0);
        QCOMPARE(outer->contentsMargins(), QMargins(0, 0, 0, 0));
        auto *inner = qobject_cast<QGridLayout *>(w.pattern->layout());
        QVERIFY(inner);
        QCOMPARE(inner->objectName(), QString("gridLayout1"));
        QCOMPARE(inner->spacing(), 6);
        QCOMPARE(inner->contentsMargins(), QMargins(11, 11, 11, 11));
        auto *buttons = w.dialog.findChild<QHBoxLayout *>("none");
        QVERIFY(buttons);
        QCOMPARE(buttons->spacing(), 2);
        QVERIFY(w.dialog.findChild<QHBoxLayout *>("horizontalLayout_2"));
        QVERIFY(w.dialog.findChild<QHBoxLayout *>("horizontalLayout"));

        const struct {
            const char *name;
            const char *toolTip;
            const char *shortcut;
        } buttonTable[] = {{"test_pattern_previous_toolButton", "Previous Test Pattern", "["},
                           {"test_pattern_next_toolButton", "Next Test Pattern", "]"},
                           {"test_pattern_close_toolButton", "Close Test Pattern", ""}};
        for (int i = 0; i < 3; ++i) {
            QToolButton *b = w.button(buttonTable[i].name);
            QVERIFY(b);
            QCOMPARE(b->parentWidget(), w.pattern);
            QCOMPARE(buttons->indexOf(b), i);
            QCOMPARE(b->toolTip(), QString(buttonTable[i].toolTip));
            QCOMPARE(b->shortcut(), QKeySequence(QString(buttonTable[i].shortcut)));
            QVERIFY(!b->icon().isNull());
        }
        QCOMPARE(w.name->parentWidget(), w.pattern);
        QCOMPARE(w.resolution->alignment(), Qt::AlignCenter);
        // Pattern 0 and its name after construction.
        QCOMPARE(w.name->text(), blackBold("Pattern #1: TG18-QC Pattern"));
        QVERIFY(w.controlsShown(true));
        QVERIFY(!w.hideTimer->isActive());
    }

    void names_data()
    {
        QTest::addColumn<int>("pattern");
        QTest::addColumn<QString>("name");
        QTest::newRow("0") << 0 << blackBold("Pattern #1: TG18-QC Pattern");
        QTest::newRow("2") << 2 << whiteBold("Pattern #3: 25% Gray");
        QTest::newRow("8") << 8 << whiteBold("Pattern #9: Blue");
        QTest::newRow("9") << 9 << blackBold("Pattern #10: Yellow");
        QTest::newRow("11") << 11 << blackBold("Pattern #12: Magenta");
        QTest::newRow("12") << 12 << whiteBold("Pattern #13: Color and Grayscale wedges");
        QTest::newRow("14") << 14 << blackBold("Pattern #15: Double 100% Grayscale wedges");
        QTest::newRow("15") << 15 << whiteBold("Pattern #16: Double 25% Grayscale wedges");
        QTest::newRow("17") << 17 << blackBold("Pattern #18: White Quality Control");
        QTest::newRow("18") << 18 << "<html><font COLOR=yellow>Pattern #19: </font></html>";
        QTest::newRow("-1") << -1 << "<html><font COLOR=yellow>Pattern #0: </font></html>";
    }

    void names()
    {
        QFETCH(int, pattern);
        QFETCH(QString, name);
        Window w;
        w.dialog.SetTestPattern(pattern);
        QCOMPARE(w.name->text(), name);
        QCOMPARE(w.pattern->getPatternName(), name);
    }

    void namesAreTranslatedInTheWidgetsContext()
    {
        PatternTranslator translator;
        QCoreApplication::installTranslator(&translator);
        Window w;
        w.dialog.SetTestPattern(1);
        const QString name = w.name->text();
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(name, QString("<b>Muster 2 (Schwarz)</b>"));
    }

    // "]" and "[" step through the patterns with wrap-around; the buttons
    // do the same.
    void steppingWraps()
    {
        Window w;
        w.showOn(kDisplay1);
        QVERIFY(QTest::qWaitForWindowActive(&w.dialog));
        w.dialog.SetTestPattern(17);
        // A button's shortcut clicks it as the user would see it: pressed,
        // then released 100 ms later.
        QTest::keyClick(&w.dialog, Qt::Key_BracketRight);
        QTRY_COMPARE(w.name->text(), blackBold("Pattern #1: TG18-QC Pattern"));
        QVERIFY(!w.name->isHidden());
        QTest::keyClick(&w.dialog, Qt::Key_BracketLeft);
        QTRY_COMPARE(w.name->text(), blackBold("Pattern #18: White Quality Control"));
        w.button("test_pattern_next_toolButton")->click();
        QCOMPARE(w.name->text(), blackBold("Pattern #1: TG18-QC Pattern"));
        w.button("test_pattern_previous_toolButton")->click();
        w.button("test_pattern_previous_toolButton")->click();
        QCOMPARE(w.name->text(), whiteBold("Pattern #17: Black Quality Control"));
        QVERIFY(w.hideTimer->isActive());

        // Stepping with the controls disabled keeps the name hidden.
        w.dialog.enable_controls(false);
        w.button("test_pattern_next_toolButton")->click();
        QCOMPARE(w.name->text(), blackBold("Pattern #18: White Quality Control"));
        QVERIFY(w.name->isHidden());

        w.button("test_pattern_close_toolButton")->click();
        QVERIFY(!w.dialog.isVisible());
        // Keys the pattern passes on reach the dialog: Escape hides it.
        w.dialog.show();
        QTest::keyClick(w.pattern, Qt::Key_Escape);
        QVERIFY(!w.dialog.isVisible());
    }

    // The arrow keys step through the patterns wherever the focus is, as
    // the buttons do, and leave the focus where it was; with the controls
    // disabled they do nothing.
    void arrowKeysStep()
    {
        Window w;
        w.showOn(kDisplay1);
        QVERIFY(QTest::qWaitForWindowActive(&w.dialog));
        QToolButton *next = w.button("test_pattern_next_toolButton");
        next->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), next);
        w.dialog.SetTestPattern(0);
        const struct {
            Qt::Key key;
            const char *expected;
        } steps[] = {{Qt::Key_Right, "Pattern #2: Black"},     {Qt::Key_Down, "Pattern #3: 25% Gray"},
                     {Qt::Key_Left, "Pattern #2: Black"},      {Qt::Key_Up, "Pattern #1: TG18-QC Pattern"},
                     {Qt::Key_Left, "Pattern #18: White Quality Control"}};
        for (const auto &step : steps) {
            QTest::keyClick(QApplication::focusWidget(), step.key);
            QVERIFY2(w.name->text().contains(QLatin1String(step.expected)), qPrintable(w.name->text()));
            QCOMPARE(QApplication::focusWidget(), next);
        }
        w.dialog.enable_controls(false);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QVERIFY(w.name->text().contains(QLatin1String("Pattern #18: White Quality Control")));
    }

    // Each pattern's captions are white or black, whichever contrasts more
    // with what the pattern shows (WCAG ratio 4.5 at least), on a translucent
    // panel of the other; a solid pattern shows that very colour.
    void captionsStandOut()
    {
        Window w;
        w.showOn(kDisplay1);
        QVERIFY(QTest::qWaitForWindowExposed(&w.dialog));
        for (int n = 0; n < PZ_test_pattern_widget::kPatternCount; ++n) {
            w.dialog.SetTestPattern(n);
            const QColor background = pz::TestPatternPainter::background(n);
            const bool white = w.name->text().contains(QLatin1String("COLOR=white"));
            QVERIFY2(white || w.name->text().contains(QLatin1String("COLOR=black")), qPrintable(w.name->text()));
            QCOMPARE(w.resolution->text().contains(QLatin1String("COLOR=white")), white);
            const double text = white ? 1.0 : 0.0;
            const double ground = pz::relativeLuminance(background);
            const double ratio = (std::max(text, ground) + 0.05) / (std::min(text, ground) + 0.05);
            QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("pattern %1: %2").arg(n).arg(ratio)));
            // What is painted behind the text, beside its first letter.
            const QImage shown = w.dialog.grab().toImage();
            for (QLabel *caption : {w.name, w.resolution}) {
                const QColor backdrop = caption->palette().color(caption->backgroundRole());
                QCOMPARE(backdrop.rgb(), white ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
                QVERIFY(backdrop.alpha() > 0 && backdrop.alpha() < 255);
                const QPoint corner = caption->mapTo(&w.dialog, QPoint(0, 0));
                const QColor painted(shown.pixel(corner));
                QVERIFY2(pz::captionIsLight(painted) == white,
                         qPrintable(QStringLiteral("pattern %1: %2 behind %3 text").arg(n)
                                        .arg(painted.name(), white ? "white" : "black")));
            }
            if (n >= 1 && n <= 11)
                QCOMPARE(QColor(shown.pixel(shown.width() / 2, shown.height() / 2)).rgb(), background.rgb());
        }
    }

    void disabledControlsStayHidden()
    {
        Window w;
        w.dialog.enable_controls(false);
        QVERIFY(w.controlsShown(false));
        sendMouse(w.pattern, QEvent::MouseMove, Qt::NoButton);
        QTest::keyClick(w.pattern, Qt::Key_A);
        QVERIFY(w.hideTimer->isActive());
        QVERIFY(w.controlsShown(false));
        w.dialog.enable_controls(true);
        QVERIFY(w.controlsShown(true));
    }

    // Once hidden by the timer, the first input of each kind shows the
    // controls at once; a middle-button release does nothing.
    void firstInputShowsTheControls_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("shows");
        QTest::newRow("mouse move") << int(QEvent::MouseMove) << int(Qt::NoButton) << true;
        QTest::newRow("mouse press") << int(QEvent::MouseButtonPress) << int(Qt::MiddleButton) << true;
        QTest::newRow("left release") << int(QEvent::MouseButtonRelease) << int(Qt::LeftButton) << true;
        QTest::newRow("right release") << int(QEvent::MouseButtonRelease) << int(Qt::RightButton) << true;
        QTest::newRow("middle release") << int(QEvent::MouseButtonRelease) << int(Qt::MiddleButton) << false;
        QTest::newRow("key") << int(QEvent::KeyPress) << int(Qt::NoButton) << true;
    }

    void firstInputShowsTheControls()
    {
        QFETCH(int, type);
        QFETCH(int, button);
        QFETCH(bool, shows);
        Window w;
        QSignalSpy requests(w.pattern, &PZ_test_pattern_widget::show_controls);
        w.pattern->update_timer();
        QVERIFY(w.controlsShown(false));
        if (type == QEvent::KeyPress)
            QTest::keyClick(w.pattern, Qt::Key_A);
        else
            sendMouse(w.pattern, QEvent::Type(type), Qt::MouseButton(button));
        QVERIFY(w.controlsShown(shows));
        QCOMPARE(w.hideTimer->isActive(), shows);
        QCOMPARE(requests.count(), shows ? 2 : 1);
        if (shows) {
            // Further input while the timer runs restarts it without asking
            // again.
            sendMouse(w.pattern, QEvent::MouseMove, Qt::NoButton);
            QCOMPARE(requests.count(), 2);
        }
    }

    // The controls hide 4 s after the last input, not the first (one real
    // wait of about five seconds).
    void controlsHideFourSecondsAfterTheLastInput()
    {
        Window w;
        QCOMPARE(w.hideTimer->interval(), 0);
        sendMouse(w.pattern, QEvent::MouseMove, Qt::NoButton);
        QCOMPARE(w.hideTimer->interval(), 4000);
        QTest::qWait(1000);
        QVERIFY(w.controlsShown(true));
        sendMouse(w.pattern, QEvent::MouseMove, Qt::NoButton);
        QElapsedTimer sinceLastInput;
        sinceLastInput.start();
        QTRY_VERIFY_WITH_TIMEOUT(w.controlsShown(false), 8000);
        const qint64 ms = sinceLastInput.elapsed();
        // A coarse timer may end up to 5 % early.
        QVERIFY2(ms >= 3800 && ms < 6000, qPrintable(QString("hidden after %1 ms").arg(ms)));
    }

    // Placed over a display record's bounds, the window covers exactly that
    // display and its label reads the display's resolution.
    void placement_data()
    {
        QTest::addColumn<QRect>("display");
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("resolution");
        QTest::newRow("display 1") << kDisplay1 << 0 << blackBold("1920x1200");
        QTest::newRow("display 2") << kDisplay2 << 1 << blackBold("1920x1080");
    }

    void placement()
    {
        QFETCH(QRect, display);
        QFETCH(int, screen);
        QFETCH(QString, resolution);
        Window w;
        // Shown on the other display first, so the window has to move.
        w.showOn(screen == 0 ? kDisplay2 : kDisplay1);
        QVERIFY(QTest::qWaitForWindowExposed(&w.dialog));
        QCOMPARE(pz::placeOnDisplay(w.dialog, recordBounds(display)), QGuiApplication::screens().at(screen));
        w.dialog.enable_controls(true);
        w.dialog.show();
        QTRY_COMPARE(w.dialog.geometry(), display);
        QCOMPARE(w.dialog.frameGeometry(), display);
        QVERIFY(w.dialog.isFullScreen());
        QCOMPARE(w.dialog.screen(), QGuiApplication::screens().at(screen));
        QCOMPARE(w.resolution->text(), resolution);
        QCOMPARE(w.dialog.grab().size(), display.size());
    }

    void boundsWithoutWidthLeaveTheWindow()
    {
        Window w;
        w.dialog.setGeometry(100, 120, 400, 466);
        QCOMPARE(pz::placeOnDisplay(w.dialog, QRect()), nullptr);
        QCOMPARE(pz::placeOnDisplay(w.dialog, QRect(QPoint(1920, 0), QPoint(1919, 1079))), nullptr);
        QCOMPARE(w.dialog.geometry(), QRect(100, 120, 400, 466));
        QVERIFY(!w.dialog.isFullScreen());
        // Bounds off every display fall back to the primary one.
        QCOMPARE(pz::placeOnDisplay(w.dialog, QRect(9000, 9000, 100, 100)),
                 QGuiApplication::primaryScreen());
        QCOMPARE(w.dialog.geometry(), kDisplay1);
    }

    void picturesForALook()
    {
        const QDir folder(pz::test::picturesFolder());
        Window w;
        w.showOn(kDisplay1);
        QVERIFY(QTest::qWaitForWindowExposed(&w.dialog));
        for (int n : {0, 1, 5, 9, 13}) {
            w.dialog.SetTestPattern(n);
            QVERIFY(w.dialog.grab().save(folder.filePath(QString("test_pattern_window_%1.png").arg(n))));
        }
    }
};

QTEST_MAIN(TestTestPatternWindow)
#include "tst_test_pattern_window.moc"
