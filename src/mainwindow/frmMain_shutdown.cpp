// Closing the main window: the close request, stopping the control and
// saving the settings.

#include "mainwindow/frmMain.h"

#include "common/appstate.h"
#include "common/services.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "common/settingsfile.h"
#include "download/download_panel.h"
#include "download/download_support.h"
#include "interface/qvif_port.h"
#include "settings/settings_panel.h"

#include <QDebug>
#include <QPushButton>
#include <QTimer>

#include <exception>

bool frmMain::Form_QueryUnload()
{
    // A command is running: refused without a word.
    if (!cmdInst(4)->isEnabled() || !cmdInst(5)->isEnabled() || m_download->AutomaticModeRunning)
        return true;
    return MsgBox(GetResString(5375), MsgButtons::YesNo, MsgIcon::Question, QStringLiteral("Pelkar"))
        != MsgResult::Yes;
}

void frmMain::Form_Unload()
{
    m_state.uclQvport->SetTimerEnabled(false);
    tmrPortSearch->stop();
    // The user is told; the window still closes.
    const QString error = SaveAppSettings();
    if (!error.isEmpty()) {
        m_download->AddLogText(error, LogColor::Failure);
        MsgBox(error, MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Pelkar"));
    }
}

QString frmMain::SaveAppSettings()
{
    AppState& app = App();
    const auto& cmdOptionDisp = m_settings->cmdOptionDisp;
    const QFont font = cmdOptionDisp(0)->font();
    app.DisplayFont = SettingFromFont(font);
    for (int i = 0; i < 2; ++i) {
        const QVariant color = cmdOptionDisp(i + 1)->property("BackColor");
        if (color.isValid())
            app.GraphColor[static_cast<size_t>(i)] = color.toInt();
    }
    try {
        WriteSettings();
    } catch (const std::exception& e) {
        qWarning() << "settings file not written:" << e.what();
        return GetResString(5775, QString::fromUtf8(e.what()));
    }
    return QString();
}
