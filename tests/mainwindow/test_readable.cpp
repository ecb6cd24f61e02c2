// Every panel and window of the program as a user meets it: the main window
// on the real interface control, first without a converter, then with an
// instrument connected over a pseudo-terminal and read, its logs downloaded
// and stored; then every panel in each of its states, the Data View window,
// the progress window and the dialogs, each checked again after every change
// that alters what it shows; laid out in English and Japanese on screens of
// 1024x768 and 1280x1024 (at the window's first-run size and at the whole
// screen), in each command-line mode. Nothing a user reads may be cut, hidden or drawn
// over another control (readable_check.h).
//
// PELKAR_SHOTS=<folder> also saves a picture of every screen checked.
#include "linked_window_fixture.h"
#include "main_window_fixture.h"
#include "readable_check.h"
#include "../views/view_db_fixture.h"

#include "browser/browser_keys.h"
#include "browser/password_dialog.h"
#include "common/widgets/grid_writer.h"
#include "download/download_support.h"
#include "download/frmUpload.h"
#include "fake_records.h"
#include "graph/ucltalgraph.h"
#include "printing/printer_choice.h"
#include "settings/frmFsDialog.h"
#include "settings/frmGasSel.h"
#include "views/data_view_window.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include <functional>
#include <optional>
#include <vector>

namespace {

struct Mode {
    const char* name;
    bool service, g2, u;
};

struct Param {
    Mode mode;
    ResLanguage language;
};

std::string ParamName(const ::testing::TestParamInfo<Param>& info)
{
    return std::string(info.param.mode.name) + (info.param.language == ResLanguage::English ? "_EN" : "_JP");
}

class Readable : public LinkedWindowTest, public ::testing::WithParamInterface<Param> {
protected:
    void SetUp() override
    {
        LinkedWindowTest::SetUp();
        SetResLanguage(GetParam().language);
        App().ServiceMode = GetParam().mode.service;
        App().G2Mode = GetParam().mode.g2;
        App().UMode = GetParam().mode.u;
        m_shots = qEnvironmentVariable("PELKAR_SHOTS");
        if (!m_shots.isEmpty())
            QDir().mkpath(m_shots);
    }

    QString Tag() const { return QString::fromLatin1(ParamName({GetParam(), 0}).c_str()); }

    // The instrument and its logs: the longest identity texts it takes, an
    // oxygen channel of 25 VOL%, an interval trend with a warning and an
    // alarm, two alarm trends, a calibration history and power events.
    void FillInstrument()
    {
        FakeInstrumentState& s = fake.State();
        s.serialNo = QStringLiteral("WM2024080123");
        s.stationId = QStringLiteral("STATION-WM");
        s.userId = QStringLiteral("USER-WM-01");
        s.gas[1].fullScale = QStringLiteral(" 25.0");
        const QDateTime start = MakeDate(2024, 3, 5, 8, 0, 0);
        FakeIntervalTrend trend = MakeIntervalTrend(1, start, 40);
        trend.serialNo = s.serialNo;
        trend.events = {FakeTrendEvent{"A1", 1, 10, 10}, FakeTrendEvent{"A5", 2, 20, 40}};
        fake.SetRecordLines("DR,R,", IntervalLines(trend));
        QList<QByteArray> alarms;
        for (const auto& [logger, at] : {std::pair{1, 10 * 60 + 12}, std::pair{2, 20 * 60 + 43}}) {
            FakeAlarmTrend alarm = MakeAlarmTrend(logger, start.addSecs(at));
            alarm.serialNo = s.serialNo;
            alarms += AlarmLines(alarm);
        }
        fake.SetRecordLines("DJ,R,", alarms);
        ServeCalibrationAndPowerEvents();
    }

