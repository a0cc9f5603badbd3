// Text of both metafile models shows every character some installed font has, whatever
// face the record names: none comes out as the missing-glyph box.
#include "figures/render/pictures/metafile/metafileplayer.h"
#include "tests/figures/render/pictures/metafile/emfplusscenes.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace figures {
namespace {

using namespace metafiletest;

// One character drawn by the older model's text record in face, black on white.
QImage OlderModel(const std::u16string& face, char16_t c)
{
    EmfBuilder b = Emf();
    b.CreateFont(1, -40, 400, face == u"宋体" ? 134 : 0, face).SelectObject(1);
    b.SetBkMode(1).SetTextColor(kBlack).ExtTextOutW(10, 10, std::u16string(1, c));
    QImage image(96, 72, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PlayMetafile(b.Finish(), painter, QRectF(0, 0, 384, 288));
    return image;
}

// Likewise through the newer model's string record.
QImage NewerModel(const std::u16string& face, char16_t c)
{
    EmfPlusRecords p;
    p.Header(false).Font(1, 40, 2, 0, face);
    p.DrawString(1, 0xFF000000, 99, QRectF(10, 10, 0, 0), std::u16string(1, c)).EndOfFile();
    QImage image(96, 72, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PlayMetafile(Emf().Comment(p.TakeComment()).Finish(), painter, QRectF(0, 0, 384, 288));
    return image;
}

TEST(MetafileTextCoverage, MixedScriptsShowNoMissingGlyphBoxes)
{
    // Chinese, Latin with accents and the Western code page's punctuation, Greek and
    // mathematical signs.
    const std::u16string mixed = u"面积中文AgÄé€“”–αβγΔΩμπ≤≥∑∫√∞";
    // A code point no font has: what the missing-glyph box looks like in each face.
    constexpr char16_t kUnassigned = 0x0378;
    for (const std::u16string face :
         {u"Times New Roman", u"Arial", u"Courier New", u"Tahoma", u"宋体", u"No Such Face"}) {
        for (const auto draw : {OlderModel, NewerModel}) {
            const QImage box = draw(face, kUnassigned);
            const QImage blank = draw(face, u' ');
            for (const char16_t c : mixed) {
                const QImage glyph = draw(face, c);
                const std::string what = QString::fromStdU16String(face).toStdString() + " " +
                                         QString(QChar(c)).toStdString();
                EXPECT_NE(glyph, box) << what;
                EXPECT_NE(glyph, blank) << what;
            }
        }
    }
}

} // namespace
} // namespace figures
