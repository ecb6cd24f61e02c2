// A block of a log download that reaches its collection again, right after
// it was taken: after a line fault the interface control cannot tell an
// unnumbered block sent again from the next one, and takes it. For every
// record kind the records, and what is stored from them, must be the same as
// with each block once, and nothing may be reported as failed or missing.
#include "record_fixture.h"

#include "records/collections.h"
#include "records/store.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/resstrings.h"

#include "fake_records.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <functional>
#include <memory>
#include <type_traits>

namespace {

using Lines = QList<QByteArray>;

// ---- the records as text ---------------------------------------------------

QString Text(const QVariant& v)
{
    return v.typeId() == QMetaType::QDateTime ? v.toDateTime().toString(Qt::ISODate) : v.toString();
}

// The key, the head fields by index (indexes a kind does not have read as
// empty) and Error.
template <class R>
QStringList Head(const R& r)
{
    QStringList out{r.Key(), QStringLiteral("error %1").arg(r.Error())};
    for (int i = 0; i <= 7; ++i)
        out << QStringLiteral("base %1 %2").arg(i).arg(Text(r.GasBaseInfo(i)));
    for (int g = 0; g < 2; ++g)
        for (int i = 0; i <= 14; ++i)
            out << QStringLiteral("gas %1 %2 %3").arg(g).arg(i).arg(Text(r.GasListInfo(g, i)));
    return out;
}

// The download state of a trend.
template <class R>
QString TrendState(const R& r)
{
    return QStringLiteral("duplicate %1 awaiting %2 stored %3 last %4")
        .arg(r.Duplicate()).arg(r.AwaitingHeader()).arg(r.LinesStored()).arg(r.LastRecordNo());
}

QStringList Describe(const clsInterval& r)
{
    QStringList out = Head(r);
    out << TrendState(r) + QStringLiteral(" lines %1 missing %2").arg(r.DataLineCount()).arg(r.LinesMissing());
    for (int k = 0; k < r.DataCount(); ++k)
        out << QStringLiteral("value %1 %2 %3 %4 %5 %6 %7 %8")
                   .arg(k).arg(Text(r.DateTimes(k))).arg(r.GasValue(0, k)).arg(r.GasValue(1, k))
                   .arg(r.GasNowEvent(0, k)).arg(r.GasNowCalib(0, k)).arg(r.GasNowEvent(1, k))
                   .arg(r.GasNowCalib(1, k));
    for (int j = 0; j < r.EventCount(); ++j)
        out << QStringLiteral("event %1 %2 %3 %4")
                   .arg(j).arg(Text(r.EventDateTimes(j))).arg(r.GasEvent(0, j)).arg(r.GasEvent(1, j));
    return out;
}

QStringList Describe(const clsAlarm& r)
{
    QStringList out = Head(r);
    out << TrendState(r) + QStringLiteral(" next %1").arg(r.NextIndex());
    for (int i = 0; i < clsAlarm::kSamples; ++i)
        out << QStringLiteral("sample %1 %2 %3 %4")
                   .arg(i).arg(Text(r.DateTimes(i))).arg(r.Value(0, i)).arg(r.Value(1, i));
    return out;
}

QStringList Describe(const clsHistory& r)
{
    QStringList out = Head(r);
    for (int e = 0; e < r.DCount(); ++e)
        out << QStringLiteral("entry %1 %2 %3 %4 %5 %6")
                   .arg(e).arg(Text(r.Dates(e))).arg(r.Before(0, e)).arg(r.After(0, e))
                   .arg(r.Before(1, e)).arg(r.After(1, e));
    return out;
}

QStringList Describe(const clsPowerEvent& r)
{
    QStringList out = Head(r);
    for (int i = 0; i < r.DataCount(); ++i)
        out << QStringLiteral("event %1 %2 %3").arg(i).arg(Text(r.Dates(i))).arg(r.Flags(i));
    return out;
}

// Every row of every table of the log database, in the order written.
QStringList StoredRows()
{
    QStringList out;
    LogDb db;
    for (const QString& table : LogTables()) {
        QSqlQuery q(db.Db());
        EXPECT_TRUE(q.exec(QStringLiteral("Select * From %1 Order By SeqNo").arg(table)));
        while (q.next()) {
            QStringList row{table};
            for (int c = 0; c < q.record().count(); ++c)
                row << q.value(c).toString();
            out << row.join(QLatin1Char('|'));
        }
    }
    return out;
}

// Empty when equal, else where the lists first part.
std::string FirstDifference(const QStringList& expected, const QStringList& actual)
{
    for (qsizetype i = 0; i < qMin(expected.size(), actual.size()); ++i)
        if (expected[i] != actual[i])
            return QStringLiteral("at %1: expected \"%2\", got \"%3\"").arg(i).arg(expected[i], actual[i])
                .toStdString();
    if (expected.size() != actual.size())
        return QStringLiteral("%1 entries, expected %2").arg(actual.size()).arg(expected.size()).toStdString();
    return std::string();
}

// ---- one kind's collection, as the interface control drives it -------------

class Downloaded {
public:
    virtual ~Downloaded() = default;
    // One line of request `request` (the calibration history: the gas).
    virtual bool SetDatas(int request, const QString& line, bool checkOnly) = 0;
    virtual QString FailLine() const = 0;
    virtual bool LinesMissing() const = 0;
    virtual QStringList Records() const = 0;
    // Stores the records as the download step does: how many were not stored.
    virtual int Store(clsInstrument* instrument) = 0;
};

template <class C>
class Collection : public Downloaded {
public:
    explicit Collection(clsInstrument* instrument)
    {
        m_c.SetInstruments(instrument);
        m_c.Clear();
        m_c.SetFailLine(QString());
    }
    bool SetDatas(int request, const QString& line, bool checkOnly) override
    {
        if constexpr (std::is_same_v<C, clsHistorys>)
            return m_c.SetDatas(request, line, checkOnly);
        else
            return m_c.SetDatas(line, checkOnly);
    }
    QString FailLine() const override { return m_c.FailLine(); }
    bool LinesMissing() const override
    {
        if constexpr (std::is_same_v<C, clsIntervals>)
            return m_c.LinesMissing();
        else
            return false;
    }
    QStringList Records() const override
    {
        QStringList out;
        for (const auto* r : m_c)
            out += Describe(*r);
        return out;
    }
    int Store(clsInstrument* instrument) override { return StoreDownloadedRecords(m_c, instrument); }

private:
    C m_c;
};

// ---- the downloads ---------------------------------------------------------

struct Case {
    const char* name;
    std::function<std::unique_ptr<Downloaded>(clsInstrument*)> make;
    QList<Lines> requests;                       // the record lines of each request
    std::vector<std::pair<const char*, qint64>> rows; // rows a clean download stores
    // The blocks sent again; none: every block in turn.
    std::function<bool(const Lines& block)> only;
};

template <class C>
std::unique_ptr<Downloaded> Make(clsInstrument* instrument)
{
    return std::make_unique<Collection<C>>(instrument);
}

// True for a block holding the interval data line numbered `number`.
bool HoldsDataLine(const Lines& block, const QByteArray& number)
{
    for (const QByteArray& line : block)
        if (line.mid(2, 2) == "A0" && line.endsWith(number))
            return true;
    return false;
}

std::vector<Case> Cases()
{
    // Two loggers, in four blocks: the second logger's head lines start in
    // the third. Events at the start, on the first line of the second
    // block, within the data and after the last data line.
    QList<FakeIntervalTrend> trends{MakeIntervalTrend(1, MakeDate(2024, 3, 5, 8, 0, 0), 130),
                                    MakeIntervalTrend(2, MakeDate(2024, 3, 6, 9, 30, 0), 20, 30)};
    trends[0].events << FakeTrendEvent{"A2", 1, 0, 20} << FakeTrendEvent{"A1", 3, 40, 15};
    Lines intervals;
    for (const FakeIntervalTrend& t : trends)
        intervals += IntervalLines(t);

    // Record numbers run past 9999 and start again at 0. Alone, the long
    // trend has a block across 9999 and 0; after a trend of 25 lines, a
    // block ends on 9999.
    const FakeIntervalTrend longTrend = MakeIntervalTrend(2, MakeDate(2024, 1, 2, 0, 0, 0), 10040);
    const Lines shortTrend = IntervalLines(MakeIntervalTrend(1, MakeDate(2024, 1, 1, 0, 0, 0), 16));
    const auto roundTheNumbers = [](const Lines& block) {
        return HoldsDataLine(block, "9999") || HoldsDataLine(block, "0000");
    };
    const auto endsOn9999 = [](const Lines& lines) {
        for (const Lines& block : RecordBlocks(lines))
            if (HoldsDataLine(block.mid(block.size() - 1), "9999"))
                return true;
        return false;
    };
    EXPECT_FALSE(endsOn9999(IntervalLines(longTrend)));
    EXPECT_TRUE(endsOn9999(shortTrend + IntervalLines(longTrend)));

    Lines alarms;
    for (const FakeAlarmTrend& t : {MakeAlarmTrend(1, MakeDate(2024, 3, 5, 10, 15, 0)),
                                    MakeAlarmTrend(3, MakeDate(2024, 3, 7, 23, 59, 30), 2)})
        alarms += AlarmLines(t);

    QList<FakeCalibration> gas1, gas2;
    for (int i = 0; i < 60; ++i) {
        const QDateTime when = MakeDate(2023, 1, 1, 9, 0, 0).addDays(i * 3);
        gas1.append({when, float(i % 30), 50.0f});
        gas2.append({when, 20.0f + float(i % 9) / 10.0f, 20.9f});
    }

    QList<FakePowerEvent> power;
    for (int i = 0; i < 130; ++i)
        power.append({MakeDate(2024, 2, 1, 6, 0, 0).addSecs(qint64(i) * 3637), i % 2 == 0});

    return {
        {"interval trends", Make<clsIntervals>, {intervals},
         {{"Interval_Data", 150}, {"Interval_Event", 6}}, nullptr},
        {"interval trend with a block across record 9999 and 0", Make<clsIntervals>,
         {IntervalLines(longTrend)}, {{"Interval_Data", 10040}}, roundTheNumbers},
        {"interval trends with a block ending on record 9999", Make<clsIntervals>,
         {shortTrend + IntervalLines(longTrend)}, {{"Interval_Data", 10056}}, roundTheNumbers},
        {"alarm trends", Make<clsAlarms>, {alarms}, {{"Alarm_Data", 720}}, nullptr},
        {"calibration history", Make<clsHistorys>, {HistoryLines(gas1), HistoryLines(gas2)},
         {{"cHistory", 60}}, nullptr},
        {"power events", Make<clsPowerEvents>, {PowerEventLines(4, power)}, {{"Power_Event", 130}}, nullptr},
    };
}

class BlockAgainTest : public RecordDbTest {
protected:
    void SetUp() override
    {
        RecordDbTest::SetUp();
        SetResLanguage(ResLanguage::English);
        SetClock([] { return MakeDate(2024, 6, 1, 12, 0, 0); });
        inst.SetModel(QStringLiteral("KV-5"));
        inst.SetRomNumber(1203);
        inst.SetUserID(QStringLiteral("USER01"));
        inst.SetStationID(QStringLiteral("ST-7"));
        inst.SetSerialNo(QStringLiteral("SN123456"));
        inst.SetGasName(0, QStringLiteral("CO"));
        inst.SetGasName(1, QStringLiteral("OXY"));
        inst.SetGasEnabled(0, true);
        inst.SetGasEnabled(1, true);
    }
    void TearDown() override
    {
        SetClock({});
        RecordDbTest::TearDown();
    }

