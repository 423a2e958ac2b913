// linktest: runs the link's receive thread on a COM port and writes every sample, status text and
// time report to a file, for comparison with the simulated recorder's log.
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "device/PortSearch.h"
#include "device/RsUtil.h"
#include "device/SearchComPortFallback.h"
#include "device/Thread.h"
#include "device/Win32SerialPort.h"

using namespace device;

namespace {

const char kHelp[] =
    "usage: linktest COMn --out FILE [--bit 12|16] [--seconds S] [--records N] [--dialog [--probe-ms MS]]\n"
    "Runs the receive loop on COMn until S seconds have passed (default 10) or N samples have\n"
    "arrived, and writes one line per event to FILE:\n"
    "  STATE n            linkState changed to n\n"
    "  S x y z hz         a sample (values minus mid-scale) and its low-pass frequency\n"
    "  R0 RECV_ERR | R0 DATA_ERR | R0 <text>   a status text\n"
    "  R1 <text>          a time report\n"
    "  SEARCH a,b,...     the port search ran (the named port could not be opened); the ports found\n"
    "  PORT COMn          the link switched to COMn\n"
    "  NO_PORT            the search found nothing (with --dialog: after the message box is closed)\n"
    "  PROBE COMn         (--dialog --probe-ms) the search dialog's thread probes COMn\n"
    "  END samples=N      the receive thread has returned\n"
    "--dialog: the fallback runs the real port search dialog and the \"no port\" message box;\n"
    "--probe-ms: each probe of that search waits MS milliseconds first, so it can be cancelled.\n"
    "Exit code 0 when the thread ended in time.\n";

// Stands in for the main window: a consumer thread takes the queue when notified, like the
// samples message handler on the user-interface thread.
class FileSink : public LinkSink, public PortFallback {
public:
    explicit FileSink(FILE* f) : out(f) {}
    CRsUtil* link = nullptr;
    long long stopAfter = 0;  // 0 = no record limit

    void SamplesQueued() override {
        std::lock_guard<std::mutex> lock(m);
        notices++;
        cv.notify_all();
    }
    void Report(const std::string& text, int kind) override {
        std::string t = text;
        if (kind == kReportStatus && text == kTextReceiveError) t = "RECV_ERR";
        if (kind == kReportStatus && text == kTextDataError) t = "DATA_ERR";
        Line("R" + std::to_string(kind) + " " + t);
    }
    void LinkStateChanged(int32_t state) override { Line("STATE " + std::to_string(state)); }
    std::vector<std::string> SearchPorts(const std::atomic<int32_t>& keepGoing) override {
        const auto found = SearchComPorts(ProbeComPort, nullptr, keepGoing);
        std::string names;
        for (const auto& n : found) names += (names.empty() ? "" : ",") + n;
        Line("SEARCH " + names);
        return found;
    }
    void ShowNoUsablePort() override { Line("NO_PORT"); }
    void PortChanged(const std::string& name) override { Line("PORT " + name); }

    void Consume() {
        SampleBatch batch;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(m);
                cv.wait(lock, [this] { return notices > 0 || quit; });
                if (notices == 0 && quit) return;
                --notices;
            }
            link->samples.Take(batch);
            const double hz = link->samples.LowPassHz();
            for (size_t i = 0; i < batch.size(); ++i) {
                char b[96];
                std::snprintf(b, sizeof b, "S %d %d %d %g", static_cast<int>(batch.x[i]),
                              static_cast<int>(batch.y[i]), static_cast<int>(batch.z[i]), hz);
                Line(b);
            }
            samples += static_cast<long long>(batch.size());
            if (link->samples.FinishNotice()) SamplesQueued();
            if (stopAfter > 0 && samples >= stopAfter) {
                link->RequestStop();
                std::lock_guard<std::mutex> lock(m);
                limitReached = true;
                cv.notify_all();
            }
        }
    }
    void Quit() {
        std::lock_guard<std::mutex> lock(m);
        quit = true;
        cv.notify_all();
    }
    bool WaitLimit(std::chrono::milliseconds d) {
        std::unique_lock<std::mutex> lock(m);
        return cv.wait_for(lock, d, [this] { return limitReached; });
    }
    void Line(const std::string& s) {
        std::lock_guard<std::mutex> lock(fileLock);
        std::fprintf(out, "%s\n", s.c_str());
        std::fflush(out);
    }
    long long samples = 0;

