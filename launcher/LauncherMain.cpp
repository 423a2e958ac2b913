// The launcher program: one plain window with a column of buttons over an optional background
// bitmap; each button starts its configured program through the shell.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "launcher/LauncherConfig.h"
#include "launcher/LauncherLayout.h"
#include "resources/LauncherResource.h"

namespace {

using launcher::LauncherConfig;

// Everything is read once at start-up and never changed afterwards.
char g_folder[MAX_PATH];
LauncherConfig g_config;
HBITMAP g_background = nullptr;
HWND g_focus = nullptr;  // the button that last had the keyboard focus

class Win32ProfileReader : public launcher::ProfileReader {
public:
    explicit Win32ProfileReader(const char* path) : path_(path) {}
    std::string GetString(const char* section, const char* key, const char* def, int bufferSize) override {
        std::vector<char> buffer(bufferSize, '\0');
        DWORD n = GetPrivateProfileStringA(section, key, def, buffer.data(), bufferSize, path_);
        return std::string(buffer.data(), n);
    }
    int GetInt(const char* section, const char* key, int def) override {
        return static_cast<int>(GetPrivateProfileIntA(section, key, def, path_));
    }

private:
    const char* path_;
};

void OnCreate(HWND hwnd) {
    HDC dc = GetDC(hwnd);
    std::vector<launcher::Size> extents;
    for (const auto& button : g_config.buttons) {
        SIZE s{};
        GetTextExtentPoint32A(dc, button.text.c_str(), static_cast<int>(button.text.size()), &s);
        extents.push_back({static_cast<int>(s.cx), static_cast<int>(s.cy)});
    }
    ReleaseDC(hwnd, dc);

    RECT frame{0, 0, 0, 0};
    AdjustWindowRect(&frame, static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)), FALSE);
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);

    const launcher::LauncherLayout layout = launcher::ComputeLauncherLayout(
        g_config, extents, {frame.left, frame.top, frame.right, frame.bottom},
        {desktop.left, desktop.top, desktop.right, desktop.bottom});
    SetWindowPos(hwnd, nullptr, layout.window.left, layout.window.top, layout.window.Width(),
                 layout.window.Height(), SWP_NOZORDER | SWP_NOACTIVATE);  // active once shown, with its buttons

    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE));
    for (size_t i = 0; i < layout.buttons.size(); ++i) {
        const launcher::Rect& r = layout.buttons[i];
        CreateWindowExA(0, "Button", g_config.buttons[i].text.c_str(),
                        WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, r.left, r.top,
                        r.Width(), r.Height(), hwnd,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(launcher::kFirstButtonId + i)), instance,
                        nullptr);
    }
}

// Returns true when the background was drawn; otherwise the class background is used, so the client
// area never shows what was on the screen before.
bool OnEraseBkgnd(HWND hwnd, HDC dc) {
    BITMAP info{};
    if (!g_background || !GetObjectA(g_background, sizeof info, &info)) return false;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, g_background);
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    (void)hwnd;
    return true;
}

void OnButton(HWND hwnd, const launcher::ButtonEntry& button) {
    const std::string& exe = button.exe;
    if (exe.empty()) {
        DestroyWindow(hwnd);
        return;
    }
    char full[MAX_PATH] = "";
    char folder[MAX_PATH] = "";
    if (!PathCombineA(full, g_folder, exe.c_str())) return;  // path too long: nothing to start
    lstrcpynA(folder, full, MAX_PATH);
    PathRemoveFileSpecA(folder);

    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.hwnd = hwnd;
    info.lpFile = full;
    info.lpDirectory = folder;
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExA(&info);  // a program that cannot start is not reported; the launcher stays
}

void FocusButton(HWND hwnd) {
    HWND button = IsChild(hwnd, g_focus) ? g_focus : GetDlgItem(hwnd, launcher::kFirstButtonId);
    if (button) SetFocus(button);
}

LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate(hwnd);
        return 0;
    case WM_ERASEBKGND:
        if (OnEraseBkgnd(hwnd, reinterpret_cast<HDC>(wParam))) return 1;
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_COMMAND: {
        if (const launcher::ButtonEntry* button = launcher::ButtonFor(g_config, LOWORD(wParam))) {
            OnButton(hwnd, *button);
            return 0;
        }
        break;
    }
    case WM_ACTIVATE:
        // As in a dialog: the button that had the keyboard focus (at first the first one) gets it
        // back whenever the window is active again.
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (IsChild(hwnd, GetFocus())) g_focus = GetFocus();
            break;
        }
        if (HIWORD(wParam)) break;  // minimised
        FocusButton(hwnd);
        return 0;
    case WM_SETFOCUS:
        FocusButton(hwnd);
        return 0;
    case DM_GETDEFID: {
        // Enter presses the button that has the focus (the window's loop handles keys as a dialog's).
        HWND focus = GetFocus();
        if (IsChild(hwnd, focus)) return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // No exception may cross the window procedure (it would end the program without a word): a
    // handler that throws is logged and its message left to the default handling; the window stays.
    try {
        return HandleMessage(hwnd, message, wParam, lParam);
    } catch (...) {
        OutputDebugStringA("Launcher: a window handler threw\n");
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    INITCOMMONCONTROLSEX icc{sizeof icc, 0xFF};
    InitCommonControlsEx(&icc);

    GetModuleFileNameA(nullptr, g_folder, MAX_PATH);
    PathRemoveFileSpecA(g_folder);
    char iniPath[MAX_PATH] = "";
    PathCombineA(iniPath, g_folder, "Launcher.ini");

    Win32ProfileReader reader(iniPath);
    g_config = launcher::LoadLauncherConfig(reader);

    if (!g_config.backImage.empty()) {
        char imagePath[MAX_PATH] = "";
        if (PathCombineA(imagePath, g_folder, g_config.backImage.c_str()))
            g_background = static_cast<HBITMAP>(LoadImageA(nullptr, imagePath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    }

    char className[101] = "";
    LoadStringA(instance, IDS_LAUNCHER_CLASS, className, sizeof className);

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    RegisterClassExA(&wc);

    HWND hwnd = CreateWindowExA(0, className, g_config.title.c_str(), WS_OVERLAPPED, CW_USEDEFAULT, 0,
                                CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 0;
    ShowWindow(hwnd, showCommand);
    UpdateWindow(hwnd);

    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDS_LAUNCHER_CLASS));
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // Tab, Enter and Space reach the buttons as in a dialog.
        if (!TranslateAcceleratorA(msg.hwnd, accelerators, &msg) && !IsDialogMessageA(hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}
