#pragma once
// Column widths that keep every text of a grid readable, computed without
// widgets: the widths a layout asks for are kept as long as each column is
// at least as wide as its widest text and lies inside the visible room;
// otherwise the short columns get their texts' width and the room is taken
// from the columns wider than their texts, in proportion to what each can
// spare.
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include <array>
#include <functional>
#include <vector>

// A text that stands across several columns (a merged cell): the columns
// together must be at least width wide.
struct SpanNeed {
    int first = 0;
    int count = 1;
    int width = 0;
};

// A column that may be narrowed below its widest text where the texts do
// not all fit.
struct GiveWay {
    int floor = 0; // the least width it may give way to; 0: it does not
    int order = 1; // the columns of a lower order give way first
};

// wanted: the widths the layout set, in pixels; need: the widest text of
// each column (0 for a column without text); room: the visible width. When
// the texts together are wider than the room, the columns that give way
// (giveWay, per column; missing: none) are narrowed, order by order, until
// the columns fit: those of one order share the cut in proportion to what
// their texts need beyond their floors; every other column gets its text's
// width. Where even the floors do not make room, every column with text
// gets its text's width and the grid scrolls.
std::vector<int> FitColumnWidths(const std::vector<int>& wanted, std::vector<int> need,
                                 const std::vector<SpanNeed>& spans, int room,
                                 const std::vector<GiveWay>& giveWay = {});

// Text widths in one font, for finding the widest of many texts. The sum of
// a text's character advances bounds its laid-out width from above (kerning
// and ligatures only narrow a text) and costs a table look-up per character;
// only the texts whose bound reaches the widest width found so far are laid
// out whole, and those widths are kept until the font changes.
class TextWidths {
public:
    explicit TextWidths(const QFont& font = QFont());
    void SetFont(const QFont& font);

    // The laid-out width of text in pixels; a text of several lines is as
    // wide as its widest line.
    qreal Width(const QString& text);
    // At least Width(text).
    qreal Bound(const QString& text);

    // A text that may be the widest: its Bound and the caller's id for it.
    struct Candidate {
        qreal bound;
        int id;
        bool operator<(const Candidate& o) const { return bound < o.bound; }
    };
    // The id of the widest of the candidates (by Width of textOf(id)), -1
    // when there are none. Reorders the candidates.
    int Widest(std::vector<Candidate>& candidates, const std::function<QString(int)>& textOf);

private:
    QFontMetricsF m_metrics;
    std::array<qreal, 256> m_latin1{}; // -1 until measured
    QHash<char16_t, qreal> m_others;
    QHash<QString, qreal> m_widths;
};
