#pragma once
#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;
class QvifPort;
class TransferAnimation;

// The progress window that stands in front of the main window while a long
// instrument operation runs. It is not modal: the code that shows it goes on
// running and yields to the event loop while it waits for the instrument, so
// the window repaints and its Cancel button is served meanwhile.
//
// There is one window for the whole program. "Loading" it (Load, or the first
// SetCaption / SetLabel / ShowWindow) reads App().ProcessState once and sets
// its title, label and Cancel button from it; "unloading" (Unload) hides it
// again. The object itself lives as long as its owner, so a request that still
// waits on it never finds it gone.
//
// The window cannot be closed from its frame; Esc presses Cancel only while
// the Cancel button is shown and enabled. The animation plays while the
// window is on screen.
class frmUpload : public QWidget {
    Q_OBJECT
public:
    explicit frmUpload(QWidget* parent = nullptr);
    ~frmUpload() override;

    // The interface control whose Cancel the button sets (not owned).
    void SetControl(QvifPort* port) { m_port = port; }

    // Loads the window when it is not loaded yet (texts from ProcessState,
    // Canceled cleared, sized and centred). A loaded window is left alone.
    void Load();
    // Hides the window and stops its timer; the next reference loads it again.
    void Unload();
    bool IsLoaded() const { return m_loaded; }

    // Loads when needed, then shows the window without waiting (not modal).
    void ShowWindow();
    // The window title (loads when needed).
    void SetCaption(const QString& caption);
    QString Caption() const;
    // The progress line (loads when needed).
    void SetLabel(const QString& text);
    QString Label() const;

    // True once Cancel was pressed during the current load.
    bool Canceled() const { return m_canceled; }
    void SetCanceled(bool canceled) { m_canceled = canceled; }

    // The Cancel button's handler.
    void cmdUpload_Click();
    // The size rule and the layout of the controls.
    void Form_Resize();

    // Controls, named as the rest of the program knows them.
    TransferAnimation* amnUpload = nullptr;
    QLabel* lblUpload = nullptr;
    QPushButton* cmdUpload = nullptr;
    QTimer* tmrInter = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Form_Load();
    void ApplyProcessState(int state);
    void ApplyDisplayFont();
    int TwipsX(double twips) const;
    int TwipsY(double twips) const;

    QvifPort* m_port = nullptr;
    bool m_loaded = false;
    bool m_canceled = false;
    bool m_inLayout = false;
};
