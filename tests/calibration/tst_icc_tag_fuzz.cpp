// Damaged and random 'vcgt' and 'mmod' elements under the sanitizers: Read
// never reads past what it is given, never takes memory for a table the
// element cannot hold, and whatever it accepts writes back as it was read.

#include "CIccIO.h"
#include "CIccTagmmod.h"
#include "CIccTagvcgt.h"
#include "TestSupport.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

constexpr int kRounds = 20000;

QByteArray identityVcgt()
{
    QByteArray e = pz::test::hex("76636774 00000000 00000000 0003 0100 0001");
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 256; ++i)
            e.append(char(i));
    return e;
}

// Flips, overwrites, cuts or extends a seed element.
QByteArray mutate(QByteArray bytes, QRandomGenerator &random)
{
    const int edits = 1 + random.bounded(4);
    for (int e = 0; e < edits; ++e) {
        switch (random.bounded(4)) {
        case 0:
            if (!bytes.isEmpty())
                bytes[random.bounded(int(bytes.size()))] ^= char(1 << random.bounded(8));
            break;
        case 1: // the header fields are where the trouble is
            if (bytes.size() > 18)
                bytes[random.bounded(18)] = char(random.bounded(256));
            break;
        case 2:
            bytes.truncate(random.bounded(int(bytes.size()) + 1));
            break;
        default:
            bytes.append(QByteArray(random.bounded(64), char(random.bounded(256))));
            break;
        }
    }
    return bytes;
}

// The element size a tag table would claim: usually the truth, sometimes not.
long claimedSize(const QByteArray &bytes, QRandomGenerator &random)
{
    switch (random.bounded(4)) {
    case 0:
        return long(random.generate());
    case 1:
        return random.bounded(int(bytes.size()) + 1);
    default:
        return bytes.size();
    }
}

} // namespace

class TestIccTagFuzz : public QObject {
    Q_OBJECT
private slots:
    void vcgtRead()
    {
        QRandomGenerator random(0x76636774);
        const QByteArray seeds[] = {identityVcgt(),
                                    pz::test::hex("76636774 00000000 00000000 0002 0002 0002"
                                                  "0102 0304 0506 0708")};
        int accepted = 0;
        for (int round = 0; round < kRounds; ++round) {
            const QByteArray element = mutate(seeds[round % 2], random);
            const long size = claimedSize(element, random);
            CIccMemIO in(element);
            CIccTagvcgt tag;
            if (!tag.Read(size, &in))
                continue;
            ++accepted;
            CIccMemIO out;
            QVERIFY(tag.Write(&out));
            // Everything after the signature comes back as it was read.
            QVERIFY(out.bytes().size() <= element.size());
            QVERIFY(out.bytes().size() <= size);
            QCOMPARE(out.bytes().mid(4), element.mid(4, out.bytes().size() - 4));
        }
        QVERIFY(accepted > 0);
    }

    void mmodRead()
    {
        QRandomGenerator random(0x6D6D6F64);
        const QByteArray seed = pz::test::hex("6D6D6F64 00000000 00003E56 00001234 00000000"
                                              "00000000 00000000 00000000 00000000 00000000");
        int accepted = 0;
        for (int round = 0; round < kRounds; ++round) {
            const QByteArray element = mutate(seed, random);
            const long size = claimedSize(element, random);
            CIccMemIO in(element);
            CIccTagmmod tag;
            if (!tag.Read(size, &in))
                continue;
            ++accepted;
            QVERIFY(size >= 40);
            CIccMemIO out;
            QVERIFY(tag.Write(&out));
            QCOMPARE(out.bytes().size(), 40);
            QCOMPARE(out.bytes().mid(4), element.mid(4, 36));
        }
        QVERIFY(accepted > 0);
    }

    void randomBytes()
    {
        QRandomGenerator random(42);
        for (int round = 0; round < kRounds; ++round) {
            QByteArray bytes(random.bounded(80), '\0');
            for (char &b : bytes)
                b = char(random.bounded(256));
            CIccMemIO a(bytes), b(bytes);
            CIccTagvcgt vcgt;
            CIccTagmmod mmod;
            vcgt.Read(claimedSize(bytes, random), &a);
            mmod.Read(claimedSize(bytes, random), &b);
        }
    }
};

QTEST_GUILESS_MAIN(TestIccTagFuzz)
#include "tst_icc_tag_fuzz.moc"
