#pragma once
// The file of a closed day's entries for an accounting program (see
// Export.h): the system's save dialog, whose file kinds are the programs, and
// the writing in the program's encoding.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "journal/Export.h"

namespace journal {

struct BooksTarget {
    std::wstring path;
    Program program = Program::Yayoi;
};
// Asks where to save and for which program, suggesting a file name; nothing when cancelled.
using BooksFileChooser = std::function<std::optional<BooksTarget>(HWND owner, const std::wstring& suggested)>;
// The system's save dialog: one file kind per program.
std::optional<BooksTarget> RunBooksDialog(HWND owner, const std::wstring& suggested);

// The rows in the program's encoding; raises ui::Error, with the text, when
// Shift_JIS cannot hold a character of them (a tender's name, say): the
// program would read something else.
std::string BooksBytes(Program program, const std::wstring& rows);
// Writes the rows to path; raises ui::Error with the path and the system's reason.
void WriteBooksFile(const BooksTarget& target, const std::wstring& rows);

}  // namespace journal
