#pragma once
// The message loop of the program, and the same loop for tests that pump
// the queue until it is empty.
#include <windows.h>

#include <functional>

namespace ui {

// Keyboard navigation that no single control does itself: Tab and Shift+Tab move
// through the form's tab stops unless the focused control wants the Tab key.
// Returns true when the message was consumed.
bool PreTranslate(MSG& msg);

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop();

// The message loop of a modal window, shown before the call: runs until done()
// holds, with owner disabled meanwhile and active again afterwards.
// preTranslate sees each message first and takes it by returning true. A
// WM_QUIT (the program is ending) ends the loop early and is posted again for
// the outer loop; the result is then false.
bool RunModal(HWND owner, const std::function<bool()>& done, const std::function<bool(const MSG&)>& preTranslate = {});

// A modal window's whole showing: owner keeps window above it and waits,
// disabled, while window shows with the focus on focus; the messages run until
// result is set (not 0), then window hides again. Returns result, or IDCANCEL
// when the program is ending.
int ShowModal(HWND window, HWND owner, HWND focus, const int& result,
              const std::function<bool(const MSG&)>& preTranslate);

// Handles every message waiting in this thread's queue, then returns. A WM_QUIT
// found on the way is taken out of the queue and its exit code is returned, or -1.
int PumpMessages();

}  // namespace ui
