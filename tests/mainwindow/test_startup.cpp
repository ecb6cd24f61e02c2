#include "main_window_fixture.h"

#include "common/logdb.h"
#include "common/paths.h"

#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTextBlock>
#include <QTextEdit>

namespace {

void WriteFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(content);
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Lines of the log pane with their colours as "#rrggbb text".
QStringList PaneLines(const QTextEdit* pane)
{
    QStringList out;
    for (QTextBlock b = pane->document()->begin(); b.isValid(); b = b.next()) {
        if (!b.text().isEmpty())
            out << b.begin().fragment().charFormat().foreground().color().name() + QLatin1Char(' ') + b.text();
        else if (b.next().isValid())
            out << QString();
    }
    return out;
}

} // namespace

TEST_F(MainWindowTest, LoadingBuildsTheFirstUsefulState)
{
    App().FactoryRecordSuffix = QStringLiteral("_A1");
    frmMain& w = MakeWindow();
    EXPECT_EQ(App().CommSettings, QStringLiteral("921600,n,8,1"));
    w.Form_Load();

    EXPECT_TRUE(QFileInfo::exists(home.file(QStringLiteral("Pelkar.db"))));
    EXPECT_TRUE(w.State().StartupPending);
    // The control: retries and time-out handed over, no port opened without
    // a converter, then the file numbers.
    const QStringList expected = {
        "SetRetry(3)", "SetTimeout(3)", "SetSerialComm(false)", "SetSerialComm(false)", "SetPortOpen(false)",
        "SetSerialFileNo(1)", "SetDumpListFileNo(2)"};
    EXPECT_EQ(fake.calls, expected);
    EXPECT_EQ(App().CommPort, 0) << "the finder replaces the default port 4";
    EXPECT_TRUE(w.Settings().fraOption(1)->isVisibleTo(&w) || !w.fraMenu(5)->isVisibleTo(&w));
    EXPECT_FALSE(w.Settings().fraOption(1)->isHidden());
    EXPECT_TRUE(w.Settings().fraOption(2)->isHidden());
    EXPECT_FALSE(w.Settings().lblOption(5)->property("Tag").toString().isEmpty());
    EXPECT_EQ(w.Download().txtSuffix->text(), QStringLiteral("_A1"));
    EXPECT_TRUE(fake.serialLog.isEmpty()) << "nothing written before the first activation";
}

TEST_F(MainWindowTest, FirstActivationShowsTheDownloadPanelAndWritesOneStandbyLine)
{
    frmMain& w = MakeWindow();
    w.Form_Load();
    w.fraMenu(3)->setVisible(true);
    w.Form_Activate();
    ASSERT_EQ(fake.serialLog.size(), 1);
    EXPECT_TRUE(fake.serialLog[0].startsWith(QStringLiteral("Serial Port Standby. Date = ")));
    EXPECT_TRUE(fake.serialLog[0].contains(QRegularExpression(QStringLiteral("\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d$"))))
        << fake.serialLog[0].toStdString();
    for (int i = 0; i < w.fraMenu.Count(); ++i) {
        EXPECT_EQ(w.fraMenu(i)->isVisibleTo(&w), i == 0) << i;
        EXPECT_EQ(w.fraMenu(i)->x(), 0) << i;
    }
    EXPECT_FALSE(w.State().StartupPending);

    // A later activation (back from a dialog) only lays the window out.
    w.fraMenu(0)->setVisible(false);
    w.fraMenu(2)->setVisible(true);
    w.Form_Activate();
    EXPECT_EQ(fake.serialLog.size(), 1);
    EXPECT_TRUE(w.fraMenu(2)->isVisibleTo(&w));
}

TEST_F(MainWindowTest, ShowingTheWindowActivatesItOnce)
{
    frmMain& w = MakeWindow();
    w.Form_Load();
    w.show();
    EXPECT_EQ(fake.serialLog.size(), 1);
    w.hide();
    w.show();
    EXPECT_EQ(fake.serialLog.size(), 1);
}

