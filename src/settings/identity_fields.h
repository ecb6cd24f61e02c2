#pragma once
#include <QString>

// The identity boxes of the settings panel (0 serial number, 1 station ID,
// 2 user ID) and the suffix of the settings audit file's name.
//
// What a user puts into an identity box is held to the keys of IsIdChar
// (letters, digits, blank, "*", "-"): a "," would split the instrument's
// frames and the audit file's columns. Typed and pasted text alike; what the
// panel shows (the instrument's or a stored record's identity) stays as it
// is, whatever its characters and length.

// 12 for the serial number, 10 for the station and user IDs, 0 otherwise.
int IdentityMaxLength(int index);

// Whether a key typed into box `index` that holds `length` characters
// passes: a refused character, or a full box (Backspace aside), is dropped.
bool IdentityKeyAccepted(int index, int keyCode, int length);

// The text with every character a key could not have typed removed, cut to
// limit characters.
QString FilterIdChars(const QString& text, int limit);

// The text of box `index` after an edit that turned `before` into `after`
// (a key, a paste, a drop): the characters the edit put in keep only those
// a key could type, cut to the room the box's length leaves beside the rest
// of the text (refused characters use up no room). The rest stays as it
// was, even a text longer than the box takes. *cursor, when given, moves
// with the cut; *refused tells whether a character was dropped. A box
// without a length (any other index) takes `after` as it is.
QString IdentityEditResult(int index, const QString& before, const QString& after, int* cursor = nullptr,
                           bool* refused = nullptr);

// The suffix with what a file name must not carry removed: path separators,
// control characters, the characters a Windows name refuses, and "..".
QString SafeAuditSuffix(const QString& suffix);
