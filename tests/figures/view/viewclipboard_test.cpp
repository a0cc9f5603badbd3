#include "tests/figures/view/viewtestsupport.h"

#include "figures/model/objects/ccmbobj.h"
#include "figures/model/objects/cpicturebox.h"
#include "figures/model/objects/objectregistry.h"
#include "figures/model/objects/shapetextstore.h"
#include "figures/render/gbk.h"
#include "figures/view/arrangecommands.h"
#include "figures/view/clipboardrecords.h"
#include "figures/view/viewclipboard.h"
#include "tools/makesample/sampledocument.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace figures {
namespace {

using namespace viewtest;

QByteArray ClipboardRecords()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr ? data->data(ViewClipboard::MimeType()) : QByteArray();
}

void PutRecords(const std::vector<uint8_t>& bytes)
{
    auto* data = new QMimeData;
    data->setData(ViewClipboard::MimeType(),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

std::vector<uint8_t> Concatenated(std::initializer_list<const CBaseCom*> objects)
{
    std::vector<uint8_t> out;
    for (const CBaseCom* object : objects) {
        const std::vector<uint8_t> record = WriteObject(*object);
        out.insert(out.end(), record.begin(), record.end());
    }
    return out;
}

QByteArray Bytes(const std::vector<uint8_t>& v)
{
    return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size()));
}

