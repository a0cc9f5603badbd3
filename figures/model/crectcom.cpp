#include "figures/model/crectcom.h"

#include "figures/model/carchive.h"

#include <algorithm>

namespace figures {

namespace {
constexpr size_t kReservedTail = 40;
} // namespace

Point ShadowVector(int32_t direction, int32_t w)
{
    // Directions run clockwise from the top-left: 1 top-left, 2 up, ..., 8 left.
    static constexpr int8_t kSteps[9][2] = {{0, 0}, {-1, -1}, {0, -1}, {1, -1}, {1, 0},
                                            {1, 1}, {0, 1},   {-1, 1}, {-1, 0}};
    if (direction < 0 || direction > 8) {
        return {};
    }
    return {kSteps[direction][0] * w, kSteps[direction][1] * w};
}

CRectCom::CRectCom()
{
    flags = kInitialFlags;
}

std::string CRectCom::TypeName() const
{
    return "矩形对象";
}

void CRectCom::Serialize(CArchive& ar)
{
    CBaseCom::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteU32(edgeMask);
        ar.WriteI32(lineStyle);
        ar.WriteI32(lineWidth);
        ar.WriteU32(lineColour);
        ar.WriteI32(shadowDirection);
        ar.WriteI32(shadowOffset);
        ar.WriteU32(shadowColour);
        ar.WriteI32(fillKind);
        ar.WriteU32(fillColour);
        ar.WriteI32(hatchStyle);
        ar.WriteI32(picturePlacement);
        ar.WriteI32(gradientKind);
        if (gradientKind != 0) {
            // The record can only carry the colours the object holds.
            const int32_t count = std::clamp(gradientCount, 0, kMaxGradientColours);
            ar.WriteI32(count);
            for (int32_t i = 0; i < count; ++i) {
                ar.WriteU32(gradientColours[size_t(i)]);
            }
        }
        fillPicture.Serialize(ar);
        ar.WriteBytes(font.bytes);
        ar.WriteU32(textColour);
        ar.WriteI16(textHAlign);
        ar.WriteI16(textVAlign);
        ar.WriteZeros(kReservedTail);
        return;
    }
    edgeMask = ar.ReadU32();
    lineStyle = ar.ReadI32();
    lineWidth = ar.ReadI32();
    lineColour = ar.ReadU32();
    shadowDirection = ar.ReadI32();
    shadowOffset = ar.ReadI32();
    shadowColour = ar.ReadU32();
    fillKind = ar.ReadI32();
    fillColour = ar.ReadU32();
    fillBackColour = 0xFFFFFF;
    hatchStyle = ar.ReadI32();
    picturePlacement = ar.ReadI32();
    gradientKind = ar.ReadI32();
    gradientCount = 0;
    gradientColours.fill(0);
    if (gradientKind != 0) {
        const int32_t count = ar.ReadI32();
        if (count < 0 || count > kMaxGradientColours) {
            throw ArchiveError("gradient colour count out of range");
        }
        gradientCount = count;
        for (int32_t i = 0; i < count; ++i) {
            gradientColours[size_t(i)] = ar.ReadU32();
        }
    }
    fillPicture.Serialize(ar);
    ar.ReadBytes(font.bytes);
    textColour = ar.ReadU32();
    textHAlign = ar.ReadI16();
    textVAlign = ar.ReadI16();
    ar.Skip(kReservedTail);
}

int32_t CRectCom::OnMessage(ObjectMessage code, const MessageArgs& args)
{
    if (code == OM_GET_BOUNDS) {
        if (BoundsRequest* request = MessageRecord<BoundsRequest>(args)) {
            request->bounds = RectBounds(request->selectionMargin);
            return 0;
        }
    }
    return CBaseCom::OnMessage(code, args);
}

Rect CRectCom::RectBounds(int32_t selectionMargin) const
{
    Rect r = RootBounds(selectionMargin);
    if (lineStyle == 1 || lineStyle == 2) {
        // The width in tenths of a point is taken as document units: a tenth of a point
        // is less than a unit, so this always covers half the stroke.
        r = r.Inflated(lineWidth / 2 + 1);
    }
    return WithShadow(r);
}

Rect CRectCom::WithShadow(const Rect& r) const
{
    if (shadowDirection == 0) {
        return r;
    }
    const Point v = ShadowVector(shadowDirection, shadowOffset);
    return r.United(r.Offset(v.x, v.y));
}

} // namespace figures
