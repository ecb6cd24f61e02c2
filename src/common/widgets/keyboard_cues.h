#pragma once
// What a keyboard user needs to see and reach: the option of a group that
// Tab lands on, the frame of the focused push button, the button Enter
// presses, and context menus that Enter can act on at once.

#include <QList>
#include <QObject>
#include <QPoint>
#include <QWidget>

class QAbstractButton;
class QContextMenuEvent;
class QMenu;

// Tab into a group of options lands on its checked option. Qt keeps the Tab
// stop of a group on the option that last had the focus, which after a
// change by code (defaults, the settings file) or by the mouse is often not
// the checked one, so a stray Space would change the choice. Whenever an
// option is checked or the focus leaves the group, only the checked option
// stays a Tab stop; the arrow keys still move between all of them.
void TabToCheckedOption(const QList<QAbstractButton*>& options);

// The push button with the keyboard focus wears a frame along its edge, a
// black band with a white line inside it, in every window of the program:
// one of the two stands out from the button's face whatever its colour
// (the style's own thin cue may all but vanish on a face in a chosen
// colour), and it reads unlike the tinted face and outline that mark a
// dialog's default button, which Qt keeps on that button while another one
// has the focus. Installed once for the application; the main window
// installs it.
void FocusCueOnPushButtons();

// Enter and the keypad's Enter press the push button or tool button that
// has the focus, as Space does, in every window of the program. Qt leaves
// Enter to a dialog's default button and lets only an "auto default" push
// button take it, which the program's buttons are not (such a button is
// drawn with a wider margin); those that are, and a dialog's default
// button, keep taking Enter themselves. Installed once for the application;
// the main window installs it, so it holds for every window of the program.
void EnterPressesFocusedButton();

// Context menus opened from the keyboard. Watches a control: the Menu key,
// and Shift+F10 as well, ask for its context menu at its current item, and
// the handler of customContextMenuRequested learns from TakeFromKeyboard()
// whether the request it is handling came from the keyboard. On a list,
// tree or grid the request is made at its current item, scrolled into view:
// one without a current item opens no menu, so the keyboard never acts on
// an item the user did not choose.
class KeyboardMenuWatch : public QObject {
public:
    explicit KeyboardMenuWatch(QWidget* control);
    // True when the context menu asked for now comes from the keyboard;
    // reading it clears it.
    bool TakeFromKeyboard();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Asks for the menu again at the current item of an item view; nothing
    // when the view has none.
    void AskAtCurrentItem(const QContextMenuEvent& request);

    QWidget* m_control;
    bool m_keyboard = false;
    bool m_asking = false; // while the request at the current item is sent
};

// Opens menu at globalPos. Opened from the keyboard, its first enabled item
// is active, so Enter acts on it without another key.
void PopUpMenu(QMenu* menu, const QPoint& globalPos, bool fromKeyboard);
