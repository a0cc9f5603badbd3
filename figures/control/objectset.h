#pragma once

#include <QPointer>

#include <functional>
#include <span>
#include <vector>

namespace figures {

class CBaseCom;
class CRichGraph;
class CViewWnd;

// The list behind FigureInterface handles: the objects named by the set and the canvas
// they belong to. Objects are held as plain pointers but only ever reached through Live,
// which keeps the ones still in the canvas's document; the canvas itself is watched, so
// a set outlives its control harmlessly.
class ObjectSet {
public:
    ObjectSet() = default;
    ObjectSet(CViewWnd* view, std::vector<CBaseCom*> objects)
        : view_(view), objects_(std::move(objects))
    {}

    CViewWnd* View() const { return view_.data(); }
    // The entries whose object is still a top-level object of one of the document's
    // views, in the set's order; empty when the canvas is gone.
    std::vector<CBaseCom*> Live() const;
    // The live shape objects, in the set's order.
    std::vector<CRichGraph*> LiveShapes() const;
    void Clear() { objects_.clear(); }

    // Runs the canvas command with the set selected and the remembered selection
    // restored afterwards (without the objects the command removed).
    void WithTemporarySelection(int commandId) const;
    // Selects the set alone, runs the command, then empties the set; with deselect the
    // canvas is left with nothing selected.
    void ConsumingCommand(int commandId, bool deselect);

private:
    QPointer<CViewWnd> view_;
    std::vector<CBaseCom*> objects_;
};

} // namespace figures
