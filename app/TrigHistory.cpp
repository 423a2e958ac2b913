// The running program's trigger history on Win32: notices posted to the main window, the window,
// loading a recording for review, the export's file dialog and its text in UTF-8.
#include "app/TrigHistory.h"

#include <commdlg.h>

#include "app/QuorvelApp.h"
#include "app/TrigHistoryDlg.h"
#include "app/WaveImport.h"
#include "files/Folder.h"
#include "ui/MessageBox.h"

CTrigHistory theTrigHistory;

namespace {

constexpr const char* kTrigFolder = "Trig.dt";

// Code page 932 text as UTF-8, for files that spreadsheet programs open as UTF-8.
std::string Utf8FromCp932(const std::string& text) {
    if (text.empty()) return text;
    const int wide = MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), &w[0], wide);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}

}  // namespace

CTrigHistory::CTrigHistory()
    : keeper_([] { return files::JoinFolder(theApp.settings.saveDirectory, kTrigFolder); }) {}
CTrigHistory::~CTrigHistory() = default;

void CTrigHistory::Start(HWND mainWindow) {
    mainWindow_ = mainWindow;
    keeper_.Start([mainWindow] { PostMessageA(mainWindow, kMsgHistoryNotice, 0, 0); });
}

void CTrigHistory::Stop() {
    if (window_ && window_->Handle()) DestroyWindow(window_->Handle());
    keeper_.Stop();
}

void CTrigHistory::OpenWindow() {
    if (!window_) window_ = std::make_unique<CTrigHistoryDlg>(*this);
    if (!window_->Handle()) {
        if (!window_->Create(mainWindow_)) return;
        ShowWindow(window_->Handle(), SW_SHOW);
    } else {
        if (IsIconic(window_->Handle())) ShowWindow(window_->Handle(), SW_RESTORE);
        SetForegroundWindow(window_->Handle());
    }
    keeper_.Rescan();
    window_->Refresh();
}

void CTrigHistory::LoadForReview(HWND owner, const app::TriggerEvent& event) {
    if (theApp.session.Busy()) {
        ui::ShowMessage(owner, "計測実行中はファイルを読み込めません。", MB_OK | MB_ICONINFORMATION);
        return;
    }
    ReviewWaveFile(files::JoinFolder(keeper_.List().Folder(), event.group), false, owner);
}

void CTrigHistory::ExportList(HWND owner) {
    char path[MAX_PATH] = "TrigHistory.csv";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = "CSV ファイル (*.csv)\0*.csv\0全てのファイル (*.*)\0*.*\0";
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = "csv";
    ofn.lpstrInitialDir = theApp.settings.saveDirectory.empty() ? nullptr : theApp.settings.saveDirectory.c_str();
    // The INI file's path follows the current directory, so the dialog must not change it.
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameA(&ofn)) return;

    if (!app::WriteWholeFile(path, app::HistoryExportBytes(keeper_.List().Rows(), Utf8FromCp932))) {
        const std::string text = std::string(path) + " に書き込めませんでした。";
        ui::ShowMessage(owner, text.c_str(), MB_OK);
    }
}
