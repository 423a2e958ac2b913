// The small serial-port and tick-clock interfaces the link core is written against.
#pragma once

#include <cstdint>
#include <string>

namespace device {

// Error code reported for a read or write on a port that is not open (ERROR_INVALID_HANDLE).
constexpr uint32_t kErrorInvalidHandle = 6;

struct IoResult {
    bool ok = false;      // the call itself succeeded (ReadFile/WriteFile returned TRUE)
    uint32_t bytes = 0;   // bytes transferred; may be non-zero only when ok
    uint32_t error = 0;   // GetLastError of a failed call; 0 when ok
};

// A COM port opened with the recorder's line settings: 115200 baud, 8 data bits, no parity, one
// stop bit, read time-outs interval 0 / multiplier 1 / constant 2000 ms. A read of n bytes returns
// as soon as n bytes have arrived, or after 2000 + n ms with whatever has arrived (maybe nothing).
class SerialPort {
public:
    virtual ~SerialPort() = default;
    // Opens "\\.\<name>" (name like "COM3") and applies the line settings; false only when the
    // device itself cannot be opened (failures of the settings calls go unnoticed). Closes a port
    // that is still open first.
    [[nodiscard]] virtual bool Open(const std::string& name) = 0;
    // ClearCommBreak, then CloseHandle; nothing when closed.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // On a closed port: fails at once with kErrorInvalidHandle.
    virtual IoResult Read(void* buffer, uint32_t count) = 0;
    virtual IoResult Write(const void* data, uint32_t count) = 0;
};

// Millisecond tick count that wraps at 2^32 (GetTickCount), and a way to wait.
class TickClock {
public:
    virtual ~TickClock() = default;
    virtual uint32_t Now() = 0;
    virtual void Sleep(uint32_t ms) = 0;
};

}  // namespace device
