#include "figures/view/arrangecommands.h"

#include "figures/model/objects/ccmbobj.h"
#include "figures/view/cviewwnd.h"
#include "figures/view/viewcommandids.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

namespace figures {

namespace {

// Layers, angles and frames come from documents and the clipboard and may sit anywhere
// in the 32-bit range; arithmetic on them saturates instead of wrapping.
int32_t Saturated(int64_t v)
{
    return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max()));
}

std::vector<CBaseCom*> SortedByLayer(std::vector<CBaseCom*> objects)
{
    std::stable_sort(objects.begin(), objects.end(),
                     [](const CBaseCom* a, const CBaseCom* b) { return a->layer < b->layer; });
    return objects;
}

// Takes the objects out of the list, in the order given; objects not in the list are
// left out of the result.
std::vector<std::unique_ptr<CBaseCom>> TakeObjects(std::vector<std::unique_ptr<CBaseCom>>& list,
                                                   const std::vector<CBaseCom*>& objects)
{
    std::vector<std::unique_ptr<CBaseCom>> taken;
    taken.reserve(objects.size());
    for (CBaseCom* object : objects) {
        const auto it = std::find_if(list.begin(), list.end(),
                                     [object](const auto& o) { return o.get() == object; });
        if (it != list.end()) {
            taken.push_back(std::move(*it));
            list.erase(it);
        }
    }
    return taken;
}

int32_t HighestLayer(const std::vector<std::unique_ptr<CBaseCom>>& list)
{
    int32_t highest = 0;
    for (const auto& object : list) {
        highest = std::max(highest, object->layer);
    }
    return highest;
}

Rect AlignedFrame(ArrangeCommands::AlignKind kind, const Rect& f, const Rect& r)
{
    using Kind = ArrangeCommands::AlignKind;
    const int64_t w = int64_t(f.right) - f.left;
    const int64_t h = int64_t(f.bottom) - f.top;
    Rect out = f;
    switch (kind) {
    case Kind::Top: out.top = r.top, out.bottom = Saturated(r.top + h); break;
    case Kind::Left: out.left = r.left, out.right = Saturated(r.left + w); break;
    case Kind::Bottom: out.bottom = r.bottom, out.top = Saturated(r.bottom - h); break;
    case Kind::Right: out.right = r.right, out.left = Saturated(r.right - w); break;
    case Kind::SameWidth: out.right = Saturated(int64_t(f.left) + r.right - r.left); break;
    case Kind::SameHeight: out.bottom = Saturated(int64_t(f.top) + r.bottom - r.top); break;
    }
    return out;
}

Rect NudgedFrame(ArrangeCommands::NudgeKind kind, const Rect& f, Point step)
{
    using Kind = ArrangeCommands::NudgeKind;
    const auto add = [](int32_t v, int32_t d) { return Saturated(int64_t(v) + d); };
    Rect out = f;
    switch (kind) {
    case Kind::Up: out.top = add(f.top, -step.y), out.bottom = add(f.bottom, -step.y); break;
    case Kind::Down: out.top = add(f.top, step.y), out.bottom = add(f.bottom, step.y); break;
    case Kind::Left: out.left = add(f.left, -step.x), out.right = add(f.right, -step.x); break;
    case Kind::Right: out.left = add(f.left, step.x), out.right = add(f.right, step.x); break;
    case Kind::BottomEdgeUp: out.bottom = add(f.bottom, -step.y); break;
    case Kind::BottomEdgeDown: out.bottom = add(f.bottom, step.y); break;
    case Kind::RightEdgeLeft: out.right = add(f.right, -step.x); break;
    case Kind::RightEdgeRight: out.right = add(f.right, step.x); break;
    }
    return out;
}

// One quarter turn; a result that leaves 0..3599 is brought back by one whole turn only,
// so angles set from outside far beyond a turn stay beyond it.
int32_t QuarterTurned(int32_t angle, bool clockwise)
{
    if (clockwise) {
        const int64_t a = int64_t(angle) + 900;
        return Saturated(a >= 3600 ? a - 3600 : a);
    }
    const int64_t a = int64_t(angle) - 900;
    return Saturated(a < 0 ? a + 3600 : a);
}

} // namespace

