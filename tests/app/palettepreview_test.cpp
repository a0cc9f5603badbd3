#include "app/mainwindow.h"

#include "figures/control/figurewindow.h"

#include <QImage>
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
