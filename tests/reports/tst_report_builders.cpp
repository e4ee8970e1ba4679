// The report's texts and graph data, worked out without widgets.

#include "GraphReports.h"
#include "ReportFixture.h"
#include "SummaryReport.h"
#include "SummaryText.h"

#include "CColorCalcUtils.h"

#include <QLocale>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace pz::test;

namespace {

const QString kNA = QStringLiteral("N/A");
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Y = 100 at the chromaticity x, y.
CCIEXYZ whiteAt(double x, double y, double Y = 100.0)
{
    return CCIEXYZ(x / y * Y, Y, (1 - x - y) / y * Y);
}

struct Summary {
    CTargetValue target = gammaTarget();
    CAdjustValue result;
    SummaryInputs in;

    CColorValue &m() { return result.m_ColorValue; }
    SummaryView build(ReportFlavor flavor = ReportFlavor::InformationWindow)
    {
        in.target = &target;
        in.result = &result;
        in.flavor = flavor;
        return buildSummary(in);
    }
};

QString text(const SummaryView &v, SummaryField f)
{
    return v.texts[f];
}

} // namespace

class TestReportBuilders : public QObject {
    Q_OBJECT

private slots:
    void kelvinAndChromaticity_data()
    {
        QTest::addColumn<int>("kelvin");
        QTest::addColumn<QString>("shown");
        QTest::newRow("6500 K") << 6500 << QStringLiteral("      6500 K");
        QTest::newRow("10000 K") << 10000 << QStringLiteral("     10000 K");
    }
    void kelvinAndChromaticity()
    {
        QFETCH(int, kelvin);
        QFETCH(QString, shown);
        Summary s;
        s.target.m_WhitePoint = CColorTemperature(static_cast<unsigned short>(kelvin));
        s.m().m_FinalPatches[CColorValue::kWhitePatch] = whiteAt(0.31272, 0.32902);
        const SummaryView v = s.build();
        QCOMPARE(text(v, kWhitePointTargetK), shown);
        QCOMPARE(text(v, kWhitePointTargetXy),
                 QStringLiteral("( %1 , %2 )")
                     .arg(s.target.m_WhitePoint.m_CIExy.x, 0, 'f', 3)
                     .arg(s.target.m_WhitePoint.m_CIExy.y, 0, 'f', 3));
        QCOMPARE(text(v, kWhitePointCalibratedXy), QStringLiteral("( 0.313 , 0.329 )"));
        const unsigned measured = whiteAt(0.31272, 0.32902).GetTemperature();
        QVERIFY(measured > 6000 && measured < 7000);
        QCOMPARE(text(v, kWhitePointCalibratedK), QStringLiteral("      %1 K").arg(measured));
        QVERIFY(v.targetWhiteShown);
        QVERIFY(v.targetWhiteBox);
    }

    void luminanceAndContrast_data()
    {
        QTest::addColumn<double>("white");
        QTest::addColumn<double>("black");
        QTest::addColumn<QString>("ratio");
        QTest::addColumn<QString>("intensity");
        QTest::addColumn<QString>("blackLevel");
        const QString unit = QString::fromUtf8(" cd/m²");
        QTest::newRow("160/0.2") << 160.0 << 0.2 << "800:1" << "160.0" + unit << "0.20" + unit;
        QTest::newRow("160/0.05") << 160.0 << 0.05 << "3200:1" << "160.0" + unit << "0.050" + unit;
        QTest::newRow("black 0") << 160.0 << 0.0 << kNA << "160.0" + unit << kNA;
        QTest::newRow("nothing") << 0.0 << 0.0 << kNA << kNA << kNA;
        QTest::newRow("white not finite") << kNaN << 0.2 << kNA << kNA << "0.20" + unit;
        // From 1 cd/m² up the black level still has two decimals.
        QTest::newRow("160/1.5") << 160.0 << 1.5 << "107:1" << "160.0" + unit << "1.50" + unit;
        QTest::newRow("160/12") << 160.0 << 12.0 << "13:1" << "160.0" + unit << "12.00" + unit;
    }
    void luminanceAndContrast()
    {
        QFETCH(double, white);
        QFETCH(double, black);
        Summary s;
        s.m().m_FinalPatches[CColorValue::kWhitePatch] = CCIEXYZ(0.95 * white, white, 1.09 * white);
        s.m().m_FinalPatches[CColorValue::kBlackPatch] = CCIEXYZ(0.95 * black, black, 1.09 * black);
        const SummaryView v = s.build();
        QTEST(text(v, kContrastRatioCalibrated), "ratio");
        QTEST(text(v, kIntensityCalibrated), "intensity");
        QTEST(text(v, kBlackLevelCalibrated), "blackLevel");
    }

