#pragma once

// Small picture files of every raster kind the picture holder reads, made in memory:
// through Qt's writers where Qt has one, byte by byte where it has none (GIF) or where
// the test needs control over the directory (icons and cursors).

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <cstdint>
#include <vector>

namespace figures::picturetest {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

inline void Put32(Bytes& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        out.push_back(uint8_t(v >> (8 * i)));
    }
}

inline void Set32(Bytes& out, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        out[at + size_t(i)] = uint8_t(v >> (8 * i));
    }
}

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kYellow = 0xFFFFFF00;

// Four quadrants: red top left, green top right, blue bottom left, yellow bottom right.
inline QImage Quadrants(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2;
            const bool bottom = y >= h / 2;
            image.setPixel(x, y, bottom ? (right ? kYellow : kBlue) : (right ? kGreen : kRed));
        }
    }
    return image;
}

// Every pixel tells where it is: red 6 x column, green 6 x row, blue 100.
inline QImage Coordinates(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            image.setPixel(x, y, qRgb(6 * x, 6 * y, 100));
        }
    }
    return image;
}

inline Bytes Encode(const QImage& image, const char* format, int quality = -1)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0) {
        writer.setQuality(quality);
    }
    if (!writer.write(image)) {
        return {};
    }
    return Bytes(data.begin(), data.end());
}

// A bitmap file without its 14-byte file header: a packed device-independent bitmap.
inline Bytes PackedDib(const QImage& image)
{
    const Bytes bmp = Encode(image, "bmp");
    return Bytes(bmp.begin() + 14, bmp.end());
}

// A GIF of one colour index per pixel (0 black, 1 white, from the two-colour global
// table). The LZW stream sends a clear code before every pair of pixels, which keeps
// every code 3 bits wide.
inline Bytes Gif(int w, int h, const std::vector<uint8_t>& indices)
{
    Bytes out{'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, uint32_t(w));
    Put16(out, uint32_t(h));
    out.insert(out.end(), {0x80, 0, 0});             // 2-entry global table
    out.insert(out.end(), {0, 0, 0, 255, 255, 255}); // black, white
    out.push_back(0x2C);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, uint32_t(w));
    Put16(out, uint32_t(h));
    out.push_back(0);
    out.push_back(2); // minimum code size: clear 4, end 5
    Bytes codes;
    uint32_t acc = 0;
    int bits = 0;
    auto putCode = [&](uint32_t code) {
        acc |= code << bits;
        bits += 3;
        while (bits >= 8) {
            codes.push_back(uint8_t(acc));
            acc >>= 8;
            bits -= 8;
        }
    };
    for (size_t i = 0; i < indices.size(); ++i) {
        if (i % 2 == 0) {
            putCode(4);
        }
        putCode(indices[i]);
    }
    putCode(5);
    if (bits > 0) {
        codes.push_back(uint8_t(acc));
    }
    for (size_t at = 0; at < codes.size(); at += 255) {
        const size_t n = std::min<size_t>(255, codes.size() - at);
        out.push_back(uint8_t(n));
        out.insert(out.end(), codes.begin() + long(at), codes.begin() + long(at + n));
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

inline Bytes Gif(int w, int h)
{
    std::vector<uint8_t> indices(size_t(w * h));
    for (int i = 0; i < w * h; ++i) {
        indices[size_t(i)] = uint8_t((i / w + i % w) % 2);
    }
    return Gif(w, h, indices);
}

// An icon (type 1) or cursor (type 2) file with one 32-bit entry per image, in order.
// sizeBytes, when given, replaces the directory's width and height bytes per entry.
inline Bytes IconFile(const std::vector<QImage>& images, uint16_t type = 1,
                      const std::vector<uint8_t>& sizeBytes = {})
{
    Bytes out;
    Put16(out, 0);
    Put16(out, type);
    Put16(out, uint32_t(images.size()));
    std::vector<Bytes> entries;
    for (const QImage& source : images) {
        const QImage image = source.convertToFormat(QImage::Format_ARGB32);
        const int w = image.width();
        const int h = image.height();
        Bytes dib;
        Put32(dib, 40);
        Put32(dib, uint32_t(w));
        Put32(dib, uint32_t(2 * h)); // colour rows and mask rows
        Put16(dib, 1);
        Put16(dib, 32);
        for (int i = 0; i < 6; ++i) {
            Put32(dib, 0);
        }
        for (int y = h - 1; y >= 0; --y) {
            for (int x = 0; x < w; ++x) {
                const QRgb c = image.pixel(x, y);
                dib.insert(dib.end(), {uint8_t(qBlue(c)), uint8_t(qGreen(c)), uint8_t(qRed(c)),
                                       uint8_t(qAlpha(c))});
            }
        }
        const size_t maskRow = size_t((w + 31) / 32 * 4);
        dib.insert(dib.end(), maskRow * size_t(h), 0);
        entries.push_back(std::move(dib));
    }
    uint32_t offset = uint32_t(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const bool given = i < sizeBytes.size();
        out.push_back(given ? sizeBytes[i] : uint8_t(images[i].width()));
        out.push_back(given ? sizeBytes[i] : uint8_t(images[i].height()));
        out.push_back(0);
        out.push_back(0);
        Put16(out, type == 1 ? 1 : 0);  // planes, or the cursor's hot spot x
        Put16(out, type == 1 ? 32 : 0); // bits, or the hot spot y
        Put32(out, uint32_t(entries[i].size()));
        Put32(out, offset);
        offset += uint32_t(entries[i].size());
    }
    for (const Bytes& e : entries) {
        out.insert(out.end(), e.begin(), e.end());
    }
    return out;
}

inline QImage Solid(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

} // namespace figures::picturetest
