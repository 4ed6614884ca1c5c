#include <gtest/gtest.h>

#include <memory>

#include "journal/Chain.h"
#include "journal/Journal.h"
#include "sale/Sale.h"
#include "tests/journal/Rows.h"
#include "tests/support/SettledSale.h"
#include "tests/support/WindowTest.h"
#include "ui/Error.h"
#include "platform/Files.h"
#include "platform/Sha256.h"

using namespace journal;
using namespace journal_test;
using regi::TaxClass;
using testing_support::FileExists;
using testing_support::TempFolder;
using testing_support::WriteBytes;

namespace {

const std::string kTime = "2026-12-08T21:07:56";

// The journal's clock stands at kTime for every test.
class JournalFile : public testing::Test {
protected:
    std::string ReadBytes(const std::wstring& path) const {
        return platform::ReadFileBytes(path).value_or("(missing)");
    }
    std::string Journal() const { return ReadBytes(folder_.File(kJournalName)); }
    std::string Header() const { return std::string(kBom) + kColumnNames + "\r\n"; }

    TempFolder folder_;
};

common::DateTime Clock() { return {2026, 12, 8, 21, 7, 56}; }

// The journal's text as it would be without the chain's values: each record
// that has one as FormatRecord writes it without.
std::string Unchained(const std::string& text) {
    std::string out;
    size_t begin = 0;
    for (size_t end; (end = text.find("\r\n", begin)) != std::string::npos; begin = end + 2) {
        std::string line = text.substr(begin, end + 2 - begin);
        std::optional<Record> record = ParseRecord(line);
        if (record && !record->chain.empty()) {
            record->chain.clear();
            line = FormatRecord(*record);
        }
        out += line;
    }
    return out + text.substr(begin);
}

regi::SaleRecord Sale(std::vector<regi::LineRecord> lines, std::int64_t tendered) {
    return testing_support::SettledSale(std::move(lines), tendered);
}

// The message the operator sees when the journal refuses a write: what, where, why.
void ExpectWriteError(const ui::Error& e, const std::wstring& path) {
    std::wstring start = L"売上の記録に書き込めません\r\n" + path + L"\r\n";
    EXPECT_EQ(e.Message().substr(0, start.size()), start);
    EXPECT_GT(e.Message().size(), start.size()) << "no reason";  // the system's reason
}

// The message when the recovery file refuses: what, where, why, and what the journal holds.
void ExpectOpenSaleError(const ui::Error& e, const std::wstring& path, const std::wstring& kept) {
    std::wstring start = L"途中の取引の控えを書き換えられません\r\n" + path + L"\r\n";
    EXPECT_EQ(e.Message().substr(0, start.size()), start);
    EXPECT_GT(e.Message().size(), start.size() + kept.size()) << "no reason";
    if (!kept.empty()) {
        EXPECT_EQ(e.Message().substr(e.Message().size() - kept.size()), kept);
    }
    EXPECT_EQ(e.Message().find(L"売上の記録に書き込めません"), std::wstring::npos);
}

TEST_F(JournalFile, AJournalASpreadsheetSavedInShiftJisIsReadAndContinuedInCodePage932) {
    Record in;
    in.sequence = 1, in.time = L"2026-12-08T10:00:00", in.kind = Kind::In, in.total = 5000, in.note = L"両替";
    std::string row = FormatRecord(in);
    const std::string exchange = "\xE4\xB8\xA1\xE6\x9B\xBF", exchangeInShiftJis = "\x97\xBC\x91\xD6";
    row.replace(row.find(exchange), exchange.size(), exchangeInShiftJis);
    const std::string saved = std::string(kColumnNames) + "\r\n" + row;  // no byte-order mark
    WriteBytes(folder_.File(kJournalName), saved);

    journal::Journal journal(folder_.Path(), Clock);
    journal.Load();
    EXPECT_EQ(journal.JournalEncoding(), Encoding::ShiftJis);
    EXPECT_EQ(journal.StartNotices().size(), 1u);
    ASSERT_EQ(journal.CurrentPeriod().notes.size(), 1u);
    EXPECT_EQ(journal.CurrentPeriod().notes[0].note, L"両替");
    journal.RecordMoney(Kind::Out, 2000, L"仕入れ");
    std::string bytes = Journal();
    EXPECT_EQ(bytes.substr(0, saved.size()), saved);
    // The note, the empty department and product, then the chain's value.
    EXPECT_EQ(bytes.substr(bytes.size() - 2 - 64 - 3 - 6, 9), "\x8E\x64\x93\xFC\x82\xEA,,,") << "仕入れ in Shift_JIS";
}

TEST_F(JournalFile, ASaleIsItsLinesThenTheSaleOnTheDiskBeforeTheCallReturns) {
    journal::Journal journal(folder_.Path(), Clock);
    EXPECT_EQ(journal.Path(), folder_.Path() + L"\\Pelmora-journal.csv");
    EXPECT_EQ(journal.Load(), 0);
    EXPECT_FALSE(FileExists(journal.Path()));  // nothing is written before the first record
    regi::SaleRecord done = journal.RecordSale(Sale(
        {{TaxClass::Reduced, 540, 3, 1620}, {TaxClass::Standard, 1100, 1, 1100}, {TaxClass::Exempt, -300, 1, -300}},
        5000));
    EXPECT_EQ(done.number, 1);
    EXPECT_EQ(done.time, L"2026-12-08T21:07:56");
    std::int64_t seq = 1;
    std::string expected =
        Header() + TestSale{1, kTime, {{2, 540, 3}, {1, 1100, 1}, {0, -300, 1}}, 10, 8, 5000}.Rows(seq);
    EXPECT_EQ(Unchained(Journal()), expected);
    // Each record's chain value is the system's SHA-256 of the one before and its own text.
    std::string previous, bytes = Journal();
    size_t begin = Header().size();
    for (size_t end; (end = bytes.find("\r\n", begin)) != std::string::npos; begin = end + 2) {
        std::optional<Record> record = ParseRecord(bytes.substr(begin, end + 2 - begin));
        ASSERT_TRUE(record);
        EXPECT_EQ(record->chain, platform::Sha256Hex(previous + ChainedText(*record))) << record->sequence;
        previous = record->chain;
    }
    EXPECT_EQ(journal.SalesTotal(), 1620 + 1100 - 300);
    EXPECT_EQ(journal.NextSaleNumber(), 2);
    EXPECT_EQ(journal.ExpectedCash(10000), 10000 + 2420);
}

TEST_F(JournalFile, NumbersAndTotalsContinueAfterARestart) {
    {
        journal::Journal journal(folder_.Path(), Clock);
        journal.Load();
        journal.RecordSale(Sale({{TaxClass::Standard, 1000, 1, 1000}}, 1000));
        journal.RecordVoid(2, {TaxClass::Reduced, 200, 1, 200});
        journal.RecordCancel(1, 500);
        journal.RecordSale(Sale({{TaxClass::Reduced, 1080, 2, 2160}}, 3000));
    }
    journal::Journal journal(folder_.Path(), Clock);
    EXPECT_EQ(journal.Load(), 0);
    EXPECT_EQ(journal.SalesTotal(), 1000 + 2160);
    EXPECT_EQ(journal.NextSaleNumber(), 4);  // sale 1, cancel 2, sale 3
    EXPECT_EQ(journal.CurrentPeriod().voids, 1);
    EXPECT_EQ(journal.CurrentPeriod().cancels, 1);
    std::string before = Journal();
    EXPECT_EQ(journal.RecordSale(Sale({{TaxClass::Exempt, 70, 1, 70}}, 70)).number, 4);
    std::string added = Journal().substr(before.size());
    EXPECT_EQ(added.substr(0, 5), "7," + kTime.substr(0, 3));  // records 1-2, 3, 4 and 5-6 came before
    EXPECT_EQ(added.substr(added.find("\r\n") + 2, 2), "8,");
}

TEST_F(JournalFile, XAndZReportTheJournalWrittenHereAndZStartsAnew) {
    std::int64_t seq = 1;
    std::vector<TestSale> sales = {{5, "2026-12-08T09:00:00", {{1, 1100, 1}, {2, 1080, 1}, {0, 300, 1}}, 10, 8, 2480},
                                   {6, "2026-12-08T10:00:00", {{2, 50, 3}, {1, -100, 1}}, 10, 8, 50}};
    std::string text = Header() + TestSale{4, "2026-12-07T10:00:00", {{1, 999, 1}}, 10, 8, 999}.Rows(seq);
    text += Row({{"seq", N(seq++)},
                 {"time", "2026-12-07T21:00:00"},
                 {"kind", "z"},
                 {"sale", "4"},
                 {"lines", "1"},
                 {"standard amount", "999"},
                 {"standard tax", "90"},
                 {"reduced amount", "0"},
                 {"reduced tax", "0"},
                 {"exempt", "0"},
                 {"total", "999"},
                 {"sales", "1"},
                 {"voids", "0"},
                 {"void amount", "0"},
                 {"cancels", "0"},
                 {"cancel amount", "0"},
                 {"negative lines", "0"},
                 {"negative amount", "0"},
                 {"float", "0"},
                 {"expected cash", "999"},
                 {"z", "9"}});
    std::int64_t total = 0;
    for (const TestSale& sale : sales) {
        text += sale.Rows(seq);
        total += sale.Total();
    }
    WriteBytes(folder_.File(kJournalName), text);

    auto journal = std::make_unique<journal::Journal>(folder_.Path(), Clock);
    EXPECT_EQ(journal->Load(), 0);
    EXPECT_EQ(journal->SalesTotal(), total);
    Report x = journal->TakeX(20000);
    EXPECT_EQ(x.z, 0);
    ASSERT_GE(x.Lines().size(), 14u);
    EXPECT_EQ(x.Lines()[0], L"点検");
    EXPECT_EQ(x.Lines()[1], L"期間\t2026-12-07 21:00:00 ～ 2026-12-08 21:07:56");
    EXPECT_EQ(x.Lines()[2], L"客数\t2");
    EXPECT_EQ(x.Lines()[3], L"客単価\t" + regi::FormatMoney(total / 2));
    EXPECT_EQ(x.Lines()[4], L"行数\t5");
    EXPECT_EQ(x.Lines()[5], L"売上合計\t" + regi::FormatMoney(total));
    EXPECT_EQ(x.Lines()[6], L"10%対象\t" + regi::FormatMoney(1100 - 100));
    EXPECT_EQ(x.Lines()[7], L"10%内消費税\t" + regi::FormatMoney(Contained(1100, 10) + Contained(-100, 10)));
    EXPECT_EQ(x.Lines()[8], L"軽減8%対象\t" + regi::FormatMoney(1080 + 150));
    EXPECT_EQ(x.Lines()[9], L"軽減8%内消費税\t" + regi::FormatMoney(Contained(1080, 8) + Contained(150, 8)));
    EXPECT_EQ(x.Lines().back(), L"現金予定額\t" + regi::FormatMoney(20000 + total));
    EXPECT_EQ(x.Text().substr(0, 4), L"点検\r\n");
    EXPECT_EQ(journal->SalesTotal(), total);  // an X changes nothing
    std::string afterX = Journal();
    ASSERT_EQ(afterX.substr(0, text.size()), text);
    std::optional<Record> xRecord = ParseRecord(afterX.substr(text.size()));
    ASSERT_TRUE(xRecord);
    EXPECT_TRUE(xRecord->kind == Kind::X);
    EXPECT_EQ(xRecord->sequence, seq);
    EXPECT_EQ(xRecord->total, total);
    EXPECT_EQ(xRecord->expectedCash, 20000 + total);

    Report z = journal->TakeZ(20000);
    EXPECT_EQ(z.z, 10);
    EXPECT_EQ(z.Lines()[0], L"精算\tNo.10");
    EXPECT_EQ(z.Lines()[5], L"売上合計\t" + regi::FormatMoney(total));
    EXPECT_EQ(journal->SalesTotal(), 0);
    EXPECT_EQ(journal->ExpectedCash(20000), 20000);
    std::optional<Record> zRecord = ParseRecord(Journal().substr(afterX.size()));
    ASSERT_TRUE(zRecord);
    EXPECT_EQ(zRecord->z, 10);
    EXPECT_EQ(zRecord->sale, 6);
    EXPECT_EQ(zRecord->sequence, seq + 1);

    journal.reset();  // one program holds the journal at a time
    journal::Journal restarted(folder_.Path(), Clock);
    EXPECT_EQ(restarted.Load(), 0);
    EXPECT_EQ(restarted.SalesTotal(), 0);
    EXPECT_EQ(restarted.NextSaleNumber(), 7);
    Report next = restarted.TakeZ(0);
    EXPECT_EQ(next.z, 11);
    EXPECT_EQ(next.Lines()[4], L"売上合計\t" + regi::FormatMoney(0));
}

TEST_F(JournalFile, UnreadableLinesAreCountedAndTheFileIsLeftAsItWas) {
    std::int64_t seq = 1;
    std::string first = TestSale{1, "2026-12-08T09:00:00", {{1, 500, 1}}, 10, 8, 500}.Rows(seq);
    std::string second = TestSale{2, "2026-12-08T09:05:00", {{1, 700, 1}}, 10, 8, 700}.Rows(seq);
    std::string text = Header() + first + "1,2,3 edited by hand\r\n" + second.substr(0, second.size() - 30);
    WriteBytes(folder_.File(kJournalName), text);
    auto journal = std::make_unique<journal::Journal>(folder_.Path(), Clock);
    EXPECT_EQ(journal->Load(), 3);  // the junk, sale 2's cut record and the line left without it
    EXPECT_EQ(UnreadableLinesMessage(3), L"売上の記録に読めない行が 3 行あります");
    EXPECT_EQ(Journal(), text);
    EXPECT_EQ(journal->SalesTotal(), 500);
    EXPECT_EQ(journal->NextSaleNumber(), 2);

    // The next record starts a line of its own; what was there stays byte for byte.
    journal->RecordSale(Sale({{TaxClass::Standard, 800, 1, 800}}, 800));
    std::string after = Journal();
    ASSERT_EQ(after.substr(0, text.size() + 2), text + "\r\n");
    seq = 3;  // the cut sale's numbers were never read, so its line's number is used again
    EXPECT_EQ(Unchained(after.substr(text.size() + 2)), (TestSale{2, kTime, {{1, 800, 1}}, 10, 8, 800}.Rows(seq)));
    journal.reset();  // one program holds the journal at a time
    journal::Journal restarted(folder_.Path(), Clock);
    // The cut sale was told once; what it left before the next append is known from now on.
    EXPECT_EQ(restarted.Load(), 1);
    EXPECT_EQ(restarted.SalesTotal(), 500 + 800);
}

TEST_F(JournalFile, LoadingStopsAtTheLastZ) {
    std::string text = Header();
    for (int i = 0; i < 20000; ++i) text += "a year of lines the start never reads, not even junk like this\r\n";
    std::int64_t seq = 1000;
    text += Row({{"seq", N(seq++)},
                 {"time", "2026-12-07T21:00:00"},
                 {"kind", "z"},
                 {"sale", "500"},
                 {"lines", "0"},
                 {"standard amount", "0"},
                 {"standard tax", "0"},
                 {"reduced amount", "0"},
                 {"reduced tax", "0"},
                 {"exempt", "0"},
                 {"total", "0"},
                 {"sales", "0"},
                 {"voids", "0"},
                 {"void amount", "0"},
                 {"cancels", "0"},
                 {"cancel amount", "0"},
                 {"negative lines", "0"},
                 {"negative amount", "0"},
                 {"float", "0"},
                 {"expected cash", "0"},
                 {"z", "300"}});
    text += TestSale{501, "2026-12-08T09:00:00", {{2, 108, 1}}, 10, 8, 108}.Rows(seq);
    WriteBytes(folder_.File(kJournalName), text);
    journal::Journal journal(folder_.Path(), Clock);
    EXPECT_EQ(journal.Load(), 0);
    EXPECT_EQ(journal.SalesTotal(), 108);
    EXPECT_EQ(journal.NextSaleNumber(), 502);
    EXPECT_EQ(journal.CurrentPeriod().nextSequence, seq);
    EXPECT_EQ(journal.CurrentPeriod().nextZ, 301);
}

TEST_F(JournalFile, AFailedWriteRaisesTheReasonAndChangesNoNumber) {
    {
        journal::Journal first(folder_.Path(), Clock);
        first.Load();
        first.RecordSale(Sale({{TaxClass::Standard, 1000, 1, 1000}}, 1000));
    }  // a program holds its journal once it wrote to it: the next one has only read it
    journal::Journal journal(folder_.Path(), Clock);
    journal.Load();
    std::string before = Journal();
    // A folder where the file should be.
    std::wstring aside = folder_.File(L"aside.csv");
    ASSERT_TRUE(MoveFileW(journal.Path().c_str(), aside.c_str()));
    ASSERT_TRUE(CreateDirectoryW(journal.Path().c_str(), nullptr));
    Period was = journal.CurrentPeriod();
    auto unchanged = [&] {
        EXPECT_EQ(journal.NextSaleNumber(), 2);
        EXPECT_EQ(journal.SalesTotal(), 1000);
        EXPECT_EQ(journal.CurrentPeriod().nextSequence, was.nextSequence);
        EXPECT_EQ(journal.CurrentPeriod().nextZ, was.nextZ);
        EXPECT_EQ(journal.CurrentPeriod().voids, 0);
        EXPECT_EQ(journal.CurrentPeriod().cancels, 0);
    };
    int raised = 0;
    auto attempt = [&](auto call) {
        try {
            call();
        } catch (const ui::Error& e) {
            ++raised;
            ExpectWriteError(e, journal.Path());
        }
        unchanged();
    };
    attempt([&] { journal.RecordSale(Sale({{TaxClass::Reduced, 500, 1, 500}}, 500)); });
    attempt([&] { journal.RecordVoid(1, {TaxClass::Reduced, 500, 1, 500}); });
    attempt([&] { journal.RecordCancel(1, 500); });
    attempt([&] { journal.TakeX(0); });
    attempt([&] { journal.TakeZ(0); });
    EXPECT_EQ(raised, 5);

    // Once the file is back, the same call goes through with the same numbers.
    ASSERT_TRUE(RemoveDirectoryW(journal.Path().c_str()));
    ASSERT_TRUE(MoveFileW(aside.c_str(), journal.Path().c_str()));
    EXPECT_EQ(journal.RecordSale(Sale({{TaxClass::Reduced, 500, 1, 500}}, 500)).number, 2);
    std::int64_t seq = 3;
    EXPECT_EQ(Unchained(Journal()), Unchained(before + (TestSale{2, kTime, {{2, 500, 1}}, 10, 8, 500}.Rows(seq))));
}

TEST_F(JournalFile, AJournalThatCannotBeReadIsTriedAgainBeforeEachWrite) {
    journal::Journal journal(folder_.Path(), Clock);
    ASSERT_TRUE(CreateDirectoryW(journal.Path().c_str(), nullptr));
    try {
        journal.Load();
        ADD_FAILURE() << "a folder read as a journal";
    } catch (const ui::Error& e) {
        std::wstring start = L"売上の記録を読めません\r\n" + journal.Path() + L"\r\n";
        EXPECT_EQ(e.Message().substr(0, start.size()), start);
    }
    EXPECT_THROW(journal.RecordSale(Sale({{TaxClass::Standard, 100, 1, 100}}, 100)), ui::Error);
    EXPECT_EQ(journal.SalesTotal(), 0);
    // Here is the journal after all: it is read before the sale gets its number.
    ASSERT_TRUE(RemoveDirectoryW(journal.Path().c_str()));
    std::int64_t seq = 1;
    WriteBytes(journal.Path(), Header() + TestSale{7, "2026-12-08T09:00:00", {{1, 100, 1}}, 10, 8, 100}.Rows(seq));
    EXPECT_EQ(journal.RecordSale(Sale({{TaxClass::Standard, 100, 1, 100}}, 100)).number, 8);
    EXPECT_EQ(journal.SalesTotal(), 200);
}

TEST_F(JournalFile, TheOpenSaleSurvivesARestartUntilItIsSettled) {
    std::vector<regi::LineRecord> lines = {{TaxClass::Reduced, 540, 3, 1620}, {TaxClass::Exempt, -300, 1, -300}};
    {
        journal::Journal journal(folder_.Path(), Clock);
        journal.Load();
        journal.RecordSale(Sale({{TaxClass::Standard, 1000, 1, 1000}}, 1000));
        journal.KeepOpenSale({lines[0]});
        journal.KeepOpenSale(lines);  // replaced whole at every change
        EXPECT_FALSE(FileExists(journal.OpenSalePath() + L".tmp"));
    }  // the process dies here, mid-sale
    journal::Journal journal(folder_.Path(), Clock);
    journal.Load();
    std::vector<regi::LineRecord> back = journal.RecoverOpenSale().lines;
    ASSERT_EQ(back.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_TRUE(back[i].taxClass == lines[i].taxClass);
        EXPECT_EQ(back[i].unitPrice, lines[i].unitPrice);
        EXPECT_EQ(back[i].quantity, lines[i].quantity);
        EXPECT_EQ(back[i].subtotal, lines[i].subtotal);
    }
    EXPECT_EQ(ReadBytes(journal.OpenSalePath()),
              "sale,class,unit price,quantity,subtotal\r\n2,reduced,540,3,1620\r\n2,exempt,-300,1,-300\r\n");

    journal.RecordSale(Sale(back, 2000));
    EXPECT_FALSE(FileExists(journal.OpenSalePath()));
    journal.KeepOpenSale(lines);
    journal.RecordCancel(2, 1320);
    EXPECT_FALSE(FileExists(journal.OpenSalePath()));
    journal.KeepOpenSale(lines);
    journal.KeepOpenSale({});  // voided to empty
    EXPECT_FALSE(FileExists(journal.OpenSalePath()));
    EXPECT_TRUE(journal.RecoverOpenSale().lines.empty());
}

TEST_F(JournalFile, ARecoveryFileThatIsJunkOrAlreadyRecordedRestoresNothing) {
    journal::Journal journal(folder_.Path(), Clock);
    journal.Load();
    std::string kept = FormatOpenSale({1, {{TaxClass::Standard, 100, 1, 100}}});
    // The sale reached the journal, and the power went off before its recovery file was removed.
    journal.RecordSale(Sale({{TaxClass::Standard, 100, 1, 100}}, 100));
    WriteBytes(journal.OpenSalePath(), kept);
    EXPECT_TRUE(journal.RecoverOpenSale().lines.empty());
    std::string junk;
    for (int i = 0; i < 3000; ++i) junk += static_cast<char>(i * 7919 % 256);
    for (const std::string& content : {std::string(), junk, kept.substr(0, kept.size() - 3),
                                       FormatOpenSale({2, {{TaxClass::Standard, 100, 2, 300}}})}) {
        WriteBytes(journal.OpenSalePath(), content);
        EXPECT_TRUE(journal.RecoverOpenSale().lines.empty());
    }
    DeleteFileW(journal.OpenSalePath().c_str());
    ASSERT_TRUE(CreateDirectoryW(journal.OpenSalePath().c_str(), nullptr));
    EXPECT_TRUE(journal.RecoverOpenSale().lines.empty());
}

TEST_F(JournalFile, ARecoveryFileThatCannotBeReplacedKeepsItsContentAndSaysWhy) {
    journal::Journal journal(folder_.Path(), Clock);
    journal.Load();
    journal.KeepOpenSale({{TaxClass::Standard, 100, 1, 100}});
    std::string kept = ReadBytes(journal.OpenSalePath());
    ASSERT_TRUE(CreateDirectoryW((journal.OpenSalePath() + L".tmp").c_str(), nullptr));
    try {
        journal.KeepOpenSale({{TaxClass::Standard, 100, 1, 100}, {TaxClass::Standard, 5, 1, 5}});
        ADD_FAILURE() << "no error";
    } catch (const ui::Error& e) {
        ExpectOpenSaleError(e, journal.OpenSalePath(), L"");
    }
    EXPECT_EQ(ReadBytes(journal.OpenSalePath()), kept);
}

TEST_F(JournalFile, ASecondProgramCannotWriteTheJournalTheFirstHolds) {
    journal::Journal first(folder_.Path(), Clock);
    first.Load();
    first.RecordSale(Sale({{TaxClass::Standard, 100, 1, 100}}, 100));
    std::string before = Journal();
    journal::Journal second(folder_.Path(), Clock);
    EXPECT_EQ(second.Load(), 0);  // reading is shared, as with a spreadsheet
    std::vector<std::wstring> told = second.StartMessages();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], std::wstring(kJournalBusy) + L"\r\n" + second.Path());
    try {
        second.RecordSale(Sale({{TaxClass::Standard, 200, 1, 200}}, 200));
        ADD_FAILURE() << "a second writer";
    } catch (const ui::Error& e) {
        EXPECT_EQ(e.Message(), L"売上の記録は別の Pelmora が使っています\r\n" + second.Path());
    }
    EXPECT_EQ(Journal(), before);
    EXPECT_EQ(first.RecordSale(Sale({{TaxClass::Standard, 300, 1, 300}}, 300)).number, 2);
}

