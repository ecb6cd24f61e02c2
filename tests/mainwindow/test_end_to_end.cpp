// The whole program as a user drives it: the main window on the real
// interface control downloads everything from the fake instrument over a
// pseudo-terminal into the log database; then every record kind is picked
// in the browser and opened with Detail, printed to a PDF file (read back
// with pdftotext), exported to a CSV file and copied to the clipboard; and
// the trend search of an interval trend, from a status cell and from an
// event mark of the graph, opens the Data View window on the right alarm
// trend. Alarm and trouble events are not logged records of the instrument
// (no download stores them), so those two heads are stored by hand.
#include "linked_window_fixture.h"
#include "main_window_fixture.h"
#include "../views/view_db_fixture.h"

#include "browser/browser_keys.h"
#include "common/widgets/grid_writer.h"
#include "fake_instrument.h"
#include "fake_records.h"
#include "graph/ucltalgraph.h"
#include "interface/uclQvif.h"
#include "pdf_text.h"
#include "printing/printer_choice.h"
#include "views/data_view_window.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTest>
#include <QTreeWidget>

#include <functional>

namespace {

QString ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QList<qint64> Heads(int types)
{
    LogDb db;
    QSqlQuery q(db.Db());
    q.prepare(QStringLiteral("Select SeqNo From Log_Head Where Types=? Order By Dates, SeqNo"));
    q.addBindValue(types);
    QList<qint64> heads;
    if (q.exec())
        while (q.next())
            heads.append(q.value(0).toLongLong());
    return heads;
}

// One expected record kind: what the browser opens, what its report, its
// CSV text and its rows hold.
struct KindCase {
    int kind;
    qint64 seqNo;
    QString caption;          // "Data View(...)"
    QStringList reportTexts;  // in the printed tables
    QStringList csvHead;      // the first lines of the export
    QString columns;          // the column heading line
    QString firstRow;         // the first data row
    int rows;                 // data rows after the heading
};

class EndToEnd : public LinkedWindowTest {
protected:
    void SetUp() override
    {
        LinkedWindowTest::SetUp();
        SetPrinterSource([] { return InstalledPrinters{{QStringLiteral("Office Laser")}, QStringLiteral("Office Laser")}; });
    }
    void TearDown() override
    {
        SetPrinterSource({});
        LinkedWindowTest::TearDown();
    }

    // The instrument's logs: one interval trend with a warning of gas 1 and
    // an alarm of both gases inside it, one alarm trend a little after each
    // of the two, two calibrations and two power events.
    void FillInstrument()
    {
        trend = MakeIntervalTrend(1, start, 30);
        trend.events = {FakeTrendEvent{"A1", 1, 10, 10}, FakeTrendEvent{"A5", 2, 20, 40}};
        fake.SetRecordLines("DR,R,", IntervalLines(trend));
        warningAt = start.addSecs(10 * 60 + 10);
        alarmAt = start.addSecs(20 * 60 + 40);
        QList<QByteArray> alarms = AlarmLines(MakeAlarmTrend(1, warningAt.addSecs(2)));
        alarms += AlarmLines(MakeAlarmTrend(2, alarmAt.addSecs(3)));
        fake.SetRecordLines("DJ,R,", alarms);
        ServeCalibrationAndPowerEvents();
    }

