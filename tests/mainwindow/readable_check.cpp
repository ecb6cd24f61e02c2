#include "readable_check.h"

#include "common/widgets/grid_writer.h"
#include "common/widgets/tree_columns.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QTableView>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolTip>
#include <QTextLayout>
#include <QTreeView>

#include <algorithm>
#include <functional>

namespace {

QString Rect(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString Name(const QWidget* w)
{
    const QString name = w->objectName();
    return name.isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : name;
}

// A widget that holds controls of its own (not the parts of one control).
bool IsContainer(const QWidget* w)
{
    const QMetaObject* m = w->metaObject();
    return w->isWindow() || m == &QGroupBox::staticMetaObject || m == &QFrame::staticMetaObject
        || m == &QWidget::staticMetaObject;
}

// The controls standing directly in a container, as the user sees them.
QList<QWidget*> Controls(const QWidget* container)
{
    QList<QWidget*> out;
    for (QWidget* w : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isWindow() || w->isHidden() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        out << w;
    }
    return out;
}

// The room a container gives its controls: inside a frame's border and
// below its title.
QRect Inside(const QWidget* container)
{
    if (qobject_cast<const QGroupBox*>(container))
        return container->contentsRect();
    return container->rect();
}

QString Plain(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

// A text across several columns of one row (a merged cell) and the width
// it needs.
struct SpanText {
    int first;
    int count;
    int need;
    QString text;
};

class Checker {
public:
    explicit Checker(const QString& where) : m_where(where) {}

    void Container(QWidget* container)
    {
        const QList<QWidget*> controls = Controls(container);
        const QRect inside = Inside(container);
        for (int i = 0; i < controls.size(); ++i) {
            QWidget* a = controls[i];
            if (!container->isWindow() && !inside.contains(a->geometry()))
                Fault(a, QStringLiteral("%1 reaches outside %2 (room %3)")
                             .arg(Rect(a->geometry()), Name(container), Rect(inside)));
            // A check box or option button draws its box at its very edge:
            // it keeps clear of the frame's line.
            constexpr int kClear = 4;
            if (qobject_cast<QGroupBox*>(container) && (qobject_cast<QCheckBox*>(a) || qobject_cast<QRadioButton*>(a))
                && a->geometry().left() < inside.left() + kClear)
                Fault(a, QStringLiteral("%1 stands on the line of %2 (room %3)")
                             .arg(Rect(a->geometry()), Name(container), Rect(inside)));
            for (int j = i + 1; j < controls.size(); ++j) {
                QWidget* b = controls[j];
                // Edges that meet in twips may share one pixel once rounded.
                const QRect both = a->geometry().intersected(b->geometry());
                if (both.width() > 1 && both.height() > 1)
                    Fault(a, QStringLiteral("%1 overlaps %2 %3").arg(Rect(a->geometry()), Name(b), Rect(b->geometry())));
            }
            Control(a);
            if (IsContainer(a))
                Container(a);
        }
    }

    QStringList faults;

private:
    void Fault(const QWidget* w, const QString& text) { faults << m_where + QStringLiteral(": ") + Name(w) + QLatin1Char(' ') + text; }

    void Fits(const QWidget* w, const QString& text, const QRect& room, int extra = 0)
    {
        if (text.isEmpty())
            return;
        const QFontMetrics fm = w->fontMetrics();
        QStringList lines = Plain(text).split(QLatin1Char('\n'));
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, fm.horizontalAdvance(line));
        const int high = fm.height() + (static_cast<int>(lines.size()) - 1) * fm.lineSpacing();
        if (widest + extra > room.width())
            Fault(w, QStringLiteral("\"%1\" needs %2 px, has %3").arg(text).arg(widest + extra).arg(room.width()));
        if (high > room.height())
            Fault(w, QStringLiteral("\"%1\" needs %2 px high, has %3").arg(text).arg(high).arg(room.height()));
    }

    void Control(QWidget* w)
    {
        QStyle* style = w->style();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->text().isEmpty() || !label->pixmap().isNull())
                return;
            QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                                        -label->margin());
            if (label->wordWrap()) {
                if (label->heightForWidth(label->width()) > label->height())
                    Fault(w, QStringLiteral("\"%1\" needs %2 px high, has %3")
                                 .arg(label->text())
                                 .arg(label->heightForWidth(label->width()))
                                 .arg(label->height()));
                return;
            }
            int indent = label->indent();
            if (indent < 0 && label->frameWidth() > 0)
                indent = label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
            if (indent > 0 && !(label->alignment() & Qt::AlignHCenter))
                room.setWidth(room.width() - indent);
            Fits(w, label->text(), room);
        } else if (auto* push = qobject_cast<QPushButton*>(w)) {
            QStyleOptionButton option;
            option.initFrom(push);
            option.text = push->text();
            const QRect room = style->subElementRect(QStyle::SE_PushButtonContents, &option, push);
            // The caption keeps clear of the button's frame by the width of
            // an "x" on either side.
            const int margin = push->fontMetrics().horizontalAdvance(QLatin1Char('x'));
            // The main window's buttons break a long caption onto more
            // lines (through the proxy style the window owns); every word
            // must still fit, and all the lines.
            if (push->window()->findChild<QProxyStyle*>(QString(), Qt::FindDirectChildrenOnly)) {
                const QString text = Plain(push->text());
                const QRect wrapped = push->fontMetrics().boundingRect(room.adjusted(margin, 0, -margin, 0),
                                                                       Qt::AlignCenter | Qt::TextWordWrap, text);
                for (const QString& word : text.split(QLatin1Char(' ')))
                    if (push->fontMetrics().horizontalAdvance(word) + 2 * margin > room.width())
                        Fault(w, QStringLiteral("\"%1\" needs %2 px with its margins, has %3")
                                     .arg(word)
                                     .arg(push->fontMetrics().horizontalAdvance(word) + 2 * margin)
                                     .arg(room.width()));
                if (wrapped.height() > room.height())
                    Fault(w, QStringLiteral("\"%1\" needs %2 px high, has %3").arg(text).arg(wrapped.height()).arg(room.height()));
                return;
            }
            Fits(w, push->text(), room, 2 * margin);
        } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
            auto* button = static_cast<QAbstractButton*>(w);
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const bool check = qobject_cast<QCheckBox*>(w) != nullptr;
            const QRect room =
                style->subElementRect(check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, w);
            Fits(w, button->text(), room);
        } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
            if (box->title().isEmpty())
                return;
            QStyleOptionGroupBox option;
            option.initFrom(box);
            option.text = box->title();
            option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            option.textAlignment = box->alignment();
            const QRect label = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
            const int needed = box->fontMetrics().horizontalAdvance(Plain(box->title()));
            if (!box->rect().contains(label) || label.width() < needed)
                Fault(w, QStringLiteral("title \"%1\" needs %2 px at %3, box %4")
                             .arg(box->title())
                             .arg(needed)
                             .arg(Rect(label), Rect(box->rect())));
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = combo->isEditable();
            const QRect room = style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
            Fits(w, combo->currentText(), room);
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            if (edit->echoMode() != QLineEdit::Normal)
                return;
            // The frame and the editor's own margins on either side.
            Fits(w, edit->text(), edit->rect(), 10);
        } else if (auto* pane = qobject_cast<QTextEdit*>(w)) {
            PaneLines(pane);
        } else if (auto* grid = qobject_cast<QTableView*>(w)) {
            Table(grid);
            BlankCaptionRows(grid);
            Editors(grid);
        } else if (auto* tree = qobject_cast<QTreeView*>(w)) {
            Tree(tree);
            PlaceholderHeadings(tree);
            Editors(tree);
        }
    }

    // An editor open in a cell shows its text whole, inside the rows.
    void Editors(QAbstractItemView* view)
    {
        QWidget* rows = view->viewport();
        for (QWidget* editor : rows->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!editor->isVisible())
                continue;
            if (!rows->rect().contains(editor->geometry()))
                Fault(editor, QStringLiteral("editor %1 reaches outside the rows of %2 (%3)")
                                  .arg(Rect(editor->geometry()), Name(view), Rect(rows->rect())));
            Control(editor);
        }
    }

    // A text pane shows every line whole, side to side: one that wraps
    // needs no sideways scroll and each of its wrapped lines fits the
    // pane's width; one that does not wrap has room for its widest line.
    void PaneLines(QTextEdit* pane)
    {
        const int margin = static_cast<int>(pane->document()->documentMargin());
        const int room = pane->viewport()->width() - 2 * margin;
        if (pane->lineWrapMode() != QTextEdit::NoWrap) {
            QTextDocument* doc = pane->document();
            doc->documentLayout()->documentSize(); // lays the document out
            if (pane->horizontalScrollBar()->maximum() > 0 || doc->size().width() > pane->viewport()->width())
                Fault(pane, QStringLiteral("text %1 px wide needs a sideways scroll in %2 px")
                                .arg(doc->size().width())
                                .arg(pane->viewport()->width()));
            for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
                const QTextLayout* layout = block.layout();
                for (int i = 0; layout && i < layout->lineCount(); ++i) {
                    const QTextLine line = layout->lineAt(i);
                    if (line.naturalTextWidth() > room + 0.5)
                        Fault(pane, QStringLiteral("\"%1\" needs %2 px, has %3")
                                        .arg(block.text().mid(line.textStart(), line.textLength()))
                                        .arg(line.naturalTextWidth())
                                        .arg(room));
                }
            }
            return;
        }
        const QFontMetrics fm(pane->document()->defaultFont());
        for (QTextBlock block = pane->document()->begin(); block.isValid(); block = block.next()) {
            const QString line = block.text().trimmed();
            if (!line.isEmpty() && fm.horizontalAdvance(line) > room)
                Fault(pane, QStringLiteral("\"%1\" needs %2 px, has %3").arg(line).arg(fm.horizontalAdvance(line)).arg(room));
        }
    }

    // A caption row with no caption in any cell is a heading left blank.
    void BlankCaptionRows(QTableView* grid)
    {
        const auto* data = qobject_cast<DataGrid*>(grid);
        if (!data)
            return;
        for (int r = 0; r < std::min(data->FixedRows(), data->Rows()); ++r) {
            if (grid->isRowHidden(r))
                continue;
            bool blank = true;
            for (int c = 0; c < data->Cols() && blank; ++c)
                blank = grid->isColumnHidden(c) || data->Text(r, c).isEmpty();
            if (blank && data->Cols() > 0)
                Fault(grid, QStringLiteral("caption row %1 is blank").arg(r));
        }
    }

    // A heading the view numbers by itself ("1", "2", ...) because nobody
    // gave it a caption.
    void PlaceholderHeadings(QTreeView* tree)
    {
        QHeaderView* header = tree->header();
        if (header->isHidden())
            return;
        for (int c = 0; c < header->count(); ++c)
            if (!header->isSectionHidden(c)
                && tree->model()->headerData(c, Qt::Horizontal).toString() == QString::number(c + 1))
                Fault(tree, QStringLiteral("column %1 shows the placeholder heading \"%2\"").arg(c).arg(c + 1));
    }

    // Columns of a view against what they must show: need(c) is the widest
    // text of column c, spans the texts across several columns.
    void Columns(const QWidget* w, const std::function<int(int)>& width, const std::function<int(int)>& left, int cols,
                 const std::vector<int>& need, const std::vector<SpanText>& spans,
                 const std::vector<QString>& widestText, const std::function<bool(int)>& hidden, int room)
    {
        long total = 0;
        for (int c = 0; c < cols; ++c)
            if (!hidden(c))
                total += need[static_cast<size_t>(c)];
        for (int c = 0; c < cols; ++c) {
            const size_t i = static_cast<size_t>(c);
            if (hidden(c) || need[i] == 0)
                continue;
            if (width(c) < need[i])
                Fault(w, QStringLiteral("column %1 is %2 px, \"%3\" needs %4").arg(c).arg(width(c)).arg(widestText[i]).arg(need[i]));
            else if (total <= room && left(c) + width(c) > room)
                Fault(w, QStringLiteral("column %1 (\"%2\") ends at %3 px, beyond the visible %4 px")
                             .arg(c)
                             .arg(widestText[i])
                             .arg(left(c) + width(c))
                             .arg(room));
        }
        for (const SpanText& s : spans) {
            int have = 0;
            for (int c = s.first; c < s.first + s.count && c < cols; ++c)
                have += width(c);
            if (have < s.need)
                Fault(w, QStringLiteral("columns %1 to %2 are %3 px, \"%4\" needs %5")
                             .arg(s.first)
                             .arg(s.first + s.count - 1)
                             .arg(have)
                             .arg(s.text)
                             .arg(s.need));
        }
    }

    void Table(QTableView* grid)
    {
        QScrollBar* hbar = grid->horizontalScrollBar();
        QScrollBar* vbar = grid->verticalScrollBar();
        const int hValue = hbar->value();
        const int vValue = vbar->value();
        hbar->setValue(hbar->minimum());
        // Scrolled to its top and to its end, the grid shows whole rows under
        // its captions, and every text in view whole.
        vbar->setValue(vbar->minimum());
        TableInView(grid, QString());
        if (vbar->maximum() > vbar->minimum()) {
            vbar->setValue(vbar->maximum());
            TableInView(grid, QStringLiteral("scrolled to its end, "));
        }
        vbar->setValue(vValue);
        hbar->setValue(hValue);
    }

    void TableInView(QTableView* grid, const QString& at)
    {
        const auto* data = qobject_cast<DataGrid*>(grid);
        const int fixedRows = data ? data->FixedRows() : 0;
        QAbstractItemModel* model = grid->model();
        const int rows = model->rowCount();
        const int cols = model->columnCount();
        const QRect area = grid->viewport()->geometry();

        // Nothing lies over the rows (the headers and scroll bars stand
        // beside them).
        for (QWidget* w : grid->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w != grid->viewport() && w->isVisibleTo(grid) && !qobject_cast<QHeaderView*>(w)
                && !w->objectName().startsWith(QLatin1String("qt_scrollarea_"))
                && w->geometry().intersects(area))
                Fault(grid, QStringLiteral("%1%2 %3 lies over its rows %4").arg(at, Name(w), Rect(w->geometry()), Rect(area)));

        // The caption rows and the rows in view.
        QList<int> shown;
        for (int r = 0; r < std::min(fixedRows, rows); ++r)
            if (!grid->isRowHidden(r))
                shown << r;
        const int first = grid->rowAt(0);
        int last = grid->rowAt(area.height() - 1);
        if (last < 0)
            last = rows - 1;
        for (int r = std::max(first, fixedRows); r >= 0 && r <= last; ++r)
            if (!grid->isRowHidden(r))
                shown << r;
        if (first >= 0 && first < fixedRows)
            Fault(grid, QStringLiteral("%1caption row %2 scrolled into the rows").arg(at).arg(first));
        else if (first >= 0 && grid->rowViewportPosition(first) < 0)
            Fault(grid, QStringLiteral("%1the first row in view (%2) is cut at the top by %3 px")
                            .arg(at)
                            .arg(first)
                            .arg(-grid->rowViewportPosition(first)));
        if (!at.isEmpty()) {
            int end = rows - 1;
            while (end >= fixedRows && grid->isRowHidden(end))
                --end;
            if (end >= fixedRows && grid->rowViewportPosition(end) + grid->rowHeight(end) > area.height())
                Fault(grid, QStringLiteral("%1the last row (%2) is cut: it ends at %3 px of %4")
                                .arg(at)
                                .arg(end)
                                .arg(grid->rowViewportPosition(end) + grid->rowHeight(end))
                                .arg(area.height()));
        }
        // A screen reader finds each caption cell in view where it is drawn.
        if (data && data->FrozenHeight() > 0) {
            // Without a screen reader running (offscreen) the table's
            // interface is not told of changes to its rows and would answer
            // with cells of rows since removed: it is asked afresh.
            if (QAccessibleInterface* cached = QAccessible::queryAccessibleInterface(grid))
                QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cached));
            QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);
            for (int r : shown) {
                if (r >= fixedRows)
                    break;
                for (int c = 0; c < cols; ++c) {
                    const QRect cell = grid->visualRect(model->index(r, c));
                    if (grid->isColumnHidden(c) || cell.center().x() < 0 || cell.center().x() >= area.width())
                        continue;
                    const QPoint global = grid->viewport()->mapToGlobal(cell.center());
                    QAccessibleInterface* found = table ? table->childAt(global.x(), global.y()) : nullptr;
                    QAccessibleTableCellInterface* hit = found ? found->tableCellInterface() : nullptr;
                    if (!hit || hit->rowIndex() != r || found->state().invisible)
                        Fault(grid, QStringLiteral("%1a screen reader does not find caption cell %2,%3 at %4")
                                        .arg(at)
                                        .arg(r)
                                        .arg(c)
                                        .arg(Rect(cell)));
                }
            }
        }

        std::vector<int> need(static_cast<size_t>(cols), 0);
        std::vector<QString> widest(static_cast<size_t>(cols));
        std::vector<SpanText> spans;
        QStyleOptionViewItem option;
        option.initFrom(grid);
        option.font = grid->font();
        option.fontMetrics = grid->fontMetrics();
        const int line = grid->showGrid() ? 1 : 0;
        for (int r : shown) {
            int covered = 0; // the columns up to here belong to a merged cell
            for (int c = 0; c < cols; ++c) {
                if (c < covered)
                    continue;
                const int span = grid->columnSpan(r, c);
                if (span > 1)
                    covered = c + span;
                const QModelIndex index = model->index(r, c);
                const QString text = index.data(Qt::DisplayRole).toString();
                if (grid->isColumnHidden(c) || (text.isEmpty() && !index.data(Qt::CheckStateRole).isValid()))
                    continue;
                QAbstractItemDelegate* delegate = grid->itemDelegateForIndex(index);
                const int w = delegate->sizeHint(option, index).width() + line;
                if (span > 1) {
                    spans.push_back({c, span, w, at + text});
                } else if (w > need[static_cast<size_t>(c)]) {
                    need[static_cast<size_t>(c)] = w;
                    widest[static_cast<size_t>(c)] = at + text;
                }
            }
        }
        Columns(
            grid, [grid](int c) { return grid->columnWidth(c); },
            [grid](int c) { return grid->columnViewportPosition(c); }, cols, need, spans, widest,
            [grid](int c) { return grid->isColumnHidden(c); }, area.width());
    }

    void Tree(QTreeView* tree)
    {
        QHeaderView* header = tree->header();
        const int cols = header->count();
        const int room = tree->viewport()->width();
        std::vector<int> need(static_cast<size_t>(cols), 0), captionNeed(static_cast<size_t>(cols), 0);
        std::vector<QString> widest(static_cast<size_t>(cols));
        QAbstractItemModel* model = tree->model();
        for (int c = 0; c < cols; ++c) {
            const size_t i = static_cast<size_t>(c);
            const QString caption = model->headerData(c, Qt::Horizontal).toString();
            if (!header->isHidden() && !caption.isEmpty()) {
                need[i] = captionNeed[i] = CaptionWidth(*header, c);
                widest[i] = caption;
            }
            // The items in view, with their indentation and icons.
            const int items = static_cast<QAbstractItemView*>(tree)->sizeHintForColumn(c);
            if (items > need[i]) {
                need[i] = items;
                widest[i] = QStringLiteral("(an item)");
            }
        }
        auto hidden = [header](int c) { return header->isSectionHidden(c); };
        if (header->isHidden()) {
            Columns(
                tree, [header](int c) { return header->sectionSize(c); },
                [header](int c) { return header->sectionViewportPosition(c); }, cols, need, {}, widest, hidden,
                room);
            return;
        }
        // A list with headings shows every column inside its width, without
        // a sideways scroll. A column too narrow for its texts is one that
        // gives way: its heading stays whole and each text it cuts shows
        // whole in its tooltip.
        for (int c = 0; c < cols; ++c) {
            const size_t i = static_cast<size_t>(c);
            if (hidden(c) || need[i] == 0)
                continue;
            const int left = header->sectionViewportPosition(c);
            const int width = header->sectionSize(c);
            if (left + width > room)
                Fault(tree, QStringLiteral("column %1 (\"%2\") ends at %3 px, beyond the visible %4 px")
                                .arg(c)
                                .arg(widest[i])
                                .arg(left + width)
                                .arg(room));
            if (width >= need[i])
                continue;
            if (!qobject_cast<CutTextTips*>(tree->itemDelegateForColumn(c)) || width < captionNeed[i])
                Fault(tree, QStringLiteral("column %1 is %2 px, \"%3\" needs %4").arg(c).arg(width).arg(widest[i]).arg(need[i]));
            else
                CutTextsShowInTips(tree, c);
        }
    }

    // Each item in view that column c cuts shows its whole text as a
    // tooltip where the user points at it.
    void CutTextsShowInTips(QTreeView* tree, int c)
    {
        QAbstractItemModel* model = tree->model();
        QWidget* rows = tree->viewport();
        const int width = tree->header()->sectionSize(c);
        for (int r = 0; r < model->rowCount(); ++r) {
            const QModelIndex index = model->index(r, c);
            const QRect cell = tree->visualRect(index);
            if (!cell.intersects(rows->rect()))
                continue;
            const QString text = index.data(Qt::DisplayRole).toString();
            if (text.isEmpty() || tree->sizeHintForIndex(index).width() <= width)
                continue;
            QToolTip::hideText();
            QHelpEvent help(QEvent::ToolTip, cell.center(), rows->mapToGlobal(cell.center()));
            QCoreApplication::sendEvent(rows, &help);
            const QString tip = QToolTip::isVisible() ? QToolTip::text() : QString();
            QToolTip::hideText();
            if (tip != text)
                Fault(tree, QStringLiteral("column %1 cuts \"%2\" (%3 px) and its tooltip shows \"%4\"")
                                .arg(c)
                                .arg(text)
                                .arg(width)
                                .arg(tip));
        }
    }

    QString m_where;
};

} // namespace

QStringList UnreadableParts(QWidget* top, const QString& where)
{
    Checker checker(where);
    checker.Container(top);
    return checker.faults;
}

QPixmap GrabWithGridsAtEnd(QWidget* top)
{
    QList<std::pair<QScrollBar*, int>> kept;
    for (QTableView* grid : top->findChildren<QTableView*>()) {
        QScrollBar* bar = grid->verticalScrollBar();
        kept.append({bar, bar->value()});
        bar->setValue(bar->maximum());
    }
    const QPixmap picture = top->grab();
    for (const auto& [bar, value] : kept)
        bar->setValue(value);
    return picture;
}
