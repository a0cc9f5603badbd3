#include "figures/model/objects/ccmbobj.h"
#include "figures/model/objects/cnptextbox.h"
#include "figures/model/objects/cpicturebox.h"
#include "figures/model/objects/crichline.h"
#include "figures/model/objects/shapetextstore.h"
#include "figures/model/storage/cdatamanger.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/document.h"
#include "figures/model/storage/documentformat.h"
#include "figures/model/objects/objectregistry.h"
#include "support/allocationlimit.h"

#include <gtest/gtest.h>

namespace figures {
namespace {

using Bytes = std::vector<uint8_t>;

void PutI32(Bytes& b, int32_t v)
{
    for (int shift = 0; shift < 32; shift += 8) {
        b.push_back(uint8_t(uint32_t(v) >> shift));
    }
}

// A root part of the given class with an empty jump target and no property record.
Bytes RootPart(int32_t version, int32_t typeId)
{
    Bytes b;
    PutI32(b, version);
    PutI32(b, typeId);
    PutI32(b, 0);        // flags
    for (int i = 0; i < 4; ++i) {
        PutI32(b, 10 * i); // frame
    }
    PutI32(b, 0);        // layer
    PutI32(b, 0);        // reserved
    PutI32(b, 0);        // angle
    PutI32(b, 0);        // jump target
    PutI32(b, -1);       // no property record
    b.push_back(0);
    b.push_back(0);
    return b;
}

Bytes DocumentHeader(int32_t version, int32_t views)
{
    Bytes b;
    PutI32(b, kDocumentMagic);
    PutI32(b, version);
    PutI32(b, views);
    return b;
}

Bytes ViewHeader(int32_t objects)
{
    Bytes b;
    PutI32(b, kViewMagic);
    PutI32(b, 1);
    PutI32(b, 1000);
    PutI32(b, 1000);
    PutI32(b, 1);
    b.push_back('V');
    PutI32(b, objects);
    return b;
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(DocumentFormat, EmptyDocumentIsTheFortyOneKnownBytes)
{
    const Bytes expected = {0xAE, 0xBA, 0xC2, 0x0B, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00,
                            0x00, 0xAF, 0xBA, 0xC2, 0x0B, 0x01, 0x00, 0x00, 0x00, 0xE8, 0x03,
                            0x00, 0x00, 0xE8, 0x03, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0xCE,
                            0xC4, 0xB5, 0xB5, 0x31, 0x00, 0x00, 0x00, 0x00};
    Document document;
    EXPECT_EQ(WriteDocument(document), expected);

    Document read;
    ASSERT_TRUE(ReadDocument(expected, read).ok);
    ASSERT_EQ(read.ViewCount(), 1);
    EXPECT_EQ(read.ViewAt(0)->name, "\xCE\xC4\xB5\xB5"
                                    "1");
    EXPECT_EQ(read.CurrentIndex(), 0);
}

TEST(DocumentFormat, ReadsVersionsZeroAndOneOnly)
{
    for (const auto& [version, ok] : {std::pair{0, true}, {1, true}, {2, false}, {-1, false}}) {
        Document document;
        const auto result = ReadDocument(DocumentHeader(version, 1) + ViewHeader(0), document);
        EXPECT_EQ(result.ok, ok) << "version " << version;
        EXPECT_EQ(document.ViewCount(), ok ? 1 : 0) << "version " << version;
    }
}

TEST(DocumentFormat, UnreadableObjectEndsItsViewButNotTheDocument)
{
    // Three objects declared; the second names the unused type id 3.
    const Bytes bytes = DocumentHeader(1, 1) + ViewHeader(3) + RootPart(1, TID_BASE) +
                        RootPart(1, 3) + RootPart(1, TID_BASE) + Bytes{1, 2, 3};
    Document document;
    const auto result = ReadDocument(bytes, document);
    EXPECT_TRUE(result.ok);
    ASSERT_EQ(document.ViewCount(), 1);
    EXPECT_EQ(document.ViewAt(0)->ObjectCount(), 1);

    // An unsupported object version is dropped the same way.
    Document versioned;
    EXPECT_TRUE(
        ReadDocument(DocumentHeader(1, 1) + ViewHeader(1) + RootPart(2, TID_BASE), versioned).ok);
    EXPECT_EQ(versioned.ViewAt(0)->ObjectCount(), 0);
}

TEST(DocumentFormat, TruncatedLastObjectFailsTheReadButKeepsTheObjectsBeforeIt)
{
    Bytes object = RootPart(1, TID_BASE);
    object.resize(object.size() - 3);
    Document document;
    const auto result = ReadDocument(
        DocumentHeader(1, 1) + ViewHeader(2) + RootPart(1, TID_BASE) + object, document);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("object 2 of 2"), std::string::npos) << result.error;
    ASSERT_EQ(document.ViewCount(), 1);
    EXPECT_EQ(document.ViewAt(0)->ObjectCount(), 1);
    EXPECT_EQ(document.CurrentIndex(), 0);

    // A view that declares more objects than the data holds is cut short as well, even
    // when the cut falls between two records.
    Document shortView;
    EXPECT_FALSE(
        ReadDocument(DocumentHeader(1, 1) + ViewHeader(2) + RootPart(1, TID_BASE), shortView).ok);
    EXPECT_EQ(shortView.ViewAt(0)->ObjectCount(), 1);
}

// Two views of every kind of record: property records, texts, a program copy, a group
// with members, a line and a picture.
void BuildSmallDocument(Document& document)
{
    View& first = *document.AddView();
    auto rect = std::make_unique<CRectCom>();
    rect->frame = {10, 20, 300, 200};
    first.Append(std::move(rect));
    auto shape = std::make_unique<CRichGraph>(6);
    shape->frame = {400, 20, 700, 300};
    SetBoxText(*shape, 1, "text");
    first.Append(std::move(shape));
    std::vector<std::unique_ptr<CBaseCom>> members;
    members.push_back(std::make_unique<CRichGraph>(10));
    members.push_back(std::make_unique<CBaseCom>());
    first.Append(CCmbObj::Group(std::move(members)));
    View& second = *document.AddView();
    auto line = std::make_unique<CRichLine>();
    line->SetEndPoints({0, 0}, {100, 50});
    second.Append(std::move(line));
    auto picture = std::make_unique<CPictureBox>();
    picture->picture.SetBytes({'B', 'M', 1, 2, 3, 4, 5, 6});
    second.Append(std::move(picture));
}

TEST(DocumentFormat, EveryCutOfADocumentFailsAndKeepsWhatWasReadWhole)
{
    Document original;
    BuildSmallDocument(original);
    const Bytes bytes = WriteDocument(original);
    // Where each view's header and each object record end.
    struct ViewExtent {
        size_t headerEnd = 0;
        std::vector<size_t> objectEnds;
    };
    std::vector<ViewExtent> extents;
    size_t at = 12;
    for (int v = 0; v < original.ViewCount(); ++v) {
        const View& view = *original.ViewAt(v);
        ViewExtent extent;
        at += 6 * 4 + view.name.size();
        extent.headerEnd = at;
        for (const auto& object : view.objects) {
            at += WriteObject(*object).size();
            extent.objectEnds.push_back(at);
        }
        extents.push_back(extent);
    }
    ASSERT_EQ(at, bytes.size());

    for (size_t length = 1; length < bytes.size(); ++length) {
        Document document;
        const auto result = ReadDocument(std::span(bytes).first(length), document);
        ASSERT_FALSE(result.ok) << "cut at " << length;
        EXPECT_FALSE(result.error.empty()) << "cut at " << length;
        // Views whose header was read stay, each with the objects read whole.
        int views = 0;
        for (const ViewExtent& extent : extents) {
            views += extent.headerEnd <= length;
        }
        ASSERT_EQ(document.ViewCount(), views) << "cut at " << length;
        for (int v = 0; v < views; ++v) {
            const auto& ends = extents[size_t(v)].objectEnds;
            const auto whole = std::count_if(ends.begin(), ends.end(),
                                             [&](size_t end) { return end <= length; });
            const View& read = *document.ViewAt(v);
            ASSERT_EQ(read.ObjectCount(), whole) << "cut at " << length << ", view " << v;
            EXPECT_EQ(read.name, original.ViewAt(v)->name);
            for (int i = 0; i < read.ObjectCount(); ++i) {
                EXPECT_EQ(WriteObject(*read.objects[size_t(i)]),
                          WriteObject(*original.ViewAt(v)->objects[size_t(i)]))
                    << "cut at " << length << ", view " << v << ", object " << i;
            }
        }
        EXPECT_EQ(document.CurrentIndex(), views > 0 ? 0 : -1) << "cut at " << length;
    }
    Document whole;
    EXPECT_TRUE(ReadDocument(bytes, whole).ok);
    EXPECT_EQ(WriteDocument(whole), bytes);
}

TEST(DocumentFormat, BadViewKeepsTheViewsReadBeforeIt)
{
    Bytes badMagic = ViewHeader(0);
    badMagic[0] ^= 0xFF;
    Bytes negativeCount = ViewHeader(-1);
    Bytes truncated = ViewHeader(1);
    truncated.resize(18); // inside the zoom

    for (const Bytes& second : {badMagic, negativeCount, truncated}) {
        Document document;
        const auto result = ReadDocument(DocumentHeader(1, 2) + ViewHeader(1) +
                                             RootPart(1, TID_BASE) + second,
                                         document);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.empty());
        ASSERT_EQ(document.ViewCount(), 1);
        EXPECT_EQ(document.ViewAt(0)->ObjectCount(), 1);
        EXPECT_EQ(document.CurrentIndex(), 0);
    }
}

TEST(DocumentFormat, RejectsBadDocumentHeaders)
{
    Bytes wrongMagic = DocumentHeader(1, 0);
    wrongMagic[3] = 0x0C;
    const Bytes cases[] = {wrongMagic, DocumentHeader(1, -1), Bytes{0xAE, 0xBA, 0xC2},
                           DocumentHeader(1, 0x7FFFFFFF)};
    for (const Bytes& bytes : cases) {
        Document document;
        EXPECT_FALSE(ReadDocument(bytes, document).ok);
        EXPECT_EQ(document.ViewCount(), 0);
        EXPECT_EQ(document.CurrentView(), nullptr);
    }
}

TEST(DocumentFormat, EmptyContentResetsToOneDefaultView)
{
    Document document;
    document.AddView();
    document.AddView();
    EXPECT_TRUE(ReadDocument({}, document).ok);
    ASSERT_EQ(document.ViewCount(), 1);
    EXPECT_EQ(document.ViewAt(0)->name, document.DefaultViewName().substr(0, 4) + "1");
    EXPECT_EQ(document.CurrentIndex(), 0);
}

TEST(DocumentFormat, ObjectWithoutRecordWritesMinusOneAndTypeZero)
{
    CBaseCom object;
    const Bytes bytes = WriteObject(object);
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(Bytes(bytes.end() - 6, bytes.end()), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0, 0}));
}

