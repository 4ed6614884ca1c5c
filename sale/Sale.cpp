#include "sale/Sale.h"

#include <algorithm>

#include "common/MessageText.h"
#include "common/WholeNumber.h"

namespace regi {

const wchar_t kNotARealNumber[] = L"'%s' は浮動小数点数ではありません";
const wchar_t kCancelQuestion[] = L"この取引を中止しますか?";
const wchar_t kCancelPaidQuestion[] =
    L"この取引を中止しますか?\r\n受け取った支払いは返したものとして記録されます｡"
    L"カードなどの支払いは手で取り消して下さい｡";
const wchar_t kAboveDue[] = L"現金以外の支払いではお釣りを出せません｡\r\n残りは %s です｡";
const wchar_t kLinesPaid[] = L"支払いを受けた取引の明細は変えられません｡\r\nやり直すには F8 で取引を中止して下さい｡";
const wchar_t kDrawerInSale[] = L"取引の途中ではドロアを開けられません｡\r\n精算するか F8 で中止してから開けて下さい｡";
const wchar_t kGridFull[] = L"1回の売上に入れられるのは100行までです｡\r\nこの売上を精算してから次の行を打って下さい｡";

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The entry as a real number, as far as the limits need it: its sign, its whole
// part (saturated far beyond every limit) and whether it has a fraction.
struct RealValue {
    bool negative = false;
    std::int64_t whole = 0;
    bool fraction = false;

    bool Above(std::int64_t limit) const { return !negative && (whole > limit || (whole == limit && fraction)); }
    bool Below(std::int64_t limit) const { return negative && (whole > limit || (whole == limit && fraction)); }
    bool Outside(std::int64_t limit) const { return Above(limit) || Below(limit); }
};

std::optional<RealValue> ReadReal(const std::wstring& text) {
    RealValue value;
    size_t i = 0;
    if (i < text.size() && text[i] == L'-') {
        value.negative = true;
        ++i;
    }
    bool digits = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        digits = true;
        if (value.whole < 1'000'000'000'000'000) value.whole = value.whole * 10 + (text[i] - L'0');
    }
    if (i < text.size() && text[i] == L'.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            digits = true;
            if (text[i] != L'0') value.fraction = true;
        }
    }
    if (!digits || i != text.size()) return std::nullopt;
    return value;
}

std::optional<std::int64_t> ReadWhole(const std::wstring& text) {
    return common::ParseWholeNumber(text, common::PlusSign::Refused);
}

Outcome Failed(const wchar_t* pattern, const std::wstring& entry) {
    Outcome outcome;
    outcome.error = common::FormatMessageText(pattern, entry);
    return outcome;
}

// The entry as a whole number within limit, as the line and quantity commands
// take it: a text that is no number says so, one beyond the limit does
// nothing, and a number with a fraction, which no cell could hold, says so.
struct Keyed {
    std::optional<std::int64_t> value;
    Outcome refusal;
};
Keyed ReadKeyed(const std::wstring& entry, std::int64_t limit) {
    std::optional<RealValue> real = ReadReal(entry);
    if (!real) return {std::nullopt, Failed(kNotARealNumber, entry)};
    if (real->Outside(limit)) return {std::nullopt, Outcome{}};
    std::optional<std::int64_t> whole = ReadWhole(entry);
    if (!whole) return {std::nullopt, Failed(kNotAnInteger, entry)};
    return {whole, Outcome{}};
}

}  // namespace

bool RateTexts::Offers(int tender) const {
    return tender >= 1 && tender <= kMaxTenders && static_cast<size_t>(tender) <= tenders.size() &&
           !tenders[static_cast<size_t>(tender - 1)].empty();
}

std::int64_t TSale::Due() const {
    std::int64_t due = totals_.Total();
    for (const TenderPaid& paid : paid_) due -= paid.amount;  // each at most what was due then
    return due;
}

std::wstring TSale::TenderName(int tender) const { return regi::TenderName(tenderNames_, tender); }

SaleState TSale::State() const {
    if (change_) return SaleState::Settled;
    return lines_.empty() ? SaleState::Empty : SaleState::Open;
}

int TSale::Row() const { return std::min(LineCount(), kRows - 1); }

std::vector<LineRecord> TSale::Lines() const {
    std::vector<LineRecord> lines;
    lines.reserve(lines_.size());
    for (const SaleLine& line : lines_) lines.push_back(line.record);
    return lines;
}

void TSale::RefreshTotals(const RateTexts& rates) {
    totals_ = SumTaxes(Lines(), ReadRate(rates.standard), ReadRate(rates.reduced));
}

