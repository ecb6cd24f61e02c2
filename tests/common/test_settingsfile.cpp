#include "common/appstate.h"
#include "common/clock.h"
#include "common/dates.h"
#include "common/errors.h"
#include "common/resstrings.h"
#include "common/settings_targets.h"
#include "common/settingsfile.h"
#include "temp_home.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct PlainWindow : WindowSettingsTarget {
    int state = 0, width = 0, height = 0;
    int chk[3] = {0, 0, 0};
    int WindowState() const override { return state; }
    void SetWindowState(int s) override { state = s; }
    int WindowWidth() const override { return width; }
    void SetWindowWidth(int w) override { width = w; }
    int WindowHeight() const override { return height; }
    void SetWindowHeight(int h) override { height = h; }
    int ChkLog(int i) const override { return chk[i]; }
    void SetChkLog(int i, int v) override { chk[i] = v; }
};

struct PlainGraph : GraphColorTarget {
    std::int32_t scale = 0, back = 0, cursor = 0;
    std::int32_t ScaleColor() const override { return scale; }
    void SetScaleColor(std::int32_t c) override { scale = c; }
    std::int32_t BackColor() const override { return back; }
    void SetBackColor(std::int32_t c) override { back = c; }
    std::int32_t CursorColor() const override { return cursor; }
    void SetCursorColor(std::int32_t c) override { cursor = c; }
};

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

const QString kGolden = QStringLiteral(PELKAR_SOURCE_DIR "/tests/common/fixtures/settings_golden.ini");

// The start-up defaults that exist before the file is read.
void StartupDefaults()
{
    AppState& a = App();
    a.CommPort = 4;
    a.Retry = 3;
    a.Timeout = 3;
    a.CalUnitOnWait = 45;
    a.CalSpanOnWait = 90;
    a.CalSpanOffWait = 45;
    a.Password = "Morva";
    a.CalibRange = {12, 100};
    a.PrtWidth = {1, 1};
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppState();
        App().WindowTarget = &window;
        App().GraphTarget = &graph;
        SetClock([] { return MakeDate(2031, 7, 4, 13, 5, 9); });
    }
    void TearDown() override
    {
        SetClock({});
        ResetAppState();
    }
    void FillGoldenState()
    {
        AppState& a = App();
        a.ExecuteCount = 6;
        a.SerialLogOn = true;
        a.FactoryRecordSuffix = "_F1";
        a.CommPort = 4;
        a.Timeout = 0;
        a.Retry = 5;
        a.AutoLoad = true;
        a.DisplayFont = FontSetting{"DejaVu Sans", 9.75f, true, false, true};
        graph.scale = 255;
        graph.back = 0xFFFFFF;
        graph.cursor = 0x404080;
        a.CalibRange = {12, 100};
        a.CurrentGas[0] = GasSetting{"CO", true, 0, "ppm", 25, 50, 200, 25, 1, 500, 0};
        a.CurrentGas[1] = GasSetting{"O2", true, 1, "vol%", 19.5f, 18, 0, 0, 0.1f, 25, 20.9f};
        a.GasLocked = {false, true};
        a.FactAutoCal = {-101, 20.9f};
        a.GraphColor = {255, 0xFF0000};
        a.ChgGasTable[0][0] = GasEntry{true, "H2S", false, "ppm", 30, 0.1f, 1, 5, 10, 15, 1, 0};
        a.ChgGas01Table[1][7] = GasEntry{false, "SO2", true, "ppm", 20, 0.05f, 2, 2, 5, 5, 2, 0};
        a.ChgGas01Table[1][8] = GasEntry{true, "NOT", true, "x", 1, 1, 1, 1, 1, 1, 1, 1}; // never written
        a.CalUnitOnWait = 45;
        a.CalSpanOnWait = 90;
        a.CalSpanOffWait = 45;
        window.chk[0] = 1;
        window.chk[2] = 1;
        window.state = 2;
        window.width = 12000;
        window.height = 9000;
        a.PrtWidth = {1, 2.5f};
        a.CompletelyView = true;
        a.TrendSearchBefore = 60;
        a.TrendSearchAfter = 120;
        a.Password = "Morva";
    }

    TempHome home;
    PlainWindow window;
    PlainGraph graph;
};

} // namespace

