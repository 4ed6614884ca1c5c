#pragma once
// The journal's hash chain, without Windows: each record the program writes
// carries a chain value, the hash of the previous record's chain value (its 64
// hex digits; nothing before the first) followed by the record's own text (its
// line as the program writes it, in UTF-8, less ",value" and the CRLF). An
// edit of a record, a record taken out or one put in then no longer fits the
// values around it, and the check below says where and which. The hash is
// handed in: the program's is the system's SHA-256 (platform/Sha256.h).
//
// A journal written before the chain has records without a value: they are
// taken as they are, and the chain starts at the first record with one.
// The chain shows an edit; it cannot stop one, nor an edit that computes every
// value after it again.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/Kept.h"
#include "journal/Period.h"
#include "journal/Record.h"
#include "journal/Storage.h"

namespace journal {

// The hash of bytes as 64 lowercase hex digits; empty when it could not be made.
using ChainHash = std::function<std::string(std::string_view bytes)>;

// The text a record's chain value covers.
std::string ChainedText(const Record& record);
// The value of record after a record whose value is previous (empty for none).
std::string ChainValue(const ChainHash& hash, std::string_view previous, const Record& record);

// Where the chain breaks, by the line numbers a spreadsheet shows.
enum class BreakKind {
    Changed,   // the record's text is not what its value was made of
    Removed,   // records are missing before it
    Inserted,  // a line the chain does not know is there
};
struct ChainBreak {
    std::int64_t line = 0;
    BreakKind kind = BreakKind::Changed;
    bool operator==(const ChainBreak& other) const { return line == other.line && kind == other.kind; }
};

// Checks the chain over a journal fed line by line from its start.
class ChainChecker {
public:
    explicit ChainChecker(ChainHash hash);
    // One line with its line end; number: its line number. skip: bytes a failed
    // write left (see Kept), passed over.
    void Feed(std::string_view line, std::int64_t number, bool skip = false);
    // After the last line: the breaks found, by line.
    const std::vector<ChainBreak>& Finish();
    // The chain value of the last record that fits the chain; empty before the chain starts.
    const std::string& Last() const { return previous_; }

private:
    struct Entry {
        std::int64_t number = 0;
        std::optional<Record> record;  // nothing for a line that is no record
        std::string text;              // what its value covers
    };
    bool Follows(const std::string& previous, const Entry& entry) const;
    void Accept(const Entry& entry);
    // The pending entry's break, once what follows it is known.
    void Report(const Entry& entry);

    ChainHash hash_;
    std::string previous_;
    std::int64_t previousSequence_ = 0;
    bool started_ = false;
    std::optional<Entry> pending_;  // a line that did not follow, until the next tells why
    std::vector<ChainBreak> breaks_;
};

// Hands take each line of the journal's first size bytes, from its start, with
// its line end (CRLF, LF or CR, as a spreadsheet counts lines), its 1-based
// number and where it begins; a last line without its line end is not given.
// take returns false to stop. False when the journal cannot be read.
bool ReadForward(Storage& storage, const std::wstring& path, std::int64_t size,
                 const std::function<bool(std::string_view line, std::int64_t number, std::int64_t offset)>& take);

// What the background check needs to know of a journal, as the session last read it.
struct ChainCheck {
    std::wstring path;
    std::int64_t size = 0;                                 // checked up to here
    std::vector<ByteRange> partials;                       // what failed writes left
    std::function<std::wstring(std::string_view)> decode;  // a Shift_JIS journal's lines; none for UTF-8
    ChainHash hash;
};
// Reads the journal from its start and checks its chain; stop, when it turns
// true, ends the reading early (nothing found). Nothing when the journal cannot be read.
std::optional<std::vector<ChainBreak>> CheckChain(Storage& storage, const ChainCheck& check,
                                                  const std::function<bool()>& stop = {});
// The one message for the operator, empty for no breaks: each break by its
// line ("売上の記録の N 行目以降が変更されています"), that the file is as it
// was, and its path.
std::wstring ChainMessage(const std::vector<ChainBreak>& breaks, const std::wstring& path);

// The line that ends a Z's report on the screen and on paper: the first 16
// hex digits of its z record's value ("チェーン値  1a2b3c4d5e6f7a8b").
ReportLine ChainValueLine(const std::string& chain);
extern const wchar_t kChainValueCaption[];

// The chain value of the journal's last record that has one, read from the
// end back to a z record without one or the start; empty for none. Raises
// nothing: a journal that cannot be read starts a chain anew.
std::string LastChainValue(Storage& storage, const std::wstring& path, std::int64_t size,
                           const std::function<std::wstring(std::string_view)>& decode = {});

}  // namespace journal
