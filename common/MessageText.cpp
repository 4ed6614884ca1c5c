#include "common/MessageText.h"

namespace common {

std::wstring FormatMessageText(const std::wstring& pattern, const std::wstring& value) {
    std::wstring out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size() && pattern[i + 1] == L's') {
            out += value;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace common
