// The PSD monitor: the middle pane of the main window while spectra are on (its graphs come with
// the graph control; for now the pane is created and laid out like the finished one).
#pragma once

#include "resources/resource.h"
#include "ui/Dialog.h"

class CPsdMoniDialog : public ui::Dialog {
public:
    CPsdMoniDialog() : ui::Dialog(IDD_PSD_MONI, nullptr) {}
};
