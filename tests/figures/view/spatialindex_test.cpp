#include "tests/figures/view/viewtestsupport.h"

#include "figures/model/objects/crichline.h"
#include "figures/model/storage/documentformat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace figures {
namespace {

using namespace viewtest;

// The hit test as a walk over every object from the top layer down: the answer the
// index must reproduce exactly.
CBaseCom* ObjectAtByWalk(CViewWnd& view, Point client)
{
    std::vector<CBaseCom*> order;
    for (const auto& object : view.CurrentView()->objects) {
        order.push_back(object.get());
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const CBaseCom* a, const CBaseCom* b) { return a->layer < b->layer; });
    const DeviceMapping map = view.Mapping();
    const QPoint offset = view.ScrollOffset();
    const Point device{client.x + offset.x(), client.y + offset.y()};
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        BoundsRequest bounds;
        if (view.IsSelected(*it)) {
            bounds.selectionMargin = map.DocumentLengthX(20);
        }
        (*it)->OnMessage(OM_GET_BOUNDS, &bounds);
        if (!map.ToDevice(bounds.bounds.Normalised()).Contains(device)) {
            continue;
        }
        HitRecord hit;
        hit.map = &map;
        hit.devicePoint = device;
        if ((*it)->OnMessage(OM_SET_CURSOR, &hit) == 0) {
            return *it;
        }
    }
    return nullptr;
}

Rect RandomFrame(std::mt19937& random, int32_t spread)
{
    std::uniform_int_distribution<int32_t> at(-spread / 10, spread);
    std::uniform_int_distribution<int32_t> size(1, spread / 8);
    const int32_t x = at(random);
    const int32_t y = at(random);
    return {x, y, x + size(random), y + size(random)};
}

void FillRandomly(CViewWnd& view, std::mt19937& random, int count, int32_t spread)
{
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int32_t> angle(0, 3599);
    std::uniform_int_distribution<int32_t> layer(-2, 2);
    View& v = *view.CurrentView();
    for (int i = 0; i < count; ++i) {
        const int k = kind(random);
        if (k == 0) {
            auto line = std::make_unique<CRichLine>();
            const Rect f = RandomFrame(random, spread);
            line->SetEndPoints({f.left, f.top}, {f.right, f.bottom});
            line->layer = layer(random);
            v.Append(std::move(line));
            continue;
        }
        const Rect frame = RandomFrame(random, spread);
        v.AddNewShape(k < 5 ? kEllipse : kRectangle, &frame);
        v.objects.back()->angle = k % 3 == 0 ? angle(random) : 0;
        v.objects.back()->layer = layer(random);
    }
    view.ObjectsChanged();
}

TEST(ViewSpatialIndex, AnswersExactlyAsTheWalkOverEveryObject)
{
    std::mt19937 random(20261209);
    auto view = ShownView(400, 300);
    view->SetScrollBarsShown(true);
    const int zooms[] = {10, 100, 300};
    for (int round = 0; round < 6; ++round) {
        view->CurrentView()->objects.clear();
        FillRandomly(*view, random, 300, 3000);
        view->SetZoom(zooms[round % 3]);
        view->OnScroll(uint16_t(CViewWnd::SB_THUMBPOSITION << 8 | CViewWnd::SB_THUMBPOSITION),
                       round);
        // Some selected objects answer with their marks' margin.
        for (int i = 0; i < 30; ++i) {
            view->Select(view->CurrentView()->ObjectByIndex(i * 7), true);
        }
        // Changes through the view keep the index current.
        for (int i = 0; i < 40; ++i) {
            CBaseCom* object = view->CurrentView()->ObjectByIndex(i * 5 + 1);
            view->SetObjectRect(object, RandomFrame(random, 3000));
        }
        std::uniform_int_distribution<int> x(-5, 405);
        std::uniform_int_distribution<int> y(-5, 305);
        int hits = 0;
        for (int i = 0; i < 1500; ++i) {
            const Point p{x(random), y(random)};
            CBaseCom* expected = ObjectAtByWalk(*view, p);
            ASSERT_EQ(view->ObjectAt(p), expected)
                << "round " << round << " at " << p.x << ", " << p.y;
            hits += expected != nullptr ? 1 : 0;
        }
        EXPECT_GT(hits, 100) << "round " << round; // the points met objects
    }
}

