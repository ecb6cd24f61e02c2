#include "fake_database.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QUuid>

namespace {

// Byte 18 of an SQLite file is its write version; above 2 the engine opens
// the file read-only.
constexpr qint64 kWriteVersionOffset = 18;

bool SetWriteVersion(const QString& path, char version)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite) || !f.seek(kWriteVersionOffset))
        return false;
    return f.write(&version, 1) == 1;
}

bool Exec(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    return q.exec(sql);
}

} // namespace

const char* FakeDatabaseFault::Name(Fault fault)
{
    switch (fault) {
    case Fault::LockedByAnotherProgram:
        return "locked by another program";
    case Fault::ReadOnlyFile:
        return "read-only file";
    case Fault::SecondIntervalRefused:
        return "second interval trend refused";
    case Fault::ReadByAnotherProgram:
        return "read by another program";
    }
    return "?";
}

FakeDatabaseFault::FakeDatabaseFault(Fault fault, const QString& path)
    : m_fault(fault), m_path(path),
      m_connection(QStringLiteral("fake-db-fault-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    switch (fault) {
    case Fault::LockedByAnotherProgram:
    case Fault::SecondIntervalRefused:
    case Fault::ReadByAnotherProgram: {
        m_holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        m_holder.setDatabaseName(path);
        if (!m_holder.open())
            return;
        if (fault == Fault::LockedByAnotherProgram) {
            m_active = Exec(m_holder, QStringLiteral("Begin Exclusive"));
        } else if (fault == Fault::ReadByAnotherProgram) {
            // The read's lock lasts until its transaction ends.
            m_active = Exec(m_holder, QStringLiteral("Begin"))
                       && Exec(m_holder, QStringLiteral("Select Count(*) From Log_Head"));
        } else {
            m_active = Exec(m_holder, QStringLiteral(
                "Create Trigger fake_refuse_second Before Insert On Log_Head "
                "When NEW.Types = 1 And (Select Count(*) From Log_Head Where Types = 1) = 1 "
                "Begin Select Raise(Abort, 'database or disk is full'); End;"));
            m_holder.close();
        }
        break;
    }
    case Fault::ReadOnlyFile:
        if (!QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther))
            return;
        if (QFileInfo(path).isWritable()) {
            m_headerMarked = SetWriteVersion(path, 3);
            m_active = m_headerMarked;
        } else {
            m_active = true;
        }
        break;
    }
}

FakeDatabaseFault::~FakeDatabaseFault()
{
    Lift();
    m_holder = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
}

void FakeDatabaseFault::Lift()
{
    if (!m_active)
        return;
    m_active = false;
    switch (m_fault) {
    case Fault::LockedByAnotherProgram:
    case Fault::ReadByAnotherProgram:
        Exec(m_holder, QStringLiteral("Rollback"));
        m_holder.close();
        break;
    case Fault::SecondIntervalRefused:
        if (m_holder.open())
            Exec(m_holder, QStringLiteral("Drop Trigger If Exists fake_refuse_second"));
        m_holder.close();
        break;
    case Fault::ReadOnlyFile:
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        if (m_headerMarked)
            SetWriteVersion(m_path, 1);
        break;
    }
}
