// One data notice through the sample pipeline (no graphs attached), per batch of 1, 10 and 1000
// samples; the producer's queueing is measured on its own for comparison.
#include <benchmark/benchmark.h>

#include "pipeline/SamplePipeline.h"

namespace {

struct Setup {
    device::SampleHandOff handOff;
    Settings settings;
    WaveBuffer rings[3];
    app::PeakHold peaks;
    app::SamplePipeline pipeline;

    Setup() {
        settings.kanzan = {0.125, 0.125, 0.125};
        for (WaveBuffer& ring : rings) ring.Reset(6000);
    }
    void Queue(int n) {
        for (int k = 0; k < n; ++k) {
            benchmark::DoNotOptimize(handOff.Push(SampleRecord{k - 500, 500 - k, k}, 40.0));
        }
    }
};

// Queueing n samples and handling the notice; the items are samples.
void BM_QueueAndOnSampleData(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Setup s;
    for (auto _ : state) {
        s.Queue(n);
        benchmark::DoNotOptimize(s.pipeline.OnSampleData(s.handOff, s.settings, s.rings, s.peaks, true));
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_QueueAndOnSampleData)->Arg(1)->Arg(10)->Arg(1000);

// The same queueing with a bare take, so the handler's own share is the difference.
void BM_QueueAndTakeOnly(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Setup s;
    device::SampleBatch taken;
    for (auto _ : state) {
        s.Queue(n);
        benchmark::DoNotOptimize(s.handOff.Take(taken));
        (void)s.handOff.FinishNotice();
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_QueueAndTakeOnly)->Arg(1)->Arg(10)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
