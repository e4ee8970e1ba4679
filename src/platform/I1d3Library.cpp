#include "I1d3Library.h"

#include <atomic>

namespace pz {
namespace {

// The vendor's library is not on this system: it initialises nothing and
// finds no device.
class AbsentI1d3Library : public II1d3Library {
public:
    int Initialize() override { return kI1d3LibraryMissing; }
    int GetNumberOfDevices() override { return 0; }
    int GetDeviceHandle(int, I1d3Handle &) override { return kI1d3LibraryMissing; }
    int DeviceOpen(I1d3Handle) override { return kI1d3LibraryMissing; }
    int SetSupportFilePath(I1d3Handle, const QByteArray &) override { return kI1d3LibraryMissing; }
    int GetCalibrationList(I1d3Handle, QVector<I1d3CalibrationEntry> &) override
    {
        return kI1d3LibraryMissing;
    }
    int SetCalibration(I1d3Handle, const I1d3CalibrationEntry &) override
    {
        return kI1d3LibraryMissing;
    }
    int SetMeasurementMode(I1d3Handle, int) override { return kI1d3LibraryMissing; }
    int SetIntegrationTime(I1d3Handle, double) override { return kI1d3LibraryMissing; }
    int SetTargetLCDTime(I1d3Handle, double) override { return kI1d3LibraryMissing; }
    int MeasureXYZ(I1d3Handle, I1d3XYZ &) override { return kI1d3LibraryMissing; }
    int MeasureAmbient(I1d3Handle, I1d3Ambient &) override { return kI1d3LibraryMissing; }
    int ReadDiffuserPosition(I1d3Handle, bool &) override { return kI1d3LibraryMissing; }
    int SetLEDControl(I1d3Handle, int, double, double, quint8) override
    {
        return kI1d3LibraryMissing;
    }
    int GetSerialNumber(I1d3Handle, QByteArray &) override { return kI1d3LibraryMissing; }
    int GetDeviceInfo(I1d3Handle, I1d3DeviceInfo &) override { return kI1d3LibraryMissing; }
    int DeviceClose(I1d3Handle) override { return kI1d3LibraryMissing; }
    int Destroy() override { return kI1d3Success; }
};

std::atomic<II1d3Library *> g_library{nullptr};

} // namespace

II1d3Library &i1d3Library()
{
    static AbsentI1d3Library absent;
    II1d3Library *l = g_library.load();
    return l ? *l : absent;
}

II1d3Library *setI1d3Library(II1d3Library *library) { return g_library.exchange(library); }

} // namespace pz
