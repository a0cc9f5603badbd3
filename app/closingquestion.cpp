#include "app/closingquestion.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

namespace app {

namespace {

QUrl InstalledPage(const QString& name)
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    return QUrl::fromLocalFile(
        QDir::cleanPath(programDir.filePath(QStringLiteral("../share/doc/velkor/") + name)));
}

} // namespace

QUrl ReadmePage()
{
    return InstalledPage(QStringLiteral("README.md"));
}

QUrl UserGuidePage()
{
    return InstalledPage(QStringLiteral("userguide.html"));
}

ClosingQuestion::Answer ClosingQuestion::Ask(QWidget* parent, bool& dontAskAgain)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("访问官网"),
                    QStringLiteral("要进一步了解 Velkor图形绘制设计器 吗？\n\n"
                                   "选“是”打开项目的自述文件（README），\n"
                                   "选“否”打开用户指南，\n"
                                   "选“取消”直接退出。"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    auto* check = new QCheckBox(QStringLiteral("不再询问"));
    box.setCheckBox(check);
    const int answer = box.exec();
    dontAskAgain = check->isChecked();
    switch (answer) {
    case QMessageBox::Yes: return Answer::Readme;
    case QMessageBox::No: return Answer::UserGuide;
    default: return Answer::Nothing;
    }
}

void ClosingQuestion::OpenPage(QWidget* parent, const QUrl& page)
{
    const QString caption = QStringLiteral("Velkor图形绘制设计器");
    if (page.isLocalFile() && !QFileInfo::exists(page.toLocalFile())) {
        QMessageBox::warning(parent, caption,
                             QStringLiteral("找不到文档 %1。").arg(page.toLocalFile()));
    } else if (!QDesktopServices::openUrl(page)) {
        QMessageBox::warning(parent, caption,
                             QStringLiteral("无法打开 %1：没有可用的浏览器。").arg(page.toString()));
    }
}

} // namespace app
