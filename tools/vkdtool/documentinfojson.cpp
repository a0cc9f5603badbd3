#include "tools/vkdtool/documentinfojson.h"

#include "tools/vkdtool/jsonstream.h"

#include "figures/model/objects/ccmbobj.h"
#include "figures/model/objects/cgraphcom.h"
#include "figures/model/objects/clinegraph.h"
#include "figures/model/objects/cnptextbox.h"
#include "figures/model/objects/cpcxpicturebox.h"
#include "figures/model/objects/cpicturebox.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/crichline.h"
#include "figures/model/document.h"
#include "figures/model/storage/cdatamanger.h"
#include "figures/model/storage/documentformat.h"
#include "figures/render/gbk.h"
#include "figures/render/littleendian.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <vector>

namespace vkdtool {

using namespace figures;

namespace {

// Every member an object's JSON can have. A class writes a subset, in the order of the
// names (the order QJsonObject keeps its keys in).
enum class Field {
    TypeId, Class, Flags, Frame, Layer, Reserved, Angle, JumpTarget, Record,
    EdgeMask, LineStyle, LineWidth, LineColour, ShadowDirection, ShadowOffset, ShadowColour,
    FillKind, FillColour, HatchStyle, PicturePlacement, GradientKind, GradientColours,
    FillPictureBytes, Font, TextColour, TextHAlign, TextVAlign,
    FrameShape, Placement, PictureBytes, PcxBytes, PcxWidth, PcxHeight, Margins, Lines,
    End1Type, End1Size, End1Length, End2Type, End2Size, End2Length, CapButtons,
    ShapeIndex, Program, LayoutWidth, LayoutHeight, Children, Closed,
};

struct Member {
    std::string_view key;
    Field field;
};

constexpr Member kRootMembers[] = {
    {"type_id", Field::TypeId}, {"class", Field::Class},       {"flags", Field::Flags},
    {"frame", Field::Frame},    {"layer", Field::Layer},       {"reserved", Field::Reserved},
    {"angle", Field::Angle},    {"jump_target", Field::JumpTarget}, {"record", Field::Record},
};

constexpr Member kRectMembers[] = {
    {"edge_mask", Field::EdgeMask},
    {"line_style", Field::LineStyle},
    {"line_width", Field::LineWidth},
    {"line_colour", Field::LineColour},
    {"shadow_direction", Field::ShadowDirection},
    {"shadow_offset", Field::ShadowOffset},
    {"shadow_colour", Field::ShadowColour},
    {"fill_kind", Field::FillKind},
    {"fill_colour", Field::FillColour},
    {"hatch_style", Field::HatchStyle},
    {"picture_placement", Field::PicturePlacement},
    {"gradient_kind", Field::GradientKind},
    {"gradient_colours", Field::GradientColours},
    {"fill_picture_bytes", Field::FillPictureBytes},
    {"font", Field::Font},
    {"text_colour", Field::TextColour},
    {"text_h_align", Field::TextHAlign},
    {"text_v_align", Field::TextVAlign},
};

// The members a class adds to the root and rectangle parts.
std::vector<Member> ClassMembers(const CBaseCom& object)
{
    switch (object.TypeId()) {
    case TID_GRAPH: return {{"frame_shape", Field::FrameShape}};
    case TID_PICTURE_BOX:
        return {{"placement", Field::Placement}, {"picture_bytes", Field::PictureBytes}};
    case TID_PCX_PICTURE_BOX:
        return {{"pcx_bytes", Field::PcxBytes},
                {"pcx_width", Field::PcxWidth},
                {"pcx_height", Field::PcxHeight}};
    case TID_TEXT_BOX: return {{"margins", Field::Margins}, {"lines", Field::Lines}};
    case TID_RICH_LINE:
        return {{"end1_type", Field::End1Type},     {"end1_size", Field::End1Size},
                {"end1_length", Field::End1Length}, {"end2_type", Field::End2Type},
                {"end2_size", Field::End2Size},     {"end2_length", Field::End2Length},
                {"cap_buttons", Field::CapButtons}};
    case TID_RICH_GRAPH: return {{"shape_index", Field::ShapeIndex}, {"program", Field::Program}};
    case TID_COMBINED:
        return {{"layout_width", Field::LayoutWidth},
                {"layout_height", Field::LayoutHeight},
                {"children", Field::Children}};
    case TID_LINE_GRAPH:
        return {{"closed", Field::Closed},
                {"layout_width", Field::LayoutWidth},
                {"layout_height", Field::LayoutHeight}};
    default: return {};
    }
}

class InfoWriter {
public:
    explicit InfoWriter(JsonStream& out) : out_(out) {}

