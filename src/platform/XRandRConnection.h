#pragma once
// One connection to an X server with the RandR extension (1.2 or later):
// the active outputs with their bounds and the EDID they publish, and the
// gamma ramps of their CRTCs. The desktop and gamma-ramp backends share it.
//
// A connection that found no X server or no usable RandR is "unavailable":
// it answers every request with a failure and tells why. Requests the server
// refuses (an output or CRTC that left meanwhile) fail cleanly instead of
// ending the program, as Xlib's default error handler would; so does every
// request after the server went away (the connection is then unavailable).
//
// The X headers stay inside the .cpp file: their macros (None, Bool,
// Status...) would clash with Qt's.

#include <QByteArray>
#include <QMutex>
#include <QRect>
#include <QString>
#include <QVector>
#include <QtGlobal>
#include <memory>

namespace pz {

struct XRandROutput {
    quint32 id = 0;       // the RandR output (an X resource id, stable while it exists)
    QString name;         // the server's name for it, "DP-1", "HDMI-1"...
    quint32 crtc = 0;     // the CRTC that scans it out
    QRect bounds;         // the CRTC's area of the root window (rotation applied)
    QByteArray edid;      // the output's EDID property; empty when it has none
    bool primary = false;
};

class XRandRConnection {
public:
    // Opens the named display; an empty name means $DISPLAY.
    explicit XRandRConnection(const QByteArray &displayName = QByteArray());
    ~XRandRConnection();
    XRandRConnection(const XRandRConnection &) = delete;
    XRandRConnection &operator=(const XRandRConnection &) = delete;

    bool isAvailable() const;
    // Why the connection is unavailable; empty when it is available.
    QString unavailableReason() const;

    // The outputs that show part of the desktop now (connected, with a
    // CRTC that has a mode), the primary output first, then in the server's
    // order. False when unavailable or the server refused the request.
    bool activeOutputs(QVector<XRandROutput> &outputs);

    // Number of entries of a CRTC's gamma ramp; 0 when unknown.
    int gammaSize(quint32 crtc);
    // A CRTC's ramp, gammaSize() entries per channel on a 0-65535 scale.
    bool getGamma(quint32 crtc, QVector<quint16> &red, QVector<quint16> &green,
                  QVector<quint16> &blue);
    // Loads a ramp; each channel must hold exactly gammaSize() entries.
    bool setGamma(quint32 crtc, const QVector<quint16> &red, const QVector<quint16> &green,
                  const QVector<quint16> &blue);

    // Publishes (or with empty bytes removes) an output's EDID property, as
    // a driver does. Lets tests give a virtual server's output a monitor.
    bool setOutputEdid(quint32 output, const QByteArray &edid);

    // The index of the monitor whose area is bounds in the server's RandR
    // 1.5 monitor list (the order Xinerama screens follow); -1 when none
    // matches or the server has no RandR 1.5.
    int monitorIndexAt(const QRect &bounds);
    // Properties of type CARDINAL with 8-bit items (how ICC profiles are
    // published) on the root window or on an output: set to bytes, or
    // removed for empty bytes; read whole, empty when missing.
    bool setRootProperty(const QByteArray &name, const QByteArray &bytes);
    QByteArray rootProperty(const QByteArray &name);
    bool setOutputProperty(quint32 output, const QByteArray &name, const QByteArray &bytes);
    QByteArray outputProperty(quint32 output, const QByteArray &name);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    mutable QMutex m_mutex;
};

} // namespace pz
