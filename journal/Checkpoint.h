#pragma once
// A checkpoint beside the journal, without Windows: the period and its last
// sale as read up to a place in the journal, with the journal's first bytes and
// those just before that place, to know the journal again. A start reads only
// what came after it, so that a shop that never closes the day starts as fast
// as one that does. The journal itself always rebuilds it: a checkpoint that is
// missing, damaged or of another journal only costs a reading of the whole.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "journal/Period.h"
#include "sale/SaleRecord.h"

namespace journal {

struct Checkpoint {
    std::int64_t offset = 0;  // it covers the journal's bytes [0, offset), whole records
    std::string head, tail;   // the first bytes and the bytes just before offset, kKnownBytes each at most
    Period period;            // of the bytes it covers, as read (the kept numbers not applied)
    regi::SaleRecord lastSale;

    static constexpr std::int64_t kKnownBytes = 64;
};

// A small text of "name=value" lines under a first line that names the file.
std::string FormatCheckpoint(const Checkpoint& checkpoint);
// Nothing unless the text is what FormatCheckpoint writes for some checkpoint.
std::optional<Checkpoint> ParseCheckpoint(std::string_view text);
// Whether it has the counts and notes of its 入金 and 出金: one written before
// they were kept has their amounts alone, and the reports need them all.
bool CountsMoney(const Checkpoint& checkpoint);

}  // namespace journal