TEST_F(JournalFile, AJournalAnotherProgramAppendedToSinceTheLoadIsReadAgainBeforeANumberIsGiven) {
    journal::Journal late(folder_.Path(), Clock);
    late.Load();
    {
        journal::Journal early(folder_.Path(), Clock);
        early.Load();
        early.RecordSale(Sale({{TaxClass::Standard, 100, 1, 100}}, 100));
    }
    EXPECT_EQ(late.RecordSale(Sale({{TaxClass::Standard, 200, 1, 200}}, 200)).number, 2);
    EXPECT_EQ(late.SalesTotal(), 300) << "the other program's sale counts too";
}

TEST_F(JournalFile, NumbersContinueFromTheKeptOnesWhenTheJournalLosesRecords) {
    {
        journal::Journal journal(folder_.Path(), Clock);
        journal.Load();
        journal.RecordSale(Sale({{TaxClass::Standard, 100, 1, 100}}, 100));
        journal.TakeZ(0);
        journal.RecordSale(Sale({{TaxClass::Standard, 200, 1, 200}}, 200));
        journal.TakeZ(0);
    }
    std::optional<Kept> kept = ParseKept(ReadBytes(folder_.File(kKeptName)));
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->sequence, 6);
    EXPECT_EQ(kept->sale, 2);
    EXPECT_EQ(kept->z, 2);
    EXPECT_EQ(kept->size, static_cast<std::int64_t>(Journal().size()));
    // A converter that failed left an empty journal.
    WriteBytes(folder_.File(kJournalName), "");
    journal::Journal journal(folder_.Path(), Clock);
    EXPECT_EQ(journal.Load(), 0);
    std::vector<std::wstring> told = journal.StartMessages();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].find(L"売上の記録がこのプログラムの外で変更されています。記録のファイルはそのままです。\r\n"
                           L"記録のファイルが空か、ありません"),
              0u);
    EXPECT_EQ(Journal(), "");
    EXPECT_EQ(journal.RecordSale(Sale({{TaxClass::Standard, 300, 1, 300}}, 300)).number, 3);
    EXPECT_EQ(journal.TakeZ(0).z, 3);
    std::string records = Journal().substr(Header().size());
    EXPECT_EQ(records.substr(0, 2), "7,");
}

