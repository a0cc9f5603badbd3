// Renders representative drawings and compares them with reviewed reference images in
// tests/data. Set VELKOR_UPDATE_REFERENCES=1 to rewrite the references after a deliberate
// change, then look at every rewritten image before committing it.
#include "figures/model/objects/ccmbobj.h"
#include "figures/model/objects/clinegraph.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/crichline.h"
#include "figures/model/objects/objectregistry.h"
#include "figures/model/view.h"
#include "figures/model/viewpainter.h"
#include "figures/render/drawcontext.h"
#include "support/referencepicture.h"
#include "support/viewpicture.h"

#include <QImage>

#include <gtest/gtest.h>

#include <functional>

namespace figures {
namespace {

constexpr double kScreenDpi = 96.0;

QImage Render(const View& view, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const DrawContext dc(painter, kScreenDpi, kScreenDpi);
    PaintOptions options;
    options.deviceClip = {0, 0, size.width(), size.height()};
    PaintView(view, dc, options);
    return image;
}

CRichGraph& Shape(View& view, int32_t entry, Rect frame, uint32_t fill = 0xFFFFFF)
{
    view.AddNewShape(entry, &frame);
    auto& shape = static_cast<CRichGraph&>(*view.objects.back());
    shape.fillColour = fill;
    return shape;
}

void BuildFills(View& view)
{
    const FillKind kinds[] = {FillKind::White, FillKind::Colour, FillKind::None};
    for (int i = 0; i < 3; ++i) {
        auto& shape = Shape(view, 10, {50 + 300 * i, 50, 300 + 300 * i, 250}, 0x33AAFF);
        shape.fillKind = kinds[i];
    }
    const int32_t patterns[] = {0, 1, 2, 3, 4, 5, 12, 22, 35, 41, 47, 53};
    for (int i = 0; i < 12; ++i) {
        auto& shape = Shape(
            view, 2,
            {50 + 150 * (i % 6), 300 + 150 * (i / 6), 180 + 150 * (i % 6), 430 + 150 * (i / 6)},
            0x802000);
        shape.fillKind = FillKind::Pattern;
        shape.hatchStyle = patterns[i];
        shape.fillBackColour = 0xE0F0FF;
    }
}

void BuildLines(View& view)
{
    for (int type = 0; type <= 6; ++type) {
        for (int wide = 0; wide < 2; ++wide) {
            auto& shape = Shape(
                view, 6, {50 + 130 * type, 50 + 160 * wide, 160 + 130 * type, 180 + 160 * wide});
            shape.lineStyle = type;
            shape.lineWidth = wide ? 40 : 5;
            shape.lineColour = 0x004080 * (type % 2) + 0x800000 * (wide);
        }
    }
}

void BuildShadows(View& view)
{
    for (int direction = 1; direction <= 8; ++direction) {
        auto& star = Shape(view, 61,
                           {60 + 180 * ((direction - 1) % 4), 60 + 200 * ((direction - 1) / 4),
                            200 + 180 * ((direction - 1) % 4), 200 + 200 * ((direction - 1) / 4)},
                           0x40E0FF);
        star.shadowDirection = direction;
        star.shadowOffset = 15;
    }
    // Shapes without a silhouette cast a copy of themselves.
    auto custom = std::make_unique<CRichGraph>(CRichGraph::kCustomShape);
    const uint16_t zigzag[] = {3, 0, 8191, 4, 2730, 0, 4, 5460, 8191, 4, 8191, 0, 0};
    custom->SetProgram(reinterpret_cast<const uint8_t*>(zigzag), sizeof zigzag);
    custom->frame = {60, 450, 400, 550};
    custom->lineWidth = 20;
    custom->shadowDirection = 6;
    custom->shadowOffset = 25;
    view.Append(std::move(custom));
}

void BuildGroup(View& view)
{
    std::vector<std::unique_ptr<CBaseCom>> members;
    auto body = std::make_unique<CRichGraph>(2);
    body->frame = {0, 0, 200, 100};
    body->fillKind = FillKind::Colour;
    body->fillColour = 0xA0FFA0;
    members.push_back(std::move(body));
    auto arrow = std::make_unique<CRichGraph>(64);
    arrow->frame = {200, 25, 320, 75};
    arrow->fillKind = FillKind::Colour;
    arrow->fillColour = 0x4040FF;
    members.push_back(std::move(arrow));
    auto star = std::make_unique<CRichGraph>(61);
    star->frame = {20, 110, 120, 200};
    star->angle = 300;
    star->fillKind = FillKind::Colour;
    star->fillColour = 0x00D0FF;
    members.push_back(std::move(star));

    for (int copy = 0; copy < 2; ++copy) {
        std::vector<std::unique_ptr<CBaseCom>> set;
        for (const auto& m : members) {
            auto clone = std::make_unique<CRichGraph>();
            CopyObject(*clone, *m);
            set.push_back(std::move(clone));
        }
        auto group = CCmbObj::Group(std::move(set));
        group->frame = group->frame.Offset(60 + 420 * copy, 60);
        if (copy == 1) {
            group->angle = 200;
            group->flags |= OF_FLIPPED_H | OF_FLIPPED_V;
            group->frame.right += 80; // stretched
        }
        view.Append(std::move(group));
    }
}

void BuildPolylines(View& view)
{
    auto open = std::make_unique<CLineGraph>();
    open->frame = {50, 50, 350, 250};
    open->layoutWidth = 300;
    open->layoutHeight = 200;
    open->lineWidth = 15;
    open->fillKind = FillKind::None;
    open->SetPoints({{0, 200}, {75, 0}, {150, 150}, {225, 20}, {300, 200}});
    view.Append(std::move(open));

    auto closed = std::make_unique<CLineGraph>();
    closed->frame = {400, 50, 700, 250};
    closed->layoutWidth = 150;
    closed->layoutHeight = 100;
    closed->closed = 1;
    closed->fillKind = FillKind::Colour;
    closed->fillColour = 0xFFC0C0;
    closed->angle = 150;
    closed->shadowDirection = 5;
    closed->SetPoints({{0, 50}, {75, 0}, {150, 50}, {100, 100}, {50, 100}});
    view.Append(std::move(closed));
}

testsupport::ReferencePicture Drawing(const char* name, void (*build)(View&), QSize size)
{
    return testsupport::ViewPicture(name, build, size, Render);
}

using testsupport::ReferencePictures;

INSTANTIATE_TEST_SUITE_P(Drawings, ReferencePictures,
                         testing::Values(Drawing("render-fills", BuildFills, {360, 240}),
                                         Drawing("render-lines", BuildLines, {360, 140}),
                                         Drawing("render-shadows", BuildShadows, {300, 230}),
                                         Drawing("render-group", BuildGroup, {340, 200}),
                                         Drawing("render-polylines", BuildPolylines, {290, 120})),
                         testsupport::CaseName());

} // namespace
} // namespace figures
