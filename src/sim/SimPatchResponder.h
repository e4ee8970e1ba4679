#pragma once
// A headless stand-in for the calibration window's measurement patch: it
// shows each colour the calibration thread asks for on a SimFixedScreen and
// then acknowledges it, as the window does once the patch has painted.
//
//   connect(&thread, &CalibrateThread::SetMeasurementAreaPatchColor,
//           &responder, &SimPatchResponder::showPatch, Qt::QueuedConnection);
//   connect(&responder, &SimPatchResponder::patchShown,
//           &thread, &CalibrateThread::patchChanged);
//
// It must live in the thread that owns the thread object and be reached
// through a queued connection: the worker emits while it holds its mutex, so
// acknowledging from the emitting thread would deadlock. Until it receives a
// colour the display shows white, as the window does before Continue.

#include "SimFixedScreen.h"

#include <QColor>
#include <QObject>
#include <QVector>

namespace pz {

class SimPatchResponder : public QObject {
    Q_OBJECT
public:
    // The screen is not owned and outlives the responder.
    SimPatchResponder(SimFixedScreen &screen, quint32 displayId, QObject *parent = nullptr);

    // Every colour shown so far, in order.
    QVector<QColor> shown() const { return m_shown; }
    // When false, colours are shown but not acknowledged (a window that
    // has not painted yet); acknowledge() then does it by hand.
    void setAutoAcknowledge(bool on) { m_autoAcknowledge = on; }
    void acknowledge() { emit patchShown(); }

public slots:
    void showPatch(const QColor &colour);

signals:
    // The colour asked for is on the screen.
    void patchShown();

private:
    SimFixedScreen &m_screen;
    quint32 m_displayId;
    QVector<QColor> m_shown;
    bool m_autoAcknowledge = true;
};

} // namespace pz
