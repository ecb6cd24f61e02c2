#pragma once
// Keeping the keyboard focus where the user works. Qt moves the focus on
// by itself when the control holding it is hidden or disabled: to the next
// control in the window's Tab chain, which for a panel is often the menu
// column. A command that hides, disables or rebuilds a panel's controls
// parks the focus on the window meanwhile and gives it back afterwards.

#include <QPointer>
#include <QWidget>

#include <initializer_list>
#include <vector>

// A control that can hold the keyboard focus now: shown and enabled.
bool CanHoldFocus(const QWidget* control);

// Gives the focus to the first of controls that can hold it; when none can,
// to the first control inside panel that Tab reaches.
void FocusInPanel(QWidget* panel, std::initializer_list<QWidget*> controls);

// For the length of a command: when the focus is inside panel, it is parked
// on the window (so hiding or disabling the control does not send it to
// another one) and given back at the end to the control that had it, or,
// when that one is hidden or disabled by then, to the first of fallbacks
// that can hold it, else to the first control of the panel. Focus that
// something else has deliberately put on another control meanwhile stays
// there.
class PanelFocus {
public:
    explicit PanelFocus(QWidget* panel, std::initializer_list<QWidget*> fallbacks = {});
    ~PanelFocus();
    PanelFocus(const PanelFocus&) = delete;
    PanelFocus& operator=(const PanelFocus&) = delete;

private:
    QPointer<QWidget> m_panel;
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_had;
    std::vector<QPointer<QWidget>> m_fallbacks;
};

// The focus parked on the window, or on nothing: no control holds it.
bool FocusParked(const QWidget* window);
// Parks the focus on control's window.
void ParkFocus(QWidget* control);
// Gives the focus back to control; when it cannot hold it, to the first
// control of its panel (the window's child that holds it).
void GiveFocusBack(QWidget* control);
