// The settings pane's PC and instrument clocks.

#include "settings/settings_clock.h"

#include "common/dates.h"
#include "settings_fixture.h"

namespace {

constexpr double kFiveMinutes = 5.0 / (24 * 60);

TEST(SettingsClock, HiddenPaneWritesNothing)
{
    SettingsClock c;
    const QDateTime t = MakeDate(2026, 3, 5, 14, 7, 9);
    EXPECT_FALSE(c.Tick(false, true, 0, t).write);
    EXPECT_FALSE(c.Tick(false, false, 0, t).write);
}

TEST(SettingsClock, NoLinkShowsThePcTimeOnEveryTick)
{
    SettingsClock c;
    const QDateTime t = MakeDate(2026, 3, 5, 14, 7, 9);
    for (int tick = 0; tick < 3; ++tick) {
        const auto u = c.Tick(true, false, kFiveMinutes, t.addMSecs(100 * tick));
        EXPECT_TRUE(u.write);
        EXPECT_EQ(u.pcText, QStringLiteral("2026/03/05 14:07:09"));
        EXPECT_EQ(u.instrumentText, QString());
    }
}

TEST(SettingsClock, LinkedClockIsNowMinusOffsetOncePerSecond)
{
    SettingsClock c;
    QDateTime t = MakeDate(2026, 3, 5, 14, 7, 9).addMSecs(300);
    auto u = c.Tick(true, true, kFiveMinutes, t);
    ASSERT_TRUE(u.write);
    EXPECT_EQ(u.pcText, QStringLiteral("2026/03/05 14:07:09"));
    EXPECT_EQ(u.instrumentText, QStringLiteral("2026/03/05 14:02:09"));

    // Ticks within the same second leave the labels alone; the next second
    // writes both once.
    int writes = 0;
    for (int tick = 1; tick <= 10; ++tick) {
        u = c.Tick(true, true, kFiveMinutes, t.addMSecs(100 * tick));
        if (u.write) {
            ++writes;
            EXPECT_EQ(u.pcText, QStringLiteral("2026/03/05 14:07:10"));
            EXPECT_EQ(u.instrumentText, QStringLiteral("2026/03/05 14:02:10"));
        }
    }
    EXPECT_EQ(writes, 1);
}

TEST(SettingsClock, OffsetZeroShowsThePcTimeTwice)
{
    SettingsClock c;
    const auto u = c.Tick(true, true, 0, MakeDate(2026, 3, 5, 23, 59, 59));
    EXPECT_EQ(u.pcText, QStringLiteral("2026/03/05 23:59:59"));
    EXPECT_EQ(u.pcText, u.instrumentText);
}

TEST(SettingsClock, ShowingThePaneAgainWritesAtOnce)
{
    SettingsClock c;
    const QDateTime t = MakeDate(2026, 3, 5, 14, 7, 9);
    EXPECT_TRUE(c.Tick(true, true, 0, t).write);
    EXPECT_FALSE(c.Tick(false, true, 0, t.addMSecs(100)).write);
    EXPECT_TRUE(c.Tick(true, true, 0, t.addMSecs(200)).write);
    // And the link coming up within the same second as a no-link tick.
    EXPECT_TRUE(c.Tick(true, false, 0, t.addMSecs(300)).write);
    EXPECT_FALSE(c.Tick(true, true, 0, t.addMSecs(400)).instrumentText.isEmpty());
}

} // namespace
