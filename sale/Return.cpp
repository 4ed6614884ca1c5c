#include "sale/Return.h"

#include <algorithm>

#include "common/Error.h"
#include "common/MessageText.h"
#include "sale/Money.h"

namespace regi {

const wchar_t kNoSuchSale[] = L"No.%s の売上は記録にありません｡";
const wchar_t kCancelledSale[] = L"No.%s は取引中止で、返品できる売上ではありません｡";
const wchar_t kAllReturned[] = L"No.%s の売上はすべて返品済みです｡";
const wchar_t kNothingPicked[] = L"返品する行を選んで下さい｡";
const wchar_t kLineReturned[] = L"%s 行目は返品済みです｡";
const wchar_t kRefundNotPositive[] = L"返す金額が ¥0 以下です｡返品する行を選び直して下さい｡";
const wchar_t kReturnInSale[] = L"取引の途中では返品できません｡\r\n精算するか F8 で中止してから返品して下さい｡";
const wchar_t kJournalOffReturn[] =
    L"売上の記録を使っていないため、売上の番号を指定した返品はできません｡\r\nレシートなしの返品にしますか?";

std::int64_t ReturnRecord::Cash() const {
    std::int64_t cash = Total();
    for (const TenderPaid& paid : tenders) cash -= paid.amount;
    return cash;
}

bool Returned::Has(int line) const {
    return std::any_of(lines.begin(), lines.end(), [&](const ReturnLine& r) { return r.line == line; });
}

bool AllReturned(const SaleRecord& sale, const Returned& before) {
    for (size_t i = 0; i < sale.lines.size(); ++i)
        if (!before.Has(static_cast<int>(i) + 1)) return false;
    return true;
}

namespace {

// The part of a class's share of the whole sale's discount that lines of
// returnedNet out of classNet carry.
std::int64_t Share(std::int64_t part, std::int64_t returnedNet, std::int64_t classNet) {
    if (classNet <= 0 || part <= 0) return 0;
    return MulDiv(part, std::clamp<std::int64_t>(returnedNet, 0, classNet), classNet);
}

TaxTotals Refunded(const std::vector<ReturnLine>& lines, std::int64_t standardRate, std::int64_t reducedRate) {
    std::vector<LineRecord> refunds;
    for (const ReturnLine& line : lines) {
        LineRecord refund = line.record;
        refund.subtotal = line.refund;
        refund.discount = std::nullopt;
        refunds.push_back(refund);
    }
    return SumTaxes(refunds, standardRate, reducedRate);
}

}  // namespace

ReturnRecord ReturnAgainst(const SaleRecord& sale, const std::vector<int>& picked, const Returned& before,
                           RefundTo refundTo) {
    const std::wstring number = std::to_wstring(sale.number);
    if (AllReturned(sale, before)) throw common::Error(common::FormatMessageText(kAllReturned, number));
    if (picked.empty()) throw common::Error(kNothingPicked);
    std::vector<int> lines = picked;
    std::sort(lines.begin(), lines.end());
    for (size_t i = 0; i < lines.size(); ++i) {
        bool sound = lines[i] >= 1 && static_cast<size_t>(lines[i]) <= sale.lines.size() &&
                     (i == 0 || lines[i] != lines[i - 1]);
        if (!sound || before.Has(lines[i]))
            throw common::Error(common::FormatMessageText(kLineReturned, std::to_wstring(lines[i])));
    }
    const ClassAmounts classNet = NetPerClass(sale.lines);
    ClassAmounts returnedNet{0, 0, 0};
    for (const ReturnLine& line : before.lines) returnedNet[static_cast<size_t>(line.record.taxClass)] += line.record.Net();

    ReturnRecord giveBack;
    giveBack.sale = sale.number;
    giveBack.saleTime = sale.time;
    for (int number : lines) {
        const LineRecord& line = sale.lines[static_cast<size_t>(number - 1)];
        const size_t c = static_cast<size_t>(line.taxClass);
        const std::int64_t part = sale.subtotalParts[c];
        const std::int64_t shareBefore = Share(part, returnedNet[c], classNet[c]);
        returnedNet[c] += line.Net();
        const std::int64_t share = Share(part, returnedNet[c], classNet[c]) - shareBefore;
        giveBack.lines.push_back({number, line, line.Net() - share});
    }
    giveBack.taxes = Refunded(giveBack.lines, sale.taxes.standardRate, sale.taxes.reducedRate);
    if (giveBack.Total() <= 0) throw common::Error(kRefundNotPositive);

    if (refundTo == RefundTo::Tenders) {
        std::int64_t left = giveBack.Total();
        for (const TenderPaid& paid : sale.tenders) {
            std::int64_t open = paid.amount;
            for (const TenderPaid& back : before.tenders)
                if (back.tender == paid.tender) open -= back.amount;
            std::int64_t amount = std::min(left, std::max<std::int64_t>(open, 0));
            if (amount <= 0) continue;
            giveBack.tenders.push_back({paid.tender, amount});
            left -= amount;
        }
    }
    return giveBack;
}

ReturnRecord ReturnWithoutReceipt(const std::vector<LineRecord>& lines, std::int64_t standardRate,
                                  std::int64_t reducedRate) {
    ReturnRecord giveBack;
    for (const LineRecord& line : lines) giveBack.lines.push_back({0, line, line.Net()});
    if (giveBack.lines.empty()) throw common::Error(kNothingPicked);
    giveBack.taxes = Refunded(giveBack.lines, standardRate, reducedRate);
    if (giveBack.Total() <= 0) throw common::Error(kRefundNotPositive);
    return giveBack;
}

bool NeedsReturnInvoice(const ReturnRecord& giveBack, bool registeredShop) {
    return registeredShop && giveBack.Total() >= kReturnInvoiceFrom;
}

}  // namespace regi
