#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "common/Error.h"
#include "journal/SaleFinder.h"
#include "journal/Session.h"
#include "tests/journal/MemoryStorage.h"
#include "tests/journal/ShiftJis.h"
#include "tests/support/SettledSale.h"

using namespace journal;
using namespace journal_test;
using regi::TaxClass;

namespace {

const std::wstring kFolder = L"C:\\shop";
const std::wstring kJournal = kFolder + L"\\" + kJournalName;
const std::wstring kIndex = kFolder + L"\\" + kIndexName;
constexpr int kDays = 10, kPerDay = 100;
constexpr std::int64_t kLast = kDays * kPerDay;

// The shop of these tests. Day d (0 to kDays - 1) is 2026-01-(d + 1), sales from
// 09:00 a minute apart, a Z at 21:00 but on the last day. Number n is a cancel
// when n % 10 == 0, after a line was voided, giving back ¥500 paid by tender 1;
// else a sale of n % 3 + 1 lines of n yen, quantity 1, 2, ..., classes standard,
// reduced, exempt in turn, every fourth partly paid by tender 2.
int DayOf(std::int64_t n) { return static_cast<int>((n - 1) / kPerDay); }
common::DateTime TimeOf(std::int64_t n, int day) {
    int minute = static_cast<int>((n - 1) % kPerDay);
    return {2026, 1, day + 1, 9 + minute / 60, minute % 60, 0};
}
std::wstring Time(const common::DateTime& time) { return common::FormatDateTime(time); }

regi::LineRecord LineOfSale(std::int64_t n, std::int64_t i) {
    const TaxClass classes[] = {TaxClass::Standard, TaxClass::Reduced, TaxClass::Exempt};
    return {classes[i % 3], n, i + 1, n * (i + 1)};
}

// The journal of the first days, each dated by dayDate(day) (the clock may move back).
std::string ShopJournal(
    int days, const std::function<int(int)>& dayDate = [](int day) { return day; }) {
    std::string text = std::string(kByteOrderMark) + kHeader + "\r\n";
    Period period;
    auto add = [&](const std::vector<Record>& records) {
        for (const Record& record : records) {
            text += FormatRecord(record);
            period.Add(record);
        }
    };
    for (int day = 0; day < days; ++day) {
        for (int i = 0; i < kPerDay; ++i) {
            std::int64_t n = period.nextSale;
            std::wstring time = Time(TimeOf(n, dayDate(day)));
            if (n % 10 == 0) {
                add({period.VoidRecord(1, LineOfSale(n, 0), time)});
                add(period.CancelRecords(1, n, {{1, 500}}, time));
                continue;
            }
            std::vector<regi::LineRecord> lines;
            for (std::int64_t line = 0; line <= n % 3; ++line) lines.push_back(LineOfSale(n, line));
            regi::SaleRecord sale = testing_support::SettledSale(lines, 100000, 0, time);
            if (n % 4 == 0) sale.tenders = {{2, 100}};
            add(period.SaleRecords(sale));
        }
        if (day + 1 == kDays) break;
        Record z = period.ReportRecord(Kind::Z, 0, Time({2026, 1, dayDate(day) + 1, 21, 0, 0}));
        text += FormatRecord(z);
        period = Period();
        period.Add(z);
    }
    return text;
}

// Checks what was found of number n against the shop's rule.
void ExpectShopSale(const std::optional<FoundSale>& found, std::int64_t n, int day = -1) {
    SCOPED_TRACE("sale " + std::to_string(n));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->sale.number, n);
    EXPECT_EQ(found->sale.time, Time(TimeOf(n, day < 0 ? DayOf(n) : day)));
    EXPECT_TRUE(found->complete);
    EXPECT_TRUE(found->later.empty());
    if (n % 10 == 0) {
        EXPECT_TRUE(found->cancelled);
        EXPECT_EQ(found->record.kind, Kind::Cancel);
        EXPECT_TRUE(found->sale.lines.empty());
        ASSERT_EQ(found->voids.size(), 1u);
        EXPECT_EQ(found->voids[0].subtotal, n);
        EXPECT_EQ(found->returned, (std::vector<regi::TenderPaid>{{1, 500}}));
        return;
    }
    EXPECT_FALSE(found->cancelled);
    EXPECT_TRUE(found->voids.empty());
    ASSERT_EQ(found->sale.lines.size(), static_cast<size_t>(n % 3 + 1));
    std::int64_t total = 0;
    for (size_t i = 0; i < found->sale.lines.size(); ++i) {
        const regi::LineRecord& line = found->sale.lines[i];
        regi::LineRecord expected = LineOfSale(n, static_cast<std::int64_t>(i));
        EXPECT_EQ(line.taxClass, expected.taxClass);
        EXPECT_EQ(line.quantity, expected.quantity);
        EXPECT_EQ(line.subtotal, expected.subtotal);
        total += line.subtotal;
    }
    EXPECT_EQ(found->sale.taxes.Total(), total);
    EXPECT_EQ(found->sale.change, 100000 - total);
    std::vector<regi::TenderPaid> tenders;
    if (n % 4 == 0) tenders.push_back({2, 100});
    EXPECT_EQ(found->sale.tenders, tenders);
}

