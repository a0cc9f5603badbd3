#pragma once

#include <QByteArray>
#include <QImage>

class QWidget;

namespace app {

// Pictures of windows and of the screen as bitmaps, and their bytes as BMP files. The
// class keeps no state: a bitmap is a QImage value, released when it goes out of scope.
//
// Bit counts: 16 (5-5-5), 24 and 32 bits per pixel. A BMP file as written here has room
// for one colour entry only, so palette bitmaps (1, 4 or 8 bits) are not made.
class WindowCapture {
public:
    // The window's client area (the widget's own rectangle) as painted by the window
    // itself, or the whole primary screen for a null window, in device pixels, converted
    // to bitCount bits per pixel (0: the display's depth). A null image for a minimised or
    // hidden window, a failed grab or an unsupported bit count.
    static QImage Capture(QWidget* window, int bitCount = 0);

    // Copies the width x height area at (sourceX, sourceY) of source to
    // (destinationX, destinationY) of destination, pixels as they are. A width or height
    // below 1 means up to source's right or bottom edge. A null destination is first made
    // that size, black, in source's format. Parts outside either image are skipped. False
    // (nothing done) for a null source.
    static bool CopyRegion(const QImage& source, QImage& destination, int sourceX, int sourceY,
                           int width, int height, int destinationX, int destinationY);

    // The bitmap as the bytes of a BMP file: a 14-byte file header, a 44-byte info block
    // (the 40-byte header, whose size field says 44, and one zero colour entry), then the
    // rows bottom-up, each padded to 4 bytes. 16-, 24- and 32-bit bitmaps keep their bit
    // count (32-bit pixels carry no alpha); any other format is written with 24 bits.
    // Empty for a null image.
    static QByteArray ToBmpBytes(const QImage& bitmap);
};

// The picture in BMP bytes such as ToBmpBytes writes (the platform's reader does not take
// an info block that says 44 bytes) or any other BMP file. Null for bytes that hold no
// whole picture.
QImage LoadBmpPicture(const QByteArray& bytes);

// A width or height given as this reaches to the edge of the captured area.
constexpr int kToEdge = -1;

// The rectangle left..right, top..bottom (inclusive; kToEdge for right or bottom reaches to
// the edge) of the window's client area as BMP bytes with bitCount bits per pixel. With
// useWindowPrint the window paints itself, so covered parts come out right; otherwise
// the pixels are taken from the screen where the client area shows, and for a null window
// the rectangle is taken from the whole screen. Empty bytes when nothing can be captured.
QByteArray CaptureWindowAsBmp(QWidget* window, int left, int top, int right, int bottom,
                              bool useWindowPrint, int bitCount = 24);

} // namespace app
