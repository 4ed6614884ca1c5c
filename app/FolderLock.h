#pragma once
// One program per folder: the settings and the journal kept there have one
// writer. The first start on a folder holds a named mutex for its whole run; a
// later start on the same folder brings the first one's window forward and ends
// before it reads or writes anything.
#include <windows.h>

#include <string>

#include "platform/Handles.h"

class FolderLock {
public:
    explicit FolderLock(const std::wstring& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // False when another program works on the folder.
    bool Held() const { return held_; }
    // Marks window as the one a later start on the folder brings forward.
    void Mark(HWND window) const;
    // Brings the holder's window forward, waiting up to patience ms for it to
    // be made (the holder may have started a moment ago). False when none came.
    bool BringHolderForward(DWORD patience) const;

    // The window a later start looks for: the marked one of any process.
    HWND HolderWindow() const;

private:
    std::wstring mark_;  // the window property's name; the mutex's name after "Local\"
    platform::Handle mutex_;
    bool held_ = true;
};
