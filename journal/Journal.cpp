#include "journal/Journal.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <optional>

#include "platform/Clock.h"
#include "platform/Handles.h"
#include "platform/SystemError.h"
#include "ui/Error.h"
#include "platform/Files.h"
#include "platform/SystemFunction.h"

namespace journal {

const wchar_t kJournalName[] = L"Pelmora-journal.csv";
const wchar_t kOpenSaleName[] = L"Pelmora-open.csv";
const wchar_t kKeptName[] = L"Pelmora-journal-numbers.txt";
const wchar_t kJournalBusy[] = L"売上の記録は別の Pelmora が使っています";

namespace {

const wchar_t kWriteError[] = L"売上の記録に書き込めません";
const wchar_t kReadError[] = L"売上の記録を読めません";
const wchar_t kOpenSaleError[] = L"途中の取引の控えを書き換えられません";
constexpr DWORD kChunk = 64 * 1024;
constexpr size_t kMaxOpenSale = 1024 * 1024;  // far above 100 lines; anything bigger is not ours

using platform::Handle;
using platform::SystemReason;

// Empty when the platform refuses; GetLastError says why.
Handle OpenFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
    return platform::FileHandle(
        CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

[[noreturn]] void Fail(const wchar_t* what, const std::wstring& path, DWORD code) {
    throw ui::Error(std::wstring(what) + L"\r\n" + path + L"\r\n" + SystemReason(code));
}

// Others may go on reading and writing the file while we read it.
Handle OpenToRead(const std::wstring& path) {
    return OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
}

bool ReadAt(HANDLE file, LONGLONG offset, char* buffer, DWORD size) {
    LARGE_INTEGER at;
    at.QuadPart = offset;
    DWORD read = 0;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && ReadFile(file, buffer, size, &read, nullptr) &&
           read == size;
}

// Numbers the findings' lines from the journal's start, as far as the furthest.
void NumberLines(HANDLE file, std::vector<Finding>& findings) {
    LineNumbers numbers(findings);
    std::string chunk(kChunk, '\0');
    LARGE_INTEGER start{};
    DWORD read = 0;
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return;
    while (numbers.Wanted() >= 0 && ReadFile(file, chunk.data(), kChunk, &read, nullptr) && read > 0)
        numbers.Feed(std::string_view(chunk.data(), read));
}

}  // namespace

std::wstring TimeNow() {
    SYSTEMTIME now = platform::Now();
    wchar_t text[32];
    std::swprintf(text, 32, L"%04u-%02u-%02uT%02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                  now.wSecond);
    return text;
}

void OpenFolder(const std::wstring& folder) {
    // The shell is loaded when the folder is first opened, not at start.
    static const auto shellExecute = platform::SystemFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
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
    : path_(folder + L"\\" + kJournalName),
      openSalePath_(folder + L"\\" + kOpenSaleName),
      keptPath_(folder + L"\\" + kKeptName) {}

std::vector<std::wstring> Journal::StartMessages() const {
    std::vector<std::wstring> messages;
    for (const std::wstring* message : {&busyMessage_, &journalMessage_, &recoveryMessage_})
        if (!message->empty()) messages.push_back(*message);
    return messages;
}

int Journal::Load() {
    std::optional<std::string> keptText = platform::ReadFileBytes(keptPath_, 64 * 1024);
    Kept kept = keptText ? ParseKept(*keptText).value_or(Kept()) : Kept();
    Handle file = OpenToRead(path_);
    LARGE_INTEGER size{};
    if (!file) {
        DWORD code = GetLastError();
        if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) Fail(kReadError, path_, code);
    } else if (!GetFileSizeEx(file.get(), &size)) {
        Fail(kReadError, path_, GetLastError());
    }
    std::vector<ByteRange> partials = kept.partials;
    if (kept.failedAt >= 0) partials.push_back({kept.failedAt, size.QuadPart});
    // From the end backward, a chunk at a time, until the last Z.
    BackwardReader reader(size.QuadPart, partials);
    std::string chunk;
    LONGLONG offset = size.QuadPart;
    bool wanted = file != nullptr;
    while (wanted) {
        DWORD length = static_cast<DWORD>(std::min<LONGLONG>(kChunk, offset));
        offset -= length;
        chunk.resize(length);
        if (length > 0 && !ReadAt(file.get(), offset, chunk.data(), length)) Fail(kReadError, path_, GetLastError());
        wanted = reader.Feed(chunk, offset == 0);
    }
    Period period = reader.Result();
    std::vector<Finding> findings = reader.Findings();
    for (const Finding& finding : CompareWithKept(period, kept, size.QuadPart)) findings.push_back(finding);
    // Line numbers cost a reading from the start: only when there is something to tell.
    if (file && !findings.empty()) NumberLines(file.get(), findings);
    journalMessage_ = FindingsMessage(findings, reader.Unreadable());
    busyMessage_.clear();
    if (file && !file_ && !OpenFile(path_, FILE_APPEND_DATA, FILE_SHARE_READ, OPEN_EXISTING) &&
        GetLastError() == ERROR_SHARING_VIOLATION)
        busyMessage_ = std::wstring(kJournalBusy) + L"\r\n" + path_;
    period_ = period;
    kept_ = kept;
    unfinishedAt_ = reader.UnfinishedAt();
    loadedSize_ = size.QuadPart;
    lastSale_ = reader.LastSale();
    loaded_ = true;
    return reader.Unreadable();
}

void Journal::EnsureLoaded() {
    if (!loaded_) {
        Load();
        return;
    }
    // Until this program holds the journal, another may have appended since
    // the load: records are numbered on the journal as it is now. A journal
    // gone or unreadable is left to the write, which says so.
    WIN32_FILE_ATTRIBUTE_DATA now{};
    if (file_ || !GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &now) ||
        (now.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    if (((static_cast<LONGLONG>(now.nFileSizeHigh) << 32) | now.nFileSizeLow) != loadedSize_) Load();
}

void Journal::Append(const std::vector<Record>& records) {
    if (!file_) {
        // Append access alone: every write lands at the end, whatever happens.
        // Others may read, never write, while this program holds the journal.
        Handle file = OpenFile(path_, FILE_APPEND_DATA | FILE_READ_DATA, FILE_SHARE_READ, OPEN_ALWAYS);
        if (!file) {
            DWORD code = GetLastError();
            if (code == ERROR_SHARING_VIOLATION) throw ui::Error(std::wstring(kJournalBusy) + L"\r\n" + path_);
            Fail(kWriteError, path_, code);
        }
        file_.reset(file.release());
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file_.get(), &size)) Fail(kWriteError, path_, GetLastError());
    // A new journal starts with the byte-order mark and the header; after a
    // last line cut short, the records start on a line of their own.
    std::string bytes;
    if (size.QuadPart == 0) {
        bytes = std::string(kByteOrderMark) + kHeader + "\r\n";
    } else {
        char last = 0;
        if (!ReadAt(file_.get(), size.QuadPart - 1, &last, 1)) Fail(kWriteError, path_, GetLastError());
        if (last != '\n' && last != '\r') bytes = "\r\n";
    }
    for (const Record& record : records) bytes += FormatRecord(record);
    if (!platform::WriteAndFlush(file_.get(), bytes)) {
        DWORD code = GetLastError();
        // What reached the disk is passed over silently from now on.
        if (kept_.failedAt < 0) kept_.failedAt = size.QuadPart;
        SaveKept();
        Fail(kWriteError, path_, code);
    }
    std::int64_t begin = std::min(kept_.failedAt < 0 ? size.QuadPart : kept_.failedAt,
                                  unfinishedAt_ < 0 ? size.QuadPart : unfinishedAt_);
    if (begin < size.QuadPart) kept_.partials.push_back({begin, size.QuadPart});
    kept_.failedAt = unfinishedAt_ = -1;
    for (const Record& record : records) {
        period_.Add(record);
        if (record.kind == Kind::Z) kept_.partials.clear();  // never read again: reading stops at the last Z
    }
    kept_.sequence = period_.nextSequence - 1;
    kept_.sale = period_.nextSale - 1;
    kept_.z = period_.nextZ - 1;
    kept_.size = size.QuadPart + static_cast<std::int64_t>(bytes.size());
    SaveKept();
}

void Journal::SaveKept() noexcept {
    // The append succeeded whatever happens here: the next one tries again.
    platform::ReplaceFileContent(keptPath_, FormatKept(kept_));
}

[[noreturn]] void Journal::FailOpenSale(unsigned long code) const {
    std::wstring text = std::wstring(kOpenSaleError) + L"\r\n" + openSalePath_ + L"\r\n" + SystemReason(code);
    if (recorded_) text += std::wstring(L"\r\n") + recorded_;
    throw ui::Error(text);
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
    recorded_ = L"売上は記録されています。打ち直さないでください。";
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
    recorded_ = L"取引中止は記録されています。";
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
            if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) FailOpenSale(code);
        }
        return;
    }
    recorded_ = nullptr;
    EnsureLoaded();
    if (!platform::ReplaceFileContent(openSalePath_, FormatOpenSale({period_.nextSale, lines}))) FailOpenSale(GetLastError());
}

