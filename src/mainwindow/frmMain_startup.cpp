// Start-up of the main window: initialisation, loading, activation, the
// port to the instrument, the serial logs of earlier runs, and the window
// size and state that the settings file reads and writes.

#include "mainwindow/frmMain.h"

#include "common/appstate.h"
#include "common/clock.h"
#include "common/colors.h"
#include "common/dates.h"
#include "common/errors.h"
#include "common/logdb.h"
#include "common/paths.h"
#include "common/portfinder.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "common/services.h"
#include "common/settingsfile.h"
#include "common/wait.h"
#include "download/download_panel.h"
#include "interface/qvif_port.h"
#include "settings/settings_panel.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace {

// How long start-up waits for a deleted file to disappear.
constexpr int kFileGoneWaitMs = 2000;
const char* const kUsbSerialHardwareId = "VID_10C4&PID_EA60";

QString SerialLogName(int generation)
{
    return generation == 0 ? QStringLiteral("SerialLog.log") : QStringLiteral("SerialLog%1.log").arg(generation);
}

} // namespace

void frmMain::Form_Initialize()
{
    App().CommSettings = QStringLiteral("921600,n,8,1");
}

QSizeF frmMain::FirstRunSize(double screenWidthTwips, double screenHeightTwips)
{
    const double w = 0.8 * screenWidthTwips;
    const double h = 0.6 * screenHeightTwips;
    return QSizeF(std::max(kMinWindowWidth, w), std::max(kMinWindowHeight, h));
}

void frmMain::Form_Load()
{
    AppState& app = App();

    // A database that cannot be created is reported; the program goes on
    // (every later database operation reports its own failure).
    const QString dbPath = LogDatabasePath();
    if (!QFileInfo::exists(dbPath)) {
        try {
            CreateLogDatabase(dbPath);
        } catch (const PelkarError& e) {
            MsgBox(GetResString(5778, QDir::toNativeSeparators(dbPath), e.Message()), MsgButtons::Ok,
                   MsgIcon::Critical, QStringLiteral("Pelkar"));
        }
    }

    m_state.StartupPending = true;
    InitDefaults();
    app.Retry = 3;
    app.Timeout = 3;
    ReadSettings();
    m_download->ShowAutoLoadModes();

    ShowFontAndColorButtons();
    ApplyDisplayFont();
    LoadCaptions();

    QvifPort* uclQvport = m_state.uclQvport;
    uclQvport->SetRetry(app.Retry);
    uclQvport->SetTimeout(app.Timeout);
    uclQvport->SetSerialComm(false);

    OpenUsbSerialPort();

    // Size: 80 % x 60 % of the screen only when the settings file counts
    // this as the first start after the one that wrote it ("Execute Count"
    // 1); every other start keeps the size the settings file or the design
    // gave. Centred at every start (the restored bounds when the window
    // starts maximised).
    const QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect screenRect = scr ? scr->geometry() : QRect(0, 0, 1024, 768);
    if (app.ExecuteCount == 1) {
        const QSizeF size = FirstRunSize(Twips(screenRect.width()), Twips(screenRect.height()));
        SetWindowWidth(qRound(size.width()));
        SetWindowHeight(qRound(size.height()));
    }
    const double leftTwips = (Twips(screenRect.width()) - WindowWidth()) / 2.0;
    const double topTwips = (Twips(screenRect.height()) - WindowHeight()) / 2.0;
    move(screenRect.x() + Px(leftTwips), screenRect.y() + Px(topTwips));
    ApplyPendingWindowState();

    SettingsPanel& settings = *m_settings;
    settings.lblOption(5)->setProperty("Tag", GeneralDate(Now()));
    settings.fraOption(1)->setVisible(true);
    settings.fraOption(2)->setVisible(false);

    StartSerialLog();

    // The control writes the serial log from now on.
    uclQvport->SetSerialFileNo(1);
    uclQvport->SetDumpListFileNo(2);

    // A database that another program holds locked is told in the pane,
    // not in a box, so nothing holds up an unattended automatic run: it
    // goes on, stores nothing and keeps the logger's data.
    QString lockDetail;
    if (LogDatabaseInUse(dbPath, &lockDetail)) {
        m_download->AddLogText(GetResString(20121, QDir::toNativeSeparators(dbPath)), RGB(255, 0, 0));
        uclQvport->AddLog(lockDetail);
    }

    m_download->txtSuffix->setText(app.FactoryRecordSuffix);
}

