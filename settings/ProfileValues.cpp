#include "settings/ProfileValues.h"

#include <cstdint>
#include <limits>

#include "common/WholeNumber.h"

namespace settings {

namespace {

int HexDigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// Hexadecimal digits from `from` on, at least one, at most 32 bits of them.
std::optional<std::uint32_t> ReadHex(const std::wstring& text, size_t from) {
    if (from >= text.size()) return std::nullopt;
    std::uint64_t value = 0;
    for (size_t i = from; i < text.size(); ++i) {
        int digit = HexDigitValue(text[i]);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

std::optional<int> ReadTypedNumber(const std::wstring& text, int max) {
    size_t first = text.find_first_not_of(L" \t\u3000");
    if (first == std::wstring::npos) return std::nullopt;
    size_t last = text.find_last_not_of(L" \t\u3000");
    int value = 0;
    for (size_t i = first; i <= last; ++i) {
        int digit = common::DigitValue(text[i]);
        if (digit < 0) return std::nullopt;
        value = value * 10 + digit;
        if (value > max) return std::nullopt;
    }
    return value;
}

int ReadIntegerText(const std::wstring& text, int fallback) {
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        // Eight hexadecimal digits fill 32 bits; the top bit makes it negative.
        auto value = ReadHex(text, 2);
        if (!value) return fallback;
        return static_cast<int>(static_cast<std::int32_t>(*value));
    }
    auto value = common::ParseWholeNumber(text, common::PlusSign::Allowed);
    if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
        *value > std::numeric_limits<std::int32_t>::max())
        return fallback;
    return static_cast<int>(*value);
}

bool ReadBooleanText(const std::wstring& text, bool fallback) { return ReadIntegerText(text, fallback ? 1 : 0) != 0; }

std::wstring IntegerText(int value) { return std::to_wstring(value); }

std::wstring BooleanText(bool value) { return value ? L"1" : L"0"; }

Position KeepOnScreen(Position position, int screenWidth, int screenHeight) {
    if (position.top > screenHeight - 50) position.top = screenHeight - 50;
    if (position.left > screenWidth - 50) position.left = screenWidth - 50;
    return position;
}

std::wstring SettingsPathBeside(const std::wstring& programPath) {
    size_t name = programPath.find_last_of(L"\\/:");
    size_t dot = programPath.rfind(L'.');
    if (dot == std::wstring::npos || (name != std::wstring::npos && dot < name)) return programPath + L".ini";
    return programPath.substr(0, dot) + L".ini";
}

int BaseFontPoints(int pixelsPerInch) { return pixelsPerInch == 96 ? 11 : 9; }

int PointsToPixels(int points, int pixelsPerInch) { return (points * pixelsPerInch + 36) / 72; }

}  // namespace settings
