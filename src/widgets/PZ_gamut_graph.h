#pragma once
// The chromaticity diagram: the spectral locus of the CIE 1931 standard
// observer in CIE 1931 x,y or CIE 1976 u',v' coordinates, with any of six
// reference gamuts and their white points, the display's gamut as a shaded
// triangle with its outline, the display's native gamut (the part of the
// display gamut it cannot reach hatched), a target gamut, the
// colour-temperature locus with labelled marks, white-point marks, and three
// primaries the user may drag (the custom colour gamut editor).
//
// Every chromaticity is converted to diagram coordinates (CIExy_to_Screen_CIE)
// before it is mapped to pixels; the mapping is linear, without Plotter's
// logarithmic step.
//
// Setters store and redraw (SetHasAdjustablePoints only stores). Data
// setters called with valid false keep the earlier values and only hide the
// element.
//
// Dragging: with adjustable points, a left press less than 9 pixels (in x and
// in y) from a drawn primary grabs it (the later primary where two are in
// reach); every move then emits dragging_point(1 red, 2 green, 3 blue, the
// chromaticity under the pointer, unclamped) until the left button is
// released. The graph does not move the point; the editor answers with
// SetMonitorData. Any other press is Plotter's rubber-band zoom.

#include "CCIEXYZ.h"
#include "Plotter.h"

#include <QPixmap>
#include <QPointF>
#include <QPolygonF>
#include <QMap>
#include <QVector>

class QColor;
class QImage;
class QPainterPath;

class PZ_gamut_graph : public Plotter {
    Q_OBJECT

public:
    // One wavelength of the spectral locus.
    struct SpectralPoint {
        int nm;
        double x;
        double y;
    };
    // CIE 1931 2° chromaticities, 380-700 nm in 5 nm steps, 4 decimals.
    static constexpr int kSpectralPointCount = 65;
    static const SpectralPoint cie_w_xy[kSpectralPointCount];
    // Reference gamuts of the display standards: red, green, blue, white.
    static const _CIExy sRGB[4];
    static const _CIExy AdobeRGB[4];
    static const _CIExy NTSC[4];
    static const _CIExy SMPTE_C[4];
    static const _CIExy HDTV[4];
    static const _CIExy DigitalCinema[4];

    explicit PZ_gamut_graph(QWidget *parent = nullptr);
    ~PZ_gamut_graph() override;

    // (x, y) in the current diagram: unchanged in x,y; (4x/d, 9y/d) with
    // d = -2x + 12y + 3 in u',v', and (0, 0) when d is 0.
    QPointF CIExy_to_Screen_CIE(QPointF xy) const;

    // The linear mapping of the shown level (no logarithmic step); (0, 0)
    // without a level that can be drawn.
    QPointF DataToDrawPoint(double x, double y, QRect area) override;
    QPointF DataToDrawPoint(QPointF p, QRect area);
    // The inverse mapping of a widget pixel; (0, 0) without a drawable level
    // or for an area one pixel wide or high.
    QPointF DrawPointToData(QPointF pixel, QRect area) const;

    // An X of 7 by 7 pixels in the current pen at point (diagram
    // coordinates), with the control ball over it when points are adjustable.
    void DrawWhitePointCheck(QPointF point, QRect area, QPainter *p);
    // The shaded fill of the triangle points[0..2] (red, green, blue) around
    // the white points[3], all in diagram coordinates: pure primaries at the
    // corners, their mixtures halfway along the edges, white at the white
    // point; alpha 192. Nothing with fewer than 4 points.
    void DrawColorTriangle(QVector<QPointF> points, QRect area, QPainter *p);
    // Shades one triangle (widget pixels) into image, whose pixel (0, 0) is
    // widget pixel (offsetX, offsetY); pixels outside area or the image are
    // left alone, and a triangle without area draws nothing.
    void DrawColorSubTriangles(QPoint *triangle, QRect area, QColor *colors, QImage *image,
                               int offsetX, int offsetY);
    // Barycentric weights of pixel (x, y): s of vertex 1, t of vertex 2,
    // u of vertex 0. Whether the pixel lies in the triangle, edges included;
    // false for a triangle without area.
    bool CaclulateST(QPoint *triangle, int x, int y, double *s, double *t, double *u);

