#include "view_fixture.h"

#include "views/trend_search.h"

#include "common/errors.h"

class TrendSearchTest : public ViewDbTest {
protected:
    qint64 Search(qint64 exclude = 1, const QString& serial = QStringLiteral("SN100"), int before = -10,
                  int after = 10)
    {
        return TrendSearch(LogDatabasePath(), exclude, serial, moment, before, after);
    }
    const QDateTime moment = MakeDate(2024, 5, 17, 12, 0, 0);
};

TEST_F(TrendSearchTest, ChoosesTheNearestAlarmTrendInTheWindow)
{
    Head(1, 1, QStringLiteral("SN100"), moment);          // the interval trend shown
    Head(10, 2, QStringLiteral("SN100"), moment.addSecs(-5));
    Head(11, 2, QStringLiteral("SN100"), moment.addSecs(3));
    Head(12, 2, QStringLiteral("OTHER"), moment);         // another instrument
    Head(13, 3, QStringLiteral("SN100"), moment);         // not an alarm trend
    EXPECT_EQ(Search(), 11);
    EXPECT_EQ(Search(11), 10);                            // the shown record is excluded
    EXPECT_EQ(Search(1, QStringLiteral("OTHER")), 12);
    EXPECT_EQ(Search(1, QStringLiteral("NONE")), -1);
}

TEST_F(TrendSearchTest, EqualDistanceTakesTheEarlierAndBoundsAreIncluded)
{
    Head(20, 2, QStringLiteral("SN100"), moment.addSecs(4));
    Head(21, 2, QStringLiteral("SN100"), moment.addSecs(-4));
    EXPECT_EQ(Search(), 21);
    EXPECT_EQ(Search(1, QStringLiteral("SN100"), 4, 4), 20);   // lower bound included
    EXPECT_EQ(Search(1, QStringLiteral("SN100"), -4, -4), 21); // upper bound included
    EXPECT_EQ(Search(1, QStringLiteral("SN100"), -3, 3), -1);
}

TEST_F(TrendSearchTest, NeverSixHundredSecondsAway)
{
    Head(30, 2, QStringLiteral("SN100"), moment.addSecs(600));
    EXPECT_EQ(Search(1, QStringLiteral("SN100"), -1000, 1000), -1);
    Head(31, 2, QStringLiteral("SN100"), moment.addSecs(-599));
    EXPECT_EQ(Search(1, QStringLiteral("SN100"), -1000, 1000), 31);
}

TEST_F(TrendSearchTest, SerialWithAQuoteAndLaterDatesAreBound)
{
    const QString quoted = QStringLiteral("SN'1");
    const QDateTime late = MakeDate(2019, 5, 1, 0, 0, 0).addDays(2000);
    Head(40, 2, quoted, late);
    EXPECT_EQ(TrendSearch(LogDatabasePath(), 1, quoted, late.addSecs(2), -10, 10), 40);
}

TEST_F(TrendSearchTest, AMissingDatabaseIsReported)
{
    QFile::remove(LogDatabasePath());
    EXPECT_THROW(Search(), DatabaseError);
}

TEST(TrendTargets, MarksAndCells)
{
    for (const char* word : {"WARNING", "ALARM", "OVER"})
        EXPECT_TRUE(IsTrendMarkText(QLatin1String(word)));
    for (const char* word : {"Alarm", "STEL", "", "ALARMS"})
        EXPECT_FALSE(IsTrendMarkText(QLatin1String(word)));

    const std::int32_t red = 255;
    const struct {
        int kind, row, col;
        std::int32_t back;
        const char* text;
        bool target;
    } cells[] = {
        {1, 3, 2, red, "ALARM(25.0)", true},
        {1, 3, 3, red, "WARNING", true},
        {1, 3, 2, red, "OVER", true},
        {1, 3, 2, 0, "OVER", false},        // no colour of its own
        {1, 0, 2, red, "ALARM", false},     // header row
        {1, 3, 0, red, "ALARM", false},     // number column
        {2, 3, 2, red, "ALARM", false},     // not an interval trend
        {1, 3, 2, red, "STEL", false},
        {1, 3, 2, red, "alarm", false},
    };
    for (const auto& c : cells)
        EXPECT_EQ(IsTrendCell(c.kind, c.row, c.col, c.back, QLatin1String(c.text)), c.target)
            << c.kind << " " << c.row << " " << c.col << " " << c.text;
}
