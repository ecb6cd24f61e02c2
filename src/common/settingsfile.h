#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

// The settings file Pelkar.ini in the program's folder: TAB-separated key
// lines with ";" comments, UTF-8 with CR LF line ends. It fills App() and,
// through App().WindowTarget and App().GraphTarget, the main window's size
// and data-selection boxes and the graph's colours (while a target is null,
// the stand-in fields of App() are used).

// The settings file's path.
QString SettingsFilePath();

// Reads the file when it exists. A value that should be a number and is not
// takes its key's fallback; a line with fewer values than its key takes
// leaves the missing ones unchanged; any other error (a whole number beyond
// its range, a gas or entry number out of range, more than 51 fields, a bad
// password entry) ends the reading, keeping what was read before it.
// Timeout and Retry are held to what the interface control uses (see
// HeldTimeout, HeldRetry). App().FirstRun says whether there was no file.
void ReadSettings();
// Reads settings from the text of a settings file by the same rules;
// App().FirstRun is left as it is.
void ReadSettingsText(const QByteArray& text);

// The longest answer time-out the interface control can count, in seconds.
constexpr int kMaxTimeoutSeconds = 3276;
// The answer time-out as the interface control uses it: 1 to 3276 seconds;
// 0 stays 0 (the control and the file take it as 3).
std::int16_t HeldTimeout(std::int16_t seconds);
// The retry count as the interface control uses it: a negative count is 3,
// as 0 is.
std::int16_t HeldRetry(std::int16_t count);

// Rewrites the whole file (Execute Count + 1). The text goes to a temporary
// file that replaces the old one only when complete, so a failure never
// loses the settings. Raises FileWriteError when the file cannot be written.
void WriteSettings();
// The text WriteSettings writes: every setting as it stands now, with the
// Execute Count one more than now.
QByteArray SettingsText();

// The scramble of the password entry (applied twice in the file).
QString EncodeSettingText(const QString& text);
// Reverses it; raises ConversionError when a decoded character code is not
// a valid character.
QString DecodeSettingText(const QString& text);
