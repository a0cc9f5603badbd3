#include "tools/makesample/sampledocument.h"
#include "tools/vkdtool/documentinfo.h"

#include "figures/model/storage/documentformat.h"

#include <QJsonArray>

#include <gtest/gtest.h>

#include <set>

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

} // namespace
