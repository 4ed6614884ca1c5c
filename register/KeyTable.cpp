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

const wchar_t kChordRule[] =
    L"割り当てられるのは Ctrl・Shift・Alt と F1～F24、Ctrl か Alt と A～Z の組み合わせ（Ctrl+F1 など）で、"
    L"ほかのキーに使われていないものです。";

std::wstring Trimmed(const std::wstring& text) {
    size_t first = text.find_first_not_of(L" \t\u3000");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t\u3000") - first + 1);
}

int TenderOfRow(const KeyCommand& row) { return row.does.action == PageAction::Sale ? TenderOf(row.does.command) : 0; }

}  // namespace

const std::vector<KeyCommand>& KeyCommands() {
    // In the menu's order; the tenders' items are made from their names while offered.
    static const std::vector<KeyCommand> table = {
        {"EnterLine", Sale(Command::EnterLine), Plain(keyReturn), L"Enter", L"ENTER キーの行(&E)", RegiEnter, false,
         L"単価の行（標準税率。設定で軽減税率にもできます）"},
        {"OtherLine", Sale(Command::OtherLine), Plain(keyF2), L"F2", L"軽減税率の行(&R)", RegiReduced, false,
         L"単価の行（ENTER と違うほうの税率）"},
        {"ExemptLine", Sale(Command::ExemptLine), Plain(keyAdd), L"Num +", L"非課税の行(&N)", RegiExempt, false,
         L"単価の行（非課税）"},
        {"Quantity", Sale(Command::Quantity), Plain(keyMultiply), L"Num *", L"数量(&Q)", RegiQuantity, false,
         L"直前の行の数量"},
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

KeyMap::KeyMap(const std::map<std::string, std::wstring>& extra) {
    for (const KeyCommand& row : KeyCommands())
        if (row.key.key) chords_[row.key] = row.does;
    for (const auto& [name, text] : extra) {
        const KeyCommand* row = FindCommand(name);
        if (!row || !Give(*row, text).empty()) refused_.push_back(std::wstring(name.begin(), name.end()) + L"=" + text);
    }
}

std::wstring KeyMap::Give(const KeyCommand& row, const std::wstring& text,
                          const std::vector<std::wstring>& tenderNames) {
    std::optional<KeyChord> chord = ReadChord(Trimmed(text));
    if (!chord) return L"「" + text + L"」は割り当てられません。" + kChordRule;
    auto taken = chords_.find(*chord);
    if (taken != chords_.end() && !(taken->second == row.does))
        return L"「" + ChordText(*chord) + L"」は「" + WhatItDoes(*FindCommand(taken->second), tenderNames) +
               L"」に使われています。";
    TakeAway(row);
    chords_[*chord] = row.does;
    extra_[row.name] = *chord;
    return {};
}

void KeyMap::TakeAway(const KeyCommand& row) {
    auto found = extra_.find(row.name);
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

KeyMap KeyMap::Read(const std::wstring& text) {
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
    KeyMap keys(extra);
    keys.refused_.insert(keys.refused_.end(), unreadable.begin(), unreadable.end());
    return keys;
}

std::wstring KeyMap::RefusedMessage() const {
    if (refused_.empty()) return {};
    std::wstring message =
        L"設定ファイルの [Keys] の Chords に、使えないキーの割り当てがあります。"
        L"これらは使わずに始めます:\r\n";
    for (const std::wstring& entry : refused_) message += L"\u3000" + entry + L"\r\n";
    return message + kChordRule;
}

std::optional<RegisterCommand> KeyMap::Find(const KeyChord& chord) const {
    auto found = chords_.find(chord);
    if (found == chords_.end()) return std::nullopt;
    return found->second;
}

std::optional<KeyChord> KeyMap::ExtraChord(const KeyCommand& row) const {
    auto found = extra_.find(row.name);
    if (found == extra_.end()) return std::nullopt;
    return found->second;
}

std::wstring WhatItDoes(const KeyCommand& row, const std::vector<std::wstring>& tenderNames) {
    int tender = TenderOfRow(row);
    if (!tender) return row.help ? row.help : L"";
    if (static_cast<size_t>(tender) <= tenderNames.size() && !tenderNames[tender - 1].empty())
        return tenderNames[tender - 1] + L"での支払い";
    return L"支払い " + std::to_wstring(tender) + L"（名前なし）";
}

std::wstring KeyListText(const KeyMap& keys, const std::vector<std::wstring>& tenderNames) {
    std::wstring text;
    for (const KeyCommand& row : KeyCommands()) {
        if (int tender = TenderOfRow(row))
            if (static_cast<size_t>(tender) > tenderNames.size() || tenderNames[tender - 1].empty()) continue;
        std::wstring key = L"[" + std::wstring(row.keyName) + L"]";
        if (std::optional<KeyChord> extra = keys.ExtraChord(row)) key += L" [" + ChordText(*extra) + L"]";
        text += key + L"\u3000" + WhatItDoes(row, tenderNames) + L"\r\n";
    }
    return text;
}

}  // namespace regi
