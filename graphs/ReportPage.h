// The printed report's page, free of the platform: where the picture and the two tables go in the
// printer's device units, and every text of the tables with its origin and font.
#pragma once

#include <string>
#include <vector>

struct Settings;

namespace report {

// Fixed sizes in device units of a 600 dpi printer. At another resolution each is scaled by that
// resolution relative to 600 dpi (PageUnits), so every printer prints the same layout; a 600 dpi
// page has exactly these numbers.
constexpr int kLayoutDpi = 600;
constexpr int kGap = 50;          // picture to tables, table to table, label inset
constexpr int kRowHeight = 130;
constexpr int kRows = 6;
constexpr int kTextInsetY = 10;   // text top below its row's top
constexpr int kFolderInsetY = 20; // the data-folder text alone sits lower
constexpr int kValueInsetX = 30;  // value text right of its column divider
constexpr int kFontHeight = 100;  // cell height of the text font, character height of the path font
constexpr int kPathFontWidth = 40;
constexpr int kFramePenWidth = 5;
constexpr int kFolderTextMax = 49;  // longest data-folder text (a 50-character buffer)

// The fixed sizes in one printer's device units: horizontal ones by its x resolution, vertical
// ones (and the font and pen sizes) by its y resolution.
struct PageUnits {
    int gapX = kGap;   // table to table, label inset, picture width less the tables' width
    int gapY = kGap;   // picture to tables
    int rowHeight = kRowHeight;
    int textInsetY = kTextInsetY;
    int folderInsetY = kFolderInsetY;
    int valueInsetX = kValueInsetX;
    int fontHeight = kFontHeight;
    int pathFontWidth = kPathFontWidth;
    int framePenWidth = kFramePenWidth;
};

// The units of a printer of dpiX x dpiY dots per inch, rounded to whole units (at least 1); a
// resolution that is not positive counts as 600.
[[nodiscard]] PageUnits UnitsAt(int dpiX, int dpiY);

// One framed table: outer left and right edge and the column divider between label and value.
struct TableColumns {
    int left = 0;
    int divider = 0;
    int right = 0;
};

// Invariant: tables[0].right + units.gapX == tables[1].left; rows run from tableTop in
// units.rowHeight steps.
struct PageGeometry {
    PageUnits units;
    int imgLeft = 0, imgTop = 0, imgW = 0, imgH = 0;  // the stretched picture
    int tableTop = 0;
    TableColumns tables[2];

    int TableBottom() const { return tableTop + kRows * units.rowHeight; }
    int RowTop(int row) const { return tableTop + units.rowHeight * row; }
};

// Geometry of a page whose printable area is pw x ph device units, on a printer of dpiX x dpiY
// dots per inch.
[[nodiscard]] PageGeometry ComputePageGeometry(int pw, int ph, int dpiX = kLayoutDpi, int dpiY = kLayoutDpi);

// Local date and time of the composition of one copy.
struct Clock {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

enum class Font { Text, Path };

// One TextOut of the page: origin (left, top) and CP932 bytes.
struct PageText {
    int x = 0;
    int y = 0;
    std::string text;
    Font font = Font::Text;
};

// Every text of both tables, row by row (labels before values). `folderText` is [SPEC]
// SAVE_DIRECTORY as it is to be printed (already shortened to at most kFolderTextMax characters);
// the resolution line stands in the empty label cell of the factors' row.
[[nodiscard]] std::vector<PageText> PageTexts(const PageGeometry& page, const Settings& settings, const Clock& clock,
                                              const std::string& folderText);

// Where a page is drawn (the printer's DC), with GDI's line rules: LineTo leaves out its end point.
class PageCanvas {
public:
    virtual ~PageCanvas() = default;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // A text of the page in its font.
    virtual void Text(const PageText& text) = 0;
};

// The frames of both tables: outline, column divider and row lines, in the pen the canvas has.
void DrawTableFrames(PageCanvas& canvas, const PageGeometry& page);
// Every text that is not empty.
void DrawPageTexts(PageCanvas& canvas, const std::vector<PageText>& texts);

// The name of a [PSD] WINDOW_TYPE value as the report prints it; a value outside 0..4 prints as
// its number.
[[nodiscard]] std::string WindowName(int windowType);

// Default file name of a saved picture taken at `clock`: YYYYMMDD_hhmmss.png, like the data files.
[[nodiscard]] std::string PictureFileName(const Clock& clock);

}  // namespace report
