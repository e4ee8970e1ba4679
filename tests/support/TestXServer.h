#pragma once
// The X server a test program's XRandR tests run against: a virtual server
// (Xvfb, with RandR) of the program's own, started on first use on a
// display number the server picks itself, and ended with the program. So
// the gamma ramps and properties one test program sets are never seen by
// another running at the same time, and no display number is fixed. Where
// Xvfb is not installed, the server the test runner names in
// PZ_TEST_X_DISPLAY is used; without either the name is empty and the
// tests that need a server skip.

#include <QByteArray>

namespace pz::test {

QByteArray testXDisplay();

} // namespace pz::test
