#include "records/interval.h"

#include "records/head_fields.h"
#include "records/record_common.h"
#include "records/record_text.h"
#include "records/trend_lines.h"

#include "common/dates.h"
#include "common/paths.h"

using namespace records_text;

clsInterval::clsInterval()
{
    m_h.dates = DateZero();
    m_h.baseDate = DateZero();
    for (IntervalGasInfo& g : m_h.gas) {
        g.MaxDate = DateZero();
        g.MinDate = DateZero();
    }
    ClearDatas();
}

void clsInterval::ClearDatas()
{
    m_h.key.clear();
    m_h.seqNo = 0;
    m_h.dataCount = 0;
    m_h.eventCount = 0;
    m_h.dbPath = LogDatabasePath();
    m_h.lastRecordNo = -1;
    m_h.dataLineCount = 0;
    m_h.duplicate = false;
    m_h.error = false;
    m_h.awaitingHeader = false;
    m_h.linesStored = false;
    m_linesMissing = false;
    m_h.names.clear();
    m_h.userID = m_h.stationID = m_h.serialNo = QStringLiteral("*");
    for (IntervalGasInfo& g : m_h.gas) {
        g.Name.clear();
        g.Full = g.Desit = -101.0f;
        g.Point = -101;
        g.Max = g.Min = g.Avr = -101.0f;
        g.Unit = QStringLiteral("-101");
    }
    m_indexDirty = true;
    m_eventIndexDirty = true;
}

void clsInterval::SetDataCount(int v)
{
    m_h.dataCount = std::max(v, 0);
    if (static_cast<size_t>(m_h.dataCount) > m_values.size())
        m_values.resize(static_cast<size_t>(m_h.dataCount));
    m_indexDirty = true;
}

void clsInterval::SetEventCount(int v)
{
    m_h.eventCount = std::max(v, 0);
    if (static_cast<size_t>(m_h.eventCount) > m_events.size())
        m_events.resize(static_cast<size_t>(m_h.eventCount));
    m_eventIndexDirty = true;
}

const IntervalGasInfo* clsInterval::gasInfo(int gas) const
{
    return (gas == 0 || gas == 1) ? &m_h.gas[static_cast<size_t>(gas)] : nullptr;
}

IntervalGasInfo* clsInterval::gasInfo(int gas)
{
    return (gas == 0 || gas == 1) ? &m_h.gas[static_cast<size_t>(gas)] : nullptr;
}

// ---- staging -------------------------------------------------------------

void clsInterval::BeginStage()
{
    m_staging = true;
    m_stageHeader = m_h;
    m_savedValues.clear();
    m_savedEvents.clear();
}

void clsInterval::EndStage()
{
    m_staging = false;
    m_savedValues.clear();
    m_savedEvents.clear();
}

void clsInterval::RollbackStage()
{
    if (!m_staging)
        return;
    m_h = m_stageHeader;
    for (auto& [row, saved] : m_savedValues)
        m_values[static_cast<size_t>(row)] = saved;
    for (auto& [row, saved] : m_savedEvents)
        m_events[static_cast<size_t>(row)] = saved;
    m_indexDirty = true;
    m_eventIndexDirty = true;
    EndStage();
}

void clsInterval::touchValue(int row)
{
    if (m_staging && row < m_stageHeader.dataCount && !m_savedValues.count(row))
        m_savedValues.emplace(row, m_values[static_cast<size_t>(row)]);
}

void clsInterval::touchEvent(int row)
{
    if (m_staging && row < m_stageHeader.eventCount && !m_savedEvents.count(row))
        m_savedEvents.emplace(row, m_events[static_cast<size_t>(row)]);
}

namespace {

// Row `row` of a table, appended when it is the first row past the table's
// end, otherwise reset to a fresh row.
template <class Row>
Row& FreshRow(std::vector<Row>& table, int row)
{
    const size_t i = static_cast<size_t>(row);
    if (i == table.size())
        table.emplace_back();
    else
        table[i] = Row{};
    return table[i];
}

} // namespace

