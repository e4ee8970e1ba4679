#pragma once
// The desktop seam: the online displays with their ids, bounds and the EDID
// the system reports, and the I2C bus of each display's monitor. The
// interface list and the monitor object ask it instead of the window system;
// the simulated desktop answers with simulated monitors.

#include "I2CBus.h"

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QRectF>
#include <QVector>
#include <QtGlobal>
#include <memory>

namespace pz {

struct DesktopDisplay {
    quint32 id = 0;        // the system's display id, stable while it is online
    QRectF bounds;         // in global desktop coordinates
    QByteArray edid;       // as the system reports it; empty when it has none
    QString name;          // the connector ("DP-1"); empty where the system gives none
    // What some systems keep beside the EDID: the product name per locale
    // ("en_US" -> name, in the system's order) and the vendor and product
    // numbers. Empty and 0 where the system keeps nothing (XRandR).
    QVector<QPair<QString, QString>> productNames;
    quint32 vendorId = 0;
    quint32 productId = 0;
};

class IDesktop {
public:
    virtual ~IDesktop() = default;
    // The online displays in the system's order. False when the system cannot
    // list them (the list is then empty).
    virtual bool onlineDisplays(QVector<DesktopDisplay> &displays) = 0;
    // Opens I2C bus `bus` of a display's graphics card; nullptr when the
    // display or the bus does not exist. The bus may outlive nothing: close
    // it before the display goes away.
    virtual std::unique_ptr<II2CBus> openI2CBus(quint32 displayId, int bus) = 0;
};

// A desktop without displays: what the program sees until a real backend is
// installed.
class EmptyDesktop : public IDesktop {
public:
    bool onlineDisplays(QVector<DesktopDisplay> &displays) override;
    std::unique_ptr<II2CBus> openI2CBus(quint32 displayId, int bus) override;
};

IDesktop &desktop();
// Installs another desktop (not owned); nullptr restores the default.
void setDesktop(IDesktop *desktop);

class ScopedDesktop {
public:
    explicit ScopedDesktop(IDesktop *desktop);
    ~ScopedDesktop();
    ScopedDesktop(const ScopedDesktop &) = delete;
    ScopedDesktop &operator=(const ScopedDesktop &) = delete;

private:
    IDesktop *m_previous;
};

} // namespace pz
