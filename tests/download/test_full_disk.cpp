// Every file the program writes, written to a full disk: the settings file,
// the CSV and bitmap exports, the dump listing, the settings audit log, the
// serial log and its archive. Each keeps its old content, leaves no empty,
// partial or temporary file, and says that the disk is full, in English and
// Japanese; a text the user reads in a box or in the log pane ends as a
// sentence. The disk is made full through the write seam
// (common/file_write.h).
#include "common/clock.h"
#include "common/dates.h"
#include "common/errors.h"
#include "common/file_write.h"
#include "common/resstrings.h"
#include "common/serial_log.h"
#include "common/settingsfile.h"
#include "download/audit_log.h"
#include "download/download_support.h"
#include "link_fixture.h"
#include "records/instrument.h"
#include "scripted_prompt.h"
#include "views/view_actions.h"

#include <QDir>
#include <QImage>

#include <cerrno>

namespace {

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(data), data.size());
}

// Every file below the folder, with its size.
QStringList Listing(const QString& folder)
{
    QStringList out;
    QDir dir(folder);
    for (const QFileInfo& f :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)) {
        if (f.isDir())
            for (const QString& inner : Listing(f.filePath()))
                out << f.fileName() + QLatin1Char('/') + inner;
        else
            out << QStringLiteral("%1 %2").arg(f.fileName()).arg(f.size());
    }
    return out;
}

// The last line of a text ends as a sentence: a capital letter and a full
// stop in English, "。" in Japanese.
bool EndsAsSentence(const QString& text, ResLanguage language)
{
    const QString last = text.split(QStringLiteral("\r\n")).last();
    if (language == ResLanguage::Japanese)
        return last.endsWith(QChar(0x3002));
    return !last.isEmpty() && last.front().isUpper() && last.endsWith(QLatin1Char('.'));
}

class FullDisk : public LinkFixture, public ::testing::WithParamInterface<ResLanguage> {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        SetResLanguage(GetParam());
        SetClock([] { return MakeDate(2026, 3, 5, 14, 7, 9); });
    }
    void TearDown() override
    {
        SetWriteFault({});
        SetSerialLogFailureReport({});
        SetClock({});
        SetResLanguage(ResLanguage::English);
        LinkFixture::TearDown();
    }
    // From now on every write finds the disk full; a file moved to another
    // file system is copied (onto the full disk).
    static void FillDisk()
    {
        SetWriteFault([](WriteStep step, const QString&) { return step == WriteStep::Rename ? EXDEV : ENOSPC; });
    }

    ScriptedPrompt prompt;
};

// Exports a record through the Export command, answering the questions; the
// last box's text is what the user is told.
QString Export(ScriptedPrompt& prompt, const QString& path, bool graph)
{
    prompt.ExpectFile(path);
    prompt.ExpectBox(MsgResult::Yes); // overwrite the old file
    prompt.ExpectBox(MsgResult::Ok);  // the failure
    QString last;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ExportRecord(graph, last, [](const QString& sep) { return QStringLiteral("No") + sep + QStringLiteral("CO"); },
                 picture);
    EXPECT_TRUE(prompt.AllUsed());
    EXPECT_TRUE(last.isEmpty()); // not remembered as exported
    EXPECT_EQ(prompt.boxes.last().icon, MsgIcon::Critical);
    return prompt.boxes.isEmpty() ? QString() : prompt.boxes.last().text;
}

TEST_P(FullDisk, EveryWriterKeepsTheOldFileAndSaysTheDiskIsFull)
{
    struct Writer {
        const char* name;
        const char* file; // the target, in the program folder
        bool read;        // told in a box or a line of the log pane (else
                          // inside a serial-log line "---...---")
        // Runs before the disk fills (the old file is in place already).
        std::function<void()> prepare;
        // Writes on the full disk; gives what was reported.
        std::function<QString()> write;
    };
    const Writer writers[] = {
        {"settings file", "Pelkar.ini", true, {},
         [] {
             try {
                 WriteSettings();
             } catch (const FileWriteError& e) {
                 return e.Message();
             }
             return QString();
         }},
        {"CSV export", "Export.csv", true, {},
         [this] { return Export(prompt, home.file("Export.csv"), false); }},
        {"bitmap export", "Graph.bmp", true, {},
         [this] { return Export(prompt, home.file("Graph.bmp"), true); }},
        {"dump listing", "Dump.dat", true,
         [this] {
             Connect();
             fake.SetDump("EP,R,", QByteArray(300, '\x41'));
         },
         [this] {
             EXPECT_FALSE(ctl->GetRomDump(home.file("Dump.dat")));
             EXPECT_EQ(fake.Commands().size(), 2); // the whole dump was read
             return ctl->DumpFileError();
         }},
        {"settings audit log", "Pelkar_Setting.csv", false, {},
         [] {
             clsInstrument inst;
             inst.SetSerialNo(QStringLiteral("SN1"));
             QString error;
             EXPECT_FALSE(AppendSettingsAudit(inst, QString(), Now(), &error));
             return error;
         }},
        {"serial log", "SerialLog.log", true, {},
         [] {
             QString told;
             SetSerialLogFailureReport([&told](const QString& text) { told = text; });
             EXPECT_FALSE(AppendSerialLogLine(SerialLogPath(), Now(), QStringLiteral("a new line")));
             SetSerialLogFailureReport({});
             return told;
         }},
        {"serial log archive", "SerialLog.log", false, {},
         [this] {
             const SerialLogArchive archive = ArchiveSerialLogFile(home.path(), Now());
             EXPECT_FALSE(archive.moved);
             return archive.error;
         }},
    };
    // Inside a sentence, or a sentence of its own.
    const QString diskFull = GetResString(20205);
    const QString diskFullSentence = GetResString(20215);
    if (GetParam() == ResLanguage::English) {
        ASSERT_EQ(diskFull, QStringLiteral("the disk is full"));
        ASSERT_EQ(diskFullSentence, QStringLiteral("The disk is full."));
    }
    for (const Writer& w : writers) {
        SCOPED_TRACE(w.name);
        const QString target = home.file(QString::fromLatin1(w.file));
        if (w.prepare)
            w.prepare();
        const QByteArray old = QByteArray("the old content of ") + w.file + "\r\n";
        WriteFile(target, old);
        const QStringList before = Listing(home.path());

        FillDisk();
        const QString told = w.write();
        SetWriteFault({});

        EXPECT_EQ(ReadFile(target), old);
        // No empty, partial or temporary file anywhere in the folder.
        EXPECT_EQ(Listing(home.path()), before);
        EXPECT_TRUE(told.contains(diskFull) || told.contains(diskFullSentence)) << told.toStdString();
        if (w.read) {
            EXPECT_TRUE(EndsAsSentence(told, GetParam())) << told.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, FullDisk, ::testing::Values(ResLanguage::English, ResLanguage::Japanese),
                         [](const ::testing::TestParamInfo<ResLanguage>& info) {
                             return info.param == ResLanguage::English ? "EN" : "JA";
                         });

} // namespace
