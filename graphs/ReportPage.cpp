// Page geometry and table texts of the printed report.
#include "graphs/ReportPage.h"

#include "config/FormatSignificant.h"
#include "config/Settings.h"

#include <algorithm>
#include <cstdio>

namespace report {

namespace {

template <class... Args>
std::string Format(const char* format, Args... args) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

TableColumns Columns(int left, int labelWidth, int valueWidth) {
    return {left, left + labelWidth, left + labelWidth + valueWidth};
}

// Texts of one table: labels at the left edge, values right of the divider, one pair per row.
class TableWriter {
public:
    TableWriter(const PageGeometry& page, const TableColumns& columns, std::vector<PageText>& out)
        : page_(page), columns_(columns), out_(out) {}

    void Label(int row, std::string text) {
        out_.push_back({columns_.left + page_.units.gapX, page_.RowTop(row) + page_.units.textInsetY, std::move(text),
                        Font::Text});
    }
    void Value(int row, std::string text, Font font = Font::Text) {
        const int insetY = font == Font::Path ? page_.units.folderInsetY : page_.units.textInsetY;
        out_.push_back({columns_.divider + page_.units.valueInsetX, page_.RowTop(row) + insetY, std::move(text), font});
    }

private:
    const PageGeometry& page_;
    const TableColumns& columns_;
    std::vector<PageText>& out_;
};

}  // namespace

PageUnits UnitsAt(int dpiX, int dpiY) {
    if (dpiX <= 0) dpiX = kLayoutDpi;
    if (dpiY <= 0) dpiY = kLayoutDpi;
    auto scaled = [](int units, int dpi) {
        const long long v = (static_cast<long long>(units) * dpi + kLayoutDpi / 2) / kLayoutDpi;
        return static_cast<int>(std::clamp<long long>(v, 1, 1 << 20));
    };
    PageUnits u;
    u.gapX = scaled(kGap, dpiX);
    u.gapY = scaled(kGap, dpiY);
    u.rowHeight = scaled(kRowHeight, dpiY);
    u.textInsetY = scaled(kTextInsetY, dpiY);
    u.folderInsetY = scaled(kFolderInsetY, dpiY);
    u.valueInsetX = scaled(kValueInsetX, dpiX);
    u.fontHeight = scaled(kFontHeight, dpiY);
    u.pathFontWidth = scaled(kPathFontWidth, dpiX);
    u.framePenWidth = scaled(kFramePenWidth, dpiY);
    return u;
}

PageGeometry ComputePageGeometry(int pw, int ph, int dpiX, int dpiY) {
    PageGeometry g;
    g.units = UnitsAt(dpiX, dpiY);
    g.imgW = static_cast<int>(pw * 0.8);
    g.imgH = static_cast<int>(ph * 0.7);
    g.imgLeft = (pw - g.imgW) / 2;
    g.imgTop = static_cast<int>((ph - g.imgH) * 0.1);
    g.tableTop = g.imgTop + g.imgH + g.units.gapY;
    const double d = g.imgW - g.units.gapX;
    const int a = static_cast<int>(d * 0.2), b = static_cast<int>(d * 0.4);
    const int c = static_cast<int>(d * 0.25), e = static_cast<int>(d * 0.15);
    g.tables[0] = Columns(g.imgLeft, a, b);
    g.tables[1] = Columns(g.tables[0].right + g.units.gapX, c, e);
    return g;
}

std::string WindowName(int windowType) {
    static const char* const kNames[] = {"NONE", "Hamming", "Hanning", "Blackman", "Flat-top"};
    if (windowType >= 0 && windowType < static_cast<int>(sizeof kNames / sizeof kNames[0])) return kNames[windowType];
    return Format("%d", windowType);
}

std::vector<PageText> PageTexts(const PageGeometry& page, const Settings& s, const Clock& clock,
                                const std::string& folderText) {
    std::vector<PageText> out;
    const bool bit16 = s.bit == 16;

    TableWriter left(page, page.tables[0], out);
    left.Label(0, "日　付");
    left.Value(0, Format("%4.4d.%2.2d.%2.2d %2.2d:%2.2d:%2.2d", clock.year, clock.month, clock.day, clock.hour,
                         clock.minute, clock.second));
    left.Label(1, "メ　モ");
    left.Label(2, "ﾃﾞｰﾀ保存ﾌｫﾙﾀﾞ   ");
    left.Value(2, folderText, Font::Path);
    left.Label(3, "換算値  ");
    left.Value(3, Format("測定値(gal)=(AD値-%s)×換算値", bit16 ? "32768" : "2048"));
    left.Label(4, Format("  分解能は [%d bit]", s.bit));
    left.Value(4, Format("Ｘ：%s | Ｙ：%s | Ｚ：%s", FormatSignificant(s.kanzan[0], 6).c_str(),
                         FormatSignificant(s.kanzan[1], 6).c_str(), FormatSignificant(s.kanzan[2], 6).c_str()));
    left.Label(5, "保存ﾃﾞｰﾀMAX個数");
    left.Value(5, Format("%d (個)", s.savedataMaxnum));

    const bool psd = s.psdFlg != 0;
    TableWriter right(page, page.tables[1], out);
    right.Label(0, "トリガ前");
    right.Value(0, Format("%s (sec)", FormatSignificant(s.beforTime, 6).c_str()));
    right.Label(1, "ﾄﾘｶﾞ値を下まわってから");
    right.Value(1, Format("%s (sec)", FormatSignificant(s.afterTime, 6).c_str()));
    right.Label(2, "通信ポート");
    right.Value(2, s.com);
    right.Label(3, "ＰＳＤ表示");
    right.Value(3, psd ? "有" : "無");
    right.Label(4, "タイムウィンドウ");
    right.Value(4, psd ? WindowName(s.windowType) : "無");
    right.Label(5, "ハイパスフィルタ");
    if (psd && s.hipassFilterFlg != 0) {
        const std::string cutoff = Format("%5.1f", s.hipassFilter);
        right.Value(5, Format("有 %s (Hz)", Format("%6.6s", cutoff.c_str()).c_str()));
    } else {
        right.Value(5, "無");
    }
    return out;
}

std::string PictureFileName(const Clock& c) {
    return Format("%04d%02d%02d_%02d%02d%02d.png", c.year, c.month, c.day, c.hour, c.minute, c.second);
}

void DrawTableFrames(PageCanvas& canvas, const PageGeometry& page) {
    const int top = page.tableTop, bottom = page.TableBottom();
    auto line = [&canvas](int x0, int y0, int x1, int y1) {
        canvas.MoveTo(x0, y0);
        canvas.LineTo(x1, y1);
    };
    for (const TableColumns& t : page.tables) {
        canvas.MoveTo(t.left, top);
        canvas.LineTo(t.right, top);
        canvas.LineTo(t.right, bottom);
        canvas.LineTo(t.left, bottom);
        canvas.LineTo(t.left, top);
        line(t.divider, top, t.divider, bottom);
        for (int k = 1; k < kRows; ++k) line(t.left, page.RowTop(k), t.right, page.RowTop(k));
    }
}

void DrawPageTexts(PageCanvas& canvas, const std::vector<PageText>& texts) {
    for (const PageText& t : texts)
        if (!t.text.empty()) canvas.Text(t);
}

}  // namespace report
