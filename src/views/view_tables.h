#pragma once
#include "views/event_list.h"
#include "views/view_grid.h"
#include "views/view_records.h"

#include <vector>

// The table and summary of a stored record, as grid contents. Dates show
// in the program's general form ("yyyy/mm/dd hh:nn:ss"), gas values through
// the gas value codec.

// One line of an interval trend in time order: a sample, or an event that
// may absorb the sample of its own second (combined).
struct IntervalLine {
    int sample = -1;   // value row, for a sample line
    int event = -1;    // event row, for an event line
    int combined = -1; // the value row an event line absorbs, or -1
    bool IsEvent() const { return event >= 0; }
};

// The samples and events of an interval trend merged in time order, in one
// pass over both lists sorted by time: oldest first; an event comes before
// a sample whose second is not earlier; an event absorbs the sample of its
// second; several events in one second each get a line, and only the first
// of them absorbs the sample. The walk starts one calendar month before the
// first sample or first event (the earlier valid one; valid is later than
// 1998/01/01) and ends at 2199/01/01. Moments are compared in whole
// seconds, as stored. Samples of a time already passed, and a sample that
// repeats the time of the one before, are left out.
std::vector<IntervalLine> MergeIntervalLines(const clsInterval& record);

// Table grids.
GridContent IntervalTable(const clsInterval& record, bool eventOnly);
GridContent AlarmTable(const clsAlarm& record);
GridContent HistoryTable(const clsHistory& record);
// The column headings of an event list (shared by its table and its export).
QStringList EventListHeader(int kind);
// Kinds 5 and 6 (4 columns) and 7 (3 columns), newest first.
GridContent EventListTable(int kind, const EventList& list);

// The alarm-trend table marks row 181, the alarm moment, in red (columns 1
// to 3) when it has that row.
inline constexpr int kAlarmRow = 181;
// The first visible row that puts row 181 in the middle of the view, given
// the last visible row when the table is scrolled to the top: 182 - b / 2,
// halves to the even neighbour.
int AlarmScrollTarget(int lastVisibleRow);

// Summary grids. Kinds 5 and 6 have none (hidden).
GridContent IntervalSummary(const clsInterval& record);
GridContent AlarmSummary(const clsAlarm& record);
// Kinds 3 and 7: the instrument's identity and the last download.
template <class R>
GridContent HeadSummary(const R& record);
GridContent NoSummary();

// Both grids of a loaded record of kind (tables of the event kinds need
// their list; pass an empty one for other kinds).
struct ViewTables {
    GridContent summary;
    GridContent table;
};
ViewTables FillTables(int kind, const ViewRecords& records, const EventList& events, bool eventOnly);
