#include "journal/Chain.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "journal/Session.h"
#include "tests/journal/MemoryStorage.h"
#include "tests/journal/Rows.h"
#include "tests/journal/ShiftJis.h"

using namespace journal;
using namespace journal_test;
using regi::TaxClass;

namespace {

const std::wstring kFolder = L"C:\\shop";
const std::wstring kPath = kFolder + L"\\" + kJournalName;

// A test's own stand-in for SHA-256 (which only the system computes): FNV-1a
// over the bytes, four times with other offsets, as 64 hex digits. Any change
// of the bytes changes it, which is all the chain's rules need.
std::string TestHash(std::string_view bytes) {
    std::string text;
    for (std::uint64_t round = 0; round < 4; ++round) {
        std::uint64_t h = 14695981039346656037ull ^ (round * 0x9E3779B97F4A7C15ull);
        for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
        char part[17];
        std::snprintf(part, sizeof part, "%016llx", static_cast<unsigned long long>(h));
        text += part;
    }
    return text;
}

regi::SaleRecord Sale(std::vector<regi::LineRecord> lines, std::int64_t tendered) {
    regi::SaleRecord sale;
    sale.lines = lines;
    sale.taxes = regi::SumTaxes(lines, 10, 8);
    sale.tendered = tendered;
    sale.change = tendered - sale.taxes.Total();
    return sale;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t begin = 0;
    for (size_t end; (end = text.find("\r\n", begin)) != std::string::npos; begin = end + 2)
        lines.push_back(text.substr(begin, end + 2 - begin));
    if (begin < text.size()) lines.push_back(text.substr(begin));
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line;
    return text;
}

class ChainTest : public testing::Test {
protected:
    std::unique_ptr<Session> Open(ChainHash hash = TestHash) {
        return std::make_unique<Session>(
            storage_, kFolder, [] { return common::DateTime{2026, 12, 8, 21, 7, 56}; }, ShiftJis(), hash);
    }
    std::string& Journal() { return storage_.files[kPath]; }
    // A day of a small shop: three sales (a void before the second), a 入金,
    // an X, a Z, then a sale of the next period: lines 2 to 14 of the file.
    void WriteDay() {
        std::unique_ptr<Session> session = Open();
        session->Load();
        session->RecordSale(Sale({{TaxClass::Standard, 500, 1, 500}}, 500));
        session->RecordVoid(1, {TaxClass::Reduced, 300, 1, 300});
        session->RecordSale(Sale({{TaxClass::Reduced, 216, 2, 432}, {TaxClass::Exempt, 100, 1, 100}}, 1000));
        session->RecordMoney(Kind::In, 5000, L"両替");
        session->TakeX(10000);
        session->RecordSale(Sale({{TaxClass::Standard, 1100, 1, 1100}}, 1100));
        session->TakeZ(10000);
        session->RecordSale(Sale({{TaxClass::Standard, 220, 1, 220}}, 1000));
        storage_.Release();
    }
    std::vector<ChainBreak> Check(std::vector<ByteRange> partials = {}, bool shiftJis = false) {
        ChainCheck check{kPath, static_cast<std::int64_t>(Journal().size()), partials,
                         shiftJis ? ShiftJis().decode : nullptr, TestHash};
        std::optional<std::vector<ChainBreak>> breaks = CheckChain(storage_, check);
        EXPECT_TRUE(breaks);
        return breaks.value_or(std::vector<ChainBreak>());
    }

    MemoryStorage storage_;
};

TEST_F(ChainTest, EveryRecordCarriesTheHashOfThePreviousValueAndItsOwnText) {
    WriteDay();
    std::vector<std::string> lines = SplitLines(Journal());
    std::string previous;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::optional<Record> record = ParseRecord(lines[i]);
        ASSERT_TRUE(record) << lines[i];
        // The text it covers is the line without its value: the value is the last field.
        std::string text = lines[i].substr(0, lines[i].size() - 2 - 65);
        EXPECT_EQ(text, ChainedText(*record));
        EXPECT_EQ(record->chain, TestHash(previous + text)) << "line " << i + 1;
        previous = record->chain;
    }
    EXPECT_TRUE(Check().empty());
}

