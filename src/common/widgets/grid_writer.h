#pragma once
#include "common/widgets/column_fit.h"

#include <QString>
#include <QStringList>
#include <QTableWidget>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class QMouseEvent;
class QTimer;

// The editing hooks of a grid. A grid without hooks is never edited by the
// user. With hooks, a text cell is edited by typing or a double click and a
// check box by a click or Space; each edit asks the hooks first. Filling a
// grid from code never calls them.
class GridEditHooks {
public:
    virtual ~GridEditHooks() = default;
    // True vetoes editing the cell (row, col), text or check box.
    virtual bool BeforeEdit(int row, int col) = 0;
    // The editor's text before it goes into the cell: true vetoes (the cell
    // keeps its text); the hook may replace the text.
    virtual bool ValidateEdit(int row, int col, QString& text) = 0;
    // After the cell took a new text (once its editor has closed, so the
    // hook may refill the grid) or its check box changed.
    virtual void AfterEdit(int row, int col) = 0;
};

// The grid of every window: a QTableWidget whose caption row and caption
// column are ordinary cells (row 0 is the first row the caller writes, the
// caption row included). It adds the few operations the windows need on top
// of the table: cell text by row and column, a "|"-separated heading string,
// per-cell colours, alignment and check boxes, merging of equal neighbouring
// cells in marked rows, and column widths in twips.
//
// Its code lies in three files, one per job: grid_writer.cpp writes the
// cells (texts, colours, alignment, check boxes, merges, editing),
// grid_band.cpp keeps the caption rows in view and holds the rules of the
// cursor and of scrolling, grid_widths.cpp fits the column widths.
//
// Colours are Windows colour numbers (red in the lowest byte); 0 means "no
// colour of its own", so a cell that was never coloured reads back as 0.
//
// The caption rows stay in view: they are drawn in a band above the area
// where the rows scroll (the viewport's top margin), follow the grid's column
// widths and horizontal scrolling, and are never scrolled into the viewport,
// so no row is ever under them. The rows move by whole rows: the first row
// under the captions and, scrolled to the end, the last row show whole. The
// caption cells stay cells of the one table (visualRect and indexAt place
// them in the band, as a screen reader sees them); the cursor, selection,
// editing and check boxes stay in the rows under them. The cursor also stays
// right of the caption columns, a cursor key always brings the current cell
// into view, and a grid that takes the focus without a current data cell
// gets its first one. While the grid has the focus, its current cell shows a
// frame that stands out from the cell.
//
// No text is cut: a column narrower than its widest text (by pixel width,
// every row measured), or reaching beyond the visible width, is widened to
// its text, and the room comes from the columns that are wider than their
// texts. Widths that leave every text readable are shown exactly as set.
class DataGrid : public QTableWidget {
    Q_OBJECT
public:
    // Text alignment of a cell, as horizontal x vertical placement.
    enum Align {
        AlignLeftTop = 0, AlignLeftCenter = 1, AlignLeftBottom = 2,
        AlignCenterTop = 3, AlignCenterCenter = 4, AlignCenterBottom = 5,
        AlignRightTop = 6, AlignRightCenter = 7, AlignRightBottom = 8,
    };
    enum Check { NoCheckBox = 0, Checked = 1, Unchecked = 2 };
    // Merging: none, or equal neighbouring cells within the rows marked by
    // SetMergeRow.
    enum Merge { MergeNever = 0, MergeRestrictRows = 2 };

    // The back colour of the caption rows and columns.
    static std::int32_t FixedBackColor();

    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    int Rows() const { return rowCount(); }
    void SetRows(int rows);
    int Cols() const { return columnCount(); }
    void SetCols(int cols);
    // Caption rows at the top and caption columns at the left; they are drawn
    // in FixedBackColor unless a cell has a colour of its own. Both default to 1.
    int FixedRows() const { return m_fixedRows; }
    void SetFixedRows(int rows);
    int FixedCols() const { return m_fixedCols; }
    void SetFixedCols(int cols);

    // Empties every cell and drops the cells' colours, alignment and check
    // boxes; the size, the current cell, the column alignment, the merge
    // marks and the column widths stay.
    void Clear();

    // See the free SetFormatString below.
    void SetFormatString(const QString& format);

    QString Text(int row, int col) const;
    void SetText(int row, int col, const QString& text);

    std::int32_t CellBackColor(int row, int col) const;
    void SetCellBackColor(int row, int col, std::int32_t color);

    // A cell's own alignment wins over its column's; -1 as the column sets
    // every column. Cells without either are left-aligned, vertically centred.
    void SetCellAlignment(int row, int col, Align align);
    void SetRangeAlignment(int row1, int col1, int row2, int col2, Align align);
    void SetColAlignment(int col, Align align);
    Align CellAlignment(int row, int col) const;

