#pragma once
// The sale on the register page, without windows: the texts of the line grid's
// cells, of the amount and instruction labels and of the entry field, and the
// key commands that change them. The page shows exactly these texts, so every
// rule reads its decision from what the operator sees (a line exists when cell
// (0, 0) is not empty; a sale is settled when the change label is not empty).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/WholeNumber.h"
#include "register/SaleRecord.h"

namespace regi {

constexpr int kRows = 100;
constexpr int kCols = 6;

// Limits of what the operator keys; the same below zero as above it, so that
// no product or sum can leave 64 bits.
constexpr std::int64_t kMaxPrice = 9'999'999;
constexpr std::int64_t kMaxQuantity = 999;
constexpr std::int64_t kMaxTendered = 999'999'999'999;

// Key codes of the commands (the platform's virtual keys).
enum Key : std::uint16_t {
    keyReturn = 13,
    keyMultiply = 106,
    keyAdd = 107,
    keyDecimal = 110,
    keyDivide = 111,
    keyF1 = 112,
    keyF4 = 115,
};

// The labels of the page whose captions belong to the sale.
enum Label : int {
    Label1 = 1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9,
    Label14 = 14, Label15 = 15, Label19 = 19,
};

extern const wchar_t kPricePrompt[];
extern const wchar_t kTenderPrompt[];
extern const wchar_t kQuantityPrompt[];
extern const wchar_t kClearPrompt[];
extern const wchar_t kLabel14Placeholder[];
extern const wchar_t kBlankPlaceholder[];  // Label15 and Label19 before the first line
extern const wchar_t kTaxCaption[], kTotalCaption[], kTenderedCaption[], kChangeCaption[], kSalesCaption[];
extern const wchar_t kNotARealNumber[];    // "%s" stands for the entry
using common::kNotAnInteger;
extern const wchar_t kGridFull[];

// "¥1,234,567"; a negative amount has "-" before the sign.
std::wstring FormatMoney(std::int64_t amount);
// Back from a money text: drops every yen sign ("¥" or "\"), every "," and
// every "税込金額 : ", then reads a signed decimal integer. Nothing on failure.
std::optional<std::int64_t> ParseAmount(const std::wstring& text);
// A cell read as a number: a whole decimal number, anything else counts as 0.
std::int64_t CellNumber(const std::wstring& text);
// The tax rate in percent from the settings page's text: a whole decimal
// number within 32 bits, anything else is 0.
std::int64_t ReadRate(const std::wstring& text);

enum class SaleState { Empty, Open, Settled };

// What a key release did, beyond the texts.
struct Outcome {
    bool acted = false;            // a command ran (the entry field gets the focus)
    bool armEntry = false;         // re-arm the entry field: posted clicks
    std::vector<int> cursorMoves;  // the row cursor's moves, in order
    std::wstring error;            // a message for the operator, nothing changed
};

class TSale {
public:
    TSale();

    const std::wstring& Cell(int col, int row) const { return cells_.at(static_cast<size_t>(row)).at(static_cast<size_t>(col)); }
    const std::wstring& Caption(Label label) const { return captions_.at(static_cast<size_t>(label)); }
    int Row() const { return row_; }              // the row cursor: the first free row
    int LineCount() const;
    std::int64_t SalesTotal() const { return salesTotal_; }
    SaleState State() const;

    // The entry field's Text: the page copies it in before a key and back after.
    const std::wstring& Entry() const { return entry_; }
    void SetEntry(std::wstring text) { entry_ = std::move(text); }

    // The start-up instruction (Label14 := PricePrompt).
    void ShowFirstPrompt() { captions_[Label14] = kPricePrompt; }

    // A key release on the entry field, with the rate text read afresh.
    Outcome KeyUp(std::uint16_t key, const std::wstring& rateText);

    // Tax into Label1, total into Label2; returns the total.
    std::int64_t RefreshTotals(std::int64_t rate);

private:
    Outcome NewLine(bool taxable, std::int64_t rate);
    Outcome Quantity(std::int64_t rate);
    Outcome Settle(std::int64_t rate);
    Outcome Clear();
    std::wstring& At(int col, int row) { return cells_[static_cast<size_t>(row)][static_cast<size_t>(col)]; }

    std::array<std::array<std::wstring, kCols>, kRows> cells_;
    std::array<std::wstring, 20> captions_;
    std::wstring entry_;
    int row_ = 0;
    std::int64_t salesTotal_ = 0;  // whole yen: every total it adds is whole
};

}  // namespace regi
