#include "common/colors.h"
#include "common/widgets/grid_writer.h"
#include "focus_contrast.h"

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <gtest/gtest.h>

#include <functional>

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
        std::vector<GiveWay> giveWay = {};
    };
    const GiveWay none;
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
        {"a column that gives way keeps its text's width while all texts fit", {100, 100, 100}, {80, 120, 90}, {},
         400, {100, 120, 100}, {none, {60, 1}, none}},
        {"no room for all texts: the columns that give way share the cut, by what they need beyond their floors",
         {100, 100, 100, 100}, {80, 120, 90, 130}, {}, 360, {80, 84, 66, 130}, {none, {60, 1}, {50, 1}, none}},
        {"the first order gives way down to its floors before the next", {100, 100, 100, 100}, {80, 120, 90, 130},
         {}, 300, {60, 60, 50, 130}, {{40, 2}, {60, 1}, {50, 1}, none}},
        {"not even the floors make room: each text at its own width", {100, 100, 100, 100}, {80, 120, 90, 130}, {},
         250, {80, 120, 90, 130}, {{40, 2}, {60, 1}, {50, 1}, none}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitColumnWidths(c.wanted, c.need, c.spans, c.room, c.giveWay), c.expected) << c.name;
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

// Where a cell stands on screen, as a screen reader asks for it.
QPoint GlobalCenter(const DataGrid& grid, int row, int col)
{
    const QRect cell = grid.visualRect(grid.model()->index(row, col));
    return grid.viewport()->mapToGlobal(cell.center());
}

} // namespace

TEST(DataGrid, CaptionRowsStandInABandAboveTheScrollingRows)
{
    auto grid = ShownGrid(200, 6, 2, QSize(300, 200));
    for (int c = 0; c < 6; ++c)
        grid->SetColWidth(c, 2000); // wider together than the grid
    QCoreApplication::processEvents();
    const int band = grid->rowHeight(0) + grid->rowHeight(1);
    EXPECT_EQ(grid->FrozenHeight(), band);
    EXPECT_EQ(grid->CaptionBand(), QRect(grid->viewport()->x(), grid->viewport()->y() - band,
                                         grid->viewport()->width(), band));
    EXPECT_EQ(grid->viewport()->y(), grid->frameWidth() + band) << "no row scrolls under the captions";

    // At every position of the scroll bar the rows in view start with a
    // whole data row; at the end the last row shows whole.
    QScrollBar* bar = grid->verticalScrollBar();
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    for (int value = bar->minimum(); value <= bar->maximum(); ++value) {
        bar->setValue(value);
        const int top = grid->rowAt(0);
        ASSERT_GE(top, 2) << "value " << value;
        ASSERT_EQ(grid->rowViewportPosition(top), 0) << "value " << value;
    }
    const QRect last = grid->visualRect(grid->model()->index(199, 0));
    EXPECT_GE(last.top(), 0);
    EXPECT_LE(last.bottom(), grid->viewport()->height() - 1) << "the last row shows whole";
    bar->setValue(bar->minimum());
    EXPECT_EQ(grid->rowAt(0), 2) << "scrolled to the top, the first data row heads the rows";

    // The caption cells lie in the band, over their own columns.
    for (int row : {0, 1})
        for (int c = 0; c < 6; ++c) {
            const QRect cell = grid->visualRect(grid->model()->index(row, c));
            EXPECT_EQ(cell.top(), row == 0 ? -band : grid->rowHeight(0) - band) << row << "," << c;
            EXPECT_EQ(cell.left(), grid->columnViewportPosition(c)) << row << "," << c;
        }

    // A row scrolled to the top stands right under the caption rows; one
    // scrolled into view from above comes out whole.
    grid->scrollTo(grid->model()->index(100, 0), QAbstractItemView::PositionAtTop);
    EXPECT_EQ(grid->visualRect(grid->model()->index(100, 0)).top(), 0);
    grid->scrollTo(grid->model()->index(99, 0));
    EXPECT_EQ(grid->visualRect(grid->model()->index(99, 0)).top(), 0);
    grid->scrollTo(grid->model()->index(0, 0));
    EXPECT_EQ(grid->rowAt(0), 2) << "asked for a caption row, the rows go to their top";

    // The band shows the captions: the fixed colour, whatever the rows show.
    bar->setValue(bar->maximum());
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->minimum());
    QCoreApplication::processEvents();
    const QImage picture = grid->grab().toImage();
    const QPoint inCaption = grid->CaptionBand().topLeft() + QPoint(grid->columnWidth(0) - 4, 3);
    EXPECT_EQ(picture.pixelColor(inCaption), ColorFromWin(DataGrid::FixedBackColor()));
}

