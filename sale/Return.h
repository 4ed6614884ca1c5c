#pragma once
// Money given back for goods brought back (返品), without Windows: against a
// settled sale, whose lines go back at what they were sold for after their
// discounts and at the sale's own rates, or without a receipt, keyed as in a
// sale at today's rates and paid back in cash.
#include <cstdint>
#include <string>
#include <vector>

#include "sale/SaleRecord.h"

namespace regi {

// One line given back.
struct ReturnLine {
    int line = 0;        // its number in the original sale, from 1; 0 without a receipt
    LineRecord record;   // as sold: class, price, quantity, department, its own discount
    std::int64_t refund = 0;  // its net less its share of the whole sale's discount
};

enum class RefundTo { Tenders, Cash };

// A return as the journal keeps it and its receipt prints it.
struct ReturnRecord {
    std::int64_t number = 0;  // the return's own number
    std::wstring time;        // local, "2026-12-09T10:00:00"
    std::int64_t sale = 0;    // the original sale's number; 0 without a receipt
    std::wstring saleTime;    // and its time
    std::vector<ReturnLine> lines;
    TaxTotals taxes;  // what goes back per class, with the tax it contains at the rates used
    std::vector<TenderPaid> tenders = {};  // given back to the other tenders; the rest in cash

    std::int64_t Total() const { return taxes.Total(); }
    std::int64_t Cash() const;
};

// What has gone back of one sale before: the lines (numbers from 1) and
// their refunds, and what each other tender took back.
struct Returned {
    std::vector<ReturnLine> lines;
    std::vector<TenderPaid> tenders;
    bool Has(int line) const;
};

// Why a return cannot be made; nothing is recorded then.
extern const wchar_t kNoSuchSale[];        // "%s": the number keyed
extern const wchar_t kCancelledSale[];     // "%s": the number keyed
extern const wchar_t kAllReturned[];       // "%s": the number keyed
extern const wchar_t kNothingPicked[];
extern const wchar_t kLineReturned[];      // "%s": the line's number
extern const wchar_t kRefundNotPositive[];
extern const wchar_t kJournalOffReturn[];  // the return key with a number and no journal
extern const wchar_t kReturnInSale[];      // the return key while a sale is open

// Whether every line of the sale has gone back.
bool AllReturned(const SaleRecord& sale, const Returned& before);

// The return of the picked lines (numbers from 1, each once, none returned
// before) of sale. Each line refunds its net after its own discount less its
// share of its class's part of the whole sale's discount: the shares of a
// class's lines returned so far are that part times their nets over the
// class's net, rounded down, so that the class's lines returned all together
// give back its part exactly. Tax at the sale's rates; the money back to the
// sale's other tenders up to what each paid less what each took back
// before, the rest in cash; or all in cash. Raises common::Error with the
// operator's words when the lines cannot go back.
ReturnRecord ReturnAgainst(const SaleRecord& sale, const std::vector<int>& picked, const Returned& before,
                           RefundTo refundTo);

// A return without a receipt: the lines keyed, in cash at the rates given.
ReturnRecord ReturnWithoutReceipt(const std::vector<LineRecord>& lines, std::int64_t standardRate,
                                  std::int64_t reducedRate);

// A registered shop owes a return invoice (返還インボイス) for a refund of this much or more.
constexpr std::int64_t kReturnInvoiceFrom = 10'000;
bool NeedsReturnInvoice(const ReturnRecord& giveBack, bool registeredShop);

}  // namespace regi