bool ArrangeCommands::Run(int32_t id)
{
    using A = AlignKind;
    using N = NudgeKind;
    switch (id) {
    case ID_BRING_TO_TOP: ReorderSelection(true); break;
    case ID_SEND_TO_BOTTOM: ReorderSelection(false); break;
    case ID_ALIGN_TOP: AlignSelection(A::Top); break;
    case ID_ALIGN_LEFT: AlignSelection(A::Left); break;
    case ID_ALIGN_BOTTOM: AlignSelection(A::Bottom); break;
    case ID_ALIGN_RIGHT: AlignSelection(A::Right); break;
    case ID_SAME_WIDTH: AlignSelection(A::SameWidth); break;
    case ID_SAME_HEIGHT: AlignSelection(A::SameHeight); break;
    case ID_MOVE_UP: NudgeSelection(N::Up); break;
    case ID_MOVE_DOWN: NudgeSelection(N::Down); break;
    case ID_MOVE_LEFT: NudgeSelection(N::Left); break;
    case ID_MOVE_RIGHT: NudgeSelection(N::Right); break;
    case ID_BOTTOM_EDGE_UP: NudgeSelection(N::BottomEdgeUp); break;
    case ID_BOTTOM_EDGE_DOWN: NudgeSelection(N::BottomEdgeDown); break;
    case ID_RIGHT_EDGE_LEFT: NudgeSelection(N::RightEdgeLeft); break;
    case ID_RIGHT_EDGE_RIGHT: NudgeSelection(N::RightEdgeRight); break;
    case ID_ROTATE_LEFT: RotateSelection(false); break;
    case ID_ROTATE_RIGHT: RotateSelection(true); break;
    case ID_FLIP_HORIZONTAL: FlipSelection(true); break;
    case ID_FLIP_VERTICAL: FlipSelection(false); break;
    case ID_GROUP: GroupSelection(); break;
    case ID_UNGROUP: UngroupSelection(); break;
    case ID_LOCK: LockSelection(true); break;
    case ID_UNLOCK: LockSelection(false); break;
    case ID_EDIT_DELETE: DeleteSelection(); break;
    default: return false;
    }
    return true;
}

void ArrangeCommands::ReorderSelection(bool toTop)
{
    View* view = view_.CurrentView();
    if (view == nullptr || view_.Selection().empty()) {
        return;
    }
    const std::vector<CBaseCom*> selection = view_.Selection();
    for (const CBaseCom* object : selection) {
        view_.InvalidateObject(object);
    }
    std::vector<std::unique_ptr<CBaseCom>> moved =
        TakeObjects(view->objects, SortedByLayer(selection));
    auto& list = view->objects;
    if (toTop && !moved.empty()) {
        // Above the highest remaining layer by one, the moved objects' own differences kept.
        const int64_t lift = int64_t(HighestLayer(list)) - moved.front()->layer + 1;
        for (auto& object : moved) {
            object->layer = Saturated(object->layer + lift);
        }
        list.insert(list.end(), std::make_move_iterator(moved.begin()),
                    std::make_move_iterator(moved.end()));
    } else {
        // Layer 0 and first in the list: below every other layer-0 object.
        for (auto& object : moved) {
            object->layer = 0;
        }
        list.insert(list.begin(), std::make_move_iterator(moved.begin()),
                    std::make_move_iterator(moved.end()));
    }
    view_.ObjectsReordered();
    view_.SetModified();
}

void ArrangeCommands::AlignSelection(AlignKind kind)
{
    if (view_.CurrentView() == nullptr || view_.Selection().size() < 2) {
        return;
    }
    const std::vector<CBaseCom*> selection = view_.Selection();
    const Rect reference = selection.back()->frame;
    for (size_t i = 0; i + 1 < selection.size(); ++i) {
        CBaseCom* object = selection[i];
        if (object->HasFlag(OF_LOCKED)) {
            continue;
        }
        view_.SetObjectRect(object, AlignedFrame(kind, object->frame, reference));
        view_.SetModified();
    }
    view_.UpdateScrollBars();
}

void ArrangeCommands::NudgeSelection(NudgeKind kind)
{
    if (view_.CurrentView() == nullptr || view_.Selection().empty()) {
        return;
    }
    // One client pixel, window-relative: the step depends on the zoom only.
    const Point step = view_.Mapping().ToDocument(Point{1, 1});
    for (CBaseCom* object : view_.Selection()) {
        view_.InvalidateObject(object);
        object->frame = NudgedFrame(kind, object->frame, step);
        view_.ObjectChanged(object);
    }
    view_.SetModified();
    view_.UpdateScrollBars();
}

