#include "figures/render/pictures/metafile/emftext.h"

#include "figures/render/pictures/metafile/metafilecanvas.h"
#include "figures/render/pictures/metafile/recordreader.h"

namespace figures {

namespace {

constexpr size_t kRecordHeader = 8;
constexpr size_t kBoundsSize = 16;
// Options of the enhanced records: the rectangle is left out, and the string is one
// byte a character.
constexpr uint32_t kEtoNoRect = 0x0100;
constexpr uint32_t kEtoSmallChars = 0x0200;

QRectF ReadRect(RecordReader& r)
{
    const int32_t left = r.I32();
    const int32_t top = r.I32();
    const int32_t right = r.I32();
    const int32_t bottom = r.I32();
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

} // namespace

void PlayExtTextOut(MetafileCanvas& canvas, std::span<const uint8_t> record, bool wide)
{
    RecordReader r(record, kRecordHeader + kBoundsSize);
    r.U32(); // graphics mode
    r.F32(); // x and y scales of the compatible graphics mode, which draws unscaled here
    r.F32();
    TextRequest request;
    const int32_t x = r.I32();
    const int32_t y = r.I32();
    request.reference = QPointF(x, y);
    const uint32_t count = r.U32();
    const uint32_t offString = r.U32();
    request.options = r.U32();
    if (!(request.options & kEtoNoRect)) {
        request.rect = ReadRect(r);
    }
    const uint32_t offDx = r.U32();
    if (!r.Ok()) {
        return;
    }
    const uint64_t stringBytes = uint64_t(count) * (wide ? 2 : 1);
    const std::span<const uint8_t> string = SliceOf(record, offString, stringBytes);
    if (string.size() != stringBytes) {
        return;
    }
    // One advance a character, or an x and a y one with the per-direction option.
    const bool pdy = (request.options & kEtoPdy) != 0;
    const std::span<const uint8_t> dx =
        offDx == 0 ? std::span<const uint8_t>()
                   : SliceOf(record, offDx, uint64_t(count) * (pdy ? 8 : 4));
    std::vector<QPointF> advances;
    if (!dx.empty()) {
        RecordReader a(dx);
        advances.resize(count);
        for (QPointF& step : advances) {
            const int32_t ax = a.I32();
            const int32_t ay = pdy ? a.I32() : 0;
            // The platform's y advances go up the page.
            step = QPointF(ax, -double(ay));
        }
        request.hasAdvances = true;
    }
    request.cells = wide ? WideTextCells(string, advances)
                         : AnsiTextCells(string, canvas.State().font.charSet, advances);
    canvas.DrawText(request);
}

void PlaySmallTextOut(MetafileCanvas& canvas, std::span<const uint8_t> record)
{
    RecordReader r(record, kRecordHeader);
    TextRequest request;
    const int32_t x = r.I32();
    const int32_t y = r.I32();
    request.reference = QPointF(x, y);
    const uint32_t count = r.U32();
    request.options = r.U32();
    r.U32(); // graphics mode
    r.F32(); // scales
    r.F32();
    if (!(request.options & kEtoNoRect)) {
        request.rect = ReadRect(r);
    }
    if (!r.Ok()) {
        return;
    }
    const bool small = (request.options & kEtoSmallChars) != 0;
    const std::span<const uint8_t> string = r.Bytes(size_t(count) * (small ? 1 : 2));
    if (!r.Ok()) {
        return;
    }
    if (small) {
        // The bytes are the low halves of UTF-16 characters.
        for (uint8_t b : string) {
            request.cells.push_back({b != 0 ? QString(QChar(char16_t(b))) : QString(), 0, 0});
        }
    } else {
        request.cells = WideTextCells(string, {});
    }
    canvas.DrawText(request);
}

} // namespace figures