IntervalValueRow& clsInterval::freshValueRow(int row) { return FreshRow(m_values, row); }

IntervalEventRow& clsInterval::freshEventRow(int row) { return FreshRow(m_events, row); }

void clsInterval::rebuildValueIndex()
{
    m_valueIndex.clear();
    for (int i = 0; i < m_h.dataCount; ++i)
        m_valueIndex.insert(m_values[static_cast<size_t>(i)].DateTime.toMSecsSinceEpoch(), i);
    m_indexDirty = false;
}

void clsInterval::rebuildEventIndex()
{
    m_eventIndex.clear();
    for (int j = 0; j < m_h.eventCount; ++j)
        m_eventIndex[m_events[static_cast<size_t>(j)].DateTime.toMSecsSinceEpoch()].push_back(j);
    m_eventIndexDirty = false;
}

// ---- rows ----------------------------------------------------------------

int clsInterval::AddValue(int gas, const QDateTime& dateTime, float value)
{
    if (gas < 0 || gas > 4)
        return -1;
    if (m_indexDirty)
        rebuildValueIndex();
    const qint64 key = dateTime.toMSecsSinceEpoch();
    int row = m_valueIndex.value(key, -1);
    if (row < 0) {
        row = m_h.dataCount;
        freshValueRow(row);
        ++m_h.dataCount;
        m_valueIndex.insert(key, row);
    } else {
        touchValue(row);
    }
    IntervalValueRow& r = m_values[static_cast<size_t>(row)];
    r.DateTime = dateTime;
    r.Value[static_cast<size_t>(gas)] = value;
    return row;
}

int clsInterval::AddEvents(int gas, const QDateTime& dateTime, int code, const QDateTime& baseDate)
{
    if (gas < 0 || gas > 4)
        return -1;
    if (m_eventIndexDirty)
        rebuildEventIndex();
    const qint64 key = dateTime.toMSecsSinceEpoch();
    int row = -1;
    if (const auto it = m_eventIndex.constFind(key); it != m_eventIndex.constEnd()) {
        for (auto j = it->rbegin(); j != it->rend(); ++j) {
            if (m_events[static_cast<size_t>(*j)].Event[static_cast<size_t>(gas)] == -101.0f) {
                row = *j;
                break;
            }
        }
    }
    if (row < 0) {
        row = m_h.eventCount;
        freshEventRow(row);
        ++m_h.eventCount;
        m_eventIndex[key].push_back(row);
    } else {
        touchEvent(row);
    }
    IntervalEventRow& e = m_events[static_cast<size_t>(row)];
    e.DateTime = dateTime;
    e.Event[static_cast<size_t>(gas)] = static_cast<float>(code);
    e.BaseDate = baseDate;
    return row;
}

float clsInterval::GasValue(int gas, int row) const
{
    if (gas < 0 || gas > 4 || row < 0 || row >= m_h.dataCount)
        return 0.0f;
    return m_values[static_cast<size_t>(row)].Value[static_cast<size_t>(gas)];
}

void clsInterval::SetGasValue(int gas, int row, float value)
{
    if (gas < 0 || gas > 4 || row < 0 || row >= m_h.dataCount)
        return;
    touchValue(row);
    m_values[static_cast<size_t>(row)].Value[static_cast<size_t>(gas)] = value;
}

bool clsInterval::GasNowCalib(int gas, int row) const
{
    if (gas < 0 || gas > 4 || row < 0 || row >= m_h.dataCount)
        return false;
    return m_values[static_cast<size_t>(row)].NowCalib[static_cast<size_t>(gas)];
}

void clsInterval::SetGasNowCalib(int gas, int row, bool value)
{
    if (gas < 0 || gas > 4 || row < 0 || row >= m_h.dataCount)
        return;
    touchValue(row);
    m_values[static_cast<size_t>(row)].NowCalib[static_cast<size_t>(gas)] = value;
}

