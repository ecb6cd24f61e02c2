#include "common/colors.h"
#include "common/widgets/grid_writer.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

// A grid of one row whose cells read "old0", "old1", ... before the write.
std::unique_ptr<DataGrid> MarkedRow(int cols)
{
    auto grid = std::make_unique<DataGrid>();
    grid->SetRows(2);
    grid->SetCols(cols);
    for (int c = 0; c < cols; ++c)
        grid->SetText(1, c, QStringLiteral("old%1").arg(c));
    return grid;
}

QStringList RowTexts(const DataGrid& grid, int row)
{
    QStringList out;
    for (int c = 0; c < grid.Cols(); ++c)
        out << grid.Text(row, c);
    return out;
}

} // namespace

TEST(SetGridRow, WritesClampsAndFills)
{
    struct Case {
        const char* name;
        int cols;
        int startCol;
        bool fillRest;
        QStringList values;
        QStringList expected;
    };
    const QList<Case> cases = {
        {"row full, nothing to fill", 5, 1, true, {"a", "b", "c", "d"}, {"old0", "a", "b", "c", "d"}},
        {"values beyond the last column dropped", 5, 0, false, {"0", "1", "2", "3", "4", "5", "6"},
         {"0", "1", "2", "3", "4"}},
        {"last value repeated to the end", 6, 1, true, {"first", "second"},
         {"old0", "first", "second", "second", "second", "second"}},
        {"without fill the rest keeps its text", 6, 1, false, {"first", "second"},
         {"old0", "first", "second", "old3", "old4", "old5"}},
        {"no values with fill empties the rest", 4, 1, true, {}, {"old0", "", "", ""}},
        {"no values without fill writes nothing", 4, 1, false, {}, {"old0", "old1", "old2", "old3"}},
        {"start one past the last column", 4, 4, true, {"x"}, {"old0", "old1", "old2", "old3"}},
        {"start far beyond the last column", 4, 9, true, {}, {"old0", "old1", "old2", "old3"}},
        {"start at the last column", 4, 3, true, {"x", "y"}, {"old0", "old1", "old2", "x"}},
    };
    for (const Case& c : cases) {
        auto grid = MarkedRow(c.cols);
        SetGridRow(*grid, 1, c.startCol, c.fillRest, c.values);
        EXPECT_EQ(RowTexts(*grid, 1), c.expected) << c.name;
        EXPECT_EQ(grid->Rows(), 2) << c.name;
        EXPECT_EQ(grid->Cols(), c.cols) << c.name;
    }
}

TEST(SetGridRow, TouchesOnlyTextAndOnlyItsRow)
{
    auto grid = MarkedRow(4);
    grid->SetCellBackColor(1, 2, RGB(255, 0, 0));
    grid->SetCellAlignment(1, 2, DataGrid::AlignRightCenter);
    SetGridRow(*grid, 1, 0, true, {"a", "b"});
    EXPECT_EQ(grid->Text(1, 2), "b");
    EXPECT_EQ(grid->CellBackColor(1, 2), RGB(255, 0, 0));
    EXPECT_EQ(grid->CellAlignment(1, 2), DataGrid::AlignRightCenter);
    EXPECT_EQ(RowTexts(*grid, 0), QStringList({"", "", "", ""}));
}

TEST(SetGridRow, RowOutsideTheGridWritesNothing)
{
    auto grid = MarkedRow(3);
    SetGridRow(*grid, 2, 0, true, {"x"});
    SetGridRow(*grid, -1, 0, true, {"x"});
    SetGridRow(*grid, 1, -1, true, {"x"});
    EXPECT_EQ(grid->Rows(), 2);
    EXPECT_EQ(RowTexts(*grid, 1), QStringList({"old0", "old1", "old2"}));
}

TEST(SetGridRow, WorksOnAPlainTable)
{
    QTableWidget table(1, 3);
    SetGridRow(table, 0, 1, true, {"v"});
    ASSERT_NE(table.item(0, 2), nullptr);
    EXPECT_EQ(table.item(0, 1)->text(), "v");
    EXPECT_EQ(table.item(0, 2)->text(), "v");
    EXPECT_EQ(table.item(0, 0), nullptr);
}

TEST(DataGrid, FormatStringSetsColumnsAndHeadings)
{
    DataGrid grid;
    grid.SetFormatString("Gas|Enable|Current Reading");
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(RowTexts(grid, 0), QStringList({"Gas", "Enable", "Current Reading"}));
}

