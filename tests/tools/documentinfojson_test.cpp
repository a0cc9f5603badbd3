#include "tools/makesample/sampledocument.h"
#include "tools/vkdtool/documentinfo.h"
#include "tools/vkdtool/documentinfojson.h"
#include "tools/vkdtool/jsonstream.h"

#include "figures/model/objects/cnptextbox.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/storage/documentformat.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

using figures::Document;
using figures::ReadDocumentResult;

std::string Streamed(const Document& document, const ReadDocumentResult& read)
{
    vkdtool::JsonStream out;
    vkdtool::WriteDocumentInfoJson(document, read, out);
    return out.Text();
}

std::string FromTree(const Document& document, const ReadDocumentResult& read)
{
    return QJsonDocument(vkdtool::DocumentInfoJson(document, read))
        .toJson(QJsonDocument::Indented)
        .toStdString();
}

struct ReadBack {
    Document document;
    ReadDocumentResult result;
};

void ReadBytes(const std::vector<uint8_t>& bytes, ReadBack& into)
{
    into.result = figures::ReadDocument(bytes, into.document);
}

TEST(DocumentInfoJson, StreamedTextIsTheIndentedJsonOfTheTreeForEveryDocument)
{
    Document sample;
    makesample::BuildSampleDocument(sample);
    const std::vector<uint8_t> bytes = figures::WriteDocument(sample);

    ReadBack whole;
    ReadBytes(bytes, whole);
    ReadBack cut;
    ReadBytes({bytes.begin(), bytes.end() - 10}, cut);
    ReadBack header;
    ReadBytes({bytes.begin(), bytes.begin() + 32}, header);
    ReadBack empty;
    ReadBytes({}, empty);

    // Texts that need escaping: quotes, backslashes, control characters, a character
    // outside the basic plane, Chinese in GBK, and an object of every kind of record.
    Document awkward;
    figures::View& view = *awkward.ViewAt(0);
    view.name = "say \"hi\" \\ \x01\x1f\t\n\r\b\f \x7f \xce\xc4\xb5\xb5";
    view.AddNewShape(2);
    view.objects.back()->jumpTarget = "\x82\x30\xa6\x30 tab\there";
    auto text = std::make_unique<figures::CNPTextBox>();
    text->lines = {"", "line \"one\"", "\xc1\xf7\xb3\xcc", std::string("nul\0byte", 8)};
    view.Append(std::move(text));
    view.AddNewShape(figures::CRichGraph::kCustomShape);
    const ReadDocumentResult failed{false, "bad \"magic\"\n\\", 0};

    const struct {
        const char* name;
        const Document& document;
        const ReadDocumentResult& read;
    } kCases[] = {
        {"sample as read", whole.document, whole.result},
        {"sample cut in its last object", cut.document, cut.result},
        {"cut in the first view header", header.document, header.result},
        {"empty content", empty.document, empty.result},
        {"texts that need escaping", awkward, {true, {}, 1}},
        {"a failed read with an awkward reason", awkward, failed},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(Streamed(c.document, c.read), FromTree(c.document, c.read)) << c.name;
    }
}

TEST(DocumentInfoJson, SampleGivesTheTextSavedFromTheTreeWriter)
{
    Document sample;
    makesample::BuildSampleDocument(sample);
    ReadBack read;
    ReadBytes(figures::WriteDocument(sample), read);
    QFile saved(QStringLiteral(VELKOR_TEST_DATA "/sample-info.json"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(Streamed(read.document, read.result), saved.readAll().toStdString());
}

TEST(DocumentInfoJson, StreamWritesEmptyContainersAndScalarsLikeQt)
{
    const QString kOutsideTheBasicPlane = QString::fromUtf8("a\U0001F600b\u00e9");
    const QString kLoneSurrogates = QString(QChar(0xD800)) + u'x' + QChar(0xDC00) + QChar(0xD83D);
    vkdtool::JsonStream out;
    out.BeginObject();
    out.Key("a");
    out.BeginArray();
    out.EndArray();
    out.Key("b");
    out.BeginObject();
    out.EndObject();
    out.Key("c");
    out.BeginArray();
    out.Int(-2147483648LL);
    out.Bool(false);
    out.Null();
    out.Hex(std::vector<uint8_t>{0x00, 0xAB, 0x7F});
    out.String(kOutsideTheBasicPlane);
    out.String(kLoneSurrogates);
    out.EndArray();
    out.EndObject();
    const QJsonObject tree{{"a", QJsonArray{}},
                           {"b", QJsonObject{}},
                           {"c", QJsonArray{-2147483648LL, false, QJsonValue::Null, "00ab7f",
                                            kOutsideTheBasicPlane, kLoneSurrogates}}};
    EXPECT_EQ(out.Text(), QJsonDocument(tree).toJson(QJsonDocument::Indented).toStdString());
}

} // namespace
