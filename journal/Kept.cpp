#include "journal/Kept.h"

#include "journal/Record.h"

namespace journal {

namespace {

const char kTitle[] = "Pelmora journal numbers";

}  // namespace

std::string FormatKept(const Kept& kept) {
    std::string text = std::string(kTitle) + "\r\n";
    text += "sequence=" + std::to_string(kept.sequence) + "\r\n";
    text += "sale=" + std::to_string(kept.sale) + "\r\n";
    text += "z=" + std::to_string(kept.z) + "\r\n";
    text += "size=" + std::to_string(kept.size) + "\r\n";
    if (!kept.chain.empty()) text += "chain=" + kept.chain + "\r\n";
    for (const ByteRange& range : kept.partials)
        text += "partial=" + std::to_string(range.begin) + "-" + std::to_string(range.end) + "\r\n";
    if (kept.failedAt >= 0) text += "failed=" + std::to_string(kept.failedAt) + "\r\n";
    return text;
}

std::optional<Kept> ParseKept(std::string_view text) {
    Kept kept;
    bool read = ReadNamedValues(text, kTitle, [&kept](std::string_view name, std::string_view value) {
        if (name == "partial") {
            size_t dash = value.find('-');
            std::optional<std::int64_t> begin = ParseInteger(value.substr(0, dash));
            std::optional<std::int64_t> last =
                dash == std::string_view::npos ? std::nullopt : ParseInteger(value.substr(dash + 1));
            if (!begin || !last || *begin < 0 || *last < *begin) return false;
            kept.partials.push_back({*begin, *last});
            return true;
        }
        if (name == "chain") {
            kept.chain = value;
            return IsChainValue(kept.chain);
        }
        std::optional<std::int64_t> number = ParseInteger(value);
        if (!number || *number < (name == "failed" ? -1 : 0)) return false;
        if (name == "sequence")
            kept.sequence = *number;
        else if (name == "sale")
            kept.sale = *number;
        else if (name == "z")
            kept.z = *number;
        else if (name == "size")
            kept.size = *number;
        else if (name == "failed")
            kept.failedAt = *number;
        else
            return false;
        return true;
    });
    if (!read) return std::nullopt;
    return kept;
}

}  // namespace journal
