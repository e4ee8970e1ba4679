#pragma once
// The drawing functions of make_images, one per image. Each paints the
// whole image onto a transparent canvas of the size given in the table in
// main.cpp. To add an image: declare its function here, define it in the
// file of its group, add a row to the table and list the PNG in
// src/resources/pelzora.qrc.

class QPainter;
class QSize;

namespace images {

// The zoom tool buttons of the graphs: a magnifier with a plus or a minus.
void drawZoomIn(QPainter &p, const QSize &size);
void drawZoomOut(QPainter &p, const QSize &size);

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

} // namespace images
