#include "journal/Chain.h"

#include <algorithm>

#include "common/Utf8.h"

namespace journal {

namespace {

constexpr std::int64_t kChunk = 64 * 1024;

bool Blank(std::string_view line) { return line.find_first_not_of(",\r\n") == std::string_view::npos; }

// A line as the program reads it: a Shift_JIS journal's in UTF-8.
std::optional<Record> Read(std::string_view line, const std::function<std::wstring(std::string_view)>& decode) {
    if (decode && !common::IsAscii(line)) return ParseRecord(common::ToUtf8(decode(line)));
    return ParseRecord(line);
}

// The lines of text, each with its line end (CRLF, LF or CR); the last may have none.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t begin = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        lines.push_back(text.substr(begin, i + 1 - begin));
        begin = i + 1;
    }
    if (begin < text.size()) lines.push_back(text.substr(begin));
    return lines;
}

bool Within(const std::vector<ByteRange>& ranges, std::int64_t offset) {
    return std::any_of(ranges.begin(), ranges.end(),
                       [offset](const ByteRange& r) { return offset >= r.begin && offset < r.end; });
}

}  // namespace

std::string ChainedText(const Record& record) {
    // The line as written, its columns up to the value's included, less ",value" and CRLF.
    Record chained = record;
    chained.chain.assign(64, '0');
    std::string text = FormatRecord(chained);
    text.resize(text.size() - 2 - 65);
    return text;
}

std::string ChainValue(const ChainHash& hash, std::string_view previous, const Record& record) {
    return hash(std::string(previous) + ChainedText(record));
}

ChainChecker::ChainChecker(ChainHash hash) : hash_(std::move(hash)) {}

bool ChainChecker::Follows(const std::string& previous, const Entry& entry) const {
    return entry.record && !entry.record->chain.empty() && hash_(previous + entry.text) == entry.record->chain;
}

void ChainChecker::Accept(const Entry& entry) {
    previous_ = entry.record->chain;
    previousSequence_ = entry.record->sequence;
}

void ChainChecker::Report(const Entry& entry) {
    // Alone: a line without a value was put in; a number skipped says records went missing.
    BreakKind kind = BreakKind::Changed;
    if (!entry.record || entry.record->chain.empty())
        kind = BreakKind::Inserted;
    else if (entry.record->sequence > previousSequence_ + 1)
        kind = BreakKind::Removed;
    breaks_.push_back({entry.number, kind});
}

void ChainChecker::Feed(std::string_view line, std::int64_t number, bool skip) {
    if (skip || Blank(line)) return;
    Entry entry{number, ParseRecord(line), {}};
    if (!started_) {
        // Records written before the chain began are taken as they are.
        if (!entry.record) return;
        if (entry.record->chain.empty()) {
            previousSequence_ = entry.record->sequence;
            return;
        }
        started_ = true;
    }
    if (entry.record) entry.text = ChainedText(*entry.record);
    if (pending_) {
        Entry before = std::move(*pending_);
        pending_.reset();
        if (Follows(previous_, entry)) {
            // The chain goes on past it: it was put in.
            breaks_.push_back({before.number, BreakKind::Inserted});
            Accept(entry);
            return;
        }
        if (before.record && !before.record->chain.empty() && Follows(before.record->chain, entry)) {
            // The chain goes on from it: its own text changed, or records before it went.
            Report(before);
            Accept(entry);
            return;
        }
        if (before.record && Follows(hash_(previous_ + before.text), entry)) {
            // The chain goes on from what its value should be: the value alone changed.
            breaks_.push_back({before.number, BreakKind::Changed});
            Accept(entry);
            return;
        }
        Report(before);
        // Nothing fits: what follows is judged against the value it carries.
        if (before.record && !before.record->chain.empty()) Accept(before);
    }
    if (Follows(previous_, entry))
        Accept(entry);
    else
        pending_ = std::move(entry);
}

const std::vector<ChainBreak>& ChainChecker::Finish() {
    if (pending_) Report(*pending_);
    pending_.reset();
    return breaks_;
}