// The first journal line whose record passes pick, changed by change; deleted
// when change is empty.
std::string Changed(const std::string& text, const std::function<bool(const Record&)>& pick,
                    const std::function<std::string(std::string)>& change = {}) {
    for (size_t at = 0, end; at < text.size(); at = end) {
        end = text.find("\r\n", at) + 2;
        std::optional<Record> record = ParseRecord(std::string_view(text).substr(at, end - at));
        if (record && pick(*record))
            return text.substr(0, at) + (change ? change(text.substr(at, end - at)) : "") + text.substr(end);
    }
    return text;
}

std::string WithLineEnds(const std::string& text, const char* ending) {
    std::string out;
    for (size_t at = 0, next; at < text.size(); at = next + 2) {
        next = text.find("\r\n", at);
        out.append(text, at, next - at).append(ending);
    }
    return out;
}

// Every time in quotes, as a spreadsheet may save them.
std::string TimesQuoted(const std::string& text) {
    std::string out;
    for (size_t at = 0, next; at < text.size(); at = next + 2) {
        next = text.find("\r\n", at);
        std::string line = text.substr(at, next - at);
        size_t time = line.find(',') + 1;  // 19 characters
        if (at != 0) line.insert(time + 19, "\"").insert(time, "\"");
        out += line + "\r\n";
    }
    return out;
}

class SaleFinderTest : public testing::Test {
public:  // for the situations' tables
    SaleFinderTest() { storage_.files[kJournal] = ShopJournal(kDays); }
    SaleFinder Finder() { return SaleFinder(storage_, kJournal, kIndex); }
    // The index a whole reading of the journal as it is writes.
    std::string RebuiltIndex() {
        MemoryStorage alone;
        alone.files[kJournal] = storage_.files[kJournal];
        SaleFinder(alone, kJournal, kIndex).Find(1);
        return alone.files[kIndex];
    }
    void MakeIndex() {
        Finder().Find(1);
        ASSERT_TRUE(storage_.files.count(kIndex));
    }
    SaleIndex Index() { return ParseSaleIndex(storage_.files[kIndex]).value(); }
    void SaveIndex(const SaleIndex& index) { storage_.files[kIndex] = FormatSaleIndex(index); }

protected:
    MemoryStorage storage_;
};

// What the files are like when a sale is looked for; each is read by a new
// finder, as after a restart.
struct Situation {
    const char* what;
    std::function<void(SaleFinderTest&, MemoryStorage&)> prepare;
};

