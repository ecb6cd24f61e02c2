#pragma once
#include "common/gascaption.h"
#include "records/instrument.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>
#include <array>
#include <unordered_map>
#include <vector>

class clsIntervals;
template <class R>
class RecordCollection;

// Per-gas information of an interval trend (GasListInfo indexes in brackets).
struct IntervalGasInfo {
    QString Name;            // [0]
    float Full = -101.0f;    // [1] full scale
    float Desit = -101.0f;   // [2] value of the point field, e.g. 0.1
    std::int16_t Point = -101; // [3] decimals of that field
    float Max = -101.0f;     // [8]
    float Min = -101.0f;     // [9]
    float Avr = -101.0f;     // [10]
    QDateTime MaxDate;       // [11]
    QDateTime MinDate;       // [12]
    bool Enabled = false;    // [13]
    QString Unit = QStringLiteral("-101"); // [14]
};

// One logged reading time. Slots 0 and 1 are the two gases; 2..4 stay -101.
struct IntervalValueRow {
    qint64 RowSeqNo = 0;
    QDateTime DateTime;
    std::array<float, 5> Value{-101.0f, -101.0f, -101.0f, -101.0f, -101.0f};
    std::array<bool, 5> NowCalib{};
    std::array<bool, 5> NowEvent{};
};

// One event time: an event code per gas (-101 = no event for that gas).
struct IntervalEventRow {
    qint64 RowSeqNo = 0;
    QDateTime DateTime;
    std::array<float, 5> Event{-101.0f, -101.0f, -101.0f, -101.0f, -101.0f};
    QDateTime BaseDate;
    bool Matched = false;
};

// One interval trend: header, per-gas information and statistics, value
// rows (readings at Dates + k x Interval seconds) and event rows.
//
// Filled by a download through clsIntervals::SetDatas (the parsers below run
// once with checkOnly = true to validate, then with false to store), stored
// by Update and loaded back by ReLoad (ClearDatas, SetSeqNo, ReLoad).
class clsInterval : public GasCaptionSource {
public:
    // GasCaptionSource: the head's name, full scale and unit of the gas.
    QString CaptionGasName(int gas) const override { return GasListInfo(gas, 0).toString(); }
    float CaptionGasFull(int gas) const override { return GasListInfo(gas, 1).toFloat(); }
    QString CaptionGasUnit(int gas) const override { return GasListInfo(gas, 14).toString(); }

    clsInterval();

    // Resets counts, header fields and the gas table; row contents stay.
    // The value and event tables grow as rows are added: a trend may hold
    // any number of rows (record numbers run past 9999 and start again).
    void ClearDatas();

    // Adds a reading to the row at dateTime (the last row with that time, or
    // a new one). Returns the row, or -1 for a gas outside 0..4.
    int AddValue(int gas, const QDateTime& dateTime, float value);
    // Adds an event to the last row at dateTime whose slot for gas is still
    // free, or to a new row. Returns the row, or -1 for a gas outside 0..4.
    int AddEvents(int gas, const QDateTime& dateTime, int code, const QDateTime& baseDate);

    // Record-line parsers (the line is already cleaned and of its length).
    bool SetDataAC(const QString& line, bool checkOnly); // gas list
    bool SetDataAD(const QString& line, bool checkOnly); // header
    bool SetDataAE(const QString& line, bool checkOnly); // statistics AE..AI
    bool SetDataA0(const QString& line, bool checkOnly); // data A0, events A1/A2/A5

    // Header and gas table by index (see IntervalGasInfo and the .cpp).
    // Out-of-range indexes read as an invalid QVariant and are ignored on write.
    // GasBaseInfo: 0 Names, 1 Dates, 2 UserID, 3 StationID, 4 SerialNo,
    // 5 FolderID, 6 Interval.
    QVariant GasBaseInfo(int index) const;
    void SetGasBaseInfo(int index, const QVariant& value);
    QVariant GasListInfo(int gas, int index) const;
    void SetGasListInfo(int gas, int index, const QVariant& value);

    // Rows. Reads outside the rows in use give 0 / false / date 0; writes
    // there are ignored.
    float GasValue(int gas, int row) const;
    void SetGasValue(int gas, int row, float value);
    bool GasNowCalib(int gas, int row) const;
    void SetGasNowCalib(int gas, int row, bool value);
    bool GasNowEvent(int gas, int row) const;
    void SetGasNowEvent(int gas, int row, bool value);
    QDateTime DateTimes(int row) const;
    void SetDateTimes(int row, const QDateTime& value);
    float GasEvent(int gas, int row) const;
    void SetGasEvent(int gas, int row, float value);
    QDateTime EventDateTimes(int row) const;
    void SetEventDateTimes(int row, const QDateTime& value);
    qint64 ValueRowSeqNo(int row) const;
    qint64 EventRowSeqNo(int row) const;

    // Trend search (value rows and event rows merged by time).
    void FlagClear();
    int SerchDatas(const QDateTime& date, int start) const;
    int SerchEvent(const QDateTime& date, bool flag) const;
    int SerchValue(const QDateTime& date);

