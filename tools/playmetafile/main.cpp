// Draws one WMF or EMF picture with the program's own metafile player into a PNG, at its
// physical size and a chosen resolution: the program's side of a by-hand comparison with
// other renderers (see tools/compare_metafiles.sh).
//
// usage: playmetafile FILE OUT.png [DPI]     exit 0 drawn, 1 unreadable or no picture, 2 usage
#include "figures/render/pictures/metafile/metafileplayer.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 2 || args.size() > 3) {
        std::fputs("usage: playmetafile FILE OUT.png [DPI]\n", stderr);
        return 2;
    }
    const double dpi = args.size() == 3 ? args[2].toDouble() : 96;
    if (!(dpi >= 10 && dpi <= 1200)) {
        std::fputs("playmetafile: DPI must lie between 10 and 1200\n", stderr);
        return 2;
    }
    QFile file(args[0]);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "playmetafile: cannot open %s\n", qPrintable(args[0]));
        return 1;
    }
    const QByteArray bytes = file.readAll();
    const std::span<const uint8_t> span(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                        size_t(bytes.size()));
    const figures::MetafileInfo info = figures::InspectMetafile(span);
    // HIMETRIC to pixels, at most 16384 a side.
    const int width = int(std::lround(info.widthHimetric * dpi / 2540.0));
    const int height = int(std::lround(info.heightHimetric * dpi / 2540.0));
    if (!info.ok || width < 1 || height < 1 || width > 16384 || height > 16384) {
        std::fprintf(stderr, "playmetafile: %s is no metafile picture of a drawable size\n",
                     qPrintable(args[0]));
        return 1;
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const bool whole = figures::PlayMetafile(span, painter, QRectF(0, 0, width, height));
    painter.end();
    if (!image.save(args[1])) {
        std::fprintf(stderr, "playmetafile: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    if (!whole) {
        std::fprintf(stderr, "playmetafile: a damaged record ended %s early\n",
                     qPrintable(args[0]));
    }
    return 0;
}
