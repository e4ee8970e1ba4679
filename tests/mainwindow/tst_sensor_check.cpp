// The sensor check after start-up: the sensor makers' utilities (copies of
// sleep named like them, in other letter cases too) are offered to be
// ended, the sensor is looked for again after each one ended and after each
// Retry, and the Spyder utilities are only looked for with a Spyder-family
// sensor.

#include "MainWindowRig.h"
#include "ModalBox.h"
#include "SimSensors.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>
#include <functional>

using namespace pz;
using namespace pz::test;

namespace {

// Answers every question box in turn from a script (No, or Cancel, once the
// script is used up) and keeps which texts it saw.
class ScriptedAnswers : public ModalAnswerer {
public:
    explicit ScriptedAnswers(std::deque<QMessageBox::StandardButton> script)
        : m_script(std::move(script))
    {
    }
    QList<unsigned> ids;
    // Per box: whether Yes (or Retry) was its default button.
    QList<bool> defaults;
    // Runs before the box with that index is answered.
    std::function<void(int)> beforeAnswer;

protected:
    bool takes(QWidget &modal) override { return qobject_cast<QMessageBox *>(&modal); }
    void answer(QWidget &modal, bool first) override
    {
        if (!first)
            return;
        auto *box = qobject_cast<QMessageBox *>(&modal);
        unsigned id = 0;
        for (unsigned candidate : {106u, 704u, 705u, 706u})
            if (box->text() == GetStringResource(candidate))
                id = candidate;
        ids << id;
        if (beforeAnswer)
            beforeAnswer(ids.size() - 1);
        QMessageBox::StandardButton answer = QMessageBox::NoButton;
        if (!m_script.empty()) {
            answer = m_script.front();
            m_script.pop_front();
        }
        QAbstractButton *button = box->button(answer);
        if (!button)
            button = box->button(QMessageBox::No) ? box->button(QMessageBox::No)
                                                 : box->button(QMessageBox::Cancel);
        defaults << (box->defaultButton() == box->button(QMessageBox::Yes)
                       || box->defaultButton() == box->button(QMessageBox::Retry));
        button->click();
    }
private:
    std::deque<QMessageBox::StandardButton> m_script;
};

enum SensorAtStart { NoSensor, I1d3Sensor, SpyderSensor };

struct SensorCheckRig : MainWindowRig {
    std::unique_ptr<SimSensors> sensors;
    SensorCheckRig()
    {
        sensors = std::make_unique<SimSensors>(*desktop);
        open();
    }
    ~SensorCheckRig()
    {
        controller->GetTargetSensor()->SelectType(CTargetSensor::kSensorNone);
        sensors.reset();
    }
};

} // namespace

Q_DECLARE_METATYPE(SensorAtStart)
using Answers = QList<int>;
using Ids = QList<unsigned>;

