// The display-profile seam and the Linux backend's X11 side. The seam, the
// profile check and the "no X server, no colour manager" path run
// everywhere; publishing on a real server runs on the program's own
// virtual one (TestXServer.h) and is skipped without one.

#include "DisplayProfiles.h"
#include "TestXServer.h"
#include "UnwrittenFifo.h"
#include "IccProfileFixture.h"
#include "LinuxDisplayProfiles.h"
#include "XRandRConnection.h"

#include <QDBusConnection>
#include <QTemporaryDir>
#include <QtTest>

using namespace pz;
using namespace pz::test;

namespace {

QByteArray testServer() { return pz::test::testXDisplay(); }

// A bus nobody listens on: the colour-manager step finds no service.
QDBusConnection noBus() { return QDBusConnection::connectToBus("unix:path=/nonexistent/pz-bus", "pz-none"); }

class RecordingProfiles : public IDisplayProfiles {
public:
    quint32 display = 0;
    QString path;
    int assign(quint32 displayId, const QString &p) override
    {
        display = displayId;
        path = p;
        return 0;
    }
};

} // namespace

class TestDisplayProfiles : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_profile;
    QByteArray m_bytes;

private slots:
    void initTestCase()
    {
        m_bytes = srgbProfileBytes();
        QVERIFY(!m_bytes.isEmpty());
        m_profile = m_dir.filePath("display.icc");
        QVERIFY(writeBytes(m_profile, m_bytes));
    }

    void theSeam()
    {
        QCOMPARE(displayProfiles().assign(1, m_profile), -2); // nothing installed
        RecordingProfiles recording;
        {
            ScopedDisplayProfiles scope(&recording);
            QCOMPARE(displayProfiles().assign(5, m_profile), 0);
            QCOMPARE(recording.display, 5u);
            QCOMPARE(recording.path, m_profile);
        }
        QCOMPARE(displayProfiles().assign(1, m_profile), -2);
    }

    void profileFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("readable");
        QTest::newRow("profile") << "good.icc" << m_bytes << true;
        QTest::newRow("not a profile") << "text.icc" << QByteArray("hello, world") << false;
        QTest::newRow("cut short") << "short.icc" << m_bytes.left(200) << false;
        QTest::newRow("empty") << "empty.icc" << QByteArray() << false;
        QTest::newRow("missing") << "" << QByteArray() << false;
    }
    void profileFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, readable);
        const QString path = name.isEmpty() ? m_dir.filePath("missing.icc") : m_dir.filePath(name);
        if (!name.isEmpty())
            QVERIFY(writeBytes(path, content));
        QByteArray read("stale");
        QCOMPARE(readIccProfileFile(path, read), readable);
        QCOMPARE(read, readable ? content : QByteArray());
    }

    // A name that is no regular file is refused without being opened.
    void profileThatIsNoFile_data()
    {
        QTest::addColumn<QString>("kind");
        for (const QString &kind : pz::test::notAFileKinds())
            QTest::newRow(qPrintable(kind)) << kind;
    }
    void profileThatIsNoFile()
    {
        QFETCH(QString, kind);
        const pz::test::NotAFile name(kind);
        if (name.path().isEmpty())
            QSKIP("this system cannot make one");
        QByteArray read("stale");
        QVERIFY(!readIccProfileFile(name.path(), read));
        QVERIFY(read.isEmpty());
        QVERIFY(!name.wasOpened());
    }

    void noXServerAndNoColorManager()
    {
        const QByteArray display = qgetenv("DISPLAY");
        qunsetenv("DISPLAY");
        auto x = std::make_shared<XRandRConnection>();
        if (!display.isEmpty())
            qputenv("DISPLAY", display);
        QVERIFY(!x->isAvailable());
        LinuxDisplayProfiles profiles(x, noBus());
        QCOMPARE(profiles.assign(1, m_profile), -2);
        QCOMPARE(profiles.assign(1, m_dir.filePath("missing.icc")), -1);
        QCOMPARE(x->monitorIndexAt(QRect(0, 0, 10, 10)), -1);
        QVERIFY(!x->setRootProperty("_PZ_TEST", "x"));
        QVERIFY(x->rootProperty("_PZ_TEST").isEmpty());
    }

    void publishedOnTheXServer()
    {
        if (testServer().isEmpty())
            QSKIP("no X server for tests (no Xvfb, PZ_TEST_X_DISPLAY not set)");
        auto x = std::make_shared<XRandRConnection>(testServer());
        QVector<XRandROutput> outputs;
        QVERIFY(x->activeOutputs(outputs));
        QVERIFY(!outputs.isEmpty());
        const XRandROutput output = outputs.first();
        QCOMPARE(x->monitorIndexAt(output.bounds), 0);
        QCOMPARE(x->monitorIndexAt(output.bounds.adjusted(0, 0, -1, 0)), -1);

        LinuxDisplayProfiles profiles(x, noBus());
        QCOMPARE(profiles.assign(output.id, m_profile), 0);
        QCOMPARE(x->rootProperty("_ICC_PROFILE"), m_bytes);
        QCOMPARE(x->outputProperty(output.id, "_ICC_PROFILE"), m_bytes);
        QCOMPARE(x->rootProperty("_ICC_PROFILE_IN_X_VERSION"), QByteArray(1, '\x04'));

        // A display that is not an output of this server, and a file that
        // is no profile, change nothing.
        QCOMPARE(profiles.assign(output.id + 1000, m_profile), -2);
        QCOMPARE(profiles.assign(output.id, m_dir.filePath("missing.icc")), -1);
        QCOMPARE(x->rootProperty("_ICC_PROFILE"), m_bytes);

        QVERIFY(x->setRootProperty("_ICC_PROFILE", QByteArray()));
        QVERIFY(x->setRootProperty("_ICC_PROFILE_IN_X_VERSION", QByteArray()));
        QVERIFY(x->setOutputProperty(output.id, "_ICC_PROFILE", QByteArray()));
        QVERIFY(x->rootProperty("_ICC_PROFILE").isEmpty());
        QVERIFY(x->outputProperty(output.id, "_ICC_PROFILE").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDisplayProfiles)
#include "tst_displayprofiles.moc"
