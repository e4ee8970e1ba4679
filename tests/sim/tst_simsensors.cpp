// The set of simulated sensors: what PELZORA_SIM_SENSOR attaches of every
// family, that each family is attached and unplugged on its own, and the
// set a PELZORA_SIMULATE=1 run puts behind the seams.

#include "SimSensorRig.h"

#include <QtTest>
#include <memory>
#include <random>

using namespace pz;

namespace {

constexpr int kFamilies = int(SimSensors::Spyder4) + 1;

// The families attached, by their names.
QStringList attachedNames(const SimSensors &sensors)
{
    QStringList names;
    for (int family = 0; family < kFamilies; ++family)
        if (sensors.isAttached(SimSensors::Family(family)))
            names << SimSensors::familyNames().at(family);
    return names;
}

// The settings the text can change, in one line.
QString settingsOf(SimSensors &sensors)
{
    const SimI1d3Config i1d3 = sensors.i1d3().config();
    const SimEyeOneDisplayConfig display = sensors.eyeOne().displayConfig();
    return QString("maker=%1 firmware=%2 i1d3=%3 munki=%4 display=%5 gen1=%6")
        .arg(int(i1d3.makersVariant))
        .arg(QString::fromLatin1(i1d3.firmware), QString::fromLatin1(i1d3.serial),
             QString::fromLatin1(sensors.munki().config().serial),
             QString::fromLatin1(display.serial))
        .arg(int(display.firstGeneration));
}

} // namespace

class TestSimSensors : public QObject {
    Q_OBJECT

    std::unique_ptr<test::SimSensorRig> m_rig;

    void attachEveryFamily()
    {
        for (int family = 0; family < kFamilies; ++family)
            m_rig->sensors.attach(SimSensors::Family(family));
    }

private slots:
    void init() { m_rig = std::make_unique<test::SimSensorRig>(); }
    void cleanup() { m_rig.reset(); }

    void familyNames()
    {
        QCOMPARE(SimSensors::familyNames(),
                 QStringList({"i1d3", "munki", "i1display", "i1pro", "spyder2", "spyder3",
                              "spyder4"}));
    }

    void eachFamilyOnItsOwn_data()
    {
        QTest::addColumn<int>("family");
        for (int family = 0; family < kFamilies; ++family)
            QTest::newRow(qPrintable(SimSensors::familyNames().at(family))) << family;
    }
    void eachFamilyOnItsOwn()
    {
        QFETCH(int, family);
        SimSensors &sensors = m_rig->sensors;
        QCOMPARE(attachedNames(sensors), QStringList());
        sensors.attach(SimSensors::Family(family));
        QCOMPARE(attachedNames(sensors), QStringList({SimSensors::familyNames().at(family)}));
        attachEveryFamily();
        sensors.detach(SimSensors::Family(family));
        QStringList rest = SimSensors::familyNames();
        rest.removeAt(family);
        QCOMPARE(attachedNames(sensors), rest);
    }

    void attachFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("attached");
        QTest::addColumn<QString>("settings");

        const char *defaults =
            "maker=0 firmware=v2.5 i1d3=I1D3-0000123 munki=CM123456 display=223565 gen1=0";
        const auto row = [&](const char *name, const char *text, const QStringList &attached,
                             const char *settings = nullptr) {
            settings = settings ? settings : defaults;
            QTest::newRow(name) << text << true << attached << settings;
        };
        row("i1d3", "i1d3", {"i1d3"});
        row("i1d3 settings", "i1d3:maker=1,firmware=v3.0,serial=77", {"i1d3"},
            "maker=1 firmware=v3.0 i1d3=77 munki=CM123456 display=223565 gen1=0");
        row("munki", "munki:serial=42", {"munki"},
            "maker=0 firmware=v2.5 i1d3=I1D3-0000123 munki=42 display=223565 gen1=0");
        row("i1display", "i1display", {"i1display"});
        row("i1display settings", "i1display:serial=950000,gen1=1", {"i1display"},
            "maker=0 firmware=v2.5 i1d3=I1D3-0000123 munki=CM123456 display=950000 gen1=1");
        row("i1display gen1=0", "i1display:gen1=0", {"i1display"});
        row("i1pro", "i1pro", {"i1pro"});
        row("spyder2", "spyder2", {"spyder2"});
        row("spyder3", "spyder3", {"spyder3"});
        row("spyder4", "spyder4", {"spyder4"});
        row("every family", "spyder4+spyder3+spyder2+i1pro+i1display+munki+i1d3",
            SimSensors::familyNames());
        row("case and spaces", " Spyder4 + I1PRO ", {"i1pro", "spyder4"});
        row("twice", "i1pro+i1pro", {"i1pro"});
        row("none", "none", {});
        row("none and one", "none+spyder2", {"spyder2"});

