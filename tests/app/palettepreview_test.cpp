#include "app/mainwindow.h"

#include "figures/control/figurewindow.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

struct Window {
    QTemporaryDir dir;
    app::MainWindow window{dir.filePath("vkl.ini"), dir.filePath("none.vkd")};
};

// Pixels in which two pictures of the same size differ.
int ChangedPixels(const QImage& before, const QImage& after)
{
    int changed = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            changed += before.pixel(x, y) != after.pixel(x, y) ? 1 : 0;
        }
    }
    return changed;
}

TEST(PalettePreview, ShowsTheShapeOfTheChosenRowAndTheCustomProgramForCategories)
{
    Window w;
    w.window.show();
    QTreeWidget& tree = w.window.PaletteTree();
    figures::FigureWindow& preview = w.window.PalettePreview();
    // Before any choice the preview holds the custom shape with the empty program.
    EXPECT_EQ(preview.GetObjects(0).GetDrawingData().size(), 2);
    const QImage blank = preview.grab().toImage();

    tree.setCurrentItem(tree.topLevelItem(0)->child(3));
    QTest::qWait(1);
    figures::FigureWindow reference;
    const QByteArray rectangle = reference.GetObjects(reference.AddShape(3)).GetDrawingData();
    ASSERT_GT(rectangle.size(), 2);
    EXPECT_EQ(preview.GetObjects(0).GetDrawingData(), rectangle);
    EXPECT_GT(ChangedPixels(blank, preview.grab().toImage()), 200);

    // A category row shows the custom program, exactly as the row "自定义" does.
    tree.setCurrentItem(tree.topLevelItem(1));
    QTest::qWait(1);
    const QByteArray custom = preview.GetObjects(0).GetDrawingData();
    EXPECT_EQ(custom.size(), 24);
    tree.setCurrentItem(tree.topLevelItem(0)->child(0));
    QTest::qWait(1);
    EXPECT_EQ(preview.GetObjects(0).GetDrawingData(), custom);
    EXPECT_GT(ChangedPixels(blank, preview.grab().toImage()), 50);
}

} // namespace

namespace {

QImage RowPicture(QTreeWidgetItem* row)
{
    return row->icon(0).pixmap(QSize(23, 20)).toImage();
}

int DarkPixels(const QImage& image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            dark += qGray(image.pixel(x, y)) < 160 ? 1 : 0;
        }
    }
    return dark;
}

TEST(PalettePreview, RowsShowTheirShapesAsTheComponentDrawsThem)
{
    Window w;
    QTreeWidget& tree = w.window.PaletteTree();
    QImage sheet(23 * 12, 20 * 10, QImage::Format_RGB32);
    sheet.fill(Qt::gray);
    int shown = 0;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        for (int j = 0; j < tree.topLevelItem(i)->childCount(); ++j) {
            QTreeWidgetItem* row = tree.topLevelItem(i)->child(j);
            const QImage picture = RowPicture(row);
            // The simple text box draws nothing but its text, and it has none.
            const bool textBox = row->text(0) == QStringLiteral("简单文本框");
            EXPECT_EQ(DarkPixels(picture) > 8, !textBox)
                << tree.topLevelItem(i)->child(j)->text(0).toStdString();
            QPainter(&sheet).drawImage(23 * (shown % 12), 20 * (shown / 12), picture);
            ++shown;
        }
    }
    EXPECT_EQ(shown, 111);
    if (const QByteArray path = qgetenv("VELKOR_PALETTE_SHEET"); !path.isEmpty()) {
        sheet.save(QString::fromLocal8Bit(path));
    }
    QTreeWidgetItem* basic = tree.topLevelItem(0);
    EXPECT_NE(RowPicture(basic->child(3)), RowPicture(basic->child(11))); // rectangle, ellipse

    // The custom row follows the custom program.
    const QImage before = RowPicture(basic->child(0));
    w.window.SetCustomPaletteProgram(QByteArray::fromHex("010000000000ff1fff1f0000"));
    EXPECT_NE(RowPicture(basic->child(0)), before);
}

} // namespace
