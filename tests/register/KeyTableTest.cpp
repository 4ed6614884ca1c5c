// The register's key table and the shop's own key chords, without windows.
#include <gtest/gtest.h>

#include <set>

#include "register/KeyTable.h"

using namespace regi;

namespace {

RegisterCommand Sale(Command command) { return {PageAction::Sale, command}; }

TEST(KeyTable, EachKeyRunsOneCommandAndEachMenuItemHasItsId) {
    std::set<KeyChord> keys;
    std::set<int> ids;
    for (const KeyCommand& row : KeyCommands()) {
        EXPECT_TRUE(keys.insert(row.key).second) << row.name << ": a key of two commands";
        if (row.menuId) {
            EXPECT_TRUE(ids.insert(row.menuId).second) << row.name;
        }
        if (row.caption) {
            EXPECT_NE(row.menuId, 0) << row.name;
        }
        EXPECT_EQ(FindCommand(row.name), &row);
        EXPECT_EQ(FindCommand(row.does), &row);
    }
    // The tenders' keys, in the order of their numbers.
    const std::wstring tenderKeys[] = {L"F6", L"F7", L"F9", L"F11"};
    for (int tender = 1; tender <= kMaxTenders; ++tender) {
        EXPECT_EQ(TenderOf(TenderCommand(tender)), tender);
        EXPECT_EQ(TenderKeyName(tender), tenderKeys[tender - 1]);
    }
    EXPECT_EQ(TenderOf(Command::Settle), 0);
}

TEST(KeyChords, ReadAsTheSettingsFileWritesThem) {
    struct Case {
        const wchar_t* text;
        std::optional<KeyChord> chord;
    };
    const Case cases[] = {
        {L"Ctrl+F1", KeyChord{keyF1, true, false, false}},
        {L"shift+alt+f12", KeyChord{keyF12, false, true, true}},
        {L"Alt+Shift+F24", KeyChord{keyF24, false, true, true}},
        {L"Ctrl+Q", KeyChord{'Q', true, false, false}},
        {L"Shift+Q", std::nullopt},  // a capital letter is typing
        {L"F5", std::nullopt},       // the plain function keys are the table's
        {L"Ctrl+F25", std::nullopt},
        {L"Ctrl+F0", std::nullopt},
        {L"Ctrl+F01", std::nullopt},
        {L"Ctrl+Ctrl+F1", std::nullopt},
        {L"Ctrl+", std::nullopt},
        {L"", std::nullopt},
        {L"Ctrl+5", std::nullopt},
    };
    for (const Case& c : cases) {
        std::optional<KeyChord> chord = ReadChord(c.text);
        ASSERT_EQ(chord.has_value(), c.chord.has_value()) << std::wstring(c.text).size();
        if (!chord) continue;
        EXPECT_EQ(*chord, *c.chord);
        EXPECT_EQ(ReadChord(ChordText(*chord)), chord) << "written back as read";
    }
}

TEST(KeyMap, TheShopsChordsRunTheirCommandsBesideTheTablesKeys) {
    KeyMap keys({{"Settle", L"Ctrl+F1"},
                 {"ExemptLine", L"Alt+N"},
                 {"Void", L"Ctrl+F1"},
                 {"Nothing", L"Ctrl+F2"},
                 {"Cancel", L"F8"},
                 {"Quantity", L"Ctrl+"}});
    EXPECT_EQ(keys.Find(KeyChord{keyF1, true}), (RegisterCommand{PageAction::Sale, Command::Settle}));
    EXPECT_EQ(keys.Find(KeyChord{'N', false, false, true}), (RegisterCommand{PageAction::Sale, Command::ExemptLine}));
    EXPECT_EQ(keys.Find(KeyChord{keyDivide}), (RegisterCommand{PageAction::Sale, Command::Settle}));
    EXPECT_EQ(keys.Find(KeyChord{keyF12}), (RegisterCommand{PageAction::Drawer}));
    EXPECT_FALSE(keys.Find(KeyChord{keyF2, true}));
    // A chord taken already, an unknown command, a plain key and one that does not read.
    EXPECT_EQ(keys.Refused().size(), 4u);
    EXPECT_NE(KeyListText(keys, {}).find(L"[Num /] [Ctrl+F1]"), std::wstring::npos);
}

TEST(KeyList, NamesTheTendersOffered) {
    std::wstring text = KeyListText(KeyMap(), std::vector<std::wstring>{L"クレジット", L"", L"QRコード"});
    EXPECT_NE(text.find(L"[F6]\u3000クレジットでの支払い"), std::wstring::npos);
    EXPECT_EQ(text.find(L"[F7]"), std::wstring::npos) << "a tender not offered";
    EXPECT_NE(text.find(L"[F9]\u3000QRコードでの支払い"), std::wstring::npos);
    EXPECT_NE(text.find(L"[F12]"), std::wstring::npos);
}

}  // namespace

