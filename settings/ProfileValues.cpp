#include "settings/ProfileValues.h"

#include <cstdint>

namespace settings {

namespace {

int DigitValue(wchar_t c, int base) {
    int value = -1;
    if (c >= L'0' && c <= L'9') value = c - L'0';
    else if (c >= L'a' && c <= L'f') value = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F') value = c - L'A' + 10;
    return value < base ? value : -1;
}

// Digits of one base, at least one, with the value up to limit.
std::optional<std::uint64_t> ReadDigits(const std::wstring& text, size_t from, int base,
                                        std::uint64_t limit) {
    if (from >= text.size()) return std::nullopt;
    std::uint64_t value = 0;
    for (size_t i = from; i < text.size(); ++i) {
        int digit = DigitValue(text[i], base);
        if (digit < 0) return std::nullopt;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (value > limit) return std::nullopt;
    }
    return value;
}

}  // namespace

int ReadIntegerText(const std::wstring& text, int fallback) {
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        // Eight hexadecimal digits fill 32 bits; the top bit makes it negative.
        auto value = ReadDigits(text, 2, 16, 0xFFFFFFFFu);
        if (!value) return fallback;
        return static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(*value)));
    }
    size_t from = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == L'-' || text[0] == L'+')) {
        negative = text[0] == L'-';
        from = 1;
    }
    auto value = ReadDigits(text, from, 10, negative ? 2147483648u : 2147483647u);
    if (!value) return fallback;
    return static_cast<int>(negative ? -static_cast<std::int64_t>(*value) : static_cast<std::int64_t>(*value));
}

bool ReadBooleanText(const std::wstring& text, bool fallback) {
    return ReadIntegerText(text, fallback ? 1 : 0) != 0;
}

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
    if (dot == std::wstring::npos || (name != std::wstring::npos && dot < name))
        return programPath + L".ini";
    return programPath.substr(0, dot) + L".ini";
}

int BaseFontPoints(int pixelsPerInch) { return pixelsPerInch == 96 ? 11 : 9; }

int PointsToPixels(int points, int pixelsPerInch) {
    return (points * pixelsPerInch + 36) / 72;
}

}  // namespace settings
