#pragma once
// What the program keeps beside the journal, without Windows: the highest
// numbers it ever wrote and the journal's size after its last append, so that
// damage to the journal can neither reset a number nor go unnoticed, and the
// places where a write that failed left part of a record.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace journal {

// A byte range of the journal, [begin, end).
struct ByteRange {
    std::int64_t begin = 0, end = 0;
};

struct Kept {
    std::int64_t sequence = 0, sale = 0, z = 0;  // the highest written; 0 for none
    std::int64_t size = 0;                       // the journal's size after the last append
    // What failed writes left, each up to the write that followed it: kept
    // past the Z too, for the chain's check of the whole journal.
    std::vector<ByteRange> partials;
    std::int64_t failedAt = -1;  // where a failed write began that no write has followed yet; -1 for none
    std::string chain = {};      // the chain value of the last record appended (see Chain.h); empty for none
};

// A small text of "name=value" lines under a first line that names the file.
std::string FormatKept(const Kept& kept);
// Nothing unless the text is what FormatKept writes for some Kept.
std::optional<Kept> ParseKept(std::string_view text);

}  // namespace journal
