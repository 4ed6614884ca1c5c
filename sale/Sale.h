#pragma once
// The sale being keyed, without Windows: its lines as records, the totals at
// the rates of the last command that changed them, the change once it is
// settled, and the key commands that change it. What the register page shows
// of it is rendered from this state (register/SaleView.h); no decision is read
// back from a text.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sale/Money.h"
#include "sale/SaleRecord.h"

namespace regi {

// The rows of the line grid: one line each.
constexpr int kRows = kMaxLines;

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
    keyF5 = 116,   // the receipt of the last settled sale
    keyF6 = 117,   // the first of the other tenders
    keyF7 = 118,   // the second
    keyF8 = 119,   // cancel the sale
    keyF9 = 120,   // the third
    keyF11 = 122,  // the fourth
    keyF12 = 123,  // open the cash drawer, no sale
};
// The keys of the other tenders, by their numbers 1 to kMaxTenders.
constexpr std::uint16_t kTenderKeys[kMaxTenders] = {keyF6, keyF7, keyF9, keyF11};
constexpr const wchar_t* kTenderKeyNames[kMaxTenders] = {L"F6", L"F7", L"F9", L"F11"};

extern const wchar_t kNotARealNumber[];  // "%s" stands for the entry
using common::kNotAnInteger;
extern const wchar_t kGridFull[];
extern const wchar_t kCancelQuestion[];
extern const wchar_t kCancelPaidQuestion[];  // F8 once a tender has been keyed
extern const wchar_t kAboveDue[];            // "%s": what is still due
extern const wchar_t kLinesPaid[];           // a line, quantity or void once a tender has been keyed
extern const wchar_t kDrawerInSale[];        // F12 while a sale is open

enum class SaleState { Empty, Open, Settled };

// The settings the register reads afresh at every key release: the two rate
// texts of the settings page, which class ENTER makes and the names of the
// other tenders (an empty name, or none, is a tender the shop does not take).
struct RateTexts {
    RateTexts(std::wstring standardText = L"10", std::wstring reducedText = L"8", bool enterReduced = false,
              std::vector<std::wstring> tenderNames = {})
        : standard(std::move(standardText)),
          reduced(std::move(reducedText)),
          enterMakesReduced(enterReduced),
          tenders(std::move(tenderNames)) {}
    std::wstring standard, reduced;
    bool enterMakesReduced;
    std::vector<std::wstring> tenders;  // tender n at n - 1
    // Whether tender (1 to kMaxTenders) has a name.
    bool Offers(int tender) const;
};

// What a key release did, beyond the change to the sale.
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
    // A cancel once tenders were keyed: they are given back.
    std::function<void(const std::vector<LineRecord>&, const std::vector<TenderPaid>&)> cancellingPaid;
};

// A line as keyed: its record, and its price and quantity as the operator
// keyed them, which the grid shows as they were typed.
struct SaleLine {
    LineRecord record;
    std::wstring keyedPrice, keyedQuantity;
};

class TSale {
public:
    SaleState State() const;
    const std::vector<SaleLine>& KeyedLines() const { return lines_; }
    // The lines of the sale as records.
    std::vector<LineRecord> Lines() const;
    int LineCount() const { return static_cast<int>(lines_.size()); }
    int Row() const;  // the row cursor: the first free row, the last row once the grid is full
    // The sale's totals as last refreshed (by a line, a quantity, a void or
    // the settlement), at the rates read then.
    const TaxTotals& Totals() const { return totals_; }
    // The change, known once the sale is settled.
    const std::optional<std::int64_t>& Change() const { return change_; }
    // The other tenders keyed so far, and what is still due after them.
    const std::vector<TenderPaid>& Paid() const { return paid_; }
    std::int64_t Due() const;
    // A tender's name as offered when it was last keyed.
    std::wstring TenderName(int tender) const;
    std::int64_t SalesTotal() const { return salesTotal_; }
    // Whether the sales total is shown: after the first settlement, or once set.
    bool SalesTotalShown() const { return salesTotalShown_; }
    // Whether the price prompt replaced the placeholder (at start, or after a clear).
    bool Prompted() const { return prompted_; }
    // Whether a line has been made since start: the placeholders below the
    // price prompt are gone from then on.
    bool HadLines() const { return hadLines_; }

    // The entry field's Text: the page copies it in before a key and back after.
    const std::wstring& Entry() const { return entry_; }
    void SetEntry(std::wstring text) { entry_ = std::move(text); }

    // The start-up instruction.
    void ShowFirstPrompt() { prompted_ = true; }

    // A key release on the entry field, with the rates read afresh.
    Outcome KeyUp(std::uint16_t key, const RateTexts& rates);

    // The question F8 asks of an open sale.
    const wchar_t* CancelQuestion() const { return paid_.empty() ? kCancelQuestion : kCancelPaidQuestion; }
    // F8 answered yes: the sale's lines go, the sales total stays.
    Outcome Cancel();

    // Puts lines back into an empty sale (a sale kept when the program ended
    // unexpectedly), as if keyed; the totals at the given rates. The tenders
    // that had paid part of it come back as long as something is still due
    // (the rates may have changed since): the first ones while they stay below
    // the total, as the operator keyed them.
    void Restore(const std::vector<LineRecord>& lines, const RateTexts& rates,
                 const std::vector<TenderPaid>& paid = {});
    // The last sale settled since start, for its receipt; number 0 when none.
    const SaleRecord& LastSettled() const { return lastSettled_; }
    // Sales total since start, or since the last daily close when kept on disk.
    void SetSalesTotal(std::int64_t total);

    SaleRecorder recorder;

private:
    Outcome NewLine(TaxClass taxClass, const RateTexts& rates);
    Outcome Quantity(const RateTexts& rates);
    Outcome Settle(const RateTexts& rates);
    Outcome Pay(int tender, const RateTexts& rates);
    Outcome Finish(std::int64_t tendered, std::int64_t change, std::vector<TenderPaid> paid, const RateTexts& rates);
    Outcome Void(const RateTexts& rates);
    Outcome Clear();
    void ClearSale();
    void RefreshTotals(const RateTexts& rates);

    std::vector<SaleLine> lines_;
    TaxTotals totals_;
    std::optional<std::int64_t> change_;
    std::vector<TenderPaid> paid_;
    std::vector<std::wstring> tenderNames_;
    std::wstring entry_;
    std::int64_t salesTotal_ = 0;  // whole yen: every total it adds is whole
    bool salesTotalShown_ = false, prompted_ = false, hadLines_ = false;
    SaleRecord lastSettled_;
};

}  // namespace regi