    // Persistence. Update stores the record once: the head, value and event
    // rows in one transaction, all or nothing. It writes nothing for a
    // duplicate (Duplicate becomes true; result true), for a record awaiting
    // its header (result true) or for a record with Error set (result
    // false). A database failure rolls back, sets Error and returns false.
    // ReLoad fills the record from the stored trend SeqNo (callers run
    // ClearDatas and SetSeqNo first); false only on a database failure.
    bool Update();
    bool ReLoad();

    // Plain properties.
    const QString& Key() const { return m_h.key; }
    void SetKey(const QString& v) { m_h.key = v; }
    qint64 SeqNo() const { return m_h.seqNo; }
    void SetSeqNo(qint64 v) { m_h.seqNo = v; }
    const QDateTime& BaseDate() const { return m_h.baseDate; }
    void SetBaseDate(const QDateTime& v) { m_h.baseDate = v; }
    int DataCount() const { return m_h.dataCount; }
    // Raising a count adds rows (all values -101) where the table had none.
    void SetDataCount(int v);
    int ValueCount() const { return m_h.valueCount; }
    void SetValueCount(int v) { m_h.valueCount = v; }
    int EventCount() const { return m_h.eventCount; }
    void SetEventCount(int v);
    clsInstrument* Instrument() const { return m_instrument; }
    void SetInstrument(clsInstrument* v) { m_instrument = v; }
    bool Duplicate() const { return m_h.duplicate; }
    void SetDuplicate(bool v) { m_h.duplicate = v; }
    bool Error() const { return m_h.error; }
    void SetError(bool v) { m_h.error = v; }
    const QString& DbPath() const { return m_h.dbPath; }
    void SetDbPath(const QString& v) { m_h.dbPath = v; }
    // Record number of the last stored data line minus 1 (-1 before any).
    int LastRecordNo() const { return m_h.lastRecordNo; }
    // Data lines stored by the download.
    int DataLineCount() const { return m_h.dataLineCount; }
    // True for a record that a download created and whose header ("AD")
    // line has not been stored yet; Update never stores such a record.
    bool AwaitingHeader() const { return m_h.awaitingHeader; }
    // True once a download stored one of its lines in this record. A record
    // made only by the check pass of a block that was refused and sent again
    // holds nothing of the instrument's.
    bool LinesStored() const { return m_h.linesStored; }
    // True once a data line failed because its record number jumped past
    // the next one: the instrument left lines out.
    bool LinesMissing() const { return m_linesMissing; }

private:
    friend class clsIntervals;
    template <class R>
    friend class RecordCollection;

    struct Header {
        QString key;
        qint64 seqNo = 0;
        QDateTime baseDate;
        int dataCount = 0;
        int valueCount = 0;
        int eventCount = 0;
        QString dbPath;
        int lastRecordNo = -1;
        int dataLineCount = 0;
        bool duplicate = false;
        bool error = false;
        bool awaitingHeader = false;
        bool linesStored = false;
        QString names;
        QDateTime dates;
        QString userID, stationID, serialNo;
        QString folderID;
        qint32 interval = 0;
        std::array<IntervalGasInfo, 3> gas;
    };

    bool CheckDuplicate() const;
    bool SaveToDatabase();
    bool parseStatistics(const QString& line, bool checkOnly);
    bool parseDataLine(const QString& line, bool checkOnly);
    bool parseEventLine(const QString& line, bool checkOnly);
    const IntervalGasInfo* gasInfo(int gas) const;
    IntervalGasInfo* gasInfo(int gas);

    // Staging of one download block's store pass (driven by clsIntervals):
    // Begin notes the state, Rollback puts it back, End forgets the notes.
    void BeginStage();
    void EndStage();
    void RollbackStage();
    void touchValue(int row);
    void touchEvent(int row);
    // Row `row` of a table, appended when it is the first row past the
    // table's end, otherwise reset to a fresh row.
    IntervalValueRow& freshValueRow(int row);
    IntervalEventRow& freshEventRow(int row);
    void rebuildValueIndex();

    Header m_h;
    bool m_linesMissing = false;
    clsInstrument* m_instrument = nullptr;
    // The tables; rows past DataCount / EventCount are left from before and
    // never read.
    std::vector<IntervalValueRow> m_values;
    std::vector<IntervalEventRow> m_events;

    // Last row index per reading time (msecs), for AddValue, and the rows
    // of each event time, for AddEvents. Rebuilt when marked dirty.
    QHash<qint64, int> m_valueIndex;
    bool m_indexDirty = true;
    QHash<qint64, std::vector<int>> m_eventIndex;
    bool m_eventIndexDirty = true;
    void rebuildEventIndex();

    bool m_staging = false;
    Header m_stageHeader;
    std::unordered_map<int, IntervalValueRow> m_savedValues;
    std::unordered_map<int, IntervalEventRow> m_savedEvents;
};
