#include "register/Sale.h"

#include <algorithm>
#include <limits>

#include "common/MessageText.h"
#include "common/WholeNumber.h"

namespace regi {

const wchar_t kPricePrompt[] =
    L"テンキーで単価を打って、\r\n内税は [ENTER] を押して下さい｡\r\n非課税は [＋キー] を押して下さい｡";
const wchar_t kTenderPrompt[] = L"預り金を打って [ /キー] を押すと\r\n釣銭の計算が出来ます｡";
const wchar_t kQuantityPrompt[] = L"数を打って [ *キー] を押すと\r\n単価×数 =小計が出来ます｡";
const wchar_t kClearPrompt[] = L"テンキーの\r\n[ ．Delキー] を打って\r\nクリアーして下さい｡";
const wchar_t kLabel14Placeholder[] = L"※※※※※※※※※※※※※※※";
const wchar_t kBlankPlaceholder[] = L"\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000";
const wchar_t kTaxCaption[] = L"消費税";
const wchar_t kTotalCaption[] = L"合  計";
const wchar_t kTenderedCaption[] = L"預\u3000り";
const wchar_t kChangeCaption[] = L"釣\u3000銭";
const wchar_t kSalesCaption[] = L"売  上";
const wchar_t kNotARealNumber[] = L"'%s' は浮動小数点数ではありません";
const wchar_t kCancelQuestion[] = L"この取引を中止しますか?";
const wchar_t kGridFull[] = L"1回の売上に入れられるのは100行までです｡\r\nこの売上を精算してから次の行を打って下さい｡";

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// A whole decimal number with an optional "-" (and "+" when allowPlus).
std::optional<std::int64_t> ReadWhole(const std::wstring& text, bool allowPlus) {
    return common::ParseWholeNumber(text, allowPlus ? common::PlusSign::Allowed : common::PlusSign::Refused);
}

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

Outcome Failed(const wchar_t* pattern, const std::wstring& entry) {
    Outcome outcome;
    outcome.error = common::FormatMessageText(pattern, entry);
    return outcome;
}

// The tax class of a line by its flag in cell (5, r); anything else is exempt.
TaxClass ClassOfFlag(const std::wstring& flag) {
    switch (CellNumber(flag)) {
    case 1: return TaxClass::Standard;
    case 2: return TaxClass::Reduced;
    default: return TaxClass::Exempt;
    }
}

const wchar_t* FlagOf(TaxClass c) { return c == TaxClass::Standard ? L"1" : c == TaxClass::Reduced ? L"2" : L"0"; }

// Cell (4, r): "※" marks reduced-rate lines as Japanese receipts do, "非" exempt ones.
const wchar_t* MarkOf(TaxClass c) { return c == TaxClass::Standard ? L"" : c == TaxClass::Reduced ? L"※" : L"非"; }

void EraseAll(std::wstring& text, const std::wstring& what) {
    for (size_t at; (at = text.find(what)) != std::wstring::npos;) text.erase(at, what.size());
}

}  // namespace

std::wstring FormatMoney(std::int64_t amount) {
    // Digits of the magnitude, from the right; the most negative value has no
    // positive twin, so work in unsigned.
    std::uint64_t magnitude = amount < 0 ? 0 - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
    std::wstring digits;
    int count = 0;
    do {
        if (count > 0 && count % 3 == 0) digits.insert(digits.begin(), L',');
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
        magnitude /= 10;
        ++count;
    } while (magnitude != 0);
    return (amount < 0 ? L"-\u00A5" : L"\u00A5") + digits;
}

std::optional<std::int64_t> ParseAmount(const std::wstring& text) {
    std::wstring rest = text;
    EraseAll(rest, L"\u00A5");
    EraseAll(rest, L"\\");
    EraseAll(rest, L",");
    EraseAll(rest, L"税込金額 : ");
    return ReadWhole(rest, true);
}

std::int64_t CellNumber(const std::wstring& text) { return ReadWhole(text, true).value_or(0); }

std::int64_t ReadRate(const std::wstring& text) {
    std::optional<std::int64_t> rate = ReadWhole(text, true);
    if (!rate || *rate < std::numeric_limits<std::int32_t>::min() || *rate > std::numeric_limits<std::int32_t>::max())
        return 0;
    return *rate;
}

TSale::TSale() {
    captions_[Label9] = kSalesCaption;
    captions_[Label14] = kLabel14Placeholder;
    captions_[Label15] = kBlankPlaceholder;
    captions_[Label19] = kBlankPlaceholder;
}

int TSale::LineCount() const { return Cell(0, row_).empty() ? row_ : row_ + 1; }

