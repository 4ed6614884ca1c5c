#include "journal/Period.h"

#include <algorithm>

#include "common/Error.h"
#include "common/MessageText.h"
#include "common/Utf8.h"
#include "journal/ReturnRecords.h"
#include "sale/Money.h"

namespace journal {

namespace {

using regi::CheckedAdd;

// Adds value to sum; false, and sum as it was, when it would leave 64 bits.
bool AddTo(std::int64_t& sum, std::int64_t value) {
    std::optional<std::int64_t> added = CheckedAdd(sum, value);
    if (added) sum = *added;
    return added.has_value();
}

std::int64_t One(const Record&) { return 1; }
std::int64_t Total(const Record& record) { return record.total; }
std::int64_t Subtotal(const Record& record) { return record.subtotal; }

const std::vector<PeriodSum> kSums = {
    {&Period::sales, "sales", Kind::Sale, One, &Record::sales, true},
    {&Period::lines, "lines", Kind::Sale, [](const Record& r) { return r.lines; }, &Record::lines, true},
    {&Period::total, "total", Kind::Sale, Total, &Record::total, true},
    {&Period::exempt, "exempt", Kind::Sale, [](const Record& r) { return r.exemptAmount; }, &Record::exemptAmount,
     true},
    {&Period::voids, "voids", Kind::Void, One, &Record::voids, true},
    {&Period::voidAmount, "void amount", Kind::Void, Subtotal, &Record::voidAmount, true},
    {&Period::cancels, "cancels", Kind::Cancel, One, &Record::cancels, true},
    {&Period::cancelAmount, "cancel amount", Kind::Cancel, Total, &Record::cancelAmount, true},
    {&Period::negatives, "negatives", Kind::Line, [](const Record& r) -> std::int64_t { return r.subtotal < 0; },
     &Record::negatives, true},
    {&Period::negativeAmount, "negative amount", Kind::Line,
     [](const Record& r) { return std::min<std::int64_t>(r.subtotal, 0); }, &Record::negativeAmount, true},
    // A sale that took and gave no cash was paid by the other tenders alone.
    {&Period::cashlessSales, "cashless sales", Kind::Sale,
     [](const Record& r) -> std::int64_t { return r.tendered == 0 && r.change == 0; }, nullptr, false},
    {&Period::returned, "returned", Kind::Returned, One, nullptr, false},
    {&Period::returnedAmount, "returned amount", Kind::Returned, Total, nullptr, false},
    {&Period::moneyIn, "money in", Kind::In, Total, nullptr, false},
    {&Period::moneyOut, "money out", Kind::Out, Total, nullptr, false},
    {&Period::moneyIns, "money ins", Kind::In, One, nullptr, false},
    {&Period::moneyOuts, "money outs", Kind::Out, One, nullptr, false},
    {&Period::drawerCommands, "drawer openings", Kind::Drawer, One, nullptr, false},  // the name of earlier checkpoints
    {&Period::yenOffs, "yen offs", Kind::YenOff, [](const Record& r) { return r.quantity; }, nullptr, false},
    {&Period::yenOffAmount, "yen off amount", Kind::YenOff, [](const Record& r) { return -r.subtotal; }, nullptr,
     false},
    {&Period::percentOffs, "percent offs", Kind::PercentOff, [](const Record& r) { return r.quantity; }, nullptr,
     false},
    {&Period::percentOffAmount, "percent off amount", Kind::PercentOff, [](const Record& r) { return -r.subtotal; },
     nullptr, false},
    {&Period::returns, "returns", Kind::Return, One, nullptr, false},
    {&Period::returnAmount, "return amount", Kind::Return, Total, nullptr, false},
    {&Period::returnCash, "return cash", Kind::Return, [](const Record& r) { return r.change; }, nullptr, false},
    {&Period::returnExempt, "return exempt", Kind::Return, [](const Record& r) { return r.exemptAmount; }, nullptr,
     false},
};

// Period::departments: each department's quantity and amount, by number then class.
bool ByDepartment(const DepartmentTotal& a, const DepartmentTotal& b) {
    return a.number != b.number ? a.number < b.number : a.taxClass < b.taxClass;
}

bool AddToDepartment(std::vector<DepartmentTotal>& departments, const DepartmentTotal& added) {
    auto place = std::lower_bound(departments.begin(), departments.end(), added, ByDepartment);
    if (place == departments.end() || place->number != added.number || place->taxClass != added.taxClass)
        place = departments.insert(place, DepartmentTotal{added.number, added.taxClass, 0, 0});
    return AddTo(place->quantity, added.quantity) && AddTo(place->amount, added.amount);
}

// The departments' sales from their lines, their returns from the lines given back.
template <std::vector<DepartmentTotal> Period::*totals, Kind kind>
bool AddDepartment(Period& period, const Record& record) {
    if (record.kind != kind) return true;
    return AddToDepartment(period.*totals,
                           {static_cast<int>(record.department), record.taxClass, record.quantity, record.subtotal});
}

template <std::vector<DepartmentTotal> Period::*totals>
bool MergeDepartments(Period& period, const Period& earlier) {
    for (const DepartmentTotal& total : earlier.*totals)
        if (!AddToDepartment(period.*totals, total)) return false;
    return true;
}

template <std::vector<DepartmentTotal> Period::*totals>
std::vector<std::vector<std::int64_t>> DepartmentLines(const Period& period) {
    std::vector<std::vector<std::int64_t>> lines;
    for (const DepartmentTotal& total : period.*totals)
        lines.push_back({total.number, static_cast<int>(total.taxClass), total.quantity, total.amount});
    return lines;
}

template <std::vector<DepartmentTotal> Period::*totals>
bool RestoreDepartment(Period& period, const std::vector<std::int64_t>& line) {
    if (line[0] < 0 || line[0] > regi::kMaxDepartment || line[1] < 0 || line[1] > 2) return false;
    return AddToDepartment(period.*totals,
                           {static_cast<int>(line[0]), static_cast<regi::TaxClass>(line[1]), line[2], line[3]});
}

// Period::products: each product's quantity and amount, by code.
bool AddToProduct(Period& period, const ProductTotal& added) {
    auto place = std::lower_bound(period.products.begin(), period.products.end(), added,
                                  [](const ProductTotal& a, const ProductTotal& b) { return a.code < b.code; });
    if (place == period.products.end() || place->code != added.code)
        place = period.products.insert(place, ProductTotal{added.code, 0, 0});
    return AddTo(place->quantity, added.quantity) && AddTo(place->amount, added.amount);
}

bool AddProduct(Period& period, const Record& record) {
    if (record.kind != Kind::Line || record.product.empty()) return true;
    return AddToProduct(period, {std::stoll(record.product), record.quantity, record.subtotal});
}

bool MergeProducts(Period& period, const Period& earlier) {
    for (const ProductTotal& total : earlier.products)
        if (!AddToProduct(period, total)) return false;
    return true;
}

std::vector<std::vector<std::int64_t>> ProductLines(const Period& period) {
    std::vector<std::vector<std::int64_t>> lines;
    for (const ProductTotal& total : period.products) lines.push_back({total.code, total.quantity, total.amount});
    return lines;
}

bool RestoreProduct(Period& period, const std::vector<std::int64_t>& line) {
    if (line[0] < 0 || line[0] > 9'999'999'999'999) return false;
    return AddToProduct(period, {line[0], line[1], line[2]});
}

// Period::tenders: tender n's sales and amount; Period::refunds: what returns gave back to it.
using Tenders = TenderTotal (Period::*)[regi::kMaxTenders];

template <Tenders tenders, Kind kind>
bool AddTender(Period& period, const Record& record) {
    if (record.kind != kind) return true;
    TenderTotal& tender = (period.*tenders)[record.line - 1];  // line 1 to 4, read so
    return AddTo(tender.sales, 1) && AddTo(tender.amount, record.total);
}

template <Tenders tenders>
bool MergeTenders(Period& period, const Period& earlier) {
    for (int i = 0; i < regi::kMaxTenders; ++i)
        if (!AddTo((period.*tenders)[i].sales, (earlier.*tenders)[i].sales) ||
            !AddTo((period.*tenders)[i].amount, (earlier.*tenders)[i].amount))
            return false;
    return true;
}

template <Tenders tenders>
std::vector<std::vector<std::int64_t>> TenderLines(const Period& period) {
    std::vector<std::vector<std::int64_t>> lines;
    for (int n = 1; n <= regi::kMaxTenders; ++n) {
        const TenderTotal& tender = (period.*tenders)[n - 1];
        if (tender.sales != 0 || tender.amount != 0) lines.push_back({n, tender.sales, tender.amount});
    }
    return lines;
}

template <Tenders tenders>
bool RestoreTender(Period& period, const std::vector<std::int64_t>& line) {
    if (line[0] < 1 || line[0] > regi::kMaxTenders) return false;
    (period.*tenders)[line[0] - 1] = {line[1], line[2]};
    return true;
}

// Period::taxable: each class's amount and tax at each rate, standard before
// reduced, each by rate.
bool Before(const RateTotal& a, const RateTotal& b) {
    return a.taxClass != b.taxClass ? a.taxClass == regi::TaxClass::Standard : a.rate < b.rate;
}

bool AddRate(std::vector<RateTotal>& taxable, const RateTotal& added) {
    if (added.amount == 0 && added.tax == 0) return true;
    auto place = std::lower_bound(taxable.begin(), taxable.end(), added, Before);
    if (place == taxable.end() || place->taxClass != added.taxClass || place->rate != added.rate)
        place = taxable.insert(place, RateTotal{added.taxClass, added.rate, 0, 0});
    return AddTo(place->amount, added.amount) && AddTo(place->tax, added.tax);
}

// Whether the taxes add up inside 64 bits, so that Period::Tax never leaves them.
bool TaxFits(const std::vector<RateTotal>& taxable) {
    std::int64_t tax = 0;
    for (const RateTotal& rate : taxable)
        if (!AddTo(tax, rate.tax)) return false;
    return true;
}

// Period::taxable from the sales, Period::returnTaxable from the returns.
template <std::vector<RateTotal> Period::*rates, Kind kind>
bool AddTaxable(Period& period, const Record& record) {
    if (record.kind != kind) return true;
    return AddRate(period.*rates,
                   {regi::TaxClass::Standard, record.standardRate, record.standardAmount, record.standardTax}) &&
           AddRate(period.*rates,
                   {regi::TaxClass::Reduced, record.reducedRate, record.reducedAmount, record.reducedTax}) &&
           TaxFits(period.*rates);
}

template <std::vector<RateTotal> Period::*rates>
bool MergeTaxable(Period& period, const Period& earlier) {
    for (const RateTotal& rate : earlier.*rates)
        if (!AddRate(period.*rates, rate)) return false;
    return TaxFits(period.*rates);
}

template <std::vector<RateTotal> Period::*rates>
std::vector<std::vector<std::int64_t>> TaxableLines(const Period& period) {
    std::vector<std::vector<std::int64_t>> lines;
    for (const RateTotal& rate : period.*rates)
        lines.push_back({static_cast<int>(rate.taxClass), rate.rate, rate.amount, rate.tax});
    return lines;
}

template <std::vector<RateTotal> Period::*rates>
bool RestoreRate(Period& period, const std::vector<std::int64_t>& line) {
    auto taxClass = static_cast<regi::TaxClass>(line[0]);
    if (taxClass != regi::TaxClass::Standard && taxClass != regi::TaxClass::Reduced) return false;
    (period.*rates).push_back({taxClass, line[1], line[2], line[3]});
    return true;
}

// An x or z record carries each class's sums over its rates.
void ReportTaxable(const Period& period, Record& report) {
    for (const RateTotal& rate : period.taxable) {
        bool standard = rate.taxClass == regi::TaxClass::Standard;
        (standard ? report.standardAmount : report.reducedAmount) += rate.amount;
        (standard ? report.standardTax : report.reducedTax) += rate.tax;
    }
}

// A rate's class is written as the journal's word for it.
const std::vector<const char*> kClassWords(std::begin(kClassNames), std::end(kClassNames));

constexpr Tenders kTenders = &Period::tenders, kRefunds = &Period::refunds;

const std::vector<PeriodTable> kTables = {
    {"tender",
     1,
     2,
     {},
     AddTender<kTenders, Kind::Tender>,
     MergeTenders<kTenders>,
     TenderLines<kTenders>,
     RestoreTender<kTenders>,
     nullptr},
    {"taxable", 2, 2, kClassWords, AddTaxable<&Period::taxable, Kind::Sale>, MergeTaxable<&Period::taxable>,
     TaxableLines<&Period::taxable>, RestoreRate<&Period::taxable>, ReportTaxable},
    {"department",
     2,
     2,
     {},
     AddDepartment<&Period::departments, Kind::Line>,
     MergeDepartments<&Period::departments>,
     DepartmentLines<&Period::departments>,
     RestoreDepartment<&Period::departments>,
     nullptr},
    {"refund",
     1,
     2,
     {},
     AddTender<kRefunds, Kind::Refund>,
     MergeTenders<kRefunds>,
     TenderLines<kRefunds>,
     RestoreTender<kRefunds>,
     nullptr},
    {"return taxable", 2, 2, kClassWords, AddTaxable<&Period::returnTaxable, Kind::Return>,
     MergeTaxable<&Period::returnTaxable>, TaxableLines<&Period::returnTaxable>, RestoreRate<&Period::returnTaxable>,
     nullptr},
    {"return department",
     2,
     2,
     {},
     AddDepartment<&Period::departmentReturns, Kind::ReturnLine>,
     MergeDepartments<&Period::departmentReturns>,
     DepartmentLines<&Period::departmentReturns>,
     RestoreDepartment<&Period::departmentReturns>,
     nullptr},
    {"product", 1, 2, {}, AddProduct, MergeProducts, ProductLines, RestoreProduct, nullptr},
};

// Puts a noted record among the notes in the journal's order: a backward
// reading adds the latest first.
void AddNote(std::vector<Record>& notes, const Record& record) {
    auto place = std::upper_bound(notes.begin(), notes.end(), record.sequence,
                                  [](std::int64_t sequence, const Record& note) { return sequence < note.sequence; });
    notes.insert(place, record);
}

// The records that take a sale's number: a void's sale is still open, and
// lines, tenders and money have the number of none or of their sale record.
bool TakesSaleNumber(Kind kind) {
    return kind == Kind::Sale || kind == Kind::Cancel || kind == Kind::X || kind == Kind::Z;
}

}  // namespace

const std::vector<PeriodSum>& PeriodSums() { return kSums; }
const std::vector<PeriodTable>& PeriodTables() { return kTables; }

std::wstring UnreadableLinesMessage(int count) {
    return L"売上の記録に読めない行が " + std::to_wstring(count) + L" 行あります";
}

namespace {

const wchar_t kJunkLine[] = L"売上の記録として読めない行です";
const wchar_t kTooLarge[] = L"金額が集計できる範囲を超えるため、集計に入れていない行です";

Record Numbered(std::int64_t sequence, const std::wstring& time, Kind kind) {
    Record record;
    record.sequence = sequence;
    record.time = time;
    record.kind = kind;
    return record;
}

Record TenderRecord(std::int64_t sequence, const std::wstring& time, Kind kind, std::int64_t sale,
                    const regi::TenderPaid& paid) {
    Record record = Numbered(sequence, time, kind);
    record.sale = sale;
    record.line = paid.tender;
    record.total = paid.amount;
    return record;
}

std::wstring Shown(std::wstring time) {
    std::replace(time.begin(), time.end(), L'T', L' ');
    return time;
}

}  // namespace

std::int64_t Period::Tax() const {
    std::int64_t sum = 0;
    for (const RateTotal& rate : taxable) sum += rate.tax;  // Add and Merge keep it inside 64 bits
    return sum;
}

std::int64_t Period::ReturnTax() const {
    std::int64_t sum = 0;
    for (const RateTotal& rate : returnTaxable) sum += rate.tax;  // kept inside 64 bits as Tax()
    return sum;
}

std::int64_t Period::CashTotal() const {
    std::optional<std::int64_t> cash = total;
    for (const TenderTotal& tender : tenders)
        if (cash) cash = regi::CheckedSub(*cash, tender.amount);
    if (!cash) throw common::Error(common::FormatMessageText(regi::kOutOfRange, regi::FormatMoney(total)));
    return *cash;
}

bool Period::HasTenders() const {
    for (const TenderTotal& tender : tenders)
        if (tender.sales != 0) return true;
    return false;
}

bool Period::Add(const Record& record) {
    // On a copy, kept when every sum fits: a record that would take one out
    // of 64 bits is left out whole. The notes move over instead of being
    // copied at every record of a long reading.
    std::vector<Record> earlierNotes = std::move(notes);
    notes.clear();
    Period after = *this;
    auto fits = [&] {
        for (const PeriodSum& sum : kSums)
            if (record.kind == sum.kind && !AddTo(after.*sum.member, sum.adds(record))) return false;
        for (const PeriodTable& table : kTables)
            if (!table.add(after, record)) return false;
        return true;
    };
    if (!fits()) {
        notes = std::move(earlierNotes);
        return false;
    }
    after.notes = std::move(earlierNotes);
    if ((record.kind == Kind::In || record.kind == Kind::Out) && !record.note.empty()) AddNote(after.notes, record);
    after.nextSequence = std::max(nextSequence, record.sequence + 1);
    if (firstSequence == 0 || record.sequence < firstSequence) {
        after.firstSequence = record.sequence;
        after.from = record.time;
    }
    if (TakesSaleNumber(record.kind)) after.nextSale = std::max(nextSale, record.sale + 1);
    if (record.kind == Kind::Z) after.nextZ = std::max(nextZ, record.z + 1);
    *this = std::move(after);
    return true;
}

bool Period::Merge(const Period& earlier) {
    Period merged = *this;
    for (const PeriodSum& sum : kSums)
        if (!AddTo(merged.*sum.member, earlier.*sum.member)) return false;
    for (const PeriodTable& table : kTables)
        if (!table.merge(merged, earlier)) return false;
    for (const Record& note : earlier.notes) AddNote(merged.notes, note);
    merged.nextSequence = std::max(nextSequence, earlier.nextSequence);
    merged.nextSale = std::max(nextSale, earlier.nextSale);
    merged.nextZ = std::max(nextZ, earlier.nextZ);
    if (earlier.firstSequence != 0 && (firstSequence == 0 || earlier.firstSequence < firstSequence)) {
        merged.firstSequence = earlier.firstSequence;
        merged.from = earlier.from;
    }
    *this = std::move(merged);
    return true;
}

std::vector<Record> Period::SaleRecords(const regi::SaleRecord& sale) const {
    std::vector<Record> records = SalePartRecords(sale);
    std::int64_t sequence = nextSequence;
    for (Record& record : records) {
        record.sequence = sequence++;
        record.time = sale.time;
        record.sale = nextSale;
    }
    Record record = Numbered(sequence, sale.time, Kind::Sale);
    record.sale = nextSale;
    SetSale(record, sale);
    records.push_back(record);
    return records;
}

std::vector<Record> Period::CancelRecords(std::int64_t lineCount, std::int64_t cancelled,
                                          const std::vector<regi::TenderPaid>& givenBack,
                                          const std::wstring& time) const {
    std::vector<Record> records;
    std::int64_t sequence = nextSequence;
    for (const regi::TenderPaid& paid : givenBack)
        records.push_back(TenderRecord(sequence++, time, Kind::Returned, nextSale, paid));
    records.push_back(CancelRecord(lineCount, cancelled, time));
    records.back().sequence = sequence;
    return records;
}

std::vector<Record> Period::ReturnRecords(const regi::ReturnRecord& giveBack, const std::wstring& time) const {
    std::vector<Record> records = journal::ReturnRecords(giveBack);
    std::int64_t sequence = nextSequence;
    for (Record& record : records) {
        record.sequence = sequence++;
        record.time = time;
    }
    return records;
}

Record Period::VoidRecord(std::int64_t lineNumber, const regi::LineRecord& line, const std::wstring& time) const {
    Record record = Numbered(nextSequence, time, Kind::Void);
    record.sale = nextSale;
    record.line = lineNumber;
    SetLine(record, line);
    return record;
}

Record Period::CancelRecord(std::int64_t lineCount, std::int64_t cancelled, const std::wstring& time) const {
    Record record = Numbered(nextSequence, time, Kind::Cancel);
    record.sale = nextSale;
    record.lines = lineCount;
    record.total = cancelled;
    return record;
}

Record Period::MoneyRecord(Kind kind, std::int64_t amount, const std::wstring& note, const std::wstring& time) const {
    Record record = Numbered(nextSequence, time, kind);
    record.total = amount;
    record.note = CleanNote(note);
    return record;
}

Record Period::ReportRecord(Kind kind, std::int64_t cashFloat, const std::wstring& time) const {
    Record record = Numbered(nextSequence, time, kind);
    record.sale = nextSale - 1;
    for (const PeriodSum& sum : kSums)
        if (sum.reported) record.*sum.reported = this->*sum.member;
    for (const PeriodTable& table : kTables)
        if (table.report) table.report(*this, record);
    record.cashFloat = cashFloat;
    record.expectedCash = ExpectedCash(cashFloat);
    if (kind == Kind::Z) record.z = nextZ;
    return record;
}

std::vector<Record> Period::DepartmentRecords(const regi::Departments& names, const std::wstring& time) const {
    std::vector<Record> records;
    if (!names.InUse()) return records;
    std::int64_t sequence = nextSequence;
    for (const DepartmentTotal& total : departments) {
        Record record = Numbered(sequence++, time, Kind::Department);
        record.department = total.number;
        record.taxClass = total.taxClass;
        record.quantity = total.quantity;
        record.subtotal = total.amount;
        record.note = CleanNote(names.NameOf(total.number, total.taxClass));
        records.push_back(record);
    }
    return records;
}

std::int64_t Period::ExpectedCash(std::int64_t cashFloat) const {
    std::int64_t sales = CashTotal();
    std::optional<std::int64_t> cash = CheckedAdd(cashFloat, sales);
    if (cash) cash = CheckedAdd(*cash, moneyIn);
    if (cash) cash = regi::CheckedSub(*cash, moneyOut);
    if (cash) cash = regi::CheckedSub(*cash, returnCash);
    if (!cash) throw common::Error(common::FormatMessageText(regi::kOutOfRange, regi::FormatMoney(sales)));
    return *cash;
}

std::wstring MoneyOutQuestion(std::int64_t amount, std::int64_t expectedCash) {
    std::optional<std::int64_t> left = regi::CheckedSub(expectedCash, amount);
    if (left && *left >= 0) return L"";
    return L"出金 " + regi::FormatMoney(amount) + L" で現金予定額が " +
           (left ? regi::FormatMoney(*left) : L"マイナス") + L" になります。記録しますか?";
}

BackwardReader::BackwardReader(std::int64_t size, std::vector<ByteRange> partials, Decode decode)
    : size_(size), partials_(std::move(partials)), decode_(std::move(decode)), tailAt_(size) {}

bool BackwardReader::Feed(std::string_view chunk, bool atStart) {
    if (done_) return false;
    fed_ += static_cast<std::int64_t>(chunk.size());
    const std::int64_t base = size_ - fed_;  // where text begins in the file
    // unread_ is at most one line's start, so that joining stays linear in the file's size.
    std::string text;
    text.reserve(chunk.size() + unread_.size());
    text.append(chunk).append(unread_);
    unread_.clear();
    size_t end = text.size();
    if (longLine_) {
        size_t before = text.find_last_of("\r\n");
        if (before == std::string::npos && !atStart) return true;
        size_t start = before == std::string::npos ? 0 : before + 1;
        Junk(base + static_cast<std::int64_t>(start), kJunkLine);
        longLine_ = false;
        end = start;
    }
    // Lines are taken from the end. Each ends in CRLF, LF or CR except the
    // file's last when it was cut short; the first line of text may have begun
    // in bytes not fed yet.
    while (end > 0 && !done_) {
        size_t body = end;
        if (text[body - 1] == '\n') --body;
        if (body > 0 && text[body - 1] == '\r') --body;
        size_t before = body == 0 ? std::string::npos : text.find_last_of("\r\n", body - 1);
        if (before == std::string::npos && !atStart) {
            // A line longer than any record is junk: only its start is still wanted.
            if (end > kMaxLine) {
                longLine_ = true;
            } else {
                unread_ = text.substr(0, end);
            }
            return true;
        }
        size_t start = before == std::string::npos ? 0 : before + 1;
        std::int64_t offset = base + static_cast<std::int64_t>(start);
        if (end - start > kMaxLine) {
            Junk(offset, kJunkLine);
        } else {
            Line(std::string_view(text).substr(start, end - start), offset, offset == 0);
        }
        end = start;
    }
    if (done_ || atStart) {
        CloseSale();
        for (Finding& finding : findings_) finding.unfinished = finding.offset >= tailAt_;
    }
    return !done_ && !atStart;
}

bool BackwardReader::Partial(std::int64_t offset) const {
    for (const ByteRange& range : partials_)
        if (offset >= range.begin && offset < range.end) return true;
    return false;
}

void BackwardReader::Junk(std::int64_t offset, const wchar_t* what) {
    ++unreadable_;
    findings_.push_back({offset, what});
}

void BackwardReader::CloseSale() {
    if (saleAt_ < 0) return;
    bool adds = lineCount_ == sale_.lines && classSums_[0] == sale_.exemptAmount &&
                classSums_[1] == sale_.standardAmount && classSums_[2] == sale_.reducedAmount;
    if (!adds) findings_.push_back({saleAt_, L"売上の内訳が明細の行と合いません"});
    saleAt_ = -1;
}

void BackwardReader::Line(std::string_view line, std::int64_t offset, bool first) {
    size_t ending = LineEnding(line);
    std::string_view text = line.substr(0, line.size() - ending);
    if (first && text.substr(0, 3) == kByteOrderMark) text.remove_prefix(3);
    if (text.empty()) return;
    bool atTail = offset + static_cast<std::int64_t>(line.size()) == tailAt_;
    if (ending == 0) tailAt_ = offset;  // only the file's last line can lack its line end
    if (Partial(offset)) return;
    // Only a note can be other than ASCII: in another encoding its line reads through UTF-8.
    std::string decoded;
    if (decode_ && !common::IsAscii(line)) decoded = common::ToUtf8(decode_(line));
    std::optional<Record> record = ParseRecord(decoded.empty() ? line : std::string_view(decoded));
    // The first line is the header when it is no record, whatever it says or lacks.
    if (!record && first) return;
    if (!record) {
        Junk(offset, kJunkLine);
        return;
    }
    if (!lastAsWritten_) lastAsWritten_ = FormatRecord(*record) == (decoded.empty() ? line : std::string_view(decoded));
    // Read backward, numbers fall. A record with a number at or above one read
    // already is an earlier attempt of a write that failed and was tried again
    // with the same numbers, or rows put out of order: the later one holds.
    bool superseded = period_.firstSequence != 0 && record->sequence >= period_.firstSequence;
    // A sale's lines and tenders stand just before its sale record, the tenders a cancel gave back before it.
    // A return's lines and refunds stand just before its return record.
    bool part = BuildsSale(record->kind) || record->kind == Kind::Returned || record->kind == Kind::ReturnLine ||
                record->kind == Kind::Refund;
    // Records that neither are part of a sale nor use up a number (a reissue names a sale closed before).
    bool money = record->kind == Kind::In || record->kind == Kind::Out || record->kind == Kind::Drawer ||
                 record->kind == Kind::Department || record->kind == Kind::Reissue;
    Kind partOf = record->kind == Kind::Returned                                     ? Kind::Cancel
                  : record->kind == Kind::ReturnLine || record->kind == Kind::Refund ? Kind::Return
                                                                                     : Kind::Sale;
    bool ofSale = part && record->sale == linesOf_ && partsOf_ == partOf;
    if (!ofSale || superseded) CloseSale();
    if (superseded) {
        Junk(offset, L"記録の順番が前後しています");
        return;
    }
    // A sale's lines stand just before its sale record; lines without it are
    // what a power cut left of a sale that stayed open.
    if (part && !ofSale) {
        if (atTail) tailAt_ = offset;
        Junk(offset, partOf == Kind::Return         ? L"返品の記録がない返品の行です"
                     : record->kind == Kind::Tender ? L"売上の記録がない支払の行です"
                                                    : L"売上の記録がない明細の行です");
        return;
    }
    if (laterAt_ >= 0 && record->sequence < laterSequence_ - 1)
        findings_.push_back({laterAt_, L"この行の前の記録 (番号 " + std::to_wstring(record->sequence + 1) + L"～" +
                                           std::to_wstring(laterSequence_ - 1) + L") がありません"});
    laterSequence_ = record->sequence;
    laterAt_ = offset;
    if (!period_.Add(*record)) {
        CloseSale();
        Junk(offset, kTooLarge);
        return;
    }
    if (!part && !money && record->kind != Kind::Void && record->kind != Kind::Return) {
        // Each sale or cancel takes the next sale number; an x or z names the last one before it.
        bool report = record->kind == Kind::X || record->kind == Kind::Z;
        std::int64_t expected = laterSale_ - 1;
        if (laterSaleAt_ >= 0 && record->sale < expected)
            findings_.push_back({laterSaleAt_, L"この行の前の売上 (No." + std::to_wstring(record->sale + 1) + L"～" +
                                                   std::to_wstring(expected) + L") がありません"});
        laterSale_ = report ? record->sale + 1 : record->sale;
        laterSaleAt_ = offset;
    }
    if (record->kind == Kind::Sale) {
        if (record->total != record->standardAmount + record->reducedAmount + record->exemptAmount)
            findings_.push_back({offset, L"売上の合計が内訳と合いません"});
        sale_ = *record;
        saleAt_ = offset;
        lineCount_ = 0;
        classSums_[0] = classSums_[1] = classSums_[2] = 0;
    } else if (record->kind == Kind::Line) {
        std::int64_t product = 0;
        if (__builtin_mul_overflow(record->unitPrice, record->quantity, &product) || product != record->subtotal)
            findings_.push_back({offset, L"小計が単価×数量と合いません"});
        ++lineCount_;
        classSums_[static_cast<int>(record->taxClass)] += record->subtotal;
    } else if (record->kind == Kind::YenOff || record->kind == Kind::PercentOff) {
        classSums_[static_cast<int>(record->taxClass)] += record->subtotal;  // the yen off, below 0
    }
    bool closes = record->kind == Kind::Sale || record->kind == Kind::Cancel || record->kind == Kind::Return;
    linesOf_ = closes || part ? record->sale : 0;
    if (closes) partsOf_ = record->kind;
    // Read backward, the last sale comes first, then its lines, last to first.
    if (record->kind == Kind::Sale && !lastSale_)
        lastSale_ = *record;
    else if (BuildsSale(record->kind) && lastSale_ && record->sale == lastSale_->sale)
        lastSaleParts_.push_back(*record);
    if (record->kind == Kind::Z) done_ = true;
}

bool BackwardReader::Resume(const Period& before, const regi::SaleRecord& lastSale) {
    // Records read here that the earlier ones outnumber are out of order
    // across the two: only a reading of the whole can tell which holds.
    if (period_.firstSequence != 0 && period_.firstSequence < before.nextSequence) return false;
    if (laterAt_ >= 0 && before.nextSequence < laterSequence_)
        findings_.push_back({laterAt_, L"この行の前の記録 (番号 " + std::to_wstring(before.nextSequence) + L"～" +
                                           std::to_wstring(laterSequence_ - 1) + L") がありません"});
    if (laterSaleAt_ >= 0 && before.nextSale < laterSale_)
        findings_.push_back({laterSaleAt_, L"この行の前の売上 (No." + std::to_wstring(before.nextSale) + L"～" +
                                               std::to_wstring(laterSale_ - 1) + L") がありません"});
    if (!period_.Merge(before)) return false;
    if (!lastSale_) resumedSale_ = lastSale;
    return true;
}

regi::SaleRecord BackwardReader::LastSale() const {
    if (!lastSale_) return resumedSale_;
    // Put together again in the journal's order: a discount follows its line.
    regi::SaleRecord sale = SaleOf(*lastSale_);
    for (auto part = lastSaleParts_.rbegin(); part != lastSaleParts_.rend(); ++part) AddSalePart(sale, *part);
    return sale;
}

BackwardReader ReadJournal(std::string_view bytes, std::vector<ByteRange> partials) {
    BackwardReader reader(static_cast<std::int64_t>(bytes.size()), std::move(partials));
    reader.Feed(bytes, true);
    return reader;
}

std::vector<Finding> CompareWithKept(Period& period, const Kept& kept, std::int64_t size, bool resaved) {
    std::vector<Finding> found;
    auto range = [](const wchar_t* what, std::int64_t from, std::int64_t to) {
        return what + std::to_wstring(from) + (from == to ? L"" : L"～" + std::to_wstring(to));
    };
    const bool lost =
        period.nextSequence - 1 < kept.sequence || period.nextSale - 1 < kept.sale || period.nextZ - 1 < kept.z;
    if (size < kept.size && (!resaved || lost))
        found.push_back(
            {-1, size == 0
                     ? L"記録のファイルが空か、ありません (前回書いたときは " + std::to_wstring(kept.size) + L" バイト)"
                     : L"記録のファイルが前回書いたときより短くなっています (" + std::to_wstring(kept.size) +
                           L" バイトから " + std::to_wstring(size) + L" バイトに)"});
    if (period.nextSequence - 1 < kept.sequence)
        found.push_back({-1, range(L"最後の記録がありません: 番号 ", period.nextSequence, kept.sequence)});
    if (period.nextSale - 1 < kept.sale)
        found.push_back({-1, range(L"最後の売上がありません: No.", period.nextSale, kept.sale)});
    if (period.nextZ - 1 < kept.z)
        found.push_back({-1, range(L"精算の記録がありません: No.", period.nextZ, kept.z) +
                                 L" (締めた日の売上が集計に入っています)"});
    period.nextSequence = std::max(period.nextSequence, kept.sequence + 1);
    period.nextSale = std::max(period.nextSale, kept.sale + 1);
    period.nextZ = std::max(period.nextZ, kept.z + 1);
    return found;
}

LineNumbers::LineNumbers(std::vector<Finding>& findings) {
    for (Finding& finding : findings)
        if (finding.offset >= 0) pending_.push_back(&finding);
    std::sort(pending_.begin(), pending_.end(), [](Finding* a, Finding* b) { return a->offset > b->offset; });
}

void LineNumbers::Feed(std::string_view chunk) {
    for (char c : chunk) {
        while (!pending_.empty() && pending_.back()->offset <= at_) {
            pending_.back()->line = breaks_ + 1;
            pending_.pop_back();
        }
        if (pending_.empty()) return;
        if (c == '\r' || (c == '\n' && !afterCr_)) ++breaks_;
        afterCr_ = c == '\r';
        ++at_;
    }
    // What begins at the very end (a line cut short after a line end) is numbered too.
    while (!pending_.empty() && pending_.back()->offset <= at_) {
        pending_.back()->line = breaks_ + 1;
        pending_.pop_back();
    }
}

std::int64_t LineNumbers::Wanted() const { return pending_.empty() ? -1 : pending_.front()->offset; }

std::wstring FindingsMessage(const std::vector<Finding>& findings, int unreadable) {
    if (findings.empty()) return L"";
    std::vector<const Finding*> sorted;
    bool unfinished = true;
    for (const Finding& finding : findings) {
        sorted.push_back(&finding);
        unfinished = unfinished && finding.unfinished;
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Finding* a, const Finding* b) { return a->offset < b->offset; });
    std::wstring text = unfinished
                            ? L"売上の記録の最後に、書き込みの途中で止まった記録があります (停電など)。"
                              L"記録のファイルはそのままです。"
                            : L"売上の記録がこのプログラムの外で変更されています。記録のファイルはそのままです。";
    constexpr size_t kShown = 20;
    for (size_t i = 0; i < sorted.size() && i < kShown; ++i) {
        const Finding& finding = *sorted[i];
        text += L"\r\n";
        if (finding.line > 0) text += std::to_wstring(finding.line) + L" 行目: ";
        text += finding.what;
    }
    if (sorted.size() > kShown) text += L"\r\nほか " + std::to_wstring(sorted.size() - kShown) + L" 件";
    if (unreadable > 0) text += L"\r\n" + UnreadableLinesMessage(unreadable);
    return text;
}

