#include "receipt/ReceiptPolicy.h"

namespace receipt {

std::optional<ReceiptPolicy::Choice> ReceiptPolicy::ForReissue(const regi::SaleRecord& lastThisRun,
                                                               const JournalLastSale& journalLast) const {
    // Sale numbers start at 1: number 0 is no sale.
    if (lastThisRun.number != 0) return Choice{lastThisRun, printedSale_ == lastThisRun.number};
    const regi::SaleRecord* earlier = journalLast ? journalLast() : nullptr;
    if (!earlier || earlier->number == 0) return std::nullopt;
    return Choice{*earlier, true};
}

}  // namespace receipt
