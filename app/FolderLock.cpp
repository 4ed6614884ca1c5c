#include "app/FolderLock.h"

#include <cstdint>
#include <cwchar>
#include <vector>

namespace {

// The same folder however it is spelt: its full path, upper case.
std::wstring FolderKey(const std::wstring& folder) {
    DWORD length = GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr);
    std::vector<wchar_t> full(length ? length : 1, L'\0');
    std::wstring key = length && GetFullPathNameW(folder.c_str(), length, full.data(), nullptr) ? full.data() : folder;
    while (key.size() > 3 && (key.back() == L'\\' || key.back() == L'/')) key.pop_back();
    if (!key.empty()) CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    return key;
}

// Kernel object names cannot hold a backslash and are limited in length, so
// the folder goes in as a hash.
std::wstring MarkName(const std::wstring& folder) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (wchar_t c : FolderKey(folder)) {
        hash ^= static_cast<std::uint16_t>(c);
        hash *= 1099511628211ull;
    }
    wchar_t name[40];
    std::swprintf(name, 40, L"Pelmora-%016llx", static_cast<unsigned long long>(hash));
    return name;
}

struct Search {
    const wchar_t* mark;
    HWND found;
};

BOOL CALLBACK FindMarked(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (!GetPropW(window, search->mark)) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

FolderLock::FolderLock(const std::wstring& folder) : mark_(MarkName(folder)) {
    mutex_.reset(CreateMutexW(nullptr, TRUE, (L"Local\\" + mark_).c_str()));
    // A mutex that cannot be made at all locks nothing: the program still runs.
    held_ = !mutex_ || GetLastError() != ERROR_ALREADY_EXISTS;
}

FolderLock::~FolderLock() {
    if (mutex_ && held_) ReleaseMutex(mutex_.get());
}

void FolderLock::Mark(HWND window) const { SetPropW(window, mark_.c_str(), reinterpret_cast<HANDLE>(1)); }

HWND FolderLock::HolderWindow() const {
    Search search{mark_.c_str(), nullptr};
    EnumWindows(FindMarked, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool FolderLock::BringHolderForward(DWORD patience) const {
    HWND window = HolderWindow();
    for (DWORD start = GetTickCount(); !window && GetTickCount() - start < patience; window = HolderWindow()) Sleep(50);
    if (!window) return false;
    if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
    SetForegroundWindow(window);
    return true;
}
