#include "sale/SaleRecord.h"

#include <limits>

#include "common/WholeNumber.h"
#include "sale/Money.h"

namespace regi {

std::int64_t ContainedTax(std::int64_t taxable, std::int64_t rate) {
    // At -100 % and below the share rate / (100 + rate) means nothing: no tax.
    std::int64_t divisor = 100 + rate;
    if (divisor <= 0) return 0;
    // taxable * rate / (100 + rate) = taxable - 100 * taxable / (100 + rate):
    // one exact division of numbers far inside 64 bits, then the cut toward zero.
    std::int64_t quotient = 100 * taxable / divisor;
    std::int64_t remainder = 100 * taxable % divisor;
    std::int64_t whole = taxable - quotient;  // the value is whole - remainder / divisor
    if (remainder == 0 || whole == 0) return whole;
    bool fractionNegative = remainder > 0;
    if (whole > 0 && fractionNegative) return whole - 1;
    if (whole < 0 && !fractionNegative) return whole + 1;
    return whole;
}

ClassAmounts NetPerClass(const std::vector<LineRecord>& lines) {
    ClassAmounts amounts{0, 0, 0};
    for (const LineRecord& line : lines) amounts[static_cast<size_t>(line.taxClass)] += line.Net();
    return amounts;
}

TaxTotals SumTaxes(const std::vector<LineRecord>& lines, std::int64_t standardRate, std::int64_t reducedRate,
                   const ClassAmounts& subtotalParts) {
    TaxTotals totals;
    totals.standardRate = standardRate;
    totals.reducedRate = reducedRate;
    const ClassAmounts amounts = NetPerClass(lines);
    auto after = [&](TaxClass c) { return amounts[static_cast<size_t>(c)] - subtotalParts[static_cast<size_t>(c)]; };
    totals.standardAmount = after(TaxClass::Standard);
    totals.reducedAmount = after(TaxClass::Reduced);
    totals.exemptAmount = after(TaxClass::Exempt);
    totals.standardTax = ContainedTax(totals.standardAmount, standardRate);
    totals.reducedTax = ContainedTax(totals.reducedAmount, reducedRate);
    return totals;
}

std::optional<std::int64_t> ReadRate(const std::wstring& text) {
    const wchar_t blanks[] = L" \t\u3000";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos) return 0;
    size_t last = text.find_last_not_of(blanks);
    // Digits only: an amount's yen mark and separators mean nothing in a rate.
    for (size_t i = first; i <= last; ++i) {
        wchar_t c = text[i];
        if (!((c >= L'0' && c <= L'9') || (c >= L'\uFF10' && c <= L'\uFF19'))) return std::nullopt;
    }
    return common::ParseTypedAmount(text.substr(first, last - first + 1), kMaxRate);
}

std::wstring DiscountText(const Discount& discount, bool wholeSale) {
    std::wstring text = wholeSale ? L"小計" : L"";
    if (discount.kind == DiscountKind::Yen) return text + L"値引";
    return text + L"割引 " + std::to_wstring(discount.keyed) + L"%";
}

std::wstring TenderName(const std::vector<std::wstring>& names, int tender) {
    bool named = tender >= 1 && static_cast<size_t>(tender) <= names.size() &&
                 names[static_cast<size_t>(tender - 1)].find_first_not_of(L" \u3000") != std::wstring::npos;
    return named ? names[static_cast<size_t>(tender - 1)] : L"その他の支払" + std::to_wstring(tender);
}

bool IsCreditCard(const std::wstring& name) { return name.find(L"クレジット") != std::wstring::npos; }

std::int64_t RevenueStampDuty(const SaleRecord& sale, const std::vector<std::wstring>& tenderNames) {
    // The duty on a receipt for a sale, by the amount it states: up to each
    // amount, its duty; above the last, ¥200,000.
    struct Step {
        std::int64_t upTo, duty;
    };
    static constexpr Step kSteps[] = {
        {49'999, 0},
        {1'000'000, 200},
        {2'000'000, 400},
        {3'000'000, 600},
        {5'000'000, 1'000},
        {10'000'000, 2'000},
        {20'000'000, 4'000},
        {30'000'000, 6'000},
        {50'000'000, 10'000},
        {100'000'000, 20'000},
        {200'000'000, 40'000},
        {300'000'000, 60'000},
        {500'000'000, 100'000},
        {1'000'000'000, 150'000},
    };
    std::int64_t byCard = 0;
    for (const TenderPaid& paid : sale.tenders)
        if (IsCreditCard(TenderName(tenderNames, paid.tender))) byCard += paid.amount;
    if (byCard == sale.taxes.Total()) return 0;
    const std::int64_t stated = sale.taxes.Total() - sale.taxes.Tax();
    for (const Step& step : kSteps)
        if (stated <= step.upTo) return step.duty;
    return 200'000;
}

std::wstring RevenueStampNotice(const SaleRecord& sale, const std::vector<std::wstring>& tenderNames) {
    std::int64_t duty = RevenueStampDuty(sale, tenderNames);
    if (duty == 0) return L"";
    return L"税抜 " + FormatMoney(sale.taxes.Total() - sale.taxes.Tax()) + L" の領収書です｡\r\n" + FormatMoney(duty) +
           L" の収入印紙を貼って消印して下さい｡";
}

std::vector<ClassTotal> ClassesPresent(const std::vector<LineRecord>& lines, const TaxTotals& totals) {
    bool present[3] = {false, false, false};
    for (const LineRecord& line : lines) present[static_cast<int>(line.taxClass)] = true;
    std::vector<ClassTotal> classes;
    if (present[static_cast<int>(TaxClass::Standard)])
        classes.push_back({TaxClass::Standard, totals.standardRate, totals.standardAmount, totals.standardTax});
    if (present[static_cast<int>(TaxClass::Reduced)])
        classes.push_back({TaxClass::Reduced, totals.reducedRate, totals.reducedAmount, totals.reducedTax});
    if (present[static_cast<int>(TaxClass::Exempt)]) classes.push_back({TaxClass::Exempt, 0, totals.exemptAmount, 0});
    return classes;
}

std::wstring ClassText(const ClassTotal& total, TaxTextStyle style) {
    if (total.taxClass == TaxClass::Exempt) return L"非課税 " + FormatMoney(total.amount);
    std::wstring text = std::to_wstring(total.rate) + L"%対象 " + FormatMoney(total.amount);
    if (style == TaxTextStyle::Screen) return text + L"（内消費税 " + FormatMoney(total.tax) + L"）";
    return text + L" 内消費税 " + FormatMoney(total.tax);
}

}  // namespace regi
