#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>

#include "journal/Checkpoint.h"
#include "journal/Session.h"
#include "tests/journal/MemoryStorage.h"
#include "tests/journal/Rows.h"
#include "tests/journal/ShiftJis.h"

using namespace journal;
using namespace journal_test;
using regi::TaxClass;

namespace {

const std::wstring kFolder = L"C:\\shop";
const common::DateTime kNow{2026, 12, 8, 21, 7, 56};

// A journal that no Z ever closed, long enough for a start to leave a checkpoint.
std::string NeverClosed(std::int64_t sales, std::int64_t& seq) {
    std::string text = std::string(kBom) + kColumnNames + "\r\n";
    for (std::int64_t n = 1; n <= sales; ++n)
        text += TestSale{n, "2026-12-08T09:00:00", {{1, 1100, 1}, {2, 540, 3}, {0, -300, 1}}, 10, 8, 5000}.Rows(seq);
    return text;
}

class CheckpointTest : public testing::Test {
protected:
    CheckpointTest() {
        std::int64_t seq = 1;
        storage_.files[Path(kJournalName)] = NeverClosed(4000, seq);
    }
    static std::wstring Path(const wchar_t* name) { return kFolder + L"\\" + name; }
    std::unique_ptr<Session> Open(MemoryStorage& storage) {
        return std::make_unique<Session>(storage, kFolder, [] { return kNow; }, ShiftJis());
    }
    // What a start makes of the journal without any checkpoint.
    void ExpectAsReadWhole(const Session& session) {
        MemoryStorage whole = storage_;
        whole.files.erase(Path(kCheckpointName));
        std::unique_ptr<Session> read = Open(whole);
        read->Load();
        const Period &a = session.CurrentPeriod(), &b = read->CurrentPeriod();
        EXPECT_EQ(a.from, b.from);
        EXPECT_EQ(a.sales, b.sales);
        EXPECT_EQ(a.lines, b.lines);
        EXPECT_EQ(a.total, b.total);
        EXPECT_EQ(a.Tax(), b.Tax());
        EXPECT_EQ(a.exempt, b.exempt);
        EXPECT_EQ(a.negativeAmount, b.negativeAmount);
        EXPECT_EQ(a.nextSequence, b.nextSequence);
        EXPECT_EQ(a.nextSale, b.nextSale);
        EXPECT_EQ(session.EarlierSale().number, read->EarlierSale().number);
        EXPECT_EQ(session.EarlierSale().lines.size(), read->EarlierSale().lines.size());
        EXPECT_EQ(session.EarlierSale().tendered, read->EarlierSale().tendered);
        EXPECT_EQ(session.StartMessages(), read->StartMessages());
    }

