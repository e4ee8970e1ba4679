#include "EyeOneLibrary.h"

#include <atomic>

namespace pz {
namespace {

// X-Rite's library is not on this system: no device is ever connected and
// no option is kept.
class AbsentEyeOneLibrary : public IEyeOneLibrary {
public:
    int IsConnected() override { return kI1NoDevice; }
    int SetOption(const QByteArray &, const QByteArray &) override { return kI1LibraryMissing; }
    QByteArray GetOption(const QByteArray &) override { return QByteArray(); }
    int Calibrate() override { return kI1LibraryMissing; }
    int TriggerMeasurement() override { return kI1LibraryMissing; }
    int GetTriStimulus(float *, int) override { return kI1LibraryMissing; }
};

std::atomic<IEyeOneLibrary *> g_library{nullptr};

} // namespace

IEyeOneLibrary &eyeOneLibrary()
{
    static AbsentEyeOneLibrary absent;
    IEyeOneLibrary *l = g_library.load();
    return l ? *l : absent;
}

IEyeOneLibrary *setEyeOneLibrary(IEyeOneLibrary *library) { return g_library.exchange(library); }

} // namespace pz
