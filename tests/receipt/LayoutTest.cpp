#include <gtest/gtest.h>

#include "receipt/Layout.h"
#include "receipt/Page.h"

using namespace receipt;

namespace {

std::vector<std::wstring> Texts(const Row& row) {
    std::vector<std::wstring> texts;
    for (const Piece& p : row) texts.push_back(p.text);
    return texts;
}

TEST(Cells, HalfAndFullWidth) {
    struct Case {
        std::wstring text;
        int cells;
    };
    const Case cases[] = {
        {L"", 0},           {L"abc 123,-", 9}, {L"¥1,100", 6}, {L"Café", 4}, {L"商品", 4},
        {L"※", 2},          {L"×", 2},         {L"±°", 4},     {L"ｱｲｳ", 3},  // half-width katakana
        {L"ＡＢ１", 6},                                                      // full-width forms
        {L"\u3000", 2},                                                      // ideographic space
        {L"\U00020BB7", 2},  // a kanji beyond the BMP: one character, two cells
    };
    for (const Case& c : cases) EXPECT_EQ(Cells(c.text), c.cells) << c.text.size();
}

TEST(Arrange, AlignmentOnTheGrid) {
    const int w = 20;
    std::vector<Row> rows = Arrange({Left(L"abc"), Centre(L"商品"), Centre(L"abc"), Right(L"¥100"),
                                     Amount(L"合計", L"¥1,000"), Amount(L"", L"¥5"), Left(L"")},
                                    w);
    ASSERT_EQ(rows.size(), 7u);
    struct Expect {
        int column;
        const wchar_t* text;
    };
    const Expect singles[] = {{0, L"abc"}, {(20 - 4) / 2, L"商品"}, {(20 - 3) / 2, L"abc"}, {20 - 4, L"¥100"}};
    for (size_t i = 0; i < 4; ++i) {
        ASSERT_EQ(rows[i].size(), 1u);
        EXPECT_EQ(rows[i][0].column, singles[i].column);
        EXPECT_EQ(rows[i][0].text, singles[i].text);
    }
    ASSERT_EQ(rows[4].size(), 2u);
    EXPECT_EQ(rows[4][0].column, 0);
    EXPECT_EQ(rows[4][1].column, 20 - 6);
    ASSERT_EQ(rows[5].size(), 1u);
    EXPECT_EQ(rows[5][0].column, 20 - 2);
    EXPECT_TRUE(rows[6].empty());
}

TEST(Arrange, AmountGoesUnderItsTextWhenBothDoNotFit) {
    struct Case {
        Line line;
        int columns;
        std::vector<std::vector<std::wstring>> rows;
    };
    const Case cases[] = {
        // 4 + 1 + 6 = 11 cells: fits in 11, not in 10.
        {Amount(L"合計", L"¥1,000"), 11, {{L"合計", L"¥1,000"}}},
        {Amount(L"合計", L"¥1,000"), 10, {{L"合計"}, {L"¥1,000"}}},
        // An amount wider than the paper is wrapped too, never cut.
        {Amount(L"x", L"¥1,234,567"), 5, {{L"x"}, {L"¥1,23"}, {L"4,567"}}},
    };
    for (const Case& c : cases) {
        std::vector<Row> got = Arrange({c.line}, c.columns);
        ASSERT_EQ(got.size(), c.rows.size()) << c.columns;
        for (size_t r = 0; r < got.size(); ++r) {
            EXPECT_EQ(Texts(got[r]), c.rows[r]) << c.columns;
            // An amount on a row of its own ends at the right edge.
            if (r > 0) {
                EXPECT_EQ(got[r][0].column + Cells(got[r][0].text), c.columns);
            }
        }
    }
    // A wrapped text: its rows first, the amount after the last of them.
    std::vector<Row> rows = Arrange({Amount(L"aaa bbb ccc", L"¥9")}, 7);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(Texts(rows[0]), std::vector<std::wstring>{L"aaa bbb"});
    EXPECT_EQ(Texts(rows[1]), std::vector<std::wstring>{L"ccc"});
    EXPECT_EQ(Texts(rows[2]), std::vector<std::wstring>{L"¥9"});
    EXPECT_EQ(rows[2][0].column, 5);
}

TEST(Arrange, LongTextIsWrappedNeverCut) {
    struct Case {
        Line line;
        int columns;
        std::vector<std::wstring> rows;
    };
    const Case cases[] = {
        {Left(L"10%対象 ¥1,100 内消費税 ¥100"), 16, {L"10%対象 ¥1,100", L"内消費税 ¥100"}},
        {Left(L"one two three"), 7, {L"one two", L"three"}},
        {Left(L"one  two"), 4, {L"one", L"two"}},             // the spaces at the break go
        {Left(L"abcdefghij"), 4, {L"abcd", L"efgh", L"ij"}},  // a word too long is broken
        {Left(L"あいうえお"), 5, {L"あい", L"うえ", L"お"}},  // never half a full-width character
        {Left(L"  indented text"), 10, {L"  indented", L"text"}},
        {Left(L"a\U00020BB7b"), 2, {L"a", L"\U00020BB7", L"b"}},  // a surrogate pair stays whole
    };
    for (const Case& c : cases) {
        std::vector<Row> rows = Arrange({c.line}, c.columns);
        std::vector<std::wstring> texts;
        for (const Row& row : rows) {
            ASSERT_EQ(row.size(), 1u);
            EXPECT_LE(Cells(row[0].text), c.columns);
            texts.push_back(row[0].text);
        }
        EXPECT_EQ(texts, c.rows) << c.line.text.size();
    }
    // Centred and right-aligned lines keep their alignment on every row.
    std::vector<Row> rows = Arrange({Centre(L"ab cd efgh"), Right(L"ab cd efgh")}, 6);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0][0].column, (6 - 5) / 2);
    EXPECT_EQ(rows[1][0].column, (6 - 4) / 2);
    EXPECT_EQ(rows[2][0].column, 6 - 5);
    EXPECT_EQ(rows[3][0].column, 6 - 4);
}

