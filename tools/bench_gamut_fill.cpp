// Benchmark: the shaded fill of an sRGB display gamut in a 600 x 600
// chromaticity diagram, which the diagram recomputes at every redraw.
// Prints the time per call. Usage: bench_gamut_fill [repetitions]

#include "PZ_gamut_graph.h"
#include "Resources.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

// The diagram, with the plot area it lays out at its size.
class BenchGraph : public PZ_gamut_graph {
public:
    using PZ_gamut_graph::plotArea;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    pz::initResources();
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;

    BenchGraph graph;
    graph.resize(600, 600);
    const QRect area = graph.plotArea();
    const QVector<QPointF> points = {QPointF(0.64, 0.33), QPointF(0.30, 0.60), QPointF(0.15, 0.06),
                                     QPointF(0.3127, 0.3290)};
    QImage canvas(600, 600, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);

    graph.DrawColorTriangle(points, area, &painter); // warm-up
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repetitions; ++i)
        graph.DrawColorTriangle(points, area, &painter);
    const std::chrono::duration<double, std::micro> elapsed =
        std::chrono::steady_clock::now() - start;
    std::printf("%-46s %10.2f us/call  (%d calls)\n", "DrawColorTriangle, sRGB in 600 x 600",
                elapsed.count() / repetitions, repetitions);
    return 0;
}
