// The intensity of one five-minute trigger event (30000 samples per axis): with the plan kept
// from an earlier event, with a fresh plan, and the whole read of its file from disk (parse, peaks
// and intensity). The goal is well under 100 ms per event.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "analysis/SeismicIntensity.h"
#include "history/TriggerHistory.h"

namespace {

constexpr std::size_t kFiveMinutes = 30000;

// A decaying mix of a few frequencies on each axis, roughly like a strong event.
std::vector<double> Axis(double amplitude, double hz, double phase) {
    std::vector<double> v(kFiveMinutes);
    for (std::size_t i = 0; i < v.size(); ++i) {
        const double t = static_cast<double>(i) / 100.0;
        v[i] = amplitude * std::exp(-t / 60.0) * (std::sin(6.2831853 * hz * t + phase) + 0.3 * std::sin(6.2831853 * 7.3 * t));
    }
    return v;
}

void BM_IntensityFiveMinutes(benchmark::State& state) {
    const std::vector<double> x = Axis(200, 1.5, 0), y = Axis(150, 2.5, 1), z = Axis(80, 4.0, 2);
    app::IntensityCalculator calc;
    for (auto _ : state) benchmark::DoNotOptimize(calc.Compute(x.data(), y.data(), z.data(), kFiveMinutes));
}
BENCHMARK(BM_IntensityFiveMinutes)->Unit(benchmark::kMillisecond);

void BM_IntensityFiveMinutesNewPlan(benchmark::State& state) {
    const std::vector<double> x = Axis(200, 1.5, 0), y = Axis(150, 2.5, 1), z = Axis(80, 4.0, 2);
    for (auto _ : state) {
        app::IntensityCalculator calc;
        benchmark::DoNotOptimize(calc.Compute(x.data(), y.data(), z.data(), kFiveMinutes));
    }
}
BENCHMARK(BM_IntensityFiveMinutesNewPlan)->Unit(benchmark::kMillisecond);

// What the history does at the end of a five-minute trigger recording: read its file back.
void BM_ReadFiveMinuteEventFile(benchmark::State& state) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "quorvel-intensity-bench";
    std::filesystem::create_directories(dir);
    const std::vector<double> x = Axis(200, 1.5, 0), y = Axis(150, 2.5, 1), z = Axis(80, 4.0, 2);
    const std::string name = "20240506_123456.csv";
    if (std::FILE* f = std::fopen((dir / name).string().c_str(), "wb")) {
        std::fputs("COMMENT_1:TRIG DATA\r\nDATE_MAKE:2024.05.06_12:34:56\r\nCLOCK:10.000000 ( msec )\r\nDATA:\r\n"
                   "X,Y,Z\r\ngal,gal,gal\r\n", f);
        for (std::size_t i = 0; i < kFiveMinutes; ++i) std::fprintf(f, "%f,%f,%f\r\n", x[i], y[i], z[i]);
        std::fclose(f);
    }
    const std::vector<app::GroupFiles> groups = app::GroupTriggerFiles(*files::ListFolder(dir.string()));
    app::IntensityCalculator calc;
    std::atomic<bool> cancel{false};
    std::vector<app::TriggerEvent> events;
    for (auto _ : state) benchmark::DoNotOptimize(app::ReadGroupEvents(dir.string(), groups.at(0), calc, events, cancel));
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ReadFiveMinuteEventFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
