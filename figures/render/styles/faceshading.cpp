#include "figures/render/styles/faceshading.h"

#include "figures/render/shapes/catalogue.h"
#include "figures/render/colour.h"
#include "figures/render/drawcontext.h"
#include "figures/render/painterpathsink.h"

#include <QPainterPath>

namespace figures {

namespace {

// How a face's colour derives from the base colour: lightened toward white by a
// percentage, or darkened by a factor of num / 255.
enum class Tone { Lighter20, Lighter40, Darker205, Darker155 };

struct Face {
    int first; // 0-based step index
    int count;
    Tone tone;
};

// The cylinder's top (or the drum's visible end) is steps 5..9 of all three programs.
constexpr Face kCylinderFaces[] = {{5, 5, Tone::Lighter20}};
constexpr Face kCubeFaces[] = {{7, 5, Tone::Lighter20}, {12, 5, Tone::Darker205}};
// Light falls from the upper left: the top and left faces catch it, the right and bottom
// faces turn away.
constexpr Face kBevelFaces[] = {{1, 5, Tone::Lighter20},
                                {6, 5, Tone::Darker155},
                                {11, 5, Tone::Darker205},
                                {16, 5, Tone::Lighter40}};
constexpr Face kFoldFaces[] = {{6, 4, Tone::Darker205}};
constexpr Face kSmileyFaces[] = {{1, 2, Tone::Darker205}};

std::span<const Face> FacesOf(int entry)
{
    switch (entry) {
    case 14:
    case 53:
    case 54: return kCylinderFaces;
    case 16: return kCubeFaces;
    case 17: return kBevelFaces;
    case 18: return kFoldFaces;
    case 19: return kSmileyFaces;
    default: return {};
    }
}

uint32_t FaceColour(uint32_t base, Tone tone)
{
    switch (tone) {
    case Tone::Lighter20: return LightenColour(base, 20);
    case Tone::Lighter40: return LightenColour(base, 40);
    case Tone::Darker205: return ScaleColour(base, 205, 255);
    case Tone::Darker155: return ScaleColour(base, 155, 255);
    }
    return base;
}

} // namespace

void DrawFaceShading(const DrawContext& dc, int entry, std::span<const uint8_t> program,
                     const ShapeFrame& frame, FillKind fillKind, uint32_t fillColour,
                     uint32_t fillBackColour)
{
    const ShapeCatalogueEntry* catalogued = CatalogueEntry(entry);
    if (catalogued == nullptr || (catalogued->attributes & CA_SHADED) == 0 ||
        fillKind == FillKind::None) {
        return;
    }
    // Kinds other than colour and pattern have no colour of their own to withhold the
    // shading; they shade on white.
    const uint32_t own = fillKind == FillKind::Pattern  ? fillBackColour
                         : fillKind == FillKind::Colour ? fillColour
                                                        : 0;
    if (own == kNoColour) {
        return;
    }
    const bool ownColour = fillKind == FillKind::Pattern || fillKind == FillKind::Colour;
    const uint32_t base = ownColour ? own : 0xFFFFFF;
    // Faces are painted every frame; one path of the context serves them all.
    const DrawContext::ScratchPath face(dc);
    for (const Face& f : FacesOf(entry)) {
        face->clear();
        PainterPathSink sink(*face);
        RunShapeSteps(program, frame, f.first, f.count, ProgramMode::Outline, sink);
        dc.FillPath(*face, FaceColour(base, f.tone));
    }
}

} // namespace figures
