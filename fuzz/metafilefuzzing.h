#pragma once

// What the two metafile fuzz targets share: a GUI application on the offscreen platform
// (text needs fonts) and playing into a small image under one of a few painter set-ups.

#include "figures/render/pictures/metafile/metafileplayer.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstddef>
#include <cstdint>

namespace metafilefuzzing {

inline void StartApplication()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_metafile";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

// The last byte of the input also picks the painter: plain, turned and scaled (so that
// clipping and images take their non-rectangular paths), or mirrored by a negative target.
inline void Play(const uint8_t* data, size_t size)
{
    static QImage image(64, 48, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const uint8_t setup = size > 0 ? data[size - 1] % 3 : 0;
    QRectF target(4, 4, 56, 40);
    if (setup == 1) {
        painter.translate(32, 24);
        painter.rotate(20);
        painter.scale(1.5, 0.75);
        target = QRectF(-28, -20, 56, 40);
    } else if (setup == 2) {
        target = QRectF(60, 44, -56, -40);
    }
    figures::PlayMetafile({data, size}, painter, target);
}

} // namespace metafilefuzzing
