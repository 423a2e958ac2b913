// Control panel: initialisation, buttons, trigger levels, lamps, the recordings' messages, the
// imports, the settings, the event log and the layout of the log list.
#include "app/BtnDialog.h"

#include <optional>

#include "app/ButtonPictures.h"
#include "app/Messages.h"
#include "app/PanelControls.h"
#include "app/QuorvelApp.h"
#include "app/SettingDialog.h"
#include "app/SettingsView.h"
#include "app/WaveImport.h"
#include "files/ChooseImportFile.h"
#include "graphs/Indicator.h"
#include "graphs/PrintReport.h"
#include "pipeline/EventLog.h"
#include "pipeline/MeasurementRules.h"
#include "ui/MessageBox.h"

namespace {

constexpr UINT_PTR kStatusTimer = 1;

// The panel's list box as the event log sees it.
class ListBoxLog : public app::LogList {
public:
    explicit ListBoxLog(HWND list) : list_(list) {}
    void Append(const std::string& row) override {
        SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    }
    int Count() const override { return static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0)); }
    void DeleteFirst() override { SendMessageA(list_, LB_DELETESTRING, 0, 0); }
    void SelectLast() override { SendMessageA(list_, LB_SETCURSEL, Count() - 1, 0); }

private:
    HWND list_;
};

app::LocalTime Now() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace

CBtnDialog::CBtnDialog(SettingsView& view) : ui::Dialog(IDD_BTN_DIALOG, nullptr), view_(view) {}

CBtnDialog::~CBtnDialog() {
    theApp.session.AttachPanel(nullptr);
    app::RecordingHooks& hooks = theApp.recorder.hooks;
    hooks.addLog = nullptr;
    hooks.showMessage = nullptr;
    hooks.recordingChanged = nullptr;
    hooks.triggerChanged = nullptr;
    if (largeFont_) DeleteObject(largeFont_);
}

BOOL CBtnDialog::OnInitDialog() {
    HWND hwnd = Handle();
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    GetObjectA(dialogFont, sizeof lf, &lf);
    lf.lfHeight = static_cast<LONG>(lf.lfHeight * 1.5);
    largeFont_ = CreateFontIndirectA(&lf);
    for (int id : {IDC_LEVEL_XY, IDC_LEVEL_Z, IDC_LOWPASS})
        SendMessageA(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(largeFont_), TRUE);
    lowPassField_ = Item(IDC_LOWPASS);

    comLamp_ = std::make_unique<CIndicator>();
    recordLamp_ = std::make_unique<CIndicator>();
    trigLamp_ = std::make_unique<CIndicator>();
    comLamp_->Create(hwnd, ItemRectInClient(IDC_LAMP_COM_POS), IDC_LAMP);
    recordLamp_->Create(hwnd, ItemRectInClient(IDC_LAMP_REC_POS), IDC_LAMP);
    trigLamp_->Create(hwnd, ItemRectInClient(IDC_LAMP_TRIG_POS), IDC_LAMP);
    // The trigger lamp sits inside the group box; a new child starts below it and would be clipped away.
    SetWindowPos(trigLamp_->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    RECT client{};
    GetClientRect(hwnd, &client);
    initialSize_ = {client.right, client.bottom};
    logAnchor_ = {IDC_LOG_LIST, ui::FromRECT(ItemRectInClient(IDC_LOG_LIST)), false, false, false, true};

    app::ShowTriggerSettings(*this, theApp.settings);
    ShowRunning(theApp.session.Running());
    ConnectRecorder();
    theApp.recorder.hooks.recordingChanged(theApp.recorder.recording != 0);
    SetStatus(4, "待機中");
    trigLamp_->SetState(4);
    SetTimer(hwnd, kStatusTimer, 1000, nullptr);
    ShowItem(IDC_LOG_LIST, theApp.settings.logList != 0);
    theApp.session.AttachPanel(this);
    if (!theApp.startupNotice.empty()) AddLog(theApp.startupNotice, 0);
    return TRUE;
}

bool CBtnDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kStatusTimer) OnTimer();
        result = 0;
        return true;
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        result = 0;
        return true;
    case kMsgRecordingMessage:
        OnRecordingMessage();
        result = 0;
        return true;
    default:
        return ui::Dialog::HandleMessage(message, wParam, lParam, result);
    }
}

void CBtnDialog::OnCommand(int id, int code, HWND control) {
    if (code != BN_CLICKED) return;
    switch (id) {
    case IDC_START_STOP: theApp.session.Toggle(); break;
    case IDC_TRIG_MODE: OnTrigMode(); break;
    case IDC_PPCLEAR: OnPeakClear(); break;
    case IDC_RECORD: OnRecord(); break;
    case IDC_LOAD_SD: OnImport(true); break;
    case IDC_LOAD_DATA: OnImport(false); break;
    case IDC_PRINT: OnPrint(); break;
    case IDC_SETTINGS: OnSettings(); break;
    default:
        ui::Dialog::OnCommand(id, code, control);
    }
}

void CBtnDialog::OnPrint() {
    HWND main = GetParent(Handle());
    PrintReport(main, "QUORVEL", main, theApp.settings);
}

