#include "app/icontheme.h"

#include <QIcon>
#include <QStandardPaths>

namespace app {

void UseInstalledIconTheme()
{
    if (!QIcon::themeName().isEmpty() && QIcon::themeName() != QLatin1String("hicolor")) {
        return;
    }
    QStringList paths = QIcon::themeSearchPaths();
    const QStringList system =
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                  QStandardPaths::LocateDirectory);
    for (const QString& folder : system) {
        if (!paths.contains(folder)) {
            paths << folder;
        }
    }
    QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(QStringLiteral("breeze"));
}

} // namespace app