    struct Outcome {
        QStringList records;
        QStringList stored;
        QList<bool> taken; // each arrival of a block, in order
        QString failLine;
        bool linesMissing = false;
        int notStored = 0;
    };
    // The arrivals of block b (counted over all requests): its lines as
    // they come each time.
    using Arrivals = std::function<QList<Lines>(int b, const Lines& block)>;

    // Downloads the case into an empty database, the blocks arriving as
    // `arrivals` says, and stores the records as the download step does.
    Outcome Download(const Case& c, const Arrivals& arrivals)
    {
        QFile::remove(LogDatabasePath());
        CreateLogDatabase(LogDatabasePath());
        QFile::remove(ProgramFile(QStringLiteral("SerialLog.log")));
        const std::unique_ptr<Downloaded> collection = c.make(&inst);
        Outcome out;
        int b = 0;
        for (int request = 0; request < c.requests.size(); ++request) {
            for (const Lines& block : RecordBlocks(c.requests[request])) {
                for (const Lines& arrival : arrivals(b++, block)) {
                    QStringList lines;
                    for (const QByteArray& line : arrival)
                        lines << QString::fromLatin1(line);
                    out.taken << FeedBlock(lines, [&](const QString& line, bool checkOnly) {
                        return collection->SetDatas(request, line, checkOnly);
                    });
                }
            }
        }
        out.failLine = collection->FailLine();
        out.linesMissing = collection->LinesMissing();
        out.records = collection->Records();
        out.notStored = collection->Store(&inst);
        out.stored = StoredRows();
        return out;
    }