bool clsInterval::GasNowEvent(int gas, int row) const
{
    if (gas < 0 || gas > 4 || row < 0 || row >= m_h.dataCount)
        return false;
    return m_values[static_cast<size_t>(row)].NowEvent[static_cast<size_t>(gas)];
}

void clsInterval::SetGasNowEvent(int gas, int row, bool value)
{
    if (gas < 0 || gas > 4 || row < 0 || row >= m_h.dataCount)
        return;
    touchValue(row);
    m_values[static_cast<size_t>(row)].NowEvent[static_cast<size_t>(gas)] = value;
}

QDateTime clsInterval::DateTimes(int row) const
{
    if (row < 0 || row >= m_h.dataCount)
        return DateZero();
    return m_values[static_cast<size_t>(row)].DateTime;
}

void clsInterval::SetDateTimes(int row, const QDateTime& value)
{
    if (row < 0 || row >= m_h.dataCount)
        return;
    touchValue(row);
    m_values[static_cast<size_t>(row)].DateTime = value;
    m_indexDirty = true;
}

float clsInterval::GasEvent(int gas, int row) const
{
    if (gas < 0 || gas > 4 || row < 0 || row >= m_h.eventCount)
        return 0.0f;
    return m_events[static_cast<size_t>(row)].Event[static_cast<size_t>(gas)];
}

void clsInterval::SetGasEvent(int gas, int row, float value)
{
    if (gas < 0 || gas > 4 || row < 0 || row >= m_h.eventCount)
        return;
    touchEvent(row);
    m_events[static_cast<size_t>(row)].Event[static_cast<size_t>(gas)] = value;
}

QDateTime clsInterval::EventDateTimes(int row) const
{
    if (row < 0 || row >= m_h.eventCount)
        return DateZero();
    return m_events[static_cast<size_t>(row)].DateTime;
}

void clsInterval::SetEventDateTimes(int row, const QDateTime& value)
{
    if (row < 0 || row >= m_h.eventCount)
        return;
    touchEvent(row);
    m_events[static_cast<size_t>(row)].DateTime = value;
    m_eventIndexDirty = true;
}

qint64 clsInterval::ValueRowSeqNo(int row) const
{
    return (row >= 0 && row < m_h.dataCount) ? m_values[static_cast<size_t>(row)].RowSeqNo : 0;
}

qint64 clsInterval::EventRowSeqNo(int row) const
{
    return (row >= 0 && row < m_h.eventCount) ? m_events[static_cast<size_t>(row)].RowSeqNo : 0;
}

// ---- indexed header and gas table ----------------------------------------

QVariant clsInterval::GasBaseInfo(int index) const
{
    return records_head::BaseInfoField(m_h, index);
}

void clsInterval::SetGasBaseInfo(int index, const QVariant& value)
{
    records_head::SetBaseInfoField(m_h, index, value);
}

QVariant clsInterval::GasListInfo(int gas, int index) const
{
    const IntervalGasInfo* g = gasInfo(gas);
    return g ? records_head::GasListField(*g, index) : QVariant();
}

void clsInterval::SetGasListInfo(int gas, int index, const QVariant& value)
{
    if (IntervalGasInfo* g = gasInfo(gas))
        records_head::SetGasListField(*g, index, value);
}

// ---- record lines --------------------------------------------------------

bool clsInterval::SetDataAC(const QString& line, bool checkOnly)
{
    if (line.size() != 30)
        return false;
    return records_lines::ParseGasList(line, checkOnly, m_h.gas, [](int, IntervalGasInfo&) {});
}

bool clsInterval::SetDataAD(const QString& line, bool checkOnly)
{
    return records_lines::ParseHeader(m_h, line, checkOnly, QLatin1String("iv"),
                                      [this] { return CheckDuplicate(); });
}

