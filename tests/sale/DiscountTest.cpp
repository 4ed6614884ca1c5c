#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "register/SaleView.h"
#include "sale/Sale.h"

using namespace regi;

namespace {

struct Step {
    std::wstring entry;
    Command command;
};

// ENTER makes standard lines, F2 reduced ones; departments 12 (reduced) and 30 (exempt).
Rates ShopRates() {
    Rates rates(10, 8);
    rates.departments.named = {{12, L"パン", TaxClass::Reduced}, {30, L"切手", TaxClass::Exempt}};
    rates.presets = {{DiscountKind::Percent, 20, 0}, {DiscountKind::Yen, 50, 0}};
    return rates;
}

Outcome Key(TSale& sale, const std::vector<Step>& steps) {
    Outcome last;
    for (const Step& step : steps) last = sale.Run(step.command, Entry(step.entry), ShopRates());
    return last;
}

const Command kStd = Command::EnterLine, kRed = Command::OtherLine, kExempt = Command::ExemptLine;

TEST(Discounts, SplitBetweenTheRatesAndTaxedOncePerRate) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::int64_t standard, standardTax, reduced, reducedTax, exempt;
        ClassAmounts parts;  // of the discount on the whole sale: exempt, standard, reduced
    };
    const Case cases[] = {
        // The tax office's example: ¥1,000 off ¥3,300 at 10 % and ¥2,160 at 8 %.
        {"nta",
         {{L"3300", kStd}, {L"2160", kRed}, {L"1000", Command::SubtotalYenOff}},
         2696,
         245,
         1764,
         130,
         0,
         {0, 604, 396}},
        // Thirds leave a yen: it goes to the reduced class.
        {"three classes",
         {{L"1000", kStd}, {L"1000", kRed}, {L"1000", kExempt}, {L"100", Command::SubtotalYenOff}},
         967,
         87,
         966,
         71,
         967,
         {33, 33, 34}},
        {"percent rounds down", {{L"999", kStd}, {L"10", Command::LinePercentOff}}, 900, 81, 0, 0, 0, {0, 0, 0}},
        {"whole sale after a line's",
         {{L"1000", kStd}, {L"200", Command::LineYenOff}, {L"500", kRed}, {L"10", Command::SubtotalPercentOff}},
         720,
         65,
         450,
         33,
         0,
         {0, 80, 50}},
        {"quantity after percent",
         {{L"300", kStd}, {L"20", Command::LinePercentOff}, {L"3", Command::Quantity}},
         720,
         65,
         0,
         0,
         0,
         {0, 0, 0}},
        {"preset", {{L"300", kStd}, {L"", Command::Preset1}}, 240, 21, 0, 0, 0, {0, 0, 0}},
        {"negative line takes no share",
         {{L"1000", kStd}, {L"-100", kRed}, {L"90", Command::SubtotalYenOff}},
         910,
         82,
         -100,
         -7,
         0,
         {0, 90, 0}},
        {"armed department",
         {{L"12", Command::ArmDepartment}, {L"500", kStd}, {L"500", kStd}},
         500,
         45,
         500,
         37,
         0,
         {0, 0, 0}},
        {"void takes the line's discount",
         {{L"300", kStd}, {L"50", Command::LineYenOff}, {L"100", kRed}, {L"1", Command::Void}},
         0,
         0,
         100,
         7,
         0,
         {0, 0, 0}},
        {"F3 alone takes the whole sale's back",
         {{L"300", kStd}, {L"50", Command::SubtotalYenOff}, {L"", Command::Void}},
         300,
         27,
         0,
         0,
         0,
         {0, 0, 0}},
    };
    for (const Case& c : cases) {
        TSale sale;
        Outcome last = Key(sale, c.steps);
        EXPECT_FALSE(last.Refused()) << c.name << ": " << std::string(last.refused.begin(), last.refused.end());
        const TaxTotals& t = sale.Totals();
        EXPECT_EQ(t.standardAmount, c.standard) << c.name;
        EXPECT_EQ(t.standardTax, c.standardTax) << c.name;
        EXPECT_EQ(t.reducedAmount, c.reduced) << c.name;
        EXPECT_EQ(t.reducedTax, c.reducedTax) << c.name;
        EXPECT_EQ(t.exemptAmount, c.exempt) << c.name;
        EXPECT_EQ(sale.SubtotalParts(), c.parts) << c.name;
        std::int64_t cancelled = -1;
        sale.recorder.cancelling = [&](const std::vector<LineRecord>&, std::int64_t total) { cancelled = total; };
        sale.Cancel();
        EXPECT_EQ(cancelled, c.standard + c.reduced + c.exempt) << c.name << ": a cancel counts what the sale came to";
    }
}

