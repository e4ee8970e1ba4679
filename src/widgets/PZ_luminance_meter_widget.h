#pragma once
// A vertical bar meter for a luminance: a gradient bar rising from the
// minimum of its scale to the measured value, and two small arrows either
// side of the bar that mark the target level when it is shown. The
// calibration window has one for the black level and one for the white.
//
// Positions are not clamped: a value outside the scale draws outside it.
// A target above the maximum raises the maximum, so the arrows stay on the
// scale.

#include <QColor>
#include <QPixmap>
#include <QWidget>

class PZ_luminance_meter_widget : public QWidget {
    Q_OBJECT

public:
    explicit PZ_luminance_meter_widget(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Vertical pixel position of a value, from the top; 0 for an empty
    // scale (minimum equal to maximum).
    int value_to_vertical_pos(double value) const;
    void draw(QPainter *painter);

    double minimum() const { return m_min; }
    double maximum() const { return m_max; }
    double value() const { return m_value; }
    bool targetShown() const { return m_showTarget; }

public slots:
    void show_target_level(bool on);
    void set_target_level(double level);
    void set_value_min_max(double minimum, double maximum);
    void set_value(double value);
    void set_bar_graident_color(QColor colour1, QColor colour2);
    void set_bar_background_fill_color(QColor colour);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_leftArrow;
    QPixmap m_rightArrow;
    double m_min = 0.0;
    double m_max = 100.0;
    double m_value = 0.0;
    bool m_showTarget = false;
    double m_target = 0.0;
    QColor m_barColour1{128, 128, 128};
    QColor m_barColour2{64, 64, 64};
    QColor m_background{100, 100, 100};
    int m_arrowHalf = 0;   // half the arrow's height, rounded
};