    // Starts the program's window, waits for the instrument and runs the
    // complete download (power events included: service mode).
    void DownloadEverything()
    {
        FillInstrument();
        App().ServiceMode = true;
        window->Form_Load();
        window->resize(1100, 820);
        window->show();
        ASSERT_TRUE(WaitFor([this] { return window->Download().cmdDown(0)->isEnabled(); }, 20000));
        window->Download().cmdDown(0)->click();
        ASSERT_EQ(Heads(1).size(), 1);
        ASSERT_EQ(Heads(2).size(), 2);
        ASSERT_EQ(Heads(3).size(), 1);
        ASSERT_EQ(Heads(7).size(), 1);
        // The two event kinds the instrument does not log.
        StoreHead(9005, 5, trend.serialNo, MakeDate(2024, 3, 6, 9, 0, 0));
        StoreHead(9006, 6, trend.serialNo, MakeDate(2024, 3, 6, 9, 0, 0));
        LogDb db;
        ExecSql(db, QStringLiteral("Insert Into Alarm_Event (RelNo, Dates, GasName, Alarm_type) Values (?, ?, ?, ?);"),
                {9005, DbDate(MakeDate(2024, 3, 5, 9, 0, 0)), QStringLiteral("CO"), -103});
        ExecSql(db, QStringLiteral("Insert Into Alarm_Event (RelNo, Dates, GasName, Alarm_type) Values (?, ?, ?, ?);"),
                {9005, DbDate(MakeDate(2024, 3, 5, 9, 5, 0)), QStringLiteral("CO"), -104});
        ExecSql(db, QStringLiteral("Insert Into Trouble_Event (RelNo, Dates, GasName, Alarm_type) Values (?, ?, ?, ?);"),
                {9006, DbDate(MakeDate(2024, 3, 5, 11, 0, 0)), QStringLiteral("SENS"), -110});
        window->State().TreeRefreshNeeded = true;
    }

    // Clicks an item of a tree or list as the user does.
    static void ClickItem(QTreeWidget* tree, QTreeWidgetItem* item)
    {
        for (QTreeWidgetItem* p = item->parent(); p; p = p->parent())
            p->setExpanded(true);
        tree->scrollToItem(item);
        const QRect r = tree->visualItemRect(item);
        ASSERT_TRUE(r.isValid()) << item->text(0).toStdString();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center());
    }

    // The browser: Data, the kind node that lists the record, the record,
    // Detail.
    void PickAndOpen(int kind, qint64 seqNo)
    {
        window->cmdInst(2)->click();
        ASSERT_TRUE(window->fraMenu(2)->isVisible());
        DataPanel& data = window->Data();
        for (const browser::LogTreeNode& node : data.TreeModel().Nodes()) {
            if (node.types != kind)
                continue;
            ClickItem(data.tvwLog, data.TreeItem(node.key));
            for (int i = 0; i < data.lvwLog->topLevelItemCount(); ++i) {
                QTreeWidgetItem* item = data.lvwLog->topLevelItem(i);
                if (browser::RecordKeySeqNo(item->data(0, Qt::UserRole).toString()) != seqNo)
                    continue;
                ClickItem(data.lvwLog, item);
                ASSERT_EQ(data.SelectedKind, kind);
                ASSERT_EQ(data.SelectedSeqNo, seqNo);
                ASSERT_TRUE(data.cmdDetail->isEnabled());
                QTest::mouseClick(data.cmdDetail, Qt::LeftButton);
                ASSERT_TRUE(window->fraMenu(3)->isVisible());
                ASSERT_EQ(window->View().Kind(), kind);
                ASSERT_EQ(window->View().SeqNo(), seqNo);
                return;
            }
        }
        FAIL() << "the browser lists no record " << seqNo << " of kind " << kind;
    }

    // Answers the printer list with "PDF file" and the file dialog with path.
    void ExpectPdf(const QString& path)
    {
        QFile::remove(path);
        prompt.ExpectWindow([](QWidget* w) {
            auto* dialog = qobject_cast<frmSetPrinter*>(w);
            EXPECT_NE(dialog, nullptr);
            if (!dialog)
                return 0;
            dialog->List()->setCurrentIndex(dialog->List()->count() - 1);
            EXPECT_EQ(dialog->List()->currentText(), QStringLiteral("PDF file"));
            QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
            return dialog->result();
        });
        prompt.ExpectFile(path);
    }

