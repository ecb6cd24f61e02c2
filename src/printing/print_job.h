#pragma once
// Printing a report: the one entry point for every Print button.
//
//     PrintRequest request;
//     request.DataType = kPrintAlarmTrend;
//     request.PrintType = graphViewShown;      // true graph, false tables
//     request.SeqNo = record.SeqNo();
//     request.AlarmData = &record;             // or IntervalData for kind 1
//     GoPrinter(request);
//
// GoPrinter asks the user for a printer (the installed printers and "PDF
// file", which asks for the file name), prints one document and returns
// when it has ended. The program's current printer is the same before and
// after. Every problem is reported to the user once, through the prompt
// seam; nothing is thrown to the caller.
//
// The library knows no window: a caller hands over the records and, for the
// reports that print a grid as it is shown, a snapshot of that grid's texts.
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <vector>

class clsAlarm;
class clsInterval;
class ReportCanvas;

// Report kinds (DataType); any other value prints the page header only.
constexpr int kPrintIntervalTrend = 1;
constexpr int kPrintAlarmTrend = 2;
constexpr int kPrintCalHistory = 3;
constexpr int kPrintLastCalibration = 4;
constexpr int kPrintAlarmEvents = 5;
constexpr int kPrintTroubleEvents = 6;
constexpr int kPrintPowerEvents = 7;

// A grid as the report prints it: the texts of its cells and, per cell,
// whether the cell carries a background colour of its own. Row 0 is the
// grid's heading row. Cells outside the rows given read as "" and plain.
class GridSnapshot {
public:
    void AddRow(const QStringList& texts, const std::vector<bool>& ownColour = {});
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    QString Text(int row, int col) const;
    bool OwnColour(int row, int col) const;
    void Clear() { m_rows.clear(); }

private:
    struct Row {
        QStringList texts;
        std::vector<bool> ownColour;
    };
    std::vector<Row> m_rows;
};

// Reads rows x cols cells of any grid through two functions.
GridSnapshot SnapshotGrid(int rows, int cols, const std::function<QString(int, int)>& text,
                          const std::function<bool(int, int)>& ownColour);

// What to print. Every job starts from a fresh request: what the caller
// does not set keeps these defaults.
struct PrintRequest {
    int DataType = 0;
    // true: the graph of a trend (kinds 1 and 2; other kinds print the page
    // header and an empty graph area); false: tables.
    bool PrintType = false;
    // The stored Log_Head row: read by the calibration history (kind 3) and
    // the event reports (kinds 5 to 7).
    qint64 SeqNo = 0;
    // The trend record for kind 1 or 2; not owned, read only during the job.
    const clsInterval* IntervalData = nullptr;
    const clsAlarm* AlarmData = nullptr;
    // Kind 1 as a table: the sample table as the data view shows it
    // (columns No, Date/Time, gas 0, gas 1; event rows with their colour).
    GridSnapshot SampleTable;
    // Kind 4: the last-calibration list as the browser shows it (columns 0
    // to 6 are printed).
    GridSnapshot LastCalList;
};

enum class PrintOutcome {
    Printed,           // the document went to the printer or file
    PrintedWithErrors, // it went out, but part of the report could not be read
    Cancelled,         // no printer or no file chosen: nothing printed
    Failed,            // nothing printed (the error was shown)
};

// Runs one print job; see the top of this file.
PrintOutcome GoPrinter(const PrintRequest& request);

// Prints the report of request onto an open canvas after the choice of the
// printer: page header, body, end of document. Raises PrintError when the
// canvas fails; problems in reading the data are added to errors and the
// report goes on with what it has. Used by GoPrinter and by tests.
void PrintReport(ReportCanvas& canvas, const PrintRequest& request, QStringList& errors);

// Replaces where a job's canvas comes from (tests): given the printer's
// name and, for "PDF file", the file name. An empty function restores the
// real printers.
using CanvasFactory = std::function<std::unique_ptr<ReportCanvas>(const QString& printer, const QString& pdfPath)>;
void SetCanvasFactory(CanvasFactory factory);
