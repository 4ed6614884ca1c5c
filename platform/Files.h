#pragma once
// Whole-file reads and replacements. A replacement goes through a file beside
// the target that takes its place once it is on the disk, so that a crash
// leaves the old content or the new one, never a mixture.
#include <optional>
#include <string>

namespace platform {

// The folder a file lies in: its path up to the last separator, "." for a bare name.
std::wstring FolderOf(const std::wstring& path);

// The file's bytes; nothing when it cannot be read or is larger than maxSize.
// Others may go on writing the file meanwhile.
std::optional<std::string> ReadFileBytes(const std::wstring& path, size_t maxSize = 64 * 1024 * 1024);

// Makes bytes the file's whole content, flushed to the disk. False when the
// platform refuses; GetLastError then says why, and the old file stays.
bool ReplaceFileContent(const std::wstring& path, const std::string& bytes);

// Writes bytes at the file's current place and flushes them to the disk. False
// when that fails; GetLastError then holds the failing call's own reason, and
// ERROR_DISK_FULL for a write cut short without one.
bool WriteAndFlush(void* file, const std::string& bytes);

}  // namespace platform
