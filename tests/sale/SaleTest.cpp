#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/ShownSale.h"

using namespace regi;

namespace {

const std::wstring kRate5 = L"5";

// Keys a number then releases a command key, as the entry field hands them on.
ShownSale::KeyOutcome Key(ShownSale& sale, const std::wstring& entry, std::uint16_t key,
                          const std::wstring& rate = kRate5) {
    sale.SetEntry(entry);
    return sale.KeyUp(key, rate);
}

std::wstring Yen(const wchar_t* digits) { return std::wstring(L"\u00A5") + digits; }

TEST(FormatMoney, GroupsDigitsBehindTheYenSign) {
    struct Case {
        std::int64_t amount;
        std::wstring text;
    };
    const Case cases[] = {
        {0, Yen(L"0")},
        {7, Yen(L"7")},
        {999, Yen(L"999")},
        {1000, Yen(L"1,000")},
        {1234567, Yen(L"1,234,567")},
        {-50, L"-" + Yen(L"50")},
        {-1000, L"-" + Yen(L"1,000")},
        {999999999999999, Yen(L"999,999,999,999,999")},
        {INT64_MAX, Yen(L"9,223,372,036,854,775,807")},
        {INT64_MIN, L"-" + Yen(L"9,223,372,036,854,775,808")},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatMoney(c.amount), c.text) << c.amount;
}

TEST(ParseAmount, ReadsMoneyTextsBack) {
    struct Case {
        std::wstring text;
        std::optional<std::int64_t> amount;
    };
    const Case cases[] = {
        {Yen(L"2,100"), 2100},
        {L"-" + Yen(L"9"), -9},
        {L"\\1,234", 1234},
        {L"税込金額 : \\5,000", 5000},
        {Yen(L"3,000,000,000"), 3000000000},
        {L"", std::nullopt},
        {Yen(L""), std::nullopt},
        {L"12a", std::nullopt},
        {L"-", std::nullopt},
        {L"99999999999999999999", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseAmount(c.text), c.amount) << std::string(c.text.begin(), c.text.end());
}

TEST(CellNumber, WholeNumbersOnly) {
    EXPECT_EQ(CellNumber(L"1200"), 1200);
    EXPECT_EQ(CellNumber(L"-199"), -199);
    EXPECT_EQ(CellNumber(L""), 0);
    EXPECT_EQ(CellNumber(L"非"), 0);
    EXPECT_EQ(CellNumber(L"12.5"), 0);
    EXPECT_EQ(CellNumber(L"-"), 0);
}

TEST(ReadRate, WholePercentsFrom0To99AndAnEmptyBoxIsNoTax) {
    struct Case {
        std::wstring text;
        std::optional<std::int64_t> rate;
    };
    const std::optional<std::int64_t> unreadable;
    const Case cases[] = {
        {L"10", 10},
        {L"8", 8},
        {L"0", 0},
        {L"99", 99},
        {L"", 0},
        {L"   ", 0},
        {L"\u3000", 0},
        {L" 8 ", 8},
        {L"\t10\u3000", 10},
        {L"\uFF11\uFF10", 10},
        {L"08", 8},
        {L"100", unreadable},
        {L"1O", unreadable},
        {L"abc", unreadable},
        {L"-3", unreadable},
        {L"+8", unreadable},
        {L"8.5", unreadable},
        {L"8%", unreadable},
        {L"1 0", unreadable},
        {L"\u00A58", unreadable},
        {L"1,0", unreadable},
        {L"99999999999999999999", unreadable},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadRate(c.text), c.rate) << testing::PrintToString(c.text);
}

TEST(ContainedTax, IsTheTaxInsideTaxInclusiveAmounts) {
    struct Case {
        std::int64_t taxable, rate, tax;
    };
    const Case cases[] = {
        {1199, 5, 57},
        {1200, 5, 57},
        {-199, 5, -9},
        {20, 5, 0},
        {1080, 8, 80},
        {1000, 5, 47},
        {105, 5, 5},
        {-105, 5, -5},
        {0, 5, 0},
        {1000, 0, 0},
        {1000, -100, 0},
        {1000, -5, -52},
        {1000, -150, 0},
        {1000, -101, 0},
        {-1000, -200, 0},
        {999'000'000'000, 2147483647, 998'999'953'480},
        {-999'000'000'000, 2147483647, -998'999'953'480},
    };
    for (const Case& c : cases) EXPECT_EQ(ContainedTax(c.taxable, c.rate), c.tax) << c.taxable << " at " << c.rate;
}

TEST(Sale, StartsEmptyWithItsPlaceholders) {
    ShownSale sale;
    EXPECT_EQ(sale.State(), SaleState::Empty);
    EXPECT_EQ(sale.Caption(Label14), kLabel14Placeholder);
    EXPECT_EQ(sale.Caption(Label15), std::wstring(10, L'\u3000'));
    EXPECT_EQ(sale.Caption(Label19), std::wstring(10, L'\u3000'));
    EXPECT_EQ(sale.Caption(Label9), L"売  上");
    for (Label l : {Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8}) EXPECT_EQ(sale.Caption(l), L"");
    sale.ShowFirstPrompt();
    EXPECT_EQ(sale.Caption(Label14), kPricePrompt);
}

TEST(Sale, TheRoadOfOneSale) {
    ShownSale sale;
    sale.ShowFirstPrompt();
    auto o = Key(sale, L"1200", keyReturn);
    EXPECT_TRUE(o.acted);
    EXPECT_EQ(o.cursorMoves, std::vector<int>{1});
    const wchar_t* line1[] = {L"1", L"1200", L"1", L"1200", L"", L"1"};
    for (int c = 0; c < kCols; ++c) EXPECT_EQ(sale.Cell(c, 0), line1[c]) << c;
    EXPECT_EQ(sale.Entry(), L"");
    EXPECT_EQ(sale.Row(), 1);
    EXPECT_EQ(sale.Caption(Label1), Yen(L"57"));
    EXPECT_EQ(sale.Caption(Label2), Yen(L"1,200"));
    EXPECT_EQ(sale.Caption(Label5), L"消費税");
    EXPECT_EQ(sale.Caption(Label6), L"合  計");
    EXPECT_EQ(sale.Caption(Label14), kPricePrompt);
    EXPECT_EQ(sale.Caption(Label15), kTenderPrompt);
    EXPECT_EQ(sale.Caption(Label19), kQuantityPrompt);
    EXPECT_EQ(sale.State(), SaleState::Open);

    Key(sale, L"300", keyAdd);
    const wchar_t* line2[] = {L"2", L"300", L"1", L"300", L"非", L"0"};
    for (int c = 0; c < kCols; ++c) EXPECT_EQ(sale.Cell(c, 1), line2[c]) << c;
    EXPECT_EQ(sale.Caption(Label1), Yen(L"57"));
    EXPECT_EQ(sale.Caption(Label2), Yen(L"1,500"));

    o = Key(sale, L"3", keyMultiply);
    EXPECT_EQ(o.cursorMoves, (std::vector<int>{1, 2}));
    EXPECT_EQ(sale.Cell(2, 1), L"3");
    EXPECT_EQ(sale.Cell(3, 1), L"900");
    EXPECT_EQ(sale.Cell(4, 1), L"非");
    EXPECT_EQ(sale.Row(), 2);
    EXPECT_EQ(sale.Caption(Label1), Yen(L"57"));
    EXPECT_EQ(sale.Caption(Label2), Yen(L"2,100"));

    o = Key(sale, L"5000", keyDivide);
    EXPECT_TRUE(o.acted);
    EXPECT_EQ(sale.Entry(), L"5000") << "the amount tendered stays";
    EXPECT_EQ(sale.Caption(Label3), Yen(L"2,900"));
    EXPECT_EQ(sale.Caption(Label4), Yen(L"2,100"));
    EXPECT_EQ(sale.SalesTotal(), 2100);
    EXPECT_EQ(sale.Caption(Label7), L"預\u3000り");
    EXPECT_EQ(sale.Caption(Label8), L"釣\u3000銭");
    EXPECT_EQ(sale.Caption(Label14), kClearPrompt);
    EXPECT_EQ(sale.Caption(Label15), L"");
    EXPECT_EQ(sale.Caption(Label19), L"");
    EXPECT_EQ(sale.State(), SaleState::Settled);

    o = Key(sale, L"5000", keyDecimal);
    EXPECT_TRUE(o.armEntry);
    EXPECT_EQ(o.cursorMoves, std::vector<int>{0});
    EXPECT_EQ(sale.State(), SaleState::Empty);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) ASSERT_EQ(sale.Cell(c, r), L"");
    for (Label l : {Label1, Label2, Label3, Label5, Label6, Label7, Label8}) EXPECT_EQ(sale.Caption(l), L"");
    EXPECT_EQ(sale.Caption(Label4), Yen(L"2,100"));
    EXPECT_EQ(sale.Caption(Label9), L"売  上");
    EXPECT_EQ(sale.Caption(Label14), kPricePrompt);
    EXPECT_EQ(sale.Caption(Label15), L"");
    EXPECT_EQ(sale.Entry(), L"");
    EXPECT_EQ(sale.Row(), 0);

    // The next sale adds to the sales total.
    Key(sale, L"100", keyReturn);
    Key(sale, L"100", keyDivide);
    EXPECT_EQ(sale.Caption(Label3), Yen(L"0"));
    EXPECT_EQ(sale.Caption(Label4), Yen(L"2,200"));
}

TEST(Sale, TaxExamplesOfOneSale) {
    struct Case {
        const wchar_t* rate;
        std::vector<std::pair<const wchar_t*, std::uint16_t>> keys;
        const wchar_t* tax;
        const wchar_t* total;
    };
    const Case cases[] = {
        {L"5", {{L"1000", keyReturn}, {L"199", keyReturn}, {L"300", keyAdd}}, L"\u00A557", L"\u00A51,499"},
        {L"5", {{L"-199", keyReturn}}, L"-\u00A59", L"-\u00A5199"},
        {L"5", {{L"10", keyReturn}, {L"10", keyReturn}}, L"\u00A50", L"\u00A520"},
        {L"8", {{L"1080", keyReturn}}, L"\u00A580", L"\u00A51,080"},
        {L"", {{L"1000", keyReturn}}, L"\u00A50", L"\u00A51,000"},
        // A rate that does not read taxes nothing: the line is not made.
        {L"-100", {{L"1080", keyReturn}}, L"", L""},
        {L"5.5", {{L"1000", keyReturn}}, L"", L""},
        {L"abc", {{L"1000", keyReturn}}, L"", L""},
        {L"5", {{L"300", keyAdd}}, L"\u00A50", L"\u00A5300"},
        {L"5", {{L"1000", keyReturn}, {L"3", keyMultiply}}, L"\u00A5142", L"\u00A53,000"},
        {L"5", {{L"1000", keyReturn}, {L"0", keyMultiply}}, L"\u00A50", L"\u00A50"},
        {L"5", {{L"-100", keyAdd}, {L"500", keyReturn}}, L"\u00A523", L"\u00A5400"},
    };
    for (const Case& c : cases) {
        ShownSale sale;
        for (auto& [entry, key] : c.keys) Key(sale, entry, key, c.rate);
        EXPECT_EQ(sale.Caption(Label1), c.tax) << c.rate << " " << c.keys.size();
        EXPECT_EQ(sale.Caption(Label2), c.total) << c.rate << " " << c.keys.size();
    }
}

TEST(Sale, TheRateIsReadAfreshAtEveryKey) {
    ShownSale sale;
    Key(sale, L"1080", keyReturn, L"8");
    EXPECT_EQ(sale.Caption(Label1), Yen(L"80"));
    Key(sale, L"1", keyMultiply, L"5");
    EXPECT_EQ(sale.Caption(Label1), Yen(L"51"));
    EXPECT_TRUE(Key(sale, L"2000", keyDivide, L"x").Refused()) << "a rate that does not read is refused";
    EXPECT_EQ(sale.State(), SaleState::Open);
    Key(sale, L"2000", keyDivide, L"0");
    EXPECT_EQ(sale.Caption(Label1), Yen(L"0")) << "settlement refreshes the totals too";
}

// The state table: what each command does in each state.
TEST(Sale, StateTable) {
    auto make = [](SaleState state) {
        ShownSale sale;
        if (state != SaleState::Empty) Key(sale, L"500", keyReturn);
        if (state == SaleState::Settled) Key(sale, L"1000", keyDivide);
        return sale;
    };
    struct Case {
        SaleState from;
        std::uint16_t key;
        SaleState to;
        bool acted;
        bool entryEmptied;
    };
    const Case cases[] = {
        {SaleState::Empty, keyReturn, SaleState::Open, true, true},
        {SaleState::Empty, keyAdd, SaleState::Open, true, true},
        {SaleState::Empty, keyMultiply, SaleState::Empty, false, false},
        {SaleState::Empty, keyDivide, SaleState::Empty, false, false},
        {SaleState::Empty, keyDecimal, SaleState::Empty, false, false},
        {SaleState::Empty, keyF4, SaleState::Empty, true, true},
        {SaleState::Open, keyReturn, SaleState::Open, true, true},
        {SaleState::Open, keyAdd, SaleState::Open, true, true},
        {SaleState::Open, keyMultiply, SaleState::Open, true, true},
        {SaleState::Open, keyDivide, SaleState::Settled, true, false},
        {SaleState::Open, keyDecimal, SaleState::Open, false, false},
        {SaleState::Open, keyF4, SaleState::Open, true, true},
        {SaleState::Settled, keyReturn, SaleState::Settled, false, false},
        {SaleState::Settled, keyAdd, SaleState::Settled, false, false},
        {SaleState::Settled, keyMultiply, SaleState::Settled, false, false},
        {SaleState::Settled, keyDivide, SaleState::Settled, false, false},
        {SaleState::Settled, keyDecimal, SaleState::Empty, true, true},
        {SaleState::Settled, keyF4, SaleState::Settled, true, true},
        {SaleState::Open, 'A', SaleState::Open, false, false},
        {SaleState::Open, 0x2E /* Delete */, SaleState::Open, false, false},
    };
    for (const Case& c : cases) {
        ShownSale sale = make(c.from);
        std::wstring label3 = sale.Caption(Label3), line2 = sale.Cell(0, 1);
        auto o = Key(sale, L"600", c.key);
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.from) << " key " << c.key);
        EXPECT_EQ(sale.State(), c.to);
        EXPECT_EQ(o.acted, c.acted);
        EXPECT_EQ(sale.Entry(), c.entryEmptied ? L"" : L"600");
        EXPECT_EQ(o.Message(), L"");
        if (!c.acted) {
            EXPECT_EQ(sale.Caption(Label3), label3);
            EXPECT_EQ(sale.Cell(0, 1), line2);
        }
    }
}

