// The settings panel's commands: Update, Date/Time Set and Calibration.

#include "settings/settings_panel.h"

#include "common/appstate.h"
#include "common/clock.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "common/widgets/grid_writer.h"
#include "download/download_panel.h"
#include "interface/qvif_port.h"
#include "records/instrument.h"
#include "settings/setpoint_rules.h"
#include "settings/upload_frame.h"
#include "shared/shared_state.h"

#include <QHeaderView>
#include <QPushButton>

namespace {

enum : int {
    kIdCheckRedCells = 5315,
    kIdWarningAlarmRange = 5316,
    kIdNoSensor = 5319,
    kIdNoSensorTitle = 5320,
};

// The two grids' edit hooks, forwarded to the panel's handlers.
class OptionGridHooks : public GridEditHooks {
public:
    explicit OptionGridHooks(SettingsPanel& panel) : m_panel(panel) {}
    bool BeforeEdit(int row, int col) override { return m_panel.vfgOption_BeforeEdit(row, col); }
    bool ValidateEdit(int row, int col, QString& text) override
    {
        return m_panel.vfgOption_ValidateEdit(row, col, text);
    }
    void AfterEdit(int row, int col) override { m_panel.vfgOption_AfterEdit(row, col); }

private:
    SettingsPanel& m_panel;
};

class CalGridHooks : public GridEditHooks {
public:
    explicit CalGridHooks(SettingsPanel& panel) : m_panel(panel) {}
    bool BeforeEdit(int row, int col) override { return m_panel.vfgCal_BeforeEdit(row, col); }
    // Only the span ticks are edited; every toggle that gets here is taken.
    bool ValidateEdit(int, int, QString&) override { return false; }
    void AfterEdit(int row, int col) override { m_panel.vfgCal_AfterEdit(row, col); }

private:
    SettingsPanel& m_panel;
};

} // namespace

void SettingsPanel::ConnectSettingsHandlers()
{
    m_optionHooks = std::make_unique<OptionGridHooks>(*this);
    m_calHooks = std::make_unique<CalGridHooks>(*this);
    vfgOption->SetEditHooks(m_optionHooks.get());
    vfgCal->SetEditHooks(m_calHooks.get());
    // The reading column takes what the other three leave.
    vfgCal->horizontalHeader()->setStretchLastSection(true);
    SetUpIdentityBoxes();
    for (int i = 0; i < cmdOption.Count(); ++i)
        connect(cmdOption(i), &QPushButton::clicked, this, [this, i] { cmdOption_Click(i); });
    for (int i = 0; i < cmdCal.Count(); ++i)
        connect(cmdCal(i), &QPushButton::clicked, this, [this, i] { cmdCal_Click(i); });
    ConnectOptionHandlers();
}

void SettingsPanel::cmdOption_Click(int Index)
{
    switch (Index) {
    case 0: RunUpdate(); break;
    case 1: RunDateTimeSet(); break;
    case 2: OpenCalibrationFrame(); break;
    default: break;
    }
}

void SettingsPanel::RunUpdate()
{
    CommitIdentityEdits();
    clsInstrument& inst = m_state.MainInstrument();
    QvifPort* port = m_state.uclQvport;
    if (!OperationRunning()) {
        switch (CheckSettingsForUpload(inst)) {
        case UploadCheck::SetPointsOutOfOrder:
            MsgBox(GetResString(kIdCheckRedCells), MsgButtons::Ok, MsgIcon::Critical,
                   GetResString(kIdWarningAlarmRange));
            return;
        case UploadCheck::NoSensor:
            MsgBox(GetResString(kIdNoSensor), MsgButtons::Ok, MsgIcon::Critical, GetResString(kIdNoSensorTitle));
            return;
        case UploadCheck::Ok:
            break;
        }
    }
    UploadStep step;
    step.request = [port, &inst] { return port->SetInstrument(&inst); };
    step.afterRequest = [this, &inst](bool result) {
        if (App().ServiceMode && result)
            m_download.deviceUpdateLog(inst);
    };
    step.afterOutcome = [this](bool) { ShowSettingsPanel(); };
    RunUploadFrame(m_download, step);
}

void SettingsPanel::RunDateTimeSet()
{
    clsInstrument& inst = m_state.MainInstrument();
    QvifPort* port = m_state.uclQvport;
    UploadStep step;
    // Until the instrument's next clock answer the settings pane shows the
    // PC time as the instrument's.
    step.prepare = [&inst] { inst.SetSysDateOffset(0); };
    step.request = [port] { return port->SetDateTime(Now()); };
    RunUploadFrame(m_download, step);
}
