#include "journal/SaleFinder.h"

#include <algorithm>

#include "common/Error.h"
#include "sale/Money.h"

namespace journal {

namespace {

constexpr std::int64_t kChunk = 64 * 1024;
constexpr size_t kMaxIndex = 64 * 1024 * 1024;     // decades of sales; anything bigger is not ours
constexpr size_t kMaxParts = 4 * regi::kMaxLines;  // more parts of one number than a sale can have are junk

[[noreturn]] void Unreadable(const std::wstring& path, const Status& status) {
    throw common::Error(L"売上の記録を読めません\r\n" + path + L"\r\n" + status.reason);
}

// Whether line is the sale or cancel record of number.
bool IsRecordOf(std::string_view line, std::int64_t number) {
    std::optional<Record> record = ParseRecord(line);
    return record && ClosesSale(record->kind) && record->sale == number;
}

// Reads lines forward and keeps the parts of the sale under way, until the
// record of the sale wanted.
class Collector {
public:
    explicit Collector(std::function<bool(const Record&)> matches, std::int64_t number)
        : matches_(std::move(matches)), number_(number) {}
    // False once the sale is found.
    bool Line(std::string_view line, std::int64_t offset) {
        if (found) return false;
        std::optional<LineSketch> sketch = SketchLine(line);
        // Only the number wanted needs its parts kept and its record read.
        if (!sketch || (number_ != 0 && sketch->sale != number_)) return true;
        if (IsSalePart(sketch->kind)) {
            if (sketch->sale != partsOf_ || parts_.size() >= kMaxParts) {
                parts_.clear();
                partsOf_ = sketch->sale;
            }
            parts_.emplace_back(line);
            return true;
        }
        if (!ClosesSale(sketch->kind)) return true;
        std::optional<Record> record = ParseRecord(line);
        if (!record) return true;
        if (matches_(*record)) {
            found = AssembleSale(*record, offset, partsOf_ == record->sale ? parts_ : std::vector<std::string>());
            return false;
        }
        parts_.clear();
        partsOf_ = 0;
        return true;
    }

