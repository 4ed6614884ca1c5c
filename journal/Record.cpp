#include "journal/Record.h"

#include <algorithm>
#include <array>
#include <climits>
#include <iterator>

#include "common/DateTime.h"
#include "common/Utf8.h"
#include "sale/Department.h"
#include "sale/Money.h"

namespace journal {

namespace {

// The columns after seq, time and kind, in the header's order; null stands for the class.
std::int64_t Record::*const kColumns[] = {
    &Record::sale,         &Record::line,         nullptr,
    &Record::unitPrice,    &Record::quantity,     &Record::subtotal,
    &Record::lines,        &Record::standardRate, &Record::standardAmount,
    &Record::standardTax,  &Record::reducedRate,  &Record::reducedAmount,
    &Record::reducedTax,   &Record::exemptAmount, &Record::total,
    &Record::tendered,     &Record::change,       &Record::sales,
    &Record::voids,        &Record::voidAmount,   &Record::cancels,
    &Record::cancelAmount, &Record::negatives,    &Record::negativeAmount,
    &Record::cashFloat,    &Record::expectedCash, &Record::z,
};
constexpr size_t kFieldCount = 3 + std::size(kColumns);

// What a kind writes: its name and the number columns it fills, whether it
// fills the class and may have a note. The columns it does not fill stay empty.
struct KindColumns {
    const char* name;
    std::vector<std::int64_t Record::*> numbers;
    bool taxClass = false, note = false;
};
const std::vector<std::int64_t Record::*> kLineColumns = {&Record::sale, &Record::line, &Record::unitPrice,
                                                          &Record::quantity, &Record::subtotal};
const std::vector<std::int64_t Record::*> kReportColumns = {
    &Record::sale,       &Record::lines,        &Record::standardAmount, &Record::standardTax, &Record::reducedAmount,
    &Record::reducedTax, &Record::exemptAmount, &Record::total,          &Record::sales,       &Record::voids,
    &Record::voidAmount, &Record::cancels,      &Record::cancelAmount,   &Record::negatives,   &Record::negativeAmount,
    &Record::cashFloat,  &Record::expectedCash};
const std::vector<std::int64_t Record::*> kPaymentColumns = {&Record::sale, &Record::line, &Record::total};
const std::vector<std::int64_t Record::*> kDiscountColumns = {&Record::sale, &Record::line, &Record::unitPrice,
                                                              &Record::quantity, &Record::subtotal};

std::vector<std::int64_t Record::*> With(std::vector<std::int64_t Record::*> columns, std::int64_t Record::*more) {
    columns.push_back(more);
    return columns;
}

// One row per Kind, in its order.
const KindColumns kKinds[] = {
    {"line", kLineColumns, true},
    {"sale",
     {&Record::sale, &Record::lines, &Record::standardRate, &Record::standardAmount, &Record::standardTax,
      &Record::reducedRate, &Record::reducedAmount, &Record::reducedTax, &Record::exemptAmount, &Record::total,
      &Record::tendered, &Record::change}},
    {"void", kLineColumns, true},
    {"cancel", {&Record::sale, &Record::lines, &Record::total}},
    {"x", kReportColumns},
    {"z", With(kReportColumns, &Record::z)},
    {"tender", kPaymentColumns},
    {"returned", kPaymentColumns},
    {"in", {&Record::total}, false, true},
    {"out", {&Record::total}, false, true},
    {"drawer", {}},
    {"yen off", kDiscountColumns, true},
    {"percent off", kDiscountColumns, true},
    {"department", {&Record::quantity, &Record::subtotal}, true, true},
    {"return line", kLineColumns, true},
    {"refund", kPaymentColumns},
    {"return",
     {&Record::sale, &Record::lines, &Record::standardRate, &Record::standardAmount, &Record::standardTax,
      &Record::reducedRate, &Record::reducedAmount, &Record::reducedTax, &Record::exemptAmount, &Record::total,
      &Record::change},
     false,
     true},
    {"reissue", {&Record::sale}},
};

// The fields after the header's last, in their order: the note, then the department.
bool HasDepartment(Kind kind) {
    return kind == Kind::Line || kind == Kind::Void || kind == Kind::Department || kind == Kind::ReturnLine;
}
// The product's code after the department: a line's, a void's, a returned line's.
bool HasProduct(Kind kind) { return kind == Kind::Line || kind == Kind::Void || kind == Kind::ReturnLine; }
bool IsProductCode(const std::string& text) {
    return !text.empty() && text.size() <= 13 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

const KindColumns& Of(Kind kind) { return kKinds[static_cast<int>(kind)]; }

// Whether each kind fills each column, worked out once from kKinds.
using FillTable = std::array<std::array<bool, std::size(kColumns)>, std::size(kKinds)>;
const FillTable kFills = [] {
    FillTable fills{};
    for (size_t kind = 0; kind < std::size(kKinds); ++kind) {
        const KindColumns& columns = kKinds[kind];
        for (size_t column = 0; column < std::size(kColumns); ++column) {
            std::int64_t Record::*field = kColumns[column];
            fills[kind][column] =
                field ? std::find(columns.numbers.begin(), columns.numbers.end(), field) != columns.numbers.end()
                      : columns.taxClass;
        }
    }
    return fills;
}();

bool Fills(size_t column, Kind kind) { return kFills[static_cast<size_t>(kind)][column]; }

std::optional<Kind> KindNamed(std::string_view name) {
    for (size_t i = 0; i < std::size(kKinds); ++i)
        if (name == kKinds[i].name) return static_cast<Kind>(i);
    return std::nullopt;
}

void AppendField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    out += '"';
}

// The fields of one line; nothing when a quoted field is not closed properly.
std::optional<std::vector<std::string>> SplitFields(std::string_view line) {
    std::vector<std::string> fields(1);
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i++];
        if (c == ',') {
            fields.emplace_back();
        } else if (c == '"' && fields.back().empty()) {
            for (;;) {
                if (i >= line.size()) return std::nullopt;
                c = line[i++];
                if (c != '"') {
                    fields.back() += c;
                } else if (i < line.size() && line[i] == '"') {
                    fields.back() += '"';
                    ++i;
                } else {
                    break;
                }
            }
            if (i < line.size() && line[i] != ',') return std::nullopt;
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

template <size_t N>
std::optional<int> FindName(const char* const (&names)[N], std::string_view name) {
    for (size_t i = 0; i < N; ++i)
        if (name == names[i]) return static_cast<int>(i);
    return std::nullopt;
}

// Reads up to max digits at text[at...]; at least one.
std::optional<int> Digits(std::string_view text, size_t& at, size_t max) {
    size_t start = at;
    int value = 0;
    while (at < text.size() && at - start < max && text[at] >= '0' && text[at] <= '9')
        value = value * 10 + (text[at++] - '0');
    if (at == start) return std::nullopt;
    return value;
}

bool Take(std::string_view text, size_t& at, std::string_view oneOf) {
    if (at >= text.size() || oneOf.find(text[at]) == std::string_view::npos) return false;
    ++at;
    return true;
}

// Times are ASCII; anything else cannot be a time and reads back as junk.
std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

bool Within(std::int64_t value, std::int64_t limit) { return value >= -limit && value <= limit; }

// Whether a record's numbers are what the register can write: each field within
// the register's limits, so that every sum of them is checked, never wrapped.
bool WithinLimits(const Record& r) {
    constexpr std::int64_t kMaxSubtotal = regi::kMaxPrice * regi::kMaxQuantity;
    constexpr std::int64_t kMaxRate = INT32_MAX;  // the settings' rates are read within 32 bits
    switch (r.kind) {
    case Kind::Line:
    case Kind::Void:
        return r.sale >= 1 && r.line >= 1 && r.line <= regi::kMaxLines && Within(r.unitPrice, regi::kMaxPrice) &&
               Within(r.quantity, regi::kMaxQuantity) && Within(r.subtotal, kMaxSubtotal);
    case Kind::Sale:
        return r.sale >= 1 && r.lines >= 0 && r.lines <= regi::kMaxLines && Within(r.standardRate, kMaxRate) &&
               Within(r.reducedRate, kMaxRate) && Within(r.standardAmount, regi::kMaxSaleTotal) &&
               Within(r.standardTax, regi::kMaxSaleTotal) && Within(r.reducedAmount, regi::kMaxSaleTotal) &&
               Within(r.reducedTax, regi::kMaxSaleTotal) && Within(r.exemptAmount, regi::kMaxSaleTotal) &&
               Within(r.total, regi::kMaxSaleTotal) && Within(r.tendered, regi::kMaxTendered) &&
               Within(r.change, regi::kMaxTendered + regi::kMaxSaleTotal);
    case Kind::Cancel:
        return r.sale >= 1 && r.lines >= 0 && r.lines <= regi::kMaxLines && Within(r.total, regi::kMaxSaleTotal);
    case Kind::Tender:
    case Kind::Returned:
        return r.sale >= 1 && r.line >= 1 && r.line <= regi::kMaxTenders && r.total > 0 &&
               r.total <= regi::kMaxSaleTotal;
    case Kind::In:
    case Kind::Out: return r.total > 0 && r.total <= regi::kMaxTendered;
    case Kind::Drawer: return true;
    case Kind::Reissue: return r.sale >= 1;
    case Kind::YenOff:
    case Kind::PercentOff:
        return r.sale >= 1 && r.line >= 0 && r.line <= regi::kMaxLines && r.unitPrice >= 1 &&
               r.unitPrice <= (r.kind == Kind::YenOff ? regi::kMaxSaleTotal : regi::kMaxPercentOff) &&
               (r.quantity == 0 || r.quantity == 1) && r.subtotal <= 0 && r.subtotal >= -regi::kMaxSaleTotal;
    case Kind::Department: return r.department >= 0 && r.department <= regi::kMaxDepartment;
    case Kind::ReturnLine:
        return r.sale >= 0 && r.line >= 0 && r.line <= regi::kMaxLines && Within(r.unitPrice, regi::kMaxPrice) &&
               Within(r.quantity, regi::kMaxQuantity) && Within(r.subtotal, kMaxSubtotal);
    case Kind::Refund:
        return r.sale >= 0 && r.line >= 1 && r.line <= regi::kMaxTenders && r.total > 0 &&
               r.total <= regi::kMaxSaleTotal;
    case Kind::Return:
        return r.sale >= 0 && r.lines >= 1 && r.lines <= regi::kMaxLines && Within(r.standardRate, kMaxRate) &&
               Within(r.reducedRate, kMaxRate) && Within(r.standardAmount, regi::kMaxSaleTotal) &&
               Within(r.standardTax, regi::kMaxSaleTotal) && Within(r.reducedAmount, regi::kMaxSaleTotal) &&
               Within(r.reducedTax, regi::kMaxSaleTotal) && Within(r.exemptAmount, regi::kMaxSaleTotal) &&
               r.total > 0 && r.total <= regi::kMaxSaleTotal && r.change >= 0 && r.change <= r.total;
    case Kind::X:
    case Kind::Z:
        // A report's sums are the period's: only its counts have a bound.
        return r.sale >= 0 && r.lines >= 0 && r.sales >= 0 && r.voids >= 0 && r.cancels >= 0 && r.negatives >= 0 &&
               (r.kind == Kind::X || r.z >= 1);
    }
    return false;
}

const char kOpenSaleHeader[] = "sale,class,unit price,quantity,subtotal\r\n";
const char kOpenSaleTendersHeader[] = "sale,tender,amount";
const char* const kDiscountWords[] = {"yen", "percent"};  // by regi::DiscountKind

// A discount's kind and keyed value as the recovery file keeps them, read within the register's limits.
std::optional<regi::Discount> ReadOpenDiscount(const std::string& kind, const std::string& keyed) {
    std::optional<int> which = FindName(kDiscountWords, kind);
    std::optional<std::int64_t> value = ParseInteger(keyed);
    if (!which || !value || *value < 1) return std::nullopt;
    regi::Discount discount{static_cast<regi::DiscountKind>(*which), *value, 0};
    std::int64_t most = discount.kind == regi::DiscountKind::Yen ? regi::kMaxSaleTotal : regi::kMaxPercentOff;
    if (*value > most) return std::nullopt;
    return discount;
}

}  // namespace

bool IsChainValue(std::string_view text) {
    return text.size() == 64 && std::all_of(text.begin(), text.end(),
                                            [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// A field's number: a signed decimal of at most 18 digits, so that it always fits in 64 bits.
std::optional<std::int64_t> ParseInteger(std::string_view text) {
    bool negative = !text.empty() && text[0] == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

const char* const kClassNames[] = {regi::kTaxClassNames[0].record, regi::kTaxClassNames[1].record,
                                   regi::kTaxClassNames[2].record};

const char kHeader[] =
    "seq,time,kind,sale,line,class,unit price,quantity,subtotal,lines,standard rate,standard amount,"
    "standard tax,reduced rate,reduced amount,reduced tax,exempt,total,tendered,change,sales,voids,"
    "void amount,cancels,cancel amount,negative lines,negative amount,float,expected cash,z";
const char kByteOrderMark[] = "\xEF\xBB\xBF";

std::optional<std::string> LocalTime(std::string_view text) {
    size_t at = 0;
    std::optional<int> year = Digits(text, at, 4);
    if (!year || at != 4 || text.size() <= 4 || (text[4] != '-' && text[4] != '/')) return std::nullopt;
    char dateMark = text[at++];
    std::optional<int> month = Digits(text, at, 2);
    if (!month || !Take(text, at, std::string_view(&dateMark, 1))) return std::nullopt;
    std::optional<int> day = Digits(text, at, 2);
    if (!day || !Take(text, at, "T ")) return std::nullopt;
    std::optional<int> hour = Digits(text, at, 2);
    if (!hour || !Take(text, at, ":")) return std::nullopt;
    size_t minuteAt = at;
    std::optional<int> minute = Digits(text, at, 2);
    if (!minute || at - minuteAt != 2) return std::nullopt;
    std::optional<int> second = 0;
    if (Take(text, at, ":")) {
        size_t secondAt = at;
        second = Digits(text, at, 2);
        if (!second || at - secondAt != 2) return std::nullopt;
    }
    bool sound = at == text.size() && *month >= 1 && *month <= 12 && *day >= 1 && *day <= 31 && *hour <= 23 &&
                 *minute <= 59 && *second <= 59;
    if (!sound) return std::nullopt;
    return Narrow(common::FormatDateTime({*year, *month, *day, *hour, *minute, *second}));
}

size_t LineEnding(std::string_view line) {
    if (line.size() >= 2 && line.substr(line.size() - 2) == "\r\n") return 2;
    if (!line.empty() && (line.back() == '\n' || line.back() == '\r')) return 1;
    return 0;
}

std::wstring CleanNote(std::wstring_view typed) {
    std::wstring note;
    for (wchar_t c : typed) note += c < 0x20 || c == 0x7F ? L' ' : c;
    size_t first = note.find_first_not_of(L" \u3000");
    if (first == std::wstring::npos) return L"";
    note = note.substr(first, note.find_last_not_of(L" \u3000") - first + 1);
    // Never half of a character that takes two UTF-16 units.
    size_t length = std::min(note.size(), kMaxNote);
    if (length < note.size() && note[length - 1] >= 0xD800 && note[length - 1] <= 0xDBFF) --length;
    return note.substr(0, length);
}

std::string FormatRecord(const Record& record) {
    std::string line = std::to_string(record.sequence) + ',';
    AppendField(line, Narrow(record.time));
    line += ',';
    line += Of(record.kind).name;
    for (size_t i = 0; i < std::size(kColumns); ++i) {
        line += ',';
        if (!Fills(i, record.kind)) continue;
        line += kColumns[i] ? std::to_string(record.*kColumns[i]) : kClassNames[static_cast<int>(record.taxClass)];
    }
    bool product = HasProduct(record.kind) && !record.product.empty();
    bool department =
        HasDepartment(record.kind) && (record.department != 0 || record.kind == Kind::Department || product);
    bool chained = !record.chain.empty();
    if ((Of(record.kind).note && !record.note.empty()) || department || chained) {
        line += ',';
        AppendField(line, common::ToUtf8(record.note));
    }
    if (department || chained) line += ',' + (department ? std::to_string(record.department) : std::string());
    if (product || chained) line += ',' + record.product;
    if (chained) line += ',' + record.chain;
    return line + "\r\n";
}

std::optional<Record> ParseRecord(std::string_view line) {
    size_t ending = LineEnding(line);
    if (ending == 0) return std::nullopt;
    std::optional<std::vector<std::string>> fields = SplitFields(line.substr(0, line.size() - ending));
    if (!fields || fields->size() < kFieldCount) return std::nullopt;
    Record record;
    std::optional<std::int64_t> sequence = ParseInteger((*fields)[0]);
    std::optional<Kind> kind = KindNamed((*fields)[2]);
    // The note's, the department's, the product's and the chain's columns; a
    // spreadsheet that saves the journal again may give every row empty ones,
    // as wide as the widest.
    if (fields->size() > kFieldCount + 4) return std::nullopt;
    if (fields->size() > kFieldCount + 3 && !(*fields)[kFieldCount + 3].empty()) {
        record.chain = (*fields)[kFieldCount + 3];
        if (!IsChainValue(record.chain)) return std::nullopt;
    }
    if (fields->size() > kFieldCount) {
        const std::string& note = (*fields)[kFieldCount];
        if (!note.empty() && !(kind && Of(*kind).note)) return std::nullopt;
        record.note = CleanNote(common::FromUtf8(note));
    }
    if (fields->size() > kFieldCount + 1 && !(*fields)[kFieldCount + 1].empty()) {
        std::optional<std::int64_t> department = ParseInteger((*fields)[kFieldCount + 1]);
        if (!department || !(kind && HasDepartment(*kind))) return std::nullopt;
        record.department = *department;
    }
    if (fields->size() > kFieldCount + 2 && !(*fields)[kFieldCount + 2].empty()) {
        const std::string& product = (*fields)[kFieldCount + 2];
        if (!IsProductCode(product) || !(kind && HasProduct(*kind))) return std::nullopt;
        record.product = product;
    }
    if (record.department < 0 || record.department > regi::kMaxDepartment) return std::nullopt;
    std::optional<std::string> time = LocalTime((*fields)[1]);
    if (!sequence || *sequence < 1 || !time || !kind) return std::nullopt;
    record.sequence = *sequence;
    record.time.assign(time->begin(), time->end());
    record.kind = *kind;
    for (size_t i = 0; i < std::size(kColumns); ++i) {
        const std::string& field = (*fields)[3 + i];
        if (!Fills(i, record.kind)) {
            if (!field.empty()) return std::nullopt;
        } else if (kColumns[i]) {
            std::optional<std::int64_t> value = ParseInteger(field);
            if (!value) return std::nullopt;
            record.*kColumns[i] = *value;
        } else {
            std::optional<int> taxClass = FindName(kClassNames, field);
            if (!taxClass) return std::nullopt;
            record.taxClass = static_cast<regi::TaxClass>(*taxClass);
        }
    }
    if (!WithinLimits(record)) return std::nullopt;
    return record;
}

void SetLine(Record& record, const regi::LineRecord& line) {
    record.taxClass = line.taxClass;
    record.unitPrice = line.unitPrice;
    record.quantity = line.quantity;
    record.subtotal = line.subtotal;
    record.department = line.department;
    record.product = line.product;
}

regi::LineRecord LineOf(const Record& record) {
    regi::LineRecord line{record.taxClass, record.unitPrice, record.quantity, record.subtotal,
                          static_cast<int>(record.department)};
    line.product = record.product;
    return line;
}

namespace {

Record DiscountRecord(const regi::Discount& discount, std::int64_t line, regi::TaxClass taxClass, std::int64_t yen,
                      bool counts) {
    Record record;
    record.kind = discount.kind == regi::DiscountKind::Yen ? Kind::YenOff : Kind::PercentOff;
    record.line = line;
    record.taxClass = taxClass;
    record.unitPrice = discount.keyed;
    record.quantity = counts ? 1 : 0;
    record.subtotal = -yen;
    return record;
}

regi::Discount DiscountOf(const Record& record) {
    regi::DiscountKind kind = record.kind == Kind::YenOff ? regi::DiscountKind::Yen : regi::DiscountKind::Percent;
    return {kind, record.unitPrice, -record.subtotal};
}

}  // namespace

std::vector<Record> SalePartRecords(const regi::SaleRecord& sale) {
    std::vector<Record> records;
    bool present[3] = {false, false, false};
    for (size_t i = 0; i < sale.lines.size(); ++i) {
        const regi::LineRecord& line = sale.lines[i];
        present[static_cast<int>(line.taxClass)] = true;
        Record record;
        record.kind = Kind::Line;
        record.line = static_cast<std::int64_t>(i) + 1;
        SetLine(record, line);
        records.push_back(record);
        if (line.discount)
            records.push_back(DiscountRecord(*line.discount, record.line, line.taxClass, line.discount->amount, true));
    }
    // The whole sale's discount: its yen for each class with lines, counted once.
    if (sale.subtotalDiscount) {
        bool first = true;
        for (regi::TaxClass c : {regi::TaxClass::Standard, regi::TaxClass::Reduced, regi::TaxClass::Exempt}) {
            if (!present[static_cast<int>(c)]) continue;
            records.push_back(
                DiscountRecord(*sale.subtotalDiscount, 0, c, sale.subtotalParts[static_cast<size_t>(c)], first));
            first = false;
        }
    }
    for (const regi::TenderPaid& paid : sale.tenders) {
        Record record;
        record.kind = Kind::Tender;
        record.line = paid.tender;
        record.total = paid.amount;
        records.push_back(record);
    }
    return records;
}

bool BuildsSale(Kind kind) {
    return kind == Kind::Line || kind == Kind::YenOff || kind == Kind::PercentOff || kind == Kind::Tender;
}

void AddSalePart(regi::SaleRecord& sale, const Record& part) {
    switch (part.kind) {
    case Kind::Line: sale.lines.push_back(LineOf(part)); break;
    case Kind::Tender: sale.tenders.push_back({static_cast<int>(part.line), part.total}); break;
    case Kind::YenOff:
    case Kind::PercentOff:
        if (part.line == 0) {
            regi::Discount discount = DiscountOf(part);
            if (sale.subtotalDiscount) discount.amount += sale.subtotalDiscount->amount;
            sale.subtotalDiscount = discount;
            sale.subtotalParts[static_cast<size_t>(part.taxClass)] -= part.subtotal;
        } else if (part.line <= static_cast<std::int64_t>(sale.lines.size())) {
            sale.lines[static_cast<size_t>(part.line - 1)].discount = DiscountOf(part);
        }
        break;
    default: break;
    }
}

regi::ClassAmounts PartsPerClass(const regi::SaleRecord& sale) {
    regi::ClassAmounts amounts = regi::NetPerClass(sale.lines);
    for (size_t c = 0; c < amounts.size(); ++c) amounts[c] -= sale.subtotalParts[c];
    return amounts;
}

void SetTaxes(Record& record, const regi::TaxTotals& taxes) {
    record.standardRate = taxes.standardRate;
    record.standardAmount = taxes.standardAmount;
    record.standardTax = taxes.standardTax;
    record.reducedRate = taxes.reducedRate;
    record.reducedAmount = taxes.reducedAmount;
    record.reducedTax = taxes.reducedTax;
    record.exemptAmount = taxes.exemptAmount;
    record.total = taxes.Total();
}

regi::TaxTotals TaxesOf(const Record& record) {
    regi::TaxTotals taxes;
    taxes.standardRate = record.standardRate;
    taxes.standardAmount = record.standardAmount;
    taxes.standardTax = record.standardTax;
    taxes.reducedRate = record.reducedRate;
    taxes.reducedAmount = record.reducedAmount;
    taxes.reducedTax = record.reducedTax;
    taxes.exemptAmount = record.exemptAmount;
    return taxes;
}

void SetSale(Record& record, const regi::SaleRecord& sale) {
    record.lines = static_cast<std::int64_t>(sale.lines.size());
    SetTaxes(record, sale.taxes);
    record.tendered = sale.tendered;
    record.change = sale.change;
}

regi::SaleRecord SaleOf(const Record& record) {
    regi::SaleRecord sale;
    sale.number = record.sale;
    sale.time = record.time;
    sale.taxes = TaxesOf(record);
    sale.tendered = record.tendered;
    sale.change = record.change;
    return sale;
}

bool ReadNamedValues(std::string_view text, std::string_view title,
                     const std::function<bool(std::string_view name, std::string_view value)>& take) {
    bool titled = false;
    while (!text.empty()) {
        size_t end = text.find("\r\n");
        if (end == std::string_view::npos) return false;
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 2);
        if (!titled) {
            if (line != title) return false;
            titled = true;
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string_view::npos || !take(line.substr(0, equals), line.substr(equals + 1))) return false;
    }
    return titled;
}

std::string FormatOpenSale(const OpenSale& sale) {
    std::string content = kOpenSaleHeader;
    for (const regi::LineRecord& line : sale.lines) {
        content += std::to_string(sale.sale) + ',' + kClassNames[static_cast<int>(line.taxClass)] + ',' +
                   std::to_string(line.unitPrice) + ',' + std::to_string(line.quantity) + ',' +
                   std::to_string(line.subtotal);
        if (line.department != 0 || line.discount || !line.product.empty())
            content += ',' + std::to_string(line.department) + ',' +
                       (line.discount ? std::string(kDiscountWords[static_cast<int>(line.discount->kind)]) + ',' +
                                            std::to_string(line.discount->keyed)
                                      : std::string(","));
        if (!line.product.empty()) content += ',' + line.product;
        content += "\r\n";
    }
    if (sale.subtotalDiscount)
        content += std::to_string(sale.sale) + ",discount," +
                   std::string(kDiscountWords[static_cast<int>(sale.subtotalDiscount->kind)]) + ',' +
                   std::to_string(sale.subtotalDiscount->keyed) + "\r\n";
    if (sale.paid.empty()) return content;
    content += std::string(kOpenSaleTendersHeader) + "\r\n";
    for (const regi::TenderPaid& paid : sale.paid)
        content +=
            std::to_string(sale.sale) + ',' + std::to_string(paid.tender) + ',' + std::to_string(paid.amount) + "\r\n";
    return content;
}

std::optional<OpenSale> ParseOpenSale(std::string_view content) {
    const std::string_view header = kOpenSaleHeader;
    if (content.substr(0, header.size()) != header) return std::nullopt;
    content.remove_prefix(header.size());
    OpenSale sale;
    bool tenders = false;  // past the tenders' header
    std::int64_t paidTotal = 0;
    while (!content.empty()) {
        size_t end = content.find("\r\n");
        if (end == std::string_view::npos) return std::nullopt;
        std::string_view row = content.substr(0, end);
        content.remove_prefix(end + 2);
        if (!tenders && row == kOpenSaleTendersHeader && !sale.lines.empty()) {
            tenders = true;
            continue;
        }
        std::optional<std::vector<std::string>> fields = SplitFields(row);
        if (!fields) return std::nullopt;
        bool wholeSaleDiscount = !tenders && fields->size() == 4 && (*fields)[1] == "discount";
        bool sized = tenders
                         ? fields->size() == 3u
                         : wholeSaleDiscount || fields->size() == 5u || fields->size() == 8u || fields->size() == 9u;
        if (!sized) return std::nullopt;
        std::optional<std::int64_t> number = ParseInteger((*fields)[0]);
        if (!number || *number < 1 || (!sale.lines.empty() && *number != sale.sale)) return std::nullopt;
        sale.sale = *number;
        if (wholeSaleDiscount) {
            if (sale.lines.empty() || sale.subtotalDiscount) return std::nullopt;
            sale.subtotalDiscount = ReadOpenDiscount((*fields)[2], (*fields)[3]);
            if (!sale.subtotalDiscount) return std::nullopt;
            continue;
        }
        if (tenders) {
            std::optional<std::int64_t> tender = ParseInteger((*fields)[1]);
            std::optional<std::int64_t> amount = ParseInteger((*fields)[2]);
            if (!tender || !amount || *tender < 1 || *tender > regi::kMaxTenders || *amount < 1 ||
                *amount > regi::kMaxSaleTotal)
                return std::nullopt;
            paidTotal += *amount;  // at most four amounts within a sale's total: no overflow
            bool again = std::any_of(sale.paid.begin(), sale.paid.end(),
                                     [&](const regi::TenderPaid& p) { return p.tender == *tender; });
            if (again || paidTotal > regi::kMaxSaleTotal) return std::nullopt;
            sale.paid.push_back({static_cast<int>(*tender), *amount});
            continue;
        }
        if (sale.lines.size() == regi::kMaxLines) return std::nullopt;
        std::optional<int> taxClass = FindName(kClassNames, (*fields)[1]);
        std::optional<std::int64_t> price = ParseInteger((*fields)[2]);
        std::optional<std::int64_t> quantity = ParseInteger((*fields)[3]);
        std::optional<std::int64_t> subtotal = ParseInteger((*fields)[4]);
        if (!taxClass || !price || !quantity || !subtotal) return std::nullopt;
        bool sound =
            Within(*price, regi::kMaxPrice) && Within(*quantity, regi::kMaxQuantity) && *subtotal == *price * *quantity;
        if (!sound || sale.subtotalDiscount) return std::nullopt;
        regi::LineRecord line{static_cast<regi::TaxClass>(*taxClass), *price, *quantity, *subtotal};
        if (fields->size() == 9u) {
            if (!IsProductCode((*fields)[8])) return std::nullopt;
            line.product = (*fields)[8];
        }
        if (fields->size() >= 8u) {
            std::optional<std::int64_t> department = ParseInteger((*fields)[5]);
            if (!department || *department < 0 || *department > regi::kMaxDepartment) return std::nullopt;
            line.department = static_cast<int>(*department);
            if (!(*fields)[6].empty() || !(*fields)[7].empty()) {
                std::optional<regi::Discount> discount = ReadOpenDiscount((*fields)[6], (*fields)[7]);
                if (!discount || *subtotal <= 0) return std::nullopt;
                discount->amount = regi::DiscountYen(discount->kind, discount->keyed, *subtotal);
                if (discount->amount > *subtotal) return std::nullopt;
                line.discount = discount;
            }
        }
        sale.lines.push_back(line);
    }
    if (sale.lines.empty() || (tenders && sale.paid.empty())) return std::nullopt;
    return sale;
}

}  // namespace journal
