// The composed page as GDI records and paints it (Win32 tree only): lines, texts and the picture's
// rectangle from an enhanced metafile, the solid frames and the stretched picture in a bitmap, and
// a PNG file written through GDI+.
#ifdef _WIN32

#include "config/Settings.h"
#include "graphs/PrintReport.h"
#include "graphs/ReportPage.h"
#include "graphs/SavePicture.h"

#include "common/DibCanvas.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

Settings PageSettings() {
    Settings s;
    s.bit = 16;
    s.kanzan = {0.125, 0.125, 0.125};
    s.savedataMaxnum = 30000;
    s.beforTime = 1;
    s.afterTime = 1;
    s.com = "COM1";
    s.saveDirectory = "C:\\Users\\operator\\Documents\\measurements\\2024\\bridge-north\\pier-3";
    return s;
}

const SYSTEMTIME kClock{2024, 5, 1, 6, 7, 8, 9, 0};

// A 24-bit bottom-up picture: left half red, right half blue.
HBITMAP TwoColourPicture(int w, int h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const int stride = (w * 3 + 3) & ~3;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = static_cast<unsigned char*>(bits) + y * stride + x * 3;
            p[0] = x < w / 2 ? 0 : 255;    // blue
            p[1] = 0;
            p[2] = x < w / 2 ? 255 : 0;    // red
        }
    return bitmap;
}

struct Segment {
    int x0, y0, x1, y1;
    bool operator<(const Segment& o) const { return std::tie(x0, y0, x1, y1) < std::tie(o.x0, o.y0, o.x1, o.y1); }
};

struct Recorded {
    std::set<Segment> lines;
    std::vector<report::PageText> texts;
    RECT stretchDest{};
    int stretchCount = 0;
    std::vector<LONG> penWidths;
    std::vector<LONG> fontHeights;
};

std::string ToCp932(const wchar_t* text, int length) {
    const int n = WideCharToMultiByte(932, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(932, 0, text, length, &out[0], n, nullptr, nullptr);
    return out;
}

int CALLBACK Collect(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM param) {
    auto* r = reinterpret_cast<Recorded*>(param);
    static POINT pen{};
    switch (record->iType) {
    case EMR_MOVETOEX: {
        const auto* m = reinterpret_cast<const EMRMOVETOEX*>(record);
        pen = {m->ptl.x, m->ptl.y};
        break;
    }
    case EMR_LINETO: {
        const auto* l = reinterpret_cast<const EMRLINETO*>(record);
        r->lines.insert({pen.x, pen.y, l->ptl.x, l->ptl.y});
        pen = {l->ptl.x, l->ptl.y};
        break;
    }
    case EMR_EXTTEXTOUTW: {
        const auto* t = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) + t->emrtext.offString);
        r->texts.push_back({t->emrtext.ptlReference.x, t->emrtext.ptlReference.y,
                            ToCp932(chars, static_cast<int>(t->emrtext.nChars)), report::Font::Text});
        break;
    }
    case EMR_EXTTEXTOUTA: {
        const auto* t = reinterpret_cast<const EMREXTTEXTOUTA*>(record);
        const char* chars = reinterpret_cast<const char*>(record) + t->emrtext.offString;
        r->texts.push_back({t->emrtext.ptlReference.x, t->emrtext.ptlReference.y,
                            std::string(chars, t->emrtext.nChars), report::Font::Text});
        break;
    }
    case EMR_STRETCHBLT: {
        const auto* s = reinterpret_cast<const EMRSTRETCHBLT*>(record);
        r->stretchDest = {s->xDest, s->yDest, s->xDest + s->cxDest, s->yDest + s->cyDest};
        ++r->stretchCount;
        break;
    }
    case EMR_CREATEPEN:
        r->penWidths.push_back(reinterpret_cast<const EMRCREATEPEN*>(record)->lopn.lopnWidth.x);
        break;
    case EMR_EXTCREATEPEN:
        r->penWidths.push_back(static_cast<LONG>(reinterpret_cast<const EMREXTCREATEPEN*>(record)->elp.elpWidth));
        break;
    case EMR_EXTCREATEFONTINDIRECTW:
        r->fontHeights.push_back(reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record)->elfw.elfLogFont.lfHeight);
        break;
    default:
        break;
    }
    return 1;
}

