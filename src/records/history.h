#pragma once
#include "common/gascaption.h"
#include "records/instrument.h"
#include "records/state_stage.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <array>
#include <vector>

class clsHistorys;
template <class R>
class RecordCollection;

// The calibration history of one instrument: entries of a calibration
// date-time with, per gas, the reading before and after. Lines of both gases
// with the same date-time share one entry.
//
// Download: clsHistorys::SetDatas files the entries (AddHistory, up to 299),
// then HistoryUpdate appends the entries not yet stored to the instrument's
// one history head. View: SetSeqNo, ReLoad, then DataCount, Dates, Before,
// After, GasBaseInfo, GasListInfo. A reload holds every stored entry.
class clsHistory : public GasCaptionSource {
public:
    // GasCaptionSource: the head's name, full scale and unit of the gas.
    QString CaptionGasName(int gas) const override { return GasListInfo(gas, 0).toString(); }
    float CaptionGasFull(int gas) const override { return GasListInfo(gas, 1).toFloat(); }
    QString CaptionGasUnit(int gas) const override { return GasListInfo(gas, 14).toString(); }

    static constexpr int kMaxDownloadEntries = 299;

    clsHistory();
    void ClearDatas();

    // Adds or fills the entry of date for gas (0..2). Entries beyond 299
    // are ignored.
    void AddHistory(int gas, const QDateTime& date, float before, float after);

    // Entries loaded by ReLoad (newest first).
    int DataCount() const { return m_s.dataCount; }
    // Entries filed by AddHistory.
    int DCount() const { return m_s.dCount; }
    void SetDCount(int v);

    // Entry fields; entries 0..max(300, loaded - 1), gas 0..2. Reads
    // outside give date 0 / -101, writes there are ignored.
    QDateTime Dates(int entry) const;
    void SetDates(int entry, const QDateTime& value);
    float Before(int gas, int entry) const;
    void SetBefore(int gas, int entry, float value);
    float After(int gas, int entry) const;
    void SetAfter(int gas, int entry, float value);
    // cHistory.SeqNo of a reloaded entry (-1 otherwise).
    qint64 RowSeqNo(int gas, int entry) const;

    // GasBaseInfo: 1 header date, 2 UserID, 3 StationID, 4 SerialNo,
    // 5 FolderID. GasListInfo (gas 0..2): 0 name, 1 full scale, 2 desit,
    // 3 point, 13 enabled, 14 unit. Others read as an invalid QVariant.
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

    // Appends the entries whose date is not stored yet under the
    // instrument's history head (created when missing), in one transaction.
    // Needs Instrument. False on a database failure (nothing is written).
    bool HistoryUpdate();
    // Loads the head SeqNo and all its entries, newest first. False only on
    // a database failure.
    bool ReLoad();

private:
    friend class clsHistorys;
    template <class R>
    friend class RecordCollection;

    // The gas table of the head (GasListInfo indexes 0..3, 13, 14).
    struct GasInfo {
        QString Name;
        float Full = -101.0f;
        float Desit = -101.0f;
        std::int16_t Point = 0;
        bool Enabled = false;
        QString Unit;
    };
    struct EntryValue {
        qint64 rowSeqNo = -1;
        float before = -101.0f;
        float after = -101.0f;
    };
    struct Entry {
        QDateTime date;
        std::array<EntryValue, 3> gas;
    };
    struct State {
        QString key;
        qint64 seqNo = 0;
        int dataCount = 0;
        QString dbPath;
        bool error = false;
        QString userID, stationID, serialNo, folderID;
        QDateTime dates; // the head's date
        std::array<GasInfo, 3> gas;
        std::vector<Entry> entries;
        int dCount = 0;
    };

    const Entry* entryAt(int entry) const;
    Entry* entryAt(int entry);

    void BeginStage() { m_stage.Begin(m_s); }
    void EndStage() { m_stage.End(); }
    void RollbackStage() { m_stage.Rollback(m_s); }

    State m_s;
    clsInstrument* m_instrument = nullptr;
    StateStage<State> m_stage;
};
