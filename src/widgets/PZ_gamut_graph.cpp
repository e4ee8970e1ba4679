// PZ_gamut_graph: the tables, the state and the coordinate mappings. The
// drawing is in PZ_gamut_graph_drawing.cpp, the shaded fill in
// PZ_gamut_graph_fill.cpp and the dragging in PZ_gamut_graph_input.cpp.

#include "PZ_gamut_graph.h"

#include "GraphSupport.h"

const PZ_gamut_graph::SpectralPoint PZ_gamut_graph::cie_w_xy[kSpectralPointCount] = {
    {380, 0.1741, 0.0050}, {385, 0.1740, 0.0050}, {390, 0.1738, 0.0049}, {395, 0.1736, 0.0049},
    {400, 0.1733, 0.0048}, {405, 0.1730, 0.0048}, {410, 0.1726, 0.0048}, {415, 0.1721, 0.0048},
    {420, 0.1714, 0.0051}, {425, 0.1703, 0.0058}, {430, 0.1689, 0.0069}, {435, 0.1669, 0.0086},
    {440, 0.1644, 0.0109}, {445, 0.1611, 0.0138}, {450, 0.1566, 0.0177}, {455, 0.1510, 0.0227},
    {460, 0.1440, 0.0297}, {465, 0.1355, 0.0399}, {470, 0.1241, 0.0578}, {475, 0.1096, 0.0868},
    {480, 0.0913, 0.1327}, {485, 0.0687, 0.2007}, {490, 0.0454, 0.2950}, {495, 0.0235, 0.4127},
    {500, 0.0082, 0.5384}, {505, 0.0039, 0.6548}, {510, 0.0139, 0.7502}, {515, 0.0389, 0.8120},
    {520, 0.0743, 0.8338}, {525, 0.1142, 0.8262}, {530, 0.1547, 0.8059}, {535, 0.1929, 0.7816},
    {540, 0.2296, 0.7543}, {545, 0.2658, 0.7243}, {550, 0.3016, 0.6923}, {555, 0.3373, 0.6589},
    {560, 0.3731, 0.6245}, {565, 0.4087, 0.5896}, {570, 0.4441, 0.5547}, {575, 0.4788, 0.5202},
    {580, 0.5125, 0.4866}, {585, 0.5448, 0.4544}, {590, 0.5752, 0.4242}, {595, 0.6029, 0.3965},
    {600, 0.6270, 0.3725}, {605, 0.6482, 0.3514}, {610, 0.6658, 0.3340}, {615, 0.6801, 0.3197},
    {620, 0.6915, 0.3083}, {625, 0.7006, 0.2993}, {630, 0.7079, 0.2920}, {635, 0.7140, 0.2859},
    {640, 0.7190, 0.2809}, {645, 0.7230, 0.2770}, {650, 0.7260, 0.2740}, {655, 0.7283, 0.2717},
    {660, 0.7300, 0.2700}, {665, 0.7311, 0.2689}, {670, 0.7320, 0.2680}, {675, 0.7327, 0.2673},
    {680, 0.7334, 0.2666}, {685, 0.7340, 0.2660}, {690, 0.7344, 0.2656}, {695, 0.7346, 0.2654},
    {700, 0.7347, 0.2653},
};

// These draw the standards for comparison only; the target presets the
// calibration aims at are presets_gamuts of the colour model.
const _CIExy PZ_gamut_graph::sRGB[4] = {
    {0.64, 0.33}, {0.30, 0.60}, {0.15, 0.06}, {0.3127, 0.3290}};
const _CIExy PZ_gamut_graph::AdobeRGB[4] = {
    {0.64, 0.33}, {0.21, 0.71}, {0.15, 0.06}, {0.3127, 0.3290}};
const _CIExy PZ_gamut_graph::NTSC[4] = {
    {0.67, 0.33}, {0.21, 0.71}, {0.14, 0.08}, {0.3101, 0.3161}};
const _CIExy PZ_gamut_graph::SMPTE_C[4] = {
    {0.63, 0.34}, {0.31, 0.595}, {0.155, 0.07}, {0.3127, 0.3290}};
const _CIExy PZ_gamut_graph::HDTV[4] = {
    {0.64, 0.33}, {0.30, 0.60}, {0.15, 0.06}, {0.3127, 0.3290}};
const _CIExy PZ_gamut_graph::DigitalCinema[4] = {
    {0.68, 0.32}, {0.265, 0.69}, {0.15, 0.06}, {0.314, 0.351}};

PZ_gamut_graph::PZ_gamut_graph(QWidget *parent)
    : Plotter(parent)
{
    SetShowXAxisLabel(false);
    SetShowYAxisLabel(false);
    controlBall = QPixmap(QStringLiteral(":/images/Resources/control ball.png"));
    SetColorspace(false);
}

PZ_gamut_graph::~PZ_gamut_graph() = default;

QPointF PZ_gamut_graph::CIExy_to_Screen_CIE(QPointF xy) const
{
    if (!uvDiagram)
        return xy;
    const double d = -2.0 * xy.x() + 12.0 * xy.y() + 3.0;
    if (d == 0)
        return QPointF(0, 0);
    return QPointF(4.0 * xy.x() / d, 9.0 * xy.y() / d);
}

