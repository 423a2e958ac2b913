// CVersionDialog: file name, file version, company name and file date of the running executable.
#pragma once

#include "resources/VersionResource.h"
#include "ui/Dialog.h"

class CVersionDialog : public ui::Dialog {
public:
    explicit CVersionDialog(HWND parent = nullptr) : ui::Dialog(IDD_VERSION_DIALOG, parent) {}

protected:
    // Fills the four fields; fields whose source cannot be read keep their template texts.
    BOOL OnInitDialog() override;
};
