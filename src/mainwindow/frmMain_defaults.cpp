// The main window's defaults: what the program uses where the settings file
// is silent, and the start state of the window's own controls and flags.

#include "mainwindow/frmMain.h"

#include "browser/lastcal_panel.h"
#include "common/appstate.h"
#include "common/colors.h"
#include "common/widgets/shape_lamp.h"
#include "download/download_panel.h"
#include "records/collections.h"
#include "records/instrument.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTextEdit>
#include <QTimer>

namespace {

constexpr float kNoValue = -101.0f;

GasEntry Entry(bool enabled, const char* name, const char* unit, float fullScale, float desit,
               std::int16_t points, float warning, float alarm, float stel, float twa, float autoCal)
{
    GasEntry e;
    e.Enabled = enabled;
    e.Name = QString::fromLatin1(name);
    e.Locked = false;
    e.Unit = QString::fromLatin1(unit);
    e.FullScale = fullScale;
    e.Desit = desit;
    e.Points = points;
    e.Warning = warning;
    e.Alarm = alarm;
    e.Stel = stel;
    e.Twa = twa;
    e.AutoCal = autoCal;
    return e;
}

GasSetting Gas(const char* name, std::int16_t point, const char* unit, float warning, float alarm, float stel,
               float twa, float desit, float fullScale, float autoCalib)
{
    GasSetting g;
    g.Name = QString::fromLatin1(name);
    g.Enabled = true;
    g.Point = point;
    g.Unit = QString::fromLatin1(unit);
    g.Warning = warning;
    g.Alarm = alarm;
    g.Stel = stel;
    g.Twa = twa;
    g.Desit = desit;
    g.FullScale = fullScale;
    g.AutoCalib = autoCalib;
    return g;
}

} // namespace

void frmMain::InitDefaults()
{
    AppState& app = App();

    app.GraphColor[0] = RGB(255, 0, 0);
    app.GraphColor[1] = RGB(0, 128, 255);
    if (!app.DisplayFont)
        app.DisplayFont = FontSetting{};
    app.DisplayFont->Size = 9.0f;
    ShowFontAndColorButtons();

    // The collections (created on first use) bind new records to the
    // window's instrument object.
    SharedState& state = m_state;
    state.MainIntervals().SetInstruments(&state.MainInstrument());
    state.MainAlarms().SetInstruments(&state.MainInstrument());
    state.MainPowerEvents().SetInstruments(&state.MainInstrument());
    state.MainHistorys().SetInstruments(&state.MainInstrument());

    tmrInter->setInterval(100);
    tmrInter->start();

    if (app.CommPort == 0)
        app.CommPort = 4;

    DownloadPanel& down = *m_download;
    down.LampOnColor = {RGB(0, 255, 0), RGB(0, 192, 0)};
    down.LampOffColor = {RGB(160, 160, 160), RGB(128, 128, 128)};
    down.LampErrorColor = {RGB(254, 0, 0), RGB(192, 0, 0)};
    down.shpStatus(0)->SetColors(down.LampOnColor);
    for (int i = 1; i < down.shpStatus.Count(); ++i)
        down.shpStatus(i)->SetColors(down.LampOffColor);

    down.rtbLog->clear();

    down.ResetDownloadControls();
    down.chkAutoLoad(0)->setChecked(app.AutoLoad);
    down.chkAutoLoad(1)->setChecked(app.AutoRemoveData);
    if (!app.AutoLoad)
        down.chkAutoLoad(1)->setEnabled(false);
    down.AutoLoadClickOn = true;
    state.TreeRefreshNeeded = true;
    state.ExportFileName.clear();

    {
        // The defaults run at start-up and in the reset after a power-off,
        // before the window is activated again: the option is chosen, the
        // list is read when its panel is opened.
        const QScopedValueRollback pending(state.StartupPending, true);
        m_lastCal->optHistory(1)->setChecked(true);
    }

    app.SqlDateFormat = QStringLiteral("mm\"/\"dd\"/\"yy hh\":\"nn\":\"ss");

    if (app.CalibRange[0] == 0)
        app.CalibRange[0] = 12.0f;
    if (app.CalibRange[1] == 0)
        app.CalibRange[1] = 100.0f;
    if (app.Password.isEmpty())
        app.Password = QStringLiteral("Morva");
    for (float& w : app.PrtWidth)
        if (w < 1.0f || w > 100.0f)
            w = 1.0f;
    if (app.CalSpanOffWait == 0)
        app.CalSpanOffWait = 45;
    if (app.CalSpanOnWait == 0)
        app.CalSpanOnWait = 90;
    if (app.CalUnitOnWait == 0)
        app.CalUnitOnWait = 45;

    // Default gas set-up: oxygen (falling alarms) on the second channel,
    // carbon monoxide on the first.
    app.CurrentGas[1] = Gas("OXY", 1, "VOL%", 19.5f, 18.0f, kNoValue, kNoValue, 0.1f, 40.0f, 0.0f);
    app.GasLocked[1] = false;
    app.FactAutoCal[1] = 0.0f;
    app.CurrentGas[0] = Gas("CO", 0, "ppm", 50.0f, 150.0f, 200.0f, 50.0f, 1.0f, 1000.0f, 80.0f);
    app.GasLocked[0] = false;
    app.FactAutoCal[0] = 80.0f;

    // Replacement gases for SpecType "00" and for every other SpecType.
    GasTable& t = app.ChgGasTable;
    t[0][0] = Entry(true, "CO", "ppm", 1000, 1.0f, 0, 50, 150, 200, 50, 80);
    t[0][1] = Entry(true, "H2S", "ppm", 100, 0.5f, 1, 10, 30, 15, 10, 25);
    t[0][2] = Entry(true, "CO", "ppm", 500, 1.0f, 0, 50, 150, 200, 50, 80);
    t[1][0] = Entry(true, "OXY", "VOL%", 40, 0.1f, 1, 19.5f, 18.0f, kNoValue, kNoValue, 0);
    t[1][1] = Entry(false, "OXY", "VOL%", 40, 0.1f, 1, 18.0f, 25.0f, kNoValue, kNoValue, 0);
    GasTable& u = app.ChgGas01Table;
    u[0][0] = Entry(true, "CO", "ppm", 1500, 1.0f, 0, 25, 50, 200, 25, 80);
    u[0][1] = Entry(true, "H2S", "ppm", 100, 0.5f, 1, 10, 30, 15, 10, 25);
    u[0][2] = Entry(true, "CO", "ppm", 500, 1.0f, 0, 25, 50, 200, 25, 80);
    u[1][0] = Entry(true, "OXY", "VOL%", 40, 0.1f, 1, 19.5f, 18.0f, kNoValue, kNoValue, 0);
    u[1][1] = Entry(false, "OXY", "VOL%", 40, 0.1f, 1, 19.5f, 23.5f, kNoValue, kNoValue, 0);

    state.ShowSampleInstrument = false;
    state.LiveValuesOn = false;

    app.TrendSearchBefore = -10;
    app.TrendSearchAfter = 10;
}
