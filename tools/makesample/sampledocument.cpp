#include "tools/makesample/sampledocument.h"

#include "figures/model/objects/ccmbobj.h"
#include "figures/model/objects/cgraphcom.h"
#include "figures/model/objects/clinegraph.h"
#include "figures/model/objects/cnptextbox.h"
#include "figures/model/objects/cpcxpicturebox.h"
#include "figures/model/objects/cpicturebox.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/crichline.h"
#include "figures/model/objects/shapetextstore.h"
#include "figures/render/gbk.h"

#include <QString>

namespace makesample {

using namespace figures;

namespace {

// Catalogue entries used by the sample.
constexpr int32_t kRectangle = 2;
constexpr int32_t kRoundedRectangle = 6;
constexpr int32_t kEllipse = 10;
constexpr int32_t kCylinder = 14;
constexpr int32_t kDecision = 30;
constexpr int32_t kFivePointStar = 61;
constexpr int32_t kRightArrow = 64;

std::string Gbk(const char* utf8)
{
    return ToGbk(QString::fromUtf8(utf8));
}

// A 2 x 2 pixel, 24-bit bitmap file: red, green / blue, white.
std::vector<uint8_t> TinyBitmap()
{
    std::vector<uint8_t> bmp = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, // file header
                                40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 16, 0,
                                0, 0, // info
                                0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                // Rows bottom-up, BGR, each padded to 4 bytes.
                                0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, //
                                0, 0, 0xFF, 0, 0xFF, 0, 0, 0};
    return bmp;
}

std::unique_ptr<CRichGraph> Shape(int32_t entry, Rect frame, uint32_t fill,
                                  const char* text = nullptr)
{
    auto shape = std::make_unique<CRichGraph>(entry);
    shape->frame = frame;
    shape->fillKind = FillKind::Colour;
    shape->fillColour = fill;
    if (text != nullptr) {
        SetBoxText(*shape, 1, Gbk(text));
    }
    return shape;
}

void BuildOverview(View& view, const std::string& detailName)
{
    view.Append(Shape(kRectangle, {100, 100, 600, 400}, 0xF0E0C0, "开始\r\n第二行"));
    auto star = Shape(kFivePointStar, {700, 100, 1000, 400}, 0x00D7FF);
    star->angle = 150;
    star->shadowDirection = 5;
    view.Append(std::move(star));
    auto ellipse = Shape(kEllipse, {1100, 100, 1500, 400}, 0xC0FFC0, "跳到细节");
    ellipse->jumpTarget = detailName;
    view.Append(std::move(ellipse));

    auto line = std::make_unique<CRichLine>();
    line->end2Type = kEndArrowhead;
    line->end1Type = kEndEllipse;
    line->lineWidth = 15;
    line->capButtons = CRichLine::BothButtons;
    line->SetEndPoints({600, 250}, {700, 250});
    view.Append(std::move(line));

    auto polyline = std::make_unique<CLineGraph>();
    polyline->frame = {100, 500, 600, 800};
    polyline->layoutWidth = 500;
    polyline->layoutHeight = 300;
    polyline->closed = 1;
    polyline->SetPoints({{0, 300}, {250, 0}, {500, 300}});
    // Filled with a gradient from orange at the top to blue at the bottom.
    polyline->fillKind = FillKind::Gradient;
    polyline->gradientKind = 1;
    polyline->gradientCount = 2;
    polyline->gradientColours[0] = 0x0080FF;
    polyline->gradientColours[1] = 0xC04000;
    view.Append(std::move(polyline));

    std::vector<std::unique_ptr<CBaseCom>> members;
    members.push_back(Shape(kRoundedRectangle, {700, 500, 1000, 700}, 0xFFFFFF));
    members.push_back(Shape(kRightArrow, {1000, 550, 1200, 650}, 0x8080FF));
    view.Append(CCmbObj::Group(std::move(members)));
}

void BuildDetail(View& view)
{
    view.Append(Shape(kDecision, {100, 100, 500, 400}, 0xFFFFFF, "通过？"));
    view.Append(Shape(kCylinder, {600, 100, 900, 500}, 0xE0E0E0));
    // An ellipse filled with the same picture, tiled.
    auto filled = Shape(kEllipse, {100, 850, 500, 1050}, 0xFFFFFF);
    filled->fillKind = FillKind::Picture;
    filled->picturePlacement = kPlacementTile;
    filled->fillPicture.SetBytes(TinyBitmap());
    view.Append(std::move(filled));
    auto custom = std::make_unique<CRichGraph>(CRichGraph::kCustomShape);
    custom->frame = {1700, 100, 2000, 400};
    // A triangle: move to the bottom-left, lines to the apex, bottom-right and back.
    const uint16_t triangle[] = {3, 0, 8191, 4, 4095, 0, 4, 8191, 8191, 4, 0, 8191, 0};
    custom->SetProgram(reinterpret_cast<const uint8_t*>(triangle), sizeof triangle);
    view.Append(std::move(custom));

    auto outline = std::make_unique<CGraphCom>();
    outline->frame = {100, 600, 500, 800};
    outline->frameShape = CGraphCom::Ellipse;
    view.Append(std::move(outline));

    auto rect = std::make_unique<CRectCom>();
    rect->frame = {600, 600, 900, 800};
    rect->edgeMask = 1 | 2 | 4 | 8;
    view.Append(std::move(rect));

    auto text = std::make_unique<CNPTextBox>();
    text->frame = {1000, 600, 1400, 800};
    text->lines = {Gbk("说明文字"), Gbk("第二行")};
    view.Append(std::move(text));

    auto picture = std::make_unique<CPictureBox>();
    picture->frame = {1000, 100, 1300, 400};
    picture->picture.SetBytes(TinyBitmap());
    // The four pixels fitted into the square frame without distortion.
    picture->placement = kPlacementFitCentred;
    view.Append(std::move(picture));

    auto bitmap = std::make_unique<CPCXPictureBox>();
    bitmap->frame = {1400, 100, 1600, 200};
    // 16 x 4 pixels, rows of one 16-bit word: a checkerboard.
    bitmap->pcxPicture.Set(16, 4, {0xAA, 0xAA, 0x55, 0x55, 0xAA, 0xAA, 0x55, 0x55});
    view.Append(std::move(bitmap));

    auto base = std::make_unique<CBaseCom>();
    base->frame = {1400, 300, 1500, 400};
    view.Append(std::move(base));
}

} // namespace

void BuildSampleDocument(Document& document)
{
    document.ResetDocument();
    const std::string detailName = Gbk("流程细节");
    BuildOverview(*document.ViewAt(0), detailName);
    const int detail = document.InsertView(&detailName, -1);
    BuildDetail(*document.ViewAt(detail));
    document.SelectView(0);
    document.SetModified(false);
}

} // namespace makesample
