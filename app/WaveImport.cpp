// A file read into the rings, with the wait cursor, the progress title and the error messages.
#include "app/WaveImport.h"

#include <vector>

#include "app/Messages.h"
#include "app/QuorvelApp.h"
#include "config/Win32Version.h"
#include "files/ImportTexts.h"
#include "files/Win32ImportFile.h"
#include "ui/MessageBox.h"

namespace {

std::string WindowTextOf(HWND hwnd) {
    std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 2, '\0');
    GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()));
    return text.data();
}

// Shows the share done in the main window's title once an import has run for a second.
class ProgressTitle {
public:
    ProgressTitle(HWND window, std::string importedTitle)
        : window_(window), title_(std::move(importedTitle)), start_(GetTickCount()) {}

    void Update(uint64_t done, uint64_t total) {
        if (!window_ || total == 0) return;
        const DWORD now = GetTickCount();
        if (now - start_ < 1000) return;
        const int percent = static_cast<int>(done * 100 / total);
        if (percent == percent_) return;
        percent_ = percent;
        SetWindowTextA(window_, files::ImportProgressTitle(title_, percent).c_str());
    }
    bool Shown() const { return percent_ >= 0; }

private:
    HWND window_;
    std::string title_;
    DWORD start_;
    int percent_ = -1;
};

}  // namespace

bool ReadWaveFile(const std::string& path, bool sd, HWND owner) {
    HWND main = mainWindowHandle.load();
    const std::string previousTitle = main ? WindowTextOf(main) : std::string();
    ProgressTitle progress(main, files::ImportedTitle(BuildMainTitle(theApp.settings.title), path));
    files::ImportOptions options;
    options.progress = [&progress](uint64_t done, uint64_t total) { progress.Update(done, total); };
    // Old and new samples side by side may not fit (days of data in a 32-bit process). A loaded
    // file's samples can go, since they are still in their file; a measurement's cannot.
    bool released = false;
    options.releaseMemory = [&released] {
        if (!theApp.session.ringsHoldFile) return false;
        for (WaveBuffer& ring : theApp.waveBuffers) ring.Release();
        theApp.session.ringsHoldFile = false;
        released = true;
        return true;
    };

    // The whole read runs here, without handling messages: nothing can start a measurement or
    // another import meanwhile.
    HCURSOR cursor = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
    files::FileImport got =
        files::ReadImportFile(path, sd, files::SdConversion{theApp.settings.bit, theApp.settings.kanzan}, options);
    SetCursor(cursor);
    if (progress.Shown()) SetWindowTextA(main, previousTitle.c_str());

    using Status = files::ImportResult::Status;
    files::ImportResult& result = got.result;
    if (released && result.status != Status::Loaded) {
        // The previous file is gone from the rings: the display must not go on naming it.
        theApp.session.reviewBaseTime = 0;
        if (main) {
            SetWindowTextA(main, BuildMainTitle(theApp.settings.title).c_str());
            PostMessageA(main, MSG_9388BF10, 0, 0);
        }
    }
    if (got.openError != files::FileErrorCause::None) {
        ui::ShowMessage(owner, files::FileErrorText(got.openError, path).c_str(), MB_OK);
        return false;
    }
    switch (result.status) {
    case Status::Loaded:
        break;
    case Status::NoDataLine:
        return false;
    case Status::ReadError:
        ui::ShowMessage(owner, files::FileErrorText(result.readError, path).c_str(), MB_OK);
        return false;
    case Status::BufferError:
        ui::ShowMessage(owner, "FILE OPENREAD ERROR", MB_OK);
        return false;
    }

    // The rings take the samples over as they are: capacity and held count are the file's.
    for (int axis = 0; axis < 3; ++axis) theApp.waveBuffers[axis].Adopt(std::move(result.samples[axis]));
    theApp.session.ringsHoldFile = true;
    theApp.session.reviewBaseTime = result.baseTime;
    return true;
}

bool ReviewWaveFile(const std::string& path, bool sd, HWND owner) {
    // Another program may have started a measurement while a dialog was open: its rings stay.
    if (theApp.session.Busy()) return false;
    if (!ReadWaveFile(path, sd, owner)) return false;
    HWND main = mainWindowHandle.load();
    if (!main) return false;
    SetWindowTextA(main, files::ImportedTitle(BuildMainTitle(theApp.settings.title), path).c_str());
    PostMessageA(main, MSG_9388BF10, 0, 0);
    return true;
}