// Adds the number of points that met an object to hits.
void ExpectHitsAsTheWalk(CViewWnd& view, std::mt19937& random, int step, int& hits)
{
    std::uniform_int_distribution<int> x(-5, 405);
    std::uniform_int_distribution<int> y(-5, 305);
    for (int i = 0; i < 150; ++i) {
        const Point p{x(random), y(random)};
        CBaseCom* expected = ObjectAtByWalk(view, p);
        ASSERT_EQ(view.ObjectAt(p), expected)
            << "after step " << step << " at " << p.x << ", " << p.y;
        hits += expected != nullptr ? 1 : 0;
    }
}

// Shapes added one by one through the view (mostly on top, sometimes under a shape
// raised above them), moved, deleted, sent to the back, and earlier versions of the
// document loaded back as an undo does: after every step the hit test still answers
// exactly as the walk over every object.
TEST(ViewSpatialIndex, StaysExactThroughAddsMovesDeletesAndUndo)
{
    std::mt19937 random(20261210);
    auto view = ShownView(400, 300);
    view->SetZoom(100);
    std::vector<std::vector<uint8_t>> versions{WriteDocument(view->GetDocument())};
    std::uniform_int_distribution<int> action(0, 99);
    std::uniform_int_distribution<int> entry(0, 109);
    int hits = 0;
    for (int step = 0; step < 400; ++step) {
        View& v = *view->CurrentView();
        const int count = v.ObjectCount();
        std::uniform_int_distribution<int> pick(0, std::max(0, count - 1));
        const int a = action(random);
        if (a < 60 || count == 0) {
            const int index = view->AddShape(entry(random));
            ASSERT_GE(index, 0);
            // Some stay where new shapes appear, stacked on each other.
            if (a % 3 != 0) {
                view->SetObjectRect(v.ObjectByIndex(index), RandomFrame(random, 1000));
            }
        } else if (a < 75) {
            view->SetObjectRect(v.ObjectByIndex(pick(random)), RandomFrame(random, 1000));
        } else if (a < 85) {
            CBaseCom* doomed[] = {v.ObjectByIndex(pick(random))};
            view->DeleteObjects(doomed);
        } else if (a < 92) {
            // Raised or lowered out of list order: later adds may land below it.
            v.ObjectByIndex(pick(random))->layer = a % 2 == 0 ? 3 : -3;
            view->ObjectsChanged();
        } else {
            std::uniform_int_distribution<size_t> earlier(0, versions.size() - 1);
            ASSERT_TRUE(view->SetDocumentContent(versions[earlier(random)]));
        }
        if (step % 10 == 0) {
            versions.push_back(WriteDocument(view->GetDocument()));
        }
        ExpectHitsAsTheWalk(*view, random, step, hits);
        if (HasFatalFailure()) {
            return;
        }
    }
    EXPECT_GT(hits, 1500); // the points met objects
}

TEST(ViewSpatialIndex, FindsObjectsMovedFarOutsideTheIndexedArea)
{
    auto view = ShownView(400, 300);
    view->SetScrollBarsShown(true);
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 300, 300});
    AddShape(*view, kRectangle, {400, 100, 600, 300});
    view->SetObjectRect(a, {50000, 40000, 50200, 40200});
    view->UpdateScrollBars();
    const QPoint offset = view->Mapping().ToDevice(Point{50100, 40100}).x > 0
                              ? QPoint(view->Mapping().ToDevice(Point{50000, 40000}).x / 20,
                                       view->Mapping().ToDevice(Point{50000, 40000}).y / 20)
                              : QPoint();
    view->OnScroll(uint16_t(CViewWnd::SB_THUMBPOSITION << 8 | 0xFF), offset.y());
    view->OnScroll(uint16_t(0xFF00 | CViewWnd::SB_THUMBPOSITION), offset.x());
    const QPoint centre = CentreOf(*view, *a);
    EXPECT_EQ(view->ObjectAt({centre.x(), centre.y()}), a);
}

} // namespace
} // namespace figures
