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

// Start-up: the splash ground, the logo shown in the splash text, the small
// warning sign of the "no sensor" line, and the windows' icon.
void drawSplashBlank(QPainter &p, const QSize &size);
void drawSplashLogo(QPainter &p, const QSize &size);
void drawAlertYellow(QPainter &p, const QSize &size);
void drawOrvaneIcon(QPainter &p, const QSize &size);

} // namespace images