    std::optional<FoundSale> found;

private:
    std::function<bool(const Record&)> matches_;
    std::int64_t number_;
    std::int64_t partsOf_ = 0;
    std::vector<std::string> parts_;
};

}  // namespace

FoundSale AssembleSale(const Record& record, std::int64_t offset, const std::vector<std::string>& parts) {
    FoundSale found;
    found.record = record;
    found.offset = offset;
    found.cancelled = record.kind == Kind::Cancel;
    found.sale.number = record.sale;
    found.sale.time = record.time;
    if (!found.cancelled) found.sale = SaleOf(record);
    for (const std::string& line : parts) {
        std::optional<Record> part = ParseRecord(line);
        if (!part) continue;  // a line of the sale a spreadsheet spoilt: the sale is not complete
        // A line numbered again starts a later attempt of the same write: it holds.
        if (part->kind == Kind::Line && part->line <= static_cast<std::int64_t>(found.sale.lines.size())) {
            found.sale.lines.clear();
            found.sale.tenders.clear();
            found.sale.subtotalDiscount.reset();
            found.sale.subtotalParts = {0, 0, 0};
        }
        if (part->kind == Kind::Void) found.voids.push_back(*part);
        if (part->kind == Kind::Returned) found.returned.push_back({static_cast<int>(part->line), part->total});
        AddSalePart(found.sale, *part);
    }
    const regi::ClassAmounts sums = PartsPerClass(found.sale);
    found.complete = found.cancelled || (static_cast<std::int64_t>(found.sale.lines.size()) == record.lines &&
                                         sums[0] == record.exemptAmount && sums[1] == record.standardAmount &&
                                         sums[2] == record.reducedAmount);
    return found;
}

void EachJournalLine(Storage& storage, const std::wstring& path, std::int64_t from, std::int64_t to,
                     const std::function<bool(std::string_view line, std::int64_t offset)>& take) {
    std::string buffer;            // bytes read and not handed on yet: the start of one line, then a chunk
    std::int64_t bufferAt = from;  // where buffer begins in the journal
    bool tooLong = false;          // the line under way is longer than any record: passed over to its end
    for (std::int64_t at = from; at < to;) {
        std::int64_t length = std::min(kChunk, to - at);
        std::string bytes(static_cast<size_t>(length), '\0');
        if (Status read = storage.Read(path, at, bytes); !read) Unreadable(path, read);
        buffer += bytes;
        at += length;
        // Lines end in CRLF, LF or CR; a CR at a chunk's end waits for the next byte.
        size_t begin = 0;
        for (size_t end; (end = buffer.find_first_of("\r\n", begin)) != std::string::npos; begin = end) {
            if (buffer[end] == '\r' && end + 1 == buffer.size() && at < to) break;
            end += buffer.compare(end, 2, "\r\n") == 0 ? 2 : 1;
            if (!tooLong && !take(std::string_view(buffer).substr(begin, end - begin), bufferAt + begin)) return;
            tooLong = false;
        }
        buffer.erase(0, begin);
        bufferAt += static_cast<std::int64_t>(begin);
        if (buffer.size() > kMaxLine) {
            tooLong = true;
            bufferAt += static_cast<std::int64_t>(buffer.size());
            buffer.clear();
        }
    }
    if (!buffer.empty() && !tooLong) take(buffer, bufferAt);
}

bool SaleFinder::Target::Matches(const Record& record) const {
    return number != 0 ? record.sale == number : IndexTime(record.time) >= time;
}

SaleFinder::SaleFinder(Storage& storage, std::wstring journalPath, std::wstring indexPath)
    : storage_(storage), journalPath_(std::move(journalPath)), indexPath_(std::move(indexPath)) {}

[[noreturn]] void SaleFinder::Fail(const Status& status) const { Unreadable(journalPath_, status); }

std::optional<FoundSale> SaleFinder::Find(std::int64_t number) {
    if (number < 1) return std::nullopt;
    return Search({number, {}});
}

std::optional<FoundSale> SaleFinder::FindAt(const common::DateTime& time) {
    return Search({0, IndexTime(common::FormatDateTime(time))});
}

std::optional<FoundSale> SaleFinder::Search(const Target& target) {
    std::int64_t size = 0;
    Status sized = storage_.Size(journalPath_, size);
    if (sized.fault == Fault::Missing) return std::nullopt;
    if (!sized) Fail(sized);
    if (Update(size)) {
        std::optional<std::optional<FoundSale>> read = ReadBetweenEntries(target, size);
        if (read && (!*read || AddLater(**read, size))) return *read;
    }
    std::optional<FoundSale> found = Rebuild(size, target);
    if (found) AddLater(*found, size);  // the new index's: read from this very journal
    return found;
}

bool SaleFinder::Update(std::int64_t size) {
    if (!index_) {
        std::string text;
        if (storage_.ReadWhole(indexPath_, kMaxIndex, text)) index_ = ParseSaleIndex(text);
    }
    if (!index_ || index_->size > size || Known(index_->size) != index_->known) {
        index_.reset();
        return false;
    }
    if (index_->size == size) return true;
    IndexBuilder builder(*index_);
    EachLine(index_->size, size, [&builder](std::string_view line, std::int64_t offset) {
        builder.Line(line, offset);
        return true;
    });
    index_->known = Known(index_->size);
    storage_.Replace(indexPath_, FormatSaleIndex(*index_));  // kept or not, the index found is good
    return true;
}

std::optional<FoundSale> SaleFinder::Rebuild(std::int64_t size, const Target& target) {
    SaleIndex fresh;
    IndexBuilder builder(fresh);
    Collector collector([&target](const Record& record) { return target.Matches(record); }, target.number);
    EachLine(0, size, [&](std::string_view line, std::int64_t offset) {
        builder.Line(line, offset);
        if (!collector.found) collector.Line(line, offset);
        return true;
    });
    fresh.known = Known(fresh.size);
    index_ = fresh;
    storage_.Replace(indexPath_, FormatSaleIndex(fresh));
    return collector.found;
}

std::optional<std::optional<FoundSale>> SaleFinder::ReadBetweenEntries(const Target& target, std::int64_t size) {
    const std::vector<IndexEntry>& entries = index_->entries;
    // The first entry at or after the target, and the one before it.
    auto end =
        target.number != 0
            ? std::lower_bound(entries.begin(), entries.end(), target.number,
                               [](const IndexEntry& entry, std::int64_t number) { return entry.sale < number; })
            : std::lower_bound(entries.begin(), entries.end(), target.time,
                               [](const IndexEntry& entry, const std::string& time) { return entry.latest < time; });
    const IndexEntry* last = end == entries.end() ? nullptr : &*end;
    const IndexEntry* first = end == entries.begin() ? nullptr : &*(end - 1);
    bool holds = true;
    Collector collector([&target](const Record& record) { return target.Matches(record); }, target.number);
    EachLine(first ? first->offset : 0, size, [&](std::string_view line, std::int64_t offset) {
        if (first && offset == first->offset) holds = IsRecordOf(line, first->sale);
        bool atLast = last && offset >= last->offset;
        if (atLast) holds = holds && offset == last->offset && IsRecordOf(line, last->sale);
        return holds && collector.Line(line, offset) && !atLast;
    });
    if (!holds) return std::nullopt;
    // A miss between two entries that hold: no such number while the journal's
    // numbers rise; a time before the later entry's latest must have been there.
    bool conclusive = collector.found || (target.number != 0 ? index_->ordered : !last);
    if (!conclusive) return std::nullopt;
    return collector.found;
}

bool SaleFinder::AddLater(FoundSale& found, std::int64_t size) {
    for (const SaleReference& reference : index_->references) {
        if (reference.sale != found.record.sale) continue;
        std::string bytes = ReadAt(reference.offset, std::min<std::int64_t>(kMaxLine, size - reference.offset));
        size_t end = bytes.find_first_of("\r\n");
        if (end != std::string::npos) end += bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        std::optional<Record> record = ParseRecord(std::string_view(bytes).substr(0, end));
        if (!record || !IsSalePart(record->kind) || record->sale != found.record.sale ||
            reference.offset <= found.offset)
            return false;
        found.later.push_back(*record);
    }
    return true;
}

void SaleFinder::EachLine(std::int64_t from, std::int64_t to,
                          const std::function<bool(std::string_view line, std::int64_t offset)>& take) {
    EachJournalLine(storage_, journalPath_, from, to, take);
}

std::string SaleFinder::ReadAt(std::int64_t offset, std::int64_t length) {
    std::string bytes(static_cast<size_t>(length), '\0');
    if (length > 0) {
        Status read = storage_.Read(journalPath_, offset, bytes);
        if (!read) Fail(read);
    }
    return bytes;
}

std::uint64_t SaleFinder::Known(std::int64_t size) {
    std::int64_t known = std::min(SaleIndex::kKnownBytes, size);
    return KnownChecksum(ReadAt(0, known), ReadAt(size - known, known));
}

}  // namespace journal
