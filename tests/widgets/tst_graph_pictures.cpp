// Pictures of the tone-curve, DICOM and colour-tracking graphs on both
// backgrounds, written into the pictures folder to look at as a user would
// (the chromaticity diagram writes its own). Only one thing is checked: no
// two tick numbers overlap, also at the DICOM graph's smallest size.

#include "CSpline.h"
#include "TestSupport.h"
#include "PZ_curves_graph.h"
#include "PZ_dicom_graph.h"
#include "PZ_tracking_graph.h"
#include "Resources.h"
#include "TickLabels.h"

#include <QDir>
#include <QtTest>

#include <cmath>
#include <vector>

namespace {

QString picturePath(const QString &graph, bool white)
{
    return pz::test::picturePath(QString("%1_%2.png").arg(graph, white ? "white" : "black"));
}

CSpline gammaCurve(double gamma)
{
    CSpline s;
    s.InitSpline(SPLINE_CATMULL_ROM, 256, 0.0, 1.0);
    s.SetSplineGamma(gamma);
    s.SetValid(true);
    return s;
}

} // namespace

class TestGraphPictures : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pz::initResources(); }

    void curves_data() { backgrounds(); }
    void curves()
    {
        QFETCH(bool, white);
        PZ_curves_graph graph;
        graph.resize(420, 420);
        graph.SetBlockUpdates(true);
        graph.SetXAxisLabelString("Input Level");
        graph.SetYAxisLabelString("Output Luminance");
        graph.SetShowXGradient(true);
        graph.SetShowYGradient(true);
        graph.SetGradientColor(Qt::black, Qt::white);
        graph.SetShowUnitLabels(false);
        const auto pen = [](const QColor &c, double w) {
            return QPen(c, w, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
        };
        graph.SetSplines({gammaCurve(2.2), gammaCurve(2.0), gammaCurve(2.3), gammaCurve(2.4)},
                         {pen(Qt::white, 2.0), pen(Qt::red, 1.0), pen(Qt::green, 1.0),
                          pen(Qt::blue, 1.0)});
        graph.WhiteBackground(white);
        graph.SetBlockUpdates(false);
        QVERIFY(graph.grab().save(picturePath("curves", white)));
    }

    void dicom_data() { backgrounds(); }
    void dicom()
    {
        QFETCH(bool, white);
        const int n = 16;
        std::vector<double> jnd, refX, refY, measX, measY, deviation;
        for (int i = 0; i < n; ++i) {
            jnd.push_back(2.4 + 0.3 * std::sin(i));
            const double index = 30.0 + 40.0 * i;
            const double reference = 0.02 / (1.0 + index / 80.0);
            refX.push_back(index);
            refY.push_back(reference);
            measX.push_back(index + 20);
            measY.push_back(reference * (1.0 + 0.15 * std::sin(1.7 * i)));
            deviation.push_back(15.0 * std::fabs(std::sin(1.7 * i)));
        }
        for (bool jndMode : {true, false}) {
            PZ_dicom_graph graph;
            graph.resize(260, 260);
            graph.SetBlockUpdates(true);
            graph.SetDICOMGraphData(jnd.data(), n, 2.4, 0.2, 2.2, 0.002);
            graph.SetDICOMContrastGraphData(refX.data(), refY.data(), measX.data(), measY.data(),
                                            deviation.data(), n);
            graph.SetShow_Average_JND_PER_DDL(true);
            graph.SetShow_Linear_Fit_JND_PER_DDL(true);
            graph.SetShow_10Percent_Limits(true);
            graph.SetShow_20Percent_Limits(true);
            graph.SetShow_Barten_model(true);
            graph.SetGraphTypeJND_PER_DDL(jndMode);
            graph.WhiteBackground(white);
            graph.SetBlockUpdates(false);
            QVERIFY(graph.grab().save(picturePath(jndMode ? "dicom_jnd" : "dicom_contrast", white)));
            QVERIFY2(ticklabels::overlapping(graph).isEmpty(),
                     qPrintable(ticklabels::overlapping(graph)));
        }
    }

    void tracking_data() { backgrounds(); }
    void tracking()
    {
        QFETCH(bool, white);
        std::vector<double> deltaE, luminance;
        for (int i = 1; i <= 17; ++i) {
            luminance.push_back(160.0 * std::pow(i / 17.0, 2.2));
            deltaE.push_back(0.4 + 0.7 * (i % 9) + (i == 3 ? 8 : 0));
        }
        PZ_tracking_graph graph;
        graph.resize(420, 420);
        graph.SetBlockUpdates(true);
        graph.SetXAxisLabelString("Delta E (CIE94)");
        graph.SetYAxisLabelString("Output Luminance");
        graph.SetAverage(2.5);
        graph.SetShowAverage(true);
        graph.SetColorTrackingGraphData(deltaE.data(), luminance.data(), uint(deltaE.size()));
        graph.WhiteBackground(white);
        graph.SetBlockUpdates(false);
        QVERIFY(graph.grab().save(picturePath("tracking", white)));
        QVERIFY2(ticklabels::overlapping(graph).isEmpty(), qPrintable(ticklabels::overlapping(graph)));
    }

private:
    static void backgrounds()
    {
        QTest::addColumn<bool>("white");
        QTest::newRow("black") << false;
        QTest::newRow("white") << true;
    }
};

QTEST_MAIN(TestGraphPictures)
#include "tst_graph_pictures.moc"
