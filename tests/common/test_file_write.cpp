// The rule every written file follows: its data must be seen to reach the
// file before the write counts, so a full disk keeps the old content whole
// and leaves no empty or partial file. Faults come through the write seam;
// one case writes to a device that is always full.
#include "common/clock.h"
#include "common/dates.h"
#include "common/file_write.h"
#include "common/resstrings.h"
#include "common/serial_log.h"
#include "common/system_error.h"
#include "temp_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <gtest/gtest.h>

namespace {

void WriteFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(data), data.size());
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Fails the writes (every path) with flushError, a rename with renameError,
// for one scope.
class Fault {
public:
    explicit Fault(int flushError, int renameError = 0)
    {
        SetWriteFault([flushError, renameError](WriteStep step, const QString&) {
            return step == WriteStep::Rename ? renameError : flushError;
        });
    }
    ~Fault() { SetWriteFault({}); }
    Fault(const Fault&) = delete;
    Fault& operator=(const Fault&) = delete;
};

const QString kDiskFull = qt_error_string(ENOSPC);

TEST(FileWrite, WholeFileWritesKeepTheOldFileOnAFullDisk)
{
    TempHome home;
    const QString path = home.file("target.txt");
    WriteFile(path, "old\r\n");
    QString error;

    // Through SaveWholeFile and through a caller's own QSaveFile.
    {
        Fault full(ENOSPC);
        EXPECT_FALSE(SaveWholeFile(path, QByteArray(500, 'n'), &error));
        EXPECT_EQ(error, kDiskFull);
        error.clear();
        QSaveFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("new");
        EXPECT_FALSE(CommitSaveFile(file, &error));
        EXPECT_EQ(error, kDiskFull);
    }
    EXPECT_EQ(ReadFile(path), QByteArray("old\r\n"));
    EXPECT_EQ(Entries(home.path()), QStringList{"target.txt"}); // no temporary file left

    // Without the fault the new content replaces the old.
    EXPECT_TRUE(SaveWholeFile(path, "new\r\n", &error));
    EXPECT_EQ(ReadFile(path), QByteArray("new\r\n"));
    EXPECT_EQ(Entries(home.path()), QStringList{"target.txt"});
}

TEST(FileWrite, AnAppendThatFailsLeavesNoPartOfItsLine)
{
    struct Case {
        const char* name;
        bool exists;
        AppendMode mode;
    } cases[] = {
        {"append to an old file", true, AppendMode::Append},
        {"append creating the file", false, AppendMode::Append},
        {"create a new file", false, AppendMode::CreateNew},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempHome home;
        const QString path = home.file("log.csv");
        if (c.exists)
            WriteFile(path, "line 1\r\n");
        QString error;
        {
            // The line reaches the file; the fault then fails it.
            Fault full(ENOSPC);
            EXPECT_FALSE(AppendToFile(path, "line 2\r\n", &error, c.mode));
        }
        EXPECT_EQ(error, kDiskFull);
        EXPECT_EQ(QFileInfo::exists(path), c.exists); // no empty file is left
        EXPECT_EQ(ReadFile(path), c.exists ? QByteArray("line 1\r\n") : QByteArray());
        EXPECT_TRUE(AppendToFile(path, "line 3\r\n", &error, c.mode));
        EXPECT_EQ(ReadFile(path), c.exists ? QByteArray("line 1\r\nline 3\r\n") : QByteArray("line 3\r\n"));
    }
    // A new file only: an existing one is left alone.
    TempHome home;
    WriteFile(home.file("old.csv"), "kept");
    QString error;
    EXPECT_FALSE(AppendToFile(home.file("old.csv"), "x", &error, AppendMode::CreateNew));
    EXPECT_EQ(ReadFile(home.file("old.csv")), QByteArray("kept"));
}

TEST(FileWrite, AlwaysFullDeviceGivesTheFullDiskInWords)
{
    ASSERT_TRUE(QFileInfo::exists(QStringLiteral("/dev/full"))) << "the test needs the always-full device /dev/full";
    QString error;
    EXPECT_FALSE(AppendToFile(QStringLiteral("/dev/full"), QByteArray(8192, 'x'), &error));
    for (ResLanguage language : {ResLanguage::English, ResLanguage::Japanese}) {
        SetResLanguage(language);
        EXPECT_EQ(SystemErrorWords(error), GetResString(20205));
    }
    SetResLanguage(ResLanguage::English);
}

