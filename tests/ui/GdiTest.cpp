#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ui/Gdi.h"

namespace {

int Width(HDC dc, HFONT font, const std::wstring& text) {
    ui::SelectGuard select(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

int Height(HFONT font) {
    LOGFONTW lf{};
    GetObjectW(font, sizeof lf, &lf);
    return -lf.lfHeight;
}

TEST(ShrinkToFit, TheLargestFontOfTheSameFaceThatShowsTheWholeText) {
    ui::MemoryDC dc(nullptr);
    for (bool bold : {false, true}) {
        ui::Font base = ui::MakeFont(L"ＭＳ Ｐゴシック", 27, bold);
        for (const std::wstring text : {L"\u00A519,979,998,102", L"-\u00A5999,999,999,899", L"24999999975000"}) {
            int full = Width(dc, base.get(), text);
            EXPECT_FALSE(ui::ShrinkToFit(dc, base.get(), text, full)) << "it fits as it is";
            for (int width : {full * 3 / 4, full / 2}) {
                ui::Font fitted = ui::ShrinkToFit(dc, base.get(), text, width);
                ASSERT_TRUE(fitted);
                EXPECT_LE(Width(dc, fitted.get(), text), width);
                ui::Font oneLarger = ui::MakeFont(L"ＭＳ Ｐゴシック", Height(fitted.get()) + 1, bold);
                EXPECT_GT(Width(dc, oneLarger.get(), text), width) << "one pixel larger would not fit";
                LOGFONTW a{}, b{};
                GetObjectW(base.get(), sizeof a, &a);
                GetObjectW(fitted.get(), sizeof b, &b);
                EXPECT_STREQ(a.lfFaceName, b.lfFaceName);
                EXPECT_EQ(a.lfWeight, b.lfWeight);
            }
        }
    }
}

}  // namespace
