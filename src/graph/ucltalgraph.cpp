#include "graph/ucltalgraph.h"

#include "common/colors.h"
#include "common/focus_frame.h"
#include "common/twips.h"
#include "graph/graph_renderer.h"

#include <QCursor>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

int ButtonCode(Qt::MouseButtons buttons)
{
    int code = 0;
    if (buttons & Qt::LeftButton)
        code |= 1;
    if (buttons & Qt::RightButton)
        code |= 2;
    if (buttons & Qt::MiddleButton)
        code |= 4;
    return code;
}

int ShiftCode(Qt::KeyboardModifiers mods)
{
    int code = 0;
    if (mods & Qt::ShiftModifier)
        code |= 1;
    if (mods & Qt::ControlModifier)
        code |= 2;
    if (mods & Qt::AltModifier)
        code |= 4;
    return code;
}

// The scroll bar of a zoomed graph. While it is shown it is a Tab stop and
// its keys scroll the view (the arrows by a sample, Page Up and Page Down by
// a view, Home and End to either end). With the focus it shows a frame along
// its edges, in the highlight colour unless that would not stand out from
// the bar.
class GraphScrollBar : public QScrollBar {
public:
    explicit GraphScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent)
    {
        setObjectName(QStringLiteral("hslWidth"));
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    // Each key moves the view the way it points, whatever way the slider
    // under the bar would take it.
    void keyPressEvent(QKeyEvent* event) override
    {
        SliderAction action = SliderNoAction;
        switch (event->key()) {
        case Qt::Key_Left: case Qt::Key_Up: action = SliderSingleStepSub; break;
        case Qt::Key_Right: case Qt::Key_Down: action = SliderSingleStepAdd; break;
        case Qt::Key_PageUp: action = SliderPageStepSub; break;
        case Qt::Key_PageDown: action = SliderPageStepAdd; break;
        case Qt::Key_Home: action = SliderToMinimum; break;
        case Qt::Key_End: action = SliderToMaximum; break;
        default: QScrollBar::keyPressEvent(event); return;
        }
        triggerAction(action);
    }
    void paintEvent(QPaintEvent* event) override
    {
        QScrollBar::paintEvent(event);
        if (!hasFocus())
            return;
        const QPalette& pal = palette();
        QPainter p(this);
        PaintFocusFrame(p, rect(), 2,
                        FocusCueColor({pal.color(QPalette::Window), pal.color(QPalette::Button)},
                                      pal.color(QPalette::Highlight)));
    }
};

} // namespace

