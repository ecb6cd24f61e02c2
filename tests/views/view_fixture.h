#pragma once
// Builders of small stored records for the view tests, and a fresh program
// folder with an empty log database.
#include "views/view_records.h"

#include "common/appstate.h"
#include "common/dates.h"
#include "common/errors.h"
#include "common/gasvalue.h"
#include "common/logdb.h"
#include "common/paths.h"
#include "common/resstrings.h"
#include "temp_home.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

inline QDateTime T(int h, int m, int s, int day = 17)
{
    return MakeDate(2024, 5, day, h, m, s);
}

template <class R>
void SetGas(R& r, int gas, const QString& name, float full, int point, bool on, const QString& unit)
{
    r.SetGasListInfo(gas, 0, name);
    r.SetGasListInfo(gas, 1, full);
    r.SetGasListInfo(gas, 3, point);
    r.SetGasListInfo(gas, 13, on);
    r.SetGasListInfo(gas, 14, unit);
}

// The two gases every fixture uses: CO 0..500 ppm with one decimal, O2
// 0..25 vol% with one decimal.
template <class R>
void TwoGases(R& r)
{
    SetGas(r, 0, QStringLiteral("CO"), 500.0f, 1, true, QStringLiteral("ppm"));
    SetGas(r, 1, QStringLiteral("O2"), 25.0f, 1, true, QStringLiteral("vol%"));
}

template <class R>
void Identity(R& r, const QString& name, const QDateTime& date)
{
    r.SetGasBaseInfo(0, name);
    r.SetGasBaseInfo(1, date);
    r.SetGasBaseInfo(2, QStringLiteral("USER1"));
    r.SetGasBaseInfo(3, QStringLiteral("ST1"));
    r.SetGasBaseInfo(4, QStringLiteral("SN100"));
    r.SetGasBaseInfo(6, 10);
}

inline int AddSample(clsInterval& r, const QDateTime& t, float v0, float v1)
{
    const int i = r.DataCount();
    r.SetDataCount(i + 1);
    r.SetDateTimes(i, t);
    r.SetGasValue(0, i, v0);
    r.SetGasValue(1, i, v1);
    return i;
}

inline int AddEvent(clsInterval& r, const QDateTime& t, float e0, float e1)
{
    const int j = r.EventCount();
    r.SetEventCount(j + 1);
    r.SetEventDateTimes(j, t);
    r.SetGasEvent(0, j, e0);
    r.SetGasEvent(1, j, e1);
    return j;
}

inline void AddPoint(clsAlarm& r, int i, const QDateTime& t, float v0, float v1)
{
    if (r.DataCount() < i + 1)
        r.SetDataCount(i + 1);
    r.SetDateTimes(i, t);
    r.SetValue(0, i, v0);
    r.SetValue(1, i, v1);
}

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppState();
        SetResLanguage(ResLanguage::English);
    }
    void TearDown() override { SetResLanguage(ResLanguage::System); }
};

class ViewDbTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        CreateLogDatabase(LogDatabasePath());
    }
    void Exec(const QString& sql, const QVariantList& values = {})
    {
        LogDb db;
        ExecSql(db, sql, values);
    }
    // A Log_Head row of kind types.
    void Head(qint64 seqNo, int types, const QString& serial, const QDateTime& dates)
    {
        Exec(QStringLiteral("Insert Into Log_Head (SeqNo, Types, SerialNo, StationID, UserID, Dates, Names) "
                            "Values (?, ?, ?, 'ST1', 'USER1', ?, 'N');"),
             {seqNo, types, serial, DbDate(dates)});
    }
    TempHome home;
};
