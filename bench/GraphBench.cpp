// One 10-sample batch through the three time graphs of the monitor: append (sweep, automatic
// scale, band invalidation) and the paint of the invalidated band into a bitmap of its size, for
// display times of 5 s and 50 s. A whole-graph paint is measured beside it: the live cost must
// follow the band, not the graph. In review, one scroll step over up to 24 hours of held samples:
// its cost must follow the display window, not the held samples.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "analysis/AnalysisFromSettings.h"
#include "common/RasterSurface.h"
#include "graphs/GraphCore.h"
#include "graphs/ReviewWindow.h"

namespace {

constexpr int kWidth = 702, kHeight = 202;  // a time graph of a 1024 × 768 main window

// Paints what the graph invalidated, as the window would at UpdateWindow.
struct PaintingHost : graphs::GraphHost {
    graphs::GraphCore* graph = nullptr;
    bool full = false;
    graphs::PixelRect band{};
    bool banded = false;
    long long pixels = 0;

    bool WindowExists() const override { return true; }
    void Invalidate(const graphs::PixelRect* rect) override {
        if (!rect) {
            full = true;
        } else if (!banded) {
            band = *rect;
            banded = true;
        } else {
            band = {std::min(band.left, rect->left), std::min(band.top, rect->top),
                    std::max(band.right, rect->right), std::max(band.bottom, rect->bottom)};
        }
    }
    void UpdateNow() override {
        if (!full && !banded) return;
        const graphs::PixelRect clip = full ? graphs::PixelRect{0, 0, kWidth, kHeight} : band;
        graph->BeginPaint();
        RasterSurface surface(clip.Width(), clip.Height(), clip.left, clip.top);  // the memory bitmap
        graph->Draw(surface, clip);
        graph->EndPaint();
        pixels += static_cast<long long>(clip.Width()) * clip.Height();
        full = banded = false;
    }
    void Notify(graphs::GraphNotice) override {}
};

struct Monitor {
    Settings settings;
    app::AnalysisState analysis;
    WaveBuffer rings[3];
    int running = 1;
    PaintingHost hosts[3];
    std::unique_ptr<graphs::GraphCore> graphs[3];
    std::vector<double> batch = std::vector<double>(10);
    long long sample = 0;

