#include "journal/Journal.h"

#include <windows.h>
#include <shellapi.h>

#include <string_view>
#include <utility>

#include "platform/Files.h"
#include "platform/Sha256.h"
#include "platform/SystemError.h"
#include "platform/SystemFunction.h"
#include "ui/Error.h"

namespace journal {

namespace {

using platform::Handle;

// A journal a spreadsheet saved again in Shift_JIS: the code page's own
// conversion; a character it lacks becomes "?", never a look-alike.
constexpr UINT kShiftJis = 932;

std::string ToShiftJis(std::wstring_view text) {
    if (text.empty()) return {};
    int length = static_cast<int>(text.size());
    int size = WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring FromShiftJis(std::string_view bytes) {
    if (bytes.empty()) return {};
    int length = static_cast<int>(bytes.size());
    int size = MultiByteToWideChar(kShiftJis, 0, bytes.data(), length, nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(kShiftJis, 0, bytes.data(), length, text.data(), size);
    return text;
}

// Empty when the platform refuses; GetLastError says why.
Handle OpenFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
    return platform::FileHandle(
        CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Others may go on reading and writing the file while we read it.
Handle OpenToRead(const std::wstring& path) {
    return OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
}

// The status of the call that failed last, in the system's words.
Status Failed(DWORD code = GetLastError()) {
    Fault fault = Fault::Other;
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) fault = Fault::Missing;
    if (code == ERROR_SHARING_VIOLATION) fault = Fault::Busy;
    if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS) fault = Fault::Exists;
    return {fault, platform::SystemReason(code)};
}

bool ReadAt(HANDLE file, LONGLONG offset, std::string& bytes) {
    LARGE_INTEGER at;
    at.QuadPart = offset;
    DWORD read = 0;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
           ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size();
}

}  // namespace

void OpenFolder(const std::wstring& folder) {
    // The shell is loaded when the folder is first opened, not at start.
    static const auto shellExecute =
        platform::SystemFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    HINSTANCE result =
        shellExecute ? shellExecute(nullptr, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL) : nullptr;
    if (reinterpret_cast<INT_PTR>(result) <= 32) throw ui::Error(L"記録のフォルダを開けません\r\n" + folder);
}

Status FileStorage::Size(const std::wstring& path, std::int64_t& size) {
    Handle opened = Holds(path) ? nullptr : OpenToRead(path);
    if (!Holds(path) && !opened) return Failed();
    LARGE_INTEGER bytes{};
    if (!GetFileSizeEx(opened ? opened.get() : held_.get(), &bytes)) return Failed();
    size = bytes.QuadPart;
    return {};
}

Status FileStorage::Read(const std::wstring& path, std::int64_t offset, std::string& bytes) {
    Handle opened = Holds(path) ? nullptr : OpenToRead(path);
    if (!Holds(path) && !opened) return Failed();
    if (!ReadAt(opened ? opened.get() : held_.get(), offset, bytes)) return Failed();
    return {};
}

Status FileStorage::ReadWhole(const std::wstring& path, std::size_t maxSize, std::string& bytes) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Failed(ERROR_FILE_NOT_FOUND);
    std::optional<std::string> content = platform::ReadFileBytes(path, maxSize);
    if (!content) return Failed();
    bytes = std::move(*content);
    return {};
}

bool FileStorage::HeldElsewhere(const std::wstring& path) {
    return !OpenFile(path, FILE_APPEND_DATA, FILE_SHARE_READ, OPEN_EXISTING) &&
           GetLastError() == ERROR_SHARING_VIOLATION;
}

Status FileStorage::Hold(const std::wstring& path) {
    if (Holds(path)) return {};
    // Append access alone: every write lands at the end, whatever happens.
    // Others may read, never write, while this program holds the journal.
    Handle file = OpenFile(path, FILE_APPEND_DATA | FILE_READ_DATA, FILE_SHARE_READ, OPEN_ALWAYS);
    if (!file) return Failed();
    held_ = std::move(file);
    heldPath_ = path;
    return {};
}

Status FileStorage::Append(const std::wstring& path, const std::string& bytes) {
    if (!Holds(path)) return Failed(ERROR_INVALID_HANDLE);
    if (!platform::WriteAndFlush(held_.get(), bytes)) return Failed();
    return {};
}

Status FileStorage::Replace(const std::wstring& path, const std::string& bytes) {
    if (!platform::ReplaceFileContent(path, bytes)) return Failed();
    return {};
}

Status FileStorage::Remove(const std::wstring& path) {
    if (!DeleteFileW(path.c_str())) return Failed();
    return {};
}

Status FileStorage::Rename(const std::wstring& from, const std::wstring& to) {
    if (!MoveFileW(from.c_str(), to.c_str())) return Failed();
    return {};
}

Journal::Journal(const std::wstring& folder, Clock clock)
    : Session(storage, folder, std::move(clock), {ToShiftJis, FromShiftJis}, platform::Sha256Hex) {}

}  // namespace journal
