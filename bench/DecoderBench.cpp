// Throughput of record decoding and of the whole receive loop over an in-memory port.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "device/RecordDecoder.h"
#include "device/RsUtil.h"

namespace {

std::string Stream(int bit, int records) {
    std::string s = "\n";
    char b[32];
    for (int i = 0; i < records; ++i) {
        if (bit == 16)
            std::snprintf(b, sizeof b, "%05d;%05d,%05d\r\n", (i * 7) % 65536, (i * 13) % 65536, i % 65536);
        else
            std::snprintf(b, sizeof b, "%04d:%04d,%04d\r\n", (i * 7) % 4096, (i * 13) % 4096, i % 4096);
        s += b;
    }
    return s;
}

void BM_DecodeRecord(benchmark::State& state) {
    const int bit = static_cast<int>(state.range(0));
    const std::string s = Stream(bit, 1000);
    const int length = device::RecordLength(bit);
    int64_t n = 0;
    for (auto _ : state) {
        for (size_t off = 1; off + length <= s.size(); off += length) {
            const auto* rec = reinterpret_cast<const uint8_t*>(s.data() + off);
            benchmark::DoNotOptimize(device::DecodeRecord(rec, bit));
            ++n;
        }
    }
    state.SetItemsProcessed(n);
}
BENCHMARK(BM_DecodeRecord)->Arg(12)->Arg(16);

// A port that hands out a prepared stream instantly and stops the link at its end.
class MemoryPort : public device::SerialPort {
public:
    std::string data;
    size_t pos = 0;
    device::CRsUtil* link = nullptr;
    bool Open(const std::string&) override { return true; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    device::IoResult Read(void* buffer, uint32_t count) override {
        const size_t n = std::min<size_t>(count, data.size() - pos);
        std::memcpy(buffer, data.data() + pos, n);
        pos += n;
        if (n < count) link->RequestStop();
        return {true, static_cast<uint32_t>(n), 0};
    }
    device::IoResult Write(const void*, uint32_t count) override { return {true, count, 0}; }
};
class NullClock : public device::TickClock {
public:
    uint32_t Now() override { return t += 1; }
    void Sleep(uint32_t ms) override { t += ms; }
    uint32_t t = 0;
};
// Consumes every notice at once, like an idle user-interface thread.
class DrainSink : public device::LinkSink {
public:
    device::CRsUtil* link = nullptr;
    device::SampleBatch batch;
    void SamplesQueued() override {
        link->samples.Take(batch);
        if (link->samples.FinishNotice()) SamplesQueued();
    }
    void Report(const std::string&, int) override {}
};

void BM_ReceiveLoop(benchmark::State& state) {
    const int bit = static_cast<int>(state.range(0));
    constexpr int kRecords = 10000;
    MemoryPort port;
    port.data = Stream(bit, kRecords);
    NullClock clock;
    DrainSink sink;
    device::CRsUtil link(port, clock, sink, nullptr);
    port.link = &link;
    sink.link = &link;
    link.SetLineConfig("COM1", bit);
    for (auto _ : state) {
        port.pos = 0;
        link.ArmRun();
        benchmark::DoNotOptimize(link.Run());
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_ReceiveLoop)->Arg(12)->Arg(16);

}  // namespace

BENCHMARK_MAIN();
