#pragma once
// The register's one table of keys: which key runs which command, with the
// texts the "レジ(&R)" menu and the help's key list are made from. A shop whose
// POS keyboard sends key combinations gives a command a key of its own on top
// (KeyMap). Windows-free: keys are the platform's virtual-key codes as numbers.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sale/Sale.h"

namespace regi {

// Virtual-key codes of the register's keys.
enum Key : std::uint16_t {
    keyReturn = 13,
    keyMultiply = 106,
    keyAdd = 107,
    keyDecimal = 110,
    keyDivide = 111,
    keyF1 = 112,
    keyF2 = 113,
    keyF3 = 114,
    keyF4 = 115,
    keyF5 = 116,
    keyF6 = 117,
    keyF7 = 118,
    keyF8 = 119,
    keyF9 = 120,
    keyF11 = 122,
    keyF12 = 123,
    keyF24 = 135,
};

// What the register does for a key or a menu item: a command of the sale, or
// one the page does itself.
enum class PageAction { Sale, Receipt, Drawer, Help };
struct RegisterCommand {
    PageAction action = PageAction::Sale;
    Command command = Command::ClearEntry;  // for PageAction::Sale
    bool operator==(const RegisterCommand& other) const {
        return action == other.action && (action != PageAction::Sale || command == other.command);
    }
};

// A key with the modifiers held with it.
struct KeyChord {
    std::uint16_t key = 0;
    bool ctrl = false, shift = false, alt = false;
    bool operator<(const KeyChord& other) const;
    bool operator==(const KeyChord& other) const;
};
// "Ctrl+Shift+F1", "Alt+A": how the menu, the help and the settings file write a chord.
std::wstring ChordText(const KeyChord& chord);
// Back from that text: modifiers (Ctrl, Shift, Alt, in any order and case)
// before a function key F1 to F24 or a letter A to Z. A chord a POS keyboard
// can send without getting in the operator's way: a letter needs Ctrl or Alt.
std::optional<KeyChord> ReadChord(const std::wstring& text);

// One row of the table.
struct KeyCommand {
    const char* name;  // its name in the settings file ("Settle")
    RegisterCommand does;
    KeyChord key;            // the key that runs it; key 0: none of its own
    const wchar_t* keyName;  // as the menu and the help show that key ("Num /")
    const wchar_t* caption;  // the menu item, with its access key; nullptr: not in the menu
    int menuId;              // the menu item's command ID (regi::ids), 0 for none
    bool groupStart;         // a separator stands before it in the menu
    const wchar_t* help;     // what the help's key list says it does
};
const std::vector<KeyCommand>& KeyCommands();
// The row of command, nullptr for none.
const KeyCommand* FindCommand(const RegisterCommand& command);
const KeyCommand* FindCommand(const std::string& name);
// The key that takes tender 1 to kMaxTenders, as the menu shows it ("F6").
const wchar_t* TenderKeyName(int tender);

// The table's keys and the shop's own chords.
class KeyMap {
public:
    // extra: a command's name with the chord the shop gave it, as the settings
    // file keeps them. A name or chord that does not read is left out and told
    // in Refused(); a chord the table uses already is refused too.
    explicit KeyMap(const std::map<std::string, std::wstring>& extra = {});
    // From the settings file's text: "Settle=Ctrl+F1;ExemptLine=Alt+N".
    static KeyMap Read(const std::wstring& text);
    std::optional<RegisterCommand> Find(const KeyChord& chord) const;
    // The shop's chord of a command, if any.
    std::optional<KeyChord> ExtraChord(const KeyCommand& row) const;
    const std::vector<std::wstring>& Refused() const { return refused_; }
    // What the start says of the refused entries; empty for none.
    std::wstring RefusedMessage() const;

    // Gives row the chord text reads as, in place of the one it had, by the
    // rule the constructor keeps. Empty when given; else what refused it: a
    // text that is no chord one may give, or a chord another command has
    // (named with tenderNames as in WhatItDoes).
    std::wstring Give(const KeyCommand& row, const std::wstring& text,
                      const std::vector<std::wstring>& tenderNames = {});
    // Takes the shop's chord of row away; its table key stays.
    void TakeAway(const KeyCommand& row);
    // The shop's chords as the settings file keeps them and Read reads them,
    // in the table's order: "ExemptLine=Alt+N;Settle=Ctrl+F1".
    std::wstring ChordsText() const;

private:
    std::map<KeyChord, RegisterCommand> chords_;
    std::map<std::string, KeyChord> extra_;
    std::vector<std::wstring> refused_;
};

// What a command does, as the help's key list says it; a tender by its name
// ("クレジットでの支払い"), or by its number when it has none.
std::wstring WhatItDoes(const KeyCommand& row, const std::vector<std::wstring>& tenderNames);

// The help's list of keys: one line per command, its key (and the shop's
// chord), then what it does; tenderNames: the tenders offered (n at n - 1).
std::wstring KeyListText(const KeyMap& keys, const std::vector<std::wstring>& tenderNames);

}  // namespace regi
