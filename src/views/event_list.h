#pragma once
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <vector>

// The alarm, trouble or power events stored under one Log_Head row.
struct EventListRow {
    QDateTime date;
    QString gasName;          // alarm and trouble events
    std::int32_t code = 0;    // alarm and trouble events: the status code
    bool powerOn = false;     // power events
};

struct EventList {
    bool headFound = false;
    qint64 relNo = 0;
    QString serialNo;
    QString stationID;
    QString userID;
    QDateTime dates;
    std::vector<EventListRow> rows; // newest first
};

// Reads the head seqNo and its events of kind 5 (Alarm_Event), 6
// (Trouble_Event) or 7 (Power_Event) from the database at dbPath, newest
// first. An events table that the database lacks (a file made elsewhere)
// gives no rows. A missing head leaves headFound false and no rows. Raises
// DatabaseError when the file does not open or a query fails.
EventList ReadEventList(const QString& dbPath, int kind, qint64 seqNo);
