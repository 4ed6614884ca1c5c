#include "history/Query.h"

#include "common/Error.h"
#include "common/MessageText.h"
#include "common/WholeNumber.h"
#include "common/Calendar.h"
#include "journal/SaleIndex.h"
#include "receipt/Receipt.h"
#include "sale/Money.h"

namespace history {

namespace {

const wchar_t kRangeUnreadable[] =
    L"期間「%s」が読めません｡\r\n例: 2026-12-08 (一日)、2026-12 (一月)、2026 (一年)、2026-12-01～2026-12-31";
const wchar_t kNumberUnreadable[] = L"番号「%s」が読めません｡レシートの No. の数字を入れて下さい｡";
const wchar_t kAmountUnreadable[] = L"金額「%s」が読めません｡例: 1080、1,080、¥1,080";
const wchar_t kNoDepartment[] = L"部門「%s」はありません｡部門の番号 (1～99) か名前を入れて下さい｡";

// More parts of one number than a sale can have are junk.
constexpr size_t kMaxParts = 4 * regi::kMaxLines;

std::wstring Trimmed(const std::wstring& text) {
    const wchar_t* blanks = L" \t\u3000";
    size_t begin = text.find_first_not_of(blanks);
    if (begin == std::wstring::npos) return L"";
    return text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

// "2026", "2026-12", "2026-12-08" (or with "/"), digits in either width: the
// first and the last day it covers.
std::optional<DateRange> ParsePeriod(const std::wstring& text) {
    std::vector<int> parts(1, 0);
    std::vector<int> digits(1, 0);
    for (wchar_t c : text) {
        int digit = common::DigitValue(c);
        if (digit >= 0) {
            if (++digits.back() > 4) return std::nullopt;
            parts.back() = parts.back() * 10 + digit;
        } else if (c == L'-' || c == L'/' || c == L'－' || c == L'／') {
            parts.push_back(0);
            digits.push_back(0);
        } else {
            return std::nullopt;
        }
    }
    if (parts.size() > 3 || digits[0] != 4) return std::nullopt;
    for (size_t i = 1; i < digits.size(); ++i)
        if (digits[i] < 1 || digits[i] > 2) return std::nullopt;
    const int year = parts[0];
    if (year < 1970 || year > 9999) return std::nullopt;
    if (parts.size() == 1) return DateRange{{year, 1, 1}, {year, 12, 31}};
    const int month = parts[1];
    if (month < 1 || month > 12) return std::nullopt;
    if (parts.size() == 2) return DateRange{{year, month, 1}, {year, month, common::DaysInMonth(year, month)}};
    const int day = parts[2];
    if (day < 1 || day > common::DaysInMonth(year, month)) return std::nullopt;
    return DateRange{{year, month, day}, {year, month, day}};
}

bool InRange(const DateRange& range, const std::wstring& time) {
    std::optional<common::DateTime> at = common::ParseDateTime(time);
    if (!at) return false;
    const std::int64_t day = DayNumber({at->year, at->month, at->day});
    return day >= DayNumber(range.from) && day <= DayNumber(range.to);
}

// Reads the journal's lines forward and hands on each sale put together with
// the parts that stood before its record.
class SaleStream {
public:
    SaleStream(const Query& query, const std::function<bool(const journal::FoundSale&)>& take)
        : query_(query), take_(take) {}
    bool Line(std::string_view line, std::int64_t offset) {
        std::optional<journal::LineSketch> sketch = journal::SketchLine(line);
        if (!sketch) return true;
        if (journal::IsSalePart(sketch->kind)) {
            if (sketch->sale != partsOf_ || parts_.size() >= kMaxParts) {
                parts_.clear();
                partsOf_ = sketch->sale;
            }
            parts_.emplace_back(line);
            return true;
        }
        if (sketch->kind != journal::Kind::Sale) return true;
        std::optional<journal::Record> record = journal::ParseRecord(line);
        bool more = true;
        if (record && Picks(*record)) {
            journal::FoundSale found =
                journal::AssembleSale(*record, offset, partsOf_ == record->sale ? parts_ : std::vector<std::string>());
            more = !Matches(query_, found.sale) || take_(found);
        }
        parts_.clear();
        partsOf_ = 0;
        return more;
    }

private:
    // What the sale record alone tells, before its parts are put together.
    bool Picks(const journal::Record& record) const {
        return (!query_.range || InRange(*query_.range, record.time)) &&
               (!query_.amount || record.total == *query_.amount);
    }
    const Query& query_;
    const std::function<bool(const journal::FoundSale&)>& take_;
    std::int64_t partsOf_ = 0;
    std::vector<std::string> parts_;
};

}  // namespace

// Days from the civil date, after Howard Hinnant's algorithm.
std::int64_t DayNumber(const Date& date) {
    const std::int64_t y = date.year - (date.month <= 2);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

Date DateOfDay(std::int64_t day) {
    day += 719468;
    const std::int64_t era = (day >= 0 ? day : day - 146096) / 146097;
    const std::int64_t dayOfEra = day - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const int d = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yearOfEra + era * 400 + (m <= 2)), m, d};
}

std::wstring DateText(const Date& date) {
    wchar_t text[16];
    swprintf(text, 16, L"%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

std::optional<DateRange> ParseDateRange(const std::wstring& text) {
    const std::wstring range = Trimmed(text);
    size_t join = range.find_first_of(L"～〜~");
    if (join == std::wstring::npos) return ParsePeriod(range);
    std::optional<DateRange> from = ParsePeriod(Trimmed(range.substr(0, join)));
    std::optional<DateRange> to = ParsePeriod(Trimmed(range.substr(join + 1)));
    if (!from || !to) return std::nullopt;
    return DateRange{from->from, to->to};
}

Query ReadQuery(const QueryTexts& texts, const regi::Departments& departments) {
    Query query;
    if (std::wstring range = Trimmed(texts.range); !range.empty()) {
        query.range = ParseDateRange(range);
        if (!query.range) throw common::Error(common::FormatMessageText(kRangeUnreadable, range));
        if (query.range->Days() < 1)
            throw common::Error(L"期間の始め " + DateText(query.range->from) + L" が終わり " +
                                DateText(query.range->to) + L" より後です｡");
    }
    if (std::wstring number = Trimmed(texts.number); !number.empty()) {
        std::optional<std::int64_t> read = common::ParseTypedAmount(number, common::kMaxAmount);
        if (!read || *read < 1) throw common::Error(common::FormatMessageText(kNumberUnreadable, number));
        query.number = *read;
    }
    if (std::wstring amount = Trimmed(texts.amount); !amount.empty()) {
        query.amount = common::ParseTypedAmount(amount, common::kMaxAmount);
        if (!query.amount) throw common::Error(common::FormatMessageText(kAmountUnreadable, amount));
    }
    if (std::wstring department = Trimmed(texts.department); !department.empty()) {
        std::optional<std::int64_t> number = common::ParseTypedAmount(department, regi::kMaxDepartment);
        if (number && *number >= 1) {
            query.department = static_cast<int>(*number);
        } else {
            for (const regi::Department& named : departments.named)
                if (named.name == department) query.department = named.number;
            for (int c = 0; c < 3 && !query.department; ++c)
                if (departments.NameOf(regi::kClassDepartment, static_cast<regi::TaxClass>(c)) == department)
                    query.department = regi::kClassDepartment;
        }
        if (!query.department) throw common::Error(common::FormatMessageText(kNoDepartment, department));
    }
    return query;
}

bool Matches(const Query& query, const regi::SaleRecord& sale) {
    if (query.range && !InRange(*query.range, sale.time)) return false;
    if (query.amount && sale.taxes.Total() != *query.amount) return false;
    if (!query.department) return true;
    for (const regi::LineRecord& line : sale.lines)
        if (line.department == *query.department) return true;
    return false;
}

void EachSale(journal::Session& journal, const Query& query,
              const std::function<bool(const journal::FoundSale& found)>& take) {
    if (query.number != 0) {
        std::optional<journal::FoundSale> found = journal.FindSale(query.number);
        if (found && !found->cancelled && Matches(query, found->sale)) take(*found);
        return;
    }
    std::int64_t size = 0;
    journal::Status sized = journal.Files().Size(journal.Path(), size);
    if (sized.fault == journal::Fault::Missing) return;
    if (!sized) throw common::Error(L"売上の記録を読めません\r\n" + journal.Path() + L"\r\n" + sized.reason);
    SaleStream stream(query, take);
    std::int64_t from = 0;
    if (query.range) {
        // Before the first sale at or after the range's start, every sale is earlier.
        const Date& day = query.range->from;
        std::optional<journal::FoundSale> first = journal.FindSaleAt({day.year, day.month, day.day, 0, 0, 0});
        if (!first) return;
        if (!first->cancelled && Matches(query, first->sale) && !take(*first)) return;
        from = first->offset;
    }
    journal::EachJournalLine(journal.Files(), journal.Path(), from, size,
                             [&](std::string_view line, std::int64_t offset) {
                                 return (query.range && offset == from) || stream.Line(line, offset);
                             });
}

std::wstring ListRow(const regi::SaleRecord& sale) {
    std::wstring time = sale.time.substr(0, 16);
    if (time.size() > 10) time[10] = L' ';
    return L"No." + std::to_wstring(sale.number) + L"  " + time + L"  " + std::to_wstring(sale.lines.size()) + L"点  " +
           regi::FormatMoney(sale.taxes.Total());
}

const char kCsvHeader[] = "sale,time,lines,total,standard amount,reduced amount,exempt,tendered,change";

std::string CsvRow(const regi::SaleRecord& sale) {
    std::string row = std::to_string(sale.number) + ",";
    for (wchar_t c : sale.time) row += c < 0x80 ? static_cast<char>(c) : '?';
    const regi::TaxTotals& taxes = sale.taxes;
    for (std::int64_t value : {static_cast<std::int64_t>(sale.lines.size()), taxes.Total(), taxes.standardAmount,
                               taxes.reducedAmount, taxes.exemptAmount, sale.tendered, sale.change})
        row += "," + std::to_string(value);
    return row + "\r\n";
}

std::wstring DetailText(const journal::FoundSale& found, const receipt::Settings& settings) {
    const int columns = settings.Columns();
    std::wstring text = receipt::PlainText(receipt::ReceiptLines(found.sale, settings, false), columns);
    if (!found.complete) text += L"\r\n※ この売上の記録は一部が読めません｡\r\n";
    for (const journal::Record& later : found.later) {
        if (later.kind == journal::Kind::ReturnLine) {
            const regi::LineRecord line = journal::LineOf(later);
            text += L"  " + std::to_wstring(later.line) + L"行目 " +
                    settings.departments.NameOf(line.department, line.taxClass) + L"  " +
                    regi::FormatMoney(-later.subtotal) + L"\r\n";
        } else if (later.kind == journal::Kind::Return) {
            std::wstring time = later.time.substr(0, 16);
            if (time.size() > 10) time[10] = L' ';
            text += L"返品 " + time + L"  計 " + regi::FormatMoney(-later.total) + L"\r\n";
        }
    }
    return text;
}

}  // namespace history
