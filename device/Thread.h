// A small wrapper around one worker thread started with _beginthreadex (Win32 only).
#pragma once

#include <windows.h>

#include <cstdint>

namespace device {

class Thread {
public:
    using Routine = unsigned(__stdcall*)(void*);
    static constexpr uint32_t kReleaseOnDestroy = 1;  // flags bit 0: CloseHandle in the destructor
    static constexpr uint32_t kWaitOnDestroy = 2;     // flags bit 1: wait for the thread's end first

    explicit Thread(uint32_t flags_ = kReleaseOnDestroy | kWaitOnDestroy) : flags(flags_) {}
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts `routine(argument)`; returns the thread id, or 0 on failure (nothing changed). Refuses
    // (returns 0) while a handle is still held, so a running thread is never lost track of.
    virtual uint32_t Start(Routine routine, void* argument, unsigned creationFlags, unsigned stackSize);
    // No handle: true. Otherwise waits up to timeoutMs (0: not at all) for the end, releases the
    // handle and returns whether the thread ended (true when timeoutMs is 0).
    virtual bool Close(uint32_t timeoutMs);

    bool HasHandle() const { return handle != nullptr; }
    uint32_t ThreadId() const { return threadId; }

    uint32_t flags;
private:
    HANDLE handle = nullptr;  // invariant: null exactly when threadId is 0
    uint32_t threadId = 0;
};

}  // namespace device
