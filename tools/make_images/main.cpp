// Draws the application's images and writes them as PNG files into the
// image folders of the source tree.
// Usage: make_images <src folder>
// Runs without a display (the offscreen platform is chosen when none is set).

#include "Images.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSize>

#include <cstdio>

namespace {

struct ImageSpec {
    const char *folder;     // under the src folder: where its resource file lists it
    const char *fileName;
    QSize size;
    void (*draw)(QPainter &, const QSize &);
};

constexpr const char *kProgramImages = "resources/images";   // pelzora.qrc
constexpr const char *kSensorImages = "sensors/images";      // sensors.qrc

// Every image of the program, by its resource file name.
const ImageSpec kImages[] = {
    {kProgramImages, "zoomin.png", QSize(22, 22), images::drawZoomIn},
    {kProgramImages, "zoomout.png", QSize(22, 22), images::drawZoomOut},
    {kSensorImages, "i1d3 on display.png", QSize(160, 200), images::drawI1d3OnDisplay},
    {kSensorImages, "i1d3 placement ambient.png", QSize(200, 200), images::drawI1d3PlacementAmbient},
    {kSensorImages, "i1d3 rotate to emissive.png", QSize(200, 200), images::drawI1d3RotateToEmissive},
    {kSensorImages, "i1d3 rotate to ambient.png", QSize(200, 200), images::drawI1d3RotateToAmbient},
    {kSensorImages, "color munki dial display.png", QSize(200, 200), images::drawMunkiDialDisplay},
    {kSensorImages, "color munki dial calibrate.png", QSize(200, 200), images::drawMunkiDialCalibrate},
    {kSensorImages, "color munki dial projector.png", QSize(200, 200), images::drawMunkiDialProjector},
    {kSensorImages, "color munki dial ambient.png", QSize(200, 200), images::drawMunkiDialAmbient},
    {kSensorImages, "TargetEmissive.png", QSize(200, 200), images::drawMunkiTargetEmissive},
    {kSensorImages, "TargetCalibrate.png", QSize(200, 200), images::drawMunkiTargetCalibrate},
    {kSensorImages, "TargetAmbient.png", QSize(200, 200), images::drawMunkiTargetAmbient},
    {kSensorImages, "ArrowCalibrateFromBelow.png", QSize(200, 200), images::drawMunkiArrowCalibrateFromBelow},
    {kSensorImages, "ArrowCalibrateFromAbove.png", QSize(200, 200), images::drawMunkiArrowCalibrateFromAbove},
    {kSensorImages, "ArrowAmbientFromBelow.png", QSize(200, 200), images::drawMunkiArrowAmbientFromBelow},
    {kSensorImages, "ArrowEmissiveFromAbove.png", QSize(200, 200), images::drawMunkiArrowEmissiveFromAbove},
    {kSensorImages, "color munki outline.png", QSize(280, 160), images::drawMunkiOutline},
    {kSensorImages, "color munki ambient measure.png", QSize(200, 200), images::drawMunkiAmbientMeasure},
    {kSensorImages, "ione_displayv2_on_lcd.png", QSize(200, 240), images::drawEyeOneDisplayOnScreen},
    {kSensorImages, "Orvane_ione_displayv2_on_lcd.png", QSize(200, 240), images::drawOrvaneEyeOneDisplayOnScreen},
    {kSensorImages, "Orvane_voredirive_on_lcd.png", QSize(200, 240), images::drawVoredirivesOnScreen},
    {kSensorImages, "ione display v1 zero cal.png", QSize(200, 200), images::drawEyeOneDisplayZeroCal},
    {kSensorImages, "iOneV2AmbientLightMeasurement.png", QSize(200, 200), images::drawEyeOneDisplayAmbient},
    {kSensorImages, "ione cover removal.png", QSize(200, 200), images::drawEyeOneDisplayCoverRemoval},
    {kSensorImages, "ione pro zerocal on base.png", QSize(200, 200), images::drawEyeOneProOnBase},
    {kSensorImages, "ione pro ambient cover.png", QSize(200, 200), images::drawEyeOneProAmbientCover},
    {kSensorImages, "ione pro measure.png", QSize(250, 150), images::drawEyeOneProMeasure},
    {kSensorImages, "ione pro ambient measure.png", QSize(200, 200), images::drawEyeOneProAmbientMeasure},
    {kSensorImages, "spyder2.png", QSize(200, 200), images::drawSpyder2},
    {kSensorImages, "spyder3.png", QSize(200, 200), images::drawSpyder3},
    {kSensorImages, "spyder3 ambient measure.png", QSize(200, 200), images::drawSpyder3AmbientMeasure},
    {kProgramImages, "it8-6.png", QSize(203, 100), images::drawTestPatternCaption},
    {kProgramImages, "it8-3.png", QSize(611, 100), images::drawQualityControlPanels},
    {kProgramImages, "it8-4.png", QSize(407, 407), images::drawResolutionChart},
    {kProgramImages, "arrow left.png", QSize(32, 32), images::drawArrowLeft},
    {kProgramImages, "arrow right.png", QSize(32, 32), images::drawArrowRight},
    {kProgramImages, "arrow cancel.png", QSize(32, 32), images::drawArrowCancel},
    {kProgramImages, "control ball.png", QSize(17, 17), images::drawControlBall},
    {kProgramImages, "white point color circle.png", QSize(118, 118), images::drawColorCircle},
    {kProgramImages, "grey-v-1.png", QSize(10, 128), images::drawGreyRampVertical},
    {kProgramImages, "splash blank.png", QSize(400, 160), images::drawSplashBlank},
    {kProgramImages, "splashpz.png", QSize(300, 80), images::drawSplashLogo},
    {kProgramImages, "alerts_yellow_icon_12.png", QSize(12, 12), images::drawAlertYellow},
    {kProgramImages, "orvane icon.png", QSize(64, 64), images::drawOrvaneIcon},
    {kProgramImages, "info small.png", QSize(16, 16), images::drawInfoSmall},
    {kProgramImages, "gamut triange small.png", QSize(16, 16), images::drawGamutTriangleSmall},
    {kProgramImages, "gamma blue small.png", QSize(16, 16), images::drawGammaBlueSmall},
    {kProgramImages, "gamut white large full color.png", QSize(32, 32), images::drawGamutWhiteLarge},
    {kProgramImages, "gamut black large full color.png", QSize(32, 32), images::drawGamutBlackLarge},
    {kProgramImages, "brightness copy.png", QSize(34, 32), images::drawBrightness},
    {kProgramImages, "gamma blue.png", QSize(32, 32), images::drawGammaBlue},
    {kProgramImages, "icm file icon.png", QSize(32, 32), images::drawIcmFile},
    {kProgramImages, "phosphors 3d full color.png", QSize(32, 32), images::drawPhosphors},
    {kProgramImages, "contrast full color.png", QSize(32, 32), images::drawContrast},
    {kProgramImages, "monitor image.png", QSize(31, 32), images::drawMonitor},
    {kProgramImages, "sensor icon.png", QSize(32, 32), images::drawSensorIcon},
    {kProgramImages, "alerts_red_icon_20.png", QSize(20, 20), images::drawAlertRed},
    {kProgramImages, "alerts_yellow_icon_20.png", QSize(20, 20), images::drawAlertYellow},
    {kProgramImages, "pelzora2logogreyback.png", QSize(400, 120), images::drawAboutLogo},
    {kProgramImages, "edit small icon.png", QSize(16, 16), images::drawEditSmall},
    {kProgramImages, "file open small icon.png", QSize(16, 16), images::drawFileOpenSmall},
    {kProgramImages, "file save small icon.png", QSize(16, 16), images::drawFileSaveSmall},
    {kProgramImages, "gamut white small full color.png", QSize(16, 16), images::drawGamutWhiteSmall},
    {kProgramImages, "brightness small full color.png", QSize(16, 16), images::drawBrightnessSmall},
    {kProgramImages, "contrast small full color.png", QSize(16, 16), images::drawContrastSmall},
    {kProgramImages, "blank circle icon.png", QSize(16, 16), images::drawBlankCircle},
    {kProgramImages, "yellow circle icon.png", QSize(16, 16), images::drawYellowCircle},
    {kProgramImages, "green circle icon.png", QSize(16, 16), images::drawGreenCircle},
    {kProgramImages, "red circle icon.png", QSize(16, 16), images::drawRedCircle},
    {kProgramImages, "monitor adjust 128.png", QSize(128, 128), images::drawMonitorAdjust},
    {kProgramImages, "cie gamut red128.png", QSize(128, 128), images::drawGamutRed},
    {kProgramImages, "cie gamut green128.png", QSize(128, 128), images::drawGamutGreen},
    {kProgramImages, "cie gamut blue128.png", QSize(128, 128), images::drawGamutBlue},
    {kProgramImages, "cie gamut black128.png", QSize(128, 128), images::drawGamutBlack},
    {kProgramImages, "cie gamut white128.png", QSize(128, 128), images::drawGamutWhite},
    {kProgramImages, "gamma blue 128.png", QSize(128, 128), images::drawGammaTask},
    {kProgramImages, "rgb gain adjust128.png", QSize(128, 128), images::drawRgbGainAdjust},
    {kProgramImages, "gamma uncorrected 128.png", QSize(128, 128), images::drawGammaUncorrected},
    {kProgramImages, "gamma adjust 128.png", QSize(128, 128), images::drawGammaAdjust},
    {kProgramImages, "brightness wait128.png", QSize(128, 128), images::drawBrightnessWait},
    {kProgramImages, "brightness adjust128.png", QSize(128, 128), images::drawBrightnessAdjust},
    {kProgramImages, "small arrow left.png", QSize(10, 11), images::drawSmallArrowLeft},
    {kProgramImages, "small arrow right.png", QSize(10, 11), images::drawSmallArrowRight},
    {kProgramImages, "white point adjustment xy.png", QSize(100, 100), images::drawWhitePointAdjustmentXY},
    {kProgramImages, "orvane logo.png", QSize(180, 54), images::drawOrvaneLogo},
};

bool writeImage(const ImageSpec &spec, const QDir &src)
{
    const QDir folder(src.filePath(QString::fromLatin1(spec.folder)));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "make_images: cannot create %s\n", qPrintable(folder.path()));
        return false;
    }
    QImage image(spec.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        spec.draw(p, spec.size);
    }
    const QString path = folder.filePath(QString::fromLatin1(spec.fileName));
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "make_images: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: make_images <src folder>\n");
        return 2;
    }
    const QDir src(args.at(1));
    bool ok = true;
    for (const ImageSpec &spec : kImages)
        ok = writeImage(spec, src) && ok;
    return ok ? 0 : 1;
}
