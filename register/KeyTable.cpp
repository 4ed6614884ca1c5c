#include "register/KeyTable.h"

#include <algorithm>
#include <tuple>

#include "register/RegisterPageIds.h"

namespace regi {

namespace {

using namespace ids;

RegisterCommand Sale(Command command) { return {PageAction::Sale, command}; }
RegisterCommand Page(PageAction action) { return {action, Command::ClearEntry}; }
KeyChord Plain(std::uint16_t key) { return {key, false, false, false}; }
KeyChord WithShift(std::uint16_t key) { return {key, false, true, false}; }
KeyChord WithCtrl(std::uint16_t key) { return {key, true, false, false}; }

const wchar_t kChordRule[] =
    L"割り当てられるのは Ctrl・Shift・Alt と F1～F24、Ctrl か Alt と A～Z の組み合わせ（Ctrl+F1 など）で、"
    L"ほかのキーに使われていないものです。";

std::wstring Trimmed(const std::wstring& text) {
    size_t first = text.find_first_not_of(L" \t\u3000");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t\u3000") - first + 1);
}

int TenderOfRow(const KeyCommand& row) { return row.does.action == PageAction::Sale ? TenderOf(row.does.command) : 0; }
int PresetOfRow(const KeyCommand& row) { return row.does.action == PageAction::Sale ? PresetOf(row.does.command) : 0; }

// A name of the shop's, n at n - 1; empty when it has none.
std::wstring NameAt(const std::vector<std::wstring>& names, int n) {
    return static_cast<size_t>(n) <= names.size() ? names[static_cast<size_t>(n) - 1] : L"";
}

// What the help and the messages call a department's line: "部門 12（パン）の行".
std::wstring DepartmentLineText(int number, const ShopNames& names) {
    auto named = names.departments.find(number);
    std::wstring name = named == names.departments.end() ? L"" : L"（" + named->second + L"）";
    return L"部門 " + std::to_wstring(number) + name + L"の行";
}

std::wstring WhatItDoes(const RegisterCommand& does, const ShopNames& names) {
    if (does.action == PageAction::Department) return DepartmentLineText(does.department, names);
    const KeyCommand* row = FindCommand(does);
    return row ? WhatItDoes(*row, names) : L"";
}

std::tuple<PageAction, Command, int> Identity(const RegisterCommand& c) {
    return {c.action, c.action == PageAction::Sale ? c.command : Command::ClearEntry,
            c.action == PageAction::Department ? c.department : 0};
}

}  // namespace

const std::vector<KeyCommand>& KeyCommands() {
    // In the menu's order; the tenders' and the presets' items are made from
    // their names while offered.
    static const std::vector<KeyCommand> table = {
        {"EnterLine", Sale(Command::EnterLine), Plain(keyReturn), L"Enter", L"ENTER キーの行(&E)", RegiEnter, false,
         L"単価の行（標準税率、設定で軽減税率にも）"},
        {"OtherLine", Sale(Command::OtherLine), Plain(keyF2), L"F2", L"軽減税率の行(&R)", RegiReduced, false,
         L"単価の行（ENTER と違うほうの税率）"},
        {"ExemptLine", Sale(Command::ExemptLine), Plain(keyAdd), L"Num +", L"非課税の行(&N)", RegiExempt, false,
         L"単価の行（非課税）"},
        {"Quantity", Sale(Command::Quantity), Plain(keyMultiply), L"Num *", L"数量(&Q)", RegiQuantity, false,
         L"直前の行の数量"},
        {"ProductLine", Page(PageAction::Product), WithCtrl(keyReturn), L"Ctrl+Enter", L"商品コード(&J)", RegiProduct,
         false, L"打ったコードの商品の行"},
        {"ArmDepartment", Sale(Command::ArmDepartment), WithShift(keyReturn), L"Shift+Enter", L"部門(&B)",
         RegiDepartment, false, L"番号の部門に次の行を入れる（次に単価）"},
        {"LineYenOff", Sale(Command::LineYenOff), WithShift(keySubtract), L"Shift+Num -", L"値引(&W)", RegiLineYenOff,
         true, L"直前の行の値引（円）"},
        {"LinePercentOff", Sale(Command::LinePercentOff), WithShift(keyDivide), L"Shift+Num /", L"割引(&P)",
         RegiLinePercentOff, false, L"直前の行の割引（%）"},
        {"SubtotalYenOff", Sale(Command::SubtotalYenOff), WithCtrl(keySubtract), L"Ctrl+Num -", L"小計値引(&S)",
         RegiSubtotalYenOff, false, L"取引全体の値引（円）"},
        {"SubtotalPercentOff", Sale(Command::SubtotalPercentOff), WithCtrl(keyDivide), L"Ctrl+Num /", L"小計割引(&U)",
         RegiSubtotalPercentOff, false, L"取引全体の割引（%）"},
        {"Preset1", Sale(Command::Preset1), WithCtrl(keyF5), L"Ctrl+F5", nullptr, RegiPreset1, false, nullptr},
        {"Preset2", Sale(Command::Preset2), WithCtrl(keyF6), L"Ctrl+F6", nullptr, RegiPreset2, false, nullptr},
        {"Preset3", Sale(Command::Preset3), WithCtrl(keyF7), L"Ctrl+F7", nullptr, RegiPreset3, false, nullptr},
        {"Preset4", Sale(Command::Preset4), WithCtrl(keyF8), L"Ctrl+F8", nullptr, RegiPreset4, false, nullptr},
        {"Void", Sale(Command::Void), Plain(keyF3), L"F3", L"直前の行を取消(&V)", RegiVoid, true,
         L"直前の行（番号を打てばその行）の取消"},
        {"ClearEntry", Sale(Command::ClearEntry), Plain(keyF4), L"F4", L"入力のクリア(&C)", RegiClearEntry, false,
         L"入力のクリア"},
        {"Cancel", Sale(Command::Cancel), Plain(keyF8), L"F8", L"取引中止(&A)", RegiCancel, false, L"取引の中止"},
        {"Settle", Sale(Command::Settle), Plain(keyDivide), L"Num /", L"預り・釣銭(&T)", RegiSettle, true,
         L"預り金（現金）と釣銭"},
        {"Tender1", Sale(Command::Tender1), Plain(keyF6), L"F6", nullptr, RegiTender1, false, nullptr},
        {"Tender2", Sale(Command::Tender2), Plain(keyF7), L"F7", nullptr, RegiTender2, false, nullptr},
        {"Tender3", Sale(Command::Tender3), Plain(keyF9), L"F9", nullptr, RegiTender3, false, nullptr},
        {"Tender4", Sale(Command::Tender4), Plain(keyF11), L"F11", nullptr, RegiTender4, false, nullptr},
        {"NextCustomer", Sale(Command::NextCustomer), Plain(keyDecimal), L"Num Del", L"次のお客様(&L)", RegiClear,
         false, L"次のお客様（精算のあとのクリア）"},
        {"Drawer", Page(PageAction::Drawer), Plain(keyF12), L"F12", L"ドロアを開ける(&D)", RegiDrawer, true,
         L"ドロアを開ける（取引のないとき）"},
        {"Return", Page(PageAction::Return), WithShift(keyF8), L"Shift+F8", L"返品(&H)", RegiReturn, false,
         L"返品（番号を打てばその売上から）"},
        {"Receipt", Page(PageAction::Receipt), Plain(keyF5), L"F5", nullptr, 0, false, L"直前の取引のレシート"},
        {"Help", Page(PageAction::Help), Plain(keyF1), L"F1", nullptr, 0, false, L"ヘルプ"},
    };
    return table;
}

const KeyCommand* FindCommand(const RegisterCommand& command) {
    for (const KeyCommand& row : KeyCommands())
        if (row.does == command) return &row;
    return nullptr;
}

const KeyCommand* FindCommand(const std::string& name) {
    for (const KeyCommand& row : KeyCommands())
        if (name == row.name) return &row;
    return nullptr;
}

const wchar_t* TenderKeyName(int tender) { return FindCommand(Sale(TenderCommand(tender)))->keyName; }

const wchar_t* PresetKeyName(int preset) { return FindCommand(Sale(PresetCommand(preset)))->keyName; }

bool Shown(const KeyCommand& row, const ShopNames& names) {
    if (int tender = TenderOfRow(row)) return !NameAt(names.tenders, tender).empty();
    if (int preset = PresetOfRow(row)) return !NameAt(names.presets, preset).empty();
    return true;
}

RegisterCommand DepartmentLine(int number) { return {PageAction::Department, Command::ClearEntry, number}; }

bool RegisterCommand::operator==(const RegisterCommand& other) const { return Identity(*this) == Identity(other); }

bool RegisterCommand::operator<(const RegisterCommand& other) const { return Identity(*this) < Identity(other); }

bool KeyChord::operator<(const KeyChord& other) const {
    return std::tie(key, ctrl, shift, alt) < std::tie(other.key, other.ctrl, other.shift, other.alt);
}

bool KeyChord::operator==(const KeyChord& other) const {
    return key == other.key && ctrl == other.ctrl && shift == other.shift && alt == other.alt;
}

std::wstring ChordText(const KeyChord& chord) {
    std::wstring text;
    if (chord.ctrl) text += L"Ctrl+";
    if (chord.shift) text += L"Shift+";
    if (chord.alt) text += L"Alt+";
    if (chord.key >= keyF1 && chord.key <= keyF24)
        text += L"F" + std::to_wstring(chord.key - keyF1 + 1);
    else if (chord.key >= L'A' && chord.key <= L'Z')
        text += static_cast<wchar_t>(chord.key);
    return text;
}

std::optional<KeyChord> ReadChord(const std::wstring& text) {
    KeyChord chord;
    std::wstring rest;
    for (wchar_t c : text) rest += c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    struct Modifier {
        const wchar_t* name;
        bool KeyChord::*flag;
    };
    const Modifier modifiers[] = {
        {L"CTRL+", &KeyChord::ctrl}, {L"SHIFT+", &KeyChord::shift}, {L"ALT+", &KeyChord::alt}};
    for (bool found = true; found;) {
        found = false;
        for (const Modifier& m : modifiers) {
            std::wstring name = m.name;
            if (rest.compare(0, name.size(), name) == 0 && !(chord.*m.flag)) {
                chord.*m.flag = found = true;
                rest.erase(0, name.size());
            }
        }
    }
    if (rest.size() == 1 && rest[0] >= L'A' && rest[0] <= L'Z') {
        if (!chord.ctrl && !chord.alt) return std::nullopt;  // a plain letter is typing
        chord.key = rest[0];
        return chord;
    }
    if (rest.size() >= 2 && rest.size() <= 3 && rest[0] == L'F' &&
        std::all_of(rest.begin() + 1, rest.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {
        int n = std::stoi(rest.substr(1));
        if (n < 1 || n > 24 || rest[1] == L'0') return std::nullopt;
        if (!chord.ctrl && !chord.shift && !chord.alt) return std::nullopt;  // the plain ones are the table's
        chord.key = static_cast<std::uint16_t>(keyF1 + n - 1);
        return chord;
    }
    return std::nullopt;
}

KeyMap::KeyMap(const std::map<std::string, std::wstring>& extra, const std::map<int, std::wstring>& departments) {
    for (const KeyCommand& row : KeyCommands())
        if (row.key.key) chords_[row.key] = row.does;
    for (const auto& [name, text] : extra) {
        const KeyCommand* row = FindCommand(name);
        if (!row || !Give(*row, text).empty()) refused_.push_back(std::wstring(name.begin(), name.end()) + L"=" + text);
    }
    for (const auto& [number, text] : departments)
        if (!Give(DepartmentLine(number), text).empty())
            refused_.push_back(L"[Departments] " + std::to_wstring(number) + L": " + text);
}

std::wstring KeyMap::Give(const KeyCommand& row, const std::wstring& text, const ShopNames& names) {
    return Give(row.does, text, names);
}

std::wstring KeyMap::Give(const RegisterCommand& does, const std::wstring& text, const ShopNames& names) {
    std::optional<KeyChord> chord = ReadChord(Trimmed(text));
    if (!chord) return L"「" + text + L"」は割り当てられません。" + kChordRule;
    auto taken = chords_.find(*chord);
    if (taken != chords_.end() && !(taken->second == does))
        return L"「" + ChordText(*chord) + L"」は「" + WhatItDoes(taken->second, names) + L"」に使われています。";
    TakeAway(does);
    chords_[*chord] = does;
    extra_[does] = *chord;
    return {};
}

void KeyMap::TakeAway(const RegisterCommand& does) {
    auto found = extra_.find(does);
    if (found == extra_.end()) return;
    chords_.erase(found->second);
    extra_.erase(found);
}

std::wstring KeyMap::ChordsText() const {
    std::wstring text;
    for (const KeyCommand& row : KeyCommands()) {
        std::optional<KeyChord> chord = ExtraChord(row);
        if (!chord) continue;
        if (!text.empty()) text += L';';
        text += std::wstring(row.name, row.name + std::char_traits<char>::length(row.name)) + L"=" + ChordText(*chord);
    }
    return text;
}

KeyMap KeyMap::Read(const std::wstring& text, const std::map<int, std::wstring>& departments) {
    std::map<std::string, std::wstring> extra;
    std::vector<std::wstring> unreadable;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = std::min(text.find(L';', start), text.size());
        std::wstring entry = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (entry.empty()) continue;
        size_t equals = entry.find(L'=');
        std::string name;
        for (wchar_t c : Trimmed(entry.substr(0, std::min(equals, entry.size()))))
            name += c > 0 && c < 128 ? static_cast<char>(c) : '?';
        if (equals == std::wstring::npos || extra.count(name))
            unreadable.push_back(entry);
        else
            extra[name] = Trimmed(entry.substr(equals + 1));
    }
    KeyMap keys(extra, departments);
    keys.refused_.insert(keys.refused_.end(), unreadable.begin(), unreadable.end());
    return keys;
}

std::wstring KeyMap::RefusedMessage() const {
    if (refused_.empty()) return {};
    std::wstring message =
        L"設定ファイルの [Keys] の Chords か [Departments] に、使えないキーの割り当てがあります。"
        L"これらは使わずに始めます:\r\n";
    for (const std::wstring& entry : refused_) message += L"\u3000" + entry + L"\r\n";
    return message + kChordRule;
}

std::optional<RegisterCommand> KeyMap::Find(const KeyChord& chord) const {
    auto found = chords_.find(chord);
    if (found == chords_.end()) return std::nullopt;
    return found->second;
}

std::optional<KeyChord> KeyMap::ExtraChord(const KeyCommand& row) const { return ExtraChord(row.does); }

std::optional<KeyChord> KeyMap::ExtraChord(const RegisterCommand& does) const {
    auto found = extra_.find(does);
    if (found == extra_.end()) return std::nullopt;
    return found->second;
}

std::wstring WhatItDoes(const KeyCommand& row, const ShopNames& names) {
    if (int preset = PresetOfRow(row)) {
        std::wstring label = NameAt(names.presets, preset);
        return (label.empty() ? L"決めておいた値引 " + std::to_wstring(preset) : label) + L"（直前の行から）";
    }
    int tender = TenderOfRow(row);
    if (!tender) return row.help ? row.help : L"";
    std::wstring name = NameAt(names.tenders, tender);
    if (!name.empty()) return name + L"での支払い";
    return L"支払い " + std::to_wstring(tender) + L"（名前なし）";
}

std::wstring KeyListText(const KeyMap& keys, const ShopNames& names) {
    std::wstring text;
    for (const KeyCommand& row : KeyCommands()) {
        if (!Shown(row, names)) continue;
        std::wstring key = L"[" + std::wstring(row.keyName) + L"]";
        if (std::optional<KeyChord> extra = keys.ExtraChord(row)) key += L" [" + ChordText(*extra) + L"]";
        text += key + L"\u3000" + WhatItDoes(row, names) + L"\r\n";
    }
    // The departments' own keys, after the table's.
    for (int number = 1; number <= kMaxDepartment; ++number)
        if (std::optional<KeyChord> chord = keys.ExtraChord(DepartmentLine(number)))
            text += L"[" + ChordText(*chord) + L"]\u3000" + DepartmentLineText(number, names) + L"\r\n";
    return text;
}

}  // namespace regi
