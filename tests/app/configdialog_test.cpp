#include "app/configdialog.h"
#include "app/mainwindow.h"
#include "app/profilefile.h"

#include "figures/control/figurewindow.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

std::string Gbk(const QString& text)
{
    QStringEncoder encoder("GBK");
    return QByteArray(encoder.encode(text)).toStdString();
}

// Opens the configuration from the menu and lets the function work the dialog.
void Configure(app::MainWindow& window, const std::function<void(app::ConfigDialog&)>& work)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<app::ConfigDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no configuration dialog";
            return;
        }
        seen = true;
        work(*dialog);
    });
    for (QAction* top : window.menuBar()->actions()) {
        if (top->text() == QStringLiteral("&I.配置")) {
            top->menu()->actions().front()->trigger();
        }
    }
    EXPECT_TRUE(seen);
}

QRadioButton* Option(app::ConfigDialog& dialog, const char* group, int which)
{
    return dialog.findChild<QFrame*>(QString::fromUtf8(group))->findChildren<QRadioButton*>()[which];
}

void Click(app::ConfigDialog& dialog, const char* button)
{
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromUtf8(button)), Qt::LeftButton);
}

TEST(ConfigDialog, WritesAllSixKeysOnOkAndTheNextStartRestoresThem)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("vkl.ini");
    {
        app::MainWindow window(ini, dir.filePath("none.vkd"));
        Configure(window, [](app::ConfigDialog& dialog) {
            dialog.SetPickedColour(0x00336699);
            dialog.findChild<QComboBox*>(QStringLiteral("组合框1"))->setCurrentIndex(2);
            auto* zoom = dialog.findChild<QComboBox*>(QStringLiteral("组合框2"));
            zoom->setEditText(QStringLiteral("７５abc"));
            QTest::mouseClick(Option(dialog, "分组框1", 1), Qt::LeftButton);
            QTest::mouseClick(Option(dialog, "分组框3", 1), Qt::LeftButton);
            Click(dialog, "按钮1");
        });
        EXPECT_EQ(window.Canvas().BackColour(), 0x00336699u);
        EXPECT_EQ(window.Canvas().Zoom(), 75);
    }
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const app::ProfileFile profile(file.readAll().toStdString());
    const std::string section = Gbk(QStringLiteral("属性"));
    const std::pair<QString, QString> keys[] = {
        {QStringLiteral("显示比例"), QStringLiteral("75")},
        {QStringLiteral("背景颜色"), QString::number(0x00336699)},
        {QStringLiteral("边框"), QStringLiteral("2")},
        {QStringLiteral("允许滚动"), QStringLiteral("假")},
        {QStringLiteral("允许右键菜单"), QStringLiteral("假")},
        {QStringLiteral("允许编辑文本"), QStringLiteral("真")},
    };
    for (const auto& [key, value] : keys) {
        EXPECT_EQ(profile.Value(section, Gbk(key)), Gbk(value)) << key.toStdString();
    }

    app::MainWindow next(ini, dir.filePath("none.vkd"));
    figures::FigureWindow& canvas = next.Canvas();
    EXPECT_EQ(canvas.Zoom(), 75);
    EXPECT_EQ(canvas.BackColour(), 0x00336699u);
    EXPECT_EQ(canvas.BorderStyle(), 2);
    EXPECT_FALSE(canvas.ScrollBars());
    EXPECT_FALSE(canvas.PopupMenu());
    EXPECT_TRUE(canvas.TextEditing());

    // Reopened, the dialog shows the canvas's colour and border but "100" and every
    // option on; OK unchanged therefore turns everything back on at 100 percent.
    Configure(next, [](app::ConfigDialog& dialog) {
        EXPECT_EQ(dialog.PickedColour(), 0x00336699u);
        EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("组合框1"))->currentIndex(), 2);
        EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("组合框2"))->currentText(),
                  QStringLiteral("100"));
        for (const char* group : {"分组框1", "分组框2", "分组框3"}) {
            EXPECT_TRUE(Option(dialog, group, 0)->isChecked()) << group;
            EXPECT_EQ(Option(dialog, group, 0)->text(), QStringLiteral("真 "));
        }
        Click(dialog, "按钮1");
    });
    EXPECT_EQ(canvas.Zoom(), 100);
    EXPECT_TRUE(canvas.ScrollBars());
    EXPECT_TRUE(canvas.PopupMenu());
}

TEST(ConfigDialog, CancelChangesNeitherTheCanvasNorTheFile)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("vkl.ini");
    app::MainWindow window(ini, dir.filePath("none.vkd"));
    Configure(window, [](app::ConfigDialog& dialog) {
        dialog.SetPickedColour(0x000000FF);
        dialog.findChild<QComboBox*>(QStringLiteral("组合框1"))->setCurrentIndex(0);
        Click(dialog, "按钮2");
    });
    EXPECT_EQ(window.Canvas().BackColour(), 0x00FFFFFFu);
    EXPECT_EQ(window.Canvas().BorderStyle(), 3);
    EXPECT_FALSE(QFile::exists(ini));
}

} // namespace
