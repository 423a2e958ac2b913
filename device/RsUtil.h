// The serial link to the recorder: opening the port, the receive loop and its status reports.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "device/SampleHandOff.h"
#include "device/SerialPort.h"

namespace device {

// linkState bits.
constexpr int32_t LINK_RECEIVING = 1;  // the last read returned at least one byte
constexpr int32_t LINK_FRAMES_OK = 2;  // the last record read was complete and well formed

// Report kinds: the wParam of the status message.
constexpr int kReportStatus = 0;  // status or error text
constexpr int kReportTime = 1;    // the recorder's time report

// Status texts of the link (CP932 bytes).
extern const char* const kTextReceiveError;  // "受信ｴﾗｰ"
extern const char* const kTextDataError;     // "ﾃﾞｰﾀｴﾗｰ"
extern const char* const kTextLinkFailure;   // "RCV-ERR": the receive loop ended on an exception

// Where the receive loop's news goes. The Win32 shell turns these into window messages; every
// call comes from the receive thread (or from the thread calling OpenPort) with no lock held.
class LinkSink {
public:
    virtual ~LinkSink() = default;
    // New samples are queued and no notice was pending (PostMessageA of the samples message).
    virtual void SamplesQueued() = 0;
    // A status text (kind kReportStatus) or a time report (kReportTime). Must not wait for the
    // user-interface thread: the port is not read meanwhile.
    virtual void Report(const std::string& text, int kind) = 0;
    // linkState has changed to `state` (the lamp may also read linkState itself).
    virtual void LinkStateChanged(int32_t /*state*/) {}
};

// What OpenPort does when the named port cannot be opened.
class PortFallback {
public:
    virtual ~PortFallback() = default;
    // Runs the port search (modally) and returns the usable ports in ascending order. While
    // `keepGoing` is 0 the search probes nothing more and ends at once (a stop during a search).
    virtual std::vector<std::string> SearchPorts(const std::atomic<int32_t>& keepGoing) = 0;
    // No usable port found while opening interactively: "使用可能な通信ポートが見つかりません。".
    virtual void ShowNoUsablePort() = 0;
    // The link switched to `name`; the owner stores it as the COM setting.
    virtual void PortChanged(const std::string& name) = 0;
};

class CRsUtil {
public:
    // `fallback` may be null: a missing port then simply stays closed.
    CRsUtil(SerialPort& port, TickClock& clock, LinkSink& sink, PortFallback* fallback);
    virtual ~CRsUtil() = default;
    CRsUtil(const CRsUtil&) = delete;
    CRsUtil& operator=(const CRsUtil&) = delete;

    // The COM setting (e.g. "COM3") and the BIT setting (12 or 16). Set while no thread runs.
    void SetLineConfig(const std::string& comPort, int bit);
    const std::string& ComPort() const { return comPort; }

    // Opens the named port, falling back to the first port the search finds (stored at once as
    // the COM setting); `interactive` only decides whether a missing usable port is announced.
    [[nodiscard]] bool OpenPort(bool interactive);
    void ClosePort() { port.Close(); }
    SerialPort& Port() { return port; }

    // Called by the starter before the receive thread starts: sets runFlag and marks the link
    // busy, so a thread created but not yet scheduled already counts as running for
    // WaitUntilIdle. Run does not set runFlag itself, so a stop that comes while Run is still
    // opening the port (maybe with the port search dialog up) is not overwritten.
    void ArmRun();
    // The thread could not be started after ArmRun: clears runFlag and the busy mark.
    void DisarmRun();
    // The receive thread's body: opens the port, reads until runFlag is 0, closes, returns 0.
    // Without ArmRun it ends after its first read. An exception inside ends the loop as a link
    // error (kTextLinkFailure reported, linkState 0); nothing leaves Run.
    virtual int Run();
    // Stop request from any thread; the loop ends after its current read returns, and a port
    // search it runs ends at once.
    void RequestStop() { runFlag.store(0); }
    // Waits up to `ms` milliseconds of real time for a running Run to return; true when none runs.
    bool WaitUntilIdle(uint32_t ms);
    bool IsRunning() const;

    SampleHandOff samples;              // queues, lowPassHz and the notice flag under sampleLock
    std::atomic<int32_t> runFlag{0};    // the receive loop goes on while non-zero
    std::atomic<int32_t> linkState{0};  // LINK_RECEIVING | LINK_FRAMES_OK; read by the status lamp

    // Empty reads that return sooner than this (a dead or closed port) are padded with a wait, so
    // a failing port cannot spin the receive thread.
    static constexpr uint32_t kMinEmptyReadMs = 100;
    static constexpr uint32_t kSilenceReopenMs = 2000;

private:
    // OpenPort; with `inRun`, a stop requested during the search ends the opening (no message,
    // no new port).
    bool OpenNamedPort(bool interactive, bool inRun);
    // A re-opening inside Run: the measurement's own port first; the search's first port only
    // while that one cannot be opened, and stored as the COM setting only once records arrive.
    bool ReopenPort();
    // Run's loop, from the first opening to the stop.
    void Receive();
    // Run's end, however the loop ended: linkState cleared, port closed, the link idle.
    void EndRun() noexcept;
    void SetLinkState(int32_t state);
    // One read with the read-error report; pads quick empty reads.
    IoResult ReadPort(uint8_t* buffer, uint32_t count);
    void Report(const std::string& text, int kind) { sink.Report(text, kind); }

    SerialPort& port;
    TickClock& clock;
    LinkSink& sink;
    PortFallback* fallback;
    std::string comPort = "COM1";
    int bit = 12;
    // Receive thread only: the port the measurement runs on (set by Run's first opening), and
    // whether comPort is a search's stand-in for it that has not delivered a record yet.
    std::string homePort;
    bool standIn = false;
    int32_t lastReadOk = 1;  // the previous read succeeded; only the receive thread touches it

    mutable std::mutex runLock;  // guards running
    // True from ArmRun (or Run's start) until Run returns or DisarmRun.
    std::condition_variable runEnded;
    bool running = false;
};

}  // namespace device
