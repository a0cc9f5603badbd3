// The device state of the metafile player: the mapping of every mode, clip combination,
// saved states and the object table.
#include "figures/render/pictures/metafile/devicestate.h"

#include <gtest/gtest.h>

namespace figures {
namespace {

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

} // namespace
} // namespace figures