TEST(Sale, AnEmptyEntryDoesNothing) {
    for (std::uint16_t key : {keyReturn, keyAdd, keyMultiply, keyDivide}) {
        ShownSale sale;
        Key(sale, L"500", keyReturn);
        auto o = Key(sale, L"", key);
        EXPECT_FALSE(o.acted) << key;
        EXPECT_EQ(sale.LineCount(), 1);
        EXPECT_EQ(sale.Caption(Label3), L"");
    }
}

TEST(Sale, LimitsAtAndJustAboveTheirValues) {
    struct Case {
        const wchar_t* entry;
        std::uint16_t key;
        bool taken;
    };
    const Case cases[] = {
        {L"9999999", keyReturn, true},
        {L"10000000", keyReturn, false},
        {L"9999999", keyAdd, true},
        {L"10000000", keyAdd, false},
        {L"-9999999", keyReturn, true},
        {L"-10000000", keyReturn, false},
        {L"999", keyMultiply, true},
        {L"1000", keyMultiply, false},
        {L"-999", keyMultiply, true},
        {L"-1000", keyMultiply, false},
        {L"0", keyMultiply, true},
        {L"999999999999", keyDivide, true},
        {L"1000000000000", keyDivide, false},
        {L"2147483648", keyDivide, true},
        {L"9999999999999", keyReturn, false},
        {L"9999999999999", keyMultiply, false},
    };
    for (const Case& c : cases) {
        ShownSale sale;
        Key(sale, L"100", keyReturn);
        auto o = Key(sale, c.entry, c.key);
        EXPECT_EQ(o.acted, c.taken) << c.entry << " key " << c.key;
        EXPECT_EQ(o.Message(), L"");
        EXPECT_EQ(sale.Entry(), c.taken && c.key != keyDivide ? L"" : c.entry);
    }
}

