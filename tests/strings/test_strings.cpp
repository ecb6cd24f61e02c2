// Checks of the two string tables themselves (resources/strings/en.tsv and
// ja.tsv) and of reading them back through the loader.

#include "common/resstrings.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <utility>
#include <vector>

// Readable failure messages for texts.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

// Every id the tables hold, as ranges of consecutive ids.
constexpr std::pair<int, int> kIdRanges[] = {
    {99, 99},       {101, 101},     {1000, 1000},   {2000, 2001},   {3000, 3001},   {4000, 4001},
    {5000, 5009},   {5012, 5012},   {5020, 5048},   {5050, 5060},   {5100, 5107},   {5150, 5164},
    {5200, 5204},   {5208, 5225},   {5250, 5254},   {5300, 5375},   {5400, 5466},   {5500, 5591},
    {5600, 5657},   {5661, 5671},   {5700, 5701},   {5710, 5712},   {5750, 5750},   {5770, 5783},
    {5800, 5800},   {5820, 5824},   {5840, 5848},   {5860, 5860},   {6000, 6020},
    {6024, 6024},   {6028, 6028},   {6032, 6032},   {6036, 6037},   {6050, 6057},   {7000, 7009},
    {7100, 7105},   {8000, 8017},   {8019, 8025},   {9001, 9001},   {10000, 10004}, {20000, 20011},
    {20014, 20015},
    {5880, 5882}, // settings: dump and DEFAULT failures
    {5940, 5968}, // details of port, database, file and printer failures
    {5980, 5980}, // printing: OK with no printer chosen
    {20120, 20121}, // the log database in use by another program
    {20130, 20131}, // a download whose blocks could not be told apart
    {20200, 20208}, // system errors in words
    {20210, 20219}, // the same as sentences of their own
};

// The first id of a group holds the group's label, the same in both tables.
const std::pair<int, const char*> kGroupLabels[] = {
    {1000, "modMain"},
    {2000, "clsAlarm"},
    {3000, "clsInstrument"},
    {4000, "clsIntervals"},
    {5000, "frmMain (Form)"},
    {5020, "frmMain_fraMenu(0)"},
    {5050, "frmMain_fraMenu(1)"},
    {5100, "frmMain_fraMenu(2)"},
    {5150, "frmMain_fraMenu(3)"},
    {5200, "frmMain_fraMenu(5)"},
    {5250, "frmMain_framenu(4)"},
    {5300, "frmMain_Msgbox"},
    {5400, "frmMain_Addinfo"},
    {5500, "frmMain_SetSerialLog"},
    {5600, "frmMain_Another(General)"},
    {5700, "frmMain_Another(Control)"},
    {6000, "frmUpload"},
    {7000, "frmPassword"},
    {7100, "frmPassword Msgbox"},
    {8000, "frmFsDialog"},
    {20000, "Common"},
};

struct Sample {
    int id;
    const char* en;
    const char* ja; // nullptr: only the English wording is pinned
};

