// Win32 serial port with the recorder's fixed line settings and read time-outs.
#include "device/Win32SerialPort.h"

#include "device/RsUtil.h"

namespace device {

std::string ComDevicePath(const std::string& name) { return "\\\\.\\" + name; }

namespace {

HANDLE CreatePortHandle(const std::string& name) {
    return CreateFileA(ComDevicePath(name).c_str(), GENERIC_READ | GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

bool Win32SerialPort::Open(const std::string& name) {
    Close();
    port = CreatePortHandle(name);
    if (port == INVALID_HANDLE_VALUE) return false;
    // Settings failures go unnoticed: the port is used with whatever settings it has.
    const LineControl& line = kRecorderLine;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(port, &dcb);
    dcb.BaudRate = 115200;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    // Output handshakes only: what governs reading stays as it was.
    dcb.fOutxCtsFlow = line.outxCtsFlow;
    dcb.fOutxDsrFlow = line.outxDsrFlow;
    dcb.fOutX = line.outX;
    SetCommState(port, &dcb);
    COMMTIMEOUTS timeouts{};
    GetCommTimeouts(port, &timeouts);
    timeouts.ReadIntervalTimeout = line.readInterval;
    timeouts.ReadTotalTimeoutMultiplier = line.readMultiplier;
    timeouts.ReadTotalTimeoutConstant = line.readConstant;
    timeouts.WriteTotalTimeoutMultiplier = line.writeMultiplier;
    timeouts.WriteTotalTimeoutConstant = line.writeConstant;
    SetCommTimeouts(port, &timeouts);
    return true;
}

void Win32SerialPort::Close() {
    if (port == INVALID_HANDLE_VALUE) return;
    ClearCommBreak(port);
    CloseHandle(port);
    port = INVALID_HANDLE_VALUE;
}

IoResult Win32SerialPort::Read(void* buffer, uint32_t count) {
    IoResult r;
    if (port == INVALID_HANDLE_VALUE) {
        r.error = kErrorInvalidHandle;
        return r;
    }
    DWORD got = 0;
    if (ReadFile(port, buffer, count, &got, nullptr)) {
        r.ok = true;
        r.bytes = got;
    } else {
        r.error = GetLastError();
    }
    return r;
}

IoResult Win32SerialPort::Write(const void* data, uint32_t count) {
    IoResult r;
    if (port == INVALID_HANDLE_VALUE) {
        r.error = kErrorInvalidHandle;
        return r;
    }
    DWORD written = 0;
    r.ok = WriteFile(port, data, count, &written, nullptr) != FALSE;
    r.bytes = written;
    if (!r.ok) r.error = GetLastError();
    return r;
}

bool ProbeComPort(const std::string& name) {
    const HANDLE h = CreatePortHandle(name);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

unsigned __stdcall ThreadEntry(void* link) {
    // Run reports its own failures; nothing may leave a thread's start routine.
    try {
        static_cast<CRsUtil*>(link)->Run();
    } catch (...) {
    }
    return 0;
}

}  // namespace device
