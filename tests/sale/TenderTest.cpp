#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/ShownSale.h"

using namespace regi;

namespace {

const RateTexts kTenders{L"10", L"8", false, {L"クレジット", L"電子マネー", L"QRコード", L""}};

struct Step {
    std::wstring entry;
    std::uint16_t key;
};

// Lines of ¥5,000 and ¥500 keyed with ENTER, then steps; what the last step did.
Outcome KeyAfterTwoLines(ShownSale& sale, const std::vector<Step>& steps, const RateTexts& rates) {
    for (const wchar_t* price : {L"5000", L"500"}) {
        sale.SetEntry(price);
        sale.KeyUp(keyReturn, rates);
    }
    Outcome last;
    for (const Step& step : steps) {
        sale.SetEntry(step.entry);
        last = sale.KeyUp(step.key, rates);
    }
    return last;
}

struct Case {
    const char* name;
    std::vector<Step> steps;  // after a line of ¥5,000 and one of ¥500
    SaleState state;
    std::int64_t due;  // what is still due while open; the cash part once settled
    std::vector<TenderPaid> paid;
    std::int64_t change;  // once settled
    Refusal refusal;      // why the last step did nothing, if it said so
};

TEST(Tenders, SplitNoChangeAndWhatIsDue) {
    const Case cases[] = {
        {"the card takes all that is due", {{L"", keyF6}}, SaleState::Settled, 0, {{1, 5500}}, 0, Refusal::None},
        {"QR then cash with change",
         {{L"3000", keyF9}, {L"3000", keyDivide}},
         SaleState::Settled,
         2500,
         {{3, 3000}},
         500,
         Refusal::None},
        {"two parts of one tender add up",
         {{L"1000", keyF7}, {L"2000", keyF7}},
         SaleState::Open,
         2500,
         {{2, 3000}},
         0,
         Refusal::None},
        {"card then e-money to the yen",
         {{L"500", keyF6}, {L"", keyF7}},
         SaleState::Settled,
         0,
         {{1, 500}, {2, 5000}},
         0,
         Refusal::None},
        {"no change on a card", {{L"6000", keyF6}}, SaleState::Open, 5500, {}, 0, Refusal::AboveDue},
        {"above what is left after QR",
         {{L"5000", keyF9}, {L"501", keyF6}},
         SaleState::Open,
         500,
         {{3, 5000}},
         0,
         Refusal::AboveDue},
        {"cash short of what is due does nothing",
         {{L"1000", keyF9}, {L"4000", keyDivide}},
         SaleState::Open,
         4500,
         {{3, 1000}},
         0,
         Refusal::None},
        // At what is due and one yen either side of it.
        {"exactly what is due settles", {{L"5500", keyF6}}, SaleState::Settled, 0, {{1, 5500}}, 0, Refusal::None},
        {"one yen more than is due", {{L"5501", keyF6}}, SaleState::Open, 5500, {}, 0, Refusal::AboveDue},
        {"one yen less leaves one yen due", {{L"5499", keyF6}}, SaleState::Open, 1, {{1, 5499}}, 0, Refusal::None},
        {"the last yen by card",
         {{L"5499", keyF6}, {L"1", keyF7}},
         SaleState::Settled,
         0,
         {{1, 5499}, {2, 1}},
         0,
         Refusal::None},
        {"cash of exactly the rest",
         {{L"5000", keyF6}, {L"500", keyDivide}},
         SaleState::Settled,
         500,
         {{1, 5000}},
         0,
         Refusal::None},
        {"cash one yen short of the rest",
         {{L"5000", keyF6}, {L"499", keyDivide}},
         SaleState::Open,
         500,
         {{1, 5000}},
         0,
         Refusal::None},
        {"an unnamed tender is no tender", {{L"100", keyF11}}, SaleState::Open, 5500, {}, 0, Refusal::None},
        {"a fraction", {{L"10.5", keyF6}}, SaleState::Open, 5500, {}, 0, Refusal::NotAnInteger},
        {"not a number", {{L"-", keyF6}}, SaleState::Open, 5500, {}, 0, Refusal::NotARealNumber},
        {"negative", {{L"-100", keyF6}}, SaleState::Open, 5500, {}, 0, Refusal::NegativeTender},
        {"beyond the limits", {{L"99999999999999999999", keyF6}}, SaleState::Open, 5500, {}, 0, Refusal::OutOfRange},
        {"zero does nothing", {{L"0", keyF6}}, SaleState::Open, 5500, {}, 0, Refusal::None},
        {"a void once paid", {{L"100", keyF6}, {L"", keyF3}}, SaleState::Open, 5400, {{1, 100}}, 0, Refusal::LinesPaid},
        {"a line once paid",
         {{L"100", keyF6}, {L"300", keyReturn}},
         SaleState::Open,
         5400,
         {{1, 100}},
         0,
         Refusal::LinesPaid},
        {"a quantity once paid",
         {{L"100", keyF6}, {L"3", keyMultiply}},
         SaleState::Open,
         5400,
         {{1, 100}},
         0,
         Refusal::LinesPaid},
        {"a settled sale takes no tender",
         {{L"5500", keyDivide}, {L"", keyF6}},
         SaleState::Settled,
         5500,
         {},
         0,
         Refusal::None},
    };
    for (const Case& c : cases) {
        ShownSale sale;
        std::vector<SaleRecord> settled;
        sale.recorder.settling = [&](SaleRecord& record) { settled.push_back(record); };
        Outcome last = KeyAfterTwoLines(sale, c.steps, kTenders);
        EXPECT_EQ(sale.State(), c.state) << c.name;
        EXPECT_EQ(sale.Paid(), c.paid) << c.name;
        EXPECT_EQ(last.refusal, c.refusal) << c.name;
        if (c.state == SaleState::Open) {
            EXPECT_EQ(sale.Due(), c.due) << c.name;
            // A tender taken empties the entry for the next; one not taken leaves it for correction.
            ShownSale before;
            KeyAfterTwoLines(before, {c.steps.begin(), c.steps.end() - 1}, kTenders);
            if (!c.steps.back().entry.empty()) {
                EXPECT_EQ(sale.Entry().empty(), sale.Paid() != before.Paid()) << c.name;
            }
        }
        if (c.state == SaleState::Settled) {
            ASSERT_EQ(settled.size(), 1u) << c.name;
            EXPECT_EQ(settled[0].tenders, c.paid) << c.name;
            EXPECT_EQ(settled[0].change, c.change) << c.name;
            EXPECT_EQ(settled[0].tendered - settled[0].change, c.due) << c.name << ": the cash part";
            EXPECT_EQ(sale.Change(), c.change) << c.name;
        }
    }
}

TEST(Tenders, AboveWhatIsDueSaysWhatIsLeft) {
    ShownSale sale;
    sale.SetEntry(L"800");
    sale.KeyUp(keyReturn, kTenders);
    sale.SetEntry(L"900");
    EXPECT_EQ(sale.KeyUp(keyF6, kTenders).Message(), L"現金以外の支払いではお釣りを出せません｡\r\n残りは ¥800 です｡");
    EXPECT_EQ(sale.Entry(), L"900");
}

TEST(Tenders, ACancelOfAPartlyPaidSaleGivesTheTendersBack) {
    ShownSale sale;
    std::vector<TenderPaid> givenBack;
    bool cashCancel = false;
    sale.recorder.cancelling = [&](const std::vector<LineRecord>&, std::int64_t) { cashCancel = true; };
    sale.recorder.cancellingPaid = [&](const std::vector<LineRecord>& lines, std::int64_t,
                                       const std::vector<TenderPaid>& paid) {
        EXPECT_EQ(lines.size(), 1u);
        givenBack = paid;
    };
    sale.SetEntry(L"800");
    sale.KeyUp(keyReturn, kTenders);
    EXPECT_EQ(std::wstring(sale.CancelQuestion()), kCancelQuestion);
    sale.SetEntry(L"300");
    sale.KeyUp(keyF9, kTenders);
    EXPECT_TRUE(sale.KeyUp(keyF8, kTenders).askCancel);
    EXPECT_NE(std::wstring(sale.CancelQuestion()).find(L"カードなどの支払いは手で取り消して下さい"),
              std::wstring::npos);
    sale.Cancel();
    EXPECT_FALSE(cashCancel);
    EXPECT_EQ(givenBack, (std::vector<TenderPaid>{{3, 300}}));
    EXPECT_EQ(sale.State(), SaleState::Empty);
    EXPECT_TRUE(sale.Paid().empty());
}

TEST(Tenders, ASaleThatCannotBeKeptStaysPartlyPaid) {
    ShownSale sale;
    sale.recorder.settling = [](SaleRecord&) { throw std::runtime_error("disk full"); };
    sale.SetEntry(L"800");
    sale.KeyUp(keyReturn, kTenders);
    sale.SetEntry(L"300");
    sale.KeyUp(keyF9, kTenders);
    sale.SetEntry(L"");
    EXPECT_THROW(sale.KeyUp(keyF6, kTenders), std::runtime_error);
    EXPECT_EQ(sale.State(), SaleState::Open);
    EXPECT_EQ(sale.Paid(), (std::vector<TenderPaid>{{3, 300}}));
    EXPECT_EQ(sale.Due(), 500);
}

TEST(Tenders, ASaleRestoredAfterACrashKeepsWhatWasPaidWhileSomethingIsDue) {
    const std::vector<LineRecord> lines = {{TaxClass::Standard, 800, 1, 800}};
    const struct {
        std::vector<TenderPaid> kept;
        std::vector<TenderPaid> restored;
    } cases[] = {
        {{}, {}},
        {{{3, 300}, {1, 400}}, {{3, 300}, {1, 400}}},
        {{{3, 300}, {1, 500}}, {{3, 300}}},  // at the rates now it would leave nothing due
        {{{2, 800}}, {}},
    };
    for (const auto& c : cases) {
        ShownSale sale;
        sale.Restore(lines, kTenders, c.kept);
        EXPECT_EQ(sale.Paid(), c.restored);
        std::int64_t paid = 0;
        for (const TenderPaid& p : c.restored) paid += p.amount;
        EXPECT_EQ(sale.Due(), 800 - paid);
        EXPECT_EQ(sale.TenderName(3), L"QRコード");
    }
}

}  // namespace

