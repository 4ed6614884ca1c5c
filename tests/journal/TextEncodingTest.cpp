// A journal a spreadsheet saved again in another encoding: which one it is in,
// what the start says of it, and the encoding of what the program appends.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/Utf8.h"
#include "journal/Session.h"
#include "journal/TextEncoding.h"
#include "tests/journal/MemoryStorage.h"
#include "tests/journal/Rows.h"
#include "tests/journal/ShiftJis.h"
#include "tests/support/SettledSale.h"

using namespace journal;
using namespace journal_test;

namespace {

const std::wstring kFolder = L"C:\\shop";

std::string Money(std::int64_t sequence, Kind kind, std::int64_t amount, const std::wstring& note) {
    Record record;
    record.sequence = sequence, record.time = L"2026-12-09T18:00:00", record.kind = kind, record.total = amount;
    record.note = note;
    return FormatRecord(record);
}

std::string Sjis(const std::string& utf8) { return ToShiftJis(common::FromUtf8(utf8)); }

TEST(JournalEncoding, TheMarkOrTheFirstLineThatIsNotAsciiTellsTheEncodingAndTheOthersAreFound) {
    const std::string header = std::string(kHeader) + "\r\n";
    const std::string exchange = Money(1, Kind::In, 5000, L"両替");
    const std::string supplier = Money(2, Kind::Out, 2000, L"仕入れ");
    const std::string plain = Money(3, Kind::Out, 300, L"");
    struct Case {
        const char* what;
        std::string bytes;
        Encoding encoding;
        std::vector<std::int64_t> others;  // where the lines in the other encoding begin
    };
    const std::string sjisStart = header + Sjis(exchange);
    const std::string utf8Start = kByteOrderMark + header + exchange;
    const std::string lfLine = Sjis(supplier.substr(0, supplier.size() - 2) + "\n");
    const Case cases[] = {
        {"as the program writes it", utf8Start + supplier, Encoding::Utf8, {}},
        {"saved as CSV (コンマ区切り)", Sjis(header + exchange + supplier), Encoding::ShiftJis, {}},
        {"saved again with no note: as a spreadsheet reads it", header + plain, Encoding::ShiftJis, {}},
        {"saved as UTF-8 without the mark", header + exchange + supplier, Encoding::Utf8, {}},
        {"UTF-8 appended to a Shift_JIS file", sjisStart + plain + supplier, Encoding::ShiftJis,
         {static_cast<std::int64_t>(sjisStart.size() + plain.size())}},
        {"Shift_JIS after the mark", utf8Start + Sjis(supplier), Encoding::Utf8,
         {static_cast<std::int64_t>(utf8Start.size())}},
        {"LF line ends, the last line without one", header + lfLine + exchange.substr(0, exchange.size() - 2),
         Encoding::ShiftJis, {static_cast<std::int64_t>(header.size() + lfLine.size())}},
    };
    for (const Case& c : cases) {
        for (size_t chunk : {size_t{1}, size_t{2}, size_t{7}, c.bytes.size()}) {
            SCOPED_TRACE(std::string(c.what) + ", chunks of " + std::to_string(chunk));
            EncodingReader reader;
            for (size_t at = 0; at < c.bytes.size(); at += chunk)
                reader.Feed(std::string_view(c.bytes).substr(at, chunk));
            EXPECT_EQ(reader.Result(), c.encoding);
            std::vector<std::int64_t> others;
            for (const Finding& finding : reader.Findings()) others.push_back(finding.offset);
            EXPECT_EQ(others, c.others);
        }
    }
}

TEST(JournalEncoding, TheWordsSayWhatChangedNotThatAnythingWasLost) {
    struct Case {
        Encoding encoding;
        bool marked;
        const wchar_t *notice, *otherLine;
    };
    const Case cases[] = {
        {Encoding::ShiftJis, false,
         L"売上の記録のファイルが、表計算ソフトなどで Shift_JIS に保存し直されています。文字コードが変わっただけで、"
         L"記録はなくなっていません (Shift_JIS ではファイルが短くなります)。続きの記録も Shift_JIS で書き足します。",
         L"この行は UTF-8 で、ファイルのほかの行は Shift_JIS です"},
        {Encoding::Utf8, false,
         L"売上の記録のファイルが、表計算ソフトなどで UTF-8 (BOM なし) に保存し直されています。"
         L"記録はなくなっていません。続きの記録も UTF-8 で書き足します。",
         L"この行は Shift_JIS で、ファイルのほかの行は UTF-8 です"},
        {Encoding::Utf8, true,
         L"売上の記録のファイルが、表計算ソフトなどで保存し直されています (UTF-8)。日付などの書き方が変わっただけで、"
         L"記録はなくなっていません (ファイルが短くなることがあります)。続きの記録も UTF-8 で書き足します。",
         L"この行は Shift_JIS で、ファイルのほかの行は UTF-8 です"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResavedNotice(c.encoding, c.marked), c.notice);
        std::string other = c.encoding == Encoding::Utf8 ? Sjis(Money(2, Kind::Out, 1, L"仕入れ"))
                                                         : Money(2, Kind::Out, 1, L"仕入れ");
        std::string first = c.encoding == Encoding::Utf8 ? Money(1, Kind::In, 1, L"両替")
                                                         : Sjis(Money(1, Kind::In, 1, L"両替"));
        EncodingReader reader;
        reader.Feed(first + other);
        std::vector<Finding> found = reader.Findings();
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].what, c.otherLine);
    }
}

