// The live archive's writer per three-axis sample (Steim-2 encoding, headers, day files in
// memory), and the size of 24 hours of archive against the CSV recording of the same samples.
// Signals from the simulated recorder's model: the end-to-end test's (a 2 Hz sine of 800 counts on
// X, noise of +-400 and +-50 counts on Y and Z) and a quiet site (noise of +-8 counts on all).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "seed/Archive.h"
#include "tools/recsim/RecorderModel.h"

namespace {

constexpr int64_t kDay = 8640000;  // samples in 24 hours

// Counts the bytes handed to it; keeps the last record of each file for the sequence numbers.
class CountingFiles : public seed::ArchiveFiles {
public:
    uint64_t bytes = 0;
    seed::FileResult Append(const std::string&, const uint8_t*, size_t count) override {
        bytes += count;
        return seed::FileResult::Ok;
    }
    bool ReadTail(const std::string&, uint8_t*, size_t) override { return false; }
    std::unique_ptr<seed::PendingFile> Create(const std::string&) override { return std::make_unique<Null>(); }
    bool MakeFolders(const std::string&) override { return true; }
    std::unique_ptr<files::ByteSource> Open(const std::string&) override { return nullptr; }
    bool Exists(const std::string&) override { return false; }

private:
    struct Null : seed::PendingFile {
        bool Write(const uint8_t*, size_t) override { return true; }
        bool Commit() override { return true; }
    };
};

recsim::SignalGenerator Signal(bool quiet) {
    recsim::AxisSignal axes[3];
    if (quiet) {
        for (auto& a : axes) a.noise = 8;
    } else {
        axes[0].amp = 800;
        axes[0].freq = 2;
        axes[1].noise = 400;
        axes[2].noise = 50;
    }
    return recsim::SignalGenerator(16, axes, 1);
}

// Feeds `samples` samples in batches of 5 (the data handler's 50 ms) into a started archive.
uint64_t ArchiveBytes(bool quiet, int64_t samples, CountingFiles& files) {
    recsim::SignalGenerator gen = Signal(quiet);
    seed::ArchiveWriter archive(files);
    const seed::Ticks start = seed::TicksOf({2024, 5, 6, 127, 0, 0, 0, 0});
    archive.Start("/a", seed::ArchiveCodes{}, {0.125, 0.125, 0.125}, start);
    int32_t c[3][5];
    seed::Ticks arrival[5];
    uint8_t breaks[5] = {1, 0, 0, 0, 0};
    for (int64_t i = 0; i < samples; i += 5) {
        for (int k = 0; k < 5; ++k) {
            int32_t v[3];
            gen.Sample(static_cast<uint64_t>(i + k), v);
            for (int a = 0; a < 3; ++a) c[a][k] = v[a] - 32768;
            arrival[k] = start + (i + k) * seed::kTicksPerSample + 20;
        }
        seed::CountBatch b;
        for (int a = 0; a < 3; ++a) b.counts[a] = c[a];
        b.arrival = arrival;
        b.breakBefore = breaks;
        b.n = 5;
        archive.Add(b);
        breaks[0] = 0;
    }
    archive.Stop();
    return files.bytes;
}

// The CSV recording of the same samples: header lines per part of 30000, "%f,%f,%f" CR LF lines.
uint64_t CsvBytes(bool quiet, int64_t samples) {
    recsim::SignalGenerator gen = Signal(quiet);
    const uint64_t header = 12 + 31 + 26 + 7 + 10 + 13;  // the six lines with CR LF
    uint64_t bytes = header * static_cast<uint64_t>((samples + 29999) / 30000);
    char line[96];
    for (int64_t i = 0; i < samples; ++i) {
        int32_t v[3];
        gen.Sample(static_cast<uint64_t>(i), v);
        bytes += static_cast<uint64_t>(std::snprintf(line, sizeof line, "%f,%f,%f\r\n", (v[0] - 32768) * 0.125,
                                                     (v[1] - 32768) * 0.125, (v[2] - 32768) * 0.125));
    }
    return bytes;
}

void BM_ArchivePerSample(benchmark::State& state) {
    const bool quiet = state.range(0) != 0;
    const int64_t samples = 360000;  // one hour
    uint64_t bytes = 0;
    for (auto _ : state) {
        CountingFiles files;
        bytes = ArchiveBytes(quiet, samples, files);
        benchmark::DoNotOptimize(bytes);
    }
    // Signal generation is included; BM_SignalOnly gives its share.
    state.SetItemsProcessed(state.iterations() * samples);
    state.counters["bytes_per_sample"] = static_cast<double>(bytes) / samples;
}

void BM_SignalOnly(benchmark::State& state) {
    recsim::SignalGenerator gen = Signal(state.range(0) != 0);
    int32_t v[3];
    int64_t n = 0;
    for (auto _ : state) {
        for (int i = 0; i < 360000; ++i) gen.Sample(static_cast<uint64_t>(n++), v);
        benchmark::DoNotOptimize(v);
    }
    state.SetItemsProcessed(state.iterations() * 360000);
}

void BM_DaySizes(benchmark::State& state) {
    const bool quiet = state.range(0) != 0;
    uint64_t archive = 0, csv = 0;
    for (auto _ : state) {
        CountingFiles files;
        archive = ArchiveBytes(quiet, kDay, files);
        csv = CsvBytes(quiet, kDay);
    }
    state.counters["archive_MB"] = archive / 1e6;
    state.counters["csv_MB"] = csv / 1e6;
    state.counters["archive_per_csv"] = static_cast<double>(archive) / static_cast<double>(csv);
}

}  // namespace

BENCHMARK(BM_ArchivePerSample)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SignalOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DaySizes)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
