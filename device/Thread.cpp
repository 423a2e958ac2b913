// Worker thread wrapper over the run-time library's thread creation.
#include "device/Thread.h"

#include <process.h>

namespace device {

Thread::~Thread() {
    if (handle == nullptr) return;
    if (flags & kWaitOnDestroy) WaitForSingleObject(handle, INFINITE);
    if (flags & kReleaseOnDestroy) CloseHandle(handle);
    handle = nullptr;
    threadId = 0;
}

uint32_t Thread::Start(Routine routine, void* argument, unsigned creationFlags, unsigned stackSize) {
    if (handle != nullptr) return 0;
    unsigned id = 0;
    const uintptr_t h = _beginthreadex(nullptr, stackSize, routine, argument, creationFlags, &id);
    if (h == 0) return 0;
    handle = reinterpret_cast<HANDLE>(h);
    threadId = id;
    return id;
}

bool Thread::Close(uint32_t timeoutMs) {
    if (handle == nullptr) return true;
    bool ended = true;
    if (timeoutMs != 0) ended = WaitForSingleObject(handle, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(handle);
    handle = nullptr;
    threadId = 0;
    return ended;
}

}  // namespace device