    // Loads the window, waits for the instrument and runs the complete
    // download; the alarm and trouble events, which no download stores, are
    // stored by hand.
    void Download()
    {
        FillInstrument();
        // Started before the converter is plugged in: the panels that show
        // the instrument stand blank.
        SetSerialPortSource([] { return QList<SerialPortCandidate>{}; });
        window->Form_Load();
        window->show();
        for (const QSize& size : Sizes()) {
            window->resize(size);
            window->Form_Resize();
            for (const auto& [menu, name] : {std::pair{0, "download"}, std::pair{1, "instrument information"},
                                              std::pair{4, "settings"}}) {
                window->cmdInst(menu)->click();
                CheckPanel(QStringLiteral("no instrument ") + QLatin1String(name));
            }
        }
        const QString device = fake.DevicePath();
        SetSerialPortSource([device] { return QList<SerialPortCandidate>{Converter(device)}; });
        window->cmdInst(0)->click();
        window->resize(1024, 768);
        window->Form_Resize();
        ASSERT_TRUE(WaitFor([this] { return window->Download().cmdDown(0)->isEnabled(); }, 20000));
        window->Download().cmdDown(0)->click();
        ASSERT_TRUE(WaitFor([this] { return window->Download().cmdDown(0)->isEnabled(); }, 20000));
        StoreHead(9005, 5, fake.State().serialNo, MakeDate(2024, 3, 6, 9, 0, 0));
        StoreHead(9006, 6, fake.State().serialNo, MakeDate(2024, 3, 6, 9, 0, 0));
        LogDb db;
        ExecSql(db, QStringLiteral("Insert Into Alarm_Event (RelNo, Dates, GasName, Alarm_type) Values (?, ?, ?, ?);"),
                {9005, DbDate(MakeDate(2024, 3, 5, 9, 0, 0)), QStringLiteral("OXY"), -103});
        ExecSql(db, QStringLiteral("Insert Into Trouble_Event (RelNo, Dates, GasName, Alarm_type) Values (?, ?, ?, ?);"),
                {9006, DbDate(MakeDate(2024, 3, 5, 11, 0, 0)), QStringLiteral("SENS"), -110});
        window->State().TreeRefreshNeeded = true;
        // Lines the program adds to the log pane: the port lost, with each
        // reason it gives for that, and the database in use by another
        // program under a long path.
        for (int reason : {5940, 5941})
            window->Download().AddLogText(GetResString(5773, QStringLiteral("/dev/ttyUSB0"), GetResString(reason)),
                                          LogColor::Failure);
        window->Download().AddLogText(
            GetResString(20121, QDir::toNativeSeparators(QStringLiteral(
                                    "/home/safety-officer/Documents/GasMonitoring/Pelkar/DatabaseOfDownloadedLogs/Pelkar.db"))),
            LogColor::Failure);
    }

