#pragma once
// The program as main starts it, end to end: the controller and its windows
// on the simulated desktop (an HXSIM24 behind its USB bridge), the
// simulated i1 Display Pro reading what the windows show, on the virtual
// clock, in a temporary XDG home. stop() and start() again are a restart.

#include "AppGlobals.h"
#include "CalibrationSettingsFile.h"
#include "ApplicationWindows.h"
#include "Clock.h"
#include "FlowUser.h"
#include "HostSystem.h"
#include "MasterControl.h"
#include "ModalBox.h"
#include "PZ_Main_Dialog.h"
#include "SimDesktop.h"
#include "SimScreenSampler.h"
#include "SimSensors.h"
#include "StringResources.h"
#include "SystemFolders.h"

#include <QComboBox>
#include <QDirIterator>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace pz::test {

// The two records of a calibration-settings file as the writer lays them out.
inline QByteArray settingsBytes(const CTargetValue &target, const CAdjustValue &result)
{
    QByteArray bytes;
    QDataStream s(&bytes, QIODevice::WriteOnly);
    s.setVersion(QDataStream::Qt_4_6);
    writeCalibrationSettings(s, target, result);
    return bytes;
}

struct ProgramRig {
    ProgramRig() : clockScope(&clock), desktop(SimDesktop::demo())
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
        desktop->install();
        sampler = std::make_unique<SimScreenSampler>(*desktop);
        sensors = std::make_unique<SimSensors>(*desktop, sampler.get());
        sensors->attach(SimSensors::I1d3);
        setStartupWindows(&windows);
    }
    ~ProgramRig()
    {
        stop();
        setStartupWindows(nullptr);
        sensors.reset();
        sampler.reset();
        desktop->uninstall();
    }
    bool start(bool autoMode = false)
    {
        controller = std::make_unique<MasterControl>();
        pMasterControl = controller.get();
        QSignalSpy opened(controller.get(), &MasterControl::startup_complete);
        // The window's display check may end the start-up with its summary
        // (a monitor never calibrated): OK closes it before its 60 s.
        ModalBoxAnswer summary;
        summary.makeLastResort();
        controller->Startup(autoMode);
        return !opened.isEmpty() || opened.wait(60000);
    }
    void stop()
    {
        controller.reset();
        pMasterControl = nullptr;
    }
    PZ_Main_Dialog &window() const { return *p_PZ_Main_Dialog; }
    // The master-control data file (monitor list and tracker).
    QString dataFile() const
    {
        return home.filePath("config") + QLatin1Char('/') + GetStringResource(13);
    }

    QStringList filesNamed(const QString &pattern) const
    {
        QStringList found;
        QDirIterator it(home.path(), {pattern}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        found.sort();
        return found;
    }
    // Writes target into the targets folder and makes it the current one.
    bool useTarget(const CTargetValue &target)
    {
        if (target.WriteFile(GetTargetsFolder(true) + target.m_Name + QStringLiteral(".tgt")) != 0)
            return false;
        window().onCreateTargetList();
        return selectTarget(target.m_Name);
    }
    bool selectTarget(const QString &name)
    {
        QComboBox *list = window().main_Target_comboBox;
        list->setCurrentIndex(list->findText(name));
        return window().currentTarget().m_Name == name;
    }
    // One calibration through the Calibrate button; false when it did not
    // end calibrated.
    bool calibrateOnce()
    {
        FlowUser user;
        QTest::mouseClick(window().main_Calibrate__pushButton, Qt::LeftButton);
        return user.calibrationResult == QDialog::Accepted && window().calibrationResult().m_IsValid;
    }

    QTemporaryDir home;
    VirtualClock clock;
    ScopedClock clockScope;
    ScopedHostSystem host{platformHostSystem()};
    std::unique_ptr<SimDesktop> desktop;
    std::unique_ptr<SimScreenSampler> sampler;
    std::unique_ptr<SimSensors> sensors;
    ApplicationWindows windows;
    std::unique_ptr<MasterControl> controller;
};

} // namespace pz::test

#include "CalibrateThreadFactory.h"

namespace pz::test {

// A measuring run that ends at once without a valid result.
class InvalidRunThread : public CalibrateThread {
public:
    InvalidRunThread() : CalibrateThread(nullptr) {}
    ~InvalidRunThread() override { stopAndWait(); }
    void measure_display() override
    {
        m_AdjustValue.m_IsValid = false;
        emit CalibrationComplete();
    }
};

// Puts InvalidRunThread behind the calibration window for its lifetime.
struct InvalidRuns {
    ScopedCalibrateThreadFactory factory{
        [](CalibrateThreadKind) -> CalibrateThread * { return new InvalidRunThread; }};
};

} // namespace pz::test
