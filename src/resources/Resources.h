#pragma once
// The compiled-in resources: the application's images under
// ":/images/Resources/". They live in a static library, and nothing in a
// program refers to the generated resource code by name, so a program (or a
// test) that shows images registers them once at start with initResources()
// (main may use Q_INIT_RESOURCE(pelzora) instead; both are the same).

namespace pz {

// Registers the resources with Qt's resource system; later calls do nothing.
void initResources();

} // namespace pz