class ResavedJournalTest : public testing::Test {
protected:
    std::unique_ptr<Session> Open() {
        return std::make_unique<Session>(
            storage_, kFolder, [] { return common::DateTime{2026, 12, 9, 18, 0, 0}; }, ShiftJis());
    }
    std::string& Journal() { return storage_.files[kFolder + L"\\" + kJournalName]; }

    // A day the program wrote: a sale, a 入金 and an 出金 with their notes.
    void WriteDay() {
        std::unique_ptr<Session> session = Open();
        session->RecordSale(testing_support::SettledSale({{regi::TaxClass::Standard, 1100, 1, 1100}}, 2000));
        session->RecordMoney(Kind::In, 5000, L"両替");
        session->RecordMoney(Kind::Out, 2000, L"仕入れ");
        storage_.Release();
    }
    // As a spreadsheet saves it as "CSV (コンマ区切り)": Shift_JIS, no mark.
    void SaveInShiftJis() { Journal() = Sjis(Journal().substr(3)); }
    // As a spreadsheet saves it as "CSV UTF-8": the mark kept, the times in its own form.
    void SaveAsCsvUtf8() {
        const std::string time = "2026-12-09T18:00:00";
        for (size_t at = Journal().find(time); at != std::string::npos; at = Journal().find(time, at))
            Journal().replace(at, time.size(), "2026/12/9 18:00");
    }

    MemoryStorage storage_;
};

TEST_F(ResavedJournalTest, AJournalSavedInShiftJisIsToldOnceAndGetsShiftJisRows) {
    WriteDay();
    SaveInShiftJis();
    std::unique_ptr<Session> session = Open();
    session->Load();
    EXPECT_EQ(session->StartMessages(), std::vector<std::wstring>()) << "nothing was lost: no word of a shorter file";
    EXPECT_EQ(session->StartNotices(), std::vector<std::wstring>{ResavedNotice(Encoding::ShiftJis) + L"\r\n" +
                                                                 session->Path()});
    EXPECT_EQ(session->JournalEncoding(), Encoding::ShiftJis);
    ASSERT_EQ(session->CurrentPeriod().notes.size(), 2u);
    EXPECT_EQ(session->CurrentPeriod().notes[0].note, L"両替") << "read in its own encoding";

    const std::string before = Journal();
    session->RecordMoney(Kind::Out, 700, L"切手 ８４円");
    const std::string added = Journal().substr(before.size());
    EXPECT_EQ(Journal().substr(0, before.size()), before) << "never rewritten";
    EXPECT_EQ(added, Sjis(Money(5, Kind::Out, 700, L"切手 ８４円")));
    EXPECT_NE(added.find("\x90\xD8\x8E\xE8"), std::string::npos) << "切手 in Shift_JIS";
    EncodingReader whole;
    whole.Feed(Journal());
    EXPECT_EQ(whole.Result(), Encoding::ShiftJis);
    EXPECT_TRUE(whole.Findings().empty()) << "the whole file reads in one encoding";
    storage_.Release();

    // Once the program has written to it as it now is, there is nothing more to tell.
    std::unique_ptr<Session> next = Open();
    next->Load();
    EXPECT_TRUE(next->StartNotices().empty());
    EXPECT_TRUE(next->StartMessages().empty());
    ASSERT_EQ(next->CurrentPeriod().notes.size(), 3u);
    EXPECT_EQ(next->CurrentPeriod().notes[2].note, L"切手 ８４円");
    next->RecordMoney(Kind::In, 100, L"釣銭");
    EXPECT_EQ(Journal().substr(Journal().size() - 6), "\x92\xDE\x91\x4B\r\n") << "釣銭 in Shift_JIS";
}

