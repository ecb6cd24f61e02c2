#pragma once
#include <QWidget>

class QTimer;

// The progress window's animation: a sheet of paper that travels in an arc
// from the instrument on the left to the computer on the right, over and
// over, while the window is on screen. It is drawn here, needs no file, and
// its timer runs only while the widget is shown.
class TransferAnimation : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFrames = 16;
    static constexpr int kFrameIntervalMs = 90;

    explicit TransferAnimation(QWidget* parent = nullptr);

    // The picture shown, 0 .. kFrames - 1.
    int Frame() const { return m_frame; }
    // True while the timer moves the picture on.
    bool IsRunning() const;
    // The next picture (what each timer tick does).
    void Advance();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTimer* m_timer = nullptr;
    int m_frame = 0;
};
