// Log downloads end to end over a pseudo-terminal: the fake instrument holds
// trends, the control downloads them into the collections, the records are
// stored the way the host's download step stores them, and what the
// database holds is compared with what the instrument held.
#include "common/logdb.h"
#include "common/paths.h"
#include "fake_records.h"
#include "link_fixture.h"
#include "records/collections.h"

#include <QSqlQuery>
#include <QTimer>
#include <algorithm>

using Fault = FakeInstrument::Fault;

namespace {

class DownloadTest : public LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        CreateLogDatabase(LogDatabasePath());
        intervals.SetInstruments(&inst);
        inst.SetModel(QStringLiteral("KV-5"));
        inst.SetRomNumber(1203);
        // Two loggers, 130 and 20 samples: five blocks of at most 48 lines.
        trends = {MakeIntervalTrend(1, MakeDate(2024, 3, 5, 8, 0, 0), 130),
                  MakeIntervalTrend(2, MakeDate(2024, 3, 6, 9, 30, 0), 20, 30)};
        QList<QByteArray> lines;
        for (const FakeIntervalTrend& t : trends)
            lines += IntervalLines(t);
        fake.SetRecordLines("DR,R,", lines);
        lineCount = static_cast<int>(lines.size());
    }

    // The host's download step: store every record after a good download.
    bool DownloadAndStore()
    {
        if (!ctl->GetInterval(&intervals))
            return false;
        for (clsInterval* rec : intervals) {
            rec->SetInstrument(&inst);
            EXPECT_TRUE(rec->Update());
            EXPECT_FALSE(rec->Error());
        }
        return true;
    }

    qint64 Rows(const char* table) const
    {
        LogDb db(LogDatabasePath());
        QSqlQuery q(db.Db());
        q.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)));
        return q.next() ? q.value(0).toLongLong() : -1;
    }

    // Every stored trend reloaded equals the trend the instrument held.
    void ExpectStoredTrends()
    {
        LogDb db(LogDatabasePath());
        QSqlQuery q(db.Db());
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT SeqNo FROM Log_Head WHERE Types=1 ORDER BY Dates")));
        QList<qint64> heads;
        while (q.next())
            heads.append(q.value(0).toLongLong());
        ASSERT_EQ(heads.size(), trends.size());
        for (int i = 0; i < heads.size(); ++i) {
            const FakeIntervalTrend& t = trends[i];
            clsInterval rec;
            rec.ClearDatas();
            rec.SetSeqNo(heads[i]);
            ASSERT_TRUE(rec.ReLoad());
            EXPECT_EQ(rec.GasBaseInfo(1).toDateTime(), t.start);
            EXPECT_EQ(rec.GasBaseInfo(4).toString(), t.serialNo);
            EXPECT_EQ(rec.GasBaseInfo(6).toInt(), t.interval);
            ASSERT_EQ(rec.DataCount(), t.samples.size());
            for (int k = 0; k < t.samples.size(); ++k) {
                ASSERT_EQ(rec.DateTimes(k), t.SampleTime(k)) << k;
                ASSERT_FLOAT_EQ(rec.GasValue(0, k), t.samples[k][0]) << k;
                ASSERT_FLOAT_EQ(rec.GasValue(1, k), t.samples[k][1]) << k;
            }
            EXPECT_EQ(rec.EventCount(), 2);
        }
    }

    // The calibration history of both gases: 60 entries each, on the same
    // dates, in two blocks per gas.
    void SetHistories()
    {
        for (int i = 0; i < 60; ++i) {
            const QDateTime when = MakeDate(2023, 1, 1, 9, 0, 0).addDays(i * 3);
            gas1.append({when, float(i % 30), 50.0f});
            gas2.append({when, 20.0f + float(i % 9) / 10.0f, 20.9f});
        }
        fake.SetRecordLines("IH,R,1,", HistoryLines(gas1));
        fake.SetRecordLines("IH,R,2,", HistoryLines(gas2));
    }

    clsInstrument inst;
    clsIntervals intervals;
    QList<FakeIntervalTrend> trends;
    int lineCount = 0;
    QList<FakeCalibration> gas1, gas2;
};

} // namespace

