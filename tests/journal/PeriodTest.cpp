#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "journal/Period.h"
#include "sale/Sale.h"
#include "tests/journal/Rows.h"
#include "tests/support/SettledSale.h"

using namespace journal;
using namespace journal_test;
using regi::TaxClass;

namespace {

std::string VoidRow(std::int64_t seq, std::int64_t sale, std::int64_t line, int taxClass, std::int64_t price,
                    std::int64_t quantity) {
    return Row({{"seq", N(seq)},
                {"time", "2026-12-08T12:00:00"},
                {"kind", "void"},
                {"sale", N(sale)},
                {"line", N(line)},
                {"class", kClassWords[taxClass]},
                {"unit price", N(price)},
                {"quantity", N(quantity)},
                {"subtotal", N(price * quantity)}});
}

std::string CancelRow(std::int64_t seq, std::int64_t sale, std::int64_t lines, std::int64_t total) {
    return Row({{"seq", N(seq)},
                {"time", "2026-12-08T12:30:00"},
                {"kind", "cancel"},
                {"sale", N(sale)},
                {"lines", N(lines)},
                {"total", N(total)}});
}

// An x or z row; the period totals it carries are not read back, so zeros do.
std::string ReportRow(std::int64_t seq, const std::string& time, const char* kind, std::int64_t lastSale,
                      std::int64_t z = 0) {
    Fields fields = {{"seq", N(seq)}, {"time", time}, {"kind", kind}, {"sale", N(lastSale)}};
    for (const char* name : {"lines", "standard amount", "standard tax", "reduced amount", "reduced tax", "exempt",
                             "total", "sales", "voids", "void amount", "cancels", "cancel amount", "negative lines",
                             "negative amount", "float", "expected cash"})
        fields.push_back({name, "0"});
    if (z) fields.push_back({"z", N(z)});
    return Row(fields);
}

// A day: two sales and Z number 4 yesterday, then today's sales at two
// standard rates, a void, a cancel and an X.
struct Day {
    std::vector<TestSale> before, after;
    std::string text;
    std::int64_t nextSeq = 1;
    std::int64_t voidAmount = 0, cancelAmount = 0;

