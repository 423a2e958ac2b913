// Timing of one real transform, one full spectrum and one plan per length, with FFTW3 (measured
// plans) as the reference for the transform.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "analysis/Analysis.h"
#include "fft/FftDescriptor.h"
#include "fft/RealFft.h"

namespace {

const int kLengths[] = {500, 800, 1000, 2000, 2003, 4998, 4999, 5000};

std::vector<double> Signal(int n) {
    std::vector<double> x(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) x[static_cast<std::size_t>(i)] = 10.0 * std::sin(0.1257 * i) + 0.001 * (i % 17);
    return x;
}

// Both transform timings include copying the N input samples into the transform's buffer, which
// an in-place transform needs before every call.
void BM_OurTransform(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> input = Signal(n);
    std::vector<double> data(static_cast<std::size_t>(n));
    fft::FftDescriptor* d = nullptr;
    if (fft::CreateRealDescriptor(&d, n) != fft::FftStatus::Ok) {
        state.SkipWithError("create failed");
        return;
    }
    fft::SetPackedFormat(d, fft::PackedFormat::Pack);
    fft::SetBackwardScale(d, 0.5);
    fft::SetForwardScale(d, 2.0 / n);
    if (fft::CommitDescriptor(d) != fft::FftStatus::Ok) state.SkipWithError("commit failed");
    for (auto _ : state) {
        std::memcpy(data.data(), input.data(), sizeof(double) * input.size());
        benchmark::DoNotOptimize(fft::ComputeForward(d, data.data()));
        benchmark::ClobberMemory();
    }
    fft::FreeDescriptor(&d);
}

void BM_FftwTransform(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> input = Signal(n);
    double* in = fftw_alloc_real(static_cast<std::size_t>(n));
    fftw_complex* out = fftw_alloc_complex(static_cast<std::size_t>(n / 2 + 1));
    fftw_plan plan = fftw_plan_dft_r2c_1d(n, in, out, FFTW_MEASURE);
    for (auto _ : state) {
        std::memcpy(in, input.data(), sizeof(double) * input.size());
        fftw_execute(plan);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
    fftw_free(out);
    fftw_free(in);
}

// The whole analysis of one graph: copy from the ring, mean removal and Hanning taper, transform,
// unpacking, cut-off and peak search.
void BM_ComputeSpectrum(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    app::AnalysisSettings settings;
    settings.displayTime = (n - 0.5) / 100.0;  // rounds up to exactly n samples
    settings.windowType = 2;
    settings.highPassEnabled = 1;
    settings.highPassCutoff = 0.5;
    app::AnalysisState analysis;
    app::SetupAnalysis(analysis, settings);
    if (analysis.analysisLength != n) {
        state.SkipWithError("unexpected analysis length");
        return;
    }
    std::vector<double> ring = Signal(2 * n);
    app::AnalysisWindow window{ring.data(), 2 * n, 0, 2 * n, n / 2, n, n};
    app::PsdResult result;
    result.psdValues.resize(static_cast<std::size_t>(n / 2));
    for (auto _ : state) {
        benchmark::DoNotOptimize(app::ComputeSpectrum(analysis, settings, window, result));
        benchmark::ClobberMemory();
    }
}

// Planning for a new length: factorisation, twiddles, scratch and (for Bluestein) the chirp spectrum.
void BM_OurPlan(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        fft::RealFft plan(n);
        benchmark::DoNotOptimize(plan.Length());
    }
}

void Lengths(benchmark::internal::Benchmark* b) {
    for (int n : kLengths) b->Arg(n);
}

BENCHMARK(BM_OurTransform)->Apply(Lengths);
BENCHMARK(BM_FftwTransform)->Apply(Lengths);
BENCHMARK(BM_ComputeSpectrum)->Apply(Lengths);
BENCHMARK(BM_OurPlan)->Apply(Lengths);

}  // namespace

BENCHMARK_MAIN();
