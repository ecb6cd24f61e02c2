#include "common/file_write.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <QtGlobal>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

WriteFault& Fault()
{
    static WriteFault fault;
    return fault;
}

int InjectedError(WriteStep step, const QString& path)
{
    const WriteFault& fault = Fault();
    return fault ? fault(step, path) : 0;
}

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// Writes all of bytes; a short write is followed by another, so a failure
// always ends in an error the device names.
bool WriteAll(QFileDevice& file, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Brings the data of the open file fd at path to the disk; 0 when they are
// there, otherwise the error number. A file system that cannot sync (EINVAL,
// ENOTSUP: a pipe, some network and virtual file systems) has taken the data
// as far as it can, which is no failure; any other error (EIO, ENOSPC, ...)
// means the data may not be on the disk.
int SyncToDisk([[maybe_unused]] int fd, const QString& path)
{
    int error = InjectedError(WriteStep::Sync, path);
#ifdef Q_OS_UNIX
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
#endif
    if (error == EINVAL || error == ENOTSUP)
        return 0;
#if defined(EOPNOTSUPP) && EOPNOTSUPP != ENOTSUP
    if (error == EOPNOTSUPP)
        return 0;
#endif
    return error;
}

std::filesystem::path FsPath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace

void SetWriteFault(WriteFault fault)
{
    Fault() = std::move(fault);
}

bool CommitSaveFile(QSaveFile& file, QString* error)
{
    QString failure;
    if (!file.isOpen()) {
        failure = file.errorString();
    } else if (!file.flush() || file.error() != QFileDevice::NoError) {
        failure = file.errorString();
    } else if (const int synced = SyncToDisk(file.handle(), file.fileName())) {
        failure = qt_error_string(synced);
    } else if (const int injected = InjectedError(WriteStep::Flush, file.fileName())) {
        failure = qt_error_string(injected);
    }
    if (failure.isEmpty()) {
        if (file.commit())
            return true;
        SetError(error, file.errorString());
        return false;
    }
    // The temporary file is dropped; the target is not touched.
    file.cancelWriting();
    file.commit();
    SetError(error, failure);
    return false;
}

WholeFileWriter::WholeFileWriter(const QString& path) : m_file(std::make_unique<QSaveFile>(path)) {}

WholeFileWriter::~WholeFileWriter() = default;

bool WholeFileWriter::Open(QString* error)
{
    if (m_file->open(QIODevice::WriteOnly))
        return true;
    SetError(error, m_file->errorString());
    return false;
}

QIODevice* WholeFileWriter::Device() const
{
    return m_file.get();
}

bool WholeFileWriter::Commit(QString* error)
{
    return CommitSaveFile(*m_file, error);
}

bool SaveWholeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        SetError(error, file.errorString());
        return false;
    }
    if (!WriteAll(file, bytes)) {
        SetError(error, file.errorString());
        file.cancelWriting();
        file.commit();
        return false;
    }
    return CommitSaveFile(file, error);
}

bool AppendToFile(const QString& path, const QByteArray& bytes, QString* error, AppendMode mode)
{
    const bool existed = mode == AppendMode::Append && QFileInfo::exists(path);
    QFile file(path);
    // Unbuffered: every write reaches the system at once and reports its own
    // error, and nothing is left in a buffer when the file is cut back.
    const QIODevice::OpenMode open = QIODevice::WriteOnly | QIODevice::Unbuffered
        | (mode == AppendMode::CreateNew ? QIODevice::NewOnly : QIODevice::Append);
    if (!file.open(open)) {
        SetError(error, file.errorString());
        return false;
    }
    const qint64 oldSize = file.size();
    QString failure;
    if (!WriteAll(file, bytes))
        failure = file.errorString();
    else if (const int injected = InjectedError(WriteStep::Flush, path))
        failure = qt_error_string(injected);
    if (failure.isEmpty()) {
        file.close();
        if (file.error() == QFileDevice::NoError)
            return true;
        failure = file.errorString();
    }
    // What did reach the file is taken back.
    if (existed) {
        if (file.isOpen())
            file.resize(oldSize);
        else
            QFile::resize(path, oldSize);
        file.close();
    } else {
        file.close();
        QFile::remove(path);
    }
    SetError(error, failure);
    return false;
}

bool CheckWrittenFile(const QString& path, const QByteArray& tail, QString* error)
{
    if (const int injected = InjectedError(WriteStep::Flush, path)) {
        SetError(error, qt_error_string(injected));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        SetError(error, file.errorString());
        return false;
    }
    if (const int synced = SyncToDisk(file.handle(), path)) {
        SetError(error, qt_error_string(synced));
        return false;
    }
    // The tail, perhaps followed by a line end.
    const qint64 size = file.size();
    const qint64 from = std::max<qint64>(0, size - tail.size() - 2);
    if (!file.seek(from)) {
        SetError(error, file.errorString());
        return false;
    }
    if (file.readAll().trimmed().endsWith(tail))
        return true;
    // Cut short: where the disk has no room left, that is why.
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    constexpr qint64 kNoRoom = 1024 * 1024;
    SetError(error, qt_error_string(storage.isValid() && storage.bytesAvailable() < kNoRoom ? ENOSPC : EIO));
    return false;
}

bool MoveFileChecked(const QString& source, const QString& target, QString* error)
{
    std::error_code code;
    if (const int injected = InjectedError(WriteStep::Rename, source))
        code = std::error_code(injected, std::generic_category());
    else
        std::filesystem::rename(FsPath(source), FsPath(target), code);
    if (!code)
        return true;
    if (code != std::errc::cross_device_link) {
        SetError(error, qt_error_string(code.value()));
        return false;
    }

    // Another file system: a copy, checked before the source goes.
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        SetError(error, in.errorString());
        return false;
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        SetError(error, in.errorString());
        return false;
    }
    in.close();
    if (!SaveWholeFile(target, bytes, error))
        return false;
    if (!in.remove()) {
        SetError(error, in.errorString());
        QFile::remove(target);
        return false;
    }
    return true;
}
