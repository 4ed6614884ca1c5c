#pragma once
// The sale being keyed, without Windows: its lines as records, the totals at
// the rates of the last command that changed them, the change once it is
// settled, and the commands that change it. It knows no keys and no widgets:
// the register maps keys to commands (register/KeyTable.h) and renders this
// state into its widgets (register/SaleView.h); no decision is read back from
// a text.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sale/Department.h"
#include "sale/Money.h"
#include "sale/SaleRecord.h"

namespace regi {

// The rows of the line grid: one line each.
constexpr int kRows = kMaxLines;

// What the operator can ask of the sale. Keys, menu items and a POS keyboard's
// combinations are mapped to these by the register (register/KeyTable.h).
enum class Command {
    EnterLine,   // a line of ENTER's class
    OtherLine,   // a line of the other taxable class
    ExemptLine,  // a tax-exempt line
    Quantity,    // the last line's quantity
    Settle,      // cash tendered: the change
    Void,        // the last line, or the line whose number is keyed
    ClearEntry,  // the entry emptied
    Cancel,      // the open sale, after a question
    NextCustomer,
    Tender1,  // the other tenders, 1 to kMaxTenders
    Tender2,
    Tender3,
    Tender4,
    ArmDepartment,       // the department whose number is keyed takes the next line
    LineYenOff,          // 値引: yen off the last line
    LinePercentOff,      // 割引: percent off the last line
    SubtotalYenOff,      // 小計値引: yen off the whole sale
    SubtotalPercentOff,  // 小計割引: percent off the whole sale
    Preset1,             // the discounts the shop set ahead, 1 to kMaxPresets, off the last line
    Preset2,
    Preset3,
    Preset4,
};
// The command of tender (1 to kMaxTenders), and the tender of a command (0 for none).
Command TenderCommand(int tender);
int TenderOf(Command command);
// The discounts a shop sets ahead for its stickers ("20%引", "半額").
constexpr int kMaxPresets = 4;
Command PresetCommand(int preset);
int PresetOf(Command command);  // 1 to kMaxPresets, 0 for none

extern const wchar_t kNotARealNumber[];  // "%s" stands for the entry
using common::kNotAnInteger;
extern const std::wstring kGridFull;  // with the most lines a sale holds
extern const wchar_t kCancelQuestion[];
extern const wchar_t kCancelPaidQuestion[];  // F8 once a tender has been keyed
extern const wchar_t kAboveDue[];            // "%s": what is still due
extern const wchar_t kNegativeTender[];      // and how a sale of less than nothing is settled
extern const wchar_t kLinesPaid[];           // a line, quantity or void once a tender has been keyed
extern const wchar_t kDrawerInSale[];        // the drawer while a sale is open
extern const wchar_t kRateUnreadable[];      // "%s": the box's name, then its text
extern const wchar_t kNoSuchDepartment[];    // "%s": the number keyed
extern const wchar_t kNothingToDiscount[];
extern const wchar_t kSettledDiscount[];
extern const wchar_t kDiscountNotPositive[];
extern const wchar_t kPercentOutside[];     // "%s": as keyed
extern const wchar_t kDiscountAboveLine[];  // "%s": the line's amount
extern const wchar_t kNegativeLineDiscount[];
extern const wchar_t kSecondDiscount[];
extern const wchar_t kSecondSubtotalDiscount[];
extern const wchar_t kBelowZero[];             // "%s": the total before the discount
extern const wchar_t kUnknownProduct[];        // "%s": the code
extern const wchar_t kWrongCheckDigit[];       // "%s": the code
extern const wchar_t kWrongPriceCheckDigit[];  // "%s": the in-store code

// A product found by its code (catalog/Scan.h), as its line rings it.
struct ProductLine {
    std::string code;  // as the product file writes it
    std::wstring name;
    std::int64_t price = 0;  // the file's, or the one an in-store code carries
    int department = 0;
};
// What a code keyed or scanned came to.
struct CodeRing {
    enum class Kind { Product, Unknown, WrongCheckDigit, WrongPriceCheckDigit };
    Kind kind = Kind::Unknown;
    ProductLine product;  // for Product
    std::wstring shown;   // the code as the message names it
};

enum class SaleState { Empty, Open, Settled };

// A tax rate as the register takes it from its box: the percent, or nothing
// when the box's text does not read (ReadRate); the text and the box's name
// for the message that refuses to tax with it.
struct Rate {
    Rate(std::int64_t percent = 0);  // NOLINT: a readable rate
    static Rate Read(const std::wstring& text, const wchar_t* box);
    std::optional<std::int64_t> percent;
    std::wstring text, box;
};
extern const wchar_t kStandardRateBox[];  // "消費税率は"
extern const wchar_t kReducedRateBox[];   // "軽減税率は"

// The settings the register works with: the two rates, which class ENTER
// makes and the names of the other tenders offered (an empty name, or none,
// is a tender the shop does not take).
struct Rates {
    Rates(Rate standardRate = kDefaultStandardRate, Rate reducedRate = kDefaultReducedRate, bool enterReduced = false,
          std::vector<std::wstring> tenderNames = {})
        : standard(std::move(standardRate)),
          reduced(std::move(reducedRate)),
          enterMakesReduced(enterReduced),
          tenders(std::move(tenderNames)) {}
    // From the rate boxes' texts.
    static Rates FromTexts(const std::wstring& standardText, const std::wstring& reducedText, bool enterReduced = false,
                           std::vector<std::wstring> tenderNames = {});
    Rate standard, reduced;
    bool enterMakesReduced;
    std::vector<std::wstring> tenders;  // tender n at n - 1
    Departments departments;
    // The shop's preset discounts, preset n at n - 1 (amount unused); keyed 0: none.
    std::vector<Discount> presets = {};
    // Whether tender (1 to kMaxTenders) has a name.
    bool Offers(int tender) const;
};

// The entry field's text as a command takes it: a number, read once.
struct Entry {
    explicit Entry(std::wstring text = L"");
    bool Empty() const { return typed.empty(); }
    std::wstring typed;  // as keyed: the grid shows a price as it was typed
    // Its value as a real number, as far as the limits need it: the sign, the
    // whole part (saturated far beyond every limit) and whether it has a
    // fraction; nothing when it is no number.
    struct Real {
        bool negative = false;
        std::int64_t whole = 0;
        bool fraction = false;
        bool Above(std::int64_t limit) const { return !negative && (whole > limit || (whole == limit && fraction)); }
        bool Below(std::int64_t limit) const { return negative && (whole > limit || (whole == limit && fraction)); }
        bool Outside(std::int64_t limit) const { return Above(limit) || Below(limit); }
    };
    std::optional<Real> real;
    std::optional<std::int64_t> whole;  // a whole decimal number within 64 bits
};

// What a command did to the sale.
// Why a command was refused, and with it nothing changed.
enum class Refusal {
    None,
    NotARealNumber,          // the entry is no number (kNotARealNumber)
    NotAnInteger,            // the entry has a fraction (kNotAnInteger)
    OutOfRange,              // the entry or the sale's total beyond the register's limits (kOutOfRange)
    LinesPaid,               // a line, quantity or void once a tender has been keyed (kLinesPaid)
    GridFull,                // the sale has its most lines (kGridFull)
    AboveDue,                // a tender other than cash above what is due (kAboveDue)
    NegativeTender,          // a tender other than cash below zero (kNegativeTender)
    RateUnreadable,          // a rate box whose text does not read, needed for tax (kRateUnreadable)
    NoSuchDepartment,        // no department has the number keyed (kNoSuchDepartment)
    NothingToDiscount,       // a discount on an empty sale (kNothingToDiscount)
    SettledDiscount,         // a discount on a settled sale (kSettledDiscount)
    DiscountNotPositive,     // a yen discount of 0 or less (kDiscountNotPositive)
    PercentOutside,          // a percent outside 1 to 99 (kPercentOutside)
    DiscountAboveLine,       // more yen off than the line is (kDiscountAboveLine)
    NegativeLineDiscount,    // a discount on a line of 0 or less (kNegativeLineDiscount)
    SecondDiscount,          // the line has its discount (kSecondDiscount)
    SecondSubtotalDiscount,  // the sale has its discount (kSecondSubtotalDiscount)
    BelowZero,               // the total would go below 0 (kBelowZero)
    UnknownProduct,          // no product has the code (kUnknownProduct)
    WrongCheckDigit,         // a code whose check digit is wrong (kWrongCheckDigit)
    WrongPriceCheckDigit,    // an in-store code whose price check digit is wrong (kWrongPriceCheckDigit)
};

struct Outcome {
    bool acted = false;       // it ran and used the entry: the entry is emptied,
    bool entryStays = false;  // unless it shows what was tendered
    bool askCancel = false;   // Cancel on an open sale: ask, then TSale::Cancel()
    Refusal refusal = Refusal::None;
    // What the refusal names: the entry as typed, an amount, or a rate box's
    // name and text.
    std::wstring refused;
    bool Refused() const { return refusal != Refusal::None; }
    // The refusal in the operator's words; empty when there is none.
    std::wstring Message() const;
    // What the entry holds after the command that was run on entry.
    std::wstring EntryAfter(const std::wstring& entry) const { return acted && !entryStays ? L"" : entry; }
};

// The line a code rings: its product at its price, in its department's
// class; or, when it rings nothing, the refusal that says why (a code the
// file has not, a wrong check digit, a department taken away since the file
// was read).
struct CodeLine {
    std::optional<LineRecord> line;
    Outcome refusal;
};
CodeLine LineOfCode(const CodeRing& ring, const Departments& departments);

// Told before a change is made, so that it can be kept on disk first; what
// they throw stops the change and leaves the sale as it was.
struct SaleRecorder {
    std::function<void(SaleRecord&)> settling;  // gives the sale its number and time
    std::function<void(int lineNumber, const LineRecord&)> voiding;
    // The lines and the total they came to, after every discount.
    std::function<void(const std::vector<LineRecord>&, std::int64_t total)> cancelling;
    // A cancel once tenders were keyed: they are given back.
    std::function<void(const std::vector<LineRecord>&, std::int64_t total, const std::vector<TenderPaid>&)>
        cancellingPaid;
    // The sales total since the last daily close, while a journal keeps the
    // sales and has been read; nothing otherwise. The journal owns it then.
    std::function<std::optional<std::int64_t>()> salesTotal;
};

// A line as keyed: its record, and its price and quantity as the operator
// keyed them, which the grid shows as they were typed.
struct SaleLine {
    LineRecord record;
    std::wstring keyedPrice, keyedQuantity;
};

// A row of the line grid: a line, the discount of the line above it, or the
// discount on the whole sale (line -1), which is always the last.
struct SaleRow {
    int line = -1;  // 0-based
    bool discount = false;
};

class TSale {
public:
    SaleState State() const;
    const std::vector<SaleLine>& KeyedLines() const { return lines_; }
    // The lines of the sale as records.
    std::vector<LineRecord> Lines() const;
    int LineCount() const { return static_cast<int>(lines_.size()); }
    // The grid's rows: each line, each line's discount under it, then the
    // discount on the whole sale. A sale holds at most kRows of them.
    std::vector<SaleRow> Rows() const;
    int RowCount() const;
    int Row() const;  // the row cursor: the first free row, the last row once the grid is full
    // The department the next line goes to (ArmDepartment); 0 for none.
    int ArmedDepartment() const { return armedDepartment_; }
    // The discount on the whole sale and its yen per class, at the last change.
    const std::optional<Discount>& SubtotalDiscount() const { return subtotalDiscount_; }
    const ClassAmounts& SubtotalParts() const { return subtotalParts_; }
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
    // The tenders' names as offered when one was last keyed; empty: not offered.
    const std::vector<std::wstring>& OfferedTenderNames() const { return tenderNames_; }
    // The sales total: the journal's since the last daily close while one
    // keeps the sales, else that of the sales settled without one since start.
    // Known once the journal is read or a sale is settled; 0 before.
    std::int64_t SalesTotal() const { return KnownSalesTotal().value_or(0); }
    bool SalesTotalKnown() const { return KnownSalesTotal().has_value(); }

