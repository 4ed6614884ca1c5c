#include "ui/ModalWindow.h"

#include <cwctype>
#include <string>

#include "ui/Controls.h"
#include "ui/MessageLoop.h"

namespace ui {

namespace {

bool IsPushButton(HWND window) {
    wchar_t name[16] = L"";
    GetClassNameW(window, name, 16);
    if (lstrcmpiW(name, L"Button") != 0) return false;
    LONG type = GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// The letter after the "&" of a caption, upper case; 0 when there is none.
wchar_t AccessKey(const std::wstring& caption) {
    size_t amp = caption.find(L'&');
    return amp + 1 < caption.size() ? static_cast<wchar_t>(std::towupper(caption[amp + 1])) : 0;
}

bool Click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
    return true;
}

}  // namespace

int ModalWindow::ShowModal(HWND owner) {
    if (modal_) return 0;
    Place(owner);
    modal_ = true;
    result_ = 0;
    struct Ended {
        bool& modal;
        ~Ended() { modal = false; }
    } ended{modal_};
    return ui::ShowModal(Handle(), owner, FirstFocus(), result_,
                         [this](const MSG& msg) { return PreTranslateModal(msg); });
}

void ModalWindow::Close(int result) {
    if (modal_) Closing();
    result_ = result;
    if (!modal_) ShowWindow(Handle(), SW_HIDE);
}

bool ModalWindow::PreTranslateModal(const MSG& msg) {
    if ((msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) || !msg.hwnd ||
        (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd)))
        return false;
    if (TakeKey(msg)) return true;
    if (msg.message == WM_SYSKEYDOWN) return PressAccessKey(msg.wParam);
    switch (msg.wParam) {
    case VK_ESCAPE: Close(IDCANCEL); return true;
    case VK_RETURN: {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus) && IsPushButton(focus)) return Click(focus);
        for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (IsPushButton(child) && (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                return Click(child);
        return false;
    }
    }
    // A letter alone is an access key unless the focused control types it.
    HWND focus = GetFocus();
    if (focus && (SendMessageW(focus, WM_GETDLGCODE, msg.wParam, 0) & DLGC_WANTCHARS)) return false;
    return PressAccessKey(msg.wParam);
}

bool ModalWindow::PressAccessKey(WPARAM key) {
    if (!((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))) return false;
    for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsPushButton(child) && IsWindowVisible(child) && AccessKey(GetText(child)) == static_cast<wchar_t>(key))
            return Click(child);
    return false;
}

LRESULT ModalWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        Close(IDCANCEL);
        return 0;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

}  // namespace ui
