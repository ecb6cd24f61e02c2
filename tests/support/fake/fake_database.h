#pragma once
#include <QSqlDatabase>
#include <QString>

// A log database that refuses what a download writes, the way a user meets
// it. A fault is switched on when the object is made and lifted when it
// goes (or by Lift), so a test can look at the file afterwards.
class FakeDatabaseFault {
public:
    enum class Fault {
        // Another program (a backup tool, a second reader) holds the file
        // with a write lock for as long as the fault lasts.
        LockedByAnotherProgram,
        // The file cannot be written. Under a user whom permissions do not
        // stop (root), the file's header marks it read-only instead, which
        // the engine honours the same way.
        ReadOnlyFile,
        // The engine aborts the insert of the second interval trend's head
        // row, as a full disk would, while one interval trend is stored.
        SecondIntervalRefused,
        // Another program holds the file open in a read of its own (its
        // read transaction stays open): a write can be prepared, but its
        // commit is refused for as long as the fault lasts.
        ReadByAnotherProgram,
    };

    // path: an existing log database.
    FakeDatabaseFault(Fault fault, const QString& path);
    ~FakeDatabaseFault();
    FakeDatabaseFault(const FakeDatabaseFault&) = delete;
    FakeDatabaseFault& operator=(const FakeDatabaseFault&) = delete;

    // True when the fault took effect.
    bool Active() const { return m_active; }
    void Lift();

    static const char* Name(Fault fault);

private:
    Fault m_fault;
    QString m_path;
    QString m_connection;
    QSqlDatabase m_holder;
    bool m_active = false;
    bool m_headerMarked = false;
};