    explicit Monitor(double seconds) {
        int windowType = 0;
        ExchangeSettings(settings, windowType, 0, std::string(), nullptr);
        settings.time[0] = seconds;
        settings.timeSel = 0;
        app::SetupAnalysis(analysis, app::AnalysisSettingsFrom(settings));
        for (WaveBuffer& r : rings) r.Reset(2 * analysis.analysisLength);
        for (int i = 0; i < 3; ++i) {
            graphs[i] = std::make_unique<graphs::GraphCore>(graphs::GraphContext{&settings, &analysis, rings, &running},
                                                            hosts[i]);
            hosts[i].graph = graphs[i].get();
            graphs[i]->Bind(graphs::GraphKind::Time, i);
            graphs[i]->OnSize({0, 0, kWidth, kHeight});
            graphs[i]->ApplyAxisSettings();
            graphs[i]->UpdateScale();
        }
        // Start with a full display, as after the first sweep.
        for (int k = 0; k < analysis.analysisLength / 10 + 1; ++k) Batch();
    }
    void Batch() {
        for (double& v : batch) v = 30.0 * std::sin(2 * 3.14159265358979323846 * 2.0 * static_cast<double>(sample++) / 100.0);
        for (int i = 0; i < 3; ++i) {
            rings[i].Append(batch.data(), batch.size());
            graphs[i]->AppendSamples(static_cast<int>(batch.size()));
        }
    }
};

// One batch: items are batches; "pixels/batch" is the painted area of the three graphs.
void BM_TimeGraphsBatch(benchmark::State& state) {
    Monitor m(static_cast<double>(state.range(0)));
    long long before = 0;
    for (const PaintingHost& h : m.hosts) before += h.pixels;
    for (auto _ : state) m.Batch();
    long long after = 0;
    for (const PaintingHost& h : m.hosts) after += h.pixels;
    state.SetItemsProcessed(state.iterations());
    state.counters["pixels/batch"] = static_cast<double>(after - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_TimeGraphsBatch)->Arg(5)->Arg(50)->Unit(benchmark::kMicrosecond);

// A whole repaint of the three graphs, for comparison (a wrap, a scale change or a resize).
void BM_TimeGraphsFullPaint(benchmark::State& state) {
    Monitor m(static_cast<double>(state.range(0)));
    for (auto _ : state) {
        for (int i = 0; i < 3; ++i) {
            m.hosts[i].full = true;
            m.hosts[i].UpdateNow();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TimeGraphsFullPaint)->Arg(5)->Arg(50)->Unit(benchmark::kMicrosecond);

// One review scroll step, as the time monitor takes it: the span of the new position, the three
// time graphs and the three spectra shown anew and painted whole, the value fields' extremes and
// the date and time labels. Arguments: display time in seconds, held samples per axis (86 400 is
// 15 minutes, 8 640 000 is 24 hours). Each step moves one display window on, wrapping at the end.
void BM_ReviewScrollStep(benchmark::State& state) {
    const int held = static_cast<int>(state.range(1));
    Settings settings;
    int windowType = 0;
    ExchangeSettings(settings, windowType, 0, std::string(), nullptr);
    settings.time[0] = static_cast<double>(state.range(0));
    settings.timeSel = 0;
    settings.accAuto = 1;
    settings.psdFlg = 1;
    app::AnalysisState analysis;
    app::SetupAnalysis(analysis, app::AnalysisSettingsFrom(settings));
    WaveBuffer rings[3];
    for (int a = 0; a < 3; ++a) {
        rings[a].samples.resize(static_cast<size_t>(held));
        for (int i = 0; i < held; ++i)
            rings[a].samples[static_cast<size_t>(i)] = (10.0 + a) * std::sin(2 * 3.14159265358979323846 * 2.0 * i / 100.0);
        rings[a].heldCount = held;
    }
    int running = 0;
    PaintingHost hosts[6];
    std::unique_ptr<graphs::GraphCore> graphs[6];
    for (int g = 0; g < 6; ++g) {
        graphs[g] = std::make_unique<graphs::GraphCore>(graphs::GraphContext{&settings, &analysis, rings, &running},
                                                        hosts[g]);
        hosts[g].graph = graphs[g].get();
        graphs[g]->Bind(g < 3 ? graphs::GraphKind::Time : graphs::GraphKind::Psd, g % 3);
        graphs[g]->OnSize({0, 0, kWidth, kHeight});
        graphs[g]->ApplyAxisSettings();
    }
    const int sweep = graphs[0]->SweepLength();
    int pos = 0;
    size_t labelChars = 0;
    for (auto _ : state) {
        pos = pos + sweep <= held - sweep ? pos + sweep : 0;
        const graphs::ReviewSpan span = graphs::ReviewSpanAt(rings[0], pos, sweep);
        for (int a = 0; a < 3; ++a) {
            graphs[a]->SetWindow(span.start, span.count);
            graphs[a]->UpdateScale();
            hosts[a].UpdateNow();
            benchmark::DoNotOptimize(graphs::SpanExtremes(rings[a], span));
        }
        for (int a = 3; a < 6; ++a) {
            graphs[a]->SetWindow(span.start, span.count);
            if (graphs[a]->RunAnalysis()) graphs[a]->UpdateScale();
            hosts[a].UpdateNow();
        }
        labelChars += graphs::ReviewClockAt(133594724960000000, pos).time.size();
    }
    benchmark::DoNotOptimize(labelChars);
    state.SetItemsProcessed(state.iterations());
    state.counters["spectra"] = graphs[3]->Psd().psdValid ? 3 : 0;
}
BENCHMARK(BM_ReviewScrollStep)
    ->Args({10, 86400})
    ->Args({10, 8640000})
    ->Args({60, 8640000})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