TEST(ViewClipboard, EveryObjectClassComesBackRecordForRecord)
{
    auto view = ShownView();
    Document sample;
    makesample::BuildSampleDocument(sample);
    std::set<int32_t> classes;
    for (int v = 0; v < sample.ViewCount(); ++v) {
        for (const auto& original : sample.ViewAt(v)->objects) {
            view->CurrentView()->objects.clear();
            view->CurrentView()->Append(ClassFromTypeId(original->TypeId()));
            CBaseCom* copy = view->CurrentView()->objects.back().get();
            ASSERT_TRUE(CopyObject(*copy, *original));
            view->ObjectsChanged();
            view->SetSelection(std::vector<CBaseCom*>{copy}, false);
            ViewClipboard clipboard(*view);
            ASSERT_TRUE(clipboard.Copy());
            const std::vector<uint8_t> record = WriteObject(*original);
            EXPECT_EQ(ClipboardRecords(), Bytes(record)) << original->ClassName();
            clipboard.Paste();
            ASSERT_EQ(view->Selection().size(), 1u) << original->ClassName();
            CBaseCom* pasted = view->Selection().front();
            EXPECT_NE(pasted, copy);
            // Only the place differs: moved back, the record is the original's byte for byte.
            pasted->frame = original->frame;
            EXPECT_EQ(WriteObject(*pasted), record) << original->ClassName();
            classes.insert(original->TypeId());
        }
    }
    EXPECT_EQ(classes, (std::set<int32_t>{1, 2, 4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST(ViewClipboard, CopyHoldsTheRecordsInSelectionOrderAndCutDeletes)
{
    auto view = ShownView();
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 300, 300});
    CRichGraph* b = AddShape(*view, kEllipse, {400, 100, 600, 300});
    CRichGraph* c = AddShape(*view, kRectangle, {700, 100, 900, 300});
    ViewClipboard clipboard(*view);
    EXPECT_FALSE(clipboard.Copy()); // nothing selected
    view->SetSelection(std::vector<CBaseCom*>{c, a}, false);
    ASSERT_TRUE(clipboard.Copy());
    EXPECT_EQ(ClipboardRecords(), Bytes(Concatenated({c, a})));
    EXPECT_TRUE(clipboard.HasData());
    EXPECT_FALSE(clipboard.HasExternalData());
    // Other programs get a picture of the selection.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    EXPECT_TRUE(data->hasImage());
    const QImage image = qvariant_cast<QImage>(data->imageData());
    // 800 units and 2 mm margins each side at 96 dpi: about 318 pixels wide.
    EXPECT_NEAR(image.width(), (800 + 40 + 2) * 96 / 254, 3);
    EXPECT_TRUE(data->data("image/svg+xml").startsWith("<?xml"));

    view->CurrentView()->modified = false;
    view->SetSelection(std::vector<CBaseCom*>{b}, false);
    const std::vector<uint8_t> bRecord = WriteObject(*b);
    clipboard.Cut();
    EXPECT_EQ(ClipboardRecords(), Bytes(bRecord));
    EXPECT_EQ(view->CurrentView()->ObjectCount(), 2);
    EXPECT_TRUE(view->Selection().empty());
    EXPECT_TRUE(view->CurrentView()->modified);
}

TEST(ViewClipboard, PastesLandTwentyMillimetresInFromTheVisibleTopLeft)
{
    auto view = ShownView(400, 300);
    view->SetScrollBarsShown(true);
    CRichGraph* a = AddShape(*view, kRectangle, {1000, 1200, 1300, 1500});
    CRichGraph* b = AddShape(*view, kEllipse, {1100, 1000, 1600, 1400});
    AddShape(*view, kRectangle, {9000, 9000, 9100, 9100}); // room to scroll
    view->SetSelection(std::vector<CBaseCom*>{a, b}, false);
    ViewClipboard clipboard(*view);
    ASSERT_TRUE(clipboard.Copy());

    // Twice at the same place, each time only the new copies selected.
    std::vector<std::vector<CBaseCom*>> pastes;
    for (int i = 0; i < 2; ++i) {
        clipboard.Paste();
        pastes.push_back(view->Selection());
        ASSERT_EQ(view->Selection().size(), 2u);
        EXPECT_EQ(view->Selection()[0]->frame, (Rect{200, 400, 500, 700}));
        EXPECT_EQ(view->Selection()[1]->frame, (Rect{300, 200, 800, 600}));
    }
    EXPECT_NE(pastes[0][0], pastes[1][0]);
    EXPECT_EQ(view->CurrentView()->ObjectCount(), 7);

    // After scrolling, from the new top-left, whatever the zoom.
    view->SetZoom(50);
    view->OnScroll(CViewWnd::HorizontalScroll(CViewWnd::SB_THUMBPOSITION), 7);
    view->OnScroll(CViewWnd::VerticalScroll(CViewWnd::SB_THUMBPOSITION), 4);
    const Point origin = view->ScrollOrigin();
    ASSERT_GT(origin.x, 0);
    ASSERT_GT(origin.y, 0);
    clipboard.Paste();
    // a holds the smallest left, b the smallest top.
    EXPECT_EQ(view->Selection()[0]->frame.left, origin.x + 200);
    EXPECT_EQ(view->Selection()[1]->frame.top, origin.y + 200);
}

TEST(ViewClipboard, PasteKeepsGroupsLayersAndTheOrderOfACut)
{
    auto view = ShownView();
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 300, 300});
    CRichGraph* b = AddShape(*view, kEllipse, {400, 100, 600, 300});
    CRichGraph* c = AddShape(*view, kRectangle, {700, 100, 900, 300});
    a->layer = 5;
    b->layer = -2;
    view->SetSelection(std::vector<CBaseCom*>{c, a, b}, false);
    ViewClipboard clipboard(*view);
    clipboard.Cut();
    EXPECT_EQ(view->CurrentView()->ObjectCount(), 0);
    clipboard.Paste();
    const std::vector<CBaseCom*>& pasted = view->Selection();
    ASSERT_EQ(pasted.size(), 3u);
    EXPECT_EQ(view->ObjectIndex(pasted[0]), 0);
    EXPECT_EQ(view->ObjectIndex(pasted[2]), 2);
    EXPECT_EQ(pasted[0]->frame, (Rect{800, 200, 1000, 400})); // c, 600 right of a
    EXPECT_EQ(pasted[1]->layer, 5);
    EXPECT_EQ(pasted[2]->layer, -2);
    EXPECT_EQ(pasted[2]->frame, (Rect{500, 200, 700, 400}));

    // A group comes back as a group with its members in it.
    ArrangeCommands(*view).GroupSelection();
    CBaseCom* group = view->Selection().front();
    ASSERT_TRUE(clipboard.Copy());
    clipboard.Paste();
    ASSERT_EQ(view->Selection().size(), 1u);
    auto* copy = dynamic_cast<CCmbObj*>(view->Selection().front());
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, group);
    ASSERT_EQ(copy->children.size(), 3u);
    EXPECT_EQ(copy->children[0]->layer, -2);
    EXPECT_EQ(copy->children[2]->layer, 5);
}

