// Reads arbitrary bytes as a picture file and draws it small and large: headers are read
// when the picture is read, pixels decoded when it is drawn, both within the decoded-picture
// cache's budget (lowered here so that every run stays small). A GIF cut to the rows its
// codes give is checked against the whole file decoded, when that is small: the cut rows and
// the colour shown around them must make every pixel of the whole.
#include "figures/render/drawcontext.h"
#include "figures/render/pictures/gifclip.h"
#include "figures/render/pictures/picture.h"
#include "figures/render/pictures/picturecache.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <cstdlib>
#include <cstring>

namespace {

// Whole files up to this many pixels are decoded to check the cut.
constexpr qint64 kMostPixelsChecked = qint64(1) << 20;

QImage DecodeGif(std::span<const uint8_t> bytes, qint64 mostPixels)
{
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > mostPixels) {
        return {};
    }
    return reader.read();
}

// The whole file decodes to the cut file's rows from its first row on and, everywhere else,
// to the colour of the cut file's last row, pixel for pixel. Pixels are compared as
// premultiplied colours: the decoder may leave any colour in a transparent background.
void CheckGifCut(std::span<const uint8_t> bytes)
{
    const std::optional<figures::ClippedGif> cut = figures::ClipGifToItsData(bytes);
    if (!cut) {
        return;
    }
    const QImage whole = DecodeGif(bytes, kMostPixelsChecked);
    if (whole.isNull() || whole.depth() != 32) {
        return;
    }
    const QImage rows = DecodeGif(cut->bytes, kMostPixelsChecked);
    if (rows.isNull() || rows.format() != whole.format() || rows.width() != whole.width() ||
        rows.height() != cut->rows) {
        std::abort(); // the cut file does not decode to the rows it promises
    }
    // Words as the decoder left them (pixel() would make those of an opaque format opaque).
    const uint32_t rest = *reinterpret_cast<const uint32_t*>(rows.constScanLine(rows.height() - 1));
    for (int y = 0; y < whole.height(); ++y) {
        const int from = y - cut->firstRow;
        const auto* cutRow = from >= 0 && from < rows.height()
                                 ? reinterpret_cast<const uint32_t*>(rows.constScanLine(from))
                                 : nullptr;
        const auto* row = reinterpret_cast<const uint32_t*>(whole.constScanLine(y));
        for (int x = 0; x < whole.width(); ++x) {
            if (qPremultiply(row[x]) != qPremultiply(cutRow != nullptr ? cutRow[x] : rest)) {
                std::abort(); // the cut shows a pixel otherwise than the whole file
            }
        }
    }
}

} // namespace

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
    if (size >= 6 && std::memcmp(data, "GIF", 3) == 0) {
        CheckGifCut({data, size});
    }
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
