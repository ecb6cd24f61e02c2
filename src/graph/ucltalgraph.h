#pragma once
#include "common/settings_targets.h"
#include "graph/graph_model.h"

#include <QDateTime>
#include <QFrame>
#include <QImage>
#include <QPixmap>
#include <QVariantMap>

#include <cstdint>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QPaintDevice;
class QScrollBar;
class TalGraphSurface;
struct GraphRenderCache;

// The trend graph control: gas series against a shared time axis, with
// event marks, per-series Y scales, a cursor with a readout, horizontal zoom
// with a scroll bar, and drawing onto any paint device (the screen, an
// image, a printer page).
//
// Hosts fill it through the members below and call Refresh. The data and
// geometry live in a GraphModel (Model()); drawing goes through
// GraphRenderer in twips. Series indexes run from 0; any index at or above
// SampleDataCount() (hosts use 1000) addresses the common event row.
// Positions (X, Y, SetDraw*) are twips; colours are Windows colour numbers.
//
// Keyboard: the drawing takes the focus and its cursor keys move the cursor;
// zoomed, a cursor moved past the edge of the view scrolls the view, and the
// scroll bar is the next Tab stop, whose keys scroll as a form's do.
//
// Member naming: `X()` reads, `SetX(value)` writes.
class uclTalGraph : public QFrame, public GraphColorTarget {
    Q_OBJECT
public:
    explicit uclTalGraph(QWidget* parent = nullptr);
    ~uclTalGraph() override;

    GraphModel& Model() { return m_model; }
    const GraphModel& Model() const { return m_model; }
    // The drawing surface (receives the mouse and the keyboard).
    QWidget* Surface() const;

    // --- series and samples -------------------------------------------
    int AddSample(const QString& name, std::int32_t colour, const QString& format, float scaleRef);
    void Clear();
    int SampleDataCount() const { return m_model.SampleDataCount(); }
    QString ValueName(int s) const { return m_model.ValueName(s); }
    void SetValueName(int s, const QString& name) { m_model.SetValueName(s, name); }
    std::int32_t ValueColor(int s) const { return m_model.ValueColor(s); }
    void SetValueColor(int s, std::int32_t colour) { m_model.SetValueColor(s, colour); }
    bool SampleVisible(int s) const { return m_model.SampleVisible(s); }
    void SetSampleVisible(int s, bool visible) { m_model.SetSampleVisible(s, visible); }
    QString FormatY(int s = 0) const { return m_model.FormatY(s); }
    void SetFormatY(int s, const QString& format) { m_model.SetFormatY(s, format); }
    void SetFormatY(const QString& format) { m_model.SetFormatY(0, format); }
    QDateTime valueX(int i) const { return m_model.valueX(i); }
    void SetvalueX(int i, const QDateTime& time) { m_model.SetvalueX(i, time); }
    QDateTime DataX(int i) const { return m_model.DataX(i); }
    void SetDataX(int i, const QDateTime& time) { m_model.SetDataX(i, time); }
    float valueY(int s, int i) const { return m_model.valueY(s, i); }
    void SetvalueY(int s, int i, float v) { m_model.SetvalueY(s, i, v); }
    int SampleCount() const { return m_model.SampleCount(); }
    void SetSampleCount(int n) { m_model.SetSampleCount(n); }
    int MaxSamples() const { return GraphModel::kMaxSampleIndex; }

    // --- events ---------------------------------------------------------
    QDateTime EventX(int s, int i) const { return m_model.EventX(s, i); }
    void SetEventX(int s, int i, const QDateTime& time) { m_model.SetEventX(s, i, time); }
    QString EventFlag(int s, int i) const { return m_model.EventFlag(s, i); }
    void SetEventFlag(int s, int i, const QString& text) { m_model.SetEventFlag(s, i, text); }
    bool EventVisible(int s) const { return m_model.EventVisible(s); }
    void SetEventVisible(int s, bool visible) { m_model.SetEventVisible(s, visible); }
    int EventCount(int s) const { return m_model.EventCount(s); }
    void SetEventCount(int s, int count) { m_model.SetEventCount(s, count); }
    int MaxEvents() const { return GraphModel::kMaxEvents; }
    // The event nearest to (x seconds, y twips); date 0 and "" when none.
    void SearchEvent(double x, double y, QDateTime& time, QString& text) const
    {
        m_model.SearchEvent(x, y, time, text);
    }

