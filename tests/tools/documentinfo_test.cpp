#include "tools/makesample/sampledocument.h"
#include "tools/vkdtool/documentinfo.h"

#include "figures/model/objects/ccmbobj.h"
#include "figures/model/objects/cgraphcom.h"
#include "figures/model/objects/clinegraph.h"
#include "figures/model/objects/cnptextbox.h"
#include "figures/model/objects/cpicturebox.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/crichline.h"
#include "figures/model/storage/documentformat.h"

#include <QJsonArray>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>
#include <vector>

namespace {

using figures::Document;
using figures::ReadDocumentResult;

std::set<QString> Keys(const QJsonObject& o)
{
    const QStringList keys = o.keys();
    return {keys.begin(), keys.end()};
}

const std::set<QString> kRootKeys = {"type_id",  "class", "flags",       "frame", "layer",
                                     "reserved", "angle", "jump_target", "record"};
const std::set<QString> kRectKeys = {"edge_mask",        "line_style",         "line_width",
                                     "line_colour",      "shadow_direction",   "shadow_offset",
                                     "shadow_colour",    "fill_kind",          "fill_colour",
                                     "hatch_style",      "picture_placement",  "gradient_kind",
                                     "gradient_colours", "fill_picture_bytes", "font",
                                     "text_colour",      "text_h_align",       "text_v_align"};

std::set<QString> ExpectedKeys(const QString& className)
{
    static const std::map<QString, std::set<QString>> kClassKeys = {
        {"CBaseCom", {}},
        {"CRectCom", {}},
        {"CGraphCom", {"frame_shape"}},
        {"CPictureBox", {"placement", "picture_bytes"}},
        {"CPCXPictureBox", {"pcx_bytes", "pcx_width", "pcx_height"}},
        {"CNPTextBox", {"margins", "lines"}},
        {"CRichLine",
         {"end1_type", "end1_size", "end1_length", "end2_type", "end2_size", "end2_length",
          "cap_buttons"}},
        {"CRichGraph", {"shape_index", "program"}},
        {"CCmbObj", {"layout_width", "layout_height", "children"}},
        {"CLineGraph", {"closed", "layout_width", "layout_height"}},
    };
    std::set<QString> keys = kRootKeys;
    if (className != "CBaseCom" && className != "CGraphCom") {
        keys.insert(kRectKeys.begin(), kRectKeys.end());
    }
    const auto& extra = kClassKeys.at(className);
    keys.insert(extra.begin(), extra.end());
    return keys;
}

void CheckObject(const QJsonObject& o, std::set<QString>& classesSeen)
{
    const QString className = o["class"].toString();
    classesSeen.insert(className);
    EXPECT_EQ(Keys(o), ExpectedKeys(className)) << className.toStdString();
    EXPECT_EQ(o["frame"].toArray().size(), 4);
    for (const QJsonValue& child : o["children"].toArray()) {
        CheckObject(child.toObject(), classesSeen);
    }
}

TEST(DocumentInfo, JsonHasTheDocumentedShapeForEveryClass)
{
    Document sample;
    makesample::BuildSampleDocument(sample);
    Document read;
    const ReadDocumentResult result = figures::ReadDocument(figures::WriteDocument(sample), read);
    ASSERT_TRUE(result.ok);
    const QJsonObject json = vkdtool::DocumentInfoJson(read, result);
    EXPECT_EQ(Keys(json), (std::set<QString>{"read_ok", "error", "version", "views"}));
    EXPECT_TRUE(json["read_ok"].toBool());
    EXPECT_TRUE(json["error"].isNull());
    EXPECT_EQ(json["version"].toInt(), 1);

    std::set<QString> classesSeen;
    for (const QJsonValue& view : json["views"].toArray()) {
        EXPECT_EQ(Keys(view.toObject()),
                  (std::set<QString>{"name", "zoom_x", "zoom_y", "objects"}));
        for (const QJsonValue& object : view["objects"].toArray()) {
            CheckObject(object.toObject(), classesSeen);
        }
    }
    EXPECT_EQ(classesSeen.size(), 10u);
    EXPECT_EQ(json["views"][0]["name"].toString(), QString::fromUtf8("文档1"));
}

TEST(DocumentInfo, JsonDecodesTextsAndRecords)
{
    Document sample;
    makesample::BuildSampleDocument(sample);
    const ReadDocumentResult ok{true, {}, 1};
    const QJsonObject json = vkdtool::DocumentInfoJson(sample, ok);
    const QJsonArray overview = json["views"][0]["objects"].toArray();
    // The ellipse jumps to the second view, whose name is Chinese.
    EXPECT_EQ(overview[2]["jump_target"].toString(), QString::fromUtf8("流程细节"));
    // The arrow line: program and handle items, four handles (two cap buttons).
    const QJsonArray items = overview[3]["record"]["items"].toArray();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]["tag"].toInt(), 3);
    EXPECT_EQ(items[0]["hex"].toString().size(), 20);
    EXPECT_EQ(items[1]["length"].toInt(), 16);
    EXPECT_EQ(overview[0]["font"]["face"].toString(), QString::fromUtf8("宋体"));
    // The rectangle keeps only its texts in its record and reports the catalogue's
    // program, which it has no copy of.
    const QJsonArray textItems = overview[0]["record"]["items"].toArray();
    ASSERT_EQ(textItems.size(), 1);
    EXPECT_EQ(textItems[0]["tag"].toInt(), 4);
    EXPECT_EQ(overview[0]["program"][0].toInt(), 9);
    // The group has no record at all.
    EXPECT_EQ(overview[5]["record"], QJsonValue::Null);
}

