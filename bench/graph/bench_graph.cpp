// Repaint cost of the trend graph at full capacity, plain and after a change
// of zoom or scroll (the event texts placed anew), against a bare polyline
// of the same points drawn in the same run.
#include "common/colors.h"
#include "common/dates.h"
#include "graph/ucltalgraph.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kSamples = GraphModel::kSampleSlots;   // indexes 0 to 16360
constexpr int kEvents = GraphModel::kMaxEvents;      // marks over both series
const QSize kSize(1600, 600);

// A graph at capacity: two gases one minute apart, events spread over both
// series, cursor in the middle.
std::unique_ptr<uclTalGraph> MakeFullGraph()
{
    auto g = std::make_unique<uclTalGraph>();
    g->SetBorderStyle(0);
    g->resize(kSize);
    g->SetAutoRedraw(false);
    QFont f = g->Font();
    f.setBold(true);
    g->SetFont(f);
    g->AddSample(QStringLiteral("CO"), RGB(255, 0, 0), QStringLiteral("##0"), 300);
    g->AddSample(QStringLiteral("O2"), RGB(0, 128, 255), QStringLiteral("##0.0"), 25);
    g->SetTitleTop(QStringLiteral("Data Browse (KV-1 0001) - Interval Trend"));
    g->SetTitleBottom(QStringLiteral("Sampling Date/Time: 2024/05/01 00:00:00 to 2024/05/12 08:40:00"));
    const QDateTime start = MakeDate(2024, 5, 1);
    for (int i = 0; i < kSamples; ++i) {
        g->SetvalueX(i, start.addSecs(60LL * i));
        g->SetvalueY(0, i, static_cast<float>(std::round(30 + 25 * std::sin(i / 37.0) + 10 * std::sin(i / 3.1))));
        g->SetvalueY(1, i, static_cast<float>(std::round(10 * (20.9 - 1.5 * std::sin(i / 211.0))) / 10));
    }
    const char* texts[] = {"WARNING", "ALARM", "OVER"};
    for (int s = 0; s < 2; ++s) {
        const int count = kEvents / 2;
        for (int e = 0; e < count; ++e) {
            const int sample = (e * (kSamples - 1)) / count + s * 3;
            g->SetEventX(s, e, start.addSecs(60LL * sample));
            g->SetEventFlag(s, e, QString::fromLatin1(texts[(e + s) % 3]));
        }
        g->SetEventCount(s, count);
        g->SetEventVisible(s, true);
    }
    g->SetSampleCount(kSamples);
    g->SetZoom(1);
    g->SetCursorVisible(true);
    g->Model().SetCursorIndex(kSamples / 2);
    g->Refresh();
    return g;
}

void BM_GraphFullRepaint(benchmark::State& state)
{
    auto g = MakeFullGraph();
    for (auto _ : state) {
        g->Refresh();
        benchmark::DoNotOptimize(g->Picture().constBits());
    }
    state.counters["marks"] = kEvents;
    state.counters["labels"] = static_cast<double>(g->Model().EventLabels().labels.size());
}
BENCHMARK(BM_GraphFullRepaint)->Unit(benchmark::kMillisecond);

// A repaint after the visible range changed, so the event texts are placed
// anew: argument 0 switches the zoom between 1 (all samples) and 2 (the
// first half), argument 1 scrolls a zoom of 2 back and forth by a tenth.
void BM_GraphRepaintAfterZoomOrScroll(benchmark::State& state)
{
    auto g = MakeFullGraph();
    const bool scroll = state.range(0) == 1;
    if (scroll)
        g->SetZoom(2);
    const int middle = g->Model().Scroll().max / 2;
    int turn = 0;
    for (auto _ : state) {
        const bool odd = (turn++ % 2) != 0;
        if (scroll)
            g->Model().ScrollTo(middle + (odd ? kSamples / 10 : 0));
        else
            g->SetZoom(odd ? 2 : 1);
        g->Refresh();
        benchmark::DoNotOptimize(g->Picture().constBits());
    }
    state.counters["labels"] = static_cast<double>(g->Model().EventLabels().labels.size());
}
BENCHMARK(BM_GraphRepaintAfterZoomOrScroll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_BarePolyline(benchmark::State& state)
{
    // The same points the graph draws, in pixels of the same surface.
    auto g = MakeFullGraph();
    const GraphModel& m = g->Model();
    const double tpp = m.TwipsPerPixelX();
    std::vector<std::vector<QPointF>> lines(2);
    for (int s = 0; s < 2; ++s) {
        for (int i = 0; i < kSamples; ++i)
            lines[s].emplace_back(m.xPos(m.Offset(i)) / tpp, m.yPos(m.valueY(s, i), s) / tpp);
    }
    QImage image(g->Picture().size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    for (auto _ : state) {
        QPainter p(&image);
        p.setPen(QPen(QColor(255, 0, 0), 0));
        p.drawPolyline(lines[0].data(), static_cast<int>(lines[0].size()));
        p.setPen(QPen(QColor(0, 128, 255), 0));
        p.drawPolyline(lines[1].data(), static_cast<int>(lines[1].size()));
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_BarePolyline)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