    // Checks a shown window as it stands now (after the events that lay it
    // out), and saves its picture when asked.
    void Check(QWidget* top, const QString& screen)
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        const QString where = Tag() + QLatin1Char(' ') + screen;
        if (!m_shots.isEmpty()) {
            QString file = where;
            file.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]+")), QStringLiteral("_"));
            top->grab().save(m_shots + QLatin1Char('/') + file + QStringLiteral(".png"));
            GrabWithGridsAtEnd(top).save(m_shots + QLatin1Char('/') + file + QStringLiteral("_end.png"));
        }
        m_faults += UnreadableParts(top, where);
    }

    // The window a new user gets on each screen (its first-run size), and
    // the whole screen.
    std::vector<QSize> Sizes() const
    {
        std::vector<QSize> sizes;
        for (const QSize& screen : {QSize(1024, 768), QSize(1280, 1024)}) {
            const QSizeF first = frmMain::FirstRunSize(window->Twips(screen.width()), window->Twips(screen.height()));
            sizes.push_back({window->Px(first.width()), window->Px(first.height())});
            sizes.push_back(screen);
        }
        return sizes;
    }

    // The main window at a size, with one of its panels in one state.
    void CheckPanel(const QString& screen)
    {
        Check(window.get(), QStringLiteral("%1x%2 %3").arg(window->width()).arg(window->height()).arg(screen));
    }

    // The browser listing the first record of a kind, its property grid
    // filled (kind 0: the folders under the root).
    void PickRecord(int kind)
    {
        window->cmdInst(2)->click();
        DataPanel& data = window->Data();
        data.tvwLog->expandAll();
        if (kind == 0) {
            QTreeWidgetItem* root = data.tvwLog->topLevelItem(0);
            ASSERT_NE(root, nullptr);
            data.tvwLog->setCurrentItem(root);
            emit data.tvwLog->itemClicked(root, 0);
            return;
        }
        for (const browser::LogTreeNode& node : data.TreeModel().Nodes()) {
            if (node.types != kind)
                continue;
            QTreeWidgetItem* item = data.TreeItem(node.key);
            data.tvwLog->setCurrentItem(item);
            emit data.tvwLog->itemClicked(item, 0);
            QTreeWidgetItem* record = data.lvwLog->topLevelItem(0);
            ASSERT_NE(record, nullptr) << kind;
            data.lvwLog->setCurrentItem(record);
            emit data.lvwLog->itemClicked(record, 0);
            return;
        }
        FAIL() << "no record of kind " << kind;
    }

    // The record opened in the data view (Detail), as a table or a graph
    // with its event marks and cursor shown.
    void ViewRecord(int kind, bool graph)
    {
        PickRecord(kind);
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_TRUE(window->Data().cmdDetail->isEnabled()) << kind;
        window->Data().cmdDetail->click();
        ASSERT_TRUE(window->fraMenu(3)->isVisible()) << kind;
        ViewPanel& view = window->View();
        view.optBrowse(graph ? 1 : 0)->click();
        if (graph)
            for (QCheckBox* box : {view.chkBrowse(5), view.chkBrowse(6)})
                if (box->isVisible() && !box->isChecked())
                    box->click();
    }

    // A display font chosen on the settings panel: a family a user of the
    // language would pick, a few points larger than the default.
    void ChooseFont()
    {
        QPushButton* button = window->Settings().cmdOptionDisp(0);
        m_fontBefore = {App().DisplayFont, button->font(), button->text()};
        const bool english = GetParam().language == ResLanguage::English;
        prompt.ExpectFont(true, QFont(english ? QStringLiteral("DejaVu Sans Mono") : QStringLiteral("IPAPGothic"), 12));
        button->click();
        EXPECT_TRUE(prompt.AllUsed());
    }
    // The font the window had before, so that the windows checked later
    // show in it.
    void RestoreFont()
    {
        QPushButton* button = window->Settings().cmdOptionDisp(0);
        App().DisplayFont = m_fontBefore.setting;
        button->setFont(m_fontBefore.font);
        button->setText(m_fontBefore.caption);
        window->Form_Resize();
    }
    struct FontBefore {
        std::optional<FontSetting> setting;
        QFont font;
        QString caption;
    } m_fontBefore;

    struct Screen {
        QString name;
        std::function<void()> show;
        std::function<void()> leave; // back to the state the next screen expects
        bool serviceOnly = false;    // power events and calibration: "-R" only
    };

    // Every panel in every state a user can put it in.
    std::vector<Screen> Screens()
    {
        ViewPanel& view = window->View();
        SettingsPanel* settings = &window->Settings();
        auto menu = [this](int i) { return [this, i] { window->cmdInst(i)->click(); }; };
        auto toggle = [](QAbstractButton* b) { return [b] { b->click(); }; };
        auto then = [](std::function<void()> a, std::function<void()> b) { return [a, b] { a(); b(); }; };
        std::vector<Screen> screens = {
            {QStringLiteral("download"), menu(0), {}},
            {QStringLiteral("instrument information"), menu(1), {}},
            {QStringLiteral("data folder"), [this] { PickRecord(0); }, {}},
            {QStringLiteral("last calibration need calibration"), then(menu(3), toggle(window->LastCal().optHistory(0))), {}},
            {QStringLiteral("last calibration dates"), then(menu(3), toggle(window->LastCal().optHistory(1))), {}},
            {QStringLiteral("last calibration records"), then(menu(3), toggle(window->LastCal().optHistory(2))), {}},
            {QStringLiteral("settings"), menu(4), {}},
            {QStringLiteral("settings font chosen"), [this, menu] { menu(4)(); ChooseFont(); }, [this] { RestoreFont(); }},
            {QStringLiteral("instrument information stored record"),
             [this] {
                 PickRecord(1);
                 window->Data().cmdLogInst->click();
                 ASSERT_TRUE(window->fraMenu(1)->isVisible());
             },
             {}},
            {QStringLiteral("download commands locked"), then(menu(0), [this] { window->Download().LockCommands(); }),
             [this] { window->Download().RestoreCommands(); }},
            {QStringLiteral("settings calibration"),
             [menu, settings] {
                 menu(4)();
                 settings->cmdOption(2)->click();
                 // Until the first live readings have come in.
                 WaitFor([settings] { return !settings->vfgCal->Text(1, 3).isEmpty(); }, 3000);
             },
             [settings] {
                 settings->cmdCal(2)->click();
                 WaitFor([settings] { return settings->fraOption(1)->isVisible(); });
             },
             true},
        };
        const std::pair<int, const char*> kinds[] = {{1, "interval trend"}, {2, "alarm trend"},
                                                     {3, "calibration history"}, {5, "alarm events"},
                                                     {6, "trouble events"}, {7, "power events"}};
        // Each record kind in the browser, its list and property grid.
        for (const auto& [kind, name] : kinds) {
            const int k = kind;
            const bool serviceOnly = kind == 7; // downloaded in service mode only
            screens.push_back({QStringLiteral("data ") + QLatin1String(name), [this, k] { PickRecord(k); }, {}, serviceOnly});
        }
        // The tree grouped by serial number, station and user, each level
        // indented under the one before.
        DataPanel& data = window->Data();
        screens.push_back({QStringLiteral("data grouped"),
                           [this, &data] {
                               window->cmdInst(2)->click();
                               for (QCheckBox* box : data.chkLog)
                                   box->click();
                               data.tvwLog->expandAll();
                           },
                           [&data] {
                               for (QCheckBox* box : data.chkLog)
                                   box->click();
                           }});
        // Each record kind in the data view: the table, with the summary
        // switched the other way, and the trends as graphs.
        for (const auto& [kind, name] : kinds) {
            const QString v = QStringLiteral("view ") + QLatin1String(name);
            const bool serviceOnly = kind == 7; // downloaded in service mode only
            const int k = kind;
            screens.push_back({v + QStringLiteral(" table"), [this, k] { ViewRecord(k, false); }, {}, serviceOnly});
            screens.push_back({v + QStringLiteral(" summary switched"),
                               then([this, k] { ViewRecord(k, false); }, toggle(view.cmdBrowse(3))),
                               toggle(view.cmdBrowse(3)), serviceOnly});
            if (kind <= 2)
                screens.push_back({v + QStringLiteral(" graph"), [this, k] { ViewRecord(k, true); }, {}, false});
        }
        screens.push_back({QStringLiteral("view interval trend events only"),
                           then([this] { ViewRecord(1, false); }, toggle(view.chkEvent)), toggle(view.chkEvent)});
        screens.push_back({QStringLiteral("view interval trend outline"),
                           then([this] { ViewRecord(1, false); }, toggle(view.chkOutline)), toggle(view.chkOutline)});
        return screens;
    }

    void CheckPanels(const QSize& size)
    {
        window->resize(size);
        window->Form_Resize();
        for (const Screen& screen : Screens()) {
            if (screen.serviceOnly && !GetParam().mode.service)
                continue;
            screen.show();
            ASSERT_FALSE(HasFatalFailure()) << screen.name.toStdString();
            CheckPanel(screen.name);
            if (screen.leave)
                screen.leave();
        }
        // The Data View window, from the interval trend's graph.
        ViewRecord(1, true);
        ASSERT_FALSE(HasFatalFailure());
        CheckDataViewWindow(window->View());
        window->cmdInst(0)->click();
    }

    // The Data View window, opened on the second alarm trend from the graph.
    void CheckDataViewWindow(ViewPanel& view)
    {
        const QString size = QStringLiteral("%1x%2").arg(window->width()).arg(window->height());
        bool opened = false;
        prompt.ExpectWindow([&](QWidget* w) {
            auto* win = qobject_cast<DataViewWindow*>(w);
            EXPECT_NE(win, nullptr);
            if (!win)
                return 0;
            opened = true;
            Check(win, size + QStringLiteral(" data view window graph"));
            win->optBrowse(0)->click();
            Check(win, size + QStringLiteral(" data view window table"));
            win->cmdBrowse(3)->click();
            Check(win, size + QStringLiteral(" data view window summary toggled"));
            return 0;
        });
        view.RunTrendSearch(MakeDate(2024, 3, 5, 8, 20, 40));
        ASSERT_TRUE(prompt.AllUsed()) << "no Data View window";
        EXPECT_TRUE(opened);
    }

    // The progress window in every state an operation puts it in.
    void CheckProgressWindow()
    {
        frmUpload& upload = window->Download().UploadForm();
        for (int state : {0, 1, 3, 4, 5, 6}) {
            App().ProcessState = state;
            upload.ShowWindow();
            Check(&upload, QStringLiteral("progress window state %1").arg(state));
            upload.Unload();
        }
        // The memory dump lists: the start, then each block's addresses.
        App().ProcessState = 1;
        upload.ShowWindow();
        upload.SetCaption(QStringLiteral("FRAM Dump List (EF)"));
        CheckSteps(&upload, QStringLiteral("progress window dump list"),
                   {{QStringLiteral("start"), [&upload] { upload.SetLabel(GetResString(5445)); }},
                    {QStringLiteral("EF start"), [&upload] { upload.SetLabel(GetResString(5463)); }},
                    {QStringLiteral("block"), [&upload] { upload.SetLabel(QStringLiteral("Get Dump 00FF00-00FFFF")); }}});
        upload.Unload();
        upload.ShowWindow();
        upload.SetCaption(GetResString(6056));
        upload.cmdUpload_Click();
        Check(&upload, QStringLiteral("progress window cancelled"));
        upload.Unload();
        App().ProcessState = 0;
        window->State().uclQvport->SetCancel(false);
    }

    void CheckDialogs()
    {
        CheckFactorySettings();
        for (int gas : {0, 1}) {
            frmGasSel dialog(window.get());
            dialog.SetSpecType(window->State().MainInstrument().SpecType());
            dialog.SetGasNo(gas);
            dialog.show();
            Check(&dialog, QStringLiteral("gas select %1").arg(gas));
        }
        CheckPasswordWindow();
        {
            frmSetPrinter dialog({QStringLiteral("Office Laser"), QStringLiteral("PDF file")},
                                 QStringLiteral("Office Laser"), window.get());
            dialog.show();
            Check(&dialog, QStringLiteral("printer choice"));
        }
    }

    // A window whose captions change with its state: checked as it opens
    // and again after each step, in order.
    struct Step {
        QString name;
        std::function<void()> act;
    };
    void CheckSteps(QWidget* top, const QString& screen, const std::vector<Step>& steps)
    {
        top->show();
        Check(top, screen);
        for (const Step& step : steps) {
            step.act();
            Check(top, screen + QLatin1Char(' ') + step.name);
        }
    }

    // The factory settings dialog as it opens, with an entry being typed,
    // and with a refused entry kept in its editor.
    void CheckFactorySettings()
    {
        frmFsDialog dialog(window->State().MainInstrument(), window.get());
        QTableWidget* table = dialog.vfgDatas;
        auto type = [table](int row, const QString& text, bool enter) {
            return [table, row, text, enter] {
                table->setCurrentCell(row, 1);
                table->editItem(table->item(row, 1));
                auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
                ASSERT_NE(editor, nullptr) << row;
                editor->setText(text);
                if (enter)
                    QTest::keyClick(editor, Qt::Key_Return);
            };
        };
        CheckSteps(&dialog, QStringLiteral("factory settings"),
                   {{QStringLiteral("typing"), type(FactorySettings::ManufactureNo, QStringLiteral("WWWWWWWWWWWW"), false)},
                    {QStringLiteral("refused"), type(FactorySettings::BackLight, QStringLiteral("61"), true)}});
        // Closed as the prompt closes it: hidden, then gone.
        dialog.DropRefusedEdit();
        dialog.hide();
    }

    // The password window through every step of the change dialogue and
    // back, and with a wrong password refused.
    void CheckPasswordWindow()
    {
        QString password = QStringLiteral("1234");
        PasswordDialog dialog(password, window.get());
        auto press = [&dialog](int button, const QString& typed) {
            return [&dialog, button, typed] {
                dialog.txtPass->setText(typed);
                dialog.cmdPass(button)->click();
            };
        };
        prompt.ExpectBox(MsgResult::Ok); // the password changed
        prompt.ExpectBox(MsgResult::Ok); // the wrong password
        CheckSteps(&dialog, QStringLiteral("password"),
                   {{QStringLiteral("current"), press(1, QString())},
                    {QStringLiteral("new"), press(1, password)},
                    {QStringLiteral("confirm"), press(1, QStringLiteral("5678"))},
                    {QStringLiteral("changed"), press(1, QStringLiteral("5678"))},
                    {QStringLiteral("refused"), press(0, QStringLiteral("WRONG"))}});
        EXPECT_EQ(password, QStringLiteral("5678"));
        EXPECT_TRUE(prompt.AllUsed());
    }

    QStringList m_faults;
    QString m_shots;
};