TEST_F(JournalFile, ASaleIsSettledWhenTheKeptNumbersCannotBeWritten) {
    journal::Journal journal(folder_.Path(), Clock);
    journal.Load();
    ASSERT_TRUE(CreateDirectoryW(folder_.File(kKeptName).c_str(), nullptr));
    EXPECT_EQ(journal.RecordSale(Sale({{TaxClass::Standard, 100, 1, 100}}, 100)).number, 1);
    EXPECT_EQ(journal.SalesTotal(), 100);
}

TEST_F(JournalFile, WhatAFailedWriteLeftIsPassedOverAtTheNextStart) {
    std::int64_t seq = 1;
    std::string sale = TestSale{1, "2026-12-08T09:00:00", {{1, 500, 1}}, 10, 8, 500}.Rows(seq);
    std::string text = Header() + sale.substr(0, sale.size() - 9);
    WriteBytes(folder_.File(kJournalName), text);
    Kept kept;
    kept.failedAt = static_cast<std::int64_t>(Header().size());
    WriteBytes(folder_.File(kKeptName), FormatKept(kept));
    journal::Journal journal(folder_.Path(), Clock);
    EXPECT_EQ(journal.Load(), 0);
    EXPECT_TRUE(journal.StartMessages().empty());
    EXPECT_EQ(journal.RecordSale(Sale({{TaxClass::Standard, 500, 1, 500}}, 500)).number, 1);
    std::optional<Kept> after = ParseKept(ReadBytes(folder_.File(kKeptName)));
    ASSERT_TRUE(after);
    ASSERT_EQ(after->partials.size(), 1u);
    EXPECT_EQ(after->partials[0].begin, kept.failedAt);
    EXPECT_EQ(after->partials[0].end, static_cast<std::int64_t>(text.size()));
    EXPECT_EQ(after->failedAt, -1);
}

