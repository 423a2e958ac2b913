// The COM port through CreateFileA and the comm API, the GetTickCount clock, and the link thread's
// start routine (Win32 only).
#pragma once

#include <windows.h>

#include <string>

#include "device/SerialPort.h"

namespace device {

class Win32SerialPort : public SerialPort {
public:
    ~Win32SerialPort() override { Close(); }
    [[nodiscard]] bool Open(const std::string& name) override;
    void Close() override;
    bool IsOpen() const override { return port != INVALID_HANDLE_VALUE; }
    IoResult Read(void* buffer, uint32_t count) override;
    IoResult Write(const void* data, uint32_t count) override;

private:
    HANDLE port = INVALID_HANDLE_VALUE;  // the open port; INVALID_HANDLE_VALUE when closed
};

class Win32TickClock : public TickClock {
public:
    uint32_t Now() override { return GetTickCount(); }
    void Sleep(uint32_t ms) override { ::Sleep(ms); }
};

// "\\.\" followed by the port name.
std::string ComDevicePath(const std::string& name);

// The port search's probe: CreateFileA on the port and CloseHandle at once.
bool ProbeComPort(const std::string& name);

// Start routine for Thread::Start with a CRsUtil* argument: runs its Run and returns 0.
unsigned __stdcall ThreadEntry(void* link);

}  // namespace device
