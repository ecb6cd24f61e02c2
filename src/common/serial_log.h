#pragma once
#include <QDateTime>
#include <QString>

#include <functional>

// The serial log "SerialLog.log" in the program's folder: one line per entry,
// the time as "hh:mm:ss", a blank and the text, ended by CR LF. The file is
// opened and closed for every line, so it can be copied, renamed or moved
// away between lines; the next line then starts a new file.
QString SerialLogPath();

// Appends one line at path. Returns false when the file cannot be opened or
// written; the line is then dropped, and nothing of it is left in the file (a
// logging failure never reaches the exchange that was being logged).
bool AppendSerialLogLine(const QString& path, const QDateTime& time, const QString& text);

// Where a failed serial-log line is told, in words ("Cannot write ...: the
// disk is full"): the first failure only, and again only after a line was
// written since. An empty function (the default) tells no one.
void SetSerialLogFailureReport(std::function<void(const QString& text)> report);
