#pragma once
// The text, alignment, merging and shading of a grid as plain data; the
// panels copy it onto their grid widgets.
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace browser {

enum class CellAlign { Left = 1, Center = 4 }; // both vertically centred

class GridModel {
public:
    // Clears every cell and sets the size.
    void Reset(int rows, int cols);
    // Changes the size, keeping the cells that remain.
    void Resize(int rows, int cols);
    int Rows() const { return m_rows; }
    int Cols() const { return m_cols; }

    QString Text(int row, int col) const;
    void SetText(int row, int col, const QString& text);
    // Writes values from column start on (values past the last column are
    // dropped); with fillRest, the columns after the last value written
    // repeat it.
    void SetRow(int row, int start, bool fillRest, const QStringList& values);

    CellAlign Align(int row, int col) const;
    void AlignAll(CellAlign a);
    void AlignColumn(int col, CellAlign a);
    // Rows r1..r2 and columns c1..c2, both included and clipped to the grid.
    void AlignRange(int r1, int c1, int r2, int c2, CellAlign a);

    // Rows whose equal neighbouring cells show as one cell.
    bool Merged(int row) const;
    void SetMerged(int row, bool on);

    // Cells with the grey background of a caption row.
    const std::vector<std::pair<int, int>>& Shaded() const { return m_shaded; }
    void Shade(int row, int col) { m_shaded.emplace_back(row, col); }

    QStringList RowTexts(int row) const;

private:
    int m_rows = 0;
    int m_cols = 0;
    std::vector<QString> m_text;
    std::vector<CellAlign> m_align;
    std::vector<bool> m_merge;
    std::vector<std::pair<int, int>> m_shaded;
};

} // namespace browser
