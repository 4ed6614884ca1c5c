#pragma once
// Finds any sale of the journal, by its number or by its time, without
// Windows: for returns against an earlier sale and for the sales history.
//
// The index beside the journal (see SaleIndex) tells where to read: the sale
// lies between two of its entries, a few hundred records apart, whatever the
// journal's size, and only those are read. It is never believed over the
// journal: the records read at its entries' places must be the sales it names,
// and what is found is read from the journal itself. An index that is missing,
// damaged, of another journal, or that the journal no longer matches (saved
// again by a spreadsheet with other line ends, rows deleted) costs one reading
// of the whole journal, which answers and writes the index anew. A journal
// that grew since is read only from where the index ends.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/DateTime.h"
#include "journal/Record.h"
#include "journal/SaleIndex.h"
#include "journal/Storage.h"
#include "sale/SaleRecord.h"

namespace journal {

// What the journal holds of one sale number: a sale, or a cancel that used the number up.
struct FoundSale {
    Record record;            // its sale or cancel record, as read
    std::int64_t offset = 0;  // where that record begins in the journal
    // Number, time, lines, taxes, tendered, change and tenders; a cancel's number and time.
    regi::SaleRecord sale;
    bool cancelled = false;
    // Its lines are all there and add up to its sale record (a cancel keeps no lines).
    bool complete = false;
    std::vector<Record> voids;               // the lines voided while it was keyed
    std::vector<regi::TenderPaid> returned;  // the tenders a cancel gave back
    // The records after its own that name its number (see SaleIndex's refer),
    // in the journal's order: what later changed the sale.
    std::vector<Record> later;
};

// A sale's or cancel's record put together with the lines of its parts that
// stood before it in the journal (a damaged one leaves the sale incomplete).
FoundSale AssembleSale(const Record& record, std::int64_t offset, const std::vector<std::string>& parts);

// Hands take each line of the journal at path, bytes [from, to), with its line
// end and where it begins, until take returns false; a line longer than any
// record is passed over. Raises common::Error when the journal cannot be read.
void EachJournalLine(Storage& storage, const std::wstring& path, std::int64_t from, std::int64_t to,
                     const std::function<bool(std::string_view line, std::int64_t offset)>& take);

class SaleFinder {
public:
    // indexPath: the index's file, written whole (Storage::Replace) when it changes.
    SaleFinder(Storage& storage, std::wstring journalPath, std::wstring indexPath);

    // The sale or cancel with that number; nothing when the journal has none
    // (or there is no journal). Raises common::Error when the journal cannot be read.
    std::optional<FoundSale> Find(std::int64_t number);
    // The first sale or cancel, in the journal's order, whose time is at or
    // after time: the first sale of a day. The next ones are found by number.
    std::optional<FoundSale> FindAt(const common::DateTime& time);

private:
    struct Target {
        std::int64_t number = 0;  // or, when 0, the first at or after time
        std::string time;
        bool Matches(const Record& record) const;
    };
    std::optional<FoundSale> Search(const Target& target);
    // Whether the index now covers the journal up to size, extended with what
    // was appended since; false when there is none to believe.
    bool Update(std::int64_t size);
    // Reads the whole journal into a new index; what it finds of target on the way.
    std::optional<FoundSale> Rebuild(std::int64_t size, const Target& target);
    // Between the index's entries around target: what the journal holds there,
    // if anything; nothing when that is no answer to believe (the journal does
    // not hold what the entries say, or a miss that only a whole reading tells).
    std::optional<std::optional<FoundSale>> ReadBetweenEntries(const Target& target, std::int64_t size);
    // Adds the later records that name the sale; false when one is not what the index says.
    bool AddLater(FoundSale& found, std::int64_t size);
    // Hands take each line of the journal's bytes [from, to) with its line end
    // and where it begins, until take returns false.
    void EachLine(std::int64_t from, std::int64_t to,
                  const std::function<bool(std::string_view line, std::int64_t offset)>& take);
    std::string ReadAt(std::int64_t offset, std::int64_t length);
    std::uint64_t Known(std::int64_t size);
    [[noreturn]] void Fail(const Status& status) const;

    Storage& storage_;
    std::wstring journalPath_, indexPath_;
    std::optional<SaleIndex> index_;  // as last read or written
};

}  // namespace journal
