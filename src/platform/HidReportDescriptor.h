#pragma once
// Largest input and output reports a HID report descriptor declares. hidraw
// gives the descriptor but not the sizes, and the bridge transport must skip
// a device whose reports would not fit its buffers.

#include <QByteArray>

namespace pz {

struct HidReportSizes {
    // Bytes of report data of the largest report of each kind; a report with
    // a non-zero report id counts one byte more for the id.
    int maxInput = 0;
    int maxOutput = 0;
    int maxFeature = 0;
    // False when the descriptor was cut short or malformed; the sizes then
    // hold what was read up to that point.
    bool valid = true;
};

HidReportSizes hidReportSizes(const QByteArray &descriptor);

} // namespace pz
