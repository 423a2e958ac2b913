// The dialog layer: an exception thrown by a handler stops at the dialog procedure and is reported,
// also from OnNcDestroy, after which the object is detached from its window as usual.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "resources/VersionResource.h"
#include "ui/Dialog.h"

namespace {

std::vector<std::string> gReports;

class ThrowingDialog : public ui::Dialog {
public:
    ThrowingDialog() : ui::Dialog(IDD_VERSION_DIALOG, nullptr) {}
    static constexpr UINT kThrow = WM_APP + 1;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == kThrow) throw std::runtime_error("handler failed");
        return ui::Dialog::HandleMessage(message, wParam, lParam, result);
    }
    void OnNcDestroy() override { throw std::bad_alloc(); }
};

TEST(DialogErrors, HandlerAndNcDestroyExceptionsAreReportedNotPassedOn) {
    ui::SetErrorReport([](const char* text) { gReports.push_back(text); });
    ThrowingDialog dialog;
    if (!dialog.Create(nullptr)) GTEST_SKIP() << "no display to create a window on";
    HWND hwnd = dialog.Handle();
    EXPECT_NO_THROW(SendMessageA(hwnd, ThrowingDialog::kThrow, 0, 0));
    EXPECT_TRUE(IsWindow(hwnd)) << "the dialog goes on";
    EXPECT_NO_THROW(dialog.Destroy());
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(dialog.Handle(), nullptr) << "detached although OnNcDestroy threw";
    EXPECT_EQ(gReports, (std::vector<std::string>{"UI-ERR", "UI-ERR"}));
    ui::SetErrorReport(nullptr);
}

}  // namespace
#endif
