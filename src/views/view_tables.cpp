#include "views/view_tables.h"

#include "common/colors.h"
#include "common/dates.h"
#include "common/gasvalue.h"
#include "common/resstrings.h"
#include "graph/graph_format.h"

#include <QTimeZone>
#include <algorithm>

namespace {

const QString& Dashes()
{
    static const QString d = QStringLiteral("-----");
    return d;
}

// Whole seconds since the epoch, and the walk's limits.
qint64 Sec(const QDateTime& t)
{
    const qint64 ms = t.toMSecsSinceEpoch();
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}
qint64 LowSec() { return Sec(MakeDate(1998, 1, 1)); }
qint64 HighSec() { return Sec(MakeDate(2199, 1, 1)); }

// Indexes of rows sorted by their second, stored order among equal seconds.
std::vector<int> SortedBySecond(const std::vector<qint64>& secs)
{
    std::vector<int> order(secs.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return secs[static_cast<size_t>(a)] < secs[static_cast<size_t>(b)]; });
    return order;
}

QStringList HeaderRow(const GasFacts& g0, const GasFacts& g1)
{
    return {GetResString(5620), GetResString(5621), GasHeading(g0), GasHeading(g1)};
}

// GeneralDate without the pattern parser: the table writes one per row.
QString RowDate(const QDateTime& t)
{
    if (!t.isValid())
        return QString();
    const QDate d = t.date();
    const QTime c = t.time();
    if (d.year() < 1000 || d.year() > 9999)
        return GeneralDate(t);
    char buf[20];
    const int parts[] = {d.year(), d.month(), d.day(), c.hour(), c.minute(), c.second()};
    auto two = [&](int at, int v) {
        buf[at] = char('0' + v / 10);
        buf[at + 1] = char('0' + v % 10);
    };
    buf[0] = char('0' + parts[0] / 1000);
    buf[1] = char('0' + parts[0] / 100 % 10);
    two(2, parts[0] % 100);
    buf[4] = '/';
    two(5, parts[1]);
    buf[7] = '/';
    two(8, parts[2]);
    buf[10] = ' ';
    two(11, parts[3]);
    buf[13] = ':';
    two(14, parts[4]);
    buf[16] = ':';
    two(17, parts[5]);
    return QString::fromLatin1(buf, 19);
}

} // namespace

std::vector<IntervalLine> MergeIntervalLines(const clsInterval& record)
{
    std::vector<IntervalLine> lines;
    const int nS = record.DataCount();
    const int nE = record.EventCount();
    const qint64 lo = LowSec();
    const qint64 hi = HighSec();

    // Start: the first sample's moment, or the first event's when that is
    // valid and earlier; nothing when neither is valid.
    const QDateTime s0 = record.DateTimes(0);
    const QDateTime e0 = record.EventDateTimes(0);
    const bool s0ok = nS > 0 && s0.isValid() && Sec(s0) > lo;
    const bool e0ok = nE > 0 && e0.isValid() && Sec(e0) > lo;
    QDateTime start;
    if (s0ok)
        start = (e0ok && Sec(e0) < Sec(s0)) ? e0 : s0;
    else if (e0ok)
        start = e0;
    else
        return lines;
    qint64 cursor = Sec(start.addMonths(-1));

    std::vector<qint64> sSec(static_cast<size_t>(nS));
    for (int i = 0; i < nS; ++i)
        sSec[static_cast<size_t>(i)] = Sec(record.DateTimes(i));
    std::vector<qint64> eSec(static_cast<size_t>(nE));
    for (int j = 0; j < nE; ++j)
        eSec[static_cast<size_t>(j)] = Sec(record.EventDateTimes(j));
    const std::vector<int> sOrder = SortedBySecond(sSec);
    const std::vector<int> eOrder = SortedBySecond(eSec);
    lines.reserve(static_cast<size_t>(nS + nE));

    // sp: the first sample later than the cursor; ep: the first event later
    // than the cursor's second. Events of the cursor's own second not yet
    // listed wait in `same`, the latest stored first (that is the order in
    // which the rest of one second's events are listed).
    size_t sp = 0;
    size_t ep = 0;
    std::vector<int> same;
    auto skipTo = [&](qint64 c) {
        while (sp < sOrder.size() && sSec[static_cast<size_t>(sOrder[sp])] <= c)
            ++sp;
        while (ep < eOrder.size() && eSec[static_cast<size_t>(eOrder[ep])] <= c) {
            if (eSec[static_cast<size_t>(eOrder[ep])] == c)
                same.push_back(eOrder[ep]);
            ++ep;
        }
    };
    skipTo(cursor);
    std::sort(same.begin(), same.end());

    while (cursor >= lo && cursor <= hi) {
        if (!same.empty()) {
            // The cursor's second has events left: they come before any
            // later sample and absorb none (the sample of that second, if
            // any, went with the first of them).
            IntervalLine l;
            l.event = same.back();
            same.pop_back();
            lines.push_back(l);
            continue;
        }
        const bool haveS = sp < sOrder.size();
        const bool haveE = ep < eOrder.size();
        if (!haveS && !haveE)
            break;
        const int s = haveS ? sOrder[sp] : -1;
        const int e = haveE ? eOrder[ep] : -1;
        if (haveE && (!haveS || sSec[static_cast<size_t>(s)] >= eSec[static_cast<size_t>(e)])) {
            IntervalLine l;
            l.event = e;
            if (haveS && sSec[static_cast<size_t>(s)] == eSec[static_cast<size_t>(e)])
                l.combined = s;
            lines.push_back(l);
            cursor = eSec[static_cast<size_t>(e)];
            ++ep;
            skipTo(cursor);
            std::sort(same.begin(), same.end());
        } else {
            IntervalLine l;
            l.sample = s;
            lines.push_back(l);
            cursor = sSec[static_cast<size_t>(s)];
            skipTo(cursor);
        }
    }
    return lines;
}

