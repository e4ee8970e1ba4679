#pragma once
// Screen content read from the application's own windows: what a sensor
// lying on the simulated desktop would see. Neither the calibration engine
// nor any window knows about it.
//
// It lives on the GUI thread and watches every window through an
// application-wide event filter. Whenever a top-level widget is asked to
// repaint (QEvent::UpdateRequest, which Qt posts to the top-level when any
// child calls update()), is shown, hidden, moved, resized, restacked or
// activated, it samples again at once: it finds the sensor's point, picks the
// top-most visible top-level widget there (the one most recently shown or
// activated), renders a small aperture of it with QWidget::grab (the
// widgets' current state, whether or not the screen was repainted), averages
// it and keeps the result under a lock. No window at the point reads black,
// the desktop background. Sampling runs from the filter and from readings,
// never from a paint event.
//
// The sensor's point: the centre of the visible measurement patch (a widget
// of class kPatchClassName, found by name so this layer needs no header of
// the windows), where the user puts the sensor; otherwise the centre of the
// display the sensor was placed on.
//
// A reading on the GUI thread samples first; a reading on any other thread
// takes the kept sample. So the calibration window's patch handshake (set the
// colour, process events, then wake the worker) delivers the new colour to
// the worker's reading.

#include "Desktop.h"
#include "SimScreenContent.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <atomic>

class QWidget;

namespace pz {

class SimScreenSampler : public QObject, public ISimScreenContent {
    Q_OBJECT
public:
    static constexpr const char *kPatchClassName = "colorimeterMeasurementTarget";
    // Side of the square aperture averaged, in pixels.
    static constexpr int kApertureSize = 8;

    // On the GUI thread, once the QApplication exists. `desktop` gives the
    // displays' bounds (not owned; it outlives the sampler).
    explicit SimScreenSampler(IDesktop &desktop, QObject *parent = nullptr);
    ~SimScreenSampler() override;

    SimScreenSample sample(quint32 placedOn) override;

public slots:
    // Samples the windows now (GUI thread only).
    void resample();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool onGuiThread() const;
    void bringToFront(QWidget *window);
    int stackingRank(QWidget *window) const;
    QWidget *visiblePatch() const;
    QWidget *topmostWindowAt(const QPoint &global) const;
    static bool averageAperture(QWidget *window, const QPoint &global, SimScreenSample &sample);

    IDesktop &m_desktop;
    std::atomic<quint32> m_placedOn{0};
    // Top-level widgets, the most recently shown or activated first.
    QList<QPointer<QWidget>> m_stacking;
    bool m_sampling = false;

    mutable QMutex m_lock;
    SimScreenSample m_sample;
};

} // namespace pz
