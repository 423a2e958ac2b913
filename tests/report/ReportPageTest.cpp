// The report page: geometry at the two page sizes of the printers in use, and every table text for
// known settings and clock.
#include "config/Settings.h"
#include "graphs/ReportPage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using report::Font;
using report::PageText;

// A settings record as an operator might have it: 16-bit recorder, spectra with a high-pass.
Settings KnownSettings() {
    Settings s;
    s.bit = 16;
    s.kanzan = {0.0625, 0.125, 1.5};
    s.savedataMaxnum = 30000;
    s.beforTime = 2.5;
    s.afterTime = 10;
    s.com = "COM3";
    s.psdFlg = 1;
    s.windowType = 2;
    s.hipassFilterFlg = 1;
    s.hipassFilter = 0.5;
    s.saveDirectory = "C:\\data";
    return s;
}

const report::Clock kClock{2024, 5, 6, 7, 8, 9};

// The value text of a table row: the text right of the row's divider.
std::string ValueAt(const std::vector<PageText>& texts, const report::PageGeometry& g, int table, int row) {
    for (const PageText& t : texts)
        if (t.x > g.tables[table].divider && t.x < g.tables[table].right && t.y >= g.RowTop(row) &&
            t.y < g.RowTop(row + 1))
            return t.text;
    return "<none>";
}

TEST(ReportGeometry, HighResolutionPagePlacesPictureAndTablesSideBySide) {
    const report::PageGeometry g = report::ComputePageGeometry(6800, 4700);
    EXPECT_EQ(g.imgLeft, 680);
    EXPECT_EQ(g.imgTop, 141);
    EXPECT_EQ(g.imgW, 5440);
    EXPECT_EQ(g.imgH, 3290);
    EXPECT_EQ(g.tableTop, 3481);
    EXPECT_EQ(g.TableBottom(), 4261);
    EXPECT_EQ(g.tables[0].left, 680);
    EXPECT_EQ(g.tables[0].divider, 1758);
    EXPECT_EQ(g.tables[0].right, 3914);
    EXPECT_EQ(g.tables[1].left, 3964);
    EXPECT_EQ(g.tables[1].divider, 5311);
    EXPECT_EQ(g.tables[1].right, 6119);
}

TEST(ReportGeometry, LowResolutionPageScalesTheFixedSizesAndHoldsEveryRow) {
    const report::PageGeometry g = report::ComputePageGeometry(3300, 2300, 300, 300);
    EXPECT_EQ(g.imgLeft, 330);
    EXPECT_EQ(g.imgTop, 69);
    EXPECT_EQ(g.imgW, 2640);
    EXPECT_EQ(g.imgH, 1610);
    EXPECT_EQ(g.tableTop, 1704);
    EXPECT_EQ(g.TableBottom(), 2094);  // 1704 + 6 rows of 65: on the page
    EXPECT_EQ(g.tables[0].divider - g.tables[0].left, 523);
    EXPECT_EQ(g.tables[1].left, g.tables[0].right + 25);
    EXPECT_EQ(g.tables[1].right, 330 + 523 + 1046 + 25 + 653 + 392);
    const std::vector<PageText> texts = report::PageTexts(g, KnownSettings(), kClock, "C:\\data");
    EXPECT_EQ(texts.back().x, g.tables[1].divider + 15);
    EXPECT_EQ(texts.back().y, 1704 + 5 * 65 + 5);  // the last row's value, half the 600 dpi inset
    EXPECT_EQ(g.units.fontHeight, 50);
}

TEST(ReportGeometry, EveryResolutionPrintsTheSameLayoutOnTheSamePaper) {
    // A4 landscape, 11.69 x 8.27 inches; at 600 dpi the sizes are the fixed ones.
    const report::PageGeometry at600 = report::ComputePageGeometry(7016, 4961);
    EXPECT_EQ(at600.TableBottom() - at600.tableTop, 6 * report::kRowHeight);
    EXPECT_EQ(report::UnitsAt(0, -1).fontHeight, report::kFontHeight);  // no resolution: as at 600
    for (int dpi : {150, 200, 300, 360, 720, 1200}) {
        SCOPED_TRACE(dpi);
        const report::PageGeometry g = report::ComputePageGeometry(7016 * dpi / 600, 4961 * dpi / 600, dpi, dpi);
        const double inch = 1.0 / dpi;
        EXPECT_NEAR(g.TableBottom() * inch, at600.TableBottom() / 600.0, 8 * inch);
        EXPECT_NEAR(g.tables[1].left * inch, at600.tables[1].left / 600.0, 3 * inch);
        EXPECT_NEAR(g.units.fontHeight * inch, report::kFontHeight / 600.0, inch);
        const std::vector<PageText> texts = report::PageTexts(g, KnownSettings(), kClock, "C:\\data");
        EXPECT_LE(texts.back().y + g.units.fontHeight, g.TableBottom());
    }
}

