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

TEST(IdentityFields, WhatAnEditPutsInIsFilteredAndCut)
{
    const struct {
        int index;
        QString before, after, result;
    } cases[] = {
        // pasted into an empty box
        {1, "", "ST,01", "ST01"},
        {0, "", "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKL"},
        {2, "", "ab\tc\r\nd", "abcd"},
        {2, "", QString::fromUtf8("ﾕｰｻﾞ-1"), "-1"},
        {2, "", "lower case", "lower case"},
        {1, "", ",,,,,,,,,,,,A", "A"}, // refused characters use up no room
        // what the box already showed stays, whatever it holds
        {2, "O'Neil", "O'Neil2", "O'Neil2"},
        {2, "O'Neil", "O'Ne,il", "O'Neil"},
        {2, "O'Neil", "O'Nei", "O'Nei"},                   // a deletion
        {0, "SN12345678901", "SN123456789012", "SN12345678901"}, // no room left
        {0, "SN12345678901", "SN1234567890", "SN1234567890"},
        {0, "ABCDEFGHIJ", "ABCDxyzEFGHIJ", "ABCDxyEFGHIJ"},       // cut to the room left
        {1, "ABCDEFGHIJ", "AB-CD", "AB-CD"},                     // a selection replaced
        {1, "ABC,DEFGHI", "AB,DEFGHI", "AB,DEFGHI"},            // untouched rest keeps its ","
    };
    for (const auto& c : cases) {
        bool refused = false;
        EXPECT_EQ(IdentityEditResult(c.index, c.before, c.after, nullptr, &refused), c.result)
            << c.before.toStdString() << " -> " << c.after.toStdString();
        EXPECT_EQ(refused, c.result != c.after) << c.after.toStdString();
    }

    // The cursor stays behind what was kept.
    int cursor = 4;
    EXPECT_EQ(IdentityEditResult(1, "AB", "A,,,B", &cursor), "AB");
    EXPECT_EQ(cursor, 1);
    cursor = 3;
    EXPECT_EQ(IdentityEditResult(1, "AB", "A,xB", &cursor), "AxB");
    EXPECT_EQ(cursor, 2);
}

TEST(IdentityFields, EmptyIdentityIsStoredAsStar)
{
    clsInstrument in;
    in.SetUserID(IdentityEditResult(2, "", ",,,"));
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