void TSale::Restore(const std::vector<LineRecord>& lines, const RateTexts& rates, const std::vector<TenderPaid>& paid) {
    if (State() != SaleState::Empty || lines.empty()) return;
    size_t count = std::min<size_t>(lines.size(), kRows);
    for (size_t i = 0; i < count; ++i)
        lines_.push_back({lines[i], std::to_wstring(lines[i].unitPrice), std::to_wstring(lines[i].quantity)});
    hadLines_ = true;
    RefreshTotals(rates);
    tenderNames_ = rates.tenders;
    for (const TenderPaid& p : paid) {
        if (p.amount <= 0 || p.amount >= Due()) break;
        paid_.push_back(p);
    }
}

void TSale::SetSalesTotal(std::int64_t total) {
    salesTotal_ = total;
    salesTotalShown_ = true;
}

Outcome TSale::KeyUp(std::uint16_t key, const RateTexts& rates) {
    Outcome outcome;
    if (key == keyF4) {
        entry_.clear();
        outcome.acted = true;
    }
    if (key == keyDecimal) return State() == SaleState::Settled ? Clear() : outcome;
    // Corrections act on an open sale, with or without a keyed number.
    if (key == keyF3) {
        if (State() != SaleState::Open) return outcome;
        return paid_.empty() ? Void(rates) : Failed(kLinesPaid, L"");
    }
    if (key == keyF8) {
        outcome.askCancel = State() == SaleState::Open;
        return outcome;
    }
    for (int tender = 1; tender <= kMaxTenders; ++tender)
        if (key == kTenderKeys[tender - 1]) return rates.Offers(tender) ? Pay(tender, rates) : outcome;
    if (entry_.empty()) return outcome;
    TaxClass enterClass = rates.enterMakesReduced ? TaxClass::Reduced : TaxClass::Standard;
    TaxClass otherClass = rates.enterMakesReduced ? TaxClass::Standard : TaxClass::Reduced;
    switch (key) {
    case keyReturn: return NewLine(enterClass, rates);
    case keyF2: return NewLine(otherClass, rates);
    case keyAdd: return NewLine(TaxClass::Exempt, rates);
    case keyMultiply: return Quantity(rates);
    case keyDivide: return Settle(rates);
    default: return outcome;
    }
}

Outcome TSale::NewLine(TaxClass taxClass, const RateTexts& rates) {
    if (State() == SaleState::Settled) return Outcome{};
    if (!paid_.empty()) return Failed(kLinesPaid, L"");
    Keyed price = ReadKeyed(entry_, kMaxPrice);
    if (!price.value) return price.refusal;
    // A full grid refuses the line and says why; the entry stays for later.
    Outcome outcome;
    if (LineCount() == kRows) {
        outcome.error = kGridFull;
        return outcome;
    }
    lines_.push_back({{taxClass, *price.value, 1, *price.value}, entry_, L"1"});
    hadLines_ = true;
    entry_.clear();
    // The cursor stays on the last row once the grid is full.
    if (LineCount() < kRows) outcome.cursorMoves.push_back(LineCount());
    RefreshTotals(rates);
    outcome.acted = true;
    return outcome;
}

Outcome TSale::Quantity(const RateTexts& rates) {
    if (State() == SaleState::Empty) return Outcome{};
    Keyed quantity = ReadKeyed(entry_, kMaxQuantity);
    if (!quantity.value) return quantity.refusal;
    if (State() == SaleState::Settled) return Outcome{};
    if (!paid_.empty()) return Failed(kLinesPaid, L"");
    // The cursor goes up to the last line and back to the first free row.
    Outcome outcome;
    SaleLine& last = lines_.back();
    outcome.cursorMoves = {LineCount() - 1, Row()};
    last.keyedQuantity = entry_;
    last.record.quantity = *quantity.value;
    last.record.subtotal = last.record.unitPrice * last.record.quantity;  // both within their limits
    entry_.clear();
    RefreshTotals(rates);
    outcome.acted = true;
    return outcome;
}

Outcome TSale::Settle(const RateTexts& rates) {
    std::optional<RealValue> value = ReadReal(entry_);
    if (!value) return Failed(kNotARealNumber, entry_);
    if (value->Above(kMaxTendered)) return Outcome{};
    std::optional<std::int64_t> tendered = ReadWhole(entry_);
    if (!tendered) return Failed(kNotAnInteger, entry_);
    if (State() == SaleState::Empty) return Outcome{};
    // Below the register's limits the change could not be computed.
    if (*tendered < -kMaxTendered) return Failed(kOutOfRange, entry_);
    std::int64_t change = *tendered - Due();
    if (change < 0 || State() == SaleState::Settled) return Outcome{};
    return Finish(*tendered, change, paid_, rates);
}

