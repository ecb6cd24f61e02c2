// Whole print jobs: the printer choice, PDF files read back with
// pdftotext, giving the printer back, and the errors a job reports.
#include "print_fixture.h"

#include "common/file_write.h"
#include "scripted_prompt.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <cerrno>

using namespace print_test;

namespace {

class PrintJob : public ::testing::Test {
protected:
    TempHome home;
    ScriptedPrompt prompt;
    QStringList offered;  // what the last printer list showed
    QString offeredCurrent;

    // Queues the user's answer to the next printer list: an entry, -1 for
    // Cancel, kPdf for "PDF file".
    static constexpr int kPdf = -2;
    void ExpectChoice(int index)
    {
        prompt.ExpectWindow([this, index](QWidget* window) {
            auto* dialog = qobject_cast<frmSetPrinter*>(window);
            EXPECT_NE(dialog, nullptr);
            if (!dialog)
                return 0;
            offered.clear();
            for (int i = 0; i < dialog->List()->count(); ++i)
                offered << dialog->List()->itemText(i);
            offeredCurrent = dialog->List()->currentText();
            if (index == -1) {
                QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
            } else {
                dialog->List()->setCurrentIndex(index == kPdf ? dialog->List()->count() - 1 : index);
                QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
            }
            return dialog->result();
        });
    }

    void SetUp() override
    {
        ResetAppState();
        SetResLanguage(ResLanguage::English);
        CreateLogDatabase(LogDatabasePath());
        SetPrinterSource([] { return InstalledPrinters{{"Office Laser", "Label Printer"}, "Office Laser"}; });
    }
    void TearDown() override
    {
        SetPrinterSource({});
        SetCanvasFactory({});
        SetResLanguage(ResLanguage::System);
        EXPECT_TRUE(prompt.AllUsed());
    }

