#pragma once
// Owners of the kernel's handles: each is closed once, by its owner.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace platform {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
// A file, a mutex or any handle CloseHandle closes.
using Handle = std::unique_ptr<void, HandleCloser>;
// CreateFile's result: an empty owner for INVALID_HANDLE_VALUE.
inline Handle FileHandle(HANDLE handle) { return Handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle); }

struct GlobalFreer {
    void operator()(HGLOBAL memory) const { GlobalFree(memory); }
};
using GlobalMemory = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, GlobalFreer>;

}  // namespace platform