bool ReadForward(Storage& storage, const std::wstring& path, std::int64_t size,
                 const std::function<bool(std::string_view, std::int64_t, std::int64_t)>& take) {
    std::string line, chunk;
    std::int64_t number = 1, lineAt = 0;
    bool afterCr = false, going = true;
    auto give = [&](std::int64_t next) {
        going = take(line, number, lineAt);
        line.clear();
        lineAt = next;
        ++number;
    };
    for (std::int64_t at = 0; at < size && going; at += kChunk) {
        chunk.resize(static_cast<size_t>(std::min(kChunk, size - at)));
        if (!storage.Read(path, at, chunk)) return false;
        for (size_t i = 0; i < chunk.size() && going; ++i) {
            char c = chunk[i];
            std::int64_t here = at + static_cast<std::int64_t>(i);
            if (afterCr) {
                // A CR ends its line unless an LF follows it.
                afterCr = false;
                if (c == '\n') {
                    line += c;
                    give(here + 1);
                    continue;
                }
                give(here);
                if (!going) break;
            }
            // A line longer than any record is junk: its first bytes say so.
            if (line.size() <= kMaxLine) line += c;
            if (c == '\r')
                afterCr = true;
            else if (c == '\n')
                give(here + 1);
        }
    }
    if (afterCr && going) give(size);
    // A last line without its line end is a write that stopped midway: not given.
    return true;
}

std::optional<std::vector<ChainBreak>> CheckChain(Storage& storage, const ChainCheck& check,
                                                  const std::function<bool()>& stop) {
    ChainChecker checker(check.hash);
    std::int64_t lines = 0;
    bool stopped = false;
    bool read = ReadForward(storage, check.path, check.size,
                            [&](std::string_view line, std::int64_t number, std::int64_t offset) {
                                // A look at the stop now and then is enough.
                                if (++lines % 4096 == 0 && stop && stop()) return !(stopped = true);
                                std::string decoded;
                                if (check.decode && !common::IsAscii(line))
                                    decoded = common::ToUtf8(check.decode(line));
                                checker.Feed(decoded.empty() ? line : decoded, number, Within(check.partials, offset));
                                return true;
                            });
    if (!read) return std::nullopt;
    if (stopped) return std::vector<ChainBreak>();
    return checker.Finish();
}

std::wstring ChainMessage(const std::vector<ChainBreak>& breaks, const std::wstring& path) {
    if (breaks.empty()) return L"";
    std::wstring text;
    constexpr size_t kShown = 20;
    for (size_t i = 0; i < breaks.size() && i < kShown; ++i) {
        std::wstring line = std::to_wstring(breaks[i].line);
        switch (breaks[i].kind) {
        case BreakKind::Changed: text += L"売上の記録の " + line + L" 行目以降が変更されています"; break;
        case BreakKind::Removed: text += L"売上の記録の " + line + L" 行目の前の記録が削除されています"; break;
        case BreakKind::Inserted: text += L"売上の記録の " + line + L" 行目に記録が挿入されています"; break;
        }
        text += L"\r\n";
    }
    if (breaks.size() > kShown) text += L"ほか " + std::to_wstring(breaks.size() - kShown) + L" 件\r\n";
    return text + L"記録のチェーン値が合いません。プログラムは記録のファイルを変更していません。\r\n" + path;
}

const wchar_t kChainValueCaption[] = L"チェーン値";

ReportLine ChainValueLine(const std::string& chain) {
    return {kChainValueCaption, {std::wstring(chain.begin(), chain.begin() + std::min<size_t>(16, chain.size()))}};
}

std::string LastChainValue(Storage& storage, const std::wstring& path, std::int64_t size,
                           const std::function<std::wstring(std::string_view)>& decode) {
    std::string carry, chunk;
    std::int64_t offset = size;
    while (offset > 0) {
        std::int64_t length = std::min(kChunk, offset);
        offset -= length;
        chunk.resize(static_cast<size_t>(length));
        if (!storage.Read(path, offset, chunk)) return {};
        carry = chunk + carry;
        std::vector<std::string_view> lines = Lines(carry);
        // The first line may begin before offset: it waits for the next chunk.
        size_t whole = offset > 0 ? 1 : 0;
        for (size_t i = lines.size(); i-- > whole;) {
            std::string_view line = lines[i];
            // A last line without its line end is cut short; blank rows are a spreadsheet's.
            if (LineEnding(line) == 0 || Blank(line)) continue;
            std::optional<Record> record = Read(line, decode);
            if (record && !record->chain.empty()) return record->chain;
            // Before a z without a value the chain had not begun.
            if (record && record->kind == Kind::Z) return {};
        }
        carry = whole && !lines.empty() ? std::string(lines[0]) : std::string();
        if (carry.size() > 2 * kMaxLine) carry.clear();  // junk far longer than a record
    }
    return {};
}

}  // namespace journal