TEST(DocumentFormat, GradientColoursArePresentOnlyWithAGradientKind)
{
    CRectCom plain;
    CRectCom graded;
    graded.gradientKind = 2;
    graded.gradientCount = 3;
    graded.gradientColours = {0x111111, 0x222222, 0x333333};
    EXPECT_EQ(WriteObject(graded).size(), WriteObject(plain).size() + 4 * 4);

    CRectCom back;
    CArchive ar(WriteObject(graded));
    back.Serialize(ar);
    EXPECT_EQ(back.gradientCount, 3);
    EXPECT_EQ(back.gradientColours[2], 0x333333u);
    EXPECT_EQ(back.gradientColours[3], 0u);
}

TEST(DocumentFormat, GradientCountAboveEightIsAnArchiveError)
{
    CRectCom graded;
    graded.gradientKind = 1;
    graded.gradientCount = 2;
    Bytes bytes = WriteObject(graded);
    // The count follows the root part (50 bytes) and eleven rectangle fields.
    const size_t countAt = 50 + 12 * 4;
    ASSERT_EQ(bytes[countAt], 2);
    bytes[countAt] = 9;
    CArchive ar(bytes);
    const ReadObjectResult read = ReadObject(ar);
    EXPECT_EQ(read.object, nullptr);
    EXPECT_FALSE(read.documentError);
}

