// The parts the metafile player is built from: bitmap decoding, the device state's
// mapping, clip combination, saved states, the object table and the cells of text.
#include "figures/render/gbk.h"
#include "figures/render/pictures/metafile/devicestate.h"
#include "figures/render/pictures/metafile/dibimage.h"
#include "figures/render/pictures/metafile/metafilecanvas.h"
#include "tests/figures/render/pictures/metafile/wmfbuilder.h"

#include <gtest/gtest.h>

namespace figures {
namespace {

using namespace metafiletest;

const std::vector<QRgb> kPalette = {qRgb(255, 0, 0), qRgb(0, 160, 0), qRgb(0, 0, 255),
                                    qRgb(255, 200, 0), qRgb(0, 0, 0)};

bool SamePixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) {
                return false;
            }
        }
    }
    return true;
}

TEST(MetafileDib, DecodesEveryDepthInBothRowOrders)
{
    const QImage picture = Quarters(13, 7); // odd sizes exercise the row padding
    struct Case {
        int bitCount;
        bool topDown;
    };
    for (const Case c : {Case{4, false}, Case{8, false}, Case{8, true}, Case{24, false},
                         Case{24, true}, Case{32, false}}) {
        SCOPED_TRACE(testing::Message() << c.bitCount << " bits, top down " << c.topDown);
        const Dib dib =
            DecodePackedDib(PackedDib(picture, c.bitCount, kPalette, c.topDown), kDibRgbColours);
        ASSERT_FALSE(dib.image.isNull());
        EXPECT_EQ(dib.bottomUp, !c.topDown);
        EXPECT_TRUE(SamePixels(dib.image, picture));
    }
    QImage checker(9, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 9; ++x) {
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        }
    }
    const Dib mono = DecodePackedDib(PackedDib(checker, 1, {qRgb(0, 0, 0), qRgb(255, 255, 255)}),
                                     kDibRgbColours);
    EXPECT_TRUE(SamePixels(mono.image, checker));
}