TEST_F(MainWindowTest, PortOpenedThroughTheFinder)
{
    struct Case {
        const char* name;
        QList<SerialPortCandidate> ports;
        bool serialOpens;
        bool expectSerial;
        bool expectBox;
        bool expectRedLine;
        int expectCommPort;
    };
    const QList<Case> cases = {
        {"no converter: no port", {}, true, false, false, false, 0},
        {"one converter that opens", {Converter("/dev/ttyUSB2")}, true, true, false, false, 3},
        {"one converter that fails to open", {Converter("/dev/ttyUSB0")}, false, true, false, true, 1},
        {"two converters: the finder's box, then no port",
         {Converter("/dev/ttyUSB0"), Converter("/dev/ttyUSB1")}, true, false, true, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetSerialPortSource([ports = c.ports] { return ports; });
        fake.calls.clear();
        fake.serialOpens = c.serialOpens;
        frmMain& w = MakeWindow();
        w.Download().rtbLog->clear();
        prompt.boxes.clear();
        if (c.expectBox)
            prompt.ExpectBox(MsgResult::Ok);
        w.OpenUsbSerialPort();

        EXPECT_EQ(App().CommPort, c.expectCommPort);
        EXPECT_EQ(fake.serialComm, c.expectSerial);
        // Without a converter no port is opened (no infrared transport here).
        EXPECT_EQ(fake.calls.last(), c.expectSerial ? QStringLiteral("SetPortOpen(true)")
                                                    : QStringLiteral("SetPortOpen(false)"));
        if (c.expectSerial) {
            const QStringList expected = {
                "SetSerialComm(true)", QStringLiteral("SetCommPort(%1)").arg(c.expectCommPort),
                "SetDevicePath(" + c.ports[0].systemLocation + ")", "SetRTSEnable(true)", "SetDTREnable(true)",
                "SetHandshaking(2)", "SetSettings(921600,n,8,1)", "SetPortOpen(true)"};
            EXPECT_EQ(fake.calls, expected);
        } else {
            EXPECT_EQ(fake.calls, QStringList({"SetSerialComm(false)", "SetPortOpen(false)"}));
            EXPECT_FALSE(fake.PortOpen());
        }
        if (c.expectBox) {
            ASSERT_EQ(prompt.boxes.size(), 1);
            EXPECT_EQ(prompt.boxes[0].text, GetResString(20014));
            EXPECT_EQ(prompt.boxes[0].title, GetResString(20015));
            EXPECT_EQ(prompt.boxes[0].icon, MsgIcon::Critical);
        }
        const QStringList pane = PaneLines(w.Download().rtbLog);
        if (c.expectRedLine)
            EXPECT_EQ(pane, QStringList({"#ff0000 Communication Ports Error. Restart this program."}));
        else
            EXPECT_TRUE(pane.isEmpty()) << pane.join(QLatin1Char('|')).toStdString();
    }
}

TEST_F(MainWindowTest, SerialLogsOfEarlierRunsMoveUp)
{
    struct Case {
        const char* name;
        bool serialLogOn;
        QList<int> before; // 0 is SerialLog.log, n is SerialLog<n>.log
        // After: generation -> the generation whose content it holds.
        QList<std::pair<int, int>> after;
    };
    const QList<Case> cases = {
        {"all nine generations and the last log", true, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
         {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 5}, {7, 6}, {8, 7}, {9, 8}}},
        {"gaps move up with the logs", true, {0, 5}, {{1, 0}, {6, 5}}},
        {"only numbered logs", true, {1, 3}, {{2, 1}, {4, 3}}},
        {"nothing there", true, {}, {}},
        {"setting off: the leftover log is deleted, the rest stays", false, {0, 1, 9}, {{1, 1}, {9, 9}}},
    };
    auto name = [](int g) {
        return g == 0 ? QStringLiteral("SerialLog.log") : QStringLiteral("SerialLog%1.log").arg(g);
    };
    frmMain& w = MakeWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int g = 0; g <= 10; ++g)
            QFile::remove(home.file(name(g)));
        for (int g : c.before)
            WriteFile(home.file(name(g)), "log of generation " + QByteArray::number(g));
        App().SerialLogOn = c.serialLogOn;
        w.StartSerialLog();
        QList<int> present;
        for (int g = 0; g <= 10; ++g)
            if (QFileInfo::exists(home.file(name(g))))
                present << g;
        QList<int> expectedPresent;
        for (auto [g, from] : c.after) {
            expectedPresent << g;
            EXPECT_EQ(ReadFile(home.file(name(g))), "log of generation " + QByteArray::number(from)) << g;
        }
        EXPECT_EQ(present, expectedPresent);
    }
    EXPECT_TRUE(w.Download().rtbLog->toPlainText().isEmpty());
}