    // Block `again` arrives `times` times in a row, the others once; every
    // arrival is taken and nothing is reported. Each line of an arrival
    // after the first goes to the serial log as duplicate data.
    Outcome Download(const Case& c, int again, int times)
    {
        qsizetype repeatedLines = 0;
        const Outcome out = Download(c, [&](int b, const Lines& block) {
            if (b != again)
                return QList<Lines>{block};
            repeatedLines = (times - 1) * block.size();
            return QList<Lines>(times, block);
        });
        EXPECT_EQ(SerialLog().count(QStringLiteral("<<< Duplicate data >>>")), repeatedLines);
        EXPECT_FALSE(out.taken.contains(false));
        EXPECT_EQ(out.failLine, QString());
        EXPECT_FALSE(out.linesMissing);
        EXPECT_EQ(out.notStored, 0);
        return out;
    }

    clsInstrument inst;
};

} // namespace

// Every block in turn (the first, those holding head lines, those in the
// data, the last) arrives twice and three times in a row.
TEST_F(BlockAgainTest, ABlockTakenAgainInARowStoresNothingTwice)
{
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        const Outcome once = Download(c, -1, 1);
        for (const auto& [table, rows] : c.rows)
            EXPECT_EQ(Rows(QString::fromLatin1(table)), rows) << table;
        QList<Lines> blocks;
        for (const Lines& request : c.requests)
            blocks += RecordBlocks(request);
        int sentAgain = 0;
        for (int b = 0; b < blocks.size(); ++b) {
            if (c.only && !c.only(blocks[b]))
                continue;
            ++sentAgain;
            for (int times : {2, 3}) {
                SCOPED_TRACE(QStringLiteral("block %1 of %2, %3 times").arg(b).arg(blocks.size()).arg(times)
                                 .toStdString());
                const Outcome again = Download(c, b, times);
                EXPECT_EQ(FirstDifference(once.records, again.records), "");
                EXPECT_EQ(FirstDifference(once.stored, again.stored), "");
            }
        }
        EXPECT_GT(sentAgain, 0);
    }
}

