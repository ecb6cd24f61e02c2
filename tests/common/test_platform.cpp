#include "common/colors.h"
#include "common/dates.h"
#include "common/paths.h"
#include "common/twips.h"
#include "temp_home.h"

#include <gtest/gtest.h>
#include <ctime>

TEST(Paths, JoinPutsSlashOnlyWhereMissing)
{
    EXPECT_EQ(JoinPath("/a/b", "c.txt"), "/a/b/c.txt");
    EXPECT_EQ(JoinPath("/a/b/", "c.txt"), "/a/b/c.txt");
    EXPECT_EQ(JoinPath("C:\\x\\", "c.txt"), "C:\\x\\c.txt");
}

TEST(Paths, ProgramFolderFollowsPelkarHome)
{
    TempHome home;
    EXPECT_EQ(ProgramFolder(), home.path());
    EXPECT_EQ(LogDatabasePath(), home.file("Pelkar.db"));
}

TEST(Dates, LegacySerials)
{
    EXPECT_EQ(DateFromSerial(0), MakeDate(1899, 12, 30));
    EXPECT_EQ(DateFromSerial(2), MakeDate(1900, 1, 1));
    EXPECT_EQ(DateFromSerial(-101), MakeDate(1899, 9, 20));
    EXPECT_EQ(DateFromSerial(0.5), MakeDate(1899, 12, 30, 12));
    EXPECT_DOUBLE_EQ(SerialFromDate(MakeDate(1900, 1, 1)), 2.0);
    EXPECT_DOUBLE_EQ(SerialFromDate(DisabledDate()), -101.0);
}

TEST(Dates, IsoRoundTripKeepsFarAndNoDates)
{
    // In a zone with daylight saving, 2026-03-29 02:30 does not exist as a
    // local time; a wall-clock date must still read back.
    const QByteArray oldTz = qgetenv("TZ");
    const bool hadTz = qEnvironmentVariableIsSet("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    for (const QDateTime& d : {NoDate(), MakeDate(2031, 7, 1, 23, 59, 58), DisabledDate(),
                               MakeDate(2026, 3, 29, 2, 30, 0)}) {
        EXPECT_EQ(IsoToDate(DateToIso(d)), d) << DateToIso(d).toStdString();
    }
    EXPECT_EQ(DateToIso(MakeDate(2031, 1, 2, 3, 4, 5)), "2031-01-02 03:04:05");
    EXPECT_FALSE(IsoToDate("").isValid());
    EXPECT_FALSE(IsoToDate("garbage").isValid());
    EXPECT_EQ(GeneralDate(MakeDate(2024, 2, 3, 4, 5, 6)), "2024/02/03 04:05:06");
    EXPECT_EQ(MediumDate(MakeDate(2024, 2, 3, 4, 5, 6)), "2024/02/03");
    EXPECT_EQ(IsoToDate(" 2031-01-02 "), MakeDate(2031, 1, 2));
    for (const char* bad : {"2031-01-02 25:00:00", "2031-01-02  03:04:05", "2031-02-30 00:00:00", "2031-01-02 x"})
        EXPECT_FALSE(IsoToDate(bad).isValid()) << bad;
    if (hadTz)
        qputenv("TZ", oldTz);
    else
        qunsetenv("TZ");
    tzset();
}

TEST(Colors, WindowsColourNumbers)
{
    EXPECT_EQ(RGB(255, 0, 0), 0xFF);
    EXPECT_EQ(WinFromColor(QColor(0, 192, 0)), RGB(0, 192, 0));
    EXPECT_EQ(ColorFromWin(RGB(192, 64, 64)), QColor(192, 64, 64));
}

TEST(Twips, FifteenPerPixelAt96Dpi)
{
    EXPECT_EQ(TwipsToPx(1440, 96), 96);
    EXPECT_EQ(TwipsToPx(15, 96), 1);
    EXPECT_DOUBLE_EQ(PixelsToTwips(1, 96), 15.0);
    EXPECT_EQ(TwipsToPx(1440, 600), 600);
}
