// Painting of the lamp and the numeric field (Win32 tree only): pictures drawn into memory bitmaps
// are checked pixel by pixel, and both controls are created and painted in a real window.
#ifdef _WIN32

#include "graphs/Indicator.h"
#include "graphs/NumCtrl.h"

#include "common/DibCanvas.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using test_common::Canvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

TEST(LampPicture, CentreHasTheStateColourAndCornersAreUntouched) {
    const struct {
        int state;
        COLORREF colour;
    } cases[] = {{0, RGB(255, 0, 0)},     {1, RGB(255, 255, 0)}, {2, RGB(0, 255, 0)},
                 {3, RGB(255, 0, 255)},   {4, RGB(0, 0, 200)},   {5, RGB(255, 0, 0)},
                 {-1, RGB(255, 0, 0)}};
    for (const auto& c : cases) {
        Canvas canvas(32, 24, kWhite);
        CIndicator::PaintLamp(canvas.Dc(), RECT{0, 0, 32, 24}, c.state);
        EXPECT_EQ(canvas.Pixel(16, 12), c.colour) << c.state;
        EXPECT_EQ(canvas.Pixel(0, 0), kWhite) << c.state;
        EXPECT_EQ(canvas.Pixel(31, 23), kWhite) << c.state;
        EXPECT_EQ(canvas.Pixel(0, 12), kBlack) << "default pen outlines the lamp, state " << c.state;
    }
}

TEST(NumFieldPicture, EmptyTextLeavesOnlyTheBackground) {
    Canvas canvas(60, 20, kWhite);
    status::UniqueBrush back(CreateSolidBrush(RGB(200, 220, 240)));
    CNumCtrl::DrawField(canvas.Dc(), RECT{0, 0, 60, 20}, back.get(), nullptr, "");
    EXPECT_EQ(canvas.Count(RGB(200, 220, 240), 0, 60), 60 * 20);
}

TEST(NumFieldPicture, TextIsBlackAndRightAligned) {
    Canvas canvas(120, 24, kWhite);
    status::UniqueBrush back(CreateSolidBrush(RGB(200, 220, 240)));
    CNumCtrl::DrawField(canvas.Dc(), RECT{0, 0, 120, 24}, back.get(), nullptr, "-12.5");
    EXPECT_GT(canvas.Count(kBlack, 60, 118), 0);
    EXPECT_EQ(canvas.Count(kBlack, 0, 40), 0) << "a short text stays at the right edge";
    EXPECT_EQ(canvas.Count(kBlack, 118, 120), 0) << "two pixels are left free on the right";
    for (int x = 0; x < 120; ++x) {
        EXPECT_EQ(canvas.Pixel(x, 0), RGB(200, 220, 240));
        EXPECT_EQ(canvas.Pixel(x, 1), RGB(200, 220, 240));
    }
}

TEST(NumFieldPicture, DrawingLeavesTheDcAsItWas) {
    Canvas canvas(60, 20, kWhite);
    SetTextAlign(canvas.Dc(), TA_LEFT);
    SetTextColor(canvas.Dc(), RGB(1, 2, 3));
    CNumCtrl::DrawField(canvas.Dc(), RECT{0, 0, 60, 20}, nullptr, nullptr, "7");
    EXPECT_EQ(GetTextAlign(canvas.Dc()) & TA_RIGHT, 0u);
}

