#pragma once
#include <QDateTime>
#include <QString>

// The serial log "SerialLog.log" in the program's folder: one line per entry,
// the time as "hh:mm:ss", a blank and the text, ended by CR LF. The file is
// opened and closed for every line, so it can be copied, renamed or moved
// away between lines; the next line then starts a new file.
QString SerialLogPath();

// Appends one line at path. Returns false when the file cannot be opened or
// written; the line is then dropped (a logging failure never reaches the
// exchange that was being logged).
bool AppendSerialLogLine(const QString& path, const QDateTime& time, const QString& text);