bool clsInterval::SetDataAE(const QString& line, bool checkOnly)
{
    const QString type = Mid(line, 3, 2);
    if (type == QLatin1String("AH") || type == QLatin1String("AI"))
        return true;
    int gas;
    bool isMax;
    if (type == QLatin1String("AE")) {
        gas = 0;
        isMax = true;
    } else if (type == QLatin1String("AF")) {
        gas = 1;
        isMax = false;
    } else if (type == QLatin1String("AG")) {
        gas = 1;
        isMax = true;
    } else {
        return true;
    }
    IntervalGasInfo& info = m_h.gas[static_cast<size_t>(gas)];
    QDateTime& when = isMax ? info.MaxDate : info.MinDate;

    if (!checkOnly) {
        info.Avr = StatusTextToCode(Mid(line, 5, 5));
        (isMax ? info.Max : info.Min) = StatusTextToCode(Mid(line, 10, 5));
    }

    const QString dateText = Mid(line, 15, 6);
    if (const auto date = DateField(dateText)) {
        if (!checkOnly)
            when = *date;
    } else if (dateText == QLatin1String("******")) {
        if (!checkOnly)
            when = NoDate();
    } else {
        m_h.error = true;
    }

    const QString timeText = Mid(line, 21, 6);
    if (const auto time = TimeField(timeText)) {
        if (checkOnly && type == QLatin1String("AF"))
            return true;
        if (!checkOnly)
            when = when.addSecs(*time);
    } else if (timeText == QLatin1String("******")) {
        if (!checkOnly)
            when = NoDate();
    } else {
        m_h.error = true;
    }

    if (!checkOnly && type == QLatin1String("AE"))
        m_h.gas[0].Min = -101.0f;
    return true;
}

namespace {
// Event digit to event code: 0..11 give -102..-113, another number -101, a
// text that is not a number 0.
int EventCode(const QString& text)
{
    const auto n = records_text::ToNumber(text);
    if (!n)
        return 0;
    const qint64 d = records_text::RoundEven(*n);
    if (d >= 0 && d <= 11)
        return static_cast<int>(-102 - d);
    return -101;
}
} // namespace

bool clsInterval::SetDataA0(const QString& line, bool checkOnly)
{
    const QString type = Mid(line, 3, 2);
    if (type == QLatin1String("A0"))
        return parseDataLine(line, checkOnly);
    if (type == QLatin1String("A1") || type == QLatin1String("A2") || type == QLatin1String("A5"))
        return parseEventLine(line, checkOnly);
    return true;
}

bool clsInterval::parseDataLine(const QString& line, bool checkOnly)
{
    const auto recordNo = ToWhole(Mid(line, 17, 4), -32768, 32767);
    if (!recordNo)
        return false;
    const int r = static_cast<int>(*recordNo) - 1;
    if (r >= 9999)
        return false;
    if (checkOnly)
        return true;

    if (m_h.lastRecordNo != 9998 && m_h.lastRecordNo >= r) {
        WriteSerialLog(QStringLiteral("<<< Duplicate data >>>") + line);
        return true;
    }
    // Record numbers count on by one; the first data line may start
    // anywhere, and after 9999 the numbering starts again. A number further
    // on means lines were left out: every line after the gap would stand at
    // the time of a lost one, so the line fails.
    if (m_h.dataLineCount > 0 && m_h.lastRecordNo != 9998 && r > m_h.lastRecordNo + 1) {
        WriteSerialLog(QStringLiteral("<<< Missing data >>>") + line);
        m_linesMissing = true;
        return false;
    }
    ++m_h.dataLineCount;
    m_h.lastRecordNo = r;
    const QDateTime t = m_h.dates.addSecs(static_cast<qint64>(m_h.dataLineCount) * m_h.interval);

    int row = -1;
    for (int g = 0; g < 2; ++g) {
        const float v = StatusTextToCode(Mid(line, 5 + 5 * g, 5));
        row = AddValue(g, t, v);
        if (row < 0)
            return false;
        if (v < -101.0f) {
            if (AddEvents(g, t, static_cast<int>(v), m_h.dates) < 0)
                return false;
        }
    }
    const bool nowEvent = Mid(line, 15, 1) == QLatin1String("1");
    const bool nowCalib = Mid(line, 16, 1) == QLatin1String("1");
    for (int g = 0; g < 2; ++g) {
        SetGasNowEvent(g, row, nowEvent);
        SetGasNowCalib(g, row, nowCalib);
    }
    return true;
}

