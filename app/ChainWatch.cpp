#include "app/ChainWatch.h"

#include "journal/Journal.h"

ChainWatch::ChainWatch(HWND window, UINT message) : window_(window), message_(message) {}

ChainWatch::~ChainWatch() {
    stop_ = true;
    Wait();
}

void ChainWatch::Wait() {
    if (checker_.joinable()) checker_.join();
}

void ChainWatch::Start(journal::ChainCheck check) {
    Wait();
    if (!check.hash) return;
    checker_ = std::thread([this, check = std::move(check)] {
        // The register's window comes first.
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
        journal::FileStorage storage;
        std::optional<std::vector<journal::ChainBreak>> breaks =
            journal::CheckChain(storage, check, [this] { return stop_.load(); });
        // A journal that cannot be read is the start's to tell.
        if (!breaks || breaks->empty() || stop_) return;
        {
            std::lock_guard<std::mutex> guard(lock_);
            found_ = journal::ChainMessage(*breaks, check.path);
        }
        PostMessageW(window_, message_, 0, 0);
    });
}

std::wstring ChainWatch::Take() {
    std::wstring found;
    std::lock_guard<std::mutex> guard(lock_);
    found.swap(found_);
    return found;
}