std::wstring ReportLine::Text() const {
    std::wstring text = caption;
    for (const std::wstring& value : values) text += L"\t" + value;
    return text;
}

namespace {

std::wstring RateName(const RateTotal& rate) {
    return (rate.taxClass == regi::TaxClass::Reduced ? L"軽減" : L"") + std::to_wstring(rate.rate) + L"%";
}

// The returns apart from the sales: how many and what went back, per rate
// and department, how it went back; then what the sales come to net of them.
void AddReturnItems(std::vector<ReportLine>& lines, const Period& period, const std::vector<std::wstring>& tenderNames,
                    const regi::Departments& departments) {
    auto money = [](std::int64_t amount) { return std::vector<std::wstring>{regi::FormatMoney(amount)}; };
    lines.push_back({L"返品", {std::to_wstring(period.returns) + L"件", regi::FormatMoney(period.returnAmount)}});
    for (const RateTotal& rate : period.returnTaxable) {
        lines.push_back({L"返品 " + RateName(rate) + L"対象", money(rate.amount)});
        lines.push_back({L"返品 " + RateName(rate) + L"内消費税", money(rate.tax)});
    }
    if (period.returnExempt != 0) lines.push_back({L"返品 非課税", money(period.returnExempt)});
    for (const DepartmentTotal& total : period.departmentReturns)
        lines.push_back({L"返品 " + departments.NameOf(total.number, total.taxClass),
                         {std::to_wstring(total.quantity) + L"点", regi::FormatMoney(total.amount)}});
    lines.push_back({L"返品 現金", money(period.returnCash)});
    for (int n = 1; n <= regi::kMaxTenders; ++n)
        if (period.refunds[n - 1].sales != 0)
            lines.push_back({L"返品 " + regi::TenderName(tenderNames, n),
                             {std::to_wstring(period.refunds[n - 1].sales) + L"件",
                              regi::FormatMoney(period.refunds[n - 1].amount)}});
    // Each rate's sales less its returns, the rates of both in their order.
    std::vector<RateTotal> net = period.taxable;
    for (RateTotal returned : period.returnTaxable) {
        auto place = std::find_if(net.begin(), net.end(), [&](const RateTotal& r) {
            return r.taxClass == returned.taxClass && r.rate == returned.rate;
        });
        if (place == net.end()) {
            place = std::lower_bound(net.begin(), net.end(), returned, Before);
            place = net.insert(place, RateTotal{returned.taxClass, returned.rate, 0, 0});
        }
        place->amount -= returned.amount;
        place->tax -= returned.tax;
    }
    lines.push_back({L"純売上", money(period.total - period.returnAmount)});
    for (const RateTotal& rate : net) {
        lines.push_back({L"純売上 " + RateName(rate) + L"対象", money(rate.amount)});
        lines.push_back({L"純売上 " + RateName(rate) + L"内消費税", money(rate.tax)});
    }
    lines.push_back({L"純売上 非課税", money(period.exempt - period.returnExempt)});
    lines.push_back({L"純消費税合計", money(period.Tax() - period.ReturnTax())});
}

}  // namespace

