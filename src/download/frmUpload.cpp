#include "download/frmUpload.h"

#include "common/appstate.h"
#include "common/resstrings.h"
#include "common/twips.h"
#include "download/transfer_animation.h"
#include "interface/qvif_port.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

// The texts the window carries until a known operation replaces them.
const QString kDesignTitle = QStringLiteral("Now Upload");
const QString kDesignLabel = QStringLiteral("Now Uploading.");
const QString kDesignButton = QStringLiteral("Now Download");

// Fixed sizes of the window in screen pixels.
constexpr int kBaseWidthPx = 288;
constexpr int kAnimationHeightPx = 64;

QString Text(int id)
{
    try {
        return GetResString(id);
    } catch (...) {
        return QString();
    }
}

} // namespace

frmUpload::frmUpload(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmUpload"));
    setWindowModality(Qt::NonModal);
    setWindowTitle(kDesignTitle);

    amnUpload = new TransferAnimation(this);
    amnUpload->setObjectName(QStringLiteral("amnUpload"));

    lblUpload = new QLabel(this);
    lblUpload->setObjectName(QStringLiteral("lblUpload"));
    lblUpload->setText(kDesignLabel);
    lblUpload->setAlignment(Qt::AlignCenter);
    lblUpload->setWordWrap(true);

    cmdUpload = new QPushButton(this);
    cmdUpload->setObjectName(QStringLiteral("cmdUpload"));
    cmdUpload->setText(kDesignButton);
    cmdUpload->setAutoDefault(false);
    connect(cmdUpload, &QPushButton::clicked, this, [this] { cmdUpload_Click(); });

    tmrInter = new QTimer(this);
    tmrInter->setObjectName(QStringLiteral("tmrInter"));
    tmrInter->setInterval(500);
    // The tick only repaints the window, which runs the layout again.
    connect(tmrInter, &QTimer::timeout, this, [this] { update(); });
}

frmUpload::~frmUpload() = default;

int frmUpload::TwipsX(double twips) const { return TwipsToPx(twips, logicalDpiX()); }
int frmUpload::TwipsY(double twips) const { return TwipsToPx(twips, logicalDpiY()); }

void frmUpload::Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    Form_Load();
}

void frmUpload::Form_Load()
{
    // Each step stands on its own: nothing here may stop the window from
    // opening.
    ApplyDisplayFont();

    // Design state first (the one window object serves every operation).
    setWindowTitle(kDesignTitle);
    lblUpload->setText(kDesignLabel);
    cmdUpload->setText(kDesignButton);
    cmdUpload->setVisible(true);
    cmdUpload->setEnabled(true);

    // The label's design height: two lines of the display font.
    const QFontMetrics fm(lblUpload->font());
    lblUpload->resize(lblUpload->width(), 2 * fm.height() + 4);

    // Size with the button shown, as designed, and centre the window once.
    Form_Resize();
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect s = screen->availableGeometry();
        move(s.left() + (s.width() - width()) / 2, s.top() + (s.height() - height()) / 2);
    }

    ApplyProcessState(App().ProcessState);
    m_canceled = false;
    // The animation starts with the window's showing and stops with its
    // hiding.
    tmrInter->start();
    Form_Resize();
}

void frmUpload::ApplyProcessState(int state)
{
    int textId = 0;
    bool cancelShown = false;
    switch (state) {
    case 0: textId = 6004; break;
    case 1: textId = 6001; cancelShown = true; break;
    case 2: textId = 6001; break;
    case 3: textId = 6002; break;
    case 4: textId = 6003; break;
    case 5:
    case 6:
    case 7: textId = 6004; cancelShown = true; break;
    default: return; // design texts and state stay
    }
    const QString text = Text(textId);
    setWindowTitle(text);
    lblUpload->setText(text);
    if (cancelShown)
        cmdUpload->setText(Text(6005));
    cmdUpload->setVisible(cancelShown);
}

void frmUpload::ApplyDisplayFont()
{
    const auto& setting = App().DisplayFont;
    if (!setting)
        return;
    QFont f(font());
    if (!setting->Name.isEmpty())
        f.setFamily(setting->Name);
    if (setting->Size > 0)
        f.setPointSizeF(setting->Size);
    f.setBold(setting->Bold);
    f.setItalic(setting->Italic);
    f.setUnderline(setting->Underline);
    setFont(f);
    for (QWidget* w : {static_cast<QWidget*>(amnUpload), static_cast<QWidget*>(lblUpload),
                       static_cast<QWidget*>(cmdUpload)})
        w->setFont(f);
}

void frmUpload::Unload()
{
    tmrInter->stop();
    hide();
    m_loaded = false;
}

void frmUpload::ShowWindow()
{
    Load();
    show();
    raise();
}

void frmUpload::SetCaption(const QString& caption)
{
    Load();
    setWindowTitle(caption);
}

QString frmUpload::Caption() const { return windowTitle(); }

void frmUpload::SetLabel(const QString& text)
{
    Load();
    lblUpload->setText(text);
}

QString frmUpload::Label() const { return lblUpload->text(); }

void frmUpload::cmdUpload_Click()
{
    if (!cmdUpload->isEnabled())
        return;
    lblUpload->setText(Text(6006));
    if (m_port)
        m_port->SetCancel(true);
    m_canceled = true;
    cmdUpload->setEnabled(false);
}

void frmUpload::Form_Resize()
{
    if (m_inLayout)
        return;
    m_inLayout = true;

    const int labelHeight = lblUpload->height();
    const bool buttonShown = cmdUpload->isVisibleTo(this);
    const int w = kBaseWidthPx + TwipsX(240);
    const int h = kAnimationHeightPx
        + static_cast<int>(std::lround((buttonShown ? 2.6 : 2.0) * labelHeight));
    if (width() != w || height() != h)
        resize(w, h);

    const int innerW = width();
    const int innerH = height();
    amnUpload->setGeometry(TwipsX(60), TwipsY(60), std::max(0, innerW - TwipsX(120)),
                           kAnimationHeightPx);
    const int labelTop = amnUpload->y() + amnUpload->height() + TwipsY(60);
    lblUpload->setGeometry(TwipsX(60), labelTop, std::max(0, innerW - TwipsX(120)), labelHeight);
    if (buttonShown) {
        const int top = labelTop + labelHeight + TwipsY(60);
        cmdUpload->setGeometry(TwipsX(60), top, std::max(0, innerW - TwipsX(120)),
                               std::max(0, innerH - labelTop - labelHeight - TwipsY(120)));
    }
    m_inLayout = false;
}

void frmUpload::closeEvent(QCloseEvent* event)
{
    // Only the operation that opened the window closes it (Unload).
    event->ignore();
}

void frmUpload::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        if (cmdUpload->isVisibleTo(this) && cmdUpload->isEnabled())
            cmdUpload->click();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmUpload::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmUpload::paintEvent(QPaintEvent* event)
{
    Form_Resize();
    QWidget::paintEvent(event);
}