// The drawing surface: shows the persistent image with the cursor line and
// its readout label over it, and passes mouse and keyboard to the control.
class TalGraphSurface : public QWidget {
public:
    explicit TalGraphSurface(uclTalGraph* owner) : QWidget(owner), m_owner(owner)
    {
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        m_owner->PaintSurface(p);
    }
    void mousePressEvent(QMouseEvent* e) override { m_owner->SurfaceMousePress(e); }
    void mouseMoveEvent(QMouseEvent* e) override { m_owner->SurfaceMouseMove(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { m_owner->SurfaceMouseRelease(e); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { m_owner->SurfaceDoubleClick(e); }
    void keyPressEvent(QKeyEvent* e) override { m_owner->SurfaceKeyPress(e); }
    void keyReleaseEvent(QKeyEvent* e) override { m_owner->SurfaceKeyRelease(e); }
    // The control draws the focus on its frame; the surface its cursor.
    void focusInEvent(QFocusEvent*) override
    {
        update();
        m_owner->update();
    }
    void focusOutEvent(QFocusEvent*) override
    {
        update();
        m_owner->update();
    }

private:
    uclTalGraph* m_owner;
};

uclTalGraph::uclTalGraph(QWidget* parent) : QFrame(parent), m_renderCache(std::make_unique<GraphRenderCache>())
{
    m_picGraph = new TalGraphSurface(this);
    m_hslWidth = new GraphScrollBar(this);
    m_hslWidth->hide();
    connect(m_hslWidth, &QScrollBar::valueChanged, this, &uclTalGraph::OnScroll);
    setFocusProxy(m_picGraph);
    ApplyFrame();
    LayoutChildren();
}

uclTalGraph::~uclTalGraph() = default;

QWidget* uclTalGraph::Surface() const { return m_picGraph; }

int uclTalGraph::AddSample(const QString& name, std::int32_t colour, const QString& format, float scaleRef)
{
    return m_model.AddSample(name, colour, format, scaleRef);
}

void uclTalGraph::Clear() { m_model.Clear(); }

void uclTalGraph::SetZoom(int z)
{
    const bool moved = m_model.SetZoom(z);
    SyncScrollBar();
    LayoutChildren();
    if (moved)
        Refresh();
}

void uclTalGraph::SetBackColor(std::int32_t color)
{
    m_backColor = color;
    m_picGraph->update();
}

void uclTalGraph::SetCursorColor(std::int32_t color)
{
    m_cursorColor = color;
    m_picGraph->update();
}

void uclTalGraph::SetCursorVisible(bool visible)
{
    m_cursorVisible = visible;
    m_picGraph->update();
}

QFont uclTalGraph::Font() const { return m_picGraph->font(); }

void uclTalGraph::SetFont(const QFont& font)
{
    setFont(font);
    m_picGraph->setFont(font);
}

double uclTalGraph::SurfaceTwipsPerPixel() const
{
    const int dpi = m_picGraph->logicalDpiX();
    return dpi > 0 ? kTwipsPerInch / dpi : 15.0;
}

double uclTalGraph::SurfaceTwipsPerPixelY() const
{
    return kTwipsPerInch / std::max(1, m_picGraph->logicalDpiY());
}

QPointF uclTalGraph::SurfaceTwips(const QPointF& pixels) const
{
    return QPointF(pixels.x() * SurfaceTwipsPerPixel(), pixels.y() * SurfaceTwipsPerPixelY());
}

void uclTalGraph::LayoutChildren()
{
    const QRect inner = contentsRect();
    const double tppY = SurfaceTwipsPerPixelY();
    const int gap = static_cast<int>(std::lround(60 / tppY));
    const int barHeight = m_hslWidth->sizeHint().height();
    int height = inner.height();
    if (m_model.Zoom() >= 2)
        height -= barHeight + gap;
    m_picGraph->setGeometry(inner.x(), inner.y(), inner.width(), std::max(0, height));
    m_hslWidth->setGeometry(inner.x(), inner.y() + inner.height() - barHeight - gap, inner.width(), barHeight);
    m_hslWidth->setVisible(m_model.Scroll().visible);
}

void uclTalGraph::SyncScrollBar()
{
    const GraphScrollState& s = m_model.Scroll();
    m_syncing = true;
    m_hslWidth->setRange(s.min, s.max);
    m_hslWidth->setPageStep(s.largeChange);
    m_hslWidth->setSingleStep(s.smallChange);
    m_hslWidth->setValue(s.value);
    m_hslWidth->setVisible(s.visible);
    m_syncing = false;
}

void uclTalGraph::OnScroll(int value)
{
    if (m_syncing)
        return;
    m_model.ScrollTo(value);
    Refresh();
}

void uclTalGraph::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    LayoutChildren();
    Repaint();
}

void uclTalGraph::Refresh()
{
    m_refreshFlag = true;
    Repaint();
    m_refreshFlag = false;
}

void uclTalGraph::Cls()
{
    const double dpr = std::max(1.0, m_picGraph->devicePixelRatioF());
    const QSize size = m_picGraph->size() * dpr;
    if (m_surface.size() != size)
        m_surface = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    m_surface.setDevicePixelRatio(dpr);
    const double dpm = m_picGraph->logicalDpiX() / 0.0254;
    m_surface.setDotsPerMeterX(static_cast<int>(std::lround(dpm)));
    m_surface.setDotsPerMeterY(static_cast<int>(std::lround(m_picGraph->logicalDpiY() / 0.0254)));
    m_surface.fill(ColorFromWin(m_backColor));
    m_picGraph->update();
}

QSizeF uclTalGraph::LabelSize(const QString& caption) const
{
    const QFontMetricsF fm(m_picGraph->font(), m_picGraph);
    QStringList lines = caption.split(QStringLiteral("\r\n"));
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    double width = 0;
    for (const QString& line : lines)
        width = std::max(width, fm.horizontalAdvance(line));
    const double tpp = SurfaceTwipsPerPixel();
    const double w = std::ceil(width) + 4;
    const double h = std::ceil(lines.size() * fm.lineSpacing()) + 2;
    return QSizeF(w * tpp, h * tpp);
}

void uclTalGraph::Repaint()
{
    if (!m_autoRedraw && !m_refreshFlag)
        return;
    QPaintDevice* device = m_drawObj;
    const double tpp = SurfaceTwipsPerPixel();
    const double tppY = SurfaceTwipsPerPixelY();
    m_model.SetTwipsPerPixel(tpp, tppY);
    if (m_model.SetDrawWidth() == 0)
        m_model.SetSetDrawWidth(m_picGraph->width() * tpp);
    if (m_model.SetDrawHeight() == 0)
        m_model.SetSetDrawHeight(m_picGraph->height() * tppY);
    if (m_model.SampleDataCount() < 1 || m_model.SampleCount() < 1)
        return;

    LayoutChildren();
    const auto labelSize = [this](const QString& caption) { return LabelSize(caption); };
    const QRect inner = contentsRect();
    GraphRenderTarget target;
    target.controlWidth = inner.width() * tpp;
    target.controlHeight = inner.height() * tppY;
    target.backColor = m_backColor;
    if (!device) {
        Cls();
        target.screen = true;
        target.dpiX = m_picGraph->logicalDpiX();
        target.dpiY = m_picGraph->logicalDpiY();
        target.scaleWidth = m_picGraph->width() * tpp;
        target.scaleHeight = m_picGraph->height() * tppY;
        QPainter painter(&m_surface);
        const QPointF at = RenderGraph(m_model, painter, m_picGraph->font(), target, labelSize, m_renderCache.get());
        m_currentX = at.x();
        m_currentY = at.y();
        m_picGraph->update();
        return;
    }

    target.screen = false;
    target.printer = dynamic_cast<QPagedPaintDevice*>(device) != nullptr;
    target.dpiX = std::max(1, device->logicalDpiX());
    target.dpiY = std::max(1, device->logicalDpiY());
    target.scaleWidth = device->width() * kTwipsPerInch / target.dpiX;
    target.scaleHeight = device->height() * kTwipsPerInch / target.dpiY;
    QPainter* painter = nullptr;
    QPainter own;
    if (device->paintingActive() && device->paintEngine() && device->paintEngine()->painter()) {
        painter = device->paintEngine()->painter();
    } else {
        if (!own.begin(device))
            return;
        painter = &own;
    }
    const QPointF at = RenderGraph(m_model, *painter, m_picGraph->font(), target, labelSize);
    m_currentX = at.x();
    m_currentY = at.y();
}

void uclTalGraph::PlaceCursor()
{
    m_model.DrawCursor([this](const QString& caption) { return LabelSize(caption); }, true);
    m_picGraph->update();
}

void uclTalGraph::PaintSurface(QPainter& p)
{
    const QColor back = ColorFromWin(m_backColor);
    const QSize logical = m_surface.isNull() ? QSize()
                                             : (QSizeF(m_surface.size()) / m_surface.devicePixelRatio()).toSize();
    const QRect all = m_picGraph->rect();
    if (m_surface.isNull()) {
        p.fillRect(all, back);
    } else {
        p.drawImage(QPoint(0, 0), m_surface);
        if (logical.width() < all.width())
            p.fillRect(QRect(logical.width(), 0, all.width() - logical.width(), all.height()), back);
        if (logical.height() < all.height())
            p.fillRect(QRect(0, logical.height(), all.width(), all.height() - logical.height()), back);
    }
    PaintCursor(p, back);
    // A control without a frame shows the keyboard focus along the surface's
    // edges, in the highlight colour unless that is too close to the back
    // colour (with a frame, the frame shows it; see paintEvent).
    if (m_picGraph->hasFocus() && frameWidth() == 0) {
        QColor frame = palette().color(QPalette::Highlight);
        if (std::abs(frame.lightness() - back.lightness()) < 60)
            frame = back.lightness() < 128 ? QColor(Qt::white) : QColor(Qt::black);
        PaintFocusFrame(p, all, 2, frame);
    }
}

void uclTalGraph::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    // The keyboard focus shows on the control's frame, around the drawing,
    // so it covers none of the graph's texts. On screen only: the image and
    // the printout are drawn by RenderGraph and never get it.
    if (!m_picGraph->hasFocus() || frameWidth() == 0)
        return;
    QPainter p(this);
    PaintFocusFrame(p, rect(), frameWidth(), palette().color(QPalette::Highlight));
}

void uclTalGraph::PaintCursor(QPainter& p, const QColor& back)
{
    const GraphCursorState& c = m_model.Cursor();
    if (!m_cursorVisible || !c.placed)
        return;
    const double tppX = m_model.TwipsPerPixelX();
    const double tppY = m_model.TwipsPerPixelY();
    QPen pen(ColorFromWin(m_cursorColor));
    pen.setCosmetic(true);
    pen.setStyle(m_picGraph->hasFocus() ? Qt::SolidLine : Qt::DotLine);
    p.setPen(pen);
    const double x = std::round(c.x / tppX);
    p.drawLine(QPointF(x, std::round(c.y1 / tppY)), QPointF(x, std::round(c.y2 / tppY)));

    const QRectF label(std::round(c.labelLeft / tppX), std::round(c.labelTop / tppY), std::round(c.labelWidth / tppX),
                       std::round(c.labelHeight / tppY));
    p.fillRect(label, back);
    p.setPen(ColorFromWin(m_model.ScaleColor()));
    p.setFont(m_picGraph->font());
    QString text = c.caption;
    while (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    p.drawText(label.adjusted(2, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
}

double uclTalGraph::TextWidth(const QString& text) const
{
    const QPaintDevice* device = m_drawObj ? m_drawObj : static_cast<QPaintDevice*>(m_picGraph);
    const QFontMetricsF fm(m_picGraph->font(), device);
    return fm.horizontalAdvance(text) * kTwipsPerInch / std::max(1, device->logicalDpiX());
}

double uclTalGraph::TextHeight(const QString& text) const
{
    const QPaintDevice* device = m_drawObj ? m_drawObj : static_cast<QPaintDevice*>(m_picGraph);
    const QFontMetricsF fm(m_picGraph->font(), device);
    const int lines = std::max<qsizetype>(1, text.count(QLatin1Char('\n')) + 1);
    return lines * fm.height() * kTwipsPerInch / std::max(1, device->logicalDpiY());
}

void uclTalGraph::SetMousePointer(int pointer)
{
    m_mousePointer = pointer;
    switch (pointer) {
    case 1: m_picGraph->setCursor(Qt::ArrowCursor); break;
    case 2: m_picGraph->setCursor(Qt::CrossCursor); break;
    case 3: m_picGraph->setCursor(Qt::IBeamCursor); break;
    case 5: case 15: m_picGraph->setCursor(Qt::SizeAllCursor); break;
    case 6: m_picGraph->setCursor(Qt::SizeBDiagCursor); break;
    case 7: m_picGraph->setCursor(Qt::SizeVerCursor); break;
    case 8: m_picGraph->setCursor(Qt::SizeFDiagCursor); break;
    case 9: m_picGraph->setCursor(Qt::SizeHorCursor); break;
    case 10: m_picGraph->setCursor(Qt::UpArrowCursor); break;
    case 11: m_picGraph->setCursor(Qt::WaitCursor); break;
    case 12: m_picGraph->setCursor(Qt::ForbiddenCursor); break;
    case 13: m_picGraph->setCursor(Qt::BusyCursor); break;
    case 14: m_picGraph->setCursor(Qt::WhatsThisCursor); break;
    case 99:
        if (m_mouseIcon.isNull())
            m_picGraph->unsetCursor();
        else
            m_picGraph->setCursor(QCursor(m_mouseIcon));
        break;
    default: m_picGraph->unsetCursor(); break;
    }
}

void uclTalGraph::SetMouseIcon(const QPixmap& icon)
{
    m_mouseIcon = icon;
    if (m_mousePointer == 99)
        SetMousePointer(99);
}

void uclTalGraph::PopupMenu(QMenu* menu, int flags, std::optional<double> x, std::optional<double> y,
                            QAction* defaultAction)
{
    if (!menu)
        return;
    QPoint at = QCursor::pos();
    if (x && y) {
        const double tppY = SurfaceTwipsPerPixelY();
        at = m_picGraph->mapToGlobal(
            QPoint(static_cast<int>(std::lround(*x / SurfaceTwipsPerPixel())), static_cast<int>(std::lround(*y / tppY))));
    }
    if (defaultAction)
        menu->setDefaultAction(defaultAction);
    menu->exec(at);
}

void uclTalGraph::SetEnabled(bool on)
{
    setEnabled(on);
    emit PropertyChanged(QStringLiteral("Enabled"));
}

void uclTalGraph::SetAppearance(int appearance)
{
    m_appearance = appearance;
    ApplyFrame();
    emit PropertyChanged(QStringLiteral("Appearance"));
}

void uclTalGraph::SetBorderStyle(int style)
{
    m_borderStyle = style;
    ApplyFrame();
    emit PropertyChanged(QStringLiteral("BorderStyle"));
}

void uclTalGraph::ApplyFrame()
{
    if (m_borderStyle == 0)
        setFrameStyle(QFrame::NoFrame);
    else if (m_appearance == 0)
        setFrameStyle(QFrame::Box | QFrame::Plain);
    else
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    LayoutChildren();
}

void uclTalGraph::ReadProperties(const QVariantMap& bag)
{
    setEnabled(bag.value(QStringLiteral("Enabled"), true).toBool());
    m_appearance = bag.value(QStringLiteral("Appearance"), 1).toInt();
    m_borderStyle = bag.value(QStringLiteral("BorderStyle"), 1).toInt();
    ApplyFrame();
}

QVariantMap uclTalGraph::WriteProperties() const
{
    return {{QStringLiteral("Enabled"), isEnabled()},
            {QStringLiteral("Appearance"), m_appearance},
            {QStringLiteral("BorderStyle"), m_borderStyle}};
}

int uclTalGraph::VirtualKey(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key; // same codes as the letters
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

void uclTalGraph::SurfaceMousePress(QMouseEvent* e)
{
    const QPointF at = SurfaceTwips(e->position());
    m_afterDoubleClick = false;
    emit MouseDown(ButtonCode(e->button()), ShiftCode(e->modifiers()), at.x(), at.y());
    m_model.MouseDown(at.x());
    PlaceCursor();
}

void uclTalGraph::SurfaceMouseMove(QMouseEvent* e)
{
    const QPointF at = SurfaceTwips(e->position());
    emit MouseMove(ButtonCode(e->buttons()), ShiftCode(e->modifiers()), at.x(), at.y());
}

void uclTalGraph::SurfaceMouseRelease(QMouseEvent* e)
{
    const QPointF at = SurfaceTwips(e->position());
    emit MouseUp(ButtonCode(e->button()), ShiftCode(e->modifiers()), at.x(), at.y());
    if (!m_afterDoubleClick && m_picGraph->rect().contains(e->position().toPoint()))
        emit Click();
    m_afterDoubleClick = false;
}

void uclTalGraph::SurfaceDoubleClick(QMouseEvent*)
{
    m_afterDoubleClick = true;
    emit DblClick();
}

void uclTalGraph::SurfaceKeyPress(QKeyEvent* e)
{
    const int code = VirtualKey(e->key());
    const int shift = ShiftCode(e->modifiers());
    emit KeyDown(code, shift);
    const double h = m_picGraph->height();
    if (m_model.KeyDown(code, shift, h)) {
        // Zoomed, a cursor that moves past the edge of the view takes the
        // view along.
        const int showing = m_model.ScrollValueShowing(static_cast<int>(std::lround(m_model.CursorIndex())));
        if (showing != m_model.Scroll().value)
            m_hslWidth->setValue(showing);
        PlaceCursor();
    }
    const QString text = e->text();
    if (!text.isEmpty() && text.at(0).unicode() < 256)
        emit KeyPress(text.at(0).unicode());
}

void uclTalGraph::SurfaceKeyRelease(QKeyEvent* e)
{
    if (e->isAutoRepeat())
        return;
    emit KeyUp(VirtualKey(e->key()), ShiftCode(e->modifiers()));
}