SaleState TSale::State() const {
    if (!Caption(Label3).empty()) return SaleState::Settled;
    return Cell(0, 0).empty() ? SaleState::Empty : SaleState::Open;
}

TaxTotals TSale::RefreshTotals(std::int64_t standardRate, std::int64_t reducedRate) {
    std::vector<LineRecord> lines = Lines();
    TaxTotals totals = SumTaxes(lines, standardRate, reducedRate);
    captions_[Label1] = FormatMoney(totals.Tax());
    captions_[Label2] = FormatMoney(totals.Total());
    auto present = [&lines](TaxClass c) {
        for (const LineRecord& line : lines)
            if (line.taxClass == c) return true;
        return false;
    };
    auto taxable = [](std::int64_t rate, std::int64_t amount, std::int64_t tax) {
        return std::to_wstring(rate) + L"%対象 " + FormatMoney(amount) + L"（内消費税 " + FormatMoney(tax) + L"）";
    };
    std::vector<std::wstring> tip;
    if (present(TaxClass::Standard)) tip.push_back(taxable(standardRate, totals.standardAmount, totals.standardTax));
    if (present(TaxClass::Reduced)) tip.push_back(taxable(reducedRate, totals.reducedAmount, totals.reducedTax));
    if (present(TaxClass::Exempt)) tip.push_back(L"非課税 " + FormatMoney(totals.exemptAmount));
    taxTip_.clear();
    for (const std::wstring& line : tip) taxTip_ += (taxTip_.empty() ? L"" : L"\r\n") + line;
    return totals;
}

void TSale::RefreshTotals(const RateTexts& rates) { RefreshTotals(ReadRate(rates.standard), ReadRate(rates.reduced)); }

std::vector<LineRecord> TSale::Lines() const {
    std::vector<LineRecord> lines;
    for (int r = 0; r < kRows && !Cell(0, r).empty(); ++r)
        lines.push_back(
            {ClassOfFlag(Cell(5, r)), CellNumber(Cell(1, r)), CellNumber(Cell(2, r)), CellNumber(Cell(3, r))});
    return lines;
}

void TSale::WriteLine(int row, const LineRecord& line) {
    At(0, row) = std::to_wstring(row + 1);
    At(1, row) = std::to_wstring(line.unitPrice);
    At(2, row) = std::to_wstring(line.quantity);
    At(3, row) = std::to_wstring(line.subtotal);
    At(4, row) = MarkOf(line.taxClass);
    At(5, row) = FlagOf(line.taxClass);
}

void TSale::Restore(const std::vector<LineRecord>& lines, const RateTexts& rates) {
    if (State() != SaleState::Empty || lines.empty()) return;
    int count = static_cast<int>(std::min<size_t>(lines.size(), kRows));
    for (int r = 0; r < count; ++r) WriteLine(r, lines[static_cast<size_t>(r)]);
    row_ = count < kRows ? count : kRows - 1;
    RefreshTotals(rates);
    ShowLineCaptions();
}

// After a line: the captions of the amounts and the next instructions.
void TSale::ShowLineCaptions() {
    captions_[Label5] = kTaxCaption;
    captions_[Label6] = kTotalCaption;
    captions_[Label15] = kTenderPrompt;
    captions_[Label19] = kQuantityPrompt;
}

void TSale::SetSalesTotal(std::int64_t total) {
    salesTotal_ = total;
    captions_[Label4] = FormatMoney(total);
}

Outcome TSale::KeyUp(std::uint16_t key, const RateTexts& rates) {
    Outcome outcome;
    if (key == keyF4) {
        entry_.clear();
        outcome.acted = true;
    }
    if (key == keyDecimal) return State() == SaleState::Settled ? Clear() : outcome;
    // Corrections act on an open sale, with or without a keyed number.
    if (key == keyF3) return State() == SaleState::Open ? Void(rates) : outcome;
    if (key == keyF8) {
        outcome.askCancel = State() == SaleState::Open;
        return outcome;
    }
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
    Outcome outcome;
    if (!Caption(Label3).empty()) return outcome;
    std::optional<RealValue> value = ReadReal(entry_);
    if (!value) return Failed(kNotARealNumber, entry_);
    if (value->Outside(kMaxPrice)) return outcome;
    // A full grid refuses the line and says why; the entry stays for later.
    int r = row_;
    if (!Cell(0, r).empty()) {
        outcome.error = kGridFull;
        return outcome;
    }
    At(1, r) = entry_;
    At(0, r) = std::to_wstring(r + 1);
    At(2, r) = L"1";
    At(3, r) = Cell(1, r);
    At(4, r) = MarkOf(taxClass);
    At(5, r) = FlagOf(taxClass);
    entry_.clear();
    // The cursor stays on the last row once the grid is full.
    if (r + 1 < kRows) {
        row_ = r + 1;
        outcome.cursorMoves.push_back(row_);
    }
    RefreshTotals(rates);
    ShowLineCaptions();
    outcome.acted = true;
    return outcome;
}