        const auto refused = [](const char *text) {
            QTest::newRow(text) << text << false << QStringList() << "";
        };
        for (const char *text :
             {"", "+", "i1pro+", ":gen1=1", "spyder5", "i1d3+spyder9", "i1display:serial=12a",
              "i1display:serial=", "i1display:serial=-5", "i1display:serial=\u0663",
              "i1display:gen1=2", "i1display:gen1",
              "i1display:gen1=1,", "i1display:=1", "i1pro:", "i1pro:serial=1", "spyder2:serial=1",
              "spyder3:seed=2", "munki:firmware=2", "i1d3:colour=2", "i1d3:maker=yes",
              "i1d3:firmware=", "none:serial=1"})
            refused(text);
    }
    void attachFromText()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(QStringList, attached);
        QFETCH(QString, settings);
        SimSensors &sensors = m_rig->sensors;
        attachEveryFamily();
        QCOMPARE(sensors.attachFromText(text), ok);
        QCOMPARE(attachedNames(sensors), attached);
        if (ok)
            QCOMPARE(settingsOf(sensors), settings);
    }

    // A later text starts from the defaults again.
    void settingsDoNotCarryOver()
    {
        QVERIFY(m_rig->sensors.attachFromText("i1display:serial=950000,gen1=1"));
        QVERIFY(m_rig->sensors.attachFromText("i1display"));
        QCOMPARE(m_rig->sensors.eyeOne().displayConfig().serial, QByteArray("223565"));
        QVERIFY(!m_rig->sensors.eyeOne().displayConfig().firstGeneration);
    }

    // PELZORA_SIM_SENSOR comes from outside: any text is read without harm,
    // and text that is refused attaches nothing.
    void attachFromTextFuzz()
    {
        std::mt19937 random(23);
        const QString alphabet =
            QStringLiteral("i1d3munkidsplayprospyder2345none:=,+ makerfirmwareserialgen1v2.5\x00\u00e9");
        std::uniform_int_distribution<int> length(0, 40), pick(0, int(alphabet.size()) - 1);
        int accepted = 0;
        for (int i = 0; i < 5000; ++i) {
            QString text;
            const int n = length(random);
            for (int k = 0; k < n; ++k)
                text.append(alphabet.at(pick(random)));
            attachEveryFamily();
            if (m_rig->sensors.attachFromText(text))
                ++accepted;
            else
                QVERIFY2(attachedNames(m_rig->sensors).isEmpty(), qPrintable(text));
        }
        QVERIFY(accepted < 5000);
    }

    // What a PELZORA_SIMULATE=1 run installs: every family behind its seam,
    // the USB bus with the Spyders among them, noise on; all taken away again.
    void installedFromTheEnvironment()
    {
        m_rig.reset();
        IUsbBackend *usbBefore = &usbBackend();
        IEyeOneLibrary *eyeOneBefore = &eyeOneLibrary();
        ISpyder2Library *spyder2Before = &spyder2Library();
        qputenv("PELZORA_SIMULATE", "1");
        qunsetenv("PELZORA_SIM_SENSOR");
        {
            auto sim = SimDesktop::installFromEnvironment();
            QVERIFY(sim && sim->sensors() && sim->screenSampler());
            SimSensors &sensors = *sim->sensors();
            QCOMPARE(attachedNames(sensors), QStringList({"i1d3"}));
            QVERIFY(sensors.i1d3().automaticHand());
            QCOMPARE(&i1d3Library(), static_cast<II1d3Library *>(&sensors.i1d3()));
            QCOMPARE(&eyeOneLibrary(), static_cast<IEyeOneLibrary *>(&sensors.eyeOne()));
            QCOMPARE(&spyder2Library(), static_cast<ISpyder2Library *>(&sensors.spyder2()));
            QCOMPARE(&usbBackend(), static_cast<IUsbBackend *>(&sensors.spyderBus().usb()));
            QVERIFY(usbBackend().listDevices(SimSpyder::kVendorId).isEmpty());
            for (int family = 0; family < kFamilies; ++family)
                QVERIFY(sensors.noise(SimSensors::Family(family)).enabled());
        }
        QCOMPARE(i1d3Library().Initialize(), kI1d3LibraryMissing);
        QCOMPARE(&usbBackend(), usbBefore);
        QCOMPARE(&eyeOneLibrary(), eyeOneBefore);
        QCOMPARE(&spyder2Library(), spyder2Before);

        qputenv("PELZORA_SIM_SENSOR", "spyder4+munki+i1display:gen1=1");
        {
            auto sim = SimDesktop::installFromEnvironment();
            QCOMPARE(attachedNames(*sim->sensors()), QStringList({"munki", "i1display", "spyder4"}));
            QVERIFY(sim->sensors()->munki().automaticHand());
            QVERIFY(sim->sensors()->eyeOne().displayConfig().firstGeneration);
            const QVector<UsbDeviceInfo> usb = usbBackend().listDevices(SimSpyder::kVendorId);
            QCOMPARE(usb.size(), 1);
            QCOMPARE(usb.first().productId, SimSpyderBus::kSpyder4Product);
        }
        qputenv("PELZORA_SIM_SENSOR", "spyder3");
        {
            auto sim = SimDesktop::installFromEnvironment();
            const QVector<UsbDeviceInfo> usb = usbBackend().listDevices(SimSpyder::kVendorId);
            QCOMPARE(usb.size(), 1);
            QCOMPARE(usb.first().productId, SimSpyderBus::kSpyder3Product);
        }
        qputenv("PELZORA_SIM_SENSOR", "spyder7");
        {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("PELZORA_SIM_SENSOR"));
            auto sim = SimDesktop::installFromEnvironment();
            QCOMPARE(attachedNames(*sim->sensors()), QStringList());
        }
        qunsetenv("PELZORA_SIM_SENSOR");
        qunsetenv("PELZORA_SIMULATE");
    }
};

QTEST_MAIN(TestSimSensors)
#include "tst_simsensors.moc"
