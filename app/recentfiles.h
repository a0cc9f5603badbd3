#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QMenu;

namespace app {

// The documents opened or saved last, newest first, kept between runs in an INI file of
// their own beside the settings file (paths are text of any script, which the settings
// file's code page cannot hold).
class RecentFiles {
public:
    static constexpr int kMaxFiles = 8;

    explicit RecentFiles(const QString& iniPath) : iniPath_(iniPath) {}

    QStringList Files() const;
    // Puts the file first; the oldest falls off beyond kMaxFiles.
    void Add(const QString& path);
    void Remove(const QString& path);
    void Clear();

    // Rebuilds menu: one numbered item per file (open is called with its path), then an
    // item that empties the list; everything is disabled when the list is empty.
    void FillMenu(QMenu& menu, const std::function<void(const QString&)>& open);

private:
    void Store(const QStringList& files);

    QString iniPath_;
};

} // namespace app
