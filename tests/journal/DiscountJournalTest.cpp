#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/Utf8.h"
#include "journal/Checkpoint.h"
#include "journal/Period.h"
#include "sale/Sale.h"

using namespace journal;
using regi::Command;
using regi::TaxClass;

namespace {

regi::Rates ShopRates() {
    regi::Rates rates(10, 8);
    rates.departments.named = {{12, L"パン", TaxClass::Reduced}};
    return rates;
}

// The tax office's example with a department, a line's 割引 and the whole sale's 値引, settled in cash.
regi::SaleRecord SettledSale() {
    regi::TSale sale;
    regi::SaleRecord settled;
    sale.recorder.settling = [&](regi::SaleRecord& record) {
        record.number = 7, record.time = L"2026-12-10T10:00:00";
        settled = record;
    };
    const std::pair<const wchar_t*, Command> keys[] = {
        {L"3300", Command::EnterLine},  {L"12", Command::ArmDepartment},  {L"1080", Command::EnterLine},
        {L"2", Command::Quantity},      {L"10", Command::LinePercentOff}, {L"1000", Command::SubtotalYenOff},
        {L"5000", Command::Settle},
    };
    for (const auto& [entry, command] : keys) EXPECT_FALSE(sale.Run(command, regi::Entry(entry), ShopRates()).Refused());
    return settled;
}

void ExpectSameSale(const regi::SaleRecord& back, const regi::SaleRecord& sale) {
    ASSERT_EQ(back.lines.size(), sale.lines.size());
    for (size_t i = 0; i < sale.lines.size(); ++i) {
        EXPECT_EQ(back.lines[i].department, sale.lines[i].department) << i;
        EXPECT_EQ(back.lines[i].subtotal, sale.lines[i].subtotal) << i;
        EXPECT_EQ(back.lines[i].discount, sale.lines[i].discount) << i;
    }
    EXPECT_EQ(back.subtotalDiscount, sale.subtotalDiscount);
    EXPECT_EQ(back.subtotalParts, sale.subtotalParts);
    EXPECT_EQ(back.taxes.Total(), sale.taxes.Total());
}

TEST(JournalDiscounts, ASaleReadsBackWholeAndTheCloseAddsUp) {
    const regi::SaleRecord sale = SettledSale();
    // 3,300 at 10 %; 2,160 at 8 % less 216; 1,000 off the 5,244 left: 629 and 371.
    ASSERT_EQ(sale.subtotalParts, (regi::ClassAmounts{0, 629, 371}));
    ASSERT_EQ(sale.taxes.Total(), 4244);
    Period period;
    std::string journal = std::string(kHeader) + "\r\n";
    for (const Record& record : period.SaleRecords(sale)) journal += FormatRecord(record);
    BackwardReader reader = ReadJournal(journal);
    EXPECT_TRUE(reader.Findings().empty()) << (reader.Findings().empty() ? "" : "a finding");
    ExpectSameSale(reader.LastSale(), sale);

    const Period& read = reader.Result();
    EXPECT_EQ(read.percentOffs, 1);
    EXPECT_EQ(read.percentOffAmount, 216);
    EXPECT_EQ(read.yenOffs, 1);
    EXPECT_EQ(read.yenOffAmount, 1000);
    std::int64_t departments = 0;
    for (const DepartmentTotal& total : read.departments) departments += total.amount;
    EXPECT_EQ(departments - read.percentOffAmount - read.yenOffAmount, read.total);
    ASSERT_EQ(read.departments.size(), 2u);
    EXPECT_EQ(read.departments[1].number, 12);
    EXPECT_EQ(read.departments[1].quantity, 2);

    // The checkpoint keeps the new sums and the last sale whole.
    Checkpoint c;
    c.period = read;
    c.lastSale = sale;
    const std::string text = FormatCheckpoint(c);
    std::optional<Checkpoint> back = ParseCheckpoint(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(FormatCheckpoint(*back), text);
    ExpectSameSale(back->lastSale, sale);

    // The sale kept open for a restart comes back with its departments and discounts.
    std::optional<OpenSale> open = ParseOpenSale(FormatOpenSale({8, sale.lines, {}, sale.subtotalDiscount}));
    ASSERT_TRUE(open);
    EXPECT_EQ(open->lines.size(), 2u);
    EXPECT_EQ(open->lines[1].discount, sale.lines[1].discount);
    EXPECT_EQ(open->subtotalDiscount->keyed, 1000);
}

TEST(JournalDiscounts, AZKeepsTheNamesAndTheReportShowsThem) {
    Period period;
    for (const Record& record : period.SaleRecords(SettledSale())) period.Add(record);
    regi::Departments names = ShopRates().departments;
    std::vector<Record> kept = period.DepartmentRecords(names, L"2026-12-10T21:00:00");
    ASSERT_EQ(kept.size(), 2u);
    std::optional<Record> back = ParseRecord(FormatRecord(kept[1]));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->department, 12);
    EXPECT_EQ(back->note, L"※パン");
    EXPECT_TRUE(period.DepartmentRecords({}, L"2026-12-10T21:00:00").empty()) << "no names, no records";

    const std::vector<std::wstring> lines =
        ReportLines(period, period.ReportRecord(Kind::X, 0, L"2026-12-10T21:00:00"), {}, names);
    for (const wchar_t* expected : {L"客単価\t¥4,244", L"商品\t1点\t¥3,300", L"※パン\t2点\t¥2,160",
                                    L"値引\t1件\t-¥1,000", L"割引\t1件\t-¥216", L"売上合計\t¥4,244"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << common::ToUtf8(expected);
}

}  // namespace
