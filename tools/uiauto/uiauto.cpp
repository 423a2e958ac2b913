// uiauto: a small console tool that finds windows, reads and clicks their controls, posts
// registered messages and answers message boxes, for end-to-end tests under Wine.
// Texts are printed as UTF-8; exit code 0 on success, 1 when the window or control is not found
// in time, 2 on bad usage.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Controls.h"
#include "ListViewCommands.h"

namespace {

std::string ToUtf8(const std::string& ansi) {
    if (ansi.empty()) return ansi;
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], n);
    n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &utf8[0], n, nullptr, nullptr);
    utf8.resize(n > 0 ? n - 1 : 0);
    return utf8;
}

std::string FromUtf8(const char* utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &wide[0], n);
    n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &ansi[0], n, nullptr, nullptr);
    ansi.resize(n > 0 ? n - 1 : 0);
    return ansi;
}

// Reads a window's text across processes without blocking on a hung or modal owner.
std::string WindowText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return "";
    std::vector<char> buffer(length + 2, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    return std::string(buffer.data());
}

std::string ClassOf(HWND hwnd) {
    char name[256] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

struct Query {
    std::string className;  // empty: any
    std::string title;      // empty: any (ANSI)
    std::string prop;       // empty: none required
    int childId = 0;        // 0: any; otherwise a child with this id must exist
    int maxChildren = 0;    // 0: any; otherwise at most this many child windows
    HWND found = nullptr;
};

// The message text of a standard message box is a static control with this id.
constexpr int kMessageBoxTextId = 0xFFFF;

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int ChildCount(HWND hwnd) {
    int count = 0;
    EnumChildWindows(hwnd, CountChild, reinterpret_cast<LPARAM>(&count));
    return count;
}

BOOL CALLBACK FindTop(HWND hwnd, LPARAM param) {
    Query* q = reinterpret_cast<Query*>(param);
    if (!q->className.empty() && ClassOf(hwnd) != q->className) return TRUE;
    if (!q->title.empty() && WindowText(hwnd) != q->title) return TRUE;
    if (!q->prop.empty() && !GetPropA(hwnd, q->prop.c_str())) return TRUE;
    if (q->childId && !GetDlgItem(hwnd, q->childId)) return TRUE;
    if (q->maxChildren && ChildCount(hwnd) > q->maxChildren) return TRUE;
    if (!IsWindowVisible(hwnd)) return TRUE;
    q->found = hwnd;
    return FALSE;
}

HWND WaitTop(Query q, int timeoutMs, DWORD pollMs = 50) {
    const DWORD start = GetTickCount();
    for (;;) {
        q.found = nullptr;
        EnumWindows(FindTop, reinterpret_cast<LPARAM>(&q));
        if (q.found) return q.found;
        if (static_cast<int>(GetTickCount() - start) >= timeoutMs) return nullptr;
        Sleep(pollMs);
    }
}

// Waits until the window is destroyed, or only hidden as well when `hiddenIsGone` (a dialog ended
// by EndDialog is hidden before its loop destroys it); false on time-out.
bool WaitGone(HWND hwnd, int timeoutMs, bool hiddenIsGone = false) {
    const DWORD start = GetTickCount();
    while (IsWindow(hwnd) && !(hiddenIsGone && !IsWindowVisible(hwnd))) {
        if (static_cast<int>(GetTickCount() - start) >= timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

// The edit box that takes a control's text: the control itself, or the Edit inside a combo box.
HWND EditOf(HWND control) {
    if (!control) return nullptr;
    HWND edit = FindWindowExA(control, nullptr, "Edit", nullptr);
    if (!edit) {
        if (HWND inner = FindWindowExA(control, nullptr, "ComboBox", nullptr)) edit = FindWindowExA(inner, nullptr, "Edit", nullptr);
    }
    return edit ? edit : control;
}

// Prints the rows of a list box or a combo box (its count, length and text messages), one per
// line. Wide messages: their texts are not converted when marshalled between processes.
void PrintRows(HWND control, UINT countMessage, UINT lengthMessage, UINT textMessage) {
    DWORD_PTR count = 0;
    SendMessageTimeoutW(control, countMessage, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
    if (static_cast<LONG_PTR>(count) < 0) return;
    for (DWORD_PTR i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        SendMessageTimeoutW(control, lengthMessage, i, 0, SMTO_ABORTIFHUNG, 2000, &length);
        std::wstring row(length + 2, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(control, textMessage, i, reinterpret_cast<LPARAM>(&row[0]), SMTO_ABORTIFHUNG, 2000, &copied);
        std::printf("%s\n", WideToUtf8(row.c_str()).c_str());
    }
}

HWND ParseHwnd(const char* text) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(text, nullptr, 0)));
}

BOOL CALLBACK PrintChild(HWND hwnd, LPARAM) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    std::printf("%d\t%s\t%ld,%ld,%ld,%ld\t%d\t%s\n", GetDlgCtrlID(hwnd), ClassOf(hwnd).c_str(), r.left, r.top,
                r.right, r.bottom, IsWindowVisible(hwnd) ? 1 : 0, ToUtf8(WindowText(hwnd)).c_str());
    return TRUE;
}

int Usage() {
    std::fputs(
        "usage: uiauto <command> [arguments]\n"
        "  find [--class C] [--title T] [--prop P] [--child ID] [--timeout MS]  print the handle of a visible\n"
        "                                  top-level window (with --child: one that has a child ID)\n"
        "  rect HWND                       window rectangle and client rectangle (screen coordinates)\n"
        "  children HWND                   one line per descendant: id, class, rectangle, visible, text\n"
        "  text HWND [ID...]               text of the window or of its controls ID (searched among descendants),\n"
        "                                  one line each\n"
        "  click HWND ID                   press button ID (posted, so a modal box it opens does not block)\n"
        "  enabled HWND [ID]               1 when the window or its control ID is enabled, else 0\n"
        "  settext HWND ID TEXT            set the text of control ID (the edit box of a combo box)\n"
        "  press HWND ID                   click control ID as the mouse would (radios and check boxes tick)\n"
        "  checked HWND ID                 1 when button ID is ticked, else 0\n"
        "  focus HWND                      id of the control that has the keyboard focus in the window's thread\n"
        "  setfocus HWND ID                give control ID of a dialog the focus, as the dialog manager does\n"
        "  combo HWND ID                   \"sel N\" (N the selection, -1 for none) and one item per line\n"
        "  dropdown HWND ID 1|0            open or close the list of combo box ID (posted)\n"
        "  dropped HWND ID                 1 when the list of combo box ID is open, else 0\n"
        "  list HWND ID                    the rows of list box ID, one per line\n"
        "  post HWND MESSAGE [WPARAM [LPARAM]] [--repeat N] [--after-child ID [--timeout MS]]\n"
        "                                  post a message (N times at once); MESSAGE is a number or a registered\n"
        "                                  name; --after-child: first wait for a top-level window with child ID\n"
        "  key HWND ID KEY...              focus control ID (0: keep the focus where it is) and press each KEY\n"
        "                                  there, as the keyboard would (posted key messages through the\n"
        "                                  program's message loop; a combo box gets them in its edit box): escape,\n"
        "                                  return, tab, alt+f4 or a virtual-key number\n"
        "  items HWND ID                   the items of combo box ID, one per line\n"
        "  scroll HWND ID CODE [POS]       send WM_HSCROLL (CODE: SB_ number, POS for thumb codes) from scroll bar ID to its parent\n"
        "  close HWND                      post WM_CLOSE\n"
        "  suspend HWND MS                 hold the thread of HWND for MS ms (as a long print holds it), taken\n"
        "                                  while the program waits for input\n"
        "  keys HWND KEY...                bring HWND to the front and type keys through the input queue;\n"
        "                                  KEY is a virtual-key number or RETURN, ESCAPE, TAB, SPACE, ALT+F4\n"
        "  select HWND ID TEXT             choose the combo-box item TEXT (or the first starting with it), as a click would\n"
        "  sysmenu HWND COMMAND            choose a system-menu command (posts WM_SYSCOMMAND)\n"
        "  gone HWND [--timeout MS]        wait until the window no longer exists\n"
        "  msgbox [--timeout MS]           wait for a message box and print its text\n"
        "  answer ID [--timeout MS]        wait for a message box and press its button ID (1 OK, 2 Cancel, 6 Yes, 7 No) until it closes\n"
        "  lvrows HWND ID                  the captions and rows of list view ID, cells separated by tabs\n"
        "  lvrect HWND ID ROW              screen rectangle of a list view row, then 1 when it is selected\n"
        "  lvcolumn HWND ID COLUMN         screen rectangle of a list view column heading\n"
        "Texts (T, output) are UTF-8.\n",
        stderr);
    return 2;
}

// The window with the keyboard focus in the thread of `hwnd`, or none.
HWND FocusOf(HWND hwnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

int TimeoutArg(int argc, char** argv, int def) {
    for (int i = 0; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--timeout") == 0) return std::atoi(argv[i + 1]);
    return def;
}

// A key name of the `keys` command as a virtual-key code (with Alt for "ALT+..."); 0 when unknown.
WORD KeyCode(const char* name, bool& alt) {
    alt = std::strncmp(name, "ALT+", 4) == 0;
    if (alt) name += 4;
    static const struct {
        const char* name;
        WORD vk;
    } kNames[] = {{"RETURN", VK_RETURN}, {"ESCAPE", VK_ESCAPE}, {"TAB", VK_TAB}, {"SPACE", VK_SPACE},
                  {"F4", VK_F4},         {"DOWN", VK_DOWN},     {"UP", VK_UP}};
    for (const auto& k : kNames)
        if (std::strcmp(name, k.name) == 0) return k.vk;
    return static_cast<WORD>(std::strtoul(name, nullptr, 0));
}

void AddKey(std::vector<INPUT>& inputs, WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(in);
}

HWND WaitMessageBox(int timeoutMs) {
    Query q;
    q.className = "#32770";
    q.childId = kMessageBoxTextId;
    // A dialog whose unnamed statics share the text's id is no message box: it has many children.
    q.maxChildren = 10;
    return WaitTop(q, timeoutMs);
}

}  // namespace

int Main(int argc, char** argv);

// Arguments are taken from the wide command line and handed on as UTF-8: Wine has already turned
// the narrow argv into the ANSI code page, which cannot be told apart from UTF-8 afterwards.
int main() {
    int argc = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(n, '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, &utf8[0], n, nullptr, nullptr);
        utf8.resize(n > 0 ? n - 1 : 0);
        args.push_back(utf8);
    }
    LocalFree(wide);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    return Main(argc, argv.data());
}

int Main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    if (const int rc = ListViewCommand(command, argc, argv); rc >= 0) return rc;

    if (command == "find") {
        Query q;
        for (int i = 2; i + 1 < argc; i += 2) {
            if (!std::strcmp(argv[i], "--class")) q.className = argv[i + 1];
            else if (!std::strcmp(argv[i], "--title")) q.title = FromUtf8(argv[i + 1]);
            else if (!std::strcmp(argv[i], "--prop")) q.prop = FromUtf8(argv[i + 1]);
            else if (!std::strcmp(argv[i], "--child")) q.childId = std::atoi(argv[i + 1]);
        }
        HWND hwnd = WaitTop(q, TimeoutArg(argc, argv, 10000));
        if (!hwnd) return 1;
        std::printf("%lld\n", static_cast<long long>(reinterpret_cast<INT_PTR>(hwnd)));
        return 0;
    }
    if (command == "rect" && argc >= 3) {
        HWND hwnd = ParseHwnd(argv[2]);
        RECT w{}, c{};
        if (!GetWindowRect(hwnd, &w)) return 1;
        GetClientRect(hwnd, &c);
        POINT origin{0, 0};
        ClientToScreen(hwnd, &origin);
        std::printf("window %ld %ld %ld %ld\nclient %ld %ld %ld %ld\n", w.left, w.top, w.right, w.bottom, origin.x,
                    origin.y, origin.x + c.right, origin.y + c.bottom);
        return 0;
    }
    if (command == "children" && argc >= 3) {
        HWND hwnd = ParseHwnd(argv[2]);
        if (!IsWindow(hwnd)) return 1;
        EnumChildWindows(hwnd, PrintChild, 0);
        return 0;
    }
    if (command == "text" && argc >= 3) {
        HWND window = ParseHwnd(argv[2]);
        if (argc == 3) {
            if (!IsWindow(window)) return 1;
            std::printf("%s\n", ToUtf8(WindowText(window)).c_str());
            return 0;
        }
        for (int i = 3; i < argc; ++i) {
            HWND control = FindControl(window, std::atoi(argv[i]));
            if (!IsWindow(control)) return 1;
            std::printf("%s\n", ToUtf8(WindowText(control)).c_str());
        }
        return 0;
    }
    if (command == "click" && argc >= 4) {
        const int id = std::atoi(argv[3]);
        HWND control = FindControl(ParseHwnd(argv[2]), id);
        if (!control) return 1;
        PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
        return 0;
    }
    if (command == "enabled" && argc >= 3) {
        HWND control = argc >= 4 ? FindControl(ParseHwnd(argv[2]), std::atoi(argv[3])) : ParseHwnd(argv[2]);
        if (!control) return 1;
        std::printf("%d\n", IsWindowEnabled(control) ? 1 : 0);
        return 0;
    }
    if (command == "settext" && argc >= 5) {
        HWND control = EditOf(FindControl(ParseHwnd(argv[2]), std::atoi(argv[3])));
        if (!control) return 1;
        const std::string text = FromUtf8(argv[4]);
        // Not abandoned when the program looks hung: Wine may count a thread as hung for a moment after
        // it blocked for a while (a 20 s exchange with the recorder). The text is read back, so a text
        // lost on a loaded machine is set again, and one that never takes is reported, not assumed.
        for (int attempt = 0; attempt < 3; ++attempt) {
            DWORD_PTR done = 0;
            SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 10000, &done);
            if (WindowText(control) == text) return 0;
        }
        std::fprintf(stderr, "settext: control %s still shows '%s'\n", argv[3], ToUtf8(WindowText(control)).c_str());
        return 1;
    }
    if (command == "press" && argc >= 4) {
        HWND control = FindControl(ParseHwnd(argv[2]), std::atoi(argv[3]));
        if (!control) return 1;
        return PostMessageA(control, BM_CLICK, 0, 0) ? 0 : 1;
    }
    if (command == "checked" && argc >= 4) {
        HWND control = FindControl(ParseHwnd(argv[2]), std::atoi(argv[3]));
        if (!control) return 1;
        DWORD_PTR state = 0;
        SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
        std::printf("%d\n", state == BST_CHECKED ? 1 : 0);
        return 0;
    }
    if (command == "focus" && argc >= 3) {
        HWND focus = FocusOf(ParseHwnd(argv[2]));
        std::printf("%d\n", focus ? GetDlgCtrlID(focus) : 0);
        return 0;
    }
    if (command == "setfocus" && argc >= 4) {
        HWND dialog = ParseHwnd(argv[2]);
        HWND control = FindControl(dialog, std::atoi(argv[3]));
        if (!control) return 1;
        return PostMessageA(GetParent(control), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE) ? 0 : 1;
    }
    if (command == "combo" && argc >= 4) {
        HWND combo = FindControl(ParseHwnd(argv[2]), std::atoi(argv[3]));
        if (!combo) return 1;
        DWORD_PTR count = 0, selected = 0;
        SendMessageTimeoutA(combo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
        SendMessageTimeoutA(combo, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &selected);
        std::printf("sel %d\n", static_cast<int>(static_cast<LRESULT>(selected)));
        for (DWORD_PTR i = 0; i < count; ++i) {
            // Wide, as for list boxes: item texts are not converted between processes.
            wchar_t item[256] = L"";
            DWORD_PTR copied = 0;
            SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item), SMTO_ABORTIFHUNG, 2000, &copied);
            char utf8[1024] = "";
            WideCharToMultiByte(CP_UTF8, 0, item, -1, utf8, sizeof utf8, nullptr, nullptr);
            std::printf("%s\n", utf8);
        }
        return 0;
    }
    if (command == "dropdown" && argc >= 5) {
        HWND combo = FindControl(ParseHwnd(argv[2]), std::atoi(argv[3]));
        if (!combo) return 1;
        return PostMessageA(combo, CB_SHOWDROPDOWN, std::atoi(argv[4]) ? TRUE : FALSE, 0) ? 0 : 1;
    }
    if (command == "dropped" && argc >= 4) {
        HWND combo = FindControl(ParseHwnd(argv[2]), std::atoi(argv[3]));
        if (!combo) return 1;
        DWORD_PTR state = 0;
        SendMessageTimeoutA(combo, CB_GETDROPPEDSTATE, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
        std::printf("%d\n", state ? 1 : 0);
        return 0;
    }
    if (command == "list" && argc >= 4) {
        HWND list = FindControl(ParseHwnd(argv[2]), std::atoi(argv[3]));
        if (!list) return 1;
        PrintRows(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
        return 0;
    }
    if (command == "post" && argc >= 4) {
        std::vector<char*> pos;
        int repeat = 1;
        Query after;
        for (int i = 2; i < argc; ++i) {
            if (!std::strcmp(argv[i], "--repeat") && i + 1 < argc) repeat = std::atoi(argv[++i]);
            else if (!std::strcmp(argv[i], "--after-child") && i + 1 < argc) after.childId = std::atoi(argv[++i]);
            else if (!std::strcmp(argv[i], "--timeout") && i + 1 < argc) ++i;
            else pos.push_back(argv[i]);
        }
        if (pos.size() < 2) return Usage();
        HWND hwnd = ParseHwnd(pos[0]);
        char* end = nullptr;
        UINT message = static_cast<UINT>(std::strtoul(pos[1], &end, 0));
        if (*end) message = RegisterWindowMessageA(pos[1]);
        const WPARAM wp = pos.size() >= 3 ? static_cast<WPARAM>(std::strtoll(pos[2], nullptr, 0)) : 0;
        const LPARAM lp = pos.size() >= 4 ? static_cast<LPARAM>(std::strtoll(pos[3], nullptr, 0)) : 0;
        // Waiting in this process keeps the time between the window's appearance and the post short.
        // The window waited for may be up for a few milliseconds only (a port search over ports that
        // all fail at once), so it is looked for every millisecond.
        if (after.childId && !WaitTop(after, TimeoutArg(argc, argv, 10000), 1)) return 1;
        for (int i = 0; i < repeat; ++i) {
            if (!PostMessageA(hwnd, message, wp, lp)) return 1;
        }
        return 0;
    }
    if (command == "key" && argc >= 5) {
        const int id = std::atoi(argv[3]);
        // ID 0: the control that has the focus now, where the keyboard's keys would go.
        // A combo box takes its keys in its edit box (the file dialog's name field).
        HWND control = id ? EditOf(FindControl(ParseHwnd(argv[2]), id)) : FocusOf(ParseHwnd(argv[2]));
        if (!control) return 1;
        // Focus can only be set on another thread's window while sharing its input state.
        const DWORD self = GetCurrentThreadId();
        const DWORD target = GetWindowThreadProcessId(control, nullptr);
        if (id) {
            AttachThreadInput(self, target, TRUE);
            SetFocus(control);
            AttachThreadInput(self, target, FALSE);
        }
        for (int i = 4; i < argc; ++i) {
            const std::string name = argv[i];
            const bool alt = name.rfind("alt+", 0) == 0;
            const std::string key = alt ? name.substr(4) : name;
            UINT vk = 0;
            if (key == "escape") vk = VK_ESCAPE;
            else if (key == "return") vk = VK_RETURN;
            else if (key == "tab") vk = VK_TAB;
            else if (key == "f4") vk = VK_F4;
            else vk = static_cast<UINT>(std::strtoul(key.c_str(), nullptr, 0));
            if (vk == 0) return Usage();
            const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
            const LPARAM altBit = alt ? (LPARAM{1} << 29) : 0;  // the context code: Alt is down
            PostMessageA(control, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 1 | scan | altBit);
            PostMessageA(control, alt ? WM_SYSKEYUP : WM_KEYUP, vk,
                         static_cast<LPARAM>(1 | scan | altBit | (LPARAM{3} << 30)));
        }
        return 0;
    }
    if (command == "scroll" && argc >= 5) {
        HWND bar = FindControl(ParseHwnd(argv[2]), std::atoi(argv[3]));
        if (!bar) return 1;
        const int code = std::atoi(argv[4]);
        const int pos = argc >= 6 ? std::atoi(argv[5]) : 0;
        if (code == SB_THUMBTRACK) {
            // A real drag reports the track position through GetScrollInfo as well.
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_POS;
            info.nPos = pos;
            SetScrollInfo(bar, SB_CTL, &info, FALSE);
        }
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(GetParent(bar), WM_HSCROLL, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(bar),
                                   SMTO_ABORTIFHUNG, 5000, &result) ? 0 : 1;
    }
    if (command == "close" && argc >= 3) {
        return PostMessageA(ParseHwnd(argv[2]), WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (command == "suspend" && argc >= 4) {
        DWORD pid = 0;
        const DWORD tid = GetWindowThreadProcessId(ParseHwnd(argv[2]), &pid);
        if (!tid) return 1;
        // Between two messages the thread holds no lock that the program's other threads need.
        if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid)) {
            WaitForInputIdle(process, 5000);
            CloseHandle(process);
        }
        HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, tid);
        if (!thread) return 1;
        const bool held = SuspendThread(thread) != static_cast<DWORD>(-1);
        if (held) {
            Sleep(static_cast<DWORD>(std::atoi(argv[3])));
            ResumeThread(thread);
        }
        CloseHandle(thread);
        return held ? 0 : 1;
    }
    if (command == "keys" && argc >= 4) {
        HWND hwnd = ParseHwnd(argv[2]);
        if (!IsWindow(hwnd)) return 1;
        SetForegroundWindow(hwnd);
        for (int i = 0; i < 40 && GetForegroundWindow() != hwnd; ++i) Sleep(50);
        if (GetForegroundWindow() != hwnd) return 1;
        std::vector<INPUT> inputs;
        for (int i = 3; i < argc; ++i) {
            bool alt = false;
            const WORD vk = KeyCode(argv[i], alt);
            if (!vk) return Usage();
            if (alt) AddKey(inputs, VK_MENU, false);
            AddKey(inputs, vk, false);
            AddKey(inputs, vk, true);
            if (alt) AddKey(inputs, VK_MENU, true);
        }
        return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size() ? 0 : 1;
    }
    if (command == "select" && argc >= 5) {
        HWND combo = FindControl(ParseHwnd(argv[2]), std::atoi(argv[3]));
        if (!combo) return 1;
        const std::string text = FromUtf8(argv[4]);
        const LPARAM wanted = reinterpret_cast<LPARAM>(text.c_str());
        DWORD_PTR index = static_cast<DWORD_PTR>(CB_ERR);
        SendMessageTimeoutA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), wanted, SMTO_ABORTIFHUNG, 2000, &index);
        if (static_cast<LRESULT>(index) == CB_ERR)
            SendMessageTimeoutA(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), wanted, SMTO_ABORTIFHUNG, 2000, &index);
        if (static_cast<LRESULT>(index) == CB_ERR) return 1;
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(combo, CB_SETCURSEL, index, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
        const WPARAM notice = MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE);
        return PostMessageA(GetParent(combo), WM_COMMAND, notice, reinterpret_cast<LPARAM>(combo)) ? 0 : 1;
    }
    if (command == "sysmenu" && argc >= 4) {
        return PostMessageA(ParseHwnd(argv[2]), WM_SYSCOMMAND, std::strtoul(argv[3], nullptr, 0), 0) ? 0 : 1;
    }
    if (command == "gone" && argc >= 3) {
        return WaitGone(ParseHwnd(argv[2]), TimeoutArg(argc, argv, 10000)) ? 0 : 1;
    }
    if (command == "items" && argc >= 4) {
        HWND combo = FindControl(ParseHwnd(argv[2]), std::atoi(argv[3]));
        if (!combo) return 1;
        PrintRows(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
        return 0;
    }
    if (command == "msgbox") {
        const DWORD start = GetTickCount();
        const int timeout = TimeoutArg(argc, argv, 10000);
        HWND box = WaitMessageBox(timeout);
        if (!box) return 1;
        // A box can be visible a moment before its text is set: wait for the text as well.
        std::string text = WindowText(GetDlgItem(box, kMessageBoxTextId));
        while (text.empty() && IsWindow(box) && static_cast<int>(GetTickCount() - start) < timeout) {
            Sleep(50);
            text = WindowText(GetDlgItem(box, kMessageBoxTextId));
        }
        std::printf("%s\n", ToUtf8(text).c_str());
        return 0;
    }
    if (command == "answer" && argc >= 3) {
        HWND box = WaitMessageBox(TimeoutArg(argc, argv, 10000));
        if (!box) return 1;
        const int id = std::atoi(argv[2]);
        HWND button = GetDlgItem(box, id);
        // The answer is posted again while the box stays (once it was not taken on a loaded
        // machine); a box still open after that is reported, not assumed closed.
        for (int attempt = 0; attempt < 3; ++attempt) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
            if (WaitGone(box, 3000, true)) return 0;
            std::fprintf(stderr, "answer: box still open after %d tries\n", attempt + 1);
        }
        return 1;
    }
    return Usage();
}
