#pragma once

#include "figures/model/objects/cbasecom.h"
#include "figures/render/geometry.h"

#include <memory>
#include <string>
#include <vector>

namespace figures {

// One named page of a document: its objects in drawing order (first drawn first, last
// on top) and its own zoom.
class View {
public:
    static constexpr int32_t kDefaultZoom = 1000; // per mille

    View() = default;
    explicit View(std::string viewName) : name(std::move(viewName)) {}

    // Deletes all objects; zoom 1000 by 1000, empty name, not modified.
    void ResetView();

    int ObjectCount() const { return int(objects.size()); }
    // Null for an index outside 0..count - 1.
    CBaseCom* ObjectByIndex(int index) const;
    int IndexOf(const CBaseCom* object) const;
    // Appends a new shape for the catalogue entry (negative: a custom shape with the
    // empty program) with the given frame or (10, 10)-(110, 110), filled white.
    // Returns its index; the view becomes modified.
    int AddNewShape(int32_t catalogueIndex, const Rect* frame = nullptr);
    void Append(std::unique_ptr<CBaseCom> object) { objects.push_back(std::move(object)); }
    // The union of all non-empty object frames as stored (without rotation), its right
    // edge extended by 400 units when positive; the empty rectangle at (0, 0) without
    // objects. The scroll ranges follow it.
    Rect Extent() const;
    // What Extent becomes when an object with the given frame is appended to a view whose
    // extent was extent: the same answer without a walk over the objects.
    static Rect ExtentWith(const Rect& extent, const Rect& frame);

    std::string name; // GBK; the view's identity for jumps
    bool modified = false;
    std::vector<std::unique_ptr<CBaseCom>> objects;
    int32_t zoomX = kDefaultZoom;
    int32_t zoomY = kDefaultZoom;
};

} // namespace figures
