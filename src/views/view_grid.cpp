#include "views/view_grid.h"

#include "common/colors.h"

void GridContent::Reset(int columns, int rowCount)
{
    cols = columns;
    rows.clear();
    moments.clear();
    colAlign.assign(static_cast<size_t>(columns), -1);
    merge = false;
    mergeRows.clear();
    hidden = false;
    SetRowCount(rowCount);
}

void GridContent::SetRowCount(int rowCount)
{
    rows.resize(static_cast<size_t>(rowCount), std::vector<GridCell>(static_cast<size_t>(cols)));
    moments.resize(static_cast<size_t>(rowCount));
    mergeRows.resize(static_cast<size_t>(rowCount), false);
}

void GridContent::SetRow(int row, const QStringList& values, bool fillRest)
{
    if (row < 0 || row >= RowCount())
        return;
    auto& cells = rows[static_cast<size_t>(row)];
    int c = 0;
    for (; c < cols && c < values.size(); ++c)
        cells[static_cast<size_t>(c)].text = values[c];
    if (fillRest) {
        const QString last = values.isEmpty() ? QString() : values[std::min<qsizetype>(c, values.size()) - 1];
        for (; c < cols; ++c)
            cells[static_cast<size_t>(c)].text = last;
    }
}

void GridContent::SetRangeAlign(int row1, int col1, int row2, int col2, int align)
{
    for (int r = std::max(row1, 0); r <= row2 && r < RowCount(); ++r)
        for (int c = std::max(col1, 0); c <= col2 && c < cols; ++c)
            Cell(r, c).align = align;
}

void GridContent::SetColAlign(int col, int align)
{
    if (col < 0) {
        colAlign.assign(static_cast<size_t>(cols), align);
        return;
    }
    if (col < cols)
        colAlign[static_cast<size_t>(col)] = align;
}

std::int32_t GetEventColor(std::int32_t code, std::int32_t current)
{
    switch (code) {
    case -116: return RGB(128, 255, 192);
    case -115: return RGB(255, 64, 64);
    case -114: return RGB(192, 128, 128);
    case -113: case -112: case -111: case -110: case -109: return RGB(128, 128, 128);
    case -108: return RGB(128, 192, 128);
    case -107: return RGB(255, 64, 64);
    case -106: return RGB(192, 128, 192);
    case -105: return RGB(255, 192, 192);
    case -104: return RGB(255, 0, 0);
    case -103: return RGB(255, 128, 0);
    case -102: return RGB(64, 192, 128);
    case -101:
    case 0: return current != 0 ? RGB(192, 192, 192) : 0;
    default: return 0;
    }
}