    void Object(const CBaseCom& object)
    {
        out_.BeginObject();
        for (const Member& member : MembersOf(object)) {
            out_.Key(member.key);
            Value(object, member.field);
        }
        out_.EndObject();
    }

private:
    // The members of the object's class in key order, worked out once per class.
    const std::vector<Member>& MembersOf(const CBaseCom& object)
    {
        const auto [at, inserted] = members_.try_emplace(object.TypeId());
        if (inserted) {
            std::vector<Member>& members = at->second;
            members.assign(std::begin(kRootMembers), std::end(kRootMembers));
            if (dynamic_cast<const CRectCom*>(&object) != nullptr) {
                members.insert(members.end(), std::begin(kRectMembers), std::end(kRectMembers));
            }
            const std::vector<Member> own = ClassMembers(object);
            members.insert(members.end(), own.begin(), own.end());
            std::sort(members.begin(), members.end(),
                      [](const Member& a, const Member& b) { return a.key < b.key; });
        }
        return at->second;
    }

    void RectArray(const Rect& r)
    {
        out_.BeginArray();
        out_.Int(r.left);
        out_.Int(r.top);
        out_.Int(r.right);
        out_.Int(r.bottom);
        out_.EndArray();
    }

    void Gbk(const std::string& text)
    {
        if (text.empty()) {
            out_.Ascii({});
        } else {
            out_.String(FromGbk(text));
        }
    }

    // The property record as its tagged items; a walk that meets an item overrunning the
    // record stops there.
    void Record(int32_t recordId)
    {
        const CDataManger& dm = DataManager();
        if (recordId == 0 || !dm.HasRecord(recordId)) {
            out_.Null();
            return;
        }
        const std::span<const uint8_t> data = dm.RecordData(recordId);
        out_.BeginObject();
        out_.Key("items");
        out_.BeginArray();
        size_t at = 0;
        while (at + 4 <= data.size()) {
            const uint16_t tag = LoadU16(&data[at]);
            const uint16_t length = LoadU16(&data[at + 2]);
            at += 4;
            const bool flag = length >= 0xFFFD;
            if (!flag && at + length > data.size()) {
                break;
            }
            out_.BeginObject();
            out_.Key("hex");
            if (flag) {
                out_.Null();
            } else {
                out_.Hex(data.subspan(at, length));
                at += length;
            }
            out_.Key("length");
            out_.Int(length);
            out_.Key("tag");
            out_.Int(tag);
            out_.EndObject();
        }
        out_.EndArray();
        out_.Key("type");
        out_.Int(dm.GetRecordType(recordId));
        out_.EndObject();
    }

    void Font(const LogFont& font)
    {
        out_.BeginObject();
        out_.Key("charset");
        out_.Int(font.CharSet());
        out_.Key("escapement");
        out_.Int(font.Escapement());
        out_.Key("face");
        Gbk(font.FaceName());
        out_.Key("height");
        out_.Int(font.Height());
        out_.Key("italic");
        out_.Int(font.Italic());
        out_.Key("orientation");
        out_.Int(font.Orientation());
        out_.Key("strikeout");
        out_.Int(font.StrikeOut());
        out_.Key("underline");
        out_.Int(font.Underline());
        out_.Key("weight");
        out_.Int(font.Weight());
        out_.Key("width");
        out_.Int(font.Width());
        out_.EndObject();
    }

    void Program(std::span<const uint8_t> program)
    {
        if (program.empty()) {
            out_.Null();
            return;
        }
        out_.BeginArray();
        for (size_t i = 0; i + 1 < program.size(); i += 2) {
            out_.Int(LoadU16(&program[i]));
        }
        out_.EndArray();
    }

    void Value(const CBaseCom& object, Field field)
    {
        if (field <= Field::Record) {
            RootValue(object, field);
        } else if (field <= Field::TextVAlign) {
            RectValue(static_cast<const CRectCom&>(object), field);
        } else {
            ClassValue(object, field);
        }
    }

    void RootValue(const CBaseCom& object, Field field)
    {
        switch (field) {
        case Field::TypeId: out_.Int(object.TypeId()); break;
        case Field::Class: out_.Ascii(object.ClassName()); break;
        case Field::Flags: out_.Int(object.flags); break;
        case Field::Frame: RectArray(object.frame); break;
        case Field::Layer: out_.Int(object.layer); break;
        case Field::Reserved: out_.Int(object.reserved); break;
        case Field::Angle: out_.Int(object.angle); break;
        case Field::JumpTarget: Gbk(object.jumpTarget); break;
        default: Record(object.RecordId()); break;
        }
    }

