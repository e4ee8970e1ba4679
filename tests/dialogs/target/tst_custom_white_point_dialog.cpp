// The custom white point dialog on the simulated desktop: a noise-free
// colorimeter on display 1 reads the dialog's patch through the screen
// sampler, the card ramp and the simulated monitor. Entry by kelvin and by
// x,y, measurements (good, failing, re-entered), the visual match tint of
// the card ramp and its restoration, the OK questions, the white background
// and the patch size. The dialog is written as a PNG into the pictures folder.

#include "CVideoCardGamma.h"
#include "TestSupport.h"
#include "DisplayPlacement.h"
#include "MeasureToolsRig.h"
#include "Messages.h"
#include "ModalBox.h"
#include "PZ_Custom_White_Point_Dialog.h"
#include "Resources.h"
#include "SimLightSensor.h"
#include "SimulatedScreens.h"
#include "StringResources.h"
#include "TestPatternProbe.h"

#include <QtTest>

using namespace pz;
using namespace pz::test;

namespace {

using Ramp = QVector<unsigned int>;

struct Ramps {
    Ramp red, green, blue;
    bool operator==(const Ramps &o) const { return red == o.red && green == o.green && blue == o.blue; }
};

// Display 1's ramp as the card holds it, in 0..65535 steps.
Ramps cardRamps()
{
    CVideoCardGamma card(pMasterControl->GetTargetDisplay()->GetMonitorData());
    Ramps r;
    card.GetVideoCardGamma(r.red, r.green, r.blue);
    return r;
}

// A calibration-like ramp, different in every channel.
GammaRampTables loadedCalibration()
{
    GammaRampTables t;
    for (int i = 0; i < IGammaRamps::kEntries; ++i) {
        const double v = i / 255.0;
        t.red.append(float(0.97 * std::pow(v, 1.10)));
        t.green.append(float(0.93 * std::pow(v, 0.95)));
        t.blue.append(float(0.89 * std::pow(v, 1.05)));
    }
    return t;
}

Ramp times(const Ramp &ramp, double factor)
{
    Ramp out;
    for (unsigned int v : ramp)
        out.append(unsigned(factor * v));
    return out;
}

// The noise-free colorimeter, counting how often it is told the screen
// type, and able to fail GetXYZData after handing out a reading.
class WhiteSensor : public SimLightSensor {
public:
    using SimLightSensor::SimLightSensor;
    int screenTypeCalls = 0;
    int xyzCode = 0;
    int SetScreenType(typeSensorScreen screen, CTargetDisplay::typeMonitorColorGamutType gamut) override
    {
        ++screenTypeCalls;
        return SimLightSensor::SetScreenType(screen, gamut);
    }
    int GetXYZData(CCIEXYZ &out) override
    {
        const int code = SimLightSensor::GetXYZData(out);
        return xyzCode ? xyzCode : code;
    }
};

// Rejects the next modal dialog that is not a message box.
struct NextDialogRejected : pz::test::ModalAnswerer {
    bool seen = false;

protected:
    bool takes(QWidget &modal) override
    {
        return !seen && qobject_cast<QDialog *>(&modal) && !qobject_cast<QMessageBox *>(&modal);
    }
    void answer(QWidget &modal, bool first) override
    {
        if (!first)
            return;
        seen = true;
        qobject_cast<QDialog *>(&modal)->reject();
    }
};

// Counts the loads of the ramps it passes on, and can refuse every read.
class WatchedRamps : public IGammaRamps {
public:
    explicit WatchedRamps(IGammaRamps &inner) : m_inner(inner) {}
    bool readable = true;
    int loads = 0;
    bool setRamp(quint32 id, const GammaRampTables &t) override
    {
        ++loads;
        return m_inner.setRamp(id, t);
    }
    bool getRamp(quint32 id, GammaRampTables &t) override { return readable && m_inner.getRamp(id, t); }

private:
    IGammaRamps &m_inner;
};

} // namespace

class TestCustomWhitePointDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<MeasureToolsRig> rig;
    WhiteSensor *sensor = nullptr;   // owned by the sensor selector
    std::unique_ptr<PZ_Custom_White_Point_Dialog> dialog;

    void open(const CColorTemperature &white = CColorTemperature(6500))
    {
        dialog = std::make_unique<PZ_Custom_White_Point_Dialog>(white, nullptr);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }
    void setTint(int r, int g, int b)
    {
        dialog->custom_white_point_RGB_Red_doubleSpinBox->setValue(r);
        dialog->custom_white_point_RGB_Green_doubleSpinBox->setValue(g);
        dialog->custom_white_point_RGB_Blue_doubleSpinBox->setValue(b);
        QCOMPARE(dialog->custom_white_point_RGB_Red_doubleSpinBox->value(), double(r));
        QCOMPARE(dialog->custom_white_point_RGB_Green_doubleSpinBox->value(), double(g));
        QCOMPARE(dialog->custom_white_point_RGB_Blue_doubleSpinBox->value(), double(b));
    }
    void clickMeasure() { QTest::mouseClick(dialog->custom_white_point_measure_pushButton, Qt::LeftButton); }
    void clickOk() { dialog->buttonBox->button(QDialogButtonBox::Ok)->click(); }
    QString measuringText() const { return dialog->custom_white_point_measuring_label->text(); }

