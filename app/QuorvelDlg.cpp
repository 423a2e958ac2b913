// Main window: panes, layout, icon, system menu, placement, the instance property and the
// registered messages.
#include "app/QuorvelDlg.h"

#include "app/AboutDlg.h"
#include "app/BtnDialog.h"
#include "app/Messages.h"
#include "app/QuorvelApp.h"
#include "app/TrigHistory.h"
#include "config/Win32Version.h"
#include "graphs/GraphCtrl.h"
#include "graphs/GraphMoniDialog.h"
#include "graphs/MonitorLayout.h"
#include "graphs/PsdMoniDialog.h"
#include "graphs/SavePicture.h"
#include "resources/SeedResource.h"
#include "resources/TrigHistoryResource.h"
#include "seed/SeedArchive.h"
#include "ui/MessageBox.h"

namespace {

int Width(const RECT& r) { return r.right - r.left; }

// Commands appended to the system menu after one separator, each with its string resource; an item
// whose text cannot be loaded is left out.
struct SystemMenuItem {
    UINT command;
    UINT text;
};
constexpr SystemMenuItem kSystemMenuItems[] = {
    {IDM_ABOUTBOX, IDS_ABOUTBOX},
    {IDM_TRIG_HISTORY, IDS_TRIG_HISTORY},
    {IDM_SEED, IDS_SEED},
    {IDM_SAVE_PICTURE, IDS_SAVE_PICTURE},  // last: the keyboard reaches it with Alt+Space, Up
};

void AppendSystemMenuItems(HWND hwnd) {
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    bool separated = false;
    for (const SystemMenuItem& item : kSystemMenuItems) {
        char text[256] = "";
        LoadStringA(GetModuleHandleA(nullptr), item.text, text, sizeof text);
        if (!text[0]) continue;
        if (!separated) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        separated = true;
        AppendMenuA(menu, MF_STRING, item.command, text);
    }
}

}  // namespace

CQuorvelDlg::CQuorvelDlg()
    : ui::Dialog(IDD_QUORVEL_DIALOG, nullptr), sampleThrottle_(
          sampleTimer_, [] { return theApp.OnSampleData(true); }, [] { return theApp.link.samples.FinishNotice(); }) {}

CQuorvelDlg::~CQuorvelDlg() = default;

BOOL CQuorvelDlg::OnInitDialog() {
    HWND hwnd = Handle();
    sampleTimer_.window = hwnd;
    AppendSystemMenuItems(hwnd);

    icon_ = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_QUORVEL));
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

    RECT client{};
    GetClientRect(hwnd, &client);
    minClient_ = {client.right, client.bottom};

    theApp.settings.mainPlacement.Restore(hwnd, false);

    mainWindowHandle.store(hwnd);
    panel_ = std::make_unique<CBtnDialog>(*this);
    // Both monitors show the application's settings, rings, peaks and measurement state.
    const monitor::MonitorModel model{&theApp.settings,   &theApp.analysis,
                                      theApp.waveBuffers, theApp.session.RunningFlag(),
                                      &theApp.peaks,
                                      &theApp.session.reviewBaseTime};
    waveMonitor_ = std::make_unique<CGraphMoniDialog>(model);
    psdMonitor_ = std::make_unique<CPsdMoniDialog>(model);
    panel_->Create(hwnd);
    waveMonitor_->Create(hwnd);
    psdMonitor_->Create(hwnd);
    GetWindowRect(panel_->Handle(), &panelRect_);
    GetWindowRect(waveMonitor_->Handle(), &waveRect_);
    GetWindowRect(psdMonitor_->Handle(), &psdRect_);

    // Review windows, the scale menu and the frequency-axis menu reach the other monitor's graphs.
    waveMonitor_->reviewPsd = [this](int start, int count) { psdMonitor_->ShowWindowAt(start, count); };
    waveMonitor_->scaleChanged = [this] { psdMonitor_->RepaintGraphs(); };
    psdMonitor_->axisChanged = [this] { waveMonitor_->RepaintGraphs(); };

    theApp.session.AttachMonitors(this);

    LayoutPanes();
    ShowWindow(waveMonitor_->Handle(), SW_SHOW);
    ShowWindow(psdMonitor_->Handle(), SW_SHOW);
    ShowWindow(panel_->Handle(), SW_SHOW);

    RestoreTitle();
    SetPropA(hwnd, kInstanceName, reinterpret_cast<HANDLE>(1));
    theTrigHistory.Start(hwnd);
    app::RouteBatches({theApp.pipeline, theApp.recorder, theApp.waveBuffers,
                       [](const device::SampleBatch& counts) { theSeedArchive.OnBatch(counts); },
                       [] { theApp.linkSink.SamplesQueued(); }, *this});
    initialised_ = true;
    return TRUE;
}

