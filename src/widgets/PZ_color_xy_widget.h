#pragma once
// A square crosshair that shows how far the measured white point lies from
// the target: the red cross is the target, the black lines the measured x
// (vertical line, right for a larger x) and y (horizontal line, down for a
// larger y), one pixel per 0.001. The black lines appear once a target x
// above 0 is set and stop at the square's edges.

#include <QPixmap>
#include <QRect>
#include <QWidget>

class PZ_color_xy_widget : public QWidget {
    Q_OBJECT

public:
    explicit PZ_color_xy_widget(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The square of the picture for a widget of `size`; its centre lies at
    // (left + c, top + c), c = (side - 1) / 2.
    static QRect square(const QSize &size);

public slots:
    void SetMeasured_xy(double x, double y);
    void SetTarget_xy(double x, double y);
    void SetFinalMeasurement(bool final);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_background;
    double m_targetX = 0.0;
    double m_targetY = 0.0;
    double m_measuredX = 0.0;
    double m_measuredY = 0.0;
    bool m_final = false;
};
