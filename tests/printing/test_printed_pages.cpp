// Every report kind printed to a PDF file through the whole print job, in
// English and Japanese, read back with pdftotext -bbox and pdftoppm: no two
// words may overlap, every word lies inside the printable area, no rule
// across the page runs through a word, and a heading repeated on a further
// page stands as on the first.
#include "print_fixture.h"

#include "common/gasvalue.h"
#include "common/services.h"
#include "printing/printer_canvas.h"
#include "printing/printer_choice.h"
#include "scripted_prompt.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>
#include <functional>

using namespace print_test;

namespace {

// ---- reading a printed PDF back ----

struct Word {
    QString text;
    QRectF box; // points from the page's top left
};

struct Page {
    std::vector<Word> words;
    std::vector<std::pair<double, double>> rules; // top and bottom of each rule, points
};

QString Tool(const char* name) { return QStandardPaths::findExecutable(QString::fromLatin1(name)); }

bool HaveTools() { return !Tool("pdftotext").isEmpty() && !Tool("pdftoppm").isEmpty(); }

QString Run(const QString& tool, const QStringList& args)
{
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(120000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The words of every page as pdftotext -bbox gives them.
std::vector<Page> ReadWords(const QString& pdf)
{
    std::vector<Page> pages;
    QXmlStreamReader xml(Run(Tool("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("page")) {
            pages.emplace_back();
        } else if (xml.name() == QLatin1String("word") && !pages.empty()) {
            const QRectF box(QPointF(a.value("xMin").toDouble(), a.value("yMin").toDouble()),
                             QPointF(a.value("xMax").toDouble(), a.value("yMax").toDouble()));
            pages.back().words.push_back({xml.readElementText(), box});
        }
    }
    return pages;
}

// The rules of every page: runs of dark pixels across at least minWidth
// points of a row, rendered at 144 dpi.
void ReadRules(const QString& pdf, std::vector<Page>& pages, double minWidth)
{
    constexpr double kDpi = 144;
    QTemporaryDir dir;
    Run(Tool("pdftoppm"),
        {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-gray"), pdf, dir.filePath(QStringLiteral("p"))});
    const QStringList files = QDir(dir.path()).entryList({QStringLiteral("p-*.pgm")}, QDir::Files, QDir::Name);
    const double pt = 72.0 / kDpi;
    for (int i = 0; i < files.size() && i < static_cast<int>(pages.size()); ++i) {
        const QImage image = QImage(dir.filePath(files[i])).convertToFormat(QImage::Format_Grayscale8);
        auto& rules = pages[static_cast<size_t>(i)].rules;
        int bandStart = -1;
        for (int y = 0; y <= image.height(); ++y) {
            int longest = 0;
            if (y < image.height()) {
                const uchar* row = image.constScanLine(y);
                int run = 0;
                for (int x = 0; x < image.width(); ++x) {
                    run = row[x] < 160 ? run + 1 : 0;
                    longest = std::max(longest, run);
                }
            }
            const bool rule = longest * pt >= minWidth;
            if (rule && bandStart < 0)
                bandStart = y;
            if (!rule && bandStart >= 0) {
                rules.push_back({bandStart * pt, y * pt});
                bandStart = -1;
            }
        }
    }
}

QString Describe(const Word& w)
{
    return QStringLiteral("\"%1\" [%2,%3 - %4,%5]")
        .arg(w.text)
        .arg(w.box.left(), 0, 'f', 1)
        .arg(w.box.top(), 0, 'f', 1)
        .arg(w.box.right(), 0, 'f', 1)
        .arg(w.box.bottom(), 0, 'f', 1);
}

// Every fault of the pages: overlapping words, words outside area (the
// printable area, points), rules through words. Words whose middle lies in
// skip are left out.
QStringList PageFaults(const std::vector<Page>& pages, const QRectF& area, const QRectF& skip = QRectF())
{
    QStringList faults;
    const QRectF inside = area.adjusted(-0.5, -0.5, 0.5, 0.5);
    for (size_t p = 0; p < pages.size(); ++p) {
        const QString page = QStringLiteral("page %1: ").arg(p + 1);
        std::vector<Word> words;
        for (const Word& w : pages[p].words) {
            if (!skip.contains(w.box.center()))
                words.push_back(w);
        }
        for (size_t i = 0; i < words.size(); ++i) {
            if (!inside.contains(words[i].box))
                faults << page + Describe(words[i]) + QStringLiteral(" lies outside the printable area");
            for (size_t j = i + 1; j < words.size(); ++j) {
                const QRectF both = words[i].box.intersected(words[j].box);
                if (both.width() > 0.01 && both.height() > 0.01)
                    faults << page + Describe(words[i]) + QStringLiteral(" overlaps ") + Describe(words[j]);
            }
            for (const auto& [top, bottom] : pages[p].rules) {
                if (top < words[i].box.bottom() && bottom > words[i].box.top())
                    faults << page + QStringLiteral("a rule at %1-%2 runs through %3")
                                         .arg(top, 0, 'f', 1)
                                         .arg(bottom, 0, 'f', 1)
                                         .arg(Describe(words[i]));
            }
        }
    }
    return faults;
}

// The column heading repeated at the top of every further page stands where
// it stands on the first: each of its words is found on page 1 at the same
// place across. The heading is the first row below the page header.
QStringList HeadingFaults(const std::vector<Page>& pages, const QRectF& area)
{
    QStringList faults;
    const double belowHeader = area.top() + 30;
    for (size_t p = 1; p < pages.size(); ++p) {
        double top = 1e9;
        for (const Word& w : pages[p].words) {
            if (w.box.top() > belowHeader)
                top = std::min(top, w.box.top());
        }
        for (const Word& w : pages[p].words) {
            if (std::abs(w.box.top() - top) > 1)
                continue;
            const bool asOnFirst = std::any_of(pages[0].words.begin(), pages[0].words.end(), [&w](const Word& f) {
                return f.text == w.text && std::abs(f.box.left() - w.box.left()) < 0.3;
            });
            if (!asOnFirst)
                faults << QStringLiteral("page %1: heading ").arg(p + 1) + Describe(w)
                              + QStringLiteral(" does not stand as on page 1");
        }
    }
    return faults;
}

// ---- the reports ----

const QDateTime kStart = MakeDate(2025, 11, 20, 9, 30, 15);

// Gas captions as wide as the instrument makes them.
template <class Record>
void WideGases(Record& rec)
{
    rec.SetGasListInfo(0, 0, QStringLiteral("CH4"));
    rec.SetGasListInfo(0, 1, 9999.9f);
    rec.SetGasListInfo(0, 3, 1);
    rec.SetGasListInfo(0, 13, true);
    rec.SetGasListInfo(0, 14, QStringLiteral("%LEL"));
    rec.SetGasListInfo(1, 0, QStringLiteral("O2"));
    rec.SetGasListInfo(1, 1, 25.0f);
    rec.SetGasListInfo(1, 3, 1);
    rec.SetGasListInfo(1, 13, true);
    rec.SetGasListInfo(1, 14, QStringLiteral("vol%"));
}

// Identity fields at their longest (12 and 10 characters) and widest.
const QString kSerial = QStringLiteral("MWM-00123456");
const QString kStation = QStringLiteral("STN-WMW-01");
const QString kUser = QStringLiteral("WMW-USER99");

template <class Record>
void WideIdentity(Record& rec, const QString& name)
{
    rec.SetGasBaseInfo(0, name);
    rec.SetGasBaseInfo(1, kStart);
    rec.SetGasBaseInfo(2, kUser);
    rec.SetGasBaseInfo(3, kStation);
    rec.SetGasBaseInfo(4, kSerial);
    rec.SetGasBaseInfo(6, 3600);
}

// A gas value as the reports show it, cycling through the widest forms.
float WideValue(int i)
{
    static const float values[] = {9999.9f, -111.0f, 10500.0f, -109.0f, 0.0f, 8888.8f, -113.0f};
    return values[i % 7];
}

struct Records {
    clsInterval interval;
    clsAlarm alarm;
};

void FillRecords(Records& r, bool japanese)
{
    const QString name =
        japanese ? QStringLiteral("北ｼｬﾌﾄ第12坑道 定期測定ﾃﾞｰﾀ") : QStringLiteral("North shaft 12 survey");
    WideGases(r.interval);
    WideIdentity(r.interval, name);
    for (int i = 0; i < 400; ++i) {
        const QDateTime t = kStart.addSecs(3600LL * i);
        r.interval.AddValue(0, t, i % 3 ? 9999.9f : 1234.5f);
        r.interval.AddValue(1, t, 20.9f);
    }
    r.interval.AddEvents(0, kStart.addSecs(1800), -111, kStart);
    r.interval.SetGasListInfo(0, 8, 10500.0f);
    r.interval.SetGasListInfo(0, 9, 8888.8f);
    r.interval.SetGasListInfo(0, 10, 9999.9f);
    r.interval.SetGasListInfo(0, 11, kStart.addDays(40));
    r.interval.SetGasListInfo(0, 12, kStart.addDays(41));
    r.interval.SetGasListInfo(1, 8, 25.0f);
    r.interval.SetGasListInfo(1, 9, 18.5f);
    r.interval.SetGasListInfo(1, 10, 20.4f);
    r.interval.SetGasListInfo(1, 11, kStart.addDays(42));
    r.interval.SetGasListInfo(1, 12, kStart.addDays(43));

    WideGases(r.alarm);
    WideIdentity(r.alarm, name);
    for (int i = 0; i < clsAlarm::kSamples; ++i) {
        r.alarm.SetDateTimes(i, kStart.addSecs(i - 180));
        r.alarm.SetValue(0, i, WideValue(i));
        r.alarm.SetValue(1, i, WideValue(i + 3) > 25 ? 20.9f : WideValue(i + 3));
    }
    r.alarm.SetDataCount(clsAlarm::kSamples);
}

// The interval table as the data view shows it: numbers far into a long
// trend, and event rows in their colour.
GridSnapshot WideSampleGrid()
{
    GridSnapshot grid;
    grid.AddRow({QStringLiteral("No"), QStringLiteral("Date/Time"), QStringLiteral("CH4"), QStringLiteral("O2")});
    for (int i = 0; i < 160; ++i) {
        const QString date = GeneralDate(kStart.addSecs(3600LL * i));
        if (i % 9 == 8)
            grid.AddRow({QString(), date, StatusCodeName(-111), StatusCodeName(-113)}, {true, true, true, true});
        else
            grid.AddRow({QString::number(199840 + i), date, FormatGasValue(WideValue(i), 1), QStringLiteral("20.9")});
    }
    return grid;
}

// The last-calibration list in the browser's layouts: header texts from the
// string table, the widest identities the instrument allows.
GridSnapshot LastCalDates(int rows)
{
    GridSnapshot grid;
    grid.AddRow(GetResString(5661, QStringLiteral("CH4(9999.9%LEL)"), QStringLiteral("O2(25.0vol%)")).split('|'));
    for (int r = 1; r <= rows; ++r) {
        const bool widest = r == 2;
        grid.AddRow({QString::number(r), widest ? QString(12, QLatin1Char('W')) : kSerial,
                     widest ? QString(10, QLatin1Char('W')) : kUser, widest ? QString(10, QLatin1Char('M')) : kStation,
                     GeneralDate(kStart.addDays(r)),
                     r % 5 ? GeneralDate(kStart.addDays(r + 1)) : QStringLiteral("-----"),
                     GeneralDate(kStart.addDays(r + 2))});
    }
    return grid;
}

GridSnapshot LastCalRecords(int instruments)
{
    GridSnapshot grid;
    grid.AddRow(GetResString(5662).split('|'));
    for (int r = 1; r <= instruments; ++r) {
        grid.AddRow({QString::number(r), kSerial, kUser, kStation, QStringLiteral("CH4(9999.9%LEL)"),
                     QStringLiteral("9999.9"), QStringLiteral("OVER"), QStringLiteral("10.0")});
        grid.AddRow({QString(), QString(), QString(), QString(), QStringLiteral("O2(25.0vol%)"),
                     StatusCodeName(-109), QStringLiteral("20.9"), QStringLiteral("20.9")});
    }
    return grid;
}

// Stored heads far above 32 bits, with many rows each.
constexpr qint64 kHistorySeq = 5000000001LL;
constexpr qint64 kAlarmEventSeq = 5000000002LL;
constexpr qint64 kTroubleEventSeq = 5000000003LL;
constexpr qint64 kPowerEventSeq = 5000000004LL;

void StoreWideHead(LogDb& db, qint64 seqNo, int types)
{
    ExecSql(db,
            QStringLiteral("Insert Into Log_head (SeqNo, Names, UserID, StationID, SerialNo, Types, Dates, "
                           "Gas1Name, Gas1Full, Gas1Point, Gas1Unit, Gas1Enable, "
                           "Gas2Name, Gas2Full, Gas2Point, Gas2Unit, Gas2Enable) "
                           "Values (?,?,?,?,?,?,?, ?,?,?,?,?, ?,?,?,?,?)"),
            {seqNo, QStringLiteral("Head"), kUser, kStation, kSerial, types, DbDate(kStart), QStringLiteral("CH4"),
             9999.9, 1, QStringLiteral("%LEL"), 1, QStringLiteral("O2"), 25.0, 1, QStringLiteral("vol%"), 1});
}

// The stored reports, in one transaction.
void StoreReports()
{
    LogDb db;
    DbTransaction transaction(db);
    StoreWideHead(db, kHistorySeq, 3);
    for (int i = 0; i < 90; ++i) {
        ExecSql(db,
                QStringLiteral("Insert Into cHistory (RelNo, Dates, Gas1Before, Gas1After, Gas2Before, Gas2After) "
                               "Values (?,?,?,?,?,?)"),
                {kHistorySeq, DbDate(kStart.addDays(i)), WideValue(i), WideValue(i + 1), WideValue(i + 2), 20.9});
    }
    StoreWideHead(db, kAlarmEventSeq, 5);
    StoreWideHead(db, kTroubleEventSeq, 6);
    StoreWideHead(db, kPowerEventSeq, 7);
    static const int codes[] = {-102, -103, -104, -105, -106, -107, -108, -109, -110, -111, -112, -113, -114, -115};
    const QString event = QStringLiteral("Insert Into %1 (RelNo, Dates, GasName, Alarm_type) Values (?,?,?,?)");
    for (int i = 0; i < 150; ++i) {
        const QVariant date = DbDate(kStart.addSecs(60LL * i));
        ExecSql(db, event.arg(QStringLiteral("Alarm_Event")),
                {kAlarmEventSeq, date, QStringLiteral("CH4(9999.9%LEL)"), codes[i % 14]});
        ExecSql(db, event.arg(QStringLiteral("Trouble_Event")),
                {kTroubleEventSeq, date, i % 2 ? QStringLiteral("Body") : QStringLiteral("O2(25.0vol%)"),
                 codes[(i + 7) % 14]});
        ExecSql(db, QStringLiteral("Insert Into Power_Event (RelNo, Dates, Power_Type) Values (?,?,?)"),
                {kPowerEventSeq, date, i % 2 == 0 ? 1 : 0});
    }
    transaction.Commit();
}

struct PageCase {
    const char* name;
    std::function<void(PrintRequest&, Records&)> request;
    bool graph = false; // a trend's graph in its band of the page
};

std::function<void(PrintRequest&, Records&)> Kind(int kind, bool graph = false)
{
    return [kind, graph](PrintRequest& r, Records& rec) {
        r.DataType = kind;
        r.PrintType = graph;
        r.IntervalData = &rec.interval;
        r.AlarmData = &rec.alarm;
    };
}

template <class Extra>
std::function<void(PrintRequest&, Records&)> Kind(int kind, Extra extra)
{
    return [kind, extra](PrintRequest& r, Records& rec) {
        Kind(kind)(r, rec);
        extra(r);
    };
}

// Every report kind: the trends as tables and as graphs, each layout of the
// last-calibration list, the event reports, and a graph printout of a kind
// that has no graph.
std::vector<PageCase> ReportCases()
{
    return {
        {"interval trend table", Kind(kPrintIntervalTrend, [](PrintRequest& r) { r.SampleTable = WideSampleGrid(); })},
        {"interval trend graph", Kind(kPrintIntervalTrend, true), true},
        {"alarm trend table", Kind(kPrintAlarmTrend)},
        {"alarm trend graph", Kind(kPrintAlarmTrend, true), true},
        {"calibration history", Kind(kPrintCalHistory, [](PrintRequest& r) { r.SeqNo = kHistorySeq; })},
        {"last calibration by date",
         Kind(kPrintLastCalibration, [](PrintRequest& r) { r.LastCalList = LastCalDates(120); })},
        {"last calibration records",
         Kind(kPrintLastCalibration, [](PrintRequest& r) { r.LastCalList = LastCalRecords(70); })},
        {"alarm events", Kind(kPrintAlarmEvents, [](PrintRequest& r) { r.SeqNo = kAlarmEventSeq; })},
        {"trouble events", Kind(kPrintTroubleEvents, [](PrintRequest& r) { r.SeqNo = kTroubleEventSeq; })},
        {"power events", Kind(kPrintPowerEvents, [](PrintRequest& r) { r.SeqNo = kPowerEventSeq; })},
        {"calibration history as graph", Kind(kPrintCalHistory, true)},
    };
}

class PrintedPages : public ::testing::Test {
protected:
    TempHome home;
    ScriptedPrompt prompt;

    void SetUp() override
    {
        ResetAppState();
        SetClock([] { return MakeDate(2026, 12, 28, 23, 59, 58); });
        CreateLogDatabase(LogDatabasePath());
        SetPrinterSource([] { return InstalledPrinters{{"Office Laser"}, "Office Laser"}; });
    }
    void TearDown() override
    {
        SetPrinterSource({});
        SetClock({});
        SetResLanguage(ResLanguage::System);
        EXPECT_TRUE(prompt.AllUsed());
    }

    // Prints request to path, choosing "PDF file" in the printer list.
    void PrintPdf(const PrintRequest& request, const QString& path)
    {
        prompt.ExpectWindow([](QWidget* window) {
            auto* dialog = qobject_cast<frmSetPrinter*>(window);
            EXPECT_NE(dialog, nullptr);
            if (!dialog)
                return 0;
            dialog->List()->setCurrentIndex(dialog->List()->count() - 1);
            QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
            return dialog->result();
        });
        prompt.ExpectFile(path);
        EXPECT_EQ(GoPrinter(request), PrintOutcome::Printed);
    }

    // Prints every case in English and Japanese and checks its pages; with
    // wholeGraph false the words inside a graph's band are left out.
    // PELKAR_KEEP_PRINTS names a folder that receives a copy of each file.
    void CheckPrints(const std::vector<PageCase>& cases, bool wholeGraph)
    {
        StoreReports();
        // The printable area of the PDF pages, in points, and the graph's
        // band in it.
        QRectF area;
        {
            const auto canvas = PrinterCanvas::ForPdfFile(home.file(QStringLiteral("probe.pdf")));
            area = canvas->PrintableArea();
            canvas->AbortDoc();
        }
        ASSERT_FALSE(area.isEmpty());
        const QRectF band(area.left() + 0.02 * area.width(), area.top() + 0.40 * area.height(), 0.95 * area.width(),
                          0.45 * area.height());

        // The program's own display font, and a Japanese one as a Japanese
        // system offers it.
        struct Setting {
            ResLanguage language;
            QString lang;
            QString font;
        };
        const Setting settings[] = {
            {ResLanguage::English, QStringLiteral("en"), QString()},
            {ResLanguage::Japanese, QStringLiteral("ja"), QString()},
            {ResLanguage::Japanese, QStringLiteral("ja-gothic"), QStringLiteral("IPAGothic")},
        };
        const QString keep = qEnvironmentVariable("PELKAR_KEEP_PRINTS");
        for (const Setting& setting : settings) {
            SetResLanguage(setting.language);
            const QString& lang = setting.lang;
            App().DisplayFont = FontSetting{};
            if (!setting.font.isEmpty()) {
                App().DisplayFont->Name = setting.font;
                // A font the system lacks would be stood in for without a
                // sign, and the case would check another font's pages.
                ASSERT_TRUE(QFontDatabase::hasFamily(setting.font))
                    << setting.font.toStdString() << " (fonts-ipafont-gothic, installed by scripts/setup) is needed";
                EXPECT_EQ(QFontInfo(FontFromSetting(*App().DisplayFont)).family(), setting.font);
            }
            Records records;
            FillRecords(records, setting.language == ResLanguage::Japanese);
            for (const PageCase& c : cases) {
                const QString report = QStringLiteral("%1 (%2)").arg(QString::fromLatin1(c.name), lang);
                SCOPED_TRACE(report.toStdString());
                PrintRequest request;
                c.request(request, records);
                const QString path = home.file(QString::fromLatin1(c.name).replace(' ', '_') + '_' + lang + ".pdf");
                PrintPdf(request, path);
                if (!keep.isEmpty())
                    QFile::copy(path, QDir(keep).filePath(QFileInfo(path).fileName()));

                std::vector<Page> pages = ReadWords(path);
                ASSERT_FALSE(pages.empty());
                // Rules run across the printable width; the graph's own
                // lines stay inside its band of 95 %.
                ReadRules(path, pages, 0.98 * area.width());
                const QStringList faults = PageFaults(pages, area, c.graph && !wholeGraph ? band : QRectF())
                                           + HeadingFaults(pages, area);
                EXPECT_TRUE(faults.isEmpty()) << report.toStdString() << ":\n"
                                              << faults.mid(0, 20).join('\n').toStdString()
                                              << (faults.size() > 20 ? "\n..." : "");
            }
        }
    }
};

TEST_F(PrintedPages, NoWordOverlapsAnotherOrLeavesThePrintableArea)
{
    ASSERT_TRUE(HaveTools()) << "pdftotext and pdftoppm (poppler-utils, installed by scripts/setup) are needed";
    CheckPrints(ReportCases(), false);
}

// The graph's own texts (scale values, time labels, series names, event
// labels) are placed by the graph renderer and checked inside its area too.
TEST_F(PrintedPages, TrendGraphsKeepTheirOwnTextsApart)
{
    ASSERT_TRUE(HaveTools()) << "pdftotext and pdftoppm (poppler-utils, installed by scripts/setup) are needed";
    std::vector<PageCase> graphs;
    for (const PageCase& c : ReportCases()) {
        if (c.graph)
            graphs.push_back(c);
    }
    CheckPrints(graphs, true);
}

} // namespace
