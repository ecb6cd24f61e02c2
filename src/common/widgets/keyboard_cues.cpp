#include "common/widgets/keyboard_cues.h"

#include <QAbstractButton>
#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>

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

} // namespace

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
        m_keyboard = static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard;
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
