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
    keySubtract = 109,
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

// What the register does for a key or a menu item: a command of the sale, a
// line of a department (the key a POS keyboard sends for it), or one the page
// does itself (the product key looks the keyed code up in the product file).
enum class PageAction { Sale, Receipt, Drawer, Help, Department, Return, Product };
struct RegisterCommand {
    PageAction action = PageAction::Sale;
    Command command = Command::ClearEntry;  // for PageAction::Sale
    int department = 0;                     // for PageAction::Department: its number
    bool operator==(const RegisterCommand& other) const;
    bool operator<(const RegisterCommand& other) const;
};
// The price keyed before it is a line of department number (TSale::RunDepartment).
RegisterCommand DepartmentLine(int number);

// What the shop has named, for what the menu, the help and the messages call
// a command: the tenders offered (n at n - 1, empty: not offered), the names
// of the presets (n at n - 1, empty: not set) and the departments' names.
struct ShopNames {
    ShopNames(std::vector<std::wstring> tenderNames = {}, std::vector<std::wstring> presetLabels = {})  // NOLINT
        : tenders(std::move(tenderNames)), presets(std::move(presetLabels)) {}
    std::vector<std::wstring> tenders, presets;
    std::map<int, std::wstring> departments;  // by number
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
// The key of preset 1 to kMaxPresets ("Ctrl+F5").
const wchar_t* PresetKeyName(int preset);
// Whether the row is shown with names: not for a tender not offered or a preset not set.
bool Shown(const KeyCommand& row, const ShopNames& names);

// The table's keys and the shop's own chords.
class KeyMap {
public:
    // extra: a command's name with the chord the shop gave it, as the settings
    // file keeps them; departments: a department's number with its chord. A
    // name or chord that does not read is left out and told in Refused(); a
    // chord the table uses already is refused too.
    explicit KeyMap(const std::map<std::string, std::wstring>& extra = {},
                    const std::map<int, std::wstring>& departments = {});
    // From the settings file's text: "Settle=Ctrl+F1;ExemptLine=Alt+N".
    static KeyMap Read(const std::wstring& text, const std::map<int, std::wstring>& departments = {});
    std::optional<RegisterCommand> Find(const KeyChord& chord) const;
    // The shop's chord of a command, or of a department's line, if any.
    std::optional<KeyChord> ExtraChord(const KeyCommand& row) const;
    std::optional<KeyChord> ExtraChord(const RegisterCommand& does) const;
    const std::vector<std::wstring>& Refused() const { return refused_; }
    // What the start says of the refused entries; empty for none.
    std::wstring RefusedMessage() const;

    // Gives row (or a department's line) the chord text reads as, in place of
    // the one it had, by the rule the constructor keeps. Empty when given;
    // else what refused it: a text that is no chord one may give, or a chord
    // another command has (named as in WhatItDoes).
    std::wstring Give(const KeyCommand& row, const std::wstring& text, const ShopNames& names = {});
    std::wstring Give(const RegisterCommand& does, const std::wstring& text, const ShopNames& names = {});
    // Takes the shop's chord away; a table key stays.
    void TakeAway(const KeyCommand& row) { TakeAway(row.does); }
    void TakeAway(const RegisterCommand& does);
    // The shop's chords of the table's commands as the settings file keeps
    // them and Read reads them, in the table's order: "ExemptLine=Alt+N;Settle=Ctrl+F1".
    std::wstring ChordsText() const;

private:
    std::map<KeyChord, RegisterCommand> chords_;
    std::map<RegisterCommand, KeyChord> extra_;
    std::vector<std::wstring> refused_;
};

// What a command does, as the help's key list says it; a tender by its name
// ("クレジットでの支払い"), or by its number when it has none; a preset by its name.
std::wstring WhatItDoes(const KeyCommand& row, const ShopNames& names);

// The help's list of keys: one line per command shown, its key (and the
// shop's chord), then what it does.
std::wstring KeyListText(const KeyMap& keys, const ShopNames& names);

}  // namespace regi
