// The target editor with its custom white point dialog, on the measuring
// tools' bench: the white point the dialog returns selects its list entry
// or becomes the Custom entry, and a measured intensity above 40 cd/m² is
// offered as the target's intensity. The white point dialog itself is
// answered by the test.

#include "CPreferences.h"
#include "MeasureToolsRig.h"
#include "ModalBox.h"
#include "NextModal.h"
#include "PZ_Custom_White_Point_Dialog.h"
#include "PZ_edit_target_dialog.h"
#include "PreferencesRegistry.h"
#include "Resources.h"
#include "SimulatedScreens.h"
#include "StandardTargets.h"
#include "StringResources.h"
#include "TestSupport.h"

#include <QtTest>

#include <memory>

using namespace pz::test;

namespace {

using Dialog = PZ_edit_target_dialog;

QByteArray bytes(const CTargetValue &t)
{
    return recordBytes([&](QDataStream &s) { s << t; });
}

// "Photo Editing" at maximum intensity: D65 as x,y, 140 cd/m² kept for a
// specific level, gamma 2.2, native gamut.
CTargetValue maximumPhotoEditing()
{
    CTargetValue t = pz::standardTargets().at(pz::kPhotoEditingPreset);
    t.m_IntensityType = CTargetValue::kIntensityMaximum;
    return t;
}

std::unique_ptr<Dialog> open(const CTargetValue &t)
{
    CCIEYxy native[3];
    return std::make_unique<Dialog>(t, CDDCMonitor::kColorGamutFree, native, nullptr);
}

// Answers the next white point dialog: accepted with the given white point
// and measured intensity, or rejected when accept is false.
struct WhitePointAnswer : NextModal<PZ_Custom_White_Point_Dialog> {
    WhitePointAnswer(bool accept, CColorTemperature white, double measured = -1.0)
        : NextModal<PZ_Custom_White_Point_Dialog>([=](PZ_Custom_White_Point_Dialog &d) {
              openedWith = d.white_point;
              if (!accept) {
                  d.reject();
                  return;
              }
              d.white_point = white;
              d.measured_luminance = measured;
              d.accept();
          })
    {
    }
    CColorTemperature openedWith;
};

CTargetValue pressOk(Dialog &d)
{
    d.buttonBox->button(QDialogButtonBox::Ok)->click();
    return d.working_target;
}

} // namespace

Q_DECLARE_METATYPE(CColorTemperature)

class TestEditTargetWhitePoint : public QObject {
    Q_OBJECT

    std::unique_ptr<MeasureToolsRig> rig;

private slots:
    void initTestCase()
    {
        pz::initResources();
        PZ_REQUIRE_SIMULATED_SCREENS();
    }
    void init() { rig = std::make_unique<MeasureToolsRig>(); }
    void cleanup() { rig.reset(); }

    // The returned white point selects its preset entry, or becomes the
    // Custom entry, which exists at most once.
    void returnedWhitePoint_data()
    {
        QTest::addColumn<CColorTemperature>("opened");
        QTest::addColumn<CColorTemperature>("returned");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("xy");
        const CColorTemperature k6000(static_cast<unsigned short>(6000));
        const CColorTemperature k5000(static_cast<unsigned short>(5000));
        const CColorTemperature free(_CIExy{0.30, 0.31});
        QTest::newRow("5000 K replaces a Custom 6000 K")
            << k6000 << k5000 << "5000K" << 11 << QString("5000 K (0.0000 \u0394 uv)")
            << QString("x=%1 y=%2").arg(k5000.m_CIExy.x, 0, 'f', 4).arg(k5000.m_CIExy.y, 0, 'f', 4);
        QTest::newRow("an x,y point becomes the Custom entry")
            << k6000 << free << "Custom" << 12
            << QString("%1 K (%2 \u0394 uv)").arg(free.m_Kelvin).arg(std::fabs(free.m_DeltaUV), 0, 'f', 4)
            << QString("x=0.3000 y=0.3100");
        QTest::newRow("D50 from D65") << CColorTemperature(_CIExy{0.3127, 0.329})
                                      << CColorTemperature(_CIExy{0.3457, 0.3585}) << "D50" << 11
                                      << QString() << QString("x=0.3457 y=0.3585");
    }
    void returnedWhitePoint()
    {
        QFETCH(CColorTemperature, opened);
        QFETCH(CColorTemperature, returned);
        QFETCH(QString, entry);
        QFETCH(int, entries);
        QFETCH(QString, temperature);
        QFETCH(QString, xy);
        CTargetValue target = maximumPhotoEditing();
        target.m_WhitePoint = opened;
        auto d = open(target);
        WhitePointAnswer answer(true, returned);
        ModalBoxAnswer question(QMessageBox::Yes);
        d->target_Edit_White_Point_pushButton->click();
        QVERIFY(answer.shown());
        QVERIFY(answer.openedWith == opened);
        QVERIFY(!question.shown());
        QCOMPARE(d->target_white_point_comboBox->currentText(), entry);
        QCOMPARE(d->target_white_point_comboBox->count(), entries);
        if (!temperature.isEmpty())
            QCOMPARE(d->target_white_point_color_temp_label->text(), temperature);
        QCOMPARE(d->target_white_point_CIE_xy_label->text(), xy);
        const CTargetValue stored = pressOk(*d);
        QVERIFY(stored.m_WhitePoint == returned);
        QCOMPARE(stored.m_WhitePoint.m_CIExy.x, returned.m_CIExy.x);
        QCOMPARE(stored.m_IntensityType, 1);
    }

