#include "ColorMunkiLibrary.h"

#include <atomic>

namespace pz {
namespace {

// The vendor's library is not on this system: no device is ever connected.
class AbsentColorMunkiLibrary : public IColorMunkiLibrary {
public:
    int IsConnected() override { return kMunkiNoLibrary; }
    int SetOption(const QByteArray &, const QByteArray &) override { return kMunkiNoLibrary; }
    QByteArray GetOption(const QByteArray &) override { return QByteArray(); }
    int Calibrate() override { return kMunkiNoLibrary; }
    int TriggerMeasurement() override { return kMunkiNoLibrary; }
    int GetTriStimulus(float *, int) override { return kMunkiNoLibrary; }
    int GetSensorPosition() override { return kMunkiNoLibrary; }
    int ButtonPressed() override { return kMunkiNoLibrary; }
    int AddDeviceMessageHandler(MunkiMessageHandler, void *) override { return kMunkiNoLibrary; }
    int RemoveDeviceMessageHandler(MunkiMessageHandler) override { return kMunkiNoLibrary; }
};

std::atomic<IColorMunkiLibrary *> g_library{nullptr};

} // namespace

IColorMunkiLibrary &colorMunkiLibrary()
{
    static AbsentColorMunkiLibrary absent;
    IColorMunkiLibrary *l = g_library.load();
    return l ? *l : absent;
}

IColorMunkiLibrary *setColorMunkiLibrary(IColorMunkiLibrary *library)
{
    return g_library.exchange(library);
}

} // namespace pz
