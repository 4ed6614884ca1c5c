#include "journal/BooksFile.h"

#include <commdlg.h>

#include "common/Utf8.h"
#include "platform/Files.h"
#include "platform/SystemError.h"
#include "platform/SystemFunction.h"
#include "ui/Error.h"

namespace journal {

namespace {

constexpr UINT kShiftJis = 932;

}  // namespace

std::optional<BooksTarget> RunBooksDialog(HWND owner, const std::wstring& suggested) {
    // The common dialogs are loaded when first asked for, not at start.
    static const auto getSaveFileName =
        platform::SystemFunction<decltype(&GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
    if (!getSaveFileName) throw ui::Error(L"ファイルを保存するダイアログを開けません");
    std::wstring filter;
    for (int p = 0; p < kPrograms; ++p) {
        Program program = static_cast<Program>(p);
        filter +=
            std::wstring(ProgramName(program)) + (ShiftJisFile(program) ? L" (CSV, Shift_JIS)" : L" (CSV, UTF-8)");
        filter += L'\0';
        filter += L"*.csv";
        filter += L'\0';
    }
    wchar_t file[MAX_PATH * 4] = L"";
    suggested.copy(file, std::min(suggested.size(), static_cast<size_t>(MAX_PATH)));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = ARRAYSIZE(file);
    dialog.lpstrTitle = L"会計ソフト用に保存";
    dialog.lpstrDefExt = L"csv";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!getSaveFileName(&dialog)) return std::nullopt;
    int chosen = static_cast<int>(dialog.nFilterIndex) - 1;
    if (chosen < 0 || chosen >= kPrograms) chosen = 0;
    return BooksTarget{file, static_cast<Program>(chosen)};
}

std::string BooksBytes(Program program, const std::wstring& rows) {
    if (!ShiftJisFile(program)) return common::ToUtf8(rows);
    if (rows.empty()) return {};
    int length = static_cast<int>(rows.size());
    BOOL lost = FALSE;
    int size = WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, rows.data(), length, nullptr, 0, nullptr, &lost);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, rows.data(), length, bytes.data(), size, nullptr, &lost);
    if (lost || size == 0)
        throw ui::Error(std::wstring(ProgramName(program)) +
                        L" のファイルは Shift_JIS で書きますが、Shift_JIS にない文字があります。"
                        L"支払いの名前や [Books] の名前を確かめて下さい。ファイルは作っていません。");
    return bytes;
}

void WriteBooksFile(const BooksTarget& target, const std::wstring& rows) {
    std::string bytes = BooksBytes(target.program, rows);
    if (!platform::ReplaceFileContent(target.path, bytes))
        throw ui::Error(L"ファイルに書き込めません\r\n" + target.path + L"\r\n" +
                        platform::SystemReason(GetLastError()));
}

}  // namespace journal
