#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "settings/Settings.h"

using namespace settings;

namespace {

// A settings file in memory: what it holds, and the keys in the order written.
class MemoryProfile : public Profile {
public:
    std::optional<std::wstring> Read(const wchar_t* section, const wchar_t* key) const override {
        auto found = values.find(std::wstring(section) + L"/" + key);
        if (found == values.end()) return std::nullopt;
        return found->second;
    }
    void Write(const wchar_t* section, const wchar_t* key, const std::wstring& value) const override {
        written.push_back(std::wstring(section) + L"/" + key + L"=" + value);
    }
    std::optional<std::wstring> ReadSection(const wchar_t* section) const override {
        auto found = sections.find(section);
        if (found == sections.end()) return std::nullopt;
        return found->second;
    }
    void WriteSection(const wchar_t* section, const std::wstring& lines) const override {
        written.push_back(std::wstring(section) + L"/*=" + lines);
    }
    std::map<std::wstring, std::wstring> values, sections;
    mutable std::vector<std::wstring> written;
};

}  // namespace

TEST(Settings, EachKeyReadsByItsRuleAndAMissingOneIsItsDefault) {
    struct Case {
        const wchar_t* key;
        const wchar_t* text;  // nullptr: the key is missing
        std::function<bool(const Settings&)> holds;
    };
    const Case cases[] = {
        {L"CheckBox1/Checked", nullptr, [](const Settings& s) { return s.muted; }},
        {L"CheckBox1/Checked", L"0x0", [](const Settings& s) { return !s.muted; }},
        {L"CheckBox1/Checked", L"abc", [](const Settings& s) { return s.muted; }},
        {L"form/height", nullptr, [](const Settings& s) { return s.window.height == 597; }},
        {L"form/height", L"0x12C", [](const Settings& s) { return s.window.height == 300; }},
        {L"form/width", nullptr, [](const Settings& s) { return s.window.width == 606; }},
        {L"form/top", L"-40", [](const Settings& s) { return s.window.top == -40; }},
        {L"form/left", nullptr, [](const Settings& s) { return s.window.left == 0; }},
        {L"Config/Tax", nullptr, [](const Settings& s) { return s.taxText == L"10"; }},
        {L"Config/Tax", L"", [](const Settings& s) { return s.taxText.empty(); }},  // present but empty
        {L"Config/ReducedTax", nullptr, [](const Settings& s) { return s.reducedTaxText == L"8"; }},
        {L"Config/EnterReduced", L"1", [](const Settings& s) { return s.enterReduced; }},
        {L"Journal/Enabled", nullptr, [](const Settings& s) { return !s.journalOn; }},
        {L"Journal/Float", nullptr, [](const Settings& s) { return s.floatText == L"0"; }},
        {L"Journal/Float", L"30,000", [](const Settings& s) { return s.floatText == L"30,000"; }},
        {L"Receipt/Shop", L"青葉商店", [](const Settings& s) { return s.receipt.shop == L"青葉商店"; }},
        {L"Receipt/RegNo", L"T1234567890123",
         [](const Settings& s) { return s.receipt.registrationNumber == L"T1234567890123"; }},
        {L"Receipt/RegNo", L"T123", [](const Settings& s) { return s.receipt.registrationNumber.empty(); }},
        {L"Receipt/Print", L"1",
         [](const Settings& s) { return s.receipt.printMode == receipt::PrintMode::EverySale; }},
        {L"Receipt/Print", L"2",
         [](const Settings& s) { return s.receipt.printMode == receipt::PrintMode::OnRequest; }},
        {L"Receipt/Print", L"3", [](const Settings& s) { return s.receipt.printMode == receipt::PrintMode::Never; }},
        {L"Receipt/Width", nullptr, [](const Settings& s) { return s.receipt.paperWidth == 80; }},
        {L"Drawer/Open", nullptr, [](const Settings& s) { return s.receipt.drawer == receipt::DrawerMode::Never; }},
        {L"Drawer/Open", L"3", [](const Settings& s) { return s.receipt.drawer == receipt::DrawerMode::EscPosPin5; }},
        {L"Drawer/Open", L"5", [](const Settings& s) { return s.receipt.drawer == receipt::DrawerMode::Never; }},
        {L"Drawer/Cut", L"1", [](const Settings& s) { return s.receipt.cut; }},
        {L"Receipt/Width", L"58", [](const Settings& s) { return s.receipt.paperWidth == 58; }},
        {L"Receipt/Width", L"100", [](const Settings& s) { return s.receipt.paperWidth == 80; }},
    };
    for (const Case& c : cases) {
        MemoryProfile file;
        if (c.text) file.values[c.key] = c.text;
        EXPECT_TRUE(c.holds(ReadSettings(file))) << testing::PrintToString(std::wstring(c.key)) << " "
                                                 << testing::PrintToString(std::wstring(c.text ? c.text : L"-"));
    }
}

