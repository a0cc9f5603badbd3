#include "tools/vkdtool/documentinfo.h"

#include "figures/model/objects/ccmbobj.h"
#include "figures/model/storage/cdatamanger.h"
#include "figures/model/objects/cgraphcom.h"
#include "figures/model/objects/clinegraph.h"
#include "figures/model/objects/cnptextbox.h"
#include "figures/model/objects/cpcxpicturebox.h"
#include "figures/model/objects/cpicturebox.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/crichline.h"
#include "figures/model/document.h"
#include "figures/model/storage/documentformat.h"
#include "figures/render/gbk.h"
#include "figures/render/littleendian.h"

#include <QJsonArray>
#include <QStringList>

namespace vkdtool {

using namespace figures;

namespace {

QJsonArray RectJson(const Rect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

QString Hex(std::span<const uint8_t> bytes)
{
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())).toHex());
}

// The property record as its tagged items; a walk that meets an item overrunning the
// record stops there.
QJsonValue RecordJson(int32_t recordId)
{
    const CDataManger& dm = DataManager();
    if (recordId == 0 || !dm.HasRecord(recordId)) {
        return QJsonValue::Null;
    }
    const std::span<const uint8_t> data = dm.RecordData(recordId);
    QJsonArray items;
    size_t at = 0;
    while (at + 4 <= data.size()) {
        const uint16_t tag = LoadU16(&data[at]);
        const uint16_t length = LoadU16(&data[at + 2]);
        QJsonObject item{{"tag", tag}, {"length", length}};
        at += 4;
        if (length >= 0xFFFD) {
            item["hex"] = QJsonValue::Null;
        } else if (at + length <= data.size()) {
            item["hex"] = Hex(data.subspan(at, length));
            at += length;
        } else {
            break;
        }
        items.append(item);
    }
    return QJsonObject{{"type", dm.GetRecordType(recordId)}, {"items", items}};
}

QJsonObject FontJson(const LogFont& font)
{
    return {{"height", font.Height()},         {"width", font.Width()},
            {"escapement", font.Escapement()}, {"orientation", font.Orientation()},
            {"weight", font.Weight()},         {"italic", font.Italic()},
            {"underline", font.Underline()},   {"strikeout", font.StrikeOut()},
            {"charset", font.CharSet()},       {"face", FromGbk(font.FaceName())}};
}

void AddRectParts(QJsonObject& o, const CRectCom& r)
{
    o["edge_mask"] = qint64(r.edgeMask);
    o["line_style"] = r.lineStyle;
    o["line_width"] = r.lineWidth;
    o["line_colour"] = qint64(r.lineColour);
    o["shadow_direction"] = r.shadowDirection;
    o["shadow_offset"] = r.shadowOffset;
    o["shadow_colour"] = qint64(r.shadowColour);
    o["fill_kind"] = int32_t(r.fillKind);
    o["fill_colour"] = qint64(r.fillColour);
    o["hatch_style"] = r.hatchStyle;
    o["picture_placement"] = r.picturePlacement;
    o["gradient_kind"] = r.gradientKind;
    QJsonArray colours;
    for (int32_t i = 0; i < r.gradientCount; ++i) {
        colours.append(qint64(r.gradientColours[size_t(i)]));
    }
    o["gradient_colours"] = colours;
    o["fill_picture_bytes"] = qint64(r.fillPicture.Bytes().size());
    o["font"] = FontJson(r.font);
    o["text_colour"] = qint64(r.textColour);
    o["text_h_align"] = r.textHAlign;
    o["text_v_align"] = r.textVAlign;
}

QJsonObject ObjectJson(const CBaseCom& object);

void AddClassParts(QJsonObject& o, const CBaseCom& object)
{
    if (const auto* g = dynamic_cast<const CGraphCom*>(&object)) {
        o["frame_shape"] = g->frameShape;
    } else if (const auto* p = dynamic_cast<const CPictureBox*>(&object)) {
        o["placement"] = p->placement;
        o["picture_bytes"] = qint64(p->picture.Bytes().size());
    } else if (const auto* x = dynamic_cast<const CPCXPictureBox*>(&object)) {
        o["pcx_bytes"] = qint64(x->pcxPicture.Bits().size());
        o["pcx_width"] = x->pcxPicture.Width();
        o["pcx_height"] = x->pcxPicture.Height();
    } else if (const auto* t = dynamic_cast<const CNPTextBox*>(&object)) {
        o["margins"] = RectJson(t->margins);
        QJsonArray lines;
        for (const std::string& line : t->lines) {
            lines.append(FromGbk(line));
        }
        o["lines"] = lines;
    } else if (const auto* l = dynamic_cast<const CRichLine*>(&object)) {
        o["end1_type"] = l->end1Type;
        o["end1_size"] = l->end1Size;
        o["end1_length"] = l->end1Length;
        o["end2_type"] = l->end2Type;
        o["end2_size"] = l->end2Size;
        o["end2_length"] = l->end2Length;
        o["cap_buttons"] = l->capButtons;
    } else if (const auto* s = dynamic_cast<const CRichGraph*>(&object)) {
        o["shape_index"] = s->shapeIndex;
        const std::span<const uint8_t> program = s->GetProgram();
        if (program.empty()) {
            o["program"] = QJsonValue::Null;
        } else {
            QJsonArray words;
            for (size_t i = 0; i + 1 < program.size(); i += 2) {
                words.append(LoadU16(&program[i]));
            }
            o["program"] = words;
        }
    } else if (const auto* c = dynamic_cast<const CCmbObj*>(&object)) {
        o["layout_width"] = c->layoutWidth;
        o["layout_height"] = c->layoutHeight;
        QJsonArray children;
        for (const auto& child : c->children) {
            children.append(ObjectJson(*child));
        }
        o["children"] = children;
    } else if (const auto* pl = dynamic_cast<const CLineGraph*>(&object)) {
        o["closed"] = pl->closed;
        o["layout_width"] = pl->layoutWidth;
        o["layout_height"] = pl->layoutHeight;
    }
}