    // Prints request to a PDF file and gives its text.
    QString PrintToPdf(const PrintRequest& request, PrintOutcome expected = PrintOutcome::Printed)
    {
        const QString path = home.file(QStringLiteral("report.pdf"));
        QFile::remove(path);
        ExpectChoice(kPdf);
        prompt.ExpectFile(path);
        EXPECT_EQ(GoPrinter(request), expected);
        EXPECT_TRUE(QFile::exists(path));
        EXPECT_FALSE(QFile::exists(path + QStringLiteral(".part")));
        return PdfText(path);
    }
};

struct KindCase {
    int dataType;
    bool graph;
    QStringList expected;
};

TEST_F(PrintJob, EveryKindPrintsToAPdfFileAsTablesAndAsGraph)
{
    ASSERT_TRUE(HavePdfToText()) << kPdfToTextNeeded;
    clsInterval interval;
    FillInterval(interval, std::vector<float>(30, 12.0f), 2);
    clsAlarm alarm;
    FillAlarm(alarm, 200);
    StoreHead(70001, 3); // above 32,767: the key is 64-bit
    StoreCalibration(70001, 0, 0.0f, 0.0f, 20.0f, 20.9f);
    StoreCalibration(70001, 1, -109.0f, 250.0f, 20.5f, 20.9f);
    StoreHead(12, 5);
    StoreEvent("Alarm_Event", 12, 1, "CO", -104);
    StoreEvent("Alarm_Event", 12, 2, "O2", -103);
    StoreHead(13, 6);
    StoreEvent("Trouble_Event", 13, 1, "SENS", -110);
    StoreHead(14, 7);
    StorePower(14, 1, true);
    StorePower(14, 2, false);

    const KindCase cases[] = {
        {1, false, {"(Interval Trend)", "Start Date/Time", "SN0042", "Data Count", "32", "Gas(FullScale)",
                    "CO(500ppm)", "2026/03/04 10:00:00", "ALARM"}},
        {1, true, {"(Interval Trend)", "Data Browse (Shift A) - Interval Trend", "Sampling Date/Time:"}},
        {2, false, {"(Alarm Trend)", "Alarm Date/Time", "2026/03/04 09:57:00", "200"}},
        {2, true, {"(Alarm Trend)", "Data Browse (Alarm 1) - Alarm Trend", "Alarm"}},
        {3, false, {"(Calibration History)", "Last Download", "STATION-3", "Before", "After", "FAIL(Cal.)",
                    "250", "20.90", "2026/03/05 10:00:00"}},
        {3, true, {"(Calibration History)"}},
        {4, false, {"(Last Calibration)", "SerialNo", "SN0003", "Last Download"}},
        {4, true, {"(Last Calibration)"}},
        {5, false, {"(Alarm Event)", "Serial No.", "USER-7", "Gas", "Alarm", "WARNING", "ALARM"}},
        {5, true, {"(Alarm Event)"}},
        {6, false, {"(Trouble Event)", "Gas/Body", "Event", "SENS", "FAIL(Sen.)"}},
        {6, true, {"(Trouble Event)"}},
        {7, false, {"(Power Event)", "Power", "ON", "OFF", "2026/03/04 10:02:00"}},
        {7, true, {"(Power Event)"}},
    };
    for (const KindCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.dataType) + (c.graph ? " graph" : " tables"));
        PrintRequest r;
        r.DataType = c.dataType;
        r.PrintType = c.graph;
        r.SeqNo = c.dataType == 3 ? 70001 : 7 + c.dataType;
        r.IntervalData = &interval;
        r.AlarmData = &alarm;
        r.SampleTable = SampleGrid(30, 15);
        r.LastCalList = LastCalGrid(3);
        const QString text = PrintToPdf(r);
        EXPECT_TRUE(text.contains(QStringLiteral("Pelkar Data Logger")));
        for (const QString& e : c.expected)
            EXPECT_TRUE(text.contains(e)) << e.toStdString() << "\n" << text.toStdString();
        if (c.graph && c.dataType > 2) { // header only, and an empty graph area
            EXPECT_EQ(text.trimmed().count(QLatin1Char('\n')), 0) << text.toStdString();
        }
    }
    // Newest first, numbered from 1: the alarm events' order.
    PrintRequest events;
    events.DataType = 5;
    events.SeqNo = 12;
    const QString text = PrintToPdf(events);
    EXPECT_LT(text.indexOf(QStringLiteral("WARNING")), text.indexOf(QStringLiteral("ALARM")));
}

TEST_F(PrintJob, AKindOutsideOneToSevenPrintsTheHeaderOnly)
{
    ASSERT_TRUE(HavePdfToText()) << kPdfToTextNeeded;
    for (bool graph : {false, true}) {
        PrintRequest r;
        r.DataType = 9;
        r.PrintType = graph;
        const QString text = PrintToPdf(r).trimmed();
        EXPECT_TRUE(text.startsWith(QStringLiteral("Pelkar Data Logger"))) << text.toStdString();
        EXPECT_FALSE(text.contains(QLatin1Char('('))) << text.toStdString();
        EXPECT_EQ(text.count(QLatin1Char('\n')), 0) << text.toStdString();
    }
}

TEST_F(PrintJob, APdfFileOnAFullDiskKeepsTheOldFileAndSaysSo)
{
    const QString path = home.file(QStringLiteral("report.pdf"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the old report");
    }
    SetWriteFault([](WriteStep step, const QString&) { return step == WriteStep::Flush ? ENOSPC : 0; });
    PrintRequest r;
    r.DataType = 9;
    ExpectChoice(kPdf);
    prompt.ExpectFile(path);
    prompt.ExpectBox(MsgResult::Ok);
    EXPECT_EQ(GoPrinter(r), PrintOutcome::Failed);
    SetWriteFault({});
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("the old report"));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".part")));
    ASSERT_FALSE(prompt.boxes.isEmpty());
    EXPECT_EQ(prompt.boxes.last().icon, MsgIcon::Critical);
    EXPECT_TRUE(prompt.boxes.last().text.endsWith(QStringLiteral("the disk is full.")))
        << prompt.boxes.last().text.toStdString();
}

