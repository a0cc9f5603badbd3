#include "figures/control/figureinterface.h"

#include "figures/control/objectset.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/render/gbk.h"
#include "figures/render/numeric.h"
#include "figures/view/cviewwnd.h"
#include "figures/view/viewcommandids.h"

#include <QGuiApplication>
#include <QScreen>

#include <array>

namespace figures {

namespace {

// Runs a command body; any failure inside it becomes the command's neutral result, so
// nothing escapes to the host.
template <typename Result, typename Body> Result Guarded(Result neutral, Body&& body)
{
    try {
        return body();
    } catch (...) {
        return neutral;
    }
}

template <typename Body> void Guarded(Body&& body)
{
    try {
        body();
    } catch (...) {
    }
}

// The command ids of an argument numbered from 1, or 0 outside the table.
template <size_t N> int32_t CommandFor(int argument, const std::array<ViewCommandId, N>& ids)
{
    return argument >= 1 && argument <= int(N) ? ids[size_t(argument - 1)] : 0;
}

int ScreenDpiY()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? qRound(screen->logicalDotsPerInchY()) : 96;
}

void ApplyFont(CRichGraph& shape, const FigureInterface::FontParts& parts, int dpiY)
{
    if (parts.face) {
        shape.font.SetFaceName(ToGbk(*parts.face));
    }
    if (parts.size) {
        shape.font.SetHeight(-MulDiv(*parts.size, dpiY, 72));
    }
    if (parts.colour) {
        shape.textColour = *parts.colour;
    }
    if (parts.bold) {
        shape.font.SetWeight(*parts.bold ? 700 : 0);
    }
    if (parts.italic) {
        shape.font.SetItalic(*parts.italic ? 1 : 0);
    }
    if (parts.underline) {
        shape.font.SetUnderline(*parts.underline ? 1 : 0);
    }
    if (parts.strikeOut) {
        shape.font.SetStrikeOut(*parts.strikeOut ? 1 : 0);
    }
}

// Gives the object a new frame, repainting both places and keeping the hit index current.
void PlaceObject(CViewWnd& view, CBaseCom& object, const Rect& frame)
{
    view.InvalidateObject(&object);
    object.frame = frame.Normalised();
    view.ObjectChanged(&object);
}

// After objects of the set changed their look: the old area was repainted by the caller,
// the new one is repainted here, the canvas rescales and the document counts as changed.
void FinishChange(CViewWnd& view, std::span<CBaseCom* const> changed)
{
    for (const CBaseCom* object : changed) {
        view.ObjectChanged(object);
    }
    view.UpdateScrollBars();
    view.SetModified();
}

} // namespace

FigureInterface::FigureInterface() : set_(std::make_shared<ObjectSet>()) {}

FigureInterface::FigureInterface(std::shared_ptr<ObjectSet> set) : set_(std::move(set)) {}

FigureInterface::FigureInterface(const FigureInterface& other) = default;

FigureInterface& FigureInterface::operator=(const FigureInterface& other) = default;

FigureInterface::~FigureInterface() = default;

int FigureInterface::Count() const
{
    return Guarded(0, [&] { return int(set_->Live().size()); });
}

void FigureInterface::Delete()
{
    Guarded([&] { set_->ConsumingCommand(ID_EDIT_DELETE, false); });
}

void FigureInterface::Cut()
{
    Guarded([&] { set_->ConsumingCommand(ID_EDIT_CUT, false); });
}

void FigureInterface::Copy()
{
    Guarded([&] { set_->WithTemporarySelection(ID_EDIT_COPY); });
}

void FigureInterface::Paste()
{
    Guarded([&] { set_->WithTemporarySelection(ID_EDIT_PASTE); });
}

void FigureInterface::SetLayer(int where)
{
    const int32_t id = CommandFor(where, std::array{ID_BRING_TO_TOP, ID_SEND_TO_BOTTOM});
    if (id != 0) {
        Guarded([&] { set_->WithTemporarySelection(id); });
    }
}

