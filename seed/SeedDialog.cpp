// The miniSEED dialog: fields in, checked codes out, folder browser, export.
#include "seed/SeedDialog.h"

#include <shlobj.h>

#include "resources/SeedResource.h"
#include "seed/SeedArchive.h"
#include "ui/MessageBox.h"

namespace {

constexpr int kCodeFields[] = {IDC_SEED_NETWORK, IDC_SEED_STATION, IDC_SEED_LOCATION,
                               IDC_SEED_CHANNEL_X, IDC_SEED_CHANNEL_Y, IDC_SEED_CHANNEL_Z};
constexpr int kCodeLimits[] = {2, 5, 2, 3, 3, 3};

}  // namespace

CSeedDialog::CSeedDialog(HWND owner, seed::ArchiveSettings& settings, bool measuring)
    : ui::Dialog(IDD_SEED, owner), settings_(settings), measuring_(measuring) {}

BOOL CSeedDialog::OnInitDialog() {
    CheckItem(IDC_SEED_ARCHIVE, settings_.enabled != 0);
    SetItemText(IDC_SEED_ROOT, settings_.root);
    const seed::ArchiveCodes& c = settings_.codes;
    const std::string* texts[] = {&c.network, &c.station, &c.location, &c.channels[0], &c.channels[1], &c.channels[2]};
    for (size_t i = 0; i < 6; ++i) {
        SendMessageA(Item(kCodeFields[i]), EM_LIMITTEXT, static_cast<WPARAM>(kCodeLimits[i]), 0);
        SetItemText(kCodeFields[i], *texts[i]);
    }
    EnableItem(IDC_SEED_EXPORT, !measuring_);
    return TRUE;
}

bool CSeedDialog::ReadCodes(seed::ArchiveCodes& codes) {
    codes.network = ItemText(IDC_SEED_NETWORK);
    codes.station = ItemText(IDC_SEED_STATION);
    codes.location = ItemText(IDC_SEED_LOCATION);
    codes.channels = {ItemText(IDC_SEED_CHANNEL_X), ItemText(IDC_SEED_CHANNEL_Y), ItemText(IDC_SEED_CHANNEL_Z)};
    if (const auto problem = seed::CodeProblem(codes)) {
        ui::ShowMessage(Handle(), problem->c_str(), MB_OK);
        return false;
    }
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
    settings_.enabled = IsItemChecked(IDC_SEED_ARCHIVE) ? 1 : 0;
    settings_.root = ItemText(IDC_SEED_ROOT);
    settings_.codes = codes;
    settings_.stored = true;
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