TEST_F(PrintJob, LongTablesRunOverPagesWithTheHeadingOnEach)
{
    ASSERT_TRUE(HavePdfToText()) << kPdfToTextNeeded;
    StoreHead(3, 3);
    for (int i = 0; i < 90; ++i)
        StoreCalibration(3, i, 0, 0, 20.0f, 20.9f);
    PrintRequest r;
    r.DataType = kPrintCalHistory;
    r.SeqNo = 3;
    const QString text = PrintToPdf(r);
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 3);
    for (const QString& page : pages) {
        if (page.trimmed().isEmpty())
            continue;
        EXPECT_TRUE(page.contains(QStringLiteral("(Calibration History)")));
        EXPECT_TRUE(page.contains(QStringLiteral("Date/Time")));
        // A calibration's Before and After rows stay on one page.
        EXPECT_EQ(page.count(QStringLiteral("Before")), page.count(QStringLiteral("After")));
    }
    EXPECT_EQ(text.count(QStringLiteral("Before")), 90);
    EXPECT_EQ(PdfPages(text), static_cast<int>(pages.size()));
}

TEST_F(PrintJob, CancellingPrintsNothingAndKeepsThePrinter)
{
    PrintRequest r;
    r.DataType = kPrintLastCalibration;
    r.LastCalList = LastCalGrid(2);
    ExpectChoice(-1);
    EXPECT_EQ(GoPrinter(r), PrintOutcome::Cancelled);
    EXPECT_TRUE(prompt.fileDialogs.isEmpty());
    EXPECT_EQ(offered, QStringList({"Office Laser", "Label Printer", "PDF file"}));
    EXPECT_EQ(offeredCurrent, QStringLiteral("Office Laser"));

    ExpectChoice(kPdf); // then Cancel in the file dialog
    prompt.ExpectFile(QString());
    EXPECT_EQ(GoPrinter(r), PrintOutcome::Cancelled);
    EXPECT_TRUE(QDir(home.path()).entryList({"*.pdf*"}, QDir::Files).isEmpty());
    EXPECT_EQ(CurrentPrinterName(), QStringLiteral("Office Laser"));
}

TEST_F(PrintJob, ThePrinterIsGivenBackAfterTheJob)
{
    PrintRequest r;
    r.DataType = kPrintLastCalibration;
    r.LastCalList = LastCalGrid(2);
    SetCurrentPrinterName(QStringLiteral("Label Printer"));
    ExpectChoice(kPdf);
    prompt.ExpectFile(home.file(QStringLiteral("a.pdf")));
    EXPECT_EQ(GoPrinter(r), PrintOutcome::Printed);
    EXPECT_EQ(offeredCurrent, QStringLiteral("Label Printer"));
    EXPECT_EQ(CurrentPrinterName(), QStringLiteral("Label Printer"));
    EXPECT_TRUE(QFile::exists(home.file(QStringLiteral("a.pdf"))));

    // With no default printer nothing was current: the list starts on "PDF
    // file", and the choice stays current.
    SetPrinterSource([] { return InstalledPrinters{{}, QString()}; });
    ExpectChoice(kPdf);
    prompt.ExpectFile(home.file(QStringLiteral("b")));
    EXPECT_EQ(GoPrinter(r), PrintOutcome::Printed);
    EXPECT_EQ(offeredCurrent, QStringLiteral("PDF file"));
    EXPECT_TRUE(QFile::exists(home.file(QStringLiteral("b.pdf"))));
    EXPECT_EQ(CurrentPrinterName(), QStringLiteral("PDF file"));
    ExpectChoice(kPdf);
    prompt.ExpectFile(home.file(QStringLiteral("c.pdf")));
    GoPrinter(r);
    EXPECT_EQ(offeredCurrent, QStringLiteral("PDF file"));
}

