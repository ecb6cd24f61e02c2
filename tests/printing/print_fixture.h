#pragma once
// Shared pieces of the printing tests: trend records built in memory,
// stored records for the reports that read the database, and reading a
// printed PDF file back as text.
#include "common/appstate.h"
#include "common/clock.h"
#include "common/dates.h"
#include "common/logdb.h"
#include "common/paths.h"
#include "common/resstrings.h"
#include "printing/print_job.h"
#include "printing/printer_choice.h"
#include "printing/recording_canvas.h"
#include "records/alarm.h"
#include "records/interval.h"
#include "pdf_text.h"
#include "temp_home.h"

#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace print_test {

inline QDateTime T0() { return MakeDate(2026, 3, 4, 10, 0, 0); }

// Two gases: CO 0..500 ppm with no decimals, O2 0..25 vol% with one.
template <class Record>
void SetGases(Record& rec, bool secondEnabled = true)
{
    rec.SetGasListInfo(0, 0, QStringLiteral("CO"));
    rec.SetGasListInfo(0, 1, 500.0f);
    rec.SetGasListInfo(0, 3, 0);
    rec.SetGasListInfo(0, 13, true);
    rec.SetGasListInfo(0, 14, QStringLiteral("ppm"));
    rec.SetGasListInfo(1, 0, QStringLiteral("O2"));
    rec.SetGasListInfo(1, 1, 25.0f);
    rec.SetGasListInfo(1, 3, 1);
    rec.SetGasListInfo(1, 13, secondEnabled);
    rec.SetGasListInfo(1, 14, QStringLiteral("vol%"));
}

template <class Record>
void SetIdentity(Record& rec, const QString& name)
{
    rec.SetGasBaseInfo(0, name);
    rec.SetGasBaseInfo(1, T0());
    rec.SetGasBaseInfo(2, QStringLiteral("USER-7"));
    rec.SetGasBaseInfo(3, QStringLiteral("STATION-3"));
    rec.SetGasBaseInfo(4, QStringLiteral("SN0042"));
    rec.SetGasBaseInfo(6, 60);
}

// An interval trend of samples one minute apart; gas 0 reads values[i].
inline void FillInterval(clsInterval& rec, const std::vector<float>& values, int events = 0)
{
    SetGases(rec);
    SetIdentity(rec, QStringLiteral("Shift A"));
    for (size_t i = 0; i < values.size(); ++i) {
        const QDateTime t = T0().addSecs(60 * static_cast<qint64>(i));
        rec.AddValue(0, t, values[i]);
        rec.AddValue(1, t, 20.9f);
    }
    for (int e = 0; e < events; ++e)
        rec.AddEvents(0, T0().addSecs(60 * e + 30), -104, T0());
    rec.SetGasListInfo(0, 8, 120.0f);
    rec.SetGasListInfo(0, 9, 0.0f);
    rec.SetGasListInfo(0, 10, 35.0f);
    rec.SetGasListInfo(0, 11, T0().addSecs(120));
    rec.SetGasListInfo(0, 12, T0());
    rec.SetGasListInfo(1, 8, 20.9f);
    rec.SetGasListInfo(1, 9, 18.5f);
    rec.SetGasListInfo(1, 10, 20.4f);
    rec.SetGasListInfo(1, 11, T0());
    rec.SetGasListInfo(1, 12, T0().addSecs(300));
}

// An alarm trend of n samples one second apart; gas 0 rises from 0.
inline void FillAlarm(clsAlarm& rec, int n)
{
    SetGases(rec);
    SetIdentity(rec, QStringLiteral("Alarm 1"));
    for (int i = 0; i < n; ++i) {
        rec.SetDateTimes(i, T0().addSecs(i - 180));
        rec.SetValue(0, i, static_cast<float>(i));
        rec.SetValue(1, i, 20.9f);
    }
    rec.SetDataCount(n);
}

