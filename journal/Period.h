#pragma once
// The period since the last Z, without Windows: its totals for the X and Z
// reports, the numbers the next records get, the records of each event, the
// backward reading of a journal that stops at the last Z, and the report text.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "journal/Record.h"
#include "register/SaleRecord.h"

namespace journal {

// What the sales of one taxable class at one rate add up to. The rates may
// change within a period, so a class can have more than one.
struct RateTotal {
    regi::TaxClass taxClass;
    std::int64_t rate = 0, amount = 0, tax = 0;
};

struct Period {
    std::wstring from;  // the time of its earliest record: the last Z, else the journal's first record
    std::int64_t sales = 0, lines = 0, total = 0;
    std::vector<RateTotal> taxable;    // standard before reduced, each by rate
    std::int64_t exempt = 0, tax = 0;  // tax: the sum of each sale's contained tax
    std::int64_t voids = 0, voidAmount = 0, cancels = 0, cancelAmount = 0, negatives = 0, negativeAmount = 0;
    // The numbers of the next record, sale and Z.
    std::int64_t nextSequence = 1, nextSale = 1, nextZ = 1;
    std::int64_t firstSequence = 0;  // of the earliest record added; 0 for none

    // Adds a record of the period, in any order. A z record only sets the
    // numbering and the start: the caller starts a new period before it.
    void Add(const Record& record);

    // The records of an event, numbered after the period's; the period itself
    // changes only when they are added, after they are on the disk.
    // A sale: its lines in order, then the sale record; it gets number nextSale.
    std::vector<Record> SaleRecords(const regi::SaleRecord& sale) const;
    Record VoidRecord(std::int64_t lineNumber, const regi::LineRecord& line, const std::wstring& time) const;
    // A cancelled sale uses up its number, so that each number stands for one sale or one cancel.
    Record CancelRecord(std::int64_t lineCount, std::int64_t total, const std::wstring& time) const;
    // An x or z record with the period's totals.
    Record ReportRecord(Kind kind, std::int64_t cashFloat, const std::wstring& time) const;
};

// Reads a journal from its end backward, chunk by chunk, and stops at the last
// z record: start-up reads only the period, however long the journal is.
class BackwardReader {
public:
    // chunk: the bytes just before all bytes fed so far; atStart: it begins the
    // file. Returns whether earlier bytes are still wanted.
    bool Feed(std::string_view chunk, bool atStart);
    const Period& Result() const { return period_; }
    // Lines read and not used: junk, a last line cut short, records a later
    // record superseded and lines without their sale record (see Line).
    int Unreadable() const { return unreadable_; }
    // The period's last settled sale with its lines, for a receipt after a
    // restart; number 0 when the period has none.
    const regi::SaleRecord& LastSale() const { return lastSale_; }

private:
    void Line(std::string_view line, bool first);
    std::string unread_;  // bytes fed and not yet taken apart into lines
    bool done_ = false;
    Period period_;
    int unreadable_ = 0;
    std::int64_t linesOf_ = 0;  // the sale whose lines may come next, reading backward
    regi::SaleRecord lastSale_;
};

// A whole journal's bytes read at once.
BackwardReader ReadJournal(std::string_view bytes);

// The X or Z report for the period and its x or z record: one line per item,
// caption and values separated by tabs (they line up at tab stops and paste
// into a spreadsheet as columns), money as the register shows it.
std::vector<std::wstring> ReportLines(const Period& period, const Record& report);

}  // namespace journal