    void deltaEText_data()
    {
        QTest::addColumn<double>("deltaE");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("warning");
        QTest::newRow("3.004") << 3.004 << "3.00" << true;
        QTest::newRow("3.0") << 3.0 << "3.00" << false;
        QTest::newRow("0.456") << 0.456 << "0.46" << false;
        QTest::newRow("not a number") << kNaN << kNA << false;
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << kNA << false;
    }
    void deltaEText()
    {
        QFETCH(double, deltaE);
        QFETCH(bool, warning);
        bool got = !warning;
        QTEST(whitePointDeltaEText(deltaE, got), "shown");
        QCOMPARE(got, warning);
    }

    // The measured white against the target: far off shows the sign, a
    // native target computes nothing and gives the graph no white.
    void whitePointDifference()
    {
        Summary s;
        s.m().m_FinalPatches[CColorValue::kWhitePatch] = whiteAt(0.28, 0.29, 160.0);
        SummaryView v = s.build();
        QVERIFY(v.deltaEWarning);
        QVERIFY(text(v, kWhitePointDeltaE) != kNA);
        QVERIFY(text(v, kWhitePointDeltaE).toDouble() > 3.0);

        s.target.m_WhitePoint = CColorTemperature(_CIExy{0.3, 0.31});
        s.target.m_WhitePoint.m_Native = true;
        v = s.build();
        QCOMPARE(text(v, kWhitePointTargetK), kNA);
        QCOMPARE(text(v, kWhitePointTargetXy), kNA);
        QCOMPARE(text(v, kWhitePointDeltaE), kNA);
        QVERIFY(!v.deltaEWarning);
        QVERIFY(!v.targetWhiteShown);
        QCOMPARE(v.targetWhite.x, 0.3);
        QCOMPARE(v.targetWhite.y, 0.31);
        QVERIFY(!v.targetWhiteBox);
    }

    void usageHours_data()
    {
        QTest::addColumn<double>("now");
        QTest::addColumn<double>("then");
        QTest::addColumn<QString>("usage");
        QTest::addColumn<QString>("since");
        QTest::newRow("later") << 534.56 << 500.0 << "534.6 hours usage" << "34.6 hours usage ago";
        QTest::newRow("earlier") << 500.0 << 534.56 << "500.0 hours usage" << kNA;
        QTest::newRow("not recorded") << 500.0 << 0.0 << "500.0 hours usage" << kNA;
        QTest::newRow("unknown now") << -1.0 << 500.0 << kNA << kNA;
        QTest::newRow("same") << 500.0 << 500.0 << "500.0 hours usage" << "0.0 hours usage ago";
    }
    void usageHours()
    {
        QFETCH(double, now);
        QFETCH(double, then);
        Summary s;
        s.in.live.present = true;
        s.in.live.hours = now;
        s.result.SetIsHoursOnWhenCalibrated(then);
        SummaryView v = s.build();
        QTEST(text(v, kCurrentUsage), "usage");
        QTEST(text(v, kLastCalibration), "since");

        // The browser: the same from its snapshot, for a result of its monitor.
        s.result.m_MonitorVendorProductID = 0x1234;
        s.result.SetMonitorSerial(QStringLiteral("abc1"));
        s.in.snapshot = {0x1234, QStringLiteral("ABC1"), QStringLiteral("2.0.1"), now};
        v = s.build(ReportFlavor::Browser);
        QTEST(text(v, kCurrentUsage), "usage");
        QTEST(text(v, kLastCalibration), "since");
    }

