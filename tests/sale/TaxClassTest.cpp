// Tax classes and corrections of the sale, without windows.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/ShownSale.h"

using namespace regi;

namespace {

struct Step {
    std::wstring entry;
    std::uint16_t key;
};

ShownSale::KeyOutcome Key(ShownSale& sale, const std::wstring& entry, std::uint16_t key, const RateTexts& rates = {}) {
    sale.SetEntry(entry);
    return sale.KeyUp(key, rates);
}

void KeyAll(ShownSale& sale, const std::vector<Step>& steps, const RateTexts& rates = {}) {
    for (const Step& step : steps) Key(sale, step.entry, step.key, rates);
}

// The tax of one rate's sum by its definition: the share r / (100 + r), cut
// toward zero (C++ division does), none at -100 % and below.
std::int64_t Share(std::int64_t sum, std::int64_t rate) { return 100 + rate <= 0 ? 0 : sum * rate / (100 + rate); }

TEST(TaxClasses, EachKeyMakesItsClassWithItsMarkAndFlag) {
    struct Case {
        bool enterReduced;
        std::uint16_t key;
        const wchar_t* mark;
        const wchar_t* flag;
    };
    const Case cases[] = {
        {false, keyReturn, L"", L"1"}, {false, keyF2, L"※", L"2"}, {false, keyAdd, L"非", L"0"},
        {true, keyReturn, L"※", L"2"}, {true, keyF2, L"", L"1"},   {true, keyAdd, L"非", L"0"},
    };
    for (const Case& c : cases) {
        ShownSale sale;
        Key(sale, L"500", c.key, {L"10", L"8", c.enterReduced});
        EXPECT_EQ(sale.Cell(0, 0), L"1");
        EXPECT_EQ(sale.Cell(1, 0), L"500");
        EXPECT_EQ(sale.Cell(4, 0), c.mark) << c.key << " " << c.enterReduced;
        EXPECT_EQ(sale.Cell(5, 0), c.flag) << c.key << " " << c.enterReduced;
        EXPECT_EQ(sale.Caption(Label5), kTaxCaption);
    }
}

TEST(TaxClasses, TaxIsCutOncePerRate) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
        RateTexts rates;
        std::int64_t standard, reduced, exempt;  // the sums the lines give
    };
    const Case cases[] = {
        {"three reduced lines", {{L"50", keyF2}, {L"50", keyF2}, {L"50", keyF2}}, {}, 0, 150, 0},
        {"one of each", {{L"1080", keyF2}, {L"1100", keyReturn}, {L"300", keyAdd}}, {}, 1100, 1080, 300},
        {"quantities",
         {{L"198", keyF2}, {L"7", keyMultiply}, {L"1199", keyReturn}, {L"3", keyMultiply}},
         {},
         3597,
         1386,
         0},
        {"negative lines", {{L"-1100", keyReturn}, {L"-50", keyF2}, {L"20", keyF2}}, {}, -1100, -30, 0},
        {"rates 0", {{L"1000", keyReturn}, {L"1000", keyF2}}, {L"0", L"0"}, 1000, 1000, 0},
        {"equal rates", {{L"999", keyReturn}, {L"999", keyF2}}, {L"8", L"8"}, 999, 999, 0},
        {"largest lines",
         {{L"9999999", keyReturn}, {L"999", keyMultiply}, {L"9999999", keyF2}, {L"999", keyMultiply}},
         {},
         9'989'999'001,
         9'989'999'001,
         0},
    };
    for (const Case& c : cases) {
        ShownSale sale;
        KeyAll(sale, c.steps, c.rates);
        std::int64_t r1 = *ReadRate(c.rates.standard), r2 = *ReadRate(c.rates.reduced);
        std::int64_t tax = Share(c.standard, r1) + Share(c.reduced, r2);
        EXPECT_EQ(sale.Caption(Label1), FormatMoney(tax)) << c.name;
        EXPECT_EQ(sale.Caption(Label2), FormatMoney(c.standard + c.reduced + c.exempt)) << c.name;
    }
    ShownSale sale;
    KeyAll(sale, {{L"50", keyF2}, {L"50", keyF2}, {L"50", keyF2}});
    EXPECT_EQ(sale.Caption(Label1), FormatMoney(11)) << "not 3 x 3";
}

