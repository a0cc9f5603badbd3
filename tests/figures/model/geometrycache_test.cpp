#include "figures/model/geometrycache.h"

#include "figures/model/bandedpainter.h"
#include "figures/model/objects/ccmbobj.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/crichline.h"
#include "figures/model/objects/shapetextstore.h"
#include "figures/model/storage/carchive.h"
#include "figures/model/view.h"
#include "figures/model/viewpainter.h"
#include "figures/render/drawcontext.h"
#include "figures/render/painterpathsink.h"
#include "figures/render/shapes/catalogue.h"
#include "figures/render/styles/linetype.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

namespace figures {
namespace {

constexpr QSize kSize(480, 360);

struct Mapping {
    int32_t zoom = 1000;
    Point origin;
};

QImage Paint(const View& view, const Mapping& mapping, GeometryCache* cache,
             const Rect& deviceClip = {0, 0, kSize.width(), kSize.height()})
{
    QImage image(kSize, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const DrawContext dc(painter, 96, 96, mapping.zoom, mapping.zoom, mapping.origin);
    PaintOptions options;
    options.deviceClip = deviceClip;
    PaintView(view, dc, options, cache);
    return image;
}

int ElementCount(std::span<const uint8_t> program, ProgramMode mode, int* arrows = nullptr)
{
    QPainterPath path;
    PainterPathSink sink(path);
    const int hasArrows = RunShapeProgram(program, {{0, 0}, 100, 100, 0, false, false}, mode, sink);
    if (arrows != nullptr) {
        *arrows = hasArrows;
    }
    return path.elementCount();
}

// The first closed catalogue figure with inner figures, or the first entry with arrow lines.
int32_t EntryWith(bool innerFigures, bool arrowLines)
{
    for (int32_t i = 0; i < CatalogueCount(); ++i) {
        const ShapeCatalogueEntry* entry = CatalogueEntry(i);
        int arrows = 0;
        const int outline = ElementCount(entry->program, ProgramMode::Outline, &arrows);
        const int silhouette = ElementCount(entry->program, ProgramMode::Silhouette);
        const bool closed = (entry->attributes & CA_OPEN) == 0;
        if (outline > 0 && (arrowLines ? arrows == 1 : closed && innerFigures &&
                                                            silhouette != outline)) {
            return i;
        }
    }
    return -1;
}

// The first catalogue entry with a text box.
int32_t TextBoxEntry()
{
    for (int32_t i = 0; i < CatalogueCount(); ++i) {
        const ShapeCatalogueEntry* entry = CatalogueEntry(i);
        if ((entry->attributes & CA_TEXT_BOX) != 0 && (entry->attributes & CA_OPEN) == 0) {
            return i;
        }
    }
    return -1;
}

CRichGraph& AddShape(View& view, int32_t entry, const Rect& frame)
{
    view.AddNewShape(entry, &frame);
    auto& shape = static_cast<CRichGraph&>(*view.objects.back());
    shape.fillKind = FillKind::Colour;
    shape.fillColour = 0x3060C0;
    shape.lineWidth = 20;
    return shape;
}

// Objects 0..8: a rounded rectangle (adjust handles), a turned star, a shadowed ellipse,
// a figure with inner figures, a connector with arrow lines, a text box shape with text, a
// line with ends, a group of two shapes, an arrow with a pattern fill.
View MakeView()
{
    View view;
    AddShape(view, 6, {100, 100, 400, 300});
    AddShape(view, 61, {350, 100, 600, 350}).angle = 300;
    AddShape(view, 10, {750, 100, 1000, 300}).shadowDirection = 5;
    AddShape(view, EntryWith(true, false), {100, 400, 350, 650});
    AddShape(view, EntryWith(false, true), {400, 400, 650, 600});
    CRichGraph& text = AddShape(view, TextBoxEntry(), {700, 400, 1000, 650});
    SetBoxText(text, 1, "Ab");
    auto line = std::make_unique<CRichLine>();
    line->SetEndPoints({100, 900}, {500, 700});
    line->lineWidth = 15;
    view.Append(std::move(line));
    std::vector<std::unique_ptr<CBaseCom>> members;
    members.push_back(std::make_unique<CRichGraph>(2));
    members.back()->frame = {600, 700, 800, 850};
    members.push_back(std::make_unique<CRichGraph>(61));
    members.back()->frame = {820, 700, 1000, 900};
    view.Append(CCmbObj::Group(std::move(members)));
    CRichGraph& arrow = AddShape(view, 64, {1050, 100, 1250, 400});
    arrow.fillKind = FillKind::Pattern;
    arrow.hatchStyle = 7;
    return view;
}

CRichGraph& Shape(View& view, size_t i)
{
    return static_cast<CRichGraph&>(*view.objects[i]);
}

std::vector<uint8_t> Stored(CBaseCom& object)
{
    CArchive ar;
    object.Serialize(ar);
    const auto bytes = ar.Bytes();
    return {bytes.begin(), bytes.end()};
}

void DragHandle(CBaseCom& object, int32_t handle, int32_t dx, int32_t dy)
{
    HandleDragRecord drag;
    drag.handle = handle;
    object.OnMessage(OM_BEGIN_HANDLE_DRAG, &drag);
    drag.dx = dx;
    drag.dy = dy;
    object.OnMessage(OM_TRACK_HANDLE_DRAG, &drag);
    object.OnMessage(OM_END_HANDLE_DRAG, &drag);
}

TEST(GeometryCache, RepaintAfterEachKindOfChangeShowsWhatAnUncachedPaintShows)
{
    using Change = std::function<void(View&, Mapping&)>;
    const struct {
        const char* name;
        Change change;
    } kCases[] = {
        {"moved", [](View& v, Mapping&) { Shape(v, 1).frame = Shape(v, 1).frame.Offset(37, 21); }},
        {"resized", [](View& v, Mapping&) { Shape(v, 0).frame.right += 90; }},
        {"turned", [](View& v, Mapping&) { Shape(v, 8).angle = 450; }},
        {"flipped across", [](View& v, Mapping&) { Shape(v, 8).flags ^= OF_FLIPPED_H; }},
        {"flipped upside down", [](View& v, Mapping&) { Shape(v, 1).flags ^= OF_FLIPPED_V; }},
        {"adjust handle dragged", [](View& v, Mapping&) { DragHandle(Shape(v, 0), 0, 80, 0); }},
        {"other catalogue entry", [](View& v, Mapping&) { Shape(v, 2).SetShapeIndex(61); }},
        {"own program",
         [](View& v, Mapping&) {
             const auto program = CatalogueEntry(64)->program;
             Shape(v, 1).SetProgram(program.data(), program.size());
         }},
        {"thicker outline", [](View& v, Mapping&) { Shape(v, 3).lineWidth = 120; }},
        {"shadow cast", [](View& v, Mapping&) { Shape(v, 1).shadowDirection = 3; }},
        {"line end added",
         [](View& v, Mapping&) { static_cast<CRichLine&>(*v.objects[6]).SetLineEnd(2, {1, 3, 3}); }},
        {"text typed", [](View& v, Mapping&) { SetBoxText(Shape(v, 5), 1, "Abcdef"); }},
        {"group member moved",
         [](View& v, Mapping&) {
             auto& group = static_cast<CCmbObj&>(*v.objects[7]);
             group.children[1]->frame = group.children[1]->frame.Offset(-40, 30);
         }},
        {"group turned", [](View& v, Mapping&) { v.objects[7]->angle = 900; }},
        {"read back from another shape's bytes (undo)",
         [](View& v, Mapping&) {
             const std::vector<uint8_t> bytes = Stored(Shape(v, 0));
             CArchive load(bytes);
             Shape(v, 8).Serialize(load);
         }},
        {"deleted and another made in its place",
         [](View& v, Mapping&) {
             const Rect frame = v.objects[1]->frame;
             v.objects[1].reset();
             v.objects[1] = std::make_unique<CRichGraph>(10);
             v.objects[1]->frame = frame;
         }},
        {"raised to the top layer", [](View& v, Mapping&) { v.objects[0]->layer = 5; }},
        {"document read again",
         [](View& v, Mapping&) {
             v = MakeView();
             Shape(v, 4).angle = 600;
         }},
        {"zoomed in", [](View&, Mapping& m) { m.zoom = 2500; }},
        {"zoomed out", [](View&, Mapping& m) { m.zoom = 370; }},
        {"scrolled", [](View&, Mapping& m) { m.origin = {210, 130}; }},
    };
    ASSERT_GE(EntryWith(true, false), 0);
    ASSERT_GE(EntryWith(false, true), 0);
    ASSERT_GE(TextBoxEntry(), 0);
    for (const auto& c : kCases) {
        View view = MakeView();
        Mapping mapping;
        GeometryCache cache;
        const QImage before = Paint(view, mapping, &cache);
        c.change(view, mapping);
        const QImage cached = Paint(view, mapping, &cache);
        EXPECT_NE(cached, before) << c.name << ": the change shows";
        EXPECT_EQ(cached, Paint(view, mapping, nullptr)) << c.name;
    }
}

// Paints the view whole and then its clip from the cache, makes the change and paints the
// clip again: the change must show there, as an uncached paint shows it.
void ExpectClipRepaintShowsTheChange(const View& view, const Rect& clip,
                                     const std::function<void()>& change, const char* name)
{
    Mapping mapping;
    GeometryCache cache;
    Paint(view, mapping, &cache);
    const QImage before = Paint(view, mapping, &cache, clip);
    change();
    const QImage cached = Paint(view, mapping, &cache, clip);
    EXPECT_NE(cached, before) << name << ": the change shows";
    EXPECT_EQ(cached, Paint(view, mapping, nullptr, clip)) << name;
}

// A repaint of only part of the canvas paints the objects whose painted area meets it, so
// the area an object keeps in the cache must follow every change that makes it reach
// further: here each change brings a tall ellipse left of the clip into it.
TEST(GeometryCache, PartialRepaintAfterAChangeThatGrowsAShapeShowsWhatAnUncachedPaintShows)
{
    using Change = std::function<void(CRichGraph&)>;
    const struct {
        const char* name;
        Change before; // the shape as first painted, still left of the clip
        Change change;
    } kCases[] = {
        {"moved", [](CRichGraph&) {}, [](CRichGraph& s) { s.frame = s.frame.Offset(60, 0); }},
        {"widened", [](CRichGraph&) {}, [](CRichGraph& s) { s.frame.right += 60; }},
        {"turned", [](CRichGraph&) {}, [](CRichGraph& s) { s.angle = 900; }},
        {"shadow cast", [](CRichGraph&) {}, [](CRichGraph& s) { s.shadowDirection = 4; }},
        {"shadow cast further",
         [](CRichGraph& s) {
             s.shadowDirection = 4;
             s.shadowOffset = 2;
         },
         [](CRichGraph& s) { s.shadowOffset = 40; }},
        {"thicker outline", [](CRichGraph&) {}, [](CRichGraph& s) { s.lineWidth = 150; }},
        {"outline of a type with a width",
         [](CRichGraph& s) {
             s.lineStyle = kLineDash;
             s.lineWidth = 150;
         },
         [](CRichGraph& s) { s.lineStyle = kLineRoundSolid; }},
    };
    // The ellipse ends at x = 300 units (113 px); the clip starts at 118 px.
    const Rect clip{118, 0, 220, kSize.height()};
    for (const auto& c : kCases) {
        View view;
        CRichGraph& shape = AddShape(view, 10, {200, 50, 300, 350});
        shape.lineWidth = 5;
        c.before(shape);
        ExpectClipRepaintShowsTheChange(view, clip, [&] { c.change(shape); }, c.name);
    }
}

// The same for a line, whose area also grows with its end decorations.
TEST(GeometryCache, PartialRepaintAfterAChangeThatWidensALineShowsWhatAnUncachedPaintShows)
{
    using Change = std::function<void(CRichLine&)>;
    const struct {
        const char* name;
        Change before; // the line as first painted, still right of the clip
        Change change;
    } kCases[] = {
        {"moved", [](CRichLine&) {}, [](CRichLine& l) { l.frame = l.frame.Offset(-60, 0); }},
        {"thicker", [](CRichLine&) {}, [](CRichLine& l) { l.lineWidth = 90; }},
        {"arrowhead added", [](CRichLine&) {}, [](CRichLine& l) { l.SetLineEnd(2, {1, 3, 3}); }},
        {"arrowhead at the other end",
         [](CRichLine&) {},
         [](CRichLine& l) { l.SetLineEnd(1, {1, 3, 3}); }},
        {"arrowhead widened",
         [](CRichLine& l) { l.SetLineEnd(2, {1, 1, 1}); },
         [](CRichLine& l) { l.SetLineEnd(2, {1, 1, 3}); }},
        {"shadow cast",
         [](CRichLine& l) { l.shadowOffset = 30; },
         [](CRichLine& l) { l.shadowDirection = 8; }},
        {"shadow cast further",
         [](CRichLine& l) {
             l.shadowDirection = 8;
             l.shadowOffset = 2;
         },
         [](CRichLine& l) { l.shadowOffset = 30; }},
    };
    // The line runs down at x = 290 units (110 px) on the left edge of its frame; its area
    // starts at 286 units. The clip ends at 107 px (283 units).
    const Rect clip{0, 0, 107, kSize.height()};
    for (const auto& c : kCases) {
        View view;
        auto owned = std::make_unique<CRichLine>();
        CRichLine& line = *owned;
        line.SetEndPoints({290, 50}, {290, 350});
        line.lineWidth = 5;
        view.Append(std::move(owned));
        c.before(line);
        ExpectClipRepaintShowsTheChange(view, clip, [&] { c.change(line); }, c.name);
    }
}

TEST(GeometryCache, BuildsOnlyWhatChangedSinceThePaintBefore)
{
    View view = MakeView();
    Mapping mapping;
    GeometryCache cache;
    Paint(view, mapping, &cache);
    EXPECT_EQ(cache.BuiltLastTime(), view.objects.size()) << "every object at the first paint";
    Paint(view, mapping, &cache);
    EXPECT_EQ(cache.BuiltLastTime(), 0u) << "an unchanged view";
    mapping.zoom = 1700;
    mapping.origin = {-50, 40};
    Paint(view, mapping, &cache);
    EXPECT_EQ(cache.BuiltLastTime(), 0u) << "another zoom and scroll position";
    Shape(view, 1).frame = Shape(view, 1).frame.Offset(5, 0);
    Shape(view, 2).lineColour = 0x0000FF;
    Paint(view, mapping, &cache);
    EXPECT_EQ(cache.BuiltLastTime(), 1u) << "one moved object; colours are no geometry";
    view.objects.erase(view.objects.begin() + 2, view.objects.end());
    Paint(view, mapping, &cache);
    EXPECT_EQ(cache.Size(), 2u) << "entries of deleted objects are dropped";
    EXPECT_EQ(cache.BuiltLastTime(), 0u);
}

TEST(GeometryCache, BandsPaintingFromTheCacheGiveTheUncachedPixels)
{
    View view = MakeView();
    for (int i = 0; i < 60; ++i) {
        const int32_t x = 40 + i % 10 * 120;
        const int32_t y = 40 + i / 10 * 150;
        AddShape(view, i % CatalogueCount(), {x, y, x + 140, y + 170}).angle = i * 70 % 3600;
    }
    BandedPaint mapping;
    mapping.zoomX = mapping.zoomY = 1300;
    mapping.bands = 5;
    PaintOptions options;
    options.deviceClip = {0, 0, kSize.width(), kSize.height()};
    GeometryCache cache;
    QImage uncached(kSize, QImage::Format_RGB32);
    PaintViewInBands(view, uncached, mapping, options);
    for (int frame = 0; frame < 2; ++frame) {
        QImage banded(kSize, QImage::Format_RGB32);
        PaintViewInBands(view, banded, mapping, options, &cache);
        EXPECT_EQ(banded, uncached) << "frame " << frame;
    }
    EXPECT_EQ(cache.BuiltLastTime(), 0u);
}

} // namespace
} // namespace figures
