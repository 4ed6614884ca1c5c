#pragma once
// Which receipts print by themselves, which sale F5 shows, and when a receipt
// is marked as reissued (再発行). Windows-free.
#include <cstdint>
#include <functional>
#include <optional>

#include "receipt/ReceiptSettings.h"
#include "sale/SaleRecord.h"

namespace receipt {

class ReceiptPolicy {
public:
    // The journal's last sale since the daily close; nullptr while no journal is kept.
    using JournalLastSale = std::function<const regi::SaleRecord*()>;

    struct Choice {
        regi::SaleRecord sale;
        bool reprint;  // the receipt says 再発行 at its top
    };

    static bool PrintsWhenSettled(PrintMode mode) { return mode == PrintMode::EverySale; }

    // The receipt F5 shows: this run's last settled sale; else, with the
    // journal, its last sale, settled in an earlier run and so a reprint. A
    // sale whose receipt was printed once is a reprint too. Nothing when there
    // is no sale to show.
    std::optional<Choice> ForReissue(const regi::SaleRecord& lastThisRun, const JournalLastSale& journalLast) const;

    // The receipt of sale came out of the printer.
    void Printed(const regi::SaleRecord& sale) { printedSale_ = sale.number; }

private:
    std::int64_t printedSale_ = -1;
};

}  // namespace receipt
