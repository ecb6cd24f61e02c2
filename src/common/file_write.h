#pragma once
// The one rule for every file the program writes: the data must be seen to
// reach the file before the write counts as done. A whole-file write goes to
// a temporary file that replaces the old one only after its data were flushed
// without an error; an append that does not reach the file is cut back off.
// So a full disk (or any other write error) leaves the old content whole and
// no empty or partial file under the target's name. The error texts are the
// system's own (errorString()); SystemErrorText puts them in words.
#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;
class QSaveFile;

// Finishes a QSaveFile whose data have all been written: flushes them, checks
// that they reached the file, and only then lets the temporary file replace
// the target. (QSaveFile::commit() alone can report success after its own
// flush failed, leaving an empty file in the target's place.) On failure the
// target keeps its old content, the temporary file is removed, and error
// (when given) gets the system's text of the failure.
bool CommitSaveFile(QSaveFile& file, QString* error = nullptr);

// A whole file written piece by piece while it is made (a dump listing that
// grows as the instrument answers): the pieces go to a temporary file that
// replaces the target only on Commit, by the rule of CommitSaveFile. Without
// a Commit the target stays as it was.
class WholeFileWriter {
public:
    explicit WholeFileWriter(const QString& path);
    ~WholeFileWriter();
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;

    // Opens the temporary file; false (with the system's text in error)
    // when it cannot be made, before anything is written.
    bool Open(QString* error = nullptr);
    // Where the pieces go once open.
    QIODevice* Device() const;
    bool Commit(QString* error = nullptr);

private:
    std::unique_ptr<QSaveFile> m_file;
};

// Replaces the content of path by bytes, by the rule of CommitSaveFile.
bool SaveWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// How AppendToFile opens its file.
enum class AppendMode {
    Append,    // created when missing
    CreateNew, // only a file that does not exist yet (fails with "exists")
};

// Appends bytes at the end of path. When they do not all reach the file, the
// file is cut back to its old length (a file this call created is removed),
// so no partial line is left, and false is returned with the system's text
// in error (when given).
bool AppendToFile(const QString& path, const QByteArray& bytes, QString* error = nullptr,
                  AppendMode mode = AppendMode::Append);

// Moves source to target, which must not exist. On one file system this is a
// rename; across file systems the content is copied to target by the rule of
// CommitSaveFile, and source is removed only once the copy is complete. On
// failure source is kept and target not created; error gets the system's
// text.
bool MoveFileChecked(const QString& source, const QString& target, QString* error = nullptr);

// Checks a file that another writer has just written and closed, one that
// does not report its own write errors (Qt's PDF writer): that its data are
// on the disk and that it ends in tail, the last thing that writer writes.
// On failure error gets the system's text; a file cut short on a disk
// without room counts as written to a full disk.
bool CheckWrittenFile(const QString& path, const QByteArray& tail, QString* error = nullptr);

// Test seam: where a write can be made to fail.
enum class WriteStep {
    Flush,  // the data of a whole-file write or an append were flushed, or
            // a file written elsewhere is checked (CheckWrittenFile)
    Rename, // a file is about to be renamed by MoveFileChecked
    Sync,   // the data of a whole-file write, or of a file written
            // elsewhere, are brought to the disk (fsync)
};
// The fault returns an error number (ENOSPC, EXDEV, ...) to fail the step at
// path with, or 0 to let it go on; at Sync the number stands for the one the
// system's sync reports (EINVAL and ENOTSUP, a file system that cannot sync,
// let the write go on). An empty function (the default) injects
// nothing.
using WriteFault = std::function<int(WriteStep step, const QString& path)>;
void SetWriteFault(WriteFault fault);
