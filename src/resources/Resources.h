#pragma once
// The compiled-in resources: the application's images under
// ":/images/Resources/" and the two Japanese catalogues under
// ":/translations/Resources/" ("pelzora_ja.qm", the application's, and
// "qt_ja_mac.qm", Qt's own). They live in a static library, and nothing in a
// program refers to the generated image resource code by name, so a program
// (or a test) that shows images registers them once at start with
// initResources() (main may use Q_INIT_RESOURCE(pelzora) instead; both are
// the same). The catalogues register themselves.

namespace pz {

// Registers the resources with Qt's resource system; later calls do nothing.
void initResources();

} // namespace pz
