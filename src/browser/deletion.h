#pragma once
// Deletion of stored data. Each command runs in one transaction: on an
// error nothing is deleted and DatabaseError is raised.
#include "browser/browser_keys.h"
#include "browser/lastcal.h"

#include "records/head_query.h"

namespace browser {

// Every stored record, its rows in every record table and every
// latest-calibration row.
void DeleteAllData(LogDb& db);

// The heads that filter selects and their rows in every record table.
void DeleteNodeData(LogDb& db, const HeadFilter& filter);

// One stored record of kind: its head and its rows.
void DeleteRecord(LogDb& db, qint64 seqNo, const RecordKind& kind);

// Whether the head of the stored record seqNo of kind is still there.
// Raises DatabaseError.
bool RecordStored(LogDb& db, qint64 seqNo, const RecordKind& kind);

// The latest-calibration row of one instrument as the list shows it ("*"
// for an empty value).
void DeleteLatestHistory(LogDb& db, const HistoryIdentity& id);

} // namespace browser
