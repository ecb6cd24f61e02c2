// The last-calibration list in its three layouts.
#include "browser_fixture.h"

#include "browser/lastcal.h"

using namespace browser;

namespace {
HistoryGrid Build(HistoryLayout layout)
{
    LogDb db;
    return BuildHistoryGrid(db, layout);
}
} // namespace

class LastCalTest : public BrowserDbTest {
protected:
    void Add(const char* serial, const char* written, const char* cal1, const char* cal2, const char* gas2Name,
             double before1 = 20)
    {
        Insert("cLatestHist",
               {{"SerialNo", serial},   {"UserID", ""},         {"StationID", "ST"},    {"WriteDates", written},
                {"Gas1Name", "CO"},     {"Gas1Unit", "ppm"},    {"Gas1Full", 500},      {"Gas1Point", 0},
                {"Gas1CalDate", cal1},  {"Gas1Before", before1}, {"Gas1After", 500},    {"Gas1AutoCal", 900},
                {"Gas2Name", gas2Name}, {"Gas2Unit", "%"},      {"Gas2Full", 25},       {"Gas2Point", 1},
                {"Gas2CalDate", cal2},  {"Gas2Before", 20.4},   {"Gas2After", 20.9},    {"Gas2AutoCal", 20.9}});
    }
};

TEST_F(LastCalTest, CalibrationDateLayout)
{
    Add("OLD", "2026-01-01 00:00:00", "2025-06-01 08:00:00", "1999-12-31 00:00:00", "O2");
    Add("NEW", "2026-02-01 00:00:00", "2025-07-01 08:00:00", "2025-07-02 08:00:00", "");
    const HistoryGrid h = Build(HistoryLayout::CalibrationDate);
    EXPECT_FALSE(h.empty);
    EXPECT_TRUE(h.wrapRows);
    ASSERT_EQ(h.grid.Rows(), 3);
    // The header's gas captions are the newest row's, even without a gas 2.
    EXPECT_EQ(h.grid.RowTexts(0),
              (QStringList{"No.", "SerialNo", "UserID", "StationID", "CO(500ppm)", "----(---)", "Last Download"}));
    EXPECT_EQ(h.grid.RowTexts(1),
              (QStringList{"1", "NEW", "*", "ST", "2025/07/01 08:00:00", "-----", "2026/02/01 00:00:00"}));
    // A date before 2000 is empty.
    EXPECT_EQ(h.grid.RowTexts(2), (QStringList{"2", "OLD", "*", "ST", "2025/06/01 08:00:00", "", "2026/01/01 00:00:00"}));
    EXPECT_EQ(h.identities[1].serialNo, "NEW");
    EXPECT_EQ(h.grid.Align(1, 0), CellAlign::Center);
    EXPECT_EQ(h.grid.Align(1, 4), CellAlign::Left);
}

TEST_F(LastCalTest, CalibrationRecordLayout)
{
    Add("A1", "2026-01-01 00:00:00", "2025-06-01 08:00:00", "2025-06-01 08:00:00", "O2", 501);
    Add("B2", "2025-01-01 00:00:00", "2025-06-01 08:00:00", "2025-06-01 08:00:00", " ", 500);
    const HistoryGrid h = Build(HistoryLayout::CalibrationRecord);
    EXPECT_FALSE(h.wrapRows);
    ASSERT_EQ(h.grid.Rows(), 5);
    EXPECT_EQ(h.grid.RowTexts(0),
              (QStringList{"No.", "SerialNo", "UserID", "StationID", "Gas", "Before", "After", "A.Cal."}));
    EXPECT_EQ(h.grid.RowTexts(1), (QStringList{"1", "A1", "*", "ST", "CO(500ppm)", "OVER", "500", "900"}));
    EXPECT_EQ(h.grid.RowTexts(2), (QStringList{"", "", "", "", "O2(25%)", "20.4", "20.9", "20.9"}));
    EXPECT_EQ(h.grid.RowTexts(3), (QStringList{"2", "B2", "*", "ST", "CO(500ppm)", "500", "500", "900"}));
    EXPECT_EQ(h.grid.RowTexts(4), (QStringList{"", "", "", "", "----(---)", "-----", "-----", "-----"}));
    EXPECT_EQ(h.grid.Align(1, 5), CellAlign::Center);
    EXPECT_EQ(h.grid.Align(1, 4), CellAlign::Left);
}

TEST_F(LastCalTest, NeedCalibrationPutsTheMostOverdueFirst)
{
    Add("RECENT", "2026-03-01 00:00:00", "2025-09-01 00:00:00", "2025-09-02 00:00:00", "O2");
    Add("OLDEST", "2026-02-01 00:00:00", "2025-10-01 00:00:00", "2024-01-01 00:00:00", "O2");
    Add("NODATE", "2026-01-01 00:00:00", "", "2025-01-01 00:00:00", "O2");
    Add("NOGAS2", "2025-12-01 00:00:00", "2025-05-01 00:00:00", "", "");
    const HistoryGrid h = Build(HistoryLayout::NeedCalibration);
    QStringList order;
    for (int r = 1; r < h.grid.Rows(); ++r)
        order << h.grid.Text(r, 1);
    EXPECT_EQ(order, (QStringList{"NODATE", "OLDEST", "NOGAS2", "RECENT"}));
    EXPECT_EQ(h.grid.Text(1, 0), "1");
    EXPECT_EQ(h.grid.Text(0, 4), "CO(500ppm)");
    EXPECT_EQ(h.identities[2].serialNo, "OLDEST");
}

TEST_F(BrowserDbTest, EmptyLatestHistoryIsReportedByEveryLayout)
{
    for (HistoryLayout l : {HistoryLayout::NeedCalibration, HistoryLayout::CalibrationDate,
                            HistoryLayout::CalibrationRecord}) {
        const HistoryGrid h = Build(l);
        EXPECT_TRUE(h.empty);
        EXPECT_EQ(h.grid.Rows(), 1);
    }
}