TEST(DocumentInfo, FailedReadReportsTheViewsThatWereRead)
{
    Document sample;
    makesample::BuildSampleDocument(sample);
    std::vector<uint8_t> bytes = figures::WriteDocument(sample);
    bytes.resize(bytes.size() - 10);
    Document read;
    const ReadDocumentResult result = figures::ReadDocument(bytes, read);
    const QJsonObject json = vkdtool::DocumentInfoJson(read, result);
    // The cut lands in the last object of the second view: the read fails, and both
    // views are reported, the second without the object that was cut.
    EXPECT_FALSE(json["read_ok"].toBool());
    EXPECT_TRUE(json["error"].isString());
    const QJsonArray views = json["views"].toArray();
    ASSERT_EQ(views.size(), 2);
    EXPECT_EQ(views[0]["objects"].toArray().size(), sample.ViewAt(0)->ObjectCount());
    EXPECT_EQ(views[1]["objects"].toArray().size(), sample.ViewAt(1)->ObjectCount() - 1);
    // Cutting into the first view's header leaves no view at all.
    bytes.resize(12 + 20);
    Document broken;
    const ReadDocumentResult failed = figures::ReadDocument(bytes, broken);
    const QJsonObject failedJson = vkdtool::DocumentInfoJson(broken, failed);
    EXPECT_FALSE(failedJson["read_ok"].toBool());
    EXPECT_TRUE(failedJson["error"].isString());
    EXPECT_EQ(failedJson["views"].toArray().size(), 0);
}

TEST(DocumentInfo, TheOutlineGivesEveryObjectALineIndentedByItsDepth)
{
    Document sample;
    makesample::BuildSampleDocument(sample);
    const ReadDocumentResult ok{true, {}, 1};
    std::vector<QString> lines;
    vkdtool::WriteDocumentInfoText(sample, ok,
                                   [&lines](const QString& line) { lines.push_back(line); });
    // The document, two views, sixteen objects and the two members of the group.
    ASSERT_EQ(lines.size(), 21u);
    const struct {
        size_t line;
        const char* text;
    } expected[] = {
        {0, "document version 1, 2 view(s)"},
        {1, "view 0 \"文档1\" zoom 1000/1000, 6 object(s)"},
        {3, "  [1] CRichGraph \"五角星\" frame (700, 100)-(1000, 400) angle 15.0 flags 0x17f"},
        {4,
         "  [2] CRichGraph \"椭圆\" frame (1100, 100)-(1500, 400) flags 0x1ff jump \"流程细节\""},
        {7, "  [5] CCmbObj \"组合对象\" frame (700, 500)-(1200, 700) flags 0x171"},
        {9, "    [1] CRichGraph \"右箭头\" frame (300, 50)-(500, 150) flags 0x17f"},
        {10, "view 1 \"流程细节\" zoom 1000/1000, 10 object(s)"},
        {20, "  [9] CBaseCom \"基础对象\" frame (1400, 300)-(1500, 400) flags 0x0"},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(lines[e.line].toStdString(), e.text) << e.line;
    }
    // The whole outline is the same lines, each ended by a line feed.
    QString joined;
    for (const QString& line : lines) {
        joined += line + QLatin1Char('\n');
    }
    EXPECT_EQ(vkdtool::DocumentInfoText(sample, ok).toStdString(), joined.toStdString());

    // A failed read says so right after the first line.
    const ReadDocumentResult failed{false, "the data ends inside object 3", 1};
    std::vector<QString> failedLines;
    vkdtool::WriteDocumentInfoText(
        sample, failed, [&failedLines](const QString& line) { failedLines.push_back(line); });
    ASSERT_EQ(failedLines.size(), 22u);
    EXPECT_EQ(failedLines[1], QStringLiteral("read failed: the data ends inside object 3"));
}

