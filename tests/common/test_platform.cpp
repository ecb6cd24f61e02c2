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

// A focus cue keeps the preferred colour where it stands out by 4.5 to 1
// from everything under it, and is otherwise shaded toward black or white
// until it does.
TEST(Colors, FocusCueStandsOutFromWhatItIsDrawnOn)
{
    EXPECT_DOUBLE_EQ(ContrastRatio(Qt::black, Qt::white), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(QColor(0, 128, 255), QColor(0, 128, 255)), 1.0);
    EXPECT_NEAR(ContrastRatio(QColor(255, 0, 0), Qt::white), 4.0, 0.01);

    const QColor highlight(48, 140, 198);
    struct Case {
        QColor under;
        QColor alsoUnder; // invalid: only one colour under the cue
        QColor preferred;
        bool kept;        // the preferred colour itself
        bool darker;      // else shaded darker (or lighter)
    };
    const Case cases[] = {
        {Qt::white, {}, highlight, false, true},                         // a white face
        {QColor(239, 239, 239), {}, QColor(0, 0, 128), true, false},      // navy on light grey
        {QColor(239, 239, 239), {}, highlight, false, true},              // a light grey bar
        {QColor(0, 128, 255), {}, highlight, false, true},                // a blue face
        {QColor(0, 0, 160), {}, highlight, false, false},                 // a dark blue face
        {QColor(40, 40, 40), {}, highlight, false, false},                // a dark grey face
        {QColor(255, 255, 0), {}, Qt::white, false, true},                // a yellow face
        {QColor(128, 128, 128), {}, QColor(128, 128, 128), false, true},  // the cue's own colour
        {QColor(239, 239, 239), QColor(0, 128, 255), highlight, false, true}, // a grey and a blue part
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.under.name().toStdString() + " " + c.preferred.name().toStdString());
        const QColor cue = c.alsoUnder.isValid() ? FocusCueColor({c.under, c.alsoUnder}, c.preferred)
                                                 : FocusCueColor({c.under}, c.preferred);
        EXPECT_GE(ContrastRatio(cue, c.under), 4.5);
        if (c.alsoUnder.isValid())
            EXPECT_GE(ContrastRatio(cue, c.alsoUnder), 4.5);
        if (c.kept)
            EXPECT_EQ(cue, c.preferred);
        else
            EXPECT_EQ(cue.lightness() < c.preferred.lightness(), c.darker) << cue.name().toStdString();
    }
}

TEST(Twips, FifteenPerPixelAt96Dpi)
{
    EXPECT_EQ(TwipsToPx(1440, 96), 96);
    EXPECT_EQ(TwipsToPx(15, 96), 1);
    EXPECT_DOUBLE_EQ(PixelsToTwips(1, 96), 15.0);
    EXPECT_EQ(TwipsToPx(1440, 600), 600);
}
