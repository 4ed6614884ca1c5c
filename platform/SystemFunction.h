#pragma once
// Functions of the system libraries that the start does not need: the shell
// (links, the per-user folder), the common dialogs (the picture dialog) and the
// sound player (the greetings). Linking them would load them and the libraries
// they pull in before the first window appears; found here, each library is
// loaded when one of its functions is first called, and then stays loaded as a
// linked one would.
#include <windows.h>

#include <string>

namespace platform {

// The exported function name of the system library dll (e.g. L"shell32.dll"),
// as a pointer of type Function (write it as decltype(&TheFunction), which
// keeps the calling convention); null when the system lacks either.
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
    HMODULE module = GetModuleHandleW(dll);
    if (!module) {
        // Only from the system folder: the program may live in a folder its
        // user can write to, where a library of the same name must not be taken.
        wchar_t folder[MAX_PATH];
        UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return nullptr;
        module = LoadLibraryW((std::wstring(folder, length) + L'\\' + dll).c_str());
        if (!module) return nullptr;
    }
    // Through a plain pointer: a function pointer cast straight from FARPROC
    // draws a warning about incompatible types.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace platform
