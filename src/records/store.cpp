#include "records/store.h"

namespace {

// The trends: a record still waiting for its header has no date, name or
// folder, so it is never written; when the instrument sent lines for it, it
// is reported, not dropped in silence.
template <class Trend>
bool StoreTrend(Trend& record, clsInstrument* instrument)
{
    if (record.AwaitingHeader())
        return !record.LinesStored();
    record.SetInstrument(instrument);
    const bool ok = record.Update();
    return ok && !record.Error();
}

} // namespace

bool StoreDownloaded(clsInterval& record, clsInstrument* instrument)
{
    return StoreTrend(record, instrument);
}

bool StoreDownloaded(clsAlarm& record, clsInstrument* instrument)
{
    return StoreTrend(record, instrument);
}

bool StoreDownloaded(clsPowerEvent& record, clsInstrument* instrument)
{
    record.SetInstrument(instrument);
    const bool ok = record.Update();
    return ok && !record.Error();
}

bool StoreDownloaded(clsHistory& record, clsInstrument* instrument)
{
    record.SetInstrument(instrument);
    const bool ok = record.HistoryUpdate();
    return ok && !record.Error();
}
