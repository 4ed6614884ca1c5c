#pragma once
// What the start-up benchmark and the start probe look for in a program they
// started: its windows by class, and where its keyboard focus is.
#include <windows.h>

#include <string>

namespace started {

inline std::wstring ClassOf(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    bool visibleOnly;
    HWND found;
};

inline BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || (search->visibleOnly && !IsWindowVisible(window)) ||
        ClassOf(window) != search->className)
        return TRUE;
    search->found = window;
    return FALSE;
}

// The top-level window of class className that belongs to process processId
// (a visible one unless visibleOnly is false), or null.
inline HWND FindWindowOf(DWORD processId, const wchar_t* className, bool visibleOnly = true) {
    WindowSearch search{processId, className, visibleOnly, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// True when the keyboard focus of thread threadId is in a window of className.
inline bool FocusIsIn(DWORD threadId, const wchar_t* className) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) && info.hwndFocus && ClassOf(info.hwndFocus) == className;
}

}  // namespace started
