#include "figures/model/objects/objectregistry.h"

#include "figures/model/objects/ccmbobj.h"
#include "figures/model/objects/cgraphcom.h"
#include "figures/model/objects/clinegraph.h"
#include "figures/model/objects/cnptextbox.h"
#include "figures/model/objects/cpcxpicturebox.h"
#include "figures/model/objects/cpicturebox.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/crichline.h"

namespace figures {

std::unique_ptr<CBaseCom> ClassFromTypeId(int32_t typeId)
{
    switch (typeId) {
    case TID_BASE: return std::make_unique<CBaseCom>();
    case TID_RECT: return std::make_unique<CRectCom>();
    case TID_GRAPH: return std::make_unique<CGraphCom>();
    case TID_PICTURE_BOX: return std::make_unique<CPictureBox>();
    case TID_PCX_PICTURE_BOX: return std::make_unique<CPCXPictureBox>();
    case TID_TEXT_BOX: return std::make_unique<CNPTextBox>();
    case TID_RICH_LINE: return std::make_unique<CRichLine>();
    case TID_RICH_GRAPH: return std::make_unique<CRichGraph>();
    case TID_COMBINED: return std::make_unique<CCmbObj>();
    case TID_LINE_GRAPH: return std::make_unique<CLineGraph>();
    default: return nullptr;
    }
}

ReadObjectResult ReadObject(CArchive& ar)
{
    ReadObjectResult result;
    try {
        const size_t start = ar.Position();
        const int32_t version = ar.ReadI32();
        const int32_t typeId = ar.ReadI32();
        if (version != 0 && version != 1) {
            result.error = "unsupported object version " + std::to_string(version);
            return result;
        }
        std::unique_ptr<CBaseCom> object = ClassFromTypeId(typeId);
        if (!object) {
            result.error = "unknown object type id " + std::to_string(typeId);
            return result;
        }
        ar.Seek(start);
        object->Serialize(ar);
        result.object = std::move(object);
    } catch (const UnregisteredClassError& e) {
        result.documentError = true;
        result.error = e.what();
    } catch (const TruncatedDataError& e) {
        result.truncated = true;
        result.error = e.what();
    } catch (const ArchiveError& e) {
        result.error = e.what();
    } catch (const std::bad_alloc&) {
        result.error = "out of memory";
    }
    return result;
}

std::vector<uint8_t> WriteObject(const CBaseCom& object)
{
    CArchive ar;
    // Storing does not change the object; Serialize serves both directions.
    const_cast<CBaseCom&>(object).Serialize(ar);
    return ar.TakeBytes();
}

bool CopyObject(CBaseCom& target, const CBaseCom& source)
{
    if (target.TypeId() != source.TypeId()) {
        return false;
    }
    const std::vector<uint8_t> bytes = WriteObject(source);
    try {
        CArchive ar(bytes);
        target.Serialize(ar);
    } catch (const ArchiveError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

} // namespace figures
