#include "settings/SettingsFile.h"

#include <windows.h>
#include <shlobj.h>

#include "settings/ProfileValues.h"
#include "ui/App.h"
#include "ui/Error.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/SystemFunction.h"

namespace settings {

namespace {

constexpr DWORD kValueBuffer = 2048;

ui::Error WriteError(const std::wstring& path) {
    return ui::Error(ui::FormatMessageText(L"%s に書き込めません", path));
}

std::wstring ReadRaw(const std::wstring& path, const wchar_t* section, const wchar_t* key, const wchar_t* fallback) {
    wchar_t buffer[kValueBuffer];
    DWORD length = GetPrivateProfileStringW(section, key, fallback, buffer, kValueBuffer, path.c_str());
    return std::wstring(buffer, length);
}

// True when the file can be opened for writing, creating it if need be; a
// file made only to find this out is removed again.
bool CanWrite(const std::wstring& path) {
    platform::Handle file = platform::FileHandle(CreateFileW(path.c_str(), GENERIC_WRITE,
                                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    file.reset();  // closed before a file made here is removed
    if (!existed) DeleteFileW(path.c_str());
    return true;
}

bool FitsAnsiCodePage(const std::wstring& text) {
    if (text.empty()) return true;
    BOOL lost = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                        &lost);
    return !lost;
}

// The platform's profile functions keep every character only in a file that
// is UTF-16 with a byte-order mark; a file in the ANSI code page turns what it
// cannot hold into look-alikes ("café" into "cafe"). So a new file starts as
// UTF-16, and an ANSI file from an earlier run is turned into UTF-16, every
// line kept, before a text it cannot hold is written into it.
void MakeRoomFor(const std::wstring& path, const std::wstring& text) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // The new file appears with its mark or not at all: a file without it
        // would be read and written as ANSI from then on.
        if (!platform::ReplaceFileContent(path, "\xFF\xFE")) throw WriteError(path);
        return;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) || FitsAnsiCodePage(text)) return;
    std::optional<std::string> read = platform::ReadFileBytes(path);
    if (!read || read->rfind("\xFF\xFE", 0) == 0) return;  // unreadable, or UTF-16 already
    const std::string& ansi = *read;
    int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
    std::string utf16 = "\xFF\xFE";
    utf16.append(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
    if (!platform::ReplaceFileContent(path, utf16)) throw WriteError(path);
}

}  // namespace

std::optional<std::wstring> SettingsFile::Read(const wchar_t* section, const wchar_t* key) const {
    // The platform answers a missing key with the default it is given, so two
    // different defaults tell a missing key from any value the file may hold.
    std::wstring first = ReadRaw(path_, section, key, L"\x1");
    if (first == L"\x1" && ReadRaw(path_, section, key, L"\x2") == L"\x2") return std::nullopt;
    return first;
}

void SettingsFile::Write(const wchar_t* section, const wchar_t* key, const std::wstring& value) const {
    WriteString(section, key, value);
}

std::optional<std::wstring> SettingsFile::ReadSection(const wchar_t* section) const {
    // The platform's answer has a null after each line; one that fills the
    // buffer to its last two characters may have been cut, and is asked again.
    std::vector<wchar_t> buffer(kValueBuffer);
    DWORD length;
    while ((length = GetPrivateProfileSectionW(section, buffer.data(), static_cast<DWORD>(buffer.size()),
                                               path_.c_str())) == buffer.size() - 2)
        buffer.resize(buffer.size() * 2);
    // An empty answer is a section without lines, or none at all.
    if (length == 0) {
        std::wstring names = ReadRaw(path_, nullptr, nullptr, L"");
        for (const wchar_t* name = names.c_str(); *name; name += lstrlenW(name) + 1)
            if (lstrcmpiW(name, section) == 0) return std::wstring();
        return std::nullopt;
    }
    std::wstring lines(buffer.data(), length - 1);
    for (wchar_t& c : lines)
        if (c == L'\0') c = L'\n';
    return lines;
}

void SettingsFile::WriteSection(const wchar_t* section, const std::wstring& lines) const {
    MakeRoomFor(path_, std::wstring(section) + lines);
    std::wstring block = lines;
    for (wchar_t& c : block)
        if (c == L'\n') c = L'\0';
    block += std::wstring(2, L'\0');
    if (!WritePrivateProfileSectionW(section, block.c_str(), path_.c_str())) throw WriteError(path_);
}