TEST(PlainText, SpacesForAlignmentAndCrLf) {
    std::wstring text = PlainText({Centre(L"店"), Amount(L"商品", L"¥10"), Right(L"x"), Left(L""), Left(L"end  ")}, 10);
    EXPECT_EQ(text, L"    店\r\n商品   ¥10\r\n         x\r\n\r\nend\r\n");
    EXPECT_EQ(PlainText({}, 10), L"");
}

TEST(Captioned, AReportLinePrintsAsItsTextWould) {
    struct Case {
        std::wstring caption;
        std::vector<std::wstring> values;
    };
    const Case cases[] = {{L"点検", {}}, {L"精算", {L"No.10"}}, {L"行取消", {L"2件", L"¥-750"}}};
    for (const Case& c : cases) {
        std::wstring text = c.caption;
        for (const std::wstring& value : c.values) text += L"\t" + value;
        EXPECT_EQ(PlainText({Captioned(c.caption, c.values)}, 32), PlainText(FromText(text), 32)) << text;
        EXPECT_TRUE(Captioned(c.caption, c.values).align == Align::Left);
    }
}

TEST(FromText, ReportLinesWithAndWithoutAmounts) {
    std::vector<Line> lines = FromText(L"点検\r\n客数\t3\n\r\n合計\t¥2,480\rlast");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].text, L"点検");
    EXPECT_EQ(lines[0].amount, L"");
    EXPECT_EQ(lines[1].text, L"客数");
    EXPECT_EQ(lines[1].amount, L"3");
    EXPECT_EQ(lines[2].text, L"");
    EXPECT_EQ(lines[3].amount, L"¥2,480");
    EXPECT_EQ(lines[4].text, L"last");
    EXPECT_EQ(FromText(L"a\r\n").size(), 1u);
    EXPECT_EQ(PlainText(FromText(L"合計\t¥2,480"), 12), L"合計  ¥2,480\r\n");
}

TEST(Page, StripSpreadsTheWidthOverTheColumns) {
    Strip strip{10, 5, 575, 48};
    EXPECT_EQ(strip.ColumnX(0), 10);
    EXPECT_EQ(strip.ColumnX(48), 10 + 575);
    EXPECT_EQ(strip.ColumnX(24), 10 + 575 * 24 / 48);
    EXPECT_EQ(strip.FontHeight(), 2 * 575 / 48);
    EXPECT_EQ(strip.RowPitch(), 5 * 575 / 96);
    Strip screen{0, 0, 32 * 8, 32};
    EXPECT_EQ(screen.FontHeight(), 16);
    EXPECT_EQ(screen.RowPitch(), 20);
}

TEST(Page, PlanOnReceiptPrintersAndOrdinaryPrinters) {
    auto px = [](double mm, int dpi) { return static_cast<int>(mm * dpi / 25.4 + 0.5); };
    // A 203-dpi receipt printer with 80 mm paper: the driver's printable area is the print width.
    DeviceMetrics receipt80{203, 203, 576, 20000, 640, 32, 0};
    PagePlan p = PlanPage(receipt80, 80, 48);
    EXPECT_EQ(p.strip.left, 0);
    EXPECT_EQ(p.strip.width, px(72, 203));
    EXPECT_EQ(p.strip.top, px(3, 203));
    EXPECT_EQ(p.rowsPerPage, (20000 - px(3, 203)) / p.strip.RowPitch());

    // 58 mm paper on a printer that prints the whole width: the strip is centred on the paper.
    DeviceMetrics full58{203, 203, px(58, 203), 3000, px(58, 203), 0, 0};
    p = PlanPage(full58, 58, 32);
    EXPECT_EQ(p.strip.width, px(48, 203));
    EXPECT_EQ(p.strip.left, (px(58, 203) - px(48, 203)) / 2);

    // A 600-dpi A4 printer that ignored the paper size: the print width at the left margin.
    DeviceMetrics a4{600, 600, 4760, 6814, 4960, 100, 100};
    p = PlanPage(a4, 80, 48);
    EXPECT_EQ(p.strip.left, 0);  // (80 - 72) / 2 mm is inside the 100-pixel unprintable edge
    EXPECT_EQ(p.strip.width, px(72, 600));
    EXPECT_EQ(p.strip.top, 0);
    EXPECT_EQ(p.rowsPerPage, 6814 / p.strip.RowPitch());

    // A printable area narrower than the print width: never beyond it.
    DeviceMetrics narrow{203, 203, 300, 1000, 400, 20, 50};
    p = PlanPage(narrow, 80, 48);
    EXPECT_LE(p.strip.left + p.strip.width, 300);
    EXPECT_EQ(p.strip.top, 0);
}

