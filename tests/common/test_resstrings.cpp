#include "common/errors.h"
#include "common/resstrings.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
const QString kFixtures = QStringLiteral(PELKAR_SOURCE_DIR "/tests/common/fixtures/");

class ResStrings : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadResTableFile(ResLanguage::English, kFixtures + "strings_en.tsv"));
        ASSERT_TRUE(LoadResTableFile(ResLanguage::Japanese, kFixtures + "strings_ja.tsv"));
        SetResLanguage(ResLanguage::English);
    }
    void TearDown() override
    {
        ResetResTables();
        SetResLanguage(ResLanguage::System);
    }
};
}

TEST_F(ResStrings, ExpandsPlaceholders)
{
    EXPECT_EQ(GetResString(99), "It has already started.");
    EXPECT_EQ(GetResString(2001, "GAS"), "New Data! Name - GAS");
    EXPECT_EQ(GetResString(2001), "New Data! Name - ");
    EXPECT_EQ(GetResString(5570, "Dump.dat", "00:01:02"),
              "--- Dump List Download Finished. ---(Dump.dat[Time = 00:01:02])\r\n");
    EXPECT_EQ(GetResString(6028, 1, 2.5, 3.25f, true), "1\t2.5\t3.25\tTrue\t ... FAIL.");
    EXPECT_EQ(GetResString(30000), "Odd "); // "~ " takes its blank with it
    EXPECT_EQ(GetResString(30001, "unused"), "No placeholder");
}

TEST_F(ResStrings, ExpansionTable)
{
    struct Case {
        QString text;
        QStringList args;
        QString result;
    };
    const Case cases[] = {
        {"plain", {}, "plain"},
        {"a~cb~Cc", {}, "a\r\nb\r\nc"},
        {"a~tb~Tc", {}, "a\tb\tc"},
        {"~2~1~2", {"x", "y"}, "yxy"},
        {"[~0][~3][~9]", {"x"}, "[][][]"},
        {"a~ b~!c~~d", {}, "abcd"},
        {"end~", {}, "end"},
        {"~", {}, ""},
        // Arguments are inserted as they are, never expanded again.
        {"File ~1 done", {"SERIAL~1.LOG"}, "File SERIAL~1.LOG done"},
        {"~1~2", {"~2~c", "~1"}, "~2~c~1"},
        {"~1", {"~"}, "~"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExpandResText(c.text, c.args), c.result) << c.text.toStdString();
}

TEST_F(ResStrings, LanguageChoosesTable)
{
    EXPECT_EQ(CurrentResLanguage(), ResLanguage::English);
    EXPECT_EQ(GetResString(101), "EN");
    SetResLanguage(ResLanguage::Japanese);
    EXPECT_EQ(CurrentResLanguage(), ResLanguage::Japanese);
    EXPECT_EQ(GetResString(101), "JP");
    EXPECT_EQ(GetResString(2001, "CO"), QString::fromUtf8("新しいデータ！ 名前 - CO"));
    // An id the Japanese table lacks comes from the English one.
    EXPECT_EQ(GetResString(20015), "module finder error");
}

TEST_F(ResStrings, MissingIdRaises)
{
    EXPECT_FALSE(HasResString(12345));
    EXPECT_TRUE(HasResString(101));
    EXPECT_THROW(GetResString(12345), StringNotFoundError);
    EXPECT_FALSE(LoadResTableFile(ResLanguage::English, kFixtures + "no-such-table.tsv"));
    EXPECT_EQ(GetResString(101), "EN"); // a failed load keeps the table
}

TEST(ResStringsEmbedded, TablesOfTheProgramAreBuiltIn)
{
    ResetResTables();
    const QString dir = QStringLiteral(PELKAR_STRINGS_DIR "/");
    ASSERT_TRUE(QFileInfo::exists(dir + "en.tsv")) << "no en.tsv in " PELKAR_STRINGS_DIR;
    ASSERT_TRUE(QFileInfo::exists(dir + "ja.tsv")) << "no ja.tsv in " PELKAR_STRINGS_DIR;
    SetResLanguage(ResLanguage::English);
    EXPECT_EQ(GetResString(101), "EN");
    SetResLanguage(ResLanguage::Japanese);
    EXPECT_EQ(GetResString(101), "JP");
    SetResLanguage(ResLanguage::System);
}
