// Printed report: screen capture, print dialog with the kept printer, page composition.
#include "graphs/PrintReport.h"

#include "config/Settings.h"
#include "graphs/ReportPage.h"
#include "graphs/StatusBrushes.h"

#include <commdlg.h>
#include <cstring>
#include <shlwapi.h>

namespace {

// The printer chosen last, kept for the program run: handed to every print dialog and replaced by
// what the dialog returns.
HGLOBAL keptDevMode = nullptr;
HGLOBAL keptDevNames = nullptr;

// The page on a printer's DC, in the pen and fonts selected around each part.
class DcCanvas : public report::PageCanvas {
public:
    DcCanvas(HDC dc, HFONT textFont, HFONT pathFont) : dc_(dc), textFont_(textFont), pathFont_(pathFont) {}
    void MoveTo(int x, int y) override { MoveToEx(dc_, x, y, nullptr); }
    void LineTo(int x, int y) override { ::LineTo(dc_, x, y); }
    void Text(const report::PageText& t) override {
        SelectObject(dc_, t.font == report::Font::Path ? pathFont_ : textFont_);
        TextOutA(dc_, t.x, t.y, t.text.c_str(), static_cast<int>(t.text.size()));
    }

private:
    HDC dc_;
    HFONT textFont_, pathFont_;
};

HFONT CreateTextFont(const report::PageUnits& units) {
    LOGFONTA lf{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfHeight = units.fontHeight;
    return CreateFontIndirectA(&lf);
}

HFONT CreatePathFont(const report::PageUnits& units) {
    return CreateFontA(-units.fontHeight, -units.pathFontWidth, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DRAFT_QUALITY, FIXED_PITCH, "ＭＳ　ゴシック");
}

// [SPEC] SAVE_DIRECTORY shortened to fit a 50-character buffer, the middle replaced by an ellipsis.
std::string FolderText(const std::string& folder) {
    char buffer[report::kFolderTextMax + 1] = "";
    if (!PathCompactPathExA(buffer, folder.c_str(), sizeof buffer, 0)) return folder.substr(0, report::kFolderTextMax);
    return buffer;
}

report::Clock ToClock(const SYSTEMTIME& t) {
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

struct PrinterChoice {
    HDC dc = nullptr;
    DWORD copies = 0;
};

// Shows the print dialog with the kept printer and keeps what it returns. Returns the printer's
// context (landscape) and the number of copies, or a null context when nothing is to be printed.
PrinterChoice ChoosePrinter(HWND owner) {
    PRINTDLGEXA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.hDevMode = keptDevMode;
    pd.hDevNames = keptDevNames;
    pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_NOCURRENTPAGE;
    pd.nCopies = 1;
    pd.nStartPage = START_PAGE_GENERAL;
    if (FAILED(PrintDlgExA(&pd))) return {};
    keptDevMode = pd.hDevMode;
    keptDevNames = pd.hDevNames;
    // The dialog's own context is not used: the report's is made with the landscape device mode.
    if (pd.hDC) DeleteDC(pd.hDC);
    if (pd.dwResultAction != PD_RESULT_PRINT || !keptDevMode || !keptDevNames) return {};

    PrinterChoice choice;
    auto* mode = static_cast<DEVMODEA*>(GlobalLock(keptDevMode));
    auto* names = static_cast<DEVNAMES*>(GlobalLock(keptDevNames));
    if (mode && names) {
        mode->dmOrientation = DMORIENT_LANDSCAPE;
        const char* base = reinterpret_cast<const char*>(names);
        choice.dc = CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
        choice.copies = pd.nCopies;
    }
    if (names) GlobalUnlock(keptDevNames);
    if (mode) GlobalUnlock(keptDevMode);
    return choice;
}

}  // namespace

namespace {

BOOL CALLBACK UpdateDescendant(HWND child, LPARAM) {
    UpdateWindow(child);
    return TRUE;
}

// The window rectangle `r` read from the screen into a new 24-bit DIB whose bits are in `bits`.
// Only the part on the screen can be read; the rest stays black. (A read that reaches past the
// screen's edge would give no picture at all.)
HBITMAP ReadScreen(const RECT& r, const void*& bits) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;  // positive: bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* dib = nullptr;
    HBITMAP picture = w > 0 && h > 0 ? CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &dib, nullptr, 0) : nullptr;
    bits = dib;
    const RECT desktop{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                       GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                       GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    RECT shown{};
    if (picture && screen && memory && IntersectRect(&shown, &r, &desktop)) {
        status::ScopedSelect select(memory, picture);
        BitBlt(memory, shown.left - r.left, shown.top - r.top, shown.right - shown.left, shown.bottom - shown.top,
               screen, shown.left, shown.top, SRCCOPY);
        GdiFlush();
    }
    if (memory) DeleteDC(memory);
    if (screen) DeleteDC(screen);
    return picture;
}

}  // namespace

HBITMAP CaptureWindowPicture(HWND window) {
    RECT r{};
    if (!GetWindowRect(window, &r)) return nullptr;
    // The whole window is painted anew first: a menu that has just closed over it may still be on
    // the screen before the window system asks for the uncovered part.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    // What was painted reaches the screen later (Wine copies window surfaces from its message
    // calls), later still on a busy machine: the screen is read until two readings 100 ms apart
    // agree. Messages are only peeked at, so nothing is dispatched meanwhile.
    const size_t size = static_cast<size_t>(((r.right - r.left) * 3 + 3) & ~3) * static_cast<size_t>(r.bottom - r.top);
    HBITMAP picture = nullptr;
    const void* pictureBits = nullptr;
    const DWORD start = GetTickCount();
    for (DWORD last = start;;) {
        // Every descendant too (the panes' graphs and fields): Wine does not always paint the
        // children of child windows within the redraw.
        EnumChildWindows(window, UpdateDescendant, 0);
        GdiFlush();
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        Sleep(10);
        const DWORD now = GetTickCount();
        if (now - last < 100) continue;
        last = now;
        const void* bits = nullptr;
        HBITMAP reading = ReadScreen(r, bits);
        const bool settled = picture && reading && std::memcmp(bits, pictureBits, size) == 0;
        if (picture) DeleteObject(picture);
        picture = reading;
        pictureBits = bits;
        if (settled || !reading || now - start > 3000) break;
    }
    return picture;
}

void ComposeReportPage(HDC dc, int pw, int ph, int dpiX, int dpiY, const Settings& settings, HBITMAP picture,
                       const SYSTEMTIME& clock) {
    const report::PageGeometry page = report::ComputePageGeometry(pw, ph, dpiX, dpiY);
    const int saved = SaveDC(dc);

    HFONT textFont = CreateTextFont(page.units);
    HFONT pathFont = CreatePathFont(page.units);
    DcCanvas canvas(dc, textFont, pathFont);
    // GDI draws a dotted pen wider than 1 solid: the frames are solid lines (5 units at 600 dpi).
    HPEN framePen = CreatePen(PS_DOT, page.units.framePenWidth, RGB(0, 0, 0));
    {
        status::ScopedSelect select(dc, framePen);
        report::DrawTableFrames(canvas, page);
    }
    DeleteObject(framePen);
    {
        status::ScopedSelect select(dc, textFont);
        report::DrawPageTexts(canvas, report::PageTexts(page, settings, ToClock(clock), FolderText(settings.saveDirectory)));
    }
    DeleteObject(pathFont);
    DeleteObject(textFont);

    BITMAP bm{};
    if (picture && GetObjectA(picture, sizeof bm, &bm)) {
        HDC memory = CreateCompatibleDC(dc);
        if (memory) {
            {
                status::ScopedSelect select(memory, picture);
                SetStretchBltMode(dc, COLORONCOLOR);
                // Stretched to fill its rectangle; the window's aspect ratio is not kept.
                StretchBlt(dc, page.imgLeft, page.imgTop, page.imgW, page.imgH, memory, 0, 0, bm.bmWidth, bm.bmHeight,
                           SRCCOPY);
            }
            DeleteDC(memory);
        }
    }
    RestoreDC(dc, saved);
}

void PrintReport(HWND captureWindow, const char* documentName, HWND ownerWindow, const Settings& settings) {
    // Taken before the dialog opens: the picture shows the window as it was at the click.
    HBITMAP picture = CaptureWindowPicture(captureWindow);
    if (!picture) return;
    const PrinterChoice printer = ChoosePrinter(ownerWindow ? ownerWindow : captureWindow);
    if (printer.dc) {
        const int pw = GetDeviceCaps(printer.dc, HORZRES);
        const int ph = GetDeviceCaps(printer.dc, VERTRES);
        const int dpiX = GetDeviceCaps(printer.dc, LOGPIXELSX);
        const int dpiY = GetDeviceCaps(printer.dc, LOGPIXELSY);
        DOCINFOA doc{};
        doc.cbSize = sizeof doc;
        doc.lpszDocName = documentName;
        // One complete document per copy, each dated when it is composed.
        for (DWORD copy = 0; copy < printer.copies; ++copy) {
            if (StartDocA(printer.dc, &doc) <= 0) break;
            if (StartPage(printer.dc) <= 0) {
                AbortDoc(printer.dc);
                break;
            }
            SYSTEMTIME now{};
            GetLocalTime(&now);
            ComposeReportPage(printer.dc, pw, ph, dpiX, dpiY, settings, picture, now);
            EndPage(printer.dc);
            EndDoc(printer.dc);
        }
        DeleteDC(printer.dc);
    }
    DeleteObject(picture);
}
