// Scripted serial port, manual tick clock and recording sink for the receive-loop tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "device/RsUtil.h"

namespace devtest {

class FakeClock : public device::TickClock {
public:
    explicit FakeClock(uint32_t start = 0) : now(start) {}
    uint32_t Now() override { return now; }
    void Sleep(uint32_t ms) override { now += ms; }
    uint32_t now;
};

// What happened on the port, in order, with the tick count.
struct PortEvent {
    enum Kind { Open, OpenFailed, Close, Read } kind;
    uint32_t tick;
    uint32_t asked = 0;   // Read: bytes asked for
    uint32_t got = 0;     // Read: bytes returned
    bool ok = true;       // Read: call succeeded
};

// A port whose line is a script: bytes that arrive, gaps of silence, and failing reads. A read
// behaves like a COM read with total time-out 2000 + n ms on the fake clock. When the script runs
// out, `onExhausted` is called once (tests stop the link there) and the line stays silent.
class FakePort : public device::SerialPort {
public:
    explicit FakePort(FakeClock& c) : clock(c) {}

    // Script.
    void Bytes(const std::string& s) { script.push_back({Item::Data, s, 0, 0}); }
    void Gap(uint32_t ms) { script.push_back({Item::Gap, {}, ms, 0}); }
    void Fail(uint32_t error) { script.push_back({Item::Fail, {}, 0, error}); }
    // Results of the coming Open calls; absent entries succeed.
    std::deque<bool> openResults;

    bool Open(const std::string& name) override {
        openedNames.push_back(name);
        bool ok = true;
        if (!openResults.empty()) {
            ok = openResults.front();
            openResults.pop_front();
        }
        isOpen = ok;
        events.push_back({ok ? PortEvent::Open : PortEvent::OpenFailed, clock.now});
        return ok;
    }
    void Close() override {
        if (!isOpen) return;
        isOpen = false;
        events.push_back({PortEvent::Close, clock.now});
    }
    bool IsOpen() const override { return isOpen; }

    device::IoResult Read(void* buffer, uint32_t count) override {
        device::IoResult r;
        if (!isOpen) {
            r.error = device::kErrorInvalidHandle;
            events.push_back({PortEvent::Read, clock.now, count, 0, false});
            return r;
        }
        const uint32_t deadline = clock.now + 2000 + count;
        auto* out = static_cast<uint8_t*>(buffer);
        uint32_t got = 0;
        for (;;) {
            while (got < count && !pending.empty()) {
                out[got++] = static_cast<uint8_t>(pending.front());
                pending.pop_front();
            }
            if (got == count) break;
            if (script.empty()) {
                if (!exhausted) {
                    exhausted = true;
                    if (onExhausted) onExhausted();
                }
                clock.now = deadline;
                break;
            }
            Item& item = script.front();
            if (item.kind == Item::Data) {
                pending.insert(pending.end(), item.data.begin(), item.data.end());
                script.pop_front();
            } else if (item.kind == Item::Gap) {
                const uint32_t left = deadline - clock.now;
                if (item.ms <= left) {
                    clock.now += item.ms;
                    script.pop_front();
                } else {
                    item.ms -= left;
                    clock.now = deadline;
                    break;
                }
            } else {
                if (got > 0) break;  // a failure surfaces on the next call
                r.error = item.error;
                script.pop_front();
                events.push_back({PortEvent::Read, clock.now, count, 0, false});
                return r;
            }
        }
        r.ok = true;
        r.bytes = got;
        events.push_back({PortEvent::Read, clock.now, count, got, true});
        return r;
    }
    device::IoResult Write(const void* data, uint32_t count) override {
        const uint32_t n = isOpen ? std::min(count, writeLimit) : 0;
        written.append(static_cast<const char*>(data), n);
        writes.push_back(std::string(static_cast<const char*>(data), n));
        device::IoResult r;
        r.ok = isOpen;
        r.bytes = n;
        return r;
    }
    uint32_t writeLimit = UINT32_MAX;  // bytes a write transfers at most (a short write below count)
    std::vector<std::string> writes;   // each write call's bytes

    std::function<void()> onExhausted;
    std::vector<PortEvent> events;
    std::vector<std::string> openedNames;
    std::string written;

    int Count(PortEvent::Kind kind) const {
        int n = 0;
        for (const auto& e : events) n += e.kind == kind;
        return n;
    }
    std::vector<uint32_t> Ticks(PortEvent::Kind kind) const {
        std::vector<uint32_t> t;
        for (const auto& e : events)
            if (e.kind == kind) t.push_back(e.tick);
        return t;
    }

private:
    struct Item {
        enum Kind { Data, Gap, Fail } kind;
        std::string data;
        uint32_t ms;
        uint32_t error;
    };
    FakeClock& clock;
    std::deque<Item> script;
    std::deque<char> pending;
    bool isOpen = false;
    bool exhausted = false;
};

// Everything the loop reported, in order, as one log: "S:<text>" status, "T:<text>" time report,
// "Q" a samples notice.
class RecordingSink : public device::LinkSink {
public:
    explicit RecordingSink(FakeClock& c) : clock(c) {}
    void SamplesQueued() override {
        log.push_back("Q");
        if (onSamples) onSamples();
    }
    void Report(const std::string& text, int kind) override {
        log.push_back((kind == device::kReportTime ? "T:" : "S:") + text);
        reportTicks.push_back(clock.now);
        if (onReport) onReport(text, kind);
    }
    std::vector<std::string> Reports() const {
        std::vector<std::string> r;
        for (const auto& e : log)
            if (e != "Q") r.push_back(e);
        return r;
    }
    std::vector<std::string> log;
    std::vector<uint32_t> reportTicks;
    std::function<void(const std::string&, int)> onReport;
    std::function<void()> onSamples;  // runs the consumer in place of the posted notice

private:
    FakeClock& clock;
};

}  // namespace devtest
