// Writes the seed corpus of the picture fuzz target into DIR/picture: one small file of
// each raster kind the picture holder reads, GIFs whose codes widen and clear, and files
// whose headers claim far more than their data holds.
#include "tests/figures/render/pictures/picturefiles.h"
#include "tests/support/hostilepictures.h"

#include <QCoreApplication>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

using figures::picturetest::Bytes;

void WriteSeed(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("usage: makepictureseeds DIR\n", stderr);
        return 2;
    }
    // The image writers of plugins (JPEG) are found through the application.
    QCoreApplication app(argc, argv);
    namespace pt = figures::picturetest;
    const std::filesystem::path dir = std::filesystem::path(argv[1]) / "picture";
    std::filesystem::create_directories(dir);
    const QImage quadrants = pt::Quadrants(12, 10);
    WriteSeed(dir / "quadrants.bmp", pt::Encode(quadrants, "bmp"));
    WriteSeed(dir / "quadrants.dib", pt::PackedDib(quadrants));
    WriteSeed(dir / "quadrants.jpg", pt::Encode(pt::Coordinates(24, 16), "jpeg", 90));
    WriteSeed(dir / "two-entries.ico", pt::IconFile({quadrants, pt::Quadrants(32, 32)}));
    WriteSeed(dir / "cursor.cur", pt::IconFile({quadrants}, 2));
    WriteSeed(dir / "checker.gif", pt::Gif(10, 8));
    WriteSeed(dir / "widening-codes.gif", testsupport::SolidGif(40, 30, 900));
    WriteSeed(dir / "cleared-codes.gif", testsupport::SolidGif(40, 30, 1100, 20));
    WriteSeed(dir / "claiming.gif", testsupport::ClaimingGif(7000, 7000));
    WriteSeed(dir / "claiming-padded.gif", testsupport::ClaimingGif(300, 200, 0, 30));
    WriteSeed(dir / "small-image.gif", testsupport::SmallImageGif(300, 200, 40, 150));
    WriteSeed(dir / "small-image-top.gif", testsupport::SmallImageGif(300, 200, 0, 0));
    return 0;
}
