#include "browser/grid_model.h"

#include <algorithm>

namespace browser {

void GridModel::Reset(int rows, int cols)
{
    m_rows = 0;
    m_cols = 0;
    m_text.clear();
    m_align.clear();
    m_merge.clear();
    m_shaded.clear();
    Resize(rows, cols);
}

void GridModel::Resize(int rows, int cols)
{
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    std::vector<QString> text(static_cast<size_t>(rows * cols));
    std::vector<CellAlign> align(static_cast<size_t>(rows * cols), CellAlign::Left);
    for (int r = 0; r < std::min(rows, m_rows); ++r)
        for (int c = 0; c < std::min(cols, m_cols); ++c) {
            text[static_cast<size_t>(r * cols + c)] = m_text[static_cast<size_t>(r * m_cols + c)];
            align[static_cast<size_t>(r * cols + c)] = m_align[static_cast<size_t>(r * m_cols + c)];
        }
    m_text = std::move(text);
    m_align = std::move(align);
    m_merge.resize(static_cast<size_t>(rows), false);
    m_rows = rows;
    m_cols = cols;
}

QString GridModel::Text(int row, int col) const
{
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
        return QString();
    return m_text[static_cast<size_t>(row * m_cols + col)];
}

void GridModel::SetText(int row, int col, const QString& text)
{
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
        return;
    m_text[static_cast<size_t>(row * m_cols + col)] = text;
}

void GridModel::SetRow(int row, int start, bool fillRest, const QStringList& values)
{
    int col = start;
    for (const QString& v : values) {
        if (col >= m_cols)
            return;
        SetText(row, col++, v);
    }
    if (fillRest && !values.isEmpty())
        for (; col < m_cols; ++col)
            SetText(row, col, values.back());
}

CellAlign GridModel::Align(int row, int col) const
{
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
        return CellAlign::Left;
    return m_align[static_cast<size_t>(row * m_cols + col)];
}

void GridModel::AlignAll(CellAlign a)
{
    std::fill(m_align.begin(), m_align.end(), a);
}

void GridModel::AlignColumn(int col, CellAlign a)
{
    AlignRange(0, col, m_rows - 1, col, a);
}

void GridModel::AlignRange(int r1, int c1, int r2, int c2, CellAlign a)
{
    for (int r = std::max(r1, 0); r <= std::min(r2, m_rows - 1); ++r)
        for (int c = std::max(c1, 0); c <= std::min(c2, m_cols - 1); ++c)
            m_align[static_cast<size_t>(r * m_cols + c)] = a;
}

bool GridModel::Merged(int row) const
{
    return row >= 0 && row < m_rows && m_merge[static_cast<size_t>(row)];
}

void GridModel::SetMerged(int row, bool on)
{
    if (row >= 0 && row < m_rows)
        m_merge[static_cast<size_t>(row)] = on;
}

QStringList GridModel::RowTexts(int row) const
{
    QStringList out;
    for (int c = 0; c < m_cols; ++c)
        out << Text(row, c);
    return out;
}

} // namespace browser
