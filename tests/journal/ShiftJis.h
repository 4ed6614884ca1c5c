#pragma once
// Shift_JIS for the Windows-free tests: the code page 932 bytes of the few
// characters the tests write, as the platform's conversion gives them (the
// Windows tests convert through the platform itself). ASCII is itself; a
// character not listed becomes "?" one way, a pair not listed U+FFFD the other.
#include <string>
#include <string_view>
#include <utility>

#include "journal/TextEncoding.h"

namespace journal_test {

inline const std::pair<wchar_t, const char*> kShiftJisPairs[] = {
    {L'両', "\x97\xBC"}, {L'替', "\x91\xD6"}, {L'仕', "\x8E\x64"}, {L'入', "\x93\xFC"}, {L'れ', "\x82\xEA"},
    {L'切', "\x90\xD8"}, {L'手', "\x8E\xE8"}, {L'８', "\x82\x57"}, {L'４', "\x82\x53"}, {L'円', "\x89\x7E"},
    {L'釣', "\x92\xDE"}, {L'銭', "\x91\x4B"}, {L'文', "\x95\xB6"}, {L'具', "\x8B\xEF"}, {L'酒', "\x8E\xF0"},
    {L'店', "\x93\x58"},
};

inline std::string ToShiftJis(std::wstring_view text) {
    std::string bytes;
    for (wchar_t c : text) {
        if (c < 0x80) {
            bytes += static_cast<char>(c);
            continue;
        }
        const char* pair = "?";
        for (const auto& [wide, shiftJis] : kShiftJisPairs)
            if (wide == c) pair = shiftJis;
        bytes += pair;
    }
    return bytes;
}

inline std::wstring FromShiftJis(std::string_view bytes) {
    std::wstring text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned char lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            text += static_cast<wchar_t>(lead);
            continue;
        }
        bool twoBytes = ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) && i + 1 < bytes.size();
        wchar_t c = 0xFFFD;
        for (const auto& [wide, shiftJis] : kShiftJisPairs)
            if (twoBytes && bytes.substr(i, 2) == shiftJis) c = wide;
        text += c;
        if (twoBytes) ++i;
    }
    return text;
}

inline journal::ShiftJisText ShiftJis() { return {ToShiftJis, FromShiftJis}; }

}  // namespace journal_test
