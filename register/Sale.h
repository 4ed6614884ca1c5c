#pragma once
// The sale on the register page, without windows: the texts of the line grid's
// cells, of the amount and instruction labels and of the entry field, and the
// key commands that change them. The page shows exactly these texts, so every
// rule reads its decision from what the operator sees (a line exists when cell
// (0, 0) is not empty; a sale is settled when the change label is not empty).
#include <array>
#include <cstdint>
#include <functional>
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
constexpr std::int64_t kMaxTendered = common::kMaxAmount;

// Key codes of the commands (the platform's virtual keys).
enum Key : std::uint16_t {
    keyReturn = 13,
    keyMultiply = 106,
    keyAdd = 107,
    keyDecimal = 110,
    keyDivide = 111,
    keyF1 = 112,
    keyF2 = 113,  // a line of the other taxable class than ENTER's
    keyF3 = 114,  // void the last line, or the line whose number is keyed
    keyF4 = 115,
    keyF5 = 116,  // the receipt of the last settled sale
    keyF8 = 119,  // cancel the sale
};

// The labels of the page whose captions belong to the sale, by their numbers;
// the page's control IDs (regi::ids) name the same widgets as windows.
enum Label : int {
    Label1 = 1,    // the sale's consumption tax, money text
    Label2,        // the sale's total
    Label3,        // the change; not empty once the sale is settled
    Label4,        // the sales total
    Label5,        // caption of Label1: "消費税"
    Label6,        // caption of Label2: "合  計"
    Label7,        // caption of the entry field once settled: "預　り"
    Label8,        // caption of Label3: "釣　銭"
    Label9,        // caption of Label4: "売  上", fixed
    Label14 = 14,  // the first instruction: price, or clear
    Label15 = 15,  // the second instruction: tender
    Label19 = 19,  // the third instruction: quantity
};

extern const wchar_t kPricePrompt[];
extern const wchar_t kTenderPrompt[];
extern const wchar_t kQuantityPrompt[];
extern const wchar_t kClearPrompt[];
extern const wchar_t kLabel14Placeholder[];
extern const wchar_t kBlankPlaceholder[];  // Label15 and Label19 before the first line
extern const wchar_t kTaxCaption[], kTotalCaption[], kTenderedCaption[], kChangeCaption[], kSalesCaption[];
extern const wchar_t kNotARealNumber[];  // "%s" stands for the entry
using common::kNotAnInteger;
extern const wchar_t kGridFull[];
extern const wchar_t kCancelQuestion[];

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

// The settings the register reads afresh at every key release: the two rate
// texts of the settings page and which class ENTER makes.
struct RateTexts {
    RateTexts(std::wstring standardText = L"10", std::wstring reducedText = L"8", bool enterReduced = false)
        : standard(std::move(standardText)), reduced(std::move(reducedText)), enterMakesReduced(enterReduced) {}
    std::wstring standard, reduced;
    bool enterMakesReduced;
};

// What a key release did, beyond the texts.
struct Outcome {
    bool acted = false;            // a command ran (the entry field gets the focus)
    bool armEntry = false;         // re-arm the entry field: posted clicks
    bool askCancel = false;        // F8 in an open sale: ask, then Cancel()
    std::vector<int> cursorMoves;  // the row cursor's moves, in order
    std::wstring error;            // a message for the operator, nothing changed
};

// Told before a change is made, so that it can be kept on disk first; what
// they throw stops the change and leaves the sale as it was.
struct SaleRecorder {
    std::function<void(SaleRecord&)> settling;  // gives the sale its number and time
    std::function<void(int lineNumber, const LineRecord&)> voiding;
    std::function<void(const std::vector<LineRecord>&)> cancelling;
};

class TSale {
public:
    TSale();

    const std::wstring& Cell(int col, int row) const {
        return cells_.at(static_cast<size_t>(row)).at(static_cast<size_t>(col));
    }
    const std::wstring& Caption(Label label) const { return captions_.at(static_cast<size_t>(label)); }
    int Row() const { return row_; }  // the row cursor: the first free row
    int LineCount() const;
    std::int64_t SalesTotal() const { return salesTotal_; }
    SaleState State() const;

    // The entry field's Text: the page copies it in before a key and back after.
    const std::wstring& Entry() const { return entry_; }
    void SetEntry(std::wstring text) { entry_ = std::move(text); }

    // The start-up instruction (Label14 := PricePrompt).
    void ShowFirstPrompt() { captions_[Label14] = kPricePrompt; }

    // A key release on the entry field, with the rates read afresh.
    Outcome KeyUp(std::uint16_t key, const RateTexts& rates);

    // F8 answered yes: the sale's lines and labels go, the sales total stays.
    Outcome Cancel();

    // Tax into Label1, total into Label2, the breakdown into the tax tip;
    // returns the per-class sums.
    TaxTotals RefreshTotals(std::int64_t standardRate, std::int64_t reducedRate);

    // The lines of the sale as records.
    std::vector<LineRecord> Lines() const;
    // Puts lines back into an empty sale (a sale kept when the program ended
    // unexpectedly), as if keyed; the totals at the given rates.
    void Restore(const std::vector<LineRecord>& lines, const RateTexts& rates);
    // The last sale settled since start, for its receipt; number 0 when none.
    const SaleRecord& LastSettled() const { return lastSettled_; }
    // The tax per class, one line each for the classes present, for the tip.
    const std::wstring& TaxTip() const { return taxTip_; }
    // Sales total since start, or since the last daily close when kept on disk.
    void SetSalesTotal(std::int64_t total);

    SaleRecorder recorder;

private:
    Outcome NewLine(TaxClass taxClass, const RateTexts& rates);
    Outcome Quantity(const RateTexts& rates);
    Outcome Settle(const RateTexts& rates);
    Outcome Void(const RateTexts& rates);
    Outcome Clear();
    void ClearSale();
    void RefreshTotals(const RateTexts& rates);
    void WriteLine(int row, const LineRecord& line);
    void ShowLineCaptions();
    std::wstring& At(int col, int row) { return cells_[static_cast<size_t>(row)][static_cast<size_t>(col)]; }

    std::array<std::array<std::wstring, kCols>, kRows> cells_;
    std::array<std::wstring, 20> captions_;
    std::wstring entry_;
    int row_ = 0;
    std::int64_t salesTotal_ = 0;  // whole yen: every total it adds is whole
    SaleRecord lastSettled_;
    std::wstring taxTip_;
};

}  // namespace regi
