#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

#include "receipt/Drawer.h"
#include "receipt/Receipt.h"
#include "tests/receipt/ReceiptText.h"
#include "tests/support/SettledSale.h"

using namespace receipt;
using receipt_test::ReceiptText;
using regi::TaxClass;

namespace {

constexpr auto S = TaxClass::Standard, R = TaxClass::Reduced, E = TaxClass::Exempt;

regi::LineRecord Item(TaxClass c, std::int64_t price, std::int64_t quantity = 1) {
    return {c, price, quantity, price * quantity};
}

regi::SaleRecord Sale(std::vector<regi::LineRecord> lines, std::int64_t tendered, std::int64_t number = 42) {
    return testing_support::SettledSale(std::move(lines), tendered, number, L"2026-12-08T21:07:56");
}

Settings Shop(std::wstring registration = L"T1234567890123", int paper = 80) {
    Settings s;
    s.shop = L"青葉商店";
    s.address = L"TEL 03-1234-5678";
    s.registrationNumber = std::move(registration);
    s.paperWidth = paper;
    return s;
}

// Widths counted here on their own: ASCII and the yen sign take one cell,
// every other character of these receipts two.
int Width(const std::wstring& text) {
    int w = 0;
    for (wchar_t c : text) w += (c < 0x80 || c == L'¥') ? 1 : 2;
    return w;
}
std::wstring Spaces(int n) { return std::wstring(static_cast<size_t>(std::max(n, 0)), L' '); }
std::wstring Centred(const std::wstring& text, int columns) { return Spaces((columns - Width(text)) / 2) + text; }
std::wstring Split(const std::wstring& left, const std::wstring& right, int columns) {
    return left + Spaces(columns - Width(left) - Width(right)) + right;
}
std::wstring Join(const std::vector<std::wstring>& rows) {
    std::wstring text;
    for (const std::wstring& row : rows) text += row + L"\r\n";
    return text;
}

std::vector<std::wstring> RowsOf(const std::wstring& text) {
    std::vector<std::wstring> rows;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(L"\r\n", start);
        rows.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return rows;
}

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

// "T" followed by a digit anywhere: the start of anything that passes for a registration number.
bool HasTAndDigits(const std::wstring& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if ((text[i] == L'T' || text[i] == L'Ｔ') && std::iswdigit(text[i + 1])) return true;
    return false;
}

TEST(ReceiptText, RegisteredShopMixedClasses) {
    // 1080 F2, 1100 ENTER, 100 + with quantity 3, 5000 tendered.
    regi::SaleRecord sale = Sale({Item(R, 1080), Item(S, 1100), Item(E, 100, 3)}, 5000);
    const int w = 48;
    const std::wstring rule = std::wstring(48, L'-');
    EXPECT_EQ(ReceiptText(sale, Shop(), false), Join({
                                                    Centred(L"青葉商店", w),
                                                    Centred(L"TEL 03-1234-5678", w),
                                                    Centred(L"登録番号 T1234567890123", w),
                                                    L"",
                                                    Split(L"2026年12月08日(火) 21:07", L"No.42", w),
                                                    rule,
                                                    Split(L"※商品", L"¥1,080", w),
                                                    Split(L"商品", L"¥1,100", w),
                                                    L"非課税商品",
                                                    Split(L"  3 × ¥100", L"¥300", w),
                                                    rule,
                                                    Split(L"合計", L"¥2,480", w),
                                                    L"10%対象 ¥1,100 内消費税 ¥100",
                                                    L"8%対象 ¥1,080 内消費税 ¥80",
                                                    L"非課税 ¥300",
                                                    Split(L"お預り", L"¥5,000", w),
                                                    Split(L"お釣り", L"¥2,520", w),
                                                    L"",
                                                    L"※は軽減税率対象",
                                                }));
}

TEST(ReceiptText, DepartmentsNameTheLinesAndDiscountsStandUnderThem) {
    // The tax office's example: ¥1,000 off ¥3,300 at 10 % and ¥2,160 at 8 %,
    // the bread in a department of its own with ¥100 off.
    regi::LineRecord bread = Item(R, 2260);
    bread.department = 12;
    bread.discount = regi::Discount{regi::DiscountKind::Yen, 100, 100};
    regi::SaleRecord sale = testing_support::SettledSale({Item(S, 3300), bread}, 5000, 42, L"2026-12-08T21:07:56",
                                                         regi::Discount{regi::DiscountKind::Yen, 1000, 1000});
    Settings shop = Shop();
    shop.departments.named = {{12, L"パン", R}};
    const int w = 48;
    const std::vector<std::wstring> rows = RowsOf(ReceiptText(sale, shop, false));
    const std::vector<std::wstring> expected = {
        Split(L"商品", L"¥3,300", w),         Split(L"※パン", L"¥2,260", w), Split(L"  値引", L"-¥100", w),
        Split(L"小計値引", L"-¥1,000", w),   Split(L"  (10%対象分)", L"-¥604", w),
        Split(L"  (8%対象分)", L"-¥396", w), std::wstring(48, L'-'),         Split(L"合計", L"¥4,460", w),
        L"10%対象 ¥2,696 内消費税 ¥245",    L"8%対象 ¥1,764 内消費税 ¥130",
    };
    auto first = std::find(rows.begin(), rows.end(), expected[0]);
    ASSERT_NE(first, rows.end());
    EXPECT_EQ(std::vector<std::wstring>(first, first + std::min<std::ptrdiff_t>(rows.end() - first, 10)), expected);
}

TEST(ReceiptText, NotRegisteredPrintsNothingThatPassesForANumber) {
    regi::SaleRecord sale = Sale({Item(R, 1080), Item(S, 1100), Item(E, 300)}, 5000);
    // Empty, or a value that is not a number (a settings file edited by hand).
    for (const wchar_t* number : {L"", L"T123", L"T1234567890123 ", L"t1234567890123", L"1234567890123"}) {
        for (int paper : {58, 80}) {
            std::wstring text = ReceiptText(sale, Shop(number, paper), false);
            EXPECT_FALSE(Contains(text, L"登録番号")) << number;
            EXPECT_FALSE(HasTAndDigits(text)) << number;
            EXPECT_FALSE(Contains(text, L"1234567890123")) << number;
            // The rest of the receipt is all there.
            EXPECT_TRUE(Contains(text, L"青葉商店"));
            EXPECT_TRUE(Contains(text, L"8%対象 ¥1,080 内消費税 ¥80"));
        }
    }
    EXPECT_TRUE(Contains(ReceiptText(sale, Shop(L"T0000000000001"), false), L"登録番号 T0000000000001"));
}

TEST(ReceiptText, EachClassAloneAndMixed) {
    struct Case {
        std::vector<regi::LineRecord> lines;
        std::vector<std::wstring> present, absent;
    };
    const Case cases[] = {
        {{Item(S, 1100)}, {L"10%対象 ¥1,100 内消費税 ¥100"}, {L"8%対象", L"非課税", L"※"}},
        {{Item(R, 1080)}, {L"8%対象 ¥1,080 内消費税 ¥80", L"※商品", L"※は軽減税率対象"}, {L"10%対象", L"非課税"}},
        {{Item(E, 300)}, {L"非課税商品", L"非課税 ¥300"}, {L"10%対象", L"8%対象", L"※", L"内消費税"}},
        {{Item(S, 500), Item(R, 50), Item(R, 50), Item(R, 50)},  // the reduced tax cut once: 150 * 8 / 108
         {L"10%対象 ¥500 内消費税 ¥45", L"8%対象 ¥150 内消費税 ¥11", L"※は軽減税率対象"},
         {L"非課税"}},
        {{Item(S, 1100), Item(E, 300)}, {L"10%対象 ¥1,100 内消費税 ¥100", L"非課税 ¥300"}, {L"8%対象", L"※"}},
        // A class whose lines cancel out is still present.
        {{Item(S, 1100), Item(S, -1100), Item(E, 300)}, {L"10%対象 ¥0 内消費税 ¥0", L"非課税 ¥300"}, {L"8%対象"}},
    };
    for (const Case& c : cases) {
        std::wstring text = ReceiptText(Sale(c.lines, 10000), Shop(), false);
        for (const std::wstring& part : c.present) EXPECT_TRUE(Contains(text, part)) << part << "\n" << text.size();
        for (const std::wstring& part : c.absent) EXPECT_FALSE(Contains(text, part)) << part;
    }
}

TEST(ReceiptText, ItemRowsWithQuantitiesAndNegativeLines) {
    struct Case {
        regi::LineRecord line;
        std::vector<std::wstring> rows;  // the item's rows on 80 mm paper
    };
    const int w = 48;
    const Case cases[] = {
        {Item(S, 1100), {Split(L"商品", L"¥1,100", w)}},
        {Item(R, 120, 3), {L"※商品", Split(L"  3 × ¥120", L"¥360", w)}},
        {Item(E, 300, 999), {L"非課税商品", Split(L"  999 × ¥300", L"¥299,700", w)}},
        {Item(S, -50), {Split(L"商品", L"-¥50", w)}},
        {Item(R, 80, -2), {L"※商品", Split(L"  -2 × ¥80", L"-¥160", w)}},
        {Item(S, -9'999'999, 999), {L"商品", Split(L"  999 × -¥9,999,999", L"-¥9,989,999,001", w)}},
        {Item(S, 0), {Split(L"商品", L"¥0", w)}},
    };
    for (const Case& c : cases) {
        std::vector<std::wstring> rows = RowsOf(ReceiptText(Sale({c.line}, 0), Shop(), false));
        // The item rows stand between the two rules.
        auto first = std::find(rows.begin(), rows.end(), std::wstring(48, L'-'));
        ASSERT_NE(first, rows.end());
        std::vector<std::wstring> items(first + 1, first + 1 + static_cast<long>(c.rows.size()));
        EXPECT_EQ(items, c.rows);
        EXPECT_EQ(*(first + 1 + static_cast<long>(c.rows.size())), std::wstring(48, L'-'));
    }
    // A negative sale: the change is what is given back.
    std::wstring text = ReceiptText(Sale({Item(S, -1100)}, 0), Shop(), false);
    EXPECT_TRUE(Contains(text, L"10%対象 -¥1,100 内消費税 -¥100"));
    EXPECT_TRUE(Contains(text, Split(L"合計", L"-¥1,100", w)));
    EXPECT_TRUE(Contains(text, Split(L"お釣り", L"¥1,100", w)));
}

TEST(ReceiptText, ThirteenDigitAmountsOnNarrowPaperAreWrappedNotCut) {
    const std::int64_t big = 9'999'999'999'999;
    regi::SaleRecord sale = Sale({Item(S, big), Item(R, 1'111'111'111'111, 9), Item(E, -big)}, big);
    std::wstring text = ReceiptText(sale, Shop(L"T1234567890123", 58), false);
    std::vector<std::wstring> rows = RowsOf(text);
    for (const std::wstring& row : rows) EXPECT_LE(Width(row), 32) << row.size();

    const int w = 32;
    auto has = [&](const std::vector<std::wstring>& run) {
        return std::search(rows.begin(), rows.end(), run.begin(), run.end()) != rows.end();
    };
    // Too long for one row: the amount goes whole onto the next, right-aligned.
    EXPECT_TRUE(has({L"※商品", L"  9 × ¥1,111,111,111,111", Spaces(w - 18) + L"¥9,999,999,999,999"}));
    EXPECT_TRUE(has({Split(L"非課税商品", L"-¥9,999,999,999,999", w)}));
    // The rate lines break at a space, each amount whole.
    EXPECT_TRUE(has({L"10%対象 ¥9,999,999,999,999", L"内消費税 ¥909,090,909,090"}));
    EXPECT_TRUE(has({L"8%対象 ¥9,999,999,999,999", L"内消費税 ¥740,740,740,740"}));
    EXPECT_TRUE(has({L"非課税 -¥9,999,999,999,999"}));
    EXPECT_TRUE(has({Split(L"合計", L"¥9,999,999,999,999", w)}));
    EXPECT_TRUE(has({Split(L"お預り", L"¥9,999,999,999,999", w), Split(L"お釣り", L"¥0", w)}));
    EXPECT_TRUE(has({Centred(L"登録番号 T1234567890123", w)}));
}

TEST(ReceiptText, NarrowPaperHasThirtyTwoColumns) {
    std::vector<std::wstring> rows = RowsOf(ReceiptText(Sale({Item(S, 1100)}, 2000), Shop(L"", 58), false));
    EXPECT_EQ(rows[0], Centred(L"青葉商店", 32));
    EXPECT_NE(std::find(rows.begin(), rows.end(), std::wstring(32, L'-')), rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), Split(L"お釣り", L"¥900", 32)), rows.end());
    // Any other width is the wide paper.
    EXPECT_EQ(RowsOf(ReceiptText(Sale({Item(S, 1100)}, 2000), Shop(L"", 75), false))[0], Centred(L"青葉商店", 48));
}