// Texts whose exact wording other parts of the program rely on, at least a
// few per group, spelling and blanks exactly as they must stand.
const Sample kSamples[] = {
    {99, "It has already started.", nullptr},
    {101, "EN", "JP"},
    {2001, "New Data! Name - ~1", nullptr},
    {4001, "New Data! Name - ~1", nullptr},
    // main window title and menu
    {5001, "Pelkar  - Data Logger Management Program", "Pelkar  ﾃﾞｰﾀﾛｶﾞﾏﾈｰｼﾞﾒﾝﾄﾌﾟﾛｸﾞﾗﾑ"},
    {5002, "Download", "ﾀﾞｳﾝﾛｰﾄﾞ"},
    {5004, "Data", "ﾃﾞｰﾀ閲覧"},
    {5009, "Last Calibration", "最新校正ﾃﾞｰﾀ"},
    {5012, "Download State", "ﾀﾞｳﾝﾛｰﾄﾞ状況"},
    // panels
    {5026, "Serial No.(12 Characters)", "ｼﾘｱﾙ番号(12文字)"},
    {5038, "Interval Download", "ｲﾝﾀｰﾊﾞﾙ\u3000ﾄﾚﾝﾄﾞ"},
    {5045, "Power Events", "電源ON/OFFイベント"},
    {5047, "Instrument Information Get & Save", "機器情報取得＆記録"},
    {5048, "Filename Suffix string at Save", "記録ファイル名付加文字"},
    {5052, "Pelkar  Status", "Pelkar  ｽﾃｰﾀｽ"},
    {5057, "Instrument Information [No connected]", nullptr},
    {5107, "Pelkar  Data", nullptr},
    {5151, "Data View", "ﾃﾞｰﾀ詳細"},
    {5162, "Trend data not found", nullptr},
    {5204, "Graph Color - ~1", "ｸﾞﾗﾌ色(~1)"},
    {5213, "Pelkar Date/Time", "Pelkar 日時"},
    {5217, "Gas|Enable|Current Reading", "ｶﾞｽ|有効|濃度"},
    {5223, "Interval Trend Time (Sec)", "ｲﾝﾀｰﾊﾞﾙﾄﾚﾝﾄﾞ周期 (秒)"},
    {5253, "Calibration Record", "ﾃﾞｰﾀ詳細ﾓｰﾄﾞ"},
    // message boxes
    {5303, "Select automatic load mode.~cCaution! Download commands are not active.", nullptr},
    {5307, "File Found. Over Write OK?", nullptr},
    {5311, "Upload Complete.", nullptr},
    {5313, "Upload Fail.", nullptr},
    {5327, "Delete sample ~1.~cReady?", nullptr},
    {5334, "Auto data Removal.", nullptr},
    {5343, "Pelkar  Logger Data clear~cReady?", nullptr},
    {5345, "No sensors selected.~cMake selection in calibration table.", nullptr},
    {5363, "Pelkar  Initalize Ready?", nullptr},
    {5364, "Initalize", nullptr},
    {5371, "Communication Ports Error. Restart this program.", nullptr},
    {5375, "End ?", nullptr},
    // log pane
    {5405, "Pelkar  No Response. Check Port,Cable And Power.~c", nullptr},
    {5412, "Connect Sequence Pelkar  ...(~1)", nullptr},
    {5413, "Pelkar  Calibration Fail.", nullptr},
    {5419, "Interval Trend Update Database.", nullptr},
    {5430, "Pelkar  Upload Fail.", nullptr},
    {5443, "Pelkar  Interval Trend No Data.~c", nullptr},
    {5457, "Multi Gas Monitor Power Events Download.", nullptr},
    {5462, "Communication Canceled.", nullptr},
    // serial log
    {5501, "---Automatic Mode Process Start---. Date = ~1", nullptr},
    {5510, "---Automatic Mode Camplate Finished---. Date = ~1~c", nullptr},
    {5528, "---Interval Trend Download Failed. Pelkar  No response---. Date = ~1~c", nullptr},
    {5535, "---Instrument Upload Start Sequence---. Date = ~1", nullptr},
    {5541, "Serial Port Standby. Date = ~1", nullptr},
    {5543, "Flame Error. Date = ~1", nullptr},
    {5549, "R : ~1", "R : ~1"},
    {5550, "Pelkar  ...Conneted. Date = ~1", nullptr},
    {5552, "W : ~1", "W : ~1"},
    {5554, "--- All download sequence start. Date =~1 ---", nullptr},
    {5559, "--- Data Remove Failed--- Pelkar  No response. ~c", nullptr},
    {5560, "--- Current reading download time out.Date= ~1 ---~c", nullptr},
    {5570, "--- Dump List Download Finished. ---(~1[Time = ~2])~c", nullptr},
    {5590, "A date is injustice. Make it accurate time, and try again  download.", nullptr},
    {5591, "A date doesn't correspond to the host.~cConfirm a host and the date of the machine.", nullptr},
    // grid titles and labels
    {5602, "Data Browse (~1)", nullptr},
    {5603, "Sampling Date/Time: ~1 to ~2", nullptr},
    {5612, "Interval Time (sec)", nullptr},
    {5661, "No.|SerialNo|UserID|StationID|~1|~2|Last Download", nullptr},
    {5662, "No.|SerialNo|UserID|StationID|Gas|Before|After|A.Cal.", nullptr},
    {5671, "Calibration History", nullptr},
    // file dialogs
    {5701, "Comma csv (*.csv)|*.csv|Tab csv (*.csv)|*.csv|Text Comma (*.txt)|*.txt", nullptr},
    {5712, "Bitmap bmp (*.bmp)|*.bmp|", nullptr},
    {5750, "Gas(FullScale)", nullptr},
    // stored records, the port, start-up and files
    {5770, "~1 record(s) could not be stored in the database.~c", nullptr},
    {5772, "Pelkar  Logger data kept on the instrument: not everything was downloaded and stored.~c", nullptr},
    {5773, "Serial port ~1 lost (~2).~cWaiting for the converter to come back.", nullptr},
    {5774, "The program folder ~1 cannot be written, so Pelkar cannot start.~cAllow writing in the folder and start again.",
     nullptr},
    // progress window
    {6001, "Now Uploading", "送信中"},
    {6002, "Adjusting Zero", "ｾﾞﾛ校正中"},
    {6003, "Adjusting Span Settings.", "ｽﾊﾟﾝ校正中"},
    {6004, "Now Downloading", "読込み中"},
    {6005, "Cancel", "ｷｬﾝｾﾙ"},
    {6006, "Now Cancel Processing", "ｷｬﾝｾﾙ処理中です。"},
    {6028, "~1~t~2~t~3~t~4~t ... FAIL.", nullptr},
    {6056, "Download", nullptr},
    {6057, "Upload", nullptr},
    // password window
    {7001, "Continue", nullptr},
    {7009, "Input new password again.", nullptr},
    {7101, "Incorrect Password Entered", nullptr},
    {7105, "Not Changed password.", nullptr},
    // function-settings window
    {8012, "Back Light Time(Sec)", nullptr},
    {8024, "Only at power supply on", nullptr},
    // the rest
    {9001, "Return", "戻る"},
    {10000, "KV-1 Domestic", "KV-1 国内"},
    {10003, "KV-2 Foreign", "KV-2 輸出"},
    {10004, "Do you set it up as ~1 ?", nullptr},
    {20001, "Over", nullptr},
    {20004, "Alrm", nullptr},
    {20009, "Cal.", nullptr},
    {20011, "Min", nullptr},
    {20014, "More than one USB Serial Converter is connected", nullptr},
    {20015, "module finder error", nullptr},
};

