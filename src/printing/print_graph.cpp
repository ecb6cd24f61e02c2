#include "printing/print_graph.h"

#include "common/appstate.h"
#include "common/gasvalue.h"
#include "common/resstrings.h"
#include "graph/graph_model.h"
#include "graph/graph_source.h"
#include "printing/print_job.h"
#include "records/alarm.h"
#include "records/interval.h"

namespace {

constexpr int kIdDataBrowse = 5602;
constexpr int kIdSamplingTimes = 5603;
constexpr int kIdIntervalTrend = 5624;
constexpr int kIdAlarmTrend = 5625;

// A line width from the settings; the settings keep 1 to 100.
double PrintLineWidth(float w) { return (w >= 1 && w <= 100) ? w : 1.0; }

template <class Record>
void AddSeries(GraphModel& model, const Record& rec)
{
    for (int g = 0; g < 2; ++g) {
        const QString format =
            QStringLiteral("#") + PointsFormat(static_cast<std::int16_t>(rec.GasListInfo(g, 3).toInt()));
        model.AddSample(rec.GasListInfo(g, 0).toString(), App().GraphColor[static_cast<size_t>(g)], format,
                        rec.GasListInfo(g, 1).toFloat());
        model.SetEventVisible(g, false);
    }
}

// The titles of a graph whose last sample drawn is the record's sample
// `last` (-1: none).
template <class Record>
void SetTitles(GraphModel& model, const Record& rec, int last, bool interval)
{
    model.SetTitleTop(GetResString(kIdDataBrowse, rec.GasBaseInfo(0).toString()) + QStringLiteral(" - ")
                      + GetResString(interval ? kIdIntervalTrend : kIdAlarmTrend));
    // A record without samples has no first and last time: the title's times stay empty.
    const QString from = last >= 0 ? GraphTitleMoment(rec.DateTimes(0)) : QString();
    const QString to = last >= 0 ? GraphTitleMoment(rec.DateTimes(last)) : QString();
    model.SetTitleBottom(GetResString(kIdSamplingTimes, from, to));
    model.SetFormatX(QStringLiteral("hh:nn:ss"));
}

template <class Record>
float Plot(const Record& rec, int g, float v)
{
    return PlottedValue(v, rec.GasListInfo(g, 1).toFloat(), rec.GasListInfo(g, 3).toInt());
}

} // namespace

float PlottedValue(float v, float full, int points)
{
    return GraphPointValue(v, full, points);
}

std::vector<int> PlottedSamples(int count, const std::function<std::array<float, 5>(int)>& row)
{
    std::vector<int> plotted;
    std::array<float, 5> last{-99, -99, -99, -99, -99};
    std::array<float, 5> current = count > 0 ? row(0) : last;
    for (int i = 0; i < count; ++i) {
        const std::array<float, 5> next = i + 1 < count ? row(i + 1) : current;
        bool plot = i == 0 || i == count - 1 || current != last;
        if (!plot)
            plot = next != last;
        if (plot) {
            plotted.push_back(i);
            last = current;
        }
        if (static_cast<int>(plotted.size()) > GraphModel::kMaxSampleIndex)
            break;
        current = next;
    }
    return plotted;
}

void BuildPrintGraph(GraphModel& model, const PrintRequest& request)
{
    model.Clear();
    model.SetDrawLineWidth(PrintLineWidth(App().PrtWidth[0]));
    model.SetScaleLineWidth(PrintLineWidth(App().PrtWidth[1]));
    int count = 0;
    if (request.DataType == kPrintIntervalTrend) {
        if (!request.IntervalData)
            return;
        const clsInterval& rec = *request.IntervalData;
        AddSeries(model, rec);
        count = rec.DataCount();
        const auto row = [&rec](int i) {
            std::array<float, 5> v{};
            for (int k = 0; k < 5; ++k)
                v[static_cast<size_t>(k)] = rec.GasValue(k, i);
            return v;
        };
        const std::vector<int> samples = PlottedSamples(count, row);
        // A trend longer than the graph holds ends, title included, at the
        // last sample plotted.
        SetTitles(model, rec, samples.empty() ? -1 : samples.back(), true);
        int n = 0;
        for (int i : samples) {
            model.SetvalueX(n, rec.DateTimes(i));
            for (int g = 0; g < 2; ++g)
                model.SetvalueY(g, n, Plot(rec, g, rec.GasValue(g, i)));
            ++n;
        }
        model.SetSampleCount(n);
        for (int g = 0; g < 2; ++g)
            model.SetSampleVisible(g, rec.GasListInfo(g, 13).toBool());
    } else {
        if (!request.AlarmData)
            return;
        const clsAlarm& rec = *request.AlarmData;
        AddSeries(model, rec);
        count = rec.DataCount();
        SetTitles(model, rec, count - 1, false);
        for (int i = 0; i < count; ++i) {
            model.SetvalueX(i, rec.DateTimes(i));
            for (int g = 0; g < 2; ++g)
                model.SetvalueY(g, i, Plot(rec, g, rec.Value(g, i)));
        }
        model.SetSampleCount(count);
        for (int g = 0; g < 2; ++g)
            model.SetSampleVisible(g, rec.GasListInfo(g, 13).toBool());
        // The alarm moment: sample 180, marked only when samples follow it.
        if (count > 181) {
            model.SetEventFlag(GraphModel::kCommonRow, clsAlarm::kAlarmSample, QStringLiteral("Alarm"));
            model.SetEventVisible(GraphModel::kCommonRow, true);
        }
    }
    model.SetZoom(1);
    model.SetMinX(0);
    model.SetMaxX(0);
    model.SetMinY(0, 0);
    model.SetMaxY(0, 0);
}
