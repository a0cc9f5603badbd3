#include "figures/render/pngwriter.h"

#include <QIODevice>
#include <QImage>

#include <png.h>
#include <zlib.h>

#include <cmath>
#include <csetjmp>

namespace figures {

namespace {

struct Sink {
    QIODevice* out = nullptr;
    QString error;
};

void WriteBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
    if (sink->out->write(reinterpret_cast<const char*>(data), qint64(length)) != qint64(length)) {
        sink->error = sink->out->errorString();
        png_error(png, "write failed");
    }
}

void Flush(png_structp) {}

// libpng reports errors by jumping out of the encoder; the message is kept for the caller.
void OnError(png_structp png, png_const_charp message)
{
    auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
    if (sink != nullptr && sink->error.isEmpty()) {
        sink->error = QString::fromUtf8(message);
    }
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// The encoder's structures, released however encoding ends.
class Encoder {
public:
    Encoder()
        : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning)),
          info_(png_ != nullptr ? png_create_info_struct(png_) : nullptr)
    {}
    ~Encoder() { png_destroy_write_struct(&png_, &info_); }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    bool Ready() const { return png_ != nullptr && info_ != nullptr; }
    png_structp Png() const { return png_; }
    png_infop Info() const { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

// Everything that may jump back on an error, kept free of objects with destructors.
bool Encode(const Encoder& encoder, const QImage& image, Sink& sink)
{
    png_structp png = encoder.Png();
    png_infop info = encoder.Info();
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_set_write_fn(png, &sink, WriteBytes, Flush);
    png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        png_set_pHYs(png, info, png_uint_32(image.dotsPerMeterX()),
                     png_uint_32(image.dotsPerMeterY()), PNG_RESOLUTION_METER);
    }
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_write_info(png, info);
    // RGB32 pixels are 0xffRRGGBB words: blue, green, red and the unused byte in memory.
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < image.height(); ++y) {
        png_write_row(png, image.constScanLine(y));
    }
    png_write_end(png, nullptr);
    return true;
}

} // namespace

bool WriteOpaquePng(const QImage& image, QIODevice& out, QString& error)
{
    if (image.isNull() || image.format() != QImage::Format_RGB32) {
        error = QStringLiteral("no opaque picture to write");
        return false;
    }
    Encoder encoder;
    if (!encoder.Ready()) {
        error = QStringLiteral("out of memory");
        return false;
    }
    Sink sink;
    sink.out = &out;
    if (!Encode(encoder, image, sink)) {
        error = sink.error.isEmpty() ? QStringLiteral("PNG encoding failed") : sink.error;
        return false;
    }
    return true;
}

} // namespace figures
