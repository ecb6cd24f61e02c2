#pragma once
#include "views/event_list.h"
#include "views/view_records.h"

#include <QString>

// The clipboard and export text of a stored record: lines ended by CR LF,
// fields joined by sep and never quoted. Dates are "yyyy/mm/dd hh:nn:ss".
// The event kinds need their list with its head (ReadEventList); a list
// whose head was not found raises DatabaseError. Empty for a kind without a
// text.
QString BuildSampleText(int kind, const ViewRecords& records, const EventList& events, const QString& sep);
// The alarm-trend text alone (the Data View window's only layout).
QString AlarmSampleText(const clsAlarm& record, const QString& sep);

// The name an export proposes: the last export's name with its three last
// characters made "csv" (or "bmp"), unless they already are in any case;
// without a last export, "Sample.csv" ("Sample.bmp") in folder.
QString ProposedExportName(const QString& lastExport, bool bitmap, const QString& folder);

// The field separator of the text export by the filter chosen (1-based):
// the second filter ("Tab csv") gives a TAB, the others a comma.
QString ExportSeparator(int filterIndex);