TEST_F(SaleFinderTest, FindsEverySaleByNumberWhateverTheIndexAndTheLineEnds) {
    const Situation situations[] = {
        {"no index", [](SaleFinderTest&, MemoryStorage&) {}},
        {"a fresh index", [](SaleFinderTest& t, MemoryStorage&) { t.MakeIndex(); }},
        {"an index cut short at a line",
         [](SaleFinderTest& t, MemoryStorage& s) {
             t.MakeIndex();
             std::string& text = s.files[kIndex];
             text.resize(text.rfind("entry=", text.size() / 2));
         }},
        {"an index with a byte changed",
         [](SaleFinderTest& t, MemoryStorage& s) {
             t.MakeIndex();
             std::string& text = s.files[kIndex];
             text[text.find("entry=5") + 6] = '6';
         }},
        {"an index of another journal",
         [](SaleFinderTest& t, MemoryStorage& s) {
             s.files[kJournal] = ShopJournal(kDays, [](int day) { return day + 1; });
             t.MakeIndex();
             s.files[kJournal] = ShopJournal(kDays);
         }},
        {"an index whose places are all a line off, written so",
         [](SaleFinderTest& t, MemoryStorage&) {
             t.MakeIndex();
             SaleIndex index = t.Index();
             for (IndexEntry& entry : index.entries) entry.offset += entry.offset > 1000 ? -40 : 0;
             t.SaveIndex(index);
         }},
        {"an index whose numbers are all one off, written so",
         [](SaleFinderTest& t, MemoryStorage&) {
             t.MakeIndex();
             SaleIndex index = t.Index();
             for (IndexEntry& entry : index.entries) ++entry.sale;
             ++index.last;
             t.SaveIndex(index);
         }},
        {"LF line ends after the index was made",
         [](SaleFinderTest& t, MemoryStorage& s) {
             t.MakeIndex();
             s.files[kJournal] = WithLineEnds(s.files[kJournal], "\n");
         }},
        {"CR line ends",
         [](SaleFinderTest&, MemoryStorage& s) { s.files[kJournal] = WithLineEnds(s.files[kJournal], "\r"); }},
        {"times in quotes after the index was made",
         [](SaleFinderTest& t, MemoryStorage& s) {
             t.MakeIndex();
             s.files[kJournal] = TimesQuoted(s.files[kJournal]);
         }},
        {"a folder where the index should be",
         [](SaleFinderTest&, MemoryStorage& s) { s.failing[kIndex] = Fault::Missing; }},
    };
    const std::int64_t numbers[] = {1, 2, 10, 127, 128, 129, 130, 500, 511, kLast - 1, kLast};
    for (const Situation& situation : situations) {
        SCOPED_TRACE(situation.what);
        storage_ = MemoryStorage();
        storage_.files[kJournal] = ShopJournal(kDays);
        situation.prepare(*this, storage_);
        SaleFinder finder = Finder();
        for (std::int64_t n : numbers) ExpectShopSale(finder.Find(n), n);
        for (std::int64_t never : {std::int64_t{0}, std::int64_t{-1}, kLast + 1, kLast + 1000})
            EXPECT_FALSE(finder.Find(never)) << never;
        if (!storage_.failing.count(kIndex)) {
            EXPECT_EQ(storage_.files[kIndex], RebuiltIndex());
        }
    }
}

TEST_F(SaleFinderTest, ARowDeletedInTheMiddleLosesOnlyItsSale) {
    struct Case {
        const char* what;
        std::function<bool(const Record&)> deleted;  // the row
        std::int64_t number;
        bool found, complete;
        std::function<std::string(std::string)> change = {};  // what the row becomes, instead of deleted
    };
    const Case cases[] = {
        {"the sale record went", [](const Record& r) { return r.kind == Kind::Sale && r.sale == 401; }, 401, false,
         false},
        {"a line went", [](const Record& r) { return r.kind == Kind::Line && r.sale == 402; }, 402, true, false},
        {"a cancel went", [](const Record& r) { return r.kind == Kind::Cancel && r.sale == 410; }, 410, false, false},
        {"another sale's line went", [](const Record& r) { return r.kind == Kind::Line && r.sale == 402; }, 403, true,
         true},
        {"a line spoilt", [](const Record& r) { return r.kind == Kind::Line && r.sale == 404; }, 404, true, false,
         [](std::string line) { return line.insert(line.size() - 2, "x"); }},
        {"a line's amount changed", [](const Record& r) { return r.kind == Kind::Line && r.sale == 405; }, 405, true,
         false, [](std::string line) { return line.replace(line.find(",405,1,405,"), 11, ",405,1,406,"); }},
    };
    for (bool indexBefore : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (indexBefore ? ", index made before" : ""));
            storage_ = MemoryStorage();
            storage_.files[kJournal] = ShopJournal(kDays);
            if (indexBefore) MakeIndex();
            storage_.files[kJournal] = Changed(storage_.files[kJournal], c.deleted, c.change);
            SaleFinder finder = Finder();
            std::optional<FoundSale> found = finder.Find(c.number);
            ASSERT_EQ(found.has_value(), c.found);
            if (found) {
                EXPECT_EQ(found->complete, c.complete);
            }
            ExpectShopSale(finder.Find(c.number + 100), c.number + 100);
            ExpectShopSale(finder.Find(c.number - 100), c.number - 100);
        }
    }
}

