#include "download/download_support.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/file_write.h"
#include "common/paths.h"
#include "common/resstrings.h"
#include "common/system_error.h"

#include <QDir>
#include <QFileInfo>
#include <QVariant>
#include <QWidget>

QString DateText() { return GeneralDate(Now()); }

void SaveAndDisable(QWidget* w)
{
    w->setProperty("Tag", w->isEnabled() ? QStringLiteral("True") : QStringLiteral("False"));
    w->setEnabled(false);
}

void RestoreFromTag(QWidget* w) { w->setEnabled(w->property("Tag").toString() == QLatin1String("True")); }

QString ElapsedText(const QDateTime& start, const QDateTime& end)
{
    qint64 seconds = SecondsBetween(start, end);
    if (seconds < 0)
        seconds = 0;
    seconds %= 24 * 3600;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString FailRatioText(int naks, int checksumErrors, int frames)
{
    return QStringLiteral("Fail ratio = (%1+%2)/%3").arg(naks).arg(checksumErrors).arg(frames);
}

SerialLogArchive ArchiveSerialLogFile(const QString& programFolder, const QDateTime& now)
{
    SerialLogArchive result;
    const QString archiveFolder = JoinPath(programFolder, QStringLiteral("ErrorLogs"));
    const QString source = JoinPath(programFolder, QStringLiteral("SerialLog.log"));

    if (!QFileInfo(archiveFolder).isDir() && !QDir().mkpath(archiveFolder)) {
        result.error = GetResString(5958, archiveFolder);
        return result;
    }
    if (!QFileInfo::exists(source))
        return result;

    const QString stem = QStringLiteral("SerialLog_") + now.toString(QStringLiteral("yyyyMMdd_HHmmss"));
    QString target = JoinPath(archiveFolder, stem + QStringLiteral(".log"));
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = JoinPath(archiveFolder, QStringLiteral("%1_%2.log").arg(stem).arg(n));

    QString error;
    if (!MoveFileChecked(source, target, &error)) {
        result.error = GetResString(5959, source, target, SystemErrorText(error));
        return result;
    }
    result.moved = true;
    result.target = target;
    return result;
}