TEST(Sale, BigAmountsDoNotWrap) {
    ShownSale sale;
    Key(sale, L"9999999", keyReturn);
    Key(sale, L"999", keyMultiply);
    EXPECT_EQ(sale.Cell(3, 0), L"9989999001");
    Key(sale, L"9999999", keyAdd);
    Key(sale, L"999", keyMultiply);
    EXPECT_EQ(sale.Caption(Label2), Yen(L"19,979,998,002"));
    EXPECT_EQ(sale.Caption(Label1), Yen(L"475,714,238"));
    Key(sale, L"999999999999", keyDivide);
    EXPECT_EQ(sale.Caption(Label3), Yen(L"980,020,001,997"));
    EXPECT_EQ(sale.Caption(Label4), Yen(L"19,979,998,002"));
}

TEST(Sale, SettlementNeedsEnoughMoney) {
    ShownSale sale;
    Key(sale, L"2100", keyReturn);
    EXPECT_FALSE(Key(sale, L"2099", keyDivide).acted);
    EXPECT_EQ(sale.Entry(), L"2099");
    EXPECT_EQ(sale.Caption(Label3), L"");
    EXPECT_FALSE(Key(sale, L"-5000", keyDivide).acted);
    EXPECT_TRUE(Key(sale, L"2100", keyDivide).acted);
    EXPECT_EQ(sale.Caption(Label3), Yen(L"0"));
    EXPECT_FALSE(Key(sale, L"9000", keyDivide).acted) << "a second settlement";
    EXPECT_EQ(sale.Caption(Label3), Yen(L"0"));
    EXPECT_EQ(sale.SalesTotal(), 2100);
}

