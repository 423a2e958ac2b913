// A dialog's controls kept in maps, for the window-free rules of a dialog.
#pragma once

#include <map>
#include <string>

#include "ui/DialogItems.h"

namespace testing_ui {

struct FakeDialogItems : ui::DialogItems {
    mutable std::map<int, std::string> text;
    mutable std::map<int, bool> checked, enabled, shown;
    mutable std::map<int, int> entry;

    void SetItemText(int id, const std::string& t) const override { text[id] = t; }
    std::string ItemText(int id) const override { return text[id]; }
    void EnableItem(int id, bool on) const override { enabled[id] = on; }
    void ShowItem(int id, bool on) const override { shown[id] = on; }
    void CheckItem(int id, bool on) const override { checked[id] = on; }
    bool IsItemChecked(int id) const override { return checked[id]; }
    void SelectEntry(int id, int index) const override { entry[id] = index; }
    int SelectedEntry(int id) const override { return entry.count(id) ? entry[id] : -1; }
};

}  // namespace testing_ui
