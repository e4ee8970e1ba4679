// The custom colour gamut editor, offscreen, driven by its widgets' object
// names: the list and the boxes, presets and the native gamut recognised
// from the values, list choices, dragging a corner with the mouse, and the
// native primaries that are unknown or not on the boxes' 0.001 grid.

#include "CColorCalcUtils.h"
#include "TestSupport.h"
#include "PZ_gamut_graph.h"
#include "Resources.h"
#include "TickLabels.h"
#include "StringResources.h"
#include "pz_custom_color_gamut_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>

#include <cmath>

namespace {

using Gamut = CTargetValue::typeColorGamutType;

const char *const kBoxes[6] = {"red_x_doubleSpinBox",   "red_y_doubleSpinBox",
                               "green_x_doubleSpinBox", "green_y_doubleSpinBox",
                               "blue_x_doubleSpinBox",  "blue_y_doubleSpinBox"};

QDoubleSpinBox *box(QDialog &d, int i)
{
    return d.findChild<QDoubleSpinBox *>(kBoxes[i]);
}
QComboBox *list(QDialog &d)
{
    return d.findChild<QComboBox *>("gamut_comboBox");
}
PZ_gamut_graph *graph(QDialog &d)
{
    return d.findChild<PZ_gamut_graph *>("color_gamut_widget");
}
QPushButton *okButton(QDialog &d)
{
    return d.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok);
}
int shownEntry(QDialog &d)
{
    return list(d)->currentData().toInt();
}
QVector<double> values(QDialog &d)
{
    QVector<double> v;
    for (int i = 0; i < 6; ++i)
        v << box(d, i)->value();
    return v;
}
QVector<double> preset(int row)
{
    return QVector<double>(presets_gamuts[row], presets_gamuts[row] + 6);
}

// Primaries that no code writes: they must come back as they went in.
struct Sentinel {
    CCIEYxy rgb[3] = {CCIEYxy(7, 0.7, 0.7), CCIEYxy(7, 0.7, 0.7), CCIEYxy(7, 0.7, 0.7)};
    bool untouched() const
    {
        for (const CCIEYxy &c : rgb)
            if (c.Y != 7 || c.x != 0.7 || c.y != 0.7)
                return false;
        return true;
    }
};

Gamut codeOf(pz_custom_color_gamut_dialog &d, Sentinel &out)
{
    Gamut type = CTargetValue::kGamutCustom;
    d.GetGamutValues(type, out.rgb);
    return type;
}

