#include "common/errors.h"
#include "common/token.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {
clsToken SettingsTokenizer()
{
    clsToken t;
    t.ClearDelimiters();
    t.ClearStrings();
    t.ClearComments();
    t.AddComments(";");
    t.AddDelimiters("\t");
    t.AddStrings("'");
    return t;
}

QStringList TokensOf(const clsToken& t)
{
    QStringList out;
    for (int i = 0; i < t.TokenCount(); ++i)
        out << t.Tokens(i);
    return out;
}

QString Numbered(int count)
{
    QStringList parts;
    for (int i = 1; i <= count; ++i)
        parts << QString::number(i);
    return parts.join('\t');
}
}

TEST(Token, SplitsSettingsLines)
{
    struct Case {
        QString line;
        QStringList tokens;
    };
    const Case cases[] = {
        {"", {}},
        {"A\t\tB", {"A", "B"}},
        {"\tA\t", {"A"}},
        {"'A\tB'", {"A\tB"}},
        {"''", {""}},
        {"X'Y'", {"Y"}},
        {"'ABC", {"ABC"}},
        {"'a;b'", {"a;b"}},
        {";note", {}},
        {"KEY\t5;x", {"KEY"}},
        {"Font\t'Sans Serif'\t9\tTrue", {"Font", "Sans Serif", "9", "True"}},
        {"a\t''\tb", {"a", "", "b"}},
    };
    for (const Case& c : cases) {
        clsToken t = SettingsTokenizer();
        t.SetSource(c.line);
        EXPECT_EQ(TokensOf(t), c.tokens) << c.line.toStdString();
        EXPECT_EQ(t.Source(), c.line);
    }
}

TEST(Token, CommentTextGoesIntoNextSlot)
{
    clsToken t = SettingsTokenizer();
    t.SetSource(";note");
    EXPECT_EQ(t.TokenCount(), 0);
    EXPECT_EQ(t.Tokens(0), "note");
    t.SetSource("KEY\t5;x");
    EXPECT_EQ(t.TokenCount(), 1);
    EXPECT_EQ(t.Tokens(1), "x");
}

TEST(Token, SlotsBeyondCountKeepEarlierText)
{
    clsToken t = SettingsTokenizer();
    t.SetSource("A\tB\tC");
    t.SetSource("D");
    EXPECT_EQ(t.TokenCount(), 1);
    EXPECT_EQ(t.Tokens(0), "D");
    EXPECT_EQ(t.Tokens(1), "B");
    EXPECT_EQ(t.Tokens(2), "C");
}

TEST(Token, FiftyOneTokensAreAllReadable)
{
    clsToken t = SettingsTokenizer();
    t.SetSource(Numbered(51));
    EXPECT_EQ(t.TokenCount(), 51);
    EXPECT_EQ(t.Tokens(49), "50");
    EXPECT_EQ(t.Tokens(50), "51");
    EXPECT_EQ(t.Tokens(51), "");
    EXPECT_EQ(t.Tokens(-1), "");
}

TEST(Token, FiftySecondTokenRaises)
{
    clsToken t = SettingsTokenizer();
    EXPECT_THROW(t.SetSource(Numbered(52)), IndexOutOfRangeError);
    EXPECT_EQ(t.TokenCount(), 51);
    EXPECT_EQ(t.Tokens(50), "51");
    // A comment after 51 tokens has no slot either.
    EXPECT_THROW(t.SetSource(Numbered(51) + "\t;c"), IndexOutOfRangeError);
    EXPECT_EQ(t.TokenCount(), 51);
}

TEST(Token, OverlongSourceRaisesOverflow)
{
    clsToken t = SettingsTokenizer();
    t.SetSource("A\tB");
    EXPECT_THROW(t.SetSource(QString(32768, 'x')), OverflowError);
    EXPECT_EQ(t.TokenCount(), 0);
    t.SetSource(QString(32767, 'x'));
    EXPECT_EQ(t.TokenCount(), 1);
}

TEST(Token, ListsAndSlotAccess)
{
    clsToken t;
    for (int i = 0; i < 11; ++i)
        t.AddDelimiters(QString(QChar('a' + i)));
    EXPECT_EQ(t.Delimiters(9), "j");
    EXPECT_EQ(t.Delimiters(10), "");
    t.SetSource("xky"); // 'k' was the ignored eleventh delimiter
    EXPECT_EQ(TokensOf(t), QStringList{"xky"});

    // An entry of two characters never matches.
    clsToken u;
    u.AddDelimiters(",,");
    u.AddDelimiters(",");
    u.SetSource("a,b");
    EXPECT_EQ(TokensOf(u), (QStringList{"a", "b"}));
    u.SetDelimiters(1, ";"); // replace in place, count unchanged
    EXPECT_EQ(u.Delimiters(1), ";");
    u.SetSource("a;b,c");
    EXPECT_EQ(TokensOf(u), (QStringList{"a", "b,c"}));
    u.ClearDelimiters();
    EXPECT_EQ(u.Delimiters(0), "");

    EXPECT_THROW(u.SetTokens(51, "x"), IndexOutOfRangeError);
    EXPECT_THROW(u.SetTokens(-1, "x"), IndexOutOfRangeError);
    u.SetTokens(50, "last");
    EXPECT_EQ(u.Tokens(50), "last");
}

TEST(Token, LaterListWins)
{
    clsToken t;
    t.AddDelimiters(",");
    t.AddStrings(",");
    t.SetSource("a,b c,d"); // ',' is a quote here
    EXPECT_EQ(TokensOf(t), (QStringList{"b c", "d"}));
    t.AddComments(",");
    t.SetSource("a,b");
    EXPECT_EQ(t.TokenCount(), 0);
    EXPECT_EQ(t.Tokens(0), "b");
}

TEST(Token, AnswerLinesKeepEveryByte)
{
    clsToken t;
    t.AddDelimiters("\r");
    t.AddDelimiters(",");
    t.SetSourceBytes(QByteArray("RC,R,\xFF\x80x\r01,2"));
    ASSERT_EQ(t.TokenCount(), 5);
    EXPECT_EQ(t.TokenBytes(2), QByteArray("\xFF\x80x"));
    EXPECT_EQ(t.TokenBytes(4), QByteArray("2"));
}
