#include "app/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace app {

bool InstallQtTranslations(const QString& folder)
{
    auto* app = QCoreApplication::instance();
    if (app == nullptr) {
        return false;
    }
    const QString from =
        folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    // The translator lives as long as the application, which owns it.
    auto translator = std::make_unique<QTranslator>(app);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"), from) ||
        !QCoreApplication::installTranslator(translator.get())) {
        return false;
    }
    translator.release();
    return true;
}

} // namespace app