Recorded RecordPage(int pw, int ph, const Settings& settings) {
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    HBITMAP picture = TwoColourPicture(64, 48);
    ComposeReportPage(dc, pw, ph, 600, 600, settings, picture, kClock);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    DeleteObject(picture);
    Recorded r;
    EnumEnhMetaFile(nullptr, emf, Collect, &r, nullptr);
    DeleteEnhMetaFile(emf);
    return r;
}

bool HasText(const Recorded& r, int x, int y, const std::string& text) {
    return std::any_of(r.texts.begin(), r.texts.end(),
                       [&](const report::PageText& t) { return t.x == x && t.y == y && t.text == text; });
}

TEST(ReportPageGdi, RecordedPageHasFramesTextsAndStretchedPicture) {
    const Settings settings = PageSettings();
    const Recorded r = RecordPage(6800, 4700, settings);

    // Table 1 from x 680 to 3914 with its divider at 1758; table 2 from 3964 to 6119, divider 5311.
    const int top = 3481, bottom = 4261;
    for (auto [left, divider, right] : {std::tuple{680, 1758, 3914}, std::tuple{3964, 5311, 6119}}) {
        SCOPED_TRACE(left);
        EXPECT_TRUE(r.lines.count({left, top, right, top}));
        EXPECT_TRUE(r.lines.count({right, top, right, bottom}));
        EXPECT_TRUE(r.lines.count({right, bottom, left, bottom}));
        EXPECT_TRUE(r.lines.count({left, bottom, left, top}));
        EXPECT_TRUE(r.lines.count({divider, top, divider, bottom}));
        for (int k = 1; k <= 5; ++k) EXPECT_TRUE(r.lines.count({left, top + 130 * k, right, top + 130 * k})) << k;
    }
    EXPECT_EQ(r.lines.size(), 2u * 10u);
    ASSERT_FALSE(r.penWidths.empty());
    EXPECT_EQ(r.penWidths.front(), 5);
    EXPECT_TRUE(std::count(r.fontHeights.begin(), r.fontHeights.end(), 100) == 1 &&
                std::count(r.fontHeights.begin(), r.fontHeights.end(), -100) == 1);

    EXPECT_EQ(r.stretchCount, 1);
    EXPECT_EQ(r.stretchDest.left, 680);
    EXPECT_EQ(r.stretchDest.top, 141);
    EXPECT_EQ(r.stretchDest.right, 680 + 5440);
    EXPECT_EQ(r.stretchDest.bottom, 141 + 3290);

    // Every non-empty text of the page, drawn at its origin; the long data folder is shortened.
    const report::PageGeometry g = report::ComputePageGeometry(6800, 4700);
    const auto expected = report::PageTexts(g, settings, {2024, 5, 6, 7, 8, 9}, "");
    size_t drawn = 0;
    for (const report::PageText& t : expected) {
        if (t.text.empty()) continue;
        EXPECT_TRUE(HasText(r, t.x, t.y, t.text)) << t.text;
        ++drawn;
    }
    EXPECT_TRUE(HasText(r, 1758 + 30, top + 10, "2024.05.06 07:08:09"));
    const auto folder = std::find_if(r.texts.begin(), r.texts.end(),
                                     [&](const report::PageText& t) { return t.y == top + 280; });
    ASSERT_NE(folder, r.texts.end());
    EXPECT_LE(folder->text.size(), 49u);
    EXPECT_NE(folder->text.find("..."), std::string::npos) << folder->text;
    EXPECT_EQ(folder->text.rfind("pier-3"), folder->text.size() - 6) << folder->text;
    EXPECT_EQ(r.texts.size(), drawn + 1);
}