Outcome TSale::Quantity(const RateTexts& rates) {
    Outcome outcome;
    if (Cell(0, 0).empty()) return outcome;
    std::optional<RealValue> value = ReadReal(entry_);
    if (!value) return Failed(kNotARealNumber, entry_);
    if (value->Outside(kMaxQuantity)) return outcome;
    if (!Caption(Label3).empty()) return outcome;
    // The last line is just above the cursor, or under it when the grid is full.
    int last = Cell(0, row_).empty() ? row_ - 1 : row_;
    row_ = last;
    outcome.cursorMoves.push_back(row_);
    At(2, last) = entry_;
    At(3, last) = std::to_wstring(CellNumber(Cell(1, last)) * CellNumber(Cell(2, last)));
    row_ = last + 1 < kRows ? last + 1 : last;
    outcome.cursorMoves.push_back(row_);
    entry_.clear();
    RefreshTotals(rates);
    outcome.acted = true;
    return outcome;
}

Outcome TSale::Settle(const RateTexts& rates) {
    Outcome outcome;
    std::optional<RealValue> value = ReadReal(entry_);
    if (!value) return Failed(kNotARealNumber, entry_);
    if (value->Above(kMaxTendered)) return outcome;
    std::optional<std::int64_t> tendered = ReadWhole(entry_, false);
    if (!tendered) return Failed(kNotAnInteger, entry_);
    if (Caption(Label1).empty() && Caption(Label2).empty()) return outcome;
    std::optional<std::int64_t> shown = ParseAmount(Caption(Label2));
    if (!shown) return outcome;
    std::int64_t change = *tendered - *shown;
    if (change < 0) return outcome;
    if (!Caption(Label3).empty()) return outcome;
    // The sale is kept first: a recorder that cannot keep it stops the settlement.
    SaleRecord record;
    record.lines = Lines();
    record.taxes = SumTaxes(record.lines, ReadRate(rates.standard), ReadRate(rates.reduced));
    record.tendered = *tendered;
    record.change = change;
    if (recorder.settling) recorder.settling(record);
    std::int64_t total = RefreshTotals(record.taxes.standardRate, record.taxes.reducedRate).Total();
    lastSettled_ = record;
    captions_[Label3] = FormatMoney(change);
    salesTotal_ += total;
    captions_[Label4] = FormatMoney(salesTotal_);
    captions_[Label7] = kTenderedCaption;
    captions_[Label8] = kChangeCaption;
    captions_[Label14] = kClearPrompt;
    captions_[Label15].clear();
    captions_[Label19].clear();
    outcome.acted = true;
    return outcome;
}

Outcome TSale::Void(const RateTexts& rates) {
    Outcome outcome;
    int count = LineCount();
    int number = count;
    if (!entry_.empty()) {
        std::optional<std::int64_t> keyed = ReadWhole(entry_, false);
        if (!keyed || *keyed < 1 || *keyed > count) return outcome;
        number = static_cast<int>(*keyed);
    }
    std::vector<LineRecord> lines = Lines();
    if (recorder.voiding) recorder.voiding(number, lines[static_cast<size_t>(number - 1)]);
    lines.erase(lines.begin() + (number - 1));
    // The lines below move up and take their new numbers.
    for (auto& row : cells_)
        for (std::wstring& cell : row) cell.clear();
    for (size_t r = 0; r < lines.size(); ++r) WriteLine(static_cast<int>(r), lines[r]);
    entry_.clear();
    row_ = static_cast<int>(lines.size());
    outcome.cursorMoves.push_back(row_);
    outcome.acted = true;
    if (lines.empty()) {
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
    if (recorder.cancelling) recorder.cancelling(Lines());
    ClearSale();
    outcome.cursorMoves.push_back(0);
    outcome.armEntry = true;
    outcome.acted = true;
    return outcome;
}

void TSale::ClearSale() {
    for (auto& row : cells_)
        for (std::wstring& cell : row) cell.clear();
    for (Label label : {Label1, Label2, Label3, Label5, Label6, Label7, Label8, Label15, Label19})
        captions_[label].clear();
    entry_.clear();
    row_ = 0;
    taxTip_.clear();
    captions_[Label14] = kPricePrompt;
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