TEST_F(MainWindowTest, FilesThatCannotBeMovedAreReportedAndStartUpGoesOn)
{
    // A folder (not empty) where the oldest generation should be cannot be
    // deleted like a file.
    frmMain& w = MakeWindow();
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("SerialLog9.log/inner")));
    WriteFile(home.file(QStringLiteral("SerialLog8.log")), "eight");
    WriteFile(home.file(QStringLiteral("SerialLog1.log")), "one");
    WriteFile(home.file(QStringLiteral("SerialLog.log")), "previous");
    App().SerialLogOn = true;
    // Each look at the wait's clock moves it 100 ms, so a bounded wait for a
    // file to go ends after a few looks whatever the real time.
    qint64 waitClock = 0;
    SetWaitClock([&waitClock] { return waitClock += 100; });
    w.StartSerialLog();
    EXPECT_GE(waitClock, 2000) << "the wait for the folder to go ran to its bound";
    // Generation 8 could not move up, so the rotation stops there: every log
    // stays where it was, SerialLog.log is kept for this run to append to,
    // and nothing is lost.
    EXPECT_EQ(ReadFile(home.file(QStringLiteral("SerialLog8.log"))), "eight");
    EXPECT_EQ(ReadFile(home.file(QStringLiteral("SerialLog1.log"))), "one");
    EXPECT_EQ(ReadFile(home.file(QStringLiteral("SerialLog.log"))), "previous");
    const QString pane = w.Download().rtbLog->toPlainText();
    EXPECT_TRUE(pane.contains(QStringLiteral("SerialLog9.log"))) << pane.toStdString();

    // With the setting off, a leftover log that cannot be deleted is
    // reported, and the wait for it ends.
    QFile::remove(home.file(QStringLiteral("SerialLog.log")));
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("SerialLog.log/inner")));
    App().SerialLogOn = false;
    w.Download().rtbLog->clear();
    w.StartSerialLog();
    EXPECT_TRUE(w.Download().rtbLog->toPlainText().contains(QStringLiteral("SerialLog.log")));
    EXPECT_EQ(ReadFile(home.file(QStringLiteral("SerialLog1.log"))), "one");
}

