#pragma once
#include <QDateTime>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// The data and the geometry of the trend graph, free of any widget: the
// shared time axis, the series with their values and event rows, the common
// event row, the visible X range with zoom and scroll state, the scales and
// the plot rectangle of the last layout, and the cursor. Tests drive it
// without painting; the widget and the renderer read and write it.
//
// X positions are whole seconds from sample 0 ("offsets"); drawing
// positions are twips of the drawing target. Indexes outside the stores
// never reach memory: setters ignore them and getters return an empty value.

struct GraphSeries {
    QString name;
    std::int32_t colour = 0;  // Windows colour number
    int lastIndex = 0;        // highest sample index written through valueY
    QString format;           // number pattern of labels and readout
    float minY = 0;
    float maxY = 0;           // 0: both computed from the data
    float scaleRef = 0;       // below 10: automatic limits step by 1, else by 10
    double posYStp = 0;       // Y label step
    double yFactor = 0;       // twips per Y unit
    bool visible = false;
    std::vector<float> values;
};

struct GraphEventBlock {
    bool visible = false;
    std::vector<QDateTime> times;
    std::vector<std::int32_t> offsets;
    std::vector<QString> texts;
    int count = 0;            // events in use (0..kMaxEvents)
    double rowY = 0;          // row position of the last drawing, twips
};

// The horizontal scroll bar's state.
struct GraphScrollState {
    bool visible = false;
    int min = 0;
    int max = 0;
    int largeChange = 1;
    int smallChange = 1;
    int value = 0;
};

// Facts of one drawing pass's target, in twips.
struct GraphLayoutTarget {
    bool screen = true;              // the control's own surface
    double scaleWidth = 0;           // drawable width (screen: the surface)
    double scaleHeight = 0;
    double controlWidth = 0;         // the control's inner size (non-screen defaults)
    double controlHeight = 0;
    std::function<double(const QString&)> textWidth;
    std::function<double(const QString&)> textHeight;
};

// One row of event marks as a drawing pass sees it: the marks' apexes at
// y, pointing up (base below) or down, the texts' row at textTop, and the
// marks in view with their texts.
struct GraphEventRow {
    double y = 0;
    bool up = false;
    double textTop = 0;
    std::vector<double> xs;    // twips, in the order of the events
    std::vector<QString> texts;
    bool operator==(const GraphEventRow&) const = default;
};

// A text of the event rows where the last drawing placed it (twips): an
// event's own text, or, where texts crowd, the number of the texts that
// stand there unshown ("+3").
struct GraphEventLabel {
    QRectF box;       // the text's own extent
    QString text;
    int row = 0;      // index into GraphLabelPlacement::rows
    int events = 1;   // events the text stands for: 1, or N for "+N"
};

// The places of the event texts and what they were worked out for: a
// drawing whose rows, plot and font are the same takes them as they are,
// so a repaint places nothing (only a change of size, zoom, scroll or data
// does).
struct GraphLabelPlacement {
    QRectF plot;
    double margin = 0;            // room kept between the texts and the plot's sides
    QString font;                 // QFont::key() of the event texts
    double dpiX = 0;
    double dpiY = 0;
    int device = -1;              // paint engine type of the target
    std::vector<GraphEventRow> rows;
    std::vector<GraphEventLabel> labels;
    bool SameInput(const GraphLabelPlacement& o) const
    {
        return plot == o.plot && margin == o.margin && font == o.font && dpiX == o.dpiX && dpiY == o.dpiY
               && device == o.device && rows == o.rows;
    }
};

// Where the cursor line and its readout label lie (twips of the surface).
struct GraphCursorState {
    bool placed = false;
    double x = 0;
    double y1 = 0;
    double y2 = 0;
    QString caption;
    double labelLeft = 0;
    double labelTop = 0;
    double labelWidth = 0;
    double labelHeight = 0;
};

class GraphModel {
public:
    static constexpr int kMaxSampleIndex = 16360;   // highest sample index
    static constexpr int kSampleSlots = 16361;
    static constexpr int kMaxEvents = 2048;         // events a series accepts
    static constexpr int kEventSlots = 2049;        // index 2048 readable only
    static constexpr float kNoValue = -0.01f;       // a sample without a value
    static constexpr int kCommonRow = 1000;         // what hosts pass for the common row

    GraphModel();

    // --- series --------------------------------------------------------
    // Fills slot 0 while its name is empty, else grows the stores by one
    // slot and fills the former spare slot; returns the slot's index.
    int AddSample(const QString& name, std::int32_t colour, const QString& format, float scaleRef);
    // N: the number of series (1 also while none was added).
    int SampleDataCount() const { return static_cast<int>(m_series.size()) - 1; }
    // Empties series, events and the common row's texts; keeps the time axis,
    // the X range, the zoom and the common row's visibility.
    void Clear();

