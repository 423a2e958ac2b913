// A dialog's controls addressed by id, as the window-free rules of a dialog fill and read them.
// The Win32 dialog implements it over its child windows; tests keep the controls in maps.
#pragma once

#include <string>

namespace ui {

// The ids the platform gives a dialog's OK and キャンセル buttons (IDOK, IDCANCEL).
constexpr int kOkId = 1;
constexpr int kCancelId = 2;

class DialogItems {
public:
    virtual ~DialogItems() = default;
    virtual void SetItemText(int id, const std::string& text) const = 0;
    virtual std::string ItemText(int id) const = 0;
    virtual void EnableItem(int id, bool enable) const = 0;
    virtual void ShowItem(int id, bool show) const = 0;
    virtual void CheckItem(int id, bool checked) const = 0;
    virtual bool IsItemChecked(int id) const = 0;
    // A drop-down list's selected entry by position; -1 for none.
    virtual void SelectEntry(int id, int index) const = 0;
    virtual int SelectedEntry(int id) const = 0;
};

}  // namespace ui
