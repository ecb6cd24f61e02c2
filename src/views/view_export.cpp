#include "views/view_export.h"

#include "common/dates.h"
#include "common/errors.h"
#include "common/gasvalue.h"
#include "common/paths.h"
#include "common/resstrings.h"
#include "views/view_tables.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

class Lines {
public:
    explicit Lines(const QString& sep) : m_sep(sep) {}
    Lines& operator()(const QStringList& fields)
    {
        m_text += fields.join(m_sep);
        m_text += kCrLf;
        return *this;
    }
    QString Text() const { return m_text; }
    void Reserve(qsizetype n) { m_text.reserve(n); }

private:
    QString m_sep;
    QString m_text;
};

QString Title(const char* kind)
{
    return QStringLiteral("Pelkar Data Sample (%1)").arg(QLatin1String(kind));
}

template <class R>
void Identity(Lines& out, const R& r)
{
    out({GetResString(5608), r.GasBaseInfo(4).toString()});
    out({GetResString(5609), r.GasBaseInfo(3).toString()});
    out({GetResString(5610), r.GasBaseInfo(2).toString()});
}

QString IntervalText(const clsInterval& r, const QString& sep)
{
    const GasFacts g[2] = {GasFactsOf(r, 0), GasFactsOf(r, 1)};
    Lines out(sep);
    out.Reserve((r.DataCount() + r.EventCount()) * 48 + 1024);
    out({Title("Interval Trend")});
    out({GetResString(5604), GetResString(5605)});
    out({GetResString(5606), r.GasBaseInfo(0).toString()});
    out({GetResString(5607), GeneralDate(r.GasBaseInfo(1).toDateTime())});
    Identity(out, r);
    out({GetResString(5611), QString::number(r.DataCount() + r.EventCount())});
    out({GetResString(5612), r.GasBaseInfo(6).toString()});
    out({GetResString(5750), GetResString(5613), GetResString(5614), GetResString(5615)});
    const QString dashes = QStringLiteral("-----");
    for (int gas = 0; gas < 2; ++gas) {
        const GasFacts& f = g[gas];
        out({GasHeading(f), f.on ? ValueTextOver(f.avg, f) : dashes, f.on ? ValueTextOver(f.max, f) : dashes,
             f.on ? ValueText(f.min, f) : dashes});
    }
    out({});
    out({GetResString(5620), GetResString(5621), GasHeading(g[0]), GasHeading(g[1])});
    // The same lines as the table, every sample included.
    const GridContent table = IntervalTable(r, false);
    for (int row = 1; row < table.RowCount(); ++row)
        out({table.Text(row, 0), table.Text(row, 1), table.Text(row, 2), table.Text(row, 3)});
    return out.Text();
}

QString HistoryText(const clsHistory& r, const QString& sep)
{
    const GasFacts g[2] = {GasFactsOf(r, 0), GasFactsOf(r, 1)};
    Lines out(sep);
    out({Title("Cal. History")});
    Identity(out, r);
    out({GetResString(5668), GeneralDate(r.GasBaseInfo(1).toDateTime())});
    out({});
    out({GetResString(5620), GetResString(5621), QString(), GasHeading(g[0]), GasHeading(g[1])});
    const QString before = GetResString(5633);
    const QString after = GetResString(5634);
    for (int i = 0; i < r.DataCount(); ++i) {
        out({QString::number(i + 1), GeneralDate(r.Dates(i)), before, ValueText(r.Before(0, i), g[0]),
             ValueText(r.Before(1, i), g[1])});
        out({QString(), QString(), after, ValueText(r.After(0, i), g[0]), ValueText(r.After(1, i), g[1])});
    }
    return out.Text();
}

QString EventText(int kind, const EventList& list, const QString& sep)
{
    if (!list.headFound)
        throw DatabaseError(GetResString(5956, list.relNo));
    Lines out(sep);
    const char* title = kind == kViewAlarmEvents ? "Alarm Events" : kind == kViewTroubleEvents ? "Trouble Events" : "Power Events";
    out({Title(title)});
    out({GetResString(5608), list.serialNo});
    out({GetResString(5609), list.stationID});
    out({GetResString(5610), list.userID});
    out({GetResString(5668), GeneralDate(list.dates)});
    out({});
    out(EventListHeader(kind));
    int n = 0;
    for (const EventListRow& e : list.rows) {
        if (kind == kViewPowerEvents)
            out({QString::number(++n), GeneralDate(e.date), e.powerOn ? QStringLiteral("ON") : QStringLiteral("OFF")});
        else
            out({QString::number(++n), GeneralDate(e.date), e.gasName, StatusCodeName(e.code)});
    }
    return out.Text();
}

} // namespace

QString AlarmSampleText(const clsAlarm& r, const QString& sep)
{
    const GasFacts g[2] = {GasFactsOf(r, 0), GasFactsOf(r, 1)};
    Lines out(sep);
    out({Title("Alarm Trend")});
    out({GetResString(5604), GetResString(5605)});
    out({GetResString(5606), r.GasBaseInfo(0).toString()});
    out({GetResString(5616), GeneralDate(r.GasBaseInfo(1).toDateTime())});
    Identity(out, r);
    out({GetResString(5611), QString::number(r.DataCount())});
    out({GetResString(5612), r.GasBaseInfo(6).toString()});
    out({});
    out({GetResString(5620), GetResString(5621), GasHeading(g[0]), GasHeading(g[1])});
    for (int i = 0; i < r.DataCount(); ++i)
        out({QString::number(i + 1), GeneralDate(r.DateTimes(i)), ValueTextOver(r.Value(0, i), g[0]),
             ValueTextOver(r.Value(1, i), g[1])});
    return out.Text();
}

QString BuildSampleText(int kind, const ViewRecords& records, const EventList& events, const QString& sep)
{
    switch (kind) {
    case kViewInterval: return IntervalText(records.interval, sep);
    case kViewAlarm: return AlarmSampleText(records.alarm, sep);
    case kViewHistory: return HistoryText(records.history, sep);
    case kViewAlarmEvents:
    case kViewTroubleEvents:
    case kViewPowerEvents: return EventText(kind, events, sep);
    default: return QString();
    }
}

QString ProposedExportName(const QString& lastExport, bool bitmap, const QString& folder)
{
    const QString ext = bitmap ? QStringLiteral("bmp") : QStringLiteral("csv");
    if (lastExport.isEmpty())
        return JoinPath(folder, bitmap ? QStringLiteral("Sample.bmp") : QStringLiteral("Sample.csv"));
    if (lastExport.right(3).compare(ext, Qt::CaseInsensitive) == 0)
        return lastExport;
    return lastExport.chopped(std::min<qsizetype>(3, lastExport.size())) + ext;
}

QString ExportSeparator(int filterIndex)
{
    return filterIndex == 2 ? QStringLiteral("\t") : QStringLiteral(",");
}
