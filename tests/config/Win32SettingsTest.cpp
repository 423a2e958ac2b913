// Win32 side of the settings (Win32 tree only): the walk on the platform's INI functions, the
// profile directory and restoring a placement onto a real window.
#ifdef QUORVEL_TEST_WIN32_PROFILE

#include "TestFiles.h"
#include "config/Win32Settings.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(Win32Settings, FirstRunWritesTheSameFileAsThePortableEngine) {
    config_test::ScratchDir dir;
    std::string path = dir.NewPath();
    Settings s;
    int type = 0;
    ExchangeSettings(s, type, 0, path);
    EXPECT_EQ(s.com, "COM1");
    s.saveDirectory = "C:\\Users\\operator";  // the golden file's profile directory
    ExchangeSettings(s, type, 1, path);
    EXPECT_EQ(config_test::ReadBytes(path), config_test::ReadDataFile("default.ini"));
}

TEST(Win32Settings, ProfileDirectoryIsTheDefaultDataFolder) {
    std::optional<std::string> profile = Win32ProfileDirectory();
    ASSERT_TRUE(profile);
    EXPECT_FALSE(profile->empty());
    Settings s;
    int type = 0;
    ExchangeSettings(s, type, 0, std::string());
    EXPECT_EQ(s.saveDirectory, *profile);
}

TEST(Win32Settings, RestoreMovesAWindowOntoTheMonitor) {
    HWND window = CreateWindowExA(0, "STATIC", "placement", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) GTEST_SKIP() << "no display to create a window on";
    RECT screen = {0, 0, 0, 0};
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    POINT origin = {0, 0};
    ASSERT_TRUE(GetMonitorInfoA(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &info));
    screen = info.rcMonitor;

    WindowPlacementRecord saved;
    saved.showState = 1;
    saved.normal = {screen.right + 500, 50, screen.right + 1140, 530};  // a monitor that is gone
    saved.Restore(window, false);
    WindowPlacementRecord now;
    now.Capture(window);
    EXPECT_EQ(now.normal.right, screen.right);
    EXPECT_EQ(now.normal.right - now.normal.left, 640);
    EXPECT_EQ(now.normal.top, 50);

    saved.normal = {40, 60, 9000, 9000};  // keepSize: only the origin is taken
    saved.Restore(window, true);
    now.Capture(window);
    EXPECT_EQ(now.normal.left, 40);
    EXPECT_EQ(now.normal.right - now.normal.left, 640);
    DestroyWindow(window);
}

}  // namespace

#endif
