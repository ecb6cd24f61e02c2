// Qt's own texts follow the language of the string table in use.
#include "common/qt_translations.h"
#include "common/resstrings.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

// The text Qt gives its standard Cancel button.
QString QtCancel()
{
    return QCoreApplication::translate("QPlatformTheme", "Cancel");
}

} // namespace

TEST(QtTranslations, StandardButtonsFollowTheTableInUse)
{
    SetResLanguage(ResLanguage::Japanese);
    ASSERT_TRUE(InstallQtTranslations()) << "Qt's Japanese catalogue is missing (qt6-translations-l10n)";
    EXPECT_NE(QtCancel(), QStringLiteral("Cancel"));
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));

    // Back to English: Qt's own texts again.
    SetResLanguage(ResLanguage::English);
    EXPECT_FALSE(InstallQtTranslations());
    EXPECT_EQ(QtCancel(), QStringLiteral("Cancel"));
    SetResLanguage(ResLanguage::System);
}
