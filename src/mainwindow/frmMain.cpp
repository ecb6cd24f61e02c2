// Construction, destruction and the window events of the main window.

#include "mainwindow/frmMain.h"

#include "common/appstate.h"
#include "mainwindow/standin_qvif.h"
#include "mainwindow/wait.h"

#include <QCheckBox>
#include <QEvent>
#include <QShowEvent>

frmMain::frmMain(QvifPort* port, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    resize(Px(11640), Px(8250));
    CreateControls();
    if (port) {
        uclQvport = port;
    } else {
        m_ownedPort = std::make_shared<StandInQvifPort>();
        uclQvport = m_ownedPort.get();
    }
    Form_Initialize();
    App().WindowTarget = this;
}

frmMain::~frmMain()
{
    if (App().WindowTarget == this)
        App().WindowTarget = nullptr;
}

void frmMain::SetClosing(bool closing)
{
    m_closing = closing;
    SetWaitsAbandoned(closing);
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
