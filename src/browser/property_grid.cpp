#include "browser/property_grid.h"

#include "browser/browser_keys.h"

#include "records/head_query.h"
#include "records/record_db.h"

#include "common/dates.h"
#include "common/gascaption.h"
#include "common/gasvalue.h"
#include "common/resstrings.h"

#include <QSqlRecord>

namespace browser {

namespace {

using records_db::Statement;

const QString kNone = QStringLiteral("-----");

QString Text(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString();
}

QString General(const QVariant& v)
{
    return v.isNull() ? QString() : GeneralDate(IsoToDate(v.toString()));
}

float Float(const QVariant& v, float nullValue)
{
    return v.isNull() ? nullValue : v.toFloat();
}

std::int16_t Points(const QVariant& v)
{
    return v.isNull() ? std::int16_t(0) : static_cast<std::int16_t>(v.toInt());
}

QVariant Gas(const QSqlQuery& q, int gas, const char* name)
{
    return q.value(QStringLiteral("Gas%1%2").arg(gas).arg(QLatin1String(name)));
}

QString GasLabel(const QSqlQuery& q, int gas)
{
    return FormatGasLabel(Text(Gas(q, gas, "Name")), Text(Gas(q, gas, "Unit")), Float(Gas(q, gas, "Full"), 0));
}

bool Enabled(const QSqlQuery& q, int gas)
{
    return ReadDbBool(Gas(q, gas, "Enable"), false);
}

// A reading of an enabled gas as text, "OVER" outside 0..full scale.
QString Reading(const QSqlQuery& q, int gas, float value)
{
    return OverIfAboveFull(FormatGasValue(value, Points(Gas(q, gas, "Point"))), Float(Gas(q, gas, "Full"), 0));
}

bool TableExists(LogDb& db, const QString& table)
{
    for (const QString& t : db.Db().tables())
        if (t.compare(table, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// The rows 1 to 7 both trend grids share from row 3 on.
void IdentityRows(GridModel& g, const QSqlQuery& q)
{
    g.SetRow(3, 0, true, {GetResString(5608), IdentityText(q.value(QStringLiteral("SerialNo")))});
    g.SetRow(4, 0, true, {GetResString(5609), IdentityText(q.value(QStringLiteral("StationID")))});
    g.SetRow(5, 0, true, {GetResString(5610), IdentityText(q.value(QStringLiteral("UserID")))});
    g.SetRow(6, 0, true, {GetResString(5611), Text(q.value(QStringLiteral("Dcount")))});
    g.SetRow(7, 0, true, {GetResString(5612), Text(q.value(QStringLiteral("Interval")))});
}

void TrendFormat(GridModel& g, bool dateRowsLeft)
{
    g.AlignAll(CellAlign::Left);
    g.AlignRange(0, 0, 0, g.Cols() - 1, CellAlign::Center);
    g.AlignRange(8, 1, g.Rows() - 1, g.Cols() - 1, CellAlign::Center);
    if (dateRowsLeft) {
        g.AlignRange(11, 0, 11, g.Cols() - 1, CellAlign::Left);
        g.AlignRange(13, 0, 13, g.Cols() - 1, CellAlign::Left);
    }
    for (int r = 0; r < g.Rows(); ++r)
        g.SetMerged(r, r <= 7);
    for (int c = 1; c < g.Cols(); ++c)
        g.Shade(8, c);
}

void IntervalGrid(GridModel& g, QSqlQuery& q)
{
    g.SetRow(0, 0, false, {GetResString(5604), GetResString(5605), GetResString(5605)});
    if (!q.next())
        return;
    g.SetRow(1, 0, true, {GetResString(5606), Text(q.value(QStringLiteral("Names")))});
    g.SetRow(2, 0, true, {GetResString(5607), General(q.value(QStringLiteral("Dates")))});
    IdentityRows(g, q);
    g.SetRow(8, 0, false, {GetResString(5750), GasLabel(q, 1), GasLabel(q, 2)});
    const auto perGas = [&](auto text) {
        return QStringList{Enabled(q, 1) ? text(1) : kNone, Enabled(q, 2) ? text(2) : kNone};
    };
    g.SetRow(9, 0, false, QStringList{GetResString(5613)} + perGas([&](int gas) {
        return Reading(q, gas, Float(Gas(q, gas, "Avr"), kGasNoValue));
    }));
    g.SetRow(10, 0, false, QStringList{GetResString(5614)} + perGas([&](int gas) {
        return Reading(q, gas, Float(Gas(q, gas, "Max"), kGasNoValue));
    }));
    g.SetRow(11, 0, false, QStringList{GetResString(5663)} + perGas([&](int gas) {
        const QDateTime d = IsoToDate(Text(Gas(q, gas, "MaxDate")));
        return d.isValid() ? d.toString(QStringLiteral("MM/dd hh:mm:ss")) : QString();
    }));
    // The minimum is the second gas's only, and never "OVER".
    const bool gas2 = Enabled(q, 2);
    const QDateTime minDate = IsoToDate(Text(Gas(q, 2, "MinDate")));
    g.SetRow(12, 0, false, {GetResString(5615), kNone,
                            gas2 ? FormatGasValue(Float(Gas(q, 2, "Min"), kGasNoValue), Points(Gas(q, 2, "Point")))
                                 : kNone});
    g.SetRow(13, 0, false, {GetResString(5664), kNone,
                            gas2 ? (minDate.isValid() ? minDate.toString(QStringLiteral("MM/dd hh:mm:ss")) : QString())
                                 : kNone});
    TrendFormat(g, true);
}

void AlarmGrid(LogDb& db, GridModel& g, QSqlQuery& q, qint64 seqNo)
{
    g.SetRow(0, 0, false, {GetResString(5604), GetResString(5605), GetResString(5605)});
    if (!q.next())
        return;
    // The alarm moment is the 181st point; a shorter trend has none.
    Statement point(db, QStringLiteral(
        "Select Gas1Value,Gas2Value From Alarm_Data Where RelNo=? Order By SeqNo Limit 1 Offset 180;"));
    QSqlQuery& p = point.Select({seqNo});
    const bool hasPoint = p.next();
    // A Null reading at the alarm moment counts as -12, as the trend reads it.
    const float values[2] = {hasPoint ? Float(p.value(0), -12) : 0, hasPoint ? Float(p.value(1), -12) : 0};

    g.SetRow(1, 0, true, {GetResString(5606), Text(q.value(QStringLiteral("Names")))});
    g.SetRow(2, 0, true, {GetResString(5616), General(q.value(QStringLiteral("Dates")))});
    IdentityRows(g, q);
    g.SetRow(8, 0, false, {GetResString(5750), GasLabel(q, 1), GasLabel(q, 2)});
    QStringList row9{GetResString(5605)};
    for (int gas = 1; gas <= 2; ++gas)
        row9 << (Enabled(q, gas) && hasPoint ? Reading(q, gas, values[gas - 1]) : kNone);
    g.SetRow(9, 0, false, row9);
    TrendFormat(g, false);
}

void HistoryGrid(LogDb& db, GridModel& g, QSqlQuery& q)
{
    g.SetRow(0, 0, false, {QStringLiteral("DateTime"), QStringLiteral("Gas"), QStringLiteral("Before"),
                           QStringLiteral("After")});
    qint64 seqNo = 0;
    QString labels[2];
    std::int16_t points[2] = {0, 0};
    if (q.next()) {
        seqNo = q.value(QStringLiteral("SeqNo")).toLongLong();
        for (int gas = 0; gas < 2; ++gas) {
            labels[gas] = GasLabel(q, gas + 1);
            points[gas] = Points(Gas(q, gas + 1, "Point"));
        }
    }
    Statement s(db, QStringLiteral("Select * From cHistory Where RelNo=? Order By Dates Desc, SeqNo Desc;"));
    QSqlQuery& h = s.Select({seqNo});
    if (!h.next())
        return;
    int n = 1;
    const QString date = General(h.value(QStringLiteral("Dates")));
    float before[2], after[2], full[2];
    for (int gas = 0; gas < 2; ++gas) {
        before[gas] = Float(Gas(h, gas + 1, "Before"), kGasNoValue);
        after[gas] = Float(Gas(h, gas + 1, "After"), kGasNoValue);
        full[gas] = Float(Gas(h, gas + 1, "Full"), 0);
    }
    while (h.next())
        ++n;
    // One entry is checked against its full scale; of several, only the
    // newest is shown, as stored.
    const auto value = [&](float v, int gas) {
        return n == 1 && v > full[gas] ? QStringLiteral("OVER") : FormatGasValue(v, points[gas]);
    };
    g.Resize(n == 1 ? 3 : 11, g.Cols());
    for (int gas = 0; gas < 2; ++gas)
        g.SetRow(1 + gas, 0, false,
                 {gas == 0 ? date : QString(), labels[gas], value(before[gas], gas), value(after[gas], gas)});
    if (n > 1)
        g.SetRow(10, 0, false, {QStringLiteral("..."), QStringLiteral("Total"), QString::number(n),
                                QStringLiteral("Datas")});
}

// The newest rows of an event table; at most shownOfMany of them when there
// are more than ten, with the total in row 10.
void EventRows(LogDb& db, GridModel& g, QSqlQuery& q, const QString& table, int shownOfMany, bool power)
{
    const qint64 seqNo = q.next() ? q.value(QStringLiteral("SeqNo")).toLongLong() : 0;
    if (!TableExists(db, table))
        return;
    Statement s(db, QStringLiteral("Select * From %1 Where RelNo=? Order By Dates Desc, SeqNo Desc;").arg(table));
    QSqlQuery& e = s.Select({seqNo});
    std::vector<QStringList> rows;
    while (e.next()) {
        const QString date = General(e.value(QStringLiteral("Dates")));
        if (power)
            rows.push_back({date, ReadDbBool(e.value(QStringLiteral("Power_Type")), false) ? QStringLiteral("ON")
                                                                                          : QStringLiteral("OFF")});
        else
            rows.push_back({date, Text(e.value(QStringLiteral("GasName"))),
                            StatusCodeName(e.value(QStringLiteral("Alarm_type")).toInt())});
    }
    const int n = static_cast<int>(rows.size());
    if (n == 0)
        return;
    const int shown = n <= 10 ? n : shownOfMany;
    g.Resize(n <= 10 ? n + 1 : 11, g.Cols());
    for (int i = 0; i < shown; ++i)
        g.SetRow(i + 1, 0, false, rows[static_cast<size_t>(i)]);
    if (n > 10) {
        if (power)
            g.SetRow(10, 0, false, {QStringLiteral("..."), QStringLiteral("Total %1 Datas").arg(n)});
        else
            g.SetRow(10, 0, false, {QStringLiteral("..."), QStringLiteral("Total"), QStringLiteral("%1 Datas").arg(n)});
    }
}

void TableFormat(GridModel& g, bool centreValues)
{
    g.AlignAll(centreValues ? CellAlign::Center : CellAlign::Left);
    if (centreValues) {
        g.AlignColumn(0, CellAlign::Left);
        g.AlignColumn(1, CellAlign::Left);
    }
    g.AlignRange(0, 0, 0, g.Cols() - 1, CellAlign::Center);
}

} // namespace

PropertyGrid BuildPropertyGrid(LogDb& db, const QString& key)
{
    PropertyGrid out;
    GridModel& g = out.grid;
    g.Reset(2, 2);
    g.SetRow(0, 0, false, {GetResString(5105), GetResString(5106)});
    if (IsFolderKey(key)) {
        g.SetRow(0, 0, false, {GetResString(5604), GetResString(5605)});
        g.SetRow(1, 0, false, {GetResString(5622), GetResString(5623)});
        out.buttonsEnabled = false;
        TableFormat(g, false);
        return out;
    }
    const RecordKind* kind = KindOfItemLetter(KeyLetter(key));
    const qint64 seqNo = RecordKeySeqNo(key);
    if (!kind)
        return out;
    Statement head(db, QStringLiteral("Select * From Log_Head Where SeqNo=?;"));
    QSqlQuery& q = head.Select({seqNo});
    switch (kind->itemLetter) {
    case 'G':
        g.Reset(14, 3);
        IntervalGrid(g, q);
        break;
    case 'K':
        g.Reset(10, 3);
        AlarmGrid(db, g, q, seqNo);
        break;
    case 'H':
        g.Reset(2, 4);
        HistoryGrid(db, g, q);
        TableFormat(g, true);
        break;
    case 'V':
    case 'W':
        g.Reset(2, 3);
        g.SetRow(0, 0, false, {QStringLiteral("DateTime"),
                               kind->itemLetter == 'V' ? QStringLiteral("Gas") : QStringLiteral("Gas/Body"),
                               QStringLiteral("Event")});
        EventRows(db, g, q, kind->itemLetter == 'V' ? QStringLiteral("Alarm_Event") : QStringLiteral("Trouble_Event"),
                  kind->itemLetter == 'V' ? 2 : 8, false);
        TableFormat(g, false);
        break;
    case 'P':
        g.Reset(2, 2);
        g.SetRow(0, 0, false, {QStringLiteral("DateTime"), QStringLiteral("Power")});
        EventRows(db, g, q, QStringLiteral("Power_Event"), 8, true);
        TableFormat(g, true);
        break;
    default:
        break;
    }
    return out;
}

} // namespace browser
