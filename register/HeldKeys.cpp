#include "register/HeldKeys.h"

namespace regi {

namespace {

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

void HeldKeys::Press(const KeyChord& chord, const std::wstring& entry) {
    held_.emplace(chord.key, HeldKey{chord, entry});
}

std::optional<HeldKey> HeldKeys::Release(std::uint16_t key) {
    auto found = held_.find(key);
    if (found == held_.end()) return std::nullopt;
    HeldKey held = std::move(found->second);
    held_.erase(found);
    return held;
}

std::wstring HeldKeys::AfterCommand(const std::wstring& used, const std::wstring& shown, const std::wstring& left,
                                    bool acted) {
    if (!acted) return shown;
    for (auto& [key, held] : held_) {
        std::wstring& entry = held.entry;
        if (StartsWith(entry, used))
            entry.erase(0, used.size());
        else if (StartsWith(used, entry))
            entry.clear();  // all of it went into the command
    }
    // A text that does not go on from the used one was typed over it (its
    // selection replaced): all of it is new.
    std::wstring typed = StartsWith(shown, used) ? shown.substr(used.size()) : shown;
    return typed.empty() ? left : typed;
}

}  // namespace regi
