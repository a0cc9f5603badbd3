#include "app/recentfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace app {

namespace {

const QString kKey = QStringLiteral("recent/files");

} // namespace

QStringList RecentFiles::Files() const
{
    QSettings settings(iniPath_, QSettings::IniFormat);
    QStringList files = settings.value(kKey).toStringList();
    files.removeAll(QString());
    return files.mid(0, kMaxFiles);
}

void RecentFiles::Add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = Files();
    files.removeAll(absolute);
    files.prepend(absolute);
    Store(files.mid(0, kMaxFiles));
}

void RecentFiles::Remove(const QString& path)
{
    QStringList files = Files();
    if (files.removeAll(QFileInfo(path).absoluteFilePath()) > 0) {
        Store(files);
    }
}

void RecentFiles::Clear()
{
    Store({});
}

void RecentFiles::Store(const QStringList& files)
{
    QSettings settings(iniPath_, QSettings::IniFormat);
    settings.setValue(kKey, files);
}

void RecentFiles::FillMenu(QMenu& menu, const std::function<void(const QString&)>& open)
{
    menu.clear();
    const QStringList files = Files();
    for (int i = 0; i < files.size(); ++i) {
        const QString& path = files[i];
        QAction* item = menu.addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(
                QDir::toNativeSeparators(path).replace(QLatin1Char('&'), QLatin1String("&&"))));
        QObject::connect(item, &QAction::triggered, &menu, [open, path] { open(path); });
    }
    menu.addSeparator();
    QAction* clear = menu.addAction(QStringLiteral("清除列表"));
    clear->setEnabled(!files.isEmpty());
    QObject::connect(clear, &QAction::triggered, &menu, [this] { Clear(); });
}

} // namespace app