std::wstring SettingsFile::ReadString(const wchar_t* section, const wchar_t* key, const std::wstring& fallback) const {
    return Read(section, key).value_or(fallback);
}

int SettingsFile::ReadInteger(const wchar_t* section, const wchar_t* key, int fallback) const {
    return ReadIntegerText(ReadString(section, key, L""), fallback);
}

bool SettingsFile::ReadBoolean(const wchar_t* section, const wchar_t* key, bool fallback) const {
    return ReadBooleanText(ReadString(section, key, L""), fallback);
}

void SettingsFile::WriteString(const wchar_t* section, const wchar_t* key, const std::wstring& value) const {
    MakeRoomFor(path_, std::wstring(section) + key + value);
    if (!WritePrivateProfileStringW(section, key, value.c_str(), path_.c_str())) throw WriteError(path_);
}

void SettingsFile::Keep(const Settings& values) const {
    const std::wstring copy = path_ + L".tmp";
    DeleteFileW(copy.c_str());  // what a run that stopped half-way left
    DWORD attributes = GetFileAttributesW(path_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        ((attributes & FILE_ATTRIBUTE_DIRECTORY) || !CopyFileW(path_.c_str(), copy.c_str(), FALSE)))
        throw WriteError(path_);
    try {
        // The platform's own writes, so that the copy's sections, keys and
        // encoding are what they would be in the file itself.
        WriteSettings(SettingsFile(copy), values);
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, copy.c_str());  // out of the platform's cache
        bool flushed = false;
        if (platform::Handle file = platform::FileHandle(
                CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)))
            flushed = FlushFileBuffers(file.get()) != FALSE;
        if (!flushed || !MoveFileExW(copy.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            throw WriteError(path_);
    } catch (const ui::Error&) {
        DeleteFileW(copy.c_str());
        throw WriteError(path_);
    }
}

void SettingsFile::WriteInteger(const wchar_t* section, const wchar_t* key, int value) const {
    WriteString(section, key, IntegerText(value));
}

void SettingsFile::WriteBoolean(const wchar_t* section, const wchar_t* key, bool value) const {
    WriteString(section, key, BooleanText(value));
}

namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

std::wstring CopiedNotice(const std::wstring& from, const std::wstring& to, bool withJournal) {
    return L"次のフォルダーには書き込めません。\r\n" + from + L"\r\nそこにあった" +
           (withJournal ? L"設定と売上の記録" : L"設定") + L"をコピーして、これからは次のフォルダーに保存します。\r\n" +
           to;
}

SettingsPlace ChooseSettingsPlace(const std::wstring& programPath, const std::wstring& localFolder,
                                  const std::vector<std::wstring>& companions) {
    std::wstring beside = SettingsPathBeside(programPath);
    if (CanWrite(beside)) return {beside, L""};
    CreateDirectoryW(localFolder.c_str(), nullptr);
    SettingsPlace place{localFolder + L"\\Pelmora.ini", L""};
    if (Exists(place.path) || !Exists(beside)) return place;
    // Copies, never moves: the originals stay where the shop put them.
    std::wstring from = platform::FolderOf(beside);
    if (!CopyFileW(beside.c_str(), place.path.c_str(), TRUE)) return place;
    bool withJournal = false;
    for (const std::wstring& name : companions) {
        std::wstring source = from + L"\\" + name;
        if (Exists(source) && CopyFileW(source.c_str(), (localFolder + L"\\" + name).c_str(), TRUE)) withJournal = true;
    }
    place.notice = CopiedNotice(from, localFolder, withJournal);
    return place;
}

SettingsPlace ChooseSettingsPlace(const std::vector<std::wstring>& companions) {
    std::wstring programPath = ui::App().ProgramPath();
    std::wstring beside = SettingsPathBeside(programPath);
    if (CanWrite(beside)) return {beside, L""};
    // The shell is loaded only here, where the folder beside the program is read-only.
    const auto getFolderPath =
        platform::SystemFunction<decltype(&SHGetFolderPathW)>(L"shell32.dll", "SHGetFolderPathW");
    wchar_t folder[MAX_PATH];
    if (!getFolderPath || FAILED(getFolderPath(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder)))
        return {beside, L""};
    return ChooseSettingsPlace(programPath, std::wstring(folder) + L"\\Pelmora", companions);
}

}  // namespace settings