    Day() {
        before = {{1, "2026-12-07T10:00:00", {{1, 1000, 1}}, 10, 8, 1000},
                  {2, "2026-12-07T11:00:00", {{2, 216, 5}, {0, -50, 1}}, 10, 8, 2000}};
        after = {{3, "2026-12-08T09:00:00", {{1, 1100, 1}, {2, 1080, 1}, {0, 300, 1}}, 10, 8, 3000},
                 {4, "2026-12-08T09:10:00", {{2, 50, 1}, {2, 50, 1}, {2, 50, 1}}, 10, 8, 150},
                 {6, "2026-12-08T15:00:00", {{1, 999, 3}, {1, -199, 1}, {2, -54, 2}}, 8, 8, 3000},
                 {7, "2026-12-08T16:00:00", {{1, 9'999'999, 999}, {0, -1, 1}}, 10, 8, 9'989'999'000}};
        text = std::string(kBom) + kColumnNames + "\r\n";
        for (const TestSale& sale : before) text += sale.Rows(nextSeq);
        text += ReportRow(nextSeq++, "2026-12-07T21:00:00", "z", 2, 4);
        text += after[0].Rows(nextSeq);
        text += VoidRow(nextSeq++, 4, 2, 1, 250, 2);
        voidAmount += 500;
        text += after[1].Rows(nextSeq);
        text += CancelRow(nextSeq++, 5, 2, -70);
        cancelAmount += -70;
        text += ReportRow(nextSeq++, "2026-12-08T14:00:00", "x", 5);
        text += after[2].Rows(nextSeq);
        text += VoidRow(nextSeq++, 7, 1, 0, -20, 1);
        voidAmount += -20;
        text += after[3].Rows(nextSeq);
    }
};

void ExpectSame(const Period& a, const Period& b) {
    EXPECT_EQ(a.from, b.from);
    EXPECT_EQ(a.sales, b.sales);
    EXPECT_EQ(a.lines, b.lines);
    EXPECT_EQ(a.total, b.total);
    EXPECT_EQ(a.exempt, b.exempt);
    EXPECT_EQ(a.Tax(), b.Tax());
    ASSERT_EQ(a.taxable.size(), b.taxable.size());
    for (size_t i = 0; i < a.taxable.size(); ++i) {
        EXPECT_TRUE(a.taxable[i].taxClass == b.taxable[i].taxClass);
        EXPECT_EQ(a.taxable[i].rate, b.taxable[i].rate);
        EXPECT_EQ(a.taxable[i].amount, b.taxable[i].amount);
        EXPECT_EQ(a.taxable[i].tax, b.taxable[i].tax);
    }
    EXPECT_EQ(a.voids, b.voids);
    EXPECT_EQ(a.voidAmount, b.voidAmount);
    EXPECT_EQ(a.cancels, b.cancels);
    EXPECT_EQ(a.cancelAmount, b.cancelAmount);
    EXPECT_EQ(a.negatives, b.negatives);
    EXPECT_EQ(a.negativeAmount, b.negativeAmount);
    EXPECT_EQ(a.nextSequence, b.nextSequence);
    EXPECT_EQ(a.nextSale, b.nextSale);
    EXPECT_EQ(a.nextZ, b.nextZ);
}

// The period the day's rows must add up to, summed here from the sales.
Period Expected(const Day& day) {
    Period p;
    p.from = L"2026-12-07T21:00:00";
    std::map<std::pair<int, std::int64_t>, std::pair<std::int64_t, std::int64_t>> taxable;  // class 1 sorts first
    for (const TestSale& sale : day.after) {
        ++p.sales;
        p.lines += static_cast<std::int64_t>(sale.lines.size());
        p.total += sale.Total();
        p.exempt += sale.Amount(0);
        for (int c : {1, 2}) {
            std::int64_t rate = c == 1 ? sale.standardRate : sale.reducedRate;
            std::int64_t tax = Contained(sale.Amount(c), rate);
            if (sale.Amount(c) == 0) continue;
            taxable[{c, rate}].first += sale.Amount(c);
            taxable[{c, rate}].second += tax;
        }
        for (const TestLine& line : sale.lines) {
            if (line.price * line.quantity >= 0) continue;
            ++p.negatives;
            p.negativeAmount += line.price * line.quantity;
        }
    }
    for (const auto& [key, sums] : taxable)
        p.taxable.push_back({static_cast<TaxClass>(key.first), key.second, sums.first, sums.second});
    p.voids = 2;
    p.voidAmount = day.voidAmount;
    p.cancels = 1;
    p.cancelAmount = day.cancelAmount;
    p.nextSequence = day.nextSeq;
    p.nextSale = 8;
    p.nextZ = 5;
    return p;
}

TEST(JournalPeriod, TotalsSinceTheLastZAddUpFromTheJournal) {
    Day day;
    BackwardReader reader = ReadJournal(day.text);
    EXPECT_EQ(reader.Unreadable(), 0);
    Period expected = Expected(day);
    ExpectSame(reader.Result(), expected);
    // The tables of this day: standard at 8 % and 10 %, reduced at 8 %.
    ASSERT_EQ(expected.taxable.size(), 3u);
    EXPECT_EQ(expected.taxable[0].rate, 8);
    EXPECT_EQ(expected.taxable[1].rate, 10);
    EXPECT_TRUE(expected.taxable[2].taxClass == TaxClass::Reduced);
}

TEST(JournalPeriod, ChunksOfAnySizeReadTheSameAndStopAtTheLastZ) {
    Day day;
    // A long history before the last Z that must not be read.
    std::string old;
    for (int i = 0; i < 2000; ++i) old += "junk from an earlier year, never read\r\n";
    std::string text = day.text.substr(0, 3 + std::string(kColumnNames).size() + 2) + old +
                       day.text.substr(3 + std::string(kColumnNames).size() + 2);
    size_t afterZ = text.size() - text.find(",z,") + 40;
    for (size_t size : {1, 2, 3, 7, 64, 4096, 1 << 20}) {
        SCOPED_TRACE(size);
        BackwardReader reader;
        size_t fed = 0;
        bool wanted = true;
        while (wanted) {
            size_t n = std::min(size, text.size() - fed);
            fed += n;
            wanted = reader.Feed(std::string_view(text).substr(text.size() - fed, n), fed == text.size());
        }
        EXPECT_EQ(reader.Unreadable(), 0);
        ExpectSame(reader.Result(), Expected(day));
        if (size < 4096) {
            EXPECT_LT(fed, afterZ + size);
        }
    }
}

TEST(JournalPeriod, JunkAndACutLastLineAreCountedOnlyAfterTheLastZ) {
    Day day;
    size_t z = day.text.find(",z,");
    size_t zLine = day.text.rfind('\n', z) + 1;
    std::string text = day.text.substr(0, zLine) + "edited by hand\r\n,,,\r\n" + day.text.substr(zLine);
    size_t afterZ = text.find('\n', text.find(",z,")) + 1;
    text.insert(afterZ, "2026-12-08,junk\r\n\r\n");  // one junk line, one empty line
    std::int64_t seq = day.nextSeq;
    std::string extra = TestSale{8, "2026-12-08T17:00:00", {{1, 500, 1}}, 10, 8, 500}.Rows(seq);
    text += extra.substr(0, extra.size() - 7);  // the power went off in the sale record
    BackwardReader reader = ReadJournal(text);
    EXPECT_EQ(reader.Unreadable(), 3);  // the junk, the cut sale record and the line left without it
    ExpectSame(reader.Result(), Expected(day));
}

// A sale whose first write reached the disk only in part, after a day: what
// the failed attempt left, and the journal once the retry started a new line.
struct RetriedSale {
    explicit RetriedSale(const Day& day) {
        seq = day.nextSeq;
        std::string first = sale.Rows(seq);
        left = first.substr(0, first.size() - 20);
        seq = day.nextSeq;
        text = day.text + left + "\r\n" + sale.Rows(seq);
    }
    TestSale sale{8, "2026-12-08T17:00:00", {{1, -500, 1}, {2, 800, 1}}, 10, 8, 300};
    std::int64_t seq = 0;  // after the retry's rows
    std::string left, text;
};

TEST(JournalPeriod, ARetriedWriteSupersedesWhatItsFailedAttemptLeft) {
    Day day;
    RetriedSale retried(day);
    TestSale sale = retried.sale;
    std::int64_t seq = retried.seq;
    std::string text = retried.text;
    BackwardReader reader = ReadJournal(text);
    EXPECT_EQ(reader.Unreadable(), 3);  // two whole lines of the first attempt and its cut sale record
    Day withSale;
    withSale.after.push_back(sale);
    withSale.nextSeq = seq;
    Period expected = Expected(withSale);
    expected.nextSale = 9;
    ExpectSame(reader.Result(), expected);

    // All of it was written but the flush failed; the operator then cancelled.
    seq = day.nextSeq;
    text = day.text + sale.Rows(seq) + CancelRow(day.nextSeq, 8, 2, 300);
    reader = ReadJournal(text);
    EXPECT_EQ(reader.Unreadable(), 3);
    expected = Expected(day);
    expected.cancels += 1;
    expected.cancelAmount += 300;
    expected.nextSale = 9;
    expected.nextSequence = day.nextSeq + 1;
    ExpectSame(reader.Result(), expected);
}

TEST(JournalPeriod, AnEmptyOrNewJournalStartsAtOne) {
    const std::string header = std::string(kBom) + kColumnNames + "\r\n";
    for (const std::string& text : {std::string(), header, header.substr(0, 20), std::string(kBom)}) {
        BackwardReader reader = ReadJournal(text);
        EXPECT_EQ(reader.Unreadable(), 0);
        const Period& p = reader.Result();
        EXPECT_EQ(p.nextSequence, 1);
        EXPECT_EQ(p.nextSale, 1);
        EXPECT_EQ(p.nextZ, 1);
        EXPECT_EQ(p.total, 0);
        EXPECT_EQ(p.from, L"");
    }
    // A journal without any Z is read whole; its period starts at its first record.
    std::int64_t seq = 1;
    TestSale sale{1, "2026-12-01T08:00:00", {{1, 100, 1}}, 10, 8, 100};
    BackwardReader reader = ReadJournal(header + sale.Rows(seq));
    EXPECT_EQ(reader.Result().from, L"2026-12-01T08:00:00");
    EXPECT_EQ(reader.Result().nextSequence, 3);
    EXPECT_EQ(reader.Result().nextSale, 2);
}

regi::SaleRecord Sale(std::vector<regi::LineRecord> lines, std::int64_t tendered, const wchar_t* time) {
    return testing_support::SettledSale(std::move(lines), tendered, 0, time);
}

TEST(JournalPeriod, ASaleIsItsLinesInOrderThenTheSaleRecord) {
    Period period;
    period.nextSequence = 41;
    period.nextSale = 9;
    regi::SaleRecord sale = Sale(
        {{TaxClass::Reduced, 540, 3, 1620}, {TaxClass::Exempt, -300, 1, -300}, {TaxClass::Standard, 1100, 1, 1100}},
        5000, L"2026-12-08T21:07:56");
    sale.number = 99;  // the period numbers the sale, not the caller
    std::vector<Record> records = period.SaleRecords(sale);
    ASSERT_EQ(records.size(), 4u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(records[i].kind == Kind::Line);
        EXPECT_EQ(records[i].sequence, 41 + static_cast<std::int64_t>(i));
        EXPECT_EQ(records[i].sale, 9);
        EXPECT_EQ(records[i].line, static_cast<std::int64_t>(i) + 1);
        EXPECT_TRUE(records[i].taxClass == sale.lines[i].taxClass);
        EXPECT_EQ(records[i].unitPrice, sale.lines[i].unitPrice);
        EXPECT_EQ(records[i].quantity, sale.lines[i].quantity);
        EXPECT_EQ(records[i].subtotal, sale.lines[i].subtotal);
        EXPECT_EQ(records[i].time, L"2026-12-08T21:07:56");
    }
    const Record& s = records[3];
    EXPECT_TRUE(s.kind == Kind::Sale);
    EXPECT_EQ(s.sequence, 44);
    EXPECT_EQ(s.sale, 9);
    EXPECT_EQ(s.lines, 3);
    EXPECT_EQ(s.standardAmount, 1100);
    EXPECT_EQ(s.standardTax, Contained(1100, 10));
    EXPECT_EQ(s.reducedAmount, 1620);
    EXPECT_EQ(s.reducedTax, Contained(1620, 8));
    EXPECT_EQ(s.exemptAmount, -300);
    EXPECT_EQ(s.total, 1100 + 1620 - 300);
    EXPECT_EQ(s.tendered, 5000);
    EXPECT_EQ(s.change, 5000 - 2420);
    EXPECT_EQ(period.nextSequence, 41);  // nothing counts until the records are added
}

TEST(JournalPeriod, AZSpanningARateChangeShowsBothRatesAndAZeroRateApartFromExempt) {
    Period period;
    std::string text;
    auto add = [&](regi::SaleRecord sale, std::int64_t reduced) {
        sale.taxes = regi::SumTaxes(sale.lines, 10, reduced);
        for (const Record& r : period.SaleRecords(sale)) {
            text += FormatRecord(r);
            period.Add(r);
        }
    };
    add(Sale({{TaxClass::Reduced, 1080, 1, 1080}}, 2000, L"2027-03-31T23:59:59"), 8);
    add(Sale({{TaxClass::Reduced, 1080, 1, 1080}, {TaxClass::Exempt, 300, 1, 300}}, 2000, L"2027-04-01T00:00:00"), 0);
    std::vector<std::wstring> lines =
        ReportLines(ReadJournal(text).Result(), period.ReportRecord(Kind::Z, 0, L"2027-04-01T09:00:00"));
    for (const wchar_t* line : {L"軽減0%対象\t¥1,080", L"軽減0%内消費税\t¥0", L"軽減8%対象\t¥1,080",
                                L"軽減8%内消費税\t¥80", L"非課税\t¥300", L"消費税合計\t¥80"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end())
            << testing::PrintToString(std::wstring(line));
}

TEST(JournalPeriod, EventsAddedAsWrittenAgreeWithTheJournalReadBack) {
    Period period;
    std::string text = std::string(kBom) + kColumnNames + "\r\n";
    auto add = [&](const std::vector<Record>& records) {
        for (const Record& r : records) {
            text += FormatRecord(r);
            period.Add(r);
        }
    };
    add(period.SaleRecords(Sale({{TaxClass::Standard, 1000, 1, 1000}}, 1000, L"2026-12-08T09:00:00")));
    add({period.VoidRecord(2, {TaxClass::Reduced, 300, 1, 300}, L"2026-12-08T09:01:00")});
    EXPECT_EQ(period.nextSale, 2);  // a void leaves the number to its sale
    add({period.CancelRecord(1, 700, L"2026-12-08T09:02:00")});
    EXPECT_EQ(period.nextSale, 3);  // a cancel uses it up
    add(period.SaleRecords(
        Sale({{TaxClass::Reduced, -80, 2, -160}, {TaxClass::Reduced, 1080, 1, 1080}}, 1000, L"2026-12-08T09:03:00")));
    EXPECT_EQ(period.nextSale, 4);
    add({period.ReportRecord(Kind::X, 0, L"2026-12-08T09:04:00")});
    EXPECT_EQ(period.nextSequence, 9);
    BackwardReader reader = ReadJournal(text);
    EXPECT_EQ(reader.Unreadable(), 0);
    ExpectSame(reader.Result(), period);
    EXPECT_EQ(period.total, 1000 + 920);
    EXPECT_EQ(period.Tax(), Contained(1000, 10) + Contained(920, 8));
    EXPECT_EQ(period.negatives, 1);
    EXPECT_EQ(period.negativeAmount, -160);
    EXPECT_EQ(period.from, L"2026-12-08T09:00:00");
}

TEST(JournalPeriod, AZCarriesThePeriodAndItsNumberAndStartsTheNext) {
    Day day;
    Period period = ReadJournal(day.text).Result();
    Record z = period.ReportRecord(Kind::Z, 30000, L"2026-12-08T21:00:00");
    Period expected = Expected(day);
    EXPECT_EQ(z.z, 5);
    EXPECT_EQ(z.sale, 7);
    EXPECT_EQ(z.sequence, day.nextSeq);
    EXPECT_EQ(z.sales, expected.sales);
    EXPECT_EQ(z.lines, expected.lines);
    EXPECT_EQ(z.total, expected.total);
    std::int64_t standard = 0, standardTax = 0, reduced = 0, reducedTax = 0;
    for (const TestSale& sale : day.after) {
        standard += sale.Amount(1);
        standardTax += Contained(sale.Amount(1), sale.standardRate);
        reduced += sale.Amount(2);
        reducedTax += Contained(sale.Amount(2), sale.reducedRate);
    }
    EXPECT_EQ(z.standardAmount, standard);
    EXPECT_EQ(z.standardTax, standardTax);
    EXPECT_EQ(z.reducedAmount, reduced);
    EXPECT_EQ(z.reducedTax, reducedTax);
    EXPECT_EQ(z.exemptAmount, expected.exempt);
    EXPECT_EQ(z.voids, 2);
    EXPECT_EQ(z.voidAmount, day.voidAmount);
    EXPECT_EQ(z.cancels, 1);
    EXPECT_EQ(z.cancelAmount, day.cancelAmount);
    EXPECT_EQ(z.negatives, expected.negatives);
    EXPECT_EQ(z.negativeAmount, expected.negativeAmount);
    EXPECT_EQ(z.cashFloat, 30000);
    EXPECT_EQ(z.expectedCash, 30000 + expected.total);

    // Read back after the Z: nothing to total, the numbers go on.
    BackwardReader reader = ReadJournal(day.text + FormatRecord(z));
    const Period& next = reader.Result();
    EXPECT_EQ(next.sales, 0);
    EXPECT_EQ(next.total, 0);
    EXPECT_EQ(next.voids, 0);
    EXPECT_TRUE(next.taxable.empty());
    EXPECT_EQ(next.nextZ, 6);
    EXPECT_EQ(next.nextSale, 8);
    EXPECT_EQ(next.nextSequence, day.nextSeq + 1);
    EXPECT_EQ(next.from, L"2026-12-08T21:00:00");
}

TEST(JournalReport, ShowsThePeriodLineByLine) {
    Day day;
    Period period = ReadJournal(day.text).Result();
    Record x = period.ReportRecord(Kind::X, 20000, L"2026-12-08T20:15:00");
    Period e = Expected(day);
    auto money = regi::FormatMoney;
    std::vector<std::wstring> expected = {
        L"点検",
        L"期間\t2026-12-07 21:00:00 ～ 2026-12-08 20:15:00",
        L"客数\t" + std::to_wstring(e.sales),
        L"客単価\t" + money(e.total / e.sales),
        L"行数\t" + std::to_wstring(e.lines),
        L"売上合計\t" + money(e.total),
        L"8%対象\t" + money(e.taxable[0].amount),
        L"8%内消費税\t" + money(e.taxable[0].tax),
        L"10%対象\t" + money(e.taxable[1].amount),
        L"10%内消費税\t" + money(e.taxable[1].tax),
        L"軽減8%対象\t" + money(e.taxable[2].amount),
        L"軽減8%内消費税\t" + money(e.taxable[2].tax),
        L"非課税\t" + money(e.exempt),
        L"消費税合計\t" + money(e.Tax()),
        L"行取消\t2件\t" + money(day.voidAmount),
        L"取引中止\t1件\t" + money(day.cancelAmount),
        L"マイナス行\t" + std::to_wstring(e.negatives) + L"件\t" + money(e.negativeAmount),
        L"釣銭準備金\t" + money(20000),
        L"現金予定額\t" + money(20000 + e.total),
    };
    EXPECT_EQ(ReportLines(period, x), expected);

    Record z = Period().ReportRecord(Kind::Z, 0, L"2026-12-09T08:00:00");
    std::vector<std::wstring> empty = ReportLines(Period(), z);
    ASSERT_GE(empty.size(), 2u);
    EXPECT_EQ(empty[0], L"精算\tNo.1");
    EXPECT_EQ(empty[1], L"期間\t2026-12-09 08:00:00 ～ 2026-12-09 08:00:00");
    EXPECT_EQ(empty[4], L"売上合計\t" + money(0));
    EXPECT_EQ(empty[5], L"非課税\t" + money(0));  // no taxable lines without sales
}

}  // namespace

namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

// The one message the start shows for a journal, with the kept numbers.
std::wstring MessageOf(const std::string& text, const Kept& kept = {}, std::vector<ByteRange> partials = {}) {
    BackwardReader reader = ReadJournal(text, std::move(partials));
    Period period = reader.Result();
    std::vector<Finding> findings = reader.Findings();
    for (const Finding& finding : CompareWithKept(period, kept, static_cast<std::int64_t>(text.size())))
        findings.push_back(finding);
    LineNumbers numbers(findings);
    for (size_t at = 0; at < text.size(); at += 5) numbers.Feed(std::string_view(text).substr(at, 5));
    return FindingsMessage(findings, reader.Unreadable());
}

const std::wstring kChanged = L"売上の記録がこのプログラムの外で変更されています。記録のファイルはそのままです。";

// The 1-based line of the file on which a text first stands, counting CRLF as one line end.
std::wstring LineOf(const std::string& text, const std::string& part) {
    size_t at = text.find(part);
    return std::to_wstring(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n') + 1);
}

}  // namespace

TEST(JournalPeriod, WhatASpreadsheetSavesReadsTheSame) {
    Day day;
    const std::string header = std::string(kBom) + kColumnNames + "\r\n";
    std::string records = day.text.substr(header.size());
    const std::pair<const char*, std::string> saved[] = {
        {"LF", Replaced(day.text, "\r\n", "\n")},
        {"CR", Replaced(day.text, "\r\n", "\r")},
        {"LF, then CRLF appended",
         Replaced(day.text.substr(0, day.text.size() / 2), "\r\n", "\n") + day.text.substr(day.text.size() / 2)},
        {"no byte-order mark", day.text.substr(3)},
        {"no header", records},
        {"a header renamed", std::string("Seq;Time;Kind\r\n") + records},
        {"times as Calc writes them", Replaced(Replaced(day.text, "T", " "), "2026-12-08 ", "2026/12/8 ")},
    };
    for (const auto& [what, text] : saved) {
        SCOPED_TRACE(what);
        BackwardReader reader = ReadJournal(text);
        EXPECT_EQ(reader.Unreadable(), 0);
        EXPECT_TRUE(reader.Findings().empty());
        ExpectSame(reader.Result(), Expected(day));
        for (size_t size : {1, 7, 4096}) {
            BackwardReader chunked(static_cast<std::int64_t>(text.size()));
            size_t fed = 0;
            for (bool wanted = true; wanted;) {
                size_t n = std::min(size, text.size() - fed);
                fed += n;
                wanted = chunked.Feed(std::string_view(text).substr(text.size() - fed, n), fed == text.size());
            }
            ExpectSame(chunked.Result(), Expected(day));
        }
    }
}

TEST(JournalPeriod, ALineLongerThanAnyRecordIsOneJunkLineAndNotKept) {
    Day day;
    std::string text = day.text + std::string(1 << 20, 'x') + "\r" + day.after[0].Rows(day.nextSeq);
    BackwardReader reader(static_cast<std::int64_t>(text.size()));
    size_t fed = 0;
    for (bool wanted = true; wanted;) {
        size_t n = std::min<size_t>(64 * 1024, text.size() - fed);
        fed += n;
        wanted = reader.Feed(std::string_view(text).substr(text.size() - fed, n), fed == text.size());
    }
    EXPECT_EQ(reader.Unreadable(), 1);
    ASSERT_EQ(reader.Findings().size(), 1u);
    EXPECT_EQ(reader.Findings()[0].offset, static_cast<std::int64_t>(day.text.size()));
    EXPECT_EQ(reader.Result().sales, Expected(day).sales + 1);
}

TEST(JournalPeriod, EveryChangeToThePeriodIsToldWithItsLine) {
    Day day;
    const std::string& t = day.text;
    size_t sale3At = t.rfind('\n', t.find(",sale,3,")) + 1;
    std::string sale3Line = t.substr(sale3At, t.find('\n', sale3At) + 1 - sale3At);
    std::string firstLine3 = t.substr(t.rfind('\n', t.find(",line,3,1,")) + 1);
    firstLine3 = firstLine3.substr(0, firstLine3.find('\n') + 1);
    std::string cancel = t.substr(t.rfind('\n', t.find(",cancel,")) + 1);
    cancel = cancel.substr(0, cancel.find('\n') + 1);
    std::string void7 = t.substr(t.rfind('\n', t.find(",void,7,")) + 1);
    void7 = void7.substr(0, void7.find('\n') + 1);
    std::string sale7 = t.substr(t.rfind('\n', t.find(",sale,7,")) + 1);
    sale7 = sale7.substr(0, sale7.find('\n') + 1);

    struct Case {
        const char* what;
        std::string text;
        std::vector<std::wstring> lines;  // after the first line of the message
    };
    std::string changedTotal = t;
    size_t totalAt = sale3At + sale3Line.find(",2480,");
    changedTotal.replace(totalAt, 6, ",2490,");
    std::string changedLine = t;
    size_t lineAt = changedLine.find(",1100,1,1100,");
    changedLine.replace(lineAt, 13, ",1100,1,1200,");
    std::string swapped = Replaced(t, void7, "");
    swapped = Replaced(swapped, sale7, sale7 + void7);
    std::vector<Case> cases = {
        {"a sale's total changed", changedTotal, {LineOf(t, sale3Line) + L" 行目: 売上の合計が内訳と合いません"}},
        {"a line's subtotal changed",
         changedLine,
         {LineOf(t, firstLine3) + L" 行目: 小計が単価×数量と合いません",
          LineOf(t, sale3Line) + L" 行目: 売上の内訳が明細の行と合いません"}},
        {"a cancel deleted",
         Replaced(t, cancel, ""),
         {LineOf(Replaced(t, cancel, ""), ",x,") + L" 行目: この行の前の記録 (番号 " +
              std::to_wstring(std::stoll(cancel)) + L"～" + std::to_wstring(std::stoll(cancel)) + L") がありません",
          LineOf(Replaced(t, cancel, ""), ",x,") + L" 行目: この行の前の売上 (No.5～5) がありません"}},
        // Read from the end, the void now stands after the sale: the sale and its lines are out of order.
        {"rows sorted out of order", swapped, {LineOf(swapped, ",line,7,1,") + L" 行目: 記録の順番が前後しています"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::wstring expected = kChanged;
        for (const std::wstring& line : c.lines) expected += L"\r\n" + line;
        std::wstring message = MessageOf(c.text);
        EXPECT_EQ(message.substr(0, expected.size()), expected);
    }
    EXPECT_EQ(MessageOf(t), L"");
}

TEST(JournalPeriod, TheKeptNumbersNeverGoBackAndALostEndIsTold) {
    Day day;
    const std::int64_t size = static_cast<std::int64_t>(day.text.size());
    const std::int64_t lastSeq = day.nextSeq - 1;
    struct Case {
        const char* what;
        Kept kept;
        std::int64_t size;
        std::vector<std::wstring> told;
        std::int64_t nextSequence, nextSale, nextZ;
    };
    const Case cases[] = {
        {"as the program left it", {lastSeq, 7, 4, size, {}, -1}, size, {}, day.nextSeq, 8, 5},
        {"nothing kept yet", {}, size, {}, day.nextSeq, 8, 5},
        {"the last records deleted",
         {lastSeq + 6, 8, 4, size + 900, {}, -1},
         size,
         {L"記録のファイルが前回書いたときより短くなっています (" + std::to_wstring(size + 900) + L" バイトから " +
              std::to_wstring(size) + L" バイトに)",
          L"最後の記録がありません: 番号 " + std::to_wstring(day.nextSeq) + L"～" + std::to_wstring(lastSeq + 6),
          L"最後の売上がありません: No.8"},
         lastSeq + 7,
         9,
         5},
        {"the last z deleted",
         {lastSeq, 7, 6, size, {}, -1},
         size,
         {L"精算の記録がありません: No.5～6 (締めた日の売上が集計に入っています)"},
         day.nextSeq,
         8,
         7},
        {"an empty journal",
         {lastSeq, 7, 4, size, {}, -1},
         0,
         {L"記録のファイルが空か、ありません (前回書いたときは " + std::to_wstring(size) + L" バイト)"},
         day.nextSeq,
         8,
         5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Period period = ReadJournal(day.text).Result();
        std::vector<Finding> found = CompareWithKept(period, c.kept, c.size);
        std::vector<std::wstring> told;
        for (const Finding& finding : found) told.push_back(finding.what);
        EXPECT_EQ(told, c.told);
        EXPECT_EQ(period.nextSequence, c.nextSequence);
        EXPECT_EQ(period.nextSale, c.nextSale);
        EXPECT_EQ(period.nextZ, c.nextZ);
    }
}

TEST(JournalPeriod, WhatAFailedWriteLeftIsPassedOverAndACutEndIsToldOnce) {
    Day day;
    RetriedSale retried(day);
    const std::string& left = retried.left;
    const std::string& text = retried.text;
    std::int64_t begin = static_cast<std::int64_t>(day.text.size());
    EXPECT_EQ(MessageOf(text, {}, {{begin, begin + static_cast<std::int64_t>(left.size())}}), L"");
    EXPECT_NE(MessageOf(text), L"");  // without the kept range, told as before

    // A power cut in the last sale: its line and its cut record, told as such.
    BackwardReader cut = ReadJournal(day.text + left);
    EXPECT_EQ(cut.UnfinishedAt(), begin);
    std::wstring message = MessageOf(day.text + left);
    std::wstring start = L"売上の記録の最後に、書き込みの途中で止まった記録があります (停電など)。";
    EXPECT_EQ(message.substr(0, start.size()), start);
    EXPECT_EQ(ReadJournal(day.text).UnfinishedAt(), -1);
}

TEST(JournalPeriod, LineNumbersCountEveryLineEndOnceWhateverTheChunks) {
    const std::string text = "a\r\nb\nc\rd\r\r\ne";  // lines a, b, c, d, (empty), e
    const std::pair<std::int64_t, std::int64_t> at[] = {{0, 1}, {3, 2}, {5, 3}, {7, 4}, {9, 5}, {11, 6}};
    for (size_t size : {1, 2, 3, 100}) {
        std::vector<Finding> findings;
        for (const auto& place : at) findings.push_back({place.first, L""});
        LineNumbers numbers(findings);
        for (size_t i = 0; i < text.size(); i += size) numbers.Feed(std::string_view(text).substr(i, size));
        EXPECT_EQ(numbers.Wanted(), -1);
        for (size_t i = 0; i < findings.size(); ++i) EXPECT_EQ(findings[i].line, at[i].second) << size << " " << i;
    }
}

TEST(JournalKept, ReadsBackWhatItWroteAndNothingElse) {
    Kept kept{1234, 56, 7, 98765, {{10, 20}, {30, 30}}, 400};
    std::string text = FormatKept(kept);
    EXPECT_EQ(text,
              "Pelmora journal numbers\r\nsequence=1234\r\nsale=56\r\nz=7\r\nsize=98765\r\npartial=10-20\r\n"
              "partial=30-30\r\nfailed=400\r\n");
    std::optional<Kept> back = ParseKept(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(FormatKept(*back), text);
    for (const std::string& junk :
         {std::string(), std::string("sequence=1\r\n"), text.substr(0, text.size() - 1), text + "colour=red\r\n",
          text + "sale=-1\r\n", text + "partial=20-10\r\n", text + "size=1e3\r\n"})
        EXPECT_FALSE(ParseKept(junk)) << junk;
}

TEST(JournalReport, APeriodThatEndsBeforeItStartsIsMarked) {
    Period period;
    period.from = L"2026-12-08T09:00:00";
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"2026-12-08T21:00:00", false}, {L"2026-12-08T09:00:00", false}, {L"2026-12-07T23:59:59", true}};
    for (const auto& [time, marked] : cases) {
        std::vector<std::wstring> lines = ReportLines(period, period.ReportRecord(Kind::X, 0, time));
        EXPECT_EQ(lines[2] == L"注意\t期間の終わりが始まりより前です (時計が戻されました)", marked) << time;
        EXPECT_EQ(lines[marked ? 3 : 2], L"客数\t0");
    }
}
