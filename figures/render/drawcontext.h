#pragma once

#include "figures/render/devicemapping.h"
#include "figures/render/geometry.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace figures {

class SvgPatternFills;

// A painter together with the mapping from document units to device pixels. The same
// type serves the screen, images, SVG, PDF and printers.
//
// While objects draw, the painter's world transform is the mapping, so paths in
// document units are drawn directly and geometric pen widths scale with the zoom.
// Device-space work (regions, pattern fills, shadows of regions) goes through the
// conversions of DeviceMapping, which round like the platform's logical/device
// conversions.
//
// Everything drawing needs between two calls (the last pens and brushes, the scratch
// paths) lives here, so objects draw as const operations: two threads that paint with
// two contexts share nothing.
class DrawContext : public DeviceMapping {
public:
    DrawContext(QPainter& painter, double dpiX, double dpiY, int32_t zoomX = kZoomScale,
                int32_t zoomY = kZoomScale, Point origin = {});
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;

    // A path lent by the context for one drawing step: empty, with the odd-even fill
    // rule, and keeping the storage of earlier loans, so painting allocates no paths once
    // the pool has grown to the deepest nesting of steps. Loans are scoped: they end in
    // the reverse order of their start.
    class ScratchPath {
    public:
        explicit ScratchPath(const DrawContext& dc);
        ~ScratchPath();
        ScratchPath(const ScratchPath&) = delete;
        ScratchPath& operator=(const ScratchPath&) = delete;

        QPainterPath& operator*() const { return path_; }
        QPainterPath* operator->() const { return &path_; }

    private:
        const DrawContext& dc_;
        QPainterPath& path_;
    };

    QPainter& Painter() const { return painter_; }
    // Whether the painter writes pixels (images, screens) rather than vector output (SVG,
    // PDF, printers): raster operations, clips of its own and pixel rounding apply only there.
    bool PaintsRaster() const;

    // Fills a device-space path with the identity transform, so that pattern brushes keep
    // their 8 x 8 device pixels at every zoom; the world transform is restored after.
    void FillDevicePath(const QPainterPath& device, const QBrush& brush) const;

    // Strokes a path in document units. A geometric pen thinner than one device pixel
    // draws one pixel wide, as device lines never get thinner than a pixel; it is then
    // drawn as a cosmetic pen, which is also the fast path of the rasteriser.
    void StrokePath(const QPainterPath& doc, const QPen& pen) const;
    // Strokes with the pen of a line type (width in document units). The context keeps
    // the last pen, solid brush and pattern brush, so painting many objects of the same
    // style builds each only once.
    void StrokeLine(const QPainterPath& doc, int32_t lineType, int32_t widthUnits,
                    uint32_t colour) const;
    // The solid pen with round caps and joins, widthUnits document units wide, that
    // outlines line-end decorations. Thinner than a device pixel it is the one-pixel
    // cosmetic pen, decided here so that stroking does not copy it. The context keeps the
    // last one, so a drawing of many alike lines builds it once.
    const QPen& RoundPen(int32_t widthUnits, uint32_t colour) const;
    // Fills a path in document units with a solid colour (0x00BBGGRR).
    void FillPath(const QPainterPath& doc, uint32_t colour) const;
    // Fills with fill pattern 0..53 in device-pixel size; false for other patterns.
    bool FillPattern(const QPainterPath& doc, int32_t pattern, uint32_t foreground,
                     uint32_t background) const;
    // Painting into SVG: pattern fills are painted with the table's stand-in colours,
    // which the SVG filter turns into pattern references. The table must outlive the
    // painting; null (the default) paints the patterns themselves.
    void SetSvgPatternFills(SvgPatternFills* fills) { svgPatterns_ = fills; }

    // Narrows the clip to a path in document units until the matching PopClip.
    void PushClip(const QPainterPath& doc) const;
    void PopClip() const;

    // Puts the document mapping back on the painter (after device-space work).
    void ApplyWorldTransform() const { painter_.setWorldTransform(WorldTransform()); }

private:
    // A geometric pen that would draw less than one device pixel wide.
    bool ThinnerThanAPixel(const QPen& pen) const;

    QPainter& painter_;
    SvgPatternFills* svgPatterns_ = nullptr;

    // The pens or brushes of this paint, kept by what they are made from: drawings mix a
    // few styles over many objects, and making one costs allocations (a pattern brush an
    // 8 x 8 image as well), while the painter takes a kept one over without copying. The
    // last one found is checked first; past kMostKept styles the store starts afresh.
    template <typename Key, typename Value, typename Hash>
    class StyleStore {
    public:
        // The value for key, made by make() (a std::optional<Value>) when not kept; null
        // when make gives none.
        template <typename Make>
        const Value* Find(const Key& key, const Make& make)
        {
            if (last_ != nullptr && key == lastKey_) {
                return last_;
            }
            auto found = values_.find(key);
            if (found == values_.end()) {
                std::optional<Value> made = make();
                if (!made) {
                    return nullptr;
                }
                if (values_.size() >= kMostKept) {
                    values_.clear();
                }
                found = values_.emplace(key, std::move(*made)).first;
            }
            lastKey_ = key;
            last_ = &found->second;
            return last_;
        }

    private:
        static constexpr size_t kMostKept = 256;
        std::unordered_map<Key, Value, Hash> values_;
        Key lastKey_{};
        const Value* last_ = nullptr;
    };

    struct PenKey {
        int32_t type = -1;
        int32_t width = -1;
        uint32_t colour = 0;
        friend bool operator==(const PenKey&, const PenKey&) = default;
    };
    struct PatternKey {
        int32_t pattern = -1;
        uint32_t foreground = 0;
        uint32_t background = 0;
        friend bool operator==(const PatternKey&, const PatternKey&) = default;
    };
    // Three 32-bit fields folded into one word for std::hash.
    struct KeyHash {
        template <typename Key>
        size_t operator()(const Key& k) const
        {
            const auto [a, b, c] = k;
            return std::hash<uint64_t>()((uint64_t(uint32_t(a)) << 56) ^
                                         (uint64_t(uint32_t(b)) << 24) ^ uint32_t(c));
        }
    };
    mutable StyleStore<PenKey, QPen, KeyHash> pens_;
    mutable StyleStore<uint32_t, QBrush, std::hash<uint32_t>> solidBrushes_;
    mutable StyleStore<PatternKey, QBrush, KeyHash> patternBrushes_;
    struct RoundPenKey {
        int32_t width = -1;
        uint32_t colour = 0;
        bool thin = false;
        friend bool operator==(const RoundPenKey&, const RoundPenKey&) = default;
    };
    mutable RoundPenKey roundPenKey_;
    mutable QPen roundPen_;
    // Scratch paths: the first scratchInUse_ are lent out.
    mutable std::vector<std::unique_ptr<QPainterPath>> scratch_;
    mutable size_t scratchInUse_ = 0;
};

} // namespace figures
