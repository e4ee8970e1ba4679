#pragma once
// The bridge manager of the monitors' USB bridges: watches the USB bus for
// the bridge's vendor/product id, opens up to 12 bridges as HID devices,
// keeps their identity strings, and carries I2C writes and reads as HID
// output and input reports. One instance exists (a member of the display
// interface list); the USB transports reach it through instance().
//
// Output report (report id 0 first, sent with the output report length):
//   00 01 00 (n+1) addr data[n] chk,  chk = addr ^ (n+1) ^ data
// Input report: three header bytes, then the bytes the bridge read.
//
// Unlike a bare hidraw reader, every read takes exactly one new input report
// and stale reports are dropped before each write, so a reply that arrives
// late is still seen and a reply is never read twice.

#include "HidDevice.h"

#include <QByteArray>
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

    // Watches the configured id of the Orvane bridge.
    explicit mac_usb_ddcci(int verbosity);
    // Watches the given packed ids (vendor << 16 | product).
    mac_usb_ddcci(int verbosity, const QVector<quint32> &watchedIds);
    ~mac_usb_ddcci() override;

    // Rebuilds the bridge table; returns the bridge count.
    int EnumerateDevices();
    int GetNumDevices() const { return m_count; }
    // The bridge's identity texts (UTF-8), or nullptr when the index is not
    // below the count or the bridge is not open.
    const char *GetSerialNumber(int bridge) const;
    const char *GetProductName(int bridge) const;
    const char *GetManufacturerName(int bridge) const;
    // The device path of an open bridge (empty otherwise).
    QByteArray GetDevicePath(int bridge) const;
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

    // The manager the USB transports use; nullptr when none exists.
    static mac_usb_ddcci *instance();

signals:
    // A watched bridge arrived (true) or left (false). Devices present when
    // the watch was set up announce nothing until they leave.
    void usb_device_changed(bool added);

private:
    struct Bridge {
        int inputReportLength = 0;    // MaxInputReportSize + 1
        int outputReportLength = 0;   // MaxOutputReportSize + 1
        pz::HidDeviceInfo info;
        std::unique_ptr<pz::IHidDevice> device;
        QByteArray manufacturer;
        QByteArray productName;
        QByteArray serialNumber;
        int vendorId = 0;
        int productId = 0;
        bool opened = false;
    };

    void reset();
    int add_usb_device_watch(const QVector<quint32> &ids);
    int FindHidDeviceID(const QVector<quint32> &ids);
    bool OpenHIDDevice(int slot);
    bool CloseHIDDevice(int slot);
    void close_interfaces();
    void DeviceChanged(bool added);
    int usb_transmit(int bridge, unsigned char *report);
    int UsbDevWrite(int bridge, unsigned char *report);
    int usb_receive(int bridge, unsigned char *report);
    bool usable(int bridge) const;

    pz::IHidBackend *m_backend;
    Bridge m_bridges[kMaxBridges];
    std::vector<std::unique_ptr<pz::IHidWatch>> m_watches;
    int m_count = 0;
    int m_verbosity = 0;
    QVector<quint32> m_watchedIds;
    bool m_watchArmed = false;
};
