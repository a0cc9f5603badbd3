#include "figures/control/initialvalues.h"

#include <QtEndian>

#include <array>

namespace figures {

namespace {

void AppendI32(QByteArray& out, int32_t value)
{
    std::array<char, 4> bytes{};
    qToLittleEndian(value, bytes.data());
    out.append(bytes.data(), qsizetype(bytes.size()));
}

// Reads i32 fields in order; stays exhausted after the first field that does not fit.
class FieldReader {
public:
    explicit FieldReader(const QByteArray& block) : block_(block) {}
    bool Left(qsizetype count) const { return count >= 0 && block_.size() - at_ >= count; }
    bool Next(int32_t& value)
    {
        if (!Left(4)) {
            at_ = block_.size();
            return false;
        }
        value = qFromLittleEndian<int32_t>(block_.constData() + at_);
        at_ += 4;
        return true;
    }
    QByteArray Take(qsizetype count)
    {
        const QByteArray bytes = block_.mid(at_, count);
        at_ += count;
        return bytes;
    }

private:
    const QByteArray& block_;
    qsizetype at_ = 0;
};

} // namespace

QByteArray InitialValuesBlock::Write() const
{
    QByteArray out;
    AppendI32(out, kVersion);
    AppendI32(out, int32_t(document.size()));
    out.append(document);
    for (const int32_t field : {int32_t(backColour), currentView, borderStyle, scrollBars,
                                zoomPercent, reserved, textEditing, popupMenu}) {
        AppendI32(out, field);
    }
    return out;
}

std::optional<InitialValuesBlock> InitialValuesBlock::Read(const QByteArray& block)
{
    FieldReader reader(block);
    InitialValuesBlock values;
    int32_t version = 0;
    if (!reader.Next(version) || (version != 0 && version != kVersion)) {
        return std::nullopt;
    }
    int32_t count = 0;
    if (!reader.Next(count)) {
        return values;
    }
    if (!reader.Left(count)) {
        return std::nullopt;
    }
    values.document = reader.Take(count);
    int32_t colour = 0;
    if (reader.Next(colour)) {
        values.backColour = uint32_t(colour);
    }
    for (int32_t* field :
         {&values.currentView, &values.borderStyle, &values.scrollBars, &values.zoomPercent,
          &values.reserved, &values.textEditing, &values.popupMenu}) {
        reader.Next(*field);
    }
    return values;
}

} // namespace figures
