#pragma once
#include <QString>
#include <QStringList>

// The four command-line flags. Each is a plain substring test of the
// upper-cased arguments, so "-r", "-Rx" and "/x-r" all set the service mode.
// Only the arguments after the program's own path count: an install path
// that holds "-r" never switches a mode on.
struct StartupFlags {
    bool ServiceMode = false; // "-R"
    bool G2Mode = false;      // "-G2"
    bool UMode = false;       // "-U"
    bool DebugMode = false;   // "-DEBUG"
};

// The flags of a whole command line (the program's own path first, which is
// left out).
StartupFlags FlagsFromArguments(const QStringList& commandLine);

// The program's part number, shown on the splash and in the main window's
// title: 30503 in service mode, otherwise 30501 with the Japanese string
// table and 30502 with any other.
int PartNumber();

// The one running copy of the program: a lock file in the program's folder,
// taken without waiting. A lock left by a copy that died is detected by its
// process id and taken over; a live copy keeps its lock however long it runs.
enum class InstanceLock {
    Taken,            // this copy runs
    HeldByAnother,    // another running copy holds the lock
    FolderNotWritable // no lock file can be made in the program's folder
};
InstanceLock AcquireInstanceLock();
// Drops the lock (at exit, and between tests).
void ReleaseInstanceLock();
// The lock file's path.
QString InstanceLockPath();
