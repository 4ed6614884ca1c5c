#include "settings/SettingsFile.h"

#include <windows.h>
#include <shlobj.h>

#include "settings/ProfileValues.h"
#include "ui/App.h"
#include "ui/Error.h"

namespace settings {

namespace {

constexpr DWORD kValueBuffer = 2048;

std::wstring ReadRaw(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                     const wchar_t* fallback) {
    wchar_t buffer[kValueBuffer];
    DWORD length = GetPrivateProfileStringW(section, key, fallback, buffer, kValueBuffer, path.c_str());
    return std::wstring(buffer, length);
}

// True when the file can be opened for writing, creating it if need be; a
// file made only to find this out is removed again.
bool CanWrite(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    CloseHandle(file);
    if (!existed) DeleteFileW(path.c_str());
    return true;
}

}  // namespace

std::wstring SettingsFile::ReadString(const wchar_t* section, const wchar_t* key,
                                      const std::wstring& fallback) const {
    // The platform answers a missing key with the default it is given, so two
    // different defaults tell a missing key from any value the file may hold.
    std::wstring first = ReadRaw(path_, section, key, L"\x1");
    if (first == L"\x1" && ReadRaw(path_, section, key, L"\x2") == L"\x2") return fallback;
    return first;
}

int SettingsFile::ReadInteger(const wchar_t* section, const wchar_t* key, int fallback) const {
    return ReadIntegerText(ReadString(section, key, L""), fallback);
}

bool SettingsFile::ReadBoolean(const wchar_t* section, const wchar_t* key, bool fallback) const {
    return ReadBooleanText(ReadString(section, key, L""), fallback);
}

void SettingsFile::WriteString(const wchar_t* section, const wchar_t* key, const std::wstring& value) const {
    if (!WritePrivateProfileStringW(section, key, value.c_str(), path_.c_str()))
        throw ui::Error(ui::FormatMessageText(L"%s に書き込めません", path_));
}

void SettingsFile::WriteInteger(const wchar_t* section, const wchar_t* key, int value) const {
    WriteString(section, key, IntegerText(value));
}

void SettingsFile::WriteBoolean(const wchar_t* section, const wchar_t* key, bool value) const {
    WriteString(section, key, BooleanText(value));
}

std::wstring ChooseSettingsPath() {
    std::wstring beside = SettingsPathBeside(ui::App().ProgramPath());
    if (CanWrite(beside)) return beside;

    wchar_t folder[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder)))
        return beside;
    std::wstring own = std::wstring(folder) + L"\\Pelmora";
    CreateDirectoryW(own.c_str(), nullptr);
    return own + L"\\Pelmora.ini";
}

}  // namespace settings