void FigureInterface::Flip(int direction)
{
    const int32_t id = CommandFor(direction, std::array{ID_FLIP_HORIZONTAL, ID_FLIP_VERTICAL});
    if (id != 0) {
        Guarded([&] { set_->WithTemporarySelection(id); });
    }
}

void FigureInterface::Align(int kind)
{
    const int32_t id = CommandFor(kind, std::array{ID_ALIGN_TOP, ID_ALIGN_BOTTOM, ID_ALIGN_LEFT,
                                                   ID_ALIGN_RIGHT, ID_SAME_WIDTH, ID_SAME_HEIGHT});
    if (id != 0) {
        Guarded([&] { set_->WithTemporarySelection(id); });
    }
}

void FigureInterface::Nudge(int kind)
{
    const int32_t id = CommandFor(
        kind, std::array{ID_MOVE_UP, ID_MOVE_DOWN, ID_MOVE_LEFT, ID_MOVE_RIGHT, ID_BOTTOM_EDGE_UP,
                         ID_BOTTOM_EDGE_DOWN, ID_RIGHT_EDGE_LEFT, ID_RIGHT_EDGE_RIGHT});
    if (id != 0) {
        Guarded([&] { set_->WithTemporarySelection(id); });
    }
}

void FigureInterface::Lock()
{
    Guarded([&] { set_->WithTemporarySelection(ID_LOCK); });
}

void FigureInterface::Unlock()
{
    Guarded([&] { set_->WithTemporarySelection(ID_UNLOCK); });
}

void FigureInterface::Group()
{
    Guarded([&] { set_->ConsumingCommand(ID_GROUP, true); });
}

void FigureInterface::Ungroup()
{
    Guarded([&] { set_->ConsumingCommand(ID_UNGROUP, true); });
}

void FigureInterface::Redraw()
{
    Guarded([&] {
        if (CViewWnd* view = set_->View()) {
            for (const CRichGraph* shape : set_->LiveShapes()) {
                view->InvalidateObject(shape);
            }
        }
    });
}

bool FigureInterface::SetFont(const FontParts& parts)
{
    return Guarded(false, [&] {
        CViewWnd* view = set_->View();
        const std::vector<CRichGraph*> shapes = set_->LiveShapes();
        if (view == nullptr || shapes.empty()) {
            return true;
        }
        const int dpiY = ScreenDpiY();
        std::vector<CBaseCom*> changed;
        for (CRichGraph* shape : shapes) {
            view->InvalidateObject(shape);
            ApplyFont(*shape, parts, dpiY);
            changed.push_back(shape);
        }
        FinishChange(*view, changed);
        return true;
    });
}

bool FigureInterface::SetDrawingData(const QByteArray& program)
{
    return Guarded(false, [&] {
        CViewWnd* view = set_->View();
        if (view == nullptr || set_->Live().empty()) {
            return false;
        }
        bool allTaken = true;
        std::vector<CBaseCom*> changed;
        for (CRichGraph* shape : set_->LiveShapes()) {
            view->InvalidateObject(shape);
            allTaken &= shape->SetProgram(reinterpret_cast<const uint8_t*>(program.constData()),
                                          size_t(program.size()));
            changed.push_back(shape);
        }
        if (!changed.empty()) {
            FinishChange(*view, changed);
        }
        return allTaken;
    });
}

QByteArray FigureInterface::GetDrawingData() const
{
    return Guarded(QByteArray(), [&] {
        const std::vector<CBaseCom*> live = set_->Live();
        if (live.empty() || live.front()->TypeId() != CRichGraph::kTypeId) {
            return QByteArray();
        }
        const std::span<const uint8_t> program =
            static_cast<const CRichGraph*>(live.front())->GetProgram();
        return QByteArray(reinterpret_cast<const char*>(program.data()), qsizetype(program.size()));
    });
}

