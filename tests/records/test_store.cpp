// Storing the records of one download: how many did not reach the
// database, under the faults a user meets (a database another program holds
// locked, a read-only file, an insert the engine refuses, a record whose
// header line never came), and that a record is there complete or not at
// all.
#include "record_fixture.h"

#include "records/collections.h"
#include "records/store.h"

#include "common/resstrings.h"

#include "fake_database.h"

#include <optional>

namespace {

// One complete interval trend of logger lg with three value rows.
QStringList Trend(const QString& lg, const QString& time)
{
    return {lg + "AA" + Fit("USER01", 10) + Fit("ST-7", 10),
            lg + "AB" + Fit("SN123456", 12) + "00001",
            lg + "AC" + Fit("CO", 3) + RFit("500", 5) + RFit("1.0", 5) + Fit("OXY", 3) + RFit("25.0", 5)
                + RFit("0.1", 5),
            lg + "AD" + "240305" + time + Num(60, 4) + "0000",
            lg + "AE" + RFit("1.5", 5) + RFit("9.5", 5) + "240305" + time,
            lg + "A0" + RFit("1.0", 5) + RFit("20.9", 5) + "00" + Num(1, 4),
            lg + "A0" + RFit("2.0", 5) + RFit("20.8", 5) + "00" + Num(2, 4),
            lg + "A0" + RFit("3.0", 5) + RFit("20.7", 5) + "00" + Num(3, 4)};
}

class StoreTest : public RecordDbTest {
protected:
    void SetUp() override
    {
        RecordDbTest::SetUp();
        SetResLanguage(ResLanguage::English);
        inst.SetModel("KV-5");
        col.SetInstruments(&inst);
    }

    clsInstrument inst;
    clsIntervals col;
};

} // namespace

TEST_F(StoreTest, CountsTheRecordsThatDidNotReachTheDatabase)
{
    using Fault = FakeDatabaseFault::Fault;
    struct Case {
        const char* name;
        std::optional<Fault> fault;
        bool headless;   // logger 03 sends its lines but never its "AD" header
        int notStored;
        qint64 heads;    // Log_Head rows afterwards
        qint64 values;   // Interval_Data rows afterwards
    };
    const Case cases[] = {
        {"all stored", std::nullopt, false, 0, 2, 6},
        {"locked", Fault::LockedByAnotherProgram, false, 2, 0, 0},
        {"read-only", Fault::ReadOnlyFile, false, 2, 0, 0},
        {"second refused", Fault::SecondIntervalRefused, false, 1, 1, 3},
        {"without header", std::nullopt, true, 1, 2, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList lines = Trend("01", "080000") + Trend("02", "093000");
        if (c.headless) {
            QStringList headless = Trend("03", "100000");
            headless.removeAt(3);
            lines += headless;
        }
        col.Clear();
        ASSERT_TRUE(Block(col, lines));
        QFile::remove(LogDatabasePath());
        CreateLogDatabase(LogDatabasePath());
        {
            std::optional<FakeDatabaseFault> fault;
            if (c.fault) {
                fault.emplace(*c.fault, LogDatabasePath());
                ASSERT_TRUE(fault->Active());
            }
            EXPECT_EQ(StoreDownloadedRecords(col, &inst), c.notStored);
        }
        // Complete records or none: every head has all its rows.
        EXPECT_EQ(Rows("Log_Head"), c.heads);
        EXPECT_EQ(Rows("Interval_Data"), c.values);
        EXPECT_EQ(Rows("Interval_Data", "Where RelNo Not In (Select SeqNo From Log_Head)"), 0);
    }
}

TEST_F(StoreTest, DuplicateCountsAsStoredAndRefusedBlockLeavesNoRecordToCount)
{
    ASSERT_TRUE(Block(col, Trend("01", "080000")));
    EXPECT_EQ(StoreDownloadedRecords(col, &inst), 0);
    // The same trend again (downloaded twice without a clear) is there.
    col.Clear();
    ASSERT_TRUE(Block(col, Trend("01", "080000")));
    EXPECT_EQ(StoreDownloadedRecords(col, &inst), 0);
    EXPECT_TRUE(col.Item(1)->Duplicate());
    EXPECT_EQ(Rows("Log_Head"), 1);

    // A garbled logger number in a block that was refused and sent again
    // makes a record in the check pass that holds nothing of the instrument.
    col.Clear();
    QStringList bad = Trend("02", "093000");
    bad[6] = "07A0" + RFit("2.0", 5) + RFit("20.8", 5) + "00ab12";
    EXPECT_FALSE(Block(col, bad));
    ASSERT_TRUE(Block(col, Trend("02", "093000")));
    ASSERT_NE(col.Item("07 L"), nullptr);
    EXPECT_TRUE(col.Item("07 L")->AwaitingHeader());
    EXPECT_EQ(StoreDownloadedRecords(col, &inst), 0);
    EXPECT_EQ(Rows("Log_Head"), 2);
}

TEST_F(StoreTest, FaultyLineAndAlarmWithoutHeaderAreNotStored)
{
    // A header whose date cannot be read sets the record's Error.
    QStringList faulty = Trend("01", "080000");
    faulty[3] = "01AD" + QString("241399") + "080000" + Num(60, 4) + "0000";
    ASSERT_TRUE(Block(col, faulty));
    ASSERT_TRUE(col.Item(1)->Error());
    EXPECT_EQ(StoreDownloadedRecords(col, &inst), 1);
    EXPECT_EQ(Rows("Log_Head"), 0);

    clsAlarms alarms;
    alarms.SetInstruments(&inst);
    ASSERT_TRUE(Block(alarms, {"01BA" + Fit("USER01", 10) + Fit("ST-7", 10),
                               "01B0" + RFit("1.0", 5) + RFit("20.9", 5) + "00" + Num(1, 4)}));
    ASSERT_TRUE(alarms.Item(1)->AwaitingHeader());
    EXPECT_EQ(StoreDownloadedRecords(alarms, &inst), 1);
    EXPECT_EQ(Rows("Log_Head"), 0);
    EXPECT_EQ(Rows("Alarm_Data"), 0);
}