// Gives every member the JSON reports a value of its own, so that a field filled from
// the wrong member shows, and returns the value each key must then carry.
using Expected = std::vector<std::pair<QString, qint64>>;

Expected SetDistinctValues(figures::CBaseCom& object, int32_t seed)
{
    int32_t next = seed;
    Expected expected;
    auto set = [&](const char* key, auto& member) {
        // Byte-sized members wrap, but consecutive values still differ from each other.
        member = static_cast<std::remove_reference_t<decltype(member)>>(next);
        expected.emplace_back(key, qint64(member));
        ++next;
    };
    set("layer", object.layer);
    set("reserved", object.reserved);
    set("angle", object.angle);
    if (auto* r = dynamic_cast<figures::CRectCom*>(&object)) {
        set("edge_mask", r->edgeMask);
        set("line_style", r->lineStyle);
        set("line_width", r->lineWidth);
        set("line_colour", r->lineColour);
        set("shadow_direction", r->shadowDirection);
        set("shadow_offset", r->shadowOffset);
        set("shadow_colour", r->shadowColour);
        set("fill_colour", r->fillColour);
        set("hatch_style", r->hatchStyle);
        set("picture_placement", r->picturePlacement);
        set("gradient_kind", r->gradientKind);
        set("text_colour", r->textColour);
        set("text_h_align", r->textHAlign);
        set("text_v_align", r->textVAlign);
    }
    if (auto* g = dynamic_cast<figures::CGraphCom*>(&object)) {
        set("frame_shape", g->frameShape);
    } else if (auto* p = dynamic_cast<figures::CPictureBox*>(&object)) {
        set("placement", p->placement);
    } else if (auto* l = dynamic_cast<figures::CRichLine*>(&object)) {
        set("end1_type", l->end1Type);
        set("end1_size", l->end1Size);
        set("end1_length", l->end1Length);
        set("end2_type", l->end2Type);
        set("end2_size", l->end2Size);
        set("end2_length", l->end2Length);
        set("cap_buttons", l->capButtons);
    } else if (auto* c = dynamic_cast<figures::CCmbObj*>(&object)) {
        set("layout_width", c->layoutWidth);
        set("layout_height", c->layoutHeight);
    } else if (auto* pl = dynamic_cast<figures::CLineGraph*>(&object)) {
        set("closed", pl->closed);
        set("layout_width", pl->layoutWidth);
        set("layout_height", pl->layoutHeight);
    }
    object.frame = {seed + 100, seed + 101, seed + 102, seed + 103};
    return expected;
}

