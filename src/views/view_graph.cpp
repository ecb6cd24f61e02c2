#include "views/view_graph.h"

#include "common/gasvalue.h"
#include "common/resstrings.h"
#include "graph/graph_model.h"
#include "graph/graph_source.h"

#include <bit>
#include <unordered_map>

namespace {
template <class R>
void FillSeries(GraphFill& f, const R& record, const std::array<std::int32_t, 2>& colours, bool plainCaptions,
                std::array<GasFacts, 2>& g)
{
    for (int gas = 0; gas < 2; ++gas) {
        g[static_cast<size_t>(gas)] = GasFactsOf(record, gas);
        const GasFacts& facts = g[static_cast<size_t>(gas)];
        GraphSeriesFill& s = f.series[static_cast<size_t>(gas)];
        s.name = facts.name;
        s.colour = colours[static_cast<size_t>(gas)];
        s.format = QLatin1Char('#') + PointsFormat(facts.point);
        s.scaleRef = facts.full;
        s.enabled = facts.on;
        s.checkCaption = plainCaptions ? facts.name : GasHeading(facts);
        s.checkColour = plainCaptions ? 0 : s.colour;
    }
}

// The moments and drawn values of the record's first n samples; value(gas,
// i) reads a sample's stored value. Each distinct value of a gas is worked
// out once: a trend repeats its readings many times over.
template <class R, class Value>
void FillSamples(GraphFill& f, const R& record, int n, const std::array<GasFacts, 2>& g, Value value)
{
    f.x.resize(static_cast<size_t>(n));
    for (int gas = 0; gas < 2; ++gas)
        f.y[static_cast<size_t>(gas)].resize(static_cast<size_t>(n));
    std::array<std::unordered_map<std::uint32_t, float>, 2> drawn;
    for (int i = 0; i < n; ++i) {
        f.x[static_cast<size_t>(i)] = record.DateTimes(i);
        for (int gas = 0; gas < 2; ++gas) {
            const float v = value(gas, i);
            const auto [it, added] = drawn[static_cast<size_t>(gas)].try_emplace(std::bit_cast<std::uint32_t>(v));
            if (added)
                it->second = DrawnValue(v, g[static_cast<size_t>(gas)]);
            f.y[static_cast<size_t>(gas)][static_cast<size_t>(i)] = it->second;
        }
    }
}
}

QString AlarmMarkText()
{
    return QStringLiteral("Alarm");
}

float DrawnValue(float value, const GasFacts& gas)
{
    return GraphPointValue(value, gas.full, gas.point);
}

int CountValidSamples(const clsInterval& record)
{
    int best = 0;
    for (int gas = 0; gas <= 3; ++gas) {
        if (!record.GasListInfo(gas, 13).toBool())
            continue;
        int c = 0;
        for (int i = 0; i < record.DataCount(); ++i) {
            const float v = record.GasValue(gas, i);
            if (v >= 0 || v == static_cast<float>(kGasOver))
                ++c;
        }
        best = std::max(best, c);
    }
    return best;
}

QStringList ZoomItems(int n)
{
    QStringList items{QStringLiteral("1")};
    const std::pair<int, const char*> steps[] = {{30, "3"}, {50, "5"}, {100, "10"}, {200, "20"}, {300, "30"}, {500, "50"}};
    for (const auto& [above, item] : steps)
        if (n > above)
            items << QLatin1String(item);
    return items;
}

GraphFill FillGraph(int kind, const ViewRecords& records, const std::array<std::int32_t, 2>& colours,
                    bool plainCaptions)
{
    GraphFill f;
    if (kind != kViewInterval && kind != kViewAlarm) {
        f.zoomItems = ZoomItems(0);
        return f;
    }
    f.hasSeries = true;
    std::array<GasFacts, 2> g;
    const bool interval = kind == kViewInterval;
    int n = 0;
    QDateTime first, last;
    if (interval) {
        const clsInterval& r = records.interval;
        FillSeries(f, r, colours, plainCaptions, g);
        f.titleTop = GetResString(5602, r.GasBaseInfo(0).toString()) + QStringLiteral(" - ") + GetResString(5624);
        // A trend longer than the graph holds is drawn to its last sample
        // the graph keeps, and the title ends there too.
        n = std::min(r.DataCount(), GraphModel::kSampleSlots);
        first = r.DateTimes(0);
        last = r.DateTimes(n - 1);
        FillSamples(f, r, n, g, [&r](int gas, int i) { return r.GasValue(gas, i); });
        // The control keeps at most 2,048 events per series.
        for (int gas = 0; gas < 2; ++gas) {
            auto& ev = f.events[static_cast<size_t>(gas)];
            for (int k = 0; k < r.EventCount() && static_cast<int>(ev.size()) < GraphModel::kMaxEvents; ++k) {
                const float code = r.GasEvent(gas, k);
                if (code < -101.0f)
                    ev.push_back({r.EventDateTimes(k), FormatGasValue(code, g[static_cast<size_t>(gas)].point, false)});
            }
        }
        f.eventCheckVisible = true;
    } else {
        const clsAlarm& r = records.alarm;
        FillSeries(f, r, colours, plainCaptions, g);
        f.titleTop = GetResString(5602, r.GasBaseInfo(0).toString()) + QStringLiteral(" - ") + GetResString(5625);
        n = std::max(r.DataCount(), 0);
        first = r.DateTimes(0);
        last = r.DateTimes(n - 1);
        FillSamples(f, r, n, g, [&r](int gas, int i) { return r.Value(gas, i); });
        f.alarmMark = n > kAlarmPoint + 1;
        f.eventCheckVisible = false;
    }
    f.titleBottom = GetResString(5603, GraphTitleMoment(first), GraphTitleMoment(last));
    f.sampleCount = n;
    f.cursorCheckVisible = true;
    f.zoomItems = ZoomItems(n);
    return f;
}

void SetGraphPoints(GraphModel& m, const GraphFill& f)
{
    for (int i = 0; i < static_cast<int>(f.x.size()); ++i) {
        m.SetvalueX(i, f.x[static_cast<size_t>(i)]);
        for (int s = 0; s < 2; ++s)
            m.SetvalueY(s, i, f.y[static_cast<size_t>(s)][static_cast<size_t>(i)]);
    }
    for (int s = 0; s < 2; ++s) {
        const auto& ev = f.events[static_cast<size_t>(s)];
        for (int k = 0; k < static_cast<int>(ev.size()); ++k) {
            m.SetEventX(s, k, ev[static_cast<size_t>(k)].time);
            m.SetEventFlag(s, k, ev[static_cast<size_t>(k)].text);
        }
        m.SetEventCount(s, static_cast<int>(ev.size()));
    }
    m.SetSampleCount(f.sampleCount);
}