namespace {

TEST(KeyMap, ReadFromTheSettingsFilesText) {
    KeyMap keys = KeyMap::Read(L"Settle=Ctrl+F1; ExemptLine = Alt+N ;;Void;Settle=Ctrl+F2;Cancel=F8");
    EXPECT_EQ(keys.Find(KeyChord{keyF1, true}), (RegisterCommand{PageAction::Sale, Command::Settle}));
    EXPECT_EQ(keys.Find(KeyChord{'N', false, false, true}), (RegisterCommand{PageAction::Sale, Command::ExemptLine}))
        << "blanks around a name and its chord, as typed";
    EXPECT_FALSE(keys.Find(KeyChord{keyF2, true})) << "a command named twice keeps its first chord";
    EXPECT_EQ(keys.Refused().size(), 3u);
    EXPECT_NE(keys.RefusedMessage().find(L"Cancel=F8"), std::wstring::npos);
    EXPECT_TRUE(KeyMap::Read(L"").RefusedMessage().empty());
}

}  // namespace

namespace {

TEST(KeyMap, TheChordsAreWrittenAsReadReadsThem) {
    struct Case {
        const wchar_t* file;     // as the settings file has it
        const wchar_t* written;  // as ChordsText writes it back
    };
    const Case cases[] = {
        {L"", L""},
        {L"Settle=Ctrl+F1", L"Settle=Ctrl+F1"},
        {L" Settle = ctrl+f1 ;ExemptLine=alt+n", L"ExemptLine=Alt+N;Settle=Ctrl+F1"},  // the table's order
        {L"Tender1=Shift+Ctrl+F6;Void=F3;Nothing=Alt+Q", L"Tender1=Ctrl+Shift+F6"},    // the refused left out
    };
    for (const Case& c : cases) {
        KeyMap read = KeyMap::Read(c.file);
        EXPECT_EQ(read.ChordsText(), c.written);
        KeyMap again = KeyMap::Read(read.ChordsText());
        EXPECT_TRUE(again.Refused().empty());
        for (const KeyCommand& row : KeyCommands()) EXPECT_EQ(again.ExtraChord(row), read.ExtraChord(row)) << row.name;
    }
}

TEST(KeyMap, AChordIsGivenToOneCommandOnly) {
    KeyMap keys = KeyMap::Read(L"Settle=Ctrl+F1");
    const std::vector<std::wstring> tenders = {L"クレジット", L"電子マネー"};
    struct Step {
        const char* command;
        const wchar_t* text;     // nullptr: its chord taken away
        const wchar_t* refused;  // how the message starts; empty: given
        const wchar_t* after;    // ChordsText
    };
    const Step steps[] = {
        {"Void", L"Alt+V", L"", L"Void=Alt+V;Settle=Ctrl+F1"},
        {"Void", L" ctrl+f2", L"", L"Void=Ctrl+F2;Settle=Ctrl+F1"},  // in place of the one it had
        {"Cancel", L"Ctrl+F1", L"「Ctrl+F1」は「預り金（現金）と釣銭」に使われています。",
         L"Void=Ctrl+F2;Settle=Ctrl+F1"},
        {"Settle", L"Ctrl+F1", L"", L"Void=Ctrl+F2;Settle=Ctrl+F1"},  // its own again
        {"Cancel", L"F8", L"「F8」は割り当てられません。割り当てられるのは", L"Void=Ctrl+F2;Settle=Ctrl+F1"},
        {"Cancel", L"Ctrl+", L"「Ctrl+」は割り当てられません。", L"Void=Ctrl+F2;Settle=Ctrl+F1"},
        {"Tender1", L"Ctrl+Shift+F6", L"", L"Void=Ctrl+F2;Settle=Ctrl+F1;Tender1=Ctrl+Shift+F6"},
        {"Void", L"Ctrl+Shift+F6", L"「Ctrl+Shift+F6」は「クレジットでの支払い」に使われています。",
         L"Void=Ctrl+F2;Settle=Ctrl+F1;Tender1=Ctrl+Shift+F6"},
        {"Tender3", L"Alt+T", L"", L"Void=Ctrl+F2;Settle=Ctrl+F1;Tender1=Ctrl+Shift+F6;Tender3=Alt+T"},
        {"Void", L"Alt+T", L"「Alt+T」は「支払い 3（名前なし）」に使われています。",
         L"Void=Ctrl+F2;Settle=Ctrl+F1;Tender1=Ctrl+Shift+F6;Tender3=Alt+T"},
        {"Void", nullptr, L"", L"Settle=Ctrl+F1;Tender1=Ctrl+Shift+F6;Tender3=Alt+T"},
        {"Cancel", L"Ctrl+F2", L"", L"Cancel=Ctrl+F2;Settle=Ctrl+F1;Tender1=Ctrl+Shift+F6;Tender3=Alt+T"},
    };
    for (const Step& s : steps) {
        const KeyCommand& row = *FindCommand(s.command);
        std::wstring message;
        if (s.text)
            message = keys.Give(row, s.text, tenders);
        else
            keys.TakeAway(row);
        std::wstring refused = s.refused;
        EXPECT_EQ(message.substr(0, refused.size()), refused) << s.command;
        EXPECT_EQ(message.empty(), refused.empty()) << s.command;
        EXPECT_EQ(keys.ChordsText(), s.after) << s.command;
    }
    EXPECT_EQ(keys.Find(KeyChord{keyF2, true}), (RegisterCommand{PageAction::Sale, Command::Cancel}));
    EXPECT_FALSE(keys.Find(KeyChord{'V', false, false, true})) << "the chord a command gave up is free";
    EXPECT_EQ(keys.Find(KeyChord{keyF8}), (RegisterCommand{PageAction::Sale, Command::Cancel})) << "the table's key";
}

}  // namespace