TEST(ReportPageGdi, FolderTextShortOrBeyondAnyPathLength) {
    Settings settings = PageSettings();
    settings.saveDirectory = "D:\\vib";
    EXPECT_TRUE(HasText(RecordPage(6800, 4700, settings), 1788, 3481 + 280, "D:\\vib"));

    settings.saveDirectory = "C:\\" + std::string(400, 'a') + "\\end";
    const Recorded r = RecordPage(6800, 4700, settings);
    const auto folder = std::find_if(r.texts.begin(), r.texts.end(),
                                     [&](const report::PageText& t) { return t.y == 3481 + 280; });
    ASSERT_NE(folder, r.texts.end());
    EXPECT_GT(folder->text.size(), 0u);
    EXPECT_LE(folder->text.size(), 49u);
}

TEST(ReportPageGdi, LowResolutionPagePaintsSolidFramesAndTheStretchedPicture) {
    test_common::Canvas page(3300, 2300, RGB(255, 255, 255));
    HBITMAP picture = TwoColourPicture(64, 48);
    ComposeReportPage(page.Dc(), 3300, 2300, 300, 300, PageSettings(), picture, kClock);
    DeleteObject(picture);

    // Picture 2640 x 1610 at (330, 69): red on the left half, blue on the right.
    EXPECT_EQ(page.Pixel(330 + 5, 69 + 5), RGB(255, 0, 0));
    EXPECT_EQ(page.Pixel(330 + 2640 - 5, 69 + 1610 - 5), RGB(0, 0, 255));
    EXPECT_EQ(page.Pixel(330 - 3, 69 + 5), RGB(255, 255, 255));
    EXPECT_EQ(page.Pixel(330 + 2640 + 2, 69 + 5), RGB(255, 255, 255));

    // At 300 dpi the dotted pen is 3 units wide and draws solid: table 1's left edge is black from
    // the tables' top at 1704 down to their bottom at 2094, the page below it white; the bottom
    // line runs across the whole table.
    int black = 0;
    for (int y = 1704 + 2; y < 2094 - 1; ++y) black += page.Pixel(330, y) == RGB(0, 0, 0);
    EXPECT_EQ(black, 2094 - 1704 - 3);
    for (int y = 2094 + 2; y < 2300; ++y) ASSERT_EQ(page.Pixel(330, y), RGB(255, 255, 255)) << y;
    black = 0;
    for (int x = 330 + 2; x < 330 + 523 + 1046 - 1; ++x) black += page.Pixel(x, 2094) == RGB(0, 0, 0);
    EXPECT_EQ(black, 523 + 1046 - 3);
    EXPECT_EQ(page.Pixel(330 + 4, 1704 + 30), RGB(255, 255, 255));
}

TEST(ReportPicture, PngOfAPictureAndAFailedSaveKeepsTheOldFile) {
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    const std::string path = std::string(dir) + "quorvel-report-test.png";
    HBITMAP picture = TwoColourPicture(40, 30);
    ASSERT_TRUE(SavePng(picture, path));
    DeleteObject(picture);

    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    unsigned char head[24] = {};
    ASSERT_EQ(std::fread(head, 1, sizeof head, f), sizeof head);
    std::fclose(f);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(head) + 1, 3), "PNG");
    const auto be32 = [&](int at) { return (head[at] << 24) | (head[at + 1] << 16) | (head[at + 2] << 8) | head[at + 3]; };
    EXPECT_EQ(be32(16), 40);  // IHDR width
    EXPECT_EQ(be32(20), 30);  // IHDR height

    // No picture: nothing is written and the existing file stays.
    EXPECT_FALSE(SavePng(nullptr, path));
    EXPECT_EQ(GetFileAttributesA((path + ".part").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    // A folder that does not exist: false, no file.
    HBITMAP small = TwoColourPicture(4, 4);
    EXPECT_FALSE(SavePng(small, std::string(dir) + "no-such-folder\\x.png"));
    DeleteObject(small);
    DeleteFileA(path.c_str());
}

}  // namespace

#endif
