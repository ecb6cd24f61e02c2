#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// What one fill puts into a grid, free of any widget: rows of cell texts
// with their back colours and alignments, the columns' alignments, the rows
// that merge equal neighbouring cells, and per row the moment it stands for.
// The panel copies it into its grid; tests, export and printing read it.
//
// Colours are Windows colour numbers; 0 means "no colour of its own" (the
// grid's background), never black. Alignments use the grid's values: 1 left
// and vertically centred, 4 centred both ways, -1 none set.

inline constexpr int kAlignLeft = 1;
inline constexpr int kAlignCenter = 4;

struct GridCell {
    QString text;
    std::int32_t back = 0;
    int align = -1;
};

struct GridContent {
    int cols = 0;
    std::vector<std::vector<GridCell>> rows;
    // The moment of each row (invalid for the header and rows without one):
    // the trend search reads it instead of parsing the shown date text.
    std::vector<QDateTime> moments;
    std::vector<int> colAlign;
    bool merge = false;
    std::vector<bool> mergeRows;
    // True when the grid is to be hidden (a kind without a summary).
    bool hidden = false;

    int RowCount() const { return static_cast<int>(rows.size()); }
    // Clears and sizes the grid (every row cols cells wide).
    void Reset(int columns, int rowCount);
    void SetRowCount(int rowCount);
    // Writes values into consecutive cells of row from column 0; values
    // beyond the last column are dropped; with fillRest the last value
    // repeats into the remaining columns.
    void SetRow(int row, const QStringList& values, bool fillRest);
    const QString& Text(int row, int col) const { return rows[static_cast<size_t>(row)][static_cast<size_t>(col)].text; }
    GridCell& Cell(int row, int col) { return rows[static_cast<size_t>(row)][static_cast<size_t>(col)]; }
    const GridCell& Cell(int row, int col) const { return rows[static_cast<size_t>(row)][static_cast<size_t>(col)]; }
    void SetRangeAlign(int row1, int col1, int row2, int col2, int align);
    void SetColAlign(int col, int align); // -1: every column
};

// The back colour of a status cell: the colour of the status code, where
// current is the cell's present back colour (only the "no data" codes -101
// and 0 depend on it). 0 for codes without a colour.
std::int32_t GetEventColor(std::int32_t code, std::int32_t current);