GridContent IntervalTable(const clsInterval& record, bool eventOnly)
{
    const GasFacts g[2] = {GasFactsOf(record, 0), GasFactsOf(record, 1)};
    GridContent t;
    t.Reset(4, 1);
    t.SetRow(0, HeaderRow(g[0], g[1]), false);

    ValueTextsOver over[2] = {ValueTextsOver(g[0]), ValueTextsOver(g[1])};
    const std::vector<IntervalLine> lines = MergeIntervalLines(record);
    size_t rowsNeeded = 1;
    for (const IntervalLine& l : lines)
        rowsNeeded += (l.IsEvent() || !eventOnly) ? 1 : 0;
    t.SetRowCount(static_cast<int>(rowsNeeded));

    int n = 0;
    for (const IntervalLine& l : lines) {
        if (!l.IsEvent() && eventOnly)
            continue;
        const int row = ++n;
        auto& cells = t.rows[static_cast<size_t>(row)];
        cells[0].text = QString::number(row);
        const QDateTime when = l.IsEvent() ? record.EventDateTimes(l.event) : record.DateTimes(l.sample);
        cells[1].text = RowDate(when);
        t.moments[static_cast<size_t>(row)] = when;
        for (int gas = 0; gas < 2; ++gas) {
            GridCell& cell = cells[static_cast<size_t>(gas + 2)];
            if (!l.IsEvent()) {
                cell.text = over[gas](record.GasValue(gas, l.sample));
                continue;
            }
            const float code = record.GasEvent(gas, l.event);
            if (code < -101.0f) {
                cell.back = GetEventColor(static_cast<std::int32_t>(code), 0);
                cell.text = ValueText(code, g[gas]);
                if (l.combined >= 0)
                    cell.text += QLatin1Char('(') + over[gas](record.GasValue(gas, l.combined)) + QLatin1Char(')');
            } else {
                cell.text = l.combined >= 0 ? over[gas](record.GasValue(gas, l.combined)) : ValueText(code, g[gas]);
            }
            if (cell.back != 0)
                cell.align = kAlignLeft;
        }
    }
    t.SetColAlign(-1, kAlignCenter);
    t.SetColAlign(1, kAlignLeft);
    t.SetRangeAlign(0, 0, 0, t.cols - 1, kAlignCenter);
    return t;
}

GridContent AlarmTable(const clsAlarm& record)
{
    const GasFacts g[2] = {GasFactsOf(record, 0), GasFactsOf(record, 1)};
    const int n = std::max(record.DataCount(), 0);
    GridContent t;
    t.Reset(4, n + 1);
    t.SetRow(0, HeaderRow(g[0], g[1]), false);
    for (int i = 0; i < n; ++i) {
        auto& cells = t.rows[static_cast<size_t>(i + 1)];
        cells[0].text = QString::number(i + 1);
        cells[1].text = RowDate(record.DateTimes(i));
        t.moments[static_cast<size_t>(i + 1)] = record.DateTimes(i);
        cells[2].text = ValueTextOver(record.Value(0, i), g[0]);
        cells[3].text = ValueTextOver(record.Value(1, i), g[1]);
    }
    if (t.RowCount() > kAlarmRow)
        for (int c = 1; c <= 3; ++c)
            t.Cell(kAlarmRow, c).back = RGB(255, 0, 0);
    t.SetColAlign(-1, kAlignCenter);
    t.SetColAlign(1, kAlignLeft);
    t.SetRangeAlign(0, 0, 0, t.cols - 1, kAlignCenter);
    return t;
}

int AlarmScrollTarget(int lastVisibleRow)
{
    return static_cast<int>(RoundHalfEven(kAlarmRow + 1 - lastVisibleRow / 2.0));
}

