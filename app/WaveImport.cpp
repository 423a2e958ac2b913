// The import's Win32 shell: the file read with the Win32 file functions, the main window's title
// and review notice, the wait cursor and the message boxes.
#include "app/WaveImport.h"

#include <vector>

#include "app/Messages.h"
#include "app/QuorvelApp.h"
#include "app/WaveReview.h"
#include "config/Win32Version.h"
#include "files/Win32ImportFile.h"
#include "ui/MessageBox.h"

namespace {

class Win32ImportShell : public app::ImportShell {
public:
    explicit Win32ImportShell(HWND owner) : owner_(owner) {}

    files::FileImport ReadFile(const std::string& path, bool sd, const files::SdConversion& conversion,
                               const files::ImportOptions& options) override {
        return files::ReadImportFile(path, sd, conversion, options);
    }
    bool HasMainWindow() const override { return Main() != nullptr; }
    std::string Title() const override {
        std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(Main())) + 2, '\0');
        GetWindowTextA(Main(), text.data(), static_cast<int>(text.size()));
        return text.data();
    }
    void SetTitle(const std::string& title) override { SetWindowTextA(Main(), title.c_str()); }
    std::string ProgramTitle(const std::string& title) const override { return BuildMainTitle(title); }
    void StartReview() override { PostMessageA(Main(), MSG_9388BF10, 0, 0); }
    void Tell(const std::string& text) override { ui::ShowMessage(owner_, text.c_str(), MB_OK); }
    void SetWaitCursor(bool wait) override {
        if (wait) cursor_ = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
        else SetCursor(cursor_);
    }
    uint32_t Now() const override { return GetTickCount(); }

private:
    static HWND Main() { return mainWindowHandle.load(); }

    HWND owner_;
    HCURSOR cursor_ = nullptr;
};

app::ImportTarget Target() {
    return {theApp.settings, theApp.waveBuffers, theApp.session.ringsHoldFile, theApp.session.reviewBaseTime,
            [] { return theApp.session.Busy(); }};
}

}  // namespace

bool ReviewWaveFile(const std::string& path, bool sd, HWND owner) {
    Win32ImportShell shell(owner);
    return app::ReviewWaveFile(path, sd, Target(), shell);
}
