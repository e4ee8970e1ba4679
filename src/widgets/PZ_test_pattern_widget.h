#pragma once
// The content of the full-screen test pattern window: one of 18 patterns
// that fill the whole widget (a synthetic TG18-QC layout, solid black, greys
// and primaries, colour and grey ramps, two quality-control tiles), and the
// timing of the window's overlay controls.
//
// Solid areas go through UnmanagedFill, so their values reach the display
// as given; lines, outlines and images are ordinary Qt painting. Every ramp
// is painted as one stripe per level, so each level is exact.
//
// Input on the widget (a key, a mouse move or press, a left or right button
// release, a pattern step) asks the window to show its controls when they
// were hidden, and to hide them kControlsHideMs after the last input; keys
// and mouse moves and presses go on to the window. The widget never shows or
// hides the controls itself: it emits show_controls.
//
// The class name is the translation context of the names and templates.

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QTimer;

class PZ_test_pattern_widget : public QWidget {
    Q_OBJECT

public:
    static constexpr int kPatternCount = 18;
    static constexpr int kControlsHideMs = 4000;

    explicit PZ_test_pattern_widget(QWidget *parent = nullptr);

    // The overlay template of the current pattern (rich text with one
    // "%1"); an index outside 0 to 17 has the plain yellow one.
    QString getTextFormatting() const;
    // What the captions are drawn on: a translucent panel dark behind light
    // text and light behind dark text, so they read on every part of a ramp.
    QColor captionBackdrop() const;

signals:
    // true: show the overlay controls; false: hide them.
    void show_controls(bool show);

public slots:
    // No range check; an index outside 0 to 17 paints nothing.
    void SetTestPattern(int n);
    // Hides the controls (the timer's end).
    void update_timer();
    // Step forward or back, wrapping at the ends, and restart the timer.
    void next_test_pattern();
    void previous_test_pattern();
    // Shows the controls when the timer was idle, then (re)starts it.
    void reset_timer();
    // "Pattern #n: name" in the current pattern's template.
    QString getPatternName();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Light text (white, or yellow for no pattern) on the current pattern.
    bool lightCaption() const;

    QPixmap captionPixmap;
    QPixmap qualityControlPixmap;
    QPixmap resolutionPixmap;
    int currentPattern = 0;
    QTimer *hideTimer;
};