TEST_P(Readable, EveryScreenShowsAllItsTexts)
{
    Download();
    ASSERT_FALSE(HasFatalFailure());
    // The data panel before anything in it has been picked.
    window->cmdInst(2)->click();
    CheckPanel(QStringLiteral("data before a pick"));
    for (const QSize& size : Sizes()) {
        CheckPanels(size);
        ASSERT_FALSE(HasFatalFailure());
    }
    CheckProgressWindow();
    CheckDialogs();
    EXPECT_TRUE(m_faults.isEmpty()) << m_faults.size() << " faults:\n" << m_faults.join(QLatin1Char('\n')).toStdString();
}

constexpr Mode kModes[] = {
    {"plain", false, false, false},
    {"R", true, false, false},
    {"U", false, false, true},
    {"R_G2", true, true, false},
};

INSTANTIATE_TEST_SUITE_P(ModesAndLanguages, Readable,
                         ::testing::Values(Param{kModes[0], ResLanguage::English}, Param{kModes[0], ResLanguage::Japanese},
                                           Param{kModes[1], ResLanguage::English}, Param{kModes[1], ResLanguage::Japanese},
                                           Param{kModes[2], ResLanguage::English}, Param{kModes[2], ResLanguage::Japanese},
                                           Param{kModes[3], ResLanguage::English}, Param{kModes[3], ResLanguage::Japanese}),
                         ParamName);

} // namespace