    QString ValueName(int s) const;
    void SetValueName(int s, const QString& name);
    std::int32_t ValueColor(int s) const;
    void SetValueColor(int s, std::int32_t colour);
    bool SampleVisible(int s) const;
    void SetSampleVisible(int s, bool visible);
    QString FormatY(int s = 0) const;
    void SetFormatY(int s, const QString& format);
    float MinY(int s = 0) const;
    void SetMinY(int s, float v);
    float MaxY(int s = 0) const;
    void SetMaxY(int s, float v);
    float ScaleRef(int s) const;
    double PosYStp(int s) const;
    double YFactor(int s) const;
    int LastIndex(int s) const;

    float valueY(int s, int i) const;
    void SetvalueY(int s, int i, float v);
    // The whole value store of series s (kSampleSlots values), nullptr for
    // an index outside 0..N; for the drawing's inner loops.
    const float* ValuesData(int s) const { return SlotIndex(s) ? m_series[s].values.data() : nullptr; }

    // --- time axis -----------------------------------------------------
    QDateTime valueX(int i) const;
    void SetvalueX(int i, const QDateTime& time);
    QDateTime DataX(int i) const { return valueX(i); }
    // Like SetvalueX, but ignores index 16360 and raises SampleCount to i.
    void SetDataX(int i, const QDateTime& time);
    std::int32_t Offset(int i) const;
    // All kSampleSlots offsets.
    const std::int32_t* OffsetsData() const { return m_offsets.data(); }
    int SampleCount() const { return m_sampleCount; }
    // 0 to 16361; other counts are ignored.
    void SetSampleCount(int n);

    // --- events --------------------------------------------------------
    QDateTime EventX(int s, int i) const;
    void SetEventX(int s, int i, const QDateTime& time);
    std::int32_t EventOffset(int s, int i) const;
    // For s at or above N: text i of the common row.
    QString EventFlag(int s, int i) const;
    void SetEventFlag(int s, int i, const QString& text);
    bool EventVisible(int s) const;
    void SetEventVisible(int s, bool visible);
    int EventCount(int s) const;
    // Clamped to 0..MaxEvents.
    void SetEventCount(int s, int count);
    double EventRowY(int s) const;
    bool CommonEventVisible() const { return m_commonVisible; }
    QString CommonEventText(int i) const;
    // The stored texts by reference (index checked; an empty text outside).
    const QString& EventTextRef(int s, int i) const;
    const QString& CommonTextRef(int i) const;

    // Finds the event nearest to (x seconds, y twips); time is date 0 and
    // text "" when none lies close enough.
    void SearchEvent(double x, double y, QDateTime& time, QString& text) const;
    // The first sample after t (0 before sample 0, the last when none).
    int MouseToSample(double t) const;

    // --- X range, zoom and scroll ---------------------------------------
    double MinX() const { return m_minX; }
    void SetMinX(double v) { m_minX = v; }
    double MaxX() const { return m_maxX; }
    void SetMaxX(double v) { m_maxX = v; }
    int Zoom() const { return m_zoom; }
    // Sets the zoom factor and the scroll bar from it. Ignored with fewer
    // than two samples or a factor below 1. Returns true when the scroll
    // position changed (the caller repaints then).
    bool SetZoom(int z);
    // The scroll bar moved to v: sets the visible range.
    void ScrollTo(int v);
    // The scroll position nearest the current one whose range shows the
    // sample (the current one when it shows it already, or when the scroll
    // bar is hidden).
    int ScrollValueShowing(int sample) const;
    const GraphScrollState& Scroll() const { return m_scroll; }

    // --- text and visuals held for the drawing --------------------------
    QString FormatX() const { return m_formatX; }
    void SetFormatX(const QString& f) { m_formatX = f; }
    QString TitleTop() const { return m_titleTop; }
    void SetTitleTop(const QString& t) { m_titleTop = t; }
    QString TitleBottom() const { return m_titleBottom; }
    void SetTitleBottom(const QString& t) { m_titleBottom = t; }
    std::int32_t ScaleColor() const { return m_scaleColor; }
    void SetScaleColor(std::int32_t c) { m_scaleColor = c; }
    double DrawLineWidth() const { return m_drawLineWidth; }
    void SetDrawLineWidth(double w) { m_drawLineWidth = w; }
    double ScaleLineWidth() const { return m_scaleLineWidth; }
    void SetScaleLineWidth(double w) { m_scaleLineWidth = w; }
    double SetDrawLeft() const { return m_drawLeft; }
    void SetSetDrawLeft(double v) { m_drawLeft = v; }
    double SetDrawTop() const { return m_drawTop; }
    void SetSetDrawTop(double v) { m_drawTop = v; }
    double SetDrawWidth() const { return m_drawWidth; }
    void SetSetDrawWidth(double v) { m_drawWidth = v; }
    double SetDrawHeight() const { return m_drawHeight; }
    void SetSetDrawHeight(double v) { m_drawHeight = v; }
    // The screen's pixel size in twips (15 at 96 DPI).
    double TwipsPerPixelX() const { return m_tppX; }
    double TwipsPerPixelY() const { return m_tppY; }
    void SetTwipsPerPixel(double x, double y);

