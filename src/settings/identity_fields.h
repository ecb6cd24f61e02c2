#pragma once
#include <QString>

// The identity boxes of the settings panel (0 serial number, 1 station ID,
// 2 user ID) and the suffix of the settings audit file's name.
//
// An identity accepts the keys of IsIdChar only (letters, digits, blank,
// "*", "-"): a "," would split the instrument's frames and the audit file's
// columns. Pasted and program-set text is held to the same rule.

// 12 for the serial number, 10 for the station and user IDs, 0 otherwise.
int IdentityMaxLength(int index);

// Whether a key typed into box `index` that holds `length` characters
// passes: a refused character, or a full box (Backspace aside), is dropped.
bool IdentityKeyAccepted(int index, int keyCode, int length);

// The text with every character a key could not have typed removed, cut to
// limit characters.
QString FilterIdChars(const QString& text, int limit);

// FilterIdChars to the box's length (the text as it is for a box without
// one).
QString FilterIdentityText(int index, const QString& text);

// The suffix with what a file name must not carry removed: path separators,
// control characters, the characters a Windows name refuses, and "..".
QString SafeAuditSuffix(const QString& suffix);
