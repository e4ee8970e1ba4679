// The custom tone curve editor: the curve text file reader (a table of
// files, and random files replayed under the sanitizers), the four presets,
// importing through the file dialog with its error messages, the graph's
// set-up and the curve it draws, and what OK and Cancel hand back.

#include "CTargetValue.h"
#include "TestSupport.h"
#include "ModalBox.h"
#include "NextModal.h"
#include "PZ_Custom_Gamma_Curve_Dialog.h"
#include "PZ_curves_graph.h"
#include "Resources.h"
#include "TickLabels.h"
#include "ToneCurves.h"
#include "UnwrittenFifo.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(QVector<QPointF>)

namespace {

using pz::test::FileDialogAnswer;
using pz::test::ModalBoxAnswer;

// Names the graph's protected settings and plot area; never created, only
// used to form member pointers (of Plotter) that apply to the real graph.
struct CurvesGraphAccess : PZ_curves_graph {
    using Plotter::gradientColorHigh;
    using Plotter::gradientColorLow;
    using Plotter::plotArea;
    using Plotter::showGraphLabel;
    using Plotter::showUnitLabels;
    using Plotter::showXAxisLabel;
    using Plotter::showXGradient;
    using Plotter::showYAxisLabel;
    using Plotter::showYGradient;
    using Plotter::xAxisLabel;
    using Plotter::yAxisLabel;
};

template <typename T>
T read(PZ_curves_graph *g, T Plotter::*member)
{
    return g->*member;
}
QRect plotAreaOf(PZ_curves_graph *g)
{
    return (g->*(&CurvesGraphAccess::plotArea))();
}

QString lines(int count, int first = 0)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QString::number(first + i) + '\n';
    return text;
}

// A curve no failing read may touch.
CSpline sentinel()
{
    CSpline s;
    CreateLStarCurveSpline(&s);
    s.SetValid(true);
    return s;
}

QVector<QPointF> pointsOf(const CSpline &s)
{
    QVector<QPointF> p;
    for (int i = 0; i < s.GetNumberOfPoints(); ++i)
        p << QPointF(s.GetX(i), s.GetY(i));
    return p;
}

// True when some pixel within one of pos is near white.
bool whiteNear(const QImage &image, QPointF pos)
{
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            const QColor c = image.pixelColor(qRound(pos.x()) + dx, qRound(pos.y()) + dy);
            if (c.red() > 200 && c.green() > 200 && c.blue() > 200)
                return true;
        }
    return false;
}

} // namespace