TEST_F(DownloadTest, IntervalTrendsInSeveralBlocksAreStoredAsHeld)
{
    Connect();
    App().DebugMode = true; // the collection leaves a text per new trend
    QSignalSpy progress(ctl.get(), &QvifPort::InterMessage);
    ASSERT_TRUE(DownloadAndStore());
    ASSERT_EQ(progress.count(), 2);
    EXPECT_TRUE(progress.at(0).at(0).toString().startsWith(QStringLiteral("New Data!")));
    EXPECT_TRUE(intervals.MessageString().isEmpty()); // emptied once raised
    EXPECT_EQ(ctl->Status(), 6);
    const QList<QByteArray> commands = fake.Commands();
    const int blocks = (lineCount + 47) / 48;
    ASSERT_EQ(commands.size(), blocks); // the request, then one ACK block per ETB block
    EXPECT_EQ(commands.first(), QByteArray("DR,R,"));
    EXPECT_EQ(commands.last(), QByteArray("DR,R,\x06"));
    EXPECT_EQ(intervals.Count(), 2);
    EXPECT_TRUE(intervals.FailLine().isEmpty());
    ExpectStoredTrends();
}

// Each fault leaves the database complete (the same rows as without it) or
// unchanged, never partial.
TEST_F(DownloadTest, FaultMatrixLeavesTheDatabaseCompleteOrUnchanged)
{
    struct Case {
        const char* name;
        std::function<void(FakeInstrument&, uclQvif&)> arrange;
        bool complete;
        int endStatus;
    };
    const QByteArray ack("DR,R,\x06");
    const Case cases[] = {
        {"bad checksum on one block", [&](FakeInstrument& f, uclQvif&) { f.AddFaultOn(Fault::BadChecksum, ack, 2); }, true, 6},
        {"silence once", [&](FakeInstrument& f, uclQvif&) { f.AddFaultOn(Fault::Silence, ack, 1); }, true, 6}, // NAK block
        {"silence once on the request", [&](FakeInstrument& f, uclQvif&) { f.AddFaultOn(Fault::Silence, "DR,R,", 1); }, true, 6},
        {"corrupted record line once", [&](FakeInstrument& f, uclQvif&) { f.AddFaultOn(Fault::CorruptRecordLine, ack, 2); }, true, 6},
        {"pieces cut after each CR", [&](FakeInstrument& f, uclQvif& c) {
             f.SetSplit(0, true);
             c.SetTimeout(10); // the pieces come slowly: no time-out meant here
         }, true, 6},
        {"silence for good", [&](FakeInstrument& f, uclQvif&) { f.AddFault(Fault::Silence, 3, -1); }, false, 2},
        {"line cut in the middle", [&](FakeInstrument& f, uclQvif&) { f.AddFaultOn(Fault::LineCut, ack, 2); }, false, 2},
        {"another command's answer in place of a block once",
         [&](FakeInstrument& f, uclQvif&) { f.AddFaultOn(Fault::ForeignAnswer, ack, 2); }, true, 6},
        {"another command's answer in place of every block", [&](FakeInstrument& f, uclQvif&) { f.AddFault(Fault::ForeignAnswer, 3, -1); }, false, 2},
        {"block late past the time-out", [&](FakeInstrument& f, uclQvif&) { f.AddFaultOn(Fault::LateBlock, ack, 2); }, true, 6},
        {"block left out", [&](FakeInstrument& f, uclQvif&) { f.AddFaultOn(Fault::BlockLeftOut, ack, 1); }, false, 2},
        // Blocks without a number in their header: where the bytes cannot
        // tell a repeat from the next block, records take the block and
        // store nothing twice.
        {"unnumbered blocks, an ACK block lost",
         [&](FakeInstrument& f, uclQvif&) {
             f.AddFaultOn(Fault::UnnumberedBlocks, "DR,R,");
             f.AddFaultOn(Fault::Silence, ack, 2);
         },
         true, 6},
        {"unnumbered blocks, a block lost on the way",
         [&](FakeInstrument& f, uclQvif&) {
             f.AddFaultOn(Fault::UnnumberedBlocks, "DR,R,");
             f.AddFaultOn(Fault::AnswerLost, ack, 2);
         },
         true, 6},
        {"unnumbered blocks, a block late past the time-out",
         [&](FakeInstrument& f, uclQvif&) {
             f.AddFaultOn(Fault::UnnumberedBlocks, "DR,R,");
             f.AddFaultOn(Fault::LateBlock, ack, 1);
         },
         true, 6},
        {"unnumbered blocks, an ACK block heard after the next frame",
         [&](FakeInstrument& f, uclQvif&) {
             f.AddFaultOn(Fault::UnnumberedBlocks, "DR,R,");
             f.AddFaultOn(Fault::FrameHeld, ack, 2);
         },
         true, 6},
        {"cancel in the middle", [&](FakeInstrument& f, uclQvif& c) {
             QObject::connect(&f, &FakeInstrument::FrameReceived, &c, [&f, &c](const QByteArray& frame) {
                 if (f.Commands().count(QByteArray("DR,R,\x06")) == 2 && FakeInstrument::CommandOf(frame).endsWith('\x06'))
                     c.SetCancel(true);
             });
         }, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(LogDatabasePath());
        CreateLogDatabase(LogDatabasePath());
        fake.ClearFaults();
        fake.SetSplit(0, false);
        if (!fake.LineOpen()) {
            ctl = std::make_unique<uclQvif>();
            ctl->SetTickInterval(10);
            ctl->SetTimeout(1);
            ctl->SetSerialFileNo(1);
            ASSERT_TRUE(fake.OpenPty());
        }
        if (!ctl->Connected())
            Connect();
        fake.ClearFrames();
        QFile::remove(home.file(QStringLiteral("SerialLog.log")));
        ctl->SetTimeout(1);
        c.arrange(fake, *ctl);
        const bool ok = DownloadAndStore();
        QObject::disconnect(&fake, nullptr, ctl.get(), nullptr);
        EXPECT_EQ(ok, c.complete);
        EXPECT_EQ(ctl->Status(), c.endStatus);
        // A refused block is asked for again with a NAK block.
        const QByteArray name(c.name);
        const bool nak = name.contains("checksum") || name.contains("corrupted") || name == "silence once"
                         || name == "silence for good" || name.contains("another command") || name.contains("late")
                         || name.contains("unnumbered");
        EXPECT_EQ(fake.Commands().contains(QByteArray("DR,R,\x15")), nak);
        if (name == "unnumbered blocks, an ACK block lost") {
            // The block sent again was taken: its lines were not stored twice.
            EXPECT_TRUE(Log().contains(QStringLiteral("<<< Duplicate data >>>")));
        }
        if (c.complete) {
            ExpectStoredTrends();
        } else {
            EXPECT_EQ(Rows("Log_Head"), 0);
            EXPECT_EQ(Rows("Interval_Data"), 0);
            EXPECT_EQ(Rows("Interval_Event"), 0);
        }
    }
}

TEST_F(DownloadTest, AlarmTrendsAreStoredAsHeld)
{
    const QList<FakeAlarmTrend> alarms = {MakeAlarmTrend(1, MakeDate(2024, 3, 5, 10, 15, 0)),
                                          MakeAlarmTrend(3, MakeDate(2024, 3, 7, 23, 59, 30), 2)};
    QList<QByteArray> lines;
    for (const FakeAlarmTrend& t : alarms)
        lines += AlarmLines(t);
    fake.SetRecordLines("DJ,R,", lines);
    Connect();
    clsAlarms collection;
    collection.SetInstruments(&inst);
    ASSERT_TRUE(ctl->GetAlarm(&collection));
    EXPECT_EQ(fake.Commands().size(), (lines.size() + 47) / 48);
    ASSERT_EQ(collection.Count(), 2);
    for (clsAlarm* rec : collection)
        EXPECT_TRUE(rec->Update());

    LogDb db(LogDatabasePath());
    QSqlQuery q(db.Db());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT SeqNo FROM Log_Head WHERE Types=2 ORDER BY Dates")));
    QList<qint64> heads;
    while (q.next())
        heads.append(q.value(0).toLongLong());
    ASSERT_EQ(heads.size(), 2);
    for (int a = 0; a < 2; ++a) {
        clsAlarm rec;
        rec.ClearDatas();
        rec.SetSeqNo(heads[a]);
        ASSERT_TRUE(rec.ReLoad());
        EXPECT_EQ(rec.GasBaseInfo(1).toDateTime(), alarms[a].alarm);
        for (int i = 0; i < 360; ++i) {
            ASSERT_EQ(rec.DateTimes(i), alarms[a].SampleTime(i)) << i;
            ASSERT_FLOAT_EQ(rec.Value(0, i), alarms[a].samples[i][0]) << i;
            ASSERT_FLOAT_EQ(rec.Value(1, i), alarms[a].samples[i][1]) << i;
        }
    }
}

TEST_F(DownloadTest, LatestCalibrationAndRequestsWithoutATarget)
{
    Connect();
    EXPECT_FALSE(ctl->GetInterval(nullptr));
    EXPECT_FALSE(ctl->GetAlarm(nullptr));
    EXPECT_FALSE(ctl->GetLatestHistory(nullptr));
    EXPECT_TRUE(fake.Commands().isEmpty());
    EXPECT_EQ(ctl->Status(), 6);

    inst.SetGasEnabled(0, true);
    inst.SetGasEnabled(1, true);
    ASSERT_TRUE(ctl->GetLatestHistory(&inst));
    EXPECT_EQ(fake.Commands(), QList<QByteArray>{"SO,R,"});
    EXPECT_EQ(inst.CalibDate(0), MakeDate(2024, 3, 5, 14, 7, 9));
    EXPECT_FLOAT_EQ(inst.CalibBefore(1), 20.5f);
    EXPECT_FLOAT_EQ(inst.CalibAfter(1), 20.9f);

    // It does not clear a Cancel left set: the answer ends it cancelled.
    ctl->SetCancel(true);
    EXPECT_FALSE(ctl->GetLatestHistory(&inst));
    EXPECT_EQ(ctl->Status(), 2);
    EXPECT_TRUE(ctl->Cancel());
}

TEST_F(DownloadTest, PowerEventsAreStoredAsHeldEvenBeyondTheOldTableSize)
{
    // 130 events: more than the 121 the record once held, in three blocks.
    QList<FakePowerEvent> events;
    for (int i = 0; i < 130; ++i)
        events.append({MakeDate(2024, 2, 1, 6, 0, 0).addSecs(qint64(i) * 3637), i % 2 == 0});
    fake.SetRecordLines("DO,R,", PowerEventLines(4, events));
    Connect();
    for (bool withFault : {false, true}) {
        SCOPED_TRACE(withFault ? "bad checksum on block 2" : "clean");
        QFile::remove(LogDatabasePath());
        CreateLogDatabase(LogDatabasePath());
        fake.ClearFrames();
        if (withFault)
            fake.AddFaultOn(Fault::BadChecksum, "DO,R,\x06", 1);
        clsPowerEvents collection;
        collection.SetInstruments(&inst);
        ASSERT_TRUE(ctl->GetPowerEvent(&collection));
        EXPECT_EQ(fake.Commands().size(), withFault ? 4 : 3);
        ASSERT_EQ(collection.Count(), 1);
        for (clsPowerEvent* rec : collection) {
            rec->SetInstrument(&inst);
            EXPECT_TRUE(rec->Update());
        }
        EXPECT_EQ(Rows("Log_Head"), 1);
        LogDb db(LogDatabasePath());
        QSqlQuery q(db.Db());
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT Dates, Power_Type FROM Power_Event ORDER BY SeqNo")));
        int i = 0;
        for (; q.next(); ++i) {
            ASSERT_LT(i, events.size());
            EXPECT_EQ(IsoToDate(q.value(0).toString()), events[i].when) << i;
            EXPECT_EQ(q.value(1).toInt() != 0, events[i].on) << i;
        }
        EXPECT_EQ(i, events.size());
    }
}

TEST_F(DownloadTest, CalibrationHistoryOfBothGasesIsStoredAsHeld)
{
    SetHistories();
    Connect();
    clsHistorys collection;
    collection.SetInstruments(&inst);
    ASSERT_TRUE(ctl->GetHistory(&collection)) << Log().toStdString();
    const QList<QByteArray> commands = fake.Commands();
    EXPECT_EQ(commands, (QList<QByteArray>{"IH,R,1,", "IH,R,1,\x06", "IH,R,2,", "IH,R,2,\x06"}));
    ASSERT_EQ(collection.Count(), 1);
    clsHistory* rec = collection.Item(1);
    rec->SetInstrument(&inst);
    ASSERT_TRUE(rec->HistoryUpdate());

    LogDb db(LogDatabasePath());
    QSqlQuery q(db.Db());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT SeqNo FROM Log_Head WHERE Types=3")));
    ASSERT_TRUE(q.next());
    clsHistory stored;
    stored.ClearDatas();
    stored.SetSeqNo(q.value(0).toLongLong());
    ASSERT_TRUE(stored.ReLoad());
    ASSERT_EQ(stored.DataCount(), 60);
    for (int e = 0; e < 60; ++e) {
        const int i = 59 - e; // newest first
        EXPECT_EQ(stored.Dates(e), gas1[i].when) << e;
        EXPECT_FLOAT_EQ(stored.Before(0, e), gas1[i].before) << e;
        EXPECT_FLOAT_EQ(stored.After(0, e), gas1[i].after) << e;
        EXPECT_FLOAT_EQ(stored.Before(1, e), gas2[i].before) << e;
        EXPECT_FLOAT_EQ(stored.After(1, e), gas2[i].after) << e;
    }

    // A failing first gas still asks for the second; the result is false.
    // Each of the four first-gas requests could still be answered with a
    // first-gas block, which the second gas's blocks resemble: its first
    // block is asked for again until the line tells (once more for each,
    // and once for the last one heard after the second gas's request).
    fake.ClearFrames();
    fake.AddFaultOn(Fault::Silence, "IH,R,1,", 1, -1);
    EXPECT_FALSE(ctl->GetHistory(&collection));
    EXPECT_EQ(fake.Commands().count(QByteArray("IH,R,1,")), 4);
    EXPECT_EQ(fake.Commands().count(QByteArray("IH,R,2,")), 6);
    EXPECT_EQ(ctl->Status(), 6);
}

// A block of the first gas that comes only after the second gas's request
// (the first gas's download failed by its time-outs, the answer to its last
// frame held back) is never taken as the second gas's: GetHistory says the
// history is incomplete, and every reading collected is its own gas's.
TEST_F(DownloadTest, FirstGasBlockHeardDuringTheSecondGasIsNotCollectedAsItsOwn)
{
    SetHistories();
    Connect();
    const QByteArray request("IH,R,1,");
    const QByteArray ack("IH,R,1,\x06");
    const QByteArray timeoutNak("IH,R,\x15");
    struct Case {
        const char* name;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        // The instrument moved on to its last block; every answer after was
        // lost until the last NAK block's.
        {"the first gas's last block",
         [&] {
             fake.AddFaultOn(Fault::AnswerLost, ack, 1);
             fake.AddFaultOn(Fault::Silence, timeoutNak, 1, 2);
             fake.AddFaultOn(Fault::HeldIntoNextRequest, timeoutNak, 3);
         }},
        {"the first gas's first block again (its ACK block unheard)",
         [&] {
             fake.AddFaultOn(Fault::Silence, ack, 1);
             fake.AddFaultOn(Fault::Silence, timeoutNak, 1, 2);
             fake.AddFaultOn(Fault::HeldIntoNextRequest, timeoutNak, 3);
         }},
        {"the first gas's first block, answering its last request",
         [&] {
             fake.AddFaultOn(Fault::Silence, request, 1, 3);
             fake.AddFaultOn(Fault::HeldIntoNextRequest, request, 4);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int k = 0; k < 10; ++k)
            QCoreApplication::processEvents(); // what the case before left on the line
        fake.ClearFaults();
        fake.ClearFrames();
        QFile::remove(home.file(QStringLiteral("SerialLog.log")));
        c.arrange();
        clsHistorys collection;
        collection.SetInstruments(&inst);
        EXPECT_FALSE(ctl->GetHistory(&collection));
        EXPECT_TRUE(Log().contains(QStringLiteral(" of an earlier request >>>"))) << Log().toStdString();
        ASSERT_EQ(collection.Count(), 1);
        const clsHistory* rec = collection.Item(1);
        int secondGas = 0;
        for (int e = 0; e < rec->DCount(); ++e) {
            const qsizetype i = std::find_if(gas2.begin(), gas2.end(),
                                             [&](const FakeCalibration& f) { return f.when == rec->Dates(e); })
                                - gas2.begin();
            ASSERT_LT(i, gas2.size()) << e;
            if (rec->After(0, e) != -101.0f) {
                EXPECT_FLOAT_EQ(rec->Before(0, e), gas1[i].before) << e;
                EXPECT_FLOAT_EQ(rec->After(0, e), gas1[i].after) << e;
            }
            if (rec->After(1, e) != -101.0f) {
                EXPECT_FLOAT_EQ(rec->Before(1, e), gas2[i].before) << e;
                EXPECT_FLOAT_EQ(rec->After(1, e), gas2[i].after) << e;
                ++secondGas;
            }
        }
        // The second gas itself is downloaded whole.
        EXPECT_EQ(secondGas, gas2.size()) << Log().toStdString();
    }
}

// After a download has failed, a block that comes before the next request
// is logged and dropped: not parsed, not acknowledged, and the state the
// failure left stays. The next download is exact.
TEST_F(DownloadTest, BlockAfterAFailedDownloadIsNeitherTakenNorAnswered)
{
    Connect();
    // The instrument moved on to block 1; every answer after was lost until
    // the last NAK block's, which comes only once the download has failed.
    fake.AddFaultOn(Fault::AnswerLost, "DR,R,\x06", 1);
    fake.AddFaultOn(Fault::Silence, "DR,R,\x15", 1, 2);
    fake.AddFaultOn(Fault::HeldIntoNextRequest, "DR,R,\x15", 3);
    EXPECT_FALSE(ctl->GetInterval(&intervals));
    EXPECT_EQ(ctl->Status(), 2);
    EXPECT_FALSE(App().AnswerReceived);
    const auto taken = [&] {
        int samples = 0;
        for (clsInterval* rec : intervals)
            samples += rec->DataCount();
        return samples;
    };
    const int samples = taken();
    const qsizetype frames = fake.Frames().size();

    const QString dropped = QStringLiteral("<<< Not part of a request: dropped >>>");
    const qsizetype droppedBefore = Log().count(dropped);
    fake.SendHeldAnswer();
    ASSERT_TRUE(WaitUntil([&] { return Log().count(dropped) > droppedBefore; }));
    // Long enough for an answer to the block to reach the instrument.
    EXPECT_FALSE(WaitUntil([&] { return fake.Frames().size() > frames; }, 500));
    EXPECT_EQ(ctl->Status(), 2);
    EXPECT_FALSE(App().AnswerReceived);
    EXPECT_EQ(taken(), samples);

    QFile::remove(LogDatabasePath());
    CreateLogDatabase(LogDatabasePath());
    ASSERT_TRUE(DownloadAndStore()) << Log().toStdString();
    ExpectStoredTrends();
}
