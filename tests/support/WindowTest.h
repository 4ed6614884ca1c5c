#pragma once
// Helpers for tests that drive real windows: a scratch folder, files read back
// as the program wrote them, and recorders for what the operator would see.
#include <windows.h>

#include <string>
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

private:
    std::vector<std::wstring> messages_;
    ui::ErrorDisplay previous_;
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
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    Answer answer_;
    std::vector<Seen> boxes_;
    HHOOK hook_ = nullptr;
};

inline void Pump() { ui::PumpMessages(); }

// Tab (or Shift+Tab) pressed on the focused window focus, through the message
// loop as the keyboard delivers it.
void PressTab(HWND focus, bool shift);

// An empty top-level form for window tests, made hidden at (0, 0); the test's
// own form adds its controls and calls Show when it wants to be on screen.
class TestForm : public ui::Form {
public:
    TestForm(int width, int height);
    void Show();  // shown, in the foreground, queue pumped
};

}  // namespace testing_support