// An amount for another tender: the entry, or with none all that is due. It
// never gives change, and it settles the sale once nothing is due.
Outcome TSale::Pay(int tender, const RateTexts& rates) {
    if (State() != SaleState::Open) return Outcome{};
    tenderNames_ = rates.tenders;
    std::int64_t due = Due();
    std::int64_t amount = due;
    if (!entry_.empty()) {
        std::optional<RealValue> value = ReadReal(entry_);
        if (!value) return Failed(kNotARealNumber, entry_);
        if (value->Outside(kMaxTendered) || value->negative) return Failed(kOutOfRange, entry_);
        std::optional<std::int64_t> keyed = ReadWhole(entry_);
        if (!keyed) return Failed(kNotAnInteger, entry_);
        amount = *keyed;
    }
    // A sale of nothing or less is settled in cash, with `/`.
    if (amount <= 0 || due <= 0) return Outcome{};
    if (amount > due) return Failed(kAboveDue, FormatMoney(due));
    std::vector<TenderPaid> paid = paid_;
    auto same = std::find_if(paid.begin(), paid.end(), [tender](const TenderPaid& p) { return p.tender == tender; });
    if (same == paid.end())
        paid.push_back({tender, amount});
    else
        same->amount += amount;  // both within what is due
    Outcome outcome;
    if (amount == due) {
        outcome = Finish(0, 0, std::move(paid), rates);
    } else {
        paid_ = std::move(paid);
        outcome.acted = true;
    }
    if (outcome.acted) entry_.clear();
    return outcome;
}

Outcome TSale::Finish(std::int64_t tendered, std::int64_t change, std::vector<TenderPaid> paid,
                      const RateTexts& rates) {
    SaleRecord record;
    record.lines = Lines();
    record.taxes = SumTaxes(record.lines, ReadRate(rates.standard), ReadRate(rates.reduced));
    record.tendered = tendered;
    record.change = change;
    record.tenders = std::move(paid);
    std::optional<std::int64_t> salesTotal = CheckedAdd(salesTotal_, record.taxes.Total());
    if (!salesTotal) return Failed(kOutOfRange, FormatMoney(record.taxes.Total()));
    // The sale is kept first: a recorder that cannot keep it stops the settlement.
    if (recorder.settling) recorder.settling(record);
    totals_ = record.taxes;
    paid_ = record.tenders;
    lastSettled_ = record;
    change_ = change;
    salesTotal_ = *salesTotal;
    salesTotalShown_ = true;
    Outcome outcome;
    outcome.acted = true;
    return outcome;
}

Outcome TSale::Void(const RateTexts& rates) {
    Outcome outcome;
    int count = LineCount();
    int number = count;
    if (!entry_.empty()) {
        std::optional<std::int64_t> keyed = ReadWhole(entry_);
        if (!keyed || *keyed < 1 || *keyed > count) return outcome;
        number = static_cast<int>(*keyed);
    }
    if (recorder.voiding) recorder.voiding(number, lines_[static_cast<size_t>(number - 1)].record);
    // The lines below move up and take their new numbers.
    lines_.erase(lines_.begin() + (number - 1));
    entry_.clear();
    outcome.cursorMoves.push_back(LineCount());
    outcome.acted = true;
    if (lines_.empty()) {
        ClearSale();
        outcome.cursorMoves.push_back(0);
        return outcome;
    }
    RefreshTotals(rates);
    return outcome;
}

Outcome TSale::Cancel() {
    Outcome outcome;
    if (State() != SaleState::Open) return outcome;
    if (!paid_.empty() && recorder.cancellingPaid)
        recorder.cancellingPaid(Lines(), paid_);
    else if (recorder.cancelling)
        recorder.cancelling(Lines());
    ClearSale();
    outcome.cursorMoves.push_back(0);
    outcome.armEntry = true;
    outcome.acted = true;
    return outcome;
}

void TSale::ClearSale() {
    lines_.clear();
    totals_ = TaxTotals();
    change_.reset();
    paid_.clear();
    entry_.clear();
    prompted_ = true;
}

Outcome TSale::Clear() {
    Outcome outcome;
    ClearSale();
    outcome.cursorMoves.push_back(0);
    outcome.armEntry = true;
    outcome.acted = true;
    return outcome;
}

}  // namespace regi
