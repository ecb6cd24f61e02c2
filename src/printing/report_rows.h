#pragma once
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <tuple>

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
    // Where a column is wider than its left-aligned data, a centred heading
    // stands over the data: when entry i is above 0, a centred text of
    // column i is centred in the first CentreWidth(i) twips of the column
    // (at least its own width). 0 centres it in the whole column.
    std::array<float, kCount> CentreWidth{};

    // Edges 0.. as fractions of the page's width.
    void SetEdges(double scaleWidth, std::initializer_list<double> fractions);
    // Columns from..to (inclusive) take code.
    void Align(int from, int to, int code);
    void AlignAll(int code) { Align(0, kCount - 1, code); }
};

// What the texts of one table need of its columns, so that no text runs
// into its neighbour or off the page. Rows are added as PrintRow would
// print them under the alignment codes the columns hold at that moment;
// then Apply moves the edges.
class ColumnFit {
public:
    // Texts are measured in out's current font.
    explicit ColumnFit(const ReportCanvas& out) : m_out(out) {}

    // A data row of the table.
    void AddData(const ReportColumns& columns, const QStringList& cells, int first = 0);
    // Any other row printed in the same columns: a heading, a property row.
    void AddOther(const ReportColumns& columns, const QStringList& cells, int first = 0);

    // Moves edges 0 to lastEdge of columns so that every text added lies
    // inside its column with a gap to its neighbours (a left-aligned text
    // may run on over the empty cells after it): an edge keeps its place
    // while its texts fit, edges move right as far as wider texts need,
    // and back left where the page's width ends. Gives the factor (1 when
    // the texts fit at their size) by which the font has to shrink for the
    // texts to fit across the page at all; the edges are then set for
    // texts of that size.
    double Apply(ReportColumns& columns, int lastEdge, double pageWidth);

    // For a heading row printed above the data: the CentreWidth of each
    // column whose data is all left-aligned and narrower than the column,
    // where the heading centred in the whole column would not stand over
    // that data; 0 for the others. Call after Apply.
    std::array<float, ReportColumns::kCount> HeadingSpans(const ReportColumns& columns,
                                                          const QStringList& heading) const;

    // The gap between two texts that share a row, twips.
    static constexpr double kGap = 120;

private:
    enum class Room { Plain, Right80 };
    // Edge index standing for the page's right edge.
    static constexpr int kPageEdge = ReportColumns::kCount;
    void Add(const ReportColumns& columns, const QStringList& cells, int first, bool data);
    // The edges for texts scaled by scale; false when they do not fit.
    bool Solve(const ReportColumns& columns, int lastEdge, double pageWidth, double scale,
               std::array<double, ReportColumns::kCount>& edges) const;

    const ReportCanvas& m_out;
    // Widest text per span (from edge, to edge, room it needs).
    std::map<std::tuple<int, int, Room>, double> m_needs;
    // Per column: the widest left-aligned data text, and whether any data
    // text is placed otherwise.
    std::array<double, ReportColumns::kCount> m_leftData{};
    std::array<bool, ReportColumns::kCount> m_otherData{};
    double m_scale = 1;
};

// The kind title the page header prints after the product line ("" for
// a kind outside 1 to 7).
QString KindTitle(int dataType);

// The size of the report rows' font, points.
constexpr double kRowPoints = 9;

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

// Space between a rule and the rows above and below it, twips.
constexpr double kRuleGap = 30;
// A rule across the page, black, in pen width width, kRuleGap twips below
// the print position; the print position is left at the rule's right end
// and kRuleGap below it, where the next row starts.
void DrawRule(ReportCanvas& out, int width);
