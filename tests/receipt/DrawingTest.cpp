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
    // Whatever face stands in (one whose yen sign is full-width, say), the ink
    // of a character is no wider than its cells, measured in the font it was
    // drawn in at the width it was drawn.
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
            ABC ink{};
            ASSERT_TRUE(GetCharABCWidthsW(screen, t.text[i], t.text[i], &ink));
            EXPECT_LE(ink.abcB * t.scaleX, t.advances[i]) << static_cast<int>(t.text[i]);
        }
        SelectObject(screen, old);
        DeleteObject(font);
        drawn += t.text;
    }
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(drawn, L"※商品 ¥Ｔ×é¥1,080");
}

// The columns of a 32-bit picture `width` pixels wide that hold ink (pixels
// darker than mid-grey), as runs [begin, end) from the left, each with the
// rows its ink spans: the shapes drawn side by side, apart where a blank column parts them.
struct InkRun {
    int begin, end, height;
};
std::vector<InkRun> InkRuns(const std::vector<DWORD>& pixels, int width) {
    const int height = static_cast<int>(pixels.size()) / width;
    std::vector<InkRun> runs;
    int top = 0, bottom = 0;
    for (int x = 0; x < width; ++x) {
        int first = -1, last = -1;
        for (int y = 0; y < height; ++y)
            if (DWORD p = pixels[static_cast<size_t>(y * width + x)];
                (p & 0xFF) < 128 && ((p >> 8) & 0xFF) < 128 && ((p >> 16) & 0xFF) < 128) {
                if (first < 0) first = y;
                last = y;
            }
        if (first < 0) continue;
        if (runs.empty() || runs.back().end != x) {
            runs.push_back({x, x, 0});
            top = first, bottom = last;
        }
        top = std::min(top, first), bottom = std::max(bottom, last);
        runs.back().end = x + 1;
        runs.back().height = bottom - top + 1;
    }
    return runs;
}

TEST(Drawing, TheYenSignStandsAsTallAsTheDigitsInItsOwnCell) {
    // A face whose yen sign is full-width gives it one cell all the same: it
    // is drawn narrower there, not smaller, so that "¥1,234,567" never reads
    // as "-1,234,567", and its ink keeps clear of the digit's.
    for (int columns : {32, 48}) {
        SCOPED_TRACE(std::to_string(columns) + " columns");
        const Strip strip{0, 0, 576, columns};
        const int width = 576, height = strip.RowPitch();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all{0, 0, width, height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        Draw(dc, {Left(L"¥1,234,567")}, strip);
        GdiFlush();
        std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        const std::vector<InkRun> runs = InkRuns(pixels, width);
        ASSERT_GE(runs.size(), 2u);
        const InkRun &yen = runs[0], &digit = runs[1];
        EXPECT_LE(yen.end, strip.ColumnX(1)) << "the yen sign's ink stays in its cell";
        EXPECT_GE(digit.begin, strip.ColumnX(1)) << "the first shape after it is the digit's";
        ASSERT_GT(digit.height, 0);
        EXPECT_GE(yen.height * 10, digit.height * 9)
            << "the yen sign's ink is " << yen.height << " rows, a digit's " << digit.height;
    }
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