TEST(DataGrid, FilledRowMergesIntoOneCaptionOnlyWhereMarked)
{
    DataGrid grid;
    grid.SetRows(2);
    grid.SetCols(6);
    grid.SetMergeCells(DataGrid::MergeRestrictRows);
    grid.SetMergeRow(0, true);
    SetGridRow(grid, 0, 0, true, {"Sensor", "Warning and Alarm point"});
    SetGridRow(grid, 1, 0, true, {"Gas", "x"});
    EXPECT_EQ(grid.columnSpan(0, 1), 5);
    EXPECT_EQ(grid.columnSpan(0, 0), 1);
    EXPECT_EQ(grid.columnSpan(1, 1), 1);

    // A changed cell splits the merged run again.
    grid.SetText(0, 3, "other");
    EXPECT_EQ(grid.columnSpan(0, 1), 2);
    EXPECT_EQ(grid.columnSpan(0, 4), 2);
    grid.SetMergeRow(0, false);
    EXPECT_EQ(grid.columnSpan(0, 1), 1);
}

TEST(DataGrid, ColoursAlignmentAndChecksReadBack)
{
    DataGrid grid;
    grid.SetRows(3);
    grid.SetCols(3);
    EXPECT_EQ(grid.CellBackColor(1, 1), 0) << "a cell without a colour of its own reads 0";
    EXPECT_EQ(grid.CellBackColor(0, 0), 0) << "the caption colour is not the cell's own";
    grid.SetCellBackColor(1, 1, RGB(224, 224, 224));
    EXPECT_EQ(grid.CellBackColor(1, 1), RGB(224, 224, 224));
    grid.SetCellBackColor(1, 1, 0);
    EXPECT_EQ(grid.CellBackColor(1, 1), 0);

    grid.SetColAlignment(-1, DataGrid::AlignCenterCenter);
    grid.SetColAlignment(1, DataGrid::AlignLeftCenter);
    grid.SetCellAlignment(2, 1, DataGrid::AlignRightCenter);
    EXPECT_EQ(grid.CellAlignment(2, 0), DataGrid::AlignCenterCenter);
    EXPECT_EQ(grid.CellAlignment(1, 1), DataGrid::AlignLeftCenter);
    EXPECT_EQ(grid.CellAlignment(2, 1), DataGrid::AlignRightCenter);
    grid.SetRangeAlignment(0, 0, 0, 2, DataGrid::AlignCenterCenter);
    EXPECT_EQ(grid.CellAlignment(0, 1), DataGrid::AlignCenterCenter);

    EXPECT_EQ(grid.CellCheck(2, 1), DataGrid::NoCheckBox);
    grid.SetCellCheck(2, 1, DataGrid::Checked);
    EXPECT_EQ(grid.CellCheck(2, 1), DataGrid::Checked);
    grid.SetCellCheck(2, 1, DataGrid::Unchecked);
    EXPECT_EQ(grid.CellCheck(2, 1), DataGrid::Unchecked);

    grid.SetText(2, 2, "keep");
    grid.Clear();
    EXPECT_EQ(grid.Text(2, 2), "");
    EXPECT_EQ(grid.CellCheck(2, 1), DataGrid::NoCheckBox);
    EXPECT_EQ(grid.CellAlignment(2, 1), DataGrid::AlignLeftCenter) << "column alignment stays";
    EXPECT_EQ(grid.Rows(), 3);
}

TEST(DataGrid, ColumnWidthsInTwips)
{
    DataGrid grid;
    grid.SetCols(3);
    grid.SetColWidth(0, 1234);
    grid.SetColWidth(1, -50);
    EXPECT_EQ(grid.ColWidth(0), 1234);
    EXPECT_EQ(grid.columnWidth(0), qRound(1234 * grid.logicalDpiX() / 1440.0));
    EXPECT_EQ(grid.ColWidth(1), 0) << "a negative width is clamped";
    // Columns removed and added again start from the default width.
    grid.SetCols(1);
    grid.SetCols(3);
    EXPECT_EQ(grid.ColWidth(0), 1234);
    EXPECT_NE(grid.ColWidth(1), 0);
}

TEST(FitColumnWidths, KeepsWhatFitsAndWidensOnlyWhatCutsAText)
{
    struct Case {
        const char* name;
        std::vector<int> wanted, need;
        std::vector<SpanNeed> spans;
        int room;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"every text fits: the widths stay", {100, 200, 50}, {60, 120, 40}, {}, 400, {100, 200, 50}},
        {"a column wider than its text may reach beyond the room when it holds no text",
         {100, 200, 300}, {60, 120, 0}, {}, 400, {100, 200, 300}},
        {"a narrow last column takes its room from the others, by what each can spare",
         {150, 150, 10}, {50, 100, 60}, {}, 300, {110, 130, 60}},
        {"a column reaching beyond the room is pulled in", {200, 200, 100}, {100, 100, 50}, {}, 400, {160, 160, 80}},
        {"room left over stays unused", {100, 100, 10}, {50, 50, 60}, {}, 400, {100, 100, 60}},
        {"no room for all texts: each text at its own width", {100, 100, 100}, {150, 150, 0}, {}, 200,
         {150, 150, 100}},
        {"a merged caption widens its columns evenly", {40, 40, 100}, {30, 30, 0}, {{0, 2, 101}}, 400,
         {51, 50, 100}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitColumnWidths(c.wanted, c.need, c.spans, c.room), c.expected) << c.name;
}

