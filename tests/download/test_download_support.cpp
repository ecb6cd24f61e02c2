// Elapsed time, the fail-ratio line and the archiving of the serial log.
#include "common/dates.h"
#include "download/download_support.h"
#include "temp_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

TEST(DownloadSupport, ElapsedTime)
{
    const QDateTime start = MakeDate(2026, 12, 8, 1, 0, 0);
    struct Row {
        qint64 seconds;
        const char* text;
    } rows[] = {{0, "00:00:00"}, {3723, "01:02:03"}, {59, "00:00:59"},
                {25 * 3600, "01:00:00"}, {-5, "00:00:00"}};
    for (const Row& r : rows)
        EXPECT_EQ(ElapsedText(start, start.addSecs(r.seconds)), QString::fromLatin1(r.text)) << r.seconds;
}

TEST(DownloadSupport, FailRatio)
{
    EXPECT_EQ(FailRatioText(2, 1, 37), QStringLiteral("Fail ratio = (2+1)/37"));
    EXPECT_EQ(FailRatioText(0, 0, 0), QStringLiteral("Fail ratio = (0+0)/0"));
}

void WriteFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(DownloadSupport, ArchiveMovesTheLogUnderAUniqueName)
{
    TempHome home;
    const QDateTime now = MakeDate(2026, 12, 8, 1, 30, 15);

    WriteFile(home.file("SerialLog.log"), "first\r\n");
    SerialLogArchive a = ArchiveSerialLogFile(home.path(), now);
    EXPECT_TRUE(a.moved);
    EXPECT_TRUE(a.error.isEmpty());
    EXPECT_EQ(QFileInfo(a.target).fileName(), QStringLiteral("SerialLog_20261208_013015.log"));
    EXPECT_FALSE(QFileInfo::exists(home.file("SerialLog.log")));

    // A second failure in the same second keeps the first archive.
    WriteFile(home.file("SerialLog.log"), "second\r\n");
    SerialLogArchive b = ArchiveSerialLogFile(home.path(), now);
    EXPECT_TRUE(b.moved);
    EXPECT_EQ(QFileInfo(b.target).fileName(), QStringLiteral("SerialLog_20261208_013015_2.log"));
    EXPECT_EQ(ReadFile(a.target), QByteArray("first\r\n"));
    EXPECT_EQ(ReadFile(b.target), QByteArray("second\r\n"));
}

TEST(DownloadSupport, ArchiveWithoutLogOnlyMakesTheFolder)
{
    TempHome home;
    SerialLogArchive a = ArchiveSerialLogFile(home.path(), MakeDate(2026, 1, 1));
    EXPECT_FALSE(a.moved);
    EXPECT_TRUE(a.error.isEmpty());
    EXPECT_TRUE(QFileInfo(home.file("ErrorLogs")).isDir());
}

TEST(DownloadSupport, ArchiveFailureLeavesTheLogInPlace)
{
    TempHome home;
    // A file where the archive folder should be: the folder cannot be made.
    WriteFile(home.file("ErrorLogs"), "not a folder");
    WriteFile(home.file("SerialLog.log"), "kept\r\n");
    SerialLogArchive a = ArchiveSerialLogFile(home.path(), MakeDate(2026, 1, 1));
    EXPECT_FALSE(a.moved);
    EXPECT_FALSE(a.error.isEmpty());
    EXPECT_EQ(ReadFile(home.file("SerialLog.log")), QByteArray("kept\r\n"));
}

} // namespace