TEST(Sale, ANegativeSaleSettlesWithAnyAmount) {
    ShownSale sale;
    Key(sale, L"-500", keyReturn);
    EXPECT_EQ(sale.Caption(Label2), L"-" + Yen(L"500"));
    EXPECT_TRUE(Key(sale, L"0", keyDivide).acted);
    EXPECT_EQ(sale.Caption(Label3), Yen(L"500"));
    EXPECT_EQ(sale.Caption(Label4), L"-" + Yen(L"500"));
}

TEST(Sale, ALoneMinusIsNotANumber) {
    const std::wstring message = L"'-' は浮動小数点数ではありません";
    struct Case {
        SaleState state;
        std::uint16_t key;
        bool error;
    };
    const Case cases[] = {
        {SaleState::Empty, keyReturn, true},     {SaleState::Empty, keyAdd, true},
        {SaleState::Empty, keyMultiply, false},  {SaleState::Empty, keyDivide, true},
        {SaleState::Open, keyReturn, true},      {SaleState::Open, keyAdd, true},
        {SaleState::Open, keyMultiply, true},    {SaleState::Open, keyDivide, true},
        {SaleState::Settled, keyReturn, false},  {SaleState::Settled, keyAdd, false},
        {SaleState::Settled, keyMultiply, true}, {SaleState::Settled, keyDivide, true},
        {SaleState::Settled, keyDecimal, false},
    };
    for (const Case& c : cases) {
        ShownSale sale;
        if (c.state != SaleState::Empty) Key(sale, L"500", keyReturn);
        if (c.state == SaleState::Settled) Key(sale, L"500", keyDivide);
        std::wstring total = sale.Caption(Label2);
        auto o = Key(sale, L"-", c.key);
        EXPECT_EQ(o.Message(), c.error ? message : L"") << static_cast<int>(c.state) << " key " << c.key;
        EXPECT_EQ(sale.Entry(), c.key == keyDecimal ? L"" : L"-");
        if (c.key != keyDecimal) {
            EXPECT_EQ(sale.State(), c.state);
        }
        EXPECT_EQ(sale.Caption(Label2), c.key == keyDecimal ? L"" : total);
    }
}

