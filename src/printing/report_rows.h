#pragma once
#include <QString>
#include <QStringList>

#include <array>

class ReportCanvas;

// Placement of a cell's text in its column (w the column's width, t the
// text's width; the text starts at the column's left edge plus the offset).
enum CellAlign : int {
    kAlignLeft = 0,        // 0
    kAlignCentre = 1,      // (w - t) / 2
    kAlignRight80 = 2,     // ends at 80 % of the column: (w - t) - 0.2 w
    kAlignNumberRight = 3, // numbers as code 2, other text as code 1
    kAlignDashCentre = 4,  // texts holding "---" and numbers as code 1, other text as code 0
};

// True when the trimmed text reads as a number in the user's locale.
bool IsNumericCell(const QString& text);
// The offset of a text of width textWidth in a column of width width.
double CellOffset(int code, double width, double textWidth, const QString& text);

// The column table of a report: left edges in twips (edge i + 1 is the
// right edge of column i) and an alignment code per column. Reports set
// what they use; other entries keep their values.
struct ReportColumns {
    static constexpr int kCount = 16;
    std::array<float, kCount> ColumnX{};
    std::array<int, kCount> ColumnAlign{};

    // Edges 0.. as fractions of the page's width.
    void SetEdges(double scaleWidth, std::initializer_list<double> fractions);
    // Columns from..to (inclusive) take code.
    void Align(int from, int to, int code);
    void AlignAll(int code) { Align(0, kCount - 1, code); }
};

// The kind title the page header prints after the product line ("" for
// a kind outside 1 to 7).
QString KindTitle(int dataType);

// The page header at the top of the current page: "Pelkar Data Logger" and
// the kind title in 12 pt bold at (10, 10), the current date and time in
// 9 pt bold ending 300 twips from the right edge on the same line. Leaves
// the canvas on the next line in 9 pt, not bold, black. fontName is the
// report's font family ("" keeps the canvas's).
void PrintPageHeader(ReportCanvas& out, int dataType, const QString& fontName);

// One table row: cell i (from first on; earlier columns stay empty) placed
// in column i by its code, on the row's top line; then down one row step of
// 1.1 x the height of "W".
void PrintRow(ReportCanvas& out, const ReportColumns& columns, const QStringList& cells, int first = 0);

// A rule across the page 30 twips below the print position, in pen width
// width and black; the print position is left at its right end.
void DrawRule(ReportCanvas& out, int width);
