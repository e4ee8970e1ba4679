// The device requests the measurement interface passes through unchanged.

#include "spyder_dc.h"

#include "spyder_dc_state.h"
#include "spyder_requests.h"

using namespace spyder;

namespace {

// Refuses a call before startup, and a null output of a read; otherwise
// runs the request and keeps the USB layer's error when it fails.
template <typename Request>
int passThrough(const void *output, bool needsOutput, Request &&request)
{
    if (!initialized)
        return dcFail(kDcNotStarted);
    if (needsOutput && !output)
        return dcFail(kDcBadArgument);
    return request() ? 1 : dcFailFromLayer();
}

template <typename Out, typename Request>
int passRead(Out *output, Request &&request)
{
    return passThrough(output, true, [&] { return request(output); });
}

template <typename Request>
int passWrite(Request &&request)
{
    return passThrough(nullptr, false, request);
}

} // namespace

int DC_ReadEEPROM(quint16 address, quint8 *value)
{
    return passRead(value, [&](quint8 *out) { return DC__ReadEEPROM(address, out); });
}

int DC_ReadEEPROMEx(quint16 address, quint32 length, quint8 *buffer)
{
    // A zero length is refused by the request itself.
    return passRead(buffer, [&](quint8 *out) { return DC__ReadEEPROMEx(address, length, out); });
}

int DC_WriteEEPROM(quint16 address, quint8 value)
{
    return passWrite([&] { return DC__WriteEEPROM(address, value); });
}

int DC_WriteEEPROMEx(quint16 address, quint32 length, const quint8 *buffer)
{
    // A zero length or null buffer is refused by the request itself.
    return passWrite([&] { return DC__WriteEEPROMEx(address, length, buffer); });
}

int DC_ReadRegister(quint8 reg, quint8 *value)
{
    return passRead(value, [&](quint8 *out) { return ReadRegister(reg, out); });
}

int DC_WriteRegister(quint8 reg, quint8 value)
{
    return passWrite([&] { return WriteRegister(reg, value); });
}

int DC_SetGain(quint8 gain)
{
    // A gain of 0 would divide every version-5 reading by zero.
    if (initialized && gain == 0)
        return dcFail(kDcBadArgument);
    return passWrite([&] {
        EUROPA_GAIN = gain;
        return SetGain(gain);
    });
}

int DC_SetLED(quint8 a, quint16 b)
{
    return passWrite([&] { return SetLED(a, b); });
}

int DC_ReadTemperature(qint32 *hundredthsCelsius)
{
    return passRead(hundredthsCelsius, [](qint32 *out) { return ReadTemperature(out); });
}

int DC_ReadTemperatureSensorConfig(quint8 *value)
{
    return passRead(value, [](quint8 *out) { return ReadTemperatureSensorConfig(out); });
}

int DC_WriteTemperatureSensorConfig(quint8 value)
{
    return passWrite([&] { return WriteTemperatureSensorConfig(value); });
}

int DC_ReadAmbientLightLevel(quint16 *lux)
{
    return passRead(lux, [](quint16 *out) { return ReadAmbientLightLevel(out); });
}

int DC_ReadAmbientLightChannel_0(quint16 *count)
{
    return passRead(count, [](quint16 *out) { return ReadAmbientLightSensorChannel_0(out); });
}

int DC_ReadAmbientLightChannel_1(quint16 *count)
{
    return passRead(count, [](quint16 *out) { return ReadAmbientLightSensorChannel_1(out); });
}

int DC_ReadAmbientLightControlRegVal(quint8 *value)
{
    return passRead(value, [](quint8 *out) { return ReadAmbientLightControlRegVal(out); });
}

int DC_WriteAmbientLightControlRegVal(quint8 value)
{
    return passWrite([&] { return WriteAmbientLightControlRegVal(value); });
}

int DC_ReadAmbientLightTimingConfig(quint8 *value)
{
    return passRead(value, [](quint8 *out) { return ReadAmbientLightTimingConfig(out); });
}

int DC_WriteAmbientLightTimingConfig(quint8 value)
{
    return passWrite([&] { return WriteAmbientLightTimingConfig(value); });
}