namespace {

// A department's own key and the presets' keys go by the rule the shop's
// other chords go by: one command a chord.
TEST(KeyMap, ADepartmentsKeyIsAChordLikeTheOthers) {
    KeyMap keys = KeyMap::Read(L"Settle=Ctrl+F1", {{12, L"ctrl+f9"}, {13, L"Ctrl+F1"}, {14, L"F9"}, {15, L"Ctrl+F5"}});
    EXPECT_EQ(keys.Find(KeyChord{keyF9, true}), DepartmentLine(12));
    EXPECT_EQ(keys.Find(KeyChord{keyF5, true}), (RegisterCommand{PageAction::Sale, Command::Preset1}))
        << "the table's key stays the preset's";
    EXPECT_EQ(keys.Refused(), (std::vector<std::wstring>{L"[Departments] 13: Ctrl+F1", L"[Departments] 14: F9",
                                                         L"[Departments] 15: Ctrl+F5"}));
    ShopNames names({}, {L"半額"});
    names.departments = {{12, L"パン"}};
    struct Step {
        RegisterCommand does;
        const wchar_t* text;
        const wchar_t* refused;  // empty: given
    };
    const Step steps[] = {
        {Sale(Command::Void), L"Ctrl+F9", L"「Ctrl+F9」は「部門 12（パン）の行」に使われています。"},
        {DepartmentLine(30), L"Ctrl+F9", L"「Ctrl+F9」は「部門 12（パン）の行」に使われています。"},
        {DepartmentLine(30), L"Ctrl+F5", L"「Ctrl+F5」は「半額（直前の行から）」に使われています。"},
        {DepartmentLine(30), L"Ctrl+F1", L"「Ctrl+F1」は「預り金（現金）と釣銭」に使われています。"},
        {DepartmentLine(12), L"Alt+F9", L""},  // in place of the one it had
        {Sale(Command::Void), L"Ctrl+F9", L""},
    };
    for (const Step& s : steps) EXPECT_EQ(keys.Give(s.does, s.text, names), s.refused) << s.text;
    EXPECT_EQ(keys.Find(KeyChord{keyF9, false, false, true}), DepartmentLine(12));
    EXPECT_EQ(keys.ChordsText(), L"Void=Ctrl+F9;Settle=Ctrl+F1") << "the departments' keys live in their own lines";
    std::wstring list = KeyListText(keys, names);
    EXPECT_NE(list.find(L"[Alt+F9]\u3000部門 12（パン）の行"), std::wstring::npos);
    EXPECT_NE(list.find(L"[Ctrl+F5]\u3000半額（直前の行から）"), std::wstring::npos);
    EXPECT_EQ(list.find(L"[Ctrl+F6]"), std::wstring::npos) << "a preset not set";
    EXPECT_NE(list.find(L"[Shift+Num -]\u3000直前の行の値引"), std::wstring::npos);
    keys.TakeAway(DepartmentLine(12));
    EXPECT_FALSE(keys.Find(KeyChord{keyF9, false, false, true}));
}

}  // namespace
