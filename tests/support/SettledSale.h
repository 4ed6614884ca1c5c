#pragma once
// A settled sale as the register records it, for the tests of what is made
// from one (journal records, receipts, reports). Windows-free, header only.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sale/SaleRecord.h"

namespace testing_support {

// The lines' taxes at 10 % and 8 % and the change from tendered; with a
// discount on the whole sale, its parts per class as split.
inline regi::SaleRecord SettledSale(std::vector<regi::LineRecord> lines, std::int64_t tendered, std::int64_t number = 0,
                                    std::wstring time = L"",
                                    std::optional<regi::Discount> subtotalDiscount = std::nullopt) {
    regi::SaleRecord sale;
    sale.number = number;
    sale.time = std::move(time);
    sale.lines = std::move(lines);
    if (subtotalDiscount) {
        sale.subtotalDiscount = subtotalDiscount;
        sale.subtotalParts = regi::SplitDiscount(subtotalDiscount->amount, regi::NetPerClass(sale.lines));
    }
    sale.taxes = regi::SumTaxes(sale.lines, 10, 8, sale.subtotalParts);
    sale.tendered = tendered;
    sale.change = tendered - sale.taxes.Total();
    return sale;
}

}  // namespace testing_support
