// The departments' section of the settings file and the presets, without windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/Departments.h"
#include "settings/Settings.h"

using namespace settings;
using regi::TaxClass;

namespace {

const std::wstring k17(17, L'\u30E0');  // one character more than a name may have

TEST(DepartmentTable, EachLineIsUsedOrLeftOutWithWhatIsWrong) {
    const std::wstring range = regi::DepartmentProblem({0, L"x"});
    const std::wstring noName = regi::DepartmentProblem({1, L""});
    const std::wstring tooLong = regi::DepartmentProblem({1, k17});
    const std::wstring noClass = L"区分（standard・reduced・exempt のどれか）がありません｡";
    struct Case {
        std::wstring lines;
        std::vector<DepartmentRow> rows;
        std::vector<std::wstring> problems;  // of the unused lines, in their order
    };
    const Case cases[] = {
        {L"12=パン,reduced", {{{12, L"パン", TaxClass::Reduced}, L""}}, {}},
        {L" 30 = 切手 , EXEMPT , Ctrl+F10 ", {{{30, L"切手", TaxClass::Exempt}, L"Ctrl+F10"}}, {}},
        {L"7=A,B,standard", {{{7, L"A,B", TaxClass::Standard}, L""}}, {}},  // a comma of the name's own
        {L"\uFF19\uFF19=雑貨,standard", {{{99, L"雑貨", TaxClass::Standard}, L""}}, {}},
        {L";12=パン,reduced\n\n", {}, {}},  // a comment and a blank line
        {L"0=なし,standard", {}, {range}},
        {L"100=なし,standard", {}, {range}},
        {L"abc=なし,standard", {}, {range}},
        {L"12 パン reduced", {}, {range}},
        {L"12=パン", {}, {noClass}},
        {L"12=パン,food", {}, {noClass}},
        {L"12=,reduced", {}, {noName}},
        {L"12=" + k17 + L",reduced", {}, {tooLong}},
        {L"Standard=" + k17, {}, {tooLong}},
        {L"Standard=雑貨\nstandard=日用品", {}, {L"Standard の名前は上の行にもあります｡"}},
        {L"12=パン,reduced\n12=肉,standard\n13=米,reduced",
         {{{12, L"パン", TaxClass::Reduced}, L""}, {{13, L"米", TaxClass::Reduced}, L""}},
         {L"部門 12 は上の行にもあります｡"}},
    };
    for (const Case& c : cases) {
        DepartmentTable table = ReadDepartmentTable(c.lines);
        ASSERT_EQ(table.rows.size(), c.rows.size()) << testing::PrintToString(c.lines);
        for (size_t i = 0; i < c.rows.size(); ++i) {
            EXPECT_EQ(table.rows[i].department, c.rows[i].department) << testing::PrintToString(c.lines);
            EXPECT_EQ(table.rows[i].chord, c.rows[i].chord) << testing::PrintToString(c.lines);
        }
        std::vector<std::wstring> problems;
        for (const DepartmentTable::Unused& unused : table.unused) problems.push_back(unused.problem);
        EXPECT_EQ(problems, c.problems) << testing::PrintToString(c.lines);
        EXPECT_EQ(UnusedDepartmentsMessage(table).empty(), c.problems.empty()) << testing::PrintToString(c.lines);
    }
}

TEST(DepartmentTable, TheClassesLinesAreNamedAndTheUnusedOnesToldInOneMessage) {
    DepartmentTable table = ReadDepartmentTable(
        L"reduced=食品\nStandard=\n12=パン,reduced,Ctrl+F9\n0=x,standard\n"
        L"12=肉,standard");
    EXPECT_EQ(table.classNames[static_cast<int>(TaxClass::Reduced)], L"食品");
    EXPECT_EQ(table.classNames[static_cast<int>(TaxClass::Standard)], L"") << "empty: the class's own name";
    regi::Departments departments = table.Departments();
    EXPECT_EQ(departments.NameOf(0, TaxClass::Reduced), L"※食品");
    EXPECT_EQ(departments.NameOf(12, TaxClass::Reduced), L"※パン");
    EXPECT_EQ(table.Chords(), (std::map<int, std::wstring>{{12, L"Ctrl+F9"}}));
    std::wstring message = UnusedDepartmentsMessage(table);
    for (const wchar_t* line : {L"0=x,standard", L"12=肉,standard"})
        EXPECT_NE(message.find(line), std::wstring::npos) << testing::PrintToString(std::wstring(line));
}

TEST(DepartmentTable, AnEditedTableIsWrittenWithTheUnusedLinesAsTheyWere) {
    const std::wstring file = L"30=切手,exempt\n 0 = x,standard\n12=パン,reduced";  // by number once read
    DepartmentTable table = ReadDepartmentTable(file);
    table.Put({{20, L"弁当", TaxClass::Reduced}, L"Ctrl+F9"});
    table.Put({{30, L"はがき", TaxClass::Exempt}, L""});
    table.Remove(12);
    table.classNames[static_cast<int>(TaxClass::Exempt)] = L"印紙";
    const std::wstring written = DepartmentTableText(table);
    EXPECT_EQ(written, L"Exempt=印紙\n20=弁当,reduced,Ctrl+F9\n30=はがき,exempt\n 0 = x,standard");
    DepartmentTable again = ReadDepartmentTable(written);
    EXPECT_EQ(again.Departments().named, table.Departments().named) << "read back as written";
    EXPECT_EQ(DepartmentTableText(again), written);
}

TEST(Presets, ReadAsTypedAndNamedFromTheirValue) {
    using regi::DiscountKind;
    struct Case {
        DiscountKind kind;
        const wchar_t* typed;
        std::int64_t keyed;  // 0: refused
        const wchar_t* text;
        const wchar_t* label;
    };
    const Case cases[] = {
        {DiscountKind::Percent, L"20", 20, L"20%", L"20%引"},
        {DiscountKind::Percent, L" 50% ", 50, L"50%", L"50%引"},
        {DiscountKind::Percent, L"\uFF19\uFF19\uFF05", 99, L"99%", L"99%引"},
        {DiscountKind::Percent, L"0", 0, nullptr, nullptr},
        {DiscountKind::Percent, L"100", 0, nullptr, nullptr},
        {DiscountKind::Percent, L"-5", 0, nullptr, nullptr},
        {DiscountKind::Percent, L"2.5", 0, nullptr, nullptr},
        {DiscountKind::Yen, L"50", 50, L"50", L"\u00A550引"},
        {DiscountKind::Yen, L"¥1,000", 1000, L"1000", L"\u00A51,000引"},
        {DiscountKind::Yen, L"9999999", 9999999, L"9999999", L"\u00A59,999,999引"},
        {DiscountKind::Yen, L"10000000", 0, nullptr, nullptr},
        {DiscountKind::Yen, L"0", 0, nullptr, nullptr},
        {DiscountKind::Yen, L"abc", 0, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        std::optional<regi::Discount> preset = ReadPreset(c.kind, c.typed);
        EXPECT_EQ(preset.has_value(), c.keyed != 0) << testing::PrintToString(std::wstring(c.typed));
        EXPECT_EQ(PresetProblem(c.kind, c.typed).empty(), c.keyed != 0);
        if (!preset) continue;
        EXPECT_EQ(preset->keyed, c.keyed);
        EXPECT_EQ(PresetText(*preset), c.text);
        EXPECT_EQ(ReadPresetText(c.text), preset) << "as the file keeps it";
        EXPECT_EQ(PresetLabel(*preset), c.label);
    }
    Settings s;
    s.presets[0] = L"50%";
    s.presetLabels[0] = L"半額";
    s.presets[1] = L"50";
    s.presets[2] = L"abc";
    s.presetLabels[3] = L"名前だけ";
    EXPECT_EQ(PresetLabels(s), (std::vector<std::wstring>{L"半額", L"\u00A550引", L"", L""}));
    std::vector<regi::Discount> presets = Presets(s);
    EXPECT_EQ(presets[0], (regi::Discount{DiscountKind::Percent, 50, 0}));
    EXPECT_EQ(presets[2].keyed, 0) << "a value that does not read is no preset";
}

}  // namespace
