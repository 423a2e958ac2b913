// The printed report: a picture of the main window as the screen shows it, stretched over the upper
// part of a landscape page, and two framed tables with the date and the measurement settings.
#pragma once

#include <windows.h>

struct Settings;

// Captures captureWindow from the screen, asks for a printer (the print dialog is owned by
// ownerWindow, or by captureWindow when null) and prints one single-page document per copy, named
// documentName, with the tables filled from `settings` as they stand. The printer chosen, with its
// device mode, is preselected by the next call. Every failure, and a cancelled dialog, ends the
// report silently.
void PrintReport(HWND captureWindow, const char* documentName, HWND ownerWindow, const Settings& settings);

// The window's rectangle (frame and title bar included) as the screen shows it now: a 24-bit
// bottom-up DIB section, or null when it cannot be made. The caller deletes it.
[[nodiscard]] HBITMAP CaptureWindowPicture(HWND window);

// Composes the page into dc, whose printable area is pw x ph device units at dpiX x dpiY dots per
// inch: frames, table texts from `settings` dated `clock`, and `picture` (may be null) stretched
// into its rectangle. Leaves the DC's state as it found it.
void ComposeReportPage(HDC dc, int pw, int ph, int dpiX, int dpiY, const Settings& settings, HBITMAP picture,
                       const SYSTEMTIME& clock);
