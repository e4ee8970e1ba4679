#pragma once
// The graphics card's gamma ramp of one display, read and loaded as three
// curves or as three tables of 256 integers on a 0-65535 scale. The card
// always receives 256 single-precision entries per channel through the
// gamma-ramp seam; the backend fits them to the card's own ramp size.

#include "CSpline.h"
#include "MonitorData.h"

#include <QVector>

class CVideoCardGamma {
public:
    explicit CVideoCardGamma(_MonitorData display);

    // Fixes the full-scale value (65535) and the entry count (256).
    void FindLUTSize();
    void GetLUTSize(int &maximum, int &size);

    // 0; -1 the card refused the ramp; -3 a curve is not valid; -4 no LUT size.
    int SetVideoCardGamma(CSpline red, CSpline green, CSpline blue);
    // Empty red table: the identity ramp. Otherwise each table must hold 256
    // values (else -3, the card untouched); value v becomes v / 65535.
    int SetVideoCardGamma(QVector<unsigned int> red, QVector<unsigned int> green,
                          QVector<unsigned int> blue);
    int SetLinearVideoCardGamma();

    // 0; -1 the card gave no ramp (or fewer than 256 entries), the tables
    // are then empty; -4 no LUT size. Entries become the nearest integer
    // step, clamped to 0..65535.
    int GetVideoCardGamma(QVector<unsigned int> &red, QVector<unsigned int> &green,
                          QVector<unsigned int> &blue);
    // The ramp as 256-point Catmull-Rom curves on 0..1; on failure the
    // curves stay as they were.
    int GetVideoCardGamma(CSpline &red, CSpline &green, CSpline &blue);

private:
    int load(const QVector<float> &red, const QVector<float> &green, const QVector<float> &blue);

    _MonitorData m_Display;
    int m_LUTMaximum = 0;
    int m_LUTSize = 0;
};
