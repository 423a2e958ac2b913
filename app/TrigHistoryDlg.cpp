// Trigger history window: a virtual report list over the history's rows, anchored layout, keys and
// mouse on the list, progress of the background reading.
#include "app/TrigHistoryDlg.h"

#include <algorithm>
#include <cstdio>

#include "resources/TrigHistoryResource.h"
#include "ui/ModelessKeys.h"

namespace {

using app::HistoryColumn;

// The widest text each column is made for, besides its caption with a sort mark.
constexpr const char* kWidestCells[app::kHistoryColumnCount] = {
    "2024/12/31 23:59:59", "00000.00", "20241231_235959.csv (+9)", "0000.00", "0000.00", "0000.00", "0000.00",
    "-0.0", "6強"};

bool RightAligned(HistoryColumn c) {
    return c != HistoryColumn::Time && c != HistoryColumn::File && c != HistoryColumn::Class;
}

}  // namespace

CTrigHistoryDlg::CTrigHistoryDlg(HistoryWindowOwner& history) : ui::Dialog(IDD_TRIG_HISTORY, nullptr), history_(history) {}

BOOL CTrigHistoryDlg::OnInitDialog() {
    HWND hwnd = Handle();
    list_ = Item(IDC_HISTORY_LIST);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    RECT client{};
    GetClientRect(hwnd, &client);
    initialClient_ = {client.right, client.bottom};
    RECT window{};
    GetWindowRect(hwnd, &window);
    // Smaller than this, the buttons would overlap the status line.
    minTrack_ = {(window.right - window.left) * 2 / 3, (window.bottom - window.top) / 2};
    anchors_ = {
        {IDC_HISTORY_LIST, ItemRectInClient(IDC_HISTORY_LIST), true, true, true},
        {IDC_HISTORY_STATUS, ItemRectInClient(IDC_HISTORY_STATUS), false, true, false},
        {IDC_HISTORY_PROGRESS, ItemRectInClient(IDC_HISTORY_PROGRESS), false, true, false},
        {IDC_HISTORY_LOAD, ItemRectInClient(IDC_HISTORY_LOAD), true, true, false},
        {IDC_HISTORY_EXPORT, ItemRectInClient(IDC_HISTORY_EXPORT), true, true, false},
        {IDCANCEL, ItemRectInClient(IDCANCEL), true, true, false},
    };
    int listWidth = GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE);
    for (int c = 0; c < app::kHistoryColumnCount; ++c) {
        const std::string caption = std::string(app::HistoryColumnCaption(static_cast<HistoryColumn>(c))) + " ▼";
        const int text = std::max(ListView_GetStringWidth(list_, caption.c_str()), ListView_GetStringWidth(list_, kWidestCells[c]));
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = RightAligned(static_cast<HistoryColumn>(c)) ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = text + 16;  // the list's own margins on both sides of a cell
        column.pszText = const_cast<char*>(app::HistoryColumnCaption(static_cast<HistoryColumn>(c)));
        column.iSubItem = c;
        SendMessageA(list_, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
        listWidth += column.cx;
    }
    FitListWidth(listWidth);  // the anchors move the controls along
    ui::AddModelessDialog(hwnd);
    Refresh();
    if (ListView_GetItemCount(list_) > 0) ListView_SetItemState(list_, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetFocus(list_);
    return FALSE;  // the focus is set
}

void CTrigHistoryDlg::RememberSelection() {
    if (!Handle()) return;
    const std::vector<const app::TriggerEvent*>& rows = history_.List().Rows();
    const int selected = SelectedRow();
    keepSelection_ = selected >= 0 && selected < static_cast<int>(rows.size());
    if (!keepSelection_) return;
    keepGroup_ = rows[static_cast<std::size_t>(selected)]->group;
}

void CTrigHistoryDlg::Refresh() {
    if (!Handle()) return;
    const std::vector<const app::TriggerEvent*>* rows = &history_.List().Rows();
    ListView_SetItemCountEx(list_, static_cast<int>(rows->size()), LVSICF_NOSCROLL);
    if (keepSelection_) {
        ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (std::size_t i = 0; i < rows->size(); ++i) {
            if ((*rows)[i]->group != keepGroup_) continue;
            ListView_SetItemState(list_, static_cast<int>(i), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            ListView_EnsureVisible(list_, static_cast<int>(i), FALSE);
            break;
        }
        keepSelection_ = false;
    }
    InvalidateRect(list_, nullptr, FALSE);
    ShowColumnCaptions();

    const app::HistoryProgress progress = history_.Progress();
    char text[128];
    if (progress.busy && progress.total > 0) {
        std::snprintf(text, sizeof text, "トリガファイルを読み込み中… %d / %d", progress.done, progress.total);
    } else if (progress.busy) {
        std::snprintf(text, sizeof text, "トリガファイルを確認中…");
    } else if (rows->empty()) {
        std::snprintf(text, sizeof text, "トリガ記録はありません。");
    } else {
        std::snprintf(text, sizeof text, "%u 件", static_cast<unsigned>(rows->size()));
    }
    SetItemText(IDC_HISTORY_STATUS, text);
    HWND bar = Item(IDC_HISTORY_PROGRESS);
    SendMessageA(bar, PBM_SETRANGE32, 0, progress.total > 0 ? progress.total : 1);
    SendMessageA(bar, PBM_SETPOS, progress.done, 0);
    ShowWindow(bar, progress.busy && progress.total > 0 ? SW_SHOW : SW_HIDE);
}

void CTrigHistoryDlg::ShowColumnCaptions() {
    for (int c = 0; c < app::kHistoryColumnCount; ++c) {
        const HistoryColumn column = static_cast<HistoryColumn>(c);
        std::string caption = app::HistoryColumnCaption(column);
        if (column == history_.List().SortColumn()) caption += history_.List().Ascending() ? " ▲" : " ▼";
        LVCOLUMNA lvc{};
        lvc.mask = LVCF_TEXT;
        lvc.pszText = &caption[0];
        SendMessageA(list_, LVM_SETCOLUMNA, c, reinterpret_cast<LPARAM>(&lvc));
    }
}

void CTrigHistoryDlg::FitListWidth(int listWidth) {
    // Widen the window so every column shows, as far as the screen allows, and centre it again.
    HWND hwnd = Handle();
    RECT list = ItemRectInClient(IDC_HISTORY_LIST);
    const int extra = listWidth - (list.right - list.left);
    RECT window{};
    GetWindowRect(hwnd, &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = std::min<int>(window.right - window.left + std::max(extra, 0), work.right - work.left);
    const int height = window.bottom - window.top;
    RECT around = work;
    if (HWND owner = GetWindow(hwnd, GW_OWNER)) GetWindowRect(owner, &around);
    int x = (around.left + around.right - width) / 2;
    int y = (around.top + around.bottom - height) / 2;
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int CTrigHistoryDlg::SelectedRow() const {
    return static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool CTrigHistoryDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_NOTIFY:
        result = OnNotify(reinterpret_cast<const NMHDR*>(lParam));
        return true;
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        result = 0;
        return true;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        result = 0;
        return true;
    case WM_CLOSE:
        OnCancel();
        result = 0;
        return true;
    case WM_ACTIVATE:
        ui::ModelessDialogActivated(Handle(), LOWORD(wParam) != WA_INACTIVE);
        return ui::Dialog::HandleMessage(message, wParam, lParam, result);  // the focus is kept as usual
    default:
        return ui::Dialog::HandleMessage(message, wParam, lParam, result);
    }
}

LRESULT CTrigHistoryDlg::OnNotify(const NMHDR* header) {
    if (!header || header->idFrom != IDC_HISTORY_LIST) return 0;
    switch (header->code) {
    case LVN_GETDISPINFOA:
        OnGetDispInfo(reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(header)));
        return 0;
    case LVN_COLUMNCLICK:
        OnColumnClick(reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
        return 0;
    case NM_DBLCLK:
        LoadRow(reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem);
        return 0;
    default:
        return 0;
    }
}

void CTrigHistoryDlg::OnGetDispInfo(NMLVDISPINFOA* info) {
    if (!(info->item.mask & LVIF_TEXT) || !info->item.pszText || info->item.cchTextMax <= 0) return;
    const std::vector<const app::TriggerEvent*>& rows = history_.List().Rows();
    const int row = info->item.iItem;
    const int column = info->item.iSubItem;
    cell_.clear();
    if (row >= 0 && row < static_cast<int>(rows.size()) && column >= 0 && column < app::kHistoryColumnCount)
        cell_ = app::HistoryCellText(*rows[static_cast<std::size_t>(row)], static_cast<HistoryColumn>(column));
    lstrcpynA(info->item.pszText, cell_.c_str(), info->item.cchTextMax);
}

void CTrigHistoryDlg::OnColumnClick(int column) {
    if (column < 0 || column >= app::kHistoryColumnCount) return;
    RememberSelection();
    history_.List().SortBy(static_cast<HistoryColumn>(column));
    Refresh();
}

void CTrigHistoryDlg::OnCommand(int id, int code, HWND control) {
    if (code == BN_CLICKED && id == IDC_HISTORY_LOAD) {
        LoadRow(SelectedRow());
        return;
    }
    if (code == BN_CLICKED && id == IDC_HISTORY_EXPORT) {
        history_.ExportList(Handle());
        return;
    }
    ui::Dialog::OnCommand(id, code, control);
}

void CTrigHistoryDlg::OnOK() { LoadRow(SelectedRow()); }

void CTrigHistoryDlg::OnCancel() { DestroyWindow(Handle()); }

void CTrigHistoryDlg::OnNcDestroy() {
    ui::RemoveModelessDialog(Handle());
    list_ = nullptr;
}

void CTrigHistoryDlg::LoadRow(int row) {
    const std::vector<const app::TriggerEvent*>& rows = history_.List().Rows();
    if (row < 0 || row >= static_cast<int>(rows.size())) return;
    // A copy: loading may run messages that change the list.
    const app::TriggerEvent event = *rows[static_cast<std::size_t>(row)];
    history_.LoadForReview(Handle(), event);
}

void CTrigHistoryDlg::OnSize(int width, int height) {
    if (anchors_.empty()) return;
    const int dx = width - initialClient_.cx;
    const int dy = height - initialClient_.cy;
    HDWP positions = BeginDeferWindowPos(static_cast<int>(anchors_.size()));
    for (const Anchor& a : anchors_) {
        RECT r = a.rect;
        if (a.grow) {
            r.right += dx;
            r.bottom += dy;
        } else {
            if (a.right) OffsetRect(&r, dx, 0);
            if (a.bottom) OffsetRect(&r, 0, dy);
        }
        if (positions)
            positions = DeferWindowPos(positions, Item(a.id), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (positions) EndDeferWindowPos(positions);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void CTrigHistoryDlg::OnGetMinMaxInfo(MINMAXINFO* info) const {
    if (minTrack_.cx <= 0) return;
    info->ptMinTrackSize.x = minTrack_.cx;
    info->ptMinTrackSize.y = minTrack_.cy;
}