TEST_F(SaleFinderTest, ALineLongerThanAnyRecordIsNoRecordToItsEnd) {
    // Sale 301's record at the end of a line of junk long enough to span the
    // readings' 64 KB pieces: it begins a piece, and still no record begins there.
    std::string& text = storage_.files[kJournal];
    size_t at = text.find(",sale,301,");
    at = text.rfind("\r\n", at) + 2;
    const size_t piece = 64 * 1024;
    size_t boundary = (at + 5000 + piece - 1) / piece * piece;
    text.insert(at, std::string(boundary - at, 'x'));
    ASSERT_TRUE(ParseRecord(std::string_view(text).substr(boundary, text.find("\r\n", boundary) + 2 - boundary)));
    SaleFinder finder = Finder();
    EXPECT_FALSE(finder.Find(301));
    ExpectShopSale(finder.Find(302), 302);
}

TEST_F(SaleFinderTest, AnIndexLeftBehindIsExtendedWithWhatWasAppended) {
    const std::string year = ShopJournal(kDays);
    const std::string earlier = ShopJournal(kDays - 3);
    ASSERT_EQ(year.compare(0, earlier.size(), earlier), 0);
    storage_.files[kJournal] = earlier;
    MakeIndex();
    SaleIndex before = Index();
    ASSERT_EQ(before.last, (kDays - 3) * kPerDay);

    storage_.files[kJournal] = year;
    storage_.bytesRead = 0;
    SaleFinder finder = Finder();
    ExpectShopSale(finder.Find(kLast), kLast);
    std::int64_t extending = storage_.bytesRead;
    EXPECT_EQ(storage_.files[kIndex], RebuiltIndex());

    // What was appended, and the sales since the last entry, a second time.
    std::int64_t appended = static_cast<std::int64_t>(year.size() - earlier.size());
    EXPECT_LT(extending, appended * 2 + 5000) << "the extension reads only what was appended";
    EXPECT_GE(extending, appended);
    EXPECT_EQ(Index().entries.size(), static_cast<size_t>((kLast + SaleIndex::kEvery - 1) / SaleIndex::kEvery));
    for (std::int64_t n : {std::int64_t{1}, SaleIndex::kEvery + 1, kLast / 2, kLast - 200}) {
        storage_.bytesRead = 0;
        ExpectShopSale(Finder().Find(n), n);
        EXPECT_LT(storage_.bytesRead, 3 * 64 * 1024) << "between two entries only, of " << year.size();
    }
}

TEST_F(SaleFinderTest, TheFirstSaleAtOrAfterATime) {
    struct Case {
        const char* what;
        common::DateTime time;
        std::int64_t number;  // 0: none
    };
    const Case cases[] = {
        {"before the first sale", {2025, 12, 31, 23, 59, 59}, 1},
        {"at the first sale", {2026, 1, 1, 9, 0, 0}, 1},
        {"a second after it", {2026, 1, 1, 9, 0, 1}, 2},
        {"the first sale of a day, across a Z", {2026, 1, 2, 0, 0, 0}, kPerDay + 1},
        {"after a day's last sale, before its Z", {2026, 1, 1, 10, 40, 0}, kPerDay + 1},
        {"a cancel's time", {2026, 1, 4, 9, 9, 0}, 3 * kPerDay + 10},
        {"the middle of a day", {2026, 1, 6, 10, 0, 0}, 5 * kPerDay + 61},
        {"the last sale", {2026, 1, kDays, 10, 39, 0}, kLast},
        {"after the last sale", {2026, 1, kDays, 10, 39, 1}, 0},
    };
    for (bool index : {false, true}) {
        storage_ = MemoryStorage();
        storage_.files[kJournal] = ShopJournal(kDays);
        if (index) MakeIndex();
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (index ? ", with an index" : ""));
            std::optional<FoundSale> found = Finder().FindAt(c.time);
            if (c.number == 0)
                EXPECT_FALSE(found);
            else
                ExpectShopSale(found, c.number);
        }
    }
}