    // --- layout ---------------------------------------------------------
    // Plot rectangle, X range and step, and per-series scales for one pass.
    void CalcLayout(const GraphLayoutTarget& target);
    void CalcSeriesScales();
    double PlotLeft() const { return m_plotLeft; }
    double PlotTop() const { return m_plotTop; }
    double PlotWidth() const { return m_plotWidth; }
    double PlotHeight() const { return m_plotHeight; }
    double XStep() const { return m_xStep; }
    double PosXStp() const { return m_posXStp; }
    // Twips of X seconds and Y values of series s, and back.
    double xPos(double x) const;
    double yPos(double v, int s) const;
    double xData(double x) const;
    double yData(double y, int s) const;
    // Whether series s's Y labels stand left of the plot.
    bool InLeftGroup(int s) const;
    // The event row of series s (top of the plot for the first half of the
    // series, above the bottom for the rest).
    double EventRowFor(int s) const;
    void SetEventRowY(int s, double y);
    // The event rows and texts of the last drawing (the renderer keeps them).
    const GraphLabelPlacement& EventLabels() const { return m_labels; }
    GraphLabelPlacement& EventLabels() { return m_labels; }

    // --- cursor ---------------------------------------------------------
    double CursorIndex() const { return m_cursorIndex; }
    void SetCursorIndex(double i) { m_cursorIndex = i; }
    double CursorYOffset() const { return m_cursorYOffset; }
    // Pulls the cursor into the visible range, composes the readout and
    // places line and label; labelSize gives the label's size in twips for
    // a caption. With place false only the cursor index is kept in range.
    void DrawCursor(const std::function<QSizeF(const QString&)>& labelSize, bool place = true);
    const GraphCursorState& Cursor() const { return m_cursor; }
    // Cursor keys and the mouse. KeyDown returns true when the cursor moved
    // (the caller redraws it); surfaceHeightPx bounds the label offset.
    bool KeyDown(int keyCode, int shift, double surfaceHeightPx);
    void MouseDown(double xTwips);

    // Blends two colour numbers channel by channel: (c1 - c2) * f + c2.
    static std::int32_t MixColor(std::int32_t c1, std::int32_t c2, double f);

private:
    bool SeriesIndex(int s) const { return s >= 0 && s < SampleDataCount(); }
    bool SlotIndex(int s) const { return s >= 0 && s <= SampleDataCount(); }
    static bool SampleIndex(int i) { return i >= 0 && i <= kMaxSampleIndex; }
    static bool EventIndex(int i) { return i >= 0 && i < kEventSlots; }
    static bool EventSetIndex(int i) { return i >= 0 && i < kMaxEvents; }
    std::int32_t OffsetFromSample0(const QDateTime& t) const;
    // The earliest offset of the events with a text, of every series;
    // false when there is none.
    bool FirstEvent(double& first) const;
    // Whether the samples cover more than one moment.
    bool SamplesSpanTime() const;
    // Where the whole time axis starts: at sample 0, widened to events
    // logged before the first sample (a record keeps such events; the table
    // lists them, so the graph marks them too). The axis ends at the last
    // sample, as the trace does: events logged after the last sample the
    // graph holds are neither drawn nor given room.
    double RangeStart() const;
    // The last sample in view at scroll position v (zoomed).
    int ScrollEnd(int v) const;
    int LastSampleAtOrBefore(double bound) const;
    void ResetSeries();

    std::vector<GraphSeries> m_series;
    std::vector<GraphEventBlock> m_events;
    bool m_commonVisible = false;
    std::vector<QString> m_commonTexts;

    std::vector<QDateTime> m_times;
    std::vector<std::int32_t> m_offsets;
    int m_sampleCount = 0;

    double m_minX = 0;
    double m_maxX = 0;
    double m_posXStp = 0;
    double m_xStep = 0;
    double m_plotLeft = 0;
    double m_plotTop = 0;
    double m_plotWidth = 0;
    double m_plotHeight = 0;
    int m_zoom = 1;
    GraphScrollState m_scroll;

    QString m_formatX;
    QString m_titleTop;
    QString m_titleBottom;
    std::int32_t m_scaleColor = 0;
    double m_drawLineWidth = 1;
    double m_scaleLineWidth = 1;
    double m_drawLeft = 0;
    double m_drawTop = 0;
    double m_drawWidth = 1000;
    double m_drawHeight = 1000;
    double m_tppX = 15;
    double m_tppY = 15;

    double m_cursorIndex = 0;
    double m_cursorYOffset = 0;
    GraphCursorState m_cursor;
    GraphLabelPlacement m_labels;
};
