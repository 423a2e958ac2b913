// Formatting and writing one million sample lines: our writer beside fprintf("%f,%f,%f") into the
// same kind of file. Before timing, both write the same lines and must give identical bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "files/WaveFile.h"

namespace {

constexpr int kLines = 1000000;

// Sample values as the recorder gives them: AD counts times a conversion factor.
double Value(int i, int axis) {
    const unsigned mixed = static_cast<unsigned>(i) * 7919u + static_cast<unsigned>(axis) * 104729u;
    return static_cast<double>(static_cast<int>(mixed % 65536u) - 32768) * 0.0123;
}

// The writer's file system over one C stream, unbuffered: the writer's own buffer is the only one.
class StreamFileSystem : public files::WaveFileSystem {
public:
    explicit StreamFileSystem(std::FILE* stream) : stream_(stream) { std::setvbuf(stream_, nullptr, _IONBF, 0); }
    FolderResult CreateFolder(const std::string&) override { return FolderResult::Existed; }
    std::unique_ptr<files::WaveFileHandle> OpenForAppend(const std::string&) override {
        return std::make_unique<Handle>(stream_);
    }
    NewFile OpenNew(const std::string& path) override { return {OpenForAppend(path), false}; }
    files::WaveClock LocalNow() override { return {}; }

private:
    struct Handle : files::WaveFileHandle {
        explicit Handle(std::FILE* s) : stream(s) {}
        bool Append(const char* data, size_t size) override { return std::fwrite(data, 1, size, stream) == size; }
        std::FILE* stream;
    };
    std::FILE* stream_;
};

void WriteOurs(std::FILE* stream, int lines) {
    StreamFileSystem fs(stream);
    Settings settings;
    settings.savedataMaxnum = lines + 1;
    files::WaveFileWriter writer(files::WaveKind::Record, fs, settings);
    if (!writer.Open(0)) return;
    for (int i = 0; i < lines; ++i) writer.Append(Value(i, 0), Value(i, 1), Value(i, 2));
    writer.Close();
}

void WritePrintf(std::FILE* stream, int lines) {
    const std::string header = files::WaveFileHeader(files::WaveKind::Record, {});
    std::fwrite(header.data(), 1, header.size(), stream);
    for (int i = 0; i < lines; ++i) std::fprintf(stream, "%f,%f,%f\r\n", Value(i, 0), Value(i, 1), Value(i, 2));
    std::fflush(stream);
}

std::string Contents(void (*write)(std::FILE*, int), int lines) {
    std::FILE* f = std::tmpfile();
    write(f, lines);
    std::string text(static_cast<size_t>(std::ftell(f)), '\0');
    std::rewind(f);
    const size_t read = std::fread(&text[0], 1, text.size(), f);
    std::fclose(f);
    text.resize(read);
    return text;
}

template <void (*Write)(std::FILE*, int)>
void BM_WriteLines(benchmark::State& state) {
    static const bool same = Contents(WriteOurs, 20000) == Contents(WritePrintf, 20000);
    if (!same) {
        state.SkipWithError("our output differs from fprintf's");
        return;
    }
    std::FILE* f = std::tmpfile();
    for (auto _ : state) {
        std::rewind(f);
        Write(f, kLines);
    }
    std::fclose(f);
    state.SetItemsProcessed(state.iterations() * kLines);
}

void BM_OurWriter(benchmark::State& state) { BM_WriteLines<WriteOurs>(state); }
void BM_Fprintf(benchmark::State& state) { BM_WriteLines<WritePrintf>(state); }

}  // namespace

BENCHMARK(BM_OurWriter)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Fprintf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
