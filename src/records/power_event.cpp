#include "records/power_event.h"

#include "records/head_fields.h"
#include "records/record_common.h"
#include "records/record_text.h"

#include "common/dates.h"
#include "common/paths.h"

using namespace records_text;

namespace {
constexpr int kInitialEvents = 121;
}

clsPowerEvent::clsPowerEvent()
{
    m_s.dates = DateZero();
    m_s.events.resize(kInitialEvents);
    for (Event& e : m_s.events)
        e.date = DateZero();
    for (GasInfo& g : m_s.gas)
        g.MaxDate = g.MinDate = DateZero();
    ClearDatas();
}

void clsPowerEvent::ClearDatas()
{
    m_s.error = false;
    m_s.seqNo = 0;
    m_s.dataCount = 0;
    m_s.names.clear();
    m_s.folderID.clear();
    m_s.userID = m_s.stationID = m_s.serialNo = QStringLiteral("*");
    m_s.interval = 0;
    m_s.spare = 0;
    for (GasInfo& g : m_s.gas) {
        g.Name.clear();
        g.Full = g.Desit = -101.0f;
        g.Point = -101;
        g.Warn = g.Alarm = g.Max = g.Min = g.Avr = -101.0f;
    }
    m_s.events.resize(kInitialEvents);
    for (Event& e : m_s.events)
        e.power = false;
    m_s.dbPath = LogDatabasePath();
}

bool clsPowerEvent::SetDataF0(const QString& line, bool checkOnly)
{
    if (checkOnly)
        return true;
    // Every event the instrument sends is kept: the list grows as needed.
    if (static_cast<size_t>(m_s.dataCount) >= m_s.events.size())
        m_s.events.resize(static_cast<size_t>(m_s.dataCount) + 1);
    Event& e = m_s.events[static_cast<size_t>(m_s.dataCount)];
    if (const auto date = DateField(Mid(line, 5, 6))) {
        e.date = *date;
    } else {
        m_s.error = true;
        e.date = DateZero();
    }
    const auto time = TimeField(Mid(line, 11, 6));
    if (time && e.date != DateZero()) {
        e.date = e.date.addSecs(*time);
    } else {
        m_s.error = true;
        e.date = DateZero();
    }
    e.power = Mid(line, 17, 4) == QLatin1String("1111");
    ++m_s.dataCount;
    return true;
}

bool clsPowerEvent::Flags(int event) const
{
    if (event < 0 || static_cast<size_t>(event) >= m_s.events.size())
        return false;
    return m_s.events[static_cast<size_t>(event)].power;
}

void clsPowerEvent::SetFlags(int event, bool value)
{
    if (event >= 0 && static_cast<size_t>(event) < m_s.events.size())
        m_s.events[static_cast<size_t>(event)].power = value;
}

QDateTime clsPowerEvent::Dates(int event) const
{
    if (event < 0 || static_cast<size_t>(event) >= m_s.events.size())
        return DateZero();
    return m_s.events[static_cast<size_t>(event)].date;
}

void clsPowerEvent::SetDates(int event, const QDateTime& value)
{
    if (event >= 0 && static_cast<size_t>(event) < m_s.events.size())
        m_s.events[static_cast<size_t>(event)].date = value;
}

void clsPowerEvent::SetDataCount(int v)
{
    m_s.dataCount = std::clamp(v, 0, static_cast<int>(m_s.events.size()));
}

QVariant clsPowerEvent::GasBaseInfo(int index) const
{
    return records_head::BaseInfoField(m_s, index);
}

void clsPowerEvent::SetGasBaseInfo(int index, const QVariant& value)
{
    records_head::SetBaseInfoField(m_s, index, value);
}

QVariant clsPowerEvent::GasListInfo(int gas, int index) const
{
    if (gas < 0 || gas > 1)
        return QVariant();
    return records_head::GasListField(m_s.gas[static_cast<size_t>(gas)], index);
}

void clsPowerEvent::SetGasListInfo(int gas, int index, const QVariant& value)
{
    if (gas < 0 || gas > 1)
        return;
    records_head::SetGasListField(m_s.gas[static_cast<size_t>(gas)], index, value);
}
