// Keeps the PC from going to sleep while a measurement runs: a sleeping laptop stops receiving and
// recording without a word. The display may still turn off.
#pragma once

namespace app {

// The system's request to stay awake (SetThreadExecutionState on Windows, a fake in tests).
class SystemAwake {
public:
    virtual ~SystemAwake() = default;
    virtual void Hold() = 0;     // from now on the system does not sleep by itself
    virtual void Release() = 0;  // it may sleep again
};

// Holds the request exactly while a measurement runs: told the measurement's state after every
// start (whether it succeeded or not) and every stop; lets go at the latest when destroyed.
class AwakeWhileMeasuring {
public:
    explicit AwakeWhileMeasuring(SystemAwake& system) : system_(system) {}
    ~AwakeWhileMeasuring() { Follow(false); }
    AwakeWhileMeasuring(const AwakeWhileMeasuring&) = delete;
    AwakeWhileMeasuring& operator=(const AwakeWhileMeasuring&) = delete;

    void Follow(bool measuring) {
        if (measuring == held_) return;
        held_ = measuring;
        if (held_) system_.Hold();
        else system_.Release();
    }
    bool Held() const { return held_; }

private:
    SystemAwake& system_;
    bool held_ = false;  // invariant: Hold was called last exactly when true
};

}  // namespace app
