#include "common/colors.h"

#include <algorithm>
#include <cmath>

QColor ColorFromWin(std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

std::int32_t WinFromColor(const QColor& color)
{
    return RGB(color.red(), color.green(), color.blue());
}

namespace {

double RelativeLuminance(const QColor& c)
{
    const auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const QColor rgb = c.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

// The contrast of `cue` with the least distinct of `under`.
double LeastContrast(std::initializer_list<QColor> under, const QColor& cue)
{
    double least = 21;
    for (const QColor& c : under)
        least = std::min(least, ContrastRatio(c, cue));
    return least;
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor FocusCueColor(std::initializer_list<QColor> under, const QColor& preferred)
{
    constexpr double kEnough = 4.5;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    const QColor end = LeastContrast(under, black) >= LeastContrast(under, white) ? black : white;
    const QColor from = preferred.toRgb();
    // In tenths from the preferred colour to the end colour.
    for (int step = 0; step < 10; ++step) {
        const double t = step / 10.0;
        const QColor shade = QColor::fromRgbF(static_cast<float>(from.redF() + (end.redF() - from.redF()) * t),
                                              static_cast<float>(from.greenF() + (end.greenF() - from.greenF()) * t),
                                              static_cast<float>(from.blueF() + (end.blueF() - from.blueF()) * t));
        if (LeastContrast(under, shade) >= kEnough)
            return shade;
    }
    return end;
}
