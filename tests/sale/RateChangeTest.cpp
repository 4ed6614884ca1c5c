// Rates that change on a date: which are in force at a moment, and the texts
// of the changes in the settings file and on the settings page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sale/RateChange.h"

using namespace regi;

namespace {

RateChange Change(int year, int month, int day, std::int64_t standard, std::int64_t reduced) {
    RateChange change;
    change.year = year, change.month = month, change.day = day;
    change.standard = standard, change.reduced = reduced;
    return change;
}

}  // namespace

TEST(RateChanges, AChangeComesIntoForceAtMidnightOfItsDay) {
    struct Case {
        common::DateTime now;
        std::optional<std::int64_t> reduced;  // of the change taken, nothing for none
        size_t left;
    };
    const Case cases[] = {
        {{2027, 3, 31, 23, 59, 59}, std::nullopt, 2},
        {{2027, 4, 1, 0, 0, 0}, 1, 1},
        {{2029, 3, 31, 23, 59, 59}, 1, 1},
        {{2029, 4, 1, 0, 0, 0}, 8, 0},  // both have come: the later one holds
        {{2026, 12, 31, 12, 0, 0}, std::nullopt, 2},
    };
    for (const Case& c : cases) {
        std::vector<RateChange> changes = {Change(2027, 4, 1, 10, 1), Change(2029, 4, 1, 10, 8)};
        std::optional<RateChange> due = TakeDue(changes, c.now);
        EXPECT_EQ(due ? std::optional<std::int64_t>(due->reduced) : std::nullopt, c.reduced) << c.now.year;
        EXPECT_EQ(changes.size(), c.left) << c.now.year << "/" << c.now.month << "/" << c.now.day;
    }
}

TEST(RateChanges, TheFilesEntriesReadAndUnreadableOnesAreKeptAsTheyWere) {
    struct Case {
        const wchar_t* text;
        std::vector<RateChange> changes;
        std::vector<std::wstring> unreadable;
        const wchar_t* written;
    };
    const Case cases[] = {
        {L"", {}, {}, L""},
        {L"2027/04/01 10 1", {Change(2027, 4, 1, 10, 1)}, {}, L"2027/04/01 10 1"},
        {L" 2029/4/1  10 8 ;2027/04/01 10 0;",
         {Change(2027, 4, 1, 10, 0), Change(2029, 4, 1, 10, 8)},
         {},
         L"2027/04/01 10 0;2029/04/01 10 8"},
        {L"2027/04/01 10 1;2027/04/01 10 0", {Change(2027, 4, 1, 10, 0)}, {}, L"2027/04/01 10 0"},  // one per day
        {L"2028/02/29 10 0", {Change(2028, 2, 29, 10, 0)}, {}, L"2028/02/29 10 0"},
        // As an input method in full-width mode types them.
        {L"\uFF12\uFF10\uFF12\uFF17\uFF0F\uFF14\uFF0F\uFF11 \uFF11\uFF10 \uFF11",
         {Change(2027, 4, 1, 10, 1)},
         {},
         L"2027/04/01 10 1"},
        {L"2027/02/29 10 0;2027/13/01 10 1;27/04/01 10 1;2027/04/00 10 1",
         {},
         {L"2027/02/29 10 0", L"2027/13/01 10 1", L"27/04/01 10 1", L"2027/04/00 10 1"},
         L"2027/02/29 10 0;2027/13/01 10 1;27/04/01 10 1;2027/04/00 10 1"},
        {L"2027/04/01 10 -1;2027/04/01 100 1;2027/04/01 10;2027/04/01 10 1 5;2027-04-01 10 1;2027/04/01 10 1.5",
         {},
         {L"2027/04/01 10 -1", L"2027/04/01 100 1", L"2027/04/01 10", L"2027/04/01 10 1 5", L"2027-04-01 10 1",
          L"2027/04/01 10 1.5"},
         nullptr},
        {L"abc;2027/04/01 10 1", {Change(2027, 4, 1, 10, 1)}, {L"abc"}, L"2027/04/01 10 1;abc"},
    };
    for (const Case& c : cases) {
        RateChanges read = ParseRateChanges(c.text);
        EXPECT_EQ(read.changes, c.changes) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(read.unreadable, c.unreadable) << testing::PrintToString(std::wstring(c.text));
        if (c.written) {
            EXPECT_EQ(RateChangesText(read), c.written);
        }
    }
}

TEST(RateChanges, AChangeThatCameWhileClosedIsToldFromItsDay) {
    EXPECT_EQ(ChangedRatesNotice(Change(2027, 4, 1, 10, 1), {2027, 4, 1, 8, 0, 0}),
              L"本日から税率が変わりました: 10% / 軽減 1%");
    EXPECT_EQ(ChangedRatesNotice(Change(2027, 4, 1, 10, 1), {2027, 4, 3, 8, 0, 0}),
              L"2027/04/01から税率が変わりました: 10% / 軽減 1%");
}

TEST(RateChanges, TheyShowAsTheShopReadsThem) {
    EXPECT_EQ(ChangeText(Change(2027, 4, 1, 10, 1)), L"2027/04/01 から 10% / 軽減 1%");
    EXPECT_EQ(RatesLineText(10, 8, {}), L"いまの税率 10% / 軽減 8%");
    EXPECT_EQ(RatesLineText(10, 8, {Change(2027, 4, 1, 10, 0), Change(2029, 4, 1, 10, 8)}),
              L"いまの税率 10% / 軽減 8%\u3000次の変更 2027/04/01 から 10% / 軽減 0%");
    EXPECT_EQ(UnreadableChangesMessage({}), L"");
    EXPECT_EQ(UnreadableChangesMessage({L"2027/13/01 10 1", L"abc"}),
              L"設定ファイルの税率の変更に、日付か税率が読めないものがあります。これらは使わずに、そのまま残します:"
              L"\r\n2027/13/01 10 1\r\nabc");
}