TEST_F(SaleFinderTest, AClockThatMovedBackFindsTheFirstInTheJournalsOrder) {
    // Days 0 to 9 dated the 1st to the 4th, then back to the 2nd and on to the 7th.
    auto dated = [](int day) { return day < 4 ? day : day - 3; };
    storage_.files[kJournal] = ShopJournal(kDays, dated);
    for (bool index : {false, true}) {
        SCOPED_TRACE(index ? "with an index" : "no index");
        if (index) MakeIndex();
        const std::pair<common::DateTime, std::int64_t> cases[] = {
            {{2026, 1, 2, 0, 0, 0}, kPerDay + 1},
            {{2026, 1, 4, 9, 30, 0}, 3 * kPerDay + 31},
            {{2026, 1, 5, 0, 0, 0}, 7 * kPerDay + 1},
            {{2026, 1, 8, 0, 0, 0}, 0},
        };
        for (const auto& [time, number] : cases) {
            std::optional<FoundSale> found = Finder().FindAt(time);
            ASSERT_EQ(found.has_value(), number != 0) << Time(time);
            if (found) {
                ExpectShopSale(found, number, dated(DayOf(number)));
            }
        }
    }
}

TEST_F(SaleFinderTest, RecordsThatNameAnEarlierSaleAreItsLaterRecords) {
    // A line naming sale 55 after the later sales, as a return might write one.
    Record later;
    later.sequence = 99999;
    later.time = L"2026-01-10T12:00:00";
    later.kind = Kind::Line;
    later.sale = 55;
    later.line = 1;
    SetLine(later, {TaxClass::Standard, -55, 1, -55});
    storage_.files[kJournal] += FormatRecord(later);
    for (const char* index : {"none", "made", "its reference a line off"}) {
        SCOPED_TRACE(index);
        storage_.files.erase(kIndex);
        if (std::string(index) != "none") MakeIndex();
        if (std::string(index) == "its reference a line off") {
            SaleIndex lying = Index();
            ASSERT_EQ(lying.references.size(), 1u);
            lying.references[0].offset -= 60;
            SaveIndex(lying);
        }
        SaleFinder finder = Finder();
        std::optional<FoundSale> found = finder.Find(55);
        ASSERT_TRUE(found);
        ASSERT_EQ(found->later.size(), 1u);
        EXPECT_EQ(found->later[0].subtotal, -55);
        EXPECT_EQ(found->sale.lines.size(), 2u) << "the later line is not one of its own";
        ExpectShopSale(finder.Find(56), 56);
        ExpectShopSale(finder.Find(54), 54);
    }
}

TEST_F(SaleFinderTest, WithoutAJournalNothingIsFoundAndAnUnreadableOneSaysSo) {
    storage_.files.erase(kJournal);
    EXPECT_FALSE(Finder().Find(1));
    EXPECT_FALSE(storage_.files.count(kIndex));
    storage_.files[kJournal] = ShopJournal(1);
    storage_.failing[kJournal] = Fault::Busy;
    EXPECT_THROW(Finder().Find(1), common::Error);
}

