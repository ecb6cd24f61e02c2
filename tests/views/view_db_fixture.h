#pragma once
// Stored records for the panel tests and the pictures: a head row with two
// gases (CO 0..500 ppm, O2 0..25 vol%, one decimal) and its rows, written
// with bound values into the program's database.
#include "view_fixture.h"

#include <vector>

struct StoredEvent {
    QDateTime when;
    int code0 = -101;
    int code1 = -101;
};

inline void StoreHead(qint64 seqNo, int types, const QString& serial, const QDateTime& dates, int interval = 10)
{
    LogDb db;
    ExecSql(db,
            QStringLiteral("Insert Into Log_Head (SeqNo, Types, SerialNo, StationID, UserID, Dates, Names, "
                           "Model, Interval, FolderID, Gas1Name, Gas1Full, Gas1Point, Gas1Unit, Gas1Enable, "
                           "Gas1Avr, Gas1Max, Gas1Min, Gas1MaxDate, Gas1MinDate, Gas2Name, Gas2Full, Gas2Point, "
                           "Gas2Unit, Gas2Enable, Gas2Avr, Gas2Max, Gas2Min, Gas2MaxDate, Gas2MinDate) "
                           "Values (?, ?, ?, 'STATION1', 'USER1', ?, 'Trend', 'GX01', ?, '24/05', "
                           "'CO', 500, 1, 'ppm', 1, 12.5, 48.0, 0.0, ?, ?, "
                           "'O2', 25, 1, 'vol%', 1, 20.8, 20.9, 18.2, ?, ?);"),
            {seqNo, types, serial, DbDate(dates), interval, DbDate(dates), DbDate(dates), DbDate(dates),
             DbDate(dates)});
}

// An interval trend of n samples from start, ten seconds apart; values[i]
// of gas 0 when given, else a gentle wave.
inline void StoreInterval(qint64 seqNo, const QString& serial, const QDateTime& start, int n,
                          const std::vector<StoredEvent>& events, const std::vector<float>& values = {})
{
    StoreHead(seqNo, 1, serial, start);
    LogDb db;
    DbTransaction t(db);
    for (int i = 0; i < n; ++i) {
        const float v0 = i < static_cast<int>(values.size()) ? values[static_cast<size_t>(i)]
                                                             : float((i * 7) % 50) / 2.0f;
        ExecSql(db,
                QStringLiteral("Insert Into Interval_Data (RelNo, Datetimes, Gas1Value, Gas1NowCl, Gas2Value, "
                               "Gas2NowCl) Values (?, ?, ?, 0, ?, 0);"),
                {seqNo, DbDate(start.addSecs(10 * i)), v0, 20.9 - (i % 7) * 0.1});
    }
    for (const StoredEvent& e : events)
        ExecSql(db,
                QStringLiteral("Insert Into Interval_Event (RelNo, Datetimes, BaseDate, Gas1Event, Gas2Event) "
                               "Values (?, ?, ?, ?, ?);"),
                {seqNo, DbDate(e.when), DbDate(start), e.code0, e.code1});
    t.Commit();
}

// An alarm trend of n points, point 180 at the alarm moment, five seconds
// apart.
inline void StoreAlarm(qint64 seqNo, const QString& serial, const QDateTime& moment, int n)
{
    StoreHead(seqNo, 2, serial, moment, 5);
    LogDb db;
    DbTransaction t(db);
    for (int i = 0; i < n; ++i) {
        const int d = i - 180;
        const float v0 = d < -20 ? 5.0f + (i % 5) : d < 40 ? 30.0f + d * 0.5f : 15.0f;
        ExecSql(db,
                QStringLiteral("Insert Into Alarm_Data (RelNo, Datetimes, Gas1Value, Gas2Value) Values (?, ?, ?, ?);"),
                {seqNo, DbDate(moment.addSecs(5 * d)), v0, 20.9});
    }
    t.Commit();
}