bool clsInterval::parseEventLine(const QString& line, bool checkOnly)
{
    const auto index = ToWhole(Mid(line, 9, 4), -32768, 32767);
    if (!index)
        return false;
    const int i = static_cast<int>(*index) - 1;
    if (i >= 9999 || checkOnly)
        return true;

    qint64 s = 0;
    if (const auto secs = ToWhole(Mid(line, 18, 4), INT32_MIN, INT32_MAX)) {
        if (m_h.interval == 0)
            return false; // no interval to place the event in
        s = *secs % m_h.interval;
    }
    // Index 0 names the trend's start, except right after the numbering came
    // round from 9999 to 0: then it names the data line numbered 0, the one
    // stored last.
    const bool afterLineZero = m_h.dataLineCount > 0 && m_h.lastRecordNo == -1;
    const QDateTime t = i < 0 && !afterLineZero
        ? m_h.dates.addSecs(s)
        : m_h.dates.addSecs(static_cast<qint64>(m_h.dataLineCount) * m_h.interval + s);
    const int code = EventCode(Mid(line, 5, 2));
    const QString type = Mid(line, 3, 2);
    if (type == QLatin1String("A1") || type == QLatin1String("A5")) {
        if (AddEvents(0, t, code, m_h.dates) < 0)
            return false;
    }
    if (type == QLatin1String("A2") || type == QLatin1String("A5")) {
        if (AddEvents(1, t, code, m_h.dates) < 0)
            return false;
    }
    return true;
}

// ---- trend search --------------------------------------------------------

void clsInterval::FlagClear()
{
    for (int j = 0; j < m_h.eventCount; ++j)
        m_events[static_cast<size_t>(j)].Matched = false;
}

int clsInterval::SerchDatas(const QDateTime& date, int start) const
{
    int best = -1;
    for (int i = std::max(start, 0); i < m_h.dataCount; ++i) {
        const QDateTime& t = m_values[static_cast<size_t>(i)].DateTime;
        if (t > date && (best < 0 || t < m_values[static_cast<size_t>(best)].DateTime))
            best = i;
    }
    return best;
}

int clsInterval::SerchEvent(const QDateTime& date, bool flag) const
{
    const QString key = GeneralDate(date);
    int exact = -1;
    int best = -1;
    for (int j = 0; j < m_h.eventCount; ++j) {
        const IntervalEventRow& e = m_events[static_cast<size_t>(j)];
        if (e.Matched != flag)
            continue;
        if (GeneralDate(e.DateTime) == key)
            exact = j;
        else if (e.DateTime > date
                 && (best < 0 || e.DateTime < m_events[static_cast<size_t>(best)].DateTime))
            best = j;
    }
    return exact >= 0 ? exact : best;
}

int clsInterval::SerchValue(const QDateTime& date)
{
    static const QDateTime lo = MakeDate(1998, 1, 1);
    static const QDateTime hi = MakeDate(2199, 1, 1);
    if (!date.isValid() || date < lo || date > hi)
        return 0;
    int v = SerchDatas(date, 0);
    int e = SerchEvent(date, false);
    if (v >= 0 && !(m_values[static_cast<size_t>(v)].DateTime > lo))
        v = -1;
    if (e >= 0 && !(m_events[static_cast<size_t>(e)].DateTime > lo))
        e = -1;
    if (v >= 0 && e < 0)
        return v + 1;
    if (e >= 0 && (v < 0
                   || !(GeneralDate(m_values[static_cast<size_t>(v)].DateTime)
                        < GeneralDate(m_events[static_cast<size_t>(e)].DateTime)))) {
        m_events[static_cast<size_t>(e)].Matched = true;
        return -(e + 1);
    }
    if (v >= 0)
        return v + 1;
    return 0;
}