TEST(Sale, AFractionIsNoAmountTendered) {
    ShownSale sale;
    Key(sale, L"100", keyReturn);
    auto o = Key(sale, L"150.5", keyDivide);
    EXPECT_EQ(o.Message(), L"'150.5' は整数ではありません");
    EXPECT_EQ(sale.State(), SaleState::Open);
}

// What no cell or sum can hold is refused in words, and the sale stays as it was.
TEST(Sale, AmountsThatCannotBeHeldAreRefusedInWords) {
    struct Case {
        const wchar_t* entry;
        std::uint16_t key;
        std::wstring error;
    };
    const Case cases[] = {
        {L"12.5", keyReturn, L"'12.5' は整数ではありません"},
        {L"2.5", keyMultiply, L"'2.5' は整数ではありません"},
        {L"-9223372036854775808", keyDivide, L"'-9223372036854775808' はレジで扱える金額を超えています"},
        {L"-1000000000000", keyDivide, L"'-1000000000000' はレジで扱える金額を超えています"},
    };
    for (const Case& c : cases) {
        ShownSale sale;
        Key(sale, L"-100", keyReturn);
        auto o = Key(sale, c.entry, c.key);
        EXPECT_EQ(o.Message(), c.error) << c.key;
        EXPECT_EQ(sale.Entry(), c.entry);
        EXPECT_EQ(sale.Cell(1, 0), L"-100");
        EXPECT_EQ(sale.Cell(2, 0), L"1");
        EXPECT_EQ(sale.State(), SaleState::Open);
    }
}