TEST_F(PrintJob, AFileThatCannotBeWrittenIsReportedOnce)
{
    PrintRequest r;
    r.DataType = kPrintLastCalibration;
    r.LastCalList = LastCalGrid(2);
    const QString path = home.file(QStringLiteral("no-such-folder/report.pdf"));
    ExpectChoice(kPdf);
    prompt.ExpectFile(path);
    prompt.ExpectBox(MsgResult::Ok);
    EXPECT_EQ(GoPrinter(r), PrintOutcome::Failed);
    ASSERT_EQ(prompt.boxes.size(), 1);
    EXPECT_EQ(prompt.boxes[0].title, QStringLiteral("Printer Error"));
    EXPECT_EQ(prompt.boxes[0].icon, MsgIcon::Critical);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(CurrentPrinterName(), QStringLiteral("Office Laser"));
}

// A recording canvas that tells, when the job drops it, how it ended.
class ObservedCanvas : public RecordingCanvas {
public:
    ObservedCanvas(bool& finished, bool& dropped) : m_finished(finished), m_dropped(dropped) {}
    ~ObservedCanvas() override
    {
        m_finished = finished;
        m_dropped = dropped;
    }

private:
    bool& m_finished;
    bool& m_dropped;
};

TEST_F(PrintJob, AnErrorWhilePrintingAbortsTheDocument)
{
    bool finished = false;
    bool dropped = false;
    SetCanvasFactory([&](const QString& printer, const QString& pdfPath) {
        EXPECT_EQ(printer, QStringLiteral("Office Laser"));
        EXPECT_TRUE(pdfPath.isEmpty());
        auto c = std::make_unique<ObservedCanvas>(finished, dropped);
        c->FailAtPage(2);
        return std::unique_ptr<ReportCanvas>(std::move(c));
    });
    PrintRequest r;
    r.DataType = kPrintLastCalibration;
    r.LastCalList = LastCalGrid(200);
    ExpectChoice(0); // the office printer
    prompt.ExpectBox(MsgResult::Ok);
    EXPECT_EQ(GoPrinter(r), PrintOutcome::Failed);
    EXPECT_FALSE(finished);
    EXPECT_TRUE(dropped);
    ASSERT_EQ(prompt.boxes.size(), 1);
    EXPECT_TRUE(prompt.boxes[0].text.contains(QStringLiteral("out of paper")));
    EXPECT_EQ(CurrentPrinterName(), QStringLiteral("Office Laser"));
}

TEST_F(PrintJob, MissingEventDataPrintsWhatThereIsAndReportsOnce)
{
    ASSERT_TRUE(HavePdfToText()) << kPdfToTextNeeded;
    // A head row with Null identity fields and event rows with Null cells.
    StoreHead(20, 5, QVariant());
    StoreEvent("Alarm_Event", 20, 1, QVariant(), QVariant());
    StoreEvent("Alarm_Event", 20, 2, "CO", -999);
    PrintRequest r;
    r.DataType = kPrintAlarmEvents;
    r.SeqNo = 20;
    QString text = PrintToPdf(r);
    EXPECT_TRUE(text.contains(QStringLiteral("Station ID")));
    EXPECT_TRUE(text.contains(QStringLiteral("CO")));
    EXPECT_TRUE(text.contains(QStringLiteral("2026/03/04 10:01:00")));

    // No head row: empty values, no rows, one message.
    r.SeqNo = 21;
    prompt.ExpectBox(MsgResult::Ok);
    text = PrintToPdf(r, PrintOutcome::PrintedWithErrors);
    EXPECT_TRUE(text.contains(QStringLiteral("Last Download")));
    ASSERT_EQ(prompt.boxes.size(), 1);
    EXPECT_TRUE(prompt.boxes[0].text.contains(QStringLiteral("21")));

    // A missing event table: the property block without rows, one message.
    Exec(QStringLiteral("Drop Table Trouble_Event"));
    StoreHead(22, 6);
    r.DataType = kPrintTroubleEvents;
    r.SeqNo = 22;
    prompt.ExpectBox(MsgResult::Ok);
    text = PrintToPdf(r, PrintOutcome::PrintedWithErrors);
    EXPECT_TRUE(text.contains(QStringLiteral("SN0042")));
    EXPECT_FALSE(text.contains(QStringLiteral("Gas/Body")));
    EXPECT_EQ(prompt.boxes.size(), 2);
}

