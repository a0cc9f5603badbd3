// Enhanced metafiles drawing through the newer model's records in comments.
#include "figures/render/pictures/metafile/metafileplayer.h"
#include "tests/figures/render/pictures/metafile/emfplusscenes.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace figures {
namespace {

using namespace metafiletest;

TEST(EmfPlusPictures, OnlyFilesWithoutTheOlderDrawingPlayTheNewerRecords)
{
    // Drawn only through the newer records: the yellow rectangle at (10, 10).
    const QImage only = Played(EmfPlusOnly());
    EXPECT_EQ(only.pixel(60, 40), qRgb(255, 255, 0));
    EXPECT_EQ(only.pixel(180, 40), qRgb(255, 0, 0)) << "the filled ellipse";
    EXPECT_EQ(only.pixel(310, 220), qRgb(0, 160, 0)) << "the square turned by the world";
    // A dual file: the older records' blue square, not the newer ones' red page.
    const QImage dual = Played(EmfPlusDual());
    EXPECT_EQ(dual.pixel(50, 50), qRgb(0, 0, 255));
    EXPECT_EQ(dual.pixel(200, 200), qRgb(255, 255, 255));
}

TEST(EmfPlusPictures, DamagedRecordsAreSkippedWithoutReadingOutside)
{
    auto only = [](const std::function<void(EmfPlusRecords&)>& add) {
        EmfPlusRecords p;
        p.Header(false);
        add(p);
        p.FillRects(0xFF00FF00, true, {QRectF(300, 200, 20, 20)});
        return Emf().Comment(p.TakeComment()).Finish();
    };
    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"a count beyond the record", only([](EmfPlusRecords& p) {
             p.Record(0x400A, 0x8000, {0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
         })},
        {"a brush slot never filled",
         only([](EmfPlusRecords& p) { p.FillRects(9, false, {QRectF(0, 0, 9, 9)}); })},
        {"an object slot beyond the table",
         only([](EmfPlusRecords& p) { p.SolidBrush(200, 0xFF000000); })},
        {"a pen announcing more data than it has", only([](EmfPlusRecords& p) {
             p.Record(0x4008, 0x0201, {2, 0x10, 0xC0, 0xDB, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0});
         })},
        {"a path whose types are missing", only([](EmfPlusRecords& p) {
             Bytes d;
             for (uint32_t v : {0xDBC01002u, 1000u, 0u}) {
                 Put32(d, v);
             }
             p.Record(0x4008, 0x0303, d).FillPath(3, 0xFF000000);
         })},
        {"a string longer than its record", only([](EmfPlusRecords& p) {
             p.Font(1, 20, 2, 0, u"Arial");
             Bytes d;
             for (uint32_t v : {0xFF000000u, 0u, 100000u, 0u, 0u, 0u, 0u}) {
                 Put32(d, v);
             }
             p.Record(0x401C, 0x8001, d);
         })},
        {"bitmap pixels beyond the record", only([](EmfPlusRecords& p) {
             Bytes d;
             for (uint32_t v : {0xDBC01002u, 1u, 1000u, 1000u, 4000u, 0x0026200Au, 0u}) {
                 Put32(d, v);
             }
             p.Record(0x4008, 0x0502, d).DrawImage(2, QRectF(0, 0, 9, 9), QRectF(0, 0, 99, 99));
         })},
        {"an object in parts announcing more than an object may be", only([](EmfPlusRecords& p) {
             Bytes d;
             Put32(d, 0x7FFFFFFF);
             Put32(d, 0xDBC01002u);
             p.Record(0x4008, 0x8502, d).Record(0x4008, 0x8502, d);
         })},
        {"a string of glyphs too large to rasterise", only([](EmfPlusRecords& p) {
             p.Font(1, 1e6f, 0, 0, u"Arial");
             p.DrawString(1, 0xFF000000, 99, QRectF(0, 0, 100, 100), u"Big");
         })},
        {"a world of infinities", only([](EmfPlusRecords& p) {
             p.SetWorldTransform(QTransform(1e30, 0, 0, 1e30, 0, 0)).ResetWorldTransform();
         })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool played = false;
        const QImage image = Played(c.bytes, &played);
        EXPECT_TRUE(played);
        EXPECT_EQ(image.pixel(310, 210), qRgb(0, 255, 0)) << "the records after it still play";
    }
    // A record size running past its comment ends the comment's records there.
    EmfPlusRecords p;
    p.Header(false).FillRects(0xFF00FF00, true, {QRectF(300, 200, 20, 20)});
    Bytes comment = p.TakeComment();
    Set32(comment, 4 + 28 + 4, 0xFFFF);
    EXPECT_EQ(Played(Emf().Comment(comment).Finish()).pixel(310, 210), qRgb(255, 255, 255));
}

} // namespace
} // namespace figures
