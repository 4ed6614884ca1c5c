#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "journal/Checkpoint.h"
#include "journal/Period.h"
#include "tests/support/SettledSale.h"

using namespace journal;
using regi::TaxClass;
using regi::TenderPaid;

namespace {

const std::vector<std::wstring> kNames = {L"クレジット", L"電子マネー", L"QRコード"};

// A day written as the register writes it: each event's records added to the
// period once they are in the journal's bytes.
struct Day {
    Period period;
    std::string bytes = std::string(kByteOrderMark) + kHeader + "\r\n";

    void Write(const std::vector<Record>& records) {
        for (const Record& record : records) {
            bytes += FormatRecord(record);
            ASSERT_TRUE(period.Add(record));
        }
    }
    void Sell(std::int64_t price, std::int64_t cash, std::vector<TenderPaid> tenders) {
        std::int64_t paid = 0;
        for (const TenderPaid& tender : tenders) paid += tender.amount;
        regi::SaleRecord sale =
            testing_support::SettledSale({{TaxClass::Standard, price, 1, price}}, cash, 0, L"2026-12-09T10:00:00");
        sale.change = cash - (price - paid);
        sale.tenders = std::move(tenders);
        Write(period.SaleRecords(sale));
    }
};

TEST(JournalTenders, TheCloseAddsUpEachTenderAndTheCashTheDrawerTook) {
    struct Case {
        const char* name;
        std::int64_t price, cash;
        std::vector<TenderPaid> tenders;
    };
    const Case sales[] = {
        {"cash with change", 1200, 2000, {}},
        {"card", 8800, 0, {{1, 8800}}},
        {"QR then cash", 5500, 3000, {{3, 3000}}},
        {"card and e-money", 1000, 0, {{1, 400}, {2, 600}}},
    };
    Day day;
    for (const Case& sale : sales) day.Sell(sale.price, sale.cash, sale.tenders);
    day.Write(day.period.CancelRecords(1, 700, {{3, 300}}, L"2026-12-09T11:00:00"));
    day.Write({day.period.MoneyRecord(Kind::In, 5000, L" 両替\t100円玉 ", L"2026-12-09T12:00:00")});
    day.Write({day.period.MoneyRecord(Kind::Out, 2000, L"", L"2026-12-09T13:00:00")});
    // The drawer opened twice with no sale: counted, no money.
    day.Write({day.period.MoneyRecord(Kind::Drawer, 0, L"", L"2026-12-09T14:00:00")});
    day.Write({day.period.MoneyRecord(Kind::Drawer, 0, L"", L"2026-12-09T14:05:00")});

    // What the day put in the drawer: 1,200 + the 2,500 left after QR, 5,000 in, 2,000 out.
    EXPECT_EQ(day.period.CashTotal(), 1200 + 2500);
    EXPECT_EQ(day.period.ExpectedCash(30000), 30000 + 1200 + 2500 + 5000 - 2000);
    BackwardReader read = ReadJournal(day.bytes);
    EXPECT_TRUE(read.Findings().empty()) << FindingsMessage(read.Findings(), read.Unreadable());
    const Period& p = read.Result();
    EXPECT_EQ(p.ExpectedCash(30000), day.period.ExpectedCash(30000));
    EXPECT_EQ(p.cashlessSales, 2);
    EXPECT_EQ(p.tenders[0].sales, 2);
    EXPECT_EQ(p.tenders[0].amount, 9200);
    EXPECT_EQ(p.tenders[1].amount, 600);
    EXPECT_EQ(p.tenders[2].sales, 1);
    EXPECT_EQ(p.tenders[2].amount, 3000);
    EXPECT_EQ(p.returned, 1);
    EXPECT_EQ(p.returnedAmount, 300);
    EXPECT_EQ(p.nextSale, 6);
    EXPECT_EQ(p.drawerCommands, 2);
    EXPECT_EQ(read.LastSale().tenders, (std::vector<TenderPaid>{{1, 400}, {2, 600}}));

    Record x = p.ReportRecord(Kind::X, 30000, L"2026-12-09T18:00:00");
    std::vector<std::wstring> lines = ReportLines(p, x, kNames);
    const std::wstring expected[] = {L"現金\t2件\t¥3,700",     L"クレジット\t2件\t¥9,200", L"電子マネー\t1件\t¥600",
                                     L"QRコード\t1件\t¥3,000", L"支払の返却\t1件\t¥300",   L"入金\t1件\t¥5,000",
                                     L"\u3000両替 100円玉\t¥5,000", L"出金\t1件\t¥2,000",
                                     L"ドロア開放指示（取引なし）\t2回",   L"現金予定額\t¥36,700"};
    for (const std::wstring& line : expected)
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << std::string(line.begin(), line.end());

    // A checkpoint keeps the tenders' sums, and those of the last sale for its receipt.
    Checkpoint checkpoint;
    checkpoint.period = p;
    checkpoint.lastSale = read.LastSale();
    std::optional<Checkpoint> back = ParseCheckpoint(FormatCheckpoint(checkpoint));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->period.ExpectedCash(0), p.ExpectedCash(0));
    EXPECT_EQ(back->period.tenders[1].sales, 1);
    EXPECT_EQ(back->period.returnedAmount, 300);
    EXPECT_EQ(back->period.moneyOut, 2000);
    EXPECT_EQ(back->lastSale.tenders, read.LastSale().tenders);
    EXPECT_EQ(back->period.drawerCommands, 2);
    ASSERT_EQ(back->period.notes.size(), 1u);
    EXPECT_EQ(back->period.notes[0].note, L"両替 100円玉");
}