QString TablePath(const char* language)
{
    return QStringLiteral(PELKAR_SOURCE_DIR "/resources/strings/%1.tsv").arg(QLatin1String(language));
}

// Reads one table strictly; every deviation from the file format is recorded.
struct TableFile {
    std::map<int, QString> texts;
    QStringList problems;
};

TableFile ReadTable(const char* language)
{
    TableFile t;
    QFile f(TablePath(language));
    if (!f.open(QIODevice::ReadOnly)) {
        t.problems << QStringLiteral("cannot open %1").arg(f.fileName());
        return t;
    }
    const QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        t.problems << QStringLiteral("byte order mark");
    if (bytes.contains('\r'))
        t.problems << QStringLiteral("CR in the file");
    if (!bytes.endsWith('\n'))
        t.problems << QStringLiteral("last line without LF");
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        t.problems << QStringLiteral("not valid UTF-8");
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    static const QRegularExpression shape(QStringLiteral("^([0-9]+)\\t([^\\t]*)$"));
    for (const QString& line : lines) {
        const QRegularExpressionMatch m = shape.match(line);
        if (!m.hasMatch()) {
            t.problems << QStringLiteral("bad line: %1").arg(line);
            continue;
        }
        const int id = m.captured(1).toInt();
        if (!t.texts.emplace(id, m.captured(2)).second)
            t.problems << QStringLiteral("id %1 twice").arg(id);
    }
    return t;
}

const TableFile& English()
{
    static const TableFile t = ReadTable("en");
    return t;
}

const TableFile& Japanese()
{
    static const TableFile t = ReadTable("ja");
    return t;
}

std::vector<int> ExpectedIds()
{
    std::vector<int> ids;
    for (auto [first, last] : kIdRanges)
        for (int id = first; id <= last; ++id)
            ids.push_back(id);
    std::sort(ids.begin(), ids.end());
    return ids;
}

std::vector<int> IdsOf(const TableFile& t)
{
    std::vector<int> ids;
    for (const auto& [id, text] : t.texts)
        ids.push_back(id);
    return ids;
}

// The placeholders of a text in order of appearance: "~" and the next
// character each.
QStringList Placeholders(const QString& text)
{
    QStringList out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('~')) {
            out << text.mid(i, 2);
            ++i;
        }
    }
    out.sort();
    return out;
}

QString At(const TableFile& t, int id)
{
    auto it = t.texts.find(id);
    return it == t.texts.end() ? QStringLiteral("<missing>") : it->second;
}

} // namespace

TEST(StringTables, FilesAreWellFormed)
{
    EXPECT_TRUE(English().problems.isEmpty()) << English().problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(Japanese().problems.isEmpty()) << Japanese().problems.join(QLatin1Char('\n')).toStdString();
}

TEST(StringTables, BothHoldExactlyTheListedIds)
{
    const std::vector<int> expected = ExpectedIds();
    ASSERT_EQ(expected.size(), 602u);
    EXPECT_EQ(IdsOf(English()), expected);
    EXPECT_EQ(IdsOf(Japanese()), expected);
}

TEST(StringTables, LanguageTag)
{
    EXPECT_EQ(At(English(), 101), QStringLiteral("EN"));
    EXPECT_EQ(At(Japanese(), 101), QStringLiteral("JP"));
}