    void monitorIdentity()
    {
        Summary s;
        s.result.SetMonitorName(QStringLiteral("HXSIM24"));
        s.result.SetMonitorSerial(QStringLiteral("SIM0001"));
        s.result.m_MonitorVendorProductID = 0x3E5A2401;
        s.result.SetIsHoursOnWhenCalibrated(100.0);

        // Information window without a monitor.
        SummaryView v = s.build();
        for (SummaryField f : {kModelName, kSerialNumber, kFirmwareVersion, kCurrentUsage, kLastCalibration})
            QCOMPARE(text(v, f), kNA);

        // A monitor that reports an empty firmware text.
        s.in.live.present = true;
        s.in.live.modelName = QStringLiteral("LIVE24");
        s.in.live.serial = QStringLiteral("L0001");
        v = s.build();
        QCOMPARE(text(v, kModelName), QStringLiteral("LIVE24"));
        QCOMPARE(text(v, kSerialNumber), QStringLiteral("L0001"));
        QCOMPARE(text(v, kFirmwareVersion), QString());

        // The browser: another monitor's file.
        s.in.snapshot = {0x3E5A2402, QStringLiteral("SIM0001"), QStringLiteral("1.2.3"), 300.0};
        v = s.build(ReportFlavor::Browser);
        QCOMPARE(text(v, kModelName), QStringLiteral("HXSIM24"));
        QCOMPARE(text(v, kSerialNumber), QStringLiteral("SIM0001"));
        for (SummaryField f : {kFirmwareVersion, kCurrentUsage, kLastCalibration})
            QCOMPARE(text(v, f), kNA);

        // Its own, with the serial in other letter case.
        s.in.snapshot = {0x3E5A2401, QStringLiteral("sim0001"), QStringLiteral("1.2.3"), 300.0};
        v = s.build(ReportFlavor::Browser);
        QCOMPARE(text(v, kFirmwareVersion), QStringLiteral("1.2.3"));
        QCOMPARE(text(v, kCurrentUsage), QStringLiteral("300.0 hours usage"));
        QCOMPARE(text(v, kLastCalibration), QStringLiteral("200.0 hours usage ago"));

        // An empty firmware text stays "N/A" in the browser.
        s.in.snapshot.firmware.clear();
        v = s.build(ReportFlavor::Browser);
        QCOMPARE(text(v, kFirmwareVersion), kNA);
    }

    void belongs_data()
    {
        QTest::addColumn<quint32>("id");
        QTest::addColumn<QString>("serial");
        QTest::addColumn<bool>("belongs");
        QTest::newRow("same") << 0x1234u << "SIM0001" << true;
        QTest::newRow("letter case") << 0x1234u << "sim0001" << true;
        QTest::newRow("other id") << 0x1235u << "SIM0001" << false;
        QTest::newRow("other serial") << 0x1234u << "SIM0002" << false;
        QTest::newRow("prefix") << 0x1234u << "SIM000" << false;
    }
    void belongs()
    {
        QFETCH(quint32, id);
        QFETCH(QString, serial);
        CAdjustValue r;
        r.m_MonitorVendorProductID = 0x1234;
        r.SetMonitorSerial(QStringLiteral("SIM0001"));
        QTEST(belongsToMonitor(r, id, serial), "belongs");
    }

