#pragma once
#include "common/widgets/control_array.h"
#include "mainwindow/startup_flags.h"

#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <functional>

class QFrame;
class QLabel;
class QTimer;
class frmMain;

// The splash window and start-up object: refuses a second copy, reads the
// command-line flags, shows the part number and the company line for about
// two and a half seconds, then creates and shows the main window.
class frmOpen : public QWidget {
    Q_OBJECT
public:
    // arguments: the whole command line, the program's own path first.
    explicit frmOpen(const QStringList& arguments, QWidget* parent = nullptr);
    ~frmOpen() override;

    // Single-instance test, layout, centring, showing, hourglass, flags.
    // False when another copy runs ("It has already started.") or when the
    // program's folder takes no lock file (a box naming the folder): the
    // box has been shown and the caller must end the process without any
    // window.
    bool Form_Load();
    // Starts the timer, sets the captions, waits five ticks, then creates
    // and shows the main window (through the factory) and unloads the
    // splash. Returns the main window (owned by the caller), or null when
    // the wait was abandoned because the program is shutting down.
    frmMain* Form_Activate();
    // The part number and the company line, by language and service mode.
    void ShowVersionAndCompany();
    // One 500 ms tick: counts up to 5 and stays there.
    void tmrTimer_Timer();
    // The pause box: holds the start of the main window while it is open.
    void fraOpen_DblClick();
    void ArrangeSplash();

    // How the main window is made; tests put one with a scripted control.
    static void SetMainWindowFactory(std::function<frmMain*()> factory);

    std::int16_t SplashTicks = 0;
    StartupFlags Flags;

    QFrame* fraOpen = nullptr;
    QLabel* imgProduct = nullptr;
    QLabel* lblTitle = nullptr;
    ControlArray<QFrame, 2> linBorder;
    QLabel* lblPCs = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblCompany = nullptr;
    QLabel* lblCopyright = nullptr;
    QTimer* tmrTimer = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStringList m_arguments;
    bool m_cursorSet = false;
};
