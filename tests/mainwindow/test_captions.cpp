#include "browser/data_panel.h"
#include "browser/lastcal_panel.h"
#include "common/appstate.h"
#include "common/resstrings.h"
#include "download/download_panel.h"
#include "mainwindow/frmMain.h"
#include "settings/instrument_panel.h"
#include "settings/settings_panel.h"
#include "views/view_panel.h"
#include "common/widgets/grid_writer.h"
#include "temp_home.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

// The caption as a user reads it ("&&" shows as "&").
QString Caption(const QWidget* control)
{
    QString text;
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        text = button->text();
    else if (auto* frame = qobject_cast<const QGroupBox*>(control))
        text = frame->title();
    else if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    return text.replace(QLatin1String("&&"), QLatin1String("&"));
}

class Captions : public ::testing::Test {
protected:
    void SetUp() override { ResetAppState(); }
    void TearDown() override
    {
        SetResLanguage(ResLanguage::System);
        ResetAppState();
    }
    std::unique_ptr<frmMain> Load(ResLanguage language)
    {
        SetResLanguage(language);
        auto w = std::make_unique<frmMain>();
        w->LoadCaptions();
        return w;
    }
    TempHome home;
};

} // namespace

TEST_F(Captions, EveryPanelInEnglishAndJapanese)
{
    struct Row {
        const char* control;
        const char* english;
        const char* japanese;
    };
    // A sample of each panel, including the download buttons whose ids do
    // not follow their indices.
    const std::vector<Row> rows = {
        {"cmdInst(0)", "Download", "ﾀﾞｳﾝﾛｰﾄﾞ"},
        {"cmdInst(3)", "Last Calibration", "最新校正ﾃﾞｰﾀ"},
        {"cmdInst(5)", "Exit", "終了"},
        {"fraMenu(0)", "Download", "ﾀﾞｳﾝﾛｰﾄﾞ"},
        {"lblStatus(1)", "Connect", "通信状況"},
        {"lblStatus(11)", "Filename Suffix string at Save", "記録ファイル名付加文字"},
        {"chkAutoLoad(1)", "Automatic Data Removal", "自動ﾃﾞｰﾀ消去"},
        {"cmdDown(4)", "Alarm Events", "ｱﾗｰﾑ ｲﾍﾞﾝﾄ"},
        {"cmdDown(6)", "Power Events", "電源ON/OFFイベント"},
        {"cmdDown(7)", "Clear Logger Data", "ﾛｶﾞﾃﾞｰﾀｸﾘｱ"},
        {"cmdDown(9)", "Initialize", "初期化"},
        {"cmdDown(10)", "Instrument Information Get & Save", "機器情報取得＆記録"},
        {"fraMenu(1)", "Instrument Information", "機器情報"},
        {"fraInst", "Pelkar  Status", "Pelkar  ｽﾃｰﾀｽ"},
        {"lblInst(6)", "ROM Number", "ROM番号"},
        {"lblInst(8)", "SUM", "SUM"},
        {"fraMenu(2)", "Data", "ﾃﾞｰﾀ"},
        {"chkLog(1)", "Station ID", "ｽﾃｰｼｮﾝID"},
        {"chkLog(2)", "User ID", "ﾕｰｻﾞｰID"},
        {"cmdDetail", "View Data", "ﾃﾞｰﾀ詳細"},
        {"cmdLogInst", "Instrument", "機器情報"},
        {"fraMenu(3)", "Data View", "ﾃﾞｰﾀ詳細"},
        {"chkBrowse(6)", "Cursor", "ｶｰｿﾙ"},
        {"lblTitle(1)", "Zoom", "拡大"},
        {"cmdBrowse(0)", "Print", "印刷"},
        {"cmdBrowse(4)", "Return", "戻る"},
        {"chkOutline", "Outline", "ｱｳﾄﾗｲﾝ"},
        {"fraMenu(4)", "Last Calibration", "最新校正ﾃﾞｰﾀ"},
        {"optHistory(2)", "Calibration Record", "ﾃﾞｰﾀ詳細ﾓｰﾄﾞ"},
        {"cmdLastCal", "Print", "印刷"},
        {"fraMenu(5)", "Set", "設定"},
        {"cmdOptionDisp(1)", "Graph Color - #1", "ｸﾞﾗﾌ色(#1)"},
        {"cmdOptionDisp(2)", "Graph Color - #2", "ｸﾞﾗﾌ色(#2)"},
        {"cmdModel(3)", "KV-2 Foreign", "KV-2 輸出"},
        {"lblOption(4)", "Pelkar Date/Time", "Pelkar 日時"},
        {"lblOption(7)", "Interval Trend Time (Sec)", "ｲﾝﾀｰﾊﾞﾙﾄﾚﾝﾄﾞ周期 (秒)"},
        {"cmdOption(2)", "Calibration", "校正"},
        {"fraOption(2)", "Calibration", "校正"},
        {"cmdCal(2)", "Exit Calibration", "校正終了"},
    };
    for (ResLanguage language : {ResLanguage::English, ResLanguage::Japanese}) {
        auto w = Load(language);
        const bool en = language == ResLanguage::English;
        for (const Row& row : rows) {
            const QWidget* control = w->findChild<QWidget*>(QString::fromLatin1(row.control));
            ASSERT_NE(control, nullptr) << row.control;
            EXPECT_EQ(Caption(control), QString::fromUtf8(en ? row.english : row.japanese))
                << row.control << (en ? " (English)" : " (Japanese)");
        }
        const QStringList headings = {w->Settings().vfgCal->item(0, 0)->text(), w->Settings().vfgCal->item(0, 1)->text(),
                                      w->Settings().vfgCal->item(0, 2)->text()};
        EXPECT_EQ(w->Settings().vfgCal->columnCount(), 3);
        EXPECT_EQ(headings, en ? QStringList({"Gas", "Enable", "Current Reading"})
                               : QStringList({"ｶﾞｽ", "有効", "濃度"}));
        // The stored instrument's button is not offered.
        EXPECT_FALSE(w->Data().cmdLogInst->isVisibleTo(w->Data().cmdLogInst->parentWidget()));
    }
}

