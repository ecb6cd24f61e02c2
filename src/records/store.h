#pragma once
// Storing the records of one download, and telling how many of them did not
// reach the database. A download must never be taken as complete while one
// of its records is missing from the database: what the instrument logged
// exists nowhere else once its logger is cleared.
#include "records/collections.h"

class clsInstrument;

// Stores one downloaded record for instrument. True when nothing of it is
// missing from the database afterwards: written now, already there (a
// duplicate), or holding no line of the instrument's at all (a trend made
// only by the check pass of a block that was refused and sent again).
// False when the record is not stored: a trend that received lines but
// never its header line ("AD", "BD"; nothing is written for it), a record
// whose Error is set (a faulty line, or a database error while it was
// written), or a store that failed. A failed record leaves no part of
// itself in the database.
bool StoreDownloaded(clsInterval& record, clsInstrument* instrument);
bool StoreDownloaded(clsAlarm& record, clsInstrument* instrument);
bool StoreDownloaded(clsPowerEvent& record, clsInstrument* instrument);
// The calibration history: the entries not stored yet are added.
bool StoreDownloaded(clsHistory& record, clsInstrument* instrument);

// Stores every record of a download in collection order; a record that
// fails does not stop the others. Returns how many were not stored.
template <class Collection>
int StoreDownloadedRecords(const Collection& records, clsInstrument* instrument)
{
    int notStored = 0;
    for (auto* record : records)
        if (record && !StoreDownloaded(*record, instrument))
            ++notStored;
    return notStored;
}
