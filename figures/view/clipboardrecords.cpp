#include "figures/view/clipboardrecords.h"

#include "figures/model/objects/objectregistry.h"
#include "figures/model/storage/carchive.h"

#include <algorithm>
#include <limits>
#include <new>

namespace figures {

namespace {

int32_t Saturated(int64_t v)
{
    return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max()));
}

} // namespace

bool WriteClipboardRecords(std::span<const CBaseCom* const> objects, std::vector<uint8_t>& out)
{
    out.clear();
    try {
        CArchive ar;
        for (const CBaseCom* object : objects) {
            // Storing leaves the object as it is; Serialize serves both directions.
            const_cast<CBaseCom*>(object)->Serialize(ar);
        }
        out = ar.TakeBytes();
    } catch (const ArchiveError&) {
        out.clear();
        return false;
    } catch (const std::bad_alloc&) {
        out.clear();
        return false;
    }
    return true;
}

PastedRecords ReadClipboardRecords(std::span<const uint8_t> bytes)
{
    PastedRecords result;
    CArchive ar(bytes);
    while (ar.Remaining() > 0) {
        ReadObjectResult read = ReadObject(ar);
        if (!read.object) {
            result.error = read.error;
            break;
        }
        result.objects.push_back(std::move(read.object));
    }
    return result;
}

void PlacePasted(std::span<const std::unique_ptr<CBaseCom>> objects, Point origin)
{
    if (objects.empty()) {
        return;
    }
    int32_t left = std::numeric_limits<int32_t>::max();
    int32_t top = std::numeric_limits<int32_t>::max();
    for (const auto& object : objects) {
        left = std::min(left, object->frame.left);
        top = std::min(top, object->frame.top);
    }
    const int64_t dx = int64_t(origin.x) - left + kPasteOffset;
    const int64_t dy = int64_t(origin.y) - top + kPasteOffset;
    for (const auto& object : objects) {
        Rect& f = object->frame;
        f = {Saturated(f.left + dx), Saturated(f.top + dy), Saturated(f.right + dx),
             Saturated(f.bottom + dy)};
    }
}

} // namespace figures