TEST(Page, PaperLengthHoldsTheRows) {
    // Rows 5/2 cells apart, a cell 72/48 = 1.5 mm (80 mm paper) or 48/32 = 1.5 mm (58 mm paper),
    // 3 mm above and 5 mm below: tenths of a mm.
    EXPECT_EQ(PaperLength(40, 80, 48), 80 + 40 * 375 / 10);
    EXPECT_EQ(PaperLength(41, 58, 32), 80 + 41 * 375 / 10);
    EXPECT_EQ(PaperLength(0, 80, 48), 80);
    EXPECT_EQ(PaperLength(100000, 80, 48), 32767) << "DEVMODE's largest length";
}

TEST(Page, TheRollIsChosenFromWhatTheDriverOffers) {
    // As a driver lists them: A4, letter, the rolls (under Wine numbered from 256), a longer 80 mm roll.
    const std::vector<PaperOffer> offers = {{9, 2100, 2970, L"A4"},
                                            {1, 2159, 2794, L"Letter"},
                                            {256, 580, 2970, L"58mm Roll"},
                                            {257, 800, 2970, L"80mm Roll"},
                                            {258, 796, 32000, L"80mm x 3200mm"}};
    struct Case {
        std::vector<PaperOffer> offers;
        int paper;
        int chosen;  // 0: none
    };
    const Case cases[] = {
        {offers, 58, 256},
        {offers, 80, 258},                       // within a millimetre, the longest
        {{offers[0], offers[1]}, 80, 0},         // no roll: none
        {{{260, 790, 2970, L"79mm"}}, 80, 260},  // a millimetre narrower still fits
        {{{261, 789, 2970, L"78.9mm"}}, 80, 0},
        {{}, 58, 0},
    };
    for (const Case& c : cases) {
        std::optional<PaperOffer> chosen = ChoosePaper(c.offers, c.paper);
        EXPECT_EQ(chosen ? chosen->id : 0, c.chosen) << c.paper << " from " << c.offers.size();
    }
}

TEST(Page, AGlyphTooWideForItsCellsIsDrawnNarrowerWithItsInkCentredThere) {
    struct Case {
        const char* what;
        int advance, inkLeft, inkWidth, room;
        double scale;
        int shift;
    };
    const Case cases[] = {
        {"fits", 12, 2, 8, 12, 1, 0},
        {"a quarter over: still its own", 15, 1, 13, 12, 1, 0},
        {"a full-width yen sign in one cell", 24, 5, 15, 12, 0.64, -2},  // its ink 9.6 pixels from 1.2 on
        {"wide, its ink narrow: only moved", 24, 8, 8, 12, 1, -6},
        {"a wider cell", 40, 6, 28, 20, 16.0 / 28, -1},  // its ink 16 pixels from 2 on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GlyphFit fit = FitGlyph(c.advance, c.inkLeft, c.inkWidth, c.room);
        EXPECT_DOUBLE_EQ(fit.scale, c.scale);
        EXPECT_EQ(fit.shift, c.shift);
    }
}

TEST(Pages, ASlipOfManyPagesIsMarkedOnEachPage) {
    std::vector<Row> rows = Arrange(FromText(L"1\n2\n3\n4\n5\n6\n7"), 20);
    struct Case {
        int perPage;
        std::wstring mark;
        std::vector<std::vector<std::wstring>> pages;  // each row's text, "" for an empty row
    };
    const Case cases[] = {
        {7, L"No.12", {{L"1", L"2", L"3", L"4", L"5", L"6", L"7"}}},  // one page: no mark
        {4, L"No.12", {{L"No.12 1/3", L"1", L"2", L"3"}, {L"No.12 2/3", L"4", L"5", L"6"}, {L"No.12 3/3", L"7"}}},
        {6, L"", {{L"1/2", L"1", L"2", L"3", L"4", L"5"}, {L"2/2", L"6", L"7"}}},  // a report
    };
    for (const Case& c : cases) {
        std::vector<std::vector<Row>> pages = Pages(rows, c.perPage, c.mark, 20);
        std::vector<std::vector<std::wstring>> texts;
        for (const std::vector<Row>& page : pages) {
            texts.emplace_back();
            for (const Row& row : page) texts.back().push_back(row.empty() ? L"" : row[0].text);
        }
        EXPECT_EQ(texts, c.pages) << c.perPage;
        if (pages.size() > 1) {
            EXPECT_EQ(pages[1][0][0].column, 20 - Cells(c.pages[1][0])) << "right-aligned";
        }
    }
}

}  // namespace
