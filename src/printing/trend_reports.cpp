// The properties block and the sample table of a trend printout.
#include "common/dates.h"
#include "common/gasvalue.h"
#include "common/resstrings.h"
#include "printing/report_canvas.h"
#include "printing/reports.h"
#include "records/alarm.h"
#include "records/interval.h"

#include <QDateTime>
#include <QVariant>

using namespace report_text;

namespace {

const QString kDashes = QStringLiteral("-----");

// A date field as "General Date"; "" for an empty field.
QString DateText(const QVariant& v) { return GeneralDate(v.toDateTime()); }

QString MonthDayTime(const QVariant& v)
{
    const QDateTime t = v.toDateTime();
    return t.isValid() ? t.toString(QStringLiteral("MM/dd hh:mm:ss")) : QString();
}

template <class Record>
QString GasText(const Record& rec, int gas, float value)
{
    return FormatGasValue(value, static_cast<std::int16_t>(rec.GasListInfo(gas, 3).toInt()));
}

template <class Record>
QString GasTextOrOver(const Record& rec, int gas, float value)
{
    return OverIfAboveFull(GasText(rec, gas, value), rec.GasListInfo(gas, 1).toFloat());
}

template <class Record>
std::vector<QStringList> PropertyRows(const Record& rec, bool interval, qint64 dataCount)
{
    return {
        {GetResString(kIdName), rec.GasBaseInfo(0).toString()},
        {GetResString(interval ? kIdStartDate : kIdAlarmDate), DateText(rec.GasBaseInfo(1))},
        {GetResString(kIdSerialNo), rec.GasBaseInfo(4).toString()},
        {GetResString(kIdStationId), rec.GasBaseInfo(3).toString()},
        {GetResString(kIdUserId), rec.GasBaseInfo(2).toString()},
        {GetResString(kIdDataCount), QString::number(dataCount)},
        {GetResString(kIdIntervalTime), rec.GasBaseInfo(6).toString()},
    };
}

// The gas statistics of an interval trend, its heading row first. Only the
// second gas shows a minimum: the first gas's "Min" cells are dashes
// whatever it holds.
std::vector<QStringList> StatisticsRows(const clsInterval& rec)
{
    const auto cells = [&rec](const QString& caption, const auto& cell, bool bothGases) {
        QStringList row{caption};
        for (int g = 0; g < 2; ++g) {
            const bool enabled = rec.GasListInfo(g, 13).toBool();
            row << ((enabled && (g == 1 || bothGases)) ? cell(g) : kDashes);
        }
        return row;
    };
    return {
        {GetResString(kIdGasFullScale), RecordGasCaption(rec, 0), RecordGasCaption(rec, 1)},
        cells(GetResString(kIdAvg), [&](int g) { return GasTextOrOver(rec, g, rec.GasListInfo(g, 10).toFloat()); },
              true),
        cells(GetResString(kIdMax), [&](int g) { return GasTextOrOver(rec, g, rec.GasListInfo(g, 8).toFloat()); },
              true),
        cells(GetResString(kIdMaxDate), [&](int g) { return MonthDayTime(rec.GasListInfo(g, 11)); }, true),
        cells(GetResString(kIdMin), [&](int g) { return GasText(rec, g, rec.GasListInfo(g, 9).toFloat()); }, false),
        cells(GetResString(kIdMinDate), [&](int g) { return MonthDayTime(rec.GasListInfo(g, 12)); }, false),
    };
}

template <class Record>
QStringList ColumnHeading(const Record& rec)
{
    return {GetResString(kIdNo), GetResString(kIdDateTime), RecordGasCaption(rec, 0), RecordGasCaption(rec, 1)};
}

// The column heading, centred, and its rule.
void PrintColumnHeading(PrintSession& s, const ColumnFit& fit, const QStringList& heading)
{
    s.columns.AlignAll(kAlignCentre);
    s.HeadingRow(fit, heading);
    s.Rule(1);
}

QStringList IntervalRow(const GridSnapshot& grid, int r)
{
    return {grid.Text(r, 0), grid.Text(r, 1), grid.Text(r, 2), grid.Text(r, 3)};
}

// Cells with a colour of their own (event rows) print left-aligned.
void IntervalRowAlign(ReportColumns& columns, const GridSnapshot& grid, int r)
{
    for (int c = 0; c < 4; ++c)
        columns.ColumnAlign[static_cast<size_t>(c)] = grid.OwnColour(r, c) ? kAlignLeft : kAlignCentre;
}

void IntervalTable(PrintSession& s)
{
    const GridSnapshot& grid = s.request.SampleTable;
    const int n = grid.RowCount() - 1;
    const QStringList heading = ColumnHeading(*s.request.IntervalData);
    ColumnFit fit = s.NewFit();
    s.columns.AlignAll(kAlignCentre);
    fit.AddOther(s.columns, heading);
    for (int r = 1; r <= n; ++r) {
        IntervalRowAlign(s.columns, grid, r);
        fit.AddData(s.columns, IntervalRow(grid, r));
    }
    s.Fit(fit, 7);

    PrintColumnHeading(s, fit, heading);
    for (int r = 1; r <= n; ++r) {
        IntervalRowAlign(s.columns, grid, r);
        s.Row(IntervalRow(grid, r));
        if (s.PageBreak(r, n))
            PrintColumnHeading(s, fit, heading);
    }
}

QStringList AlarmRow(const clsAlarm& rec, int i)
{
    return {QString::number(i + 1), GeneralDate(rec.DateTimes(i)), GasTextOrOver(rec, 0, rec.Value(0, i)),
            GasTextOrOver(rec, 1, rec.Value(1, i))};
}

void AlarmTable(PrintSession& s)
{
    const clsAlarm& rec = *s.request.AlarmData;
    const int n = rec.DataCount();
    const QStringList heading = ColumnHeading(rec);
    // Rows: the date left-aligned, the other three columns centred.
    const auto rowAlign = [&s] {
        s.columns.AlignAll(kAlignCentre);
        s.columns.ColumnAlign[1] = kAlignLeft;
    };
    ColumnFit fit = s.NewFit();
    s.columns.AlignAll(kAlignCentre);
    fit.AddOther(s.columns, heading);
    rowAlign();
    for (int i = 0; i < n; ++i)
        fit.AddData(s.columns, AlarmRow(rec, i));
    s.Fit(fit, 7);

    PrintColumnHeading(s, fit, heading);
    rowAlign();
    for (int i = 0; i < n; ++i) {
        s.Row(AlarmRow(rec, i));
        // Underlines the row of the alarm moment.
        if (i == clsAlarm::kAlarmSample)
            s.Rule(1);
        if (s.PageBreak(i, n - 1)) {
            PrintColumnHeading(s, fit, heading);
            rowAlign();
        }
    }
}

} // namespace

