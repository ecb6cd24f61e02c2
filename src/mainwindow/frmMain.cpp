// Construction, destruction and the window events of the main window.

#include "mainwindow/frmMain.h"

#include "browser/data_panel.h"
#include "browser/lastcal_panel.h"
#include "common/appstate.h"
#include "common/wait.h"
#include "common/widgets/keyboard_cues.h"
#include "download/download_panel.h"
#include "graph/ucltalgraph.h"
#include "interface/uclQvif.h"
#include "settings/instrument_panel.h"
#include "settings/settings_panel.h"
#include "views/view_panel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QShowEvent>

frmMain::frmMain(QvifPort* port, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    resize(Px(kMinWindowWidth), Px(kMinWindowHeight));
    // In this window and every window it opens, Enter presses the focused
    // button, and the focused push button wears its focus frame.
    EnterPressesFocusedButton();
    FocusCueOnPushButtons();
    if (port) {
        m_state.uclQvport = port;
    } else {
        // The control starts with its ports closed and its timer running.
        m_state.uclQvport = new uclQvif(this);
    }
    CreateControls();
    Form_Initialize();
    App().WindowTarget = this;
    App().GraphTarget = m_view->talGraph;
}

frmMain::~frmMain()
{
    if (App().WindowTarget == this)
        App().WindowTarget = nullptr;
    if (App().GraphTarget == m_view->talGraph)
        App().GraphTarget = nullptr;
}

void frmMain::SetClosing(bool closing)
{
    m_closing = closing;
    SetWaitsAbandoned(closing);
}

void frmMain::closeEvent(QCloseEvent* e)
{
    if (Form_QueryUnload()) {
        e->ignore();
        return;
    }
    // Waits that are still running (inside a handler further down the
    // stack) end at their next turn; the window is hidden, not deleted.
    SetClosing(true);
    Form_Unload();
    e->accept();
}

bool frmMain::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && m_shownOnce)
        Form_Activate();
    return QWidget::event(e);
}

void frmMain::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    // The first showing counts as the first activation, also where the
    // platform never activates a window (offscreen, no window manager).
    if (!m_shownOnce && !e->spontaneous()) {
        m_shownOnce = true;
        Form_Activate();
    }
}

void frmMain::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    Form_Resize();
}

int frmMain::ChkLog(int index) const
{
    const auto& chkLog = m_data->chkLog;
    if (index < 0 || index >= chkLog.Count())
        return 0;
    return chkLog(index)->isChecked() ? 1 : 0;
}

void frmMain::SetChkLog(int index, int value)
{
    const auto& chkLog = m_data->chkLog;
    if (index < 0 || index >= chkLog.Count())
        return;
    chkLog(index)->setChecked(value != 0);
}

void frmMain::tmrInter_Timer()
{
    ++m_state.InterTicks;
    m_settings->RefreshSettingsClock();
}
