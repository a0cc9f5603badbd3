#include "figures/render/styles/faceshading.h"

#include "figures/render/shapes/adjust/adjustroutines.h"
#include "figures/render/shapes/catalogue.h"
#include "figures/render/colour.h"
#include "figures/render/drawcontext.h"
#include "figures/render/numeric.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <vector>

namespace figures {
namespace {

// At 254 dpi one document unit is one pixel, so the frame below covers 800 x 600 pixels.
constexpr double kUnitDpi = 254.0;
constexpr Rect kFrame{10, 10, 810, 610};
constexpr uint32_t kBlank = 0x00FF00; // a canvas colour no face ever takes
constexpr uint32_t kBlue = 0xC06020;  // 0x00BBGGRR
constexpr uint32_t kTan = 0x70A0D0;

QImage Shade(int entry, std::span<const uint8_t> program, FillKind fillKind, uint32_t fill,
             uint32_t back)
{
    QImage image(kFrame.right + 10, kFrame.bottom + 10, QImage::Format_RGB32);
    image.fill(ToQColor(kBlank));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const DrawContext dc(painter, kUnitDpi, kUnitDpi);
    const ShapeFrame frame{
        {kFrame.left, kFrame.top}, kFrame.Width(), kFrame.Height(), 0, false, false};
    DrawFaceShading(dc, entry, program, frame, fillKind, fill, back);
    return image;
}

QImage ShadeCatalogue(int entry, FillKind fillKind, uint32_t fill, uint32_t back = 0xFFFFFF)
{
    return Shade(entry, CatalogueEntry(entry)->program, fillKind, fill, back);
}

// The colour at a grid position of the frame, as 0x00BBGGRR.
uint32_t ColourAt(const QImage& image, Point grid)
{
    const Point p = GridToFrame(grid.x, grid.y, {kFrame.left, kFrame.top}, kFrame.Width(),
                                kFrame.Height(), false, false);
    const QRgb c = image.pixel(p.x, p.y);
    return uint32_t(qRed(c)) | uint32_t(qGreen(c)) << 8 | uint32_t(qBlue(c)) << 16;
}

bool SameColour(uint32_t a, uint32_t b)
{
    for (int shift = 0; shift <= 16; shift += 8) {
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 1) {
            return false;
        }
    }
    return true;
}

// A place inside a face and the colour it must take; nullopt for places no face covers.
struct Probe {
    Point grid;
    std::optional<uint32_t> colour;
};

TEST(FaceShading, FacesTakeLighterAndDarkerTonesOfTheFill)
{
    const uint32_t b = kBlue;
    const uint32_t light = LightenColour(b, 20);
    const uint32_t lighter = LightenColour(b, 40);
    const uint32_t dark = ScaleColour(b, 205, 255);
    const uint32_t darker = ScaleColour(b, 155, 255);
    const struct {
        const char* what;
        int entry;
        std::vector<Probe> probes;
    } cases[] = {
        {"cylinder: the top", 14, {{{4095, 682}, light}, {{4095, 4095}, {}}}},
        {"magnetic disk: the top", 53, {{{4095, 819}, light}, {{4095, 4095}, {}}}},
        {"drum: the right end", 54, {{{7372, 4095}, light}, {{4095, 4095}, {}}, {{300, 4095}, {}}}},
        {"cube: top and right",
         16,
         {{{4095, 1023}, light}, {{7168, 4095}, dark}, {{3000, 5000}, {}}}},
        {"bevel: lit from the upper left",
         17,
         {{{4095, 600}, light},
          {{7600, 4095}, darker},
          {{4095, 7600}, dark},
          {{600, 4095}, lighter},
          {{4095, 4095}, {}}}},
        {"folded corner: the flap", 18, {{{7573, 7500}, dark}, {{4095, 4095}, {}}}},
        {"smiley: the eyes", 19, {{{2867, 2867}, dark}, {{5324, 2867}, dark}, {{4095, 5000}, {}}}},
    };
    for (const auto& c : cases) {
        const QImage image = ShadeCatalogue(c.entry, FillKind::Colour, b);
        for (const Probe& probe : c.probes) {
            const uint32_t at = ColourAt(image, probe.grid);
            EXPECT_TRUE(SameColour(at, probe.colour.value_or(kBlank)))
                << c.what << " at (" << probe.grid.x << ", " << probe.grid.y << "): " << std::hex
                << at;
        }
    }
}

TEST(FaceShading, FillKindAndColourDecideWhetherAndOnWhatToShade)
{
    const Point top{4095, 1023}; // the cube's top face
    const Point side{7168, 4095};
    const struct {
        const char* what;
        FillKind fillKind;
        uint32_t fill;
        uint32_t back;
        std::optional<uint32_t> top;
        std::optional<uint32_t> side;
    } cases[] = {
        {"colour fill shades its colour", FillKind::Colour, kTan, 0x123456, LightenColour(kTan, 20),
         ScaleColour(kTan, 205, 255)},
        {"pattern fill shades its background", FillKind::Pattern, 0x123456, kTan,
         LightenColour(kTan, 20), ScaleColour(kTan, 205, 255)},
        {"default fill shades white", FillKind::White, kTan, kTan, 0xFFFFFF, 0xCDCDCD},
        {"picture fill shades white", FillKind::Picture, kNoColour, kNoColour, 0xFFFFFF, 0xCDCDCD},
        {"no colour: nothing", FillKind::Colour, kNoColour, kTan, {}, {}},
        {"pattern on no colour: nothing", FillKind::Pattern, kTan, kNoColour, {}, {}},
        {"no fill at all: nothing", FillKind::None, kTan, kTan, {}, {}},
    };
    for (const auto& c : cases) {
        const QImage image = ShadeCatalogue(16, c.fillKind, c.fill, c.back);
        EXPECT_TRUE(SameColour(ColourAt(image, top), c.top.value_or(kBlank))) << c.what;
        EXPECT_TRUE(SameColour(ColourAt(image, side), c.side.value_or(kBlank))) << c.what;
    }
}

TEST(FaceShading, OnlyThreeDimensionalShapesAreShaded)
{
    // A rectangle and a rounded rectangle have no faces, even given a cube's program.
    for (int entry : {2, 6, 28, 30, -1, 110}) {
        const QImage image =
            Shade(entry, CatalogueEntry(16)->program, FillKind::Colour, kBlue, kBlue);
        EXPECT_TRUE(SameColour(ColourAt(image, {4095, 1023}), kBlank)) << "entry " << entry;
    }
}

TEST(FaceShading, FacesFollowTheAdjustedProgram)
{
    // The cube dragged to half its depth: what was the front face now lies in the top.
    const ShapeCatalogueEntry* cube = CatalogueEntry(16);
    std::vector<uint8_t> program(cube->program.begin(), cube->program.end());
    std::vector<uint8_t> handles(cube->handles.begin(), cube->handles.end());
    const AdjustShape where{{0, 0, 8191, 8191}, 0, false, false};
    AdjustDragState drag;
    ASSERT_TRUE(AdjustBegin(drag, 16, 0, handles, where));
    ASSERT_TRUE(AdjustDrag(drag, 16, 0, {0, 2048}, where, program, handles).changed);

    const Point below{4095, 3000};
    EXPECT_TRUE(SameColour(ColourAt(ShadeCatalogue(16, FillKind::Colour, kBlue), below), kBlank));
    EXPECT_TRUE(SameColour(ColourAt(Shade(16, program, FillKind::Colour, kBlue, 0), below),
                           LightenColour(kBlue, 20)));
}

} // namespace
} // namespace figures
