// Control panel: initialisation, buttons, trigger levels, lamps, layout of the log list.
#include "app/BtnDialog.h"

#include "app/ButtonPictures.h"
#include "app/Messages.h"
#include "app/QuorvelApp.h"
#include "app/QuorvelDlg.h"
#include "config/FormatSignificant.h"
#include "graphs/GraphMoniDialog.h"
#include "graphs/Indicator.h"
#include "graphs/PrintReport.h"
#include "ui/MessageBox.h"

namespace {

constexpr UINT_PTR kStatusTimer = 1;

// The level labels, fields and units follow the trigger mode.
constexpr int kTriggerLevelControls[] = {IDC_LABEL_XY, IDC_LABEL_Z, IDC_LEVEL_XY, IDC_LEVEL_Z, IDC_UNIT_XY, IDC_UNIT_Z};

}  // namespace

CBtnDialog::CBtnDialog() : ui::Dialog(IDD_BTN_DIALOG, nullptr) {}

CBtnDialog::~CBtnDialog() {
    theApp.pipeline.hooks.showLowPass = nullptr;
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

    mainWindow = reinterpret_cast<CQuorvelDlg*>(GetWindowLongPtrA(GetParent(hwnd), DWLP_USER));
    mainWindowHandle.store(GetParent(hwnd));

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
    logRect_ = ItemRectInClient(IDC_LOG_LIST);

    ShowTriggerSettings();
    ShowStartStopPicture();
    ConnectRecorder();
    theApp.recorder.hooks.recordingChanged(theApp.recorder.recording != 0);
    SetStatus(4, "待機中");
    trigLamp_->SetState(4);
    SetTimer(hwnd, kStatusTimer, 1000, nullptr);
    theApp.pipeline.hooks.showLowPass = [this](const std::string& text, bool) { ShowLowPass(text); };
    ShowItem(IDC_LOG_LIST, theApp.settings.logList != 0);
    if (!theApp.startupNotice.empty()) AddLog(theApp.startupNotice, 0);
    return TRUE;
}

void CBtnDialog::ShowTriggerSettings() {
    CheckItem(IDC_TRIG_MODE, theApp.settings.trigMode != 0);
    SetItemText(IDC_LEVEL_XY, FormatSignificant(theApp.settings.valX, 6));
    SetItemText(IDC_LEVEL_Z, FormatSignificant(theApp.settings.valZ, 6));
    for (int id : kTriggerLevelControls) EnableItem(id, theApp.settings.trigMode != 0);
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
    case IDC_START_STOP: ToggleMeasurement(); break;
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
    if (mainWindow) PrintReport(mainWindow->Handle(), "QUORVEL", mainWindow->Handle(), theApp.settings);
}

void CBtnDialog::OnPeakClear() {
    if (ui::ShowMessage(Handle(), "ＰＰクリア 処理します。よろしいですか？", MB_OKCANCEL) != IDOK) return;
    for (int axis = 0; axis < 3; ++axis) theApp.peakMin[axis] = theApp.peakMax[axis] = 0.0;
}

void CBtnDialog::OnSize(int width, int height) {
    if (!Item(IDC_LOG_LIST) || initialSize_.cy == 0) return;
    // Only the log list is anchored: left, top and right stay, the bottom follows the panel's.
    const int bottom = logRect_.bottom + (height - initialSize_.cy);
    const int listHeight = bottom > logRect_.top ? bottom - logRect_.top : 0;
    MoveWindow(Item(IDC_LOG_LIST), logRect_.left, logRect_.top, logRect_.right - logRect_.left, listHeight, TRUE);
    (void)width;
}

void CBtnDialog::SetStatus(int lamp, const char* text) {
    SetItemText(IDC_STATUS_TEXT, text);
    comLamp_->SetState(lamp);
}

void CBtnDialog::SetIdleButtons(bool idle) {
    EnableItem(IDC_SETTINGS, idle);
    EnableItem(IDC_LOAD_SD, idle);
    EnableItem(IDC_LOAD_DATA, idle);
    EnableItem(IDC_RECORD, !idle);
    EnableItem(IDC_PPCLEAR, !idle);
}

void CBtnDialog::ShowStartStopPicture() {
    HBITMAP picture = ButtonPicture(theApp.running ? IDB_END : IDB_START);
    SendMessageA(Item(IDC_START_STOP), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
}

void CBtnDialog::ShowLowPass(const std::string& text) {
    if (ItemText(IDC_LOWPASS) != text) SetItemText(IDC_LOWPASS, text);
}