    // State, read by tests and by callers that need to know.
    bool HasDisplayGamut() const { return hasDisplayGamut; }
    bool IsDisplayWhiteGiven() const { return displayWhiteGiven; }
    CCIEYxy GetDisplayWhite() const { return displayGamut[3]; }
    bool HasNativeGamut() const { return hasNativeGamut; }
    bool HasTargetGamut() const { return hasTargetGamut; }
    bool HasTargetWhite() const { return hasTargetWhite; }
    bool IsUVDiagram() const { return uvDiagram != 0; }
    bool HasAdjustablePoints() const { return hasAdjustablePoints; }
    // Widget positions of red, green and blue as last drawn.
    QVector<QPointF> GetPointPositions() const { return pointPositions; }

signals:
    void dragging_point(int point, QPointF chromaticity);

public slots:
    void SetColorspace(bool uv);
    void SetShowGamutDisplay(bool show);
    void SetShowTargetWhitePoint(bool show);
    void SetShowGamutAdobeRGB(bool show);
    void SetShowGamutsRGB(bool show);
    void SetShowGamutNTSC(bool show);
    void SetShowGamutSMPTE(bool show);
    void SetShowGamutHDTV(bool show);
    void SetShowGamutDigitalCinema(bool show);
    void SetShowGamutTarget(bool show);
    void SetShowPlankianLocus(bool show);
    void SetShowMonitorNativeGamut(bool show);
    void SetOnlyAdjustRGB(bool only);
    // Stores only; no redraw.
    void SetHasAdjustablePoints(bool adjustable);
    void SetShowFixedWhiteDiagram(bool show);
    void SetFixedWhiteDiagramWhitePoint(CCIEYxy white);
    // Red, green, blue and white. A white with x <= 0 is not shown and
    // becomes the mean of the primaries (the centre of the fill).
    void SetMonitorData(bool valid, CCIEYxy *rgbw);
    void SetMonitorNativeGamutData(bool valid, CCIEYxy *rgb);
    void SetTargetGamutData(bool valid, _CIExy *rgb);
    void SetTargetData(bool valid, _CIExy white);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void drawCurves(QPainter *painter) override;

    // Where the last drawing put each colour-temperature label, by kelvin;
    // a label without room is left out.
    QMap<int, QRect> temperatureLabels;

private:
    // Sets a flag and redraws.
    void setFlag(bool &flag, bool value);
    // The mapped pixel of a chromaticity given in x,y.
    QPointF mapChromaticity(double x, double y, const QRect &area);
    // Polyline red, green, blue, red of three x,y chromaticities, mapped.
    QPolygonF triangle(const _CIExy &r, const _CIExy &g, const _CIExy &b, const QRect &area);
    void drawSpectralLocus(QPainter *p, const QRect &area);
    void drawReferenceGamuts(QPainter *p, const QRect &area);
    // The fill, outline and hatching of the display gamut; refreshes
    // pointPositions.
    void drawDisplayGamut(QPainter *p, const QRect &area, const QPainterPath &nativePath);
    void drawColourTemperatureLocus(QPainter *p, const QRect &area);
    // A label beside its locus point where no earlier label lies, drawn
    // with a rim so that it reads over any fill.
    void drawTemperatureLabel(QPainter *p, int kelvin, const QPointF &at, const QRect &area);
    // Lines and marks that must stand out from the plot background.
    QColor contrastColour() const;
    // Index 1-3 of the last primary within grabbing reach of pos, or 0.
    int primaryInReach(const QPointF &pos) const;

    _CIExy targetWhite{0.0, 0.0};
    bool showDisplayGamut = false;
    bool showTargetWhitePoint = false;
    bool showAdobeRGB = false;
    bool showsRGB = false;
    bool showNTSC = false;
    bool showSMPTE = false;
    bool showHDTV = false;
    bool showTargetGamut = false;
    bool showNativeGamut = false;
    bool hasNativeGamut = false;
    bool showDigitalCinema = false;
    bool hasDisplayGamut = false;
    bool displayWhiteGiven = false;
    bool hasTargetWhite = false;
    bool hasTargetGamut = false;
    bool showPlanckianLocus = false;
    bool onlyAdjustRGB = false;
    bool hasAdjustablePoints = false;
    int uvDiagram = 0;
    CCIEYxy displayGamut[4];
    CCIEYxy nativeGamut[3];
    _CIExy targetGamut[3] = {{0.0, 0.0}, {0.0, 0.0}, {0.0, 0.0}};
    CCIEYxy fixedWhite;
    int grabbedPoint = 0;
    bool showFixedWhite = false;
    QPixmap controlBall;
    QVector<QPointF> pointPositions;
};
