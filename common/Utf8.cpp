#include "common/Utf8.h"

namespace common {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void Append(std::wstring& out, char32_t c) {
    if (sizeof(wchar_t) == 2 && c >= 0x10000) {
        c -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (c >> 10));
        out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else {
        out += static_cast<wchar_t>(c);
    }
}

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

}  // namespace

std::string ToUtf8(std::wstring_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00);
        } else if (IsSurrogate(c) || c > 0x10FFFF) {
            c = kReplacement;
        }
        Append(out, c);
    }
    return out;
}

namespace {

// The length of the UTF-8 sequence at bytes[i] and its character; 0 when no
// sound sequence starts there.
size_t Decode(std::string_view bytes, size_t i, char32_t& c) {
    unsigned char lead = static_cast<unsigned char>(bytes[i]);
    size_t length = 0;
    if (lead < 0x80)
        length = 1, c = lead;
    else if (lead >= 0xC2 && lead < 0xE0)
        length = 2, c = lead & 0x1F;
    else if (lead >= 0xE0 && lead < 0xF0)
        length = 3, c = lead & 0x0F;
    else if (lead >= 0xF0 && lead < 0xF5)
        length = 4, c = lead & 0x07;
    bool sound = length != 0 && i + length <= bytes.size();
    for (size_t k = 1; sound && k < length; ++k) {
        unsigned char next = static_cast<unsigned char>(bytes[i + k]);
        sound = (next & 0xC0) == 0x80;
        c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and what lies beyond Unicode do not read either.
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (sound && (c < kLeast[length] || IsSurrogate(c) || c > 0x10FFFF)) sound = false;
    return sound ? length : 0;
}

}  // namespace

std::wstring FromUtf8(std::string_view bytes) {
    std::wstring out;
    size_t i = 0;
    while (i < bytes.size()) {
        char32_t c = 0;
        size_t length = Decode(bytes, i, c);
        if (length == 0) {
            out += static_cast<wchar_t>(kReplacement);
            ++i;
            continue;
        }
        Append(out, c);
        i += length;
    }
    return out;
}

bool IsAscii(std::string_view bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool IsUtf8(std::string_view bytes) {
    char32_t c = 0;
    for (size_t i = 0, length = 0; i < bytes.size(); i += length)
        if ((length = Decode(bytes, i, c)) == 0) return false;
    return true;
}

}  // namespace common
