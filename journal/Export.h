#pragma once
// A closed day's sales as journal entries for an accounting program, without
// Windows: one compound entry per Z (debit 現金 for the cash, 売掛金 with a
// sub-account per other tender; credit 売上高 per tax category and rate after
// discounts and returns), and 入金 and 出金 as entries of their own. Amounts
// are never negative: a side that comes out below zero goes to the other one.
// Each program's file is written by its own row builder:
//   弥生会計: its import format (弥生会計 05 and later, 25 columns, identification
//     flags 2000 for a one-row entry, 2110/2100/2101 for the first, middle and
//     last rows of a slip), no header, Shift_JIS;
//   freee: its journal import (日付, 伝票番号 and the debit and credit columns
//     under a header; rows of one date and slip number make one entry), UTF-8;
//   Money Forward クラウド会計: its journal import (the template's 27 columns A
//     to AA under its header; rows of one 取引No and 取引日 whose sides balance
//     make one entry), Shift_JIS.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/Kept.h"
#include "journal/Period.h"
#include "journal/Storage.h"

namespace journal {

enum class Program { Yayoi, Freee, MoneyForward };
constexpr int kPrograms = 3;
// The program's name as the shop knows it ("弥生会計", "freee", "マネーフォワード").
const wchar_t* ProgramName(Program program);
// Whether its file is Shift_JIS (else UTF-8 without the byte-order mark).
bool ShiftJisFile(Program program);

// The accounts and tax categories the entries are written with. In a tax
// category "{rate}" stands for the rate ("課税売上込{rate}%" -> "課税売上込10%").
struct BookNames {
    std::wstring cash, receivable, sales, moneyIn, moneyOut;
    std::wstring standard, reduced, exempt, outside;  // tax categories: 10 %, 8 %, exempt, none
};
// What each program's ledger calls them out of the box.
BookNames DefaultBookNames(Program program);
// The names with the shop's own from the settings' [Books] lines ("Cash=現金",
// "YayoiStandard=課税売上込{rate}%", one a line); a line that does not read
// (an unknown name, an empty value, a comma, quote or control character, a
// tax category of a rate without "{rate}") is an error that names it, and
// nothing is written while there is one.
struct BookNamesRead {
    BookNames names;
    std::vector<std::wstring> errors;
};
BookNamesRead ReadBookNames(Program program, std::wstring_view lines);

// A Z's period and its time, as the journal has them.
struct ClosedDay {
    std::int64_t z = 0;
    std::wstring time;  // of its z record, "2026-12-08T21:07:56"
    Period period;
};

// One line of an entry: its side, account, sub-account, tax category, amount and the tax in it.
struct EntryLine {
    bool debit = true;
    std::wstring account, sub, category;
    std::int64_t amount = 0, tax = 0;
};
struct Entry {
    std::wstring date;  // "2026/12/08"
    std::wstring memo;  // 摘要
    std::vector<EntryLine> lines;
};
// The entries of one closed day; tenderNames: the other tenders' names, tender n at n - 1.
std::vector<Entry> DayEntries(const ClosedDay& day, const BookNames& names,
                              const std::vector<std::wstring>& tenderNames);

// The file's rows for the entries, CRLF after each, header included where
// the program has one. Entries are numbered from 1 where the program numbers them.
std::wstring BookRows(Program program, const std::vector<Entry>& entries);

// The Z's of numbers first to last as the journal has them, read from its start.
// partials: what failed writes left; decode: a Shift_JIS journal's lines.
// Nothing when the journal cannot be read.
std::optional<std::vector<ClosedDay>> ReadClosedDays(Storage& storage, const std::wstring& path,
                                                     const std::vector<ByteRange>& partials,
                                                     const std::function<std::wstring(std::string_view)>& decode,
                                                     std::int64_t first, std::int64_t last);

}  // namespace journal
