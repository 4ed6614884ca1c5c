#pragma once
// The application-wide state every window may need: the title shown on the task
// bar and in error boxes, and the main window that owns message boxes.
#include <windows.h>

#include <string>

namespace ui {

class Application {
public:
    const std::wstring& Title() const { return title_; }
    void SetTitle(std::wstring title) { title_ = std::move(title); }

    HWND MainWindow() const { return mainWindow_; }
    void SetMainWindow(HWND window) { mainWindow_ = window; }

    HINSTANCE Instance() const;
    // The full path of the running program, however long.
    std::wstring ProgramPath() const;

private:
    std::wstring title_;
    HWND mainWindow_ = nullptr;
};

Application& App();

}  // namespace ui