TEST_F(ChainTest, EachKindOfEditIsFoundByItsLine) {
    // The day's file: line 1 the header, lines 2 to 14 the records (l[1] to
    // l[13]): sale 1's line and sale, a void, sale 2's two lines and sale, the
    // 入金, the X, sale 3's line and sale, the Z, sale 4's line and sale.
    struct Case {
        const char* what;
        std::function<void(std::vector<std::string>&)> edit;
        std::vector<ChainBreak> found;
    };
    auto replace = [](std::string& line, const std::string& from, const std::string& to) {
        size_t at = line.find(from);
        ASSERT_NE(at, std::string::npos) << line;
        line.replace(at, from.size(), to);
    };
    const Case cases[] = {
        {"nothing", [](std::vector<std::string>&) {}, {}},
        {"an amount changed",
         [&](std::vector<std::string>& l) { replace(l[1], ",500,1,500,", ",5000,1,5000,"); },
         {{2, BreakKind::Changed}}},
        {"a sale's total changed",
         [&](std::vector<std::string>& l) { replace(l[2], ",500,500,0,", ",500,900,0,"); },
         {{3, BreakKind::Changed}}},
        {"a note changed",
         [&](std::vector<std::string>& l) { replace(l[7], "両替", "釣銭"); },
         {{8, BreakKind::Changed}}},
        {"one record taken out",
         [](std::vector<std::string>& l) { l.erase(l.begin() + 3); },
         {{4, BreakKind::Removed}}},
        {"two records taken out",
         [](std::vector<std::string>& l) { l.erase(l.begin() + 4, l.begin() + 6); },
         {{5, BreakKind::Removed}}},
        {"the first record taken out",
         [](std::vector<std::string>& l) { l.erase(l.begin() + 1); },
         {{2, BreakKind::Removed}}},
        {"a copy of a record put in",
         [](std::vector<std::string>& l) { l.insert(l.begin() + 5, l[2]); },
         {{6, BreakKind::Inserted}}},
        {"a row typed in by hand, without a value",
         [](std::vector<std::string>& l) {
             l.insert(l.begin() + 3,
                      Row({{"seq", "99"}, {"time", "2026-12-08T21:07:56"}, {"kind", "in"}, {"total", "100"}}));
         },
         {{4, BreakKind::Inserted}}},
        {"two rows typed in",
         [](std::vector<std::string>& l) { l.insert(l.begin() + 3, 2, "junk\r\n"); },
         {{4, BreakKind::Inserted}, {5, BreakKind::Inserted}}},
        // Moved up: put in where it stands, missing where it stood.
        {"two records swapped",
         [](std::vector<std::string>& l) { std::swap(l[3], l[4]); },
         {{4, BreakKind::Inserted}, {6, BreakKind::Removed}}},
        {"the last record changed",
         [&](std::vector<std::string>& l) { replace(l.back(), ",220,1000,780", ",220,1000,700"); },
         {{14, BreakKind::Changed}}},
        {"the z's float changed",
         [&](std::vector<std::string>& l) { replace(l[11], ",10000,", ",20000,"); },
         {{12, BreakKind::Changed}}},
        {"a chain value changed",
         [](std::vector<std::string>& l) {
             char& digit = l[6][l[6].size() - 3];
             digit = digit == '0' ? '1' : '0';
         },
         {{7, BreakKind::Changed}}},
        {"blank rows at the end", [](std::vector<std::string>& l) { l.push_back(",,,,\r\n"); }, {}},
    };
    WriteDay();
    const std::vector<std::string> day = SplitLines(Journal());
    ASSERT_EQ(day.size(), 14u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> lines = day;
        c.edit(lines);
        Journal() = Join(lines);
        EXPECT_EQ(Check(), c.found);
    }
}

TEST_F(ChainTest, AnEditThatComputesTheChainAgainFromItOnIsNotFound) {
    // What the chain cannot do, and the README says: the values after an edit made anew.
    WriteDay();
    std::vector<std::string> lines = SplitLines(Journal());
    std::string previous;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::optional<Record> record = ParseRecord(lines[i]);
        ASSERT_TRUE(record);
        if (i == 1) record->unitPrice = record->subtotal = 5000;
        record->chain = ChainValue(TestHash, previous, *record);
        previous = record->chain;
        lines[i] = FormatRecord(*record);
    }
    Journal() = Join(lines);
    EXPECT_TRUE(Check().empty());
}

TEST_F(ChainTest, AJournalFromBeforeTheChainIsTakenAsItIsAndTheChainStartsAfterIt) {
    // The same day without values, then a run with them.
    {
        std::unique_ptr<Session> old = Open(nullptr);
        old->Load();
        old->RecordSale(Sale({{TaxClass::Standard, 500, 1, 500}}, 500));
        old->TakeZ(0);
        old->RecordSale(Sale({{TaxClass::Reduced, 108, 1, 108}}, 108));
        storage_.Release();
    }
    const size_t oldLines = SplitLines(Journal()).size();
    std::unique_ptr<Session> session = Open();
    session->Load();
    session->RecordSale(Sale({{TaxClass::Standard, 300, 1, 300}}, 300));
    std::vector<std::string> lines = SplitLines(Journal());
    std::optional<Record> first = ParseRecord(lines[oldLines]);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->chain, TestHash(ChainedText(*first))) << "the chain's first record follows nothing";
    EXPECT_TRUE(Check().empty());
    // An edit before the chain began is not the chain's to find; one after it is.
    std::string edited = Journal();
    edited.replace(edited.find(",500,1,500,"), 11, ",900,1,900,");
    Journal() = edited;
    EXPECT_TRUE(Check().empty());
    edited.replace(edited.find(",300,1,300,"), 11, ",700,1,700,");
    Journal() = edited;
    EXPECT_EQ(Check(), (std::vector<ChainBreak>{{static_cast<std::int64_t>(oldLines) + 1, BreakKind::Changed}}));
}

