#pragma once
// The command keys held down on the entry field, each with the entry as it
// stood when the key went down. Fast keypad typists press the next digits
// before they let go of ENTER, + or /: a command acts on its release, but on
// the entry of its press, and what was typed while it was held is the next
// entry. A key's command is the chord of its press too: Shift let go of just
// before Enter still made Shift+Enter. No Windows here.
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "register/KeyTable.h"

namespace regi {

// A key held down: with the modifiers of its press, and the entry then.
struct HeldKey {
    KeyChord chord;
    std::wstring entry;
};

class HeldKeys {
public:
    // A key went down with modifiers while the entry showed entry. The repeats
    // of a held key keep its first press.
    void Press(const KeyChord& chord, const std::wstring& entry);
    // The key came up: its press, or nothing when its press was not taken (it
    // went to another window or closed a message box).
    std::optional<HeldKey> Release(std::uint16_t key);
    // The focus went elsewhere: no release from now on is a command.
    void Forget() { held_.clear(); }

    // A command ran on used, the entry at its key's press, while the field
    // had come to show shown; left is what the command left in the entry.
    // Returns what the field shows now: when the command acted, the digits
    // typed since the press if there are any, else left; when it did nothing,
    // shown. What the command used is gone from the keys still held too.
    std::wstring AfterCommand(const std::wstring& used, const std::wstring& shown, const std::wstring& left,
                              bool acted);

private:
    std::map<std::uint16_t, HeldKey> held_;
};

}  // namespace regi
