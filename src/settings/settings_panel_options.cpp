// The settings panel's option pane (font, graph colours, DEFAULT, the memory
// dump lists, factory settings), the model-default buttons, the "-G2"
// coefficient commands and the settings-pane clock.

#include "settings/settings_panel.h"

#include "common/appstate.h"
#include "common/clock.h"
#include "common/colors.h"
#include "common/paths.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "common/services.h"
#include "download/download_panel.h"
#include "download/download_support.h"
#include "download/frmUpload.h"
#include "interface/qvif_port.h"
#include "records/instrument.h"
#include "settings/coefficients.h"
#include "settings/frmFsDialog.h"
#include "settings/model_defaults.h"
#include "settings/option_commands.h"
#include "settings/upload_frame.h"
#include "shared/panel_host.h"
#include "shared/shared_state.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

enum : int {
    kIdDefaultQuestion = 5365,
    kIdDefaultTitle = 5366,
    kIdBusy = 5367,
    kIdDefaultStart = 5465,
    kIdDefaultComplete = 5466,
    kIdDefaultFailed = 5882,
    kIdNowUploading = 6001,
    kIdModelQuestion = 10004,
    kIdModelTitle = 5222,
};

bool Busy(const SharedState& state)
{
    return OptionCommandBusy(state.uclQvport && state.uclQvport->RunDensty(), App().ProcessState);
}

void ShowBusyBox()
{
    MsgBox(GetResString(kIdBusy), MsgButtons::Ok, MsgIcon::Information,
           QStringLiteral("No communication available to EEP-ROM"));
}

} // namespace

void SettingsPanel::ConnectOptionHandlers()
{
    // The service buttons' captions; the font and colour buttons get theirs
    // from the window's caption loading and the display settings.
    cmdOptionDisp(3)->setText(GetResString(kIdDefaultTitle));
    cmdOptionDisp(5)->setText(QStringLiteral("FRAM"));
    cmdOptionDisp(6)->setText(QStringLiteral("EEP-ROM"));
    cmdOptionDisp(7)->setText(GetResString(8001));
    for (int i = 0; i < cmdOptionDisp.Count(); ++i)
        connect(cmdOptionDisp(i), &QPushButton::clicked, this, [this, i] { cmdOptionDisp_Click(i); });
    for (int i = 0; i < cmdModel.Count(); ++i)
        connect(cmdModel(i), &QPushButton::clicked, this, [this, i] { cmdModel_Click(i); });
    connect(cmdS1X, &QPushButton::clicked, this, [this] { cmdS1X_Click(); });
    connect(cmdSZX, &QPushButton::clicked, this, [this] { cmdSZX_Click(); });
    for (int i = 0; i < txtS1.Count(); ++i)
        connect(txtS1(i), &QLineEdit::editingFinished, this, [this, i] { txtCoefficient_Validate(txtS1(i)); });
    for (int i = 0; i < txtSZ.Count(); ++i)
        connect(txtSZ(i), &QLineEdit::editingFinished, this, [this, i] { txtCoefficient_Validate(txtSZ(i)); });
}

void SettingsPanel::RefreshSettingsClock()
{
    const QvifPort* port = m_state.uclQvport;
    const std::int32_t status = port ? port->Status() : 0;
    const SettingsClock::Update u = m_clock.Tick(!m_frame->isHidden(), status != 0 && status != 1,
                                                 m_state.MainInstrument().SysDateOffset(), Now());
    if (!u.write)
        return;
    lblOption(5)->setText(u.pcText);
    lblOption(6)->setText(u.instrumentText);
}

void SettingsPanel::cmdOptionDisp_Click(int Index)
{
    switch (Index) {
    case 0: {
        QFont font = cmdOptionDisp(0)->font();
        if (!Prompt().ChooseFont(font))
            return;
        cmdOptionDisp(0)->setFont(font);
        cmdOptionDisp(0)->setText(FontCaption(font));
        App().DisplayFont = SettingFromFont(cmdOptionDisp(0)->font());
        // The button shows its caption in the new font: it is sized anew.
        m_host.LayoutWindow();
        return;
    }
    case 1:
    case 2: {
        QPushButton* button = cmdOptionDisp(Index);
        QColor color = ColorFromWin(button->property("BackColor").toInt());
        // A cancelled dialog keeps the old colour.
        if (!Prompt().ChooseColor(color) || !color.isValid())
            return;
        const std::int32_t win = WinFromColor(color);
        QPalette pal = button->palette();
        pal.setColor(QPalette::Button, color);
        button->setPalette(pal);
        button->setAutoFillBackground(true);
        button->setProperty("BackColor", win);
        App().GraphColor[static_cast<size_t>(Index - 1)] = win;
        emit GraphColorChanged(ColorButtonSeries(Index), win);
        return;
    }
    case 3: RunDefault(); return;
    case 5:
    case 6: RunDumpList(Index); return;
    case 7: RunFactorySettings(); return;
    default: return;
    }
}

