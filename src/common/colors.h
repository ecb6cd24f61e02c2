#pragma once
#include <QColor>
#include <cstdint>

// Colours in files and in the settings are Windows colour numbers:
// red in the lowest byte, then green, then blue.
QColor ColorFromWin(std::int32_t value);
std::int32_t WinFromColor(const QColor& color);
// RGB(r, g, b) as a colour number.
constexpr std::int32_t RGB(int r, int g, int b)
{
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
