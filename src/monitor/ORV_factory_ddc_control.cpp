#include "ORV_factory_ddc_control.h"

#include "low_level_ddc.h"

#include <cstring>

namespace {
constexpr int kBadLength = -24;
constexpr int kTooMany = -31;
constexpr unsigned char kMaker = 0xC0;
constexpr unsigned int kAddressSpace = 0x10000;
} // namespace

ORV_factory_ddc_control::~ORV_factory_ddc_control() = default;

int ORV_factory_ddc_control::sendMaker(unsigned char subCommand, const unsigned char *args,
                                       unsigned int argCount)
{
    const unsigned char header[2] = {kMaker, subCommand};
    return WriteBlock(header, 2, args, argCount);
}

int ORV_factory_ddc_control::MPUReset() { return sendMaker(0x00, nullptr, 0); }

int ORV_factory_ddc_control::DisableAutomaticMagneticFieldCompensation(unsigned char value)
{
    return sendMaker(0x0C, &value, 1);
}

int ORV_factory_ddc_control::DisableABL(unsigned char value) { return sendMaker(0x0D, &value, 1); }

int ORV_factory_ddc_control::readChunk(unsigned char subCommand, unsigned char *data,
                                       unsigned int address, unsigned int count)
{
    if (const int bad = ChunkCountError(count, kMaxMemoryChunk))
        return bad;
    unsigned char request[5] = {kMaker, subCommand, static_cast<unsigned char>(count),
                                HighByte(address), LowByte(address)};
    return ReadBlock(request, 5, data, count);
}

int ORV_factory_ddc_control::writeChunk(unsigned char subCommand, unsigned char *data,
                                        unsigned int address, unsigned int count)
{
    if (const int bad = ChunkCountError(count, kMaxMemoryChunk))
        return bad;
    const unsigned char header[5] = {kMaker, subCommand, static_cast<unsigned char>(count),
                                     HighByte(address), LowByte(address)};
    return WriteBlock(header, 5, data, count);
}

int ORV_factory_ddc_control::write_eeprom_chunk(unsigned char *data, unsigned int address,
                                                unsigned int count)
{
    return writeChunk(kWriteEeprom, data, address, count);
}

int ORV_factory_ddc_control::read_ram_chunk(unsigned char *data, unsigned int address,
                                            unsigned int count)
{
    return readChunk(kReadRam, data, address, count);
}

int ORV_factory_ddc_control::read_eeprom_chunk(unsigned char *data, unsigned int address,
                                               unsigned int count)
{
    return readChunk(kReadEeprom, data, address, count);
}

int ORV_factory_ddc_control::write_ram_chunk(unsigned char *data, unsigned int address,
                                             unsigned int count)
{
    return writeChunk(kWriteRam, data, address, count);
}

int ORV_factory_ddc_control::ModeChangeRequest(unsigned char *mode)
{
    if (!mode)
        return kBadLength;
    unsigned char payload[3] = {kMaker, 0x11, *mode};
    unsigned char reply[3];
    const int status = Command(payload, 3, reply, 3, 0xC1, 0x11);
    if (status == 0)
        *mode = reply[2];
    return status;
}

int ORV_factory_ddc_control::WhiteBalanceTableRead(unsigned char index, unsigned char *a,
                                                   unsigned char *b, unsigned char *c,
                                                   unsigned char *d)
{
    unsigned char payload[3] = {kMaker, 0x23, index};
    unsigned char reply[6];
    const int status = Command(payload, 3, reply, 6, 0xC1, 0x23);
    if (status != 0)
        return status;
    unsigned char *out[4] = {a, b, c, d};
    for (int i = 0; i < 4; ++i)
        if (out[i])
            *out[i] = reply[2 + i];
    return 0;
}

int ORV_factory_ddc_control::WhiteBalanceTableWrite(unsigned char index, unsigned char a,
                                                    unsigned char b, unsigned char c,
                                                    unsigned char d)
{
    const unsigned char entry[5] = {index, a, b, c, d};
    return sendMaker(0x24, entry, 5);
}

int ORV_factory_ddc_control::transferMemory(Transfer transfer, unsigned char subCommand,
                                            unsigned char *data, unsigned int address,
                                            unsigned int length)
{
    // Addresses travel as 16 bits: a range past the end would silently wrap
    // onto address 0.
    if (address >= kAddressSpace || length > kAddressSpace - address)
        return kTooMany;
    const bool write = transfer == Transfer::Write;
    for (unsigned int done = 0; done < length; done += kMaxMemoryChunk) {
        const unsigned int count =
            length - done < kMaxMemoryChunk ? length - done : kMaxMemoryChunk;
        const int status = write ? writeChunk(subCommand, data + done, address + done, count)
                                 : readChunk(subCommand, data + done, address + done, count);
        if (status != 0)
            return status;
        // The monitor needs time to commit each chunk it was given.
        if (write)
            Wait(50);
    }
    return 0;
}

int ORV_factory_ddc_control::ReadEEPROM(unsigned char *data, unsigned int address,
                                        unsigned int length)
{
    return transferMemory(Transfer::Read, kReadEeprom, data, address, length);
}

int ORV_factory_ddc_control::ReadRAM(unsigned char *data, unsigned int address,
                                     unsigned int length)
{
    return transferMemory(Transfer::Read, kReadRam, data, address, length);
}

int ORV_factory_ddc_control::WriteEEPROM(unsigned char *data, unsigned int address,
                                         unsigned int length)
{
    return transferMemory(Transfer::Write, kWriteEeprom, data, address, length);
}

int ORV_factory_ddc_control::WriteRAM(unsigned char *data, unsigned int address,
                                      unsigned int length)
{
    return transferMemory(Transfer::Write, kWriteRam, data, address, length);
}

int ORV_factory_ddc_control::WriteEDID(unsigned char *data, unsigned int length)
{
    if (length > kMaxEdidLength)
        return kTooMany;
    low_level_ddc *link = transport();
    const int opened = link->open_port();
    if (opened != 0)
        return opened;
    int result = 0;
    for (unsigned int offset = 0; offset < length; offset += kEdidPage) {
        // Every page write carries 8 bytes; the last one is padded here
        // rather than read past the end of the caller's data.
        unsigned char page[1 + kEdidPage] = {static_cast<unsigned char>(offset)};
        const unsigned int take = length - offset < kEdidPage ? length - offset : kEdidPage;
        std::memcpy(page + 1, data + offset, take);
        result = link->i2c_write(low_level_ddc::kEdidAddress, page, sizeof page);
        if (result < 0)
            break;
        Wait(50);
    }
    link->close_port();
    return result;
}
