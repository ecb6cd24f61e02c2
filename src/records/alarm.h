#pragma once
#include "common/gascaption.h"
#include "records/gas_info.h"
#include "records/instrument.h"
#include "records/state_stage.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <array>

class clsAlarms;
template <class R>
class RecordCollection;

// Per-gas information of an alarm trend (see HeadGasInfo).
using AlarmGasInfo = HeadGasInfo;

// One sample: its time and a value per gas (gas 0..2; -101 = none).
struct AlarmPoint {
    qint64 RowSeqNo = 0;
    QDateTime DateTime;
    std::array<float, 3> Value{-101.0f, -101.0f, -101.0f};
};

// One alarm trend: 360 samples (0..359) at a fixed interval, sample 180 at
// the alarm moment (Dates); sample i lies at Dates + (i - 180) x Interval.
// The table has one spare slot (360) that is never read or stored.
//
// Filled by a download through clsAlarms::SetDatas (parsers run with
// checkOnly = true, then false), stored by Update, loaded by ReLoad.
class clsAlarm : public GasCaptionSource {
public:
    // GasCaptionSource: the head's name, full scale and unit of the gas.
    QString CaptionGasName(int gas) const override { return GasListInfo(gas, 0).toString(); }
    float CaptionGasFull(int gas) const override { return GasListInfo(gas, 1).toFloat(); }
    QString CaptionGasUnit(int gas) const override { return GasListInfo(gas, 14).toString(); }

    static constexpr int kSamples = 360;
    static constexpr int kAlarmSample = 180;

    clsAlarm();
    void ClearDatas();

    // Samples 0..359; other indexes read 0 (date 0) and are ignored on write.
    QDateTime DateTimes(int index) const;
    void SetDateTimes(int index, const QDateTime& value);
    float Value(int gas, int index) const;        // gas 0..2
    void SetValue(int gas, int index, float value);
    qint64 RowSeqNo(int index) const;

    // GasBaseInfo: 0 Names, 1 Dates, 2 UserID, 3 StationID, 4 SerialNo,
    // 5 FolderID, 6 Interval, 7 a spare 16-bit value. GasListInfo: see
    // AlarmGasInfo (gas 0..1). Others read as an invalid QVariant.
    QVariant GasBaseInfo(int index) const;
    void SetGasBaseInfo(int index, const QVariant& value);
    QVariant GasListInfo(int gas, int index) const;
    void SetGasListInfo(int gas, int index, const QVariant& value);

    // Samples loaded by ReLoad (a download leaves it); the setter caps at 360.
    int DataCount() const { return m_s.dataCount; }
    void SetDataCount(int v);

    clsInstrument* Instrument() const { return m_instrument; }
    void SetInstrument(clsInstrument* v) { m_instrument = v; }
    bool Duplicate() const { return m_s.duplicate; }
    void SetDuplicate(bool v) { m_s.duplicate = v; }
    bool Error() const { return m_s.error; }
    void SetError(bool v) { m_s.error = v; }
    const QString& Key() const { return m_s.key; }
    void SetKey(const QString& v) { m_s.key = v; }
    qint64 SeqNo() const { return m_s.seqNo; }
    void SetSeqNo(qint64 v) { m_s.seqNo = v; }
    const QString& DbPath() const { return m_s.dbPath; }
    void SetDbPath(const QString& v) { m_s.dbPath = v; }
    // The sample the next point line fills, and the last stored record
    // number minus 1 (-1 before any).
    int NextIndex() const { return m_s.nextIndex; }
    int LastRecordNo() const { return m_s.lastRecordNo; }
    // True for a record that a download created and whose header ("BD")
    // line has not been stored yet; Update never stores such a record.
    bool AwaitingHeader() const { return m_s.awaitingHeader; }
    // True once a download stored one of its lines in this record (see
    // clsInterval::LinesStored).
    bool LinesStored() const { return m_s.linesStored; }

    // Record-line parsers (the line is already cleaned and of its length).
    bool SetDataBB(const QString& line, bool checkOnly); // serial number
    bool SetDataBC(const QString& line, bool checkOnly); // gas list
    bool SetDataBD(const QString& line, bool checkOnly); // header
    bool SetDataZ0(const QString& line, bool checkOnly); // window position (kept once points are stored)
    bool SetDataB0(const QString& line, bool checkOnly); // one sample, B0..B4
    // Has no line of its own: always false.
    bool SetData96(const QString& line, bool checkOnly);

    // Stores the record once: the head and its 360 sample rows in one
    // transaction. Nothing is written for a duplicate (Duplicate becomes
    // true; result true), for a record awaiting its header (result true) or
    // with Error set (result false). A database failure rolls back, sets
    // Error and returns false.
    bool Update();
    // Fills the record from the stored trend SeqNo (callers run ClearDatas
    // and SetSeqNo first). False only on a database failure.
    bool ReLoad();

private:
    friend class clsAlarms;
    template <class R>
    friend class RecordCollection;

    struct State {
        QString key;
        qint64 seqNo = 0;
        int dataCount = 0;
        QString dbPath;
        int nextIndex = 0;
        int lastRecordNo = -1;
        bool pointStored = false; // a point line was stored
        bool duplicate = false;
        bool error = false;
        bool awaitingHeader = false;
        bool linesStored = false;
        QString names;
        QDateTime dates;
        QString userID, stationID, serialNo;
        QString folderID;
        qint32 interval = 0;
        std::int16_t spare = 0;
        std::array<AlarmGasInfo, 3> gas;
        std::array<AlarmPoint, kSamples + 1> points;
    };

    bool CheckDuplicate() const;
    bool SaveToDatabase();
    void setSampleTimes();

    void BeginStage() { m_stage.Begin(m_s); }
    void EndStage() { m_stage.End(); }
    void RollbackStage() { m_stage.Rollback(m_s); }

    State m_s;
    clsInstrument* m_instrument = nullptr;
    StateStage<State> m_stage;
};
