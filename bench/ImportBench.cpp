// Import of CSV and SD-card files: our two-pass block reader (from a file and from memory) beside
// a plain fgets + strtod (CSV) or fgets + atoi (SD) reader of the same file. Bytes per second are
// of the file; "peak/final" is the most memory the import held at once over the memory of the
// samples it returned.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "files/CsvImport.h"
#include "files/SdImport.h"

namespace {

// Live bytes through operator new, and their peak since the last reset.
size_t gLive = 0, gPeak = 0;

}  // namespace

void* operator new(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    gLive += malloc_usable_size(p);
    if (gLive > gPeak) gPeak = gLive;
    return p;
}
void operator delete(void* p) noexcept {
    if (p) gLive -= malloc_usable_size(p);
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

constexpr int kLines = 1'000'000;

// A file in the writer's format: six header lines, then "%f,%f,%f" lines.
std::string MakeCsv() {
    std::string text = "COMMENT_1:\r\nDATE_MAKE:2024.05.06_12:34:56\r\nCLOCK:10.000000 ( msec )\r\nDATA:\r\n"
                       "\x82\x77,\x82\x78,\x82\x79\r\ngal,gal,gal\r\n";
    std::mt19937 random(1);
    char line[96];
    for (int i = 0; i < kLines; ++i) {
        std::snprintf(line, sizeof line, "%f,%f,%f\r\n", (int(random() % 200001) - 100000) / 64.0,
                      (int(random() % 20001) - 10000) / 8.0, (int(random() % 2001) - 1000) * 0.125);
        text += line;
    }
    return text;
}

// An SD-card file: a time line every minute, 16-bit sample lines.
std::string MakeSd() {
    std::string text;
    std::mt19937 random(2);
    char line[32];
    for (int i = 0; i < kLines; ++i) {
        if (i % 6000 == 0) {
            std::snprintf(line, sizeof line, "TM2405%02d%02d%02d00\r\n", 6 + i / 8640000, i / 360000 % 24, i / 6000 % 60);
            text += line;
        }
        std::snprintf(line, sizeof line, "%05u;%05u,%05u\r\n", unsigned(random() % 65536), unsigned(random() % 65536),
                      unsigned(random() % 65536));
        text += line;
    }
    return text;
}

struct Files {
    std::string csv = MakeCsv(), sd = MakeSd();
    std::string csvPath = Write(csv, "csv"), sdPath = Write(sd, "sd");
    static std::string Write(const std::string& bytes, const char* name) {
        const std::string path = "/tmp/quorvel-import-bench." + std::string(name);
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return path;
    }
    ~Files() {
        std::remove(csvPath.c_str());
        std::remove(sdPath.c_str());
    }
};

Files& Data() {
    static Files files;
    return files;
}

// A file read with fread, as the program reads with ReadFile.
class StdioSource : public files::ByteSource {
public:
    explicit StdioSource(const std::string& path) : f_(std::fopen(path.c_str(), "rb")) {
        std::fseek(f_, 0, SEEK_END);
        size_ = static_cast<uint64_t>(std::ftell(f_));
        std::rewind(f_);
    }
    ~StdioSource() override { std::fclose(f_); }
    Chunk Read(char* buffer, size_t capacity) override { return {std::fread(buffer, 1, capacity, f_), {}}; }
    files::FileErrorCause Rewind() override {
        std::rewind(f_);
        return {};
    }
    uint64_t Size() const override { return size_; }

private:
    std::FILE* f_;
    uint64_t size_ = 0;
};

void Report(benchmark::State& state, size_t bytes, const files::ImportResult& r, size_t peak) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    const double final = 3.0 * r.samples[0].size() * sizeof(double);
    state.counters["samples"] = static_cast<double>(r.samples[0].size());
    state.counters["peak/final"] = final > 0 ? peak / final : 0;
}

files::ImportResult Ours(bool sd, files::ByteSource& source) {
    return sd ? files::ImportSd(source, {16, {0.125, 0.125, 0.125}}) : files::ImportCsv(source);
}

// Runs import(sd, path) on the benchmark's file and reports its speed and memory.
template <class Import>
void MeasureFile(benchmark::State& state, Import import) {
    const bool sd = state.range(0);
    const std::string& path = sd ? Data().sdPath : Data().csvPath;
    files::ImportResult r;
    size_t peak = 0;
    for (auto _ : state) {
        r = files::ImportResult();
        const size_t before = gLive;
        gPeak = gLive;
        r = import(sd, path);
        peak = gPeak - before;
    }
    Report(state, (sd ? Data().sd : Data().csv).size(), r, peak);
}

void BM_OursFromFile(benchmark::State& state) {
    MeasureFile(state, [](bool sd, const std::string& path) {
        StdioSource source(path);
        return Ours(sd, source);
    });
}

void BM_OursFromMemory(benchmark::State& state) {
    const bool sd = state.range(0);
    const std::string& bytes = sd ? Data().sd : Data().csv;
    files::ImportResult r;
    for (auto _ : state) {
        files::MemorySource source(bytes);
        r = Ours(sd, source);
    }
    Report(state, bytes.size(), r, 0);
}

// Line by line through stdio: fgets into a line buffer, strtod or atoi on the fields, vectors
// grown by push_back. The same lines are accepted as by the importers.
files::ImportResult FgetsImport(bool sd, const std::string& path) {
    files::ImportResult r;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    char line[256];
    int header = sd ? 0 : -1;  // CSV: -1 before "DATA:", then the two column lines
    double v[3] = {0, 0, 0};
    while (std::fgets(line, sizeof line, f)) {
        size_t n = std::strcspn(line, "\r\n");
        line[n] = '\0';
        if (sd) {
            if (n != 17) continue;
            v[0] = (std::atoi(line) - 32768) * 0.125;
            v[1] = (std::atoi(line + 6) - 32768) * 0.125;
            v[2] = (std::atoi(line + 12) - 32768) * 0.125;
        } else {
            if (header < 0) {
                if (std::strcmp(line, "DATA:") == 0) header = 0;
                continue;
            }
            if (header < 2) {
                ++header;
                continue;
            }
            char* p = line;
            for (int a = 0; a < 3 && n; ++a) {
                v[a] = std::strtod(p, nullptr);
                p = std::strchr(p, ',');
                if (!p) break;
                ++p;
            }
        }
        for (int a = 0; a < 3; ++a) r.samples[a].push_back(v[a]);
    }
    std::fclose(f);
    return r;
}

void BM_FgetsBaseline(benchmark::State& state) { MeasureFile(state, FgetsImport); }

BENCHMARK(BM_OursFromFile)->ArgName("sd")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OursFromMemory)->ArgName("sd")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FgetsBaseline)->ArgName("sd")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
