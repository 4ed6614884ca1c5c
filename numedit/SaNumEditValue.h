// Counting helpers for value texts ("-", digits, "." and decimals), shared by
// the sources of the model. Not part of its interface.
#pragma once

#include <string>

namespace valuetext {

inline bool HasSign(const std::wstring& v) { return !v.empty() && v[0] == L'-'; }
inline bool HasPoint(const std::wstring& v) { return v.find(L'.') != std::wstring::npos; }

// The characters before the point, the sign not counted.
inline int IntegerDigitCount(const std::wstring& v) {
    const std::size_t dot = v.find(L'.');
    const std::size_t end = dot == std::wstring::npos ? v.size() : dot;
    return static_cast<int>(end) - (HasSign(v) ? 1 : 0);
}

inline int DecimalCount(const std::wstring& v) {
    const std::size_t dot = v.find(L'.');
    return dot == std::wstring::npos ? 0 : static_cast<int>(v.size() - dot - 1);
}

}  // namespace valuetext