namespace {

// A shown grid of rows x cols with a caption row and texts "r,c".
std::unique_ptr<DataGrid> ShownGrid(int rows, int cols, int fixedRows, QSize size)
{
    auto grid = std::make_unique<DataGrid>();
    grid->SetRows(rows);
    grid->SetCols(cols);
    grid->SetFixedRows(fixedRows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            grid->SetText(r, c, r < fixedRows ? QStringLiteral("Head %1").arg(c) : QStringLiteral("%1,%2").arg(r).arg(c));
    grid->resize(size);
    grid->show();
    QCoreApplication::processEvents();
    return grid;
}

} // namespace

TEST(DataGrid, CaptionRowsStayInViewWhenScrolled)
{
    auto grid = ShownGrid(200, 6, 2, QSize(300, 200));
    for (int c = 0; c < 6; ++c)
        grid->SetColWidth(c, 2000); // wider together than the grid
    QCoreApplication::processEvents();
    const QTableView* frozen = grid->FrozenRows();
    ASSERT_NE(frozen, nullptr);
    EXPECT_EQ(grid->FrozenHeight(), grid->rowHeight(0) + grid->rowHeight(1));

    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    QCoreApplication::processEvents();
    EXPECT_TRUE(frozen->isVisible());
    EXPECT_EQ(frozen->geometry().topLeft(), grid->viewport()->geometry().topLeft());
    EXPECT_EQ(frozen->height(), grid->FrozenHeight());
    EXPECT_EQ(frozen->rowAt(0), 0) << "the caption row is shown on top";
    EXPECT_EQ(frozen->rowAt(grid->rowHeight(0)), 1);
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(frozen->columnViewportPosition(c), grid->columnViewportPosition(c)) << "column " << c;

    // A row scrolled to the top stands right under the caption rows.
    grid->scrollTo(grid->model()->index(100, 0), QAbstractItemView::PositionAtTop);
    EXPECT_EQ(grid->visualRect(grid->model()->index(100, 0)).top(), grid->FrozenHeight());
    // Moving up to a row hidden under the captions brings it out.
    grid->scrollTo(grid->model()->index(99, 0));
    EXPECT_GE(grid->visualRect(grid->model()->index(99, 0)).top(), grid->FrozenHeight());
}

TEST(DataGrid, MergedCaptionsAndHiddenRowsShowInTheCaptionView)
{
    auto grid = ShownGrid(50, 4, 1, QSize(300, 150));
    for (int c = 1; c < 4; ++c)
        grid->SetText(0, c, QStringLiteral("Set points"));
    grid->SetMergeCells(DataGrid::MergeRestrictRows);
    grid->SetMergeRow(0, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->columnSpan(0, 1), 3);
    EXPECT_EQ(grid->FrozenRows()->columnSpan(0, 1), 3);

    grid->setRowHidden(0, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->FrozenHeight(), 0);
    EXPECT_FALSE(grid->FrozenRows()->isVisible());
}

TEST(DataGrid, ColumnsFollowTheirTexts)
{
    auto grid = ShownGrid(3, 3, 1, QSize(400, 150));
    const int room = grid->viewport()->width();
    grid->SetColWidth(0, 2000);
    grid->SetColWidth(1, 2000);
    grid->SetColWidth(2, 100); // far narrower than "Head 2"
    const int needed = grid->fontMetrics().horizontalAdvance(QStringLiteral("Head 2"));
    EXPECT_GT(grid->columnWidth(2), needed);
    EXPECT_LE(grid->columnWidth(0) + grid->columnWidth(1) + grid->columnWidth(2), room);
    EXPECT_NE(grid->ColWidth(2), 100) << "the width shown reads back";

    // A longer text later widens its column once control returns to the
    // event loop; the set widths come back when it is gone.
    const int before = grid->columnWidth(1);
    grid->SetText(2, 1, QStringLiteral("a much longer text than before in this column"));
    QCoreApplication::processEvents();
    EXPECT_GT(grid->columnWidth(1), before);
    grid->SetText(2, 1, QString());
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->columnWidth(1), before);
}

TEST(DataGrid, CaptionRowsFollowTheGridSideways)
{
    auto grid = ShownGrid(2, 7, 1, QSize(300, 500));
    for (int c = 0; c < 7; ++c)
        grid->SetColWidth(c, 1500);
    const QTableView& frozen = *grid->FrozenRows();
    auto same = [&](const char* step) {
        QCoreApplication::processEvents();
        for (int c = 0; c < 7; ++c)
            EXPECT_EQ(frozen.columnViewportPosition(c), grid->columnViewportPosition(c)) << step << ", column " << c;
    };
    grid->setCurrentCell(1, 6); // scrolled to the end, the last column flush right
    same("current cell in the last column");
    grid->resize(350, 500);
    same("grid widened");
    grid->horizontalScrollBar()->setValue(1);
    same("scrolled back by all but one");
    grid->SetColWidth(0, 3000);
    same("a column widened");
}
