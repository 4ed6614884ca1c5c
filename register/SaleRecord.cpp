#include "register/SaleRecord.h"

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

TaxTotals SumTaxes(const std::vector<LineRecord>& lines, std::int64_t standardRate, std::int64_t reducedRate) {
    TaxTotals totals;
    totals.standardRate = standardRate;
    totals.reducedRate = reducedRate;
    for (const LineRecord& line : lines) {
        switch (line.taxClass) {
        case TaxClass::Standard: totals.standardAmount += line.subtotal; break;
        case TaxClass::Reduced: totals.reducedAmount += line.subtotal; break;
        case TaxClass::Exempt: totals.exemptAmount += line.subtotal; break;
        }
    }
    totals.standardTax = ContainedTax(totals.standardAmount, standardRate);
    totals.reducedTax = ContainedTax(totals.reducedAmount, reducedRate);
    return totals;
}

}  // namespace regi
