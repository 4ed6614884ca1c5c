#include "ui/Window.h"

#include "ui/App.h"
#include "ui/Controls.h"
#include "ui/Error.h"

namespace ui {

Window::~Window() {
    if (hwnd_) {
        // The object goes first: detach it so late messages reach no dead object.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        DestroyWindow(hwnd);
    }
}

void Window::RegisterClassOnce(const wchar_t* className, UINT style, HCURSOR cursor, HBRUSH background, HICON icon) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(App().Instance(), className, &wc)) return;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = Procedure;
    wc.hInstance = App().Instance();
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc)) ShowError(FormatMessageText(L"ウィンドウクラス %s を登録できません", className));
}

bool Window::Create(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, int x, int y, int width,
                    int height, HWND parent, HMENU menuOrId) {
    // The parent's own failure has been shown; its children need no message of their own.
    if ((style & WS_CHILD) && !IsWindow(parent)) return false;
    if (CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent, menuOrId, App().Instance(), this))
        return true;
    ShowError(FormatMessageText(L"ウィンドウ %s を作成できません", className));
    return false;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A control with colours of its own gets them from whichever window it stands on.
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        if (HBRUSH brush = ControlColors(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
            return reinterpret_cast<LRESULT>(brush);
    return Default(message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* window = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        window->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);

    LRESULT result = 0;
    try {
        result = window->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // The handler's error is shown and the program carries on in the state
        // the handler left; the message counts as handled.
        ShowError(CurrentExceptionMessage());
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        window->hwnd_ = nullptr;
        window->Destroyed();
    }
    return result;
}

}  // namespace ui
