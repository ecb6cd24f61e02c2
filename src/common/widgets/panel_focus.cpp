#include "common/widgets/panel_focus.h"

bool CanHoldFocus(const QWidget* control)
{
    return control && control->isVisible() && control->isEnabled();
}

void FocusInPanel(QWidget* panel, std::initializer_list<QWidget*> controls)
{
    for (QWidget* c : controls) {
        if (CanHoldFocus(c)) {
            c->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    if (!panel)
        return;
    // The Tab chain runs through the whole window; the panel's controls
    // follow the panel in it.
    for (QWidget* w = panel->nextInFocusChain(); w && w != panel; w = w->nextInFocusChain()) {
        if (panel->isAncestorOf(w) && CanHoldFocus(w) && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

bool FocusParked(const QWidget* window)
{
    const QWidget* f = window->focusWidget();
    return f == nullptr || f == window;
}

void ParkFocus(QWidget* control)
{
    control->window()->setFocus(Qt::OtherFocusReason);
}

PanelFocus::PanelFocus(QWidget* panel, std::initializer_list<QWidget*> fallbacks) : m_panel(panel)
{
    if (!panel)
        return;
    QWidget* window = panel->window();
    QWidget* focus = window->focusWidget();
    if (!focus || !panel->isAncestorOf(focus))
        return;
    m_window = window;
    m_had = focus;
    for (QWidget* f : fallbacks)
        m_fallbacks.emplace_back(f);
    ParkFocus(panel);
}

PanelFocus::~PanelFocus()
{
    if (!m_had || !m_window || !m_panel)
        return;
    const QWidget* now = m_window->focusWidget();
    if (!FocusParked(m_window) && CanHoldFocus(now))
        return;
    if (CanHoldFocus(m_had)) {
        m_had->setFocus(Qt::OtherFocusReason);
        return;
    }
    for (const QPointer<QWidget>& f : m_fallbacks) {
        if (CanHoldFocus(f)) {
            f->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    FocusInPanel(m_panel, {});
}

void GiveFocusBack(QWidget* control)
{
    QWidget* window = control->window();
    QWidget* panel = control;
    while (panel->parentWidget() && panel->parentWidget() != window)
        panel = panel->parentWidget();
    FocusInPanel(panel == control ? nullptr : panel, {control});
}
