#include "journal/Checkpoint.h"

#include <algorithm>
#include <iterator>

namespace journal {

namespace {

const char kTitle[] = "Pelmora journal checkpoint";
const char kHexDigits[] = "0123456789abcdef";

// The period's numbers; its sums are PeriodSums() and PeriodTables().
struct Number {
    const char* name;
    std::int64_t Period::*field;
};
const Number kNumbers[] = {
    {"next sequence", &Period::nextSequence},
    {"next sale", &Period::nextSale},
    {"next z", &Period::nextZ},
    {"first sequence", &Period::firstSequence},
};

// "1100,100": exactly count numbers, separated by commas.
std::optional<std::vector<std::int64_t>> Numbers(std::string_view value, size_t count) {
    std::vector<std::int64_t> numbers;
    for (;;) {
        size_t comma = value.find(',');
        std::optional<std::int64_t> number = ParseInteger(value.substr(0, comma));
        if (!number || numbers.size() == count) return std::nullopt;
        numbers.push_back(*number);
        if (comma == std::string_view::npos) break;
        value.remove_prefix(comma + 1);
    }
    if (numbers.size() != count) return std::nullopt;
    return numbers;
}

std::string Hex(std::string_view bytes) {
    std::string text;
    for (unsigned char c : bytes) text += std::string{kHexDigits[c >> 4], kHexDigits[c & 15]};
    return text;
}

std::optional<std::string> FromHex(std::string_view text) {
    auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
    if (text.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    for (size_t i = 0; i < text.size(); i += 2) {
        int high = digit(text[i]), low = digit(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}

std::string NameValue(const char* name, std::int64_t value) {
    return std::string(name) + "=" + std::to_string(value) + "\r\n";
}

// A key's line of a table: "standard,10,1100,100".
std::string TableLine(const PeriodTable& table, const std::vector<std::int64_t>& numbers) {
    std::string text = std::string(table.name) + "=";
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) text += ",";
        text += i == 0 && !table.keyWords.empty() ? table.keyWords[numbers[0]] : std::to_string(numbers[i]);
    }
    return text + "\r\n";
}

// The numbers of a key's line; nothing when it is not what TableLine writes.
std::optional<std::vector<std::int64_t>> TableNumbers(const PeriodTable& table, std::string_view value) {
    size_t count = table.keys + table.sums;
    if (table.keyWords.empty()) return Numbers(value, count);
    size_t comma = value.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    std::string_view word = value.substr(0, comma);
    auto known = std::find(table.keyWords.begin(), table.keyWords.end(), word);
    std::optional<std::vector<std::int64_t>> rest = Numbers(value.substr(comma + 1), count - 1);
    if (known == table.keyWords.end() || !rest) return std::nullopt;
    rest->insert(rest->begin(), known - table.keyWords.begin());
    return rest;
}

const PeriodTable* TableNamed(std::string_view name) {
    for (const PeriodTable& table : PeriodTables())
        if (name == table.name) return &table;
    return nullptr;
}

// A record as a value: its journal line without the line end.
std::string RecordValue(const Record& record) {
    std::string line = FormatRecord(record);
    return line.substr(0, line.size() - 2);
}

}  // namespace

std::string FormatCheckpoint(const Checkpoint& c) {
    std::string text = std::string(kTitle) + "\r\n";
    text += "offset=" + std::to_string(c.offset) + "\r\n";
    text += "head=" + Hex(c.head) + "\r\n";
    text += "tail=" + Hex(c.tail) + "\r\n";
    text += "from=" + std::string(c.period.from.begin(), c.period.from.end()) + "\r\n";
    for (const PeriodSum& sum : PeriodSums())
        if (sum.alwaysKept) text += NameValue(sum.name, c.period.*sum.member);
    for (const Number& number : kNumbers) text += NameValue(number.name, c.period.*number.field);
    for (const PeriodSum& sum : PeriodSums())
        if (!sum.alwaysKept && c.period.*sum.member != 0) text += NameValue(sum.name, c.period.*sum.member);
    for (const PeriodTable& table : PeriodTables())
        for (const std::vector<std::int64_t>& line : table.lines(c.period)) text += TableLine(table, line);
    for (const Record& note : c.period.notes) text += "money note=" + RecordValue(note) + "\r\n";
    if (c.lastSale.number > 0) {
        // The last sale as the journal keeps it: its lines with their discounts, its other tenders, then its sale record.
        for (Record part : SalePartRecords(c.lastSale)) {
            part.sequence = 1, part.time = c.lastSale.time, part.sale = c.lastSale.number;
            const char* name = part.kind == Kind::Line ? "sale line" : part.kind == Kind::Tender ? "sale tender"
                                                                                                  : "sale discount";
            text += std::string(name) + "=" + RecordValue(part) + "\r\n";
        }
        Record record;
        record.sequence = 1, record.time = c.lastSale.time, record.kind = Kind::Sale, record.sale = c.lastSale.number;
        SetSale(record, c.lastSale);
        text += "sale=" + RecordValue(record) + "\r\n";
    }
    return text;
}

bool CountsMoney(const Checkpoint& c) {
    return (c.period.moneyIn == 0 || c.period.moneyIns != 0) && (c.period.moneyOut == 0 || c.period.moneyOuts != 0);
}

std::optional<Checkpoint> ParseCheckpoint(std::string_view text) {
    Checkpoint c;
    bool offset = false;
    std::vector<Record> parts;
    bool whole = ReadNamedValues(text, kTitle, [&](std::string_view name, std::string_view value) {
        if (name == "head" || name == "tail") {
            std::optional<std::string> bytes = FromHex(value);
            if (!bytes || bytes->size() > Checkpoint::kKnownBytes) return false;
            (name == "head" ? c.head : c.tail) = *bytes;
        } else if (name == "from") {
            if (!value.empty() && !LocalTime(value)) return false;
            c.period.from.assign(value.begin(), value.end());
        } else if (const PeriodTable* table = TableNamed(name)) {
            std::optional<std::vector<std::int64_t>> numbers = TableNumbers(*table, value);
            return numbers && table->restore(c.period, *numbers);
        } else if (name == "money note") {
            std::optional<Record> record = ParseRecord(std::string(value) + "\r\n");
            bool money = record && (record->kind == Kind::In || record->kind == Kind::Out);
            if (!money || record->note.empty()) return false;
            c.period.notes.push_back(*record);
        } else if (name == "sale line" || name == "sale tender" || name == "sale discount" || name == "sale") {
            std::optional<Record> record = ParseRecord(std::string(value) + "\r\n");
            if (!record || c.lastSale.number > 0) return false;
            Kind kind = record->kind;
            bool named = name == "sale"          ? kind == Kind::Sale
                         : name == "sale line"   ? kind == Kind::Line
                         : name == "sale tender" ? kind == Kind::Tender
                                                 : kind == Kind::YenOff || kind == Kind::PercentOff;
            if (!named) return false;
            if (kind != Kind::Sale) {
                parts.push_back(*record);
                return true;
            }
            c.lastSale = SaleOf(*record);
            for (const Record& part : parts) AddSalePart(c.lastSale, part);
        } else {
            std::optional<std::int64_t> number = ParseInteger(value);
            if (!number) return false;
            if (name == "offset") {
                if (*number < 0) return false;
                c.offset = *number;
                offset = true;
                return true;
            }
            bool known = false;
            for (const PeriodSum& sum : PeriodSums())
                if (name == sum.name) c.period.*sum.member = *number, known = true;
            for (const Number& kept : kNumbers)
                if (name == kept.name) c.period.*kept.field = *number, known = true;
            return known;
        }
        return true;
    });
    if (!whole || !offset || (!parts.empty() && c.lastSale.number == 0)) return std::nullopt;
    return c;
}

}  // namespace journal