void CQuorvelDlg::RestoreTitle() {
    SetWindowTextA(Handle(), BuildMainTitle(theApp.settings.title).c_str());
}

void CQuorvelDlg::ResetMonitors() {
    waveMonitor_->ResetForMeasurement();
    waveMonitor_->LeaveReview();
    psdMonitor_->ResetForMeasurement();
}

void CQuorvelDlg::AdvanceGraphs(int n) {
    if (waveMonitor_) waveMonitor_->AdvanceGraphs(n);
    if (psdMonitor_) psdMonitor_->AdvanceGraphs(n);
}

void CQuorvelDlg::ShowTriggerMarkers(const std::array<bool, 3>& shown) {
    for (int axis = 0; axis < 3; ++axis) waveMonitor_->SetTriggerMarker(axis, shown[static_cast<size_t>(axis)]);
}

void CQuorvelDlg::ShowLowPass(const std::string& text) {
    if (panel_) panel_->ShowLowPass(text);
}

void CQuorvelDlg::TriggerRecordingEnded(const std::vector<std::string>& paths) {
    theTrigHistory.OnTriggerRecordingEnded(paths);
}

void CQuorvelDlg::ReviewAfterStop() {
    for (int axis = 0; axis < 3; ++axis) waveMonitor_->SetTriggerMarker(axis, false);
    waveMonitor_->EnterReview();
}

void CQuorvelDlg::RepaintGraphs() {
    waveMonitor_->RepaintGraphs();
    psdMonitor_->RepaintGraphs();
}

void CQuorvelDlg::LayoutPanes() {
    HWND hwnd = Handle();
    const int psdWidth = Width(psdRect_);
    const bool psdOn = theApp.settings.psdFlg != 0;

    RECT client{};
    GetClientRect(hwnd, &client);
    if (const int missing = monitor::MissingWidth(client.right, minClient_.cx, psdWidth, psdOn)) {
        RECT window{};
        GetWindowRect(hwnd, &window);
        SetWindowPos(hwnd, nullptr, 0, 0, Width(window) + missing, window.bottom - window.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        GetClientRect(hwnd, &client);
    }
    const monitor::PaneBoxes panes =
        monitor::LayOutPanes({client.right, client.bottom}, Width(panelRect_), psdWidth, psdOn);
    const std::pair<HWND, monitor::Box> moves[] = {
        {panel_->Handle(), panes.panel}, {psdMonitor_->Handle(), panes.psd}, {waveMonitor_->Handle(), panes.wave}};
    for (const auto& [window, box] : moves) MoveWindow(window, box.x, box.y, box.w, box.h, TRUE);
    layoutPending_ = false;
}

void CQuorvelDlg::RefreshAfterSettings() {
    LayoutPanes();  // [PSD] FLG may have changed
    waveMonitor_->ApplyGraphSettings();
    waveMonitor_->ApplyFieldColors();
    waveMonitor_->RepaintGraphs();  // trigger levels and their labels
    InvalidateRect(waveMonitor_->Handle(), nullptr, TRUE);
    psdMonitor_->ApplyGraphSettings();
    psdMonitor_->ApplyFieldColors();
    // In review the window is shown again from position 0 with the new settings.
    if (IsWindowEnabled(GetDlgItem(waveMonitor_->Handle(), IDC_GM_SCROLL))) waveMonitor_->EnterReview();
}

bool CQuorvelDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (message == MSG_81577DB4) { sampleThrottle_.OnNotice(); return true; }
    if (message == MSG_ADA8E3B9) { OnLinkEvent(); return true; }
    if (message == MSG_9388BF10) { OnReviewSetup(); return true; }
    if (message == MSG_C501B7B2) {
        theApp.session.Toggle();
        return true;
    }
    switch (message) {
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wParam));
    case WM_CLOSE:
        OnClose();
        return true;
    case WM_PAINT:
        if (IsIconic(Handle())) {
            OnPaint();
            return true;
        }
        if (layoutPending_) LayoutPanes();
        return false;
    case WM_TIMER:
        if (wParam != kSampleTimer) return false;
        sampleThrottle_.OnTick();
        return true;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(icon_);
        return true;
    case WM_SIZE:
        OnSize();
        return false;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return false;
    case kMsgHistoryNotice:
        theTrigHistory.OnNotice();
        return true;
    case kMsgPortChanged:
        theApp.TakePortChange();
        return true;
    default:
        return ui::Dialog::HandleMessage(message, wParam, lParam, result);
    }
}