void send(QWidget *w, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace

class TestCustomColorGamutDialog : public QObject {
    Q_OBJECT

private slots:
    // At the size the editor opens with, the graph's tick numbers stand
    // apart, with the font sizes desktops use.
    void tickNumbersStandApartAtTheOpeningSize()
    {
        ticklabels::checkAtDesktopFontSizes(
            [] {
                auto d = std::make_unique<pz_custom_color_gamut_dialog>();
                // As the target editor opens it: values loaded.
                CCIEYxy srgb[3] = {CCIEYxy(1, 0.64, 0.33), CCIEYxy(1, 0.30, 0.60),
                                   CCIEYxy(1, 0.15, 0.06)};
                d->SetGamutValues(CTargetValue::kGamutCustom, srgb);
                return std::unique_ptr<QWidget>(std::move(d));
            },
            QStringLiteral("custom_color_gamut_dialog_opening_%1pt.png"));
    }

    void initTestCase() { pz::initResources(); }

    void formAndList()
    {
        pz_custom_color_gamut_dialog d;
        QCOMPARE(d.windowTitle(), QString("Custom Color Gamut"));
        QVERIFY(!(d.windowFlags() & Qt::WindowContextHelpButtonHint));
        QComboBox *l = list(d);
        QCOMPARE(l->count(), 10);
        for (int row = 0; row < 10; ++row) {
            QCOMPARE(l->itemText(row), GetStringResource(1000 + row));
            QCOMPARE(l->itemData(row).toInt(), row == 0 ? -2 : row - 2);
        }
        const double ranges[6][2] = {{0.55, 0.80}, {0.20, 0.40}, {0.10, 0.35},
                                     {0.50, 0.90}, {0.0, 0.25},  {0.0, 0.15}};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(box(d, i)->minimum(), ranges[i][0]);
            QCOMPARE(box(d, i)->maximum(), ranges[i][1]);
            QCOMPARE(box(d, i)->decimals(), 3);
            QCOMPARE(box(d, i)->singleStep(), 0.001);
            QCOMPARE(box(d, i)->value(), ranges[i][0]); // no start value of its own
        }
        PZ_gamut_graph *g = graph(d);
        QVERIFY(g->HasAdjustablePoints());
        QVERIFY(g->GetShowGraphLabel());
        QCOMPARE(g->GetGraphLabelString(), QString("CIE 1931 xy"));
        QVERIFY(g->hasMouseTracking());
        QVERIFY(!g->HasDisplayGamut()); // nothing until values are loaded
    }

    void presetsComeBackByTheirCode_data()
    {
        QTest::addColumn<int>("code");
        for (int code = 1; code <= 8; ++code)
            QTest::newRow(qPrintable(GetStringResource(1001 + code))) << code;
    }
    void presetsComeBackByTheirCode()
    {
        QFETCH(int, code);
        pz_custom_color_gamut_dialog d;
        Sentinel in, out;
        d.SetGamutValues(Gamut(code), in.rgb);
        QCOMPARE(values(d), preset(code - 1));
        QCOMPARE(shownEntry(d), code - 1);
        QCOMPARE(int(codeOf(d, out)), code);
        QVERIFY(out.untouched());
        QVERIFY(okButton(d)->isEnabled());
    }

    void oneStepAwayIsCustomAndBackIsThePreset()
    {
        pz_custom_color_gamut_dialog d;
        d.SetGamutValues(CTargetValue::kGamutAdobeRGB, nullptr);
        box(d, 3)->stepBy(1);
        QCOMPARE(box(d, 3)->value(), 0.711);
        QCOMPARE(shownEntry(d), -1);
        Sentinel out;
        QCOMPARE(codeOf(d, out), CTargetValue::kGamutCustom);
        QCOMPARE(out.rgb[1].x, 0.21);
        QCOMPARE(out.rgb[1].y, 0.711);
        for (const CCIEYxy &c : out.rgb)
            QCOMPARE(c.Y, 0.0);
        box(d, 3)->stepBy(-1);
        QCOMPARE(shownEntry(d), 1);
        QCOMPARE(codeOf(d, out), CTargetValue::kGamutAdobeRGB);
    }

    void choosingAnEntry()
    {
        pz_custom_color_gamut_dialog d;
        d.SetGamutValues(CTargetValue::kGamutSRGB, nullptr);
        // "Custom" changes nothing, and the values are still sRGB.
        list(d)->setCurrentIndex(list(d)->findData(-1));
        QCOMPARE(values(d), preset(0));
        Sentinel out;
        QCOMPARE(codeOf(d, out), CTargetValue::kGamutSRGB);
        // A preset loads its values.
        list(d)->setCurrentIndex(list(d)->findData(4));
        QCOMPARE(values(d), preset(4));
        QCOMPARE(codeOf(d, out), CTargetValue::kGamutDCI);
        QCOMPARE(shownEntry(d), 4);
    }

    // Values equal to a preset and to the native primaries: the list shows
    // the native entry, the code is the preset's.
    void nativeEqualToAPreset()
    {
        pz_custom_color_gamut_dialog d;
        CCIEYxy native[3] = {CCIEYxy(50, 0.64, 0.33), CCIEYxy(150, 0.30, 0.60),
                             CCIEYxy(20, 0.15, 0.06)};
        d.SetMonitorNativeGamutData(true, native);
        QVERIFY(graph(d)->HasNativeGamut());
        d.SetGamutValues(CTargetValue::kGamutSRGB, nullptr);
        QCOMPARE(shownEntry(d), -2);
        Sentinel out;
        QCOMPARE(codeOf(d, out), CTargetValue::kGamutSRGB);
    }

    void nativeEntryRemovedAndAppended()
    {
        pz_custom_color_gamut_dialog d;
        CCIEYxy native[3] = {CCIEYxy(0, 0.66, 0.33), CCIEYxy(0, 0.28, 0.62),
                             CCIEYxy(0, 0.15, 0.07)};
        d.SetMonitorNativeGamutData(true, native); // present already: nothing appended
        QCOMPARE(list(d)->count(), 10);
        d.SetMonitorNativeGamutData(false, native);
        QCOMPARE(list(d)->count(), 9);
        QCOMPARE(list(d)->findData(-2), -1);
        QVERIFY(!graph(d)->HasNativeGamut());
        d.SetMonitorNativeGamutData(true, native);
        QCOMPARE(list(d)->count(), 10);
        QCOMPARE(list(d)->findData(-2), 9);
        QCOMPARE(list(d)->itemText(9), QString("Native Gamut"));
        // Choosing it loads the native primaries.
        d.SetGamutValues(CTargetValue::kGamutSRGB, nullptr);
        list(d)->setCurrentIndex(9);
        QCOMPARE(values(d), (QVector<double>{0.66, 0.33, 0.28, 0.62, 0.15, 0.07}));
        Sentinel out;
        QCOMPARE(codeOf(d, out), CTargetValue::kGamutNative);
    }

    // Native primaries read from an EDID are multiples of 1/1024; held as
    // the boxes hold them, a native target round-trips as native.
    void nativeFromTheEdidRoundTrips()
    {
        pz_custom_color_gamut_dialog d;
        CCIEYxy native[3] = {CCIEYxy(0, 655 / 1024.0, 338 / 1024.0),
                             CCIEYxy(0, 307 / 1024.0, 617 / 1024.0),
                             CCIEYxy(0, 154 / 1024.0, 61 / 1024.0)};
        d.SetMonitorNativeGamutData(true, native);
        d.SetGamutValues(CTargetValue::kGamutNative, nullptr);
        QCOMPARE(box(d, 0)->value(), 0.640);
        QCOMPARE(shownEntry(d), -2);
        Sentinel out;
        QCOMPARE(codeOf(d, out), CTargetValue::kGamutNative);
        QVERIFY(out.untouched());
    }

    // Without native primaries a native target stays native until a value
    // is edited; the boxes keep their values.
    void nativeUnknown()
    {
        pz_custom_color_gamut_dialog d;
        d.SetMonitorNativeGamutData(false, nullptr);
        d.SetGamutValues(CTargetValue::kGamutNative, nullptr);
        QCOMPARE(values(d), (QVector<double>{0.55, 0.20, 0.10, 0.50, 0.0, 0.0}));
        Sentinel out;
        QCOMPARE(codeOf(d, out), CTargetValue::kGamutNative);
        QVERIFY(out.untouched());
        QVERIFY(okButton(d)->isEnabled());
        box(d, 0)->setValue(0.6);
        QCOMPARE(codeOf(d, out), CTargetValue::kGamutCustom);
        QVERIFY(!okButton(d)->isEnabled()); // blue y is 0
        // Choosing a preset whose values are already there counts as an edit.
        pz_custom_color_gamut_dialog e;
        e.SetMonitorNativeGamutData(false, nullptr);
        e.SetGamutValues(CTargetValue::kGamutSRGB, nullptr);
        e.SetGamutValues(CTargetValue::kGamutNative, nullptr);
        QCOMPARE(codeOf(e, out), CTargetValue::kGamutNative);
        list(e)->setCurrentIndex(list(e)->findData(0));
        QCOMPARE(codeOf(e, out), CTargetValue::kGamutSRGB);
    }

    // Within the boxes' ranges only a blue y of 0 makes the triangle
    // unusable (green lies far above red and blue, so the area never gets
    // small).
    void okOnlyForAUsableTriangle_data()
    {
        QTest::addColumn<QVector<double>>("xy");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("sRGB") << preset(0) << true;
        QTest::newRow("blue y 0") << QVector<double>{0.64, 0.33, 0.30, 0.60, 0.15, 0.0} << false;
        QTest::newRow("blue y 0.001") << QVector<double>{0.64, 0.33, 0.30, 0.60, 0.15, 0.001} << true;
    }
    void okOnlyForAUsableTriangle()
    {
        QFETCH(QVector<double>, xy);
        QFETCH(bool, enabled);
        pz_custom_color_gamut_dialog d;
        CCIEYxy rgb[3] = {CCIEYxy(0, xy[0], xy[1]), CCIEYxy(0, xy[2], xy[3]),
                          CCIEYxy(0, xy[4], xy[5])};
        d.SetGamutValues(CTargetValue::kGamutCustom, rgb);
        QCOMPARE(okButton(d)->isEnabled(), enabled);
        box(d, 5)->setValue(0.06);
        QVERIFY(okButton(d)->isEnabled());
    }

    void dragSlotSetsOnlyItsPrimary()
    {
        pz_custom_color_gamut_dialog d;
        d.SetGamutValues(CTargetValue::kGamutSRGB, nullptr);
        d.gamut_dragging_point(2, QPointF(0.2512, 0.6487));
        QCOMPARE(values(d), (QVector<double>{0.64, 0.33, 0.251, 0.649, 0.15, 0.06}));
        // Past a range limit the corner stays at the limit.
        d.gamut_dragging_point(3, QPointF(0.5, -0.2));
        QCOMPARE(box(d, 4)->value(), 0.25);
        QCOMPARE(box(d, 5)->value(), 0.0);
        const QVector<double> before = values(d);
        d.gamut_dragging_point(4, QPointF(0.3, 0.3));
        d.gamut_dragging_point(0, QPointF(0.3, 0.3));
        QCOMPARE(values(d), before);
        d.SetGamutValues(Gamut(12), nullptr);
        QCOMPARE(values(d), before);
    }

    // A drag made of mouse events on the diagram: only the green boxes
    // change, and the triangle follows them.
    void draggingTheGreenCornerWithTheMouse()
    {
        pz_custom_color_gamut_dialog d;
        d.resize(700, 480);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.SetGamutValues(CTargetValue::kGamutSRGB, nullptr);
        PZ_gamut_graph *g = graph(d);
        const QPointF green = g->GetPointPositions().at(1);
        const QPointF start(qRound(green.x()), qRound(green.y()));
        const QPointF end = start + QPointF(-12, -15);
        send(g, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
        send(g, QEvent::MouseMove, start + QPointF(-6, -7), Qt::NoButton, Qt::LeftButton);
        send(g, QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton);
        send(g, QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);
        const QVector<double> v = values(d);
        QCOMPARE(v[0], 0.64);
        QCOMPARE(v[1], 0.33);
        QCOMPARE(v[4], 0.15);
        QCOMPARE(v[5], 0.06);
        QVERIFY(v[2] < 0.30);
        QVERIFY(v[3] > 0.60);
        QCOMPARE(shownEntry(d), -1);
        const QPointF moved = g->GetPointPositions().at(1);
        QVERIFY2(std::fabs(moved.x() - end.x()) < 1.5 && std::fabs(moved.y() - end.y()) < 1.5,
                 qPrintable(QString("%1,%2").arg(moved.x()).arg(moved.y())));
        QVERIFY(d.grab().save(pz::test::picturePath("custom_color_gamut_dialog.png")));
    }

    void pictureWithTheNativeGamut()
    {
        pz_custom_color_gamut_dialog d;
        d.resize(700, 480);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        CCIEYxy native[3] = {CCIEYxy(0, 0.66, 0.33), CCIEYxy(0, 0.27, 0.64), CCIEYxy(0, 0.15, 0.06)};
        d.SetMonitorNativeGamutData(true, native);
        d.SetGamutValues(CTargetValue::kGamutAdobeRGB, nullptr);
        QVERIFY(d.grab().save(pz::test::picturePath("custom_color_gamut_dialog_native.png")));
    }
};

QTEST_MAIN(TestCustomColorGamutDialog)
#include "tst_custom_color_gamut_dialog.moc"
