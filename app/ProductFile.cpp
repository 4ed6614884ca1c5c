#include "app/ProductFile.h"

#include <utility>

#include "platform/Files.h"
#include "sale/Money.h"

namespace {

std::wstring FromShiftJis(std::string_view bytes) {
    if (bytes.empty()) return {};
    int length = MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

std::wstring LocalTimeText(std::uint64_t written) {
    FILETIME utc{static_cast<DWORD>(written), static_cast<DWORD>(written >> 32)}, local;
    SYSTEMTIME t;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &t)) return L"";
    wchar_t text[32];
    swprintf(text, 32, L"%04u/%02u/%02u %02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
    return text;
}

}  // namespace

ProductFile::ProductFile(std::wstring folder, HWND window, UINT message)
    : path_(std::move(folder) + L"\\" + catalog::kProductFileName), window_(window), message_(message) {}

ProductFile::~ProductFile() { Wait(); }

void ProductFile::Wait() {
    if (reader_.joinable()) reader_.join();
}

ProductFile::Stamp ProductFile::Look() const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    Stamp stamp;
    if (!GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return stamp;
    stamp.exists = true;
    stamp.written = (std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    stamp.size = (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return stamp;
}

void ProductFile::ReloadIfChanged(const regi::Departments& departments) {
    if (busy_) return;
    if (!(Look() == read_)) Reload(departments);
}

void ProductFile::Reload(const regi::Departments& departments) {
    if (busy_) Wait();  // the newest reading wins; an older one still under way is taken first
    Wait();
    busy_ = true;
    reading_ = Look();
    reader_ = std::thread([this, departments, exists = reading_.exists] {
        auto result = std::make_unique<catalog::ReadResult>();
        std::unique_ptr<std::wstring> unreadable;
        if (exists) {
            std::optional<std::string> bytes = platform::ReadFileBytes(path_);
            if (bytes)
                *result = catalog::ReadProducts(*bytes, FromShiftJis, [&departments](int number) {
                    return departments.Find(number) != nullptr;
                });
            else
                unreadable = std::make_unique<std::wstring>(L"商品ファイルを読めません (ほかのプログラムが開いているかもしれません): " +
                                                            path_);
        }
        {
            std::lock_guard<std::mutex> guard(lock_);
            finished_ = std::move(result);
            unreadable_ = std::move(unreadable);
        }
        PostMessageW(window_, message_, 0, 0);
    });
}

std::wstring ProductFile::Take() {
    std::unique_ptr<catalog::ReadResult> result;
    std::unique_ptr<std::wstring> unreadable;
    {
        std::lock_guard<std::mutex> guard(lock_);
        result = std::move(finished_);
        unreadable = std::move(unreadable_);
    }
    if (!result) return {};
    Wait();
    busy_ = false;
    read_ = reading_;
    problem_ = unreadable ? *unreadable : L"";
    if (unreadable) return problem_;  // the products read before stay
    products_ = std::make_shared<const catalog::Catalog>(std::move(result->catalog));
    faults_ = std::move(result->faults);
    readAt_ = read_.exists ? LocalTimeText(read_.written) : L"";
    return catalog::FaultsMessage(faults_);
}

std::wstring ProductFile::Status() const {
    if (!problem_.empty()) return problem_;
    // Where the file goes shows in the box above.
    if (!read_.exists) return L"商品ファイルはありません";
    std::wstring status = regi::GroupedDigits(static_cast<std::int64_t>(products_ ? products_->Size() : 0)) + L" 品";
    if (!faults_.empty()) status += L"、読めない行 " + std::to_wstring(faults_.size()) + L" 行";
    return status + L"\r\n" + readAt_ + L" に保存されたファイル";
}
