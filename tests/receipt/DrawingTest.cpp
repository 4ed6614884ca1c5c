#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <numeric>

#include "receipt/Printing.h"
#include "tests/receipt/EmfText.h"
#include "tests/receipt/ReceiptText.h"
#include "tests/support/NoPrinters.h"
#include "tests/support/SettledSale.h"
#include "ui/Error.h"

using namespace receipt;
using receipt_test::ReceiptText;
using receipt_test::Shop;
using regi::TaxClass;

namespace {

regi::SaleRecord MixedSale() {
    return testing_support::SettledSale({{TaxClass::Reduced, 1080, 1, 1080},
                                         {TaxClass::Standard, 1100, 1, 1100},
                                         {TaxClass::Exempt, 100, 3, 300},
                                         {TaxClass::Standard, -9'999'999, 999, -9'989'999'001}},
                                        0, 7, L"2026-12-08T21:07:56");
}

// The text drawn, put back on a grid of cells `cell` pixels wide from where
// each piece starts and how far its characters advance.
std::wstring TextFromDrawing(const emf_text::Records& records, int left, int top, int cell, int pitch) {
    std::vector<std::wstring> rows;
    std::vector<int> ends;  // the cell each row's text reaches
    for (const emf_text::Text& t : records.texts) {
        size_t row = static_cast<size_t>((t.at.y - top) / pitch);
        if (rows.size() <= row) {
            rows.resize(row + 1);
            ends.resize(row + 1);
        }
        int column = (t.at.x - left) / cell;
        rows[row].append(static_cast<size_t>(std::max(column - ends[row], 0)), L' ');
        rows[row] += t.text;
        ends[row] = (t.at.x + std::accumulate(t.advances.begin(), t.advances.end(), 0) - left) / cell;
    }
    std::wstring text;
    for (const std::wstring& row : rows) text += row + L"\r\n";
    return text;
}

TEST(Drawing, MetafileTextIsTheReceiptOnItsGrid) {
    for (int paper : {80, 58}) {
        const int columns = paper == 80 ? 48 : 32, cell = 12;
        const Strip strip{7, 11, columns * cell, columns};
        const int pitch = 5 * cell / 2, height = 2 * cell;
        for (bool reprint : {false, true}) {
            emf_text::Recorder recorder;
            Draw(recorder.Dc(), ReceiptLines(MixedSale(), Shop(paper), reprint), strip);
            emf_text::Records records = recorder.Finish();

            ASSERT_FALSE(records.texts.empty());
            EXPECT_EQ(TextFromDrawing(records, 7, 11 + (pitch - height) / 2, cell, pitch),
                      ReceiptText(MixedSale(), Shop(paper), reprint))
                << paper;
            // Fixed pitch: a cell for a half-width character, two for a full-width one.
            for (const emf_text::Text& t : records.texts) {
                ASSERT_EQ(t.advances.size(), t.text.size());
                for (size_t i = 0; i < t.text.size(); ++i)
                    EXPECT_EQ(t.advances[i], t.text[i] < 0x80 || t.text[i] == L'¥' ? cell : 2 * cell) << t.text;
            }
            ASSERT_FALSE(records.fonts.empty());
            EXPECT_STREQ(records.fonts[0].lfFaceName, L"ＭＳ ゴシック");
            EXPECT_EQ(records.fonts[0].lfHeight, -height);
        }
    }
}

// Where each row's text starts and ends, in pixels; a glyph drawn smaller sits
// lower on its row.
std::vector<std::pair<int, int>> RowExtents(const emf_text::Records& records, int pitch) {
    std::map<int, std::pair<int, int>> rows;  // by row
    for (const emf_text::Text& t : records.texts) {
        int start = t.at.x, end = t.at.x + std::accumulate(t.advances.begin(), t.advances.end(), 0);
        auto found = rows.find(t.at.y / pitch);
        if (found == rows.end()) {
            rows[t.at.y / pitch] = {start, end};
        } else {
            found->second = {std::min(found->second.first, start), std::max(found->second.second, end)};
        }
    }
    std::vector<std::pair<int, int>> extents;
    for (const auto& row : rows) extents.push_back(row.second);
    return extents;
}

TEST(Drawing, AmountsEndAtTheRightEdgeOfAnUnevenStrip) {
    // 575 pixels over 48 columns: the cells share the remainder.
    const Strip strip{3, 0, 575, 48};
    emf_text::Recorder recorder;
    Draw(recorder.Dc(), {Right(L"¥2,480"), Right(L"x"), Left(L"商品"), Amount(L"", L"-¥9,999,999,999,999")}, strip);
    std::vector<std::pair<int, int>> rows = RowExtents(recorder.Finish(), strip.RowPitch());
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].second, 3 + 575);
    EXPECT_EQ(rows[1].second, 3 + 575);
    EXPECT_EQ(rows[2].first, 3);
    EXPECT_EQ(rows[3].second, 3 + 575);
    EXPECT_EQ(rows[3].first, 3 + 575 * (48 - 19) / 48);
}

TEST(Drawing, NoGlyphIsWiderThanItsCells) {
    // Whatever face stands in (one whose yen sign is full-width, say), a
    // character drawn in one cell stays inside it, measured in the font it was drawn in.
    const Strip strip{0, 0, 48 * 12, 48};
    emf_text::Recorder recorder;
    Draw(recorder.Dc(), {Amount(L"※商品 ¥Ｔ×é", L"¥1,080")}, strip);
    emf_text::Records records = recorder.Finish();
    HDC screen = GetDC(nullptr);
    std::wstring drawn;
    for (const emf_text::Text& t : records.texts) {
        HFONT font = CreateFontIndirectW(&t.font);
        HGDIOBJ old = SelectObject(screen, font);
        for (size_t i = 0; i < t.text.size(); ++i) {
            SIZE size{};
            GetTextExtentPoint32W(screen, &t.text[i], 1, &size);
            EXPECT_LE(size.cx, t.advances[i] + t.advances[i] / 4) << static_cast<int>(t.text[i]);
        }
        SelectObject(screen, old);
        DeleteObject(font);
        drawn += t.text;
    }
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(drawn, L"※商品 ¥Ｔ×é¥1,080");
}

TEST(Drawing, ASliceOfRowsStartsAtTheTop) {
    // What a page of a printer that cannot take a long page holds.
    std::vector<Row> rows = Arrange(FromText(L"one\r\ntwo\r\nthree\r\nfour\r\nfive"), 32);
    const Strip strip{0, 50, 384, 32};
    emf_text::Recorder recorder;
    DrawRows(recorder.Dc(), rows, strip, 2, 2);
    emf_text::Records records = recorder.Finish();
    ASSERT_EQ(records.texts.size(), 2u);
    EXPECT_EQ(records.texts[0].text, L"three");
    EXPECT_EQ(records.texts[1].text, L"four");
    const int pitch = 5 * 384 / 64, height = 2 * 384 / 32;
    EXPECT_EQ(records.texts[0].at.y, 50 + (pitch - height) / 2);
    EXPECT_EQ(records.texts[1].at.y, 50 + pitch + (pitch - height) / 2);
}

std::wstring PrintError(const std::vector<Line>& lines, const Settings& settings,
                        const Printers& printers = SystemPrinters()) {
    try {
        Print(printers, lines, settings, L"レシート");
    } catch (const ui::Error& e) {
        return e.Message();
    }
    return L"(printed)";
}

TEST(Printing, APrinterThatIsGoneIsNotFoundByName) {
    Settings settings = Shop(80);
    settings.printer = L"Pelmora 試験用の存在しないプリンター";
    const std::wstring missing = L"プリンター「Pelmora 試験用の存在しないプリンター」が見つかりません";
    EXPECT_EQ(PrintError(ReceiptLines(MixedSale(), settings, false), settings), missing);
    settings.paperWidth = 58;
    EXPECT_EQ(PrintError(FromText(L"点検\r\n合計\t¥2,480"), settings), missing);
    EXPECT_EQ(PaperNote(SystemPrinters(), settings.printer, 58), missing);
}

TEST(Printing, WithoutPrintersTheDefaultIsNotFound) {
    Settings settings = Shop(80);
    EXPECT_EQ(PrintError(ReceiptLines(MixedSale(), settings, true), settings, testing_support::NoPrinters()),
              kNoPrinter);
    EXPECT_EQ(PrintError({}, settings, testing_support::NoPrinters()), kNoPrinter);
}

}  // namespace
