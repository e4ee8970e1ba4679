#pragma once
// A simulated Orvane HX-series monitor as seen from the I2C bus: it parses
// DDC/CI request frames at 0x6E, answers standard, vendor and factory
// commands from its registers, tables and EEPROM, serves its EDID at 0xA0,
// runs a colour engine that takes time to apply new targets, and emits light
// through a physical model. Every time-dependent behaviour runs on the
// program clock, so on a VirtualClock simulated time passes as the host waits.
//
// Fault injection covers the error paths of the host: refused transfers,
// null, corrupted, late and short replies, failing read-back and a stuck
// colour engine. Every frame written to the monitor is logged.

#include "I2CBus.h"
#include "SimMonitorConfig.h"

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QMutexLocker>
#include <QRecursiveMutex>
#include <QThread>
#include <QVector>
#include <random>

namespace pz {

enum class SimFaultKind {
    NakWrite,          // the write is refused (host: -12)
    NakRead,           // reads are refused until the next write (host: -11)
    NullReply,         // a null message instead of the reply
    BadChecksum,       // reply checksum wrong (-20)
    WrongSource,       // reply source byte not 0x6E (-27)
    OverlongLength,    // reply length field beyond every host maximum (-24)
    WrongOpcode,       // reply opcode off by one (-26)
    WrongPageOrCode,   // reply for another code or offset (-25, -26 for caps)
    ShortReply,        // reply one payload byte short (-24 after retries)
    LateReply,         // the reply becomes readable only delayMs later
    ReadBackMismatch,  // a table chunk write stores one value wrong (-32)
};

// Applies to the next `count` exchanges whose request matches: opcode is the
// first payload byte (-1: any), code the VCP code (page << 8 | code for paged
// requests), the sub-command of C0/C2, or the capability offset (-1: any).
struct SimFault {
    SimFaultKind kind = SimFaultKind::NullReply;
    int opcode = -1;
    int code = -1;
    int count = 1;
    int delayMs = 0;   // LateReply
};

// One write transaction the monitor received.
struct SimFrame {
    quint8 address = 0;
    QByteArray bytes;
    qint64 timeUs = 0;
    // The host thread that sent it (compared, never dereferenced): which
    // thread talks to the monitor matters as much as what it says.
    const QThread *thread = nullptr;
};

class SimOrvaneMonitor : public II2CBus {
public:
    static constexpr int kEepromSize = 0x10000;
    static constexpr int kTableEntries = 0xC00;   // 3 channels at 0x000, 0x400, 0x800
    // The frame log keeps at most this many frames: a demonstration session
    // runs for hours, and only the recent frames are ever looked at.
    static constexpr int kFrameLogLimit = 200000;

    explicit SimOrvaneMonitor(const SimMonitorConfig &config = SimMonitorConfig());
    ~SimOrvaneMonitor() override;

    // II2CBus: addresses in their 8-bit form; a read may name either the
    // write address or the read address (address | 1).
    bool write(quint8 address, const quint8 *data, int length) override;
    bool read(quint8 address, quint8 *data, int length) override;
    // The same read as the monitor's USB bridge makes it: the bridge reaches
    // the controller directly, so a DisplayPort adapter on the graphics
    // card's link slips nothing into it.
    bool readFromBridge(quint8 address, quint8 *data, int length);

    const SimMonitorConfig &config() const { return m_config; }
    QByteArray edid() const
    {
        QMutexLocker lock(&m_lock);
        return m_edid;
    }
    QString serial() const { return m_config.serial; }

    // Registers as the host would see them (computed ones included).
    bool isSupported(quint16 code) const;
    quint16 registerValue(quint16 code);
    quint16 registerMaximum(quint16 code) const;
    // Sets a register as if the host had written it (the colour engine and
    // clamping apply).
    void setRegister(quint16 code, quint16 value);

    // Colour engine.
    bool colourProcessing();
    void setColourProcessingStuck(bool stuck)
    {
        QMutexLocker lock(&m_lock);
        m_processingStuck = stuck;
    }
    SimEngineState appliedEngineState();

    // Light leaving the panel for a drive signal in [0, 1] per channel.
    SimXYZ emittedXYZ(double r, double g, double b);
    // The light the panel would give now, as warm as it is, had its engine
    // these settings; without reading noise. Answers "what would this
    // setting have shown" without touching a register.
    SimXYZ lightFor(const SimEngineState &engine, double r, double g, double b);
    // Moves how far the engine's user white lands from its target, as a
    // panel that drifts while it is being calibrated.
    void setWhiteBias(const SimChromaticity &bias)
    {
        QMutexLocker lock(&m_lock);
        m_config.light.whiteBias = bias;
    }

