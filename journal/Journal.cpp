#include "journal/Journal.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <optional>

#include "settings/LocalClock.h"
#include "ui/Error.h"
#include "ui/Files.h"
#include "ui/SystemFunction.h"

namespace journal {

const wchar_t kJournalName[] = L"Pelmora-journal.csv";
const wchar_t kOpenSaleName[] = L"Pelmora-open.csv";

namespace {

const wchar_t kWriteError[] = L"売上の記録に書き込めません";
const wchar_t kReadError[] = L"売上の記録を読めません";
constexpr DWORD kChunk = 64 * 1024;
constexpr size_t kMaxOpenSale = 1024 * 1024;  // far above 100 lines; anything bigger is not ours

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

// Empty when the platform refuses; GetLastError says why.
FileHandle OpenFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
    HANDLE handle = CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return FileHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

std::wstring SystemReason(DWORD code) {
    wchar_t* text = nullptr;
    DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = length ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!reason.empty() && std::iswspace(reason.back())) reason.pop_back();
    return reason.empty() ? L"エラー " + std::to_wstring(code) : reason;
}

[[noreturn]] void Fail(const wchar_t* what, const std::wstring& path, DWORD code) {
    throw ui::Error(std::wstring(what) + L"\r\n" + path + L"\r\n" + SystemReason(code));
}

// Others may go on reading and writing the file while we read it.
FileHandle OpenToRead(const std::wstring& path) {
    return OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
}

bool ReadAt(HANDLE file, LONGLONG offset, char* buffer, DWORD size) {
    LARGE_INTEGER at;
    at.QuadPart = offset;
    DWORD read = 0;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && ReadFile(file, buffer, size, &read, nullptr) &&
           read == size;
}

// Appends text at the end of the journal and flushes it to the disk. A new
// journal starts with the byte-order mark and the header; after a last line
// cut short, the text starts on a line of its own. Nothing is ever rewritten.
void AppendToFile(const std::wstring& path, const std::string& text) {
    // Append access alone: every write lands at the end, whatever happens.
    FileHandle file = OpenFile(path, FILE_APPEND_DATA | FILE_READ_DATA, FILE_SHARE_READ, OPEN_ALWAYS);
    if (!file) Fail(kWriteError, path, GetLastError());
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) Fail(kWriteError, path, GetLastError());
    std::string bytes;
    if (size.QuadPart == 0) {
        bytes = std::string(kByteOrderMark) + kHeader + "\r\n";
    } else {
        char last = 0;
        if (!ReadAt(file.get(), size.QuadPart - 1, &last, 1)) Fail(kWriteError, path, GetLastError());
        if (last != '\n') bytes = "\r\n";
    }
    bytes += text;
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size() || !FlushFileBuffers(file.get()))
        Fail(kWriteError, path, GetLastError());
}

}  // namespace

std::wstring TimeNow() {
    SYSTEMTIME now = settings::Now();
    wchar_t text[32];
    std::swprintf(text, 32, L"%04u-%02u-%02uT%02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                  now.wSecond);
    return text;
}

std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

std::wstring UnreadableLinesMessage(int count) {
    return L"売上の記録に読めない行が " + std::to_wstring(count) + L" 行あります";
}

void OpenFolder(const std::wstring& folder) {
    // The shell is loaded when the folder is first opened, not at start.
    static const auto shellExecute = ui::SystemFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    HINSTANCE result =
        shellExecute ? shellExecute(nullptr, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL) : nullptr;
    if (reinterpret_cast<INT_PTR>(result) <= 32) throw ui::Error(L"記録のフォルダを開けません\r\n" + folder);
}

std::wstring Report::Text() const {
    std::wstring text;
    for (const std::wstring& line : lines) text += (text.empty() ? L"" : L"\r\n") + line;
    return text;
}

Journal::Journal(const std::wstring& folder)
    : path_(folder + L"\\" + kJournalName), openSalePath_(folder + L"\\" + kOpenSaleName) {}

int Journal::Load() {
    FileHandle file = OpenToRead(path_);
    if (!file) {
        DWORD code = GetLastError();
        if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) Fail(kReadError, path_, code);
        period_ = Period();
        loaded_ = true;
        return 0;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) Fail(kReadError, path_, GetLastError());
    // From the end backward, a chunk at a time, until the last Z.
    BackwardReader reader;
    std::string chunk;
    LONGLONG offset = size.QuadPart;
    bool wanted = true;
    while (wanted) {
        DWORD length = static_cast<DWORD>(std::min<LONGLONG>(kChunk, offset));
        offset -= length;
        chunk.resize(length);
        if (length > 0 && !ReadAt(file.get(), offset, chunk.data(), length)) Fail(kReadError, path_, GetLastError());
        wanted = reader.Feed(chunk, offset == 0);
    }
    period_ = reader.Result();
    lastSale_ = reader.LastSale();
    loaded_ = true;
    return reader.Unreadable();
}

void Journal::EnsureLoaded() {
    if (!loaded_) Load();
}

void Journal::Append(const std::vector<Record>& records) {
    std::string text;
    for (const Record& record : records) text += FormatRecord(record);
    AppendToFile(path_, text);
    for (const Record& record : records) period_.Add(record);
}

void Journal::DropOpenSale() noexcept {
    // A file left behind names a sale number the journal has passed: never restored.
    DeleteFileW(openSalePath_.c_str());
}

regi::SaleRecord Journal::RecordSale(regi::SaleRecord sale) {
    EnsureLoaded();
    sale.time = TimeNow();
    std::vector<Record> records = period_.SaleRecords(sale);
    Append(records);
    sale.number = records.back().sale;
    DropOpenSale();
    lastSale_ = sale;
    return sale;
}

void Journal::RecordVoid(std::int64_t lineNumber, const regi::LineRecord& line) {
    EnsureLoaded();
    Append({period_.VoidRecord(lineNumber, line, TimeNow())});
}

void Journal::RecordCancel(std::int64_t lineCount, std::int64_t total) {
    EnsureLoaded();
    Append({period_.CancelRecord(lineCount, total, TimeNow())});
    DropOpenSale();
}

Report Journal::TakeX(std::int64_t cashFloat) {
    EnsureLoaded();
    Record x = period_.ReportRecord(Kind::X, cashFloat, TimeNow());
    Report report{0, ReportLines(period_, x)};
    Append({x});
    return report;
}

Report Journal::TakeZ(std::int64_t cashFloat) {
    EnsureLoaded();
    Record z = period_.ReportRecord(Kind::Z, cashFloat, TimeNow());
    Report report{z.z, ReportLines(period_, z)};
    Append({z});
    period_ = Period();
    period_.Add(z);
    return report;
}

void Journal::KeepOpenSale(const std::vector<regi::LineRecord>& lines) {
    if (lines.empty()) {
        // A file left here would bring voided lines back at the next start.
        if (!DeleteFileW(openSalePath_.c_str())) {
            DWORD code = GetLastError();
            if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) Fail(kWriteError, openSalePath_, code);
        }
        return;
    }
    EnsureLoaded();
    if (!ui::ReplaceFileContent(openSalePath_, FormatOpenSale({period_.nextSale, lines})))
        Fail(kWriteError, openSalePath_, GetLastError());
}

std::vector<regi::LineRecord> Journal::RecoverOpenSale() {
    std::optional<std::string> content = ui::ReadFileBytes(openSalePath_, kMaxOpenSale);
    std::optional<OpenSale> sale = content ? ParseOpenSale(*content) : std::nullopt;
    if (!sale || sale->sale < period_.nextSale) return {};
    return sale->lines;
}

}  // namespace journal
