#include "journal/Period.h"

#include <algorithm>

#include "register/Sale.h"

namespace journal {

namespace {

void AddTaxable(std::vector<RateTotal>& taxable, regi::TaxClass taxClass, std::int64_t rate, std::int64_t amount,
                std::int64_t tax) {
    if (amount == 0 && tax == 0) return;
    auto before = [](const RateTotal& a, const RateTotal& b) {
        return a.taxClass != b.taxClass ? a.taxClass == regi::TaxClass::Standard : a.rate < b.rate;
    };
    RateTotal key{taxClass, rate, 0, 0};
    auto place = std::lower_bound(taxable.begin(), taxable.end(), key, before);
    if (place == taxable.end() || place->taxClass != taxClass || place->rate != rate)
        place = taxable.insert(place, key);
    place->amount += amount;
    place->tax += tax;
}

Record Numbered(std::int64_t sequence, const std::wstring& time, Kind kind) {
    Record record;
    record.sequence = sequence;
    record.time = time;
    record.kind = kind;
    return record;
}

void SetLine(Record& record, const regi::LineRecord& line) {
    record.taxClass = line.taxClass;
    record.unitPrice = line.unitPrice;
    record.quantity = line.quantity;
    record.subtotal = line.subtotal;
}

std::wstring Shown(std::wstring time) {
    std::replace(time.begin(), time.end(), L'T', L' ');
    return time;
}

std::wstring Count(std::int64_t count, std::int64_t amount) {
    return std::to_wstring(count) + L"件\t" + regi::FormatMoney(amount);
}

}  // namespace

void Period::Add(const Record& record) {
    nextSequence = std::max(nextSequence, record.sequence + 1);
    if (firstSequence == 0 || record.sequence < firstSequence) {
        firstSequence = record.sequence;
        from = record.time;
    }
    switch (record.kind) {
    case Kind::Line:
        if (record.subtotal < 0) {
            ++negatives;
            negativeAmount += record.subtotal;
        }
        break;
    case Kind::Sale:
        ++sales;
        lines += record.lines;
        total += record.total;
        AddTaxable(taxable, regi::TaxClass::Standard, record.standardRate, record.standardAmount, record.standardTax);
        AddTaxable(taxable, regi::TaxClass::Reduced, record.reducedRate, record.reducedAmount, record.reducedTax);
        exempt += record.exemptAmount;
        tax += record.standardTax + record.reducedTax;
        break;
    case Kind::Void:
        ++voids;
        voidAmount += record.subtotal;
        return;  // a void's sale number is still open
    case Kind::Cancel:
        ++cancels;
        cancelAmount += record.total;
        break;
    case Kind::X: break;
    case Kind::Z: nextZ = std::max(nextZ, record.z + 1); break;
    }
    if (record.kind != Kind::Line) nextSale = std::max(nextSale, record.sale + 1);
}

std::vector<Record> Period::SaleRecords(const regi::SaleRecord& sale) const {
    std::vector<Record> records;
    std::int64_t sequence = nextSequence;
    for (const regi::LineRecord& line : sale.lines) {
        Record record = Numbered(sequence++, sale.time, Kind::Line);
        record.sale = nextSale;
        record.line = static_cast<std::int64_t>(records.size()) + 1;
        SetLine(record, line);
        records.push_back(record);
    }
    Record record = Numbered(sequence, sale.time, Kind::Sale);
    record.sale = nextSale;
    record.lines = static_cast<std::int64_t>(sale.lines.size());
    const regi::TaxTotals& taxes = sale.taxes;
    record.standardRate = taxes.standardRate;
    record.standardAmount = taxes.standardAmount;
    record.standardTax = taxes.standardTax;
    record.reducedRate = taxes.reducedRate;
    record.reducedAmount = taxes.reducedAmount;
    record.reducedTax = taxes.reducedTax;
    record.exemptAmount = taxes.exemptAmount;
    record.total = taxes.Total();
    record.tendered = sale.tendered;
    record.change = sale.change;
    records.push_back(record);
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

Record Period::ReportRecord(Kind kind, std::int64_t cashFloat, const std::wstring& time) const {
    Record record = Numbered(nextSequence, time, kind);
    record.sale = nextSale - 1;
    record.lines = lines;
    for (const RateTotal& rate : taxable) {
        bool standard = rate.taxClass == regi::TaxClass::Standard;
        (standard ? record.standardAmount : record.reducedAmount) += rate.amount;
        (standard ? record.standardTax : record.reducedTax) += rate.tax;
    }
    record.exemptAmount = exempt;
    record.total = total;
    record.sales = sales;
    record.voids = voids;
    record.voidAmount = voidAmount;
    record.cancels = cancels;
    record.cancelAmount = cancelAmount;
    record.negatives = negatives;
    record.negativeAmount = negativeAmount;
    record.cashFloat = cashFloat;
    record.expectedCash = cashFloat + total;
    if (kind == Kind::Z) record.z = nextZ;
    return record;
}

bool BackwardReader::Feed(std::string_view chunk, bool atStart) {
    if (done_) return false;
    unread_.insert(0, chunk);
    // Lines are taken from the end. Each ends in "\n" except the file's last
    // when it was cut short; the first line of unread_ may have begun in bytes
    // not fed yet.
    while (!unread_.empty() && !done_) {
        size_t before = unread_.size() < 2 ? std::string::npos : unread_.rfind('\n', unread_.size() - 2);
        if (before == std::string::npos && !atStart) return true;
        size_t start = before == std::string::npos ? 0 : before + 1;
        Line(std::string_view(unread_).substr(start), start == 0 && atStart);
        unread_.resize(start);
    }
    return !done_ && !atStart;
}

void BackwardReader::Line(std::string_view line, bool first) {
    if (first && line.substr(0, 3) == kByteOrderMark) line.remove_prefix(3);
    std::string_view text = line.substr(0, line.find_last_not_of("\r\n") + 1);
    // The header, even one cut short while a new journal was made, is no record.
    if (text.empty() || (first && std::string_view(kHeader).substr(0, text.size()) == text)) return;
    std::optional<Record> record = ParseRecord(line);
    // Read backward, numbers fall. A record with a number at or above one read
    // already is an earlier attempt of a write that failed and was tried again
    // with the same numbers: the later one holds.
    bool superseded = record && period_.firstSequence != 0 && record->sequence >= period_.firstSequence;
    // A sale's lines stand just before its sale record; lines without it are
    // what a power cut left of a sale that stayed open.
    bool orphan = record && record->kind == Kind::Line && record->sale != linesOf_;
    if (!record || superseded || orphan) {
        ++unreadable_;
        return;
    }
    linesOf_ = record->kind == Kind::Sale || record->kind == Kind::Line ? record->sale : 0;
    period_.Add(*record);
    // Read backward, the last sale comes first, then its lines, last to first.
    if (record->kind == Kind::Sale && lastSale_.number == 0) {
        lastSale_.number = record->sale;
        lastSale_.time = record->time;
        lastSale_.taxes.standardRate = record->standardRate;
        lastSale_.taxes.reducedRate = record->reducedRate;
        lastSale_.taxes.standardAmount = record->standardAmount;
        lastSale_.taxes.standardTax = record->standardTax;
        lastSale_.taxes.reducedAmount = record->reducedAmount;
        lastSale_.taxes.reducedTax = record->reducedTax;
        lastSale_.taxes.exemptAmount = record->exemptAmount;
        lastSale_.tendered = record->tendered;
        lastSale_.change = record->change;
    } else if (record->kind == Kind::Line && record->sale == lastSale_.number) {
        lastSale_.lines.insert(lastSale_.lines.begin(),
                               {record->taxClass, record->unitPrice, record->quantity, record->subtotal});
    }
    if (record->kind == Kind::Z) done_ = true;
}

BackwardReader ReadJournal(std::string_view bytes) {
    BackwardReader reader;
    reader.Feed(bytes, true);
    return reader;
}

std::vector<std::wstring> ReportLines(const Period& period, const Record& report) {
    std::vector<std::wstring> lines;
    lines.push_back(report.kind == Kind::Z ? L"精算\tNo." + std::to_wstring(report.z) : L"点検");
    std::wstring to = Shown(report.time);
    lines.push_back(L"期間\t" + (period.from.empty() ? to : Shown(period.from)) + L" ～ " + to);
    lines.push_back(L"客数\t" + std::to_wstring(period.sales));
    lines.push_back(L"行数\t" + std::to_wstring(period.lines));
    lines.push_back(L"売上合計\t" + regi::FormatMoney(period.total));
    for (const RateTotal& rate : period.taxable) {
        bool reduced = rate.taxClass == regi::TaxClass::Reduced;
        std::wstring name = (reduced ? L"軽減" : L"") + std::to_wstring(rate.rate) + L"%";
        lines.push_back(name + L"対象\t" + regi::FormatMoney(rate.amount));
        lines.push_back(name + L"内消費税\t" + regi::FormatMoney(rate.tax));
    }
    lines.push_back(L"非課税\t" + regi::FormatMoney(period.exempt));
    lines.push_back(L"消費税合計\t" + regi::FormatMoney(period.tax));
    lines.push_back(L"行取消\t" + Count(period.voids, period.voidAmount));
    lines.push_back(L"取引中止\t" + Count(period.cancels, period.cancelAmount));
    lines.push_back(L"マイナス行\t" + Count(period.negatives, period.negativeAmount));
    lines.push_back(L"釣銭準備金\t" + regi::FormatMoney(report.cashFloat));
    lines.push_back(L"現金予定額\t" + regi::FormatMoney(report.expectedCash));
    return lines;
}

}  // namespace journal