    // Memories.
    QByteArray eeprom(int address, int length) const;
    void setEeprom(int address, const QByteArray &bytes);
    QVector<quint16> gammaTable() const
    {
        QMutexLocker lock(&m_lock);
        return m_gammaTable;
    }
    QVector<quint16> curveMemory() const
    {
        QMutexLocker lock(&m_lock);
        return m_curve;
    }
    QByteArray assetString() const;
    QByteArray pictureModeName(int mode) const;

    // Power and controller.
    void powerCycle();             // reload the non-volatile state, then boot
    bool silent();                 // booting: every transfer is refused

    // Fault injection.
    void addFault(const SimFault &fault)
    {
        QMutexLocker lock(&m_lock);
        m_faults.append(fault);
    }
    void clearFaults()
    {
        QMutexLocker lock(&m_lock);
        m_faults.clear();
    }
    int pendingFaults() const;

    // What the host sent.
    QVector<SimFrame> frames() const
    {
        QMutexLocker lock(&m_lock);
        return m_frames;
    }
    // Payloads of the well-formed DDC/CI request frames, in order.
    QVector<QByteArray> requests() const;
    int readCount() const
    {
        QMutexLocker lock(&m_lock);
        return m_readCount;
    }
    void clearLog();

    // Whether a reply is held back that becomes readable later, and when.
    bool lateReplyPending();
    qint64 lateReplyReadyUs() const
    {
        QMutexLocker lock(&m_lock);
        return m_replyReadyUs;
    }

private:
    struct Register {
        quint16 value = 0;
        quint16 maximum = 0;
        quint8 type = 0;        // 0 set parameter, 1 momentary
        bool readOnly = false;
    };

    // What survives a power cycle.
    struct NonVolatile {
        QMap<quint16, quint16> registers;
        QVector<quint16> gammaTable;
        QVector<quint16> curve;
        QByteArray edid;
        QByteArray asset;
        QMap<int, QByteArray> modeNames;
        QMap<int, QByteArray> whiteBalance;
    };

    void buildDefaults();
    void boot();
    void advance();
    qint64 nowUs() const;

    bool writeDdcCi(const quint8 *data, int length);
    bool readBus(quint8 address, quint8 *data, int length, bool throughAdapter);
    bool readDdcCi(quint8 *data, int length, bool throughAdapter);
    bool writeEdid(const quint8 *data, int length);
    bool readEdid(quint8 *data, int length);

    QByteArray handleRequest(const QByteArray &payload);   // reply payload, or empty
    QByteArray vcpReply(quint8 opcode, quint16 code16);
    void writeRegister(quint16 code, quint16 value);
    QByteArray makerCommand(const QByteArray &p);
    QByteArray tableCommand(const QByteArray &p);
    bool tableRange(int offset, int count) const;

    SimFault *matchFault(const QByteArray &payload);
    static QByteArray frameReply(const QByteArray &payload);
    void applyReplyFault(SimFaultKind kind, QByteArray &frame) const;

    void saveNonVolatile();
    void captureNonVolatile();
    void persist() const;
    bool loadPersisted();

    SimMonitorConfig m_config;
    QMap<quint16, Register> m_registers;
    QMap<quint16, quint16> m_defaults;
    QByteArray m_edid;
    QByteArray m_capabilities;
    QByteArray m_eeprom;
    QByteArray m_ram;
    QVector<quint16> m_gammaTable;
    QVector<quint16> m_curve;
    QVector<quint16> m_appliedCurve;
    QVector<quint16> m_appliedGamma;
    QByteArray m_asset;
    QMap<int, QByteArray> m_modeNames;
    QMap<int, QByteArray> m_whiteBalance;
    QHash<quint32, QVector<quint16>> m_lut3d;
    QByteArray m_clock;
    QMap<int, QByteArray> m_schedules;
    quint8 m_pictureMode = 3;
    NonVolatile m_nv;

    // Colour engine: targets written are applied only when processing ends.
    QMap<quint16, quint16> m_applied;
    qint64 m_processingEndsUs = -1;
    bool m_processingStuck = false;

    qint64 m_silentUntilUs = -1;

    // Reply state of the DDC/CI channel.
    QByteArray m_reply;         // full frame; empty: null message
    qint64 m_replyReadyUs = 0;  // before this, reads give the null message
    bool m_nakReads = false;
    int m_edidPointer = 0;

    QVector<SimFault> m_faults;
    QVector<SimFrame> m_frames;
    int m_readCount = 0;
    std::mt19937 m_noise;
    qint64 m_switchedOnUs = 0;
    // The program may reach the monitor from the GUI and a worker thread.
    mutable QRecursiveMutex m_lock;
};

} // namespace pz
