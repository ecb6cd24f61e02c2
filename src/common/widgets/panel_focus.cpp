#include "common/widgets/panel_focus.h"

#include <QApplication>
#include <QEvent>

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

FocusReturn::FocusReturn(QWidget* control)
    : QObject(control), m_control(control), m_window(control->window()), m_left(control->window()->focusWidget())
{
    control->installEventFilter(this);
    // The focus moved on by the user (a click, Tab, another command) ends
    // the wait; a window that only loses and regains the activation keeps
    // the control that has its focus.
    connect(qApp, &QApplication::focusChanged, this, [this] {
        if (!FocusStayed())
            Finish();
    });
}

bool FocusReturn::FocusStayed() const
{
    if (!m_window)
        return false;
    return FocusParked(m_window) || m_window->focusWidget() == m_left;
}

void FocusReturn::Finish()
{
    if (m_control)
        m_control->removeEventFilter(this);
    m_control = nullptr;
    disconnect(qApp, nullptr, this, nullptr);
    deleteLater();
}

bool FocusReturn::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (m_control && watched == m_control && (type == QEvent::EnabledChange || type == QEvent::Show)
        && CanHoldFocus(m_control)) {
        if (FocusStayed())
            m_control->setFocus(Qt::OtherFocusReason);
        Finish();
    }
    return QObject::eventFilter(watched, event);
}
