#pragma once
// The bridge manager of the monitors' USB bridges: watches the USB bus for
// the bridge's vendor/product id, opens up to 12 bridges as HID devices,
// keeps their identity strings, and carries I2C writes and reads as HID
// output and input reports. The program's one manager is a member of the
// display interface list; the USB transports reach it through pCMonAPIDummy.
//
// Output report (report id 0 first, sent with the output report length):
//   00 01 00 (n+1) addr data[n] chk,  chk = addr ^ (n+1) ^ data
// Input report: three header bytes, then the bytes the bridge read.
//
// Unlike a bare hidraw reader, every read takes exactly one new input report
// and stale reports are dropped before each write, so a reply that arrives
// late is still seen and a reply is never read twice.
//
// Threads: the GUI thread re-enumerates when a bridge comes or goes while a
// worker may be inside an exchange. The table is locked for every look-up
// and rebuild, and an exchange shares ownership of its bridge's device for
// as long as it runs, so a rebuild never frees a device under a reader; an
// exchange on a bridge that left ends with -2 (read) or -12 (write).

#include "HidDevice.h"

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QVector>
#include <memory>
#include <vector>

class mac_usb_ddcci : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxBridges = 12;
    static constexpr int kReportBuffer = 256;
    static constexpr int kSetReportTimeoutMs = 1000;
    static constexpr int kReceivePasses = 225;
    static constexpr int kReceivePassMs = 20;

    // Who a bridge is, whatever index it holds: what a transport binds to.
    struct BridgeId {
        QString serial;
        QByteArray path;
    };

    // Watches the configured id of the Orvane bridge.
    explicit mac_usb_ddcci(int verbosity);
    // Watches the given packed ids (vendor << 16 | product).
    mac_usb_ddcci(int verbosity, const QVector<quint32> &watchedIds);
    ~mac_usb_ddcci() override;

    // Rebuilds the bridge table; returns the bridge count.
    int EnumerateDevices();
    int GetNumDevices() const;
    // The bridge's identity texts (UTF-8), or nullptr when the index is not
    // below the count or the bridge is not open. The text lives until the
    // next EnumerateDevices: for the thread that enumerates.
    const char *GetSerialNumber(int bridge) const;
    const char *GetProductName(int bridge) const;
    const char *GetManufacturerName(int bridge) const;
    // Serial and path of an open bridge (empty otherwise).
    BridgeId GetBridgeId(int bridge) const;
    // The index the bridge with this serial (and, among several, this path)
    // holds now; a path alone decides only when there is no serial. -1 when
    // no such bridge is in the table.
    int FindBridge(const QString &serial, const QByteArray &path) const;

    // 0, -2 (no such open bridge), -12 (the report was not taken) or -31
    // (the bytes and their checksum do not fit the report: at most 59 data
    // bytes in a 65-byte report).
    int i2c_write(int bridge, unsigned char address, unsigned char *data, unsigned char n);
    // 0, -2 (no such open bridge, or it left), -23 (no input report within
    // 225 passes of 20 ms) or -31. The address plays no part.
    int i2c_read(int bridge, unsigned char address, unsigned char *data, unsigned char n);
    // The same exchanges on the bridge that is `id` now, found and used in
    // one step so that a re-enumeration in between cannot hand the exchange
    // to another monitor; -2 when no bridge is `id`. A read waits at most
    // waitLimitMs for its report (negative: the full 225 passes).
    int i2c_write(const BridgeId &id, unsigned char address, unsigned char *data, unsigned char n);
    int i2c_read(const BridgeId &id, unsigned char address, unsigned char *data, unsigned char n,
                 int waitLimitMs = -1);

signals:
    // A watched bridge arrived (true) or left (false). Devices present when
    // the watch was set up announce nothing until they leave.
    void usb_device_changed(bool added);

private:
    struct Bridge {
        int inputReportLength = 0;    // MaxInputReportSize + 1
        int outputReportLength = 0;   // MaxOutputReportSize + 1
        pz::HidDeviceInfo info;
        std::shared_ptr<pz::IHidDevice> device;
        QByteArray manufacturer;
        QByteArray productName;
        QByteArray serialNumber;
        int vendorId = 0;
        int productId = 0;
        bool opened = false;
    };

    // What one exchange needs of a bridge, copied out of the table under
    // the lock; the device stays alive while the exchange holds it.
    struct Link {
        bool inTable = false;
        int inputReportLength = 0;
        int outputReportLength = 0;
        std::shared_ptr<pz::IHidDevice> device;   // null when not open
    };

    // Under m_lock.
    void reset();
    int FindHidDeviceID(const QVector<quint32> &ids);
    bool OpenHIDDevice(int slot);
    bool CloseHIDDevice(int slot);
    void close_interfaces();
    bool usable(int bridge) const;
    int findBridgeLocked(const QString &serial, const QByteArray &path) const;
    Link linkLocked(int bridge) const;

    // Take the lock themselves.
    Link linkAt(int bridge) const;
    Link linkTo(const BridgeId &id) const;

    int add_usb_device_watch(const QVector<quint32> &ids);
    void DeviceChanged(bool added);

    // Without the lock: they touch only the link.
    static int writeReport(const Link &link, unsigned char address, unsigned char *data,
                           unsigned char n);
    static int readReport(const Link &link, unsigned char *data, unsigned char n,
                          int waitLimitMs);
    static int usb_transmit(const Link &link, unsigned char *report);
    static int UsbDevWrite(const Link &link, unsigned char *report);
    static int usb_receive(const Link &link, unsigned char *report, int waitLimitMs);

    pz::IHidBackend *m_backend;
    mutable QMutex m_lock;
    Bridge m_bridges[kMaxBridges];
    std::vector<std::unique_ptr<pz::IHidWatch>> m_watches;
    int m_count = 0;
    int m_verbosity = 0;
    QVector<quint32> m_watchedIds;
    bool m_watchArmed = false;
};
