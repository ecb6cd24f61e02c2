// The option pane's rules and texts.

#include "settings/option_commands.h"

#include "common/dates.h"
#include "settings_fixture.h"

namespace {

class OptionCommandsTest : public SettingsTest {};

TEST_F(OptionCommandsTest, BusyWhileLiveReadingsRunOrASpanRuns)
{
    const struct {
        bool live;
        int state;
        bool busy;
    } cases[] = {{false, 0, false}, {false, 1, false}, {false, 3, false}, {false, 5, false},
                 {false, 4, true},  {false, 7, true},  {true, 0, true}};
    for (const auto& c : cases)
        EXPECT_EQ(OptionCommandBusy(c.live, c.state), c.busy) << c.live << " " << c.state;
}

TEST_F(OptionCommandsTest, DumpFilesAndTexts)
{
    EXPECT_EQ(DumpFilePath(QStringLiteral("/data/pelkar"), DumpKind::Fram), QStringLiteral("/data/pelkar/DumpEF.dat"));
    EXPECT_EQ(DumpFilePath(QStringLiteral("/"), DumpKind::EepRom), QStringLiteral("/Dump.dat"));
    EXPECT_EQ(DumpFilePath(QStringLiteral("/data/"), DumpKind::EepRom), QStringLiteral("/data/Dump.dat"));

    const DumpListTexts fram = DumpTexts(DumpKind::Fram);
    EXPECT_EQ(fram.confirm, QStringLiteral("FRAM Dump List Download\nReady?"));
    EXPECT_EQ(fram.caption, QStringLiteral("FRAM Dump List (EF)"));
    EXPECT_EQ(fram.startLine, QStringLiteral("Dump List Download (EF) Start."));
    EXPECT_EQ(fram.endLine, QStringLiteral("Dump List Download (EF) Finished."));
    const DumpListTexts eep = DumpTexts(DumpKind::EepRom);
    EXPECT_EQ(eep.confirm, QStringLiteral("EEP-ROM Dump List Download\nReady?"));
    EXPECT_EQ(eep.caption, QStringLiteral("EEP-ROM Dump List"));
    EXPECT_EQ(eep.startLine, QStringLiteral("Dump List Download Start."));
    EXPECT_EQ(eep.failLine, QStringLiteral("Dump List Download Failed."));
    EXPECT_EQ(DumpBoxTitle(), QStringLiteral("DumpList"));
}

TEST_F(OptionCommandsTest, SerialLogLinesCarryTheElapsedTime)
{
    const QDateTime start = MakeDate(2026, 3, 5, 14, 7, 9);
    const QDateTime end = start.addSecs(75);
    EXPECT_EQ(DumpStartedSerialLine(start), QStringLiteral("--- Dump List Download Started. ---(2026/03/05 14:07:09)"));
    EXPECT_EQ(DumpEndedSerialLine(start, end, true),
              QStringLiteral("--- Dump List Download Finished. ---(2026/03/05 14:08:24[Time = 00:01:15])\r\n"));
    EXPECT_EQ(DumpEndedSerialLine(start, end, false),
              QStringLiteral("--- Dump List Download Failed. ---(2026/03/05 14:08:24[Time = 00:01:15])\r\n"));
}

TEST_F(OptionCommandsTest, FontCaptionAndColourSeries)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(9);
    EXPECT_EQ(FontCaption(f), QStringLiteral("Arial(9)"));
    f.setPointSizeF(10.5);
    EXPECT_EQ(FontCaption(f), QStringLiteral("Arial(10.5)"));

    // Colour button 1 is gas 1, series 0; there is no series 2.
    EXPECT_EQ(ColorButtonSeries(1), 0);
    EXPECT_EQ(ColorButtonSeries(2), 1);
    EXPECT_EQ(ColorButtonSeries(0), -1);
    EXPECT_EQ(ColorButtonSeries(3), -1);
}

} // namespace
