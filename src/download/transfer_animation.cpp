#include "download/transfer_animation.h"

#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

// The instrument: a small upright case with a display.
void DrawInstrument(QPainter& p, const QRectF& r, const QPalette& pal)
{
    p.setPen(QPen(pal.color(QPalette::WindowText), 1.2));
    p.setBrush(QColor(255, 200, 40));
    p.drawRoundedRect(r, r.width() * 0.18, r.width() * 0.18);
    const QRectF display(r.left() + r.width() * 0.18, r.top() + r.height() * 0.15, r.width() * 0.64,
                         r.height() * 0.32);
    p.setBrush(QColor(40, 70, 60));
    p.drawRect(display);
    p.setBrush(pal.color(QPalette::WindowText));
    p.drawEllipse(QPointF(r.center().x(), r.top() + r.height() * 0.72), r.width() * 0.12, r.width() * 0.12);
}

// The computer: a screen on a stand.
void DrawComputer(QPainter& p, const QRectF& r, const QPalette& pal)
{
    p.setPen(QPen(pal.color(QPalette::WindowText), 1.2));
    const QRectF screen(r.left(), r.top(), r.width(), r.height() * 0.7);
    p.setBrush(pal.color(QPalette::Mid));
    p.drawRoundedRect(screen, 3, 3);
    p.setBrush(QColor(90, 150, 220));
    p.drawRect(screen.adjusted(screen.width() * 0.1, screen.height() * 0.12, -screen.width() * 0.1,
                               -screen.height() * 0.12));
    p.setBrush(pal.color(QPalette::Mid));
    const double stand = r.width() * 0.16;
    p.drawRect(QRectF(r.center().x() - stand / 2, screen.bottom(), stand, r.height() * 0.16));
    p.drawRect(QRectF(r.center().x() - stand * 1.6, r.bottom() - r.height() * 0.1, stand * 3.2, r.height() * 0.1));
}

// A sheet with a folded corner and a few lines of text.
void DrawSheet(QPainter& p, const QPointF& centre, double h, const QPalette& pal)
{
    const double w = h * 0.75;
    const double fold = w * 0.3;
    const QRectF r(centre.x() - w / 2, centre.y() - h / 2, w, h);
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.setPen(QPen(pal.color(QPalette::WindowText), 1));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
    p.setPen(QPen(pal.color(QPalette::Mid), 1));
    for (int i = 1; i <= 3; ++i) {
        const double y = r.top() + fold + i * (h - fold) / 4.5;
        p.drawLine(QPointF(r.left() + w * 0.18, y), QPointF(r.right() - w * 0.18, y));
    }
}

} // namespace

TransferAnimation::TransferAnimation(QWidget* parent) : QWidget(parent)
{
    m_timer = new QTimer(this);
    m_timer->setInterval(kFrameIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &TransferAnimation::Advance);
}

bool TransferAnimation::IsRunning() const
{
    return m_timer->isActive();
}

void TransferAnimation::Advance()
{
    m_frame = (m_frame + 1) % kFrames;
    update();
}

void TransferAnimation::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_timer->start();
}

void TransferAnimation::hideEvent(QHideEvent* event)
{
    m_timer->stop();
    QWidget::hideEvent(event);
}

void TransferAnimation::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const double h = std::min<double>(height(), width() / 3.0);
    if (h <= 8)
        return;
    const double top = (height() - h) / 2;
    // The instrument and the computer stand in the lower part; the sheet
    // flies above them, never higher than the top.
    const double side = h * 0.62;
    const QRectF instrument(width() * 0.15, top + h - side, side * 0.6, side);
    const QRectF computer(width() * 0.85 - side * 1.1, top + h - side * 0.9, side * 1.1, side * 0.9);
    DrawInstrument(p, instrument, pal);
    DrawComputer(p, computer, pal);

    const double sheet = h * 0.34;
    const QPointF from(instrument.center().x(), instrument.top());
    const QPointF to(computer.center().x(), computer.top());
    const double peak = top + sheet / 2 + 1;
    const double lift = std::min(from.y(), to.y()) - peak;
    auto along = [&](double t) {
        return QPointF(from.x() + (to.x() - from.x()) * t,
                       from.y() + (to.y() - from.y()) * t - lift * 4 * t * (1 - t));
    };
    // A trail of dots shows the way the sheet goes.
    p.setPen(Qt::NoPen);
    p.setBrush(pal.color(QPalette::Mid));
    for (int i = 1; i < 10; ++i)
        p.drawEllipse(along(i / 10.0), 1.2, 1.2);
    const double t = (m_frame + 0.5) / kFrames;
    DrawSheet(p, along(t), sheet, pal);
}
