#pragma once
// Helpers for tests that drive real windows: a scratch folder, files read back
// as the program wrote them, and recorders for what the operator would see.
#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "ui/Error.h"
#include "ui/Form.h"
#include "ui/MessageLoop.h"

namespace testing_support {

// A new empty folder under the temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Files in the ANSI code page, as earlier runs and other programs write them.
void WriteAnsiFile(const std::wstring& path, const std::wstring& text);
void WriteBytes(const std::wstring& path, const std::string& bytes);
// A settings file's text, UTF-16 with its byte-order mark or ANSI; empty when missing.
std::wstring ReadSettingsText(const std::wstring& path);
bool FileExists(const std::wstring& path);

// Collects the messages of the error display instead of showing them.
class ErrorRecorder {
public:
    ErrorRecorder();
    ~ErrorRecorder();
    const std::vector<std::wstring>& Messages() const { return messages_; }
    const std::vector<std::wstring>& Notices() const { return notices_; }  // shown as information

private:
    std::vector<std::wstring> messages_, notices_;
    ui::ErrorDisplay previous_, previousNotice_;
};

// Watches the windows of one class as they become active on this thread, for
// windows that run their own message loop (message boxes, modal windows): act
// on each from inside it. Several watchers may watch at once.
class ActivationWatcher {
public:
    ActivationWatcher(std::wstring windowClass, std::function<void(HWND)> onActive);
    ~ActivationWatcher();
    ActivationWatcher(const ActivationWatcher&) = delete;
    ActivationWatcher& operator=(const ActivationWatcher&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    std::wstring className_;
    std::function<void(HWND)> act_;
};

// Answers the message boxes that open on this thread, and notes what they showed.
class MessageBoxAnswerer {
public:
    enum class Answer { Yes, No, Escape, Enter };
    explicit MessageBoxAnswerer(Answer answer);
    ~MessageBoxAnswerer();

    struct Seen {
        std::wstring caption, text, yes, no;
        bool questionIcon = false;
        RECT bounds{};
    };
    const std::vector<Seen>& Boxes() const { return boxes_; }

private:
    void Respond(HWND box);  // notes what the box shows and answers it
    Answer answer_;
    std::vector<Seen> boxes_;
    ActivationWatcher watcher_;
};

inline void Pump() { ui::PumpMessages(); }

// The clipboard, opened with a few tries since another process may hold it for
// a moment. The text in format (CF_UNICODETEXT, or CF_TEXT byte by byte);
// "<busy>" when the clipboard stays held.
std::wstring ClipboardText(UINT format = CF_UNICODETEXT);
// Puts text on the clipboard as CF_UNICODETEXT; false when the clipboard stays held.
bool PutClipboardText(const std::wstring& text, HWND owner = nullptr);

// A window's client area painted into a bitmap through WM_PRINTCLIENT, the way
// its WM_PAINT would show it, background included.
class ClientPicture {
public:
    explicit ClientPicture(HWND window);
    COLORREF At(int x, int y) const;
    bool All(COLORREF color) const;  // every pixel of that colour
    // The smallest rectangle holding every pixel of the colour; empty when none.
    RECT Bounds(COLORREF color) const;

private:
    int width_ = 0, height_ = 0;
    std::vector<DWORD> pixels_;
};

// Tab (or Shift+Tab) pressed on the focused window focus, through the message
// loop as the keyboard delivers it.
void PressTab(HWND focus, bool shift);

// One keystroke on the focused window as the keyboard delivers it: key-down,
// the character (if any) and key-up, sent rather than posted (Wine's
// TranslateMessage would add a second character to some posted keys).
void SendKey(UINT virtualKey, wchar_t character = 0);
// SendKey with a modifier (VK_SHIFT, VK_CONTROL) held, as the keyboard state
// shows it to the focused window.
void SendChord(UINT modifier, UINT virtualKey, wchar_t character = 0);
// A text typed on the main rows of the keyboard, one SendKey a character.
void TypeKeys(const std::wstring& text);

// Position and size of a window in its parent's client coordinates, and on the screen.
RECT PlaceInParent(HWND window);
RECT BoundsOf(HWND window);

// Where a window stands in its parent's client area, as tests compare it.
struct Frame {
    int left, top, width, height;
    bool operator==(const Frame& other) const {
        return left == other.left && top == other.top && width == other.width && height == other.height;
    }
};
Frame FrameOf(HWND window);
void PrintTo(const Frame& frame, std::ostream* out);  // for the test's failure messages

// An empty top-level form for window tests, made hidden at (0, 0); the test's
// own form adds its controls and calls Show when it wants to be on screen.
class TestForm : public ui::Form {
public:
    TestForm(int width, int height);
    void Show();  // shown, in the foreground, queue pumped
};

}  // namespace testing_support
