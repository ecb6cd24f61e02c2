#include "mainwindow/frmOpen.h"

#include "common/appstate.h"
#include "common/paths.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "common/twips.h"
#include "mainwindow/frmMain.h"
#include "common/wait.h"

#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {

std::function<frmMain*()>& Factory()
{
    static std::function<frmMain*()> factory;
    return factory;
}

// The splash wait ends after five ticks; this bound only guards against a
// timer that never fires (it is far beyond any pause a user would make).
constexpr int kSplashWaitBoundMs = 4 * 60 * 60 * 1000;

int Px(double twips) { return TwipsToPx(twips); }

// A small product picture drawn in code: a gas monitor seen from the front.
QPixmap ProductPicture()
{
    QPixmap pm(Px(1500), Px(2100));
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(pm.width() * 0.15, pm.height() * 0.05, pm.width() * 0.7, pm.height() * 0.9);
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(QColor(250, 190, 20));
    p.drawRoundedRect(body, 12, 12);
    const QRectF screen(body.left() + body.width() * 0.12, body.top() + body.height() * 0.12,
                        body.width() * 0.76, body.height() * 0.32);
    p.setBrush(QColor(170, 200, 170));
    p.drawRect(screen);
    p.setBrush(QColor(60, 60, 60));
    for (int i = 0; i < 2; ++i)
        p.drawEllipse(QPointF(body.left() + body.width() * (0.32 + 0.36 * i), body.top() + body.height() * 0.68),
                      body.width() * 0.1, body.width() * 0.1);
    return pm;
}

// Copies the flags into the program-wide state.
void ApplyStartupFlags(const StartupFlags& flags)
{
    AppState& a = App();
    a.ServiceMode = flags.ServiceMode;
    a.G2Mode = flags.G2Mode;
    a.UMode = flags.UMode;
    a.DebugMode = flags.DebugMode;
}

} // namespace

void frmOpen::SetMainWindowFactory(std::function<frmMain*()> factory)
{
    Factory() = std::move(factory);
}

frmOpen::frmOpen(const QStringList& arguments, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_arguments(arguments)
{
    setObjectName(QStringLiteral("frmOpen"));
    resize(Px(6900), Px(3900));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    fraOpen = new QFrame(this);
    fraOpen->setObjectName(QStringLiteral("fraOpen"));
    fraOpen->setFrameShape(QFrame::Box);
    fraOpen->installEventFilter(this);

    imgProduct = new QLabel(fraOpen);
    imgProduct->setObjectName(QStringLiteral("imgProduct"));
    imgProduct->setPixmap(ProductPicture());
    imgProduct->setGeometry(Px(240), Px(1000), Px(1500), Px(2100));

    lblTitle = new QLabel(QStringLiteral("Pelkar"), fraOpen);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSize(28);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    lblTitle->setFont(titleFont);
    lblTitle->resize(Px(3600), Px(660));

    for (int i = 0; i < linBorder.Count(); ++i) {
        linBorder[i] = new QFrame(fraOpen);
        linBorder[i]->setObjectName(QStringLiteral("linBorder(%1)").arg(i));
        linBorder[i]->setFrameShape(QFrame::HLine);
        linBorder[i]->setFrameShadow(i == 0 ? QFrame::Sunken : QFrame::Plain);
    }

    // The platform the program runs on.
    lblPCs = new QLabel(QStringLiteral("for Linux"), fraOpen);
    lblPCs->setObjectName(QStringLiteral("lblPCs"));
    QFont pcsFont = lblPCs->font();
    pcsFont.setPointSize(14);
    lblPCs->setFont(pcsFont);
    lblPCs->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblPCs->resize(Px(2400), Px(420));

    lblVersion = new QLabel(fraOpen);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblVersion->resize(Px(2400), Px(300));

    lblCompany = new QLabel(fraOpen);
    lblCompany->setObjectName(QStringLiteral("lblCompany"));
    lblCompany->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblCompany->resize(Px(3600), Px(300));

    lblCopyright = new QLabel(QStringLiteral("Copyright (C) Halvane Instruments, Inc. All rights reserved."),
                              fraOpen);
    lblCopyright->setObjectName(QStringLiteral("lblCopyright"));
    lblCopyright->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblCopyright->resize(Px(4600), Px(300));

    for (QLabel* l : {lblTitle, lblPCs, lblVersion, lblCompany, lblCopyright})
        l->setProperty("DesignSize", l->size());

    tmrTimer = new QTimer(this);
    tmrTimer->setObjectName(QStringLiteral("tmrTimer"));
    tmrTimer->setInterval(500);
    connect(tmrTimer, &QTimer::timeout, this, &frmOpen::tmrTimer_Timer);
}

frmOpen::~frmOpen()
{
    if (m_cursorSet)
        QGuiApplication::restoreOverrideCursor();
}

bool frmOpen::Form_Load()
{
    switch (AcquireInstanceLock()) {
    case InstanceLock::Taken:
        break;
    case InstanceLock::HeldByAnother:
        MsgBox(GetResString(99), MsgButtons::Ok, MsgIcon::Critical, GetResString(5001));
        return false;
    case InstanceLock::FolderNotWritable:
        MsgBox(GetResString(5774, QDir::toNativeSeparators(ProgramFolder())), MsgButtons::Ok, MsgIcon::Critical,
               GetResString(5001));
        return false;
    }
    ArrangeSplash();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.x() + (s.width() - width()) / 2, s.y() + (s.height() - height()) / 2);
    }
    show();
    if (!m_cursorSet) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_cursorSet = true;
    }
    Flags = FlagsFromArguments(m_arguments);
    ApplyStartupFlags(Flags);
    return true;
}

