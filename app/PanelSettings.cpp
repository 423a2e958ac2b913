// The panel's "設定" button: runs the settings dialog and brings the windows up to date after OK.
#include "app/BtnDialog.h"

#include "app/MeasurementRules.h"
#include "app/QuorvelApp.h"
#include "app/QuorvelDlg.h"
#include "config/FormatSignificant.h"
#include "config/SettingDialog.h"

void CBtnDialog::OnSettings() {
    if (theApp.MeasurementBusy()) return;  // the button is disabled then; a click may still be queued
    CSettingDialog dialog(GetParent(Handle()));
    if (dialog.DoModal() != IDOK) return;
    // Only the check and the levels' texts: their enabling stays as the panel set it.
    CheckItem(IDC_TRIG_MODE, theApp.settings.trigMode != 0);
    SetItemText(IDC_LEVEL_XY, FormatSignificant(theApp.settings.valX, 6));
    SetItemText(IDC_LEVEL_Z, FormatSignificant(theApp.settings.valZ, 6));
    if (SettingsView* view = mainWindow) view->RefreshAfterSettings();
    // Another program may have started a measurement while the dialog was open: its rings must
    // still hold two display windows and the trigger spans of the new settings.
    if (theApp.running && theApp.waveBuffers[0].Capacity() < app::RingCapacity(theApp.settings)) ResetRingsAndMonitors();
}
