#pragma once
// Records with a value of its own in every field, their byte layouts written
// field by field at the offsets of each record's table, and comparisons of
// every member. A writer or reader that puts one field in another's place
// fails against them, which equal or zero fields would hide.
//
//   Distinct d;
//   const CColorValue v = distinctMeasurements(d);
//   RecordLayout l;
//   layMeasurements(l, 0, v);
//   QCOMPARE(bytesWrittenFor(v), l.bytes());

#include "RecordLayout.h"

#include <QByteArray>

class CAdjustValue;
class CColorTemperature;
class CColorValue;
class CCIEXYZ;
class CCIEYxy;
class CSpline;
class CTargetValue;

namespace pz::test {

// A curve of the given kind with its own range, tension, bias and points.
CSpline distinctCurve(Distinct &d, int kind, int points, bool valid);
// Every patch, grey step, curve, EDID primary and matrix element its own;
// two final and three uncorrected grey steps.
CColorValue distinctMeasurements(Distinct &d);
// A custom-curve target (curve type 4) with a free-form, native-flagged
// white point, or a gamma target (curve type 2) with a 5000 K white point.
// The custom curve and its subtype are set in both.
CTargetValue distinctTarget(Distinct &d, bool customCurve);
// Every control, text, mode, byte and colour-engine value its own, and
// distinct measurements; the date and time are left to the caller.
CAdjustValue distinctResult(Distinct &d);

// The layouts, from offset at; each returns the offset after the record.
qint64 layColour(RecordLayout &l, qint64 at, const CCIEXYZ &c);
qint64 layColour(RecordLayout &l, qint64 at, const CCIEYxy &c);
qint64 layWhitePoint(RecordLayout &l, qint64 at, const CColorTemperature &w);
qint64 layCurve(RecordLayout &l, qint64 at, const CSpline &c);
qint64 layTarget(RecordLayout &l, qint64 at, const CTargetValue &t);
qint64 layMeasurements(RecordLayout &l, qint64 at, const CColorValue &v);
// The date and time travel in the stream's own form, given as bytes.
qint64 layResult(RecordLayout &l, qint64 at, const CAdjustValue &r,
                 const QByteArray &dateTimeBytes);

// QCOMPARE of every member.
void compareCurves(const CSpline &actual, const CSpline &expected);
void compareWhitePoints(const CColorTemperature &actual, const CColorTemperature &expected);
void compareMeasurements(const CColorValue &actual, const CColorValue &expected);
void compareTargets(const CTargetValue &actual, const CTargetValue &expected);
void compareResults(const CAdjustValue &actual, const CAdjustValue &expected);

} // namespace pz::test