TEST(ReceiptText, ReprintSaysSoAtTheTop) {
    regi::SaleRecord sale = Sale({Item(S, 1100)}, 2000);
    std::wstring first = ReceiptText(sale, Shop(), false), again = ReceiptText(sale, Shop(), true);
    EXPECT_FALSE(Contains(first, L"再発行"));
    EXPECT_EQ(again, Centred(L"再発行", 48) + L"\r\n" + first);
}

TEST(ReceiptText, HeaderLinesAreLeftOutWhenEmpty) {
    Settings bare;  // no shop name, no address, not registered
    regi::SaleRecord sale = Sale({Item(S, 100)}, 100, 0);
    std::vector<std::wstring> rows = RowsOf(ReceiptText(sale, bare, false));
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[0], L"");
    EXPECT_EQ(rows[1], L"2026年12月08日(火) 21:07") << "no sale number 0";
    EXPECT_EQ(rows[2], std::wstring(48, L'-'));
}

TEST(ReceiptText, DateAndTime) {
    struct Case {
        const wchar_t* time;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {L"2026-12-08T21:07:56", L"2026年12月08日(火) 21:07"},
        {L"2024-02-29T00:00:00", L"2024年02月29日(木) 00:00"},
        {L"2027-01-01T09:30:05", L"2027年01月01日(金) 09:30"},
        {L"2000-03-01T12:00:00", L"2000年03月01日(水) 12:00"},
        {L"2026/12/08 21:07", L"2026/12/08 21:07"},  // not the journal's form: shown as it is
        {L"", L""},
    };
    for (const Case& c : cases) {
        regi::SaleRecord sale = Sale({Item(S, 100)}, 100, 7);
        sale.time = c.time;
        Settings bare;
        EXPECT_EQ(RowsOf(ReceiptText(sale, bare, false))[1], Split(c.shown, L"No.7", 48)) << c.time;
    }
}

