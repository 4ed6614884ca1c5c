#pragma once
// The base of every window of the program: one C++ object per HWND, messages
// dispatched to a virtual member, and no exception ever crossing into Win32.
#include <windows.h>

namespace ui {

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }

protected:
    // Registers (once) a window class whose procedure dispatches to HandleMessage.
    // A class the system refuses is reported through the error display.
    static void RegisterClassOnce(const wchar_t* className, UINT style = 0,
                                  HCURSOR cursor = LoadCursor(nullptr, IDC_ARROW),
                                  HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                                  HICON icon = nullptr);

    // Creates the window of a class registered with RegisterClassOnce. A window
    // the system refuses is reported through the error display and the caller
    // carries on without it (Handle() stays null); false then. A child of a
    // window that was never made is not made either, and not reported again.
    bool Create(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, int x, int y, int width,
                int height, HWND parent, HMENU menuOrId);

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

    // Called for the last message the window receives; the handle is gone after it.
    virtual void Destroyed() {}

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

}  // namespace ui