TEST_F(ChainTest, ANewRunChainsOnFromTheLastRecordWithOrWithoutTheKeptNumbers) {
    for (bool keptNumbers : {true, false}) {
        SCOPED_TRACE(keptNumbers ? "numbers kept" : "numbers file gone");
        storage_ = MemoryStorage();
        WriteDay();
        if (!keptNumbers) storage_.files.erase(kFolder + L"\\" + kKeptName);
        std::unique_ptr<Session> session = Open();
        session->Load();
        session->RecordSale(Sale({{TaxClass::Standard, 330, 1, 330}}, 330));
        EXPECT_TRUE(Check().empty());
        storage_.Release();
    }
}

TEST_F(ChainTest, WhatAWriteThatStoppedMidwayLeftIsNoPartOfTheChain) {
    WriteDay();
    // A power cut in the middle of a sale's records, then the next run.
    std::string whole = Journal();
    std::unique_ptr<Session> probe = Open();
    probe->Load();
    probe->RecordSale(Sale({{TaxClass::Standard, 440, 1, 440}, {TaxClass::Reduced, 108, 1, 108}}, 548));
    storage_.Release();
    std::string withSale = Journal();
    Journal() = whole + withSale.substr(whole.size(), (withSale.size() - whole.size()) / 2);
    std::unique_ptr<Session> session = Open();
    session->Load();
    session->RecordSale(Sale({{TaxClass::Standard, 330, 1, 330}}, 330));
    storage_.Release();
    std::optional<Kept> kept = ParseKept(storage_.files[kFolder + L"\\" + kKeptName]);
    ASSERT_TRUE(kept);
    EXPECT_TRUE(Check(kept->partials).empty());
    EXPECT_FALSE(Check().empty()) << "without the ranges the cut record is seen";
}

TEST_F(ChainTest, AJournalSavedAgainInShiftJisWithOtherTimesStillHolds) {
    WriteDay();
    // What a spreadsheet writes: Shift_JIS without the mark, times as it shows them.
    std::string text = Journal().substr(3);
    for (size_t at; (at = text.find("2026-12-08T")) != std::string::npos;) text.replace(at, 11, "2026/12/08 ");
    std::string note = "両替", encoded = ShiftJis().encode(L"両替");
    text.replace(text.find(note), note.size(), encoded);
    Journal() = text;
    EXPECT_TRUE(Check({}, true).empty());
}

TEST_F(ChainTest, TheZReportCarriesItsRecordsValue) {
    std::unique_ptr<Session> session = Open();
    session->Load();
    session->RecordSale(Sale({{TaxClass::Standard, 500, 1, 500}}, 500));
    Report z = session->TakeZ(0);
    std::optional<Record> last = ParseRecord(SplitLines(Journal()).back());
    ASSERT_TRUE(last);
    EXPECT_EQ(last->kind, Kind::Z);
    EXPECT_EQ(z.chain, last->chain);
    EXPECT_EQ(session->TakeX(0).chain, "") << "only a Z anchors the file";
}

TEST_F(ChainTest, TheMessageNamesEachLineAndTheFile) {
    EXPECT_EQ(ChainMessage({}, kPath), L"");
    EXPECT_EQ(ChainMessage({{12, BreakKind::Changed}, {30, BreakKind::Removed}, {41, BreakKind::Inserted}}, kPath),
              L"売上の記録の 12 行目以降が変更されています\r\n"
              L"売上の記録の 30 行目の前の記録が削除されています\r\n"
              L"売上の記録の 41 行目に記録が挿入されています\r\n"
              L"記録のチェーン値が合いません。プログラムは記録のファイルを変更していません。\r\n" +
                  kPath);
}

TEST_F(ChainTest, ARecordWithAValueReadsBackAndAnOldOneAsBefore) {
    Record record;
    record.sequence = 7;
    record.time = L"2026-12-08T21:07:56";
    record.kind = Kind::In;
    record.total = 100;
    const std::string old = FormatRecord(record);
    record.chain = TestHash("x");
    const std::string chained = FormatRecord(record);
    // The note's, department's and product's columns empty, then the value.
    EXPECT_EQ(chained, old.substr(0, old.size() - 2) + ",,,," + record.chain + "\r\n");
    std::optional<Record> back = ParseRecord(chained);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->chain, record.chain);
    ASSERT_TRUE(ParseRecord(old));
    EXPECT_EQ(ParseRecord(old)->chain, "");
    // A value that is no SHA-256 in hex makes the line junk.
    EXPECT_FALSE(ParseRecord(old.substr(0, old.size() - 2) + ",,,abc\r\n"));
    EXPECT_FALSE(ParseRecord(old.substr(0, old.size() - 2) + ",,," + std::string(64, 'G') + "\r\n"));
}

}  // namespace
