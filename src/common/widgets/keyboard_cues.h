#pragma once
// What a keyboard user needs to see and reach: the option of a group that
// Tab lands on, and context menus that Enter can act on at once.

#include <QList>
#include <QObject>
#include <QPoint>
#include <QWidget>

class QAbstractButton;
class QMenu;

// Tab into a group of options lands on its checked option. Qt keeps the Tab
// stop of a group on the option that last had the focus, which after a
// change by code (defaults, the settings file) or by the mouse is often not
// the checked one, so a stray Space would change the choice. Whenever an
// option is checked or the focus leaves the group, only the checked option
// stays a Tab stop; the arrow keys still move between all of them.
void TabToCheckedOption(const QList<QAbstractButton*>& options);

// Context menus opened from the keyboard. Watches a control: the Menu key,
// and Shift+F10 as well, ask for its context menu at its current item, and
// the handler of customContextMenuRequested learns from TakeFromKeyboard()
// whether the request it is handling came from the keyboard.
class KeyboardMenuWatch : public QObject {
public:
    explicit KeyboardMenuWatch(QWidget* control);
    // True when the context menu asked for now comes from the keyboard;
    // reading it clears it.
    bool TakeFromKeyboard();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_control;
    bool m_keyboard = false;
};

// Opens menu at globalPos. Opened from the keyboard, its first enabled item
// is active, so Enter acts on it without another key.
void PopUpMenu(QMenu* menu, const QPoint& globalPos, bool fromKeyboard);