TEST_F(Captions, TitleCarriesThePartNumber)
{
    struct Case {
        ResLanguage language;
        bool service;
        const char* title;
    };
    for (const Case& c : {Case{ResLanguage::English, false, "Pelkar  - Data Logger Management Program [P.No.30502]"},
                          Case{ResLanguage::Japanese, false, "Pelkar  ﾃﾞｰﾀﾛｶﾞﾏﾈｰｼﾞﾒﾝﾄﾌﾟﾛｸﾞﾗﾑ [P.No.30501]"},
                          Case{ResLanguage::English, true, "Pelkar  - Data Logger Management Program [P.No.30503]"},
                          Case{ResLanguage::Japanese, true, "Pelkar  ﾃﾞｰﾀﾛｶﾞﾏﾈｰｼﾞﾒﾝﾄﾌﾟﾛｸﾞﾗﾑ [P.No.30503]"}}) {
        App().ServiceMode = c.service;
        auto w = Load(c.language);
        EXPECT_EQ(w->windowTitle(), QString::fromUtf8(c.title));
    }
}

TEST_F(Captions, GasCheckBoxesTakeTheConfiguredNames)
{
    App().CurrentGas[0].Name = QStringLiteral("H2S");
    App().CurrentGas[1].Name = QString();
    auto w = Load(ResLanguage::English);
    EXPECT_EQ(Caption(w->View().chkBrowse(0)), "H2S");
    EXPECT_EQ(Caption(w->View().chkBrowse(1)), "");
}

TEST_F(Captions, LabelsShowTheirWholeCaption)
{
    for (ResLanguage language : {ResLanguage::English, ResLanguage::Japanese}) {
        auto w = Load(language);
        for (const QLabel* label : w->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || label->objectName().isEmpty())
                continue;
            const std::string name = label->objectName().toStdString();
            EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << name;
            const QWidget* parent = label->parentWidget();
            EXPECT_TRUE(QRect(QPoint(0, 0), parent->size()).contains(label->geometry()))
                << name << " in " << parent->objectName().toStdString();
        }
    }
}
