#include "ui/Confirm.h"

namespace ui {

namespace {

// The question being asked on this thread; message boxes are modal, so there is
// at most one at a time.
thread_local const Question* asking = nullptr;
thread_local HHOOK hook = nullptr;
thread_local WNDPROC boxProcedure = nullptr;

LRESULT CALLBACK BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)  // Escape
        wParam = MAKEWPARAM(IDNO, HIWORD(wParam));
    return CallWindowProcW(boxProcedure, box, message, wParam, lParam);
}

void CentreOnScreen(HWND box) {
    RECT r;
    GetWindowRect(box, &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    SetWindowPos(box, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK HookProcedure(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && asking) {
        HWND box = reinterpret_cast<HWND>(wParam);
        const Question* question = asking;
        asking = nullptr;  // only the box of this question, once
        SetDlgItemTextW(box, IDYES, question->yes.c_str());
        SetDlgItemTextW(box, IDNO, question->no.c_str());
        CentreOnScreen(box);
        boxProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BoxProcedure)));
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

bool Ask(HWND owner, const Question& question) {
    asking = &question;
    hook = SetWindowsHookExW(WH_CBT, HookProcedure, nullptr, GetCurrentThreadId());
    int answer = MessageBoxW(owner, question.text.c_str(), question.caption.c_str(),
                             MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1);
    UnhookWindowsHookEx(hook);
    hook = nullptr;
    asking = nullptr;
    return answer == IDYES;
}

}  // namespace ui
