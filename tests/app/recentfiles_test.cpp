#include "app/recentfiles.h"

#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(RecentFiles, KeepsTheNewestEightFirstAcrossRuns)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("recent.ini");
    const auto path = [&](int i) { return dir.filePath(QStringLiteral("图%1.vkd").arg(i)); };
    {
        app::RecentFiles recent(ini);
        for (int i = 1; i <= 10; ++i) {
            recent.Add(path(i));
        }
        recent.Add(path(5)); // opened again: moves to the front
    }
    app::RecentFiles recent(ini);
    EXPECT_EQ(recent.Files(), (QStringList{path(5), path(10), path(9), path(8), path(7), path(6),
                                           path(4), path(3)}));
    recent.Remove(path(10));
    EXPECT_EQ(recent.Files().mid(0, 2), (QStringList{path(5), path(9)}));

    // The menu: one numbered item per file, the clearing item last.
    QMenu menu;
    QStringList opened;
    recent.FillMenu(menu, [&](const QString& file) { opened << file; });
    const QList<QAction*> items = menu.actions();
    ASSERT_EQ(items.size(), 7 + 2);
    EXPECT_TRUE(items[0]->text().startsWith(QStringLiteral("&1 ")));
    items[1]->trigger();
    EXPECT_EQ(opened, QStringList{path(9)});
    items.last()->trigger();
    EXPECT_TRUE(recent.Files().isEmpty());
    recent.FillMenu(menu, [](const QString&) {});
    EXPECT_FALSE(menu.actions().last()->isEnabled());
}

} // namespace