// A block sent again that was not stored is stored: one refused by its
// check pass (a line garbled on the way), and the block stored last arriving
// garbled, then whole, is still that block.
TEST_F(BlockAgainTest, ABlockNotStoredBeforeIsStoredWhenItComesAgain)
{
    const Case c = Cases().front();
    const Outcome once = Download(c, -1, 1);
    // The last line loses its last character, so it no longer has the
    // length of its type.
    const auto garbled = [](Lines block) {
        block.last().chop(1);
        return block;
    };
    struct Sequence {
        const char* name;
        std::function<QList<Lines>(const Lines& block)> arrivals;
        QList<bool> taken;
    };
    const Sequence sequences[] = {
        {"garbled, then whole", [&](const Lines& b) { return QList<Lines>{garbled(b), b}; }, {false, true}},
        {"whole, garbled, whole", [&](const Lines& b) { return QList<Lines>{b, garbled(b), b}; },
         {true, false, true}},
        {"garbled twice, then whole", [&](const Lines& b) { return QList<Lines>{garbled(b), garbled(b), b}; },
         {false, false, true}},
    };
    for (const Sequence& s : sequences) {
        SCOPED_TRACE(s.name);
        const int blocks = static_cast<int>(RecordBlocks(c.requests.front()).size());
        for (int again = 0; again < blocks; ++again) {
            SCOPED_TRACE(again);
            const Outcome out = Download(c, [&](int b, const Lines& block) {
                return b == again ? s.arrivals(block) : QList<Lines>{block};
            });
            EXPECT_EQ(out.taken.mid(again, s.taken.size()), s.taken);
            EXPECT_EQ(out.taken.count(false), s.taken.count(false));
            EXPECT_FALSE(out.linesMissing);
            EXPECT_EQ(out.notStored, 0);
            EXPECT_EQ(FirstDifference(once.records, out.records), "");
            EXPECT_EQ(FirstDifference(once.stored, out.stored), "");
        }
    }
}
