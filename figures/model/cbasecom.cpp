#include "figures/model/cbasecom.h"

#include "figures/model/carchive.h"
#include "figures/model/cdatamanger.h"
#include "figures/render/numeric.h"

namespace figures {

namespace {
constexpr int32_t kObjectVersion = 1;
} // namespace

CBaseCom::~CBaseCom()
{
    ReleaseRecord();
}

std::string CBaseCom::TypeName() const
{
    return "基础对象";
}

void CBaseCom::ReleaseRecord()
{
    DataManager().ReleaseRecord(recordId_);
    recordId_ = 0;
}

void CBaseCom::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteI32(kObjectVersion);
        ar.WriteI32(TypeId());
        ar.WriteU32(flags);
        ar.WriteI32(frame.left);
        ar.WriteI32(frame.top);
        ar.WriteI32(frame.right);
        ar.WriteI32(frame.bottom);
        ar.WriteI32(layer);
        ar.WriteI32(reserved);
        ar.WriteI32(angle);
        ar.WriteString(jumpTarget);
        DataManager().SerializeRecord(recordId_, ar);
        return;
    }
    ReleaseRecord();
    flags = 0;
    reserved = 0;
    frame = {};
    layer = 0;
    angle = 0;
    jumpTarget.clear();
    // Version and type id were checked by whoever chose this class to read the record.
    ar.Skip(8);
    flags = ar.ReadU32();
    frame.left = ar.ReadI32();
    frame.top = ar.ReadI32();
    frame.right = ar.ReadI32();
    frame.bottom = ar.ReadI32();
    layer = ar.ReadI32();
    reserved = ar.ReadI32();
    angle = ar.ReadI32();
    jumpTarget = ar.ReadString();
    DataManager().SerializeRecord(recordId_, ar);
}

int32_t CBaseCom::OnMessage(ObjectMessage code, const MessageArgs& args)
{
    if (code == OM_GET_BOUNDS) {
        if (BoundsRequest* request = MessageRecord<BoundsRequest>(args)) {
            request->bounds = RootBounds(request->selectionMargin);
            return 0;
        }
    }
    return OM_UNHANDLED;
}

Rect CBaseCom::RootBounds(int32_t selectionMargin) const
{
    const Corners corners = RotatedCorners(frame, angle);
    return BoundsOfAnyPoints(corners.p).Inflated(selectionMargin);
}

bool CBaseCom::SetProperty(uint16_t tag, const uint8_t* data, int32_t length)
{
    CDataManger& dm = DataManager();
    if (recordId_ == 0) {
        if (data == nullptr && length == 0) {
            return true; // nothing to remove
        }
        recordId_ = dm.NewRecord(kItemListRecord);
    }
    return dm.SetItem(recordId_, tag, data, length, true);
}

std::span<const uint8_t> CBaseCom::GetProperty(uint16_t tag) const
{
    if (recordId_ == 0) {
        return {};
    }
    const uint8_t* data = nullptr;
    const uint16_t length = DataManager().FindItem(recordId_, tag, &data);
    if (data == nullptr || length == 0) {
        return {};
    }
    return {data, length};
}

} // namespace figures
