#pragma once
#include "common/appstate.h"

#include <QFont>
#include <QString>
#include <cstdint>

// Small services shared by every window and record.

// A value of the user's locale: 4105 (calendar type) gives "1" (Gregorian),
// 31 (long date format) the locale's long date picture; other types "".
QString GetLocaleString(std::int32_t lcType);

// Copies bold, italic, family, size, strikeout, underline and, last, weight
// from src to dst.
void CopyFont(QFont& dst, const QFont& src);

// The display font setting as a font, and back.
QFont FontFromSetting(const FontSetting& setting);
FontSetting SettingFromFont(const QFont& font);

// True for Backspace (8), blank, "*", "-", "0"-"9", "A"-"Z", "a"-"z": the keys
// the identity fields accept.
bool IsIdChar(int keyCode);

// The trimmed text, or "*" when it is empty.
QString NzStar(const QString& text);

// The number before the first blank (0 for an empty text). Raises
// ConversionError for a text without a blank or whose first word is not a
// number that fits 32 bits.
std::int32_t LeadingNumber(const QString& text);

// The text without its last two characters when it has three or more,
// otherwise "".
QString DropLast2(const QString& text);

// The last blank-separated word (a text without a blank is unchanged).
QString LastWord(const QString& text);

// Notes the operating system's name and version in App() (informational).
void GetOsVersion();
