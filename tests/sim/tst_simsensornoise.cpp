// The seeded measurement noise of a simulated sensor: off until switched
// on, its figures, the same sequence for the same seed, the environment's
// switch and seed, and the saturation figure.

#include "SimLightChecks.h"
#include "SimSensorNoise.h"

#include <QtTest>
#include <cmath>

using namespace pz;
using test::near;
using test::sameXYZ;

namespace {

// Mean and standard deviation of Y over n noisy readings of one light.
void statistics(SimSensorNoise &noise, const SimXYZ &light, int n, double &mean, double &sd)
{
    double sum = 0, sumSquares = 0;
    for (int i = 0; i < n; ++i) {
        const double y = noise.emissive(light).Y;
        sum += y;
        sumSquares += y * y;
    }
    mean = sum / n;
    sd = std::sqrt(std::max(0.0, (sumSquares - n * mean * mean) / (n - 1)));
}

const SimSensorFigures kFigures = [] {
    SimSensorFigures f;
    f.relativeNoise = 0.003;
    f.noiseFloor = 0.03;
    return f;
}();

// Sets an environment variable for a scope, restoring what was there.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const QByteArray &value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace

class TestSimSensorNoise : public QObject {
    Q_OBJECT
private slots:
    void noiseIsOffUntilSwitchedOn()
    {
        SimSensorNoise noise(kFigures);
        QVERIFY(!noise.enabled());
        const SimXYZ white{95.047, 100.0, 108.883};
        QVERIFY(sameXYZ(noise.emissive(white), white));
        QCOMPARE(noise.ambientLux(40.0), 40.0);
    }

    void noiseFigures()
    {
        SimSensorNoise noise(kFigures, 11);
        noise.setEnabled(true);
        double mean = 0, sd = 0;
        statistics(noise, SimXYZ{95.047, 100.0, 108.883}, 200, mean, sd);
        QVERIFY2(sd / mean > 0.001 && sd / mean < 0.005, qPrintable(QString::number(sd / mean)));
        QVERIFY(near(mean, 100.0, 0.1));
        const double relativeWhite = sd / mean;

        // The floor makes dim readings relatively noisier.
        statistics(noise, SimXYZ{0.475, 0.5, 0.544}, 200, mean, sd);
        QVERIFY2(sd / 0.5 > 4 * relativeWhite, qPrintable(QString::number(sd / 0.5)));

        // A lifted sensor: nothing but the floor.
        statistics(noise, SimXYZ(), 200, mean, sd);
        QVERIFY(near(mean, 0.0, 0.01));
        QVERIFY(sd > 0.02 && sd < 0.04);

        // Each component gets its own draw.
        const SimXYZ grey = noise.emissive(SimXYZ{50, 50, 50});
        QVERIFY(grey.X != grey.Y && grey.Y != grey.Z);

        // The room light: 1 % and 0.5 lux.
        double sum = 0, sumSquares = 0;
        for (int i = 0; i < 400; ++i) {
            const double lux = noise.ambientLux(1000.0);
            sum += lux;
            sumSquares += lux * lux;
        }
        const double luxMean = sum / 400;
        const double luxSd = std::sqrt((sumSquares - 400 * luxMean * luxMean) / 399);
        QVERIFY2(luxSd / luxMean > 0.007 && luxSd / luxMean < 0.013, qPrintable(QString::number(luxSd)));
    }

    void sameSeedSameSequence()
    {
        SimSensorNoise a(kFigures, 42), b(kFigures, 42), c(kFigures, 43);
        a.setEnabled(true);
        b.setEnabled(true);
        c.setEnabled(true);
        bool differs = false;
        for (int i = 0; i < 20; ++i) {
            const SimXYZ light{i * 10.0, i * 11.0, i * 12.0};
            const SimXYZ va = a.emissive(light), vb = b.emissive(light), vc = c.emissive(light);
            QVERIFY(sameXYZ(va, vb));
            differs = differs || !sameXYZ(va, vc);
            QCOMPARE(a.ambientLux(i), b.ambientLux(i));
        }
        QVERIFY(differs);
        // Reseeding starts the sequence again.
        a.setSeed(42);
        SimSensorNoise fresh(kFigures, 42);
        fresh.setEnabled(true);
        QVERIFY(sameXYZ(a.emissive(SimXYZ{1, 2, 3}), fresh.emissive(SimXYZ{1, 2, 3})));
    }

    void noiseFromEnvironment_data()
    {
        QTest::addColumn<QByteArray>("simulate");
        QTest::addColumn<QByteArray>("noiseVar");
        QTest::addColumn<QByteArray>("seedVar");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<quint32>("seed");
        QTest::newRow("not simulating") << QByteArray() << QByteArray() << QByteArray("5") << false << 5u;
        QTest::newRow("simulating") << QByteArray("1") << QByteArray() << QByteArray() << true << 1u;
        QTest::newRow("seed 5") << QByteArray("1") << QByteArray() << QByteArray("5") << true << 5u;
        QTest::newRow("noise 0") << QByteArray("1") << QByteArray("0") << QByteArray() << false << 1u;
        QTest::newRow("noise 1") << QByteArray("1") << QByteArray("1") << QByteArray() << true << 1u;
    }
    void noiseFromEnvironment()
    {
        QFETCH(QByteArray, simulate);
        QFETCH(QByteArray, noiseVar);
        QFETCH(QByteArray, seedVar);
        QFETCH(bool, enabled);
        QFETCH(quint32, seed);
        ScopedEnv a("PELZORA_SIMULATE", simulate);
        ScopedEnv b("PELZORA_SIM_NOISE", noiseVar);
        ScopedEnv c("PELZORA_SIM_SEED", seedVar);

        SimSensorNoise noise(kFigures, 999);
        noise.configureFromEnvironment();
        QCOMPARE(noise.enabled(), enabled);
        // Whatever the switch, the seed is the environment's.
        noise.setEnabled(true);
        SimSensorNoise expected(kFigures, seed);
        expected.setEnabled(true);
        QVERIFY(sameXYZ(noise.emissive(SimXYZ{100, 100, 100}), expected.emissive(SimXYZ{100, 100, 100})));
    }

    void saturation()
    {
        SimSensorFigures f;
        QVERIFY(!f.overRange(SimXYZ{1e9, 1e9, 1e9}));
        f.saturationLuminance = 2000.0;
        QVERIFY(!f.overRange(SimXYZ{1900, 2000.0, 2100}));
        QVERIFY(f.overRange(SimXYZ{1900, 2000.1, 2100}));
    }

};

QTEST_GUILESS_MAIN(TestSimSensorNoise)
#include "tst_simsensornoise.moc"
