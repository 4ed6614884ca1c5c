// Random key sequences on the sale keep its invariants: lines contiguous from
// row 0, the cursor on the first free row, total = sum of the subtotals, tax as
// the tax contained in the taxable subtotals, the sales total = sum of the
// settled totals.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/support/ShownSale.h"

using namespace regi;

namespace {

std::wstring RandomEntry(std::mt19937& random) {
    switch (random() % 8) {
    case 0: return L"";
    case 1: return L"-";
    case 2: return std::to_wstring(static_cast<int>(random() % 2000) - 1000);
    case 3: return std::to_wstring(random() % 20);
    case 4: return std::to_wstring(static_cast<std::int64_t>(random() % 20'000'000) - 10'000'000);
    case 5: return std::to_wstring(static_cast<std::int64_t>(random()) * 1000);
    case 6: return L"-" + std::to_wstring(random() % 1100);
    default: return std::to_wstring(random() % 5000);
    }
}

const std::uint16_t kKeys[] = {keyReturn, keyAdd, keyMultiply, keyDivide, keyDecimal, keyF4, keyF1, 'A'};
const wchar_t* const kRates[] = {L"5", L"8", L"0", L"-100", L"10", L"5.5", L"", L"-7", L"150"};

std::wstring Money(std::int64_t v) { return FormatMoney(v); }

void CheckInvariants(const ShownSale& sale, const std::wstring& rateText, std::int64_t settledSum) {
    int lines = 0;
    while (lines < kRows && !sale.Cell(0, lines).empty()) ++lines;
    for (int r = lines; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) ASSERT_EQ(sale.Cell(c, r), L"") << "row " << r << " col " << c;
    ASSERT_EQ(sale.LineCount(), lines);
    ASSERT_EQ(sale.Row(), lines < kRows ? lines : kRows - 1);

    std::int64_t total = 0, taxable = 0;
    for (int r = 0; r < lines; ++r) {
        ASSERT_EQ(sale.Cell(0, r), std::to_wstring(r + 1));
        std::int64_t price = std::stoll(sale.Cell(1, r)), quantity = std::stoll(sale.Cell(2, r));
        ASSERT_LE(price, 9'999'999);
        ASSERT_GE(price, -9'999'999);
        ASSERT_LE(quantity, 999);
        ASSERT_GE(quantity, -999);
        ASSERT_EQ(std::stoll(sale.Cell(3, r)), price * quantity);
        bool exempt = sale.Cell(4, r) == L"非";
        ASSERT_EQ(sale.Cell(5, r), exempt ? L"0" : L"1");
        total += price * quantity;
        if (!exempt) taxable += price * quantity;
    }
    if (lines > 0) {
        // The totals shown are those of the last command's rate; recompute with the
        // rate the test last used when that command changed them.
        ASSERT_EQ(sale.Caption(Label2), Money(total));
        std::int64_t rate =
            ReadRate(rateText).value_or(0);  // an unreadable rate taxes nothing: only exempt lines were made with it
        std::int64_t expectedTax = rate == -100 ? 0 : taxable * rate / (100 + rate);  // exact here: small amounts
        ASSERT_EQ(sale.Caption(Label1), Money(expectedTax));
    } else {
        ASSERT_EQ(sale.Caption(Label2), L"");
    }
    ASSERT_EQ(sale.SalesTotal(), settledSum);
    if (settledSum != 0 || !sale.Caption(Label4).empty()) {
        ASSERT_EQ(sale.Caption(Label4), Money(settledSum));
    }
}

TEST(SaleRandom, KeySequencesKeepTheInvariants) {
    std::mt19937 random(20261208);
    for (int run = 0; run < 60; ++run) {
        ShownSale sale;
        sale.ShowFirstPrompt();
        std::int64_t settledSum = 0;
        std::wstring lastRate;  // the rate of the last command that refreshed the totals
        for (int step = 0; step < 400; ++step) {
            std::wstring entry = RandomEntry(random);
            std::uint16_t key = kKeys[random() % (sizeof kKeys / sizeof kKeys[0])];
            std::wstring rate = kRates[random() % (sizeof kRates / sizeof kRates[0])];
            // Lines come more often than the rest, so grids fill up.
            if (random() % 3 == 0) key = keyReturn;
            SaleState before = sale.State();
            std::wstring total = sale.Caption(Label2);
            sale.SetEntry(entry);
            auto o = sale.KeyUp(key, rate);
            bool refreshed = o.acted && (key == keyReturn || key == keyAdd || key == keyMultiply || key == keyDivide);
            if (refreshed) lastRate = rate;
            if (o.acted && key == keyDivide) {
                ASSERT_EQ(before, SaleState::Open);
                settledSum += ParseAmount(total).value();
                ASSERT_EQ(sale.State(), SaleState::Settled);
                ASSERT_EQ(ParseAmount(sale.Caption(Label3)).value(), std::stoll(entry) - ParseAmount(total).value());
            }
            if (!o.acted) {
                ASSERT_EQ(sale.Entry(), entry) << "a refused command keeps the entry";
            }
            if (o.Refused()) {
                ASSERT_EQ(before, sale.State());
            }
            ASSERT_NO_FATAL_FAILURE(CheckInvariants(sale, lastRate, settledSum)) << "run " << run << " step " << step;
        }
    }
}

}  // namespace
