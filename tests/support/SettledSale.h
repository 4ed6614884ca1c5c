#pragma once
// A settled sale as the register records it, for the tests of what is made
// from one (journal records, receipts, reports). Windows-free, header only.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "sale/SaleRecord.h"

namespace testing_support {

// The lines' taxes at 10 % and 8 % and the change from tendered.
inline regi::SaleRecord SettledSale(std::vector<regi::LineRecord> lines, std::int64_t tendered, std::int64_t number = 0,
                                    std::wstring time = L"") {
    regi::SaleRecord sale;
    sale.number = number;
    sale.time = std::move(time);
    sale.lines = std::move(lines);
    sale.taxes = regi::SumTaxes(sale.lines, 10, 8);
    sale.tendered = tendered;
    sale.change = tendered - sale.taxes.Total();
    return sale;
}

}  // namespace testing_support
