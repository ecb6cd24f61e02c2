#include "common/widgets/keyboard_cues.h"

#include "common/focus_frame.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QToolButton>

#include <vector>

namespace {

// Keeps the Tab stop of a group of options on its checked option.
class CheckedTabStop : public QObject {
public:
    CheckedTabStop(const QList<QAbstractButton*>& options, QObject* parent) : QObject(parent)
    {
        for (QAbstractButton* o : options) {
            if (!o)
                continue;
            m_options.emplace_back(o);
            o->installEventFilter(this);
            connect(o, &QAbstractButton::toggled, this, [this](bool on) {
                if (on)
                    Apply();
            });
        }
        Apply();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut)
            Apply();
        return QObject::eventFilter(watched, event);
    }

private:
    void Apply()
    {
        bool anyChecked = false;
        for (const QPointer<QAbstractButton>& o : m_options)
            anyChecked = anyChecked || (o && o->isChecked());
        // With none checked, each option stays a Tab stop.
        for (const QPointer<QAbstractButton>& o : m_options) {
            if (!o)
                continue;
            const bool stop = !anyChecked || o->isChecked();
            o->setFocusPolicy(stop ? Qt::FocusPolicy(o->focusPolicy() | Qt::TabFocus)
                                   : Qt::FocusPolicy(o->focusPolicy() & ~Qt::TabFocus));
        }
    }

    std::vector<QPointer<QAbstractButton>> m_options;
};

// Draws the frame of FocusCueOnPushButtons over the push button that has
// the focus, once the button has painted itself.
class PushButtonFocusCue : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!button || !button->hasFocus())
            return false;
        static_cast<QObject*>(button)->event(event);
        // Over the style's outline and the edge of the face, clear of the
        // caption, which keeps its margins inside the frame: a black band
        // of two pixels and a white line, one of which stands out from any
        // face by at least 4.5 to 1.
        QPainter p(button);
        PaintFocusFrame(p, button->rect(), 2, Qt::black);
        PaintFocusFrame(p, button->rect().adjusted(2, 2, -2, -2), 1, Qt::white);
        return true;
    }
};

// Presses the focused push or tool button on Enter (see
// EnterPressesFocusedButton).
class EnterPressesButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !button->hasFocus() || !button->isEnabled())
            return false;
        if (const auto* push = qobject_cast<QPushButton*>(button)) {
            if (push->autoDefault() || push->isDefault())
                return false;
        } else if (!qobject_cast<QToolButton*>(button)) {
            return false; // a check box or option is not pressed by Enter
        }
        // A held key presses once; its repeats press nothing else either.
        if (!key->isAutoRepeat())
            button->click();
        return true;
    }
};

// Installs one Filter on the application, for all its windows, however
// often it is asked for.
template <typename Filter>
void InstallForTheApplication()
{
    static QPointer<Filter> installed;
    if (installed || !QCoreApplication::instance())
        return;
    installed = new Filter(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(installed);
}

} // namespace

void FocusCueOnPushButtons()
{
    InstallForTheApplication<PushButtonFocusCue>();
}

void EnterPressesFocusedButton()
{
    InstallForTheApplication<EnterPressesButton>();
}

void TabToCheckedOption(const QList<QAbstractButton*>& options)
{
    if (options.isEmpty() || !options.first())
        return;
    new CheckedTabStop(options, options.first());
}

KeyboardMenuWatch::KeyboardMenuWatch(QWidget* control) : QObject(control), m_control(control)
{
    control->installEventFilter(this);
}

bool KeyboardMenuWatch::TakeFromKeyboard()
{
    const bool keyboard = m_keyboard;
    m_keyboard = false;
    return keyboard;
}

bool KeyboardMenuWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_control)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::ContextMenu) {
        // A mouse's request reaches a list or grid through its viewport, not
        // through this filter; it only sees the keyboard's, but checks anyway.
        const auto* request = static_cast<QContextMenuEvent*>(event);
        m_keyboard = request->reason() == QContextMenuEvent::Keyboard;
        if (m_keyboard && !m_asking && qobject_cast<QAbstractItemView*>(m_control)) {
            // The platform asks at the view's cursor rectangle, which is no
            // item at all while there is no current item: the request is
            // made again at the current item, or not at all.
            AskAtCurrentItem(*request);
            m_keyboard = false;
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            // As the Menu key: at the control's current item or cursor.
            const QPoint pos = m_control->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, pos, m_control->mapToGlobal(pos), key->modifiers());
            QCoreApplication::sendEvent(m_control, &menu);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void KeyboardMenuWatch::AskAtCurrentItem(const QContextMenuEvent& request)
{
    auto* view = static_cast<QAbstractItemView*>(m_control);
    const QModelIndex current = view->currentIndex();
    if (!current.isValid())
        return;
    view->scrollTo(current);
    // At the item's centre, in the viewport's coordinates, as a mouse's
    // request is.
    const QPoint pos = view->visualRect(current).center();
    QContextMenuEvent again(QContextMenuEvent::Keyboard, pos, view->viewport()->mapToGlobal(pos),
                            request.modifiers());
    const QScopedValueRollback asking(m_asking, true);
    QCoreApplication::sendEvent(view, &again);
}

void PopUpMenu(QMenu* menu, const QPoint& globalPos, bool fromKeyboard)
{
    if (!menu)
        return;
    menu->popup(globalPos);
    if (!fromKeyboard)
        return;
    for (QAction* action : menu->actions()) {
        if (action->isEnabled() && action->isVisible() && !action->isSeparator()) {
            menu->setActiveAction(action);
            return;
        }
    }
}
