#pragma once
// A sale as the journal keeps it and the receipt prints it: its lines with their
// tax classes, the tax rule and the tax contained per rate, and the settlement.
// Windows-free.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sale/Discount.h"

namespace regi {

// The flag in cell (5, r) of the line grid: "1" standard, "2" reduced, "0" exempt.
enum class TaxClass : int { Exempt = 0, Standard = 1, Reduced = 2 };

// What each class is called where the program shows or writes it.
struct TaxClassNames {
    const char* record;   // the journal's word
    const wchar_t* mark;  // the line grid's mark column
    const wchar_t* code;  // the line grid's class column
    const wchar_t* item;  // a line's name on the receipt
};
// By the class's value.
inline constexpr TaxClassNames kTaxClassNames[] = {
    {"exempt", L"非", L"0", L"非課税商品"},
    {"standard", L"", L"1", L"商品"},
    {"reduced", L"※", L"2", L"※商品"},
};
inline const TaxClassNames& NamesOf(TaxClass taxClass) { return kTaxClassNames[static_cast<int>(taxClass)]; }

struct LineRecord {
    TaxClass taxClass = TaxClass::Standard;
    std::int64_t unitPrice = 0;
    std::int64_t quantity = 1;
    std::int64_t subtotal = 0;
    int department = 0;  // 0: the department of its class (see Department.h)
    std::optional<Discount> discount = std::nullopt;  // 値引 or 割引 of this line
    // A product's line: its code as the product file writes it (empty for a
    // keyed price), and its name when it was rung (the journal keeps the code only).
    std::string product = {};
    std::wstring name = {};
    // What it adds to its class: the subtotal less its discount.
    std::int64_t Net() const { return subtotal - (discount ? discount->amount : 0); }
};

// The rates of a register that has no settings yet, in whole percent.
constexpr std::int64_t kDefaultStandardRate = 10, kDefaultReducedRate = 8;

// What a sale's lines add up to per class, with the tax contained in each
// taxable class: trunc(amount * rate / (100 + rate)), cut once per class.
struct TaxTotals {
    std::int64_t standardRate = kDefaultStandardRate, reducedRate = kDefaultReducedRate;  // as read at the key release
    std::int64_t standardAmount = 0, standardTax = 0;
    std::int64_t reducedAmount = 0, reducedTax = 0;
    std::int64_t exemptAmount = 0;

    std::int64_t Total() const { return standardAmount + reducedAmount + exemptAmount; }
    std::int64_t Tax() const { return standardTax + reducedTax; }
};

// The tax contained in tax-inclusive amounts that sum to taxable at rate
// percent: trunc(taxable * rate / (100 + rate)), exactly; 0 at rate <= -100.
std::int64_t ContainedTax(std::int64_t taxable, std::int64_t rate);

// The lines' amounts after their own discounts, per class.
ClassAmounts NetPerClass(const std::vector<LineRecord>& lines);
// Sums the lines per class after their discounts and less the parts of a
// discount on the whole sale, and computes each class's contained tax once.
TaxTotals SumTaxes(const std::vector<LineRecord>& lines, std::int64_t standardRate, std::int64_t reducedRate,
                   const ClassAmounts& subtotalParts = {0, 0, 0});

// The highest rate a rate box takes, in percent.
constexpr std::int64_t kMaxRate = 99;
// A rate box's text as a rate in percent: a whole number from 0 to kMaxRate in
// half- or full-width digits, blanks around it allowed; an empty (or blank)
// box is 0, no tax. Nothing for any other text: a sign, a fraction, a letter;
// no tax is ever computed with such a text.
std::optional<std::int64_t> ReadRate(const std::wstring& text);

// One class that has lines in a sale, with its totals (rate and tax 0 for exempt).
struct ClassTotal {
    TaxClass taxClass;
    std::int64_t rate = 0, amount = 0, tax = 0;
};
// The classes that have lines, standard, reduced, then exempt: what the tax
// breakdown of the screen and of the receipt lists.
std::vector<ClassTotal> ClassesPresent(const std::vector<LineRecord>& lines, const TaxTotals& totals);
// A class of the breakdown as words: "10%対象 ¥1,100" and its tax as
// "（内消費税 ¥100）" on the screen, " 内消費税 ¥100" on paper; "非課税 ¥300".
enum class TaxTextStyle { Screen, Paper };
std::wstring ClassText(const ClassTotal& total, TaxTextStyle style);

// A discount as the grid and the receipt name it: "値引", "割引 20%", "小計値引".
std::wstring DiscountText(const Discount& discount, bool wholeSale);

// The tenders besides cash that a shop may name, keyed as 1 to kMaxTenders.
constexpr int kMaxTenders = 4;

// A payment by one of the other tenders; a sale keeps one per tender, the
// parts keyed by it added together.
struct TenderPaid {
    int tender = 0;  // 1 to kMaxTenders
    std::int64_t amount = 0;
    bool operator==(const TenderPaid& other) const { return tender == other.tender && amount == other.amount; }
};

// Tender n's name from names (tender n at n - 1); "その他の支払n" when blank.
std::wstring TenderName(const std::vector<std::wstring>& names, int tender);

// A settled sale.
struct SaleRecord {
    std::int64_t number = 0;  // consecutive over the journal's whole life
    std::wstring time;        // local time, "2026-12-08T21:07:56"
    std::vector<LineRecord> lines;
    TaxTotals taxes;
    std::int64_t tendered = 0;  // the cash handed over: tendered - change is the cash part
    std::int64_t change = 0;
    std::vector<TenderPaid> tenders = {};  // the other tenders, in the order first keyed
    // A discount on the whole sale (小計値引・小計割引) and its yen per class.
    std::optional<Discount> subtotalDiscount = std::nullopt;
    ClassAmounts subtotalParts = {0, 0, 0};
};

// A tender named for credit cards: a receipt it pays states so and needs no
// revenue stamp. Debit and prepaid cards are not credit.
bool IsCreditCard(const std::wstring& name);
// The stamp duty on the sale's receipt, a receipt for a sale: by the amount it
// states without its tax (the receipt states the tax), from ¥200 at ¥50,000 in
// steps up to ¥200,000 above ¥1,000,000,000; 0 below ¥50,000 or when a credit
// card paid all of it.
std::int64_t RevenueStampDuty(const SaleRecord& sale, const std::vector<std::wstring>& tenderNames);
// What the preview tells the operator of it; empty when no stamp is due.
std::wstring RevenueStampNotice(const SaleRecord& sale, const std::vector<std::wstring>& tenderNames);

}  // namespace regi
