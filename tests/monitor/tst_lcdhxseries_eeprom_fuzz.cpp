// The HX series reads records the monitor keeps in its EEPROM: the native
// primaries, the sensor-correction slots, the profile-id table and the
// luminance record. Whatever those bytes hold (seeded random and mutated
// contents), the readers give sane values or a clear error, and the
// profile-id table stays consistent after an update.

#include "CDDCMonitor_LCDHXSeries.h"
#include "SeriesRig.h"

#include <QtTest>
#include <cmath>
#include <random>

using namespace pz;
using namespace pz::test;

namespace {

using HXRig = SeriesRig<CDDCMonitor_LCDHXSeries>;

// Random bytes, with the values that matter to the readers (0, 0xFF, small
// counts, the largest counts) more often than chance gives them.
QByteArray fuzzBytes(std::mt19937 &rng, int length)
{
    static const quint8 edges[] = {0x00, 0xFF, 0x01, 0x0A, 0x0B, 0x09, 0x80, 0x7F};
    QByteArray out(length, 0);
    for (int i = 0; i < length; ++i) {
        const quint32 r = rng();
        out[i] = char(r % 3 == 0 ? edges[(r >> 8) % 8] : quint8(r >> 16));
    }
    return out;
}

} // namespace

class TestLCDHXSeriesEepromFuzz : public QObject {
    Q_OBJECT

private slots:
    void randomRecords();
};

void TestLCDHXSeriesEepromFuzz::randomRecords()
{
    HXRig rig;
    QCOMPARE(rig.connect(), 0);
    std::mt19937 rng(20261210);

    for (int round = 0; round < 150; ++round) {
        rig.sim().setEeprom(0x8800, fuzzBytes(rng, 48));
        rig.sim().setEeprom(0x8F30, fuzzBytes(rng, 16));
        rig.sim().setEeprom(0xFA10, fuzzBytes(rng, 5 * 48));
        QByteArray profiles = fuzzBytes(rng, 3 + 60);
        if (round % 2 == 0)
            profiles[0] = char(1);   // an initialised table, whatever its count
        rig.sim().setEeprom(0xFF10, profiles);
        rig.clearLogs();

        color_primaries p;
        QCOMPARE(rig.monitor.GetNativePrimaries(&p), 0);
        QVERIFY(p.valid);
        for (quint16 v : {p.redX, p.redY, p.greenX, p.greenY, p.blueX, p.blueY})
            QVERIFY(v <= 1000);

        double luminance = -1.0;
        const int lum = rig.monitor.ReadLuminanceKrstValue(luminance);
        QVERIFY(lum == 0 || lum == -1);
        QVERIFY(lum != 0 || (std::isfinite(luminance) && luminance >= 0.0));

        QList<color_sensor_eeprom_data_table_entry> table;
        QCOMPARE(rig.monitor.ReadColorSensorEEPROMTable(table), 0);
        QCOMPARE(table.size(), 5);
        const color_sensor_eeprom_data_table_entry &probe = table[int(rng() % 5)];
        const QString serial = QString::fromLatin1(probe.serial, int(qstrnlen(probe.serial, 12)));
        double matrix[9];
        const int slot = rig.monitor.GetColorSensorCorrectionMatrix(probe.sensorType,
                                                                   probe.sensorModel, serial, matrix);
        QVERIFY(slot >= -1 && slot <= 4);
        for (double m : matrix)
            QVERIFY(std::isfinite(m) && std::fabs(m) <= 3.2768);
        const int location = rig.monitor.find_color_sensor_eeprom_location(
            table, quint16(rng()), quint16(rng()), QStringLiteral("FUZZ"));
        QVERIFY(location >= 0 && location <= 4);

        // The profile table after an update: initialised, a count the table
        // holds, and the record for the current key pair within it.
        const quint16 key1 = quint16(1 + rng() % 10), key2 = quint16(1 + rng() % 10);
        rig.sim().setRegister(0x1050, key1);
        rig.sim().setRegister(0x1051, key2);
        const quint32 id = rng();
        QCOMPARE(rig.monitor.UpdateEEPROMProfileID(id), 0);
        const QByteArray after = rig.sim().eeprom(0xFF10, 3 + 60);
        QVERIFY(quint8(after[0]) != 0 && quint8(after[0]) != 0xFF);
        QCOMPARE(quint8(after[1]), quint8(1));
        const int count = quint8(after[2]);
        QVERIFY(count >= 1 && count <= 10);
        // The first record with the key pair (a damaged table may hold more).
        int found = -1;
        for (int r = 0; r < count && found < 0; ++r)
            if (quint8(after[3 + 6 * r]) == key1 && quint8(after[4 + 6 * r]) == key2)
                found = r;
        QVERIFY(found >= 0);
        const QByteArray rec = after.mid(3 + 6 * found, 6);
        const quint32 stored = quint32(quint8(rec[2])) << 24 | quint32(quint8(rec[3])) << 16
                             | quint32(quint8(rec[4])) << 8 | quint8(rec[5]);
        QCOMPARE(stored, id);
    }
}

QTEST_GUILESS_MAIN(TestLCDHXSeriesEepromFuzz)
#include "tst_lcdhxseries_eeprom_fuzz.moc"
