// The rules every sum of the period keeps, checked over the table of sums, so
// that a new row is checked without a new test: merging adds it, a checkpoint
// keeps it, and a record that would take it out of 64 bits changes nothing.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "journal/Checkpoint.h"
#include "journal/Period.h"
#include "tests/support/SettledSale.h"

using namespace journal;
using regi::TaxClass;

namespace {

// Everything the period holds, as the checkpoint writes it.
std::string Snapshot(const Period& period) {
    Checkpoint checkpoint;
    checkpoint.period = period;
    return FormatCheckpoint(checkpoint);
}

// The records of a day with every kind of record, numbered as the register
// numbers them: the Z No.4 that closed yesterday, sales in cash, by card and
// by both, a void, a cancel that gives a tender back, a return in part to a
// tender, cash in and out, the
// drawer opened with no sale, and an X.
std::vector<Record> EveryKindOfRecord() {
    std::vector<Record> records;
    Period period;
    auto write = [&](const std::vector<Record>& written) {
        for (const Record& record : written) {
            records.push_back(record);
            period.Add(record);
        }
    };
    const std::wstring time = L"2026-12-09T10:00:00";
    Record z = period.ReportRecord(Kind::Z, 0, L"2026-12-08T21:00:00");
    z.z = 4;
    write({z});
    write(period.SaleRecords(testing_support::SettledSale(
        {{TaxClass::Standard, 1100, 2, 2200, 0, std::nullopt, "4912345678904"}, {TaxClass::Reduced, 540, 1, 540},
         {TaxClass::Exempt, -300, 1, -300}},
        5000, 0, time)));
    regi::SaleRecord card = testing_support::SettledSale({{TaxClass::Standard, 8800, 1, 8800}}, 0, 0, time);
    card.change = 0;
    card.tenders = {{1, 8800}};
    write(period.SaleRecords(card));
    write({period.VoidRecord(1, {TaxClass::Standard, 250, 2, 500}, time)});
    regi::SaleRecord both = testing_support::SettledSale({{TaxClass::Reduced, 5500, 1, 5500}}, 3000, 0, time);
    both.change = 500;
    both.tenders = {{3, 3000}};
    write(period.SaleRecords(both));
    // 10 % off a line, then ¥50 off the whole sale.
    write(period.SaleRecords(testing_support::SettledSale(
        {{TaxClass::Standard, 1000, 1, 1000, 3, regi::Discount{regi::DiscountKind::Percent, 10, 100}}}, 1000, 0, time,
        regi::Discount{regi::DiscountKind::Yen, 50, 50})));
    write(period.CancelRecords(1, 700, {{2, 300}}, time));
    // Two lines of the first sale back, ¥500 to the card and the rest in cash.
    regi::ReturnRecord back = regi::ReturnWithoutReceipt(
        {{TaxClass::Standard, 1100, 1, 1100}, {TaxClass::Exempt, 200, 1, 200, 3}}, 10, 8);
    back.sale = 1;
    back.lines[0].line = 1;
    back.tenders = {{1, 500}};
    write(period.ReturnRecords(back, time));
    write({period.MoneyRecord(Kind::In, 5000, L"両替", time)});
    write({period.MoneyRecord(Kind::Out, 2000, L"", time)});
    write({period.MoneyRecord(Kind::Out, 700, L"切手, 郵便局", time)});
    write({period.MoneyRecord(Kind::Drawer, 0, L"", time)});
    write({period.ReportRecord(Kind::X, 30000, L"2026-12-09T18:00:00")});
    return records;
}

Period Added(const std::vector<Record>& records, size_t from, size_t to) {
    Period period;
    for (size_t i = from; i < to; ++i) EXPECT_TRUE(period.Add(records[i])) << i;
    return period;
}

TEST(JournalSums, APeriodReadInTwoPartsAndMergedIsTheWhole) {
    std::vector<Record> day = EveryKindOfRecord();
    Period whole = Added(day, 0, day.size());
    // What the day adds up to, worked out here: the sums a merge must not drop.
    EXPECT_EQ(whole.moneyIn, 5000);
    EXPECT_EQ(whole.moneyOut, 2700);
    EXPECT_EQ(whole.moneyOuts, 2);
    EXPECT_EQ(whole.notes.size(), 2u);
    EXPECT_EQ(whole.nextZ, 5);
    EXPECT_EQ(whole.nextSale, 6);
    EXPECT_EQ(whole.ExpectedCash(30000), 30000 + (2200 + 540 - 300) + 2500 + 850 + 5000 - 2700 - 800);
    // At 0 and at the end one of the parts is empty.
    for (size_t split = 0; split <= day.size(); ++split) {
        SCOPED_TRACE(split);
        Period later = Added(day, split, day.size());
        ASSERT_TRUE(later.Merge(Added(day, 0, split)));
        EXPECT_EQ(Snapshot(later), Snapshot(whole));
        EXPECT_EQ(later.moneyIn, 5000);
        EXPECT_EQ(later.moneyOut, 2700);
        EXPECT_EQ(later.nextZ, 5);
    }
}

TEST(JournalSums, MergingAddsEachSumToItsOwn) {
    const std::vector<PeriodSum>& sums = PeriodSums();
    Period later, earlier;
    for (size_t i = 0; i < sums.size(); ++i) {
        later.*sums[i].member = 1000 * static_cast<std::int64_t>(i + 1);
        earlier.*sums[i].member = static_cast<std::int64_t>(i + 1);
    }
    // The numbers go on from the higher; the period starts at the earlier part's start.
    later.nextSequence = 90, later.nextSale = 9, later.nextZ = 3, later.firstSequence = 50;
    later.from = L"2026-12-09T12:00:00";
    earlier.nextSequence = 50, earlier.nextSale = 4, earlier.nextZ = 4, earlier.firstSequence = 1;
    earlier.from = L"2026-12-09T09:00:00";
    ASSERT_TRUE(later.Merge(earlier));
    for (size_t i = 0; i < sums.size(); ++i)
        EXPECT_EQ(later.*sums[i].member, 1001 * static_cast<std::int64_t>(i + 1)) << sums[i].name;
    EXPECT_EQ(later.nextSequence, 90);
    EXPECT_EQ(later.nextSale, 9);
    EXPECT_EQ(later.nextZ, 4);
    EXPECT_EQ(later.firstSequence, 1);
    EXPECT_EQ(later.from, L"2026-12-09T09:00:00");
}

TEST(JournalSums, AMergeThatWouldTakeAnySumOutOf64BitsChangesNothing) {
    std::vector<Record> day = EveryKindOfRecord();
    const Period whole = Added(day, 0, day.size());
    for (const PeriodSum& sum : PeriodSums()) {
        SCOPED_TRACE(sum.name);
        Period later = whole, earlier;
        later.*sum.member = 1;
        earlier.*sum.member = INT64_MAX;
        std::string before = Snapshot(later);
        EXPECT_FALSE(later.Merge(earlier));
        EXPECT_EQ(Snapshot(later), before);
    }
    for (const PeriodTable& table : PeriodTables()) {
        SCOPED_TRACE(table.name);
        Period later = whole, earlier;
        for (std::vector<std::int64_t> line : table.lines(whole)) {
            for (size_t i = table.keys; i < line.size(); ++i) line[i] = line[i] >= 0 ? INT64_MAX : INT64_MIN;
            ASSERT_TRUE(table.restore(earlier, line));
        }
        std::string before = Snapshot(later);
        EXPECT_FALSE(later.Merge(earlier));
        EXPECT_EQ(Snapshot(later), before);
    }
}

TEST(JournalSums, MergingAddsEachKeysSums) {
    std::vector<Record> day = EveryKindOfRecord();
    Period whole = Added(day, 0, day.size());
    for (const PeriodTable& table : PeriodTables()) {
        SCOPED_TRACE(table.name);
        std::vector<std::vector<std::int64_t>> lines = table.lines(whole);
        ASSERT_FALSE(lines.empty()) << "the day has no record that adds to it";
        Period twice = whole;
        ASSERT_TRUE(twice.Merge(whole));
        for (std::vector<std::int64_t>& line : lines)
            for (size_t i = table.keys; i < line.size(); ++i) line[i] *= 2;
        EXPECT_EQ(table.lines(twice), lines);
    }
}

TEST(JournalSums, ACheckpointKeepsEverySum) {
    const std::vector<PeriodSum>& sums = PeriodSums();
    for (std::int64_t sign : {1, -1}) {
        Period period = Added(EveryKindOfRecord(), 0, EveryKindOfRecord().size());
        for (size_t i = 0; i < sums.size(); ++i) period.*sums[i].member = sign * 7 * static_cast<std::int64_t>(i + 1);
        for (int n = 0; n < regi::kMaxTenders; ++n) period.tenders[n] = {sign * (n + 1), sign * 100 * (n + 1)};
        std::optional<Checkpoint> back = ParseCheckpoint(Snapshot(period));
        ASSERT_TRUE(back);
        for (int n = 0; n < regi::kMaxTenders; ++n) {  // the last tender too
            EXPECT_EQ(back->period.tenders[n].sales, period.tenders[n].sales) << n + 1;
            EXPECT_EQ(back->period.tenders[n].amount, period.tenders[n].amount) << n + 1;
        }
        for (const PeriodSum& sum : sums) EXPECT_EQ(back->period.*sum.member, period.*sum.member) << sum.name;
        for (const PeriodTable& table : PeriodTables()) {
            EXPECT_FALSE(table.lines(period).empty()) << table.name << ": the day has no record that adds to it";
            EXPECT_EQ(table.lines(back->period), table.lines(period)) << table.name;
        }
        EXPECT_EQ(back->period.nextSequence, period.nextSequence);
        EXPECT_EQ(back->period.nextSale, period.nextSale);
        EXPECT_EQ(back->period.nextZ, period.nextZ);
        EXPECT_EQ(back->period.firstSequence, period.firstSequence);
        EXPECT_EQ(back->period.from, period.from);
        ASSERT_EQ(back->period.notes.size(), period.notes.size());
        ASSERT_FALSE(period.notes.empty()) << "the day has no note";
        for (size_t i = 0; i < period.notes.size(); ++i)
            EXPECT_EQ(FormatRecord(back->period.notes[i]), FormatRecord(period.notes[i]));
    }
}

TEST(JournalSums, TheTaxesOfAllRatesStayInside64Bits) {
    // Each rate's tax fits; their sum would not.
    Record sale;
    sale.sequence = 1, sale.sale = 1, sale.kind = Kind::Sale, sale.standardRate = 10, sale.reducedRate = 8;
    sale.standardAmount = 1, sale.standardTax = INT64_MAX;
    Period period;
    ASSERT_TRUE(period.Add(sale));
    Record reduced = sale;
    reduced.sequence = 2, reduced.sale = 2, reduced.standardAmount = 0, reduced.standardTax = 0;
    reduced.reducedAmount = 1, reduced.reducedTax = 1;
    std::string before = Snapshot(period);
    EXPECT_FALSE(period.Add(reduced));
    EXPECT_EQ(Snapshot(period), before);
    Period other;
    ASSERT_TRUE(other.Add(reduced));
    EXPECT_FALSE(period.Merge(other));
    EXPECT_EQ(Snapshot(period), before);
}

// A record of the day that adds to the sum; none when no record does.
const Record* Adding(const std::vector<Record>& day, const PeriodSum& sum) {
    for (const Record& record : day)
        if (record.kind == sum.kind && sum.adds(record) != 0) return &record;
    return nullptr;
}

TEST(JournalSums, ARecordThatWouldTakeAnySumOutOf64BitsChangesNothing) {
    std::vector<Record> day = EveryKindOfRecord();
    for (const PeriodSum& sum : PeriodSums()) {
        SCOPED_TRACE(sum.name);
        const Record* record = Adding(day, sum);
        ASSERT_TRUE(record) << "the day has no record that adds to it";
        std::int64_t adds = sum.adds(*record);
        std::int64_t limit = adds > 0 ? INT64_MAX : INT64_MIN;
        Period fits;
        fits.*sum.member = limit - adds;
        EXPECT_TRUE(fits.Add(*record));
        EXPECT_EQ(fits.*sum.member, limit);
        Period over;
        over.*sum.member = limit - adds + (adds > 0 ? 1 : -1);
        std::string before = Snapshot(over);
        EXPECT_FALSE(over.Add(*record));
        EXPECT_EQ(Snapshot(over), before);
    }
    // The sums per key: every key the record adds to already at the limit.
    for (const PeriodTable& table : PeriodTables()) {
        SCOPED_TRACE(table.name);
        const Record* adding = nullptr;
        for (const Record& record : day) {
            Period alone;
            if (alone.Add(record) && !table.lines(alone).empty()) adding = &record;
        }
        ASSERT_TRUE(adding) << "the day has no record that adds to it";
        Period alone, full;
        alone.Add(*adding);
        for (std::vector<std::int64_t> line : table.lines(alone)) {
            for (size_t i = table.keys; i < line.size(); ++i)
                if (line[i] != 0) line[i] = line[i] > 0 ? INT64_MAX : INT64_MIN;
            ASSERT_TRUE(table.restore(full, line));
        }
        std::string before = Snapshot(full);
        EXPECT_FALSE(full.Add(*adding));
        EXPECT_EQ(Snapshot(full), before);
    }
}

}  // namespace
