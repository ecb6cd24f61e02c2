#include "mainwindow/startup_flags.h"

#include "common/appstate.h"
#include "common/paths.h"
#include "common/resstrings.h"

#include <QLockFile>
#include <memory>

StartupFlags FlagsFromArguments(const QStringList& commandLine)
{
    const QString line = commandLine.mid(1).join(QLatin1Char(' ')).toUpper();
    StartupFlags f;
    f.ServiceMode = line.contains(QLatin1String("-R"));
    f.G2Mode = line.contains(QLatin1String("-G2"));
    f.UMode = line.contains(QLatin1String("-U"));
    f.DebugMode = line.contains(QLatin1String("-DEBUG"));
    return f;
}

int PartNumber()
{
    if (App().ServiceMode)
        return 30503;
    return GetResString(101) == QLatin1String("JP") ? 30501 : 30502;
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

InstanceLock AcquireInstanceLock()
{
    if (Lock() && Lock()->isLocked())
        return InstanceLock::Taken;
    auto lock = std::make_unique<QLockFile>(InstanceLockPath());
    // 0: a lock is never stale by age; only a dead owner frees it.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        // Only a lock that exists and has a live owner means another copy.
        return lock->error() == QLockFile::LockFailedError ? InstanceLock::HeldByAnother
                                                           : InstanceLock::FolderNotWritable;
    }
    Lock() = std::move(lock);
    return InstanceLock::Taken;
}

void ReleaseInstanceLock()
{
    Lock().reset();
}