bool FigureInterface::SetShape(int number)
{
    constexpr int kLastShape = 110;
    return Guarded(false, [&] {
        CViewWnd* view = set_->View();
        if (number < 0 || number > kLastShape || view == nullptr || set_->Live().empty()) {
            return false;
        }
        std::vector<CBaseCom*> changed;
        for (CRichGraph* shape : set_->LiveShapes()) {
            view->InvalidateObject(shape);
            shape->SetShapeIndex(number - 1);
            changed.push_back(shape);
        }
        if (!changed.empty()) {
            FinishChange(*view, changed);
        }
        // Number 0 leaves the shapes with the empty program, which counts as rejected.
        return number != 0;
    });
}

bool FigureInterface::GetAngle(int* angle) const
{
    const int first = Guarded(0, [&] {
        const std::vector<CBaseCom*> live = set_->Live();
        return live.empty() ? 0 : int(live.front()->angle);
    });
    if (angle != nullptr) {
        *angle = first;
    }
    return true;
}

bool FigureInterface::SetAngle(std::optional<int> angle)
{
    return Guarded(false, [&] {
        CViewWnd* view = set_->View();
        const std::vector<CBaseCom*> live = set_->Live();
        if (!angle || view == nullptr || live.empty()) {
            return true;
        }
        for (CBaseCom* object : live) {
            view->InvalidateObject(object);
            object->angle = *angle;
        }
        FinishChange(*view, live);
        return true;
    });
}

bool FigureInterface::SetFrame(std::optional<int> left, std::optional<int> top,
                               std::optional<int> width, std::optional<int> height)
{
    return Guarded(false, [&] {
        CViewWnd* view = set_->View();
        const std::vector<CRichGraph*> shapes = set_->LiveShapes();
        if (view == nullptr || shapes.empty()) {
            return true;
        }
        std::vector<CBaseCom*> changed;
        for (CRichGraph* shape : shapes) {
            Rect frame = shape->frame;
            if (left) {
                frame = frame.Offset(*left - frame.left, 0);
            }
            if (top) {
                frame = frame.Offset(0, *top - frame.top);
            }
            if (width) {
                frame.right = frame.left + *width;
            }
            if (height) {
                frame.bottom = frame.top + *height;
            }
            PlaceObject(*view, *shape, frame);
            changed.push_back(shape);
        }
        FinishChange(*view, changed);
        return true;
    });
}

bool FigureInterface::SetPixelFrame(std::optional<int> left, std::optional<int> top,
                                    std::optional<int> width, std::optional<int> height)
{
    return Guarded(false, [&] {
        CViewWnd* view = set_->View();
        const std::vector<CBaseCom*> live = set_->Live();
        if (view == nullptr || live.empty() || live.front()->TypeId() != CRichGraph::kTypeId) {
            return false;
        }
        // Only the edges the host names go through pixels: the others keep their document
        // coordinates, which a round trip through pixels would shift by rounding.
        const Rect start = live.front()->frame;
        const Rect pixels = view->DocumentToClient(start);
        const Point startLeftTop = {left.value_or(pixels.left), top.value_or(pixels.top)};
        const Point leftTop = view->ClientToDocument(startLeftTop);
        const Point rightBottom = view->ClientToDocument(
            {startLeftTop.x + width.value_or(0), startLeftTop.y + height.value_or(0)});
        Rect frame = start;
        frame.left = left ? leftTop.x : start.left;
        frame.top = top ? leftTop.y : start.top;
        frame.right = width ? rightBottom.x : start.right;
        frame.bottom = height ? rightBottom.y : start.bottom;
        std::vector<CBaseCom*> changed;
        for (CRichGraph* shape : set_->LiveShapes()) {
            PlaceObject(*view, *shape, frame);
            changed.push_back(shape);
        }
        FinishChange(*view, changed);
        return true;
    });
}

} // namespace figures
