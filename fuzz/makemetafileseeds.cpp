// Writes the seed corpora of the metafile fuzz targets into DIR/wmf and DIR/emf: the
// pictures of the player's reference tests, one family of records each, and a few
// files of single records.
#include "tests/figures/render/pictures/metafile/emfplusfillscenes.h"
#include "tests/figures/render/pictures/metafile/emfplusscenes.h"
#include "tests/figures/render/pictures/metafile/emfplusstrokescenes.h"
#include "tests/figures/render/pictures/metafile/fontscenes.h"
#include "tests/figures/render/pictures/metafile/metafilescenes.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace figures::metafiletest;

void WriteSeed(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("usage: makemetafileseeds DIR\n", stderr);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::filesystem::create_directories(root / "wmf");
    std::filesystem::create_directories(root / "emf");

    WriteSeed(root / "wmf" / "shapes", WmfShapes());
    WriteSeed(root / "wmf" / "text", WmfText());
    WriteSeed(root / "wmf" / "bitmaps", WmfBitmaps());
    WriteSeed(root / "wmf" / "clip-mapping", WmfClipAndMapping());
    WriteSeed(root / "wmf" / "western-text", WmfWesternText());
    WriteSeed(root / "wmf" / "plain", WmfPlain());
    WriteSeed(root / "wmf" / "plain-metric", WmfPlainMetric());
    WriteSeed(root / "wmf" / "plain-turned-up", WmfBuilder(0, 0, 1, 1)
                                                    .SetWindowOrg(0, 100)
                                                    .SetWindowExt(100, -100)
                                                    .CreateBrush(0, kRed)
                                                    .SelectObject(0)
                                                    .Ellipse(10, 10, 90, 90)
                                                    .FinishPlain());
    WriteSeed(root / "wmf" / "region-fill",
              WmfBuilder(0, 0, 100, 100, 96)
                  .CreateRegion({QRect(0, 0, 40, 40), QRect(50, 50, 40, 40)})
                  .CreateBrush(2, kRed, 1)
                  .Words(0x0228, {0, 1})
                  .Words(0x0429, {0, 1, 3, 3})
                  .Words(0x012B, {0})
                  .Words(0x012A, {0})
                  .Words(0x0220, {5, 5})
                  .SelectClipRegion(0)
                  .Finish());

    WriteSeed(root / "emf" / "shapes", EmfShapes());
    WriteSeed(root / "emf" / "paths-transforms", EmfPathsAndTransforms());
    WriteSeed(root / "emf" / "bitmaps", EmfBitmaps());
    WriteSeed(root / "emf" / "text", EmfText());
    WriteSeed(root / "emf" / "plus-only", EmfPlusOnly());
    WriteSeed(root / "emf" / "plus-dual", EmfPlusDual());
    WriteSeed(root / "emf" / "plus-images", EmfPlusImages());
    WriteSeed(root / "emf" / "plus-regions-clips", EmfPlusPicture({AddRegionsAndClips}));
    WriteSeed(root / "emf" / "plus-brushes", EmfPlusPicture({AddBrushes}));
    WriteSeed(root / "emf" / "plus-positioned-text", EmfPlusPicture({AddPositionedText}));
    WriteSeed(root / "emf" / "plus-strokes", plus::EmfPlusStrokes());
    WriteSeed(root / "emf" / "plus-nested", plus::EmfPlusNested());
    {
        // Glyph numbers in a face installed under its own name.
        EmfPlusRecords p;
        p.Header(false).Font(1, 30, 2, 0, u"DejaVu Sans");
        plus::DrawDriverString(p, 1, 0xFF000000, 0, u"\x002A\x004F\x0050\x2000",
                               {{10, 40}, {40, 40}, {70, 40}, {100, 40}});
        WriteSeed(root / "emf" / "plus-glyph-numbers",
                  Emf().Comment(p.TakeComment()).Finish());
    }
    WriteSeed(root / "emf" / "comment-and-pixels",
              Emf()
                  .Comment({'E', 'M', 'F', '+', 1, 0x40, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0})
                  .Ints(15, {10, 10, 0xFF})
                  .Ints(13, {3, 3})
                  .Ints(26, {4, 4})
                  .Ints(58, {0x41200000})
                  .Finish());
    return 0;
}