TEST(RegistrationNumber, FormIsTAndThirteenAsciiDigits) {
    struct Case {
        const wchar_t* text;
        bool number;
    };
    const Case cases[] = {
        {L"T1234567890123", true},
        {L"T0000000000000", true},
        {L"T9999999999999", true},
        {L"", false},
        {L"T", false},
        {L"T123456789012", false},    // 12 digits
        {L"T12345678901234", false},  // 14 digits
        {L"t1234567890123", false},
        {L"1234567890123", false},
        {L"TT234567890123", false},
        {L"T12345678901a3", false},
        {L"T-123456789012", false},
        {L"T 1234567890123", false},
        {L" T1234567890123", false},
        {L"T1234567890123 ", false},
        {L"Ｔ1234567890123", false},              // full-width T
        {L"T１２３４５６７８９０１２３", false},  // full-width digits
        {L"T123456789012\u0663", false},          // an Arabic-Indic digit
        {L"T1234567890123\r\n", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsRegistrationNumber(c.text), c.number) << c.text;
        EXPECT_EQ(IsAcceptableRegistrationNumber(c.text), c.number || c.text[0] == L'\0') << c.text;
        Settings s;
        s.registrationNumber = c.text;
        EXPECT_EQ(s.Registered(), c.number);
    }
    std::wstring message = kBadRegistrationNumber;
    EXPECT_TRUE(Contains(message, L"T")) << "the message says what to key";
    EXPECT_TRUE(Contains(message, L"13桁"));
    EXPECT_TRUE(Contains(message, L"空欄"));
}

}  // namespace

