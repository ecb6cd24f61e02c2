#pragma once
// The record collections that a download fills.
//
// How the interface control feeds a download into a collection:
//   1. Clear() the collection and SetFailLine("") before the request.
//   2. For every answer block: call SetDatas(line, true) for each record line
//      of the block (all of them, also after a failure); only when every call
//      returned true, call SetDatas(line, false) for the same lines in the
//      same order. Accept the block when every store call returned true too.
//   3. Read FailLine() (the rejected lines, each preceded by CR LF; a line
//      on which a store pass failed is listed too) and MessageString() (a
//      progress text; empty it after reading).
// The calibration history takes the gas (0 or 1) first:
// SetDatas(gas, line, checkOnly), and writes no FailLine.
// A store pass that fails part-way leaves nothing of its block in the
// records (the block is refused and sent again). A block that repeats the
// block stored last, taken again after a line fault, passes both passes and
// stores nothing twice (RecordCollection::beginLine). After the download,
// call Update() on each record (after SetInstrument on it when needed).
#include "records/alarm.h"
#include "records/history.h"
#include "records/interval.h"
#include "records/power_event.h"
#include "records/record_collection.h"

#include <array>

// Interval trends, keyed "NN L" by the two-digit logger number.
class clsIntervals : public RecordCollection<clsInterval> {
public:
    // Removes every record and forgets lines found missing.
    void Clear();
    // One line of an interval download; see the file comment.
    bool SetDatas(const QString& line, bool checkOnly);
    // The last cleaned line handed to SetDatas.
    const QString& CurrentLine() const { return m_currentLine; }
    // True once a store pass failed on a data line whose record number
    // jumped past the next one within its trend: the instrument left lines
    // out, and sending the block again cannot bring them back.
    bool LinesMissing() const { return m_linesMissing; }

private:
    bool dispatch(const QString& line, bool checkOnly);
    QString m_currentLine;
    bool m_linesMissing = false;
};

// Alarm trends, keyed "NN L" by the two-digit logger number.
class clsAlarms : public RecordCollection<clsAlarm> {
public:
    // One line of an alarm download; see the file comment.
    bool SetDatas(const QString& line, bool checkOnly);

private:
    bool dispatch(const QString& line, bool checkOnly);
};

// The calibration history of one instrument: the single record "01 L".
class clsHistorys : public RecordCollection<clsHistory> {
public:
    // One history line of gas (0 = first gas, 1 = second gas). Lines of 20
    // characters or fewer fail; a bad date or time sets the record's Error
    // but the line is accepted. The store pass files the entry.
    bool SetDatas(int gas, const QString& line, bool checkOnly);
};

// Power events, keyed "NN L" by the two-digit logger number.
class clsPowerEvents : public RecordCollection<clsPowerEvent> {
public:
    // Removes every record and forgets the instruments already reported.
    void Clear();
    // One line of a power-event download (exactly 24 characters).
    bool SetDatas(const QString& line, bool checkOnly);

private:
    bool dispatch(const QString& line, bool checkOnly);
    // Instruments for which the "new data" message was given.
    std::array<QString, 100> m_reported;
};