TEST(Discounts, RefusedInWordsAndNothingChanges) {
    const Step line{L"300", kStd};
    struct Case {
        const char* name;
        std::vector<Step> before, refused;  // the second one refused
        Refusal refusal;
    };
    const Case cases[] = {
        {"empty sale", {}, {{L"10", Command::LineYenOff}}, Refusal::NothingToDiscount},
        {"settled", {line, {L"300", Command::Settle}}, {{L"10", Command::SubtotalYenOff}}, Refusal::SettledDiscount},
        {"above the line", {line}, {{L"301", Command::LineYenOff}}, Refusal::DiscountAboveLine},
        {"zero yen", {line}, {{L"0", Command::LineYenOff}}, Refusal::DiscountNotPositive},
        {"100 percent", {line}, {{L"100", Command::LinePercentOff}}, Refusal::PercentOutside},
        {"negative line", {{L"-300", kStd}}, {{L"10", Command::LineYenOff}}, Refusal::NegativeLineDiscount},
        {"second on a line",
         {line, {L"10", Command::LineYenOff}},
         {{L"10", Command::LinePercentOff}},
         Refusal::SecondDiscount},
        {"second on the sale",
         {line, {L"10", Command::SubtotalYenOff}},
         {{L"5", Command::SubtotalPercentOff}},
         Refusal::SecondSubtotalDiscount},
        {"below zero", {line, {L"-200", kRed}}, {{L"101", Command::SubtotalYenOff}}, Refusal::BelowZero},
        {"void under the discount",
         {line, {L"100", kRed}, {L"350", Command::SubtotalYenOff}},
         {{L"2", Command::Void}},
         Refusal::BelowZero},
        {"quantity under yen off",
         {{L"300", kStd}, {L"3", Command::Quantity}, {L"800", Command::LineYenOff}},
         {{L"2", Command::Quantity}},
         Refusal::DiscountAboveLine},
        {"after a tender", {line, {L"100", Command::Tender1}}, {{L"10", Command::LineYenOff}}, Refusal::LinesPaid},
        {"no such department", {}, {{L"13", Command::ArmDepartment}}, Refusal::NoSuchDepartment},
        {"full grid", std::vector<Step>(kRows, line), {{L"10", Command::LineYenOff}}, Refusal::GridFull},
    };
    for (const Case& c : cases) {
        TSale sale;
        Rates rates = ShopRates();
        rates.tenders = {L"クレジット"};
        for (const Step& step : c.before) sale.Run(step.command, Entry(step.entry), rates);
        const TaxTotals before = sale.Totals();
        const int rows = sale.RowCount();
        Outcome outcome = sale.Run(c.refused[0].command, Entry(c.refused[0].entry), rates);
        EXPECT_EQ(outcome.refusal, c.refusal) << c.name;
        EXPECT_FALSE(outcome.Message().empty()) << c.name;
        EXPECT_EQ(sale.Totals().Total(), before.Total()) << c.name;
        EXPECT_EQ(sale.RowCount(), rows) << c.name;
    }
}

TEST(Discounts, StandOnRowsOfTheirOwnUnderTheirLine) {
    TSale sale;
    Key(sale, {{L"300", kStd}, {L"20", Command::LinePercentOff}, {L"12", Command::ArmDepartment}});
    EXPECT_EQ(DepartmentText(sale, ShopRates().departments), L"部門 12 ※パン : 単価を打って下さい");
    Key(sale, {{L"500", kStd}, {L"50", Command::SubtotalYenOff}});
    const std::vector<std::vector<std::wstring>> rows = {
        {L"1", L"300", L"1", L"300", L"", L"1"},
        {L"", L"割引 20%", L"", L"-60", L"", L"1"},
        {L"2", L"500", L"1", L"500", L"※", L"2"},
        {L"", L"小計値引", L"", L"-50", L"", L""},
    };
    ASSERT_EQ(sale.RowCount(), 4);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 6; ++col)
            EXPECT_EQ(CellText(sale, col, row), rows[static_cast<size_t>(row)][static_cast<size_t>(col)]) << row << col;
    EXPECT_EQ(LastLineRow(sale), 2);
    EXPECT_EQ(DepartmentText(sale, ShopRates().departments), L"2行目 ※パン");
    EXPECT_EQ(DepartmentText(sale, Departments{}), L"") << "a shop without departments sees nothing new";
}

TEST(SplitDiscount, PartsAddUpAndStayWithinTheirClass) {
    struct Case {
        std::int64_t yen;
        ClassAmounts amounts, parts;
    };
    const Case cases[] = {
        {1000, {0, 3300, 2160}, {0, 604, 396}},
        {2000, {1000, 1000, 1}, {999, 1000, 1}},  // the reduced class has room for one yen only
        {5, {0, 0, 5}, {0, 0, 5}},
        {7, {-50, 100, 0}, {0, 7, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitDiscount(c.yen, c.amounts), c.parts) << c.yen;
    EXPECT_EQ(MulDiv(999'999'999'999, 999'999'999'999, 1'000'000'000'000), 999'999'999'998);
}

TEST(Departments, NameLinesAsTheReceiptsDid) {
    Departments departments;
    departments.named = {{12, L"パン", TaxClass::Reduced}};
    EXPECT_EQ(departments.NameOf(0, TaxClass::Reduced), L"※商品");
    EXPECT_EQ(departments.NameOf(12, TaxClass::Reduced), L"※パン");
    EXPECT_EQ(departments.NameOf(13, TaxClass::Exempt), L"非課税商品");
    departments.classNames[static_cast<int>(TaxClass::Standard)] = L"雑貨";
    EXPECT_EQ(departments.NameOf(0, TaxClass::Standard), L"雑貨");
}

}  // namespace