TEST_F(ResavedJournalTest, AJournalSavedAgainAsCsvUtf8IsShorterInWordsOnlyWhenItLostRecords) {
    for (bool lastRowDeleted : {false, true}) {
        SCOPED_TRACE(lastRowDeleted ? "its last row deleted: told as shorter" : "nothing lost: told as saved again");
        storage_.files.clear();
        WriteDay();
        const size_t written = Journal().size();
        if (lastRowDeleted) Journal().erase(Journal().rfind("\r\n", Journal().size() - 3) + 2);
        SaveAsCsvUtf8();
        std::unique_ptr<Session> session = Open();
        session->Load();
        if (lastRowDeleted) {
            EXPECT_EQ(session->StartMessages(),
                      std::vector<std::wstring>{
                          L"売上の記録がこのプログラムの外で変更されています。記録のファイルはそのままです。\r\n"
                          L"記録のファイルが前回書いたときより短くなっています (" +
                          std::to_wstring(written) + L" バイトから " + std::to_wstring(Journal().size()) +
                          L" バイトに)\r\n最後の記録がありません: 番号 4"});
            EXPECT_TRUE(session->StartNotices().empty()) << "never that nothing was lost";
        } else {
            EXPECT_TRUE(session->StartMessages().empty()) << "nothing was lost: no word of a shorter file";
            EXPECT_EQ(session->StartNotices(),
                      std::vector<std::wstring>{ResavedNotice(Encoding::Utf8, true) + L"\r\n" + session->Path()});
        }
        EXPECT_EQ(session->JournalEncoding(), Encoding::Utf8);
        storage_.Release();
    }
}

TEST_F(ResavedJournalTest, AFileHoldingBothEncodingsIsToldWithItsLineNumbersAndLeftAsItIs) {
    WriteDay();
    SaveInShiftJis();
    // What an earlier version appended: UTF-8 rows after the Shift_JIS ones.
    Journal() += Money(5, Kind::Out, 300, L"文具");
    const std::string mixed = Journal();
    std::unique_ptr<Session> session = Open();
    session->Load();
    ASSERT_EQ(session->StartMessages().size(), 1u);
    EXPECT_EQ(session->StartMessages()[0],
              L"売上の記録がこのプログラムの外で変更されています。記録のファイルはそのままです。\r\n"
              L"6 行目: この行は UTF-8 で、ファイルのほかの行は Shift_JIS です");
    EXPECT_EQ(Journal(), mixed);
    EXPECT_EQ(session->JournalEncoding(), Encoding::ShiftJis) << "the encoding of the file's first notes";
}

TEST_F(ResavedJournalTest, AJournalAsTheProgramWritesItIsReadOnlyFromItsEnd) {
    WriteDay();
    storage_.bytesRead = 0;
    std::unique_ptr<Session> session = Open();
    session->Load();
    EXPECT_EQ(session->JournalEncoding(), Encoding::Utf8);
    EXPECT_TRUE(session->StartNotices().empty());
    // The mark and one backward reading: no reading for the encoding.
    EXPECT_EQ(storage_.bytesRead, static_cast<std::int64_t>(Journal().size() + 3));
}

}  // namespace
