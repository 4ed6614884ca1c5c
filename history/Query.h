#pragma once
// The sales history's questions to the journal, without Windows: the sales a
// date range, a sale's number, an amount or a department picks, read from the
// journal as it stands one sale at a time, so that a year's journal costs no
// more memory than a day's. Nothing here writes to the journal.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "journal/Session.h"
#include "receipt/ReceiptSettings.h"
#include "sale/Department.h"
#include "sale/SaleRecord.h"

namespace history {

struct Date {
    int year = 0, month = 0, day = 0;
};
// Days since 1970-01-01 (earlier days below 0), and back.
std::int64_t DayNumber(const Date& date);
Date DateOfDay(std::int64_t day);
std::wstring DateText(const Date& date);  // "2026-12-08"

// Whole days, from and to both included.
struct DateRange {
    Date from, to;
    std::int64_t Days() const { return DayNumber(to) - DayNumber(from) + 1; }
};

// A range as the operator types it: a day "2026-12-08" (or 2026/12/8), a month
// "2026-12", a year "2026", or two of them joined by "～" or "~"; digits in
// either width. Nothing for anything else.
std::optional<DateRange> ParseDateRange(const std::wstring& text);

// What a sale must be to be listed; what is not given picks every sale.
struct Query {
    std::optional<DateRange> range;
    std::int64_t number = 0;             // 0: any
    std::optional<std::int64_t> amount;  // the sale's total
    std::optional<int> department;       // a line of this department (0: a class's own)
};

// The four fields as typed.
struct QueryTexts {
    std::wstring range, number, amount, department;
};

// The query the fields ask for; raises common::Error with the operator's words
// for a field that does not read or a department the shop does not have.
Query ReadQuery(const QueryTexts& texts, const regi::Departments& departments);

// Whether the sale is one the query asks for (its number aside, which picks by itself).
bool Matches(const Query& query, const regi::SaleRecord& sale);

// The sales (cancels left out) the query picks, in the journal's order, each
// put together with its lines, discounts and tenders and handed to take, which
// returns false to stop. A number is found through the journal's index; a
// range is read from its first day's first sale on to the journal's end (a
// sale after a clock set back may still lie in it); anything else reads the
// whole journal. Raises common::Error when the journal cannot be read.
void EachSale(journal::Session& journal, const Query& query,
              const std::function<bool(const journal::FoundSale& found)>& take);

// A sale as a row of the list: "No.124  2026-12-08 21:07  3点  ¥2,480".
std::wstring ListRow(const regi::SaleRecord& sale);

// The listed sales as a spreadsheet reads them: the header and one row per
// sale, each ending in CRLF (the file starts with UTF-8's byte-order mark).
extern const char kCsvHeader[];
std::string CsvRow(const regi::SaleRecord& sale);

// A sale found by number as the detail shows it: its receipt as text (lines,
// discounts, taxes, tenders), then what went back of it, return by return.
std::wstring DetailText(const journal::FoundSale& found, const receipt::Settings& settings);

}  // namespace history
