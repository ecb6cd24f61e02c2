// The calibration history of one instrument and the last-calibration list.
#include "common/dates.h"
#include "common/gasvalue.h"
#include "common/resstrings.h"
#include "printing/report_canvas.h"
#include "printing/reports.h"
#include "records/history.h"

using namespace report_text;

namespace {

QStringList HistoryHeading(const clsHistory& rec)
{
    return {GetResString(kIdNo), GetResString(kIdDateTime), QString(), RecordGasCaption(rec, 0),
            RecordGasCaption(rec, 1)};
}

// Entry rows: number and readings centred, date and Before/After left.
void EntryAlign(ReportColumns& columns)
{
    columns.AlignAll(kAlignCentre);
    columns.ColumnAlign[1] = kAlignLeft;
    columns.ColumnAlign[2] = kAlignLeft;
}

void PrintHistoryHeading(PrintSession& s, const ColumnFit& fit, const QStringList& heading)
{
    s.columns.AlignAll(kAlignCentre);
    s.HeadingRow(fit, heading);
    EntryAlign(s.columns);
    s.Rule(1);
}

QString Reading(const clsHistory& rec, int gas, float value)
{
    return FormatGasValue(value, static_cast<std::int16_t>(rec.GasListInfo(gas, 3).toInt()));
}

} // namespace

void PrintCalHistory(PrintSession& s)
{
    clsHistory rec;
    rec.SetSeqNo(s.request.SeqNo);
    // A SeqNo that names no stored row leaves the record empty: its identity
    // prints as "*" and the table has no rows.
    if (!rec.ReLoad()) {
        s.NoteError(GetResString(kIdReadFailed));
        rec.ClearDatas();
    }

    s.columns.SetEdges(s.out.ScaleWidth(), {0, 0.04, 0.2, 0.24, 0.35, 0.46, 0.57, 0.68, 0.79, 0.9, 1.0});
    s.columns.AlignAll(kAlignLeft);
    s.out.SetForeColor(0);
    s.out.SetCurrentY(s.out.ScaleHeight() / 20);

    const IdentityBlock identity(rec.GasBaseInfo(4).toString(), rec.GasBaseInfo(3).toString(),
                                 rec.GasBaseInfo(2).toString(), GeneralDate(rec.GasBaseInfo(1).toDateTime()));
    const QStringList heading = HistoryHeading(rec);
    // Two rows per calibration: before and after.
    const int n = rec.DataCount();
    std::vector<QStringList> entries;
    entries.reserve(static_cast<size_t>(2 * n));
    for (int i = 0; i < n; ++i) {
        entries.push_back({QString::number(i + 1), GeneralDate(rec.Dates(i)), GetResString(kIdBefore),
                           Reading(rec, 0, rec.Before(0, i)), Reading(rec, 1, rec.Before(1, i))});
        entries.push_back({QString(), QString(), GetResString(kIdAfter), Reading(rec, 0, rec.After(0, i)),
                           Reading(rec, 1, rec.After(1, i))});
    }

    // The identity block and the table share the columns.
    ColumnFit fit = s.NewFit();
    identity.AddTo(fit, s.columns);
    s.columns.AlignAll(kAlignCentre);
    fit.AddOther(s.columns, heading);
    EntryAlign(s.columns);
    for (const QStringList& row : entries)
        fit.AddData(s.columns, row);
    s.Fit(fit, 10);

    s.columns.AlignAll(kAlignLeft);
    identity.Print(s);

    PrintHistoryHeading(s, fit, heading);
    for (int i = 0; i < n; ++i) {
        s.Row(entries[static_cast<size_t>(2 * i)]);
        s.Row(entries[static_cast<size_t>(2 * i + 1)]);
        // Tested after the second row: one calibration's pair never splits.
        if (s.PageBreak(i, n - 1))
            PrintHistoryHeading(s, fit, heading);
    }
    s.Rule(4);
    s.out.SetDrawWidth(1);
}

void PrintLastCalList(PrintSession& s)
{
    const GridSnapshot& grid = s.request.LastCalList;
    const auto rowTexts = [&grid](int r) {
        QStringList cells;
        for (int c = 0; c < 7; ++c)
            cells << grid.Text(r, c);
        return cells;
    };
    const QStringList header = rowTexts(0);
    // Data rows: the number centred, every other column left.
    const auto dataAlign = [&s] {
        s.columns.AlignAll(kAlignLeft);
        s.columns.ColumnAlign[0] = kAlignCentre;
    };

    s.columns.SetEdges(s.out.ScaleWidth(), {0, 0.04, 0.15, 0.25, 0.35, 0.5, 0.65, 1.0});
    const int last = grid.RowCount() - 1;
    ColumnFit fit = s.NewFit();
    s.columns.AlignAll(kAlignCentre);
    fit.AddOther(s.columns, header);
    dataAlign();
    for (int r = 1; r <= last; ++r)
        fit.AddData(s.columns, rowTexts(r));
    s.Fit(fit, 7);

    const auto heading = [&] {
        s.columns.AlignAll(kAlignCentre);
        s.HeadingRow(fit, header);
        s.Rule(1);
        dataAlign();
    };
    s.columns.AlignAll(kAlignLeft);
    s.out.SetForeColor(0);
    s.out.SetCurrentY(s.out.ScaleHeight() / 20);
    s.out.SetDrawWidth(1);
    s.out.SetCurrentX(0);
    s.BlankRow();
    heading();
    for (int r = 1; r <= last; ++r) {
        s.Row(rowTexts(r));
        if (s.PageBreak(r, last))
            heading();
    }
    s.Rule(4);
    s.out.SetDrawWidth(1);
}
