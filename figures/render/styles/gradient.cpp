#include "figures/render/styles/gradient.h"

#include "figures/render/drawcontext.h"
#include "figures/render/pictures/picture.h"

#include <algorithm>

namespace figures {

namespace {

struct Position {
    int32_t t = 0;
    int32_t len = 0;
};

Position GradientPosition(int32_t mode, int32_t x, int32_t y, int32_t w, int32_t h)
{
    const int32_t corner = 2 * std::min(w, h);
    switch (mode) {
    case 1: return {y, h};
    case -1: return {h - 1 - y, h};
    case 2: return {x, w};
    case -2: return {w - 1 - x, w};
    case 3: return {x + y, corner};
    case 4: return {(w - 1 - x) + y, corner};
    case -3: return {(w - 1 - x) + (h - 1 - y), corner};
    case -4: return {x + (h - 1 - y), corner};
    default: return {};
    }
}

int32_t Channel(uint32_t colour, int shift)
{
    return int32_t((colour >> shift) & 0xFF);
}

void PutU16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void PutI32(std::vector<uint8_t>& out, int32_t value)
{
    const auto v = uint32_t(value);
    for (int i = 0; i < 4; ++i) {
        out.push_back(uint8_t(v >> (8 * i)));
    }
}

// A little-endian cursor that reports running out instead of reading past the end.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    size_t Left() const { return bytes_.size() - pos_; }
    bool U16(uint16_t& v)
    {
        if (Left() < 2) {
            return false;
        }
        v = uint16_t(bytes_[pos_] | bytes_[pos_ + 1] << 8);
        pos_ += 2;
        return true;
    }
    bool I32(int32_t& v)
    {
        if (Left() < 4) {
            return false;
        }
        uint32_t u = 0;
        for (size_t i = 0; i < 4; ++i) {
            u |= uint32_t(bytes_[pos_ + i]) << (8 * i);
        }
        v = int32_t(u);
        pos_ += 4;
        return true;
    }

private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

} // namespace

bool IsGradientMode(int32_t mode)
{
    return mode != 0 && mode >= -4 && mode <= 4;
}

uint32_t GradientColourAt(int32_t t, int32_t len, std::span<const uint32_t> stops)
{
    const auto k = int32_t(std::min<size_t>(stops.size(), GradientRecord::kMaxStops));
    if (k < 2) {
        return 0;
    }
    const int32_t segment = len / (k - 1);
    const int32_t i = segment == 0 ? 0 : t / segment;
    if (i > k - 2 || i < 0) {
        return stops[size_t(k - 1)] & 0xFFFFFF;
    }
    const double f = segment == 0 ? 0.0 : double(t % segment) / segment;
    const uint32_t from = stops[size_t(i)];
    const uint32_t to = stops[size_t(i + 1)];
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int32_t a = Channel(from, shift);
        const int32_t b = Channel(to, shift);
        // The step is truncated toward zero, as an integer conversion does.
        const auto c = int32_t(a + int32_t(f * (b - a)));
        result |= uint32_t(std::clamp(c, 0, 255)) << shift;
    }
    return result;
}

QImage GradientTile(int32_t mode, int32_t width, int32_t height, std::span<const uint32_t> stops,
                    const Rect& tile)
{
    if (!IsGradientMode(mode) || stops.size() < 2 || tile.IsEmpty() || width <= 0 || height <= 0) {
        return {};
    }
    QImage image(tile.Width(), tile.Height(), QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    for (int32_t row = 0; row < tile.Height(); ++row) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int32_t col = 0; col < tile.Width(); ++col) {
            const Position p =
                GradientPosition(mode, tile.left + col, tile.top + row, width, height);
            const uint32_t c = GradientColourAt(p.t, p.len, stops);
            out[col] = qRgb(Channel(c, 0), Channel(c, 8), Channel(c, 16));
        }
    }
    return image;
}

bool DrawGradient(const DrawContext& dc, const QPainterPath& region, const Rect& clip, int32_t mode,
                  std::span<const uint32_t> stops, uint32_t rop)
{
    if (!IsGradientMode(mode) || stops.size() < 2 || region.isEmpty()) {
        return false;
    }
    const QRect area = dc.ToDevicePath(region).boundingRect().toAlignedRect();
    if (area.isEmpty()) {
        return false;
    }
    QRect wanted(0, 0, 0, 0);
    if (!clip.IsEmpty()) {
        const Rect c = dc.ToDevice(clip).Normalised();
        wanted = QRect(c.left, c.top, c.Width(), c.Height());
    }
    QPainter& painter = dc.Painter();
    dc.PushClip(region);
    painter.setWorldTransform(QTransform());
    // The region's clip, set above, keeps its smooth edge. The tiles meet edge to edge: at
    // a fractional pixel ratio those edges fall inside screen pixels, which smoothing would
    // leave half covered by each tile, the canvas showing through as a light seam.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(dc.PaintsRaster() ? RasterOperationMode(rop)
                                                 : QPainter::CompositionMode_SourceOver);
    QRect visible =
        area.intersected(QRect(0, 0, painter.device()->width(), painter.device()->height()));
    if (painter.hasClipping()) {
        visible = visible.intersected(painter.clipBoundingRect().toAlignedRect());
    }
    for (int32_t top = 0; top < area.height(); top += kGradientTileSide) {
        for (int32_t left = 0; left < area.width(); left += kGradientTileSide) {
            const Rect tile{left, top, std::min(left + kGradientTileSide, area.width()),
                            std::min(top + kGradientTileSide, area.height())};
            const QRect placed(area.left() + left, area.top() + top, tile.Width(), tile.Height());
            if ((!wanted.isEmpty() && !placed.intersects(wanted)) || !placed.intersects(visible)) {
                continue;
            }
            painter.drawImage(placed.topLeft(),
                              GradientTile(mode, area.width(), area.height(), stops, tile));
        }
    }
    dc.PopClip();
    return true;
}

std::vector<uint8_t> GradientRecord::Write() const
{
    std::vector<uint8_t> out;
    PutU16(out, kMagic);
    PutI32(out, mode);
    if (mode == 0) {
        return out;
    }
    PutI32(out, width);
    PutI32(out, height);
    PutI32(out, int32_t(stops.size()));
    for (int32_t v : {tile.left, tile.top, tile.right, tile.bottom}) {
        PutI32(out, v);
    }
    for (uint32_t c : stops) {
        PutI32(out, int32_t(c));
    }
    return out;
}

std::optional<GradientRecord> GradientRecord::Read(std::span<const uint8_t> bytes)
{
    Reader in(bytes);
    uint16_t magic = 0;
    GradientRecord record;
    if (!in.U16(magic) || magic != kMagic || !in.I32(record.mode)) {
        return std::nullopt;
    }
    if (record.mode == 0) {
        return record;
    }
    int32_t count = 0;
    if (!in.I32(record.width) || !in.I32(record.height) || !in.I32(count) ||
        !in.I32(record.tile.left) || !in.I32(record.tile.top) || !in.I32(record.tile.right) ||
        !in.I32(record.tile.bottom)) {
        return std::nullopt;
    }
    if (count < 0 || count > kMaxStops || size_t(count) * 4 > in.Left()) {
        return std::nullopt;
    }
    record.stops.resize(size_t(count));
    for (uint32_t& c : record.stops) {
        int32_t v = 0;
        in.I32(v);
        c = uint32_t(v);
    }
    return record;
}

} // namespace figures
