// The "miniSEED" dialog of the system menu: the archive on or off, its folder and codes, and the
// export of a chosen CSV recording.
#pragma once

#include <windows.h>

#include "seed/ArchiveSettings.h"
#include "ui/Dialog.h"

class CSeedDialog : public ui::Dialog {
public:
    // `settings` changes only on OK, and is then marked to be written at exit. While `measuring`
    // the export is disabled: it reads a whole file on this thread, like the import.
    CSeedDialog(HWND owner, seed::ArchiveSettings& settings, bool measuring);

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnOK() override;

private:
    // The codes as typed; false (after telling the operator) when they cannot be used.
    bool ReadCodes(seed::ArchiveCodes& codes);
    void OnBrowse();

    seed::ArchiveSettings& settings_;
    bool measuring_;
};