void SettingsPanel::RunDefault()
{
    if (Busy(m_state)) {
        ShowBusyBox();
        return;
    }
    if (MsgBox(GetResString(kIdDefaultQuestion), MsgButtons::YesNo, MsgIcon::Question,
               GetResString(kIdDefaultTitle)) != MsgResult::Yes)
        return;
    frmUpload& upload = m_download.UploadForm();
    m_download.LockCommands();
    upload.ShowWindow();
    upload.SetLabel(GetResString(kIdNowUploading));
    upload.SetCaption(GetResString(kIdDefaultTitle));
    m_download.AddLogText(GetResString(kIdDefaultStart), LogColor::Progress);
    if (m_state.uclQvport->SetDefault()) {
        m_download.AddLogText(GetResString(kIdDefaultComplete), LogColor::Progress);
        m_download.DownloadInstrumentInfo();
    } else {
        m_download.AddLogText(GetResString(kIdDefaultFailed), LogColor::Failure);
    }
    upload.Unload();
    m_download.RestoreCommands();
}

void SettingsPanel::RunDumpList(int Index)
{
    if (Busy(m_state)) {
        ShowBusyBox();
        return;
    }
    const DumpKind kind = Index == 5 ? DumpKind::Fram : DumpKind::EepRom;
    const DumpListTexts texts = DumpTexts(kind);
    if (MsgBox(texts.confirm, MsgButtons::YesNo, MsgIcon::Question, DumpBoxTitle()) != MsgResult::Yes)
        return;
    QvifPort* port = m_state.uclQvport;
    App().ProcessState = 1;
    m_download.LockCommands();
    frmUpload& upload = m_download.UploadForm();
    upload.ShowWindow();
    upload.SetCaption(texts.caption);
    upload.SetLabel(GetResString(5445));
    m_download.AddLogText(texts.startLine, LogColor::AutoStart);
    const QDateTime started = Now();
    port->AddLog(DumpStartedSerialLine(started));
    const QString path = DumpFilePath(ProgramFolder(), kind);
    const bool ok = kind == DumpKind::Fram ? port->GetRomDump2(path) : port->GetRomDump(path);
    port->AddLog(DumpEndedSerialLine(started, Now(), ok));
    upload.Unload();
    App().ProcessState = 0;
    m_download.RestoreCommands();
    if (!ok) {
        m_download.AddLogText(texts.failLine, LogColor::Failure);
        if (port->LineDisturbed())
            m_download.AddLogText(GetResString(20130), LogColor::Failure);
    }
    m_download.AddLogText(texts.endLine, LogColor::AutoStart);
    // A listing that could not be written (a full disk): the old file stays,
    // and the user, who asked for it, is told why.
    const QString fileError = port->DumpFileError();
    if (!fileError.isEmpty())
        MsgBox(fileError, MsgButtons::Ok, MsgIcon::Critical, DumpBoxTitle());
}

void SettingsPanel::RunFactorySettings()
{
    frmFsDialog dialog(m_state.MainInstrument(), m_frame->window());
    Prompt().RunWindow(&dialog);
    ShowSettingsPanel();
}

void SettingsPanel::cmdModel_Click(int Index)
{
    if (Index < 0 || Index >= kModelTypeCount)
        return;
    clsInstrument& inst = m_state.MainInstrument();
    QvifPort* port = m_state.uclQvport;
    UploadStep step;
    step.questionId = kIdModelQuestion;
    step.questionTitleId = kIdModelTitle;
    step.questionArgs = {cmdModel(Index)->text()};
    step.askInEveryState = true;
    step.request = [&inst, port, Index] {
        LoadModelDefaults(Index, inst);
        return port->SetInstrument(&inst);
    };
    step.afterRequest = [this, &inst](bool result) {
        if (App().ServiceMode && result)
            m_download.deviceUpdateLog(inst);
    };
    // The instrument is read back after a write it took. The box reports the
    // upload complete only when the read-back's last exchange was answered:
    // an instrument that has gone quiet since is not reported as set up.
    step.readBack = [this] {
        const bool connected = m_state.uclQvport->Connected();
        m_download.DownloadInstrumentInfo();
        return connected && App().AnswerReceived;
    };
    step.boxOnFailure = false;
    RunUploadFrame(m_download, step);
}

bool SettingsPanel::txtCoefficient_Validate(QLineEdit* box)
{
    if (ParseCoefficient(box->text(), nullptr))
        return true;
    QApplication::beep();
    box->setFocus();
    return false;
}

void SettingsPanel::cmdS1X_Click()
{
    std::array<std::int16_t, 2> v{};
    for (int i = 0; i < txtS1.Count(); ++i)
        if (!ParseCoefficient(txtS1(i)->text(), &v[static_cast<size_t>(i)]))
            return void(txtCoefficient_Validate(txtS1(i)));
    QvifPort* port = m_state.uclQvport;
    UploadStep step;
    step.request = [port, v] { return port->S1X(v[0], v[1]); };
    RunUploadFrame(m_download, step);
}

void SettingsPanel::cmdSZX_Click()
{
    std::array<std::int16_t, 3> v{};
    for (int i = 0; i < txtSZ.Count(); ++i)
        if (!ParseCoefficient(txtSZ(i)->text(), &v[static_cast<size_t>(i)]))
            return void(txtCoefficient_Validate(txtSZ(i)));
    QvifPort* port = m_state.uclQvport;
    UploadStep step;
    step.request = [port, v] { return port->SZX(v[0], v[1], v[2]); };
    RunUploadFrame(m_download, step);
}