TEST(DataGrid, MergedCaptionsAndHiddenRowsShowInTheBand)
{
    auto grid = ShownGrid(50, 4, 1, QSize(300, 150));
    for (int c = 1; c < 4; ++c)
        grid->SetText(0, c, QStringLiteral("Set points"));
    grid->SetMergeCells(DataGrid::MergeRestrictRows);
    grid->SetMergeRow(0, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->columnSpan(0, 1), 3);
    const QRect merged = grid->visualRect(grid->model()->index(0, 1));
    EXPECT_EQ(merged.top(), -grid->FrozenHeight());
    EXPECT_EQ(merged.width() + 1, grid->columnWidth(1) + grid->columnWidth(2) + grid->columnWidth(3));
    const QPoint inThird(grid->columnViewportPosition(3) + 2, merged.center().y());
    EXPECT_EQ(grid->indexAt(inThird), grid->model()->index(0, 1)) << "the merged caption answers for its columns";

    grid->setRowHidden(0, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->FrozenHeight(), 0);
    EXPECT_TRUE(grid->CaptionBand().isEmpty());
    EXPECT_EQ(grid->viewport()->y(), grid->frameWidth());
    EXPECT_EQ(grid->rowAt(0), 1);
}

// A screen reader sees one table: its caption cells are shown where the band
// draws them and answer a hit test there, and nothing else in the grid is a
// table of its own.
TEST(DataGrid, ScreenReaderFindsTheCaptionCellsInTheBand)
{
    auto grid = ShownGrid(200, 4, 2, QSize(300, 200));
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    QCoreApplication::processEvents();
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid.get());
    ASSERT_NE(table, nullptr);
    for (int row : {0, 1, grid->rowAt(0), 199})
        for (int c = 0; c < 4; ++c) {
            QAccessibleInterface* cell = table->childAt(GlobalCenter(*grid, row, c).x(), GlobalCenter(*grid, row, c).y());
            ASSERT_NE(cell, nullptr) << row << "," << c;
            ASSERT_NE(cell->tableCellInterface(), nullptr);
            EXPECT_EQ(cell->tableCellInterface()->rowIndex(), row);
            EXPECT_EQ(cell->tableCellInterface()->columnIndex(), c);
            EXPECT_FALSE(cell->state().invisible) << row << "," << c;
            EXPECT_EQ(cell->text(QAccessible::Name), grid->Text(row, c));
            EXPECT_EQ(table->indexOfChild(cell), table->indexOfChild(table->tableInterface()->cellAt(row, c)));
        }
    for (QAbstractItemView* view : grid->findChildren<QAbstractItemView*>())
        EXPECT_FALSE(view->isVisible()) << "a second table " << view->metaObject()->className();
}

// The cursor, a selection and a click stay in the rows under the captions.
TEST(DataGrid, CursorAndDragStayUnderTheCaptions)
{
    auto grid = ShownGrid(100, 3, 2, QSize(300, 200));
    grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->setFocus();
    grid->setCurrentCell(2, 1);
    QTest::keyClick(grid.get(), Qt::Key_Up);
    EXPECT_EQ(grid->currentRow(), 2);
    grid->setCurrentCell(50, 1);
    QTest::keyClick(grid.get(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid->currentRow(), 2);
    QTest::keyClick(grid.get(), Qt::Key_PageUp);
    EXPECT_EQ(grid->currentRow(), 2);

    // A drag from a row up over the band selects up to the first row in view.
    const QPoint from = grid->visualRect(grid->model()->index(4, 1)).center();
    const QPoint band(from.x(), -grid->FrozenHeight() / 2);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, band, grid->viewport()->mapToGlobal(band), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &move);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, band);
    EXPECT_GE(grid->currentRow(), 2);
    for (const QModelIndex& index : grid->selectionModel()->selectedIndexes())
        EXPECT_GE(index.row(), 2);
}