TEST(Receipt, APaperDecidesItsPrintWidthAndColumnsAndAnyOtherWidthIsTakenAs80) {
    struct Case {
        int stored, width, printWidth, columns;
    };
    const Case cases[] = {{58, 58, 48, 32}, {80, 80, 72, 48}, {70, 80, 72, 48}, {0, 80, 72, 48}, {-58, 80, 72, 48}};
    for (const Case& c : cases) {
        Paper paper = PaperFor(c.stored);
        EXPECT_EQ(paper.widthMm, c.width) << c.stored;
        EXPECT_EQ(paper.printWidthMm, c.printWidth) << c.stored;
        EXPECT_EQ(paper.columns, c.columns) << c.stored;
    }
}

TEST(ReceiptText, EachTenderByNameThenTheChange) {
    struct Case {
        std::int64_t cash;
        std::vector<regi::TenderPaid> tenders;
        std::vector<std::wstring> shown, notShown;
    };
    const Case cases[] = {
        {3000, {{3, 3000}}, {L"QRコード", L"¥3,000", L"お預り", L"お釣り"}, {L"クレジットカード利用"}},
        {0, {{1, 5500}}, {L"クレジット", L"お釣り", L"クレジットカード利用"}, {L"お預り"}},
        {0, {{4, 5500}}, {L"その他の支払4"}, {L"お預り"}},
    };
    Settings shop = Shop();
    shop.tenders = {L"クレジット", L"電子マネー", L"QRコード", L""};
    for (const Case& c : cases) {
        std::int64_t paid = 0;
        for (const regi::TenderPaid& tender : c.tenders) paid += tender.amount;
        regi::SaleRecord sale = Sale({Item(S, 5500)}, c.cash);
        sale.change = c.cash - (5500 - paid);
        sale.tenders = c.tenders;
        std::wstring text = ReceiptText(sale, shop, false);
        for (const std::wstring& shown : c.shown) EXPECT_TRUE(Contains(text, shown)) << c.cash;
        for (const std::wstring& left : c.notShown) EXPECT_FALSE(Contains(text, left)) << c.cash;
    }
}

TEST(Drawer, EachSettingSendsItsPrintersCommands) {
    using namespace std::string_literals;
    using receipt::DrawerMode;
    struct Case {
        DrawerMode mode;
        bool cut;
        std::string drawer, cutter;
    };
    const Case cases[] = {
        {DrawerMode::Never, false, "", ""},
        {DrawerMode::Driver, true, "", "\x1d\x56\x42\x00"s},           // the driver opens it; GS V cuts
        {DrawerMode::EscPosPin2, false, "\x1b\x70\x00\x19\xfa"s, ""},  // ESC p 0 50 ms 500 ms
        {DrawerMode::EscPosPin5, true, "\x1b\x70\x01\x19\xfa"s, "\x1d\x56\x42\x00"s},
        {DrawerMode::Star, true, "\x07"s, "\x1b\x64\x03"s},  // BEL; ESC d 3 in Star's line mode
    };
    for (const Case& c : cases) {
        receipt::Settings settings;
        settings.drawer = c.mode;
        settings.cut = c.cut;
        EXPECT_EQ(receipt::DrawerCommand(c.mode), c.drawer) << static_cast<int>(c.mode);
        EXPECT_EQ(receipt::CutCommand(settings), c.cutter) << static_cast<int>(c.mode);
    }
}