    // --- ranges and zoom ------------------------------------------------
    double MinX() const { return m_model.MinX(); }
    void SetMinX(double v) { m_model.SetMinX(v); }
    double MaxX() const { return m_model.MaxX(); }
    void SetMaxX(double v) { m_model.SetMaxX(v); }
    float MinY(int s = 0) const { return m_model.MinY(s); }
    void SetMinY(float v) { m_model.SetMinY(0, v); }
    void SetMinY(int s, float v) { m_model.SetMinY(s, v); }
    float MaxY(int s = 0) const { return m_model.MaxY(s); }
    void SetMaxY(float v) { m_model.SetMaxY(0, v); }
    void SetMaxY(int s, float v) { m_model.SetMaxY(s, v); }
    double PosXStp() const { return m_model.PosXStp(); }
    double PosYStp(int s) const { return m_model.PosYStp(s); }
    int Zoom() const { return m_model.Zoom(); }
    // Ignored with fewer than two samples or a factor below 1; no repaint of
    // its own unless the scroll position had to return to the start.
    void SetZoom(int z);

    // --- texts, formats, visuals ----------------------------------------
    QString TitleTop() const { return m_model.TitleTop(); }
    void SetTitleTop(const QString& t) { m_model.SetTitleTop(t); }
    QString TitleBottom() const { return m_model.TitleBottom(); }
    void SetTitleBottom(const QString& t) { m_model.SetTitleBottom(t); }
    QString FormatX() const { return m_model.FormatX(); }
    void SetFormatX(const QString& f) { m_model.SetFormatX(f); }
    QString ScaleXFormat() const { return m_model.FormatX(); }
    void SetScaleXFormat(const QString& f) { m_model.SetFormatX(f); }
    std::int32_t ScaleColor() const override { return m_model.ScaleColor(); }
    void SetScaleColor(std::int32_t color) override { m_model.SetScaleColor(color); }
    std::int32_t BackColor() const override { return m_backColor; }
    void SetBackColor(std::int32_t color) override;
    std::int32_t CursorColor() const override { return m_cursorColor; }
    void SetCursorColor(std::int32_t color) override;
    bool CursorVisible() const { return m_cursorVisible; }
    void SetCursorVisible(bool visible);
    double DrawLineWidth() const { return m_model.DrawLineWidth(); }
    void SetDrawLineWidth(double w) { m_model.SetDrawLineWidth(w); }
    double ScaleLineWidth() const { return m_model.ScaleLineWidth(); }
    void SetScaleLineWidth(double w) { m_model.SetScaleLineWidth(w); }
    QFont Font() const;
    void SetFont(const QFont& font);

    // --- drawing target ---------------------------------------------------
    // nullptr: the control's own surface. Another device (an image, a
    // printer) is drawn into the rectangle SetDrawLeft/Top/Width/Height
    // (twips of that device); when the device is already being painted on
    // (a print job in progress), its painter is used. The device must
    // outlive its use here.
    QPaintDevice* DrawObj() const { return m_drawObj; }
    void SetDrawObj(QPaintDevice* device) { m_drawObj = device; }
    double SetDrawLeft() const { return m_model.SetDrawLeft(); }
    void SetSetDrawLeft(double v) { m_model.SetSetDrawLeft(v); }
    double SetDrawTop() const { return m_model.SetDrawTop(); }
    void SetSetDrawTop(double v) { m_model.SetSetDrawTop(v); }
    double SetDrawWidth() const { return m_model.SetDrawWidth(); }
    void SetSetDrawWidth(double v) { m_model.SetSetDrawWidth(v); }
    double SetDrawHeight() const { return m_model.SetDrawHeight(); }
    void SetSetDrawHeight(double v) { m_model.SetSetDrawHeight(v); }
    bool AutoRedraw() const { return m_autoRedraw; }
    // False: only Refresh draws.
    void SetAutoRedraw(bool on) { m_autoRedraw = on; }