QJsonObject ObjectJson(const CBaseCom& object)
{
    QJsonObject o{{"type_id", object.TypeId()},
                  {"class", QString::fromLatin1(object.ClassName().data(),
                                                qsizetype(object.ClassName().size()))},
                  {"flags", qint64(object.flags)},
                  {"frame", RectJson(object.frame)},
                  {"layer", object.layer},
                  {"reserved", object.reserved},
                  {"angle", object.angle},
                  {"jump_target", FromGbk(object.jumpTarget)},
                  {"record", RecordJson(object.RecordId())}};
    if (const auto* r = dynamic_cast<const CRectCom*>(&object)) {
        AddRectParts(o, *r);
    }
    AddClassParts(o, object);
    return o;
}

QString RectText(const Rect& r)
{
    return QStringLiteral("(%1, %2)-(%3, %4)").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom);
}

void AppendObjectText(const TextLineSink& out, const CBaseCom& object, int index, int depth)
{
    const QString indent(2 * depth, QLatin1Char(' '));
    QString line = QStringLiteral("%1[%2] %3 \"%4\" frame %5")
                       .arg(indent)
                       .arg(index)
                       .arg(QString::fromLatin1(object.ClassName().data(),
                                                qsizetype(object.ClassName().size())))
                       .arg(QString::fromStdString(object.TypeName()))
                       .arg(RectText(object.frame));
    if (object.angle != 0) {
        line += QStringLiteral(" angle %1").arg(object.angle / 10.0, 0, 'f', 1);
    }
    if (object.layer != 0) {
        line += QStringLiteral(" layer %1").arg(object.layer);
    }
    line += QStringLiteral(" flags 0x%1").arg(object.flags, 0, 16);
    if (!object.jumpTarget.empty()) {
        line += QStringLiteral(" jump \"%1\"").arg(FromGbk(object.jumpTarget));
    }
    out(line);
    if (const auto* group = dynamic_cast<const CCmbObj*>(&object)) {
        for (size_t i = 0; i < group->children.size(); ++i) {
            AppendObjectText(out, *group->children[i], int(i), depth + 1);
        }
    }
}

} // namespace

QJsonObject DocumentInfoJson(const Document& document, const ReadDocumentResult& read)
{
    QJsonArray views;
    for (int i = 0; i < document.ViewCount(); ++i) {
        const View& view = *document.ViewAt(i);
        QJsonArray objects;
        for (const auto& object : view.objects) {
            objects.append(ObjectJson(*object));
        }
        views.append(QJsonObject{{"name", FromGbk(view.name)},
                                 {"zoom_x", view.zoomX},
                                 {"zoom_y", view.zoomY},
                                 {"objects", objects}});
    }
    return {{"read_ok", read.ok},
            {"error", read.ok ? QJsonValue(QJsonValue::Null)
                              : QJsonValue(QString::fromStdString(read.error))},
            {"version", read.version},
            {"views", views}};
}

void WriteDocumentInfoText(const Document& document, const ReadDocumentResult& read,
                           const TextLineSink& out)
{
    out(QStringLiteral("document version %1, %2 view(s)")
            .arg(read.version)
            .arg(document.ViewCount()));
    if (!read.ok) {
        out(QStringLiteral("read failed: %1").arg(QString::fromStdString(read.error)));
    }
    for (int i = 0; i < document.ViewCount(); ++i) {
        const View& view = *document.ViewAt(i);
        out(QStringLiteral("view %1 \"%2\" zoom %3/%4, %5 object(s)")
                .arg(i)
                .arg(FromGbk(view.name))
                .arg(view.zoomX)
                .arg(view.zoomY)
                .arg(view.ObjectCount()));
        for (int j = 0; j < view.ObjectCount(); ++j) {
            AppendObjectText(out, *view.ObjectByIndex(j), j, 1);
        }
    }
}

QString DocumentInfoText(const Document& document, const ReadDocumentResult& read)
{
    QString text;
    WriteDocumentInfoText(document, read, [&text](const QString& line) {
        text += line;
        text += QLatin1Char('\n');
    });
    return text;
}

} // namespace vkdtool
