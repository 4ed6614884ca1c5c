#pragma once
// Returns (返品) in the journal, without Windows: the records a return is
// written as, and what went back of a sale found again, so that no line goes
// back twice whatever the period.
#include <cstdint>
#include <optional>
#include <vector>

#include "journal/Record.h"
#include "journal/SaleFinder.h"
#include "sale/Return.h"

namespace journal {

// A return's records without their numbers and time: each line given back,
// each other tender's part, then the return record.
std::vector<Record> ReturnRecords(const regi::ReturnRecord& giveBack);

// A sale to return against, with what went back of it before.
struct ReturnableSale {
    regi::SaleRecord sale;
    regi::Returned returned;
};
// The sale found by number (the number keyed) with its later return
// records; raises common::Error with the operator's words when there is none,
// when it is a cancel, when the journal does not hold all of it, or when
// every line went back already.
ReturnableSale Returnable(const std::optional<FoundSale>& found, std::int64_t number);

// A return put together from its records in the journal's order; number: the
// return record's seq.
regi::ReturnRecord ReturnOf(const std::vector<Record>& records);

}  // namespace journal
