#include "tests/figures/view/viewtestsupport.h"

#include "figures/model/objects/cnptextbox.h"
#include "figures/model/objects/crichline.h"
#include "figures/model/storage/documentformat.h"
#include "figures/view/viewcommandids.h"
#include "figures/view/viewcommands.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace figures {
namespace {

using namespace viewtest;

constexpr int32_t kFivePointStar = 61;
constexpr int32_t kRightArrow = 64;
constexpr int32_t kElbowWithArrows = 105;

CRichLine* AddArrowLine(CViewWnd& view, Point from, Point to)
{
    auto line = std::make_unique<CRichLine>();
    line->SetEndPoints(from, to);
    line->lineWidth = 12;
    line->SetLineEnd(2, {3, 3, 3});
    line->SetLineEnd(1, {7, 2, 2});
    CRichLine* added = line.get();
    view.CurrentView()->Append(std::move(line));
    view.ObjectsChanged();
    return added;
}

// Overlapping shapes with shadows, turned ones, thick outlines, lines with large arrowheads
// and a text box whose text runs past its frame.
void FillDrawing(CViewWnd& view)
{
    for (int i = 0; i < 24; ++i) {
        const int32_t x = 30 + i % 6 * 160;
        const int32_t y = 30 + i / 6 * 170;
        const int32_t kinds[] = {kFivePointStar, kRectangle, kRightArrow, kElbowWithArrows};
        CRichGraph* shape = AddShape(view, kinds[i % 4], {x, y, x + 210, y + 150},
                                     uint32_t(0x305080 + 0x1F2F11 * i));
        shape->shadowDirection = i % 4 == 0 ? 1 + i % 8 : 0;
        shape->shadowOffset = 40;
        shape->angle = i % 3 == 1 ? i * 170 % 3600 : 0;
        shape->lineWidth = i % 5 * 6;
    }
    AddArrowLine(view, {100, 700}, {900, 80});
    AddArrowLine(view, {40, 400}, {980, 420});
    auto text = std::make_unique<CNPTextBox>();
    text->frame = {500, 500, 560, 540};
    text->lines = {"A line longer than its box", "Ab"};
    view.CurrentView()->Append(std::move(text));
    view.ObjectsChanged();
}

QImage Picture(CViewWnd& view)
{
    QApplication::processEvents();
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The view's document painted from scratch by another view of the same size, zoom and
// scroll position, with the same objects selected.
QImage FreshPicture(CViewWnd& view)
{
    auto fresh = ShownView(view.width(), view.height());
    fresh->SetDocumentContent(WriteDocument(view.GetDocument()));
    fresh->SelectView(view.CurrentIndex());
    fresh->SetScrollBarsShown(view.ScrollBarsShown());
    fresh->OnScroll(CViewWnd::HorizontalScroll(CViewWnd::SB_THUMBPOSITION),
                    view.ScrollOffset().x() / view.ScrollUnitX());
    fresh->OnScroll(CViewWnd::VerticalScroll(CViewWnd::SB_THUMBPOSITION),
                    view.ScrollOffset().y() / view.ScrollUnitY());
    std::vector<CBaseCom*> selection;
    for (const int index : view.SelectionIndices()) {
        selection.push_back(fresh->CurrentView()->ObjectByIndex(index));
    }
    fresh->SetSelection(selection, false);
    EXPECT_EQ(fresh->ScrollOffset(), view.ScrollOffset());
    return Picture(*fresh);
}

// The first pixel where the pictures differ, or "" when they are the same.
std::string FirstDifference(const QImage& shown, const QImage& fresh)
{
    if (shown.size() != fresh.size()) {
        return "sizes differ";
    }
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (shown.pixel(x, y) != fresh.pixel(x, y)) {
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + " shows " +
                       std::to_string(shown.pixel(x, y)) + " instead of " +
                       std::to_string(fresh.pixel(x, y));
            }
        }
    }
    return "";
}

CBaseCom* Object(CViewWnd& view, int index)
{
    return view.CurrentView()->ObjectByIndex(index);
}

struct Edit {
    const char* name;
    std::function<void(CViewWnd&)> apply;
};

