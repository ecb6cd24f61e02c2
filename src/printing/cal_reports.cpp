// The calibration history of one instrument and the last-calibration list.
#include "common/dates.h"
#include "common/gasvalue.h"
#include "common/resstrings.h"
#include "printing/report_canvas.h"
#include "printing/reports.h"
#include "records/history.h"

using namespace report_text;

namespace {

void HistoryHeading(PrintSession& s, const clsHistory& rec)
{
    s.columns.AlignAll(kAlignCentre);
    s.Row({GetResString(kIdNo), GetResString(kIdDateTime), QString(), RecordGasCaption(rec, 0),
           RecordGasCaption(rec, 1)});
    // Entry rows: number and readings centred, date and Before/After left.
    s.columns.ColumnAlign[1] = kAlignLeft;
    s.columns.ColumnAlign[2] = kAlignLeft;
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

    s.columns.Align(0, 2, kAlignCentre);
    s.Row({GetResString(kIdProperty), QString(), GetResString(kIdValue)});
    s.columns.Align(0, 2, kAlignLeft);
    s.Rule(1);
    s.BlankRow();
    s.Row({GetResString(kIdSerialNo), QString(), rec.GasBaseInfo(4).toString()});
    s.Row({GetResString(kIdStationId), QString(), rec.GasBaseInfo(3).toString()});
    s.Row({GetResString(kIdUserId), QString(), rec.GasBaseInfo(2).toString()});
    s.Row({GetResString(kIdLastDownload), QString(), GeneralDate(rec.GasBaseInfo(1).toDateTime())});
    s.BlankRow();
    s.BlankRow();

    HistoryHeading(s, rec);
    const int n = rec.DataCount();
    for (int i = 0; i < n; ++i) {
        s.Row({QString::number(i + 1), GeneralDate(rec.Dates(i)), GetResString(kIdBefore),
               Reading(rec, 0, rec.Before(0, i)), Reading(rec, 1, rec.Before(1, i))});
        s.Row({QString(), QString(), GetResString(kIdAfter), Reading(rec, 0, rec.After(0, i)),
               Reading(rec, 1, rec.After(1, i))});
        // Tested after the second row: one calibration's pair never splits.
        if (s.PageBreak(i, n - 1))
            HistoryHeading(s, rec);
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
    const auto heading = [&] {
        s.columns.AlignAll(kAlignCentre);
        s.Row(rowTexts(0));
        s.Rule(1);
        s.columns.AlignAll(kAlignLeft);
        s.columns.ColumnAlign[0] = kAlignCentre;
    };

    s.columns.SetEdges(s.out.ScaleWidth(), {0, 0.04, 0.15, 0.25, 0.35, 0.5, 0.65, 1.0});
    s.columns.AlignAll(kAlignLeft);
    s.out.SetForeColor(0);
    s.out.SetCurrentY(s.out.ScaleHeight() / 20);
    s.out.SetDrawWidth(1);
    s.out.SetCurrentX(0);
    s.BlankRow();
    heading();
    const int last = grid.RowCount() - 1;
    for (int r = 1; r <= last; ++r) {
        s.Row(rowTexts(r));
        if (s.PageBreak(r, last))
            heading();
    }
    s.Rule(4);
    s.out.SetDrawWidth(1);
}
