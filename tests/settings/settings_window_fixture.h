#pragma once
// A loaded main window on the scripted interface control with a connected
// two-gas instrument in its main record, for the settings panel's tests.
#include "download_fixture.h"
#include "gas_channel.h"

#include "common/widgets/grid_writer.h"
#include "records/instrument.h"
#include "settings/settings_panel.h"
#include "shared/shared_state.h"

#include <QLineEdit>
#include <QPushButton>

class SettingsWindowTest : public DownloadWindowTest {
protected:
    // The window loaded, the instrument read: H2S 0..30 ppm (step 0.5, one
    // decimal) and oxygen 0..25 VOL% ("L-LL"), link up.
    SettingsPanel& Panel(bool serviceMode = true, bool uMode = false)
    {
        App().ServiceMode = serviceMode;
        App().UMode = uMode;
        frmMain& w = Loaded();
        SetH2sAndOxygen(w.State().MainInstrument());
        fake.connected = true;
        fake.status = 2;
        App().FactAutoCal = {-101.0f, -101.0f};
        SettingsPanel& p = w.Settings();
        p.ShowSettingsPanel();
        return p;
    }
    clsInstrument& Inst() { return window->State().MainInstrument(); }

    // What the grid's delegate does with a typed text: the veto hooks, the
    // cell taking the text, then the after-edit hook.
    static bool Type(SettingsPanel& p, int row, int col, const QString& typed)
    {
        if (p.vfgOption_BeforeEdit(row, col))
            return false;
        QString text = typed;
        if (p.vfgOption_ValidateEdit(row, col, text))
            return false;
        p.vfgOption->SetText(row, col, text);
        p.vfgOption_AfterEdit(row, col);
        return true;
    }
    // A click on a check box: the veto, the new state, the after-edit hook.
    static void Toggle(SettingsPanel& p, int row, int col)
    {
        if (p.vfgOption_BeforeEdit(row, col))
            return;
        const bool on = p.vfgOption->CellCheck(row, col) == DataGrid::Checked;
        p.vfgOption->SetCellCheck(row, col, on ? DataGrid::Unchecked : DataGrid::Checked);
        p.vfgOption_AfterEdit(row, col);
    }
    QString BoxText(int i) const { return prompt.boxes.at(i).text; }
    // A scripted step on which the instrument answered, with that result.
    static FakeQvif::Step Answered(bool result)
    {
        FakeQvif::Step s;
        s.result = result;
        s.answerReceived = true;
        return s;
    }
};
