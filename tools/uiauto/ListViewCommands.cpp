// uiauto's list-view commands: rows, row and column rectangles of another process's report list,
// read through memory allocated in that process (list-view messages carry pointers).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Controls.h"
#include "ListViewCommands.h"

namespace {

// A block of memory in the process that owns a window.
class RemoteBlock {
public:
    RemoteBlock(HWND window, SIZE_T size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBlock() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    bool Ok() const { return address_ != nullptr; }
    char* At(SIZE_T offset) const { return static_cast<char*>(address_) + offset; }
    bool Write(SIZE_T offset, const void* data, SIZE_T size) {
        return offset + size <= size_ && WriteProcessMemory(process_, At(offset), data, size, nullptr);
    }
    bool Read(SIZE_T offset, void* data, SIZE_T size) const {
        return offset + size <= size_ && ReadProcessMemory(process_, At(offset), data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    SIZE_T size_;
};

constexpr SIZE_T kTextOffset = 512;
constexpr int kTextSize = 1024;

// Asks `window` for a text through `message` with `item` (an LVITEMW or HDITEMW) in the other
// process. Wide messages: their texts need no conversion between the two processes' code pages.
template <typename Item>
std::string RemoteText(HWND window, RemoteBlock& block, UINT message, WPARAM wParam, Item item) {
    item.pszText = reinterpret_cast<LPWSTR>(block.At(kTextOffset));
    item.cchTextMax = kTextSize / 2;
    wchar_t text[kTextSize / 2] = L"";
    block.Write(kTextOffset, text, sizeof text);
    block.Write(0, &item, sizeof item);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, message, wParam, reinterpret_cast<LPARAM>(block.At(0)), SMTO_ABORTIFHUNG, 5000, &ignored);
    block.Read(kTextOffset, text, sizeof text);
    text[kTextSize / 2 - 1] = L'\0';
    return WideToUtf8(text);
}

std::string CellText(HWND list, RemoteBlock& block, int row, int column) {
    LVITEMW item{};
    item.iSubItem = column;
    return RemoteText(list, block, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), item);
}

std::string Caption(HWND header, RemoteBlock& block, int column) {
    HDITEMW item{};
    item.mask = HDI_TEXT;
    return RemoteText(header, block, HDM_GETITEMW, static_cast<WPARAM>(column), item);
}

}  // namespace

// "lvrows HWND ID": the column captions, then one line per row; cells separated by tabs.
// "lvrect HWND ID ROW": the row's rectangle in screen coordinates, and 1 when it is selected.
// "lvcolumn HWND ID COLUMN": the column heading's rectangle in screen coordinates.
// Returns -1 for other commands.
int ListViewCommand(const std::string& command, int argc, char** argv) {
    const bool known = (command == "lvrows" && argc >= 4) || (command == "lvrect" && argc >= 5) ||
                       (command == "lvcolumn" && argc >= 5);
    if (!known) return -1;
    HWND list = FindControl(reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(argv[2], nullptr, 0))),
                            std::atoi(argv[3]));
    if (!list) return 1;
    RemoteBlock block(list, kTextOffset + kTextSize);
    if (!block.Ok()) return 1;
    DWORD_PTR value = 0;
    if (command == "lvrect") {
        const int row = std::atoi(argv[4]);
        RECT r{LVIR_BOUNDS, 0, 0, 0};
        block.Write(0, &r, sizeof r);
        SendMessageTimeoutW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(block.At(0)), SMTO_ABORTIFHUNG, 5000, &value);
        if (!value) return 1;
        block.Read(0, &r, sizeof r);
        MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
        SendMessageTimeoutW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED, SMTO_ABORTIFHUNG, 5000, &value);
        std::printf("%ld %ld %ld %ld %d\n", r.left, r.top, r.right, r.bottom, value ? 1 : 0);
        return 0;
    }
    SendMessageTimeoutW(list, LVM_GETHEADER, 0, 0, SMTO_ABORTIFHUNG, 5000, &value);
    HWND header = reinterpret_cast<HWND>(value);
    if (command == "lvcolumn") {
        RECT r{};
        block.Write(0, &r, sizeof r);
        SendMessageTimeoutW(header, HDM_GETITEMRECT, std::atoi(argv[4]), reinterpret_cast<LPARAM>(block.At(0)),
                            SMTO_ABORTIFHUNG, 5000, &value);
        if (!value) return 1;
        block.Read(0, &r, sizeof r);
        MapWindowPoints(header, nullptr, reinterpret_cast<POINT*>(&r), 2);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        return 0;
    }
    DWORD_PTR columns = 0, rows = 0;
    SendMessageTimeoutW(header, HDM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &columns);
    SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &rows);
    for (int c = 0; c < static_cast<int>(columns); ++c) std::printf("%s%s", c ? "\t" : "", Caption(header, block, c).c_str());
    std::printf("\n");
    for (int r = 0; r < static_cast<int>(rows); ++r) {
        for (int c = 0; c < static_cast<int>(columns); ++c)
            std::printf("%s%s", c ? "\t" : "", CellText(list, block, r, c).c_str());
        std::printf("\n");
    }
    return 0;
}
