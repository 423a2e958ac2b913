// The receive loop: line-feed synchronisation, fixed-length records, link state and re-opening.
#include "device/RsUtil.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "device/RecordDecoder.h"

namespace device {

const char* const kTextReceiveError = "受信ｴﾗｰ";
const char* const kTextDataError = "ﾃﾞｰﾀｴﾗｰ";
const char* const kTextLinkFailure = "RCV-ERR";

CRsUtil::CRsUtil(SerialPort& port_, TickClock& clock_, LinkSink& sink_, PortFallback* fallback_)
    : port(port_), clock(clock_), sink(sink_), fallback(fallback_) {}

void CRsUtil::SetLineConfig(const std::string& com, int bitSetting) {
    comPort = com;
    bit = bitSetting;
}

bool CRsUtil::OpenPort(bool interactive) { return OpenNamedPort(interactive, false); }

bool CRsUtil::OpenNamedPort(bool interactive, bool inRun) {
    if (port.Open(comPort)) return true;
    if (fallback == nullptr) return false;
    static const std::atomic<int32_t> kAlwaysGo{1};
    const std::vector<std::string> found = fallback->SearchPorts(inRun ? runFlag : kAlwaysGo);
    if (inRun && runFlag.load() == 0) return false;
    if (found.empty()) {
        if (interactive) fallback->ShowNoUsablePort();
        return false;
    }
    comPort = found.front();
    fallback->PortChanged(comPort);
    return port.Open(comPort);
}

bool CRsUtil::ReopenPort() {
    if (port.Open(homePort)) {
        comPort = homePort;
        standIn = false;
        return true;
    }
    if (fallback == nullptr) return false;
    std::vector<std::string> found = fallback->SearchPorts(runFlag);
    if (runFlag.load() == 0 || found.empty()) return false;
    // The measurement's port may have come back while the search ran.
    if (std::find(found.begin(), found.end(), homePort) != found.end() && port.Open(homePort)) {
        comPort = homePort;
        standIn = false;
        return true;
    }
    comPort = found.front();
    standIn = comPort != homePort;
    return port.Open(comPort);
}

void CRsUtil::SetLinkState(int32_t state) {
    const int32_t old = linkState.load();
    if ((old & LINK_RECEIVING) && !(state & LINK_RECEIVING)) {
        Report(kTextReceiveError, kReportStatus);
    } else if ((old & LINK_FRAMES_OK) && !(state & LINK_FRAMES_OK)) {
        Report(kTextDataError, kReportStatus);
    }
    // A cleared bit costs records or time: the next sample must not look like the one after this.
    if ((state & (LINK_RECEIVING | LINK_FRAMES_OK)) != (LINK_RECEIVING | LINK_FRAMES_OK)) samples.MarkBreak();
    linkState.store(state);
    if (state != old) sink.LinkStateChanged(state);
}

IoResult CRsUtil::ReadPort(uint8_t* buffer, uint32_t count) {
    const uint32_t start = clock.Now();
    const IoResult r = port.Read(buffer, count);
    if (!r.ok && lastReadOk) {
        char text[40];
        std::snprintf(text, sizeof text, "ReadFile err,%u", static_cast<unsigned>(r.error));
        Report(text, kReportStatus);
    }
    lastReadOk = r.ok ? 1 : 0;
    if (r.bytes == 0) {
        const uint32_t took = clock.Now() - start;
        if (took < kMinEmptyReadMs) clock.Sleep(kMinEmptyReadMs - took);
    }
    return r;
}

void CRsUtil::ArmRun() {
    std::lock_guard<std::mutex> lock(runLock);
    runFlag.store(1);
    running = true;
}

void CRsUtil::DisarmRun() {
    {
        std::lock_guard<std::mutex> lock(runLock);
        runFlag.store(0);
        running = false;
    }
    runEnded.notify_all();
}

bool CRsUtil::IsRunning() const {
    std::lock_guard<std::mutex> lock(runLock);
    return running;
}

bool CRsUtil::WaitUntilIdle(uint32_t ms) {
    std::unique_lock<std::mutex> lock(runLock);
    return runEnded.wait_for(lock, std::chrono::milliseconds(ms), [this] { return !running; });
}

int CRsUtil::Run() {
    {
        std::lock_guard<std::mutex> lock(runLock);
        running = true;
    }
    // The stop, the next start and the program's exit wait for the link to be idle: it must be,
    // however the loop ends.
    struct Ended {
        CRsUtil& link;
        ~Ended() { link.EndRun(); }
    } ended{*this};
    try {
        Receive();
    } catch (...) {
        // A failure inside the loop (out of memory, a driver fault) is a link error the operator
        // sees in the log; the lamp then shows no reception until the stop.
        try {
            Report(kTextLinkFailure, kReportStatus);
        } catch (...) {
        }
    }
    return 0;
}

void CRsUtil::EndRun() noexcept {
    try {
        if (linkState.exchange(0) != 0) sink.LinkStateChanged(0);
        port.Close();
    } catch (...) {
    }
    {
        std::lock_guard<std::mutex> lock(runLock);
        running = false;
    }
    runEnded.notify_all();
}

void CRsUtil::Receive() {
    enum class Phase { Sync, Record };
    std::vector<uint8_t> record;
    bool entry = true;
    bool stop = false;
    while (!stop) {
        // Opening. A failed open leaves the port closed; the silence rule retries.
        if (entry) {
            (void)OpenNamedPort(true, true);
            homePort = comPort;
            standIn = false;
        } else {
            (void)ReopenPort();
        }
        samples.Reset();
        if (entry) {
            linkState.store(LINK_RECEIVING | LINK_FRAMES_OK);
            sink.LinkStateChanged(linkState.load());
            lastReadOk = 1;
        }
        // A re-opening keeps linkState and lastReadOk, so a long silence or a dead port is
        // reported once, not once per re-opening, and the lamp does not flash in between.
        entry = false;
        const int length = RecordLength(bit);
        record.assign(static_cast<size_t>(length), 0);
        bool timerArmed = false;
        uint32_t timerStart = 0;
        Phase phase = Phase::Sync;
        bool reopen = false;
        while (!stop && !reopen) {
            if (phase == Phase::Sync) {
                uint8_t byte = 0;
                const IoResult r = ReadPort(&byte, 1);
                if (r.bytes == 0) {
                    SetLinkState(linkState.load() & ~(LINK_RECEIVING | LINK_FRAMES_OK));
                    if (runFlag.load() == 0) {
                        stop = true;
                    } else if (!timerArmed) {
                        timerArmed = true;
                        timerStart = clock.Now();
                    } else if (static_cast<uint32_t>(clock.Now() - timerStart) >= kSilenceReopenMs) {
                        port.Close();
                        reopen = true;
                    }
                    continue;
                }
                SetLinkState(linkState.load() | LINK_RECEIVING);
                if (byte == kLineFeed) {
                    phase = Phase::Record;
                } else if (runFlag.load() == 0) {
                    stop = true;
                }
                continue;
            }
            // Record phase.
            const IoResult r = ReadPort(record.data(), static_cast<uint32_t>(length));
            if (r.bytes == 0) {
                SetLinkState(linkState.load() & ~(LINK_RECEIVING | LINK_FRAMES_OK));
                if (runFlag.load() == 0) {
                    stop = true;
                } else {
                    timerArmed = true;
                    timerStart = clock.Now();
                    phase = Phase::Sync;
                }
                continue;
            }
            SetLinkState(linkState.load() | LINK_RECEIVING);
            if (!IsCompleteRecord(record.data(), r.bytes, length)) {
                SetLinkState(linkState.load() & ~LINK_FRAMES_OK);
                if (runFlag.load() == 0) {
                    stop = true;
                } else {
                    timerArmed = false;
                    phase = Phase::Sync;
                }
                continue;
            }
            SetLinkState(linkState.load() | LINK_RECEIVING | LINK_FRAMES_OK);
            const DecodedRecord decoded = DecodeRecord(record.data(), bit);
            if (decoded.isTime) {
                Report(decoded.timeText, kReportTime);
            } else {
                if (standIn) {
                    // Records arrive on the search's port: the recorder is there now.
                    standIn = false;
                    homePort = comPort;
                    if (fallback) fallback->PortChanged(comPort);
                }
                if (samples.Push(decoded.sample, decoded.lowPassHz)) sink.SamplesQueued();
            }
            if (runFlag.load() == 0) stop = true;
        }
    }
}

}  // namespace device
