#pragma once
// The journal session on the system's files (see Session): the journal, the
// recovery file and the kept numbers beside the settings file.
#include <string>

#include "journal/Session.h"
#include "platform/Handles.h"

namespace journal {

// Opens the folder in the shell; raises ui::Error when that fails.
void OpenFolder(const std::wstring& folder);

// The storage of the journal's files on the disk. It holds one file, the
// journal, from its first append on.
class FileStorage : public Storage {
public:
    Status Size(const std::wstring& path, std::int64_t& size) override;
    Status Read(const std::wstring& path, std::int64_t offset, std::string& bytes) override;
    Status ReadWhole(const std::wstring& path, std::size_t maxSize, std::string& bytes) override;
    bool HeldElsewhere(const std::wstring& path) override;
    Status Hold(const std::wstring& path) override;
    bool Holds(const std::wstring& path) const override { return held_ && path == heldPath_; }
    Status Append(const std::wstring& path, const std::string& bytes) override;
    Status Replace(const std::wstring& path, const std::string& bytes) override;
    Status Remove(const std::wstring& path) override;
    Status Rename(const std::wstring& from, const std::wstring& to) override;

private:
    platform::Handle held_;
    std::wstring heldPath_;
};

namespace detail {
struct WithFileStorage {
    FileStorage storage;
};
}  // namespace detail

// The session over the files in folder, the time read from clock.
class Journal : private detail::WithFileStorage, public Session {
public:
    Journal(const std::wstring& folder, Clock clock);
};

}  // namespace journal
