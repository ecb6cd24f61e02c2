#include "mainwindow/startup_flags.h"

#include "common/paths.h"

#include <QLockFile>
#include <memory>

StartupFlags ParseStartupFlags(const QStringList& argumentsAfterProgram)
{
    const QString line = argumentsAfterProgram.join(QLatin1Char(' ')).toUpper();
    StartupFlags f;
    f.ServiceMode = line.contains(QLatin1String("-R"));
    f.G2Mode = line.contains(QLatin1String("-G2"));
    f.UMode = line.contains(QLatin1String("-U"));
    f.DebugMode = line.contains(QLatin1String("-DEBUG"));
    return f;
}

StartupFlags FlagsFromArguments(const QStringList& commandLine)
{
    return ParseStartupFlags(commandLine.mid(1));
}

namespace {
std::unique_ptr<QLockFile>& Lock()
{
    static std::unique_ptr<QLockFile> lock;
    return lock;
}
} // namespace

QString InstanceLockPath()
{
    return ProgramFile(QStringLiteral("Pelkar.lock"));
}

bool AcquireInstanceLock()
{
    if (Lock() && Lock()->isLocked())
        return true;
    auto lock = std::make_unique<QLockFile>(InstanceLockPath());
    // 0: a lock is never stale by age; only a dead owner frees it.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    Lock() = std::move(lock);
    return true;
}

void ReleaseInstanceLock()
{
    Lock().reset();
}