TEST(MetafileDib, DecodesBitFieldsPaletteIndicesAndRunLengths)
{
    // 16 bits in 5-6-5 fields: pure red, green and blue, and white.
    Bytes info;
    Put32(info, 40);
    Put32(info, 4);
    Put32(info, 1);
    Put16(info, 1);
    Put16(info, 16);
    Put32(info, 3); // bit fields
    for (int i = 0; i < 5; ++i) {
        Put32(info, 0);
    }
    Put32(info, 0xF800);
    Put32(info, 0x07E0);
    Put32(info, 0x001F);
    Bytes bits;
    for (uint32_t v : {0xF800u, 0x07E0u, 0x001Fu, 0xFFFFu}) {
        Put16(bits, v);
    }
    Dib dib = DecodeDib(info, bits, kDibRgbColours);
    ASSERT_FALSE(dib.image.isNull());
    EXPECT_EQ(dib.image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(dib.image.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(dib.image.pixel(2, 0), qRgb(0, 0, 255));
    EXPECT_EQ(dib.image.pixel(3, 0), qRgb(255, 255, 255));

    // A colour table of palette indices looks the entries up in the standard colours.
    Bytes indexed;
    Put32(indexed, 40);
    Put32(indexed, 2);
    Put32(indexed, 1);
    Put16(indexed, 1);
    Put16(indexed, 8);
    for (int i = 0; i < 4; ++i) {
        Put32(indexed, 0);
    }
    Put32(indexed, 2); // two colours
    Put32(indexed, 0);
    Put16(indexed, 9);  // bright red
    Put16(indexed, 12); // bright blue
    dib = DecodeDib(indexed, Bytes{1, 0, 0, 0}, kDibPaletteColours);
    ASSERT_FALSE(dib.image.isNull());
    EXPECT_EQ(dib.image.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(dib.image.pixel(1, 0), qRgb(255, 0, 0));

    // Eight-bit runs, bottom row first: a run, an absolute stretch, a delta that skips
    // pixels (left transparent), then the end.
    Bytes rle;
    Put32(rle, 40);
    Put32(rle, 6);
    Put32(rle, 2);
    Put16(rle, 1);
    Put16(rle, 8);
    Put32(rle, 1); // 8-bit runs
    for (int i = 0; i < 3; ++i) {
        Put32(rle, 0);
    }
    Put32(rle, 3);
    Put32(rle, 0);
    for (QRgb c : {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)}) {
        Put32(rle, uint32_t(qBlue(c) | qGreen(c) << 8 | qRed(c) << 16));
    }
    const Bytes runs = {3, 0,             // three of colour 0
                        0, 3, 1, 2, 1, 0, // absolute: 1, 2, 1, padded
                        0, 0,             // end of line
                        0, 2, 2, 0,       // delta: two to the right
                        2, 2,             // two of colour 2
                        0, 1};            // end of bitmap
    dib = DecodeDib(rle, runs, kDibRgbColours);
    ASSERT_FALSE(dib.image.isNull());
    const QImage& image = dib.image;
    EXPECT_EQ(image.pixel(0, 1), qRgb(255, 0, 0)); // bottom row
    EXPECT_EQ(image.pixel(3, 1), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(4, 1), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(5, 1), qRgb(0, 255, 0));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0); // skipped by the delta
    EXPECT_EQ(image.pixel(2, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(3, 0), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(image.pixel(5, 0)), 0);
}

TEST(MetafileDib, RefusesBitmapsThatAreTooLargeShortOrMalformed)
{
    const Bytes good = PackedDib(Quarters(8, 8), 24);
    auto with32 = [&](size_t at, uint32_t v) {
        Bytes out = good;
        Set32(out, at, v);
        return out;
    };
    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"header only half there", Bytes(good.begin(), good.begin() + 20)},
        {"rows missing", Bytes(good.begin(), good.end() - 1)},
        {"zero width", with32(4, 0)},
        {"negative width", with32(4, uint32_t(-8))},
        {"zero height", with32(8, 0)},
        {"the most negative height", with32(8, 0x80000000)},
        {"more than 64 megapixels",
         [&] {
             Bytes out = with32(4, 10000);
             Set32(out, 8, 10000);
             return out;
         }()},
        {"wide enough to overflow a row size", with32(4, 0x7FFFFFFF)},
        {"unknown bit count",
         [&] {
             Bytes out = good;
             out[14] = 7;
             return out;
         }()},
        {"unknown compression", with32(16, 99)},
        {"header size beyond the block", with32(0, 4000)},
        {"run-length bitmap stored top first",
         [&] {
             Bytes out = with32(16, 1);
             out[14] = 8;
             Set32(out, 8, uint32_t(-8));
             return out;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(DecodePackedDib(c.bytes, kDibRgbColours).image.isNull());
    }
    // A lower limit from the caller's budget refuses what the general limit allows.
    EXPECT_FALSE(DecodePackedDib(good, kDibRgbColours, 64).image.isNull());
    EXPECT_TRUE(DecodePackedDib(good, kDibRgbColours, 63).image.isNull());
}

TEST(MetafileDeviceState, MapsPageUnitsToTheDeviceForEveryMode)
{
    struct Case {
        const char* name;
        MapMode mode;
        QPointF windowExt, viewportExt;
        QPointF page, device;
    };
    // A 254-dpi device: one device unit a tenth of a millimetre.
    const Case cases[] = {
        {"text ignores the extents",
         MapMode::Text,
         {7, 7},
         {3, 3},
         {10, 20},
         {10 - 5 - 5, 20 + 5 + 5}},
        {"low metric", MapMode::LoMetric, {1, 1}, {1, 1}, {10, 20}, {5, 5 - 20}},
        {"high metric", MapMode::HiMetric, {1, 1}, {1, 1}, {100, 200}, {10 - 5, 5 - 20}},
        {"low English", MapMode::LoEnglish, {1, 1}, {1, 1}, {100, 0}, {254 - 5, 5}},
        {"high English", MapMode::HiEnglish, {1, 1}, {1, 1}, {1000, 0}, {254 - 5, 5}},
        {"twips", MapMode::Twips, {1, 1}, {1, 1}, {1440, -1440}, {254 - 5, 254 + 5}},
        {"anisotropic",
         MapMode::Anisotropic,
         {10, 20},
         {30, -20},
         {10, 20},
         {(10 - 5) * 3.0 - 5, (20 + 5) * -1.0 + 5}},
        {"isotropic shrinks the larger scale",
         MapMode::Isotropic,
         {10, 20},
         {30, -20},
         {10, 20},
         {(10 - 5) * 1.0 - 5, (20 + 5) * -1.0 + 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceState state;
        state.SetMapMode(c.mode);
        state.windowOrg = QPointF(5, -5);
        state.viewportOrg = QPointF(-5, 5);
        state.windowExt = c.windowExt;
        state.viewportExt = c.viewportExt;
        if (c.mode != MapMode::Text && c.mode != MapMode::Anisotropic &&
            c.mode != MapMode::Isotropic) {
            state.windowOrg = QPointF(0, 0);
        }
        const QPointF device = state.PageToDevice(254, 254).map(c.page);
        EXPECT_NEAR(device.x(), c.device.x(), 1e-9);
        EXPECT_NEAR(device.y(), c.device.y(), 1e-9);
    }
    // The world transform applies before the page mapping.
    DeviceState state;
    state.world = QTransform().rotate(90);
    state.viewportOrg = QPointF(100, 0);
    const QPointF p = state.LogicalToDevice(96, 96).map(QPointF(10, 0));
    EXPECT_NEAR(p.x(), 100, 1e-9);
    EXPECT_NEAR(p.y(), 10, 1e-9);
}

TEST(MetafileDeviceState, CombinesClipsInEveryRegionMode)
{
    auto region = [](QRect r) {
        ClipArea area;
        area.active = true;
        area.region = QRegion(r);
        return area;
    };
    const ClipArea left = region(QRect(0, 0, 10, 10));
    const ClipArea right = region(QRect(5, 0, 10, 10));
    struct Case {
        const char* name;
        ClipArea clip;
        int32_t mode;
        QPoint inside, outside; // (-1, -1): no such point
        bool active;
    };
    const Case cases[] = {
        {"and", left, kRgnAnd, {7, 5}, {2, 5}, true},
        {"or", left, kRgnOr, {12, 5}, {20, 5}, true},
        {"xor", left, kRgnXor, {2, 5}, {7, 5}, true},
        {"diff", left, kRgnDiff, {2, 5}, {12, 5}, true},
        {"copy", left, kRgnCopy, {12, 5}, {2, 5}, true},
        {"and with no clip is the shape", ClipArea{}, kRgnAnd, {12, 5}, {2, 5}, true},
        {"or with no clip stays unclipped", ClipArea{}, kRgnOr, {-1, -1}, {-1, -1}, false},
        {"diff with no clip cuts the shape out of everything",
         ClipArea{},
         kRgnDiff,
         {500, 500},
         {7, 5},
         true},
        {"unknown mode changes nothing", left, 9, {2, 5}, {12, 5}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClipArea clip = c.clip;
        CombineClip(clip, right, c.mode);
        EXPECT_EQ(clip.active, c.active);
        if (c.inside.x() >= 0) {
            EXPECT_TRUE(clip.AsPath().contains(QPointF(c.inside) + QPointF(0.5, 0.5)));
            EXPECT_FALSE(clip.AsPath().contains(QPointF(c.outside) + QPointF(0.5, 0.5)));
        }
    }
    // A shape that is not set stands for the whole device too.
    ClipArea complement = left;
    CombineClip(complement, ClipArea{}, kRgnXor);
    EXPECT_TRUE(complement.active);
    EXPECT_TRUE(complement.AsPath().contains(QPointF(500.5, 500.5)));
    EXPECT_FALSE(complement.AsPath().contains(QPointF(2.5, 5.5)));
    ClipArea nothing = left;
    CombineClip(nothing, ClipArea{}, kRgnDiff);
    EXPECT_TRUE(nothing.active);
    EXPECT_TRUE(nothing.region.isEmpty());

    // Curved shapes turn the clip into a path; rectangles on a path clip stay paths.
    ClipArea curved;
    curved.active = true;
    curved.usesPath = true;
    curved.path.addEllipse(QRectF(0, 0, 10, 10));
    ClipArea clip = left;
    CombineClip(clip, curved, kRgnAnd);
    EXPECT_TRUE(clip.usesPath);
    EXPECT_TRUE(clip.path.contains(QPointF(5, 5)));
    EXPECT_FALSE(clip.path.contains(QPointF(0.5, 0.5)));
    CombineClip(clip, right, kRgnAnd);
    EXPECT_TRUE(clip.usesPath);
    EXPECT_FALSE(clip.path.contains(QPointF(3, 5)));
    EXPECT_TRUE(clip.path.contains(QPointF(7, 5)));
}

TEST(MetafileDeviceState, SavedStatesRestoreByRelativeAndAbsoluteLevel)
{
    SavedStates saved;
    DeviceState state;
    for (int i = 1; i <= 5; ++i) {
        state.textAlign = uint32_t(i);
        saved.Push(state);
    }
    state.textAlign = 99;
    EXPECT_FALSE(saved.Restore(-6, state)); // deeper than saved
    EXPECT_FALSE(saved.Restore(0, state));
    EXPECT_FALSE(saved.Restore(6, state));
    EXPECT_EQ(state.textAlign, 99u);
    EXPECT_EQ(saved.Depth(), 5u);
    EXPECT_TRUE(saved.Restore(-2, state)); // the fourth save, dropping the fifth
    EXPECT_EQ(state.textAlign, 4u);
    EXPECT_EQ(saved.Depth(), 3u);
    EXPECT_TRUE(saved.Restore(2, state)); // the second save
    EXPECT_EQ(state.textAlign, 2u);
    EXPECT_EQ(saved.Depth(), 1u);

    // Beyond the limit the saves are counted, not kept; restoring to a kept level works
    // from any depth, also one past UINT16 levels.
    SavedStates deep;
    for (uint32_t i = 1; i <= 70000; ++i) {
        state.textAlign = i;
        deep.Push(state);
    }
    EXPECT_EQ(deep.Depth(), 70000u);
    EXPECT_FALSE(deep.Restore(-1, state));
    EXPECT_EQ(deep.Depth(), 69999u);
    EXPECT_TRUE(deep.Restore(SavedStates::kMaxDepth, state));
    EXPECT_EQ(state.textAlign, uint32_t(SavedStates::kMaxDepth));
    EXPECT_EQ(deep.Depth(), SavedStates::kMaxDepth - 1);
}

TEST(MetafileDeviceState, ObjectTableFillsTheLowestFreeSlotUpToItsCapacity)
{
    GdiObjectTable table;
    for (uint32_t i = 0; i < GdiObjectTable::kCapacity; ++i) {
        ASSERT_TRUE(table.Add(GdiPlaceholder{}));
    }
    EXPECT_FALSE(table.Add(GdiPen{}));
    table.Remove(17);
    table.Remove(5);
    GdiBrush brush;
    brush.colour = Qt::red;
    EXPECT_TRUE(table.Add(brush));
    ASSERT_NE(table.Find(5), nullptr);
    EXPECT_TRUE(std::holds_alternative<GdiBrush>(*table.Find(5)));
    EXPECT_EQ(table.Find(17), nullptr);
    EXPECT_TRUE(table.Add(GdiFont{}));
    EXPECT_TRUE(std::holds_alternative<GdiFont>(*table.Find(17)));
    EXPECT_EQ(table.Find(GdiObjectTable::kCapacity), nullptr);
    EXPECT_EQ(table.Find(UINT32_MAX), nullptr);
    table.Remove(UINT32_MAX); // harmless

    GdiObjectTable named;
    EXPECT_TRUE(named.Put(GdiObjectTable::kCapacity - 1, GdiPen{}));
    EXPECT_FALSE(named.Put(GdiObjectTable::kCapacity, GdiPen{}));
    EXPECT_FALSE(named.Put(UINT32_MAX, GdiPen{}));
    EXPECT_EQ(named.Find(3), nullptr);
}

TEST(MetafileText, SplitsStringsIntoCharacterCells)
{
    // GBK double-byte characters take one cell and the sum of their two bytes' advances;
    // other character sets read every byte as one character.
    const std::string bytes = ToGbk(QString::fromUtf8("中A文"));
    ASSERT_EQ(bytes.size(), 5u);
    const std::span<const uint8_t> span(reinterpret_cast<const uint8_t*>(bytes.data()),
                                        bytes.size());
    const std::vector<QPointF> advances = {{1, 0}, {2, 0}, {4, 0}, {8, 0}, {16, 0}};
    std::vector<TextCell> cells = AnsiTextCells(span, kGb2312Charset, advances);
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0].text, QString::fromUtf8("中"));
    EXPECT_EQ(cells[0].dx, 3);
    EXPECT_EQ(cells[1].text, QStringLiteral("A"));
    EXPECT_EQ(cells[1].dx, 4);
    EXPECT_EQ(cells[2].text, QString::fromUtf8("文"));
    EXPECT_EQ(cells[2].dx, 24);
    cells = AnsiTextCells(span, 0, {});
    ASSERT_EQ(cells.size(), 5u);
    EXPECT_EQ(cells[0].text, QString(QChar(char16_t(uint8_t(bytes[0])))));

    // A lead byte at the very end stands alone; a NUL is an empty cell.
    const uint8_t cut[] = {'A', 0, 0xD6};
    cells = AnsiTextCells(cut, kGb2312Charset, {});
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_TRUE(cells[1].text.isEmpty());

    // UTF-16: a surrogate pair is one cell; a lone surrogate stays a cell of its own.
    const uint8_t wide[] = {0x2D, 0x4E, 0x3D, 0xD8, 0x00, 0xDE, 0x3D, 0xD8, 'B', 0};
    cells = WideTextCells(wide, std::vector<QPointF>{{1, 0}, {2, 0}, {4, 0}, {8, 0}, {16, 0}});
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0].text, QString::fromUtf8("中"));
    EXPECT_EQ(cells[1].text, QString::fromUtf8("😀"));
    EXPECT_EQ(cells[1].dx, 6);
    EXPECT_EQ(cells[2].text.size(), 1);
    EXPECT_EQ(cells[3].text, QStringLiteral("B"));
    EXPECT_EQ(cells[3].dx, 16);
}

} // namespace
} // namespace figures