TEST(TaxClasses, BothRatesAreReadAtEveryKeyRelease) {
    ShownSale sale;
    Key(sale, L"1100", keyReturn, {L"10", L"8"});
    Key(sale, L"1080", keyF2, {L"10", L"8"});
    EXPECT_EQ(sale.Caption(Label1), FormatMoney(100 + 80));
    Key(sale, L"1", keyMultiply, {L"8", L"10"});  // the rates changed on the settings page
    EXPECT_EQ(sale.Caption(Label1), FormatMoney(Share(1100, 8) + Share(1080, 10)));
    Key(sale, L"3000", keyDivide, {L"5", L"0"});
    EXPECT_EQ(sale.Caption(Label1), FormatMoney(Share(1100, 5)));
    EXPECT_EQ(sale.LastSettled().taxes.standardRate, 5);
    EXPECT_EQ(sale.LastSettled().taxes.reducedRate, 0);
}

TEST(TaxClasses, TheTipBreaksTheTaxDownForTheClassesPresent) {
    ShownSale sale;
    Key(sale, L"1100", keyReturn);
    EXPECT_EQ(sale.TaxTip(), L"10%対象 ¥1,100（内消費税 ¥100）");
    Key(sale, L"1080", keyF2);
    Key(sale, L"300", keyAdd);
    EXPECT_EQ(sale.TaxTip(), L"10%対象 ¥1,100（内消費税 ¥100）\r\n8%対象 ¥1,080（内消費税 ¥80）\r\n非課税 ¥300");
    Key(sale, L"", keyF3);
    Key(sale, L"1", keyF3);
    EXPECT_EQ(sale.TaxTip(), L"8%対象 ¥1,080（内消費税 ¥80）");
}

TEST(TaxClasses, AZeroRateIsTaxableWithNoTaxApartFromExempt) {
    ShownSale sale;
    Key(sale, L"1080", keyF2, {L"10", L"0"});
    Key(sale, L"300", keyAdd, {L"10", L"0"});
    EXPECT_EQ(sale.Cell(4, 0), L"※");
    EXPECT_EQ(sale.Cell(5, 0), L"2");
    EXPECT_EQ(sale.TaxTip(), L"0%対象 ¥1,080（内消費税 ¥0）\r\n非課税 ¥300");
    std::vector<ClassTotal> paper = ClassesPresent(sale.Lines(), sale.Totals());
    ASSERT_EQ(paper.size(), 2u);
    EXPECT_EQ(ClassText(paper[0], TaxTextStyle::Paper), L"0%対象 ¥1,080 内消費税 ¥0");
}

TEST(Corrections, F2F3AndF8ByState) {
    // What each key does in each state: did it act, did it ask to cancel.
    struct Case {
        SaleState state;
        std::uint16_t key;
        std::wstring entry;
        bool acted, asks;
    };
    const Case cases[] = {
        {SaleState::Empty, keyF2, L"100", true, false},      {SaleState::Open, keyF2, L"100", true, false},
        {SaleState::Settled, keyF2, L"100", false, false},   {SaleState::Empty, keyF3, L"", false, false},
        {SaleState::Open, keyF3, L"", true, false},          {SaleState::Settled, keyF3, L"", false, false},
        {SaleState::Empty, keyF8, L"", false, false},        {SaleState::Open, keyF8, L"", false, true},
        {SaleState::Settled, keyF8, L"", false, false},      {SaleState::Open, keyF3, L"7", false, false},
        {SaleState::Open, keyF3, L"0", false, false},        {SaleState::Open, keyF3, L"-1", false, false},
        {SaleState::Open, keyF2, L"10000000", false, false},
    };
    for (const Case& c : cases) {
        ShownSale sale;
        if (c.state != SaleState::Empty) KeyAll(sale, {{L"100", keyReturn}, {L"200", keyAdd}});
        if (c.state == SaleState::Settled) Key(sale, L"1000", keyDivide);
        ASSERT_EQ(sale.State(), c.state);
        std::int64_t sales = sale.SalesTotal();
        Outcome o = Key(sale, c.entry, c.key);
        EXPECT_EQ(o.acted, c.acted) << c.key << " entry " << std::string(c.entry.begin(), c.entry.end());
        EXPECT_EQ(o.askCancel, c.asks) << c.key;
        EXPECT_EQ(sale.SalesTotal(), sales);
        if (!c.acted) {
            EXPECT_EQ(sale.Entry(), c.entry) << "a refused command keeps the entry";
        }
    }
    ShownSale sale;
    Key(sale, L"-", keyF2);
    EXPECT_EQ(Key(sale, L"-", keyF2).Message(), L"'-' は浮動小数点数ではありません");
}