void frmMain::Form_Activate()
{
    if (m_state.StartupPending) {
        for (int i = 0; i < fraMenu.Count(); ++i)
            fraMenu(i)->move(0, fraMenu(i)->y());
        ShowPanelFrame(0);
        m_state.uclQvport->AddLog(GetResString(5541, GeneralDate(Now())));
        m_state.StartupPending = false;
    }
    Form_Resize();
}

void frmMain::OpenUsbSerialPort()
{
    AppState& app = App();
    QvifPort* uclQvport = m_state.uclQvport;
    FindUsbSerialPort(QLatin1String(kUsbSerialHardwareId));
    m_portSearchFailed = false;
    if (app.CommPort != 0) {
        if (!OpenSerialPort()) {
            m_download->AddLogText(GetResString(5371), RGB(255, 0, 0));
            m_portSearchFailed = true;
        }
        m_download->ShowPortLamp(true, m_portSearchFailed);
    } else {
        // No converter: no port is opened. This platform has no infrared
        // transport to fall back to, and opening the control's default
        // serial device would send probes to whatever is attached there.
        uclQvport->SetSerialComm(false);
        uclQvport->SetPortOpen(false);
        m_download->ShowPortLamp(false, false);
    }
    tmrPortSearch->start();
}

bool frmMain::OpenSerialPort()
{
    const AppState& app = App();
    QvifPort* uclQvport = m_state.uclQvport;
    uclQvport->SetSerialComm(true);
    uclQvport->SetCommPort(app.CommPort);
    uclQvport->SetDevicePath(CommDevicePath());
    uclQvport->SetRTSEnable(true);
    uclQvport->SetDTREnable(true);
    uclQvport->SetHandshaking(2);
    uclQvport->SetSettings(app.CommSettings);
    uclQvport->SetPortOpen(true);
    return uclQvport->PortOpen();
}

bool frmMain::SearchForPort()
{
    QvifPort* uclQvport = m_state.uclQvport;
    // Only while no port is open and no command or run is under way (a
    // power-off closes the port on purpose; its reset opens it again).
    if ((App().CommPort != 0 && uclQvport->PortOpen()) || App().ProcessState != 0
        || m_download->AutomaticModeRunning || !cmdInst(4)->isEnabled() || IsClosing())
        return false;
    // The finder without its box: several converters are left alone here
    // (start-up and the reset say so).
    const QStringList devices = FindUsbSerialDevices(QLatin1String(kUsbSerialHardwareId));
    if (devices.size() != 1 || !QFileInfo::exists(devices.first()))
        return false;
    if (!AdoptUsbSerialDevice(devices.first()))
        return false;
    // Without a converter at start-up the control may hold another port.
    if (uclQvport->PortOpen())
        uclQvport->SetPortOpen(false);
    const bool opened = OpenSerialPort();
    if (!opened && !m_portSearchFailed)
        m_download->AddLogText(GetResString(5371), RGB(255, 0, 0));
    m_portSearchFailed = !opened;
    m_download->ShowPortLamp(true, !opened);
    return opened;
}

void frmMain::StartSerialLog()
{
    // A log that could not be moved aside is kept; this run appends to it.
    bool previousLogMoved = true;
    if (App().SerialLogOn)
        previousLogMoved = RotateSerialLogs();
    if (previousLogMoved && QFileInfo::exists(ProgramFile(SerialLogName(0))))
        DeleteProgramFile(SerialLogName(0), true);
}

