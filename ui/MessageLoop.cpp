#include "ui/MessageLoop.h"

namespace ui {

namespace {
void Dispatch(MSG& msg) {
    if (PreTranslate(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}
}  // namespace

bool PreTranslate(MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || !msg.hwnd) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    // Only a control that asks for Tab itself keeps it; wanting "all keys"
    // (Enter and Escape) does not take Tab away from the form.
    LRESULT wants = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (wants & DLGC_WANTTAB) return false;
    HWND form = GetAncestor(msg.hwnd, GA_ROOT);
    if (!form) return false;
    SendMessageW(form, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
    return true;
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
    return static_cast<int>(msg.wParam);
}

bool RunModal(HWND owner, const std::function<bool()>& done, const std::function<bool(const MSG&)>& preTranslate) {
    // The owner is enabled and active again however the loop ends, a throw included.
    struct OwnerWaits {
        HWND owner;
        bool disabled = owner && IsWindowEnabled(owner);
        explicit OwnerWaits(HWND o) : owner(o) {
            if (disabled) EnableWindow(owner, FALSE);
        }
        ~OwnerWaits() {
            if (disabled) EnableWindow(owner, TRUE);
            if (owner) SetActiveWindow(owner);
        }
    } waits(owner);
    MSG msg;
    while (!done()) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (got == -1) break;
        if (preTranslate && preTranslate(msg)) continue;
        Dispatch(msg);
    }
    return true;
}

int ShowModal(HWND window, HWND owner, HWND focus, const int& result,
              const std::function<bool(const MSG&)>& preTranslate) {
    SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    struct Shown {
        HWND window;
        ~Shown() { ShowWindow(window, SW_HIDE); }
    } shown{window};
    ShowWindow(window, SW_SHOW);
    SetFocus(focus);
    bool ended = RunModal(
        owner, [&result] { return result != 0; }, preTranslate);
    return ended && result ? result : IDCANCEL;
}

int PumpMessages() {
    int quit = -1;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit = static_cast<int>(msg.wParam);
            continue;
        }
        Dispatch(msg);
    }
    return quit;
}

}  // namespace ui
