#pragma once
// The check of the journal's chain over the whole file (journal/Chain.h), on
// a thread of its own once the start is over: a journal of years takes a
// while to read, and the start does not wait for it. It reads through a
// storage of its own, so the register's appends go on meanwhile.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "journal/Chain.h"

class ChainWatch {
public:
    // Tells window with message once a check has found a break (Take then says which).
    ChainWatch(HWND window, UINT message);
    ~ChainWatch();  // a check under way stops
    ChainWatch(const ChainWatch&) = delete;
    ChainWatch& operator=(const ChainWatch&) = delete;

    // Checks the journal as check describes it; a check under way finishes first.
    void Start(journal::ChainCheck check);
    // What the last check found, once; empty for nothing.
    std::wstring Take();
    // Waits for a check under way (the tests, and the end).
    void Wait();

private:
    HWND window_;
    UINT message_;
    std::thread checker_;
    std::atomic<bool> stop_{false};
    std::mutex lock_;
    std::wstring found_;  // under lock_
};