// The current cell is a data cell: under the caption rows and right of the
// caption column. A grid that takes the focus without one gets its first
// one; the keys never move it onto a caption. A grid of captions only has
// no current cell to show (its frame shows the focus).
TEST(DataGrid, CurrentCellIsADataCell)
{
    struct Case {
        const char* name;
        int rows, cols, fixedRows;
        std::function<void(DataGrid&)> before; // before the focus comes in
        std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
        int row, col; // the current cell afterwards (-1: none)
    };
    const Case cases[] = {
        {"no current cell", 5, 4, 2, [](DataGrid& g) { g.setCurrentIndex(QModelIndex()); }, {}, 2, 1},
        {"current on a caption row", 5, 4, 2, [](DataGrid& g) { g.setCurrentCell(0, 2); }, {}, 2, 1},
        {"current on the caption column", 5, 4, 2, [](DataGrid& g) { g.setCurrentCell(3, 0); }, {}, 2, 1},
        {"a data cell stays", 5, 4, 2, [](DataGrid& g) { g.setCurrentCell(4, 3); }, {}, 4, 3},
        {"Left and Home stop at the data", 5, 4, 2, [](DataGrid& g) { g.setCurrentCell(3, 1); },
         {{Qt::Key_Left, Qt::NoModifier}, {Qt::Key_Home, Qt::NoModifier}, {Qt::Key_Up, Qt::NoModifier},
          {Qt::Key_Up, Qt::NoModifier}},
         2, 1},
        {"Ctrl+Home", 5, 4, 2, [](DataGrid& g) { g.setCurrentCell(4, 3); }, {{Qt::Key_Home, Qt::ControlModifier}}, 2, 1},
        {"a hidden first data row", 5, 4, 1, [](DataGrid& g) {
             g.setRowHidden(1, true);
             g.setCurrentCell(1, 2);
         },
         {}, 2, 1},
        {"only the caption column", 4, 1, 1, [](DataGrid&) {}, {}, 1, 0},
        {"only caption rows", 2, 3, 2, [](DataGrid&) {}, {{Qt::Key_Down, Qt::NoModifier}}, -1, -1},
    };
    // Each case also while the grid has the focus: code that moves the
    // current cell onto a caption sees it go back to the data.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool focused : {false, true}) {
            SCOPED_TRACE(focused ? "with the focus" : "focus coming in");
            auto grid = ShownGrid(c.rows, c.cols, c.fixedRows, QSize(300, 200));
            grid->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(grid.get()));
            if (!focused)
                grid->clearFocus();
            c.before(*grid);
            QCoreApplication::processEvents();
            grid->setFocus(Qt::TabFocusReason);
            ASSERT_TRUE(grid->hasFocus());
            for (const auto& [key, modifiers] : c.keys)
                QTest::keyClick(grid.get(), key, modifiers);
            EXPECT_EQ(grid->currentRow(), c.row);
            EXPECT_EQ(grid->currentColumn(), c.col);
        }
    }
}

// Ctrl+Home and Ctrl+End go to the first and the last data cell and bring
// it into view, also when the cursor is there already and the rows were
// scrolled away from it; the caption band stays.
TEST(DataGrid, CtrlHomeAndCtrlEndBringTheEndsIntoView)
{
    auto grid = ShownGrid(300, 4, 2, QSize(300, 200));
    grid->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(grid.get()));
    grid->setFocus(Qt::TabFocusReason);
    const QRect band = grid->CaptionBand();
    QScrollBar* bar = grid->verticalScrollBar();
    for (const int repeat : {0, 1}) {
        SCOPED_TRACE(repeat ? "cursor already there, rows scrolled away" : "cursor elsewhere");
        bar->setValue(150);
        QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
        EXPECT_EQ(grid->currentRow(), 299);
        EXPECT_EQ(grid->currentColumn(), 3);
        const QRect last = grid->visualRect(grid->model()->index(299, 3));
        EXPECT_TRUE(grid->viewport()->rect().contains(last));
        bar->setValue(150);
        QTest::keyClick(grid.get(), Qt::Key_Home, Qt::ControlModifier);
        EXPECT_EQ(grid->currentRow(), 2);
        EXPECT_EQ(grid->currentColumn(), 1);
        EXPECT_EQ(grid->rowAt(0), 2);
        EXPECT_EQ(grid->CaptionBand(), band);
    }
}

namespace {

// A grid that may be edited, with no veto.
class TakeEverything : public GridEditHooks {
public:
    bool BeforeEdit(int, int) override { return false; }
    bool ValidateEdit(int, int, QString&) override { return false; }
    void AfterEdit(int, int) override {}
};

} // namespace

