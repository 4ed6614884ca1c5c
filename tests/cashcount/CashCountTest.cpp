#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "cashcount/CashCount.h"

using namespace cashcount;

namespace {

// A face value as a number, read by the test's own means.
std::int64_t Value(int row) { return std::stoll(DenominationValues[static_cast<size_t>(row - 1)]); }

TEST(CashCount, TablesHaveOneEntryPerRowAndRollsAreFiftyCoins) {
    EXPECT_EQ(std::wstring(DenominationNames[0]), L"１万円札");
    EXPECT_EQ(std::wstring(DenominationNames[16]), L"実現金計");
    // Each roll is worth fifty of the loose coin of the same face value (rows 5-10 and 11-16).
    const int rollRows[] = {5, 6, 7, 8, 9, 10};
    const int looseRows[] = {11, 12, 13, 14, 15, 16};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Value(rollRows[i]), Value(looseRows[i]) * 50)
            << DenominationValues[static_cast<size_t>(rollRows[i] - 1)];
        std::wstring rollName = DenominationNames[static_cast<size_t>(rollRows[i] - 1)];
        std::wstring looseName = DenominationNames[static_cast<size_t>(looseRows[i] - 1)];
        EXPECT_EQ(rollName.substr(0, rollName.size() - 2), looseName.substr(0, looseName.size() - 2));
    }
    for (const wchar_t* value : DenominationValues)
        EXPECT_EQ(std::to_wstring(std::stoll(value)), value) << "plain decimal digits";
}

struct Subtotal {
    int row;
    const wchar_t* count;
    const wchar_t* subtotal;
};

TEST(CashCount, SubtotalIsCountTimesFaceValueAndInvalidCountsGiveZero) {
    const Subtotal cases[] = {
        {5, L"3", L"75000"},
        {4, L"1", L"1000"},
        {4, L"12", L"12000"},
        {4, L"-2", L"-2000"},
        {4, L"2.5", L"0"},
        {4, L"", L"0"},
        {4, L"-", L"0"},
        {4, L"2-", L"0"},
        {1, L"0", L"0"},
        {16, L"7", L"7"},
        {10, L"2", L"100"},
        {5, L"999999999", L"24999999975000"},
        {5, L"-99999999", L"-2499999975000"},
        // Longer than a count cell takes: no count.
        {5, L"1234567890", L"0"},
        // Rows that are no count.
        {0, L"5", L"0"},
        {17, L"5", L"0"},
    };
    for (const Subtotal& c : cases)
        EXPECT_EQ(SubtotalText(c.row, c.count), c.subtotal)
            << "row " << c.row << " count " << testing::PrintToString(std::wstring(c.count));
}

TEST(CashCount, TotalAddsTheSubtotalsAndSkipsWhatIsNoNumber) {
    std::array<std::wstring, 16> subtotals{};
    EXPECT_EQ(TotalText(subtotals), L"0");
    subtotals[0] = L"10000";
    subtotals[4] = L"75000";
    subtotals[15] = L"-3";
    subtotals[7] = L"abc";
    EXPECT_EQ(TotalText(subtotals), std::to_wstring(10000 + 75000 - 3));

    // The largest counts of every row still add up exactly.
    std::int64_t expected = 0;
    for (int row = 1; row <= 16; ++row) {
        subtotals[static_cast<size_t>(row - 1)] = SubtotalText(row, L"999999999");
        expected += 999999999LL * Value(row);
    }
    EXPECT_EQ(TotalText(subtotals), std::to_wstring(expected));

    // Subtotals that would overflow together do not wrap around.
    subtotals.fill(L"");
    subtotals[0] = L"9223372036854775807";
    subtotals[1] = L"1";
    EXPECT_EQ(TotalText(subtotals), L"9223372036854775807");
}

struct OverShort {
    const wchar_t* total;
    const wchar_t* computed;
    const wchar_t* result;  // nullptr: the computed amount is no integer
};

TEST(CashCount, OverShortIsTotalMinusTheComputedAmount) {
    const OverShort cases[] = {
        {L"75000", L"0", L"75000"},
        {L"120000", L"100000", L"20000"},
        {L"90000", L"100000", L"-10000"},
        {L"0", L"-5", L"5"},
        {L"abc", L"5", L"-5"},
        {L"75000", L"12.5", nullptr},
        {L"75000", L"12.", nullptr},
        {L"75000", L"", nullptr},
        {L"75000", L"-", nullptr},
        {L"-1", L"9223372036854775807", L"-9223372036854775808"},
        {L"-2", L"9223372036854775807", nullptr},
    };
    for (const OverShort& c : cases) {
        std::optional<std::wstring> result = OverShortText(c.total, c.computed);
        ASSERT_EQ(result.has_value(), c.result != nullptr) << testing::PrintToString(std::wstring(c.computed));
        if (c.result) {
            EXPECT_EQ(*result, c.result);
        }
    }
}

TEST(CashCount, OnlyTheCountsOfRowsOneToSixteenCanBeSelected) {
    for (int row = 0; row < kRowCount; ++row)
        for (int col = 0; col < kColCount; ++col)
            EXPECT_EQ(CanSelect(col, row), col == 1 && row >= 1 && row <= 16) << col << "," << row;
}

TEST(CashCount, EnterWalksDownTheCountsAndWraps) {
    EXPECT_EQ(RowAfterEnter(1), 2);
    EXPECT_EQ(RowAfterEnter(5), 6);
    EXPECT_EQ(RowAfterEnter(15), 16);
    EXPECT_EQ(RowAfterEnter(16), 1);
    EXPECT_EQ(RowAfterEnter(17), 17);
    EXPECT_EQ(RowAfterEnter(0), 0);
}

TEST(CashCount, OnlyMinusPointAndDigitsReachACount) {
    std::wstring passed;
    for (wchar_t ch = 0; ch < 0x80; ++ch)
        if (AcceptsCountChar(ch)) passed += ch;
    EXPECT_EQ(passed, L"-.0123456789");
    EXPECT_FALSE(AcceptsCountChar(L'\b'));
    EXPECT_FALSE(AcceptsCountChar(L'１'));
}

}  // namespace