    MemoryStorage storage_;
};

TEST_F(CheckpointTest, TheNextStartReadsOnlyWhatCameAfterTheCheckpoint) {
    std::unique_ptr<Session> first = Open(storage_);
    first->Load();
    ASSERT_EQ(storage_.files.count(Path(kCheckpointName)), 1u) << "a long reading leaves a checkpoint";
    EXPECT_GT(storage_.reads, 16);
    first->RecordSale({0,
                       L"",
                       {{TaxClass::Standard, 700, 2, 1400}},
                       regi::SumTaxes({{TaxClass::Standard, 700, 2, 1400}}, 10, 8),
                       1400,
                       0});
    storage_.Release();
    std::string journalBefore = storage_.files[Path(kJournalName)];

    storage_.reads = 0;
    std::unique_ptr<Session> next = Open(storage_);
    EXPECT_EQ(next->Load(), 0);
    EXPECT_LE(storage_.reads, 3) << "the bytes the checkpoint knows and the sale after it";
    EXPECT_EQ(next->SalesTotal(), 4000 * (1100 + 1620 - 300) + 1400);
    EXPECT_EQ(next->NextSaleNumber(), 4002);
    EXPECT_EQ(next->EarlierSale().number, 4001);
    ExpectAsReadWhole(*next);
    EXPECT_EQ(storage_.files[Path(kJournalName)], journalBefore) << "the journal is never rewritten";
}

TEST_F(CheckpointTest, ACheckpointThatNoLongerFitsTheJournalCostsOnlyAReadingOfTheWhole) {
    Open(storage_)->Load();
    const std::string journal = storage_.files[Path(kJournalName)];
    const std::string checkpoint = storage_.files[Path(kCheckpointName)];
    std::optional<Checkpoint> kept = ParseCheckpoint(checkpoint);
    ASSERT_TRUE(kept);
    ASSERT_EQ(kept->offset, static_cast<std::int64_t>(journal.size()));
    ASSERT_GT(journal.size(), 1024u * 1024u);
    std::string edited = journal;
    edited.replace(edited.rfind(",5000,"), 6, ",5001,");  // the last sale's tendered, as a spreadsheet saved it
    std::int64_t seq = 1;
    struct Case {
        const char* what;
        std::string journal, checkpoint;
    };
    const Case cases[] = {
        {"no checkpoint", journal, ""},
        {"a damaged checkpoint", journal, checkpoint.substr(0, checkpoint.size() / 2)},
        {"the journal cut short", journal.substr(0, journal.size() - 100), checkpoint},
        {"the bytes before its place changed", edited, checkpoint},
        {"another journal",
         NeverClosed(3999, seq) + std::string(journal.size() - NeverClosed(2999, seq = 1).size(), '\n'), checkpoint},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        storage_.files[Path(kJournalName)] = c.journal;
        storage_.files.erase(Path(kKeptName));
        if (c.checkpoint.empty())
            storage_.files.erase(Path(kCheckpointName));
        else
            storage_.files[Path(kCheckpointName)] = c.checkpoint;
        storage_.reads = 0;
        std::unique_ptr<Session> session = Open(storage_);
        session->Load();
        EXPECT_GT(storage_.reads, 16) << "read whole";
        ExpectAsReadWhole(*session);
    }
}

// The 点検's lines from 入金 on.
std::vector<std::wstring> MoneyLines(Session& session) {
    std::vector<std::wstring> lines = session.TakeX(0).Lines();
    auto in = std::find_if(lines.begin(), lines.end(),
                           [](const std::wstring& line) { return line.rfind(L"入金", 0) == 0; });
    return std::vector<std::wstring>(in, lines.end());
}

TEST_F(CheckpointTest, TheNotesOfMoneyInAndOutComeBackFromTheCheckpoint) {
    std::int64_t seq = 1;
    std::string journal = NeverClosed(4000, seq);
    for (auto [kind, amount, note] : {std::tuple{Kind::In, 5000, L"両替"}, {Kind::Out, 2000, L"仕入れ, 酒店"},
                                      {Kind::Out, 300, L""}}) {
        Record record;
        record.sequence = seq++, record.time = L"2026-12-08T10:00:00", record.kind = kind, record.total = amount;
        record.note = note;
        journal += FormatRecord(record);
    }
    storage_.files[Path(kJournalName)] = journal;
    Open(storage_)->Load();
    const std::string checkpoint = storage_.files[Path(kCheckpointName)];
    ASSERT_NE(checkpoint.find("money note="), std::string::npos) << "the checkpoint covers the notes";
    const std::vector<std::wstring> expected = {L"入金\t1件\t¥5,000", L"\u3000両替\t¥5,000", L"出金\t2件\t¥2,300",
                                                L"\u3000仕入れ, 酒店\t¥2,000", L"釣銭準備金\t¥0",
                                                L"現金予定額\t¥" + regi::GroupedDigits(4000 * 2420 + 2700)};

    storage_.reads = 0;
    std::unique_ptr<Session> next = Open(storage_);
    next->Load();
    EXPECT_LE(storage_.reads, 3) << "resumed from the checkpoint";
    EXPECT_EQ(MoneyLines(*next), expected);
    storage_.Release();

    // As an earlier version wrote it: the amounts of 入金 and 出金 without
    // their counts and notes. It reads, but the reports need what it lacks:
    // the start reads the journal whole.
    std::string earlier;
    for (size_t at = 0; at < checkpoint.size();) {
        size_t end = checkpoint.find("\r\n", at) + 2;
        std::string line = checkpoint.substr(at, end - at);
        if (line.rfind("money ins=", 0) != 0 && line.rfind("money outs=", 0) != 0 && line.rfind("money note=", 0) != 0)
            earlier += line;
        at = end;
    }
    std::optional<Checkpoint> old = ParseCheckpoint(earlier);
    ASSERT_TRUE(old);
    EXPECT_FALSE(CountsMoney(*old));
    EXPECT_TRUE(CountsMoney(*ParseCheckpoint(checkpoint)));
    storage_.files[Path(kJournalName)] = journal;
    storage_.files[Path(kCheckpointName)] = earlier;
    storage_.files.erase(Path(kKeptName));
    storage_.reads = 0;
    std::unique_ptr<Session> after = Open(storage_);
    after->Load();
    EXPECT_GT(storage_.reads, 16) << "read whole";
    EXPECT_EQ(MoneyLines(*after), expected);
}

// A checkpoint as the program has written it: the first sums and the numbers
// always, the later sums only when not 0 (no drawer commands here), then each
// tender and rate, then the last sale.
const char kWritten[] =
    "Pelmora journal checkpoint\r\n"
    "offset=5\r\nhead=\r\ntail=\r\nfrom=2026-12-09T10:00:00\r\n"
    "sales=3\r\nlines=5\r\ntotal=16740\r\nexempt=-300\r\nvoids=1\r\nvoid amount=500\r\ncancels=1\r\n"
    "cancel amount=700\r\nnegatives=1\r\nnegative amount=-300\r\n"
    "next sequence=18\r\nnext sale=5\r\nnext z=1\r\nfirst sequence=1\r\n"
    "cashless sales=1\r\nreturned=1\r\nreturned amount=300\r\nmoney in=5000\r\nmoney out=2000\r\n"
    "tender=1,1,8800\r\ntender=3,1,3000\r\n"
    "taxable=standard,8,8800,651\r\ntaxable=standard,10,2200,200\r\ntaxable=reduced,8,6040,447\r\n"
    "sale line=1,2026-12-09T10:00:00,line,3,1,reduced,5500,1,5500,,,,,,,,,,,,,,,,,,,,,\r\n"
    "sale tender=1,2026-12-09T10:00:00,tender,3,3,,,,,,,,,,,,,3000,,,,,,,,,,,,\r\n"
    "sale=1,2026-12-09T10:00:00,sale,3,,,,,,1,10,0,0,8,5500,407,0,5500,3000,500,,,,,,,,,,\r\n";

TEST(JournalCheckpoint, AFileWrittenBeforeReadsTheSameAndIsWrittenAgainByteForByte) {
    std::optional<Checkpoint> read = ParseCheckpoint(kWritten);
    ASSERT_TRUE(read);
    EXPECT_EQ(FormatCheckpoint(*read), kWritten);
    const Period& p = read->period;
    EXPECT_EQ(p.total, 16740);
    EXPECT_EQ(p.moneyOut, 2000);
    EXPECT_EQ(p.drawerCommands, 0);
    EXPECT_EQ(p.tenders[2].amount, 3000);
    ASSERT_EQ(p.taxable.size(), 3u);
    EXPECT_EQ(p.taxable[1].rate, 10);
    EXPECT_TRUE(p.taxable[2].taxClass == TaxClass::Reduced);
    EXPECT_EQ(read->lastSale.number, 3);
    EXPECT_FALSE(CountsMoney(*read)) << "written before 入金 and 出金 were counted";
    // A new period's: the first sums at 0, none of the later ones.
    EXPECT_EQ(FormatCheckpoint(Checkpoint()),
              "Pelmora journal checkpoint\r\noffset=0\r\nhead=\r\ntail=\r\nfrom=\r\n"
              "sales=0\r\nlines=0\r\ntotal=0\r\nexempt=0\r\nvoids=0\r\nvoid amount=0\r\ncancels=0\r\n"
              "cancel amount=0\r\nnegatives=0\r\nnegative amount=0\r\n"
              "next sequence=1\r\nnext sale=1\r\nnext z=1\r\nfirst sequence=0\r\n");
}

TEST(JournalCheckpoint, ReadsBackWhatItWroteAndNothingElse) {
    Checkpoint c;
    c.offset = 12345, c.head = std::string("\xEF\xBB\xBFseq,time", 11), c.tail = std::string("\r\n\0z", 4);
    c.period.from = L"2026-12-07T21:00:00", c.period.sales = 3, c.period.total = -70, c.period.nextSale = 9;
    c.period.taxable = {{TaxClass::Standard, 10, 1100, 100}, {TaxClass::Reduced, 8, 540, 40}};
    c.lastSale = {8,
                  L"2026-12-08T09:00:00",
                  {{TaxClass::Reduced, 540, 1, 540}},
                  regi::SumTaxes({{TaxClass::Reduced, 540, 1, 540}}, 10, 8),
                  1000,
                  460};
    std::string text = FormatCheckpoint(c);
    std::optional<Checkpoint> back = ParseCheckpoint(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(FormatCheckpoint(*back), text);
    EXPECT_EQ(back->head, c.head);
    EXPECT_EQ(back->tail, c.tail);
    EXPECT_EQ(back->lastSale.lines.size(), 1u);
    for (size_t n = 0; n + 2 < text.size(); ++n) EXPECT_FALSE(ParseCheckpoint(text.substr(0, n) + "x\r\n")) << n;
    std::string negative = text;
    negative.replace(negative.find("offset=") + 7, 5, "-1234");
    EXPECT_FALSE(ParseCheckpoint(negative)) << "no place before the journal's start";
    // A tender the register does not have is refused, never written past the four.
    c.period.tenders[0] = {1, 500};
    const std::string tendered = FormatCheckpoint(c);
    ASSERT_NE(tendered.find("tender=1,"), std::string::npos);
    ASSERT_TRUE(ParseCheckpoint(tendered));
    for (const char* tender : {"tender=0,", "tender=5,"}) {
        std::string beyond = tendered;
        beyond.replace(beyond.find("tender=1,"), 9, tender);
        EXPECT_FALSE(ParseCheckpoint(beyond)) << tender;
    }
}

}  // namespace