TEST(ViewClipboard, ADamagedRecordEndsThePasteAndKeepsWhatCameBefore)
{
    auto view = ShownView();
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 300, 300});
    CRichGraph* b = AddShape(*view, kEllipse, {400, 100, 600, 300});
    const std::vector<uint8_t> good = Concatenated({a, b});
    const size_t first = WriteObject(*a).size();
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        size_t pasted;
    };
    std::vector<uint8_t> truncated(good.begin(), good.end() - 5);
    std::vector<uint8_t> unknownType = good;
    unknownType[first + 4] = 99;
    std::vector<uint8_t> badVersion = good;
    badVersion[0] = 7;
    std::vector<uint8_t> trailing = good;
    trailing.push_back(1);
    const Case cases[] = {
        {"whole", good, 2},
        {"second record cut short", truncated, 1},
        {"second record of an unknown class", unknownType, 1},
        {"first record of an unknown version", badVersion, 0},
        {"a stray byte after the records", trailing, 2},
    };
    ViewClipboard clipboard(*view);
    for (const Case& c : cases) {
        PutRecords(c.bytes);
        view->SetSelection(std::vector<CBaseCom*>{a}, false);
        view->CurrentView()->modified = false;
        const int before = view->CurrentView()->ObjectCount();
        clipboard.Paste();
        EXPECT_EQ(view->CurrentView()->ObjectCount(), before + int(c.pasted)) << c.name;
        EXPECT_EQ(view->Selection().size(), c.pasted) << c.name;
        // Even data that yields nothing counts as a paste.
        EXPECT_TRUE(view->CurrentView()->modified) << c.name;
    }
    // Objects far out keep their arrangement as far as the coordinates reach.
    std::vector<std::unique_ptr<CBaseCom>> far;
    far.push_back(ClassFromTypeId(TID_RECT));
    far.push_back(ClassFromTypeId(TID_RECT));
    far[0]->frame = {INT32_MIN, 0, INT32_MIN + 10, 10};
    far[1]->frame = {INT32_MAX - 10, 0, INT32_MAX, 10};
    PlacePasted(far, {0, 0});
    EXPECT_EQ(far[0]->frame, (Rect{200, 200, 210, 210}));
    EXPECT_EQ(far[1]->frame.right, INT32_MAX);
}

TEST(ViewClipboard, TextAndPicturesOfOtherProgramsPasteAsNewObjects)
{
    auto view = ShownView();
    ViewClipboard clipboard(*view);
    CRichGraph* below = AddShape(*view, kRectangle, {100, 100, 900, 900});
    below->layer = 3;
    QGuiApplication::clipboard()->setText(QString::fromUtf8("流程图\n第二行"));
    EXPECT_FALSE(clipboard.HasData());
    EXPECT_TRUE(clipboard.HasExternalData());
    clipboard.Paste(); // not the component's data: nothing happens
    EXPECT_EQ(view->CurrentView()->ObjectCount(), 1);
    clipboard.PasteExternal();
    ASSERT_EQ(view->Selection().size(), 1u);
    auto* text = dynamic_cast<CRichGraph*>(view->Selection().front());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->shapeIndex, 0);
    EXPECT_EQ(text->frame.left, 200);
    EXPECT_EQ(text->frame.top, 200);
    const std::vector<BoxText> boxes = ReadBoxTexts(*text);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, ToGbk(QString::fromUtf8("流程图\r\n第二行")));
    EXPECT_GT(text->Height(), 50); // grown to hold two lines
    // Pasted on top of what is there.
    EXPECT_EQ(text->layer, 3);
    const QPoint inside = ClientOf(*view, {text->frame.left + 5, text->frame.top + 5});
    EXPECT_EQ(view->ObjectAt({inside.x(), inside.y()}), text);

    QImage image(96, 48, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(image);
    EXPECT_TRUE(clipboard.HasExternalData());
    clipboard.PasteExternal();
    ASSERT_EQ(view->Selection().size(), 1u);
    auto* picture = dynamic_cast<CPictureBox*>(view->Selection().front());
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(picture->picture.HasPicture());
    EXPECT_EQ(picture->frame, (Rect{200, 200, 454, 327})); // one inch by half an inch
    EXPECT_TRUE(view->CurrentView()->modified);

    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(clipboard.HasExternalData());
}

} // namespace
} // namespace figures
