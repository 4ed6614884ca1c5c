#include "settings/Settings.h"

#include <set>
#include <string>
#include <iterator>
#include <type_traits>

#include "common/MessageText.h"
#include "common/WholeNumber.h"
#include "settings/ProfileValues.h"

namespace settings {

namespace {

const wchar_t kTenders[] = L"Tenders";
const wchar_t kRateChanges[] = L"RateChanges";
const wchar_t kNotices[] = L"Notices";  // what the start has told, so as not to tell it again
const wchar_t kDrawer[] = L"Drawer";
const wchar_t kKeys[] = L"Keys";
const wchar_t kDepartments[] = L"Departments";
const wchar_t kDiscounts[] = L"Discounts";
const wchar_t kProducts[] = L"Products";
const wchar_t kBooks[] = L"Books";
const wchar_t kWholeSection[] = L"";  // a row's key: the section's lines are its value

const wchar_t kBadPresetPercent[] = L"割引「%s」は読めません｡1 から 99 までの整数 (%) を入れて下さい｡";
const wchar_t kBadPresetYen[] = L"値引「%s」は読めません｡1 円から 9,999,999 円までの金額を入れて下さい｡";

// Sections that only the shops using them have: a shop that never touched
// one keeps the file it had.
bool OnlyOnceUsed(const wchar_t* section) {
    return section == kTenders || section == kRateChanges || section == kDrawer || section == kKeys ||
           section == kNotices || section == kDepartments || section == kDiscounts || section == kProducts ||
           section == kBooks;
}

const wchar_t* const kPresetKeys[] = {L"Preset1", L"Preset2", L"Preset3", L"Preset4"};
const wchar_t* const kLabelKeys[] = {L"Label1", L"Label2", L"Label3", L"Label4"};
static_assert(std::size(kPresetKeys) == regi::kMaxPresets && std::size(kLabelKeys) == regi::kMaxPresets);

std::optional<std::wstring> ReadRow(const Profile& file, const wchar_t* section, const wchar_t* key) {
    return key == kWholeSection ? file.ReadSection(section) : file.Read(section, key);
}

// The settings file's keys, in the order they are written, each with the value
// it fills and its default. A new setting is one more row.
template <typename Values, typename Row>
void EachSetting(Values& s, Row&& row) {
    row(L"CheckBox1", L"Checked", s.muted, true);
    row(L"form", L"top", s.window.top, 0);
    row(L"form", L"left", s.window.left, 0);
    row(L"form", L"height", s.window.height, 597);
    row(L"form", L"width", s.window.width, 606);
    // A fallback text lives as long as its row's call: every row uses it there.
    row(L"Config", L"Tax", s.taxText, std::to_wstring(regi::kDefaultStandardRate).c_str());
    row(L"Config", L"ReducedTax", s.reducedTaxText, std::to_wstring(regi::kDefaultReducedRate).c_str());
    row(L"Config", L"EnterReduced", s.enterReduced, false);
    row(L"Journal", L"Enabled", s.journalOn, false);
    row(L"Journal", L"Float", s.floatText, L"0");
    row(L"Receipt", L"Shop", s.receipt.shop, L"");
    row(L"Receipt", L"Address", s.receipt.address, L"");
    row(L"Receipt", L"RegNo", s.receipt.registrationNumber, L"");
    row(L"Receipt", L"Print", s.receipt.printMode, receipt::PrintMode::Never);
    row(L"Receipt", L"Printer", s.receipt.printer, L"");
    row(L"Receipt", L"Width", s.receipt.paperWidth, receipt::kWidePaper);
    row(kTenders, L"Enabled", s.tendersOn, false);
    row(kTenders, L"Name1", s.tenderNames[0], L"クレジット");
    row(kTenders, L"Name2", s.tenderNames[1], L"電子マネー");
    row(kTenders, L"Name3", s.tenderNames[2], L"QRコード");
    row(kTenders, L"Name4", s.tenderNames[3], L"");
    row(kRateChanges, L"Changes", s.rateChanges, regi::RateChanges());
    row(kDrawer, L"Open", s.receipt.drawer, receipt::DrawerMode::Never);
    row(kDrawer, L"Cut", s.receipt.cut, false);
    row(kKeys, L"Chords", s.keyChords, L"");
    row(kDepartments, kWholeSection, s.departmentLines, L"");
    for (int n = 0; n < regi::kMaxPresets; ++n) {
        row(kDiscounts, kPresetKeys[n], s.presets[n], L"");
        row(kDiscounts, kLabelKeys[n], s.presetLabels[n], L"");
    }
    row(kProducts, L"InStore", s.inStoreLayout, L"5-5");
    row(kBooks, kWholeSection, s.bookLines, L"");
    row(kNotices, L"UnreadableRateChanges", s.unreadableChangesTold, L"");
}

// How each kind of value reads from its text, missing text included.
void ReadValue(const std::optional<std::wstring>& text, std::wstring& value, const wchar_t* fallback) {
    value = text ? *text : fallback;
}
void ReadValue(const std::optional<std::wstring>& text, int& value, int fallback) {
    value = ReadIntegerText(text.value_or(L""), fallback);
}
void ReadValue(const std::optional<std::wstring>& text, bool& value, bool fallback) {
    value = ReadBooleanText(text.value_or(L""), fallback);
}
void ReadValue(const std::optional<std::wstring>& text, receipt::PrintMode& value, receipt::PrintMode fallback) {
    value = receipt::PrintModeFrom(ReadIntegerText(text.value_or(L""), static_cast<int>(fallback)));
}
void ReadValue(const std::optional<std::wstring>& text, receipt::DrawerMode& value, receipt::DrawerMode fallback) {
    value = receipt::DrawerModeFrom(ReadIntegerText(text.value_or(L""), static_cast<int>(fallback)));
}
void ReadValue(const std::optional<std::wstring>& text, regi::RateChanges& value, const regi::RateChanges&) {
    value = regi::ParseRateChanges(text.value_or(L""));
}

std::wstring ValueText(const std::wstring& value) { return value; }
std::wstring ValueText(int value) { return IntegerText(value); }
std::wstring ValueText(bool value) { return BooleanText(value); }
std::wstring ValueText(receipt::PrintMode value) { return IntegerText(static_cast<int>(value)); }
std::wstring ValueText(receipt::DrawerMode value) { return IntegerText(static_cast<int>(value)); }
std::wstring ValueText(const regi::RateChanges& value) { return regi::RateChangesText(value); }

}  // namespace

Settings::Settings() {
    EachSetting(*this, [](const wchar_t*, const wchar_t*, auto& value, auto fallback) { value = fallback; });
}

Settings ReadSettings(const Profile& file) {
    Settings s;
    EachSetting(s, [&file](const wchar_t* section, const wchar_t* key, auto& value, auto fallback) {
        ReadValue(ReadRow(file, section, key), value, fallback);
    });
    // As the settings page keeps them: a paper it does not offer is the wide
    // one, and a number edited in by hand that is not one is not kept.
    if (s.receipt.paperWidth != receipt::kNarrowPaper) s.receipt.paperWidth = receipt::kWidePaper;
    if (!receipt::IsAcceptableRegistrationNumber(s.receipt.registrationNumber)) s.receipt.registrationNumber.clear();
    return s;
}

std::vector<std::wstring> TenderNames(const Settings& settings) {
    std::vector<std::wstring> names;
    for (const std::wstring& name : settings.tenderNames)
        names.push_back(name.find_first_not_of(L" \u3000") == std::wstring::npos ? L"" : name);
    return names;
}

std::vector<std::wstring> OfferedTenders(const Settings& settings) {
    return settings.tendersOn ? TenderNames(settings) : std::vector<std::wstring>{};
}

std::optional<regi::Discount> ReadPreset(regi::DiscountKind kind, const std::wstring& typed) {
    std::optional<std::int64_t> value;
    if (kind == regi::DiscountKind::Yen) {
        value = common::ParseTypedAmount(typed, regi::kMaxPrice);
    } else {
        std::wstring number = typed;
        size_t last = number.find_last_not_of(L" \u3000");
        if (last != std::wstring::npos && (number[last] == L'%' || number[last] == L'\uFF05')) number.erase(last);
        if (std::optional<int> percent = ReadTypedNumber(number, static_cast<int>(regi::kMaxPercentOff)))
            value = *percent;
    }
    if (!value || *value < 1) return std::nullopt;
    return regi::Discount{kind, *value, 0};
}

std::wstring PresetProblem(regi::DiscountKind kind, const std::wstring& typed) {
    if (ReadPreset(kind, typed)) return L"";
    return common::FormatMessageText(kind == regi::DiscountKind::Percent ? kBadPresetPercent : kBadPresetYen, typed);
}

std::optional<regi::Discount> ReadPresetText(const std::wstring& text) {
    bool percent = !text.empty() && (text.back() == L'%' || text.back() == L'\uFF05');
    return ReadPreset(percent ? regi::DiscountKind::Percent : regi::DiscountKind::Yen, text);
}

std::wstring PresetText(const regi::Discount& preset) {
    return std::to_wstring(preset.keyed) + (preset.kind == regi::DiscountKind::Percent ? L"%" : L"");
}

std::wstring PresetLabel(const regi::Discount& preset) {
    if (preset.kind == regi::DiscountKind::Percent) return std::to_wstring(preset.keyed) + L"%引";
    return regi::FormatMoney(preset.keyed) + L"引";
}

std::vector<regi::Discount> Presets(const Settings& settings) {
    std::vector<regi::Discount> presets;
    for (const std::wstring& text : settings.presets)
        presets.push_back(ReadPresetText(text).value_or(regi::Discount{}));
    return presets;
}

std::vector<std::wstring> PresetLabels(const Settings& settings) {
    std::vector<std::wstring> labels;
    for (int n = 0; n < regi::kMaxPresets; ++n) {
        std::optional<regi::Discount> preset = ReadPresetText(settings.presets[n]);
        const std::wstring& label = settings.presetLabels[n];
        bool named = label.find_first_not_of(L" \u3000") != std::wstring::npos;
        labels.push_back(!preset ? L"" : named ? label : PresetLabel(*preset));
    }
    return labels;
}

void WriteSettings(const Profile& file, const Settings& settings) {
    // Such a section is used once one of its values is not the default or the
    // file has one of its keys: from then on it is kept up to date, emptied too.
    std::set<std::wstring> used;
    EachSetting(settings, [&](const wchar_t* section, const wchar_t* key, const auto& value, const auto& fallback) {
        if (key != kWholeSection && OnlyOnceUsed(section) &&
            (ValueText(value) != ValueText(std::decay_t<decltype(value)>(fallback)) || file.Read(section, key)))
            used.insert(section);
    });
    EachSetting(settings, [&](const wchar_t* section, const wchar_t* key, const auto& value, const auto&) {
        // A section of lines is rewritten only when it changed: its lines stay as the shop wrote them.
        if (key == kWholeSection) {
            if (ValueText(value) != file.ReadSection(section).value_or(L""))
                file.WriteSection(section, ValueText(value));
        } else if (!OnlyOnceUsed(section) || used.count(section)) {
            file.Write(section, key, ValueText(value));
        }
    });
}

bool SameBesideTheWindow(const Settings& a, const Settings& b) {
    std::vector<std::wstring> texts;
    EachSetting(
        a, [&](const wchar_t*, const wchar_t*, const auto& value, const auto&) { texts.push_back(ValueText(value)); });
    size_t row = 0;
    bool same = true;
    EachSetting(b, [&](const wchar_t* section, const wchar_t*, const auto& value, const auto&) {
        if (std::wstring(section) != L"form" && texts[row] != ValueText(value)) same = false;
        ++row;
    });
    return same;
}

std::optional<regi::RateChange> BringRatesUpTo(Settings& settings, const common::DateTime& now) {
    std::optional<regi::RateChange> due = regi::TakeDue(settings.rateChanges.changes, now);
    if (!due) return std::nullopt;
    settings.taxText = std::to_wstring(due->standard);
    settings.reducedTaxText = std::to_wstring(due->reduced);
    return due;
}

std::wstring UnreadableChangesToTell(Settings& settings) {
    std::wstring unreadable;
    for (const std::wstring& entry : settings.rateChanges.unreadable)
        unreadable += (unreadable.empty() ? L"" : L";") + entry;
    if (unreadable == settings.unreadableChangesTold) return L"";
    settings.unreadableChangesTold = unreadable;
    return regi::UnreadableChangesMessage(settings.rateChanges.unreadable);
}

}  // namespace settings
