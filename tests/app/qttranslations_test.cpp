#include "app/qttranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

QString StandardButtonText(QMessageBox::StandardButton which)
{
    QMessageBox box;
    box.setStandardButtons(which);
    return box.button(which)->text();
}

// The application owns the translators; deleting one takes it out again.
void RemoveTranslators()
{
    for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        delete translator;
    }
}

TEST(QtTranslations, QtsOwnButtonsSpeakChineseWhenTheTranslationsAreInstalled)
{
    QTemporaryDir empty;
    EXPECT_FALSE(app::InstallQtTranslations(empty.path())) << "no file is no error";
    EXPECT_EQ(StandardButtonText(QMessageBox::Cancel), QStringLiteral("Cancel"));

    const QString installed = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QDir(installed).exists(QStringLiteral("qtbase_zh_CN.qm"))) {
        GTEST_SKIP() << "Qt's Chinese translations are not installed";
    }
    ASSERT_TRUE(app::InstallQtTranslations());
    EXPECT_EQ(StandardButtonText(QMessageBox::Cancel), QStringLiteral("取消"));
    EXPECT_EQ(StandardButtonText(QMessageBox::Save), QStringLiteral("保存"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("查找范围："));
    RemoveTranslators();
    EXPECT_EQ(StandardButtonText(QMessageBox::Cancel), QStringLiteral("Cancel"));
}

} // namespace
