#pragma once
// System errors as a user reads them. A file or port operation that fails
// reports the operating system's own wording, which is English whatever the
// program's language. The common errors (no such file, the device gone,
// busy, no permission, ...) are put in words from the string tables; any
// other becomes a general text. The system's wording itself is written to
// the serial log, where it helps whoever looks into the failure.
#include <QString>

// The words for systemText, an error text as QFile, QSaveFile or
// QSerialPort give it (errorString()), in the current language. An empty
// systemText gives an empty text.
QString SystemErrorText(const QString& systemText);

// As SystemErrorText, without writing to the serial log (for the serial
// log's own failures).
QString SystemErrorWords(const QString& systemText);

// As SystemErrorText, as a sentence of its own ("The disk is full.") for a
// text that gives the reason on a line by itself; the words above stand
// inside a sentence ("Cannot write ~1: the disk is full.").
QString SystemErrorSentence(const QString& systemText);
