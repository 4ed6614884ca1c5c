#pragma once
// What the journal session asks of the files beside the settings file, without
// Windows: the journal is read in ranges and only ever appended to, the small
// files are replaced whole, a damaged one is renamed aside. The program's
// storage is the system's files (journal/Journal.h); tests keep them in memory.
#include <cstdint>
#include <string>

namespace journal {

// How a call on the storage ended.
enum class Fault {
    None,
    Missing,  // no such file (a folder where the file should be counts as none only where said)
    Busy,     // another program holds the file
    Exists,   // the new name is taken
    Other,
};

struct Status {
    Fault fault = Fault::None;
    std::wstring reason;  // the system's own words for a fault
    explicit operator bool() const { return fault == Fault::None; }
};

class Storage {
public:
    virtual ~Storage() = default;
    // The file's size in bytes; Missing when there is no file at path.
    virtual Status Size(const std::wstring& path, std::int64_t& size) = 0;
    // Fills bytes (of the size it has) from offset on.
    virtual Status Read(const std::wstring& path, std::int64_t offset, std::string& bytes) = 0;
    // The whole file, when it has at most maxSize bytes; Missing when there is
    // no file at path, a folder included.
    virtual Status ReadWhole(const std::wstring& path, std::size_t maxSize, std::string& bytes) = 0;
    // Whether another program holds path for writing; false when there is no file.
    virtual bool HeldElsewhere(const std::wstring& path) = 0;
    // Opens path for appending, made when missing, and holds it from now on:
    // others may read it, none may write to it. Nothing when held already;
    // Busy when another program holds it.
    virtual Status Hold(const std::wstring& path) = 0;
    virtual bool Holds(const std::wstring& path) const = 0;
    // Appends bytes at the end of a held file and flushes them to the disk.
    virtual Status Append(const std::wstring& path, const std::string& bytes) = 0;
    // Makes bytes the file's whole content, flushed: the old content or the
    // new one, never a mixture.
    virtual Status Replace(const std::wstring& path, const std::string& bytes) = 0;
    // Missing when there was none.
    virtual Status Remove(const std::wstring& path) = 0;
    // Exists when the new name is taken; the file stays where it was.
    virtual Status Rename(const std::wstring& from, const std::wstring& to) = 0;
};

}  // namespace journal