TEST(Sale, QuantitySetsTheLastLineAgainAndAgain) {
    ShownSale sale;
    Key(sale, L"1200", keyReturn);
    Key(sale, L"300", keyAdd);
    Key(sale, L"3", keyMultiply);
    Key(sale, L"2", keyMultiply);
    EXPECT_EQ(sale.Cell(2, 1), L"2");
    EXPECT_EQ(sale.Cell(3, 1), L"600");
    EXPECT_EQ(sale.Cell(2, 0), L"1") << "the first line keeps its quantity";
    Key(sale, L"-2", keyMultiply);
    EXPECT_EQ(sale.Cell(3, 1), L"-600");
    EXPECT_EQ(sale.Caption(Label2), Yen(L"600"));
    EXPECT_EQ(sale.Row(), 2);
}

TEST(Sale, AFullGridKeepsItsHundredLinesAndRefusesMore) {
    ShownSale sale;
    for (int i = 1; i <= 99; ++i) Key(sale, L"10", keyReturn);
    EXPECT_EQ(sale.Row(), 99);
    auto o = Key(sale, L"20", keyAdd);
    EXPECT_TRUE(o.acted);
    EXPECT_TRUE(o.cursorMoves.empty()) << "the cursor stays on the last row";
    EXPECT_EQ(sale.Row(), 99);
    EXPECT_EQ(sale.LineCount(), 100);
    EXPECT_EQ(sale.Cell(0, 99), L"100");
    EXPECT_EQ(sale.Cell(4, 99), L"非");
    EXPECT_EQ(sale.Caption(Label2), Yen(L"1,010"));
    EXPECT_EQ(sale.Caption(Label1), Yen(L"47"));

    o = Key(sale, L"30", keyReturn);
    EXPECT_FALSE(o.acted);
    EXPECT_EQ(o.Message(), kGridFull);
    EXPECT_EQ(sale.Entry(), L"30");
    EXPECT_EQ(sale.Cell(1, 99), L"20");
    EXPECT_EQ(sale.Caption(Label2), Yen(L"1,010"));

    // The quantity still goes to line 100, and the sale settles and clears.
    Key(sale, L"3", keyMultiply);
    EXPECT_EQ(sale.Cell(3, 99), L"60");
    EXPECT_EQ(sale.Cell(3, 98), L"10");
    EXPECT_EQ(sale.Row(), 99);
    EXPECT_EQ(sale.Caption(Label2), Yen(L"1,050"));
    EXPECT_TRUE(Key(sale, L"2000", keyDivide).acted);
    EXPECT_EQ(sale.Caption(Label3), Yen(L"950"));
    EXPECT_TRUE(Key(sale, L"", keyDecimal).acted);
    EXPECT_EQ(sale.LineCount(), 0);
}

TEST(Sale, F4EmptiesTheEntryInEveryState) {
    ShownSale sale;
    Key(sale, L"123", keyF4);
    EXPECT_EQ(sale.Entry(), L"");
    Key(sale, L"100", keyReturn);
    Key(sale, L"150", keyDivide);
    auto o = Key(sale, L"150", keyF4);
    EXPECT_EQ(sale.Entry(), L"");
    EXPECT_EQ(sale.Caption(Label3), Yen(L"50")) << "the change stays";
    EXPECT_FALSE(o.armEntry);
}

}  // namespace
