#include "app/windowcapture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QtEndian>

#include <cstdlib>
#include <cstring>

namespace app {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoBlockSize = 44; // the 40-byte header and one colour entry
constexpr int kPixelOffset = kFileHeaderSize + kInfoBlockSize;

QImage::Format FormatForBits(int bits)
{
    switch (bits) {
    case 16: return QImage::Format_RGB555;
    case 24: return QImage::Format_BGR888;
    case 32: return QImage::Format_RGB32;
    default: return QImage::Format_Invalid;
    }
}

int DisplayDepth()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 32;
}

quint16 U16(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

template <typename T> void Put(QByteArray& bytes, int offset, T value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

// The bitmap in one of the three formats a BMP file holds here, with its bit count.
QImage InBmpFormat(const QImage& bitmap, int& bits)
{
    switch (bitmap.format()) {
    case QImage::Format_RGB555: bits = 16; return bitmap;
    case QImage::Format_BGR888: bits = 24; return bitmap;
    case QImage::Format_RGB32: bits = 32; return bitmap;
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        bits = 32;
        return bitmap.convertToFormat(QImage::Format_RGB32);
    default: bits = 24; return bitmap.convertToFormat(QImage::Format_BGR888);
    }
}

// One row of pixels in the byte order of a BMP file (little-endian words; blue, green,
// red for 24 bits; the fourth byte of a 32-bit pixel zero).
void PutRow(const QImage& image, int y, int bits, char* out)
{
    const int width = image.width();
    const uchar* row = image.constScanLine(y);
    if (bits == 24) {
        std::memcpy(out, row, size_t(width) * 3);
    } else if (bits == 16) {
        const auto* pixels = reinterpret_cast<const quint16*>(row);
        for (int x = 0; x < width; ++x) {
            qToLittleEndian<quint16>(pixels[x] & 0x7FFF, out + 2 * x);
        }
    } else {
        const auto* pixels = reinterpret_cast<const QRgb*>(row);
        for (int x = 0; x < width; ++x) {
            qToLittleEndian<quint32>(pixels[x] & 0x00FFFFFF, out + 4 * x);
        }
    }
}

} // namespace

QImage WindowCapture::Capture(QWidget* window, int bitCount)
{
    const QImage::Format format = FormatForBits(bitCount > 0 ? bitCount : DisplayDepth());
    if (format == QImage::Format_Invalid) {
        return {};
    }
    QPixmap picture;
    if (window) {
        if (!window->isVisible() || window->window()->isMinimized()) {
            return {};
        }
        picture = window->grab();
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        picture = screen->grabWindow(0);
    }
    if (picture.isNull()) {
        return {};
    }
    QImage image = picture.toImage().convertToFormat(format);
    image.setDevicePixelRatio(1.0);
    return image;
}

bool WindowCapture::CopyRegion(const QImage& source, QImage& destination, int sourceX, int sourceY,
                               int width, int height, int destinationX, int destinationY)
{
    if (source.isNull()) {
        return false;
    }
    const int w = width < 1 ? source.width() - sourceX : width;
    const int h = height < 1 ? source.height() - sourceY : height;
    if (w < 1 || h < 1) {
        return true;
    }
    if (destination.isNull()) {
        destination = QImage(w, h, source.format());
        destination.fill(Qt::black);
    }
    // Clip the copy to the source and then to the destination.
    const QPoint shift(destinationX - sourceX, destinationY - sourceY);
    const QRect from = QRect(sourceX, sourceY, w, h) & source.rect();
    const QRect to = from.translated(shift) & destination.rect();
    if (to.isEmpty()) {
        return true;
    }
    const QImage pixels = source.format() == destination.format()
                              ? source
                              : source.convertToFormat(destination.format());
    if (pixels.depth() % 8 != 0) {
        QPainter painter(&destination);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(to.topLeft(), pixels, to.translated(-shift));
        return true;
    }
    const size_t rowBytes = size_t(to.width()) * size_t(pixels.depth() / 8);
    const size_t skip = size_t(to.left() - shift.x()) * size_t(pixels.depth() / 8);
    for (int y = to.top(); y <= to.bottom(); ++y) {
        std::memcpy(destination.scanLine(y) + size_t(to.left()) * size_t(pixels.depth() / 8),
                    pixels.constScanLine(y - shift.y()) + skip, rowBytes);
    }
    return true;
}

QByteArray WindowCapture::ToBmpBytes(const QImage& bitmap)
{
    if (bitmap.isNull()) {
        return {};
    }
    int bits = 24;
    const QImage image = InBmpFormat(bitmap, bits);
    const qint64 stride = (qint64(image.width()) * bits + 31) / 32 * 4;
    const qint64 imageSize = stride * image.height();
    if (kPixelOffset + imageSize > qint64(INT32_MAX)) {
        return {};
    }
    QByteArray bytes(qsizetype(kPixelOffset + imageSize), '\0');
    Put<quint16>(bytes, 0, 0x4D42); // "BM"
    Put<quint32>(bytes, 2, quint32(kPixelOffset + imageSize));
    Put<quint32>(bytes, 10, kPixelOffset);
    Put<quint32>(bytes, 14, kInfoBlockSize);
    Put<qint32>(bytes, 18, image.width());
    Put<qint32>(bytes, 22, image.height()); // positive: the rows are stored bottom-up
    Put<quint16>(bytes, 26, 1);
    Put<quint16>(bytes, 28, quint16(bits));
    Put<quint32>(bytes, 30, 0); // no compression
    Put<quint32>(bytes, 34, quint32(imageSize));
    for (int y = 0; y < image.height(); ++y) {
        PutRow(image, y, bits, bytes.data() + kPixelOffset + (image.height() - 1 - y) * stride);
    }
    return bytes;
}

QImage LoadBmpPicture(const QByteArray& bytes)
{
    if (bytes.size() < kPixelOffset || U16(bytes, 0) != 0x4D42) {
        return {};
    }
    // The 44 counts the colour entry after the 40-byte header; the pixels are found by
    // the file header's offset either way, so the reader is told of the 40 it knows.
    QByteArray known = bytes;
    if (qFromLittleEndian<quint32>(bytes.constData() + 14) == kInfoBlockSize) {
        // The platform's reader shows a cut file as far as it goes; a cut capture is no
        // picture.
        const qint64 width = qFromLittleEndian<qint32>(bytes.constData() + 18);
        const qint64 height = qFromLittleEndian<qint32>(bytes.constData() + 22);
        const qint64 stride = (width * U16(bytes, 28) + 31) / 32 * 4;
        const qint64 offset = qFromLittleEndian<quint32>(bytes.constData() + 10);
        if (width < 1 || stride < 1 || offset + stride * std::abs(height) > bytes.size()) {
            return {};
        }
        Put<quint32>(known, 14, 40);
    }
    return QImage::fromData(known, "BMP");
}

QByteArray CaptureWindowAsBmp(QWidget* window, int left, int top, int right, int bottom,
                              bool useWindowPrint, int bitCount)
{
    const int width = right - left + 1;
    const int height = bottom - top + 1;
    QImage copy;
    if (useWindowPrint || !window) {
        WindowCapture::CopyRegion(WindowCapture::Capture(window, bitCount), copy, left, top, width,
                                  height, 0, 0);
        return WindowCapture::ToBmpBytes(copy);
    }
    if (window->window()->isMinimized()) {
        return {};
    }
    const QImage screen = WindowCapture::Capture(nullptr, bitCount);
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (screen.isNull() || !primary) {
        return {};
    }
    // The screen picture is in device pixels; the window's place is in logical ones.
    const qreal ratio = primary->devicePixelRatio();
    const QPoint origin = window->mapToGlobal(QPoint(0, 0)) - primary->geometry().topLeft();
    const QSize client = window->size() * ratio;
    const int w = width < 1 ? client.width() - left : width;
    const int h = height < 1 ? client.height() - top : height;
    if (w < 1 || h < 1) {
        return {};
    }
    WindowCapture::CopyRegion(screen, copy, int(origin.x() * ratio) + left,
                              int(origin.y() * ratio) + top, w, h, 0, 0);
    return WindowCapture::ToBmpBytes(copy);
}

} // namespace app
