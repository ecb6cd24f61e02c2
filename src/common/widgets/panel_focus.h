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

// Gives the focus to control once it can hold it again (shown and enabled:
// a command may end with its button still disabled, until the instrument
// comes back), provided the focus is still where it is now, or parked. Once
// the user has moved the focus elsewhere, it stays where the user put it.
// Lives as long as control, until it has given the focus or the user has
// moved it.
class FocusReturn : public QObject {
public:
    explicit FocusReturn(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether the focus is still where it was left.
    bool FocusStayed() const;
    // Stops watching; the object goes once control returns to the event loop.
    void Finish();

    QPointer<QWidget> m_control;
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_left; // the control that had the focus, or nothing
};
