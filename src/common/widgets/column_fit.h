#pragma once
// Column widths that keep every text of a grid readable, computed without
// widgets: the widths a layout asks for are kept as long as each column is
// at least as wide as its widest text and lies inside the visible room;
// otherwise the short columns get their texts' width and the room is taken
// from the columns wider than their texts, in proportion to what each can
// spare.
#include <vector>

// A text that stands across several columns (a merged cell): the columns
// together must be at least width wide.
struct SpanNeed {
    int first = 0;
    int count = 1;
    int width = 0;
};

// wanted: the widths the layout set, in pixels; need: the widest text of
// each column (0 for a column without text); room: the visible width. When
// the texts together are wider than the room, every column with text gets
// its text's width and the grid scrolls.
std::vector<int> FitColumnWidths(const std::vector<int>& wanted, std::vector<int> need,
                                 const std::vector<SpanNeed>& spans, int room);
