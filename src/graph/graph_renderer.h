#pragma once
#include "graph/graph_model.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QStaticText>
#include <QTransform>

#include <cstdint>
#include <functional>
#include <vector>

// What one drawing pass knows of its target.
struct GraphRenderTarget {
    bool screen = true;          // the control's own surface
    bool printer = false;        // a paged device: white is assumed behind the grid
    double dpiX = 96;            // the target's resolution (1440 twips per inch)
    double dpiY = 96;
    double scaleWidth = 0;       // drawable size of the target, twips
    double scaleHeight = 0;
    double controlWidth = 0;     // the control's inner size, twips
    double controlHeight = 0;
    std::int32_t backColor = 0xFFFFFF;
};

// What a surface's renderers keep from one pass to the next: text widths,
// laid-out texts and rendered stamps, each keyed by the font, resolution and
// colour it was made for.
struct GraphRenderCache {
    QHash<QString, double> widths;
    QHash<QString, QStaticText> texts;
    QHash<QString, QImage> stamps;
};

// Draws the model onto a QPainter whose unit is the twip: every coordinate
// goes through one transform (DPI / 1440), so the same code serves the
// screen, images and printers. Text is laid out with the target's own font
// metrics and drawn unscaled at the mapped position, so it stays crisp.
// The painter's state is restored when the renderer ends.
class GraphRenderer {
public:
    // cache: kept by the caller between passes onto one surface; nullptr
    // keeps it for this pass only.
    GraphRenderer(GraphModel& model, QPainter& painter, const QFont& font, const GraphRenderTarget& target,
                  GraphRenderCache* cache = nullptr);
    ~GraphRenderer();
    GraphRenderer(const GraphRenderer&) = delete;
    GraphRenderer& operator=(const GraphRenderer&) = delete;

    // Text size on the target in twips with the current font.
    double TextWidth(const QString& text) const;
    double TextHeight(const QString& text) const;
    GraphLayoutTarget LayoutTarget() const;

    void DrawFrameAndScales();
    void DrawSeriesLines();
    void DrawEventMarks();

    // Where the last text ended (twips).
    double CurrentX() const { return m_currentX; }
    double CurrentY() const { return m_currentY; }

private:
    // Where the event texts of rows go inside area (the plot less its
    // margin): each event's text clear of every other text and mark, and
    // where texts crowd, the number of those left out ("+N") beside a text
    // that stands.
    std::vector<GraphEventLabel> PlaceEventLabels(const std::vector<GraphEventRow>& rows, const QRectF& area);
    // Marks of one colour in a row: pen and brush set once.
    void BeginTriangles(std::int32_t colour);
    // A filled triangle with its apex on (x, y), pointing up (base below)
    // or down (base above); size 50 gives a mark 110 twips high.
    void DrawTriangle(double x, double y, bool up, double size);
    void EndTriangles();
    void StampTriangles(const std::vector<double>& xs, double y, bool up, double size, std::int32_t colour);
    QPen MakePen(std::int32_t colour, double widthPx, Qt::PenStyle style) const;
    void SetPen(std::int32_t colour, double widthPx, Qt::PenStyle style);
    void Line(double x1, double y1, double x2, double y2);
    void PrintText(double x, double y, const QString& text);
    void DrawTextAt(double x, double y, const QString& text);
    void StampTextAt(double x, double y, const QString& text, std::int32_t colour);
    // The rendered text under key of the cache, made when missing.
    QImage Stamp(const QString& key, const QString& text, std::int32_t colour, int margin);
    void UseFont(const QFont& font);
    double DevicePixelRatio() const;

    GraphModel& m_model;
    QPainter& m_painter;
    GraphRenderTarget m_target;
    QFont m_font;
    QFont m_activeFont;
    QFontMetricsF m_metrics;
    QTransform m_twips;
    std::int32_t m_foreColor = 0;
    double m_currentX = 0;
    double m_currentY = 0;
    GraphRenderCache m_ownCache;
    GraphRenderCache* m_cache;
    QString m_fontKey; // the active font on this target, prefix of the cache's keys
    std::int32_t m_stampColour = -1;
    QString m_stampFont;
    QHash<QString, QImage> m_colourStamps; // of m_stampColour and m_stampFont, by text
};

// One whole drawing pass over the model: layout and scales, then, when the
// time axis has a width, frame and scales, series lines, event marks and the
// cursor. labelSize measures the cursor readout on the screen; cache, when
// given, is kept between passes onto the same surface. Returns where the
// last text ended (CurrentX, CurrentY).
QPointF RenderGraph(GraphModel& model, QPainter& painter, const QFont& font, const GraphRenderTarget& target,
                 const std::function<QSizeF(const QString&)>& labelSize, GraphRenderCache* cache = nullptr);
