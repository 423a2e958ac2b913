// The miniSEED dialog: fields in, checked codes out, folder browser, export.
#include "seed/SeedDialog.h"

#include <shlobj.h>

#include "resources/SeedResource.h"
#include "seed/ArchiveForm.h"
#include "seed/SeedArchive.h"
#include "ui/MessageBox.h"

CSeedDialog::CSeedDialog(HWND owner, seed::ArchiveSettings& settings, bool measuring)
    : ui::Dialog(IDD_SEED, owner), settings_(settings), measuring_(measuring) {}

BOOL CSeedDialog::OnInitDialog() {
    for (size_t i = 0; i < seed::kCodeFields.size(); ++i)
        SendMessageA(Item(seed::kCodeFields[i]), EM_LIMITTEXT, static_cast<WPARAM>(seed::kCodeLimits[i]), 0);
    seed::ShowArchiveForm(*this, settings_, measuring_);
    return TRUE;
}

bool CSeedDialog::ReadCodes(seed::ArchiveCodes& codes) {
    const seed::CodesRead read = seed::ReadArchiveCodes(*this);
    if (read.problem) {
        ui::ShowMessage(Handle(), read.problem->c_str(), MB_OK);
        return false;
    }
    codes = read.codes;
    return true;
}

void CSeedDialog::OnCommand(int id, int code, HWND control) {
    if (id == IDC_SEED_BROWSE && code == BN_CLICKED) {
        OnBrowse();
    } else if (id == IDC_SEED_EXPORT && code == BN_CLICKED) {
        seed::ArchiveCodes codes;
        if (ReadCodes(codes)) theSeedArchive.ExportChosenFile(Handle(), codes);
    } else {
        ui::Dialog::OnCommand(id, code, control);
    }
}

void CSeedDialog::OnOK() {
    seed::ArchiveCodes codes;
    if (!ReadCodes(codes)) return;
    seed::TakeArchiveForm(*this, codes, settings_);
    EndDialog(IDOK);
}

void CSeedDialog::OnBrowse() {
    char display[MAX_PATH] = "";
    BROWSEINFOA info{};
    info.hwndOwner = Handle();
    info.pszDisplayName = display;
    info.lpszTitle = "miniSEED アーカイブの保存フォルダ";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    const HRESULT ole = OleInitialize(nullptr);
    if (LPITEMIDLIST chosen = SHBrowseForFolderA(&info)) {
        char path[MAX_PATH] = "";
        if (SHGetPathFromIDListA(chosen, path)) SetItemText(IDC_SEED_ROOT, path);
        CoTaskMemFree(chosen);
    }
    if (SUCCEEDED(ole)) OleUninitialize();
}