TEST_F(SettingsFile, WritesTheGoldenFile)
{
    FillGoldenState();
    WriteSettings();
    const QByteArray written = ReadAll(home.file("Pelkar.ini"));
    const QByteArray golden = ReadAll(kGolden);
    ASSERT_FALSE(golden.isEmpty());
    EXPECT_EQ(written.toStdString(), golden.toStdString());
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList{"Pelkar.ini"});
}

TEST_F(SettingsFile, ReadsTheGoldenFile)
{
    WriteFile(home.file("Pelkar.ini"), ReadAll(kGolden));
    StartupDefaults();
    App().Timeout = 8;
    ReadSettings();
    const AppState& a = App();
    EXPECT_EQ(a.ExecuteCount, 7);
    EXPECT_TRUE(a.SerialLogOn);
    EXPECT_EQ(a.FactoryRecordSuffix, "_F1");
    EXPECT_EQ(a.CommPort, 4);
    EXPECT_EQ(a.Timeout, 3);
    EXPECT_EQ(a.Retry, 5);
    EXPECT_FALSE(a.AutoCalibration);
    EXPECT_TRUE(a.AutoLoad);
    ASSERT_TRUE(a.DisplayFont.has_value());
    EXPECT_EQ(a.DisplayFont->Name, "DejaVu Sans");
    EXPECT_FLOAT_EQ(a.DisplayFont->Size, 9.75f);
    EXPECT_TRUE(a.DisplayFont->Bold);
    EXPECT_TRUE(a.DisplayFont->Underline);
    EXPECT_EQ(graph.scale, 255);
    EXPECT_EQ(graph.back, 0xFFFFFF);
    EXPECT_EQ(graph.cursor, 0x404080);
    EXPECT_EQ(a.CurrentGas[1].Name, "O2");
    EXPECT_EQ(a.CurrentGas[1].Unit, "vol%");
    EXPECT_EQ(a.CurrentGas[1].Point, 1);
    EXPECT_FLOAT_EQ(a.CurrentGas[1].Desit, 0.1f);
    EXPECT_TRUE(a.GasLocked[1]);
    EXPECT_FLOAT_EQ(a.FactAutoCal[0], -101);
    EXPECT_EQ(a.GraphColor[1], 0xFF0000);
    EXPECT_EQ(a.ChgGasTable[0][0].Name, "H2S");
    EXPECT_FLOAT_EQ(a.ChgGasTable[0][0].FullScale, 30);
    EXPECT_EQ(a.ChgGas01Table[1][7].Points, 2);
    EXPECT_EQ((std::array<int, 3>{window.chk[0], window.chk[1], window.chk[2]}), (std::array<int, 3>{1, 0, 1}));
    EXPECT_EQ(window.state, 2);
    EXPECT_EQ(window.width, 12000);
    EXPECT_EQ(window.height, 9000);
    EXPECT_FLOAT_EQ(a.PrtWidth[1], 2.5f);
    EXPECT_TRUE(a.CompletelyView);
    EXPECT_EQ(a.TrendSearchAfter, 120);
    EXPECT_EQ(a.Password, "Morva");
}

