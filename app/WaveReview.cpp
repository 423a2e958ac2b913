// A file read into the rings, with the wait cursor, the progress title and the error messages.
#include "app/WaveReview.h"

#include "files/ImportTexts.h"

namespace app {

namespace {

// Shows the share done in the main window's title once an import has run for a second.
class ProgressTitle {
public:
    ProgressTitle(ImportShell& shell, std::string importedTitle)
        : shell_(shell), title_(std::move(importedTitle)), start_(shell.Now()) {}

    void Update(uint64_t done, uint64_t total) {
        if (!shell_.HasMainWindow() || total == 0) return;
        if (shell_.Now() - start_ < 1000) return;
        const int percent = static_cast<int>(done * 100 / total);
        if (percent == percent_) return;
        percent_ = percent;
        shell_.SetTitle(files::ImportProgressTitle(title_, percent));
    }
    bool Shown() const { return percent_ >= 0; }

private:
    ImportShell& shell_;
    std::string title_;
    uint32_t start_;
    int percent_ = -1;
};

}  // namespace

bool ReadWaveFile(const std::string& path, bool sd, const ImportTarget& target, ImportShell& shell) {
    const bool window = shell.HasMainWindow();
    const std::string previousTitle = window ? shell.Title() : std::string();
    const std::string programTitle = shell.ProgramTitle(target.settings.title);
    ProgressTitle progress(shell, files::ImportedTitle(programTitle, path));
    files::ImportOptions options;
    options.progress = [&progress](uint64_t done, uint64_t total) { progress.Update(done, total); };
    // Old and new samples side by side may not fit (days of data in a 32-bit process). A loaded
    // file's samples can go, since they are still in their file; a measurement's cannot.
    bool released = false;
    options.releaseMemory = [&released, &target] {
        if (!target.ringsHoldFile) return false;
        for (WaveBuffer& ring : target.rings) ring.Release();
        target.ringsHoldFile = false;
        released = true;
        return true;
    };

    // The whole read runs here, without handling messages: nothing can start a measurement or
    // another import meanwhile.
    shell.SetWaitCursor(true);
    files::FileImport got =
        shell.ReadFile(path, sd, files::SdConversion{target.settings.bit, target.settings.kanzan}, options);
    shell.SetWaitCursor(false);
    if (progress.Shown()) shell.SetTitle(previousTitle);

    using Status = files::ImportResult::Status;
    files::ImportResult& result = got.result;
    if (released && result.status != Status::Loaded) {
        // The previous file is gone from the rings: the display must not go on naming it.
        target.reviewBaseTime = 0;
        if (window) {
            shell.SetTitle(programTitle);
            shell.StartReview();
        }
    }
    if (got.openError != files::FileErrorCause::None) {
        shell.Tell(files::FileErrorText(got.openError, path));
        return false;
    }
    switch (result.status) {
    case Status::Loaded:
        break;
    case Status::NoDataLine:
        return false;
    case Status::ReadError:
        shell.Tell(files::FileErrorText(result.readError, path));
        return false;
    case Status::BufferError:
        shell.Tell("FILE OPENREAD ERROR");
        return false;
    }

    // The rings take the samples over as they are: capacity and held count are the file's.
    for (int axis = 0; axis < 3; ++axis) target.rings[axis].Adopt(std::move(result.samples[axis]));
    target.ringsHoldFile = true;
    target.reviewBaseTime = result.baseTime;
    return true;
}

bool ReviewWaveFile(const std::string& path, bool sd, const ImportTarget& target, ImportShell& shell) {
    // Another program may have started a measurement while a dialog was open: its rings stay.
    if (target.measurementBusy()) return false;
    if (!ReadWaveFile(path, sd, target, shell)) return false;
    if (!shell.HasMainWindow()) return false;
    shell.SetTitle(files::ImportedTitle(shell.ProgramTitle(target.settings.title), path));
    shell.StartReview();
    return true;
}

}  // namespace app
