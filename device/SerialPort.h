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

// The flow-control and time-out fields of a COM port (of its DCB and COMMTIMEOUTS) that the link
// sets when it opens the port; every other field stays as the driver, or the last program that
// used the port, left it.
struct LineControl {
    bool outxCtsFlow;  // output waits for CTS
    bool outxDsrFlow;  // output waits for DSR
    bool outX;         // output stops after an XOFF until an XON
    uint32_t readInterval, readMultiplier, readConstant;  // ms; see SerialPort
    uint32_t writeMultiplier, writeConstant;  // ms per byte and ms; both 0: a write never gives up
};

// The recorder's line. Reads as the recorder's stream needs them. Writes (the clock and threshold
// commands, on the user-interface thread) wait for no handshake the recorder does not give and
// give up after 2 s and 1 ms a byte, so a recorder that is off or a handshake left on by another
// program cannot hang the window; the exchange then reports its usual failure.
inline constexpr LineControl kRecorderLine{false, false, false, 0, 1, 2000, 1, 2000};

// A COM port opened with the recorder's line settings: 115200 baud, 8 data bits, no parity, one
// stop bit, and kRecorderLine: a read of n bytes returns as soon as n bytes have arrived, or after
// 2000 + n ms with whatever has arrived (maybe nothing); a write of n bytes ends after at most
// 2000 + n ms, maybe with fewer bytes written.
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