void ArrangeCommands::RotateSelection(bool clockwise)
{
    if (view_.CurrentView() == nullptr || view_.Selection().empty()) {
        return;
    }
    for (CBaseCom* object : view_.Selection()) {
        if (object->HasFlag(OF_ROTATE)) {
            view_.InvalidateObject(object);
            object->angle = QuarterTurned(object->angle, clockwise);
            view_.ObjectChanged(object);
        }
    }
    view_.SetModified();
    view_.UpdateScrollBars();
}

void ArrangeCommands::FlipSelection(bool horizontal)
{
    if (view_.CurrentView() == nullptr || view_.Selection().empty()) {
        return;
    }
    const uint32_t bit = horizontal ? OF_FLIPPED_H : OF_FLIPPED_V;
    for (CBaseCom* object : view_.Selection()) {
        if (object->HasFlag(OF_FLIP)) {
            object->flags ^= bit;
            view_.ObjectChanged(object);
        }
    }
    view_.SetModified();
    view_.UpdateScrollBars();
}

void ArrangeCommands::GroupSelection()
{
    View* view = view_.CurrentView();
    if (view == nullptr || view_.Selection().empty()) {
        return;
    }
    const std::vector<CBaseCom*> selection = view_.Selection();
    for (const CBaseCom* object : selection) {
        view_.InvalidateObject(object);
    }
    std::unique_ptr<CCmbObj> group =
        CCmbObj::Group(TakeObjects(view->objects, SortedByLayer(selection)));
    CCmbObj* added = group.get();
    view->objects.push_back(std::move(group));
    view_.ObjectsReordered();
    view_.Select(added, false);
    view_.SetModified();
}

void ArrangeCommands::UngroupSelection()
{
    View* view = view_.CurrentView();
    if (view == nullptr || view_.Selection().empty()) {
        return;
    }
    const std::vector<CBaseCom*> work = SortedByLayer(view_.Selection());
    view_.Deselect(nullptr);
    int32_t layer = HighestLayer(view->objects);
    std::vector<CBaseCom*> members;
    bool dissolved = false;
    for (CBaseCom* object : work) {
        auto* group = dynamic_cast<CCmbObj*>(object);
        if (group == nullptr) {
            continue;
        }
        view_.InvalidateObject(group);
        const bool locked = group->HasFlag(OF_LOCKED);
        const std::vector<CBaseCom*> order = group->ChildrenInDrawOrder();
        for (CBaseCom* member : order) {
            // Where the group draws the member now: scaled, flipped and turned with it.
            const ChildPlacement place = group->PlaceChild(*member, group->frame);
            member->frame = place.frame;
            member->flags = locked ? place.flags | OF_LOCKED : place.flags & ~OF_LOCKED;
            member->angle = place.angle;
            member->layer = layer = Saturated(int64_t(layer) + 1);
        }
        for (auto& member : TakeObjects(group->children, order)) {
            view->objects.push_back(std::move(member));
        }
        members.insert(members.end(), order.begin(), order.end());
        // The emptied group is deleted here.
        TakeObjects(view->objects, {group});
        dissolved = true;
    }
    view_.ObjectsReordered();
    if (!dissolved) {
        return;
    }
    view_.SetSelection(members, false);
    for (const CBaseCom* member : members) {
        view_.InvalidateObject(member);
    }
    view_.SetModified();
}

void ArrangeCommands::LockSelection(bool locked)
{
    if (view_.CurrentView() == nullptr || view_.Selection().empty()) {
        return;
    }
    for (CBaseCom* object : view_.Selection()) {
        object->flags = locked ? object->flags | OF_LOCKED : object->flags & ~OF_LOCKED;
        // The marks turn grey or back.
        view_.ObjectChanged(object);
    }
    view_.SetModified();
}

void ArrangeCommands::DeleteSelection()
{
    if (view_.CurrentView() == nullptr || view_.Selection().empty()) {
        return;
    }
    const std::vector<CBaseCom*> doomed = view_.Selection();
    view_.Deselect(nullptr);
    view_.DeleteObjects(doomed);
}

} // namespace figures
