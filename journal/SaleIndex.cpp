#include "journal/SaleIndex.h"

#include <algorithm>

namespace journal {

namespace {

const char kTitle[] = "Pelmora journal index";
const char kEnd[] = "end=";

// FNV-1a.
std::uint64_t Checksum(std::string_view bytes, std::uint64_t hash = 14695981039346656037ull) {
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// The kinds' names as the journal writes them, from FormatRecord itself, by Kind.
const std::vector<std::string>& KindNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (int kind = 0; kind <= static_cast<int>(kLastKind); ++kind) {
            Record record;
            record.sequence = 1;
            record.kind = static_cast<Kind>(kind);
            std::string line = FormatRecord(record);
            size_t begin = line.find(',', line.find(',') + 1) + 1;  // after the sequence and the time
            all.push_back(line.substr(begin, line.find(',', begin) - begin));
        }
        return all;
    }();
    return names;
}

std::optional<std::uint64_t> ParseUnsigned(std::string_view text) {
    if (text.empty() || text.size() > 20) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (value > (UINT64_MAX - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

// A time in the journal's own form, exactly.
bool IsTime(std::string_view text) { return LocalTime(text) == std::optional<std::string>(text); }

// "a,b" or "a,b,c": the parts between commas.
std::vector<std::string_view> Parts(std::string_view value) {
    std::vector<std::string_view> parts;
    for (;;) {
        size_t comma = value.find(',');
        parts.push_back(value.substr(0, comma));
        if (comma == std::string_view::npos) return parts;
        value.remove_prefix(comma + 1);
    }
}

// Whether the parsed index describes some journal: its entries rise and every
// place lies within what it covers.
bool Sound(const SaleIndex& index) {
    const IndexEntry* before = nullptr;
    for (const IndexEntry& entry : index.entries) {
        bool rises =
            !before || (entry.sale > before->sale && entry.offset > before->offset && entry.latest >= before->latest);
        if (!rises || entry.sale > index.last || entry.offset >= index.size || entry.latest > index.latest)
            return false;
        before = &entry;
    }
    return std::all_of(index.references.begin(), index.references.end(), [&](const SaleReference& reference) {
        return reference.sale <= index.last && reference.offset < index.size;
    });
}

}  // namespace

std::string FormatSaleIndex(const SaleIndex& index) {
    std::string text = std::string(kTitle) + "\r\n";
    text += "size=" + std::to_string(index.size) + "\r\n";
    text += "known=" + std::to_string(index.known) + "\r\n";
    text += "last=" + std::to_string(index.last) + "\r\n";
    text += "latest=" + index.latest + "\r\n";
    text += std::string("ordered=") + (index.ordered ? "1" : "0") + "\r\n";
    for (const IndexEntry& entry : index.entries)
        text +=
            "entry=" + std::to_string(entry.sale) + ',' + std::to_string(entry.offset) + ',' + entry.latest + "\r\n";
    for (const SaleReference& reference : index.references)
        text += "refer=" + std::to_string(reference.sale) + ',' + std::to_string(reference.offset) + "\r\n";
    return text + kEnd + std::to_string(Checksum(text)) + "\r\n";
}

std::optional<SaleIndex> ParseSaleIndex(std::string_view text) {
    // The last line holds the checksum of all before it.
    size_t end = text.rfind(kEnd);
    if (end == std::string_view::npos || (end != 0 && text[end - 1] != '\n') || text.substr(text.size() - 2) != "\r\n")
        return std::nullopt;
    if (ParseUnsigned(text.substr(end + 4, text.size() - end - 6)) != Checksum(text.substr(0, end)))
        return std::nullopt;
    text = text.substr(0, end);
    SaleIndex index;
    const std::string_view kSingles[] = {"size", "known", "last", "latest", "ordered"};
    bool seen[std::size(kSingles)] = {};
    bool read = ReadNamedValues(text, kTitle, [&](std::string_view name, std::string_view value) {
        auto single = std::find(std::begin(kSingles), std::end(kSingles), name);
        if (single != std::end(kSingles)) {
            bool& once = seen[single - std::begin(kSingles)];
            if (once) return false;
            once = true;
        }
        std::vector<std::string_view> parts = Parts(value);
        // -1 for a part that is no number, or none.
        std::int64_t first = ParseInteger(parts[0]).value_or(-1);
        std::int64_t second = parts.size() > 1 ? ParseInteger(parts[1]).value_or(-1) : -1;
        if (name == "size" || name == "last") {
            if (first < 0 || parts.size() != 1) return false;
            (name == "size" ? index.size : index.last) = first;
        } else if (name == "known") {
            std::optional<std::uint64_t> known = ParseUnsigned(value);
            if (!known) return false;
            index.known = *known;
        } else if (name == "latest") {
            if (!value.empty() && !IsTime(value)) return false;
            index.latest = std::string(value);
        } else if (name == "ordered") {
            if (value != "0" && value != "1") return false;
            index.ordered = value == "1";
        } else if (name == "entry") {
            if (parts.size() != 3 || first < 1 || second < 0 || !IsTime(parts[2])) return false;
            index.entries.push_back({first, second, std::string(parts[2])});
        } else if (name == "refer") {
            if (parts.size() != 2 || first < 1 || second < 0) return false;
            index.references.push_back({first, second});
        } else {
            return false;
        }
        return true;
    });
    if (!read || std::count(std::begin(seen), std::end(seen), true) != std::size(kSingles) || !Sound(index))
        return std::nullopt;
    return index;
}

std::uint64_t KnownChecksum(std::string_view head, std::string_view tail) {
    // With the head's length, so that no two splits of the same bytes agree.
    return Checksum(tail, Checksum(std::to_string(head.size()) + ',' + std::string(head)));
}

std::optional<LineSketch> SketchLine(std::string_view line) {
    size_t commas[4];
    size_t at = 0;
    for (size_t& comma : commas) {
        comma = line.find(',', at);
        if (comma == std::string_view::npos) return std::nullopt;
        at = comma + 1;
    }
    if (line.substr(0, commas[3]).find('"') != std::string_view::npos) {
        // A spreadsheet quoted a field: only the whole reading can tell.
        std::optional<Record> record = ParseRecord(line);
        if (!record) return std::nullopt;
        return LineSketch{record->kind, record->sale};
    }
    std::string_view name = line.substr(commas[1] + 1, commas[2] - commas[1] - 1);
    const std::vector<std::string>& names = KindNames();
    auto kind = std::find(names.begin(), names.end(), name);
    if (kind == names.end()) return std::nullopt;
    std::string_view saleField = line.substr(commas[2] + 1, commas[3] - commas[2] - 1);
    std::optional<std::int64_t> sale = saleField.empty() ? 0 : ParseInteger(saleField);
    if (!sale) return std::nullopt;
    return LineSketch{static_cast<Kind>(kind - names.begin()), *sale};
}

bool IsSalePart(Kind kind) {
    return BuildsSale(kind) || kind == Kind::Void || kind == Kind::Returned || IsReturnPart(kind);
}

bool IsReturnPart(Kind kind) { return kind == Kind::ReturnLine || kind == Kind::Refund || kind == Kind::Return; }

bool ClosesSale(Kind kind) { return kind == Kind::Sale || kind == Kind::Cancel; }

std::string IndexTime(const std::wstring& time) {
    std::string text;
    for (wchar_t c : time) text += c < 0x80 ? static_cast<char>(c) : '?';
    return text;
}

void IndexBuilder::Line(std::string_view line, std::int64_t offset) {
    if (LineEnding(line) == 0) return;
    index_.size = offset + static_cast<std::int64_t>(line.size());
    std::optional<LineSketch> sketch = SketchLine(line);
    if (!sketch) return;
    bool closes = ClosesSale(sketch->kind);
    bool refers = IsSalePart(sketch->kind) && sketch->sale >= 1 && sketch->sale <= index_.last;
    if (!closes && !refers) return;
    std::optional<Record> record = ParseRecord(line);
    if (!record) return;
    if (refers) {
        index_.references.push_back({record->sale, offset});
        return;
    }
    if (record->sale <= index_.last) {
        index_.ordered = false;
        return;
    }
    index_.latest = std::max(index_.latest, IndexTime(record->time));
    if (index_.entries.empty() || record->sale >= index_.entries.back().sale + SaleIndex::kEvery)
        index_.entries.push_back({record->sale, offset, index_.latest});
    index_.last = record->sale;
}

}  // namespace journal
