// The log database held locked by another program (a write of its own
// open) before the program starts, with a tree level ticked in the
// settings file so the start-up reads the database: the start is not held
// up, the pane says in plain words which database is in use, and the
// automatic mode serves the instrument to its power-off, storing nothing
// and keeping the logger's data; a complete download by hand stops at the
// first step and says so.
#include "download/download_panel.h"
#include "download_fixture.h"
#include "fake_database.h"
#include "fake_records.h"
#include "linked_window_fixture.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>

namespace {

QByteArray FileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

class LockedDatabase : public LinkedWindowTest {
protected:
    void SetUp() override
    {
        LinkedWindowTest::SetUp();
        fake.SetRecordLines("DR,R,", IntervalLines(MakeIntervalTrend(1, MakeDate(2024, 3, 5, 8, 0, 0), 30)));
        fake.SetRecordLines("DJ,R,", AlarmLines(MakeAlarmTrend(1, MakeDate(2024, 3, 5, 10, 0, 0))));
        App().AutoLoad = true;
        App().AutoRemoveData = true;
        CreateLogDatabase(LogDatabasePath());
        QFile ini(home.file(QStringLiteral("Pelkar.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("Data Select\tTrue\tFalse\tFalse\r\n");
    }
};

TEST_F(LockedDatabase, StartsAtOnceAndTheAutomaticRunKeepsTheLogger)
{
    const QString db = LogDatabasePath();
    const QByteArray before = FileHash(db);
    // Another program's connection holding the database with an open
    // exclusive write.
    FakeDatabaseFault other(FakeDatabaseFault::Fault::LockedByAnotherProgram, db);
    ASSERT_TRUE(other.Active());

    QDeadlineTimer probeDeadline(15000);
    window->Form_Load();
    // Told at once in the pane, without a box; the statement refused goes
    // to the serial log only.
    const QString inUse = QStringLiteral("The database %1 is in use by another program. Downloaded data cannot "
                                         "be stored until that program closes it.")
                              .arg(QDir::toNativeSeparators(db));
    EXPECT_EQ(PaneTexts(*window), QStringList{inUse});
    EXPECT_TRUE(SerialLog().contains(QStringLiteral("database is locked"))) << SerialLog().toStdString();
    // The instrument hears from the program within 15 s of the start.
    EXPECT_TRUE(WaitFor([this] { return !fake.Frames().isEmpty(); },
                        static_cast<int>(std::max<qint64>(0, probeDeadline.remainingTime()))))
        << "no probe within 15 s";

    ASSERT_TRUE(WaitFor([this] { return fake.CommandState().poweredOff; }, 120000)) << SerialLog().toStdString();
    EXPECT_TRUE(prompt.boxes.isEmpty());
    EXPECT_FALSE(fake.Commands().contains(QByteArray("XC,E,")));
    EXPECT_FALSE(fake.CommandState().loggerCleared);
    EXPECT_TRUE(PaneTexts(*window).contains(
        QStringLiteral("Pelkar  Logger data kept on the instrument: not everything was downloaded and stored.")))
        << PaneTexts(*window).join('\n').toStdString();
    for (const QString& line : PaneTexts(*window))
        EXPECT_FALSE(line.contains(QStringLiteral("locked"), Qt::CaseInsensitive)) << line.toStdString();

    other.Lift();
    EXPECT_EQ(FileHash(db), before);
}

// A complete download by hand: the first step cannot store its records, the
// steps after it are skipped, and the pane ends in a red line that says the
// download stopped and why, in either language.
class LockedDatabaseDownload : public LockedDatabase, public ::testing::WithParamInterface<ResLanguage> {};

TEST_P(LockedDatabaseDownload, StopsWithALineThatSaysSo)
{
    SetResLanguage(GetParam());
    App().AutoLoad = false;
    App().AutoRemoveData = false;
    ServeCalibrationAndPowerEvents();
    FakeDatabaseFault other(FakeDatabaseFault::Fault::LockedByAnotherProgram, LogDatabasePath());
    ASSERT_TRUE(other.Active());
    ASSERT_TRUE(LoadAndWaitForConnection());
    window->Download().cmdDown(0)->click();
    ASSERT_TRUE(WaitFor([this] { return window->Download().cmdDown(0)->isEnabled() && App().ProcessState == 0; },
                        60000));

    const QStringList pane = PaneTexts(*window);
    const QString stopped = GetResString(5782).trimmed();
    const qsizetype at = pane.indexOf(stopped);
    ASSERT_GE(at, 1) << pane.join('\n').toStdString();
    EXPECT_EQ(PaneColor(*window, stopped), RGB(255, 0, 0));
    // Just before it, how many records were not stored; after it only the
    // check of the instrument's clock, which follows every command.
    bool counted = false;
    for (int n = 1; n <= 10; ++n)
        counted = counted || pane[at - 1] == GetResString(5770, n).trimmed();
    EXPECT_TRUE(counted) << pane[at - 1].toStdString();
    const QStringList clockCheck = GetResString(5591).split(QStringLiteral("\r\n"));
    for (const QString& line : pane.sliced(at + 1))
        EXPECT_TRUE(clockCheck.contains(line)) << line.toStdString();
    EXPECT_FALSE(fake.Commands().contains(QByteArray("DJ,R,"))) << "no step after the failed one";
    EXPECT_TRUE(prompt.boxes.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Languages, LockedDatabaseDownload,
                         ::testing::Values(ResLanguage::English, ResLanguage::Japanese),
                         [](const ::testing::TestParamInfo<ResLanguage>& info) {
                             return info.param == ResLanguage::English ? "EN" : "JA";
                         });

} // namespace
