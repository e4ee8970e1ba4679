#pragma once
// What differs between the two windows that carry the report panel, and what
// the report knows of the monitor in use.
//
// The information window reports the selected display's current
// calibration and asks the live monitor object on every update; the
// stored-calibration browser reports a file and compares it with the
// monitor it found when it opened.

#include <QString>
#include <QtGlobal>

class CAdjustValue;
class CDDCMonitor;

enum class ReportFlavor {
    // DICOM "at JND Index" line hidden until it has a text; a blank line
    // after the luminance group of the text report; the gamut graph titled.
    InformationWindow,
    // That line emptied but never hidden; no blank line; no gamut title.
    Browser,
};

// The monitor in use as the browser saw it when it opened.
struct MonitorSnapshot {
    quint32 vendorProductId = 0;
    QString serial;
    QString firmware;
    double hours = -1.0; // -1 when they could not be read
};

// What the summary may learn of the monitor in use: the information window
// passes the live object (null without one), the browser its snapshot.
struct MonitorFacts {
    CDDCMonitor *live = nullptr;
    MonitorSnapshot snapshot;
};

// Whether a stored result was made on the monitor with this vendor-product
// id and serial: the id equal, the serial equal ignoring letter case.
bool belongsToMonitor(const CAdjustValue &result, quint32 vendorProductId, const QString &serial);
