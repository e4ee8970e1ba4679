#pragma once
// The circular measurement patch on which the user puts the sensor: the
// calibration window shows the calibration's patches in it, the colorimeter
// tool the colour the user picks.
//
// A paint draws the circle inscribed in the patch square with a black ring
// of 2 pixels (ordinary Qt painting), then fills the same circle again
// through UnmanagedFill, so that the sensor sees the display's response to
// exactly the patch's RGB (and alpha); only the ring's outer half stays.
// With no display under the window the second fill is left out and the
// first one stays.
//
// setPatchColor only schedules the repaint: a caller that must know the
// colour is on the screen (the calibration window before it lets the
// calibration thread measure) processes the pending events itself.
//
// The simulated sensors find the patch by this class name; keep it.

#include <QColor>
#include <QRect>
#include <QWidget>

class colorimeterMeasurementTarget : public QWidget {
    Q_OBJECT

public:
    explicit colorimeterMeasurementTarget(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The patch square, and whether a point lies inside the cursor circle,
    // for a widget of `size`.
    static QRect patchSquare(const QSize &size);
    static bool insideCursorCircle(const QSize &size, const QPoint &point);

public slots:
    void setPatchColor(const QColor &colour);

protected:
    // Blank cursor over the circle, the arrow elsewhere.
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QColor patchColor;   // invalid until the first setPatchColor
};
