#include "figures/control/objectset.h"

#include "figures/model/document.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/view/cviewwnd.h"
#include "figures/view/viewcommands.h"

#include <unordered_set>

namespace figures {

namespace {

std::unordered_set<const CBaseCom*> DocumentObjects(const Document& document)
{
    std::unordered_set<const CBaseCom*> objects;
    for (int v = 0; v < document.ViewCount(); ++v) {
        for (const auto& object : document.ViewAt(v)->objects) {
            objects.insert(object.get());
        }
    }
    return objects;
}

// The selection changes without repainting; the marks of both selections must go or
// appear.
void RepaintMarks(CViewWnd& view, std::span<CBaseCom* const> objects)
{
    for (const CBaseCom* object : objects) {
        view.InvalidateObject(object);
    }
}

} // namespace

std::vector<CBaseCom*> ObjectSet::Live() const
{
    std::vector<CBaseCom*> live;
    if (view_.isNull() || objects_.empty()) {
        return live;
    }
    // Only addresses are compared here: an entry is dereferenced after it was found among
    // the objects the document owns right now.
    const std::unordered_set<const CBaseCom*> existing = DocumentObjects(view_->GetDocument());
    for (CBaseCom* object : objects_) {
        if (existing.count(object) != 0) {
            live.push_back(object);
        }
    }
    return live;
}

std::vector<CRichGraph*> ObjectSet::LiveShapes() const
{
    std::vector<CRichGraph*> shapes;
    for (CBaseCom* object : Live()) {
        if (object->TypeId() == CRichGraph::kTypeId) {
            shapes.push_back(static_cast<CRichGraph*>(object));
        }
    }
    return shapes;
}

void ObjectSet::WithTemporarySelection(int commandId) const
{
    CViewWnd* view = View();
    if (view == nullptr) {
        return;
    }
    const std::vector<CBaseCom*> remembered = view->Selection();
    const std::vector<CBaseCom*> live = Live();
    RepaintMarks(*view, remembered);
    view->SetSelection(live, false);
    view->Commands().Execute(commandId);
    RepaintMarks(*view, view->Selection());
    // The command may have deleted remembered objects (a paste never does, but a host's
    // slot running inside it might): restore only what the document still holds.
    const std::vector<CBaseCom*> restorable = ObjectSet(view, remembered).Live();
    view->SetSelection(restorable, false);
    RepaintMarks(*view, view->Selection());
}

void ObjectSet::ConsumingCommand(int commandId, bool deselect)
{
    CViewWnd* view = View();
    if (view == nullptr) {
        objects_.clear();
        return;
    }
    const std::vector<CBaseCom*> live = Live();
    RepaintMarks(*view, view->Selection());
    view->SetSelection(live, false);
    view->Commands().Execute(commandId);
    if (deselect) {
        view->Deselect(nullptr);
    }
    objects_.clear();
}

} // namespace figures