// A plain top-level window that hosts the controls.
class HostWindow {
public:
    HostWindow() {
        hwnd_ = CreateWindowExA(0, "STATIC", "status", WS_POPUP | WS_VISIBLE, 0, 0, 300, 120, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    }
    ~HostWindow() { DestroyWindow(hwnd_); }
    HWND Handle() const { return hwnd_; }

private:
    HWND hwnd_;
};

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

TEST(StatusWindows, LampRepaintsOnlyOnAStateChange) {
    HostWindow host;
    if (!host.Handle()) GTEST_SKIP() << "no display to create a window on";
    CIndicator lamp;
    ASSERT_TRUE(lamp.Create(host.Handle(), RECT{10, 10, 30, 30}, 4000));
    EXPECT_EQ(GetDlgCtrlID(lamp.Handle()), 4000);
    EXPECT_EQ(lamp.State(), 0);
    UpdateWindow(lamp.Handle());
    PumpMessages();

    RECT pending{};
    lamp.SetState(0);
    EXPECT_FALSE(GetUpdateRect(lamp.Handle(), &pending, FALSE)) << "same state: nothing to repaint";
    lamp.SetState(4);
    EXPECT_EQ(lamp.State(), 4);
    EXPECT_TRUE(GetUpdateRect(lamp.Handle(), &pending, FALSE));
    PumpMessages();
    EXPECT_FALSE(GetUpdateRect(lamp.Handle(), &pending, FALSE));

    HDC dc = GetDC(lamp.Handle());
    const COLORREF centre = GetPixel(dc, 10, 10);
    const COLORREF corner = GetPixel(dc, 0, 0);
    ReleaseDC(lamp.Handle(), dc);
    if (centre == CLR_INVALID) GTEST_SKIP() << "window pixels cannot be read back on this display";
    EXPECT_EQ(centre, RGB(0, 0, 200));
    EXPECT_EQ(corner, GetSysColor(COLOR_BTNFACE)) << "corners show the parent's static background";
}

TEST(StatusWindows, NumFieldDrawsAtOnceAndOnlyOnAChange) {
    HostWindow host;
    if (!host.Handle()) GTEST_SKIP() << "no display to create a window on";
    CNumCtrl field;
    ASSERT_TRUE(field.CreateEx(WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_BORDER,
                               RECT{10, 50, 150, 80}, host.Handle(), 2000));
    field.SetBackground(RGB(255, 255, 192));
    field.SetFont(CreateFontA(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Shell Dlg"));
    UpdateWindow(field.Handle());
    PumpMessages();

    // Paint a marker over the field: an equal text must leave it, a new text must draw over it.
    const COLORREF marker = RGB(0, 255, 0);
    auto paintMarker = [&] {
        HDC dc = GetDC(field.Handle());
        RECT all{};
        GetClientRect(field.Handle(), &all);
        HBRUSH brush = CreateSolidBrush(marker);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        ReleaseDC(field.Handle(), dc);
    };
    auto cornerPixel = [&] {
        HDC dc = GetDC(field.Handle());
        const COLORREF c = GetPixel(dc, 1, 1);
        ReleaseDC(field.Handle(), dc);
        return c;
    };
    field.SetText("123.4");
    EXPECT_EQ(field.Text(), "123.4");
    paintMarker();
    if (cornerPixel() != marker) GTEST_SKIP() << "window pixels cannot be read back on this display";
    field.SetText("123.4");
    EXPECT_EQ(cornerPixel(), marker) << "an equal text is not drawn again";
    field.SetText("");
    EXPECT_EQ(field.Text(), "");
    EXPECT_EQ(cornerPixel(), RGB(255, 255, 192)) << "a new text is drawn at once";

    // The window's own paint goes through the same drawing; a printed copy shows it.
    field.SetText("-0.5");
    RECT client{};
    GetClientRect(field.Handle(), &client);
    Canvas canvas(client.right, client.bottom, kWhite);
    field.Draw(canvas.Dc());
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(255, 255, 192));
    EXPECT_GT(canvas.Count(kBlack, client.right / 2, client.right - 2), 0);
    EXPECT_EQ(SendMessageA(field.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0), TRUE);
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(255, 255, 192)) << "erasing is suppressed";
}

TEST(StatusWindows, ControlsOutlivedByTheirObjectsAreDestroyedWithThem) {
    HostWindow host;
    if (!host.Handle()) GTEST_SKIP() << "no display to create a window on";
    HWND lampWindow = nullptr;
    HWND fieldWindow = nullptr;
    {
        CIndicator lamp;
        CNumCtrl field;
        ASSERT_TRUE(lamp.Create(host.Handle(), RECT{0, 0, 10, 10}, 4000));
        ASSERT_TRUE(field.CreateEx(0, WS_CHILD, RECT{0, 20, 50, 40}, host.Handle(), 2001));
        lampWindow = lamp.Handle();
        fieldWindow = field.Handle();
    }
    EXPECT_FALSE(IsWindow(lampWindow));
    EXPECT_FALSE(IsWindow(fieldWindow));
    // And a parent destroyed first leaves the objects harmless.
    CIndicator lamp;
    {
        HostWindow shortLived;
        ASSERT_TRUE(lamp.Create(shortLived.Handle(), RECT{0, 0, 10, 10}, 4000));
    }
    EXPECT_EQ(lamp.Handle(), nullptr);
    lamp.SetState(2);
    EXPECT_EQ(lamp.State(), 2);
}

}  // namespace

#endif