namespace {

TEST(Tenders, TheRevenueStampFollowsTheReceiptsAmountUnlessACreditCardPaidItAll) {
    const std::vector<std::wstring> names = {L"クレジット", L"電子マネー"};
    struct Case {
        std::int64_t price;  // one standard-rate line, tax included
        std::vector<TenderPaid> tenders;
        std::int64_t duty;
    };
    const Case cases[] = {
        {54998, {}, 0},    // ¥49,999 without its tax
        {55000, {}, 200},  // ¥50,000
        {55000, {{1, 55000}}, 0},
        {55000, {{1, 30000}}, 200},
        {55000, {{2, 55000}}, 200},  // e-money is no credit card
        {1'100'000, {}, 200},        // ¥1,000,000
        {1'100'012, {}, 400},        // ¥1,000,011
        {5'500'000, {}, 1'000},
        {207'407'256, {}, 40'000},  // ¥188,552,051
        {1'100'000'000, {}, 150'000},
        {1'100'000'012, {}, 200'000},
    };
    for (const Case& c : cases) {
        SaleRecord sale;
        sale.lines = {{TaxClass::Standard, c.price, 1, c.price}};
        sale.taxes = SumTaxes(sale.lines, 10, 8);
        sale.tenders = c.tenders;
        EXPECT_EQ(RevenueStampDuty(sale, names), c.duty) << c.price;
    }
    SaleRecord sale;
    sale.lines = {{TaxClass::Standard, 207'407'256, 1, 207'407'256}};
    sale.taxes = SumTaxes(sale.lines, 10, 8);
    EXPECT_EQ(RevenueStampNotice(sale, names),
              L"税抜 \u00A5188,552,051 の領収書です｡\r\n\u00A540,000 の収入印紙を貼って消印して下さい｡");
}

}  // namespace

// What paid a sale, in the instruction area: every tender on a line of its
// own, and while something is due, what can pay the rest.
TEST(Tenders, TheInstructionAreaListsEveryTenderPaid) {
    const RateTexts fourTenders{L"10", L"8", false, {L"クレジット", L"電子マネー", L"QRコード", L"ポイント"}};
    const std::wstring yen = L"\u00A5";
    struct Shown {
        const char* name;
        RateTexts rates;
        std::vector<Step> steps;  // after a line of ¥5,000 and one of ¥500
        std::wstring label7, label14, label15, label19;
    };
    const Shown cases[] = {
        {"one tender so far",
         kTenders,
         {{L"3000", keyF9}},
         L"",
         L"合計 " + yen + L"5,500 のうち\r\nQRコード " + yen + L"3,000 支払済",
         L"",
         L"残りは [/] で現金、または\r\nF6 F7 F9 で支払えます｡"},
        {"four tenders so far",
         fourTenders,
         {{L"1000", keyF6}, {L"1000", keyF7}, {L"1000", keyF9}, {L"1000", keyF11}},
         L"",
         L"合計 " + yen + L"5,500 のうち\r\nクレジット " + yen + L"1,000\r\n電子マネー " + yen + L"1,000",
         L"QRコード " + yen + L"1,000\r\nポイント " + yen + L"1,000 支払済",
         L"残りは [/] で現金、または\r\nF6 F7 F9 F11 で支払えます｡"},
        {"settled by card alone: no cash tendered",
         kTenders,
         {{L"", keyF6}},
         L"",
         kClearPrompt,
         L"クレジット " + yen + L"5,500 支払済",
         L""},
        {"card, then the rest in cash",
         kTenders,
         {{L"3000", keyF6}, {L"3000", keyDivide}},
         kTenderedCaption,
         kClearPrompt,
         L"クレジット " + yen + L"3,000 支払済",
         L""},
        {"cash alone", kTenders, {{L"6000", keyDivide}}, kTenderedCaption, kClearPrompt, L"", L""},
    };
    for (const Shown& c : cases) {
        ShownSale sale;
        KeyAfterTwoLines(sale, c.steps, c.rates);
        EXPECT_EQ(sale.Caption(Label7), c.label7) << c.name;
        EXPECT_EQ(sale.Caption(Label14), c.label14) << c.name;
        EXPECT_EQ(sale.Caption(Label15), c.label15) << c.name;
        EXPECT_EQ(sale.Caption(Label19), c.label19) << c.name;
    }
}