class TestSensorCheck : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initResources();
        Q_INIT_RESOURCE(sensors);
    }

    void check_data()
    {
        QTest::addColumn<SensorAtStart>("sensor");
        QTest::addColumn<QStringList>("running");      // process names started
        QTest::addColumn<Answers>("answers");          // in the order asked
        QTest::addColumn<bool>("plugInOnFirstYes");    // the sensor comes free
        QTest::addColumn<Ids>("asked");
        QTest::addColumn<QStringList>("ended");
        QTest::addColumn<int>("detections");
        const int yes = QMessageBox::Yes, no = QMessageBox::No;
        const int retry = QMessageBox::Retry, cancel = QMessageBox::Cancel;

        QTest::newRow("sensor found, ColorMunki service running")
            << I1d3Sensor << QStringList{"colormunki"} << Answers{} << false << Ids{}
            << QStringList{} << 0;
        QTest::newRow("no sensor, nothing running, retry twice")
            << NoSensor << QStringList{} << Answers{retry, retry, cancel} << false
            << Ids{106, 106, 106} << QStringList{} << 2;
        QTest::newRow("no sensor, both utilities ended, sensor freed")
            << NoSensor << QStringList{"COLORMUNKI", "i1profilertray"} << Answers{yes, yes} << true
            << Ids{705, 706} << QStringList{"COLORMUNKI", "i1profilertray"} << 4;
        QTest::newRow("no sensor, both utilities kept")
            << NoSensor << QStringList{"Colormunki", "I1PROFILERTRAY"} << Answers{no, no, cancel}
            << false << Ids{705, 706, 106} << QStringList{} << 0;
        QTest::newRow("sensor found, profiler tray ended")
            << I1d3Sensor << QStringList{"i1ProfilerTray", "Colormunki"} << Answers{yes} << false
            << Ids{706} << QStringList{"i1ProfilerTray"} << 2;
        QTest::newRow("Spyder, second utility ended")
            << SpyderSensor << QStringList{"spyderutility"} << Answers{yes} << false << Ids{704}
            << QStringList{"spyderutility"} << 0;
        QTest::newRow("Spyder, both utilities kept")
            << SpyderSensor << QStringList{"Spyder3Utility", "SPYDERUTILITY"} << Answers{no, no}
            << false << Ids{704, 704} << QStringList{} << 0;
        QTest::newRow("Spyder, first utility ended")
            << SpyderSensor << QStringList{"spyder3utility", "SpyderUtility"} << Answers{yes, no}
            << false << Ids{704, 704} << QStringList{"spyder3utility"} << 0;
        QTest::newRow("other sensor, Spyder utilities running")
            << I1d3Sensor << QStringList{"Spyder3Utility", "SpyderUtility"} << Answers{} << false
            << Ids{} << QStringList{} << 0;
    }
    void check()
    {
        QFETCH(SensorAtStart, sensor);
        QFETCH(QStringList, running);
        QFETCH(Answers, answers);
        QFETCH(bool, plugInOnFirstYes);
        QFETCH(Ids, asked);
        QFETCH(QStringList, ended);
        QFETCH(int, detections);

        SensorCheckRig rig;
        CTargetSensor *selector = rig.controller->GetTargetSensor();
        if (sensor != NoSensor) {
            rig.sensors->attach(sensor == SpyderSensor ? SimSensors::Spyder3 : SimSensors::I1d3);
            QVERIFY(selector->AutoSelect());
            rig.window->updateControlsStatus();
            QCOMPARE(selector->m_CurrentType == CTargetSensor::kSensorSpyder, sensor == SpyderSensor);
        } else {
            QVERIFY(!selector->AutoSelect());
        }

        QTemporaryDir dir;
        QList<QProcess *> children;
        for (const QString &name : running) {
            const QString program = dir.filePath(name);
            QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), program));
            auto *child = new QProcess(this);
            child->start(program, {QStringLiteral("60")});
            QVERIFY(child->waitForStarted());
            children << child;
        }

        std::deque<QMessageBox::StandardButton> script;
        for (int a : answers)
            script.push_back(QMessageBox::StandardButton(a));
        ScriptedAnswers user(std::move(script));
        bool plugged = false;
        user.beforeAnswer = [&](int index) {
            if (plugInOnFirstYes && !plugged && answers.value(index) == QMessageBox::Yes) {
                rig.sensors->attach(SimSensors::I1d3);
                plugged = true;
            }
        };
        QSignalSpy detected(selector, &CTargetSensor::sensorDetectionComplete);
        emit rig.controller->start_check_calibration_sensor();

        QCOMPARE(user.ids, asked);
        QVERIFY(!user.defaults.contains(false));
        QCOMPARE(detected.size(), detections);
        for (int i = 0; i < running.size(); ++i) {
            QProcess *child = children.at(i);
            // It may have ended while a question was open.
            const bool wasEnded = child->state() == QProcess::NotRunning
                                  || child->waitForFinished(ended.contains(running.at(i)) ? 5000 : 50);
            QVERIFY2(wasEnded == ended.contains(running.at(i)), qPrintable(running.at(i)));
        }
        for (QProcess *child : children) {
            child->kill();
            child->waitForFinished(5000);
        }
        // The menu follows the sensor found.
        QCOMPARE(rig.window->action_Generate_ICC_Profile->isEnabled(), selector->m_pCurrentSensor != nullptr);
    }
};

QTEST_MAIN(TestSensorCheck)
#include "tst_sensor_check.moc"