std::vector<ReportLine> ReportItems(const Period& period, const Record& report,
                                    const std::vector<std::wstring>& tenderNames,
                                    const regi::Departments& departments) {
    std::vector<ReportLine> lines;
    auto money = [](std::int64_t amount) { return std::vector<std::wstring>{regi::FormatMoney(amount)}; };
    auto count = [](std::int64_t count, std::int64_t amount) {
        return std::vector<std::wstring>{std::to_wstring(count) + L"件", regi::FormatMoney(amount)};
    };
    if (report.kind == Kind::Z)
        lines.push_back({L"精算", {L"No." + std::to_wstring(report.z)}});
    else
        lines.push_back({L"点検", {}});
    std::wstring to = Shown(report.time);
    lines.push_back({L"期間", {(period.from.empty() ? to : Shown(period.from)) + L" ～ " + to}});
    // Our times compare as text; an end before the start means the clock was moved back.
    if (!period.from.empty() && report.time < period.from)
        lines.push_back({L"注意", {L"期間の終わりが始まりより前です (時計が戻されました)"}});
    lines.push_back({L"客数", {std::to_wstring(period.sales)}});
    if (period.sales > 0) lines.push_back({L"客単価", money(period.total / period.sales)});
    lines.push_back({L"行数", {std::to_wstring(period.lines)}});
    bool named = departments.InUse();
    for (const DepartmentTotal& total : period.departments) named = named || total.number != 0;
    if (named) {
        // What each department sold before discounts; the discounts follow, then the net total.
        for (const DepartmentTotal& total : period.departments)
            lines.push_back({departments.NameOf(total.number, total.taxClass),
                             {std::to_wstring(total.quantity) + L"点", regi::FormatMoney(total.amount)}});
    }
    if (period.yenOffs != 0 || period.yenOffAmount != 0)
        lines.push_back({L"値引", count(period.yenOffs, -period.yenOffAmount)});
    if (period.percentOffs != 0 || period.percentOffAmount != 0)
        lines.push_back({L"割引", count(period.percentOffs, -period.percentOffAmount)});
    lines.push_back({L"売上合計", money(period.total)});
    for (const RateTotal& rate : period.taxable) {
        bool reduced = rate.taxClass == regi::TaxClass::Reduced;
        std::wstring name = (reduced ? L"軽減" : L"") + std::to_wstring(rate.rate) + L"%";
        lines.push_back({name + L"対象", money(rate.amount)});
        lines.push_back({name + L"内消費税", money(rate.tax)});
    }
    lines.push_back({L"非課税", money(period.exempt)});
    lines.push_back({L"消費税合計", money(period.Tax())});
    if (period.returns != 0) AddReturnItems(lines, period, tenderNames, departments);
    lines.push_back({L"行取消", count(period.voids, period.voidAmount)});
    lines.push_back({L"取引中止", count(period.cancels, period.cancelAmount)});
    lines.push_back({L"マイナス行", count(period.negatives, period.negativeAmount)});
    bool tendersNamed = false;
    for (const std::wstring& name : tenderNames) tendersNamed = tendersNamed || !name.empty();
    if (tendersNamed || period.HasTenders()) {
        lines.push_back({L"現金", count(period.sales - period.cashlessSales, period.CashTotal())});
        for (int n = 1; n <= regi::kMaxTenders; ++n) {
            const TenderTotal& tender = period.tenders[n - 1];
            bool named = static_cast<size_t>(n) <= tenderNames.size() && !tenderNames[n - 1].empty();
            if (!named && tender.sales == 0) continue;
            lines.push_back({regi::TenderName(tenderNames, n), count(tender.sales, tender.amount)});
        }
    }
    if (period.returned != 0) lines.push_back({L"支払の返却", count(period.returned, period.returnedAmount)});
    if (period.moneyIn != 0 || period.moneyOut != 0) {
        // Each kind's count and amount, then its notes, one a line.
        for (Kind kind : {Kind::In, Kind::Out}) {
            bool in = kind == Kind::In;
            lines.push_back({in ? L"入金" : L"出金",
                             count(in ? period.moneyIns : period.moneyOuts, in ? period.moneyIn : period.moneyOut)});
            for (const Record& note : period.notes)
                if (note.kind == kind) lines.push_back({L"\u3000" + note.note, money(note.total)});
        }
    }
    if (period.drawerCommands != 0)
        lines.push_back({L"ドロア開放指示（取引なし）", {std::to_wstring(period.drawerCommands) + L"回"}});
    lines.push_back({L"釣銭準備金", money(report.cashFloat)});
    lines.push_back({L"現金予定額", money(report.expectedCash)});
    return lines;
}

