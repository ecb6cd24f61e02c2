// The instrument information step (identity, clock, settings, calibration
// history) and the power-events download.

#include "download/download_panel_logstep.h"

#include "records/collections.h"
#include "records/history.h"
#include "records/power_event.h"
#include "shared/panel_host.h"

using namespace download_step;

bool DownloadPanel::DownloadPowerEvents()
{
    return RunLogStep<clsPowerEvents>(*this, kPowerEventTexts, m_state.MainPowerEvents(),
                                      [this](clsPowerEvents* c) { return m_state.uclQvport->GetPowerEvent(c); });
}

bool DownloadPanel::DownloadInstrumentInfo()
{
    QvifPort* port = m_state.uclQvport;
    AppState& app = App();

    if (!port->Connected()) {
        AddLogText(GetResString(5417), LogColor::Failure);
        port->AddLog(GetResString(5522, DateText()));
        return false;
    }

    AddLogText(GetResString(5414), LogColor::Progress);
    port->AddLog(GetResString(5517, DateText()));
    app.FramesSent = 0;
    app.NaksSent = 0;
    app.ChecksumErrors = 0;
    const QDateTime started = Now();

    clsInstrument& inst = m_state.MainInstrument();
    bool result = true;
    int notStored = 0;
    if (!port->GetInstrument(&inst)) {
        if (port->Cancel()) {
            AddLogText(GetResString(5462), LogColor::Failure);
            port->AddLog(GetResString(5589, DateText()));
        } else {
            // A failed read is always shown as failed.
            AddLogText(GetResString(5416), LogColor::Failure);
            port->AddLog(GetResString(5520));
            if (inst.FailLine() == QLatin1String("HC,R"))
                AddLogText(GetResString(5590), LogColor::Failure);
            port->AddLog(GetResString(5521, DateText(), ElapsedText(started, Now())));
        }
        result = false;
    } else {
        inst.SetCommFlags(-1);
        m_host.RefreshCurrentPanel();

        if (port->GetLatestHistory(&inst)) {
            // The latest calibration row counts as one record.
            if (!inst.HistoryUpdate())
                ++notStored;
            clsHistorys& histories = m_state.MainHistorys();
            histories.SetInstruments(&inst);
            port->GetHistory(&histories);
            bool stored = false;
            for (clsHistory* history : histories) {
                if (!history)
                    continue;
                if (!StoreDownloaded(*history, &inst)) {
                    history->SetError(true);
                    ++notStored;
                } else if (history->DCount() > 0) {
                    stored = true;
                }
            }
            // The browser shows stored histories only after a rebuild.
            if (stored)
                m_state.TreeRefreshNeeded = true;
        }

        LogAdcValues();
        if (notStored > 0) {
            ReportNotStored(*this, notStored);
            result = false;
        } else {
            AddLogText(GetResString(5415), LogColor::Progress);
        }
        port->AddLog(GetResString(5519, DateText(), ElapsedText(started, Now())));
    }

    if (app.DebugMode)
        port->AddLog(FailRatioText(app.NaksSent, app.ChecksumErrors, app.FramesSent));
    if (notStored > 0)
        ArchiveSerialLog();
    return result;
}

void DownloadPanel::LogAdcValues()
{
    if (!App().ServiceMode)
        return;
    static const char* const kChannels[] = {"ch0 EC AMP1", "ch1 EC AMP2", "ch2 BATT.", "ch3 TEMP", "ch4 O2 AMP"};
    const clsInstrument& inst = m_state.MainInstrument();
    AddLogText(inst.Model() + QStringLiteral(" Analog to Digital Converter Values List"), LogColor::Adc);
    for (int ch = 0; ch < 5; ++ch) {
        const double volts = inst.AnalogValue(ch) / 1000.0;
        AddLogText(QString::fromLatin1(kChannels[ch]) + QStringLiteral("\t: ")
                       + QString::number(volts, 'f', 3) + QLatin1Char('V'),
                   LogColor::Adc);
    }
}