private:
    FILE* out;
    std::mutex fileLock;
    std::mutex m;
    std::condition_variable cv;
    int notices = 0;
    bool quit = false;
    bool limitReached = false;
};

// The product's fallback (search dialog, message box) with each outcome written to the log.
class DialogFallback : public PortFallback {
public:
    DialogFallback(FileSink& sink_, int probeMs) : sink(sink_), real(foundPorts, nullptr) {
        if (probeMs > 0) {
            real.SetProbe([this, probeMs](const std::string& name) {
                sink.Line("PROBE " + name);
                Sleep(static_cast<DWORD>(probeMs));
                return ProbeComPort(name);
            });
        }
    }
    std::vector<std::string> SearchPorts(const std::atomic<int32_t>& keepGoing) override {
        const auto found = real.SearchPorts(keepGoing);
        std::string names;
        for (const auto& n : foundPorts) names += (names.empty() ? "" : ",") + n;
        sink.Line("SEARCH " + names);
        return found;
    }
    void ShowNoUsablePort() override {
        real.ShowNoUsablePort();
        sink.Line("NO_PORT");
    }
    void PortChanged(const std::string& name) override { sink.Line("PORT " + name); }

private:
    FileSink& sink;
    std::vector<std::string> foundPorts;  // stands in for the application's list
    SearchComPortFallback real;
};

}  // namespace

int main(int argc, char** argv) {
    std::string port, outPath;
    int bit = 12;
    double seconds = 10;
    long long records = 0;
    bool dialog = false;
    int probeMs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") { std::fputs(kHelp, stdout); return 0; }
        if (a == "--out" && i + 1 < argc) outPath = argv[++i];
        else if (a == "--bit" && i + 1 < argc) bit = std::atoi(argv[++i]);
        else if (a == "--seconds" && i + 1 < argc) seconds = std::atof(argv[++i]);
        else if (a == "--records" && i + 1 < argc) records = std::atoll(argv[++i]);
        else if (a == "--dialog") dialog = true;
        else if (a == "--probe-ms" && i + 1 < argc) probeMs = std::atoi(argv[++i]);
        else if (a.rfind("--", 0) != 0 && port.empty()) port = a;
        else { std::fprintf(stderr, "linktest: bad argument %s\n%s", a.c_str(), kHelp); return 2; }
    }
    if (port.empty() || outPath.empty()) { std::fputs(kHelp, stderr); return 2; }
    FILE* out = std::fopen(outPath.c_str(), "wb");
    if (!out) { std::perror(outPath.c_str()); return 2; }

    Win32SerialPort serial;
    Win32TickClock clock;
    FileSink sink(out);
    DialogFallback dialogFallback(sink, probeMs);
    CRsUtil link(serial, clock, sink, dialog ? static_cast<PortFallback*>(&dialogFallback) : &sink);
    sink.link = &link;
    sink.stopAfter = records;
    link.SetLineConfig(port, bit);

    std::thread consumer([&sink] { sink.Consume(); });
    Thread thread;
    link.ArmRun();
    if (thread.Start(ThreadEntry, &link, 0, 0) == 0) {
        sink.Line("START_FAILED");
        sink.Quit();
        consumer.join();
        return 1;
    }
    sink.WaitLimit(std::chrono::milliseconds(static_cast<long long>(seconds * 1000)));
    link.RequestStop();
    const bool ended = thread.Close(10000);
    sink.Quit();
    consumer.join();
    // Samples still queued when the thread ended (the last notice may not have been handled).
    SampleBatch rest;
    link.samples.Take(rest);
    for (size_t i = 0; i < rest.size(); ++i) {
        char b[96];
        std::snprintf(b, sizeof b, "S %d %d %d %g", static_cast<int>(rest.x[i]),
                      static_cast<int>(rest.y[i]), static_cast<int>(rest.z[i]), link.samples.LowPassHz());
        sink.Line(b);
    }
    sink.samples += static_cast<long long>(rest.size());
    sink.Line("END samples=" + std::to_string(sink.samples));
    std::fclose(out);
    return ended ? 0 : 1;
}
