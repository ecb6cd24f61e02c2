#pragma once
#include <QDateTime>
#include <QString>
#include <cstdint>

// The trend search: from a status mark of an interval trend (an event mark
// of the graph or a coloured status cell of the table) to the alarm trend of
// the same instrument recorded around that moment.

// The Log_Head.SeqNo of the alarm trend (Types 2) of serialNo, other than
// the record exclude, whose Dates lie from moment + before to moment + after
// seconds (bounds included) and nearest to the moment, less than 600 seconds
// away; of two at the same distance the earlier. -1 when none. Every value
// is bound. Raises DatabaseError when the database does not open or the
// query fails.
qint64 TrendSearch(const QString& dbPath, qint64 exclude, const QString& serialNo, const QDateTime& moment,
                   int before, int after);

// True for an event-mark text of the graph that starts a search: exactly
// "WARNING", "ALARM" or "OVER".
bool IsTrendMarkText(const QString& text);

// True for a table cell that starts a search: an interval trend (kind 1),
// neither the header row nor the number column, a cell with a colour of its
// own, and a text that starts with "WARN", "ALAR" or "OVER".
bool IsTrendCell(int kind, int row, int col, std::int32_t backColor, const QString& text);

// What the Data View window opens: the alarm trend found and the moment
// searched for.
struct DataViewRequest {
    qint64 seqNo = 0;
    int mode = 2;
    QDateTime baseDate;
};