TEST(Corrections, VoidTheLastOrANumberedLine) {
    ShownSale sale;
    KeyAll(sale, {{L"100", keyReturn}, {L"200", keyF2}, {L"300", keyAdd}, {L"400", keyReturn}, {L"2", keyMultiply}});
    Key(sale, L"", keyF3);  // the last line: 400 x 2
    EXPECT_EQ(sale.LineCount(), 3);
    EXPECT_EQ(sale.Row(), 3) << "the cursor is back on the voided row";
    EXPECT_EQ(sale.Cell(0, 3), L"");
    EXPECT_EQ(sale.Caption(Label2), FormatMoney(600));
    Key(sale, L"2", keyF3);  // the reduced 200 in the middle
    EXPECT_EQ(sale.Entry(), L"");
    const std::vector<std::vector<std::wstring>> expected = {{L"1", L"100", L"1", L"100", L"", L"1"},
                                                             {L"2", L"300", L"1", L"300", L"非", L"0"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < kCols; ++c)
            EXPECT_EQ(sale.Cell(c, r), expected[static_cast<size_t>(r)][static_cast<size_t>(c)]);
    EXPECT_EQ(sale.Caption(Label1), FormatMoney(Share(100, 10)));
    EXPECT_EQ(sale.Caption(Label2), FormatMoney(400));
    // Voided to nothing: empty again, as after a clear, the sales total untouched.
    Key(sale, L"", keyF3);
    Key(sale, L"", keyF3);
    EXPECT_EQ(sale.State(), SaleState::Empty);
    EXPECT_EQ(sale.Row(), 0);
    for (Label l : {Label1, Label2, Label3, Label5, Label6, Label15, Label19}) EXPECT_EQ(sale.Caption(l), L"") << l;
    EXPECT_EQ(sale.Caption(Label14), kPricePrompt);
    EXPECT_EQ(sale.Caption(Label4), L"");
}

TEST(Corrections, AVoidInAFullGridFreesARow) {
    ShownSale sale;
    for (int i = 1; i <= kRows; ++i) Key(sale, std::to_wstring(i), keyReturn);
    EXPECT_TRUE(Key(sale, L"5", keyReturn).Refused());
    Key(sale, L"1", keyF3);
    EXPECT_EQ(sale.LineCount(), kRows - 1);
    EXPECT_EQ(sale.Cell(1, 0), L"2");
    EXPECT_EQ(sale.Cell(0, 98), L"99");
    EXPECT_EQ(sale.Cell(1, 98), L"100");
    EXPECT_TRUE(Key(sale, L"5", keyF2).acted);
    EXPECT_EQ(sale.Cell(1, 99), L"5");
    EXPECT_EQ(sale.Cell(4, 99), L"※");
}

TEST(Corrections, CancelEmptiesTheSaleAndKeepsTheSalesTotal) {
    ShownSale sale;
    KeyAll(sale, {{L"500", keyReturn}, {L"1000", keyDivide}, {L"", keyDecimal}, {L"700", keyF2}, {L"3", keyMultiply}});
    std::vector<LineRecord> cancelled;
    sale.recorder.cancelling = [&](const std::vector<LineRecord>& lines, std::int64_t) { cancelled = lines; };
    auto o = sale.Cancel();
    EXPECT_TRUE(o.armEntry);
    ASSERT_EQ(cancelled.size(), 1u);
    EXPECT_EQ(cancelled[0].subtotal, 2100);
    EXPECT_EQ(cancelled[0].taxClass, TaxClass::Reduced);
    EXPECT_EQ(sale.State(), SaleState::Empty);
    EXPECT_EQ(sale.SalesTotal(), 500);
    EXPECT_EQ(sale.Caption(Label4), FormatMoney(500));
    EXPECT_EQ(sale.Caption(Label2), L"");
    EXPECT_FALSE(sale.Cancel().acted) << "nothing open to cancel";
}

TEST(Recorder, ASaleThatCannotBeKeptStaysOpenAndUnchanged) {
    ShownSale sale;
    KeyAll(sale, {{L"1080", keyF2}, {L"1100", keyReturn}, {L"300", keyAdd}});
    int calls = 0;
    sale.recorder.settling = [&](SaleRecord& record) {
        ++calls;
        if (calls == 1) throw std::runtime_error("disk full");
        record.number = 7;
    };
    sale.SetEntry(L"5000");
    EXPECT_THROW(sale.KeyUp(keyDivide, Rates()), std::runtime_error);
    EXPECT_EQ(sale.State(), SaleState::Open);
    EXPECT_EQ(sale.Caption(Label3), L"");
    EXPECT_EQ(sale.SalesTotal(), 0);
    EXPECT_EQ(sale.Entry(), L"5000") << "the tender stays for the next try";
    sale.KeyUp(keyDivide, Rates());
    EXPECT_EQ(sale.State(), SaleState::Settled);
    const SaleRecord& record = sale.LastSettled();
    EXPECT_EQ(record.number, 7);
    ASSERT_EQ(record.lines.size(), 3u);
    EXPECT_EQ(record.lines[0].taxClass, TaxClass::Reduced);
    EXPECT_EQ(record.lines[2].taxClass, TaxClass::Exempt);
    EXPECT_EQ(record.taxes.Total(), 2480);
    EXPECT_EQ(record.taxes.Tax(), 180);
    EXPECT_EQ(record.tendered, 5000);
    EXPECT_EQ(record.change, 2520);
}

TEST(Restore, LinesComeBackAsIfKeyed) {
    ShownSale keyed, restored;
    KeyAll(keyed, {{L"1080", keyF2}, {L"-100", keyReturn}, {L"300", keyAdd}, {L"4", keyMultiply}});
    restored.Restore(keyed.Lines(), {});
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < kCols; ++c) EXPECT_EQ(restored.Cell(c, r), keyed.Cell(c, r)) << r << "," << c;
    for (Label l : {Label1, Label2, Label5, Label6, Label15, Label19}) EXPECT_EQ(restored.Caption(l), keyed.Caption(l));
    EXPECT_EQ(restored.Row(), 3);
    EXPECT_EQ(restored.State(), SaleState::Open);
}

}  // namespace