class TestCustomGammaCurveDialog : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &content)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    // At the size the editor opens with, the graph's tick numbers stand
    // apart, with the font sizes desktops use.
    void tickNumbersStandApartAtTheOpeningSize()
    {
        ticklabels::checkAtDesktopFontSizes(
            [] {
                auto d = std::make_unique<PZ_Custom_Gamma_Curve_Dialog>();
                CreatesRGBCurveSpline(&d->custom_curve);
                d->UpdateCurves();
                return std::unique_ptr<QWidget>(std::move(d));
            },
            QStringLiteral("custom_gamma_curve_dialog_opening_%1pt.png"));
    }

    void initTestCase()
    {
        pz::initResources();
        QVERIFY(m_dir.isValid());
    }

    // ---- the file ----------------------------------------------------------

    void readFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("code");
        // Checked only when not empty.
        QTest::addColumn<QVector<QPointF>>("points");
        const QVector<QPointF> half{{0, 0}, {0.5, 0.5}, {1, 1}};

        QTest::newRow("0 0.25 1") << QByteArray("0\n0.25\n1\n") << 0
                                  << QVector<QPointF>{{0, 0}, {0.5, 0.25}, {1, 1}};
        QTest::newRow("0 64 255") << QByteArray("0\n64\n255") << 0
                                  << QVector<QPointF>{{0, 0}, {0.5, 64.0 / 255.0}, {1, 1}};
        QTest::newRow("0 128 256 scaled") << QByteArray("0\n128\n256\n") << 0 << half;
        QTest::newRow("256 values") << lines(256).toLatin1() << 0 << QVector<QPointF>();
        QTest::newRow("2 values") << QByteArray("0\n1\n") << -1030 << QVector<QPointF>();
        QTest::newRow("257 values") << lines(257).toLatin1() << -1031 << QVector<QPointF>();
        QTest::newRow("blank lines anywhere")
            << QByteArray("\n\n0\n\n0.5\n\n\n1\n\n") << 0 << half;
        QTest::newRow("a line of blanks") << QByteArray("0\n   \n0.5\n\t \n1\n") << 0 << half;
        QTest::newRow("blanks around numbers") << QByteArray(" 0\n0.5 \n\t1\n") << 0 << half;
        QTest::newRow("CR LF") << QByteArray("0\r\n0.5\r\n1\r\n") << 0 << half;
        QTest::newRow("CR alone is one line") << QByteArray("0\r0.5\r1") << -1030 << QVector<QPointF>();
        QTest::newRow("word mid-file") << QByteArray("0\n0.25\n0.5\nmiddle\n0.75\n1\n") << -1032
                                       << QVector<QPointF>();
        QTest::newRow("two numbers on a line") << QByteArray("0\n0.25\n0.5\n0.6 0.7\n1\n") << -1032
                                               << QVector<QPointF>();
        QTest::newRow("word after two values") << QByteArray("0\n0.5\nmiddle\n1\n") << -1030
                                               << QVector<QPointF>();
        QTest::newRow("equal neighbours") << QByteArray("0\n0\n1\n") << 0
                                          << QVector<QPointF>{{0, 0}, {0.5, 0}, {1, 1}};
        QTest::newRow("decrease") << QByteArray("0\n0.6\n0.5\n1\n") << -1033 << QVector<QPointF>();
        QTest::newRow("first not 0") << QByteArray("0.1\n0.5\n1\n") << -1034 << QVector<QPointF>();
        QTest::newRow("first not 0 before a decrease")
            << QByteArray("0.1\n0.5\n0.4\n1\n") << -1034 << QVector<QPointF>();
        QTest::newRow("decrease before a word") << QByteArray("0\n0.6\n0.5\nword\n") << -1033
                                                << QVector<QPointF>();
        QTest::newRow("decrease before too many")
            << (QByteArray("0\n2\n1\n") + lines(300, 3).toLatin1()) << -1033 << QVector<QPointF>();
        QTest::newRow("minus zero first") << QByteArray("-0\n0.5\n1\n") << 0 << half;
        QTest::newRow("nan") << QByteArray("0\n0.5\n1\nnan\n") << -1032 << QVector<QPointF>();
        QTest::newRow("inf") << QByteArray("0\n0.5\n1\ninf\n") << -1032 << QVector<QPointF>();
        QTest::newRow("-inf") << QByteArray("0\n0.5\n1\n-inf\n") << -1032 << QVector<QPointF>();
        QTest::newRow("all zeros") << QByteArray("0\n0\n0\n") << -1032 << QVector<QPointF>();
        QTest::newRow("last below single precision") << QByteArray("0\n0\n1e-50\n") << -1032
                                                     << QVector<QPointF>();
        QTest::newRow("last beyond single precision") << QByteArray("0\n1\n1e300\n") << -1032
                                                      << QVector<QPointF>();
        QTest::newRow("empty file") << QByteArray() << -1030 << QVector<QPointF>();
        QTest::newRow("fall right after the first") << QByteArray("0\n-1\n1\n") << -1033
                                                    << QVector<QPointF>();
        // The scale must be a normal single-precision number: a denormal
        // one would end the curve off 1.
        QTest::newRow("last denormal in single precision")
            << QByteArray("0\n0\n1e-40\n") << -1032 << QVector<QPointF>();
        QTest::newRow("last just below the smallest normal")
            << QByteArray("0\n5e-39\n1.1e-38\n") << -1032 << QVector<QPointF>();
        QTest::newRow("last the smallest normal")
            << QByteArray("0\n0\n1.1754943508222875e-38\n") << 0 << QVector<QPointF>{{0, 0}, {0.5, 0}, {1, 1}};
        // No number is longer than 256 characters.
        QTest::newRow("line of 257 characters")
            << (QByteArray("0\n0.5\n1\n2.") + QByteArray(255, '0') + "\n") << -1032
            << QVector<QPointF>();
        QTest::newRow("line of 256 characters")
            << (QByteArray("0\n0.5\n1.") + QByteArray(254, '0') + "\n") << 0 << half;
        QTest::newRow("file of 256 kB") << (QByteArray("0\n0.5\n1") + QByteArray(256 * 1024 - 7, '\n'))
                                        << 0 << half;
        QTest::newRow("file one byte beyond 256 kB")
            << (QByteArray("0\n0.5\n1") + QByteArray(256 * 1024 - 6, '\n')) << -1031
            << QVector<QPointF>();
    }

    // A file far larger than any curve is refused by its size, without
    // being read: 256 MB on one line.
    void readFileRefusesAHugeFile()
    {
        const QString path = m_dir.filePath("huge.txt");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QVERIFY(f.write("0.") == 2);
            QVERIFY(f.resize(qint64(256) * 1024 * 1024)); // sparse: costs no disk
        }
        CSpline curve = sentinel();
        QCOMPARE(PZ_Custom_Gamma_Curve_Dialog::ReadFile(path, &curve), -1031);
        QVERIFY(!(curve != sentinel()));
        QFile::remove(path);
    }

    // Anything but a regular file cannot be opened, and is not: a pipe no
    // one writes to would hold the reader in open(), and a device that
    // never ends (/dev/zero) would be read as far as the limit.
    void readFileRefusesWhatIsNoFile_data()
    {
        QTest::addColumn<QString>("kind");
        for (const QString &kind : pz::test::notAFileKinds())
            QTest::newRow(qPrintable(kind)) << kind;
        QTest::newRow("endless device") << "endless device";
    }
    void readFileRefusesWhatIsNoFile()
    {
        QFETCH(QString, kind);
        const pz::test::NotAFile name(kind);
        const QString path = name.path();
        if (path.isEmpty())
            QSKIP("this system cannot make one");
        CSpline curve = sentinel();
        QCOMPARE(PZ_Custom_Gamma_Curve_Dialog::ReadFile(path, &curve), -1500);
        QVERIFY(!(curve != sentinel()));
        QVERIFY(!name.wasOpened());
    }
    void readFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, code);
        QFETCH(QVector<QPointF>, points);
        const QString path = write("curve.txt", content);
        CSpline curve = sentinel();
        QCOMPARE(PZ_Custom_Gamma_Curve_Dialog::ReadFile(path, &curve), code);
        if (code != 0) {
            QVERIFY(!(curve != sentinel()));
            return;
        }
        QCOMPARE(int(curve.GetSplineType()), int(SPLINE_CATMULL_ROM));
        QCOMPARE(curve.GetRangeMin(), 0.0);
        QCOMPARE(curve.GetRangeMax(), 1.0);
        QVERIFY(curve.IsValid());
        if (points.isEmpty()) {
            const int n = content.count('\n');
            QCOMPARE(curve.GetNumberOfPoints(), n);
            QCOMPARE(curve.GetX(1), 1.0 / (n - 1));
            QCOMPARE(curve.GetY(n - 1), 1.0);
            return;
        }
        QCOMPARE(pointsOf(curve), points);
    }

    void readFileMissing()
    {
        CSpline curve = sentinel();
        QCOMPARE(PZ_Custom_Gamma_Curve_Dialog::ReadFile(m_dir.filePath("none.txt"), &curve), -1500);
        QVERIFY(!(curve != sentinel()));
    }

    // The last value is taken in single precision.
    void readFileScalesBySinglePrecision()
    {
        const QString path = write("third.txt", "0\n0.1\n0.3\n");
        CSpline curve;
        QCOMPARE(PZ_Custom_Gamma_Curve_Dialog::ReadFile(path, &curve), 0);
        QCOMPARE(curve.GetY(1), 0.1 / double(0.3f));
        QCOMPARE(curve.GetY(2), 0.3 / double(0.3f));
    }

    // Random and mutated files: every read ends in a known code, and every
    // accepted curve runs from (0, 0) up to (1, about 1) without a fall.
    void readFileCorpusReplay()
    {
        QRandomGenerator random(0x35a);
        const QList<int> codes{0, -1030, -1031, -1032, -1033, -1034};
        const QByteArray pieces[] = {"0", "1", "-0", "0.5", "7", "1e308", "1e-320", "nan", "inf",
                                     " ", "\t", "\r", "\n", "\n", "\n", "x", "+", "-", ".", "e",
                                     "\xff", "\0"};
        for (int round = 0; round < 1500; ++round) {
            QByteArray content;
            const int length = int(random.bounded(40));
            for (int i = 0; i < length; ++i)
                content += pieces[random.bounded(int(std::size(pieces)))];
            const QString path = write("fuzz.txt", content);
            CSpline curve;
            const int code = PZ_Custom_Gamma_Curve_Dialog::ReadFile(path, &curve);
            QVERIFY2(codes.contains(code), content.toHex().constData());
            if (code != 0)
                continue;
            const int n = curve.GetNumberOfPoints();
            QVERIFY(n >= 3 && n <= 256);
            QCOMPARE(curve.GetY(0), 0.0);
            for (int i = 1; i < n; ++i)
                QVERIFY2(std::isfinite(curve.GetY(i)) && curve.GetY(i) >= curve.GetY(i - 1),
                         content.toHex().constData());
            QVERIFY(std::fabs(curve.GetY(n - 1) - 1.0) < 1e-6);
        }
    }

    // ---- the editor ----------------------------------------------------------

    void formAndGraph()
    {
        PZ_Custom_Gamma_Curve_Dialog d;
        QCOMPARE(d.windowTitle(), QStringLiteral("Custom Gamma Curve"));
        QVERIFY(!(d.windowFlags() & Qt::WindowContextHelpButtonHint));
        QVERIFY(d.isSizeGripEnabled());
        QCOMPARE(d.custom_curve_Import_pushButton->text(), QStringLiteral("Import..."));
        QVERIFY(d.custom_curve_Import_pushButton->toolTip().contains(
            "The file should contain between 3 and 256 values."));
        QCOMPARE(d.custom_curve_NTSC_pushButton->text(), QStringLiteral("NTSC Video"));
        PZ_curves_graph *g = d.widget_Color_Custom_Curve_Graph;
        using A = CurvesGraphAccess;
        QCOMPARE(read(g, &A::xAxisLabel), QStringLiteral("Input Level"));
        QCOMPARE(read(g, &A::yAxisLabel), QStringLiteral("Output Luminance"));
        QVERIFY(read(g, &A::showXAxisLabel) && read(g, &A::showYAxisLabel));
        QVERIFY(read(g, &A::showXGradient) && read(g, &A::showYGradient));
        QCOMPARE(read(g, &A::gradientColorLow), QColor(Qt::black));
        QCOMPARE(read(g, &A::gradientColorHigh), QColor(Qt::white));
        QVERIFY(!read(g, &A::showUnitLabels));
        QVERIFY(!read(g, &A::showGraphLabel));
        QVERIFY(!d.custom_curve.IsValid());
        QCOMPARE(d.custom_curve.GetNumberOfPoints(), 0);
    }

    void presets_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("subtype");
        QTest::addColumn<void *>("builder");
        QTest::newRow("sRGB") << "custom_curve_sRGB_pushButton" << 1
                              << reinterpret_cast<void *>(&CreatesRGBCurveSpline);
        QTest::newRow("L*") << "custom_curve_Lstar_pushButton" << 4
                            << reinterpret_cast<void *>(&CreateLStarCurveSpline);
        QTest::newRow("NTSC") << "custom_curve_NTSC_pushButton" << 2
                              << reinterpret_cast<void *>(&CreateNTSC_SMPTE170M_CurveSpline);
        QTest::newRow("SMPTE-240M") << "custom_curve_SMPTE_240M_pushButton" << 3
                                    << reinterpret_cast<void *>(&CreateHDTV_SMPTE240M_CurveSpline);
    }
    // Each preset replaces curve and subtype, whatever was there, and the
    // graph draws the curve in white.
    void presets()
    {
        QFETCH(QString, button);
        QFETCH(int, subtype);
        QFETCH(void *, builder);
        PZ_Custom_Gamma_Curve_Dialog d;
        d.resize(560, 448);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.custom_curve_type = 5; // read from a file before
        PZ_curves_graph *g = d.widget_Color_Custom_Curve_Graph;
        CSpline expected;
        reinterpret_cast<int (*)(CSpline *)>(builder)(&expected);
        const QPointF mid = g->DataToDrawPoint(expected.GetX(100), expected.GetY(100), plotAreaOf(g));
        QVERIFY(!whiteNear(g->grab().toImage(), mid));

        d.findChild<QPushButton *>(button)->click();
        QCOMPARE(d.custom_curve_type, subtype);
        QCOMPARE(d.custom_curve.GetNumberOfPoints(), 256);
        QVERIFY(!(d.custom_curve != expected));
        QVERIFY(d.custom_curve.IsValid());
        QVERIFY(whiteNear(g->grab().toImage(), mid));
        QCOMPARE(g->GetCurveCount(), 1);
    }

    void import_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("read") << QByteArray("0\n0.25\n1\n") << QString();
        QTest::newRow("not monotonic") << QByteArray("0\n0.6\n0.5\n1\n")
                                       << "Error: Data points are not monotonic.";
        QTest::newRow("not from 0") << QByteArray("0.1\n0.5\n1\n") << "Unknown Error #-1034";
        QTest::newRow("too few") << QByteArray("0\n1\n")
                                 << "Error: File does not contain enough data points.";
        QTest::newRow("invalid") << QByteArray("0\n0\n0\n") << "Error: File contains invalid data.";
    }
    // A read file becomes the curve with subtype 5; a failing one shows its
    // message and keeps the curve and its code.
    void import()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        const QString path = write("import.txt", content);
        PZ_Custom_Gamma_Curve_Dialog d;
        d.custom_curve_sRGB_pushButton->click();
        const CSpline before = d.custom_curve;

        FileDialogAnswer chooser(path);
        ModalBoxAnswer box;
        d.custom_curve_Import_pushButton->click();
        QVERIFY(chooser.shown());
        QCOMPARE(chooser.title, QStringLiteral("Open Custom Curve Points text file"));
        QCOMPARE(chooser.filters, QStringList{"Text files (*.txt)"});
        if (message.isEmpty()) {
            QVERIFY(!box.shown());
            QCOMPARE(d.custom_curve_type, 5);
            QCOMPARE(pointsOf(d.custom_curve), (QVector<QPointF>{{0, 0}, {0.5, 0.25}, {1, 1}}));
            return;
        }
        QVERIFY(box.shown());
        QCOMPARE(box.text(), message);
        QCOMPARE(d.custom_curve_type, 1);
        QVERIFY(!(d.custom_curve != before));
    }

    // A named pipe chosen in the file dialog: the editor answers at once
    // with the message for a file it cannot open, and keeps its curve.
    void importOfAPipe()
    {
        pz::test::UnwrittenFifo pipe;
        QVERIFY(!pipe.path().isEmpty());
        PZ_Custom_Gamma_Curve_Dialog d;
        d.custom_curve_NTSC_pushButton->click();
        const CSpline before = d.custom_curve;
        FileDialogAnswer chooser(pipe.path());
        ModalBoxAnswer box;
        d.custom_curve_Import_pushButton->click();
        QVERIFY(chooser.shown());
        QVERIFY(box.shown());
        QCOMPARE(box.text(), QStringLiteral("Error: Unable to open file."));
        QVERIFY(!pipe.wasOpened());
        QCOMPARE(d.custom_curve_type, 2);
        QVERIFY(!(d.custom_curve != before));
    }

    void importCancelled()
    {
        PZ_Custom_Gamma_Curve_Dialog d;
        d.custom_curve_Lstar_pushButton->click();
        const CSpline before = d.custom_curve;
        FileDialogAnswer chooser{QString()};
        d.custom_curve_Import_pushButton->click();
        QVERIFY(chooser.shown());
        QCOMPARE(d.custom_curve_type, 4);
        QVERIFY(!(d.custom_curve != before));
    }

    // OK without a choice hands back the caller's curve and code; Cancel
    // after a choice is Rejected, so the caller takes nothing.
    void okAndCancel_data()
    {
        QTest::addColumn<bool>("choose");
        QTest::addColumn<int>("result");
        QTest::newRow("OK without a choice") << false << int(QDialog::Accepted);
        QTest::newRow("Cancel after a preset") << true << int(QDialog::Rejected);
    }
    void okAndCancel()
    {
        QFETCH(bool, choose);
        QFETCH(int, result);
        CTargetValue target;
        target.m_CustomCurve.SetSplineGamma(1.8);
        target.m_CustomCurveType = 4;
        PZ_Custom_Gamma_Curve_Dialog d;
        d.custom_curve = target.m_CustomCurve;
        d.UpdateCurves();
        d.custom_curve_type = target.m_CustomCurveType;
        d.UpdateCurves();
        QTimer::singleShot(0, &d, [&] {
            if (choose)
                d.custom_curve_SMPTE_240M_pushButton->click();
            d.buttonBox->button(choose ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok)->click();
        });
        QCOMPARE(d.exec(), result);
        if (result == QDialog::Accepted) {
            QVERIFY(!(d.custom_curve != target.m_CustomCurve));
            QCOMPARE(d.custom_curve_type, 4);
        }
    }

    void picture()
    {
        PZ_Custom_Gamma_Curve_Dialog d;
        d.custom_curve_sRGB_pushButton->click();
        d.resize(560, 448);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QVERIFY(d.grab().save(
            pz::test::picturePath("custom_gamma_curve_dialog.png")));
    }
};

QTEST_MAIN(TestCustomGammaCurveDialog)
#include "tst_custom_gamma_curve_dialog.moc"
