// Reads arbitrary bytes as a picture file and draws it small and large: headers are read
// when the picture is read, pixels decoded when it is drawn, both within the decoded-picture
// cache's budget (lowered here so that every run stays small).
#include "figures/render/drawcontext.h"
#include "figures/render/pictures/picture.h"
#include "figures/render/pictures/picturecache.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_picture";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    figures::PictureCache::Instance().SetBudget(int64_t(64) << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const figures::Picture picture = figures::Picture::Read({data, size});
    if (picture.IsEmpty()) {
        return 0;
    }
    static QImage image(64, 48, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    const figures::DrawContext dc(painter, 96, 96);
    figures::PictureDrawRequest request;
    request.dc = &dc;
    // The last byte picks the placement, so that cells and tiles are made too.
    request.placement = data[size - 1] % 13;
    request.destination = {0, 0, 150, 110};
    picture.Draw(request);
    // A second drawing finds the pixels in the cache.
    request.destination = {20, 20, 60, 60};
    picture.Draw(request);
    painter.end();
    figures::PictureCache::Instance().Clear();
    return 0;
}