TEST_F(MainWindowTest, DatabaseThatCannotBeCreatedGivesAMessageAndLoadingGoesOn)
{
    // The program folder's database path lies under a plain file.
    const QString blocker = home.file(QStringLiteral("not-a-folder"));
    WriteFile(blocker, "x");
    qputenv("PELKAR_HOME", blocker.toLocal8Bit());
    prompt.ExpectBox(MsgResult::Ok);
    frmMain& w = MakeWindow();
    w.Form_Load();
    qputenv("PELKAR_HOME", home.path().toLocal8Bit());

    ASSERT_EQ(prompt.boxes.size(), 1);
    EXPECT_EQ(prompt.boxes[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(prompt.boxes[0].text.contains(QStringLiteral("Pelkar.db")));
    EXPECT_EQ(fake.calls.last(), QStringLiteral("SetDumpListFileNo(2)")) << "loading ran to its end";
}

TEST(FirstRunSize, EightyBySixtyPercentOfTheScreenNeverBelowTheMinimum)
{
    struct Case {
        double screenW, screenH, w, h;
    };
    const Case cases[] = {
        {15360, 11520, 12288, 8250},
        {28800, 16200, 23040, 9720},
        {12000, 9000, 11640, 8250},
        {14550, 13750, 11640, 8250}, // exactly the minimum is not "greater"
    };
    for (const Case& c : cases) {
        const QSizeF s = frmMain::FirstRunSize(c.screenW, c.screenH);
        EXPECT_DOUBLE_EQ(s.width(), c.w) << c.screenW;
        EXPECT_DOUBLE_EQ(s.height(), c.h) << c.screenH;
    }
}

TEST_F(MainWindowTest, WindowIsSizedOnTheFirstRunOnlyAndCentred)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // The first-run size belongs to the start whose settings file counts 1
    // (written by the very first start); a start without a settings file
    // (counter 0) or a later one keeps its size.
    struct Case {
        const char* settings; // nullptr: no settings file
        int startWidth;
        bool firstRun;
    };
    for (const Case c : {Case{nullptr, 9000, false}, Case{"Execute Count\t1\r\n", 9000, true},
                         Case{"Execute Count\t2\r\n", 12345, false}, Case{"Execute Count\t0\r\n", 9500, false}}) {
        SCOPED_TRACE(c.settings ? c.settings : "no file");
        QFile::remove(home.file("Pelkar.ini"));
        if (c.settings) {
            QFile ini(home.file("Pelkar.ini"));
            ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
            ini.write(c.settings);
        }
        frmMain& w = MakeWindow();
        w.SetWindowWidth(c.startWidth);
        w.Form_Load();
        const QSizeF first = frmMain::FirstRunSize(w.Twips(screen.width()), w.Twips(screen.height()));
        const double expectW = c.firstRun ? first.width() : c.startWidth;
        EXPECT_NEAR(w.WindowWidth(), expectW, 15);
        if (c.firstRun) {
            EXPECT_NEAR(w.WindowHeight(), first.height(), 15);
        }
        EXPECT_NEAR(w.frameGeometry().center().x(), screen.center().x(), 2);
        EXPECT_NEAR(w.frameGeometry().center().y(), screen.center().y(), 2);
    }
}

TEST_F(MainWindowTest, SettingsFileValuesReachTheWindowAndTheControl)
{
    WriteFile(home.file(QStringLiteral("Pelkar.ini")),
              "Execute Count\t5\r\n"
              "Serial Log File\tON\r\n"
              "Factory Record Suffix\t_F1\r\n"
              "Timeout\t5\r\n"
              "Retry\t4\r\n"
              "Data Select\tTrue\tFalse\tTrue\r\n"
              "Size Values\t0\t12000\t9000\r\n");
    WriteFile(home.file(QStringLiteral("SerialLog.log")), "previous run");
    frmMain& w = MakeWindow();
    w.Form_Load();
    EXPECT_EQ(fake.retry, 4);
    EXPECT_EQ(fake.timeout, 5);
    EXPECT_EQ(w.Download().txtSuffix->text(), QStringLiteral("_F1"));
    EXPECT_EQ(w.ChkLog(0), 1);
    EXPECT_EQ(w.ChkLog(1), 0);
    EXPECT_EQ(w.ChkLog(2), 1);
    EXPECT_NEAR(w.WindowWidth(), 12000, 15);
    EXPECT_NEAR(w.WindowHeight(), 9000, 15);
    EXPECT_EQ(ReadFile(home.file(QStringLiteral("SerialLog1.log"))), "previous run");
    EXPECT_FALSE(QFileInfo::exists(home.file(QStringLiteral("SerialLog.log"))));
}

TEST_F(MainWindowTest, MaximisedWindowKeepsItsCentredRestoredBounds)
{
    WriteFile(home.file(QStringLiteral("Pelkar.ini")), "Size Values\t2\t12000\t9000\r\n");
    frmMain& w = MakeWindow();
    w.Form_Load();
    EXPECT_EQ(w.WindowState(), 2);
    w.show();
    EXPECT_TRUE(w.isMaximized());
    const QRect normal = w.normalGeometry();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_NEAR(w.Twips(normal.width()), 12000, 15);
    EXPECT_NEAR(normal.center().x(), screen.center().x(), 2);
    EXPECT_NEAR(normal.center().y(), screen.center().y(), 2);
}
