#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>

class clsInstrument;

// The settings audit log: "Pelkar_Setting<suffix>.csv" in the program's
// folder, one comma-separated line per recorded settings write (31 fields,
// no quoting), with a header line of captions written when the file is new.
// UTF-8 text with CR LF line ends.

// The file's path for a suffix (the "Factory Record Suffix" setting).
QString SettingsAuditPath(const QString& suffix);

// The header's 31 captions in the current language.
QStringList SettingsAuditHeader();

// The 31 fields of one record: the PC time given, the instrument's time
// (the PC time minus the record's clock offset), identity, options and both
// gases' set points.
QStringList SettingsAuditFields(const clsInstrument& instrument, const QDateTime& pcTime);

// Appends the line of instrument to the audit log of suffix, first creating
// the file with its header when it does not exist. An existing file is never
// inspected or rewritten. False (with the reason in words in error) when the
// file could not be created or written; the file is then left as it was (a
// new file is not left behind, an old one keeps no part of the line).
bool AppendSettingsAudit(const clsInstrument& instrument, const QString& suffix,
                         const QDateTime& pcTime, QString* error = nullptr);