// While the grid has the focus, its current cell wears a frame that stands
// out from what the cell shows, whatever the cell holds: a text, a check box
// and nothing else, a colour of its own (the read-only grey, an event's red
// or the highlight's own colour), selected or not; without the focus it
// wears none.
TEST(DataGrid, CurrentCellWearsAFrameThatStandsOut)
{
    TakeEverything hooks;
    const QColor highlight = QApplication::palette().color(QPalette::Highlight);
    struct Case {
        const char* name;
        std::function<void(DataGrid&)> cell; // dresses cell (2, 1)
        bool selected;
    };
    const Case cases[] = {
        {"text", [](DataGrid&) {}, false},
        {"check box", [](DataGrid& g) {
             g.SetText(2, 1, QString());
             g.SetCellCheck(2, 1, DataGrid::Checked);
         }, false},
        {"read-only grey", [](DataGrid& g) { g.SetCellBackColor(2, 1, DataGrid::FixedBackColor()); }, false},
        {"red", [](DataGrid& g) { g.SetCellBackColor(2, 1, RGB(255, 0, 0)); }, false},
        {"highlight's colour", [&](DataGrid& g) { g.SetCellBackColor(2, 1, WinFromColor(highlight)); }, false},
        {"selected text", [](DataGrid&) {}, true},
        {"selected check box", [](DataGrid& g) { g.SetCellCheck(2, 1, DataGrid::Unchecked); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto grid = ShownGrid(6, 3, 2, QSize(300, 200));
        grid->SetEditHooks(&hooks);
        c.cell(*grid);
        grid->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(grid.get()));
        grid->setFocus(Qt::TabFocusReason);
        grid->setCurrentCell(2, 1, c.selected ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Clear);
        QCoreApplication::processEvents();
        const QRect cell = grid->visualRect(grid->currentIndex());
        const QImage with = grid->viewport()->grab(cell).toImage();
        grid->clearFocus();
        QCoreApplication::processEvents();
        const QImage without = grid->viewport()->grab(cell).toImage();
        EXPECT_TRUE(ContrastingFrameAround(without, with));
    }
}

// A check box alone in its cell stands where the cell's alignment puts it
// (left, centre, right), and a click toggles it where it stands, never
// where the style would have put it.
TEST(DataGrid, CheckBoxStandsWhereItsCellIsAligned)
{
    class CountEdits : public TakeEverything {
    public:
        void AfterEdit(int, int) override { ++edits; }
        int edits = 0;
    };
    struct Case {
        const char* name;
        DataGrid::Align align;
        double middle; // the box's middle, as a share of the cell's width
    };
    const Case cases[] = {
        {"left", DataGrid::AlignLeftCenter, -1},
        {"centre", DataGrid::AlignCenterCenter, 0.5},
        {"right", DataGrid::AlignRightCenter, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto grid = ShownGrid(3, 3, 1, QSize(500, 150));
        grid->SetColWidth(1, 3000);
        CountEdits hooks;
        grid->SetEditHooks(&hooks);
        grid->SetText(1, 1, QString());
        grid->SetCellAlignment(1, 1, c.align);
        QCoreApplication::processEvents();
        const QRect cell = grid->visualRect(grid->model()->index(1, 1));
        const QImage empty = grid->viewport()->grab(cell).toImage();
        grid->SetCellCheck(1, 1, DataGrid::Unchecked);
        QCoreApplication::processEvents();
        const QImage boxed = grid->viewport()->grab(cell).toImage();
        // The box: the pixels it changed.
        int left = boxed.width(), right = -1;
        for (int y = 0; y < boxed.height(); ++y)
            for (int x = 0; x < boxed.width(); ++x)
                if (boxed.pixel(x, y) != empty.pixel(x, y)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        ASSERT_GE(right, left) << "no box drawn";
        const double middle = (left + right) / 2.0;
        const double width = boxed.width();
        if (c.align == DataGrid::AlignCenterCenter) {
            EXPECT_NEAR(middle, c.middle * (width - 1), 1.5);
        } else if (c.align == DataGrid::AlignLeftCenter) {
            EXPECT_LT(middle, width / 4);
        } else {
            EXPECT_GT(middle, width * 3 / 4);
            // As far from the right edge as a left box is from the left.
            EXPECT_NEAR(width - 1 - right, grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1, 2);
        }
        // A click beside the box changes nothing; one on it toggles it.
        const int y = cell.center().y();
        const int beside = middle < width / 2 ? cell.left() + right + 8 : cell.left() + left - 8;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(beside, y));
        EXPECT_EQ(grid->CellCheck(1, 1), DataGrid::Unchecked);
        EXPECT_EQ(hooks.edits, 0);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(cell.left() + int(middle), y));
        EXPECT_EQ(grid->CellCheck(1, 1), DataGrid::Checked);
        EXPECT_EQ(hooks.edits, 1);
    }
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
    auto same = [&](const char* step) {
        QCoreApplication::processEvents();
        const QRect band = grid->CaptionBand();
        const QImage picture = grid->grab().toImage();
        for (int c = 0; c < 7; ++c) {
            const QRect caption = grid->visualRect(grid->model()->index(0, c));
            EXPECT_EQ(caption.left(), grid->columnViewportPosition(c)) << step << ", column " << c;
            const QPoint inside(band.left() + caption.center().x(), band.top() + 2);
            if (band.contains(inside)) {
                EXPECT_EQ(grid->indexAt(caption.center()).column(), c) << step << ", column " << c;
            }
        }
        // Inside the caption in the middle of the view, clear of its lines.
        const int mid = grid->columnAt(band.width() / 2);
        const int x = std::max(grid->columnViewportPosition(mid), 0) + 2;
        EXPECT_EQ(picture.pixelColor(band.left() + x, band.top() + 2), ColorFromWin(DataGrid::FixedBackColor()))
            << step;
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

// Every text of a column, whatever its length in characters, fits the width
// the grid gives the column.
TEST(DataGrid, ColumnsFitTheirWidestTextInPixels)
{
    struct Case {
        const char* name;
        QStringList texts;
    };
    QStringList manyNarrow;
    for (int i = 0; i < 100; ++i)
        manyNarrow << QStringLiteral("iiiiiii");
    const Case cases[] = {
        {"few wide letters beside more narrow digits", {QStringLiteral("1111111111"), QStringLiteral("WWWWWWW")}},
        {"the wide text after a hundred narrow ones of its length", manyNarrow + QStringList{QStringLiteral("WWWWWWW")}},
        {"full-width Japanese beside longer half-width",
         {QStringLiteral("ｹｲﾎｳﾄﾚﾝﾄﾞｷﾛｸ12"), QStringLiteral("警報トレンド記録")}},
        {"half-width and full-width mixed in one text",
         {QStringLiteral("ｶﾞｽ濃度ｱﾗｰﾑ 1234"), QStringLiteral("ガス濃度アラーム１"), QStringLiteral("ｶﾞｽ")}},
    };
    for (const Case& c : cases) {
        const int rows = static_cast<int>(c.texts.size()) + 1;
        auto grid = ShownGrid(rows, 2, 1, QSize(600, 300));
        grid->SetText(0, 0, QStringLiteral("C"));
        for (int r = 1; r < rows; ++r)
            grid->SetText(r, 0, c.texts[r - 1]);
        grid->SetColWidth(0, 200);
        grid->SetColWidth(1, 200);
        QCoreApplication::processEvents();
        QStyleOptionViewItem option;
        option.initFrom(grid.get());
        option.font = grid->font();
        option.fontMetrics = grid->fontMetrics();
        for (int r = 1; r < rows; ++r) {
            const int need = grid->itemDelegate()->sizeHint(option, grid->model()->index(r, 0)).width() + 1;
            EXPECT_GE(grid->columnWidth(0), need) << c.name << ": \"" << grid->Text(r, 0).toStdString() << "\"";
        }
    }
}

// The cheap bound of a text never falls under its laid-out width (the
// widest text is found by it), and the widest found is the widest laid out.
TEST(TextWidths, BoundsHoldAndTheWidestIsFound)
{
    const QStringList texts = {
        QStringLiteral("AVAVAVAV"), QStringLiteral("To Wo Ty"), QStringLiteral("office affluent"),
        QStringLiteral("1111111111"), QStringLiteral("WWWWWWW"), QStringLiteral("2024/03/05 08:00:00"),
        QStringLiteral("警報トレンド記録"), QStringLiteral("ｹｲﾎｳﾄﾚﾝﾄﾞｷﾛｸ12"), QStringLiteral("ｶﾞｽ濃度 ｱﾗｰﾑ"),
        QStringLiteral("ＯＸＹ 25.0 VOL%"), QStringLiteral("two\nlines of text"), QString(),
    };
    for (const QFont& font : {QFont(), QFont(QStringLiteral("IPAPGothic"), 12)}) {
        TextWidths widths(font);
        const QFontMetricsF metrics(font);
        std::vector<TextWidths::Candidate> candidates;
        int widest = 0;
        for (int i = 0; i < texts.size(); ++i) {
            const QString& text = texts[i];
            EXPECT_GE(widths.Bound(text) + 0.01, widths.Width(text)) << text.toStdString();
            if (!text.contains(QLatin1Char('\n'))) {
                EXPECT_DOUBLE_EQ(widths.Width(text), metrics.horizontalAdvance(text)) << text.toStdString();
            }
            candidates.push_back({widths.Bound(text), i});
            if (widths.Width(text) > widths.Width(texts[widest]))
                widest = i;
        }
        EXPECT_EQ(widths.Widest(candidates, [&](int i) { return texts[i]; }), widest) << font.family().toStdString();
    }
}