void CBtnDialog::OnPeakClear() {
    if (ui::ShowMessage(Handle(), "ＰＰクリア 処理します。よろしいですか？", MB_OKCANCEL) != IDOK) return;
    theApp.peaks.Clear();
}

void CBtnDialog::OnSize(int width, int height) {
    if (!Item(IDC_LOG_LIST) || initialSize_.cy == 0) return;
    const ui::Rect r = ui::Anchored(logAnchor_, width - initialSize_.cx, height - initialSize_.cy);
    MoveWindow(Item(IDC_LOG_LIST), r.left, r.top, r.Width(), r.Height(), TRUE);
}

void CBtnDialog::ShowMessage(const char* text) { ui::ShowMessage(Handle(), text, MB_OK); }

void CBtnDialog::SetStatus(int lamp, const char* text) {
    SetItemText(IDC_STATUS_TEXT, text);
    comLamp_->SetState(lamp);
}

void CBtnDialog::SetIdleButtons(bool idle) { app::ShowIdleButtons(*this, idle); }

void CBtnDialog::DisableLoads() { app::DisableLoads(*this); }

void CBtnDialog::ShowRunning(bool running) {
    HBITMAP picture = ButtonPicture(running ? IDB_END : IDB_START);
    SendMessageA(Item(IDC_START_STOP), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
}

void CBtnDialog::ShowLowPass(const std::string& text) {
    if (lowPassField_ && WindowText(lowPassField_) != text) SetWindowTextA(lowPassField_, text.c_str());
}

void CBtnDialog::OnTimer() {
    if (!theApp.session.Running()) return;
    const app::LinkStatus status = app::StatusForLinkState(theApp.link.linkState.load());
    app::ShowStatusText(*this, status.text);
    comLamp_->SetState(status.lamp);  // repaints only when the state changes
}

void CBtnDialog::AddLog(const std::string& text, int pcClock) {
    ListBoxLog list(Item(IDC_LOG_LIST));
    app::AddLog(list, theApp.settings.logList != 0, text, pcClock, Now());
}

// The recording controls: the record button, the trigger check box, the record and trigger lamps,
// and the recordings' messages to the operator.

void CBtnDialog::ConnectRecorder() {
    app::RecordingHooks& hooks = theApp.recorder.hooks;
    hooks.addLog = [this](const char* text) { AddLog(text, 0); };
    hooks.recordingChanged = [this](bool on) {
        SetItemText(IDC_RECORD, app::RecordButtonCaption(on));
        recordLamp_->SetState(app::OnOffLampState(on));
    };
    hooks.triggerChanged = [this](bool on) { trigLamp_->SetState(app::OnOffLampState(on)); };
    hooks.showMessage = [this](const std::string& text) { recordingMessages_.Raise(text); };
    recordingMessages_.hooks.post = [this] { PostMessageA(Handle(), kMsgRecordingMessage, 0, 0); };
    recordingMessages_.hooks.showBox = [this](const std::string& text) {
        // Modal for the operator, but its message loop keeps the data handler running.
        ui::ShowMessage(GetParent(Handle()), text.c_str(), MB_OK);
    };
    recordingMessages_.hooks.log = [this](const std::string& row) { AddLog(row, 0); };
}

void CBtnDialog::OnRecord() {
    // Samples received before the press belong before it: those still queued are taken first.
    theApp.OnSampleData();
    theApp.recorder.ToggleRecording();
}

void CBtnDialog::OnTrigMode() {
    // The setting flips whatever the box shows; the box then follows the setting.
    theApp.settings.trigMode = theApp.settings.trigMode ? 0 : 1;
    app::ShowTriggerSettings(*this, theApp.settings);
    // (The panes clip their children: the graphs themselves are repainted, and the "T" labels
    // placed again.)
    view_.RepaintGraphs();
}

void CBtnDialog::OnRecordingMessage() { recordingMessages_.ShowNext(); }

void CBtnDialog::OnImport(bool sd) {
    // A click posted while the file dialog is open must not start a second import.
    if (importing_ || theApp.session.Busy()) return;
    importing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{importing_};

    HWND main = GetParent(Handle());
    const std::optional<std::string> path = sd ? ChooseImportFile("ＳＤファイル", "txt", true, theApp.settings, main)
                                               : ChooseImportFile("読み込みファイル", "csv", false, theApp.settings, main);
    if (!path) return;
    ReviewWaveFile(*path, sd, main);
}

void CBtnDialog::OnSettings() {
    if (theApp.session.Busy()) return;  // the button is disabled then; a click may still be queued
    CSettingDialog dialog(GetParent(Handle()));
    if (dialog.DoModal() != IDOK) return;
    // Only the check and the levels' texts: their enabling stays as the panel set it.
    app::ShowTriggerLevels(*this, theApp.settings);
    view_.RefreshAfterSettings();
    // Another program may have started a measurement while the dialog was open: its rings must
    // still hold two display windows and the trigger spans of the new settings.
    if (app::RingsTooSmallFor(theApp.settings, theApp.waveBuffers[0], theApp.session.Running()))
        theApp.session.ResetRingsAndMonitors();
}
