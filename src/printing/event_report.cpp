// The alarm, trouble and power events of one stored record.
#include "common/dates.h"
#include "common/errors.h"
#include "common/gasvalue.h"
#include "common/logdb.h"
#include "common/paths.h"
#include "common/resstrings.h"
#include "printing/report_canvas.h"
#include "printing/reports.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

using namespace report_text;

namespace {

// A text field; Null prints as an empty cell.
QString Text(const QSqlQuery& q, const char* column)
{
    const QVariant v = q.value(QString::fromLatin1(column));
    return v.isNull() ? QString() : v.toString();
}

QString DateCell(const QSqlQuery& q, const char* column)
{
    return GeneralDate(ReadDbDate(q.value(QString::fromLatin1(column)), QDateTime()));
}

// Runs a SELECT with one bound value; raises DatabaseError when it fails
// (a missing table among others).
void Select(QSqlQuery& q, const QString& sql, const QVariant& value)
{
    if (!q.prepare(sql))
        throw DatabaseError(q.lastError().text());
    q.addBindValue(value);
    if (!q.exec())
        throw DatabaseError(q.lastError().text());
}

struct HeadRow {
    bool found = false;
    qint64 relNo = 0;
    QString serialNo, stationId, userId, dates;
};

QStringList EventHeading(int kind)
{
    if (kind == kPrintPowerEvents)
        return {GetResString(kIdNo), GetResString(kIdDateTime), QStringLiteral("Power")};
    return {GetResString(kIdNo), GetResString(kIdDateTime),
            kind == kPrintAlarmEvents ? GetResString(kIdGas) : QStringLiteral("Gas/Body"),
            kind == kPrintAlarmEvents ? GetResString(kIdAlarm) : QStringLiteral("Event")};
}

// Power events: a centred heading; the number centred, date and ON/OFF
// left below it. Alarm and trouble events: columns 0 to 2 left, column 3 as
// a number or centred, heading and rows alike.
void HeadingAlign(ReportColumns& columns, int kind)
{
    if (kind == kPrintPowerEvents) {
        columns.Align(0, 2, kAlignCentre);
    } else {
        columns.Align(0, 2, kAlignLeft);
        columns.ColumnAlign[3] = kAlignNumberRight;
    }
}

void RowAlign(ReportColumns& columns, int kind)
{
    HeadingAlign(columns, kind);
    if (kind == kPrintPowerEvents)
        columns.Align(1, 2, kAlignLeft);
}

void PrintEventHeading(PrintSession& s, const ColumnFit& fit, int kind)
{
    HeadingAlign(s.columns, kind);
    s.HeadingRow(fit, EventHeading(kind));
    RowAlign(s.columns, kind);
    s.Rule(1);
}

} // namespace

void PrintEventReport(PrintSession& s)
{
    const int kind = s.request.DataType;
    s.columns.SetEdges(s.out.ScaleWidth(), {0, 0.1, 0.4, 0.55, 0.7, 0.85, 1.0});
    s.columns.AlignAll(kAlignNumberRight);
    s.out.SetForeColor(0);
    s.BlankRow();
    s.BlankRow();
    if (kind < kPrintAlarmEvents || kind > kPrintPowerEvents)
        return;

    HeadRow head;
    std::vector<QStringList> rows;
    bool eventsRead = false;
    const QString path = LogDatabasePath();
    try {
        if (!QFile::exists(path))
            throw DatabaseError(QStringLiteral("The database \"%1\" does not exist.").arg(path));
        LogDb db(path);
        db.RequireOpen();
        QSqlQuery q(db.Db());
        Select(q, QStringLiteral("Select * From Log_Head Where SeqNo = ?;"), s.request.SeqNo);
        if (q.next()) {
            head.found = true;
            head.relNo = q.value(QStringLiteral("SeqNo")).toLongLong();
            head.serialNo = Text(q, "SerialNo");
            head.stationId = Text(q, "StationID");
            head.userId = Text(q, "UserID");
            head.dates = DateCell(q, "Dates");
        }
        q.finish();
        if (!head.found) {
            s.NoteError(GetResString(kIdRecordMissing, s.request.SeqNo));
        } else {
            const QString table = kind == kPrintAlarmEvents   ? QStringLiteral("Alarm_Event")
                                  : kind == kPrintTroubleEvents ? QStringLiteral("Trouble_Event")
                                                                : QStringLiteral("Power_Event");
            Select(q, QStringLiteral("Select * From %1 Where RelNo = ? Order By Dates DESC, SeqNo DESC;").arg(table),
                   head.relNo);
            while (q.next()) {
                const QString number = QString::number(rows.size() + 1);
                if (kind == kPrintPowerEvents) {
                    const QVariant power = q.value(QStringLiteral("Power_Type"));
                    rows.push_back({number, DateCell(q, "Dates"),
                                    power.isNull() ? QString()
                                                   : (ReadDbBool(power, false) ? QStringLiteral("ON")
                                                                               : QStringLiteral("OFF"))});
                } else {
                    const QVariant code = q.value(QStringLiteral("Alarm_type"));
                    rows.push_back({number, DateCell(q, "Dates"), Text(q, "GasName"),
                                    code.isNull() ? QString() : StatusCodeName(code.toInt())});
                }
            }
            eventsRead = true;
        }
    } catch (const PelkarError& e) {
        s.NoteError(GetResString(kIdReadFailed) + QStringLiteral("\n") + e.Message());
    }

    const IdentityBlock identity(head.serialNo, head.stationId, head.userId, head.dates);
    const bool table = eventsRead && !rows.empty();

    // The property block and the table share the columns.
    ColumnFit fit = s.NewFit();
    identity.AddTo(fit, s.columns);
    if (table) {
        HeadingAlign(s.columns, kind);
        fit.AddOther(s.columns, EventHeading(kind));
        RowAlign(s.columns, kind);
        for (const QStringList& row : rows)
            fit.AddData(s.columns, row);
    }
    s.Fit(fit, 6);

    s.columns.AlignAll(kAlignNumberRight);
    identity.Print(s);

    if (!table)
        return;
    PrintEventHeading(s, fit, kind);
    const int last = static_cast<int>(rows.size()) - 1;
    for (int i = 0; i <= last; ++i) {
        s.Row(rows[static_cast<size_t>(i)]);
        if (s.PageBreak(i, last))
            PrintEventHeading(s, fit, kind);
    }
}
