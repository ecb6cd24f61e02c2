#include "records/history.h"

#include "records/head_fields.h"
#include "records/record_common.h"
#include "records/record_text.h"

#include "common/dates.h"
#include "common/paths.h"

using namespace records_text;

namespace {
constexpr int kInitialEntries = 301;
}

clsHistory::clsHistory()
{
    m_s.dates = DateZero();
    m_s.entries.resize(kInitialEntries);
    for (Entry& e : m_s.entries)
        e.date = DateZero();
    ClearDatas();
}

void clsHistory::ClearDatas()
{
    m_s.error = false;
    m_s.dbPath = LogDatabasePath();
    m_instrument = nullptr;
    m_s.userID.clear();
    m_s.stationID.clear();
    m_s.serialNo.clear();
    m_s.folderID.clear();
    for (GasInfo& g : m_s.gas)
        g = GasInfo{};
    m_s.entries.resize(kInitialEntries);
    for (Entry& e : m_s.entries)
        e.gas = {};
    m_s.entries[0].date = DateZero();
    m_s.dCount = 0;
}

void clsHistory::AddHistory(int gas, const QDateTime& date, float before, float after)
{
    if (m_s.dCount >= kMaxDownloadEntries || gas < 0 || gas > 2)
        return;
    int found = -1;
    for (int i = 0; i < m_s.dCount; ++i) {
        if (m_s.entries[static_cast<size_t>(i)].date == date) {
            found = i;
            break;
        }
    }
    if (found < 0) {
        found = m_s.dCount;
        if (static_cast<size_t>(found) >= m_s.entries.size())
            m_s.entries.resize(static_cast<size_t>(found) + 1);
        m_s.entries[static_cast<size_t>(found)].date = date;
        ++m_s.dCount;
    }
    EntryValue& v = m_s.entries[static_cast<size_t>(found)].gas[static_cast<size_t>(gas)];
    v.before = before;
    v.after = after;
}

void clsHistory::SetDCount(int v)
{
    m_s.dCount = std::clamp(v, 0, static_cast<int>(m_s.entries.size()));
}

const clsHistory::Entry* clsHistory::entryAt(int entry) const
{
    if (entry < 0 || static_cast<size_t>(entry) >= m_s.entries.size())
        return nullptr;
    return &m_s.entries[static_cast<size_t>(entry)];
}

clsHistory::Entry* clsHistory::entryAt(int entry)
{
    if (entry < 0 || static_cast<size_t>(entry) >= m_s.entries.size())
        return nullptr;
    return &m_s.entries[static_cast<size_t>(entry)];
}

QDateTime clsHistory::Dates(int entry) const
{
    const Entry* e = entryAt(entry);
    return e ? e->date : DateZero();
}

void clsHistory::SetDates(int entry, const QDateTime& value)
{
    if (Entry* e = entryAt(entry))
        e->date = value;
}

float clsHistory::Before(int gas, int entry) const
{
    const Entry* e = entryAt(entry);
    return (e && gas >= 0 && gas <= 2) ? e->gas[static_cast<size_t>(gas)].before : -101.0f;
}

void clsHistory::SetBefore(int gas, int entry, float value)
{
    if (Entry* e = entryAt(entry); e && gas >= 0 && gas <= 2)
        e->gas[static_cast<size_t>(gas)].before = value;
}

float clsHistory::After(int gas, int entry) const
{
    const Entry* e = entryAt(entry);
    return (e && gas >= 0 && gas <= 2) ? e->gas[static_cast<size_t>(gas)].after : -101.0f;
}

void clsHistory::SetAfter(int gas, int entry, float value)
{
    if (Entry* e = entryAt(entry); e && gas >= 0 && gas <= 2)
        e->gas[static_cast<size_t>(gas)].after = value;
}

qint64 clsHistory::RowSeqNo(int gas, int entry) const
{
    const Entry* e = entryAt(entry);
    return (e && gas >= 0 && gas <= 2) ? e->gas[static_cast<size_t>(gas)].rowSeqNo : -1;
}

QVariant clsHistory::GasBaseInfo(int index) const
{
    return records_head::BaseInfoField(m_s, index);
}

void clsHistory::SetGasBaseInfo(int index, const QVariant& value)
{
    records_head::SetBaseInfoField(m_s, index, value);
}

QVariant clsHistory::GasListInfo(int gas, int index) const
{
    if (gas < 0 || gas > 2)
        return QVariant();
    return records_head::GasListField(m_s.gas[static_cast<size_t>(gas)], index);
}

void clsHistory::SetGasListInfo(int gas, int index, const QVariant& value)
{
    if (gas < 0 || gas > 2)
        return;
    records_head::SetGasListField(m_s.gas[static_cast<size_t>(gas)], index, value);
}
