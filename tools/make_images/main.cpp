// Draws the application's images and writes them as PNG files into a folder.
// Usage: make_images <folder>
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
    const char *fileName;
    QSize size;
    void (*draw)(QPainter &, const QSize &);
};

// Every image of the program, by its resource file name.
const ImageSpec kImages[] = {
    {"zoomin.png", QSize(22, 22), images::drawZoomIn},
    {"zoomout.png", QSize(22, 22), images::drawZoomOut},
    {"splash blank.png", QSize(400, 160), images::drawSplashBlank},
    {"splashpz.png", QSize(300, 80), images::drawSplashLogo},
    {"alerts_yellow_icon_12.png", QSize(12, 12), images::drawAlertYellow},
    {"orvane icon.png", QSize(64, 64), images::drawOrvaneIcon},
};

bool writeImage(const ImageSpec &spec, const QDir &folder)
{
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
        std::fprintf(stderr, "usage: make_images <folder>\n");
        return 2;
    }
    const QDir folder(args.at(1));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "make_images: cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }
    bool ok = true;
    for (const ImageSpec &spec : kImages)
        ok = writeImage(spec, folder) && ok;
    return ok ? 0 : 1;
}