TEST_F(SettingsFile, WriteReadWriteKeepsTheText)
{
    FillGoldenState();
    App().ChgGas01Table[1][8] = GasEntry{};
    WriteSettings();
    const QByteArray first = ReadAll(home.file("Pelkar.ini"));

    ResetAppState();
    PlainWindow window2;
    PlainGraph graph2;
    App().WindowTarget = &window2;
    App().GraphTarget = &graph2;
    StartupDefaults();
    ReadSettings();
    SetClock([] { return MakeDate(2032, 1, 2, 3, 4, 5); });
    WriteSettings();
    const QByteArray second = ReadAll(home.file("Pelkar.ini"));

    QList<QByteArray> a = first.split('\n');
    QList<QByteArray> b = second.split('\n');
    ASSERT_EQ(a.size(), b.size());
    for (int i = 0; i < a.size(); ++i) {
        if (a[i].startsWith(";      Last update = ")) {
            EXPECT_EQ(b[i], ";      Last update = 2032/01/02 03:04:05\r");
        } else if (a[i].startsWith("Execute Count\t")) {
            EXPECT_EQ(a[i], "Execute Count\t7\r");
            EXPECT_EQ(b[i], "Execute Count\t8\r");
        } else {
            EXPECT_EQ(a[i].toStdString(), b[i].toStdString()) << "line " << i + 1;
        }
    }
}

TEST_F(SettingsFile, NullTargetsUseTheStandIns)
{
    App().WindowTarget = nullptr;
    App().GraphTarget = nullptr;
    WriteFile(home.file("Pelkar.ini"), "Size Values\t0\t9000\t7000\r\nGraph Color\t1\t2\t3\r\nData Select\tTRUE\r\n");
    ReadSettings();
    EXPECT_EQ(App().WindowWidth, 9000);
    EXPECT_EQ(App().GraphBackColor, 2);
    EXPECT_EQ(App().ChkLog[0], 1);
    WriteSettings();
    const QByteArray text = ReadAll(home.file("Pelkar.ini"));
    EXPECT_TRUE(text.contains("\r\nSize Values\t0\t9000\t7000\r\n"));
    EXPECT_TRUE(text.contains("\r\nGraph Color\t1\t2\t3\r\n"));
    EXPECT_TRUE(text.contains("\r\nData Select\tTrue\tFalse\tFalse\r\n"));
}

TEST_F(SettingsFile, PasswordScramble)
{
    EXPECT_EQ(EncodeSettingText("Morva"), "SJFMJMOMKL");
    EXPECT_EQ(EncodeSettingText(EncodeSettingText("Morva")), "IKQJNJFKTJHKKKJKIKKK");
    EXPECT_EQ(DecodeSettingText("SJFMJMOMKL"), "Morva");
    EXPECT_EQ(DecodeSettingText(DecodeSettingText("IKQJNJFKTJHKKKJKIKKK")), "Morva");
    EXPECT_EQ(DecodeSettingText("SJFMJMOMKLX"), "Morva"); // an unpaired last character is ignored
    EXPECT_EQ(DecodeSettingText("S"), "");
    EXPECT_EQ(EncodeSettingText(""), "");
    for (const QString& p : {QString("a b;c'd\t~"), QString::fromUtf8("パスワード"), QString(40, 'z')})
        EXPECT_EQ(DecodeSettingText(DecodeSettingText(EncodeSettingText(EncodeSettingText(p)))), p);
    EXPECT_THROW(DecodeSettingText("\x01\x01"), ConversionError);
}

TEST_F(SettingsFile, NoFileChangesNothing)
{
    StartupDefaults();
    ReadSettings();
    EXPECT_EQ(App().Retry, 3);
    EXPECT_EQ(App().Timeout, 3);
    EXPECT_EQ(App().CommPort, 4);
    EXPECT_EQ(App().CalUnitOnWait, 45);
    EXPECT_EQ(App().CalSpanOnWait, 90);
    EXPECT_EQ(App().CalSpanOffWait, 45);
    EXPECT_EQ(App().Password, "Morva");
}