bool frmMain::DeleteProgramFile(const QString& name, bool yield)
{
    const QString path = ProgramFile(name);
    QFile::remove(path);
    auto gone = [&path] { return !QFileInfo::exists(path); };
    bool ok;
    if (yield) {
        ok = WaitYielding(gone, kFileGoneWaitMs);
    } else {
        const qint64 start = WaitClockMs();
        while (!(ok = gone()) && WaitClockMs() - start < kFileGoneWaitMs)
            QThread::msleep(10);
    }
    if (!ok) {
        qWarning() << "cannot delete" << path;
        m_download->AddLogText(GetResString(5779, name), RGB(255, 0, 0));
    }
    return ok;
}

bool frmMain::RotateSerialLogs()
{
    auto exists = [](int generation) { return QFileInfo::exists(ProgramFile(SerialLogName(generation))); };
    auto moveUp = [&](int from) {
        const int to = from + 1;
        if (exists(to) && !DeleteProgramFile(SerialLogName(to), false))
            return false;
        if (!QFile::rename(ProgramFile(SerialLogName(from)), ProgramFile(SerialLogName(to)))) {
            qWarning() << "cannot rename" << SerialLogName(from) << "to" << SerialLogName(to);
            m_download->AddLogText(GetResString(5780, SerialLogName(from), SerialLogName(to)),
                       RGB(255, 0, 0));
            return false;
        }
        return true;
    };
    // A generation that cannot move up stops the rotation, so no log is
    // ever deleted to make room for one below it.
    for (int i = 8; i >= 1; --i)
        if (exists(i) && !moveUp(i))
            return false;
    if (!exists(0))
        return true;
    return moveUp(0);
}

// ---- window size and state for the settings file ----

int frmMain::WindowState() const
{
    if (m_pendingState >= 0)
        return m_pendingState;
    if (windowState() & Qt::WindowMinimized)
        return 1;
    if (windowState() & Qt::WindowMaximized)
        return 2;
    return 0;
}

void frmMain::SetWindowState(int state)
{
    if (state < 0 || state > 2)
        state = 0;
    m_pendingState = state;
    if (isVisible())
        ApplyPendingWindowState();
}

void frmMain::ApplyPendingWindowState()
{
    if (m_pendingState < 0)
        return;
    const int state = m_pendingState;
    m_pendingState = -1;
    if (state == 1)
        setWindowState(windowState() | Qt::WindowMinimized);
    else if (state == 2)
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    else
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
}

int frmMain::WindowWidth() const
{
    return qRound(Twips(frameGeometry().width()));
}

void frmMain::SetWindowWidth(int twips)
{
    const int frameExtra = frameGeometry().width() - width();
    resize(std::max(1, Px(twips) - frameExtra), height());
}

int frmMain::WindowHeight() const
{
    return qRound(Twips(frameGeometry().height()));
}

void frmMain::SetWindowHeight(int twips)
{
    const int frameExtra = frameGeometry().height() - height();
    resize(width(), std::max(1, Px(twips) - frameExtra));
}

// ---- fonts and the option buttons ----

void frmMain::ShowFontAndColorButtons()
{
    AppState& app = App();
    const FontSetting font = app.DisplayFont.value_or(FontSetting{});
    const auto& cmdOptionDisp = m_settings->cmdOptionDisp;
    cmdOptionDisp(0)->setText(QStringLiteral("%1(%2)").arg(font.Name, QString::number(font.Size)));
    for (int i = 0; i < 2; ++i) {
        QPushButton* b = cmdOptionDisp(i + 1);
        QPalette pal = b->palette();
        pal.setColor(QPalette::Button, ColorFromWin(app.GraphColor[i]));
        b->setPalette(pal);
        b->setAutoFillBackground(true);
        b->setProperty("BackColor", app.GraphColor[i]);
    }
}

void frmMain::ApplyDisplayFont()
{
    // Every attribute is copied explicitly, so a control keeps exactly this
    // font and does not take the bold of the panel frame around it.
    QFont f;
    CopyFont(f, FontFromSetting(App().DisplayFont.value_or(FontSetting{})));
    for (QWidget* w : findChildren<QWidget*>())
        w->setFont(f);
    QFont bold = f;
    bold.setBold(true);
    for (QGroupBox* frame : fraMenu)
        frame->setFont(bold);
}
