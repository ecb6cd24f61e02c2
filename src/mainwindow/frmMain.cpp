// Construction, destruction and the window events of the main window.

#include "mainwindow/frmMain.h"

#include "common/appstate.h"
#include "interface/uclQvif.h"
#include "mainwindow/wait.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QShowEvent>

frmMain::frmMain(QvifPort* port, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    resize(Px(kMinWindowWidth), Px(kMinWindowHeight));
    CreateControls();
    if (port) {
        uclQvport = port;
    } else {
        // The control starts with its ports closed and its timer running.
        uclQvport = new uclQvif(this);
    }
    Form_Initialize();
    ConnectDownloadHandlers();
    App().WindowTarget = this;
    App().GraphTarget = talGraph;
}

frmMain::~frmMain()
{
    if (App().WindowTarget == this)
        App().WindowTarget = nullptr;
    if (App().GraphTarget == talGraph)
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
    if (index < 0 || index >= chkLog.Count())
        return 0;
    return chkLog(index)->isChecked() ? 1 : 0;
}

void frmMain::SetChkLog(int index, int value)
{
    if (index < 0 || index >= chkLog.Count())
        return;
    chkLog(index)->setChecked(value != 0);
}

void frmMain::tmrInter_Timer()
{
    ++InterTicks;
    RefreshSettingsClock();
}