TEST(DocumentFormat, FillKindsNoKindHasAreKeptAsStoredAndPaintNoFill)
{
    CRectCom object;
    object.frame = {0, 0, 100, 100};
    Bytes bytes = WriteObject(object);
    // The fill kind follows the root part (50 bytes) and seven rectangle fields.
    const size_t kindAt = 50 + 7 * 4;
    ASSERT_EQ(bytes[kindAt], 0);
    for (const int32_t stored : {0, 1, 2, 3, 4, 5, 6, -1, 0x7FFFFFFF}) {
        for (int i = 0; i < 4; ++i) {
            bytes[kindAt + size_t(i)] = uint8_t(uint32_t(stored) >> (8 * i));
        }
        CArchive ar(bytes);
        const ReadObjectResult read = ReadObject(ar);
        ASSERT_NE(read.object, nullptr) << stored;
        const auto& rect = static_cast<const CRectCom&>(*read.object);
        EXPECT_EQ(int32_t(rect.fillKind), stored);
        EXPECT_EQ(WriteObject(*read.object), bytes) << stored;
        EXPECT_EQ(FillKindFromStored(stored).has_value(), stored >= 0 && stored <= 5) << stored;
    }
}

TEST(DocumentFormat, GroupWithoutMembersWritesMinusOne)
{
    CCmbObj group;
    const Bytes bytes = WriteObject(group);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(Bytes(bytes.end() - 4, bytes.end()), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(DocumentFormat, UnregisteredGroupMemberFailsTheWholeDocument)
{
    CCmbObj group;
    group.children.push_back(std::make_unique<CBaseCom>());
    Bytes object = WriteObject(group);
    // The member's type id stands right after the member count.
    const size_t memberTypeAt = object.size() - RootPart(1, TID_BASE).size() - 4;
    ASSERT_EQ(object[memberTypeAt], TID_BASE);
    object[memberTypeAt] = 3;

    Document document;
    const auto result =
        ReadDocument(DocumentHeader(1, 2) + ViewHeader(0) + ViewHeader(1) + object, document);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(document.ViewCount(), 1);
}

TEST(DocumentFormat, DeepGroupNestingIsRefusedWithoutExhaustingTheStack)
{
    // Build the record of groups nested far deeper than any drawing by hand: each level
    // is a group record whose single member is the next level.
    CCmbObj leaf;
    const Bytes leafRecord = WriteObject(leaf);
    const Bytes prefix(leafRecord.begin(), leafRecord.end() - 4); // without "no members"
    // Every level's header comes before the level it holds, so the record is 5000
    // headers followed by the leaf.
    Bytes nested;
    for (int depth = 0; depth < 5000; ++depth) {
        nested.insert(nested.end(), prefix.begin(), prefix.end());
        PutI32(nested, 0); // one member
        PutI32(nested, TID_COMBINED);
    }
    nested.insert(nested.end(), leafRecord.begin(), leafRecord.end());
    CArchive ar(nested);
    const ReadObjectResult read = ReadObject(ar);
    EXPECT_EQ(read.object, nullptr);
    EXPECT_FALSE(read.error.empty());
}

TEST(DocumentFormat, HostileCountsAreWeighedAgainstTheDataLeft)
{
    CCmbObj group;
    Bytes groupBytes = WriteObject(group);
    groupBytes.resize(groupBytes.size() - 4);
    PutI32(groupBytes, 0x7FFFFFF0); // members

    CNPTextBox text;
    Bytes textBytes = WriteObject(text);
    textBytes.resize(textBytes.size() - 2);
    textBytes.push_back(0xFF);
    textBytes.push_back(0xFF);
    PutI32(textBytes, -1); // 4 billion lines

    CRichGraph custom(CRichGraph::kCustomShape);
    Bytes customBytes = WriteObject(custom);
    customBytes.resize(customBytes.size() - 6);
    PutI32(customBytes, 0x7FFFFFFF); // program length

    for (const Bytes& bytes : {groupBytes, textBytes, customBytes}) {
        CArchive ar(bytes);
        // The count is weighed against the bytes left before anything is sized by it: no
        // request for memory comes near what the count claims, even one that would fail.
        const testsupport::AllocationLimit limit(size_t(1) << 20);
        const ReadObjectResult read = ReadObject(ar);
        EXPECT_EQ(limit.Refused(), 0u);
        EXPECT_LT(limit.Largest(), size_t(64) << 10);
        EXPECT_EQ(read.object, nullptr);
        EXPECT_NE(read.error.find("exceeds the data"), std::string::npos) << read.error;
    }
}

TEST(DocumentFormat, CustomShapeWithBadProgramReadsAsTheEmptyProgram)
{
    CRichGraph custom(CRichGraph::kCustomShape);
    Bytes bytes = WriteObject(custom);
    // Replace the stored program (length 2, one 0 word) by three bytes.
    bytes.resize(bytes.size() - 6);
    PutI32(bytes, 3);
    bytes.insert(bytes.end(), {3, 0, 0});
    CArchive ar(bytes);
    const ReadObjectResult read = ReadObject(ar);
    ASSERT_NE(read.object, nullptr);
    const auto& shape = static_cast<const CRichGraph&>(*read.object);
    EXPECT_EQ(shape.shapeIndex, CRichGraph::kCustomShape);
    EXPECT_EQ(Bytes(shape.GetProgram().begin(), shape.GetProgram().end()), (Bytes{0, 0}));
}

TEST(DocumentFormat, FillBackColourIsNotStored)
{
    CRectCom object;
    object.fillBackColour = 0x123456;
    CRectCom back;
    back.fillBackColour = 0x654321;
    CArchive ar(WriteObject(object));
    back.Serialize(ar);
    EXPECT_EQ(back.fillBackColour, 0xFFFFFFu);
}

TEST(DocumentFormat, PictureRecordWithWrongMagicIsAnArchiveError)
{
    CRectCom object;
    Bytes bytes = WriteObject(object);
    // The picture magic follows the root part and twelve rectangle fields.
    const size_t magicAt = 50 + 12 * 4;
    ASSERT_EQ(bytes[magicAt], 0x47);
    bytes[magicAt] = 0x48;
    CArchive ar(bytes);
    EXPECT_EQ(ReadObject(ar).object, nullptr);
}

} // namespace
} // namespace figures
