#pragma once
#include "views/view_records.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

// What the trend graph of an interval or alarm trend shows, free of the
// graph control: two series (one per gas), their samples, their event marks,
// the titles, the "Alarm" mark of an alarm trend, the series check boxes and
// the zoom list. The panel hands it to the graph control.

class GraphModel;

struct GraphSeriesFill {
    QString name;
    std::int32_t colour = 0;
    QString format;        // "#" + the gas's decimal picture, "##0.0"
    float scaleRef = 0;    // full scale
    bool enabled = false;  // shown, and its check box visible and on
    QString checkCaption;
    std::int32_t checkColour = 0; // text colour of the check box (0: plain)
};

struct GraphEventFill {
    QDateTime time;
    QString text;
};

struct GraphFill {
    bool hasSeries = false;        // kinds 1 and 2; others leave the graph empty
    std::array<GraphSeriesFill, 2> series;
    QString titleTop;
    QString titleBottom;
    std::vector<QDateTime> x;
    std::array<std::vector<float>, 2> y;
    std::array<std::vector<GraphEventFill>, 2> events; // at most 2,048 each
    bool alarmMark = false;        // "Alarm" at point 180 on the common row
    int sampleCount = 0;
    bool eventCheckVisible = false;  // "Event" box
    bool cursorCheckVisible = false; // "Cursor" box
    QStringList zoomItems;
};

// The text of the alarm mark on the common event row, and its point.
inline constexpr int kAlarmPoint = 180;
QString AlarmMarkText();

// How the graph draws a stored value (GraphPointValue): a value above full
// scale at full scale, a reading rounded to the gas's decimals, a status
// code or a negative reading ("OVER" in the table) as -0.01, which the
// graph takes as none.
float DrawnValue(float value, const GasFacts& gas);

// The samples of an interval trend that can be drawn: per gas slot 0..3 the
// readings of 0 or more and the OVER codes, the largest count among the
// enabled slots (0 when none is enabled). The graph is offered from 5 on.
int CountValidSamples(const clsInterval& record);
inline constexpr int kMinGraphSamples = 5;

// "1", then "3", "5", "10", "20", "30", "50" for more than 30, 50, 100, 200,
// 300, 500 samples.
QStringList ZoomItems(int sampleCount);

// The graph of kind 1 or 2 (any other kind: no series, zoom list "1").
// colours are the trend colours of the two gases. plainCaptions gives the
// series check boxes the plain gas names without colour (the Data View
// window); otherwise they get the gas heading in the series colour.
GraphFill FillGraph(int kind, const ViewRecords& records, const std::array<std::int32_t, 2>& colours,
                    bool plainCaptions);

// Hands f's points to a graph model whose two series are added: every
// sample's time and values, each series' events and their count, then the
// sample count.
void SetGraphPoints(GraphModel& m, const GraphFill& f);
