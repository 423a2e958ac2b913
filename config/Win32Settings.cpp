// Win32 side of the settings: profile directory, the walk on the platform's INI functions, and
// capturing and restoring window placements.
#include "config/Win32Settings.h"

#include "config/Win32ProfileStore.h"

#include <windows.h>
#include <userenv.h>

std::optional<std::string> Win32ProfileDirectory() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::nullopt;
    char buffer[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    BOOL ok = GetUserProfileDirectoryA(token, buffer, &size);
    CloseHandle(token);
    if (!ok) return std::nullopt;
    return std::string(buffer);
}

void ExchangeSettings(Settings& settings, int& settingWindowType, int mode,
                      const std::string& path) {
    Win32ProfileStore store(path);
    ExchangeSettings(settings, settingWindowType, mode, store, &Win32ProfileDirectory);
}

void WindowPlacementRecord::Capture(void* window) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;  // 44
    if (!GetWindowPlacement(static_cast<HWND>(window), &wp)) return;
    showState = static_cast<int>(wp.showCmd);
    normal = PlacementRect{wp.rcNormalPosition.left, wp.rcNormalPosition.top,
                           wp.rcNormalPosition.right, wp.rcNormalPosition.bottom};
    minX = wp.ptMinPosition.x;
    minY = wp.ptMinPosition.y;
    maxX = wp.ptMaxPosition.x;
    maxY = wp.ptMaxPosition.y;
}

void WindowPlacementRecord::Restore(void* window, bool keepSize) const {
    HWND hwnd = static_cast<HWND>(window);
    WINDOWPLACEMENT present = {};
    present.length = sizeof present;
    GetWindowPlacement(hwnd, &present);
    const RECT& pr = present.rcNormalPosition;
    std::optional<PlacementPlan> plan = PlanRestore(*this, pr.right - pr.left, pr.bottom - pr.top,
                                                    keepSize);
    if (!plan) return;

    RECT r = {plan->normal.left, plan->normal.top, plan->normal.right, plan->normal.bottom};
    HMONITOR monitor = MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof info;  // 40
    if (monitor && GetMonitorInfoA(monitor, &info)) {
        const RECT& m = info.rcMonitor;
        plan->normal = MoveIntoMonitor(plan->normal, PlacementRect{m.left, m.top, m.right, m.bottom});
    }

    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    wp.flags = 0;
    wp.showCmd = static_cast<UINT>(plan->showCommand);
    wp.ptMinPosition = POINT{plan->minX, plan->minY};
    wp.ptMaxPosition = POINT{plan->maxX, plan->maxY};
    wp.rcNormalPosition = RECT{plan->normal.left, plan->normal.top, plan->normal.right,
                               plan->normal.bottom};
    SetWindowPlacement(hwnd, &wp);
}
