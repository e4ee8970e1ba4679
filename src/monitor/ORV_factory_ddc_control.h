#pragma once
// Orvane's factory and service commands: EEPROM and RAM in 32-byte chunks,
// the white-balance table, the EDID EEPROM written directly over I2C, the
// controller (MPU) reset, mode changes and two feature switches. This is the
// control object the monitor object creates for every interface.

#include "ORV_ddc_control.h"

class ORV_factory_ddc_control : public ORV_ddc_control {
public:
    static constexpr unsigned int kMaxMemoryChunk = 32;
    static constexpr unsigned int kEdidPage = 8;
    static constexpr unsigned int kMaxEdidLength = 255;

    using ORV_ddc_control::ORV_ddc_control;
    ~ORV_factory_ddc_control() override;

    int MPUReset();
    int write_eeprom_chunk(unsigned char *data, unsigned int address, unsigned int count);
    int read_ram_chunk(unsigned char *data, unsigned int address, unsigned int count);
    int read_eeprom_chunk(unsigned char *data, unsigned int address, unsigned int count);
    int write_ram_chunk(unsigned char *data, unsigned int address, unsigned int count);
    int DisableAutomaticMagneticFieldCompensation(unsigned char value);
    int DisableABL(unsigned char value);
    // The monitor's answer is stored back into *mode.
    int ModeChangeRequest(unsigned char *mode);
    int WhiteBalanceTableRead(unsigned char index, unsigned char *a, unsigned char *b,
                              unsigned char *c, unsigned char *d);
    int WhiteBalanceTableWrite(unsigned char index, unsigned char a, unsigned char b,
                               unsigned char c, unsigned char d);

    // length bytes from address onward in chunks of 32 (the last shorter);
    // the first failing chunk ends the operation. A range that would run
    // past the 16-bit address space is refused with -31 before any traffic.
    int ReadEEPROM(unsigned char *data, unsigned int address, unsigned int length);
    int ReadRAM(unsigned char *data, unsigned int address, unsigned int length);
    int WriteEEPROM(unsigned char *data, unsigned int address, unsigned int length);
    int WriteRAM(unsigned char *data, unsigned int address, unsigned int length);

    // Writes the EDID EEPROM at 0xA0 in 8-byte pages (offset byte + 8
    // bytes); a last partial page is padded with zeros here.
    int WriteEDID(unsigned char *data, unsigned int length);

private:
    // Sub-commands of the memory chunks.
    static constexpr unsigned char kWriteEeprom = 0x02;
    static constexpr unsigned char kReadRam = 0x03;
    static constexpr unsigned char kReadEeprom = 0x09;
    static constexpr unsigned char kWriteRam = 0x0A;
    enum class Transfer { Read, Write };

    int readChunk(unsigned char subCommand, unsigned char *data, unsigned int address,
                  unsigned int count);
    int writeChunk(unsigned char subCommand, unsigned char *data, unsigned int address,
                   unsigned int count);
    // A whole range in chunks of 32 bytes; a write waits 50 ms more after
    // each chunk.
    int transferMemory(Transfer transfer, unsigned char subCommand, unsigned char *data,
                       unsigned int address, unsigned int length);
    // A maker command without reply: C0, the sub-command, then argCount
    // argument bytes; 50 ms wait after closing.
    int sendMaker(unsigned char subCommand, const unsigned char *args, unsigned int argCount);
};