    void primaries()
    {
        Summary s;
        CColorValue &m = s.m();
        m.m_FinalPatches[CColorValue::kRedPatch] = whiteAt(0.64, 0.33, 34.0);
        m.m_FinalPatches[CColorValue::kGreenPatch] = whiteAt(0.30, 0.60, 114.0);
        m.m_FinalPatches[CColorValue::kWhitePatch] = whiteAt(0.3127, 0.329, 160.0);
        // Sensor source; blue never measured.
        s.in.primarySourcePreference = 0;
        SummaryView v = s.build();
        QCOMPARE(text(v, kPrimariesSource), QStringLiteral("Calibration Sensor"));
        QCOMPARE(text(v, kPrimaryRedXy), QStringLiteral("0.640 , 0.330"));
        QCOMPARE(text(v, kPrimaryGreenXy), QStringLiteral("0.300 , 0.600"));
        QCOMPARE(text(v, kPrimaryBlueXy), QStringLiteral(" - , - "));
        QVERIFY(!v.displayGamutValid);
        QVERIFY(!v.displayGamutBox);
        QCOMPARE(v.displayGamut[3].x, 0.0);

        m.m_FinalPatches[CColorValue::kBluePatch] = whiteAt(0.15, 0.06, 12.0);
        v = s.build();
        QVERIFY(v.displayGamutValid);
        QVERIFY(v.displayGamutBox);
        QVERIFY(std::fabs(v.displayGamut[3].x - 0.3127) < 1e-9);
        QCOMPARE(v.displayGamut[3].Y, 0.0);

        // Automatic, and the result recorded the factory source: the
        // monitor's primaries now, as the result stored none.
        s.in.primarySourcePreference = 2;
        s.result.SetAutomaticSensorColorPrimariesSource(1);
        s.in.live.present = true;
        s.in.live.hasPrimaries = true;
        s.in.live.primaries[0] = CCIEYxy(1, 0.681, 0.312);
        s.in.live.primaries[1] = CCIEYxy(1, 0.205, 0.715);
        s.in.live.primaries[2] = CCIEYxy(1, 0.151, 0.052);
        v = s.build();
        QCOMPARE(text(v, kPrimariesSource), QStringLiteral("Factory Measurements"));
        QCOMPARE(text(v, kPrimaryRedXy), QStringLiteral("0.681 , 0.312"));
        QCOMPARE(text(v, kPrimaryBlueXy), QStringLiteral("0.151 , 0.052"));

        // Stored primaries win over the monitor's.
        m.m_EDIDRed = whiteAt(0.65, 0.33, 1);
        m.m_EDIDGreen = whiteAt(0.29, 0.61, 1);
        m.m_EDIDBlue = whiteAt(0.14, 0.07, 1);
        v = s.build();
        QCOMPARE(text(v, kPrimaryGreenXy), QStringLiteral("0.290 , 0.610"));

        // The browser takes the stored ones always: none stored, none shown.
        m.m_EDIDGreen = CCIEXYZ();
        v = s.build(ReportFlavor::Browser);
        QCOMPARE(text(v, kPrimaryRedXy), QStringLiteral("0.650 , 0.330"));
        QCOMPARE(text(v, kPrimaryGreenXy), QStringLiteral(" - , - "));
        QVERIFY(!v.displayGamutValid);
        // The information window keeps the monitor's when one is missing.
        v = s.build();
        QCOMPARE(text(v, kPrimaryGreenXy), QStringLiteral("0.205 , 0.715"));

        // Automatic with a sensor result.
        s.result.SetAutomaticSensorColorPrimariesSource(0);
        QVERIFY(!usesFactoryPrimaries(2, s.result));
        QVERIFY(usesFactoryPrimaries(1, s.result));
        QVERIFY(!usesFactoryPrimaries(0, s.result));
    }