    void RectValue(const CRectCom& r, Field field)
    {
        switch (field) {
        case Field::EdgeMask: out_.Int(r.edgeMask); break;
        case Field::LineStyle: out_.Int(r.lineStyle); break;
        case Field::LineWidth: out_.Int(r.lineWidth); break;
        case Field::LineColour: out_.Int(r.lineColour); break;
        case Field::ShadowDirection: out_.Int(r.shadowDirection); break;
        case Field::ShadowOffset: out_.Int(r.shadowOffset); break;
        case Field::ShadowColour: out_.Int(r.shadowColour); break;
        case Field::FillKind: out_.Int(int32_t(r.fillKind)); break;
        case Field::FillColour: out_.Int(r.fillColour); break;
        case Field::HatchStyle: out_.Int(r.hatchStyle); break;
        case Field::PicturePlacement: out_.Int(r.picturePlacement); break;
        case Field::GradientKind: out_.Int(r.gradientKind); break;
        case Field::GradientColours:
            out_.BeginArray();
            for (int32_t i = 0; i < r.gradientCount; ++i) {
                out_.Int(r.gradientColours[size_t(i)]);
            }
            out_.EndArray();
            break;
        case Field::FillPictureBytes: out_.Int(int64_t(r.fillPicture.Bytes().size())); break;
        case Field::Font: Font(r.font); break;
        case Field::TextColour: out_.Int(r.textColour); break;
        case Field::TextHAlign: out_.Int(r.textHAlign); break;
        default: out_.Int(r.textVAlign); break;
        }
    }

    void ClassValue(const CBaseCom& object, Field field)
    {
        switch (field) {
        case Field::FrameShape: out_.Int(static_cast<const CGraphCom&>(object).frameShape); break;
        case Field::Placement: out_.Int(static_cast<const CPictureBox&>(object).placement); break;
        case Field::PictureBytes:
            out_.Int(int64_t(static_cast<const CPictureBox&>(object).picture.Bytes().size()));
            break;
        case Field::PcxBytes:
            out_.Int(int64_t(static_cast<const CPCXPictureBox&>(object).pcxPicture.Bits().size()));
            break;
        case Field::PcxWidth:
            out_.Int(static_cast<const CPCXPictureBox&>(object).pcxPicture.Width());
            break;
        case Field::PcxHeight:
            out_.Int(static_cast<const CPCXPictureBox&>(object).pcxPicture.Height());
            break;
        case Field::Margins: RectArray(static_cast<const CNPTextBox&>(object).margins); break;
        case Field::Lines:
            out_.BeginArray();
            for (const std::string& line : static_cast<const CNPTextBox&>(object).lines) {
                Gbk(line);
            }
            out_.EndArray();
            break;
        case Field::ShapeIndex: out_.Int(static_cast<const CRichGraph&>(object).shapeIndex); break;
        case Field::Program: Program(static_cast<const CRichGraph&>(object).GetProgram()); break;
        case Field::Children:
            out_.BeginArray();
            for (const auto& child : static_cast<const CCmbObj&>(object).children) {
                Object(*child);
            }
            out_.EndArray();
            break;
        default: LineOrLayoutValue(object, field); break;
        }
    }

    void LineOrLayoutValue(const CBaseCom& object, Field field)
    {
        if (const auto* l = dynamic_cast<const CRichLine*>(&object)) {
            switch (field) {
            case Field::End1Type: out_.Int(l->end1Type); break;
            case Field::End1Size: out_.Int(l->end1Size); break;
            case Field::End1Length: out_.Int(l->end1Length); break;
            case Field::End2Type: out_.Int(l->end2Type); break;
            case Field::End2Size: out_.Int(l->end2Size); break;
            case Field::End2Length: out_.Int(l->end2Length); break;
            default: out_.Int(l->capButtons); break;
            }
        } else if (const auto* c = dynamic_cast<const CCmbObj*>(&object)) {
            out_.Int(field == Field::LayoutWidth ? c->layoutWidth : c->layoutHeight);
        } else if (const auto* p = dynamic_cast<const CLineGraph*>(&object)) {
            out_.Int(field == Field::Closed        ? p->closed
                     : field == Field::LayoutWidth ? p->layoutWidth
                                                   : p->layoutHeight);
        }
    }

    JsonStream& out_;
    std::map<int32_t, std::vector<Member>> members_;
};

} // namespace

void WriteDocumentInfoJson(const Document& document, const ReadDocumentResult& read,
                           JsonStream& out)
{
    InfoWriter writer(out);
    out.BeginObject();
    out.Key("error");
    if (read.ok) {
        out.Null();
    } else {
        out.String(QString::fromStdString(read.error));
    }
    out.Key("read_ok");
    out.Bool(read.ok);
    out.Key("version");
    out.Int(read.version);
    out.Key("views");
    out.BeginArray();
    for (int i = 0; i < document.ViewCount(); ++i) {
        const View& view = *document.ViewAt(i);
        out.BeginObject();
        out.Key("name");
        out.String(FromGbk(view.name));
        out.Key("objects");
        out.BeginArray();
        for (const auto& object : view.objects) {
            writer.Object(*object);
        }
        out.EndArray();
        out.Key("zoom_x");
        out.Int(view.zoomX);
        out.Key("zoom_y");
        out.Int(view.zoomY);
        out.EndObject();
    }
    out.EndArray();
    out.EndObject();
}

} // namespace vkdtool