TEST_F(JournalFile, ARecoveryFileHeldOpenAfterASettleSaysTheSaleIsKept) {
    journal::Journal journal(folder_.Path(), Clock);
    journal.Load();
    journal.KeepOpenSale({{TaxClass::Standard, 100, 1, 100}});
    HANDLE held = CreateFileW(journal.OpenSalePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(journal.RecordSale(Sale({{TaxClass::Standard, 100, 1, 100}}, 100)).number, 1);
    try {
        journal.KeepOpenSale({});  // the register's change after the settle
        ADD_FAILURE() << "no error";
    } catch (const ui::Error& e) {
        ExpectOpenSaleError(e, journal.OpenSalePath(), L"売上は記録されています。打ち直さないでください。");
    }
    CloseHandle(held);
    EXPECT_EQ(journal.SalesTotal(), 100);
    EXPECT_TRUE(journal.RecoverOpenSale().lines.empty());  // its sale is in the journal: never restored
}

TEST_F(JournalFile, ADamagedRecoveryFileIsKeptAsideAndTold) {
    journal::Journal journal(folder_.Path(), Clock);
    journal.Load();
    WriteBytes(journal.OpenSalePath(), "sale,class,unit price,quantity,subtotal\r\n1,standard,100,1,999\r\n");
    EXPECT_TRUE(journal.RecoverOpenSale().lines.empty());
    EXPECT_FALSE(FileExists(journal.OpenSalePath()));
    std::wstring aside = folder_.File(L"Pelmora-open-damaged-20261208-210756.csv");
    EXPECT_EQ(ReadBytes(aside), "sale,class,unit price,quantity,subtotal\r\n1,standard,100,1,999\r\n");
    std::vector<std::wstring> told = journal.StartMessages();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0],
              L"前回終了時の取引を復元できません: 途中の取引の控えが壊れています。\r\n"
              L"控えは次の名前で残してあります\r\n" +
                  aside);
    WriteBytes(journal.OpenSalePath(), "junk");  // a second one the same second gets a name of its own
    journal.RecoverOpenSale();
    EXPECT_EQ(ReadBytes(folder_.File(L"Pelmora-open-damaged-20261208-210756-2.csv")), "junk");
}