void CheckValues(figures::CBaseCom& object, const QJsonObject& json, std::set<QString>& classesSeen)
{
    const QString className = json["class"].toString();
    classesSeen.insert(className);
    const std::string name = className.toStdString();
    EXPECT_EQ(json["type_id"].toInt(), object.TypeId()) << name;
    EXPECT_EQ(json["flags"].toInteger(), qint64(object.flags)) << name;
    const QJsonArray frame = json["frame"].toArray();
    ASSERT_EQ(frame.size(), 4) << name;
    EXPECT_EQ(frame[0].toInt(), object.frame.left) << name;
    EXPECT_EQ(frame[1].toInt(), object.frame.top) << name;
    EXPECT_EQ(frame[2].toInt(), object.frame.right) << name;
    EXPECT_EQ(frame[3].toInt(), object.frame.bottom) << name;
    if (auto* r = dynamic_cast<figures::CRectCom*>(&object)) {
        EXPECT_EQ(json["fill_kind"].toInt(), int32_t(r->fillKind)) << name;
        EXPECT_EQ(json["fill_picture_bytes"].toInteger(), qint64(r->fillPicture.Bytes().size()))
            << name;
    }
    if (auto* p = dynamic_cast<figures::CPictureBox*>(&object)) {
        EXPECT_EQ(json["picture_bytes"].toInteger(), qint64(p->picture.Bytes().size()));
    } else if (auto* t = dynamic_cast<figures::CNPTextBox*>(&object)) {
        const QJsonArray margins = json["margins"].toArray();
        ASSERT_EQ(margins.size(), 4);
        EXPECT_EQ(margins[0].toInt(), t->margins.left);
        EXPECT_EQ(margins[1].toInt(), t->margins.top);
        EXPECT_EQ(margins[2].toInt(), t->margins.right);
        EXPECT_EQ(margins[3].toInt(), t->margins.bottom);
        EXPECT_EQ(json["lines"].toArray().size(), qsizetype(t->lines.size()));
    } else if (auto* s = dynamic_cast<figures::CRichGraph*>(&object)) {
        EXPECT_EQ(json["shape_index"].toInt(), s->shapeIndex);
    } else if (auto* c = dynamic_cast<figures::CCmbObj*>(&object)) {
        const QJsonArray children = json["children"].toArray();
        ASSERT_EQ(children.size(), qsizetype(c->children.size()));
        for (size_t i = 0; i < c->children.size(); ++i) {
            CheckValues(*c->children[i], children[qsizetype(i)].toObject(), classesSeen);
        }
    }
}

TEST(DocumentInfo, JsonValuesComeFromTheirOwnMembersForEveryClass)
{
    Document sample;
    makesample::BuildSampleDocument(sample);
    // Distinct values everywhere, groups' children included.
    std::map<const figures::CBaseCom*, Expected> expected;
    int32_t seed = 1000;
    std::vector<figures::CBaseCom*> pending;
    for (int v = 0; v < sample.ViewCount(); ++v) {
        for (const auto& object : sample.ViewAt(v)->objects) {
            pending.push_back(object.get());
        }
    }
    while (!pending.empty()) {
        figures::CBaseCom* object = pending.back();
        pending.pop_back();
        expected[object] = SetDistinctValues(*object, seed);
        seed += 1000;
        if (auto* group = dynamic_cast<figures::CCmbObj*>(object)) {
            for (const auto& child : group->children) {
                pending.push_back(child.get());
            }
        }
    }
    const ReadDocumentResult ok{true, {}, 1};
    const QJsonObject json = vkdtool::DocumentInfoJson(sample, ok);
    std::set<QString> classesSeen;
    for (int v = 0; v < sample.ViewCount(); ++v) {
        const QJsonArray objects = json["views"][v]["objects"].toArray();
        ASSERT_EQ(objects.size(), sample.ViewAt(v)->ObjectCount());
        for (int i = 0; i < objects.size(); ++i) {
            CheckValues(*sample.ViewAt(v)->objects[size_t(i)], objects[i].toObject(), classesSeen);
        }
    }
    EXPECT_EQ(classesSeen.size(), 10u);
    // Every member set above, at every depth.
    std::vector<std::pair<const figures::CBaseCom*, QJsonObject>> walk;
    for (int v = 0; v < sample.ViewCount(); ++v) {
        const QJsonArray objects = json["views"][v]["objects"].toArray();
        for (int i = 0; i < objects.size(); ++i) {
            walk.emplace_back(sample.ViewAt(v)->objects[size_t(i)].get(), objects[i].toObject());
        }
    }
    while (!walk.empty()) {
        const auto [object, o] = walk.back();
        walk.pop_back();
        for (const auto& [key, value] : expected.at(object)) {
            EXPECT_EQ(o[key].toInteger(), value)
                << o["class"].toString().toStdString() << " " << key.toStdString();
        }
        if (const auto* group = dynamic_cast<const figures::CCmbObj*>(object)) {
            const QJsonArray children = o["children"].toArray();
            for (size_t i = 0; i < group->children.size(); ++i) {
                walk.emplace_back(group->children[i].get(), children[qsizetype(i)].toObject());
            }
        }
    }
}

} // namespace