    // Draws the whole graph now onto the drawing target.
    void Refresh();
    // Clears the surface to the background colour.
    void Cls();
    // The surface's persistent image (what the last screen pass drew).
    QImage Picture() const { return m_surface; }
    double CurrentX() const { return m_currentX; }
    double CurrentY() const { return m_currentY; }
    // Text size on the drawing target, twips.
    double TextWidth(const QString& text) const;
    double TextHeight(const QString& text) const;
    double xPos(double x) const { return m_model.xPos(x); }
    double yPos(double v, int s) const { return m_model.yPos(v, s); }
    double xData(double x) const { return m_model.xData(x); }
    double yData(double y, int s) const { return m_model.yData(y, s); }

    // --- pointer, menu, own state ------------------------------------------
    // 0 default, 1 arrow, 2 cross, 3 I-beam, 11 hourglass, 99 MouseIcon, ...
    int MousePointer() const { return m_mousePointer; }
    void SetMousePointer(int pointer);
    QPixmap MouseIcon() const { return m_mouseIcon; }
    void SetMouseIcon(const QPixmap& icon);
    // Shows menu over the control at (x, y) twips of the surface, or at the
    // mouse when no position is given.
    void PopupMenu(QMenu* menu, int flags = 0, std::optional<double> x = std::nullopt,
                   std::optional<double> y = std::nullopt, QAction* defaultAction = nullptr);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool on);
    // 0 flat, 1 three-dimensional.
    int Appearance() const { return m_appearance; }
    void SetAppearance(int appearance);
    // 0 none, 1 fixed single.
    int BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(int style);
    bool TestDisp() const { return false; }
    // The persisted properties "Enabled", "Appearance" and "BorderStyle";
    // missing keys take their defaults (True, 1, 1).
    void ReadProperties(const QVariantMap& bag);
    QVariantMap WriteProperties() const;

    // Windows virtual-key code of a Qt key (0 when it has none).
    static int VirtualKey(int qtKey);

signals:
    // Raised before the control's own handling. Button: 1 left, 2 right,
    // 4 middle; Shift: 1 Shift, 2 Ctrl, 4 Alt; X and Y in twips.
    void Click();
    void DblClick();
    void KeyDown(int keyCode, int shift);
    void KeyPress(int keyAscii);
    void KeyUp(int keyCode, int shift);
    void MouseDown(int button, int shift, double x, double y);
    void MouseMove(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    // A persisted property was changed.
    void PropertyChanged(const QString& name);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend class TalGraphSurface;
    void Repaint();
    void LayoutChildren();
    void SyncScrollBar();
    void OnScroll(int value);
    void PlaceCursor();
    void ApplyFrame();
    QSizeF LabelSize(const QString& caption) const;
    double SurfaceTwipsPerPixel() const;
    double SurfaceTwipsPerPixelY() const;
    // A point of the surface in pixels as twips.
    QPointF SurfaceTwips(const QPointF& pixels) const;
    void PaintSurface(QPainter& painter);
    // The cursor line and its readout label over the surface.
    void PaintCursor(QPainter& painter, const QColor& back);
    // Input from the surface.
    void SurfaceMousePress(QMouseEvent* event);
    void SurfaceMouseMove(QMouseEvent* event);
    void SurfaceMouseRelease(QMouseEvent* event);
    void SurfaceDoubleClick(QMouseEvent* event);
    void SurfaceKeyPress(QKeyEvent* event);
    void SurfaceKeyRelease(QKeyEvent* event);

    GraphModel m_model;
    TalGraphSurface* m_picGraph = nullptr;
    QScrollBar* m_hslWidth = nullptr;
    QImage m_surface;
    std::unique_ptr<GraphRenderCache> m_renderCache; // of the surface's passes
    QPaintDevice* m_drawObj = nullptr;
    bool m_autoRedraw = true;
    bool m_refreshFlag = false;
    bool m_syncing = false;
    bool m_afterDoubleClick = false;
    std::int32_t m_backColor = 0xF0F0F0;
    std::int32_t m_cursorColor = 0xFF4040;
    bool m_cursorVisible = true;
    double m_currentX = 0;
    double m_currentY = 0;
    int m_mousePointer = 0;
    QPixmap m_mouseIcon;
    int m_appearance = 1;
    int m_borderStyle = 1;
};
