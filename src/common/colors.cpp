#include "common/colors.h"

QColor ColorFromWin(std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

std::int32_t WinFromColor(const QColor& color)
{
    return RGB(color.red(), color.green(), color.blue());
}
