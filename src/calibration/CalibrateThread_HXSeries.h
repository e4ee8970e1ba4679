#pragma once
// Calibration of the HX series monitors, which carry their own colour
// engine: instead of adjusting RGB gains and loading a correction table, the
// target goes into the monitor's registers (white point, luminance, black
// level, gamut, tone curve), the monitor computes its own tables, and then
// the white-point and luminance registers are stepped until the sensor
// agrees with the target. Profile, validation and restore are the base
// class's.
//
// Register values are unsigned (paged codes: page << 8 | code); every batch
// goes through SetGetVCPList, which waits after each write as the monitor
// needs.

#include "CalibrateThread.h"

class CalibrateThread_HXSeries : public CalibrateThread {
    Q_OBJECT
public:
    // Paged VCP codes of the colour engine.
    enum : int {
        kRegColorPreset = 0x14,
        kRegWhiteX = 0x1052,
        kRegWhiteY = 0x1053,
        kRegBlackLevel = 0x1054,
        kRegRedX = 0x1055,   // to 0x105A: red x, y, green x, y, blue x, y
        kRegProcessing = 0x1067,
        kRegEngineInfo = 0x1068,
        kRegLuminanceFloor = 0x106F,
        kRegGammaMode = 0x268,
        kRegGammaValue = 0x2E8,
        kRegRedDrive = 0x27E,   // to 0x280
        kRegLuminance = 0x2B3,
        kRegAttainableLuminance = 0x2B4,
        kRegPanelInfo = 0x242,
    };
    // Values of the colour preset and processing registers.
    static constexpr uint kPresetNative = 2;
    static constexpr uint kPresetUser = 11;
    static constexpr uint kProcessingLoading = 3;
    static constexpr uint kProcessingStart = 1;
    // Luminance written for a target of maximum luminance before the monitor
    // says what it can give.
    static constexpr uint kMaximumLuminanceStart = 400;
    static constexpr double kWhiteTolerance = 0.0005;
    static constexpr double kLuminanceTolerance = 0.75;
    // A final white further than this from the target runs the pass again.
    static constexpr double kSecondPassDistance = 0.002;
    // The first reading of a calibration must reach this (cd/m²).
    static constexpr double kMinimumCalibrationWhite = 10.0;
    static constexpr int kTaskCount = 13;
    // The element of m_MonitorSpecificValues that keeps the black level.
    static constexpr int kBlackLevelElement = 8;

    explicit CalibrateThread_HXSeries(QObject *parent = nullptr);
    ~CalibrateThread_HXSeries() override;

    // Register arithmetic, each value clamped to what its register can hold.
    // A white-point register (thousandths of x or y, 0..1000).
    static uint WhiteRegister(double chromaticity);
    // The gamma register: (γ - 0.5) x 100 at one decimal of γ.
    static uint GammaRegister(double gamma);
    // The gamma the display follows once the register holds
    // GammaRegister(gamma): the target's gamma at the register's step.
    static double RegisterGamma(double gamma);
    // The black-level register: luminance x 10 / contrast ratio, rounded; 0
    // for a ratio of 0.
    static uint BlackLevelRegister(double luminance, int contrastRatio);
    // Seconds to let the panel settle when the luminance register stands at
    // `current` and the target is `target`: 20 s per whole multiple of the
    // target the register is above it, at most 120.
    static int ExtraSettleSeconds(double target, uint current);
    // One step of a white-point register for a measured error d (measured
    // minus target) while the direction has reversed at most twice.
    static uint WhiteStep(uint reg, double d);

    using CalibrateThread::AdjustLuminanceToTarget;

    int SetupMonitorForCalibration() override;
    void ResetAdjustmentCounters() override;
    int AdjustDisplayWhitePoint() override;
    void calibrate() override;
    // One step of the white-point controller: 1 call again, 0 done, -1011
    // after 99 steps, or a sensor or monitor code.
    virtual int AdjustWhitePointxy(_CIExy target, double tolerance);
    // One step of the luminance controller on the luminance register: 1,
    // 0, -1 (no target), -1005, -1012 (gave up; the run goes on), -1023
    // (the write failed), or a sensor code.
    virtual int AdjustLuminanceToTarget(double target, double tolerance);
    // The luminance the monitor can give when a channel drive stands at its
    // maximum, else -1 (also when a read fails).
    virtual int GetLimitingLuminanceIfLimitied();

    quint32 m_WhiteXRegister = 0;
    quint32 m_WhiteYRegister = 0;
    qint32 m_XUnchangedCount = 0;
    qint32 m_YUnchangedCount = 0;
    qint32 m_XDirection = 0;
    qint32 m_YDirection = 0;
    qint32 m_XReversals = 0;
    qint32 m_YReversals = 0;
    quint32 m_LuminanceFloor = 0;
    qint32 m_ExtraSettleSeconds = 0;

protected:
    // A white or luminance reading of two measurements, shown to the
    // window: 0, a sensor code, or -1004 for a reading without light or
    // without a chromaticity (sensor off the screen).
    int measureWhite(CCIEYxy &reading);
    // The luminance loop of a target of specific luminance: 0 to go on, or
    // the code that ends the run.
    int adjustLuminanceLevel();
    // The read-back of the engine's registers into the result: 0 or the
    // first failing element's code (nothing stored then).
    int readBackRegisters();
    // One pass: white point and luminance, save, measure.
    int calibrationPass();
    int finishCalibration();

private:
    // The x or y channel of one white-point step.
    struct Channel {
        qint32 &direction;
        qint32 &reversals;
    };
    static uint stepChannel(Channel channel, uint value, double d, double tolerance);
};
