#pragma once
// The drawing functions of make_images, one per image. Each paints the
// whole image onto a transparent canvas of the size given in the table in
// main.cpp. To add an image: declare its function here, define it in the
// file of its group, add a row to the table and list the PNG in the
// resource file of its folder (src/resources/pelzora.qrc,
// src/sensors/sensors.qrc).

class QPainter;
class QSize;

namespace images {

// The zoom tool buttons of the graphs: a magnifier with a plus or a minus.
void drawZoomIn(QPainter &p, const QSize &size);
void drawZoomOut(QPainter &p, const QSize &size);

// The i1 Display Pro: on the screen seen from above; lying on the desk for
// an ambient reading; turned so the lens is exposed, or the diffuser covers
// it, with an arrow showing the turn.
void drawI1d3OnDisplay(QPainter &p, const QSize &size);
void drawI1d3PlacementAmbient(QPainter &p, const QSize &size);
void drawI1d3RotateToEmissive(QPainter &p, const QSize &size);
void drawI1d3RotateToAmbient(QPainter &p, const QSize &size);

// The ColorMunki: its dial at each of the four positions; the target
// overlays and arrows drawn over a dial picture (each with a mark of its own
// colour in a corner of its own); the device on the screen; the ambient reading.
void drawMunkiDialDisplay(QPainter &p, const QSize &size);
void drawMunkiDialCalibrate(QPainter &p, const QSize &size);
void drawMunkiDialProjector(QPainter &p, const QSize &size);
void drawMunkiDialAmbient(QPainter &p, const QSize &size);
void drawMunkiTargetEmissive(QPainter &p, const QSize &size);
void drawMunkiTargetCalibrate(QPainter &p, const QSize &size);
void drawMunkiTargetAmbient(QPainter &p, const QSize &size);
void drawMunkiArrowCalibrateFromBelow(QPainter &p, const QSize &size);
void drawMunkiArrowCalibrateFromAbove(QPainter &p, const QSize &size);
void drawMunkiArrowAmbientFromBelow(QPainter &p, const QSize &size);
void drawMunkiArrowEmissiveFromAbove(QPainter &p, const QSize &size);
void drawMunkiOutline(QPainter &p, const QSize &size);
void drawMunkiAmbientMeasure(QPainter &p, const QSize &size);

// The test pattern window: the TG18-QC caption (203 x 100), the three
// quality-control panels (611 x 100), the resolution chart with its centre
// group (407 x 407) and the overlay buttons.
void drawTestPatternCaption(QPainter &p, const QSize &size);
void drawQualityControlPanels(QPainter &p, const QSize &size);
void drawResolutionChart(QPainter &p, const QSize &size);
void drawArrowLeft(QPainter &p, const QSize &size);
void drawArrowRight(QPainter &p, const QSize &size);
void drawArrowCancel(QPainter &p, const QSize &size);

// The draggable handle of the gamut corners and the colour picker.
void drawControlBall(QPainter &p, const QSize &size);
// The colour picker's hue and saturation circle (ColorCircle.cpp), and the
// grey ramp beside the colorimeter's brightness slider.
void drawColorCircle(QPainter &p, const QSize &size);
void drawGreyRampVertical(QPainter &p, const QSize &size);

// The i1 Display (plain, Orvane's and the VOREDIRIVE) on the screen, lying
// lens down for its zero calibration, with its diffuser for ambient light,
// and its diffuser taken off; the i1 Pro on its base, with its ambient cap,
// on the screen and measuring ambient light; the Spyder2 and Spyder3, and
// the Spyder3 measuring ambient light (EyeOneSpyderPictures.cpp).
void drawEyeOneDisplayOnScreen(QPainter &p, const QSize &size);
void drawOrvaneEyeOneDisplayOnScreen(QPainter &p, const QSize &size);
void drawVoredirivesOnScreen(QPainter &p, const QSize &size);
void drawEyeOneDisplayZeroCal(QPainter &p, const QSize &size);
void drawEyeOneDisplayAmbient(QPainter &p, const QSize &size);
void drawEyeOneDisplayCoverRemoval(QPainter &p, const QSize &size);
void drawEyeOneProOnBase(QPainter &p, const QSize &size);
void drawEyeOneProAmbientCover(QPainter &p, const QSize &size);
void drawEyeOneProMeasure(QPainter &p, const QSize &size);
void drawEyeOneProAmbientMeasure(QPainter &p, const QSize &size);
void drawSpyder2(QPainter &p, const QSize &size);
void drawSpyder3(QPainter &p, const QSize &size);
void drawSpyder3AmbientMeasure(QPainter &p, const QSize &size);

// Start-up: the splash ground, the logo shown in the splash text, the small
// warning sign of the "no sensor" line, and the windows' icon.
void drawSplashBlank(QPainter &p, const QSize &size);
void drawSplashLogo(QPainter &p, const QSize &size);
void drawAlertYellow(QPainter &p, const QSize &size);
void drawOrvaneIcon(QPainter &p, const QSize &size);

// The calibration report: the tab icons (16 x 16), the pictures at the head
// of the summary groups (about 32 x 32) and the red alert sign (20 x 20).
void drawInfoSmall(QPainter &p, const QSize &size);
void drawGamutTriangleSmall(QPainter &p, const QSize &size);
void drawGammaBlueSmall(QPainter &p, const QSize &size);
void drawGamutWhiteLarge(QPainter &p, const QSize &size);
// The target editor's colour gamut group: the horseshoe with a black triangle.
void drawGamutBlackLarge(QPainter &p, const QSize &size);
void drawBrightness(QPainter &p, const QSize &size);
void drawGammaBlue(QPainter &p, const QSize &size);
void drawIcmFile(QPainter &p, const QSize &size);
void drawPhosphors(QPainter &p, const QSize &size);
void drawContrast(QPainter &p, const QSize &size);
void drawMonitor(QPainter &p, const QSize &size);
void drawSensorIcon(QPainter &p, const QSize &size);
void drawAlertRed(QPainter &p, const QSize &size);
// The About box's logo: the mark and the product name on a grey ground.
void drawAboutLogo(QPainter &p, const QSize &size);
// The main window: the small icons of its buttons and target captions, and
// the target list's status dots (none, due, current).
void drawEditSmall(QPainter &p, const QSize &size);
void drawFileOpenSmall(QPainter &p, const QSize &size);
void drawFileSaveSmall(QPainter &p, const QSize &size);
void drawGamutWhiteSmall(QPainter &p, const QSize &size);
void drawBrightnessSmall(QPainter &p, const QSize &size);
void drawContrastSmall(QPainter &p, const QSize &size);
void drawBlankCircle(QPainter &p, const QSize &size);
void drawYellowCircle(QPainter &p, const QSize &size);
void drawGreenCircle(QPainter &p, const QSize &size);
void drawRedCircle(QPainter &p, const QSize &size);
// The calibration window (CalibrationImages.cpp): the task pictures
// (128 x 128), the luminance meters' arrows (10 x 11), the white point
// crosshair's ground (100 x 100) and the maker's logo.
void drawMonitorAdjust(QPainter &p, const QSize &size);
void drawGamutRed(QPainter &p, const QSize &size);
void drawGamutGreen(QPainter &p, const QSize &size);
void drawGamutBlue(QPainter &p, const QSize &size);
void drawGamutBlack(QPainter &p, const QSize &size);
void drawGamutWhite(QPainter &p, const QSize &size);
void drawGammaTask(QPainter &p, const QSize &size);
void drawGammaUncorrected(QPainter &p, const QSize &size);
void drawGammaAdjust(QPainter &p, const QSize &size);
void drawRgbGainAdjust(QPainter &p, const QSize &size);
void drawBrightnessWait(QPainter &p, const QSize &size);
void drawBrightnessAdjust(QPainter &p, const QSize &size);
void drawSmallArrowLeft(QPainter &p, const QSize &size);
void drawSmallArrowRight(QPainter &p, const QSize &size);
void drawWhitePointAdjustmentXY(QPainter &p, const QSize &size);
void drawOrvaneLogo(QPainter &p, const QSize &size);

} // namespace images