private slots:
    void initTestCase()
    {
        initResources();
        PZ_REQUIRE_SIMULATED_SCREENS();
    }
    void init()
    {
        rig = std::make_unique<MeasureToolsRig>();
        sensor = new WhiteSensor(*rig->light);
        delete pTargetSensor->m_pCurrentSensor;
        pTargetSensor->m_pCurrentSensor = sensor;
        sensor->m_ZeroCalibrationDone = true;   // no set-up dialog before a reading
    }
    void cleanup()
    {
        dialog.reset();
        rig.reset();
    }

    void form()
    {
        open();
        QCOMPARE(dialog->objectName(), QStringLiteral("PZ_Custom_White_Point_DialogClass"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Custom White Point"));
        QVERIFY(!(dialog->windowFlags() & Qt::WindowContextHelpButtonHint));
        QVERIFY(dialog->isSizeGripEnabled());
        QVERIFY(!dialog->windowIcon().isNull());
        QCOMPARE(dialog->groupBox->title(), QStringLiteral("White Point"));
        QCOMPARE(dialog->custom_white_point_BlackBody_radioButton->text(), QStringLiteral("Black Body:"));
        QCOMPARE(dialog->custom_white_point_CIE_xy_radioButton->text(), QStringLiteral("CIE Coordinates:"));
        QCOMPARE(dialog->label->text(), QStringLiteral("x"));
        QCOMPARE(dialog->label_2->text(), QStringLiteral("y"));
        QSpinBox *kelvin = dialog->custom_white_point_Kelvin_doubleSpinBox;
        QCOMPARE(kelvin->suffix(), QStringLiteral("K"));
        QCOMPARE(kelvin->minimum(), 2500);
        QCOMPARE(kelvin->maximum(), 11000);
        QCOMPARE(kelvin->singleStep(), 10);
        for (QDoubleSpinBox *box : {dialog->custom_white_point_CIE_x_doubleSpinBox,
                                    dialog->custom_white_point_CIE_y_doubleSpinBox}) {
            QCOMPARE(box->decimals(), 4);
            QCOMPARE(box->minimum(), 0.25);
            QCOMPARE(box->singleStep(), 0.001);
        }
        QCOMPARE(dialog->custom_white_point_CIE_x_doubleSpinBox->maximum(), 0.48);
        QCOMPARE(dialog->custom_white_point_CIE_y_doubleSpinBox->maximum(), 0.43);
        QCOMPARE(dialog->custom_white_point_measure_pushButton->text(), QStringLiteral("Measure"));
        QVERIFY(measuringText().isEmpty());
        QCOMPARE(dialog->custom_white_point_measuring_label->alignment(), Qt::AlignCenter);
        QCOMPARE(dialog->visual_match_groupBox->title(), QStringLiteral("Visual Match"));
        QVERIFY(dialog->visual_match_groupBox->isCheckable());
        QCOMPARE(dialog->visual_match_frame->frameShape(), QFrame::NoFrame);
        QCOMPARE(dialog->label_instruction->text(),
                 QStringLiteral("Adjust the screen color visually to match your reference. Click Measure when done."));
        QVERIFY(dialog->label_instruction->wordWrap());
        QVERIFY(!dialog->label_grey_ramp->pixmap().isNull());
        QVERIFY(dialog->label_grey_ramp->hasScaledContents());
        QCOMPARE(dialog->label_grey_ramp->width(), 10);
        QCOMPARE(dialog->custom_white_point_brightness_verticalSlider->maximum(), 255);
        QCOMPARE(dialog->custom_white_point_brightness_verticalSlider->orientation(), Qt::Vertical);
        QCOMPARE(dialog->color_picker_circle_widget->focusPolicy(), Qt::StrongFocus);
        const QStringList channels{"Red:", "Green:", "Blue:"};
        const QList<QLabel *> labels{dialog->label_4, dialog->label_5, dialog->label_6};
        const QList<QDoubleSpinBox *> boxes{dialog->custom_white_point_RGB_Red_doubleSpinBox,
                                            dialog->custom_white_point_RGB_Green_doubleSpinBox,
                                            dialog->custom_white_point_RGB_Blue_doubleSpinBox};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(labels[i]->text(), channels[i]);
            QCOMPARE(boxes[i]->decimals(), 0);
            QCOMPARE(boxes[i]->minimum(), 0.0);
            QCOMPARE(boxes[i]->maximum(), 255.0);
            QCOMPARE(boxes[i]->value(), 255.0);
        }
        QCOMPARE(dialog->custom_white_point_reset_rgb_pushButton->text(), QStringLiteral("Reset"));
        QCOMPARE(dialog->custom_white_point_white_background_checkBox->text(),
                 QStringLiteral("White screen background"));
        QCOMPARE(dialog->colorimeter_measurement_area_label->text(), QStringLiteral("Measurement Area"));
        QCOMPARE(dialog->buttonBox->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

        // Opens in x,y mode with Visual Match off; the sensor enables measuring.
        QVERIFY(dialog->custom_white_point_CIE_xy_radioButton->isChecked());
        QVERIFY(!kelvin->isEnabled());
        QVERIFY(dialog->custom_white_point_CIE_x_doubleSpinBox->isEnabled());
        QVERIFY(!dialog->visual_match_groupBox->isChecked());
        QVERIFY(!dialog->custom_white_point_RGB_Red_doubleSpinBox->isEnabled());
        QVERIFY(dialog->visual_match_groupBox->isEnabled());
        QVERIFY(dialog->custom_white_point_measure_pushButton->isEnabled());
        QVERIFY(dialog->frame->isEnabled());
        QVERIFY(!dialog->custom_white_point_white_background_checkBox->isChecked());
        // 10 cm of the 1920 x 1200, 52 x 32 cm display.
        QCOMPARE(dialog->measurement_target_widget->minimumWidth(), 369);
        dialog->grab().save(pz::test::picturePath(QStringLiteral("custom_white_point_dialog.png")));
        // The black-body radio takes the kelvin box, and back.
        dialog->custom_white_point_BlackBody_radioButton->click();
        QVERIFY(kelvin->isEnabled());
        QVERIFY(!dialog->custom_white_point_CIE_y_doubleSpinBox->isEnabled());
        dialog->custom_white_point_CIE_xy_radioButton->click();
        QVERIFY(!kelvin->isEnabled());
        QVERIFY(dialog->custom_white_point_CIE_x_doubleSpinBox->isEnabled());
    }

    void withoutSensor()
    {
        delete pTargetSensor->m_pCurrentSensor;
        pTargetSensor->m_pCurrentSensor = nullptr;
        open();
        QVERIFY(!dialog->custom_white_point_measure_pushButton->isEnabled());
        QVERIFY(!dialog->visual_match_groupBox->isEnabled());
        QVERIFY(!dialog->frame->isEnabled());
        QVERIFY(dialog->custom_white_point_BlackBody_radioButton->isEnabled());
    }

    void patchMinimumWidth_data()
    {
        QTest::addColumn<QRect>("display");
        QTest::addColumn<int>("widthCm");
        QTest::addColumn<int>("heightCm");
        QTest::addColumn<int>("pixels");
        QTest::newRow("2560x1440 at 40x30 cm") << QRect(0, 0, 2560, 1440) << 40 << 30 << 640;
        QTest::newRow("portrait") << QRect(0, 0, 1200, 1920) << 32 << 52 << 369;
        QTest::newRow("no size") << QRect(0, 0, 2560, 1440) << 0 << 0 << 0;
        QTest::newRow("no display") << QRect() << 40 << 30 << 0;
    }
    void patchMinimumWidth()
    {
        QFETCH(QRect, display);
        QFETCH(int, widthCm);
        QFETCH(int, heightCm);
        QFETCH(int, pixels);
        QCOMPARE(tenCentimetresInPixels(display, widthCm, heightCm), pixels);
    }
    void whiteBackgroundWithoutDisplayRectangle()
    {
        _MonitorData data = pMasterControl->GetTargetDisplay()->GetMonitorData();
        data.m_Bounds = QRect();
        pMasterControl->GetTargetDisplay()->SetMonitorData(data);
        pz_test_pattern_dialog &window = *rig->testPattern;
        window.setGeometry(100, 100, 300, 200);
        open();
        dialog->custom_white_point_white_background_checkBox->setChecked(true);
        QVERIFY(window.isVisible());
        QCOMPARE(window.geometry(), QRect(100, 100, 300, 200));
        QCOMPARE(testPatternCentre(window), QColor(Qt::white));
        QVERIFY(!testPatternControlsBack(window));
    }

    void noPhysicalSizeNoMinimum()
    {
        _MonitorData data = pMasterControl->GetTargetDisplay()->GetMonitorData();
        data.m_Width = data.m_Height = 0;
        pMasterControl->GetTargetDisplay()->SetMonitorData(data);
        open();
        QCOMPARE(dialog->measurement_target_widget->minimumWidth(), 0);
    }

    // ---- entry

    void kelvinTyped()
    {
        open(CColorTemperature(_CIExy{0.3, 0.32}));
        dialog->custom_white_point_BlackBody_radioButton->click();
        QSpinBox *kelvin = dialog->custom_white_point_Kelvin_doubleSpinBox;
        kelvin->setFocus();
        kelvin->selectAll();
        QTest::keyClicks(kelvin, QStringLiteral("6500"));
        QVERIFY(dialog->white_point.m_KelvinForm);
        QCOMPARE(int(dialog->white_point.m_Kelvin), 6500);
        const CColorTemperature expected(6500);
        QCOMPARE(dialog->custom_white_point_CIE_x_doubleSpinBox->value(),
                 std::round(expected.m_CIExy.x * 1e4) / 1e4);
        QCOMPARE(dialog->custom_white_point_CIE_y_doubleSpinBox->value(),
                 std::round(expected.m_CIExy.y * 1e4) / 1e4);
        QCOMPARE(dialog->custom_white_point_delta_uv_label->text(), QStringLiteral("0.0000 \u0394uv"));
        clickOk();
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
    }

    void xyEntryShowsKelvinAndDeltaUV()
    {
        open();
        dialog->custom_white_point_CIE_y_doubleSpinBox->setValue(0.34);
        dialog->custom_white_point_CIE_x_doubleSpinBox->setValue(0.31);
        const CColorTemperature expected(_CIExy{0.31, 0.34});
        QVERIFY(!dialog->white_point.m_KelvinForm);
        QCOMPARE(dialog->white_point.m_CIExy.x, 0.31);
        QCOMPARE(dialog->white_point.m_CIExy.y, 0.34);
        QCOMPARE(dialog->custom_white_point_Kelvin_doubleSpinBox->value(), int(expected.m_Kelvin));
        QCOMPARE(dialog->custom_white_point_delta_uv_label->text(),
                 QStringLiteral("%1 \u0394uv").arg(std::fabs(expected.m_DeltaUV), 0, 'f', 4));
        QVERIFY(expected.m_DeltaUV != 0.0);
    }

    void nativeOpensClampedAndAsks()
    {
        open(CColorTemperature(static_cast<unsigned short>(0)));
        QCOMPARE(dialog->custom_white_point_CIE_x_doubleSpinBox->value(), 0.25);
        QCOMPARE(dialog->custom_white_point_CIE_y_doubleSpinBox->value(), 0.25);
        QCOMPARE(dialog->custom_white_point_Kelvin_doubleSpinBox->value(), 2500);
        QVERIFY(dialog->white_point.m_Native);

        Qt::TextFormat format = Qt::AutoText;
        ModalBoxAnswer no([&](QMessageBox &box) {
            format = box.textFormat();
            QCOMPARE(box.defaultButton(), box.button(QMessageBox::No));
            box.button(QMessageBox::No)->click();
        });
        clickOk();
        QVERIFY(no.shown());
        QCOMPARE(no.text(), GetStringResource(154));
        QCOMPARE(no.windowTitle(), GetStringResource(1));
        QCOMPARE(format, Qt::RichText);
        QVERIFY(dialog->isVisible());
        ModalBoxAnswer yes(QMessageBox::Yes);
        clickOk();
        QVERIFY(yes.shown());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QVERIFY(dialog->white_point.m_Native);
    }

    void xEditAfterNativeKeepsShownY()
    {
        open(CColorTemperature(static_cast<unsigned short>(0)));
        dialog->custom_white_point_CIE_x_doubleSpinBox->setValue(0.3127);
        QCOMPARE(dialog->white_point.m_CIExy.x, 0.3127);
        QCOMPARE(dialog->white_point.m_CIExy.y, 0.25);
        QVERIFY(!dialog->white_point.m_Native);
    }

    // ---- measurement

    void measuresTheWhitePatch()
    {
        open();
        const SimXYZ white = rig->desk.measure(1, 1, 1, 1);
        const double sum = white.X + white.Y + white.Z;
        clickMeasure();
        QCOMPARE(sensor->measureCounts(), QVector<unsigned>{1});
        QVERIFY(qAbs(dialog->white_point.m_CIExy.x - white.X / sum) < 0.001);
        QVERIFY(qAbs(dialog->white_point.m_CIExy.y - white.Y / sum) < 0.001);
        QVERIFY(!dialog->white_point.m_KelvinForm);
        QVERIFY(qAbs(dialog->measured_luminance - white.Y) < 0.05);
        QCOMPARE(measuringText(), QStringLiteral("Measured Intensity: 153.6 cd/m\u00B2"));
        QCOMPARE(measuringText(), QStringLiteral("Measured Intensity: %1 cd/m\u00B2").arg(white.Y, 0, 'f', 1));
        QCOMPARE(dialog->custom_white_point_CIE_x_doubleSpinBox->value(),
                 std::round(dialog->white_point.m_CIExy.x * 1e4) / 1e4);
        QVERIFY(dialog->custom_white_point_CIE_xy_radioButton->isChecked());
    }

    void tintRaisesMeasuredX()
    {
        open();
        clickMeasure();
        const double plainX = dialog->white_point.m_CIExy.x;
        dialog->visual_match_groupBox->setChecked(true);
        setTint(255, 230, 200);
        clickMeasure();
        QVERIFY2(dialog->white_point.m_CIExy.x > plainX + 0.01,
                 qPrintable(QString::number(dialog->white_point.m_CIExy.x)));
        dialog->grab().save(pz::test::picturePath(QStringLiteral("custom_white_point_dialog_visual_match.png")));
        // Measured: OK asks nothing more.
        ModalBoxAnswer none(QMessageBox::Yes);
        clickOk();
        QVERIFY(!none.shown());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
    }

    void failuresKeepTheValues_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("measureFirst");
        QTest::newRow("Measure fails") << "Measure" << -1003 << false;
        QTest::newRow("Measure fails after a success") << "Measure" << -1026 << true;
        QTest::newRow("GetXYZData fails") << "GetXYZData" << -1003 << false;
        QTest::newRow("GetXYZData fails after a success") << "GetXYZData" << -1000 << true;
        QTest::newRow("GetXYZData fails with a reading") << "code" << -1000 << false;
        QTest::newRow("no light") << "" << -1003 << false;
    }
    void failuresKeepTheValues()
    {
        QFETCH(QString, call);
        QFETCH(int, code);
        QFETCH(bool, measureFirst);
        const CColorTemperature passed(_CIExy{0.3, 0.32});
        open(passed);
        CColorTemperature expected = passed;
        double luminance = -1.0;
        QString label;
        if (measureFirst) {
            clickMeasure();
            expected = dialog->white_point;
            luminance = dialog->measured_luminance;
            QVERIFY(luminance > 100);
        }
        if (call.isEmpty())
            rig->light->liftOff();
        else if (call == QLatin1String("code"))
            sensor->xyzCode = code;
        else
            sensor->faults().failNext(call, code);
        int counter = 0;
        ModalBoxAnswer box([&](QMessageBox &b) {
            counter = b.property("counter").toInt();
            b.button(QMessageBox::Ok)->click();
        });
        clickMeasure();
        QVERIFY(box.shown());
        QCOMPARE(box.text(), pz::errorMessageText(code));
        QVERIFY2(counter > 0 && counter <= 60, "the box counts down");
        QVERIFY(measuringText().isEmpty());
        QVERIFY(dialog->white_point == expected);
        QCOMPARE(dialog->white_point.m_CIExy.x, expected.m_CIExy.x);
        QCOMPARE(dialog->measured_luminance, luminance);
    }

    void preparation()
    {
        open();
        // The set-up dialog cancelled: no reading, no message; tried again.
        sensor->m_ZeroCalibrationDone = false;
        NextDialogRejected setUp;
        ModalBoxAnswer none;
        clickMeasure();
        QVERIFY(setUp.seen);
        QVERIFY(!none.shown());
        QVERIFY(sensor->measureCounts().isEmpty());
        QVERIFY(measuringText().isEmpty());
        QCOMPARE(dialog->measured_luminance, -1.0);
        sensor->m_ZeroCalibrationDone = true;
        clickMeasure();
        clickMeasure();
        QCOMPARE(sensor->measureCounts(), (QVector<unsigned>{1, 1}));
        // The screen type goes to the sensor once per dialog.
        QCOMPARE(sensor->screenTypeCalls, 1);
    }

    void clickDuringTheReadingIsIgnored()
    {
        open();
        // A click queued before the reading arrives in its event pass.
        QMetaObject::invokeMethod(dialog->custom_white_point_measure_pushButton, "click",
                                  Qt::QueuedConnection);
        dialog->custom_white_point_measure_pushButton->click();
        QCOMPARE(sensor->measureCounts(), QVector<unsigned>{1});
        QCoreApplication::processEvents();
        QCOMPARE(sensor->measureCounts(), QVector<unsigned>{1});
        // A later click measures again.
        clickMeasure();
        QCOMPARE(sensor->measureCounts(), (QVector<unsigned>{1, 1}));
    }

    // ---- visual match

    void tintScalesTheSavedRamp_data()
    {
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("g");
        QTest::addColumn<int>("b");
        QTest::addColumn<double>("fr");
        QTest::addColumn<double>("fg");
        QTest::addColumn<double>("fb");
        QTest::newRow("25,25,25 is a dim neutral") << 25 << 25 << 25 << 0.1 << 0.1 << 0.1;
        QTest::newRow("26,26,25") << 26 << 26 << 25 << 26 / 255.0 << 26 / 255.0 << 25 / 255.0;
        QTest::newRow("warm") << 255 << 230 << 200 << 1.0 << 230 / 255.0 << 200 / 255.0;
        QTest::newRow("white") << 255 << 255 << 255 << 1.0 << 1.0 << 1.0;
    }
    void tintScalesTheSavedRamp()
    {
        QFETCH(int, r);
        QFETCH(int, g);
        QFETCH(int, b);
        QFETCH(double, fr);
        QFETCH(double, fg);
        QFETCH(double, fb);
        QVERIFY(rig->desk.ramps().setRamp(1, loadedCalibration()));
        const Ramps saved = cardRamps();
        QCOMPARE(saved.red.size(), 256);
        open();
        QVERIFY(cardRamps() == saved);
        dialog->visual_match_groupBox->setChecked(true);
        setTint(r, g, b);
        const Ramps tinted = cardRamps();
        QCOMPARE(tinted.red, times(saved.red, fr));
        QCOMPARE(tinted.green, times(saved.green, fg));
        QCOMPARE(tinted.blue, times(saved.blue, fb));
        // Off: the saved ramp; on again: the kept tint.
        dialog->visual_match_groupBox->setChecked(false);
        QVERIFY(cardRamps() == saved);
        dialog->visual_match_groupBox->setChecked(true);
        QVERIFY(cardRamps() == tinted);
        // Reset: white, the saved ramp.
        dialog->custom_white_point_reset_rgb_pushButton->click();
        QVERIFY(cardRamps() == saved);
        QCOMPARE(dialog->custom_white_point_brightness_verticalSlider->value(), 255);
    }

    void sliderAndCircleTint()
    {
        QVERIFY(rig->desk.ramps().setRamp(1, loadedCalibration()));
        const Ramps saved = cardRamps();
        open();
        dialog->visual_match_groupBox->setChecked(true);
        dialog->custom_white_point_brightness_verticalSlider->setValue(128);
        for (QDoubleSpinBox *box : {dialog->custom_white_point_RGB_Red_doubleSpinBox,
                                    dialog->custom_white_point_RGB_Green_doubleSpinBox,
                                    dialog->custom_white_point_RGB_Blue_doubleSpinBox})
            QCOMPARE(box->value(), 128.0);
        QCOMPARE(cardRamps().green, times(saved.green, 128 / 255.0));
        // Half saturation at hue 0: a red tint at the same value.
        emit dialog->color_picker_circle_widget->HueSatChanged(0.0, 0.5);
        QCOMPARE(dialog->custom_white_point_RGB_Red_doubleSpinBox->value(), 128.0);
        QCOMPARE(dialog->custom_white_point_RGB_Green_doubleSpinBox->value(), 64.0);
        QCOMPARE(cardRamps().green, times(saved.green, 64 / 255.0));
    }

    void everyCloseRestoresTheRamp_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("OK") << 0;
        QTest::newRow("Cancel") << 1;
        QTest::newRow("Escape") << 2;
        QTest::newRow("close") << 3;
        QTest::newRow("destroyed while open") << 4;
    }
    void everyCloseRestoresTheRamp()
    {
        QFETCH(int, way);
        QVERIFY(rig->desk.ramps().setRamp(1, loadedCalibration()));
        const Ramps saved = cardRamps();
        open();
        dialog->visual_match_groupBox->setChecked(true);
        setTint(200, 150, 100);
        QVERIFY(!(cardRamps() == saved));
        ModalBoxAnswer no(QMessageBox::No);   // not measured: go on
        switch (way) {
        case 0: clickOk(); break;
        case 1: dialog->buttonBox->button(QDialogButtonBox::Cancel)->click(); break;
        case 2: QTest::keyClick(dialog.get(), Qt::Key_Escape); break;
        case 3: dialog->close(); break;
        default: break;
        }
        QCOMPARE(no.shown(), way == 0);
        if (way != 4)
            QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), way == 0 ? int(QDialog::Accepted) : int(QDialog::Rejected));
        dialog.reset();
        QVERIFY(cardRamps() == saved);
    }

    void unreadableRampIsNeverWritten()
    {
        WatchedRamps watched(rig->desk.ramps());
        watched.readable = false;
        ScopedGammaRamps scope(&watched);
        open();
        QVERIFY(!dialog->visual_match_groupBox->isEnabled());
        QVERIFY(dialog->custom_white_point_measure_pushButton->isEnabled());
        dialog->visual_match_groupBox->setChecked(true);
        dialog->custom_white_point_reset_rgb_pushButton->click();
        dialog->custom_white_point_RGB_Red_doubleSpinBox->setValue(100);
        clickMeasure();
        QVERIFY(dialog->measured_luminance > 0);
        dialog->buttonBox->button(QDialogButtonBox::Cancel)->click();
        dialog.reset();
        QCOMPARE(watched.loads, 0);
    }

    // ---- OK questions

    void notMeasuredQuestion()
    {
        open();
        dialog->visual_match_groupBox->setChecked(true);
        setTint(255, 240, 220);
        {
            Qt::TextFormat format = Qt::RichText;
            ModalBoxAnswer yes([&](QMessageBox &box) {
                QCOMPARE(box.defaultButton(), box.button(QMessageBox::No));
                format = box.textFormat();
                box.button(QMessageBox::Yes)->click();
            });
            clickOk();
            QVERIFY(yes.shown());
            QCOMPARE(yes.text(), GetStringResource(153));
            QCOMPARE(yes.windowTitle(), GetStringResource(1));
            QCOMPARE(format, Qt::AutoText);
        }
        // Yes: still open, nothing measured by itself.
        QVERIFY(dialog->isVisible());
        QVERIFY(sensor->measureCounts().isEmpty());
        // No: on to the range check, which a D65-like point passes.
        ModalBoxAnswer no(QMessageBox::No);
        clickOk();
        QVERIFY(no.shown());
        QCOMPARE(no.text(), GetStringResource(153));
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
    }

    void noQuestionWithVisualMatchOff()
    {
        open();
        dialog->visual_match_groupBox->setChecked(true);
        setTint(255, 240, 220);
        dialog->visual_match_groupBox->setChecked(false);
        ModalBoxAnswer none(QMessageBox::Yes);
        clickOk();
        QVERIFY(!none.shown());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
    }

    // ---- white background

    void whiteBackgroundFollowsTheTestPatternWindow()
    {
        pz_test_pattern_dialog &window = *rig->testPattern;
        window.SetTestPattern(1);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        open();
        QVERIFY(dialog->custom_white_point_white_background_checkBox->isChecked());
        QVERIFY(window.isVisible());
        QCOMPARE(window.geometry(), kDisplay1);
        QCOMPARE(testPatternCentre(window), QColor(Qt::white));
        QVERIFY(!testPatternControlsBack(window));
        // Unticked: hidden, controls back; ticked again: white once more.
        dialog->custom_white_point_white_background_checkBox->setChecked(false);
        QVERIFY(!window.isVisible());
        QVERIFY(testPatternControlsBack(window));
        dialog->custom_white_point_white_background_checkBox->setChecked(true);
        QVERIFY(window.isVisible());
        dialog.reset();
        QVERIFY(!window.isVisible());
        QVERIFY(testPatternControlsBack(window));
    }
};

QTEST_MAIN(TestCustomWhitePointDialog)
#include "tst_custom_white_point_dialog.moc"