// The sample table the data view shows for an interval trend: heading and
// one row per sample; event rows carry their colour.
inline GridSnapshot SampleGrid(int samples, int eventEvery = 0)
{
    GridSnapshot grid;
    grid.AddRow({QStringLiteral("No"), QStringLiteral("Date/Time"), QStringLiteral("CO"), QStringLiteral("O2")});
    for (int i = 0; i < samples; ++i) {
        const QString date = GeneralDate(T0().addSecs(60 * i));
        if (eventEvery > 0 && i % eventEvery == eventEvery - 1) {
            grid.AddRow({QString(), date, QStringLiteral("ALARM"), QString()}, {true, true, true, true});
        } else {
            grid.AddRow({QString::number(i + 1), date, QString::number(i % 50), QStringLiteral("20.9")});
        }
    }
    return grid;
}

inline GridSnapshot LastCalGrid(int rows)
{
    GridSnapshot grid;
    grid.AddRow(QStringLiteral("No.|SerialNo|UserID|StationID|CO(500ppm)|O2(25vol%)|Last Download").split('|'));
    for (int r = 1; r <= rows; ++r) {
        grid.AddRow({QString::number(r), QStringLiteral("SN%1").arg(r, 4, 10, QLatin1Char('0')),
                     QStringLiteral("U%1").arg(r), QStringLiteral("ST%1").arg(r), QStringLiteral("12"),
                     QStringLiteral("20.9"), QStringLiteral("2026/03/04 10:00:00")});
    }
    return grid;
}

// Runs one statement on the program's database with bound values.
inline void Exec(const QString& sql, const QVariantList& values = {})
{
    LogDb db;
    QSqlQuery q(db.Db());
    ASSERT_TRUE(q.prepare(sql)) << sql.toStdString() << q.lastError().text().toStdString();
    for (const QVariant& v : values)
        q.addBindValue(v);
    ASSERT_TRUE(q.exec()) << sql.toStdString() << ": " << q.lastError().text().toStdString();
}

// A Log_Head row of kind types with the fixture's identity and gases.
inline void StoreHead(qint64 seqNo, int types, const QVariant& serial = QStringLiteral("SN0042"))
{
    Exec(QStringLiteral("Insert Into Log_head (SeqNo, Names, UserID, StationID, SerialNo, Types, Dates, "
                        "Gas1Name, Gas1Full, Gas1Point, Gas1Unit, Gas1Enable, "
                        "Gas2Name, Gas2Full, Gas2Point, Gas2Unit, Gas2Enable) "
                        "Values (?,?,?,?,?,?,?, ?,?,?,?,?, ?,?,?,?,?)"),
         {seqNo, QStringLiteral("Head"), QStringLiteral("USER-7"), QStringLiteral("STATION-3"), serial, types,
          DbDate(T0()), QStringLiteral("CO"), 500.0, 0, QStringLiteral("ppm"), 1, QStringLiteral("O2"), 25.0, 2,
          QStringLiteral("vol%"), 1});
}

// Calibration entry i of history head relNo, a day apart, oldest first.
inline void StoreCalibration(qint64 relNo, int i, float before0, float after0, float before1, float after1)
{
    Exec(QStringLiteral("Insert Into cHistory (RelNo, Dates, Gas1Before, Gas1After, Gas2Before, Gas2After) "
                        "Values (?,?,?,?,?,?)"),
         {relNo, DbDate(T0().addDays(i)), before0, after0, before1, after1});
}

inline void StoreEvent(const QString& table, qint64 relNo, int minute, const QVariant& gasName, const QVariant& code)
{
    Exec(QStringLiteral("Insert Into %1 (RelNo, Dates, GasName, Alarm_type) Values (?,?,?,?)").arg(table),
         {relNo, DbDate(T0().addSecs(60 * minute)), gasName, code});
}

inline void StorePower(qint64 relNo, int minute, bool on)
{
    Exec(QStringLiteral("Insert Into Power_Event (RelNo, Dates, Power_Type) Values (?,?,?)"),
         {relNo, DbDate(T0().addSecs(60 * minute)), on ? 1 : 0});
}

// Page count of a pdftotext text: one form feed ends each page.
inline int PdfPages(const QString& text) { return static_cast<int>(text.count(QLatin1Char('\f'))); }

} // namespace print_test
