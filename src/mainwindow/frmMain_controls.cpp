// Creation of the main window's frame, its panels and the twips helpers.
//
// The menu column and the panel frames get their design position and size
// in twips here; the layout pass moves them afterwards. Each panel creates
// its own controls inside its frame.

#include "mainwindow/frmMain.h"

#include "browser/data_panel.h"
#include "browser/lastcal_panel.h"
#include "common/twips.h"
#include "common/widgets/control_factory.h"
#include "common/widgets/grid_writer.h"
#include "common/widgets/panel_focus.h"
#include "common/widgets/twips_geometry.h"
#include "download/download_panel.h"
#include "graph/ucltalgraph.h"
#include "printing/print_job.h"
#include "settings/instrument_panel.h"
#include "settings/settings_panel.h"
#include "views/view_panel.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTimer>

int frmMain::Px(double twips) const
{
    return TwipsToPx(twips, logicalDpiX());
}

double frmMain::Twips(int pixels) const
{
    return PixelsToTwips(pixels, logicalDpiX());
}

double frmMain::ScaleWidth() const { return Twips(width()); }
double frmMain::ScaleHeight() const { return Twips(height()); }

void frmMain::CreateControls()
{
    tmrInter = new QTimer(this);
    tmrInter->setObjectName(QStringLiteral("tmrInter"));
    connect(tmrInter, &QTimer::timeout, this, [this] { tmrInter_Timer(); });
    tmrPortSearch = new QTimer(this);
    tmrPortSearch->setObjectName(QStringLiteral("tmrPortSearch"));
    tmrPortSearch->setInterval(2000);
    connect(tmrPortSearch, &QTimer::timeout, this, [this] { SearchForPort(); });

    // ---- menu column and panel frames ----
    for (int i = 0; i < cmdInst.Count(); ++i) {
        cmdInst[i] = NewButton(this, Indexed("cmdInst", i), 10000, 180 + i * 1200, 1400, 1080);
        connect(cmdInst(i), &QPushButton::clicked, this, [this, i] { cmdInst_Click(i); });
    }
    for (int i = 0; i < fraMenu.Count(); ++i) {
        fraMenu[i] = NewGroup(this, Indexed("fraMenu", i), 0, 120, 9600, 7800);
        fraMenu[i]->setVisible(false);
    }

    // ---- the panels, each in its frame ----
    m_download = std::make_unique<DownloadPanel>(fraMenu(0), m_state, *this);
    m_instrument = std::make_unique<InstrumentPanel>(fraMenu(1), m_state, *this);
    m_data = std::make_unique<DataPanel>(fraMenu(2), m_state, *this);
    m_view = std::make_unique<ViewPanel>(fraMenu(3), m_state, *this);
    // A panel opened from another one takes the focus from the control that
    // opened it, which is now hidden: onto the graph when it is shown, else
    // onto the table.
    connect(m_view.get(), &ViewPanel::ShowRequested, this, [this] {
        ShowPanelFrame(3);
        Form_Resize();
        FocusInPanel(fraMenu(3), {m_view->talGraph, m_view->vfgBrowse});
    });
    connect(m_view.get(), &ViewPanel::ReturnRequested, this, [this] { cmdInst_Click(2); });
    connect(m_data.get(), &DataPanel::DetailRequested, this,
            [this] { m_view->OpenRecord(m_data->SelectedKind, m_data->SelectedSeqNo); });
    m_lastCal = std::make_unique<LastCalPanel>(fraMenu(4), m_state, *this);
    m_settings = std::make_unique<SettingsPanel>(fraMenu(5), m_state, *this, *m_download);

    // ---- what the browser's panels ask of the window ----
    // The last-calibration list is printed as the grid shows it.
    connect(m_lastCal.get(), &LastCalPanel::PrintRequested, this, [this] {
        const DataGrid& grid = *m_lastCal->vfgHistory;
        PrintRequest request;
        request.DataType = kPrintLastCalibration;
        request.LastCalList = SnapshotGrid(
            grid.Rows(), grid.Cols(), [&grid](int r, int c) { return grid.Text(r, c); }, {});
        GoPrinter(request);
    });
    connect(m_data.get(), &DataPanel::StoredInstrumentRequested, this, [this] {
        m_instrument->ShowInstrumentInfo();
        ShowPanelFrame(1);
        Form_Resize();
        FocusInPanel(fraMenu(1), {m_instrument->vfgInst});
    });
    // The option pane's colour buttons recolour the data view's graph.
    connect(m_settings.get(), &SettingsPanel::GraphColorChanged, this, [this](int series, std::int32_t color) {
        m_view->talGraph->SetValueColor(series, color);
        m_view->talGraph->Refresh();
    });
}
