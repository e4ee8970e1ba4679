#pragma once
// The 128 x 128 picture of the calibration task in progress, fed by the
// calibration thread's StartingTask / StartingSubTask (ids of
// CalibrateThread::typeTask and typeSubTask) and by the window's countdown.
// While the display stabilises (task 8) the remaining seconds are painted
// over the picture in pink with a black shadow.
//
// Nothing is drawn until a task with a picture of its own arrives; a task
// or sub-task without one keeps the current picture. Pictures are loaded
// from the resources at every change.

#include <QPixmap>
#include <QWidget>

class PZ_calibration_step_display_widget : public QWidget {
    Q_OBJECT

public:
    explicit PZ_calibration_step_display_widget(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The resource path of the picture for a task and sub-task; empty when
    // the current picture is to stay.
    static QString pictureFor(int task, int subTask);

    // What is shown, for tests and the window.
    const QPixmap &picture() const { return m_picture; }
    int waitSeconds() const { return m_waitSeconds; }

public slots:
    void set_calibration_task(int task);
    void set_calibration_sub_task(int subTask);
    void set_wait_time(int seconds);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void choosePicture();

    QPixmap m_picture;
    int m_task = 1;
    int m_subTask = 0;
    int m_waitSeconds = 0;
};
