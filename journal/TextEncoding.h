#pragma once
// The encoding of the journal's text, without Windows. The program writes
// UTF-8 with the byte-order mark; a spreadsheet that saves the journal again
// as "CSV (コンマ区切り)" writes the system's code page, Shift_JIS, without
// it. Only the notes of 入金 and 出金 can tell the two apart: every other
// field is ASCII (numbers, kinds, classes, times).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "journal/Period.h"

namespace journal {

enum class Encoding { Utf8, ShiftJis };

// Shift_JIS bytes from the program's text and back; the platform converts
// (code page 932), and a character Shift_JIS lacks becomes what it makes of it.
struct ShiftJisText {
    std::function<std::string(std::wstring_view)> encode;
    std::function<std::wstring(std::string_view)> decode;
};

// Reads a journal forward from its start, chunk by chunk, and tells the
// encoding it is in: the byte-order mark says UTF-8; without it, the first line
// that is not all ASCII tells (UTF-8 when it reads as UTF-8, else Shift_JIS),
// and a file all ASCII is Shift_JIS, as a spreadsheet reads a file without the
// mark. Each line in the other encoding is a finding.
class EncodingReader {
public:
    void Feed(std::string_view chunk);
    Encoding Result() const { return encoding_.value_or(Encoding::ShiftJis); }
    bool Marked() const { return marked_; }  // begins with UTF-8's byte-order mark
    // After the last chunk: the lines in the other encoding, by offset.
    std::vector<Finding> Findings();

private:
    void EndLine();

    std::int64_t at_ = 0, lineAt_ = 0;
    std::string line_;  // the line's bytes so far, as many as a record can have
    bool marked_ = false, afterCr_ = false;
    std::optional<Encoding> encoding_;
    std::vector<std::pair<std::int64_t, Encoding>> lines_;  // every line not all ASCII
};

// The name a shop knows an encoding by.
const wchar_t* EncodingName(Encoding encoding);

// The notice when the journal is no longer what the program wrote and lost
// nothing: another program saved it again in encoding, with the byte-order
// mark (marked, UTF-8 in its own forms of the times) or without it, and the
// program goes on in that encoding.
std::wstring ResavedNotice(Encoding encoding, bool marked = false);

}  // namespace journal
