#pragma once
// A hue and saturation picker: a colour circle with a small ball on it. The
// ball's angle around the centre is the hue, its distance from the centre
// the saturation, both from 0 to 1 (geometry in ColorCircleGeometry.h).
//
// Mouse presses and drags, and the arrow keys, report a new choice through
// HueSatChanged. Only SetHueSaturation moves the ball (the owner calls it
// in answer; the key handler calls it itself), and it emits nothing, so
// the owner can set the ball from its own colour without a loop.

#include <QPixmap>
#include <QColor>
#include <QWidget>

class QAbstractSlider;

class PZ_color_picker_circle_widget : public QWidget {
    Q_OBJECT

public:
    explicit PZ_color_picker_circle_widget(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    void GetHueSaturation(double *hue, double *saturation) const;
    void SetHueSaturation(double hue, double saturation);
    // The ball at colour's hue and saturation (a grey at the centre), and
    // the colour's value (0-255) on the brightness control beside the circle.
    void ShowColor(const QColor &colour, QAbstractSlider *brightness);
    // atan2(y, x), 0 at the origin.
    static double AngleFromPoint(double x, double y);

signals:
    void HueSatChanged(double hue, double saturation);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Diameter of the active circle and its centre, for the current size.
    int activeDiameter() const;
    int activeCentre() const;
    bool insideCircle(const QPoint &point) const;
    // Emits the hue and saturation under a mouse position.
    void emitPoint(const QPoint &point);

    QPixmap circlePicture;
    QPixmap disabledCirclePicture;
    QPixmap ballPicture;
    double m_hue = 0.0;
    double m_saturation = 0.0;
    bool dragging = false;
};