void PrintTrendProperties(PrintSession& s)
{
    const bool interval = s.request.DataType == kPrintIntervalTrend;
    const QStringList header{GetResString(kIdProperty), GetResString(kIdValue)};
    std::vector<QStringList> properties;
    std::vector<QStringList> statistics;
    if (interval) {
        const clsInterval& rec = *s.request.IntervalData;
        properties = PropertyRows(rec, true, static_cast<qint64>(rec.DataCount()) + rec.EventCount());
        statistics = StatisticsRows(rec);
    } else {
        const clsAlarm& rec = *s.request.AlarmData;
        properties = PropertyRows(rec, false, rec.DataCount());
    }

    s.columns.SetEdges(s.out.ScaleWidth(), {0, 0.25, 0.40, 0.55, 0.70, 0.85, 1.0});
    ColumnFit fit = s.NewFit();
    s.columns.AlignAll(kAlignLeft);
    fit.AddOther(s.columns, header);
    for (const QStringList& row : properties)
        fit.AddOther(s.columns, row);
    s.columns.AlignAll(kAlignCentre);
    for (const QStringList& row : statistics)
        fit.AddOther(s.columns, row);
    s.Fit(fit, 6);

    s.columns.AlignAll(kAlignLeft);
    s.out.SetForeColor(0);
    s.out.SetCurrentY(s.out.ScaleHeight() / 20);
    s.Row(header);
    s.Rule(1);
    s.BlankRow();
    for (const QStringList& row : properties)
        s.Row(row);
    if (interval) {
        s.Rule(1);
        s.columns.AlignAll(kAlignCentre);
        s.BlankRow();
        for (const QStringList& row : statistics)
            s.Row(row);
    }
    s.Rule(4);
    s.out.SetDrawWidth(1);
}

void PrintTrendTable(PrintSession& s)
{
    s.columns.SetEdges(s.out.ScaleWidth(), {0, 0.05, 0.25, 0.40, 0.55, 0.70, 0.85, 1.0});
    s.out.SetForeColor(0);
    s.BlankRow();
    s.BlankRow();
    if (s.request.DataType == kPrintIntervalTrend)
        IntervalTable(s);
    else
        AlarmTable(s);
}