// Each edit is made on a canvas whose picture is up to date, so only what the edit
// repaints changes; the picture must then be what a fresh paint gives.
const std::vector<Edit>& Edits()
{
    static const std::vector<Edit> edits = {
        {"add a shape on top of others", [](CViewWnd& v) { v.AddShape(kFivePointStar); }},
        {"select a shape with a shadow", [](CViewWnd& v) { v.Select(Object(v, 0), false); }},
        {"add a shape under the marks of a selected one",
         [](CViewWnd& v) { v.AddShape(kRectangle); }},
        {"move a turned shape",
         [](CViewWnd& v) {
             CBaseCom* shape = Object(v, 1);
             v.SetObjectRect(shape, shape->frame.Offset(130, 95));
         }},
        {"turn a shape with a shadow",
         [](CViewWnd& v) {
             v.Select(Object(v, 4), false);
             v.Commands().Execute(ID_ROTATE_RIGHT);
         }},
        {"bring a shape to the top", [](CViewWnd& v) { v.Commands().Execute(ID_BRING_TO_TOP); }},
        {"send a shape to the bottom",
         [](CViewWnd& v) {
             v.Select(Object(v, 8), false);
             v.Commands().Execute(ID_SEND_TO_BOTTOM);
         }},
        {"nudge an arrow line",
         [](CViewWnd& v) {
             v.Select(Object(v, 24), false);
             for (int i = 0; i < 5; ++i) {
                 v.Commands().Execute(ID_MOVE_RIGHT);
             }
         }},
        {"delete an arrow line", [](CViewWnd& v) { v.Commands().Execute(ID_EDIT_DELETE); }},
        {"group two shapes",
         [](CViewWnd& v) {
             v.Select(Object(v, 10), false);
             v.Select(Object(v, 11), true);
             v.Commands().Execute(ID_GROUP);
         }},
        {"move the text box", [](CViewWnd& v) {
             CBaseCom* text = Object(v, 24);
             v.SetObjectRect(text, text->frame.Offset(-300, -200));
         }},
        {"deselect everything", [](CViewWnd& v) { v.Deselect(nullptr); }},
    };
    return edits;
}

TEST(PartialRepaint, EveryEditShowsWhatAFreshPaintShows)
{
    struct Case {
        const char* name;
        int percent;
        int scrollX, scrollY; // scroll positions
    };
    const Case cases[] = {
        {"whole drawing", 100, 0, 0},
        {"zoomed in and scrolled", 250, 7, 9},
    };
    for (const Case& c : cases) {
        auto view = ShownView(420, 320);
        FillDrawing(*view);
        view->SetZoom(c.percent);
        view->SetScrollBarsShown(true);
        view->OnScroll(CViewWnd::HorizontalScroll(CViewWnd::SB_THUMBPOSITION), c.scrollX);
        view->OnScroll(CViewWnd::VerticalScroll(CViewWnd::SB_THUMBPOSITION), c.scrollY);
        Picture(*view);
        const std::vector<uint8_t> before = WriteDocument(view->GetDocument());
        for (const Edit& edit : Edits()) {
            edit.apply(*view);
            EXPECT_EQ(FirstDifference(Picture(*view), FreshPicture(*view)), "")
                << c.name << ": " << edit.name;
        }
        // Undo goes back to the first version.
        view->SetDocumentContent(before);
        view->SetZoom(c.percent);
        EXPECT_EQ(FirstDifference(Picture(*view), FreshPicture(*view)), "") << c.name << ": undo";
    }
}

// A grid of small shapes that fills the client area: a full repaint paints all of them.
// Repaints of an area also hand the painter the objects just around it (whose antialiased
// edges might reach in), a cell or two each way at this zoom.
std::unique_ptr<CViewWnd> GridCanvas()
{
    auto view = ShownView(600, 450);
    View& v = *view->CurrentView();
    for (int32_t y = 0; y < 1180; y += 40) {
        for (int32_t x = 0; x < 1580; x += 40) {
            const Rect frame{x, y, x + 30, y + 30};
            v.AddNewShape(kEllipse, &frame);
        }
    }
    view->ObjectsChanged();
    Picture(*view);
    return view;
}

TEST(PartialRepaint, ASmallEditRepaintsOnlyTheObjectsNearIt)
{
    struct Case {
        const char* name;
        std::function<void(CViewWnd&)> apply;
        uint64_t most; // objects painted at most
    };
    const Case cases[] = {
        {"add a shape on top", [](CViewWnd& v) { v.AddShape(kRectangle); }, 1},
        {"move a shape by a pixel",
         [](CViewWnd& v) {
             CBaseCom* shape = Object(v, 400);
             v.SetObjectRect(shape, shape->frame.Offset(3, 0));
         },
         20},
        {"select a shape", [](CViewWnd& v) { v.Select(Object(v, 500), false); }, 60},
        {"bring a shape to the top",
         [](CViewWnd& v) {
             v.Select(Object(v, 300), false);
             Picture(v);
             v.Commands().Execute(ID_BRING_TO_TOP);
         },
         120},
        {"delete a shape",
         [](CViewWnd& v) { v.DeleteObjects(std::vector<CBaseCom*>{Object(v, 200)}); }, 20},
    };
    for (const Case& c : cases) {
        auto view = GridCanvas();
        const uint64_t whole = view->PaintedObjectCount();
        EXPECT_GE(whole, 1000u) << c.name;
        c.apply(*view);
        Picture(*view);
        const uint64_t painted = view->PaintedObjectCount() - whole;
        EXPECT_GE(painted, 1u) << c.name;
        EXPECT_LE(painted, c.most) << c.name;
        EXPECT_EQ(FirstDifference(Picture(*view), FreshPicture(*view)), "") << c.name;
    }
}

} // namespace
} // namespace figures