TEST(StringTables, PlaceholdersAreValidAndMatchBetweenLanguages)
{
    static const QSet<QString> allowed = {QStringLiteral("~1"), QStringLiteral("~2"), QStringLiteral("~3"),
                                          QStringLiteral("~4"), QStringLiteral("~c"), QStringLiteral("~t")};
    for (const auto& [id, en] : English().texts) {
        const QString ja = At(Japanese(), id);
        for (const QString& text : {en, ja}) {
            EXPECT_FALSE(text.endsWith(QLatin1Char('~'))) << id;
            for (const QString& p : Placeholders(text))
                EXPECT_TRUE(allowed.contains(p)) << id << " has " << p.toStdString();
        }
        EXPECT_EQ(Placeholders(en), Placeholders(ja)) << id << ": " << en.toStdString() << " / " << ja.toStdString();
        // Grid header formats and file-dialog filters are "|"-separated
        // fields; both languages must give the same number of fields.
        EXPECT_EQ(en.count(QLatin1Char('|')), ja.count(QLatin1Char('|'))) << id;
        EXPECT_FALSE(en.trimmed().isEmpty()) << id;
        EXPECT_FALSE(ja.trimmed().isEmpty()) << id;
    }
}

TEST(StringTables, GroupLabels)
{
    for (auto [id, label] : kGroupLabels) {
        EXPECT_EQ(At(English(), id), QString::fromUtf8(label)) << id;
        EXPECT_EQ(At(Japanese(), id), QString::fromUtf8(label)) << id;
    }
}

TEST(StringTables, SampleTextsExactly)
{
    for (const Sample& s : kSamples) {
        EXPECT_EQ(At(English(), s.id), QString::fromUtf8(s.en)) << s.id;
        if (s.ja) {
            EXPECT_EQ(At(Japanese(), s.id), QString::fromUtf8(s.ja)) << s.id;
        }
    }
}

// Code tells these texts apart by comparing them (the password window's
// steps by its button caption, the function-settings choices by the chosen
// entry), so within one language they must all differ.
TEST(StringTables, TextsCompareDistinctWhereCodeTellsThemApart)
{
    const std::vector<std::vector<int>> sets = {
        {7002, 7007, 7003, 7004}, {8016, 8017}, {8019, 8020}, {8021, 8022}, {8023, 8024, 8025}};
    for (const TableFile* t : {&English(), &Japanese()}) {
        for (const auto& ids : sets) {
            QSet<QString> seen;
            for (int id : ids)
                seen.insert(At(*t, id));
            EXPECT_EQ(seen.size(), qsizetype(ids.size())) << "ids from " << ids.front();
        }
    }
}

class StringTablesThroughLoader : public ::testing::Test {
protected:
    void SetUp() override { ResetResTables(); }
    void TearDown() override
    {
        SetResLanguage(ResLanguage::System);
        ResetResTables();
    }
};

// The tables built into the program are the files above, text for text.
TEST_F(StringTablesThroughLoader, EveryTextLoadsAsInTheFile)
{
    for (auto [language, file] :
         {std::pair{ResLanguage::English, &English()}, std::pair{ResLanguage::Japanese, &Japanese()}}) {
        SetResLanguage(language);
        for (const auto& [id, text] : file->texts)
            EXPECT_EQ(GetResStringV(id), ExpandResText(text, {})) << id;
    }
}

TEST_F(StringTablesThroughLoader, SamplesExpanded)
{
    SetResLanguage(ResLanguage::English);
    EXPECT_EQ(GetResString(101), QStringLiteral("EN"));
    EXPECT_EQ(GetResString(5001), QStringLiteral("Pelkar  - Data Logger Management Program"));
    EXPECT_EQ(GetResString(5204, "#1"), QStringLiteral("Graph Color - #1"));
    EXPECT_EQ(GetResString(5412, 3), QStringLiteral("Connect Sequence Pelkar  ...(3)"));
    EXPECT_EQ(GetResString(5343), QStringLiteral("Pelkar  Logger Data clear\r\nReady?"));
    EXPECT_EQ(GetResString(5603, "a", "b"), QStringLiteral("Sampling Date/Time: a to b"));
    EXPECT_EQ(GetResString(6028, "1", "2", "3", "4"), QStringLiteral("1\t2\t3\t4\t ... FAIL."));

    SetResLanguage(ResLanguage::Japanese);
    EXPECT_EQ(GetResString(101), QStringLiteral("JP"));
    EXPECT_EQ(GetResString(5001), QStringLiteral("Pelkar  ﾃﾞｰﾀﾛｶﾞﾏﾈｰｼﾞﾒﾝﾄﾌﾟﾛｸﾞﾗﾑ"));
    EXPECT_EQ(GetResString(5204, "#2"), QStringLiteral("ｸﾞﾗﾌ色(#2)"));
    EXPECT_EQ(GetResString(5217), QStringLiteral("ｶﾞｽ|有効|濃度"));
    EXPECT_EQ(GetResString(6006), QStringLiteral("ｷｬﾝｾﾙ処理中です。"));
    EXPECT_EQ(GetResString(6028, "1", "2", "3", "4"), QStringLiteral("1\t2\t3\t4\t ... 失敗."));
}
