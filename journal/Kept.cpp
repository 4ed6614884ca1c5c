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
    for (const ByteRange& range : kept.partials)
        text += "partial=" + std::to_string(range.begin) + "-" + std::to_string(range.end) + "\r\n";
    if (kept.failedAt >= 0) text += "failed=" + std::to_string(kept.failedAt) + "\r\n";
    return text;
}

std::optional<Kept> ParseKept(std::string_view text) {
    Kept kept;
    bool titled = false;
    while (!text.empty()) {
        size_t end = text.find("\r\n");
        if (end == std::string_view::npos) return std::nullopt;
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 2);
        if (!titled) {
            if (line != kTitle) return std::nullopt;
            titled = true;
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string_view::npos) return std::nullopt;
        std::string_view name = line.substr(0, equals), value = line.substr(equals + 1);
        if (name == "partial") {
            size_t dash = value.find('-');
            std::optional<std::int64_t> begin = ParseInteger(value.substr(0, dash));
            std::optional<std::int64_t> last =
                dash == std::string_view::npos ? std::nullopt : ParseInteger(value.substr(dash + 1));
            if (!begin || !last || *begin < 0 || *last < *begin) return std::nullopt;
            kept.partials.push_back({*begin, *last});
            continue;
        }
        std::optional<std::int64_t> number = ParseInteger(value);
        if (!number || *number < (name == "failed" ? -1 : 0)) return std::nullopt;
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
            return std::nullopt;
    }
    if (!titled) return std::nullopt;
    return kept;
}

}  // namespace journal