TEST_F(SettingsFile, BadLines)
{
    struct Case {
        const char* name;
        QByteArray text;
        std::function<void(const AppState&, const PlainWindow&)> check;
    };
    const Case cases[] = {
        {"non-numeric takes the fallback and reading goes on", "Timeout\tabc\r\nRetry\t5\r\n",
         [](const AppState& a, const PlainWindow&) {
             EXPECT_EQ(a.Timeout, 3);
             EXPECT_EQ(a.Retry, 5);
         }},
        {"fallbacks of the calibration waits", "CalUnitOnWait\tx\r\nCalSpanOnWait\t-\r\nCalSpanOffWait\tno\r\n",
         [](const AppState& a, const PlainWindow&) {
             EXPECT_EQ(a.CalUnitOnWait, 120);
             EXPECT_EQ(a.CalSpanOnWait, 120);
             EXPECT_EQ(a.CalSpanOffWait, 30);
         }},
        {"whole numbers round half to even", "Calib. Range\t12.5\t99.5\r\nRetry\t2.5\r\n",
         [](const AppState& a, const PlainWindow&) {
             EXPECT_EQ(a.CalibRange[0], 12.0f);
             EXPECT_EQ(a.CalibRange[1], 100.0f);
             EXPECT_EQ(a.Retry, 2);
         }},
        {"keys match without case, not with a trailing blank", "timeout\t7\r\nRetry \t9\r\n",
         [](const AppState& a, const PlainWindow&) {
             EXPECT_EQ(a.Timeout, 7);
             EXPECT_EQ(a.Retry, 3);
         }},
        {"out of range ends the reading", "Retry\t4\r\nTimeout\t99999\r\nCalUnitOnWait\t10\r\n",
         [](const AppState& a, const PlainWindow&) {
             EXPECT_EQ(a.Retry, 4);
             EXPECT_EQ(a.Timeout, 3);
             EXPECT_EQ(a.CalUnitOnWait, 45);
         }},
        {"gas number 3 ends the reading", "Gas Inst\t1\t'CO'\r\nGas Inst\t3\t'X'\tTRUE\r\nRetry\t6\r\n",
         [](const AppState& a, const PlainWindow&) {
             EXPECT_EQ(a.CurrentGas[0].Name, "CO");
             EXPECT_EQ(a.Retry, 3);
         }},
        {"gas line with a word for its number is skipped", "Gas Inst\tone\t'X'\r\nRetry\t6\r\n",
         [](const AppState& a, const PlainWindow&) {
             EXPECT_EQ(a.CurrentGas[0].Name, "");
             EXPECT_EQ(a.Retry, 6);
         }},
        {"replacement entry 10 ends the reading", "ChgGas\t2\t9\t'NH3'\r\nChgGas01\t1\t10\t'X'\r\nRetry\t6\r\n",
         [](const AppState& a, const PlainWindow&) {
             EXPECT_EQ(a.ChgGasTable[1][8].Name, "NH3");
             EXPECT_EQ(a.Retry, 3);
         }},
        {"replacement line without numbers is skipped", "ChgGas\tx\t1\t'A'\r\nChgGas01\t1\ty\t'B'\r\nRetry\t6\r\n",
         [](const AppState& a, const PlainWindow&) {
             EXPECT_EQ(a.ChgGasTable[0][0].Name, "");
             EXPECT_EQ(a.ChgGas01Table[0][0].Name, "");
             EXPECT_EQ(a.Retry, 6);
         }},
        {"short lines leave missing fields unchanged",
         "Auto Load Mode\tTRUE\tTRUE\tTRUE\r\nSize Values\t2\r\nAuto Load Mode\tfalse\r\n"
         "Gas Inst\t2\t'O2'\tTRUE\tTrue\t1\t'vol%'\t19.5\t18\t0\t0\t0.1\t25\t20.9\t20.9\t255\r\n"
         "Trend Search\t5\r\nGas Inst\t2\t'NO2'\r\n",
         [](const AppState& a, const PlainWindow& w) {
             EXPECT_EQ(w.state, 2);
             EXPECT_EQ(w.width, 100);
             EXPECT_EQ(w.height, 200);
             EXPECT_FALSE(a.AutoCalibration);
             EXPECT_TRUE(a.AutoLoad);
             EXPECT_TRUE(a.AutoRemoveData);
             EXPECT_EQ(a.TrendSearchBefore, 5);
             EXPECT_EQ(a.TrendSearchAfter, 0);
             EXPECT_EQ(a.CurrentGas[1].Name, "NO2");
             EXPECT_EQ(a.CurrentGas[1].Unit, "vol%");
             EXPECT_TRUE(a.CurrentGas[1].Enabled);
             EXPECT_EQ(a.GraphColor[1], 255);
         }},
        {"52 fields end the reading", "Retry\t4\r\nTimeout" + QByteArray("\t1").repeated(51) + "\r\nCalUnitOnWait\t10\r\n",
         [](const AppState& a, const PlainWindow&) {
             EXPECT_EQ(a.Retry, 4);
             EXPECT_EQ(a.Timeout, 3);
             EXPECT_EQ(a.CalUnitOnWait, 45);
         }},
        {"bad password ends the reading and keeps the password", "Pelkar\t\x01\x01\x01\x01\r\nRetry\t6\r\n",
         [](const AppState& a, const PlainWindow&) {
             EXPECT_EQ(a.Password, "Morva");
             EXPECT_EQ(a.Retry, 3);
         }},
        {"empty password keeps the default", "Pelkar\t\r\n",
         [](const AppState& a, const PlainWindow&) { EXPECT_EQ(a.Password, "Morva"); }},
        {"quoted font name keeps its blanks; bad size gives 9", "Font\t'Noto Sans Mono'\tbig\ttrue\r\n",
         [](const AppState& a, const PlainWindow&) {
             ASSERT_TRUE(a.DisplayFont.has_value());
             EXPECT_EQ(a.DisplayFont->Name, "Noto Sans Mono");
             EXPECT_EQ(a.DisplayFont->Size, 9.0f);
             EXPECT_TRUE(a.DisplayFont->Bold);
         }},
        {"a comment needs a TAB before it", "Retry\t5;note\r\nTimeout\t6\t;note\r\n",
         [](const AppState& a, const PlainWindow&) {
             EXPECT_EQ(a.Retry, 3);
             EXPECT_EQ(a.Timeout, 6);
         }},
        {"the later line wins; LIMITDAYS is read", "Retry\t4\r\nRetry\t7\r\nlimitdays\t30\r\n",
         [](const AppState& a, const PlainWindow&) {
             EXPECT_EQ(a.Retry, 7);
             EXPECT_EQ(a.LimitDays, 30);
         }},
        {"Serial Log File and Booleans", "Serial Log File\ton\r\nCompletely View\tyes\r\nData Select\tTrue\tx\ttrue\r\n",
         [](const AppState& a, const PlainWindow& w) {
             EXPECT_TRUE(a.SerialLogOn);
             EXPECT_FALSE(a.CompletelyView);
             EXPECT_EQ(w.chk[0], 1);
             EXPECT_EQ(w.chk[1], 0);
             EXPECT_EQ(w.chk[2], 1);
         }},
        {"float beyond range ends the reading", "Prt Width\t3\t" + QByteArray(60, '9') + "\r\nRetry\t6\r\n",
         [](const AppState& a, const PlainWindow&) {
             EXPECT_EQ(a.PrtWidth[0], 3.0f);
             EXPECT_EQ(a.PrtWidth[1], 1.0f);
             EXPECT_EQ(a.Retry, 3);
         }},
        {"LF-only line ends are read too", "Retry\t8\nTimeout\t9\n",
         [](const AppState& a, const PlainWindow&) {
             EXPECT_EQ(a.Retry, 8);
             EXPECT_EQ(a.Timeout, 9);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetAppState();
        PlainWindow w;
        w.width = 100;
        w.height = 200;
        App().WindowTarget = &w;
        StartupDefaults();
        WriteFile(home.file("Pelkar.ini"), c.text);
        ReadSettings();
        c.check(App(), w);
    }
}

TEST_F(SettingsFile, ZeroTimeoutIsWrittenAsThree)
{
    WriteFile(home.file("Pelkar.ini"), "Timeout\t0\r\nRetry\t0\r\n");
    ReadSettings();
    EXPECT_EQ(App().Timeout, 0);
    WriteSettings();
    const QByteArray text = ReadAll(home.file("Pelkar.ini"));
    EXPECT_TRUE(text.contains("\r\nTimeout\t3\r\nRetry\t3\r\n"));
    // A never-read file writes run 1, and a number from the file clears the
    // converter's device path.
    EXPECT_TRUE(text.contains("\r\nExecute Count\t1\r\n"));
    App().CommDevice = "/dev/ttyUSB0";
    WriteFile(home.file("Pelkar.ini"), "IrCOMM Num\t3\r\n");
    ReadSettings();
    EXPECT_EQ(App().CommPort, 3);
    EXPECT_EQ(App().CommDevice, "");
}

TEST_F(SettingsFile, TimeoutAndRetryAreHeldToWhatTheControlUses)
{
    struct Case {
        const char* line;
        std::int16_t timeout, retry;    // in memory after reading
        const char* written;            // as written back
    };
    const Case cases[] = {
        {"Timeout\t-5\r\nRetry\t-5\r\n", 1, 3, "\r\nTimeout\t1\r\nRetry\t3\r\n"},
        {"Timeout\t5000\r\nRetry\t32767\r\n", 3276, 32767, "\r\nTimeout\t3276\r\nRetry\t32767\r\n"},
        {"Timeout\t3276\r\nRetry\t1\r\n", 3276, 1, "\r\nTimeout\t3276\r\nRetry\t1\r\n"},
        {"Timeout\t1\r\nRetry\t9\r\n", 1, 9, "\r\nTimeout\t1\r\nRetry\t9\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        WriteFile(home.file("Pelkar.ini"), c.line);
        ReadSettings();
        EXPECT_EQ(App().Timeout, c.timeout);
        EXPECT_EQ(App().Retry, c.retry);
        WriteSettings();
        EXPECT_TRUE(ReadAll(home.file("Pelkar.ini")).contains(c.written));
    }
    // A value set in memory out of range is written in range too.
    App().Timeout = -7;
    App().Retry = -1;
    WriteSettings();
    EXPECT_TRUE(ReadAll(home.file("Pelkar.ini")).contains("\r\nTimeout\t1\r\nRetry\t3\r\n"));
}

TEST_F(SettingsFile, FirstRunIsTheStartWithoutASettingsFile)
{
    App().FirstRun = false;
    ReadSettings();
    EXPECT_TRUE(App().FirstRun);
    WriteSettings();
    ReadSettings();
    EXPECT_FALSE(App().FirstRun) << "the run that wrote the file was the first";
    // An empty file is no first run either.
    WriteFile(home.file("Pelkar.ini"), "");
    ReadSettings();
    EXPECT_FALSE(App().FirstRun);
}

TEST_F(SettingsFile, FailedWriteRaises)
{
    // A folder in place of the file cannot be replaced. The reason is told
    // in the program's language, never in the system's English.
    ASSERT_TRUE(QDir(home.path()).mkdir("Pelkar.ini"));
    EXPECT_THROW(WriteSettings(), FileWriteError);
    SetResLanguage(ResLanguage::Japanese);
    try {
        WriteSettings();
        ADD_FAILURE() << "no error";
    } catch (const FileWriteError& e) {
        EXPECT_EQ(e.Message(), GetResString(5957, home.file("Pelkar.ini"), GetResString(20208)));
    }
    SetResLanguage(ResLanguage::English);
    ASSERT_TRUE(QDir(home.path()).rmdir("Pelkar.ini"));

    WriteFile(home.file("Pelkar.ini"), "Retry\t7\r\n");
    App().ExecuteCount = 2147483647;
    WriteSettings(); // the run counter stays in range
    EXPECT_TRUE(ReadAll(home.file("Pelkar.ini")).contains("\r\nExecute Count\t2147483647\r\n"));
}
