#include "journal/TextEncoding.h"

#include "common/Utf8.h"
#include "journal/Record.h"

namespace journal {

void EncodingReader::Feed(std::string_view chunk) {
    for (char c : chunk) {
        ++at_;
        if (c == '\n' && afterCr_) {  // the LF of a CRLF
            lineAt_ = at_;
            afterCr_ = false;
            continue;
        }
        afterCr_ = c == '\r';
        if (c == '\r' || c == '\n') {
            EndLine();
            lineAt_ = at_;
            continue;
        }
        if (line_.size() < kMaxLine) line_ += c;
        if (at_ == 3 && line_ == kByteOrderMark) {
            marked_ = true;
            encoding_ = Encoding::Utf8;
            line_.clear();
        }
    }
}

void EncodingReader::EndLine() {
    if (!common::IsAscii(line_)) {
        Encoding encoding = common::IsUtf8(line_) ? Encoding::Utf8 : Encoding::ShiftJis;
        if (!encoding_) encoding_ = encoding;
        lines_.push_back({lineAt_, encoding});
    }
    line_.clear();
}

std::vector<Finding> EncodingReader::Findings() {
    if (!line_.empty()) EndLine();  // a last line without its line end
    std::vector<Finding> found;
    for (const auto& [offset, encoding] : lines_)
        if (encoding != Result())
            found.push_back({offset, L"この行は " + std::wstring(EncodingName(encoding)) + L" で、ファイルのほかの行は " +
                                         EncodingName(Result()) + L" です"});
    return found;
}

const wchar_t* EncodingName(Encoding encoding) { return encoding == Encoding::Utf8 ? L"UTF-8" : L"Shift_JIS"; }

std::wstring ResavedNotice(Encoding encoding, bool marked) {
    if (marked)
        return L"売上の記録のファイルが、表計算ソフトなどで保存し直されています (UTF-8)。"
               L"日付などの書き方が変わっただけで、記録はなくなっていません (ファイルが短くなることがあります)。"
               L"続きの記録も UTF-8 で書き足します。";
    if (encoding == Encoding::Utf8)
        return L"売上の記録のファイルが、表計算ソフトなどで UTF-8 (BOM なし) に保存し直されています。"
               L"記録はなくなっていません。続きの記録も UTF-8 で書き足します。";
    return L"売上の記録のファイルが、表計算ソフトなどで Shift_JIS に保存し直されています。"
           L"文字コードが変わっただけで、記録はなくなっていません (Shift_JIS ではファイルが短くなります)。"
           L"続きの記録も Shift_JIS で書き足します。";
}

}  // namespace journal
