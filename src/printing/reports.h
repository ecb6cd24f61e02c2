#pragma once
// The report bodies and what they share while one document is printed.
#include "printing/print_job.h"
#include "printing/report_rows.h"

#include <QString>
#include <QStringList>

class ReportCanvas;

// One document being printed: the canvas, the request, the column table,
// the report's font, and the problems met on the way (shown to the user
// once, after the document).
struct PrintSession {
    ReportCanvas& out;
    const PrintRequest& request;
    QString fontName;
    QStringList& errors;
    ReportColumns columns;

    void PageHeader();
    void Row(const QStringList& cells, int first = 0);
    void BlankRow() { Row({QString()}); }
    void Rule(int width);
    // The page break between rows: when more rows follow (index < last) and
    // the print position is past 95 % of the page's height, a new page with
    // its header begins and the print position goes to a tenth of the
    // page's width from the top. True when a page was begun (the caller
    // then prints its column heading again).
    bool PageBreak(int index, int last);
    // Notes a problem once.
    void NoteError(const QString& text);
};

// Properties block of a trend (kinds 1 and 2): identity rows and, for an
// interval trend, the gas statistics.
void PrintTrendProperties(PrintSession& s);
// Sample table of a trend: kind 1 from the request's sample-table snapshot,
// any other kind from the alarm record.
void PrintTrendTable(PrintSession& s);
// Calibration history of the stored record request.SeqNo.
void PrintCalHistory(PrintSession& s);
// The last-calibration list snapshot.
void PrintLastCalList(PrintSession& s);
// Alarm, trouble or power events of the stored record request.SeqNo.
void PrintEventReport(PrintSession& s);