bool CQuorvelDlg::OnSysCommand(UINT command) {
    switch (command & 0xFFF0) {
    case IDM_ABOUTBOX: {
        CAboutDlg about(Handle());
        about.DoModal();
        return true;
    }
    case IDM_SAVE_PICTURE:
        SaveWindowPicture(Handle(), theApp.settings.saveDirectory);
        return true;
    case IDM_TRIG_HISTORY:
        theTrigHistory.OpenWindow();
        return true;
    case IDM_SEED:
        theSeedArchive.OpenDialog(Handle());
        return true;
    default:
        return false;
    }
}

void CQuorvelDlg::OnClose() {
    if (theApp.session.Running()) {
        ui::ShowMessage(Handle(), "計測実行中はウィンドウを閉じることはできません。", MB_OK | MB_ICONINFORMATION);
        return;
    }
    EndDialog(IDCANCEL);
}

void CQuorvelDlg::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT client{};
    GetClientRect(Handle(), &client);
    const int cx = GetSystemMetrics(SM_CXICON);
    const int cy = GetSystemMetrics(SM_CYICON);
    DrawIcon(dc, (client.right - cx + 1) / 2, (client.bottom - cy + 1) / 2, icon_);
    EndPaint(Handle(), &ps);
}

void CQuorvelDlg::OnSize() {
    if (!initialised_) return;
    layoutPending_ = true;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void CQuorvelDlg::OnGetMinMaxInfo(MINMAXINFO* info) const {
    if (!initialised_) return;
    const int width = minClient_.cx + (theApp.settings.psdFlg ? Width(psdRect_) : 0);
    RECT frame{0, 0, width, minClient_.cy};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(Handle(), GWL_EXSTYLE)));
    info->ptMinTrackSize.x = frame.right - frame.left;
    info->ptMinTrackSize.y = frame.bottom - frame.top;
}

void CQuorvelDlg::OnLinkEvent() {
    for (const app::LinkEvents::Event& event : theApp.linkEvents.TakeAll())
        if (panel_) panel_->AddLog(event.text, event.kind);
}

void CQuorvelDlg::OnReviewSetup() {
    reviewPosition[0] = reviewPosition[1] = 0;
    if (waveMonitor_) waveMonitor_->EnterReview();
}

void CQuorvelDlg::OnNcDestroy() {
    // The receive thread is told to stop and given up; the exit waits for it to drain.
    theApp.session.AttachMonitors(nullptr);
    theApp.ReleaseReceiveThread();
    app::UnrouteViews(theApp.pipeline, theApp.recorder);
    theTrigHistory.Stop();
    panel_.reset();
    waveMonitor_.reset();
    psdMonitor_.reset();
    theApp.settings.mainPlacement.Capture(Handle());
    mainWindowHandle.store(nullptr);
}