QPointF PZ_gamut_graph::DataToDrawPoint(double x, double y, QRect area)
{
    if (zoomLevels.isEmpty() || !zoomLevels[currentZoom].isDrawable())
        return QPointF(0, 0);
    const PlotSettings &shown = zoomLevels[currentZoom];
    return QPointF(area.left() + (x - shown.minX) * (area.right() - area.left()) / (shown.maxX - shown.minX),
                   area.bottom() - (y - shown.minY) * (area.bottom() - area.top()) / (shown.maxY - shown.minY));
}

QPointF PZ_gamut_graph::DataToDrawPoint(QPointF p, QRect area)
{
    return DataToDrawPoint(p.x(), p.y(), area);
}

QPointF PZ_gamut_graph::DrawPointToData(QPointF pixel, QRect area) const
{
    if (zoomLevels.isEmpty() || !zoomLevels[currentZoom].isDrawable()
        || area.right() == area.left() || area.bottom() == area.top())
        return QPointF(0, 0);
    const PlotSettings &shown = zoomLevels[currentZoom];
    return QPointF(
        shown.minX + (pixel.x() - area.left()) * (shown.maxX - shown.minX) / (area.right() - area.left()),
        shown.minY + (area.bottom() - pixel.y()) * (shown.maxY - shown.minY) / (area.bottom() - area.top()));
}

void PZ_gamut_graph::setFlag(bool &flag, bool value)
{
    flag = value;
    refreshPixmap();
}

void PZ_gamut_graph::SetColorspace(bool uv)
{
    uvDiagram = uv;
    // The diagram's extent: 0 to 0.9 in x,y, 0 to 0.7 in u',v', a tick per 0.1.
    const double end = uv ? 0.7 : 0.9;
    const int ticks = uv ? 7 : 9;
    setPlotSettings(pz::plotLevel(0.0, end, ticks, 0.0, end, ticks));
    refreshPixmap();
}

void PZ_gamut_graph::SetShowGamutDisplay(bool show) { setFlag(showDisplayGamut, show); }
void PZ_gamut_graph::SetShowTargetWhitePoint(bool show) { setFlag(showTargetWhitePoint, show); }
void PZ_gamut_graph::SetShowGamutAdobeRGB(bool show) { setFlag(showAdobeRGB, show); }
void PZ_gamut_graph::SetShowGamutsRGB(bool show) { setFlag(showsRGB, show); }
void PZ_gamut_graph::SetShowGamutNTSC(bool show) { setFlag(showNTSC, show); }
void PZ_gamut_graph::SetShowGamutSMPTE(bool show) { setFlag(showSMPTE, show); }
void PZ_gamut_graph::SetShowGamutHDTV(bool show) { setFlag(showHDTV, show); }
void PZ_gamut_graph::SetShowGamutDigitalCinema(bool show) { setFlag(showDigitalCinema, show); }
void PZ_gamut_graph::SetShowGamutTarget(bool show) { setFlag(showTargetGamut, show); }
void PZ_gamut_graph::SetShowPlankianLocus(bool show) { setFlag(showPlanckianLocus, show); }
void PZ_gamut_graph::SetShowMonitorNativeGamut(bool show) { setFlag(showNativeGamut, show); }
void PZ_gamut_graph::SetOnlyAdjustRGB(bool only) { setFlag(onlyAdjustRGB, only); }
void PZ_gamut_graph::SetShowFixedWhiteDiagram(bool show) { setFlag(showFixedWhite, show); }

void PZ_gamut_graph::SetHasAdjustablePoints(bool adjustable)
{
    hasAdjustablePoints = adjustable;
}

void PZ_gamut_graph::SetFixedWhiteDiagramWhitePoint(CCIEYxy white)
{
    fixedWhite = white;
    refreshPixmap();
}

void PZ_gamut_graph::SetMonitorData(bool valid, CCIEYxy *rgbw)
{
    displayWhiteGiven = false;
    hasDisplayGamut = valid && rgbw;
    if (hasDisplayGamut) {
        for (int i = 0; i < 4; ++i)
            displayGamut[i] = rgbw[i];
        CCIEYxy &white = displayGamut[3];
        if (white.x > 0) {
            displayWhiteGiven = true;
        } else {
            white.x = (displayGamut[0].x + displayGamut[1].x + displayGamut[2].x) / 3;
            white.y = (displayGamut[0].y + displayGamut[1].y + displayGamut[2].y) / 3;
        }
    }
    refreshPixmap();
}

void PZ_gamut_graph::SetMonitorNativeGamutData(bool valid, CCIEYxy *rgb)
{
    hasNativeGamut = valid && rgb;
    if (hasNativeGamut)
        for (int i = 0; i < 3; ++i)
            nativeGamut[i] = rgb[i];
    refreshPixmap();
}

void PZ_gamut_graph::SetTargetGamutData(bool valid, _CIExy *rgb)
{
    hasTargetGamut = valid && rgb;
    if (hasTargetGamut)
        for (int i = 0; i < 3; ++i)
            targetGamut[i] = rgb[i];
    refreshPixmap();
}

void PZ_gamut_graph::SetTargetData(bool valid, _CIExy white)
{
    hasTargetWhite = valid;
    if (valid)
        targetWhite = white;
    refreshPixmap();
}