    // A measured intensity above 40 cd/m² is offered; Yes sets the box
    // (clamped to its range) and the specific level.
    void measuredIntensity_data()
    {
        QTest::addColumn<double>("measured");
        QTest::addColumn<bool>("footLamberts");
        QTest::addColumn<int>("answer");        // the button, 0 when no question is expected
        QTest::addColumn<QString>("offered");
        QTest::addColumn<double>("shown");
        QTest::addColumn<double>("stored");
        QTest::addColumn<int>("type");
        QTest::newRow("nothing measured") << -1.0 << false << 0 << QString() << 140.0 << 140.0 << 1;
        QTest::newRow("exactly 40") << 40.0 << false << 0 << QString() << 140.0 << 140.0 << 1;
        QTest::newRow("350, Yes") << 350.0 << false << int(QMessageBox::Yes) << QString("350.0 cd/m\u00b2")
                                  << 350.0 << 350.0 << 3;
        QTest::newRow("350, No") << 350.0 << false << int(QMessageBox::No) << QString("350.0 cd/m\u00b2")
                                 << 140.0 << 140.0 << 1;
        QTest::newRow("350 in fL, Yes") << 350.0 << true << int(QMessageBox::Yes) << QString("102.2 fL")
                                        << 102.16 << 102.16 * 3.426 << 3;
        QTest::newRow("900, Yes, clamped") << 900.0 << false << int(QMessageBox::Yes)
                                           << QString("900.0 cd/m\u00b2") << 800.0 << 800.0 << 3;
    }
    void measuredIntensity()
    {
        QFETCH(double, measured);
        QFETCH(bool, footLamberts);
        QFETCH(int, answer);
        QFETCH(QString, offered);
        QFETCH(double, shown);
        QFETCH(double, stored);
        QFETCH(int, type);
        CPreferences preferences;
        preferences.SetLuminanceUnits(footLamberts ? 1 : 0);
        pz::ScopedPreferences scope(&preferences);
        auto d = open(maximumPhotoEditing());
        const double before = d->target_Intensity_Specific_Level_doubleSpinBox->value();
        WhitePointAnswer white(true, CColorTemperature(static_cast<unsigned short>(5500)), measured);
        ModalBoxAnswer question(answer ? QMessageBox::StandardButton(answer) : QMessageBox::No);
        d->target_Edit_White_Point_pushButton->click();
        QVERIFY(white.shown());
        QCOMPARE(question.shown(), answer != 0);
        if (answer) {
            QCOMPARE(question.text(), QString("Would you like use the measured intensity of %1 as the "
                                              "Intensity value for this Target?")
                                          .arg(offered));
            QCOMPARE(question.windowTitle(), GetStringResource(1));
        }
        const double expectedShown = answer == QMessageBox::Yes ? shown : before;
        QCOMPARE(d->target_Intensity_Specific_Level_doubleSpinBox->value(), expectedShown);
        QCOMPARE(d->target_Intensity_Specific_Level_radioButton->isChecked(), type == 3);
        QCOMPARE(d->target_Intensity_Specific_Level_doubleSpinBox->isEnabled(), type == 3);
        const CTargetValue result = pressOk(*d);
        QCOMPARE(result.m_IntensityType, type);
        QCOMPARE(result.m_Intensity, stored);
    }

    // Cancel in the white point dialog changes nothing.
    void cancelledWhitePointChangesNothing()
    {
        const CTargetValue target = maximumPhotoEditing();
        auto d = open(target);
        WhitePointAnswer white(false, CColorTemperature(static_cast<unsigned short>(5000)), 300.0);
        ModalBoxAnswer question(QMessageBox::Yes);
        d->target_Edit_White_Point_pushButton->click();
        QVERIFY(white.shown());
        QVERIFY(!question.shown());
        QCOMPARE(bytes(pressOk(*d)), bytes(target));
    }
};

QTEST_MAIN(TestEditTargetWhitePoint)
#include "tst_edit_target_white_point.moc"
