// The XRandR display and gamma backends. The resampling and the "no X
// server" path run everywhere; the round trips through a real server run
// on the program's own virtual server (TestXServer.h), and are skipped
// without one. Only this test program touches that server, so the ramps and
// properties it sets cannot race with another test.

#include "Desktop.h"
#include "TestXServer.h"
#include "DisplayProfiles.h"
#include "GammaRamp.h"
#include "LinuxDesktop.h"
#include "SystemDisplayBackends.h"
#include "XRandRConnection.h"
#include "XRandRGammaRamps.h"
#include "DrmFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <limits>

using namespace pz;
using namespace pz::test;

namespace {

// A display that no X server answers: connecting fails at once.
const QByteArray kNoServer(":4093");

QByteArray testServer() { return pz::test::testXDisplay(); }

} // namespace

class TestXRandR : public QObject {
    Q_OBJECT
private slots:
    void identityRampToHardwareSizes_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("256") << 256;
        QTest::newRow("1024") << 1024;
        QTest::newRow("4096") << 4096;
        QTest::newRow("17") << 17;
        QTest::newRow("2") << 2;
    }
    void identityRampToHardwareSizes()
    {
        QFETCH(int, size);
        const QVector<quint16> hw = rampToHardware(identityGammaRamp().red, size);
        QCOMPARE(hw.size(), size);
        for (int j = 0; j < size; ++j) {
            const long expected = std::lround(double(j) / (size - 1) * 65535.0);
            QVERIFY2(std::abs(long(hw[j]) - expected) <= 1, qPrintable(QString::number(j)));
        }
        QCOMPARE(hw.first(), quint16(0));
        QCOMPARE(hw.last(), quint16(65535));
        // Back to 256 entries: the identity again, within one hardware step.
        const QVector<float> back = rampFromHardware(hw, 256);
        QCOMPARE(back.size(), 256);
        for (int i = 0; i < 256; ++i)
            QVERIFY(std::abs(back[i] - i / 255.0) <= 1.0 / 65535 + 1e-7);
    }

    void rampOf256IsExactAt256()
    {
        // At the program's own size nothing is interpolated: every step
        // value goes to the card as it is and reads back bit for bit.
        QVector<float> ramp;
        for (int i = 0; i < 256; ++i)
            ramp.append(float(std::lround(std::pow(i / 255.0, 2.2) * 65535.0) / 65535.0));
        const QVector<quint16> hw = rampToHardware(ramp, 256);
        for (int i = 0; i < 256; ++i)
            QCOMPARE(hw[i], quint16(std::lround(std::pow(i / 255.0, 2.2) * 65535.0)));
        QCOMPARE(rampFromHardware(hw, 256), ramp);
        QCOMPARE(identityGammaRamp().red, rampFromHardware(rampToHardware(identityGammaRamp().red, 256), 256));
    }

    void wildEntriesAreClamped()
    {
        const float inf = std::numeric_limits<float>::infinity();
        const QVector<float> wild = {-0.5f, 1.5f, std::nanf(""), inf, -inf, 0.5f};
        const QVector<quint16> hw = rampToHardware(wild, 6);
        QCOMPARE(hw, (QVector<quint16>{0, 65535, 0, 65535, 0, 32768}));
        QVERIFY(rampToHardware({}, 256).isEmpty());
        QVERIFY(rampToHardware(wild, 0).isEmpty());
        QVERIFY(rampFromHardware({}, 256).isEmpty());
        QCOMPARE(rampFromHardware({65535}, 3), (QVector<float>{1.0f, 1.0f, 1.0f}));
    }

    void connectorNamesMapToOutputNames_data()
    {
        QTest::addColumn<QString>("connector");
        QTest::addColumn<QString>("output");
        QTest::newRow("dp") << "card0-DP-1" << "DP-1";
        QTest::newRow("hdmi-a") << "card1-HDMI-A-2" << "HDMI-2";
        QTest::newRow("edp") << "card0-eDP-1" << "eDP-1";
        QTest::newRow("dvi") << "card0-DVI-D-1" << "DVI-D-1";
    }
    void connectorNamesMapToOutputNames()
    {
        QFETCH(QString, connector);
        QFETCH(QString, output);
        QCOMPARE(LinuxDesktop::outputNameOfConnector(connector), output);
    }

    void withoutXServerEverythingSaysUnavailable()
    {
        auto x = std::make_shared<XRandRConnection>(kNoServer);
        QVERIFY(!x->isAvailable());
        QVERIFY(!x->unavailableReason().isEmpty());
        QVector<XRandROutput> outputs{XRandROutput()};
        QVERIFY(!x->activeOutputs(outputs));
        QVERIFY(outputs.isEmpty());
        QCOMPARE(x->gammaSize(1), 0);
        QVector<quint16> r{1}, g, b;
        QVERIFY(!x->getGamma(1, r, g, b));
        QVERIFY(r.isEmpty());
        QVERIFY(!x->setGamma(1, r, g, b));
        QVERIFY(!x->setOutputEdid(1, sampleEdid(1)));

        LinuxDesktop desk(x);
        QVERIFY(!desk.isAvailable());
        QCOMPARE(desk.unavailableReason(), x->unavailableReason());
        QVector<DesktopDisplay> displays{DesktopDisplay()};
        QVERIFY(!desk.onlineDisplays(displays));
        QVERIFY(displays.isEmpty());
        QVERIFY(!desk.openI2CBus(1, 0));

        XRandRGammaRamps ramps(x);
        QVERIFY(!ramps.isAvailable());
        GammaRampTables tables = identityGammaRamp();
        QVERIFY(!ramps.setRamp(1, tables));
        QVERIFY(!ramps.getRamp(1, tables));
        QVERIFY(tables.red.isEmpty());

        // Installed as the program's backends, they answer the same way,
        // and the program's seams stay usable.
        const SystemDisplayStatus status = installSystemDisplayBackends(kNoServer);
        QVERIFY(!status.available);
        QVERIFY(!status.reason.isEmpty());
        QVERIFY(!desktop().onlineDisplays(displays));
        QVERIFY(!gammaRamps().getRamp(1, tables));
        // The Linux profile backend, not the default: it checks the file first.
        QCOMPARE(displayProfiles().assign(1, QStringLiteral("/nonexistent/profile.icc")), -1);
        QVERIFY(!installSystemDisplayBackends().available);
        setDesktop(nullptr);
        setGammaRamps(nullptr);
        setDisplayProfiles(nullptr);
    }

    void unsetDisplayVariableIsUnavailable()
    {
        const QByteArray saved = qgetenv("DISPLAY");
        qunsetenv("DISPLAY");
        XRandRConnection x;
        QVERIFY(!x.isAvailable());
        QVERIFY(x.unavailableReason().contains(QLatin1String("DISPLAY")));
        if (!saved.isEmpty())
            qputenv("DISPLAY", saved);
    }

    void serverListsOutputsWithBoundsAndEdid()
    {
        if (testServer().isEmpty())
            QSKIP("no X server for tests (no Xvfb, PZ_TEST_X_DISPLAY not set)");
        auto x = std::make_shared<XRandRConnection>(testServer());
        QVERIFY2(x->isAvailable(), qPrintable(x->unavailableReason()));
        QVector<XRandROutput> outputs;
        QVERIFY(x->activeOutputs(outputs));
        QVERIFY(!outputs.isEmpty());
        const XRandROutput out = outputs.first();
        QVERIFY(out.id != 0 && out.crtc != 0);
        QVERIFY(out.bounds.width() > 0 && out.bounds.height() > 0);

        QTemporaryDir sysfs;
        QVERIFY(sysfs.isValid());
        LinuxDesktop desk(x, sysfs.path());
        QVERIFY(desk.isAvailable());

        // The driver publishes the EDID on the output.
        const QByteArray published = sampleEdid(7);
        QVERIFY(x->setOutputEdid(out.id, published));
        QVector<DesktopDisplay> displays;
        QVERIFY(desk.onlineDisplays(displays));
        QCOMPARE(displays.size(), outputs.size());
        QCOMPARE(displays.first().id, out.id);
        QCOMPARE(displays.first().bounds, QRectF(out.bounds));
        QCOMPARE(displays.first().edid, published);

        // Without it, the kernel's EDID of the connector with the output's
        // name stands in; a disconnected one does not.
        QVERIFY(x->setOutputEdid(out.id, QByteArray()));
        const QByteArray kernel = sampleEdid(9);
        addConnector(sysfs.path(), QStringLiteral("card0-") + out.name, false, kernel);
        QVERIFY(desk.onlineDisplays(displays));
        QVERIFY(displays.first().edid.isEmpty());
        addConnector(sysfs.path(), QStringLiteral("card0-") + out.name, true, kernel);
        QVERIFY(desk.onlineDisplays(displays));
        QCOMPARE(displays.first().edid, kernel);
        // Fewer than 128 bytes are no EDID: a cut-off published one gives way
        // to the kernel's, and a cut-off kernel one is not taken either.
        QVERIFY(x->setOutputEdid(out.id, published.left(127)));
        QVERIFY(desk.onlineDisplays(displays));
        QCOMPARE(displays.first().edid, kernel);
        addConnector(sysfs.path(), QStringLiteral("card0-") + out.name, true, kernel.left(127));
        QVERIFY(desk.onlineDisplays(displays));
        QVERIFY(displays.first().edid.isEmpty());
        QVERIFY(x->setOutputEdid(out.id, QByteArray()));
        addConnector(sysfs.path(), QStringLiteral("card0-") + out.name, true, kernel);

        // The connector has no I2C bus yet: no bus opens, and no other bus.
        QCOMPARE(desk.i2cBusNumber(out.id), -1);
        QVERIFY(!desk.openI2CBus(out.id, 0));
        // Its ddc link names the adapter wired to the monitor.
        QVERIFY(QFile::link(QStringLiteral("../../devices/i2c-7"),
                            sysfs.filePath(QStringLiteral("card0-") + out.name + QStringLiteral("/ddc"))));
        QCOMPARE(desk.i2cBusNumber(out.id), 7);
        // A connector whose EDID is the output's wins over the name.
        QVERIFY(x->setOutputEdid(out.id, published));
        addConnector(sysfs.path(), QStringLiteral("card1-DP-9"), true, published);
        QVERIFY(QDir().mkpath(sysfs.filePath(QStringLiteral("card1-DP-9/i2c-12"))));
        QCOMPARE(desk.i2cBusNumber(out.id), 12);
        QVERIFY(x->setOutputEdid(out.id, QByteArray()));
        QCOMPARE(desk.i2cBusNumber(out.id), 7);
        // Two monitors of one model without serials publish one EDID: the
        // connector with the output's name wins over one that merely sorts
        // first, and with no name to decide no other monitor's bus is taken.
        addConnector(sysfs.path(), QStringLiteral("card0-0-1"), true, published);
        QVERIFY(QDir().mkpath(sysfs.filePath(QStringLiteral("card0-0-1/i2c-13"))));
        addConnector(sysfs.path(), QStringLiteral("card0-") + out.name, true, published);
        QVERIFY(x->setOutputEdid(out.id, published));
        QCOMPARE(desk.i2cBusNumber(out.id), 7);
        addConnector(sysfs.path(), QStringLiteral("card0-") + out.name, true, kernel);
        QCOMPARE(desk.i2cBusNumber(out.id), -1);
        QVERIFY(x->setOutputEdid(out.id, QByteArray()));
        QCOMPARE(desk.i2cBusNumber(0x7FFFFFF), -1);
        QVERIFY(!desk.openI2CBus(out.id, 1));
        QVERIFY(!desk.openI2CBus(0x7FFFFFF, 0));
    }

    void serverGoingAwayIsSurvived()
    {
        // A private server, so the shared one stays up: it is killed while
        // connected, and every later request fails instead of ending the
        // program as Xlib's default handler would.
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (testServer().isEmpty() || xvfb.isEmpty())
            QSKIP("no virtual X server available for tests");
        QProcess server;
        server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"),
                            QStringLiteral("-screen"), QStringLiteral("0"),
                            QStringLiteral("640x480x24"), QStringLiteral("+extension"),
                            QStringLiteral("RANDR"), QStringLiteral("-nolisten"),
                            QStringLiteral("tcp")});
        QVERIFY(server.waitForStarted(10000));
        QByteArray number;
        while (!number.contains('\n') && server.waitForReadyRead(10000))
            number += server.readAllStandardOutput();
        QVERIFY2(number.contains('\n'), "the private server did not start");
        const QByteArray name = ':' + number.trimmed();

        XRandRConnection x(name);
        QVERIFY2(x.isAvailable(), qPrintable(x.unavailableReason()));
        QVector<XRandROutput> outputs;
        QVERIFY(x.activeOutputs(outputs) && !outputs.isEmpty());
        const quint32 crtc = outputs.first().crtc;

        server.kill();
        QVERIFY(server.waitForFinished(10000));
        QVERIFY(!x.activeOutputs(outputs));
        QVERIFY(outputs.isEmpty());
        QVERIFY(!x.isAvailable());
        QVERIFY(x.unavailableReason().contains(QLatin1String("lost")));
        QCOMPARE(x.gammaSize(crtc), 0);
        QVector<quint16> r, g, b;
        QVERIFY(!x.getGamma(crtc, r, g, b));
    }

    void serverGammaRampRoundTrip()
    {
        if (testServer().isEmpty())
            QSKIP("no X server for tests (no Xvfb, PZ_TEST_X_DISPLAY not set)");
        auto x = std::make_shared<XRandRConnection>(testServer());
        QVERIFY2(x->isAvailable(), qPrintable(x->unavailableReason()));
        QVector<XRandROutput> outputs;
        QVERIFY(x->activeOutputs(outputs) && !outputs.isEmpty());
        const XRandROutput out = outputs.first();
        const int size = x->gammaSize(out.crtc);
        QVERIFY(size > 0);
        QVector<quint16> savedR, savedG, savedB;
        QVERIFY(x->getGamma(out.crtc, savedR, savedG, savedB));
        QCOMPARE(savedR.size(), size);

        XRandRGammaRamps ramps(x);
        GammaRampTables ramp;
        for (int i = 0; i < 256; ++i) {
            ramp.red.append(float(std::lround(std::pow(i / 255.0, 2.2) * 65535.0) / 65535.0));
            ramp.green.append(float(std::lround(i / 255.0 * 0.9 * 65535.0) / 65535.0));
            ramp.blue.append(float(std::lround(std::sqrt(i / 255.0) * 65535.0) / 65535.0));
        }
        QVERIFY(ramps.setRamp(out.id, ramp));
        // The card holds the ramp resampled to its own size...
        QVector<quint16> r, g, b;
        QVERIFY(x->getGamma(out.crtc, r, g, b));
        QCOMPARE(r, rampToHardware(ramp.red, size));
        QCOMPARE(g, rampToHardware(ramp.green, size));
        QCOMPARE(b, rampToHardware(ramp.blue, size));
        // ...and reads back as 256 entries equal to what was loaded.
        GammaRampTables back;
        QVERIFY(ramps.getRamp(out.id, back));
        if (size == 256) {
            QCOMPARE(back.red, ramp.red);
            QCOMPARE(back.green, ramp.green);
            QCOMPARE(back.blue, ramp.blue);
        } else {
            for (int i = 0; i < 256; ++i)
                QVERIFY(std::abs(back.red[i] - ramp.red[i]) < 2e-3);
        }

        // Wrong table sizes and unknown displays are refused; the card keeps its ramp.
        GammaRampTables shortRamp = ramp;
        shortRamp.blue.removeLast();
        QVERIFY(!ramps.setRamp(out.id, shortRamp));
        QVERIFY(!ramps.setRamp(0x7FFFFFF, ramp));
        QVERIFY(!ramps.getRamp(0x7FFFFFF, back));
        QVERIFY(x->getGamma(out.crtc, r, g, b));
        QCOMPARE(r, rampToHardware(ramp.red, size));
        // A CRTC that does not exist is refused without ending the program.
        QVERIFY(!x->setGamma(0x7FFFFFF, r, g, b));
        QCOMPARE(x->gammaSize(0x7FFFFFF), 0);

        QVERIFY(x->setGamma(out.crtc, savedR, savedG, savedB));
    }
};

QTEST_GUILESS_MAIN(TestXRandR)
#include "tst_xrandr.moc"