TEST_F(JournalFile, ASaleIsFoundInTheJournalItHoldsAndTheIndexIsWrittenBeside) {
    journal::Journal journal(folder_.Path(), Clock);
    journal.Load();
    journal.RecordSale(Sale({{TaxClass::Reduced, 540, 3, 1620}}, 2000));
    journal.RecordCancel(1, 110);
    std::optional<FoundSale> sale = journal.FindSale(1);
    ASSERT_TRUE(sale);
    EXPECT_EQ(sale->sale.lines.size(), 1u);
    EXPECT_EQ(sale->sale.change, 380);
    EXPECT_TRUE(journal.FindSale(2)->cancelled);
    EXPECT_EQ(journal.IndexPath(), folder_.Path() + L"\\Pelmora-journal-index.txt");
    EXPECT_EQ(ReadBytes(journal.IndexPath()).rfind("Pelmora journal index\r\n", 0), 0u);
    // Where the index cannot be written, the journal still answers.
    DeleteFileW(journal.IndexPath().c_str());
    ASSERT_TRUE(CreateDirectoryW(journal.IndexPath().c_str(), nullptr));
    journal::Journal again(folder_.Path(), Clock);
    EXPECT_EQ(again.FindSale(1)->sale.change, 380);
    EXPECT_FALSE(again.FindSale(3));
    RemoveDirectoryW(journal.IndexPath().c_str());
}

TEST(JournalPaths, TheJournalLiesInTheSettingsFilesFolder) {
    EXPECT_EQ(platform::FolderOf(L"C:\\Program Files\\Pelmora\\Pelmora.ini"), L"C:\\Program Files\\Pelmora");
    EXPECT_EQ(platform::FolderOf(L"Z:/tmp/Pelmora.ini"), L"Z:/tmp");
    EXPECT_EQ(platform::FolderOf(L"Pelmora.ini"), L".");
    journal::Journal journal(platform::FolderOf(L"C:\\shop\\Pelmora.ini"), Clock);
    EXPECT_EQ(journal.Path(), L"C:\\shop\\Pelmora-journal.csv");
    EXPECT_EQ(journal.OpenSalePath(), L"C:\\shop\\Pelmora-open.csv");
}

}  // namespace