    // The PDF the view's Print button makes, as text.
    QString PrintView(QPushButton* print)
    {
        const QString path = home.file(QStringLiteral("report.pdf"));
        ExpectPdf(path);
        const qsizetype boxes = prompt.boxes.size();
        QTest::mouseClick(print, Qt::LeftButton);
        EXPECT_EQ(prompt.boxes.size(), boxes) << "the print job reported a problem";
        EXPECT_TRUE(QFile::exists(path));
        return PdfText(path);
    }

    const QDateTime start = MakeDate(2024, 3, 5, 8, 0, 0);
    FakeIntervalTrend trend;
    QDateTime warningAt, alarmAt;
};

} // namespace

TEST_F(EndToEnd, EveryDownloadedKindIsPrintedExportedAndCopied)
{
    ASSERT_TRUE(HavePdfToText()) << kPdfToTextNeeded;
    DownloadEverything();
    ASSERT_FALSE(HasFailure());
    const qint64 interval = Heads(1)[0];
    const qint64 alarm = Heads(2)[0];
    const qint64 history = Heads(3)[0];
    const qint64 power = Heads(7)[0];

    const QString identity = QStringLiteral("Serial No.,SN123456\r\nStation ID,ST-7\r\nUser ID,USER01\r\n");
    const KindCase cases[] = {
        {1, interval, "Data View(Interval Trend)",
         {"(Interval Trend)", "Start Date/Time", "SN123456", "2024/03/05 08:01:00", "WARNING", "ALARM"},
         {"Pelkar Data Sample (Interval Trend)", "Property,Value"},
         "No,Date/Time,CO (500ppm),OXY(40VOL%)", "1,2024/03/05 08:01:00,1.1,20.9", 32},
        {2, alarm, "Data View(Alarm Trend)",
         {"(Alarm Trend)", "Alarm Date/Time", "SN123456", "2024/03/05 08:10:12"},
         {"Pelkar Data Sample (Alarm Trend)", "Property,Value"},
         "No,Date/Time,CO (500ppm),OXY(40VOL%)", "1,2024/03/05 07:55:12,0.0,20.9", 360},
        {3, history, "Data View(Calibration History)",
         {"(Calibration History)", "SN123456", "Before", "After", "2024/02/10 09:00:00"},
         {"Pelkar Data Sample (Cal. History)"},
         "No,Date/Time,,CO(500ppm),OXY(40VOL%)", "1,2024/02/10 09:00:00,Before,11.0,20.4", 4},
        {5, 9005, "Data View(Alarm Events)",
         {"(Alarm Event)", "SN123456", "WARNING", "ALARM"},
         {"Pelkar Data Sample (Alarm Events)"},
         "No,Date/Time,Gas,Event", "1,2024/03/05 09:05:00,CO,ALARM", 2},
        {6, 9006, "Data View(Trouble Events)",
         {"(Trouble Event)", "SN123456", "SENS"},
         {"Pelkar Data Sample (Trouble Events)"},
         "No,Date/Time,Gas/Body,Event", "1,2024/03/05 11:00:00,SENS,FAIL(Sen.)", 1},
        {7, power, "Data View(Power Events)",
         {"(Power Event)", "SN123456", "ON", "OFF", "2024/03/05 18:00:00"},
         {"Pelkar Data Sample (Power Events)"},
         "No,Date/Time,Power", "1,2024/03/05 18:00:00,OFF", 2},
    };
    for (const KindCase& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.kind));
        PickAndOpen(c.kind, c.seqNo);
        if (HasFatalFailure())
            return;
        ViewPanel& view = window->View();
        EXPECT_EQ(window->fraMenu(3)->title(), c.caption);
        view.optBrowse(0)->click(); // the table

        // (a) Print to the "PDF file" choice, tables.
        {
            const QString text = PrintView(view.cmdBrowse(0));
            EXPECT_TRUE(text.contains(QStringLiteral("Pelkar Data Logger"))) << text.toStdString();
            for (const QString& t : c.reportTexts)
                EXPECT_TRUE(text.contains(t)) << t.toStdString() << "\n" << text.toStdString();
        }

        // (b) Export as CSV (the first filter: comma separated).
        const QString csvPath = home.file(QStringLiteral("export%1.csv").arg(c.kind));
        prompt.ExpectFile(csvPath, 1);
        QTest::mouseClick(view.cmdBrowse(2), Qt::LeftButton);
        const QString csv = ReadFile(csvPath);
        ASSERT_FALSE(csv.isEmpty());
        EXPECT_TRUE(csv.endsWith(QStringLiteral("\r\n")));
        EXPECT_EQ(csv.count(QLatin1Char('\n')), csv.count(QStringLiteral("\r\n"))) << "a line not ended by CR LF";
        const QStringList lines = csv.split(QStringLiteral("\r\n"));
        for (int i = 0; i < c.csvHead.size(); ++i)
            EXPECT_EQ(lines.value(i), c.csvHead[i]);
        if (c.kind == 3 || c.kind == 7) { // downloaded: the instrument's identity
            EXPECT_TRUE(csv.contains(identity)) << csv.toStdString();
        }
        const int heading = static_cast<int>(lines.indexOf(c.columns));
        ASSERT_GE(heading, 0) << c.columns.toStdString() << "\n" << csv.toStdString();
        EXPECT_EQ(lines.value(heading + 1), c.firstRow);
        // The rows, then the empty line of the final CR LF and the one after it.
        EXPECT_EQ(lines.size() - heading - 1 - 2, c.rows);
        EXPECT_TRUE(lines.value(lines.size() - 2).isEmpty());

        // (c) Copy: the same text, TAB separated, without the export's last CR LF.
        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(view.cmdBrowse(1), Qt::LeftButton);
        QString expectedCopy = csv.chopped(2);
        expectedCopy.replace(QLatin1Char(','), QLatin1Char('\t'));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), expectedCopy);

        // The trends print as graphs too.
        if (c.kind == 1 || c.kind == 2) {
            ASSERT_TRUE(view.optBrowse(1)->isEnabled());
            view.optBrowse(1)->click();
            ASSERT_TRUE(view.talGraph->isVisible());
            const QString text = PrintView(view.cmdBrowse(0));
            const QString title = QStringLiteral("Data Browse (%1) - %2")
                                      .arg(c.kind == 1 ? view.Records().interval.GasBaseInfo(0).toString()
                                                       : view.Records().alarm.GasBaseInfo(0).toString(),
                                           c.kind == 1 ? QStringLiteral("Interval Trend")
                                                       : QStringLiteral("Alarm Trend"));
            EXPECT_TRUE(text.contains(title)) << title.toStdString() << "\n" << text.toStdString();
            // Copy in the graph view puts the graph's picture on the clipboard.
            QTest::mouseClick(view.cmdBrowse(1), Qt::LeftButton);
            EXPECT_EQ(QGuiApplication::clipboard()->image().size(), view.talGraph->Picture().size());
        }
    }
}