TEST(SaleIndexTest, ReadsOnlyWhatItWrites) {
    SaleIndex index;
    index.size = 5000;
    index.known = 18446744073709551615ull;
    index.last = 300;
    index.latest = "2026-01-02T10:00:00";
    index.entries = {{1, 200, "2026-01-01T09:00:00"}, {129, 2000, "2026-01-02T10:00:00"}};
    index.references = {{5, 4000}};
    const std::string good = FormatSaleIndex(index);
    std::optional<SaleIndex> read = ParseSaleIndex(good);
    ASSERT_TRUE(read);
    EXPECT_EQ(FormatSaleIndex(*read), good);

    struct Case {
        const char* what;
        std::function<void(SaleIndex&)> change;
    };
    const Case cases[] = {
        {"entries' numbers fall", [](SaleIndex& i) { i.entries[1].sale = 1; }},
        {"entries' places fall", [](SaleIndex& i) { i.entries[1].offset = 200; }},
        {"entries' times fall", [](SaleIndex& i) { i.entries[1].latest = "2025-12-31T00:00:00"; }},
        {"an entry beyond the last number", [](SaleIndex& i) { i.last = 128; }},
        {"an entry beyond what it covers", [](SaleIndex& i) { i.size = 2000; }},
        {"a time beyond the latest", [](SaleIndex& i) { i.latest = "2026-01-02T09:59:59"; }},
        {"a reference beyond what it covers", [](SaleIndex& i) { i.references[0].offset = 5000; }},
        {"a reference beyond the last number", [](SaleIndex& i) { i.references[0].sale = 301; }},
        {"no such time", [](SaleIndex& i) { i.entries[0].latest = "2026-13-01T09:00:00"; }},
        {"an entry numbered 0", [](SaleIndex& i) { i.entries[0].sale = 0; }},
        {"a latest time that is none",
         [](SaleIndex& i) {
             i.entries.clear();
             i.latest = "tomorrow";
         }},
        {"a reference to number 0", [](SaleIndex& i) { i.references[0].sale = 0; }},
    };
    for (const Case& c : cases) {
        SaleIndex changed = index;
        c.change(changed);
        EXPECT_FALSE(ParseSaleIndex(FormatSaleIndex(changed))) << c.what;
    }
    auto without = [&](const std::string& line) {
        std::string text = good;
        text.erase(text.find(line), line.size());
        return text;
    };
    const std::pair<const char*, std::string> texts[] = {
        {"cut short", good.substr(0, good.size() - 1)},
        {"without its end", good.substr(0, good.find("end="))},
        {"a byte changed", without("last=300\r\n").insert(good.find("last="), "last=301\r\n")},
        {"its size left out", without("size=5000\r\n")},
        {"empty", ""},
    };
    for (const auto& [what, text] : texts) EXPECT_FALSE(ParseSaleIndex(text)) << what;
}

TEST(SaleFinderSessionTest, TheSessionFindsWhatItRecorded) {
    MemoryStorage storage;
    common::DateTime now{2026, 12, 8, 9, 0, 0};
    Session session(storage, kFolder, [&now] { return now; }, ShiftJis());
    session.Load();
    const std::vector<regi::LineRecord> lines = {{TaxClass::Reduced, 540, 3, 1620}, {TaxClass::Standard, 110, 1, 110}};
    session.RecordSale(testing_support::SettledSale(lines, 2000));
    now.minute = 5;
    session.RecordVoid(1, lines[0]);
    session.RecordCancel(1, 110);
    session.TakeZ(0);
    now.hour = 10;
    session.RecordSale(testing_support::SettledSale({lines[1]}, 200));
    EXPECT_FALSE(storage.files.count(session.IndexPath())) << "made when first needed";

    std::optional<FoundSale> first = session.FindSale(1);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->sale.time, L"2026-12-08T09:00:00");
    EXPECT_EQ(first->sale.change, 270);
    ASSERT_EQ(first->sale.lines.size(), 2u);
    EXPECT_EQ(first->sale.lines[0].subtotal, 1620);
    std::optional<FoundSale> cancel = session.FindSale(2);
    ASSERT_TRUE(cancel);
    EXPECT_TRUE(cancel->cancelled);
    EXPECT_EQ(cancel->voids.size(), 1u);
    EXPECT_EQ(session.FindSaleAt({2026, 12, 8, 9, 30, 0})->sale.number, 3);
    EXPECT_FALSE(session.FindSale(4));
    EXPECT_TRUE(storage.files.count(session.IndexPath()));
}

}  // namespace