    void targetGamut_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<double>("greenX");
        QTest::newRow("native") << 0 << false << 0.0;
        QTest::newRow("AdobeRGB") << 2 << true << 0.21;
        QTest::newRow("CRT") << 8 << true << 0.28;
        QTest::newRow("custom") << 9 << true << 0.222;
        QTest::newRow("unknown") << 12 << false << 0.0;
    }
    void targetGamut()
    {
        QFETCH(int, type);
        QFETCH(bool, shown);
        Summary s;
        s.target.m_ColorGamutType = CTargetValue::typeColorGamutType(type);
        s.target.SetCustomColorGamutValues(CCIEYxy(1, 0.66, 0.32), CCIEYxy(1, 0.222, 0.7),
                                           CCIEYxy(1, 0.152, 0.061));
        const SummaryView v = s.build();
        QCOMPARE(v.targetGamutShown, shown);
        QCOMPARE(v.targetGamutBox, type != 0);
        if (shown)
            QTEST(v.targetGamut[1].x, "greenX");
    }

    void resultTexts()
    {
        Summary s;
        SummaryView v = s.build();
        for (SummaryField f : {kCalibrationDate, kSensorModelName, kSensorSerialNumber,
                               kCalibrationSteps, kProfileFileName, kProfileDescription})
            QCOMPARE(text(v, f), kNA);
        QVERIFY(!v.curvesUncalibratedBox && !v.curvesCalibratedBox && !v.curvesCorrectionBox);
        QVERIFY(v.curvesTargetBox);
        QCOMPARE(text(v, kGammaCurveTarget), QStringLiteral("2.20"));
        QCOMPARE(text(v, kIntensityTarget), QString::fromUtf8("160.0 cd/m²"));
        QCOMPARE(text(v, kContrastRatioTarget), QStringLiteral("800:1"));
        QCOMPARE(text(v, kBlackLevelTarget), QString::fromUtf8("0.20 cd/m²"));

        // A sensor serial without a model shows neither.
        s.result.SetSensorSerial(QStringLiteral("S-1"));
        QCOMPARE(text(s.build(), kSensorSerialNumber), kNA);

        s.result = simulatedCalibration(s.target);
        v = s.build();
        const QDateTime when(QDate(2026, 3, 14), QTime(9, 26, 53));
        QCOMPARE(text(v, kCalibrationDate), QLocale::system().toString(when, QLocale::ShortFormat));
        QCOMPARE(text(v, kSensorModelName), QStringLiteral("i1 Display Pro"));
        QCOMPARE(text(v, kSensorSerialNumber), QStringLiteral("I1D3-0042"));
        // From the uncorrected ramp of 21 steps, not the final one of 17.
        QCOMPARE(s.m().m_FinalGreySteps.size(), 17);
        QCOMPARE(text(v, kCalibrationSteps), QStringLiteral("21"));
        QCOMPARE(text(v, kProfileFileName), QStringLiteral("HXSIM24 Office D65.icc"));
        QCOMPARE(text(v, kProfileDescription), QStringLiteral("HXSIM24 calibrated to Office D65"));
        QVERIFY(v.curvesUncalibratedBox && v.curvesCalibratedBox && v.curvesCorrectionBox);

        // A native tone curve: no target curve, no black level target.
        s.target.m_GammaCurveType = CTargetValue::kCurveNative;
        v = s.build();
        QVERIFY(!v.curvesTargetBox);
        QCOMPARE(text(v, kBlackLevelTarget), kNA);
    }

    // --- curves

    void curveList_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<bool>("calibrated");
        QTest::addColumn<bool>("uncalibrated");
        QTest::addColumn<bool>("correction");
        QTest::addColumn<QVector<int>>("curveSlots"); // -1: the target curve
        QTest::addColumn<QColor>("gradient");    // invalid: left as it was
        QTest::newRow("green, calibrated and correction")
            << 2 << true << false << true << QVector<int>{-1, 7, 10} << QColor(0, 255, 0);
        QTest::newRow("all, every type")
            << 0 << true << true << true << QVector<int>{-1, 6, 7, 8, 0, 1, 2, 9, 10, 11}
            << QColor(255, 255, 255);
        QTest::newRow("no channel") << -1 << true << true << true << QVector<int>{-1} << QColor();
        QTest::newRow("blue") << 3 << true << true << false << QVector<int>{-1, 8, 2} << QColor(0, 0, 255);
        QTest::newRow("red, no type") << 1 << false << false << false << QVector<int>{-1} << QColor(255, 0, 0);
    }
    void curveList()
    {
        QFETCH(int, channel);
        QFETCH(QVector<int>, curveSlots);
        QFETCH(QColor, gradient);
        const CTargetValue target = gammaTarget();
        const CAdjustValue result = simulatedCalibration(target);
        CurveOptions o;
        o.target = true;
        QFETCH(bool, calibrated);
        QFETCH(bool, uncalibrated);
        QFETCH(bool, correction);
        o.calibrated = calibrated;
        o.uncalibrated = uncalibrated;
        o.correction = correction;
        o.channel = channel;
        const CurveList list = buildCurveList(target, result.m_ColorValue, o);
        QCOMPARE(list.splines.size(), curveSlots.size());
        QCOMPARE(list.pens.size(), curveSlots.size());
        QCOMPARE(list.gradientSet, gradient.isValid());
        if (gradient.isValid()) {
            QCOMPARE(list.gradientLow, QColor(0, 0, 0));
            QCOMPARE(list.gradientHigh, gradient);
        }
        const QColor channelColour[3] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255)};
        for (int i = 0; i < curveSlots.size(); ++i) {
            const QPen &pen = list.pens[i];
            QCOMPARE(pen.style(), Qt::SolidLine);
            QCOMPARE(pen.capStyle(), Qt::SquareCap);
            QCOMPARE(pen.joinStyle(), Qt::BevelJoin);
            QCOMPARE(pen.brush().style(), Qt::SolidPattern);
            if (curveSlots[i] < 0) {
                QCOMPARE(pen.color(), QColor(255, 255, 255));
                QCOMPARE(pen.widthF(), 2.0);
                QVERIFY(list.splines[i].IsValid());
                continue;
            }
            const CSpline &expected = result.m_ColorValue.m_Splines[curveSlots[i]];
            QVERIFY(expected.IsValid());
            QVERIFY(!(list.splines[i] != expected));
            QCOMPARE(pen.color(), channelColour[curveSlots[i] % 3]);
            QCOMPARE(pen.widthF(), 1.0);
        }
    }

    void curvesWithoutData()
    {
        CTargetValue target = gammaTarget();
        const CAdjustValue fresh;
        CurveOptions o{true, true, true, true, 0};
        CurveList list = buildCurveList(target, fresh.m_ColorValue, o);
        QCOMPARE(list.splines.size(), 10);
        QVERIFY(list.splines[0].IsValid());
        for (int i = 1; i < 10; ++i)
            QVERIFY(!list.splines[i].IsValid());

        // A native tone curve has no target curve, even with its box checked.
        target.m_GammaCurveType = CTargetValue::kCurveNative;
        list = buildCurveList(target, fresh.m_ColorValue, o);
        QCOMPARE(list.splines.size(), 9);
    }

    // --- colour tracking

    void trackingLimit_data()
    {
        QTest::addColumn<bool>("includeDark");
        QTest::addColumn<QVector<double>>("shownLuminances");
        QTest::newRow("dark left out") << false << QVector<double>{5.0, 40.0, 90.0, 160.0};
        QTest::newRow("dark included") << true << QVector<double>{0.0, 4.99, 5.0, 40.0, 90.0, 160.0};
    }
    void trackingLimit()
    {
        QFETCH(bool, includeDark);
        QFETCH(QVector<double>, shownLuminances);
        CTargetValue target = gammaTarget();
        target.m_IntensityType = CTargetValue::kIntensityMaximum;
        target.m_ContrastRatio = 0;
        CColorValue m;
        m.m_FinalGreySteps = greySteps({0.0, -0.1, 4.99, 5.0, 40.0, 90.0, 160.0});
        const TrackingView v = buildTracking(target, m, includeDark, true);
        QCOMPARE(v.luminance, shownLuminances);
        QCOMPARE(v.deltaE.size(), shownLuminances.size());
        QVERIFY(v.hasAverage);
        QVERIFY(v.showAverage);

        QList<delta_e_point> points;
        CColorCalcUtils().CalculateAllDeltaEResults(&m, &target, points, includeDark ? 0.0 : 5.0);
        delta_e_max_avg_results r{};
        CColorCalcUtils().CalculateAvgMaxValues(points, r);
        QCOMPARE(v.averageText, QString::number(r.avgDeltaE94, 'f', 2));
        QCOMPARE(v.maximumText, QString::number(r.maxDeltaE94, 'f', 2));
        QCOMPARE(v.average, r.avgDeltaE94);
    }

    void trackingShowAverage()
    {
        const CTargetValue target = gammaTarget();
        const CAdjustValue result = simulatedCalibration(target);
        const TrackingView shown = buildTracking(target, result.m_ColorValue, false, true);
        const TrackingView hidden = buildTracking(target, result.m_ColorValue, false, false);
        QVERIFY(shown.showAverage);
        QVERIFY(!hidden.showAverage);
        QCOMPARE(hidden.averageText, shown.averageText);
        QCOMPARE(hidden.maximumText, shown.maximumText);
        QCOMPARE(hidden.deltaE, shown.deltaE);
        QVERIFY(shown.averageText != kNA);
    }

    void trackingEmpty()
    {
        CTargetValue target = gammaTarget();
        target.m_GammaCurveType = CTargetValue::kCurveNative;
        const CAdjustValue result = simulatedCalibration(gammaTarget());
        const TrackingView v = buildTracking(target, result.m_ColorValue, true, true);
        QCOMPARE(v.averageText, kNA);
        QCOMPARE(v.maximumText, kNA);
        QVERIFY(!v.hasAverage);
        QVERIFY(!v.showAverage);
        QVERIFY(v.deltaE.isEmpty());
    }

    // A record from disk may carry more steps than the graph keeps.
    void trackingKeepsTheFirst257()
    {
        CTargetValue target = gammaTarget();
        target.m_IntensityType = CTargetValue::kIntensityMaximum;
        QVector<double> L;
        for (int i = 0; i < 300; ++i)
            L.append(10.0 + i * 0.5);
        CColorValue m;
        m.m_FinalGreySteps = greySteps(L);
        const TrackingView v = buildTracking(target, m, true, true);
        QCOMPARE(v.deltaE.size(), 257);
        QCOMPARE(v.luminance.size(), 257);
        QCOMPARE(v.luminance.first(), 10.0);
        QCOMPARE(v.luminance.last(), 10.0 + 256 * 0.5);
    }

    // --- DICOM

    void maxDeviation_data()
    {
        QTest::addColumn<double>("percent");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("icon");
        QTest::newRow("10.0") << 10.0 << "10.00%" << false;
        QTest::newRow("10.004") << 10.004 << "10.00%" << true;
        QTest::newRow("4.555") << 4.5678 << "4.57%" << false;
    }
    void maxDeviation()
    {
        QFETCH(double, percent);
        QFETCH(bool, icon);
        bool got = !icon;
        QTEST(maxDeviationText(percent, QStringLiteral("%1%"), got), "shown");
        QCOMPARE(got, icon);
    }

    void dicomNotJudged_data()
    {
        QTest::addColumn<int>("curveType");
        QTest::addColumn<QVector<double>>("luminances");
        QTest::newRow("gamma target") << int(CTargetValue::kCurveGamma)
                                      << gsdfLuminances(17, 0.5, 200.0);
        QTest::newRow("one grey step") << int(CTargetValue::kCurveDICOM) << QVector<double>{100.0};
        QTest::newRow("no grey step") << int(CTargetValue::kCurveDICOM) << QVector<double>{};
    }
    void dicomNotJudged()
    {
        QFETCH(int, curveType);
        QFETCH(QVector<double>, luminances);
        CTargetValue target = dicomTarget();
        target.m_GammaCurveType = curveType;
        CColorValue m;
        m.m_FinalGreySteps = greySteps(luminances);
        const DicomView v = buildDicom(target, m, QStringLiteral("%1%"), QStringLiteral("at JND Index %1"));
        QCOMPARE(v.averageText, kNA);
        QCOMPARE(v.stdDevText, kNA);
        QCOMPARE(v.maxErrorText, kNA);
        QCOMPARE(v.jndIndexText, QString());
        QVERIFY(!v.errorIcon);
        QCOMPARE(v.jndCount, 0);
        QCOMPARE(v.contrastCount, 0);
    }

    // Two steps of the same JND index: the contrast response alone fails.
    void dicomEqualSteps()
    {
        CColorValue m;
        m.m_FinalGreySteps = greySteps({0.0, 0.0, 0.0});
        const DicomView v = buildDicom(dicomTarget(), m, QStringLiteral("%1%"), QStringLiteral("at %1"));
        QCOMPARE(v.jndCount, 2);
        QCOMPARE(v.averageText, QStringLiteral("0.000"));
        QCOMPARE(v.maxErrorText, kNA);
        QCOMPARE(v.jndIndexText, QString());
        QCOMPARE(v.contrastCount, 0);
    }

    void dicomConformingRamp()
    {
        CColorValue m;
        m.m_FinalGreySteps = greySteps(gsdfLuminances(17, 0.5, 200.0));
        const DicomView v = buildDicom(dicomTarget(), m, QStringLiteral("%1%"),
                                       QStringLiteral("at JND Index %1"));
        QCOMPARE(v.jndCount, 16);
        QCOMPARE(v.contrastCount, 16);
        QVERIFY2(v.averageText.toDouble() > 2.0 && v.averageText.toDouble() < 2.2, qPrintable(v.averageText));
        QCOMPARE(v.averageText, QString::number(v.average, 'f', 3));
        QCOMPARE(v.stdDevText, QString::number(v.stdDev, 'f', 3));
        // Follows the standard: every deviation near 0.
        for (int k = 0; k < 16; ++k)
            QVERIFY2(v.deviation[k] < 0.5, qPrintable(QString::number(v.deviation[k])));
        QVERIFY(v.maxErrorText.endsWith(QLatin1Char('%')));
        QVERIFY(v.maxErrorText.chopped(1).toDouble() < 0.5);
        QVERIFY(!v.errorIcon);
        // The JND index with one decimal.
        QVERIFY2(QRegularExpression(QStringLiteral("^at JND Index \\d+\\.\\d$"))
                     .match(v.jndIndexText)
                     .hasMatch(),
                 qPrintable(v.jndIndexText));
        // The reference and measured curves share their midpoints.
        for (int k = 0; k < 16; ++k)
            QCOMPARE(v.midpoints[k], v.refMidpoints[k]);
    }

    // --- the text report

    void summaryTextLines_data()
    {
        QTest::addColumn<int>("flavor");
        QTest::addColumn<int>("lines");
        QTest::newRow("information window") << int(ReportFlavor::InformationWindow) << 37;
        QTest::newRow("browser") << int(ReportFlavor::Browser) << 36;
    }
    void summaryTextLines()
    {
        QFETCH(int, flavor);
        QFETCH(int, lines);
        // Every object name reads as itself; two values empty.
        const auto textOf = [](const char *name) -> QString {
            const QString n = QLatin1String(name);
            if (n == QLatin1String("summary_Display_Gamma_Curve_CalibrationSteps")
                || n == QLatin1String("summary_IC_Profile_Description"))
                return QString();
            return n.startsWith(QLatin1String("summary_White_Point_Black")) ? "<u>" + n + "</u>" : n;
        };
        const QString t = summaryText(QStringLiteral("Title"), ReportFlavor(flavor), textOf);
        QVERIFY(t.endsWith(QLatin1String("\r\n")));
        QStringList l = t.split(QStringLiteral("\r\n"));
        QCOMPARE(l.takeLast(), QString());
        QCOMPARE(l.size(), lines);
        QCOMPARE(t.count(QLatin1Char('\n')), lines);
        QCOMPARE(t.count(QLatin1Char('\r')), lines);
        QCOMPARE(l[0], QStringLiteral("---- Title ----"));
        QCOMPARE(l[1], QStringLiteral("--- summary_white_point_groupBox ---"));
        QCOMPARE(l[2], QStringLiteral("summary_White_Point_Target_label summary_White_Point_Target_K "
                                      "<u>summary_White_Point_Black_Body_label</u>"));
        QCOMPARE(l[11], QStringLiteral("summary_Display_Luminance_Calibrated_label "
                                       "summary_Display_Luminance_Black_Level_label "
                                       "summary_Display_Luminance_Black_Level_Calibrated"));
        const int shift = lines - 36;
        if (shift)
            QCOMPARE(l[12], QString());
        QCOMPARE(l[12 + shift], QStringLiteral("--- summary_gamma_curve_groupBox ---"));
        QCOMPARE(l[14 + shift], QStringLiteral("summary_Display_Gamma_Curve_CalibrationSteps_label "));
        QCOMPARE(l[17 + shift], QStringLiteral("summary_IC_Profile_Description_label "));
        QCOMPARE(l[22 + shift], QStringLiteral("summary_Primary_Color_source"));
        QCOMPARE(l[35 + shift], QStringLiteral("summary_Sensor_Serial_Number_label summary_Sensor_Serial_Number"));
    }
};

QTEST_GUILESS_MAIN(TestReportBuilders)
#include "tst_report_builders.moc"
