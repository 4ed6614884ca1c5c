#include "register/Sale.h"

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

std::int64_t TSale::RefreshTotals(std::int64_t rate) {
    std::int64_t total = 0, taxable = 0;
    for (int r = 0; r < kRows; ++r) {
        std::int64_t subtotal = CellNumber(Cell(3, r));
        total += subtotal;
        taxable += subtotal * CellNumber(Cell(5, r));
    }
    captions_[Label1] = FormatMoney(ContainedTax(taxable, rate));
    captions_[Label2] = FormatMoney(total);
    return total;
}

Outcome TSale::KeyUp(std::uint16_t key, const std::wstring& rateText) {
    Outcome outcome;
    if (key == keyF4) {
        entry_.clear();
        outcome.acted = true;
    }
    if (key == keyDecimal) return State() == SaleState::Settled ? Clear() : outcome;
    std::int64_t rate = ReadRate(rateText);
    if (entry_.empty()) return outcome;
    switch (key) {
    case keyReturn: return NewLine(true, rate);
    case keyAdd: return NewLine(false, rate);
    case keyMultiply: return Quantity(rate);
    case keyDivide: return Settle(rate);
    default: return outcome;
    }
}

Outcome TSale::NewLine(bool taxable, std::int64_t rate) {
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
    At(4, r) = taxable ? L"" : L"非";
    At(5, r) = taxable ? L"1" : L"0";
    entry_.clear();
    // The cursor stays on the last row once the grid is full.
    if (r + 1 < kRows) {
        row_ = r + 1;
        outcome.cursorMoves.push_back(row_);
    }
    RefreshTotals(rate);
    captions_[Label5] = kTaxCaption;
    captions_[Label6] = kTotalCaption;
    captions_[Label15] = kTenderPrompt;
    captions_[Label19] = kQuantityPrompt;
    outcome.acted = true;
    return outcome;
}

Outcome TSale::Quantity(std::int64_t rate) {
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
    RefreshTotals(rate);
    outcome.acted = true;
    return outcome;
}

Outcome TSale::Settle(std::int64_t rate) {
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
    std::int64_t total = RefreshTotals(rate);
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

Outcome TSale::Clear() {
    Outcome outcome;
    for (auto& row : cells_)
        for (std::wstring& cell : row) cell.clear();
    for (Label label : {Label1, Label2, Label3, Label5, Label6, Label7, Label8}) captions_[label].clear();
    entry_.clear();
    row_ = 0;
    outcome.cursorMoves.push_back(0);
    outcome.armEntry = true;
    captions_[Label14] = kPricePrompt;
    outcome.acted = true;
    return outcome;
}

}  // namespace regi
