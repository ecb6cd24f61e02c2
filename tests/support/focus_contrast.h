#pragma once
// Whether a control's focus cue stands out from what it is drawn on, judged
// from two pictures of the control, without and with the focus.
#include "common/colors.h"

#include <QImage>

// True when the pixels that the focus changed by a contrast of at least
// `ratio` (each against what the same pixel showed without the focus)
// enclose the middle of the control: nine in ten columns of the middle half
// have one above and one below the middle, and nine in ten rows of the
// middle half one left and one right of it (a cue may cross a thin line of
// the control's own that is as dark or light as itself).
inline bool ContrastingFrameAround(const QImage& without, const QImage& with, double ratio = 3.0)
{
    if (with.isNull() || without.size() != with.size())
        return false;
    const int w = with.width();
    const int h = with.height();
    const auto anyStrong = [&](int x0, int x1, int y0, int y1) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (ContrastRatio(with.pixelColor(x, y), without.pixelColor(x, y)) >= ratio)
                    return true;
        return false;
    };
    int columns = 0;
    int enclosedColumns = 0;
    for (int x = w / 4; x < w * 3 / 4; ++x, ++columns)
        enclosedColumns += anyStrong(x, x, 0, h / 2 - 1) && anyStrong(x, x, h / 2 + 1, h - 1);
    int rows = 0;
    int enclosedRows = 0;
    for (int y = h / 4; y < h * 3 / 4; ++y, ++rows)
        enclosedRows += anyStrong(0, w / 2 - 1, y, y) && anyStrong(w / 2 + 1, w - 1, y, y);
    return columns > 0 && rows > 0 && enclosedColumns * 10 >= columns * 9 && enclosedRows * 10 >= rows * 9;
}
