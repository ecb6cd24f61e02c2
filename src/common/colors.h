#pragma once
#include <QColor>
#include <cstdint>
#include <initializer_list>

// Colours in files and in the settings are Windows colour numbers:
// red in the lowest byte, then green, then blue.
QColor ColorFromWin(std::int32_t value);
std::int32_t WinFromColor(const QColor& color);
// RGB(r, g, b) as a colour number.
constexpr std::int32_t RGB(int r, int g, int b)
{
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

// How far two colours stand apart for the eye: the ratio of their relative
// luminances (each plus 0.05), from 1 (the same) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);
// The colour of a focus cue drawn over the colours in `under`: `preferred`
// when it stands out from each of them by at least 4.5 to 1 (which leaves
// room for the shades a style draws near them), otherwise `preferred` shaded
// toward black or toward white, whichever stands out more, just far enough.
// Over a single colour the cue always reaches 4.5 to 1.
QColor FocusCueColor(std::initializer_list<QColor> under, const QColor& preferred);
