#include "settings/identity_fields.h"

#include "settings_fixture.h"

TEST(IdentityFields, KeysAndLimits)
{
    EXPECT_EQ(IdentityMaxLength(0), 12);
    EXPECT_EQ(IdentityMaxLength(1), 10);
    EXPECT_EQ(IdentityMaxLength(2), 10);
    for (int key : std::initializer_list<int>{',', '.', '/', '_', '\t', '\r', 0xE9})
        EXPECT_FALSE(IdentityKeyAccepted(1, key, 0)) << key;
    for (int key : std::initializer_list<int>{'A', 'z', '0', ' ', '*', '-', 8})
        EXPECT_TRUE(IdentityKeyAccepted(1, key, 0)) << key;
    EXPECT_TRUE(IdentityKeyAccepted(0, 'A', 11));
    EXPECT_FALSE(IdentityKeyAccepted(0, 'A', 12));
    EXPECT_TRUE(IdentityKeyAccepted(0, 8, 12)); // Backspace always passes
    EXPECT_FALSE(IdentityKeyAccepted(2, 'a', 10));
}

TEST(IdentityFields, PastedTextIsFilteredAndCut)
{
    EXPECT_EQ(FilterIdentityText(1, "ST,01"), "ST01");
    EXPECT_EQ(FilterIdentityText(0, "ABCDEFGHIJKLMNOP"), "ABCDEFGHIJKL");
    EXPECT_EQ(FilterIdentityText(2, "ab\tc\r\nd"), "abcd");
    EXPECT_EQ(FilterIdentityText(2, QString::fromUtf8("ﾕｰｻﾞ-1")), "-1");
    EXPECT_EQ(FilterIdentityText(2, "lower case"), "lower case");
    EXPECT_EQ(FilterIdentityText(1, ",,,,,,,,,,,,A"), "A"); // refused characters do not use up the length
}

TEST(IdentityFields, EmptyIdentityIsStoredAsStar)
{
    clsInstrument in;
    in.SetUserID(FilterIdentityText(2, ",,,"));
    EXPECT_EQ(in.UserID(), "*");
}

TEST(IdentityFields, AuditSuffixIsSafeInAFileName)
{
    EXPECT_EQ(SafeAuditSuffix("_site1"), "_site1");
    EXPECT_EQ(SafeAuditSuffix("../../etc/x"), ".etcx");
    EXPECT_EQ(SafeAuditSuffix("a\\b:c*d?e\"f<g>h|i"), "abcdefghi");
    EXPECT_EQ(SafeAuditSuffix(QStringLiteral("a\nb\x01" "c")), "abc");
    EXPECT_EQ(SafeAuditSuffix("....."), ".");
    EXPECT_EQ(SafeAuditSuffix(QString::fromUtf8("_工場")), QString::fromUtf8("_工場"));
    EXPECT_FALSE(SafeAuditSuffix("a/..\\..b").contains(".."));
}
