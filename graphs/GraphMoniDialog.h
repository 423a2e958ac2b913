// The time-waveform monitor: the left pane of the main window (its graphs come with the graph
// control; for now the pane is created, laid out and reset like the finished one).
#pragma once

#include "resources/resource.h"
#include "ui/Dialog.h"

class CGraphMoniDialog : public ui::Dialog {
public:
    // `accAuto` is the address of [SCALE] ACC_AUTO, which the scale menu toggles.
    explicit CGraphMoniDialog(int* accAuto) : ui::Dialog(IDD_GRAPH_MONI, nullptr), accAuto_(accAuto) {}

private:
    int* accAuto_;
};