TEST(JournalMoney, AnOutThatLeavesLessThanNothingInTheDrawerIsAskedAbout) {
    struct Case {
        std::int64_t amount, expectedCash;
        const wchar_t* question;
    };
    const Case cases[] = {
        {100000, 11200, L"出金 ¥100,000 で現金予定額が -¥88,800 になります。記録しますか?"},
        {100000, 10000, L"出金 ¥100,000 で現金予定額が -¥90,000 になります。記録しますか?"},
        {10001, 10000, L"出金 ¥10,001 で現金予定額が -¥1 になります。記録しますか?"},
        {10000, 10000, L""},  // the drawer emptied: nothing unusual
        {2000, 36700, L""},
        {1, 0, L"出金 ¥1 で現金予定額が -¥1 になります。記録しますか?"},
        {500, -300, L"出金 ¥500 で現金予定額が -¥800 になります。記録しますか?"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MoneyOutQuestion(c.amount, c.expectedCash), c.question) << c.amount << " from " << c.expectedCash;
}

TEST(JournalMoney, TheReportsCountEachKindAndListItsNotesInTheJournalsOrder) {
    Day day;
    const std::wstring time = L"2026-12-09T12:00:00";
    day.Write({day.period.MoneyRecord(Kind::Out, 3000, L"仕入れ", time)});
    day.Write({day.period.MoneyRecord(Kind::In, 10000, L"両替", time)});
    day.Write({day.period.MoneyRecord(Kind::Out, 500, L"", time)});
    day.Write({day.period.MoneyRecord(Kind::Out, 1200, L"配送料, 着払い", time)});
    day.Sell(1100, 2000, {});
    // Read back from the journal, as a start reads it: the same lines.
    BackwardReader read = ReadJournal(day.bytes);
    ASSERT_TRUE(read.Findings().empty()) << FindingsMessage(read.Findings(), read.Unreadable());
    for (const Period* p : {static_cast<const Period*>(&day.period), &read.Result()}) {
        Record x = p->ReportRecord(Kind::X, 10000, L"2026-12-09T18:00:00");
        std::vector<std::wstring> lines = ReportLines(*p, x);
        auto in = std::find(lines.begin(), lines.end(), L"入金\t1件\t¥10,000");
        ASSERT_NE(in, lines.end());
        const std::vector<std::wstring> expected = {
            L"入金\t1件\t¥10,000", L"\u3000両替\t¥10,000",       L"出金\t3件\t¥4,700",
            L"\u3000仕入れ\t¥3,000", L"\u3000配送料, 着払い\t¥1,200", L"釣銭準備金\t¥10,000",
            L"現金予定額\t¥16,400"};
        EXPECT_EQ(std::vector<std::wstring>(in, lines.end()), expected);
    }
}

TEST(JournalTenders, ATenderWithoutItsSaleIsFoundOut) {
    Record tender;
    tender.sequence = 1;
    tender.time = L"2026-12-09T10:00:00";
    tender.kind = Kind::Tender;
    tender.sale = 1;
    tender.line = 1;
    tender.total = 500;
    std::string bytes = std::string(kHeader) + "\r\n" + FormatRecord(tender);
    ASSERT_TRUE(ParseRecord(FormatRecord(tender)));
    BackwardReader read = ReadJournal(bytes);
    ASSERT_EQ(read.Findings().size(), 1u);
    EXPECT_EQ(read.Findings()[0].what, L"売上の記録がない支払の行です");
    EXPECT_FALSE(read.Result().HasTenders());
    // Numbers outside the shop's tenders are no record, nor is a tender that paid nothing.
    for (std::int64_t number : {0, 5}) {
        tender.line = number;
        EXPECT_FALSE(ParseRecord(FormatRecord(tender))) << number;
    }
    tender.line = 1;
    tender.total = 0;
    EXPECT_FALSE(ParseRecord(FormatRecord(tender)));
}

TEST(JournalTenders, NamedTendersAreInTheCloseBeforeAnyTookAPayment) {
    Day day;
    day.Sell(1000, 1000, {});
    Record x = day.period.ReportRecord(Kind::X, 0, L"2026-12-09T18:00:00");
    std::vector<std::wstring> named = ReportLines(day.period, x, {L"", L"電子マネー"});
    for (const std::wstring& line : {std::wstring(L"現金\t1件\t¥1,000"), std::wstring(L"電子マネー\t0件\t¥0")})
        EXPECT_NE(std::find(named.begin(), named.end(), line), named.end());
    // A shop that takes only cash gets no line per tender.
    for (const std::wstring& line : ReportLines(day.period, x, {L"", L""})) EXPECT_NE(line.find(L"現金\t"), 0u);
}

TEST(JournalTenders, ATenderThatTookPaymentsIsInTheCloseWithOrWithoutAName) {
    Day day;
    day.Sell(1000, 0, {{2, 1000}});
    Record x = day.period.ReportRecord(Kind::X, 0, L"2026-12-09T18:00:00");
    const std::vector<std::wstring> onlyTheFirst = {L"クレジット"};
    std::vector<std::wstring> lines = ReportLines(day.period, x, onlyTheFirst);
    for (int n : {1, 2}) {
        std::wstring line = regi::TenderName(onlyTheFirst, n) + (n == 1 ? L"\t0件\t¥0" : L"\t1件\t¥1,000");
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << n;
    }
    for (int n : {3, 4})
        for (const std::wstring& line : lines) EXPECT_NE(line.find(regi::TenderName(onlyTheFirst, n)), 0u) << n;
}

// The fourth tender, the last key: its sales are named on the close like the first's.
TEST(JournalTenders, TheFourthTenderIsInTheClose) {
    Day day;
    day.Sell(1000, 0, {{4, 1000}});
    Record x = day.period.ReportRecord(Kind::X, 0, L"2026-12-09T18:00:00");
    std::vector<std::wstring> lines = ReportLines(day.period, x, {L"", L"", L"", L"ポイント"});
    EXPECT_NE(std::find(lines.begin(), lines.end(), L"ポイント\t1件\t¥1,000"), lines.end());
}

}  // namespace
