// The sales history's questions to the journal: ranges and fields as typed,
// the sales each query picks from a journal kept in memory, and the reissue
// record the history adds to the journal.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/Error.h"
#include "common/Utf8.h"
#include "history/Query.h"
#include "journal/Session.h"
#include "sale/Return.h"
#include "tests/journal/MemoryStorage.h"
#include "tests/journal/ShiftJis.h"
#include "tests/support/SettledSale.h"

using namespace history;
using regi::TaxClass;

namespace {

const std::wstring kFolder = L"C:\\shop";

std::wstring Range(const std::wstring& text) {
    std::optional<DateRange> range = ParseDateRange(text);
    return range ? DateText(range->from) + L"~" + DateText(range->to) : L"none";
}

TEST(DateRangeTest, RangesReadAsPeopleTypeThem) {
    struct Row {
        const wchar_t* typed;
        const wchar_t* read;
    };
    const Row rows[] = {
        {L"2026-12-08", L"2026-12-08~2026-12-08"},
        {L"2026/12/8", L"2026-12-08~2026-12-08"},
        {L"２０２６－１２－０８", L"2026-12-08~2026-12-08"},
        {L" 2026-12 ", L"2026-12-01~2026-12-31"},
        {L"2028-02", L"2028-02-01~2028-02-29"},
        {L"2026", L"2026-01-01~2026-12-31"},
        {L"2026-11-30～2027-01-02", L"2026-11-30~2027-01-02"},
        {L"2026-11 ~ 2026-12-05", L"2026-11-01~2026-12-05"},
        {L"2026-12-08〜2026-12-01", L"2026-12-08~2026-12-01"},  // read; ReadQuery refuses it
        {L"2026-02-29", L"none"},
        {L"2026-13", L"none"},
        {L"2026-12-32", L"none"},
        {L"12/8", L"none"},
        {L"20261208", L"none"},
        {L"2026-12-08-", L"none"},
        {L"2026-12-08～", L"none"},
        {L"昨日", L"none"},
        {L"", L"none"},
    };
    for (const Row& row : rows) EXPECT_EQ(Range(row.typed), row.read) << common::ToUtf8(row.typed);
}

TEST(DateRangeTest, DaysCountAcrossMonthAndYearEnds) {
    for (std::int64_t day = DayNumber({2024, 1, 1}); day <= DayNumber({2028, 12, 31}); ++day)
        ASSERT_EQ(DayNumber(DateOfDay(day)), day) << day;
    EXPECT_EQ(DayNumber({1970, 1, 1}), 0);
    EXPECT_EQ(DayNumber({2027, 1, 1}) - DayNumber({2026, 12, 31}), 1);
    EXPECT_EQ(DayNumber({2028, 3, 1}) - DayNumber({2028, 2, 28}), 2);
}

std::wstring Refusal(const QueryTexts& texts, const regi::Departments& departments = {}) {
    try {
        ReadQuery(texts, departments);
    } catch (const common::Error& error) {
        return error.Message();
    }
    return L"";
}

TEST(ReadQueryTest, WhatDoesNotReadIsSaidInWords) {
    regi::Departments departments;
    departments.named = {{3, L"野菜", TaxClass::Reduced}};
    struct Row {
        QueryTexts texts;
        const wchar_t* said;  // the message's start; empty: read
    };
    const Row rows[] = {
        {{L"2026-12-08", L"", L"", L""}, L""},
        {{L"", L"１２４", L"¥1,080", L"野菜"}, L""},
        {{L"", L"", L"", L"3"}, L""},
        {{L"12月8日", L"", L"", L""}, L"期間「12月8日」が読めません"},
        {{L"2026-12-08～2026-12-01", L"", L"", L""}, L"期間の始め 2026-12-08 が終わり 2026-12-01 より後です"},
        {{L"", L"12a", L"", L""}, L"番号「12a」が読めません"},
        {{L"", L"0", L"", L""}, L"番号「0」が読めません"},
        {{L"", L"", L"-5", L""}, L"金額「-5」が読めません"},
        {{L"", L"", L"", L"果物"}, L"部門「果物」はありません"},
        {{L"", L"", L"", L"100"}, L"部門「100」はありません"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Refusal(row.texts, departments).substr(0, std::wcslen(row.said)), row.said)
            << common::ToUtf8(row.texts.range + row.texts.number + row.texts.amount + row.texts.department);
    Query query = ReadQuery({L"2026-12", L"１２４", L"¥1,080", L"野菜"}, departments);
    EXPECT_EQ(query.number, 124);
    EXPECT_EQ(query.amount, 1080);
    EXPECT_EQ(query.department, 3);
    EXPECT_EQ(DateText(query.range->to), L"2026-12-31");
}

// A journal in memory with sales made at the times the test sets.
class JournalQueryTest : public testing::Test {
protected:
    void SetUp() override {
        session_ = std::make_unique<journal::Session>(
            storage_, kFolder, [this] { return now_; }, journal_test::ShiftJis());
    }
    // A sale of price in department at the time given.
    std::int64_t Sell(common::DateTime at, std::int64_t price, int department = 0) {
        now_ = at;
        regi::SaleRecord sale =
            testing_support::SettledSale({{TaxClass::Standard, price, 1, price, department}}, price);
        return session_->RecordSale(sale).number;
    }
    std::vector<std::int64_t> Found(const QueryTexts& texts) {
        std::vector<std::int64_t> numbers;
        EachSale(*session_, ReadQuery(texts, {}), [&](const journal::FoundSale& found) {
            EXPECT_TRUE(found.complete) << found.sale.number;
            numbers.push_back(found.sale.number);
            return true;
        });
        return numbers;
    }
    journal_test::MemoryStorage storage_;
    common::DateTime now_{2026, 11, 30, 9, 0, 0};
    std::unique_ptr<journal::Session> session_;
};

TEST_F(JournalQueryTest, EachQueryPicksItsSalesInTheJournalsOrder) {
    Sell({2026, 11, 30, 21, 0, 0}, 500);     // 1
    Sell({2026, 12, 1, 10, 0, 0}, 1080, 3);  // 2
    session_->RecordCancel(1, 200);          // 3, no sale
    Sell({2026, 12, 1, 11, 0, 0}, 2000);     // 4
    Sell({2026, 12, 1, 9, 30, 0}, 1080);     // 5: the clock was set back
    Sell({2026, 12, 2, 0, 0, 0}, 300, 3);    // 6
    using V = std::vector<std::int64_t>;
    struct Row {
        QueryTexts texts;
        V found;
    };
    const Row rows[] = {
        {{L"2026-12-01", L"", L"", L""}, V{2, 4, 5}},
        {{L"2026-11-30～2026-12-01", L"", L"", L""}, V{1, 2, 4, 5}},
        {{L"2026-12", L"", L"", L""}, V{2, 4, 5, 6}},
        {{L"2026-12-03", L"", L"", L""}, V{}},
        {{L"", L"", L"1080", L""}, V{2, 5}},
        {{L"", L"", L"", L"3"}, V{2, 6}},
        {{L"2026-12-01", L"", L"", L"3"}, V{2}},
        {{L"", L"5", L"", L""}, V{5}},
        {{L"", L"3", L"", L""}, V{}},            // a cancel is no sale
        {{L"2026-12-02", L"5", L"", L""}, V{}},  // the number's sale is of another day
        {{L"", L"99", L"", L""}, V{}},
        {{L"", L"", L"", L""}, V{1, 2, 4, 5, 6}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Found(row.texts), row.found) << common::ToUtf8(row.texts.range + L"|" + row.texts.number + L"|" +
                                                                 row.texts.amount + L"|" + row.texts.department);
}

TEST_F(JournalQueryTest, ASaleFoundByNumberReadsLittleOfALongJournal) {
    for (int month = 1; month <= 8; ++month)
        for (int day = 1; day <= 28; ++day)
            for (int hour = 9; hour < 21; ++hour) Sell({2026, month, day, hour, 0, 0}, 100 + hour);
    Found({L"", L"7", L"", L""});  // the first search writes the index
    storage_.bytesRead = 0;
    EXPECT_EQ(Found({L"", L"201", L"", L""}), std::vector<std::int64_t>{201});
    EXPECT_LT(storage_.bytesRead * 4, static_cast<std::int64_t>(storage_.files[session_->Path()].size()))
        << "the index says where the sale lies";
}

TEST_F(JournalQueryTest, AJournalThatCannotBeReadIsSaidAndNoneIsMissing) {
    EXPECT_EQ(Found({L"2026-12-01", L"", L"", L""}), std::vector<std::int64_t>{}) << "no journal: no sales";
    Sell({2026, 12, 1, 10, 0, 0}, 500);
    storage_.failing[session_->Path()] = journal::Fault::Busy;
    try {
        Found({L"2026-12", L"", L"", L""});
        ADD_FAILURE() << "a locked journal read as one without sales";
    } catch (const common::Error& error) {
        EXPECT_EQ(error.Message().substr(0, 11), L"売上の記録を読めません");
    }
}

TEST_F(JournalQueryTest, AReissueIsRecordedAndChangesNoSumOrNumber) {
    Sell({2026, 12, 1, 10, 0, 0}, 500);
    now_ = {2026, 12, 9, 15, 0, 0};
    session_->RecordReissue(1);
    const std::string& journal = storage_.files[session_->Path()];
    EXPECT_NE(journal.find(",2026-12-09T15:00:00,reissue,1,"), std::string::npos) << journal;
    journal::Session again(
        storage_, kFolder, [this] { return now_; }, journal_test::ShiftJis());
    EXPECT_EQ(again.Load(), 0) << "no line left unread";
    EXPECT_EQ(again.SalesTotal(), 500);
    EXPECT_EQ(again.NextSaleNumber(), 2);
    EXPECT_EQ(Found({L"", L"1", L"", L""}), std::vector<std::int64_t>{1});
}

TEST_F(JournalQueryTest, TheDetailShowsTheReceiptAndWhatWentBack) {
    now_ = {2026, 12, 1, 10, 0, 0};
    regi::SaleRecord sale = session_->RecordSale(
        testing_support::SettledSale({{TaxClass::Standard, 1100, 1, 1100}, {TaxClass::Reduced, 540, 2, 1080}}, 3000));
    now_ = {2026, 12, 3, 12, 5, 0};
    session_->RecordReturn(regi::ReturnAgainst(sale, {2}, {}, regi::RefundTo::Cash));
    receipt::Settings settings;
    settings.paperWidth = 80;
    std::wstring text = DetailText(*session_->FindSale(1), settings);
    for (const wchar_t* part :
         {L"No.1", L"¥2,180", L"お預り", L"¥3,000", L"2行目", L"-¥1,080", L"返品 2026-12-03 12:05"})
        EXPECT_NE(text.find(part), std::wstring::npos) << common::ToUtf8(part) << "\n" << common::ToUtf8(text);
    EXPECT_EQ(text.find(L"再発行"), std::wstring::npos);
}

TEST(ListTest, ASaleAsARowAndAsCsv) {
    regi::SaleRecord sale = testing_support::SettledSale(
        {{TaxClass::Standard, 1100, 1, 1100}, {TaxClass::Reduced, 540, 2, 1080}, {TaxClass::Exempt, 300, 1, 300}}, 3000,
        124, L"2026-12-08T21:07:56");
    EXPECT_EQ(ListRow(sale), L"No.124  2026-12-08 21:07  3点  ¥2,480");
    EXPECT_EQ(CsvRow(sale), "124,2026-12-08T21:07:56,3,2480,1100,1080,300,3000,520\r\n");
    EXPECT_EQ(std::string(kCsvHeader), "sale,time,lines,total,standard amount,reduced amount,exempt,tendered,change");
}

}  // namespace