std::vector<ReportLine> ProductItems(
    const std::vector<ProductTotal>& products,
    const std::function<std::pair<std::string, std::wstring>(std::int64_t code)>& describe) {
    std::vector<ReportLine> lines;
    if (products.empty()) return lines;
    std::vector<ProductTotal> best = products;
    std::stable_sort(best.begin(), best.end(), [](const ProductTotal& a, const ProductTotal& b) {
        return a.amount != b.amount ? a.amount > b.amount : a.quantity > b.quantity;
    });
    lines.push_back({L"商品別", {L"数量", L"金額"}});
    for (const ProductTotal& total : best) {
        auto [code, name] = describe ? describe(total.code) : std::pair<std::string, std::wstring>{};
        if (code.empty()) code = std::to_string(total.code);
        lines.push_back({std::wstring(code.begin(), code.end()) + (name.empty() ? L"" : L" " + name),
                         {std::to_wstring(total.quantity) + L"点", regi::FormatMoney(total.amount)}});
    }
    return lines;
}

std::vector<std::wstring> ReportLines(const Period& period, const Record& report,
                                      const std::vector<std::wstring>& tenderNames,
                                      const regi::Departments& departments) {
    std::vector<std::wstring> lines;
    for (const ReportLine& line : ReportItems(period, report, tenderNames, departments)) lines.push_back(line.Text());
    return lines;
}

}  // namespace journal