    Check CellCheck(int row, int col) const;
    void SetCellCheck(int row, int col, Check check);

    Merge MergeCells() const { return m_merge; }
    void SetMergeCells(Merge mode);
    bool MergeRow(int row) const;
    void SetMergeRow(int row, bool merge);

    // Column widths in twips, at the grid's logical DPI. A width set here
    // reads back exactly while the grid shows it as set; a column widened or
    // narrowed so that every text stays readable, or dragged by the user,
    // reads in whole pixels.
    int ColWidth(int col) const;
    void SetColWidth(int col, int twips);
    // Shows the widths set again, changed only where a text would be cut.
    // Runs by itself after the grid's size or texts change.
    void FitColumns();

    // Height of the caption rows kept in sight, in pixels (0 when none).
    int FrozenHeight() const;
    // The band above the viewport where the caption rows are drawn, in the
    // grid's own coordinates (empty when none).
    QRect CaptionBand() const;

    // Caption cells lie in the band, above the viewport (negative y).
    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& pos) const override;

    // The editing hooks (not owned); null switches editing off.
    void SetEditHooks(GridEditHooks* hooks);
    GridEditHooks* EditHooks() const { return m_editHooks; }

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

protected slots:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class DataGridDelegate;

    // grid_writer.cpp: the cells, merges and editing.
    QTableWidgetItem* Cell(int row, int col);
    void UpdateMerges(int firstRow, int lastRow);
    void SetMergeSpan(int row, int col, int columns);

    // grid_band.cpp: the caption band, the cursor and scrolling.
    void ConnectBand();
    // The first shown row under the captions, and the first shown column
    // right of the caption columns, from the one given on (-1 when none).
    int FirstDataRow(int from) const;
    int FirstDataCol(int from) const;
    // A cell under the caption rows and right of the caption columns.
    bool IsDataCell(const QModelIndex& index) const;
    QModelIndex FirstDataCell() const;
    // Moves a current cell that is no data cell to the first data cell.
    void ToDataCell();
    // Sets the band's margin, the rows' scroll range and their offset.
    void PlaceBand(int scrollValue);
    // The rows' offset for the scroll bar's value: a whole row at the top,
    // never a caption row.
    void AlignRows();
    void PaintBand();
    // Top of a caption row inside the band (-1 when hidden or no caption).
    int CaptionTop(int row) const;
    // The start of the merged cell holding (row, col).
    int SpanStart(int row, int col) const;

    // grid_widths.cpp: column widths fitted to the texts.
    void ConnectColumnWidths();
    void OnSectionResized(int col, int oldPx, int newPx);
    // The texts changed: widths are fitted again once control returns to
    // the event loop.
    void TextsChanged();
    // The widest text of each column in pixels, and the merged texts.
    void MeasureTexts(std::vector<int>& need, std::vector<SpanNeed>& spans) const;
    int VisibleWidth() const;

    int m_fixedRows = 1;
    int m_fixedCols = 1;
    Merge m_merge = MergeNever;
    std::vector<bool> m_mergeRows;
    std::vector<int> m_colAlign;       // -1 when the column has none
    std::vector<int> m_colWidthTwips;  // -1 until set
    std::vector<bool> m_fitted;        // shown wider or narrower than set
    bool m_settingWidth = false;
    bool m_fitting = false;
    // The widest texts, measured again after the texts change.
    bool m_needValid = false;
    std::vector<int> m_need;
    std::vector<SpanNeed> m_spans;
    mutable TextWidths m_textWidths;
    GridEditHooks* m_editHooks = nullptr;
    // The cell whose editor gave it a text; its AfterEdit runs once the
    // editor has closed.
    std::optional<std::pair<int, int>> m_editTaken;
    QTimer* m_fitTimer = nullptr;
    int m_band = 0;              // the viewport's top margin
    bool m_placingBand = false;
};

// Writes values into consecutive cells of one row of a grid, from startCol
// on. Values beyond the grid's last column are dropped. With fillRest, the
// last value (the empty text when there are none) is repeated into every
// remaining column of the row. Only the cells' text changes; columns before
// startCol and the grid's size are left alone. A row outside the grid or a
// negative start column writes nothing.
void SetGridRow(QTableWidget& grid, int row, int startCol, bool fillRest, const QStringList& values);

// Lays out the column headings of a grid from "Gas|Enable|Current Reading":
// the column count becomes the number of "|"-separated fields, each heading
// goes into row 0, and the grid keeps at least one row.
void SetFormatString(QTableWidget& grid, const QString& format);
