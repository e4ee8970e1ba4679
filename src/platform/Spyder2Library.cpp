#include "Spyder2Library.h"

#include <atomic>

namespace pz {
namespace {

// Datacolor's library is not on this system: nothing starts.
class AbsentSpyder2Library : public ISpyder2Library {
public:
    int Startup(quint8 *) override { return 0; }
    int UseCalibration(qint32) override { return 0; }
    int GetXYZ(int, qint32 *, qint32 *, qint32 *) override { return 0; }
    int GetRefreshRate(double &) override { return 0; }
    qint32 GetDetailedError(quint8 *system) override
    {
        if (system)
            *system = 0;
        return kCvLibraryMissing;
    }
    int Shutdown() override { return 1; }
};

std::atomic<ISpyder2Library *> g_library{nullptr};

} // namespace

ISpyder2Library &spyder2Library()
{
    static AbsentSpyder2Library absent;
    ISpyder2Library *l = g_library.load();
    return l ? *l : absent;
}

ISpyder2Library *setSpyder2Library(ISpyder2Library *library)
{
    return g_library.exchange(library);
}

} // namespace pz
