#include "sale/RateChange.h"

#include <algorithm>
#include <cwchar>
#include <tuple>

#include "common/Calendar.h"
#include "common/WholeNumber.h"

namespace regi {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The text's parts between runs of blanks.
std::vector<std::wstring> Words(const std::wstring& text) {
    std::vector<std::wstring> words;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsBlank(text[at])) ++at;
        size_t end = at;
        while (end < text.size() && !IsBlank(text[end])) ++end;
        if (end > at) words.push_back(text.substr(at, end - at));
        at = end;
    }
    return words;
}

std::wstring Trimmed(const std::wstring& text) {
    std::vector<std::wstring> words = Words(text);
    std::wstring joined;
    for (const std::wstring& word : words) joined += (joined.empty() ? L"" : L" ") + word;
    return joined;
}

// A whole number of min to max digits, in half or full width, and nothing else.
std::optional<int> Digits(const std::wstring& text, size_t min, size_t max) {
    if (text.size() < min || text.size() > max) return std::nullopt;
    int value = 0;
    for (wchar_t c : text) {
        int digit = common::DigitValue(c);
        if (digit < 0) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

bool IsSlash(wchar_t c) { return c == L'/' || c == L'\uFF0F'; }

auto DayOf(const RateChange& c) { return std::make_tuple(c.year, c.month, c.day); }

}  // namespace

bool RateChange::operator==(const RateChange& other) const {
    return DayOf(*this) == DayOf(other) && standard == other.standard && reduced == other.reduced;
}

std::optional<RateChange> ReadChangeDay(const std::wstring& text) {
    auto slash = std::find_if(text.begin(), text.end(), IsSlash);
    auto slash2 = slash == text.end() ? slash : std::find_if(slash + 1, text.end(), IsSlash);
    if (slash2 == text.end()) return std::nullopt;
    const size_t first = static_cast<size_t>(slash - text.begin()), second = static_cast<size_t>(slash2 - text.begin());
    std::optional<int> year = Digits(text.substr(0, first), 4, 4);
    std::optional<int> month = Digits(text.substr(first + 1, second - first - 1), 1, 2);
    std::optional<int> day = Digits(text.substr(second + 1), 1, 2);
    if (!year || !month || !day || *day < 1 || *day > common::DaysInMonth(*year, *month)) return std::nullopt;
    RateChange change;
    change.year = *year;
    change.month = *month;
    change.day = *day;
    return change;
}

std::optional<std::int64_t> ReadChangeRate(const std::wstring& text) {
    std::optional<int> rate = Digits(text, 1, 2);
    if (!rate) return std::nullopt;
    return *rate;
}

std::wstring ChangeDayText(const RateChange& change) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%04d/%02d/%02d", change.year, change.month, change.day);
    return text;
}

std::wstring ChangeText(const RateChange& change) {
    return ChangeDayText(change) + L" から " + std::to_wstring(change.standard) + L"% / 軽減 " +
           std::to_wstring(change.reduced) + L"%";
}

std::wstring RatesLineText(std::int64_t standard, std::int64_t reduced, const std::vector<RateChange>& changes) {
    std::wstring text = L"いまの税率 " + std::to_wstring(standard) + L"% / 軽減 " + std::to_wstring(reduced) + L"%";
    if (!changes.empty()) text += L"\u3000次の変更 " + ChangeText(changes.front());
    return text;
}

RateChanges ParseRateChanges(const std::wstring& text) {
    RateChanges read;
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = std::min(text.find(L';', at), text.size());
        std::wstring entry = Trimmed(text.substr(at, end - at));
        at = end + 1;
        if (entry.empty()) continue;
        std::vector<std::wstring> words = Words(entry);
        std::optional<RateChange> change = words.size() == 3 ? ReadChangeDay(words[0]) : std::nullopt;
        std::optional<std::int64_t> standard = change ? ReadChangeRate(words[1]) : std::nullopt;
        std::optional<std::int64_t> reduced = change ? ReadChangeRate(words[2]) : std::nullopt;
        if (!standard || !reduced) {
            read.unreadable.push_back(entry);
            continue;
        }
        change->standard = *standard;
        change->reduced = *reduced;
        AddChange(read.changes, *change);
    }
    return read;
}

std::wstring RateChangesText(const RateChanges& changes) {
    std::wstring text;
    auto add = [&text](const std::wstring& entry) { text += (text.empty() ? L"" : L";") + entry; };
    for (const RateChange& c : changes.changes)
        add(ChangeDayText(c) + L" " + std::to_wstring(c.standard) + L" " + std::to_wstring(c.reduced));
    for (const std::wstring& entry : changes.unreadable) add(entry);
    return text;
}

std::wstring UnreadableChangesMessage(const std::vector<std::wstring>& unreadable) {
    if (unreadable.empty()) return {};
    std::wstring text =
        L"設定ファイルの税率の変更に、日付か税率が読めないものがあります。"
        L"これらは使わずに、そのまま残します:";
    for (const std::wstring& entry : unreadable) text += L"\r\n" + entry;
    return text;
}

std::wstring ChangedRatesNotice(const RateChange& change, const common::DateTime& now) {
    const bool today = change.year == now.year && change.month == now.month && change.day == now.day;
    return (today ? L"本日" : ChangeDayText(change)) + L"から税率が変わりました: " + std::to_wstring(change.standard) +
           L"% / 軽減 " + std::to_wstring(change.reduced) + L"%";
}

size_t AddChange(std::vector<RateChange>& changes, const RateChange& change) {
    auto place = std::lower_bound(changes.begin(), changes.end(), change,
                                  [](const RateChange& a, const RateChange& b) { return DayOf(a) < DayOf(b); });
    if (place != changes.end() && DayOf(*place) == DayOf(change))
        *place = change;
    else
        place = changes.insert(place, change);
    return static_cast<size_t>(place - changes.begin());
}

bool InForce(const RateChange& change, const common::DateTime& now) {
    return std::make_tuple(now.year, now.month, now.day) >= DayOf(change);
}

std::optional<RateChange> TakeDue(std::vector<RateChange>& changes, const common::DateTime& now) {
    auto due = std::find_if(changes.begin(), changes.end(), [&now](const RateChange& c) { return !InForce(c, now); });
    if (due == changes.begin()) return std::nullopt;
    RateChange latest = *(due - 1);
    changes.erase(changes.begin(), due);
    return latest;
}

}  // namespace regi