frmMain* frmOpen::Form_Activate()
{
    SplashTicks = 0;
    tmrTimer->start();
    ShowVersionAndCompany();

    const bool waited = WaitYielding([this] { return SplashTicks >= 5; }, kSplashWaitBoundMs);
    tmrTimer->stop();
    if (!waited && WaitsAbandoned())
        return nullptr;

    frmMain* main = Factory() ? Factory()() : new frmMain();
    main->Form_Load();
    main->show();

    hide();
    if (m_cursorSet) {
        QGuiApplication::restoreOverrideCursor();
        m_cursorSet = false;
    }
    return main;
}

void frmOpen::ShowVersionAndCompany()
{
    lblVersion->setText(QStringLiteral("P.No.") + QString::number(PartNumber()));
    lblCompany->setText(GetResString(101) == QLatin1String("EN") ? QStringLiteral("Halvane Instruments, Inc.")
                                                          : QStringLiteral("Halvane CO.,LTD."));
    ArrangeSplash();
}

void frmOpen::tmrTimer_Timer()
{
    // Counts to five and stops there, so a long pause never overflows it.
    if (SplashTicks < 5)
        ++SplashTicks;
}

void frmOpen::fraOpen_DblClick()
{
    MsgBox(QStringLiteral("Pause!!"), MsgButtons::Ok, MsgIcon::Information, QStringLiteral("Pause"));
}

bool frmOpen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == fraOpen && event->type() == QEvent::MouseButtonDblClick) {
        fraOpen_DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmOpen::ArrangeSplash()
{
    // Each line takes its design size or what its text needs, whichever is
    // larger, and the window grows to hold the widest, so no line is cut in
    // either language or at any font size.
    int widest = 0;
    for (QLabel* l : {lblTitle, lblPCs, lblVersion, lblCompany, lblCopyright}) {
        const QSize design = l->property("DesignSize").toSize();
        const QSize need = l->sizeHint();
        l->resize(std::max(design.width(), need.width()), std::max(design.height(), need.height()));
        widest = std::max(widest, l->width());
    }
    const int neededWidth = widest + Px(120) + Px(240) + Px(120);
    if (width() < neededWidth)
        resize(neededWidth, height());

    const int inner = width();
    const int innerH = height();
    fraOpen->setGeometry(Px(60), 0, std::max(0, inner - Px(120)), std::max(0, innerH - Px(120)));
    const int fw = fraOpen->width();
    const int fh = fraOpen->height();
    auto rightAligned = [&](QWidget* w) { return fw - Px(120) - w->width(); };

    lblTitle->move(Px(240), Px(240));
    const int lineY = lblTitle->y() + lblTitle->height() + Px(60);
    for (int i = 0; i < linBorder.Count(); ++i)
        linBorder(i)->setGeometry(Px(120), lineY + i, std::max(0, fw - Px(240)), 2);
    lblPCs->move(rightAligned(lblPCs), lineY);
    lblVersion->move(rightAligned(lblVersion), lblPCs->y() + lblPCs->height() + Px(120));
    lblCopyright->move(rightAligned(lblCopyright), fh - Px(120) - lblCopyright->height());
    lblCompany->move(rightAligned(lblCompany), lblCopyright->y() - Px(120) - lblCompany->height());
}
