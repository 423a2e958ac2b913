// Loading a waveform file into the acquisition rings for review, without the window: the progress
// in the title, memory given up for a second try, the operator's messages and the rings taking the
// samples over. The program's shell reads the file and reaches the main window for it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "config/Settings.h"
#include "files/ImportResult.h"
#include "files/SdImport.h"
#include "pipeline/WaveBuffer.h"

namespace app {

// What an import asks of the program around it.
class ImportShell {
public:
    virtual ~ImportShell() = default;
    // Opens and reads a whole CSV (sd false) or SD-card file (sd true).
    virtual files::FileImport ReadFile(const std::string& path, bool sd, const files::SdConversion& conversion,
                                       const files::ImportOptions& options) = 0;
    // The main window's title; false from HasMainWindow when there is none (nothing is shown then).
    virtual bool HasMainWindow() const = 0;
    virtual std::string Title() const = 0;
    virtual void SetTitle(const std::string& title) = 0;
    // The program's own title for the settings' [SPEC] TITLE.
    virtual std::string ProgramTitle(const std::string& title) const = 0;
    // Has the time monitor show the rings from their start (a posted notice).
    virtual void StartReview() = 0;
    virtual void Tell(const std::string& text) = 0;
    virtual void SetWaitCursor(bool wait) = 0;
    // Milliseconds of a wrapping tick count.
    virtual uint32_t Now() const = 0;
};

// What an import changes.
struct ImportTarget {
    const Settings& settings;
    WaveBuffer (&rings)[3];
    bool& ringsHoldFile;        // the rings hold an imported file (not a measurement's samples)
    uint64_t& reviewBaseTime;   // local time (FILETIME count) of review position 0; 0: none
    std::function<bool()> measurementBusy;  // a measurement starts or runs: its rings stay
};

// Reads a CSV file (sd false) or an SD-card file (sd true) into the three rings and sets the
// review base time from it. While it reads, the cursor waits, and after about a second the main
// window's title shows how far it got. Returns true when the whole file was read. Otherwise the
// operator is told why (a file error names the file; a CSV file without "DATA:" fails silently),
// and the rings, the review base time and the title stay as they were. One exception: when the
// new samples do not fit beside those of a previously loaded file, that file's samples are given
// up for one more try; if the import still fails, the rings are empty, the title is the
// program's own and the review shows nothing.
[[nodiscard]] bool ReadWaveFile(const std::string& path, bool sd, const ImportTarget& target, ImportShell& shell);
// The import after its file was chosen: reads the file as ReadWaveFile does, then shows its path in
// the main window's title and starts the review display. Nothing happens while a measurement runs.
// True when the file was loaded.
bool ReviewWaveFile(const std::string& path, bool sd, const ImportTarget& target, ImportShell& shell);

}  // namespace app
