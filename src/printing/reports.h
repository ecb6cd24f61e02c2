#pragma once
// The report bodies and what they share while one document is printed.
#include "common/gascaption.h"
#include "printing/print_job.h"
#include "printing/report_rows.h"

#include <QString>
#include <QStringList>

#include <vector>

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
    // Size of the rows' font: kRowPoints unless a table's texts would not
    // fit across the page at that size.
    double rowPoints = kRowPoints;

    // The page header; the rows below it print in rowPoints.
    void PageHeader();
    void Row(const QStringList& cells, int first = 0);
    void BlankRow() { Row({QString()}); }
    void Rule(int width);
    // Starts fitting the columns of a table (ColumnFit): the rows' font
    // goes back to its full size, in which the texts are measured.
    ColumnFit NewFit();
    // Fits edges 0 to lastEdge of the columns to the texts of fit, and the
    // rows' font to the size at which they fit across the page.
    void Fit(ColumnFit& fit, int lastEdge);
    // A heading row above the data of fit: a centred heading of left-aligned
    // data stands over that data (ColumnFit::HeadingSpans).
    void HeadingRow(const ColumnFit& fit, const QStringList& cells);
    // The page break between rows: when more rows follow (index < last) and
    // the print position is past 95 % of the page's height, a new page with
    // its header begins and the print position goes to a tenth of the
    // page's width from the top. True when a page was begun (the caller
    // then prints its column heading again).
    bool PageBreak(int index, int last);
    // Notes a problem once.
    void NoteError(const QString& text);
};

// String-table ids of the reports' captions and messages.
namespace report_text {
constexpr int kIdProperty = 5604;
constexpr int kIdValue = 5605;
constexpr int kIdName = 5606;
constexpr int kIdStartDate = 5607;
constexpr int kIdSerialNo = 5608;
constexpr int kIdStationId = 5609;
constexpr int kIdUserId = 5610;
constexpr int kIdDataCount = 5611;
constexpr int kIdIntervalTime = 5612;
constexpr int kIdAvg = 5613;
constexpr int kIdMax = 5614;
constexpr int kIdMin = 5615;
constexpr int kIdAlarmDate = 5616;
constexpr int kIdNo = 5620;
constexpr int kIdDateTime = 5621;
constexpr int kIdBefore = 5633;
constexpr int kIdAfter = 5634;
constexpr int kIdGas = 5635;
constexpr int kIdAlarm = 5640;
constexpr int kIdMaxDate = 5663;
constexpr int kIdMinDate = 5664;
constexpr int kIdLastDownload = 5668;
constexpr int kIdGasFullScale = 5750;
constexpr int kIdRecordMissing = 5845;
constexpr int kIdReadFailed = 5846;
} // namespace report_text

// The heading of gas gas of a trend or history record ("CO(500ppm)").
template <class Record>
QString RecordGasCaption(const Record& rec, int gas)
{
    class Source final : public GasCaptionSource {
    public:
        explicit Source(const Record& r) : m_rec(r) {}
        QString CaptionGasName(int g) const override { return m_rec.GasListInfo(g, 0).toString(); }
        float CaptionGasFull(int g) const override { return m_rec.GasListInfo(g, 1).toFloat(); }
        QString CaptionGasUnit(int g) const override { return m_rec.GasListInfo(g, 14).toString(); }

    private:
        const Record& m_rec;
    };
    const Source source(rec);
    return GasCaption(&source, gas, true);
}

// The block that heads the calibration history and the event reports, in
// columns 0 to 2: the "Property" / "Value" heading over the serial number,
// station ID, user ID and last download of the record.
struct IdentityBlock {
    IdentityBlock(const QString& serialNo, const QString& stationId, const QString& userId,
                  const QString& lastDownload);
    // Adds the block's texts to fit as Print places them.
    void AddTo(ColumnFit& fit, ReportColumns& columns) const;
    // The heading centred, a rule, then the rows left-aligned and two blank
    // rows; leaves columns 0 to 2 aligned left.
    void Print(PrintSession& s) const;

    QStringList heading;
    std::vector<QStringList> rows;
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
