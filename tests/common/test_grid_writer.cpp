#include "common/colors.h"
#include "common/widgets/grid_writer.h"

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