    // A command on the entry, with the rates in force.
    Outcome Run(Command command, const Entry& entry, const Rates& rates);
    // The entry as a price of a line in department number (a POS keyboard's
    // department key, pressed after the price).
    Outcome RunDepartment(int number, const Entry& entry, const Rates& rates);
    // A code keyed or scanned: the product's line in its department, or the
    // refusal that names the code; the entry stays for correction.
    Outcome RunCode(const CodeRing& ring, const Rates& rates);

    // The question Cancel asks of an open sale.
    const wchar_t* CancelQuestion() const { return paid_.empty() ? kCancelQuestion : kCancelPaidQuestion; }
    // Cancel answered yes: the sale's lines go, the sales total stays.
    Outcome Cancel();

    // Puts lines back into an empty sale (a sale kept when the program ended
    // unexpectedly), as if keyed; the totals at the given rates. The tenders
    // that had paid part of it come back as long as something is still due
    // (the rates may have changed since): the first ones while they stay below
    // the total, as the operator keyed them.
    void Restore(const std::vector<LineRecord>& lines, const Rates& rates, const std::vector<TenderPaid>& paid = {},
                 const std::optional<Discount>& subtotalDiscount = std::nullopt);
    // The last sale settled since start, for its receipt; number 0 when none.
    const SaleRecord& LastSettled() const { return lastSettled_; }
    SaleRecorder recorder;

private:
    Outcome NewLine(TaxClass taxClass, const Entry& entry, const Rates& rates, int department = kClassDepartment,
                    const ProductLine* product = nullptr);
    Outcome Arm(const Entry& entry, const Rates& rates);
    Outcome LineDiscount(DiscountKind kind, const Entry& entry, std::optional<std::int64_t> preset, const Rates& rates);
    Outcome WholeSaleDiscount(DiscountKind kind, const Entry& entry, const Rates& rates);
    // The lines and the discount on the whole sale as they would be: the
    // totals, or what refuses them. Nothing changes.
    struct Priced;
    Priced Price(const std::vector<LineRecord>& lines, const std::optional<Discount>& subtotal,
                 const Rates& rates) const;
    void Take(const Priced& priced);
    Outcome Quantity(const Entry& entry, const Rates& rates);
    Outcome Settle(const Entry& entry, const Rates& rates);
    Outcome Pay(int tender, const Entry& entry, const Rates& rates);
    Outcome Finish(std::int64_t tendered, std::int64_t change, std::vector<TenderPaid> paid, const Rates& rates);
    Outcome Void(const Entry& entry, const Rates& rates);
    Outcome Clear();
    void ClearSale();
    std::optional<std::int64_t> KnownSalesTotal() const;

    std::vector<SaleLine> lines_;
    TaxTotals totals_;
    std::optional<Discount> subtotalDiscount_;
    ClassAmounts subtotalParts_{0, 0, 0};
    int armedDepartment_ = kClassDepartment;
    std::optional<std::int64_t> change_;
    std::vector<TenderPaid> paid_;
    std::vector<std::wstring> tenderNames_;
    // The sales settled while no journal kept them, in whole yen.
    std::optional<std::int64_t> unjournaledTotal_;
    SaleRecord lastSettled_;
};

}  // namespace regi