TEST(FileWrite, MoveAcrossFileSystemsRemovesTheSourceOnlyAfterAWholeCopy)
{
    TempHome home;
    ASSERT_TRUE(QDir().mkpath(home.file("archive")));
    const QString source = home.file("SerialLog.log");
    const QString target = home.file("archive/SerialLog_1.log");
    QString error;

    // A plain rename.
    WriteFile(source, "one\r\n");
    EXPECT_TRUE(MoveFileChecked(source, target, &error));
    EXPECT_FALSE(QFileInfo::exists(source));
    EXPECT_EQ(ReadFile(target), QByteArray("one\r\n"));
    ASSERT_TRUE(QFile::remove(target));

    // Another file system: a copy, then the source goes.
    WriteFile(source, "two\r\n");
    {
        Fault otherDisk(0, EXDEV);
        EXPECT_TRUE(MoveFileChecked(source, target, &error));
    }
    EXPECT_FALSE(QFileInfo::exists(source));
    EXPECT_EQ(ReadFile(target), QByteArray("two\r\n"));
    ASSERT_TRUE(QFile::remove(target));

    // The other file system is full, or the rename itself finds no room:
    // the source stays whole and nothing stands under the target's name.
    for (const int renameError : {EXDEV, ENOSPC}) {
        SCOPED_TRACE(renameError);
        WriteFile(source, "three\r\n");
        {
            Fault full(ENOSPC, renameError);
            EXPECT_FALSE(MoveFileChecked(source, target, &error));
        }
        EXPECT_EQ(error, kDiskFull);
        EXPECT_EQ(ReadFile(source), QByteArray("three\r\n"));
        EXPECT_TRUE(Entries(home.file("archive")).isEmpty());
    }
}

TEST(FileWrite, AFileWrittenElsewhereCountsOnlyWhenItEndsInItsTail)
{
    TempHome home;
    const QString path = home.file("report.pdf");
    QString error;
    WriteFile(path, "%PDF-1.4\n...\nstartxref\n123\n%%EOF\n");
    EXPECT_TRUE(CheckWrittenFile(path, "%%EOF", &error));
    // Cut short: a failure, with a reason.
    WriteFile(path, "%PDF-1.4\n...\nstartx");
    EXPECT_FALSE(CheckWrittenFile(path, "%%EOF", &error));
    EXPECT_FALSE(error.isEmpty());
    {
        Fault full(ENOSPC);
        WriteFile(path, "%PDF-1.4\n%%EOF\n");
        EXPECT_FALSE(CheckWrittenFile(path, "%%EOF", &error));
        EXPECT_EQ(error, kDiskFull);
    }
}

// The sync that brings a file's data to the disk fails the write only with
// an error that says the data may not be there; a file system that cannot
// sync at all (EINVAL, ENOTSUP) has the data as far as it can take them.
TEST(FileWrite, OnlyASyncThatLosesDataFailsTheWrite)
{
    const struct Case {
        int syncError;
        bool written;
    } cases[] = {{EINVAL, true}, {ENOTSUP, true}, {EIO, false}, {ENOSPC, false}, {EDQUOT, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(qt_error_string(c.syncError).toStdString());
        TempHome home;
        SetWriteFault([&c](WriteStep step, const QString&) { return step == WriteStep::Sync ? c.syncError : 0; });
        const QString path = home.file("Pelkar.ini");
        WriteFile(path, "old\r\n");
        QString error;
        EXPECT_EQ(SaveWholeFile(path, "new\r\n", &error), c.written);
        EXPECT_EQ(ReadFile(path), c.written ? QByteArray("new\r\n") : QByteArray("old\r\n"));
        EXPECT_EQ(Entries(home.path()), QStringList{"Pelkar.ini"});

        // A file another writer made is checked by the same rule.
        const QString report = home.file("report.pdf");
        WriteFile(report, "%PDF-1.4\n%%EOF\n");
        error.clear();
        EXPECT_EQ(CheckWrittenFile(report, "%%EOF", &error), c.written);
        EXPECT_EQ(error, c.written ? QString() : qt_error_string(c.syncError));
        SetWriteFault({});
    }
}

TEST(FileWrite, SerialLogFailureIsToldOnceUntilALineIsWrittenAgain)
{
    TempHome home;
    SetResLanguage(ResLanguage::English);
    QStringList told;
    SetSerialLogFailureReport([&told](const QString& text) { told << text; });
    const QString path = SerialLogPath();
    const QDateTime t = MakeDate(2026, 1, 2, 3, 4, 5);
    ASSERT_TRUE(AppendSerialLogLine(path, t, "first"));
    {
        Fault full(ENOSPC);
        EXPECT_FALSE(AppendSerialLogLine(path, t, "lost 1"));
        EXPECT_FALSE(AppendSerialLogLine(path, t, "lost 2"));
        // SystemErrorText writes to the same log: no second report either.
        EXPECT_EQ(SystemErrorText(kDiskFull), GetResString(20205));
    }
    ASSERT_EQ(told.size(), 1);
    EXPECT_EQ(told[0], GetResString(5957, QDir::toNativeSeparators(path), GetResString(20205)));
    EXPECT_TRUE(told[0].endsWith(QStringLiteral("the disk is full.")));
    // Only whole lines stand in the log.
    EXPECT_EQ(ReadFile(path), QByteArray("03:04:05 first\r\n"));

    // Written again, then full again: told again.
    ASSERT_TRUE(AppendSerialLogLine(path, t, "second"));
    {
        Fault full(ENOSPC);
        EXPECT_FALSE(AppendSerialLogLine(path, t, "lost 3"));
    }
    EXPECT_EQ(told.size(), 2);
    EXPECT_EQ(ReadFile(path), QByteArray("03:04:05 first\r\n03:04:05 second\r\n"));
    SetSerialLogFailureReport({});
}

} // namespace
