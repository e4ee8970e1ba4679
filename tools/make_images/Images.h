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

// The draggable handle of the gamut corners and the colour picker.
void drawControlBall(QPainter &p, const QSize &size);

} // namespace images
