// The program started as its own process in a fresh program folder, on the
// offscreen platform, without an instrument.
#include "temp_home.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(Program, StartsToItsMainWindowAndCreatesItsFiles)
{
    TempHome home;
    const QString shot = home.file(QStringLiteral("main.png"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PELKAR_HOME"), home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("PELKAR_SCREENSHOT"), shot);
    env.remove(QStringLiteral("PELKAR_SERIAL_PORT"));
    // A leftover log of an earlier run; the serial-log setting is off.
    QFile old(home.file(QStringLiteral("SerialLog.log")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("a line of the last run\r\n");
    old.close();

    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(QStringLiteral(PELKAR_EXE), {QStringLiteral("-debug")});
    ASSERT_TRUE(p.waitForStarted(10000));
    ASSERT_TRUE(p.waitForFinished(60000)) << "the program did not reach its main window";
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);

    EXPECT_TRUE(QFileInfo::exists(home.file(QStringLiteral("Pelkar.db"))));
    const QByteArray log = ReadFile(home.file(QStringLiteral("SerialLog.log")));
    EXPECT_TRUE(log.contains("Serial Port Standby. Date = ")) << log.toStdString();
    EXPECT_FALSE(log.contains("a line of the last run")) << "each run starts an empty serial log";
    EXPECT_FALSE(QFileInfo::exists(home.file(QStringLiteral("SerialLog1.log"))));
    const QImage image(shot);
    EXPECT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 700);
    EXPECT_FALSE(QFileInfo::exists(home.file(QStringLiteral("Pelkar.lock")))) << "the lock goes with the program";
}
