#pragma once
#include "common/colors.h"

#include <QDateTime>
#include <QString>
#include <cstdint>

class QWidget;

// Colours of the log pane by kind of line (Windows colour numbers).
namespace LogColor {
constexpr std::int32_t Progress = RGB(0, 192, 0);   // start, progress, completion
constexpr std::int32_t Failure = RGB(255, 0, 0);    // failure, cancel, port error
constexpr std::int32_t NoData = RGB(192, 64, 64);   // a log download found nothing
constexpr std::int32_t Control = RGB(0, 0, 192);    // texts the interface control raises
constexpr std::int32_t Connected = RGB(0, 0, 255);  // connection established
constexpr std::int32_t AutoStart = RGB(128, 32, 0); // automatic mode start, dump lists
constexpr std::int32_t AutoEnd = RGB(32, 128, 0);   // automatic mode finished
constexpr std::int32_t Adc = RGB(0, 128, 64);       // converter values (service mode)
} // namespace LogColor

// The PC clock's time as log lines give it ("yyyy/MM/dd hh:mm:ss").
QString DateText();

// Around a command: SaveAndDisable keeps a control's enabled state in its
// "Tag" property ("True"/"False") and disables it; RestoreFromTag gives the
// kept state back.
void SaveAndDisable(QWidget* w);
void RestoreFromTag(QWidget* w);

// The elapsed time of a step as "hh:mm:ss"; the hours count modulo 24, so
// 25 hours read 01:00:00. A clock that went backwards reads 00:00:00.
QString ElapsedText(const QDateTime& start, const QDateTime& end);

// "Fail ratio = (naks+checksumErrors)/frames".
QString FailRatioText(int naks, int checksumErrors, int frames);

// Moves "SerialLog.log" of the program folder into its "ErrorLogs" folder
// (created when missing) as "SerialLog_yyyyMMdd_hhmmss.log". A name already
// taken gets "_2", "_3", ... before ".log", so no archive is ever overwritten.
// A missing serial log is not an error (nothing to archive). Where the
// folders lie on different file systems the log is copied, and removed only
// once the copy is complete; a failure (a full disk) keeps it where it was.
struct SerialLogArchive {
    bool moved = false;  // the log now stands in the archive folder
    QString target;      // the archive's path when moved
    QString error;       // why the log stayed where it was (empty: no failure)
};
SerialLogArchive ArchiveSerialLogFile(const QString& programFolder, const QDateTime& now);
