#pragma once
// The index that finds any sale in the journal, without Windows: a small file
// beside the journal, Pelmora-journal-index.txt, that the journal always
// rebuilds and that is never believed over it (see SaleFinder).
//
// Like the journal's other small files it is text, a title line and then
// "name=value" lines, each ending in CRLF:
//
//   Pelmora journal index
//   size=35126841          it covers the journal's bytes [0, size), whole lines
//   known=1469598103934665603   a checksum of the first 64 of those bytes and
//                          the 64 just before size: to know the journal again
//   last=124100            the highest sale or cancel number read
//   latest=2026-12-31T12:00:00   the latest time any of them has
//   ordered=1              0 once a sale or cancel came with a number at or
//                          below one read before (rows put out of order)
//   entry=1,192,2026-01-01T12:00:00
//   entry=129,10460,...    about every kEvery numbers: a sale or cancel
//                          number, where its own record begins, and the latest
//                          time of any of them up to and including it
//   refer=57,34001         a line, void, tender or returned record, or one of
//                          a return, that names sale 57 after sale 57's own
//                          record, and where it begins; one per such record
//   end=9231843101299184812     a checksum of all the text before this line:
//                          an index cut short or changed reads as none
//
// About 45 bytes an entry: some 40 KB for a year of a busy shop. The latest
// times only grow, whatever the clock did, so that the first sale at or after
// a time is found by halving the entries as well.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/Record.h"

namespace journal {

struct IndexEntry {
    std::int64_t sale = 0;    // a sale's or cancel's number
    std::int64_t offset = 0;  // where its sale or cancel record begins in the journal
    std::string latest;       // the latest time of any sale up to it, "2026-12-08T21:07:56"
};

// A record that names a sale read before it: a later part of that sale.
struct SaleReference {
    std::int64_t sale = 0;
    std::int64_t offset = 0;
};

struct SaleIndex {
    std::int64_t size = 0;
    std::uint64_t known = 0;
    std::int64_t last = 0;
    std::string latest;
    bool ordered = true;
    std::vector<IndexEntry> entries;  // numbers, offsets and times rising
    std::vector<SaleReference> references;

    static constexpr std::int64_t kEvery = 128;
    static constexpr std::int64_t kKnownBytes = 64;
};

std::string FormatSaleIndex(const SaleIndex& index);
// Nothing unless the text is what FormatSaleIndex writes for some index whose
// entries rise and lie within what it covers.
std::optional<SaleIndex> ParseSaleIndex(std::string_view text);

// The checksum of the known bytes: the journal's first ones and those just
// before the end of what an index covers.
std::uint64_t KnownChecksum(std::string_view head, std::string_view tail);

// What the searches need to know of a journal line before reading it whole:
// its kind and the sale it names (0 for none). Nothing for a line that is no
// record; a line that is one may still be junk, which ParseRecord tells.
struct LineSketch {
    Kind kind = Kind::Line;
    std::int64_t sale = 0;
};
std::optional<LineSketch> SketchLine(std::string_view line);
// The kinds that are part of one sale or cancel and name its number: line,
// void, tender, returned; and those of a return that name the sale it returns.
bool IsSalePart(Kind kind);
// The records of a return: return line, refund, return.
bool IsReturnPart(Kind kind);
// The records that use up a sale number: sale and cancel.
bool ClosesSale(Kind kind);
// A record's time as the index keeps it.
std::string IndexTime(const std::wstring& time);

// Adds the journal's lines to an index as they are read forward from where it
// ends: each line whole, with its line end (the file's last may lack one and
// is then not covered). The caller sets known once the reading is done.
class IndexBuilder {
public:
    explicit IndexBuilder(SaleIndex& index) : index_(index) {}
    void Line(std::string_view line, std::int64_t offset);

private:
    SaleIndex& index_;
};

}  // namespace journal
