#pragma once
// Text as UTF-8 bytes and back, for the files others open (the journal in a
// spreadsheet), whatever the width of wchar_t: UTF-16 on Windows, UTF-32 here.
#include <string>
#include <string_view>

namespace common {

// An unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::wstring_view text);
// Bytes that are not UTF-8 (a file saved again in another code page) become
// U+FFFD, one per byte that does not read, so that nothing else is lost.
std::wstring FromUtf8(std::string_view bytes);
// Whether all of bytes reads as UTF-8.
bool IsUtf8(std::string_view bytes);
// Whether bytes are all ASCII, which reads the same in UTF-8 and the code pages.
bool IsAscii(std::string_view bytes);

}  // namespace common
