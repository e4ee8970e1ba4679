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

// The test pattern window: the TG18-QC caption (203 x 100), the three
// quality-control panels (611 x 100), the resolution chart with its centre
// group (407 x 407) and the overlay buttons.
void drawTestPatternCaption(QPainter &p, const QSize &size);
void drawQualityControlPanels(QPainter &p, const QSize &size);
void drawResolutionChart(QPainter &p, const QSize &size);
void drawArrowLeft(QPainter &p, const QSize &size);
void drawArrowRight(QPainter &p, const QSize &size);
void drawArrowCancel(QPainter &p, const QSize &size);

} // namespace images
