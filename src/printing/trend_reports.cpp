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
void PropertyRows(PrintSession& s, const Record& rec, bool interval, qint64 dataCount)
{
    s.Row({GetResString(kIdName), rec.GasBaseInfo(0).toString()});
    s.Row({GetResString(interval ? kIdStartDate : kIdAlarmDate), DateText(rec.GasBaseInfo(1))});
    s.Row({GetResString(kIdSerialNo), rec.GasBaseInfo(4).toString()});
    s.Row({GetResString(kIdStationId), rec.GasBaseInfo(3).toString()});
    s.Row({GetResString(kIdUserId), rec.GasBaseInfo(2).toString()});
    s.Row({GetResString(kIdDataCount), QString::number(dataCount)});
    s.Row({GetResString(kIdIntervalTime), rec.GasBaseInfo(6).toString()});
}

// The gas statistics of an interval trend. Only the second gas shows a
// minimum: the first gas's "Min" cells are dashes whatever it holds.
void StatisticsTable(PrintSession& s, const clsInterval& rec)
{
    s.Rule(1);
    s.columns.AlignAll(kAlignCentre);
    s.BlankRow();
    s.Row({GetResString(kIdGasFullScale), RecordGasCaption(rec, 0), RecordGasCaption(rec, 1)});
    const auto cells = [&rec](const QString& caption, const auto& cell, bool bothGases) {
        QStringList row{caption};
        for (int g = 0; g < 2; ++g) {
            const bool enabled = rec.GasListInfo(g, 13).toBool();
            row << ((enabled && (g == 1 || bothGases)) ? cell(g) : kDashes);
        }
        return row;
    };
    s.Row(cells(GetResString(kIdAvg), [&](int g) { return GasTextOrOver(rec, g, rec.GasListInfo(g, 10).toFloat()); },
                true));
    s.Row(cells(GetResString(kIdMax), [&](int g) { return GasTextOrOver(rec, g, rec.GasListInfo(g, 8).toFloat()); },
                true));
    s.Row(cells(GetResString(kIdMaxDate), [&](int g) { return MonthDayTime(rec.GasListInfo(g, 11)); }, true));
    s.Row(cells(GetResString(kIdMin), [&](int g) { return GasText(rec, g, rec.GasListInfo(g, 9).toFloat()); },
                false));
    s.Row(cells(GetResString(kIdMinDate), [&](int g) { return MonthDayTime(rec.GasListInfo(g, 12)); }, false));
}

template <class Record>
void ColumnHeading(PrintSession& s, const Record& rec)
{
    s.Row({GetResString(kIdNo), GetResString(kIdDateTime), RecordGasCaption(rec, 0), RecordGasCaption(rec, 1)});
    s.Rule(1);
}

void IntervalTable(PrintSession& s)
{
    const GridSnapshot& grid = s.request.SampleTable;
    const int n = grid.RowCount() - 1;
    s.columns.AlignAll(kAlignCentre);
    ColumnHeading(s, *s.request.IntervalData);
    for (int r = 1; r <= n; ++r) {
        // Cells with a colour of their own (event rows) print left-aligned.
        for (int c = 0; c < 4; ++c)
            s.columns.ColumnAlign[static_cast<size_t>(c)] = grid.OwnColour(r, c) ? kAlignLeft : kAlignCentre;
        s.Row({grid.Text(r, 0), grid.Text(r, 1), grid.Text(r, 2), grid.Text(r, 3)});
        if (s.PageBreak(r, n)) {
            s.columns.AlignAll(kAlignCentre);
            ColumnHeading(s, *s.request.IntervalData);
        }
    }
}

void AlarmTable(PrintSession& s)
{
    const clsAlarm& rec = *s.request.AlarmData;
    const int n = rec.DataCount();
    s.columns.AlignAll(kAlignCentre);
    ColumnHeading(s, rec);
    s.columns.ColumnAlign[1] = kAlignLeft;
    for (int i = 0; i < n; ++i) {
        s.Row({QString::number(i + 1), GeneralDate(rec.DateTimes(i)), GasTextOrOver(rec, 0, rec.Value(0, i)),
               GasTextOrOver(rec, 1, rec.Value(1, i))});
        if (i == clsAlarm::kAlarmSample) {
            // Underlines the row of the alarm moment.
            s.out.SetCurrentX(0);
            s.out.Line(0, s.out.CurrentY(), s.out.ScaleWidth(), s.out.CurrentY());
        }
        if (s.PageBreak(i, n - 1)) {
            ColumnHeading(s, rec);
            s.columns.ColumnAlign[1] = kAlignLeft;
        }
    }
}

} // namespace

void PrintTrendProperties(PrintSession& s)
{
    const bool interval = s.request.DataType == kPrintIntervalTrend;
    s.columns.SetEdges(s.out.ScaleWidth(), {0, 0.25, 0.40, 0.55, 0.70, 0.85, 1.0});
    s.columns.AlignAll(kAlignLeft);
    s.out.SetForeColor(0);
    s.out.SetCurrentY(s.out.ScaleHeight() / 20);
    s.Row({GetResString(kIdProperty), GetResString(kIdValue)});
    s.Rule(1);
    s.BlankRow();
    if (interval) {
        const clsInterval& rec = *s.request.IntervalData;
        PropertyRows(s, rec, true, static_cast<qint64>(rec.DataCount()) + rec.EventCount());
        StatisticsTable(s, rec);
    } else {
        const clsAlarm& rec = *s.request.AlarmData;
        PropertyRows(s, rec, false, rec.DataCount());
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
