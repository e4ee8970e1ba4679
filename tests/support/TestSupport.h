#pragma once
// Small helpers shared by the tests (ModalBox.h answers message boxes).

#include <QByteArray>
#include <QDataStream>
#include <QString>
#include <functional>

class QTabWidget;

namespace pz::test {

// The folder this test program saves its pictures in, made on first use:
// pictures/<test program> in the build folder, read by no other test.
QString picturesFolder();
// Path of a picture of that name there.
QString picturePath(const QString &name);

// Path of a fixture in tests/data.
QString dataPath(const QString &name);
QByteArray readData(const QString &name);

// "00 00 fa df" -> bytes; spaces, newlines and '|' are ignored.
QByteArray hex(const char *text);

// Writes with a pinned record stream into a byte array.
QByteArray recordBytes(const std::function<void(QDataStream &)> &write);
// Opens a pinned read stream over bytes and hands it to read; returns the
// final stream status.
QDataStream::Status readRecordBytes(const QByteArray &bytes,
                                    const std::function<void(QDataStream &)> &read);

// The tabs of a shown tab widget whose title is cut off or lies outside its
// tab row (scrolled away), joined for a failure message; empty when all fit.
QString tabsCutOff(const QTabWidget &tabs);

} // namespace pz::test
