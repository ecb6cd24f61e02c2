#pragma once
// The last-calibration list as plain data: every instrument's latest
// calibration row (cLatestHist) in one of three layouts.
#include "browser/grid_model.h"

#include "common/logdb.h"

#include <QDateTime>
#include <QString>
#include <vector>

namespace browser {

enum class HistoryLayout {
    NeedCalibration = 0,   // as CalibrationDate, the instruments due soonest first
    CalibrationDate = 1,   // one row per instrument
    CalibrationRecord = 2, // two rows per instrument, one per gas
};

// The instrument a data row belongs to, as the list shows it.
struct HistoryIdentity {
    QString serialNo;
    QString userID;
    QString stationID;
};

struct HistoryGrid {
    GridModel grid;
    bool empty = false;      // no calibration row at all (message 5352)
    bool wrapRows = false;   // word wrap and rows sized to their text
    std::vector<HistoryIdentity> identities; // per grid row; row 0 and gas-2 rows empty
};

// A date in "General Date" when it lies in the year 2000 or later, else "".
QString FormatDateIfValid(const QDateTime& date);

// The list in layout. With no rows the grid keeps only an empty header row
// ("Calibration Record" its captions). Raises DatabaseError.
HistoryGrid BuildHistoryGrid(LogDb& db, HistoryLayout layout);

} // namespace browser
