// Trigger history window: a virtual report list over the history's rows, anchored layout, keys and
// mouse on the list, progress of the background reading.
#include "app/TrigHistoryDlg.h"

#include "resources/TrigHistoryResource.h"
#include "ui/ModelessKeys.h"

using app::HistoryColumn;

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
    auto place = [this](int id) { return ui::FromRECT(ItemRectInClient(id)); };
    anchors_ = {ui::Grows(IDC_HISTORY_LIST, place(IDC_HISTORY_LIST)),
                ui::MovesDown(IDC_HISTORY_STATUS, place(IDC_HISTORY_STATUS)),
                ui::MovesDown(IDC_HISTORY_PROGRESS, place(IDC_HISTORY_PROGRESS)),
                ui::MovesWithCorner(IDC_HISTORY_LOAD, place(IDC_HISTORY_LOAD)),
                ui::MovesWithCorner(IDC_HISTORY_EXPORT, place(IDC_HISTORY_EXPORT)),
                ui::MovesWithCorner(IDCANCEL, place(IDCANCEL))};
    int listWidth = GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE);
    for (int c = 0; c < app::kHistoryColumnCount; ++c) {
        const HistoryColumn hc = static_cast<HistoryColumn>(c);
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = app::HistoryColumnRightAligned(hc) ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = app::HistoryColumnWidth(hc, [this](const char* text) { return ListView_GetStringWidth(list_, text); });
        column.pszText = const_cast<char*>(app::HistoryColumnCaption(hc));
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
    if (Handle()) selection_.Remember(history_.List().Rows(), SelectedRow());
}

void CTrigHistoryDlg::Refresh() {
    if (!Handle()) return;
    const app::HistoryRows& rows = history_.List().Rows();
    ListView_SetItemCountEx(list_, static_cast<int>(rows.size()), LVSICF_NOSCROLL);
    if (const std::optional<int> row = selection_.TakeRow(rows)) {
        ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        if (*row >= 0) {
            ListView_SetItemState(list_, *row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            ListView_EnsureVisible(list_, *row, FALSE);
        }
    }
    InvalidateRect(list_, nullptr, FALSE);
    ShowColumnCaptions();

    const app::HistoryStatusLine status = app::HistoryStatusOf(history_.Progress(), rows.size());
    SetItemText(IDC_HISTORY_STATUS, status.text);
    HWND bar = Item(IDC_HISTORY_PROGRESS);
    SendMessageA(bar, PBM_SETRANGE32, 0, status.barRange);
    SendMessageA(bar, PBM_SETPOS, status.barPos, 0);
    ShowWindow(bar, status.barShown ? SW_SHOW : SW_HIDE);
}

void CTrigHistoryDlg::ShowColumnCaptions() {
    for (int c = 0; c < app::kHistoryColumnCount; ++c) {
        std::string caption =
            app::HistoryHeading(static_cast<HistoryColumn>(c), history_.List().SortColumn(), history_.List().Ascending());
        LVCOLUMNA lvc{};
        lvc.mask = LVCF_TEXT;
        lvc.pszText = &caption[0];
        SendMessageA(list_, LVM_SETCOLUMNA, c, reinterpret_cast<LPARAM>(&lvc));
    }
}

void CTrigHistoryDlg::FitListWidth(int listWidth) {
    // Widen the window so every column shows, as far as the screen allows, and centre it again.
    HWND hwnd = Handle();
    const RECT list = ItemRectInClient(IDC_HISTORY_LIST);
    RECT window{};
    GetWindowRect(hwnd, &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT around = monitor.rcWork;
    if (HWND owner = GetWindow(hwnd, GW_OWNER)) GetWindowRect(owner, &around);
    const ui::Rect r = ui::WidenAndCentre(ui::FromRECT(window), listWidth - (list.right - list.left),
                                          ui::FromRECT(monitor.rcWork), ui::FromRECT(around));
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
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
        app::SortHistory(history_.List(), reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem, *this);
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
    cell_ = app::HistoryCell(history_.List().Rows(), info->item.iItem, info->item.iSubItem);
    lstrcpynA(info->item.pszText, cell_.c_str(), info->item.cchTextMax);
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
    const app::TriggerEvent* chosen = app::HistoryRowAt(history_.List().Rows(), row);
    if (!chosen) return;
    // A copy: loading may run messages that change the list.
    const app::TriggerEvent event = *chosen;
    history_.LoadForReview(Handle(), event);
}

void CTrigHistoryDlg::OnSize(int width, int height) {
    if (anchors_.empty()) return;
    const int dx = width - initialClient_.cx;
    const int dy = height - initialClient_.cy;
    HDWP positions = BeginDeferWindowPos(static_cast<int>(anchors_.size()));
    for (const ui::Anchor& a : anchors_) {
        const ui::Rect r = ui::Anchored(a, dx, dy);
        if (positions)
            positions = DeferWindowPos(positions, Item(a.id), nullptr, r.left, r.top, r.Width(), r.Height(),
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