TEST_F(PrintJob, ATrendWithoutItsRecordAsksForNoPrinter)
{
    PrintRequest r;
    r.DataType = kPrintAlarmTrend;
    prompt.ExpectBox(MsgResult::Ok);
    EXPECT_EQ(GoPrinter(r), PrintOutcome::Failed);
    EXPECT_TRUE(prompt.windows.isEmpty());
    ASSERT_EQ(prompt.boxes.size(), 1);
    EXPECT_EQ(prompt.boxes[0].text, QStringLiteral("No data to print."));
}

TEST_F(PrintJob, JapaneseCaptionsReachThePage)
{
    ASSERT_TRUE(HavePdfToText()) << kPdfToTextNeeded;
    SetResLanguage(ResLanguage::Japanese);
    StoreHead(30, 7);
    StorePower(30, 1, true);
    PrintRequest r;
    r.DataType = kPrintPowerEvents;
    r.SeqNo = 30;
    const QString text = PrintToPdf(r);
    EXPECT_TRUE(text.contains(QStringLiteral("ｼﾘｱﾙ番号"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("最終ﾀﾞｳﾝﾛｰﾄﾞ"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Power")));
}

TEST(PrinterChoice, PreselectsTheCurrentPrinterAndReturnsTheChoice)
{
    const QStringList printers = {"A", "B", "A", "PDF file"};
    {
        frmSetPrinter dialog(printers, QStringLiteral("A"));
        EXPECT_EQ(dialog.List()->count(), 4);
        EXPECT_EQ(dialog.List()->currentIndex(), 2); // of equal names the last
        EXPECT_TRUE(dialog.OkButton()->isDefault());
        dialog.List()->setCurrentIndex(1);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.SelNo(), 1);
    }
    for (const QString& current : {QStringLiteral("C"), QString()}) {
        // No such printer, or none current: the list starts on "PDF file".
        frmSetPrinter dialog(printers, current);
        EXPECT_EQ(dialog.List()->currentIndex(), 3);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.SelNo(), 3);
    }
    {
        // OK with nothing selected says so and leaves the choice open.
        ScriptedPrompt prompt;
        frmSetPrinter dialog(printers, QStringLiteral("B"));
        dialog.show();
        dialog.List()->setCurrentIndex(-1);
        prompt.ExpectBox(MsgResult::Ok);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        ASSERT_EQ(prompt.boxes.size(), 1);
        EXPECT_EQ(prompt.boxes[0].text, QStringLiteral("No printer is chosen. Choose one from the list."));
        EXPECT_EQ(prompt.boxes[0].icon, MsgIcon::Critical);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.SelNo(), -1);
        dialog.List()->setCurrentIndex(0);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.SelNo(), 0);
    }
    {
        frmSetPrinter dialog(printers, QStringLiteral("B"));
        QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.SelNo(), -1);
    }
    {
        frmSetPrinter dialog(printers, QStringLiteral("B"));
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_EQ(dialog.SelNo(), -1);
        EXPECT_FALSE(dialog.isVisible());
    }
    // The program's list: the installed printers, then "PDF file".
    SetPrinterSource([] { return InstalledPrinters{{"P1"}, "P1"}; });
    EXPECT_EQ(PrinterList(), QStringList({"P1", "PDF file"}));
    EXPECT_TRUE(IsPdfEntry(PrinterList(), 1));
    EXPECT_EQ(CurrentPrinterName(), QStringLiteral("P1"));
    SetPrinterSource({});
}

} // namespace