TEST_F(EndToEnd, TrendSearchOpensTheAlarmTrendOfTheEvent)
{
    ASSERT_TRUE(HavePdfToText()) << kPdfToTextNeeded;
    DownloadEverything();
    ASSERT_FALSE(HasFailure());
    const QList<qint64> alarms = Heads(2); // by date: the warning's, then the alarm's
    PickAndOpen(1, Heads(1)[0]);
    ASSERT_FALSE(HasFailure());
    ViewPanel& view = window->View();
    view.optBrowse(0)->click();

    // What the Data View window shows, and its own Print.
    struct Seen {
        bool opened = false;
        QString caption;
        QString alarmDate;
        int rows = 0;
        QString report;
        bool graphFirst = false;
        bool alarmRowShown = false; // after a switch to the table
    };
    auto expectWindow = [this](Seen& seen, bool print) {
        prompt.ExpectWindow([this, &seen, print](QWidget* w) {
            auto* win = qobject_cast<DataViewWindow*>(w);
            EXPECT_NE(win, nullptr);
            if (!win)
                return 0;
            seen.opened = true;
            seen.caption = win->fraMenu->title();
            seen.alarmDate = win->vfgSummary->Text(2, 1);
            seen.rows = win->vfgBrowse->Rows();
            seen.graphFirst = win->optBrowse(1)->isChecked();
            if (seen.graphFirst)
                QTest::mouseClick(win->optBrowse(0), Qt::LeftButton);
            // The red row of the alarm moment stands in the visible rows.
            const QRect alarmRow = win->vfgBrowse->visualRect(win->vfgBrowse->model()->index(181, 1));
            seen.alarmRowShown = win->vfgBrowse->viewport()->rect().contains(alarmRow.center());
            if (print)
                seen.report = PrintView(win->cmdBrowse(0));
            return 0;
        });
    };

    // (1) The alarm's status cell in the table.
    DataGrid& grid = *view.vfgBrowse;
    int row = -1;
    for (int r = 1; r < grid.Rows() && row < 0; ++r)
        if (grid.Text(r, 2).startsWith(QStringLiteral("ALARM")))
            row = r;
    ASSERT_GT(row, 0);
    EXPECT_EQ(grid.Text(row, 1), GeneralDate(alarmAt));
    Seen fromCell;
    expectWindow(fromCell, true);
    grid.scrollTo(grid.model()->index(row, 2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(row, 2)).center());
    ASSERT_TRUE(fromCell.opened);
    EXPECT_EQ(view.DataView().request.seqNo, alarms[1]);
    EXPECT_EQ(view.DataView().request.baseDate, alarmAt);
    EXPECT_EQ(fromCell.caption, QStringLiteral("Data View(Alarm Trend)"));
    EXPECT_EQ(fromCell.alarmDate, GeneralDate(alarmAt.addSecs(3)));
    EXPECT_EQ(fromCell.rows, 361);
    EXPECT_FALSE(fromCell.graphFirst);
    EXPECT_TRUE(fromCell.alarmRowShown);
    EXPECT_TRUE(fromCell.report.contains(QStringLiteral("(Alarm Trend)"))) << fromCell.report.toStdString();
    EXPECT_TRUE(fromCell.report.contains(GeneralDate(alarmAt.addSecs(3)))) << fromCell.report.toStdString();

    // (2) The warning's mark in the graph (gas 1 only), with the event marks
    // shown.
    view.optBrowse(1)->click();
    uclTalGraph& graph = *view.talGraph;
    ASSERT_TRUE(graph.isVisible());
    if (!view.chkBrowse(5)->isChecked())
        view.chkBrowse(5)->click();
    ASSERT_TRUE(view.chkBrowse(5)->isChecked());
    graph.Refresh();
    int mark = -1;
    for (int i = 0; i < graph.EventCount(0) && mark < 0; ++i)
        if (graph.EventFlag(0, i) == QLatin1String("WARNING"))
            mark = i;
    ASSERT_GE(mark, 0);
    EXPECT_EQ(graph.EventX(0, mark), warningAt);
    const GraphModel& m = graph.Model();
    const QPoint at(static_cast<int>(std::lround(graph.xPos(m.EventOffset(0, mark)) / m.TwipsPerPixelX())),
                    static_cast<int>(std::lround(m.EventRowY(0) / m.TwipsPerPixelY())));
    Seen fromMark;
    expectWindow(fromMark, false);
    QTest::mouseClick(graph.Surface(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(fromMark.opened);
    EXPECT_EQ(view.DataView().request.seqNo, alarms[0]);
    EXPECT_EQ(view.DataView().request.baseDate, warningAt);
    EXPECT_EQ(fromMark.caption, QStringLiteral("Data View(Alarm Trend)"));
    EXPECT_EQ(fromMark.alarmDate, GeneralDate(warningAt.addSecs(2)));
    // Opened on the graph, as the view stood; the table scrolls to the alarm
    // row when it is first shown.
    EXPECT_TRUE(fromMark.graphFirst);
    EXPECT_TRUE(fromMark.alarmRowShown);
}
