#pragma once
#include "records/gas_info.h"
#include "records/instrument.h"
#include "records/state_stage.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <array>
#include <vector>

class clsPowerEvents;
template <class R>
class RecordCollection;

// The power on/off events of one instrument logger, in the order of their
// lines. The record grows to hold every event the instrument sends.
//
// Download: clsPowerEvents::SetDatas files the events (SetDataF0); Update
// appends the events not yet stored to the instrument's one power-events
// head. View: SetSeqNo, ReLoad (the head only; the events are read from the
// table by the view).
class clsPowerEvent {
public:
    clsPowerEvent();
    void ClearDatas();

    // Parses one "FD" line (cleaned, 24 characters). The check pass accepts
    // any line; the store pass files an event (date 0 when the date or time
    // is not valid, which sets Error). Always true.
    bool SetDataF0(const QString& line, bool checkOnly);

    // Events 0..DataCount-1. Reads outside the events held give false /
    // date 0; writes there are ignored.
    bool Flags(int event) const;
    void SetFlags(int event, bool value);
    QDateTime Dates(int event) const;
    void SetDates(int event, const QDateTime& value);
    int DataCount() const { return m_s.dataCount; }
    // Capped to the events held.
    void SetDataCount(int v);

    // GasBaseInfo: 0 Names, 1 header date, 2 UserID, 3 StationID, 4 SerialNo,
    // 5 FolderID, 6 Interval, 7 a spare 16-bit value. GasListInfo (gas 0..1):
    // 0 name, 1 full, 2 desit, 3 point, 4 warning, 5 alarm, 8 max, 9 min,
    // 10 average, 11 max date, 12 min date, 13 enabled, 14 unit.
    QVariant GasBaseInfo(int index) const;
    void SetGasBaseInfo(int index, const QVariant& value);
    QVariant GasListInfo(int gas, int index) const;
    void SetGasListInfo(int gas, int index, const QVariant& value);

    const QString& Key() const { return m_s.key; }
    void SetKey(const QString& v) { m_s.key = v; }
    qint64 SeqNo() const { return m_s.seqNo; }
    void SetSeqNo(qint64 v) { m_s.seqNo = v; }
    bool Error() const { return m_s.error; }
    void SetError(bool v) { m_s.error = v; }
    clsInstrument* Instrument() const { return m_instrument; }
    void SetInstrument(clsInstrument* v) { m_instrument = v; }
    const QString& DbPath() const { return m_s.dbPath; }
    void SetDbPath(const QString& v) { m_s.dbPath = v; }

    // Stores the events with a valid date that are not stored yet (same
    // moment and flag) under the instrument's power-events head, creating
    // the head when missing; all in one transaction. Nothing for a record
    // without events. Needs Instrument. False on a database failure.
    bool Update();
    // Loads the head row SeqNo. False only on a database failure.
    bool ReLoad();

private:
    friend class clsPowerEvents;
    template <class R>
    friend class RecordCollection;

    using GasInfo = HeadGasInfo;
    struct Event {
        QDateTime date;
        bool power = false;
    };
    struct State {
        QString key;
        qint64 seqNo = 0;
        int dataCount = 0;
        QString dbPath;
        bool error = false;
        QString names;
        QDateTime dates; // the head's date
        QString userID, stationID, serialNo, folderID;
        qint32 interval = 0;
        std::int16_t spare = 0;
        std::array<GasInfo, 3> gas;
        std::vector<Event> events;
    };

    bool SaveToDatabase();

    void BeginStage() { m_stage.Begin(m_s); }
    void EndStage() { m_stage.End(); }
    void RollbackStage() { m_stage.Rollback(m_s); }

    State m_s;
    clsInstrument* m_instrument = nullptr;
    StateStage<State> m_stage;
};