TEST(ReportTexts, EveryTextOfKnownSettingsAtItsOrigin) {
    const report::PageGeometry g = report::ComputePageGeometry(6800, 4700);
    const std::vector<PageText> texts = report::PageTexts(g, KnownSettings(), kClock, "C:\\data");
    auto row = [&](int r) { return 3481 + 130 * r + 10; };
    const std::vector<PageText> expected = {
        {730, row(0), "日　付", Font::Text},
        {1788, row(0), "2024.05.06 07:08:09", Font::Text},
        {730, row(1), "メ　モ", Font::Text},
        {730, row(2), "ﾃﾞｰﾀ保存ﾌｫﾙﾀﾞ   ", Font::Text},
        {1788, 3481 + 260 + 20, "C:\\data", Font::Path},
        {730, row(3), "換算値  ", Font::Text},
        {1788, row(3), "測定値(gal)=(AD値-32768)×換算値", Font::Text},
        {730, row(4), "  分解能は [16 bit]", Font::Text},
        {1788, row(4), "Ｘ：0.0625 | Ｙ：0.125 | Ｚ：1.5", Font::Text},
        {730, row(5), "保存ﾃﾞｰﾀMAX個数", Font::Text},
        {1788, row(5), "30000 (個)", Font::Text},
        {4014, row(0), "トリガ前", Font::Text},
        {5341, row(0), "2.5 (sec)", Font::Text},
        {4014, row(1), "ﾄﾘｶﾞ値を下まわってから", Font::Text},
        {5341, row(1), "10.0 (sec)", Font::Text},
        {4014, row(2), "通信ポート", Font::Text},
        {5341, row(2), "COM3", Font::Text},
        {4014, row(3), "ＰＳＤ表示", Font::Text},
        {5341, row(3), "有", Font::Text},
        {4014, row(4), "タイムウィンドウ", Font::Text},
        {5341, row(4), "Hanning", Font::Text},
        {4014, row(5), "ハイパスフィルタ", Font::Text},
        {5341, row(5), "有    0.5 (Hz)", Font::Text},
    };
    ASSERT_EQ(texts.size(), expected.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(texts[i].x, expected[i].x);
        EXPECT_EQ(texts[i].y, expected[i].y);
        EXPECT_EQ(texts[i].text, expected[i].text);
        EXPECT_EQ(texts[i].font, expected[i].font);
    }
}

TEST(ReportTexts, SettingsVariants) {
    const report::PageGeometry g = report::ComputePageGeometry(6800, 4700);
    Settings s = KnownSettings();

    // Spectra off: all three spectrum rows say 無, whatever the window and the filter hold.
    s.psdFlg = 0;
    auto texts = report::PageTexts(g, s, kClock, "");
    EXPECT_EQ(ValueAt(texts, g, 1, 3), "無");
    EXPECT_EQ(ValueAt(texts, g, 1, 4), "無");
    EXPECT_EQ(ValueAt(texts, g, 1, 5), "無");

    // Spectra on, filter off; a window type no table holds prints as its number.
    s.psdFlg = 1;
    s.hipassFilterFlg = 0;
    s.windowType = 7;
    texts = report::PageTexts(g, s, kClock, "");
    EXPECT_EQ(ValueAt(texts, g, 1, 4), "7");
    EXPECT_EQ(ValueAt(texts, g, 1, 5), "無");
    EXPECT_EQ(report::WindowName(-1), "-1");
    EXPECT_EQ(report::WindowName(0), "NONE");
    EXPECT_EQ(report::WindowName(4), "Flat-top");

    // A cut-off is right-aligned in six characters and cut to six.
    s.hipassFilterFlg = 1;
    s.hipassFilter = 50;
    EXPECT_EQ(ValueAt(report::PageTexts(g, s, kClock, ""), g, 1, 5), "有   50.0 (Hz)");
    s.hipassFilter = 12345.67;
    EXPECT_EQ(ValueAt(report::PageTexts(g, s, kClock, ""), g, 1, 5), "有 12345. (Hz)");

    // A 12-bit recorder's offset is 2048.
    s.bit = 12;
    texts = report::PageTexts(g, s, kClock, "");
    EXPECT_EQ(ValueAt(texts, g, 0, 3), "測定値(gal)=(AD値-2048)×換算値");
}

TEST(ReportTexts, PictureFileNameFollowsTheDataFiles) {
    EXPECT_EQ(report::PictureFileName(kClock), "20240506_070809.png");
    EXPECT_EQ(report::PictureFileName({2030, 12, 31, 23, 59, 58}), "20301231_235958.png");
}

}  // namespace
