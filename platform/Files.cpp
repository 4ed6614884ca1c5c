#include "platform/Files.h"

#include <windows.h>

#include "platform/Handles.h"

namespace platform {

std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

std::optional<std::string> ReadFileBytes(const std::wstring& path, size_t maxSize) {
    Handle file = FileHandle(CreateFileW(path.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || static_cast<unsigned long long>(size.QuadPart) > maxSize)
        return std::nullopt;
    std::string content(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!content.empty() &&
        (!ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr) ||
         read != content.size()))
        return std::nullopt;
    return content;
}

bool WriteAndFlush(void* file, const std::string& bytes) {
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) return false;
    if (written != bytes.size()) {
        // A full disk takes part of the bytes without an error of its own.
        SetLastError(ERROR_DISK_FULL);
        return false;
    }
    return FlushFileBuffers(file) != FALSE;
}

bool ReplaceFileContent(const std::wstring& path, const std::string& bytes) {
    std::wstring temporary = path + L".tmp";
    Handle file = FileHandle(
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    bool stored = WriteAndFlush(file.get(), bytes);
    DWORD code = GetLastError();
    file.reset();  // closed before it is moved
    if (stored && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    if (stored) code = GetLastError();
    DeleteFileW(temporary.c_str());
    SetLastError(code);
    return false;
}

}  // namespace platform