std::vector<regi::LineRecord> Journal::RecoverOpenSale() {
    recoveryMessage_.clear();
    DWORD attributes = GetFileAttributesW(openSalePath_.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
    std::optional<std::string> content = platform::ReadFileBytes(openSalePath_, kMaxOpenSale);
    std::optional<OpenSale> sale = content ? ParseOpenSale(*content) : std::nullopt;
    if (sale) return sale->sale < period_.nextSale ? std::vector<regi::LineRecord>() : sale->lines;
    if (!content) {
        // Held by another program, or far too large to be ours: left where it is.
        recoveryMessage_ = L"前回終了時の取引を復元できません: 途中の取引の控えを読めません。\r\n" + openSalePath_;
        return {};
    }
    // Damaged: kept aside for the owner under a name of its own, never deleted.
    std::wstring stamp = TimeNow();
    stamp.erase(std::remove_if(stamp.begin(), stamp.end(), [](wchar_t c) { return c == L'-' || c == L':'; }),
                stamp.end());
    std::replace(stamp.begin(), stamp.end(), L'T', L'-');
    std::wstring base = platform::FolderOf(openSalePath_) + L"\\Pelmora-open-damaged-" + stamp;
    std::wstring aside;
    DWORD code = ERROR_SUCCESS;
    for (int n = 1; n <= 100 && aside.empty(); ++n) {
        std::wstring name = base + (n == 1 ? L"" : L"-" + std::to_wstring(n)) + L".csv";
        if (MoveFileW(openSalePath_.c_str(), name.c_str()))
            aside = name;
        else if ((code = GetLastError()) != ERROR_ALREADY_EXISTS && code != ERROR_FILE_EXISTS)
            break;
    }
    recoveryMessage_ = L"前回終了時の取引を復元できません: 途中の取引の控えが壊れています。\r\n";
    recoveryMessage_ += aside.empty() ? L"控えはそのままです (" + SystemReason(code) + L")\r\n" + openSalePath_
                                      : L"控えは次の名前で残してあります\r\n" + aside;
    return {};
}

}  // namespace journal