namespace {

// A rate box whose text does not read: every command that would tax a class
// with it is refused in words naming the box, and nothing is rung or recorded.
TEST(UnreadableRate, RefusesEveryCommandThatWouldTaxWithIt) {
    struct Case {
        const char* name;
        std::vector<Step> before;  // keyed at readable rates
        Step step;                 // keyed with the rate box at "1O"
        bool standardBox;          // which box says "1O"
        bool refused;
    };
    const Case cases[] = {
        {"a standard line", {}, {L"100", keyReturn}, true, true},
        {"a reduced line", {}, {L"100", keyF2}, false, true},
        {"a reduced line, the standard box unreadable", {}, {L"100", keyF2}, true, false},
        {"an exempt line", {}, {L"100", keyAdd}, true, false},
        {"an exempt line in a sale with a standard line", {{L"100", keyReturn}}, {L"100", keyAdd}, true, true},
        {"a quantity", {{L"100", keyF2}}, {L"3", keyMultiply}, false, true},
        {"a void that leaves a reduced line", {{L"100", keyF2}, {L"50", keyAdd}}, {L"", keyF3}, false, true},
        {"a void of the only line", {{L"100", keyReturn}}, {L"", keyF3}, true, false},
        {"cash", {{L"100", keyReturn}}, {L"1000", keyDivide}, true, true},
        {"a card paying all", {{L"100", keyReturn}}, {L"", keyF6}, true, true},
        {"a card paying part", {{L"100", keyReturn}}, {L"40", keyF6}, true, false},
        {"the entry cleared", {{L"100", keyReturn}}, {L"5", keyF4}, true, false},
    };
    for (const Case& c : cases) {
        ShownSale sale;
        int recorded = 0;
        sale.recorder.settling = [&](SaleRecord&) { ++recorded; };
        sale.recorder.voiding = [&](int, const LineRecord&) { ++recorded; };
        RateTexts readable{L"10", L"8", false, {L"クレジット"}};
        KeyAll(sale, c.before, readable);
        RateTexts unreadable = readable;
        (c.standardBox ? unreadable.standard : unreadable.reduced) = L"1O";
        std::vector<LineRecord> lines = sale.Lines();
        SaleState state = sale.State();
        auto o = Key(sale, c.step.entry, c.step.key, unreadable);
        if (!c.refused) {
            EXPECT_FALSE(o.Refused()) << c.name;
            continue;
        }
        const std::wstring box = c.standardBox ? L"「消費税率は」の「1O」" : L"「軽減税率は」の「1O」";
        EXPECT_NE(o.Message().find(box), std::wstring::npos) << c.name;
        EXPECT_FALSE(o.acted) << c.name;
        EXPECT_EQ(sale.Entry(), c.step.entry) << c.name << ": the entry stays for the retry";
        EXPECT_EQ(sale.State(), state) << c.name;
        EXPECT_EQ(sale.Lines().size(), lines.size()) << c.name;
        EXPECT_EQ(recorded, 0) << c.name;
    }
}

TEST(UnreadableRate, RestoredLinesComeBackAndTheNextCommandSaysWhy) {
    ShownSale sale;
    sale.Restore({{TaxClass::Standard, 500, 2, 1000}}, RateTexts{L"abc", L"8"});
    EXPECT_EQ(sale.LineCount(), 1);
    EXPECT_EQ(sale.Caption(Label2), FormatMoney(1000));
    EXPECT_TRUE(Key(sale, L"1000", keyDivide, RateTexts{L"abc", L"8"}).Refused());
    Key(sale, L"1000", keyDivide, RateTexts{L"10", L"8"});
    EXPECT_EQ(sale.Caption(Label1), FormatMoney(90));
}

}  // namespace