TEST(Settings, EveryKeyIsWrittenInTheFilesOrderAndReadsBackTheSame) {
    Settings s;
    s.muted = false;
    s.window = {34, 12, 560, 640};
    s.taxText = L"8";
    s.reducedTaxText = L"abc";
    s.enterReduced = true;
    s.journalOn = true;
    s.floatText = L"¥30,000";
    s.receipt.shop = L"青葉商店";
    s.receipt.address = L"TEL 03-1234-5678";
    s.receipt.registrationNumber = L"T1234567890123";
    s.receipt.printMode = receipt::PrintMode::OnRequest;
    s.receipt.printer = L"レシート";
    s.receipt.paperWidth = 58;
    MemoryProfile file;
    WriteSettings(file, s);
    const std::vector<std::wstring> expected = {
        L"CheckBox1/Checked=0",
        L"form/top=34",
        L"form/left=12",
        L"form/height=560",
        L"form/width=640",
        L"Config/Tax=8",
        L"Config/ReducedTax=abc",
        L"Config/EnterReduced=1",
        L"Journal/Enabled=1",
        L"Journal/Float=¥30,000",
        L"Receipt/Shop=青葉商店",
        L"Receipt/Address=TEL 03-1234-5678",
        L"Receipt/RegNo=T1234567890123",
        L"Receipt/Print=2",
        L"Receipt/Printer=レシート",
        L"Receipt/Width=58",
    };
    EXPECT_EQ(file.written, expected);

    for (const std::wstring& line : file.written) {
        size_t equals = line.find(L'=');
        file.values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    MemoryProfile again;
    WriteSettings(again, ReadSettings(file));
    EXPECT_EQ(again.written, expected);
}

TEST(Settings, ANewSettingsObjectHoldsTheDefaultsOfAMissingFile) {
    MemoryProfile empty, fromDefaults, fromMissing;
    WriteSettings(fromDefaults, Settings());
    WriteSettings(fromMissing, ReadSettings(empty));
    EXPECT_EQ(fromDefaults.written, fromMissing.written);
    EXPECT_EQ(fromDefaults.written.front(), L"CheckBox1/Checked=1");
}

TEST(Settings, RateChangesAreWrittenLastOnceEnteredAndEmptiedWhenAllAreGone) {
    struct Case {
        const wchar_t* inFile;  // nullptr: the file has no rate changes
        const wchar_t* entered;
        const wchar_t* written;  // nullptr: not written
    };
    const Case cases[] = {
        {nullptr, L"", nullptr},
        {nullptr, L"2027/04/01 10 1", L"RateChanges/Changes=2027/04/01 10 1"},
        {L"2027/04/01 10 1", L"", L"RateChanges/Changes="},
        {L"", L"", L"RateChanges/Changes="},
    };
    for (const Case& c : cases) {
        MemoryProfile file;
        if (c.inFile) file.values[L"RateChanges/Changes"] = c.inFile;
        Settings s = ReadSettings(file);
        s.rateChanges = regi::ParseRateChanges(c.entered);
        WriteSettings(file, s);
        EXPECT_EQ(file.written.back(), c.written ? c.written : L"Receipt/Width=80")
            << testing::PrintToString(std::wstring(c.entered));
    }
}

TEST(Settings, AChangeInForceBecomesTheRatesOfTheRateBoxesAndLeavesTheList) {
    MemoryProfile file;
    file.values[L"RateChanges/Changes"] = L"2027/04/01 10 0;2029/04/01 10 8";
    Settings s = ReadSettings(file);
    EXPECT_TRUE(BringRatesUpTo(s, {2027, 4, 1, 0, 0, 0}));
    EXPECT_EQ(s.taxText, L"10");
    EXPECT_EQ(s.reducedTaxText, L"0");
    EXPECT_EQ(s.rateChanges.changes.size(), 1u);
    EXPECT_FALSE(BringRatesUpTo(s, {2027, 4, 2, 0, 0, 0})) << "nothing more is due";
}

TEST(Settings, UnreadableRateChangesAreToldOnceUntilTheyChange) {
    struct Start {
        const wchar_t* changes;  // the file's entries at this start
        bool told;
    };
    const Start starts[] = {
        {L"2027/13/01 10 1;2099/04/01 10 1", true},
        {L"2027/13/01 10 1;2099/04/01 10 1", false},
        {L"2099/04/01 10 1;2027/13/01 10 1", false},  // the same entry, written back in order
        {L"2027/13/01 10 1;x", true},
        {L"2099/04/01 10 1", false},
        {L"2027/13/01 10 1", true},  // back again after it went
    };
    MemoryProfile file;
    for (const Start& start : starts) {
        file.values[L"RateChanges/Changes"] = start.changes;
        Settings s = ReadSettings(file);
        std::wstring message = UnreadableChangesToTell(s);
        EXPECT_EQ(!message.empty(), start.told) << testing::PrintToString(std::wstring(start.changes));
        if (start.told) {
            EXPECT_EQ(message, regi::UnreadableChangesMessage(s.rateChanges.unreadable));
        }
        file.values[L"Notices/UnreadableRateChanges"] =
            s.unreadableChangesTold;  // kept as the start keeps the settings
    }
}

TEST(Settings, TheTendersAreWrittenAfterTheOtherSectionsOnceTheShopUsesThem) {
    MemoryProfile file;
    Settings s;
    WriteSettings(file, s);
    for (const std::wstring& line : file.written) EXPECT_NE(line.rfind(L"Tenders/", 0), 0u) << "untouched, not written";
    EXPECT_TRUE(OfferedTenders(s).empty()) << "off until switched on";
    for (const std::wstring& line : file.written) EXPECT_NE(line.rfind(L"Drawer/", 0), 0u) << "untouched, not written";

    s.tendersOn = true;
    s.tenderNames[1] = L"　";  // blank: not offered
    file.written.clear();
    WriteSettings(file, s);
    const std::vector<std::wstring> tail(file.written.end() - 5, file.written.end());
    EXPECT_EQ(tail, (std::vector<std::wstring>{L"Tenders/Enabled=1", L"Tenders/Name1=クレジット", L"Tenders/Name2=　",
                                               L"Tenders/Name3=QRコード", L"Tenders/Name4="}));
    EXPECT_EQ(OfferedTenders(s), (std::vector<std::wstring>{L"クレジット", L"", L"QRコード", L""}));

    // Switched off again, the section is written too: it is in the file.
    file.values[L"Tenders/Enabled"] = L"1";
    file.written.clear();
    WriteSettings(file, Settings());
    EXPECT_EQ(file.written.back(), L"Tenders/Name4=");
    file.values[L"Tenders/Name3"] = L"PayPay";
    file.values[L"Tenders/Other"] = L"x";
    Settings read = ReadSettings(file);
    EXPECT_TRUE(read.tendersOn);
    EXPECT_EQ(read.tenderNames[2], L"PayPay");
    EXPECT_EQ(read.tenderNames[0], L"クレジット");

    // The drawer's section by the same rule, after the tenders'.
    Settings drawer;
    drawer.receipt.drawer = receipt::DrawerMode::Star;
    file.written.clear();
    WriteSettings(file, drawer);
    EXPECT_EQ(std::vector<std::wstring>(file.written.end() - 2, file.written.end()),
              (std::vector<std::wstring>{L"Drawer/Open=4", L"Drawer/Cut=0"}));
}

namespace {

// A tender has one name everywhere (register, X/Z, receipts), also once the
// shop stops offering it: the day's card sales keep their name on the Z.
TEST(Settings, ATenderKeepsItsNameWhenNoLongerOffered) {
    struct Case {
        bool tendersOn;
        const wchar_t* typed;
        std::wstring named;
        bool offered;
    };
    const Case cases[] = {
        {true, L"クレジット", L"クレジット", true},
        {false, L"クレジット", L"クレジット", false},
        {true, L"\u3000", L"その他の支払1", false},
        {false, L"", L"その他の支払1", false},
    };
    for (const Case& c : cases) {
        settings::Settings s;
        s.tendersOn = c.tendersOn;
        s.tenderNames[0] = c.typed;
        EXPECT_EQ(regi::TenderName(settings::TenderNames(s), 1), c.named) << c.tendersOn;
        std::vector<std::wstring> offered = settings::OfferedTenders(s);
        EXPECT_EQ(!offered.empty() && !offered[0].empty(), c.offered) << c.tendersOn;
    }
}

}  // namespace

TEST(Settings, OnlyAChangeBesideTheWindowsPlaceIsAChangeToKeep) {
    struct Case {
        const char* name;
        std::function<void(Settings&)> change;
        bool same;
    };
    const Case cases[] = {
        {"nothing", [](Settings&) {}, true},
        {"the window moved",
         [](Settings& s) {
             s.window = {5, 6, 700, 800};
         },
         true},
        {"mute", [](Settings& s) { s.muted = !s.muted; }, false},
        {"a rate box", [](Settings& s) { s.taxText = L"1O"; }, false},
        {"the float", [](Settings& s) { s.floatText = L"30000"; }, false},
        {"the shop's name", [](Settings& s) { s.receipt.shop = L"青葉"; }, false},
        {"the drawer", [](Settings& s) { s.receipt.drawer = receipt::DrawerMode::Star; }, false},
        {"a tender's name", [](Settings& s) { s.tenderNames[3] = L"PayPay"; }, false},
        {"a rate change", [](Settings& s) { s.rateChanges = regi::ParseRateChanges(L"2099/04/01 10 1"); }, false},
        {"a department", [](Settings& s) { s.departmentLines = L"12=パン,reduced"; }, false},
        {"a preset's name", [](Settings& s) { s.presetLabels[2] = L"半額"; }, false},
    };
    for (const Case& c : cases) {
        Settings changed;
        c.change(changed);
        EXPECT_EQ(SameBesideTheWindow(Settings(), changed), c.same) << c.name;
    }
}

// A shop's departments stay in the file as it wrote them, lines that do not
// read included, until the shop edits them; the presets are written once set.
TEST(Settings, TheDepartmentsAreWrittenOnlyWhenTheyChangeAndThePresetsOnceSet) {
    struct Case {
        const char* name;
        const wchar_t* inFile;              // the section's lines; nullptr: no section
        const wchar_t* edited;              // nullptr: as read
        std::vector<std::wstring> written;  // what the table writes of the two sections
    };
    const Case cases[] = {
        {"no section, none set", nullptr, nullptr, {}},
        {"lines to put right, untouched", L"12=パン,reduced\n0=x,standard\n12=肉,standard", nullptr, {}},
        {"an empty section, untouched", L"", nullptr, {}},
        {"edited",
         L"12=パン,reduced\n0=x,standard",
         L"12=パン,reduced\n13=米,reduced\n0=x,standard",
         {L"Departments/*=12=パン,reduced\n13=米,reduced\n0=x,standard"}},
        {"all taken out", L"12=パン,reduced", L"", {L"Departments/*="}},
    };
    for (const Case& c : cases) {
        MemoryProfile file;
        if (c.inFile) file.sections[L"Departments"] = c.inFile;
        Settings s = ReadSettings(file);
        EXPECT_EQ(s.departmentLines, c.inFile ? c.inFile : L"") << c.name;
        if (c.edited) s.departmentLines = c.edited;
        WriteSettings(file, s);
        std::vector<std::wstring> written;
        for (const std::wstring& line : file.written)
            if (line.rfind(L"Departments/", 0) == 0 || line.rfind(L"Discounts/", 0) == 0) written.push_back(line);
        EXPECT_EQ(written, c.written) << c.name;
    }
    MemoryProfile file;
    Settings s;
    s.presets[0] = L"20%";
    s.presetLabels[1] = L"半額";
    WriteSettings(file, s);
    const std::vector<std::wstring> tail(file.written.end() - 8, file.written.end());
    EXPECT_EQ(tail, (std::vector<std::wstring>{L"Discounts/Preset1=20%", L"Discounts/Label1=", L"Discounts/Preset2=",
                                               L"Discounts/Label2=半額", L"Discounts/Preset3=", L"Discounts/Label3=",
                                               L"Discounts/Preset4=", L"Discounts/Label4="}));
    for (const std::wstring& line : tail) {
        size_t equals = line.find(L'=');
        file.values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    EXPECT_EQ(ReadSettings(file).presetLabels[1], L"半額");
    EXPECT_EQ(ReadSettings(file).presets[0], L"20%");
}
