#include "journal/Checkpoint.h"

#include <iterator>

namespace journal {

namespace {

const char kTitle[] = "Pelmora journal checkpoint";
const char kHexDigits[] = "0123456789abcdef";

struct Sum {
    const char* name;
    std::int64_t Period::*field;
};
const Sum kSums[] = {
    {"sales", &Period::sales},
    {"lines", &Period::lines},
    {"total", &Period::total},
    {"exempt", &Period::exempt},
    {"voids", &Period::voids},
    {"void amount", &Period::voidAmount},
    {"cancels", &Period::cancels},
    {"cancel amount", &Period::cancelAmount},
    {"negatives", &Period::negatives},
    {"negative amount", &Period::negativeAmount},
    {"next sequence", &Period::nextSequence},
    {"next sale", &Period::nextSale},
    {"next z", &Period::nextZ},
    {"first sequence", &Period::firstSequence},
};
// Written only when not 0, so that a shop that takes only cash keeps the checkpoint it had.
const Sum kTenderSums[] = {
    {"cashless sales", &Period::cashlessSales},
    {"returned", &Period::returned},
    {"returned amount", &Period::returnedAmount},
    {"money in", &Period::moneyIn},
    {"money out", &Period::moneyOut},
    {"drawer openings", &Period::drawerOpenings},
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
    for (const Sum& sum : kSums) text += std::string(sum.name) + "=" + std::to_string(c.period.*sum.field) + "\r\n";
    for (const Sum& sum : kTenderSums)
        if (c.period.*sum.field != 0)
            text += std::string(sum.name) + "=" + std::to_string(c.period.*sum.field) + "\r\n";
    for (int n = 1; n <= regi::kMaxTenders; ++n) {
        const TenderTotal& tender = c.period.tenders[n - 1];
        if (tender.sales != 0 || tender.amount != 0)
            text += "tender=" + std::to_string(n) + "," + std::to_string(tender.sales) + "," +
                    std::to_string(tender.amount) + "\r\n";
    }
    for (const RateTotal& rate : c.period.taxable)
        text += std::string("taxable=") + kClassNames[static_cast<int>(rate.taxClass)] + "," +
                std::to_string(rate.rate) + "," + std::to_string(rate.amount) + "," + std::to_string(rate.tax) + "\r\n";
    if (c.lastSale.number > 0) {
        // The last sale as the journal keeps it: its lines, its other tenders, then its sale record.
        for (const regi::LineRecord& line : c.lastSale.lines) {
            Record record;
            record.sequence = 1, record.time = c.lastSale.time, record.sale = c.lastSale.number, record.line = 1;
            SetLine(record, line);
            text += "sale line=" + RecordValue(record) + "\r\n";
        }
        for (const regi::TenderPaid& paid : c.lastSale.tenders) {
            Record record;
            record.sequence = 1, record.time = c.lastSale.time, record.kind = Kind::Tender;
            record.sale = c.lastSale.number, record.line = paid.tender, record.total = paid.amount;
            text += "sale tender=" + RecordValue(record) + "\r\n";
        }
        Record record;
        record.sequence = 1, record.time = c.lastSale.time, record.kind = Kind::Sale, record.sale = c.lastSale.number;
        SetSale(record, c.lastSale);
        text += "sale=" + RecordValue(record) + "\r\n";
    }
    return text;
}

std::optional<Checkpoint> ParseCheckpoint(std::string_view text) {
    Checkpoint c;
    bool offset = false;
    std::vector<regi::LineRecord> lines;
    std::vector<regi::TenderPaid> tenders;
    bool whole = ReadNamedValues(text, kTitle, [&](std::string_view name, std::string_view value) {
        if (name == "head" || name == "tail") {
            std::optional<std::string> bytes = FromHex(value);
            if (!bytes || bytes->size() > Checkpoint::kKnownBytes) return false;
            (name == "head" ? c.head : c.tail) = *bytes;
        } else if (name == "from") {
            if (!value.empty() && !LocalTime(value)) return false;
            c.period.from.assign(value.begin(), value.end());
        } else if (name == "taxable") {
            size_t comma = value.find(',');
            std::string_view className = value.substr(0, comma);
            RateTotal rate{regi::TaxClass::Standard};
            if (className == "reduced")
                rate.taxClass = regi::TaxClass::Reduced;
            else if (className != "standard")
                return false;
            auto numbers = comma == std::string_view::npos ? std::nullopt : Numbers(value.substr(comma + 1), 3);
            if (!numbers) return false;
            rate.rate = (*numbers)[0], rate.amount = (*numbers)[1], rate.tax = (*numbers)[2];
            c.period.taxable.push_back(rate);
        } else if (name == "tender") {
            // number, sales, amount
            std::optional<std::vector<std::int64_t>> numbers = Numbers(value, 3);
            if (!numbers || (*numbers)[0] < 1 || (*numbers)[0] > regi::kMaxTenders) return false;
            c.period.tenders[(*numbers)[0] - 1] = {(*numbers)[1], (*numbers)[2]};
        } else if (name == "sale line" || name == "sale tender" || name == "sale") {
            std::optional<Record> record = ParseRecord(std::string(value) + "\r\n");
            Kind kind = name == "sale" ? Kind::Sale : name == "sale line" ? Kind::Line : Kind::Tender;
            if (!record || record->kind != kind || c.lastSale.number > 0) return false;
            if (kind == Kind::Line) {
                lines.push_back(LineOf(*record));
                return true;
            }
            if (kind == Kind::Tender) {
                tenders.push_back({static_cast<int>(record->line), record->total});
                return true;
            }
            c.lastSale = SaleOf(*record);
            c.lastSale.lines = lines;
            c.lastSale.tenders = tenders;
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
            for (const Sum& sum : kSums)
                if (name == sum.name) c.period.*sum.field = *number, known = true;
            for (const Sum& sum : kTenderSums)
                if (name == sum.name) c.period.*sum.field = *number, known = true;
            if (!known) return false;
        }
        return true;
    });
    if (!whole || !offset || ((!lines.empty() || !tenders.empty()) && c.lastSale.number == 0)) return std::nullopt;
    return c;
}

}  // namespace journal
