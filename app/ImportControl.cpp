// The control panel's two imports: "データ読み込み" (CSV) and "ＳＤ読み込み" (SD card).
#include "app/BtnDialog.h"

#include "app/Messages.h"
#include "app/QuorvelApp.h"
#include "app/QuorvelDlg.h"
#include "app/WaveImport.h"
#include "config/Win32Version.h"
#include "files/ChooseImportFile.h"
#include "files/ImportTexts.h"

void CBtnDialog::OnImport(bool sd) {
    // A click posted while the file dialog is open must not start a second import.
    if (importing_ || theApp.MeasurementBusy()) return;
    importing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{importing_};

    HWND main = mainWindowHandle.load();
    const std::optional<std::string> path = sd ? ChooseImportFile("ＳＤファイル", "txt", true, theApp.settings, main)
                                               : ChooseImportFile("読み込みファイル", "csv", false, theApp.settings, main);
    if (!path) return;
    ReviewWaveFile(*path, sd, main);
}

bool ReviewWaveFile(const std::string& path, bool sd, HWND owner) {
    // Another program may have started a measurement while a dialog was open: its rings stay.
    if (theApp.MeasurementBusy()) return false;
    if (!ReadWaveFile(path, sd, owner)) return false;
    HWND main = mainWindowHandle.load();
    if (!main) return false;
    SetWindowTextA(main, files::ImportedTitle(BuildMainTitle(theApp.settings.title), path).c_str());
    PostMessageA(main, MSG_9388BF10, 0, 0);
    return true;
}
