#include "platform/SystemError.h"

#include <windows.h>

#include <cwctype>

namespace platform {

std::wstring SystemReason(unsigned long code) {
    wchar_t* text = nullptr;
    DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = length ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!reason.empty() && std::iswspace(reason.back())) reason.pop_back();
    return reason.empty() ? L"エラー " + std::to_wstring(code) : reason;
}

}  // namespace platform
