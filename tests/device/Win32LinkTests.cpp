// Win32 thread wrapper and serial port basics (Windows builds only; run under Wine).
#ifdef _WIN32
#include <gtest/gtest.h>

#include <atomic>

#include "device/Thread.h"
#include "device/Win32SerialPort.h"

using namespace device;

namespace {

HANDLE gGate = nullptr;
HANDLE gFinished = nullptr;  // auto-reset: one signal per finished thread
std::atomic<int> gRan{0};

unsigned __stdcall WaitForGate(void*) {
    WaitForSingleObject(gGate, INFINITE);
    ++gRan;
    SetEvent(gFinished);
    return 0;
}

TEST(Win32Thread, CloseWaitsOrReleasesAndStartRefusesWhileHeld) {
    gGate = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    gFinished = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    gRan = 0;
    {
        Thread t;
        EXPECT_TRUE(t.Close(0));  // nothing held
        const uint32_t id = t.Start(WaitForGate, nullptr, 0, 0);
        ASSERT_NE(id, 0u);
        EXPECT_EQ(t.ThreadId(), id);
        EXPECT_EQ(t.Start(WaitForGate, nullptr, 0, 0), 0u);
        EXPECT_FALSE(t.Close(50));  // still blocked: time-out, handle released anyway
        EXPECT_FALSE(t.HasHandle());
        EXPECT_EQ(t.ThreadId(), 0u);
        SetEvent(gGate);
        // The released thread is no longer ours to wait for: wait for its own signal.
        ASSERT_EQ(WaitForSingleObject(gFinished, 10000), WAIT_OBJECT_0);
        ASSERT_EQ(gRan.load(), 1);
        ResetEvent(gGate);
        ASSERT_NE(t.Start(WaitForGate, nullptr, 0, 0), 0u);
        SetEvent(gGate);
        EXPECT_TRUE(t.Close(10000));
    }
    {
        ResetEvent(gGate);
        Thread t;
        ASSERT_NE(t.Start(WaitForGate, nullptr, 0, 0), 0u);
        SetEvent(gGate);
    }  // the destructor waits for the end
    EXPECT_EQ(gRan.load(), 3);
    CloseHandle(gGate);
    CloseHandle(gFinished);
}

TEST(Win32SerialPort, MissingPortAndClosedPortReads) {
    EXPECT_EQ(ComDevicePath("COM3"), "\\\\.\\COM3");
    Win32SerialPort port;
    EXPECT_FALSE(port.Open("COM251"));
    EXPECT_FALSE(port.IsOpen());
    char b[4];
    const IoResult r = port.Read(b, 4);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.bytes, 0u);
    EXPECT_EQ(r.error, kErrorInvalidHandle);
    port.Close();  // harmless when closed
    EXPECT_FALSE(ProbeComPort("COM251"));
}

}  // namespace
#endif