GridContent HistoryTable(const clsHistory& record)
{
    const GasFacts g[2] = {GasFactsOf(record, 0), GasFactsOf(record, 1)};
    const int n = std::max(record.DataCount(), 0);
    GridContent t;
    t.Reset(5, 2 * n + 1);
    t.SetRow(0, {GetResString(5620), GetResString(5621), QString(), GasHeading(g[0]), GasHeading(g[1])}, false);
    // A calibration value above full scale shows "OVER"; a negative one
    // (a status code) its name.
    auto text = [&](float v, int gas) {
        return v > g[gas].full ? QStringLiteral("OVER") : ValueText(v, g[gas]);
    };
    const QString before = GetResString(5633);
    const QString after = GetResString(5634);
    for (int i = 0; i < n; ++i) {
        t.SetRow(2 * i + 1,
                 {QString::number(i + 1), GeneralDate(record.Dates(i)), before, text(record.Before(0, i), 0),
                  text(record.Before(1, i), 1)},
                 false);
        t.moments[static_cast<size_t>(2 * i + 1)] = record.Dates(i);
        t.SetRow(2 * i + 2, {QString(), QString(), after, text(record.After(0, i), 0), text(record.After(1, i), 1)},
                 false);
    }
    for (int r = 1; r < t.RowCount(); ++r)
        for (int c = 1; c < t.cols; ++c)
            t.Cell(r, c).back = (r % 2 == 1) ? RGB(240, 240, 240) : 0;
    t.SetColAlign(0, kAlignCenter);
    t.SetColAlign(1, kAlignLeft);
    t.SetColAlign(2, kAlignLeft);
    t.SetRangeAlign(0, 0, 0, t.cols - 1, kAlignCenter);
    if (t.RowCount() > 1)
        t.SetRangeAlign(1, 3, t.RowCount() - 1, t.cols - 1, kAlignCenter);
    return t;
}

QStringList EventListHeader(int kind)
{
    QStringList header{GetResString(5620), GetResString(5621)};
    if (kind == kViewAlarmEvents)
        header << QStringLiteral("Gas") << QStringLiteral("Event");
    else if (kind == kViewTroubleEvents)
        header << QStringLiteral("Gas/Body") << QStringLiteral("Event");
    else
        header << QStringLiteral("Power");
    return header;
}

GridContent EventListTable(int kind, const EventList& list)
{
    GridContent t;
    const bool power = kind == kViewPowerEvents;
    t.Reset(power ? 3 : 4, 1);
    t.merge = true;
    const QStringList header = EventListHeader(kind);
    t.SetRow(0, header, false);
    t.SetRowCount(static_cast<int>(list.rows.size()) + 1);
    int i = 0;
    for (const EventListRow& r : list.rows) {
        ++i;
        if (power)
            t.SetRow(i, {QString::number(i), GeneralDate(r.date), r.powerOn ? QStringLiteral("ON") : QStringLiteral("OFF")},
                     false);
        else
            t.SetRow(i, {QString::number(i), GeneralDate(r.date), r.gasName, StatusCodeName(r.code)}, false);
        t.moments[static_cast<size_t>(i)] = r.date;
    }
    t.SetColAlign(-1, kAlignLeft);
    t.SetColAlign(0, kAlignCenter);
    t.SetRangeAlign(0, 0, 0, t.cols - 1, kAlignCenter);
    return t;
}

GridContent IntervalSummary(const clsInterval& record)
{
    const GasFacts g[2] = {GasFactsOf(record, 0), GasFactsOf(record, 1)};
    GridContent s;
    s.Reset(3, 14);
    s.merge = true;
    s.SetRow(0, {GetResString(5604), GetResString(5605)}, true);
    s.SetRow(1, {GetResString(5606), record.GasBaseInfo(0).toString()}, true);
    s.SetRow(2, {GetResString(5607), GeneralDate(record.GasBaseInfo(1).toDateTime())}, true);
    s.SetRow(3, {GetResString(5608), record.GasBaseInfo(4).toString()}, true);
    s.SetRow(4, {GetResString(5609), record.GasBaseInfo(3).toString()}, true);
    s.SetRow(5, {GetResString(5610), record.GasBaseInfo(2).toString()}, true);
    s.SetRow(6, {GetResString(5611), QString::number(record.DataCount() + record.EventCount())}, true);
    s.SetRow(7, {GetResString(5612), record.GasBaseInfo(6).toString()}, true);
    auto over = [&](int gas, float v) { return g[gas].on ? ValueTextOver(v, g[gas]) : Dashes(); };
    auto date = [&](int gas, const QDateTime& d) {
        return g[gas].on ? FormatDate(d, QStringLiteral("mm/dd hh:nn:ss")) : Dashes();
    };
    s.SetRow(8, {GetResString(5750), GasHeading(g[0]), GasHeading(g[1])}, false);
    s.SetRow(9, {GetResString(5613), over(0, g[0].avg), over(1, g[1].avg)}, false);
    s.SetRow(10, {GetResString(5614), over(0, g[0].max), over(1, g[1].max)}, false);
    s.SetRow(11, {GetResString(5663), date(0, g[0].maxDate), date(1, g[1].maxDate)}, false);
    // The minimum rows show the second gas only, without the "OVER" test.
    s.SetRow(12, {GetResString(5615), Dashes(), g[1].on ? ValueText(g[1].min, g[1]) : Dashes()}, false);
    s.SetRow(13, {GetResString(5664), Dashes(), date(1, g[1].minDate)}, false);
    for (int c = 1; c < s.cols; ++c) {
        s.SetColAlign(c, kAlignLeft);
        s.Cell(8, c).back = RGB(224, 224, 224);
    }
    s.SetRangeAlign(0, 0, 0, s.cols - 1, kAlignCenter);
    s.SetRangeAlign(1, 0, 7, s.cols - 1, kAlignLeft);
    s.SetRangeAlign(8, 1, s.RowCount() - 1, s.cols - 1, kAlignCenter);
    s.SetRangeAlign(11, 0, 11, s.cols - 1, kAlignLeft);
    s.SetRangeAlign(13, 0, 13, s.cols - 1, kAlignLeft);
    for (int r = 0; r <= 7; ++r)
        s.mergeRows[static_cast<size_t>(r)] = true;
    return s;
}

GridContent AlarmSummary(const clsAlarm& record)
{
    GridContent s;
    s.Reset(3, 8);
    s.merge = true;
    s.SetRow(0, {GetResString(5604), GetResString(5605)}, true);
    s.SetRow(1, {GetResString(5606), record.GasBaseInfo(0).toString()}, true);
    s.SetRow(2, {GetResString(5616), GeneralDate(record.GasBaseInfo(1).toDateTime())}, true);
    s.SetRow(3, {GetResString(5608), record.GasBaseInfo(4).toString()}, true);
    s.SetRow(4, {GetResString(5609), record.GasBaseInfo(3).toString()}, true);
    s.SetRow(5, {GetResString(5610), record.GasBaseInfo(2).toString()}, true);
    s.SetRow(6, {GetResString(5611), QString::number(record.DataCount())}, true);
    s.SetRow(7, {GetResString(5612), record.GasBaseInfo(6).toString()}, true);
    s.SetRangeAlign(0, 0, 0, s.cols - 1, kAlignCenter);
    s.SetRangeAlign(1, 0, 7, s.cols - 1, kAlignLeft);
    std::fill(s.mergeRows.begin(), s.mergeRows.end(), true);
    return s;
}

template <class R>
GridContent HeadSummary(const R& record)
{
    GridContent s;
    s.Reset(2, 5);
    s.SetRow(0, {GetResString(5604), GetResString(5605)}, true);
    s.SetRow(1, {GetResString(5608), record.GasBaseInfo(4).toString()}, true);
    s.SetRow(2, {GetResString(5609), record.GasBaseInfo(3).toString()}, true);
    s.SetRow(3, {GetResString(5610), record.GasBaseInfo(2).toString()}, true);
    s.SetRow(4, {GetResString(5668), GeneralDate(record.GasBaseInfo(1).toDateTime())}, true);
    s.SetRangeAlign(0, 0, 0, s.cols - 1, kAlignCenter);
    s.SetRangeAlign(1, 0, 4, s.cols - 1, kAlignLeft);
    return s;
}
template GridContent HeadSummary<clsHistory>(const clsHistory&);
template GridContent HeadSummary<clsPowerEvent>(const clsPowerEvent&);

GridContent NoSummary()
{
    GridContent s;
    s.Reset(1, 1);
    s.hidden = true;
    return s;
}

ViewTables FillTables(int kind, const ViewRecords& records, const EventList& events, bool eventOnly)
{
    ViewTables v;
    switch (kind) {
    case kViewInterval:
        v.summary = IntervalSummary(records.interval);
        v.table = IntervalTable(records.interval, eventOnly);
        break;
    case kViewAlarm:
        v.summary = AlarmSummary(records.alarm);
        v.table = AlarmTable(records.alarm);
        break;
    case kViewHistory:
        v.summary = HeadSummary(records.history);
        v.table = HistoryTable(records.history);
        break;
    case kViewAlarmEvents:
    case kViewTroubleEvents:
        v.summary = NoSummary();
        v.table = EventListTable(kind, events);
        break;
    case kViewPowerEvents:
        v.summary = HeadSummary(records.power);
        v.table = EventListTable(kind, events);
        break;
    default:
        v.summary = NoSummary();
        break;
    }
    return v;
}
